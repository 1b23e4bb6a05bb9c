// The main word index of a synonym database (text format 8): every word
// record is a member of a ring of synonyms. A member's entry number is its
// place in the index (1 for the first record of block 1); its record carries
// the word, its class byte (in the record's extension) and, as its list
// number, the entry number of the next member of its ring. Table 310 gives
// each block the number of entries before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"

namespace builder::entry_text {

struct RingMember {
  std::string word;
  std::uint8_t classByte = 0;  // low six bits: the word class shown after "<PS>"
};

struct SynonymIndex {
  engine_db::IndexComponentSpec index;  // subtype 1
  std::uint32_t entryCount = 0;
  std::uint32_t longestText = 0;  // of the tagged texts the rings read as
  // The entry number of every member, ring by ring, in the rings' order.
  std::vector<std::vector<std::uint32_t>> entries;
};

// Sorts all members by their lower-cased words, numbers them, links each
// ring in its given order and packs the records into blocks.
SynonymIndex SynonymRingIndex(const std::vector<std::vector<RingMember>>& rings, std::uint16_t blockSize = 512);

}  // namespace builder::entry_text
