#include "warp_loops.h"

#include <cstring>

namespace pano {
namespace {

inline std::uint16_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline std::uint32_t Load24(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}
inline void Store16(std::uint8_t* p, std::uint32_t v) {
  const std::uint16_t x = static_cast<std::uint16_t>(v);
  std::memcpy(p, &x, 2);
}
// Three bytes a pixel are stored exactly, so a frame's last column never
// reaches into the first pixel of the next row.
inline void Store24(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
}
inline std::uint32_t Rot16(std::uint32_t w) { return w >> 16 | w << 16; }

inline std::uint32_t Pair24(std::uint32_t p, std::uint32_t q) { return (p & 0x00FEFEFF) + (q & 0x00FEFEFF); }

inline std::uint32_t Pack16(std::uint32_t c, std::uint32_t mask) {
  if (mask == kMask565) return ((c >> 21) & 0x3F) << 5 | (c & 0xF81F);
  return ((c >> 21) & 0x1F) << 5 | (c & 0x7C1F);
}

// Calls one() count times, four calls to a pass of the loop.
template <typename One>
inline void FourAtATime(int count, One one) {
  for (int n = count >> 2; n > 0; --n) {
    one();
    one();
    one();
    one();
  }
  for (int k = 0; k < (count & 3); ++k) one();
}

template <std::uint32_t kMask>
void SampleLine16(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                  std::uint8_t* destination, std::int32_t stride) {
  for (int n = 0; n < count; ++n) {
    const std::uint8_t* pixel = line + 2 * static_cast<std::size_t>(position >> 10);
    if ((position & 0x200) == 0) {
      Store16(destination, Load16(pixel));
    } else {
      const std::uint32_t w = static_cast<std::uint32_t>(Load16(pixel)) | static_cast<std::uint32_t>(Load16(pixel + 2))
                                                                              << 16;
      const std::uint32_t s = (((w & kMask) + (Rot16(w) & kMask)) >> 1) & kMask;
      Store16(destination, s | s >> 16);
    }
    position += step;
    destination += stride;
  }
}

template <std::uint32_t kMask>
void BlendPair16(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                 std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  for (int n = 0; n < count; ++n) {
    const std::size_t at = 2 * static_cast<std::size_t>(position >> 10);
    std::uint32_t c;
    if ((position & 0x200) != 0) {
      const std::uint32_t w1 =
          static_cast<std::uint32_t>(Load16(line1 + at)) | static_cast<std::uint32_t>(Load16(line1 + at + 2)) << 16;
      const std::uint32_t w2 =
          static_cast<std::uint32_t>(Load16(line2 + at)) | static_cast<std::uint32_t>(Load16(line2 + at + 2)) << 16;
      c = ((w1 & kMask) + (Rot16(w1) & kMask) + (w2 & kMask) + (Rot16(w2) & kMask)) >> 2;
    } else {
      const std::uint32_t u = Load16(line1 + at);
      const std::uint32_t v = Load16(line2 + at);
      c = (((u << 16 | v) & kMask) + ((v << 16 | u) & kMask)) >> 1;
    }
    Store16(destination, Pack16(c, kMask));
    position += step;
    destination += stride;
  }
}

}  // namespace

std::uint16_t Average16(std::uint16_t p, std::uint16_t q, std::uint32_t mask) {
  const std::uint32_t w = static_cast<std::uint32_t>(p) | static_cast<std::uint32_t>(q) << 16;
  const std::uint32_t s = (((w & mask) + (Rot16(w) & mask)) >> 1) & mask;
  return static_cast<std::uint16_t>(s | s >> 16);
}

void SampleLine565(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                   std::uint8_t* destination, std::int32_t stride) {
  SampleLine16<kMask565>(count, line, position, step, destination, stride);
}
void SampleLine555(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                   std::uint8_t* destination, std::int32_t stride) {
  SampleLine16<kMask555>(count, line, position, step, destination, stride);
}

void SampleLine24(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                  std::uint8_t* destination, std::int32_t stride) {
  for (int n = 0; n < count; ++n) {
    const std::uint8_t* pixel = line + 3 * static_cast<std::size_t>(position >> 10);
    if ((position & 0x200) == 0) {
      Store24(destination, Load24(pixel));
    } else {
      Store24(destination, Pair24(Load24(pixel), Load24(pixel + 3)) >> 1);
    }
    position += step;
    destination += stride;
  }
}

void SampleLineNearest16(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                         std::uint8_t* destination, std::int32_t stride) {
  FourAtATime(count, [&] {
    Store16(destination, Load16(line + 2 * static_cast<std::size_t>(position >> 10)));
    position += step;
    destination += stride;
  });
}

void SampleLineNearest24(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                         std::uint8_t* destination, std::int32_t stride) {
  FourAtATime(count, [&] {
    Store24(destination, Load24(line + 3 * static_cast<std::size_t>(position >> 10)));
    position += step;
    destination += stride;
  });
}

void BlendLinePair565(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                      std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  BlendPair16<kMask565>(count, line1, line2, position, step, destination, stride);
}
void BlendLinePair555(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                      std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  BlendPair16<kMask555>(count, line1, line2, position, step, destination, stride);
}

void BlendLinePair24(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                     std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  for (int n = 0; n < count; ++n) {
    const std::size_t at = 3 * static_cast<std::size_t>(position >> 10);
    std::uint32_t c;
    if ((position & 0x200) != 0) {
      c = ((Pair24(Load24(line1 + at), Load24(line1 + at + 3)) & 0x01FDFDFF) +
           (Pair24(Load24(line2 + at), Load24(line2 + at + 3)) & 0x01FDFDFF)) >>
          2;
    } else {
      c = Pair24(Load24(line1 + at), Load24(line2 + at)) >> 1;
    }
    Store24(destination, c);
    position += step;
    destination += stride;
  }
}

void SampleColumnPair16(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                        std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  FourAtATime(count, [&] {
    const std::size_t at = 2 * static_cast<std::size_t>(position >> 10);
    const std::uint32_t both =
        static_cast<std::uint32_t>(Load16(line1 + at)) | static_cast<std::uint32_t>(Load16(line2 + at)) << 16;
    std::memcpy(destination, &both, 4);
    position += step;
    destination += stride;
  });
}

void SampleColumnPair24(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                        std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  FourAtATime(count, [&] {
    const std::size_t at = 3 * static_cast<std::size_t>(position >> 10);
    Store24(destination, Load24(line1 + at));
    Store24(destination + 3, Load24(line2 + at));
    position += step;
    destination += stride;
  });
}

bool LoopsForFormat(int format, LineLoops* loops) {
  switch (format) {
    case 16: *loops = LineLoops{SampleLine565, SampleLineNearest16, BlendLinePair565, SampleColumnPair16}; return true;
    case 17: *loops = LineLoops{SampleLine555, SampleLineNearest16, BlendLinePair555, SampleColumnPair16}; return true;
    case 24: *loops = LineLoops{SampleLine24, SampleLineNearest24, BlendLinePair24, SampleColumnPair24}; return true;
    default: return false;
  }
}

}  // namespace pano
