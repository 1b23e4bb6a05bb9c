// Where the parts of a device-independent picture lie, checked against the
// bytes that hold it: the background picture comes from a downloaded archive,
// so nothing is read outside the file.
#pragma once

#include <cstddef>
#include <optional>

namespace refresh {

struct DibLayout {
  std::size_t infoOffset = 0;   // the information header (the BITMAPINFO starts here)
  std::size_t tableOffset = 0;  // the colour table, four bytes (blue, green, red, 0) an entry
  std::size_t colours = 0;      // entries the table holds
  std::size_t bitsOffset = 0;
  std::size_t bitsSize = 0;  // at least the rows the header describes
  int width = 0;
  int height = 0;  // negative for a top-down picture
  int bitCount = 0;
  // Pictures of 8 bits or fewer get a palette from their table.
  bool HasPalette() const { return bitCount <= 8; }
};

constexpr int MaxPictureSide = 8192;

// A packed picture as a bitmap resource holds it: the information header,
// the colour table, the bits.
std::optional<DibLayout> ParsePackedDib(const unsigned char* data, std::size_t size);
// A .bmp file: the 14-byte file header ("BM", file size, bits offset), then
// the picture; the bits are the file size less the bits offset.
std::optional<DibLayout> ParseBitmapFile(const unsigned char* data, std::size_t size);

}  // namespace refresh
