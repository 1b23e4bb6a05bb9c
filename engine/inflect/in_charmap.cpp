#include "in_charmap.h"

#include <array>
#include <cstring>

namespace {

constexpr u8 LastTableIndex = 18;

// The one mapping all indexes with tables share. It is its own inverse, so
// both directions use it: the data code keeps each capital 32 below its small
// letter (0xD7/0xF7 for the oe ligature, 0xDD/0xFD for y with diaeresis).
const std::array<u8, 128>& SharedTable() {
  static const std::array<u8, 128> table = [] {
    std::array<u8, 128> t{};
    for (int i = 0; i < 128; ++i) t[i] = static_cast<u8>(128 + i);
    const u8 swaps[][2] = {{0x8C, 0xD7}, {0x9C, 0xF7}, {0x9F, 0xDD}, {0xA4, 0xA8}, {0xFD, 0xFF}};
    for (const auto& pair : swaps) {
      t[pair[0] - 128] = pair[1];
      t[pair[1] - 128] = pair[0];
    }
    return t;
  }();
  return table;
}

bool HasTables(u8 index) {
  return index <= LastTableIndex && index != 1 && index != 2 && index != 4 && index != 15 && index != 18;
}

}  // namespace

u32 InMapText(u8 tableIndex, int direction, const char* text, i32 count, char* out) {
  (void)direction;  // both directions share the table
  if (!HasTables(tableIndex) || !out) return ReFail;
  if (count < 1 || !text) {
    out[0] = '\0';
    return ReDone;
  }
  const auto& table = SharedTable();
  for (i32 i = 0; i < count; ++i) {
    const u8 c = static_cast<u8>(text[i]);
    out[i] = static_cast<char>(c < 128 ? c : table[c - 128]);
  }
  out[count] = '\0';
  return ReDone;
}

bool InMapString(u8 tableIndex, int direction, char* text) {
  return InMapText(tableIndex, direction, text, static_cast<i32>(std::strlen(text)), text) == ReDone;
}
