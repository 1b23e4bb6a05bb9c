#include "packed_dib.h"

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kMostBytes = INT32_MAX;

bool IsDepth(std::uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

std::optional<PackedDibLayout> LayOutPackedDib(const void* data, std::size_t size) {
  if (data == nullptr || size < kInfoHeaderSize) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  PackedDibLayout layout;
  layout.headerSize = U32(bytes);
  layout.width = static_cast<std::int32_t>(U32(bytes + 4));
  layout.height = static_cast<std::int32_t>(U32(bytes + 8));
  const std::uint16_t planes = U16(bytes + 12);
  layout.bitCount = U16(bytes + 14);
  layout.compression = U32(bytes + 16);
  const std::uint32_t used = U32(bytes + 32);
  if (layout.headerSize < kInfoHeaderSize || planes != 1 || !IsDepth(layout.bitCount)) return std::nullopt;
  if (layout.width <= 0 || layout.height == 0) return std::nullopt;

  // Later header versions hold the masks themselves.
  std::uint64_t masks = 0;
  if (layout.compression == kMaskedDib) {
    if (layout.bitCount != 16 && layout.bitCount != 32) return std::nullopt;
    if (layout.headerSize == kInfoHeaderSize) masks = 12;
  } else if (layout.compression != kPlainDib) {
    return std::nullopt;
  }
  if (layout.bitCount <= 8) {
    const std::uint32_t all = 1u << layout.bitCount;
    if (used > all) return std::nullopt;
    layout.colours = used != 0 ? used : all;
  } else {
    if (used > 256) return std::nullopt;
    layout.colours = used;
  }

  // Width and rows are at most 2^31, so no product below overflows 64 bits;
  // the 2 GB limit also refuses the one height of 2^31 rows.
  layout.rows =
      layout.height < 0 ? 0u - static_cast<std::uint32_t>(layout.height) : static_cast<std::uint32_t>(layout.height);
  const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  const std::uint64_t bitsSize = stride * layout.rows;
  const std::uint64_t tableOffset = std::uint64_t{layout.headerSize} + masks;
  const std::uint64_t bitsOffset = tableOffset + 4ull * layout.colours;
  const std::uint64_t total = bitsOffset + bitsSize;
  if (total > kMostBytes || total > size) return std::nullopt;
  layout.tableOffset = static_cast<std::size_t>(tableOffset);
  layout.bitsOffset = static_cast<std::size_t>(bitsOffset);
  layout.stride = static_cast<std::size_t>(stride);
  layout.bitsSize = static_cast<std::size_t>(bitsSize);
  layout.size = static_cast<std::size_t>(total);
  return layout;
}
