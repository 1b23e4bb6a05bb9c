#include "library/foldoc.h"

#include <algorithm>
#include <cctype>

#include "library/text_encoding.h"

namespace builder::library {

namespace {

constexpr std::size_t kBodyIndent = 3;
constexpr std::size_t kLongestTitle = 254;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines = SplitLines(text);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// "<programming>" or "<networking, standard>" at the start of a paragraph
// (after a sense number such as "2. "): the subjects, and the paragraph
// without them.
void TakeSubjects(FoldocArticle::Block* block) {
  std::string& text = block->text;
  std::size_t at = 0;
  while (at < text.size() && (std::isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.')) ++at;
  if (at > 0 && (at >= text.size() || text[at] != ' ')) return;
  if (at > 0) ++at;
  if (at >= text.size() || text[at] != '<') return;
  const std::size_t close = text.find('>', at);
  if (close == std::string::npos) return;
  const std::string inside = text.substr(at + 1, close - at - 1);
  if (inside.empty() || inside.find('<') != std::string::npos) return;
  for (std::size_t from = 0; from <= inside.size();) {
    std::size_t comma = inside.find(',', from);
    if (comma == std::string::npos) comma = inside.size();
    const std::string subject = CollapseBlanks(inside.substr(from, comma - from));
    const std::size_t lead = subject.find_first_not_of(' ');
    if (lead != std::string::npos) block->subjects.push_back(subject.substr(lead));
    from = comma + 1;
  }
  std::size_t rest = close + 1;
  while (rest < text.size() && text[rest] == ' ') ++rest;
  text = text.substr(0, at) + text.substr(rest);
  block->subjectsAt = at;
}

std::string Title(std::vector<std::string> headLines) {
  std::string joined;
  for (const std::string& line : headLines) {
    if (!joined.empty()) joined += ' ';
    joined += CollapseBlanks(line);
  }
  // The introduction names itself several times, "%%%" between the names.
  const std::size_t separator = joined.find("%%%");
  if (separator != std::string::npos) joined = joined.substr(0, separator);
  if (headLines.size() > 1 && separator == std::string::npos) joined = CollapseBlanks(headLines[0]);
  if (joined.size() > kLongestTitle) joined.resize(kLongestTitle);
  return joined;
}

}  // namespace

FoldocArticle ParseFoldocDefinition(const std::string& utf8) {
  const std::vector<std::string> lines = Lines(Utf8ToWindows1252(utf8));
  FoldocArticle article;
  std::size_t i = 0;
  while (i < lines.size() && lines[i].empty()) ++i;
  std::vector<std::string> head;
  while (i < lines.size() && !lines[i].empty() && IndentOf(lines[i]) == 0) head.push_back(lines[i++]);
  if (head.empty()) return article;
  article.title = Title(head);
  for (const std::string& line : head)
    if (line.find("%%%") == std::string::npos) article.names.push_back(CollapseBlanks(line));
  if (article.names.empty() || article.names.front() != article.title)
    article.names.insert(article.names.begin(), article.title);

  // Paragraphs: runs of lines at the body's indentation (or less: a few
  // lines of the source start at the margin). Lines indented further form
  // blocks of their own, their lines kept.
  FoldocArticle::Block current;
  auto finish = [&] {
    if (!current.text.empty()) {
      if (!current.indented) {
        current.text = CollapseBlanks(current.text);
        TakeSubjects(&current);
        for (const std::string& subject : current.subjects)
          if (std::find(article.subjects.begin(), article.subjects.end(), subject) == article.subjects.end())
            article.subjects.push_back(subject);
      }
      article.blocks.push_back(current);
    }
    current = {};
  };
  for (; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) {
      finish();
      continue;
    }
    const std::size_t indent = IndentOf(line);
    const bool further = indent > kBodyIndent;
    if (!current.text.empty() && further != current.indented) finish();
    current.indented = further;
    if (!current.text.empty()) current.text += further ? '\n' : ' ';
    current.text += line.substr(further ? kBodyIndent : indent);
  }
  finish();
  return article;
}

std::vector<FoldocArticle> ParseFoldoc(const DictdDictionary& dictionary) {
  std::vector<FoldocArticle> articles;
  for (const DictdEntry& entry : dictionary.entries) {
    FoldocArticle article = ParseFoldocDefinition(dictionary.Definition(entry));
    if (article.title.empty() || article.blocks.empty()) continue;
    for (const std::string& headword : entry.headwords) {
      const std::string name = Utf8ToWindows1252(headword);
      if (std::find(article.names.begin(), article.names.end(), name) == article.names.end())
        article.names.push_back(name);
    }
    articles.push_back(std::move(article));
  }
  return articles;
}

std::string FoldocBody(const FoldocArticle& article, const ResolveFn& resolve) {
  std::string out;
  for (const FoldocArticle::Block& block : article.blocks) {
    if (!out.empty()) out += "\n\n";
    out += EscapeTagged(block.text.substr(0, block.subjectsAt));
    for (const std::string& subject : block.subjects) out += "<I>" + EscapeTagged(subject) + "</I> ";
    out += RenderLinked(ParseBraces(block.text.substr(block.subjectsAt)), resolve);
  }
  return out;
}

std::vector<std::string> FoldocTargets(const FoldocArticle& article) {
  std::vector<std::string> targets;
  for (const FoldocArticle::Block& block : article.blocks)
    for (const std::string& target : Targets(ParseBraces(block.text))) targets.push_back(target);
  return targets;
}

}  // namespace builder::library
