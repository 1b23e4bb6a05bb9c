// Packed bitmaps from untrusted bytes: a layout that is given must lie inside
// the bytes, its parts in order, its rows as many as the header says.
#include <cstdint>

#include "packed_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<PackedDibLayout> layout = LayOutPackedDib(data, size);
  if (!layout) return 0;
  const bool ordered = layout->headerSize <= layout->tableOffset &&
                       layout->tableOffset + 4 * std::size_t{layout->colours} == layout->bitsOffset &&
                       layout->bitsOffset + layout->bitsSize == layout->size && layout->size <= size &&
                       layout->bitsSize == layout->stride * layout->rows && layout->stride % 4 == 0 &&
                       layout->stride * 8 >= std::size_t{static_cast<std::uint32_t>(layout->width)} * layout->bitCount;
  if (!ordered) __builtin_trap();
  volatile std::uint8_t last = data[layout->size - 1];  // the whole bitmap lies inside the bytes
  (void)last;
  return 0;
}
