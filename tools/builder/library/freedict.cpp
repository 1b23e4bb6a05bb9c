#include "library/freedict.h"

#include <cctype>
#include <map>

#include "library/text_encoding.h"
#include "library/wordnet.h"

namespace builder::library {

namespace {

struct PartOfSpeech {
  const char* label;
  std::uint8_t wordClass;
};

const std::map<std::string, PartOfSpeech>& PartsOfSpeech() {
  static const std::map<std::string, PartOfSpeech> parts = {
      {"n, masc", {"n.m.", kWordNoun}},
      {"n, fem", {"n.f.", kWordNoun}},
      {"n", {"n.", kWordNoun}},
      {"v", {"v.", kWordVerb}},
      {"vt", {"v.t.", kWordVerb}},
      {"vi", {"v.i.", kWordVerb}},
      {"adj", {"adj.", kWordAdjective}},
      {"adv", {"adv.", kWordAdverb}},
      {"prep", {"prep.", 0}},
      {"num", {"num.", 0}},
      {"pron", {"pron.", 0}},
      {"int", {"interj.", 0}},
      {"conj", {"conj.", 0}},
      {"art", {"art.", 0}},
  };
  return parts;
}

std::vector<std::string> SplitCommas(const std::string& line) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at <= line.size();) {
    std::size_t comma = line.find(',', at);
    if (comma == std::string::npos) comma = line.size();
    const std::string word = Trim(CollapseBlanks(line.substr(at, comma - at)));
    if (!word.empty()) out.push_back(word);
    at = comma + 1;
  }
  return out;
}

// Characters of the translations that only look like the code page's.
std::string Plainer(const std::string& utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    if (utf8.compare(at, 3, "\xE2\x80\x90") == 0 || utf8.compare(at, 3, "\xE2\x80\x91") == 0) {
      out += '-';
      at += 2;
    } else {
      out += utf8[at];
    }
  }
  return out;
}

}  // namespace

Translation ParseFreeDictDefinition(const std::string& utf8) {
  Translation t;
  std::string header;
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t end = utf8.find('\n', at);
    if (end == std::string::npos) end = utf8.size();
    const std::string line = utf8.substr(at, end - at);
    at = end + 1;
    if (header.empty() && lines.empty())
      header = line;
    else if (!Trim(line).empty())
      lines.push_back(line);
  }
  // "chanter /ʃɑ̃te/ <v>": the pronunciation is left out (the code page has
  // no phonetic letters).
  std::string head = header;
  const std::size_t angle = head.find(" <");
  if (angle != std::string::npos && head.back() == '>') {
    const std::string part = head.substr(angle + 2, head.size() - angle - 3);
    const auto known = PartsOfSpeech().find(part);
    if (known != PartsOfSpeech().end()) {
      t.partOfSpeech = known->second.label;
      t.wordClass = known->second.wordClass;
    }
    head = head.substr(0, angle);
  }
  const std::size_t slash = head.find(" /");
  if (slash != std::string::npos) head = head.substr(0, slash);
  t.headword = Trim(CollapseBlanks(Utf8ToWindows1252(Plainer(head))));
  for (const std::string& line : lines) {
    std::string text = Trim(Utf8ToWindows1252(Plainer(line)));
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    if (digits > 0 && digits + 1 < text.size() && text[digits] == '.' && text[digits + 1] == ' ')
      text = text.substr(digits + 2);
    std::vector<std::string> words = SplitCommas(text);
    if (!words.empty()) t.senses.push_back(std::move(words));
  }
  return t;
}

std::vector<Translation> ParseFreeDict(const DictdDictionary& dictionary) {
  std::vector<Translation> translations;
  for (const DictdEntry& entry : dictionary.entries) {
    Translation t = ParseFreeDictDefinition(dictionary.Definition(entry));
    if (!t.headword.empty() && !t.senses.empty()) translations.push_back(std::move(t));
  }
  return translations;
}

std::string TranslationEntryText(const Translation& t) {
  const std::string headword = EscapeTagged(t.headword);
  std::string out = "<WD>" + headword;
  for (const std::vector<std::string>& sense : t.senses) {
    out += "\n" + headword;
    if (!t.partOfSpeech.empty()) out += "<DS>" + t.partOfSpeech;
    for (std::size_t i = 0; i < sense.size(); ++i) out += (i ? "<D1>" : "<SY>") + EscapeTagged(sense[i]);
  }
  return out;
}

}  // namespace builder::library
