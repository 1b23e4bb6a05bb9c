// The host's decompressor for our own image codec "knrl": per row, packets of
// a control byte c (c < 128: c + 1 literal pixels follow; c >= 128: the next
// pixel repeats c - 126 times). Pixels are three bytes (red, green, blue) at
// depth 24, one byte (a colour index) at depth 8.
#include <cstring>

#include "kn_components.h"
#include "kn_host.h"

namespace kn {
namespace {

constexpr std::intptr_t kCodecDataError = -8960;

struct CodecState {
  KnDecompressPrepare prepare{};
  bool prepared = false;
};

bool Supported(const KnDecompressPrepare& p) {
  if (p.depth == 24) {
    return p.outputMode == 6 || p.outputMode == 7 || p.outputMode == 9 || p.outputMode == 11;
  }
  if (p.depth == 8) {
    if (p.colorTable == nullptr) return false;
    if (p.outputMode == 5) return p.colorTableBytes >= 256;
    if (p.outputMode == 6 || p.outputMode == 7) return p.colorTableBytes >= 512;
    if (p.outputMode == 9 || p.outputMode == 11) return p.colorTableBytes >= 1024;
  }
  return false;
}

void PutPixel(const KnDecompressPrepare& p, const std::uint8_t* in, std::uint8_t* out) {
  if (p.depth == 8) {
    const auto* table = static_cast<const std::uint8_t*>(p.colorTable);
    if (p.outputMode == 5) {
      out[0] = table[in[0]];
    } else if (p.outputMode == 6 || p.outputMode == 7) {
      std::memcpy(out, table + 2 * in[0], 2);
    } else {
      std::memcpy(out, table + 4 * in[0], 3);
    }
    return;
  }
  const std::uint32_t r = in[0], g = in[1], b = in[2];
  switch (p.outputMode) {
    case 6: {
      const std::uint16_t v = static_cast<std::uint16_t>((r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3);
      std::memcpy(out, &v, 2);
      break;
    }
    case 7: {
      const std::uint16_t v = static_cast<std::uint16_t>(r >> 3 << 11 | g >> 2 << 5 | b >> 3);
      std::memcpy(out, &v, 2);
      break;
    }
    case 9:
      out[0] = static_cast<std::uint8_t>(r);
      out[1] = static_cast<std::uint8_t>(g);
      out[2] = static_cast<std::uint8_t>(b);
      break;
    default:
      out[0] = static_cast<std::uint8_t>(b);
      out[1] = static_cast<std::uint8_t>(g);
      out[2] = static_cast<std::uint8_t>(r);
      break;
  }
}

std::intptr_t Decompress(CodecState* state, const KnDecompressCall& call, std::int32_t segmentRows) {
  const KnDecompressPrepare& p = state->prepare;
  if (!state->prepared || call.data == nullptr) return -50;
  const int inBytes = p.depth == 24 ? 3 : 1;
  const int outBytes = p.pixelBytes;
  const std::uint8_t* in = call.data;
  const std::uint8_t* end = call.data + call.size;
  for (std::int32_t y = 0; y < p.height; ++y) {
    std::uint8_t* row = nullptr;
    if (p.outputKind == 3) {
      row = reinterpret_cast<std::uint8_t*>(p.callback(5, static_cast<std::intptr_t>(y) * call.rowBytes));
    } else if (p.outputKind == 2 && segmentRows > 0) {
      row = call.destination + static_cast<std::ptrdiff_t>(y / segmentRows) * 65536 +
            static_cast<std::ptrdiff_t>(y % segmentRows) * call.rowBytes;
    } else {
      row = call.destination + static_cast<std::ptrdiff_t>(y) * call.rowBytes;
    }
    const bool wanted = y >= call.area.top && y < call.area.bottom;
    std::int32_t x = 0;
    while (x < p.width) {
      if (in >= end) return kCodecDataError;
      const int control = *in++;
      const int run = control < 128 ? control + 1 : control - 126;
      const bool literal = control < 128;
      if (x + run > p.width) return kCodecDataError;
      if (end - in < (literal ? run : 1) * inBytes) return kCodecDataError;
      for (int k = 0; k < run; ++k, ++x) {
        if (wanted && row != nullptr)
          PutPixel(p, in + (literal ? k * inBytes : 0), row + static_cast<std::ptrdiff_t>(x) * outBytes);
      }
      in += (literal ? run : 1) * inBytes;
    }
  }
  return 0;
}

}  // namespace

std::intptr_t RunLengthCodecEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  auto* state = reinterpret_cast<CodecState*>(arg(2));
  switch (selector) {
    case -1: {
      auto* fresh = new CodecState;
      const std::intptr_t set[2] = {arg(2), reinterpret_cast<std::intptr_t>(fresh)};
      ManagerEntry(kGroupManager, kCmSetStorage, set, 2);
      return 0;
    }
    case -2: delete state; return 0;
    case -3:
    case -4: return 0;
    default: break;
  }
  if (state == nullptr) return -50;
  switch (selector) {
    case kDcGetCapabilities: {
      auto* caps = reinterpret_cast<KnDecompressCapabilities*>(arg(3));
      if (caps == nullptr) return -50;
      std::memset(caps, 0, sizeof *caps);
      caps->flags = 0x40;
      caps->outputKind = 1;
      caps->depth = 0;
      return 0;
    }
    case kDcBusy: return 0;
    case kDcPrepare: {
      const auto* prepare = reinterpret_cast<const KnDecompressPrepare*>(arg(3));
      if (prepare == nullptr || !Supported(*prepare) || prepare->width <= 0 || prepare->height <= 0) return -8961;
      state->prepare = *prepare;
      state->prepared = true;
      return 0;
    }
    case kDcDecompress: {
      const auto* call = reinterpret_cast<const KnDecompressCall*>(arg(3));
      if (call == nullptr) return -50;
      return Decompress(state, *call, static_cast<std::int32_t>(arg(4)));
    }
    default: return -50;
  }
}

}  // namespace kn
