// String tables of dictionary-format databases: labels addressed by two
// 16-bit keys (table 320 of the main index component).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"

namespace builder::engine_db {

constexpr std::uint16_t kStringTableId = 320;

struct StringRecord {
  std::int16_t key1 = 0;
  std::int16_t key2 = 0;
  std::string first;
  std::string second;
};

struct StringTableSpec {
  std::uint16_t version = 1;
  std::uint16_t capabilityMask = 0x80;
  std::vector<StringRecord> records;  // any order; written sorted by the keys
};

// The table: u16 version, u16 capability mask, u16 count, 8-byte records
// sorted by the keys as signed numbers, then the pool. Throws
// std::invalid_argument for two records with the same keys or a pool past
// 16-bit offsets.
Table StringTable(const StringTableSpec& spec);

// The longest string of the table: the index header's string-table size.
std::uint16_t LongestString(const StringTableSpec& spec);

}  // namespace builder::engine_db
