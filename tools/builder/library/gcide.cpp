#include "library/gcide.h"

#include <algorithm>
#include <cctype>

#include "library/gcide_characters.h"
#include "library/text_encoding.h"

namespace builder::library {

namespace {

constexpr std::size_t kLongestHeader = 8;  // lines an entry's first line may run on
constexpr std::size_t kQuotationIndent = 9;

bool StartsEntry(const std::string& line) {
  if (line.empty() || line[0] == ' ') return false;
  if (std::string("{[(\\-").find(line[0]) != std::string::npos) return false;
  return line.find('\\') != std::string::npos;
}

int BracketDepth(const std::string& text) {
  int depth = 0;
  for (char c : text) depth += c == '[' ? 1 : c == ']' ? -1 : 0;
  return depth;
}

bool HeaderGoesOn(const std::string& header, const std::string& next) {
  if (next.empty()) return false;
  if (next[0] == '\\') return true;
  const auto slashes = std::count(header.begin(), header.end(), '\\');
  return slashes % 2 == 1 || BracketDepth(header) > 0;
}

// The sources of the text ("[1913 Webster]", "[WordNet 1.5 +PJC]") are left out.
std::string WithoutSources(const std::string& line) {
  static const char* const kSources[] = {"Webster", "WordNet", "PJC", "RDH", "Century", "CIDE", "RHUD", "MW10", "+ AS"};
  std::string out;
  for (std::size_t at = 0; at < line.size();) {
    if (line[at] == '[') {
      const std::size_t close = line.find(']', at + 1);
      if (close != std::string::npos) {
        const std::string inside = line.substr(at + 1, close - at - 1);
        bool source = false;
        for (const char* name : kSources) source = source || inside.find(name) != std::string::npos;
        if (source) {
          at = close + 1;
          continue;
        }
      }
    }
    out += line[at++];
  }
  return out;
}

// "2. text" -> "text"; "(b) text" -> "text".
bool CutNumber(const std::string& text, std::string* rest) {
  std::size_t at = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  if (at == 0 || at + 1 >= text.size() || text[at] != '.' || text[at + 1] != ' ') return false;
  *rest = Trim(text.substr(at + 2));
  return true;
}

bool CutLetter(const std::string& text, std::string* rest) {
  if (text.size() < 4 || text[0] != '(' || !std::islower(static_cast<unsigned char>(text[1])) || text[2] != ')' ||
      text[3] != ' ')
    return false;
  *rest = Trim(text.substr(4));
  return true;
}

bool IsNote(const std::string& text) {
  for (const char* label : {"Syn:", "Syn.", "Note:", "Usage:", "Note.", "Syn :"})
    if (text.rfind(label, 0) == 0) return true;
  return false;
}

void ParseHeader(const std::string& header, GcideEntry* entry) {
  const std::size_t first = header.find('\\');
  std::size_t second = header.find('\\', first + 1);
  entry->headword = CollapseBlanks(GcideToWindows1252(Trim(header.substr(0, first))));
  if (second == std::string::npos) second = header.size();
  const std::string syllables = GcideToWindows1252(header.substr(first + 1, second - first - 1));
  std::string display;
  for (char c : syllables) {
    if (c == '"' || c == '`') continue;
    display += c == '*' ? '\xB7' : c;
  }
  display = CollapseBlanks(Trim(display));
  std::string plain = display;
  plain.erase(std::remove(plain.begin(), plain.end(), '\xB7'), plain.end());
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  entry->syllables = lower(plain) == lower(entry->headword) ? display : entry->headword;

  std::string rest = second < header.size() ? header.substr(second + 1) : "";
  // Further spellings with their syllables ("Abram-man \A\"bram-man`\").
  for (;;) {
    const std::size_t open = rest.find('\\');
    const std::size_t bracket = rest.find_first_of("[(");
    if (open == std::string::npos || (bracket != std::string::npos && bracket < open)) break;
    const std::size_t close = rest.find('\\', open + 1);
    if (close == std::string::npos) break;
    rest = rest.substr(close + 1);
  }
  auto skipLead = [&] {
    std::size_t at = 0;
    while (at < rest.size() && (rest[at] == ' ' || rest[at] == ',')) ++at;
    rest = rest.substr(at);
  };
  skipLead();
  if (!rest.empty() && rest[0] == '(') {
    const std::size_t close = rest.find(')');
    if (close != std::string::npos) {
      entry->pronunciation = Trim(rest.substr(1, close - 1));
      rest = rest.substr(close + 1);
      skipLead();
    }
  }
  const std::size_t etymology = rest.find('[');
  entry->partOfSpeech = CollapseBlanks(Trim(GcideToWindows1252(rest.substr(0, etymology))));
  if (etymology != std::string::npos)
    entry->etymology = CollapseBlanks(Trim(GcideToWindows1252(rest.substr(etymology))));
}

void ParseBody(const std::vector<std::string>& lines, GcideEntry* entry) {
  using Kind = GcideEntry::Kind;
  bool open = false, afterBlank = true;
  auto start = [&](Kind kind, const std::string& text) {
    entry->parts.push_back({kind, text});
    open = true;
  };
  for (const std::string& raw : lines) {
    if (raw.empty()) {
      open = false;
      afterBlank = true;
      continue;
    }
    const std::string line = GcideToWindows1252(WithoutSources(raw));
    const std::string text = Trim(line);
    if (text.empty()) continue;  // a line of sources only
    std::string rest;
    if (CutNumber(text, &rest)) {
      start(Kind::Sense, rest);
    } else if (CutLetter(text, &rest)) {
      start(Kind::SubSense, rest);
    } else if (IsNote(text) || (afterBlank && text[0] == '{')) {
      start(Kind::Note, text);
    } else if (!open || afterBlank) {
      start(IndentOf(line) >= kQuotationIndent && !entry->parts.empty() ? Kind::Quotation : Kind::Plain, text);
    } else {
      entry->parts.back().text += " " + text;
    }
    afterBlank = false;
  }
  for (GcideEntry::Part& part : entry->parts) part.text = CollapseBlanks(part.text);
}

std::string Render(const std::string& text, const ResolveFn& resolve) {
  return RenderLinked(ParseBraces(text), resolve);
}

}  // namespace

std::vector<GcideEntry> ParseGcideDefinition(const std::string& text) {
  const std::vector<std::string> lines = SplitLines(CleanWindows1252(text));
  std::vector<GcideEntry> entries;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (!StartsEntry(lines[i])) {
      ++i;
      continue;
    }
    std::string header = lines[i++];
    for (std::size_t more = 0; more < kLongestHeader && i < lines.size() && HeaderGoesOn(header, lines[i]); ++more)
      header.append(" ").append(Trim(lines[i++]));
    std::vector<std::string> body;
    while (i < lines.size() && !StartsEntry(lines[i])) body.push_back(lines[i++]);
    GcideEntry entry;
    ParseHeader(header, &entry);
    if (entry.headword.empty()) continue;
    ParseBody(body, &entry);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<GcideEntry> ParseGcide(const DictdDictionary& dictionary) {
  std::vector<GcideEntry> entries;
  for (const DictdEntry& definition : dictionary.entries)
    for (GcideEntry& entry : ParseGcideDefinition(dictionary.Definition(definition)))
      entries.push_back(std::move(entry));
  return entries;
}

std::string GcideEntryText(const GcideEntry& entry, unsigned homograph, const ResolveFn& resolve) {
  // The headword as written, so the search finds it as one word; its
  // syllables lead the pronunciation.
  std::string out = "<WD>" + EscapeTagged(entry.headword);
  if (homograph) out += "<UP>" + std::to_string(homograph) + "</UP>";
  const bool syllables = entry.syllables != entry.headword;
  if (syllables || !entry.pronunciation.empty()) out += "<PR>";
  if (syllables) out.append(" ").append(EscapeTagged(entry.syllables));
  if (!entry.pronunciation.empty()) out += " (" + GcidePronunciation(entry.pronunciation) + ")";
  if (!entry.partOfSpeech.empty()) out += "<PS> " + Render(entry.partOfSpeech, resolve);
  if (!entry.etymology.empty()) out += "<P> " + Render(entry.etymology, resolve);
  for (const GcideEntry::Part& part : entry.parts) {
    using Kind = GcideEntry::Kind;
    switch (part.kind) {
      case Kind::Sense: out += "\n<SN> " + Render(part.text, resolve); break;
      case Kind::SubSense: out += "\n<SL> " + Render(part.text, resolve); break;
      case Kind::Quotation: out += "\n<P><I>" + Render(part.text, resolve) + "</I>"; break;
      case Kind::Note: out += "\n\n<P>" + Render(part.text, resolve); break;
      case Kind::Plain: out += "\n<P>" + Render(part.text, resolve); break;
    }
  }
  return out;
}

std::vector<std::string> GcideTargets(const GcideEntry& entry) {
  std::vector<std::string> targets = Targets(ParseBraces(entry.partOfSpeech));
  for (const std::string& t : Targets(ParseBraces(entry.etymology))) targets.push_back(t);
  for (const GcideEntry::Part& part : entry.parts)
    for (const std::string& t : Targets(ParseBraces(part.text))) targets.push_back(t);
  return targets;
}

}  // namespace builder::library
