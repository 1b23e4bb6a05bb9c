// Where the parts of a packed device-independent bitmap lie: the information
// header, the colour masks, the colour table and the rows, one after another,
// as a bitmap resource, a .bmp file past its file header and a picture handed
// between the programs and the media library hold one. Every program reads
// such bytes without trusting them, so the layout is checked against the
// bytes that hold it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr std::uint32_t kPlainDib = 0;   // uncompressed rows, the table indexed or optional
inline constexpr std::uint32_t kMaskedDib = 3;  // 16 or 32 bits a pixel, three colour masks before the table

struct PackedDibLayout {
  std::uint32_t headerSize = 0;  // the information header: 40, or a later version's longer one
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative for a top-down picture
  std::uint32_t rows = 0;   // the height's magnitude
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;  // kPlainDib or kMaskedDib
  std::size_t tableOffset = 0;    // past the header and the masks a 40-byte header is followed by
  std::uint32_t colours = 0;      // entries of the table, four bytes (blue, green, red, 0) each
  std::size_t bitsOffset = 0;
  std::size_t stride = 0;    // bytes of one row, rounded up to 4
  std::size_t bitsSize = 0;  // stride * rows
  std::size_t size = 0;      // bitsOffset + bitsSize: the bytes the bitmap takes
};

// The layout of the bitmap that starts `data`, or nothing unless `size` bytes
// hold a whole one of a depth and compression the system draws. The table
// holds the header's count of colours used; for 8 bits or fewer a count of 0
// means every colour of the depth, and a count above that is refused; deeper
// pictures may carry a table of up to 256 colours to favour. Bitmaps of 2 GB
// or more are refused, as the system measures bits in a signed 32-bit count.
std::optional<PackedDibLayout> LayOutPackedDib(const void* data, std::size_t size);
