// Pictures: the checks on a packed device-independent bitmap before the
// media library hands out a copy of it.
#include <cstdint>

#include "kn_host.h"

namespace kn {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

constexpr std::uint32_t kHeaderSize = 40;
constexpr std::uint32_t kPlainBits = 0;   // BI_RGB
constexpr std::uint32_t kMaskedBits = 3;  // BI_BITFIELDS: three colour masks after a 40-byte header

}  // namespace

std::int32_t PackedBitmapSize(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < kHeaderSize) return 0;
  const std::uint32_t headerSize = U32(data);
  const auto width = static_cast<std::int32_t>(U32(data + 4));
  const auto height = static_cast<std::int32_t>(U32(data + 8));
  const std::uint16_t planes = U16(data + 12);
  const std::uint16_t bits = U16(data + 14);
  const std::uint32_t compression = U32(data + 16);
  const std::uint32_t used = U32(data + 32);
  if (headerSize < kHeaderSize || headerSize > size || planes != 1) return 0;
  if (width <= 0 || height == 0 || height == INT32_MIN) return 0;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  std::uint64_t masks = 0;
  if (compression == kMaskedBits) {
    if (bits != 16 && bits != 32) return 0;
    if (headerSize == kHeaderSize) masks = 12;
  } else if (compression != kPlainBits) {
    return 0;
  }
  // The colour table: the entries used, or every colour of an indexed depth.
  std::uint64_t colours = used;
  if (bits <= 8) {
    const std::uint32_t all = 1u << bits;
    if (colours == 0) colours = all;
    if (colours > all) return 0;
  } else if (colours > 256) {
    return 0;
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  // Widths and heights are below 2^31, so the product fits 64 bits.
  if (stride * rows > static_cast<std::uint64_t>(INT32_MAX)) return 0;
  const std::uint64_t total = headerSize + masks + 4 * colours + stride * rows;
  if (total > size || total > INT32_MAX) return 0;
  return static_cast<std::int32_t>(total);
}

}  // namespace kn
