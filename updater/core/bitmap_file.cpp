#include "bitmap_file.h"

#include <cstdint>

namespace refresh {

namespace {

std::uint32_t U32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

// Reads the information header at `info` (data holds `size` bytes). Fills
// everything but the bits' place.
std::optional<DibLayout> ParseInfo(const unsigned char* data, std::size_t size, std::size_t info) {
  if (size < info || size - info < kInfoHeader) return std::nullopt;
  const unsigned char* h = data + info;
  const std::uint32_t headerSize = U32(h);
  const auto width = static_cast<std::int32_t>(U32(h + 4));
  const auto height = static_cast<std::int32_t>(U32(h + 8));
  const std::uint16_t planes = U16(h + 12);
  const std::uint16_t bitCount = U16(h + 14);
  const std::uint32_t compression = U32(h + 16);
  const std::uint32_t used = U32(h + 32);
  if (headerSize < kInfoHeader || headerSize > size - info || planes != 1 || compression != 0) return std::nullopt;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return std::nullopt;
  }
  if (width <= 0 || width > MaxPictureSide || height == 0 || height < -MaxPictureSide || height > MaxPictureSide) {
    return std::nullopt;
  }
  DibLayout layout;
  layout.infoOffset = info;
  layout.tableOffset = info + headerSize;
  layout.width = width;
  layout.height = height;
  layout.bitCount = bitCount;
  if (bitCount <= 8) {
    const std::uint32_t full = 1u << bitCount;
    if (used > full) return std::nullopt;
    layout.colours = used != 0 ? used : full;
  } else {
    if (used > 256) return std::nullopt;
    layout.colours = used;  // an optional table of colours to favour
  }
  return layout;
}

std::size_t RowBytes(const DibLayout& layout) {
  return (static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.bitCount) + 31) / 32 * 4;
}

bool BitsFit(const DibLayout& layout) {
  const std::size_t rows = static_cast<std::size_t>(layout.height < 0 ? -layout.height : layout.height);
  return layout.bitsOffset >= layout.tableOffset + 4 * layout.colours && layout.bitsSize >= RowBytes(layout) * rows;
}

}  // namespace

std::optional<DibLayout> ParsePackedDib(const unsigned char* data, std::size_t size) {
  std::optional<DibLayout> layout = ParseInfo(data, size, 0);
  if (!layout || layout->tableOffset + 4 * layout->colours > size) return std::nullopt;
  layout->bitsOffset = layout->tableOffset + 4 * layout->colours;
  layout->bitsSize = size - layout->bitsOffset;
  if (!BitsFit(*layout)) return std::nullopt;
  return layout;
}

std::optional<DibLayout> ParseBitmapFile(const unsigned char* data, std::size_t size) {
  if (size < kFileHeader || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint32_t fileSize = U32(data + 2);
  const std::uint32_t bitsOffset = U32(data + 10);
  if (fileSize > size || bitsOffset > fileSize) return std::nullopt;
  std::optional<DibLayout> layout = ParseInfo(data, size, kFileHeader);
  if (!layout) return std::nullopt;
  layout->bitsOffset = bitsOffset;
  layout->bitsSize = fileSize - bitsOffset;
  if (!BitsFit(*layout)) return std::nullopt;
  return layout;
}

}  // namespace refresh
