// The main word index of a dictionary-format database: one list-number
// record per headword and entry, so a spelling may lead to several entries
// (homographs) and one entry may be reached under several features of the
// same spelling. Each record's extension carries the word class and the
// feature bit number that the headword lookup reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"

namespace builder::engine_db {

struct Headword {
  std::string word;  // as written, capitals kept; 1 to 63 bytes of 32 and up
  std::uint32_t entry = 0;
  std::uint8_t wordClass = 0;   // the slot's class: low six bits
  std::uint8_t featureBit = 0;  // 1-31: the hit's feature; 0: none
};

struct HeadwordIndexSpec {
  std::vector<Headword> headwords;  // any order
  std::uint16_t blockSize = 512;
  std::uint16_t codeWidth = 10;
  std::uint8_t prefixLength = 4;
};

// The index component's description (subtype 2, record options 4: a feature
// byte in every extension), without the header words that depend on the
// database (entry-list count, longest line, string-table size) and without
// tables beyond 200-230. Throws std::invalid_argument for words the format
// cannot hold.
IndexComponentSpec HeadwordIndex(const HeadwordIndexSpec& spec);

}  // namespace builder::engine_db
