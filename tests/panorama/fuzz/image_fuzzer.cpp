// Image decompression from untrusted bytes: an image description (codec,
// size, depth, colour table id or a stored table), a colour table resource,
// and a sample, decoded for a screen output mode into a caller's pixels of
// exactly the description's size. The host's run-length codec decodes the
// sample; a second codec of the fuzzer's own reports direct, banded or
// stepped output with any band height and fills every row it is given, so
// that the plug-in's band and segment arithmetic is checked against the
// destination's bounds.
//
// Input: output mode, codec choice, output kind, band height (a byte each),
// u16 length and the description, u16 length and the colour table resource,
// then the sample.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../stand_in_host.h"
#include "color_tables.h"
#include "image_track.h"
#include "kn_components.h"
#include "kn_host.h"
#include "pano_host.h"
#include "pano_types.h"

namespace {

std::vector<std::uint8_t> g_resource;
bool Resource(int, const std::uint8_t** data, std::uint32_t* size) {
  if (g_resource.empty()) return false;
  *data = g_resource.data();
  *size = static_cast<std::uint32_t>(g_resource.size());
  return true;
}

int g_kind = 3, g_bandHeight = 1;
// Fills every row of the image it was prepared for, where the plug-in says
// the rows go: straight, or in 64 KB segments of `args[4]` rows each.
std::intptr_t FillingCodec(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  static kn::KnDecompressPrepare prepared;
  if (selector == kn::kDcGetCapabilities) {
    auto* caps = reinterpret_cast<kn::KnDecompressCapabilities*>(args[3]);
    std::memset(caps, 0, sizeof *caps);
    caps->outputKind = g_kind;
    caps->bandHeight = static_cast<std::int16_t>(g_bandHeight);
    caps->depth = 16;
    return 0;
  }
  if (selector == kn::kDcPrepare) {
    prepared = *reinterpret_cast<const kn::KnDecompressPrepare*>(args[3]);
    return 0;
  }
  if (selector == kn::kDcDecompress) {
    const auto* call = reinterpret_cast<const kn::KnDecompressCall*>(args[3]);
    const std::intptr_t segment = count > 4 ? args[4] : 0;
    for (int y = 0; y < prepared.height; ++y) {
      std::uint8_t* row = segment > 0 ? call->destination + (y / segment) * 65536 + (y % segment) * call->rowBytes
                                      : call->destination + static_cast<std::intptr_t>(y) * call->rowBytes;
      std::memset(row, y, static_cast<std::size_t>(prepared.width) * static_cast<std::size_t>(prepared.pixelBytes));
    }
  }
  return 0;
}

void Install() {
  static bool done = false;
  if (done) return;
  done = true;
  panotest::UseStandInHost();
  pano::System().loadResource = Resource;
  kn::KnComponentDescriptor codec{};
  std::memcpy(codec.type, "dcmp", 4);
  std::memcpy(codec.subtype, "fill", 4);
  codec.entry = FillingCodec;
  kn::RegisterComponent(codec, "fill");
}

bool Take(const std::uint8_t*& data, std::size_t& size, std::vector<std::uint8_t>& out) {
  if (size < 2) return false;
  const std::size_t length = data[0] | data[1] << 8;
  if (length > size - 2) return false;
  out.assign(data + 2, data + 2 + length);
  data += 2 + length;
  size -= 2 + length;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Install();
  if (size < 4) return 0;
  static const std::int32_t kModes[] = {pano::kModePalette, pano::kMode555,   pano::kMode565,
                                        pano::kModeRgb24,   pano::kModeBgr24, 0};
  const std::int32_t mode = kModes[data[0] % 6];
  const bool ownCodec = data[1] & 1;
  g_kind = data[2] % 4;
  g_bandHeight = data[3];
  data += 4;
  size -= 4;
  std::vector<std::uint8_t> description;
  if (!Take(data, size, description) || !Take(data, size, g_resource)) return 0;
  // The description names the fuzzer's codec when asked to.
  if (ownCodec && description.size() >= 8) std::memcpy(description.data() + 4, "fill", 4);
  const int live = kn::LiveBlocks();
  pano::Decompressor* state =
      pano::DecompressorOpen(description.data(), static_cast<std::int32_t>(description.size()), mode);
  if (state != nullptr) {
    // The caller's pixels: exactly the image, rows of its pixels apart.
    const std::int64_t rowBytes = std::int64_t{state->description.width} * state->pixelBytes;
    const std::int64_t bytes = rowBytes * state->description.height;
    if (rowBytes > 0 && bytes > 0 && bytes <= (8 << 20)) {
      std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bytes));
      pano::DecompressSample(state, data, static_cast<std::int32_t>(size), pixels.data(),
                             static_cast<std::int32_t>(rowBytes));
    }
    pano::DecompressorClose(state);
  }
  if (kn::LiveBlocks() != live) std::abort();  // the state and its tables are given back
  return 0;
}
