// Pictures: the check on a packed device-independent bitmap before the media
// library hands out a copy of it.
#include "kn_host.h"
#include "packed_dib.h"

namespace kn {

std::int32_t PackedBitmapSize(const std::uint8_t* data, std::size_t size) {
  const std::optional<PackedDibLayout> layout = LayOutPackedDib(data, size);
  return layout ? static_cast<std::int32_t>(layout->size) : 0;
}

}  // namespace kn
