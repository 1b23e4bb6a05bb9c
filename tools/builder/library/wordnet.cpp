#include "library/wordnet.h"

#include <cctype>
#include <set>

#include "library/text_encoding.h"

namespace builder::library {

namespace {

constexpr std::size_t kLongestWord = 63;

std::uint8_t ClassOf(const std::string& name) {
  if (name == "n") return kWordNoun;
  if (name == "v") return kWordVerb;
  if (name == "adj") return kWordAdjective;
  if (name == "adv") return kWordAdverb;
  return 0;
}

// "n 1: ...", "2: ...", "adj 1: ...": the class name (empty when none) and
// whether the line begins a sense.
bool SenseStart(const std::string& line, std::string* className) {
  std::size_t at = line.find_first_not_of(' ');
  if (at == std::string::npos) return false;
  std::size_t word = at;
  while (word < line.size() && std::isalpha(static_cast<unsigned char>(line[word]))) ++word;
  className->clear();
  if (word > at) {
    if (word >= line.size() || line[word] != ' ') return false;
    *className = line.substr(at, word - at);
    if (!ClassOf(*className)) return false;
    at = word + 1;
  }
  std::size_t digits = at;
  while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits]))) ++digits;
  return digits > at && digits < line.size() && line[digits] == ':';
}

std::vector<std::string> SynonymsOf(const std::string& sense) {
  std::vector<std::string> words;
  const std::size_t open = sense.find("[syn:");
  if (open == std::string::npos) return words;
  const std::size_t close = sense.find(']', open);
  const std::string list = sense.substr(open + 5, close == std::string::npos ? std::string::npos : close - open - 5);
  for (std::size_t at = 0;;) {
    const std::size_t begin = list.find('{', at);
    if (begin == std::string::npos) break;
    const std::size_t end = list.find('}', begin);
    if (end == std::string::npos) break;
    const std::string word = CollapseBlanks(list.substr(begin + 1, end - begin - 1));
    if (!word.empty()) words.push_back(word);
    at = end + 1;
  }
  return words;
}

}  // namespace

std::vector<WordNetSense> ParseWordNetDefinition(const std::string& text) {
  std::vector<WordNetSense> senses;
  const std::string converted = Utf8ToWindows1252(text);
  std::uint8_t currentClass = 0;
  std::string sense;
  auto finish = [&] {
    if (!sense.empty() && currentClass) senses.push_back({currentClass, SynonymsOf(CollapseBlanks(sense))});
    sense.clear();
  };
  std::size_t at = converted.find('\n');  // the first line is the word itself
  while (at != std::string::npos && at < converted.size()) {
    std::size_t end = converted.find('\n', at + 1);
    const std::string line = converted.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
    at = end;
    std::string className;
    if (SenseStart(line, &className)) {
      finish();
      if (!className.empty()) currentClass = ClassOf(className);
    }
    sense += " " + line;
  }
  finish();
  return senses;
}

std::vector<std::vector<entry_text::RingMember>> WordNetRings(const DictdDictionary& dictionary) {
  std::vector<std::vector<entry_text::RingMember>> rings;
  std::set<std::pair<std::uint8_t, std::set<std::string>>> seen;
  for (const DictdEntry& entry : dictionary.entries) {
    for (const WordNetSense& sense : ParseWordNetDefinition(dictionary.Definition(entry))) {
      std::vector<entry_text::RingMember> ring;
      std::set<std::string> words;
      for (const std::string& word : sense.synonyms) {
        if (word.size() > kLongestWord || !words.insert(word).second) continue;
        ring.push_back({word, sense.wordClass});
      }
      if (ring.size() < 2 || !seen.emplace(sense.wordClass, words).second) continue;
      rings.push_back(std::move(ring));
    }
  }
  return rings;
}

}  // namespace builder::library
