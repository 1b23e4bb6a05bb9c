// Whole dictionary-format databases: tagged entries with their headword
// index, word hash and string table; text-mode dictionaries; and thesauri,
// whose entries are rings of synonyms in the word index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "engine_db/lists_headwords.h"
#include "engine_db/lists_strings.h"
#include "entry_text/markup_language.h"
#include "entry_text/synonym_rings.h"

namespace builder::engine_db {

struct DictionarySpec {
  std::uint32_t databaseId = 1;
  std::uint16_t kind = 16;  // the character-table index
  // Variant 8: tagged dictionary entries. Text mode: variant 2 whose entries
  // are lines of synonyms and translations (feature bit 1).
  bool textMode = false;
  std::uint16_t titleMode = 1;  // titles follow <WD> or <IWD>
  std::uint16_t textFormat = 0;
  std::uint16_t dotMode = 0;
  std::uint16_t capabilityMask = 0x81;
  std::uint16_t entryListCount = 300;
  std::vector<std::string> entries;  // entry 1 first; line feeds end lines
  std::vector<Headword> headwords;
  StringTableSpec strings;
  // Word beginnings (up to their apostrophe) and endings (with their hyphen
  // or apostrophe, or plain) known to the term analysis: table 280.
  std::vector<std::string> wordHash;
};

Database DictionaryDatabase(const DictionarySpec& spec);

// The markup language of dictionary entries: the default language with the
// dictionary's own tags as markers.
entry_text::MarkupLanguage DictionaryLanguage();

struct ThesaurusSpec {
  std::uint32_t databaseId = 2;
  std::uint16_t kind = 16;
  std::vector<std::vector<entry_text::RingMember>> rings;
  StringTableSpec strings;
};

struct BuiltThesaurus {
  Database database;
  // The entry number of every member, ring by ring.
  std::vector<std::vector<std::uint32_t>> entries;
};

// A synonym database (text format 8, titles after <DS>).
BuiltThesaurus ThesaurusDatabase(const ThesaurusSpec& spec);

// A word hash of `texts` (table 280), at least 128 entries.
Table WordHashTable(const std::vector<std::string>& texts);

}  // namespace builder::engine_db
