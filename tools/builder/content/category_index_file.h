// The category index (CTX) of subject categories, little-endian:
//   u32 X entries, u16 K categories, u32 S size of the record area;
//   X x {u16 category number, u16 second value} for entries 1..X;
//   K x u32 file offsets of the category records;
//   the K records (S bytes): u8 level, u8 0, u16 n entries, u16 L, u32 file
//   offset of the entry list, L title bytes;
//   then the entry lists, n u32 entry numbers each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct SubjectCategory {
  std::uint8_t depth = 1;  // 1 for the top level
  std::string title;
  std::vector<std::uint32_t> entries;  // main-database entry numbers
};

struct CategoryIndex {
  std::uint32_t entryCount = 0;  // X: entries of the main database
  std::vector<SubjectCategory> categories;
};

// An entry's category number is the list row of the first category that holds
// it (category k is row k + 1; 0 = none); its second value is 0.
Bytes BuildCategoryIndex(const CategoryIndex& index);

}  // namespace builder
