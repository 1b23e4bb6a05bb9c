#include "engine_db/lists_strings.h"

#include <algorithm>
#include <stdexcept>

namespace builder::engine_db {

namespace {

std::uint32_t AddToPool(ByteWriter& pool, const std::string& text) {
  const std::size_t at = pool.size();
  if (at > 0xFFFF) throw std::invalid_argument("string pool beyond 16-bit offsets");
  pool.Append(text);
  pool.U8(0);
  return static_cast<std::uint32_t>(at);
}

}  // namespace

Table StringTable(const StringTableSpec& spec) {
  std::vector<StringRecord> records = spec.records;
  std::sort(records.begin(), records.end(), [](const StringRecord& a, const StringRecord& b) {
    return a.key1 != b.key1 ? a.key1 < b.key1 : a.key2 < b.key2;
  });
  for (std::size_t i = 1; i < records.size(); ++i)
    if (records[i].key1 == records[i - 1].key1 && records[i].key2 == records[i - 1].key2)
      throw std::invalid_argument("two string-table records with the same keys");
  if (records.size() > 0xFFFF) throw std::invalid_argument("too many string-table records");

  ByteWriter pool;
  ByteWriter out;
  out.U16be(spec.version);
  out.U16be(spec.capabilityMask);
  out.U16be(static_cast<std::uint32_t>(records.size()));
  for (const StringRecord& record : records) {
    out.U16be(static_cast<std::uint16_t>(record.key1));
    out.U16be(static_cast<std::uint16_t>(record.key2));
    out.U16be(AddToPool(pool, record.first));
    out.U16be(AddToPool(pool, record.second));
  }
  out.Append(pool.bytes());
  Table table;
  table.id = kStringTableId;
  table.elementSize = 8;
  table.elementCount = static_cast<std::uint16_t>(records.size());
  table.data = out.take();
  return table;
}

std::uint16_t LongestString(const StringTableSpec& spec) {
  std::size_t longest = 0;
  for (const StringRecord& record : spec.records)
    longest = std::max({longest, record.first.size(), record.second.size()});
  if (longest > 0xFFFE) throw std::invalid_argument("string-table string too long");
  return static_cast<std::uint16_t>(longest);
}

}  // namespace builder::engine_db
