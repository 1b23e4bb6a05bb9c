#include "re_string_table.h"

#include <cstring>

namespace {

u16 Be16(const u8* p) { return static_cast<u16>((p[0] << 8) | p[1]); }

}  // namespace

bool ReReadStringTableHead(const ReStringTable& table, ReStringTableHead* head) {
  if (!table.data || table.size < ReStringTableHeadSize) return false;
  head->version = Be16(table.data);
  head->capabilityMask = Be16(table.data + 2);
  head->count = Be16(table.data + 4);
  return ReStringTableHeadSize + u32{head->count} * ReStringRecordSize <= table.size;
}

u32 ReFindTableString(const ReStringTable& table, u16 key1, u16 key2, bool second, const char** text, u32* length) {
  ReStringTableHead head;
  if (!ReReadStringTableHead(table, &head)) return ReFail;
  const u8* records = table.data + ReStringTableHeadSize;
  i32 lo = 0;
  i32 hi = i32{head.count} - 1;
  while (hi >= lo) {
    i32 mid = (lo + hi) / 2;
    const u8* record = records + mid * ReStringRecordSize;
    i16 first = static_cast<i16>(Be16(record));
    i16 secondKey = static_cast<i16>(Be16(record + 2));
    int order = first != static_cast<i16>(key1)       ? (first < static_cast<i16>(key1) ? -1 : 1)
                : secondKey != static_cast<i16>(key2) ? (secondKey < static_cast<i16>(key2) ? -1 : 1)
                                                      : 0;
    if (order < 0) {
      lo = mid + 1;
    } else if (order > 0) {
      hi = mid - 1;
    } else {
      const u8* pool = records + u32{head.count} * ReStringRecordSize;
      u32 poolSize = table.size - static_cast<u32>(pool - table.data);
      u32 offset = Be16(record + (second ? 6 : 4));
      if (offset >= poolSize) return ReFail;
      const void* end = std::memchr(pool + offset, 0, poolSize - offset);
      if (!end) return ReFail;
      *text = reinterpret_cast<const char*>(pool + offset);
      *length = static_cast<u32>(static_cast<const u8*>(end) - (pool + offset));
      return ReDone;
    }
  }
  return ReWarn;
}
