#include "bitmap_file.h"

#include <cstdint>

#include "packed_dib.h"

namespace refresh {

namespace {

std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

constexpr std::size_t kFileHeader = 14;

// The picture whose information header is at `info` and which ends by `end`;
// only plain pictures of a sensible size are taken from a download. Fills
// everything but the bits' place.
std::optional<DibLayout> LayOut(const unsigned char* data, std::size_t info, std::size_t end) {
  const std::optional<PackedDibLayout> packed = LayOutPackedDib(data + info, end - info);
  if (!packed || packed->compression != kPlainDib) return std::nullopt;
  if (packed->width > MaxPictureSide || packed->rows > static_cast<std::uint32_t>(MaxPictureSide)) {
    return std::nullopt;
  }
  DibLayout layout;
  layout.infoOffset = info;
  layout.tableOffset = info + packed->tableOffset;
  layout.colours = packed->colours;
  layout.width = packed->width;
  layout.height = packed->height;
  layout.bitCount = packed->bitCount;
  layout.bitsOffset = info + packed->bitsOffset;
  layout.bitsSize = packed->bitsSize;
  return layout;
}

}  // namespace

std::optional<DibLayout> ParsePackedDib(const unsigned char* data, std::size_t size) {
  std::optional<DibLayout> layout = LayOut(data, 0, size);
  if (layout) layout->bitsSize = size - layout->bitsOffset;  // the rows and whatever follows them
  return layout;
}

std::optional<DibLayout> ParseBitmapFile(const unsigned char* data, std::size_t size) {
  if (size < kFileHeader || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t fileSize = U32(data + 2);
  const std::uint32_t bitsOffset = U32(data + 10);
  if (fileSize > size || fileSize < kFileHeader || bitsOffset > fileSize) return std::nullopt;
  // The file header names where the bits start: past the colour table, and
  // with the rows between there and the end of the file.
  std::optional<DibLayout> layout = LayOut(data, kFileHeader, fileSize);
  if (!layout || bitsOffset < layout->bitsOffset || fileSize - bitsOffset < layout->bitsSize) return std::nullopt;
  layout->bitsOffset = bitsOffset;
  layout->bitsSize = fileSize - bitsOffset;
  return layout;
}

}  // namespace refresh
