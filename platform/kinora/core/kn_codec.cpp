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

// The bytes of an output pixel in each mode the codec writes.
int ModePixelBytes(std::int32_t mode) {
  switch (mode) {
    case 5: return 1;
    case 6:
    case 7: return 2;
    case 9:
    case 11: return 3;
    default: return 0;
  }
}

bool Supported(const KnDecompressPrepare& p) {
  if (p.pixelBytes != ModePixelBytes(p.outputMode)) return false;
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

// Where row y goes: asked of the host (stepped output), in 64 KB segments
// (banded) or rowBytes apart.
std::uint8_t* RowAt(const KnDecompressPrepare& p, const KnDecompressCall& call, std::int32_t segmentRows,
                    std::int32_t y) {
  if (p.outputKind == 3) {
    return reinterpret_cast<std::uint8_t*>(p.callback(5, static_cast<std::intptr_t>(y) * call.rowBytes));
  }
  if (p.outputKind == 2 && segmentRows > 0) {
    return call.destination + static_cast<std::ptrdiff_t>(y / segmentRows) * 65536 +
           static_cast<std::ptrdiff_t>(y % segmentRows) * call.rowBytes;
  }
  return call.destination + static_cast<std::ptrdiff_t>(y) * call.rowBytes;
}

// The packets of every row, each pixel converted by put(in, out) into
// outBytes bytes; a repeated pixel is converted once and copied.
template <int kInBytes, int kOutBytes, class Put>
std::intptr_t DecodeRows(const KnDecompressPrepare& p, const KnDecompressCall& call, std::int32_t segmentRows,
                         Put put) {
  const std::uint8_t* in = call.data;
  const std::uint8_t* end = call.data + call.size;
  for (std::int32_t y = 0; y < p.height; ++y) {
    std::uint8_t* row = RowAt(p, call, segmentRows, y);
    const bool write = y >= call.area.top && y < call.area.bottom && row != nullptr;
    std::int32_t x = 0;
    while (x < p.width) {
      if (in >= end) return kCodecDataError;
      const int control = *in++;
      const bool literal = control < 128;
      const int run = literal ? control + 1 : control - 126;
      if (x + run > p.width) return kCodecDataError;
      if (end - in < (literal ? run : 1) * kInBytes) return kCodecDataError;
      if (write) {
        std::uint8_t* out = row + static_cast<std::ptrdiff_t>(x) * kOutBytes;
        if (literal) {
          for (int k = 0; k < run; ++k) put(in + k * kInBytes, out + k * kOutBytes);
        } else {
          std::uint8_t pixel[4];
          put(in, pixel);
          for (int k = 0; k < run; ++k) std::memcpy(out + k * kOutBytes, pixel, kOutBytes);
        }
      }
      x += run;
      in += (literal ? run : 1) * kInBytes;
    }
  }
  return 0;
}

std::intptr_t Decompress(CodecState* state, const KnDecompressCall& call, std::int32_t segmentRows) {
  const KnDecompressPrepare& p = state->prepare;
  if (!state->prepared || call.data == nullptr) return -50;
  const auto* table = static_cast<const std::uint8_t*>(p.colorTable);
  // Each depth and output mode its own loop (prepare took only pixels as wide as the mode's).
  if (p.depth == 24) {
    switch (p.outputMode) {
      case 6:
        return DecodeRows<3, 2>(p, call, segmentRows, [](const std::uint8_t* i, std::uint8_t* o) {
          const std::uint16_t v = static_cast<std::uint16_t>((i[0] & 0xF8) << 7 | (i[1] & 0xF8) << 2 | i[2] >> 3);
          std::memcpy(o, &v, 2);
        });
      case 7:
        return DecodeRows<3, 2>(p, call, segmentRows, [](const std::uint8_t* i, std::uint8_t* o) {
          const std::uint16_t v = static_cast<std::uint16_t>(i[0] >> 3 << 11 | i[1] >> 2 << 5 | i[2] >> 3);
          std::memcpy(o, &v, 2);
        });
      case 9:
        return DecodeRows<3, 3>(p, call, segmentRows,
                                [](const std::uint8_t* i, std::uint8_t* o) { std::memcpy(o, i, 3); });
      case 11:
        return DecodeRows<3, 3>(p, call, segmentRows, [](const std::uint8_t* i, std::uint8_t* o) {
          o[0] = i[2];
          o[1] = i[1];
          o[2] = i[0];
        });
      default: break;
    }
  } else if (p.depth == 8) {
    switch (p.outputMode) {
      case 5:
        return DecodeRows<1, 1>(p, call, segmentRows,
                                [table](const std::uint8_t* i, std::uint8_t* o) { o[0] = table[i[0]]; });
      case 6:
      case 7:
        return DecodeRows<1, 2>(p, call, segmentRows, [table](const std::uint8_t* i, std::uint8_t* o) {
          std::memcpy(o, table + 2 * i[0], 2);
        });
      case 9:
      case 11:
        return DecodeRows<1, 3>(p, call, segmentRows, [table](const std::uint8_t* i, std::uint8_t* o) {
          std::memcpy(o, table + 4 * i[0], 3);
        });
      default: break;
    }
  }
  return -50;
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
