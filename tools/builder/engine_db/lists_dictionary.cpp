#include "engine_db/lists_dictionary.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "entry_text/entry_text.h"
#include "inflect/conjugation.h"

namespace builder::engine_db {

namespace {

constexpr std::uint16_t kVariantTextMode = 2;
constexpr std::uint16_t kVariantDictionary = 8;
constexpr std::uint16_t kSynonymFormat = 8;
constexpr std::uint16_t kLineRuleText = 1;  // the text's longest line + 9

std::uint32_t PowerOfTwo(std::size_t atLeast) {
  std::uint32_t n = 128;
  while (n < atLeast) n *= 2;
  return n;
}

// The longest text a ring gives for one of its members:
// "<DS>w\n<PS>nn\n<SY>w2<D1>w3...</SY>".
std::uint16_t LongestRingText(const std::vector<std::vector<entry_text::RingMember>>& rings) {
  std::size_t longest = 0;
  for (const auto& ring : rings) {
    std::size_t words = 0;
    for (const entry_text::RingMember& member : ring) words += member.word.size();
    const std::size_t tags = 4 + 5 + 2 + 1 + (ring.size() > 1 ? 4 + 4 * (ring.size() - 2) : 0) + 5;
    longest = std::max(longest, words + tags);
  }
  return static_cast<std::uint16_t>(std::min<std::size_t>(longest, 65534));
}

}  // namespace

entry_text::MarkupLanguage DictionaryLanguage() {
  entry_text::MarkupLanguage language = entry_text::DefaultLanguage();
  // Sub-item groups and their closing tags.
  const std::string body = "type " + std::to_string(entry_text::kBodyTextType);
  for (const char* name : {"SY", "HY", "ID", "E0", "BB"}) language.tags.push_back({name, true, body, body});
  // Senses, definitions, labels, notes and the rest of the dictionary's
  // markers: body text.
  for (const char* name : {"D1", "D2", "DF", "FT", "GM", "GL", "UG", "US", "UN", "AN", "AL", "HR", "CR", "CX", "CT",
                           "RW", "SE", "IL", "TRADE"})
    language.tags.push_back({name, false, body, ""});
  return language;
}

Table WordHashTable(const std::vector<std::string>& texts) {
  Table table;
  table.id = 280;
  table.elementSize = 4;
  table.data.assign(PowerOfTwo(texts.size() * 2) * 4, 0);
  for (const std::string& text : texts) inflect::AddToWordHash(table.data, text);
  return table;
}

Database DictionaryDatabase(const DictionarySpec& spec) {
  Database database;
  Header& h = database.header;
  h.databaseId = spec.databaseId;
  h.kind = spec.kind;
  h.variant = spec.textMode ? kVariantTextMode : kVariantDictionary;
  h.titleMode = spec.titleMode;
  h.textFormat = spec.textFormat;
  h.dotMode = spec.dotMode;
  h.capabilityMask = spec.capabilityMask;
  h.lineRule = kLineRuleText;

  entry_text::EntryTextSpec text;
  text.entries = spec.entries;
  text.language = DictionaryLanguage();
  text.checkEntries = false;  // spelling variants (<{sz}>) are no one-character escapes
  database.components.push_back(TextComponent(entry_text::EntryTextComponent(text)));

  HeadwordIndexSpec headwords;
  headwords.headwords = spec.headwords;
  IndexComponentSpec index = HeadwordIndex(headwords);
  index.entryListCount = spec.entryListCount;
  index.stringTableSize = LongestString(spec.strings);
  index.longestLine = index.longestWord;
  if (!spec.strings.records.empty()) index.tables.push_back(StringTable(spec.strings));
  // A tagged dictionary always has its word hash; a text-mode one when given.
  if (!spec.textMode || !spec.wordHash.empty()) index.tables.push_back(WordHashTable(spec.wordHash));
  database.components.push_back(IndexComponent(index));
  return database;
}

BuiltThesaurus ThesaurusDatabase(const ThesaurusSpec& spec) {
  const entry_text::SynonymIndex rings = entry_text::SynonymRingIndex(spec.rings);
  BuiltThesaurus built;
  built.entries = rings.entries;
  Header& h = built.database.header;
  h.databaseId = spec.databaseId;
  h.kind = spec.kind;
  h.textFormat = kSynonymFormat;
  h.titleMode = 0;  // titles follow <DS>
  h.capabilityMask = 0x81;
  h.lineRule = kLineRuleText;

  // Every member is an entry; their texts come from the rings.
  entry_text::EntryTextSpec text;
  text.entries.assign(rings.entryCount, "");
  text.markupTables = false;
  TextComponentSpec component = entry_text::EntryTextComponent(text);
  component.longestEntryText = LongestRingText(spec.rings);
  built.database.components.push_back(TextComponent(component));

  IndexComponentSpec index = rings.index;
  index.entryListCount = 300;
  index.stringTableSize = LongestString(spec.strings);
  if (!spec.strings.records.empty()) index.tables.push_back(StringTable(spec.strings));
  built.database.components.push_back(IndexComponent(index));
  return built;
}

}  // namespace builder::engine_db
