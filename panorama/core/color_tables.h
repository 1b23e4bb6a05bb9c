// Colour tables for 8-bit palette displays: the dithered inverse colour table
// built from the system palette, the conversion of 5-5-5 bands to palette
// indexes, and the identity remap table that lets 8-bit values pass unchanged.
#pragma once

#include <cstdint>

namespace pano {

constexpr int kInverseTableBytes = 65536;
constexpr int kIdentityRemapBytes = 1792;

// The 14-bit key of a colour: five bits of red, five of green, four of blue.
inline std::uint32_t ColorKey(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red >> 3) << 9 | (green >> 3) << 4 | (blue >> 4);
}

// Builds the module's inverse table from 256 palette colours given as
// 0x00RRGGBB. False (and no table) when memory is short.
bool BuildInverseColorTable(const std::uint32_t (&palette)[256]);
void FreeInverseColorTable();
const std::uint8_t* InverseColorTable();  // 4 sub-tables of 16384 entries, or null

// Converts rows of 5-5-5 pixels (sourceRowBytes apart; the frame's own stride, since a frame of an odd width
// aligned to 2 bytes has rows closer than (2 x width + 3) & ~3) into palette indexes (rows (width + 1) & ~1
// bytes apart) with the 4 x 4 pattern.
void ConvertBandToIndexes(const std::uint8_t* table, const std::uint8_t* source, int sourceRowBytes, int width,
                          int rows, std::uint8_t* destination);

// 0..255 and six more copies of them; built once, never freed by its users.
const std::uint8_t* IdentityRemapTable();

}  // namespace pano
