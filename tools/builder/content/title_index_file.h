// The title index files (RAM + DSK) of type-ahead title search.
//   RAM: u16 N blocks, u16 M patch rows, u16 S pool size, u16 b code width
//        (little-endian); the pool; 2^b u16 phrase offsets; 2^b u8 phrase
//        lengths; N x 4 block keys; N x 3 block first entries (24-bit
//        big-endian); M x 14 patch rows.
//   DSK: N blocks of 512 bytes of b-bit codes, most significant bit first;
//        code 0 ends a block. Unpacked, a block is a run of front-coded title
//        records, the first one complete.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct TitleEntry {
  std::string title;
  std::uint32_t entry = 0;
};

struct TitleIndexFiles {
  Bytes ram;
  Bytes dsk;
};

// The key a title is sorted and found by: a trailing digit after a non-digit
// start does not count, A-Z lower-cased, digits and bytes 0x40 and above kept,
// '&' written "and", everything else dropped.
std::string TitleSortKey(const std::string& title);

// Sorts titles by key (ties keep their order) and numbers them first, first+1,
// ... in that order: the index finds entries by number only when the numbers
// ascend with the keys.
std::vector<TitleEntry> NumberInTitleOrder(const std::vector<std::string>& titles, std::uint32_t first = 1);

// Titles must be in key order with ascending entry numbers below 2^24, each
// 1 to 254 bytes, none below byte 8. Throws otherwise.
TitleIndexFiles BuildTitleIndex(const std::vector<TitleEntry>& titles);

}  // namespace builder
