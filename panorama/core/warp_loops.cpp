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

// Each channel of the two pixels of the word Q:P averaged, in both halves.
inline std::uint32_t AverageWord(std::uint32_t w, std::uint32_t mask) {
  const std::uint32_t s = (((w & mask) + (Rot16(w) & mask)) >> 1) & mask;
  return s | s >> 16;
}

// The 16-bit pixel arithmetic (5-6-5 or 5-5-5 by kMask): a pixel and the one
// after it as the word Q:P, each channel's sums kept apart by the mask.
template <std::uint32_t kMask>
struct Pixel16 {
  static constexpr std::size_t kBytes = 2;
  static std::uint32_t Load(const std::uint8_t* p) { return Load16(p); }
  static void Store(std::uint8_t* p, std::uint32_t v) { Store16(p, v); }
  static std::uint32_t Word(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(Load16(p)) | static_cast<std::uint32_t>(Load16(p + 2)) << 16;
  }
  // The pixel blended with the one after it.
  static std::uint32_t Half(const std::uint8_t* p) { return AverageWord(Word(p), kMask); }
  // Two lines blended: at the half-pixel bit the four pixels, else the two.
  static std::uint32_t Blend(const std::uint8_t* p1, const std::uint8_t* p2, bool half) {
    std::uint32_t c;
    if (half) {
      const std::uint32_t w1 = Word(p1), w2 = Word(p2);
      c = ((w1 & kMask) + (Rot16(w1) & kMask) + (w2 & kMask) + (Rot16(w2) & kMask)) >> 2;
    } else {
      const std::uint32_t u = Load16(p1);
      const std::uint32_t v = Load16(p2);
      c = (((u << 16 | v) & kMask) + ((v << 16 | u) & kMask)) >> 1;
    }
    return Pack16(c, kMask);
  }
};

// The 24-bit pixel arithmetic, the pixels as three bytes.
struct Pixel24 {
  static constexpr std::size_t kBytes = 3;
  static std::uint32_t Load(const std::uint8_t* p) { return Load24(p); }
  static void Store(std::uint8_t* p, std::uint32_t v) { Store24(p, v); }
  static std::uint32_t Half(const std::uint8_t* p) { return Pair24(Load24(p), Load24(p + 3)) >> 1; }
  static std::uint32_t Blend(const std::uint8_t* p1, const std::uint8_t* p2, bool half) {
    if (half) {
      return ((Pair24(Load24(p1), Load24(p1 + 3)) & 0x01FDFDFF) + (Pair24(Load24(p2), Load24(p2 + 3)) & 0x01FDFDFF)) >>
             2;
    }
    return Pair24(Load24(p1), Load24(p2)) >> 1;
  }
};

// Steps through count destination pixels, stride apart, and their source
// positions, step apart; draw(position, destination) draws each. kFour
// draws four pixels to a pass of the loop.
template <bool kFour, typename Draw>
inline void EachPixel(int count, std::uint32_t position, std::uint32_t step, std::uint8_t* destination,
                      std::int32_t stride, Draw draw) {
  const auto one = [&] {
    draw(position, destination);
    position += step;
    destination += stride;
  };
  if constexpr (kFour) {
    for (int n = count >> 2; n > 0; --n) {
      one();
      one();
      one();
      one();
    }
    for (int k = 0; k < (count & 3); ++k) one();
  } else {
    for (int n = 0; n < count; ++n) one();
  }
}

// The roles, written once over the pixel arithmetic. The source pixel of a
// position is its top 22 bits; bit 9 is the half-pixel bit.
template <class Pixel>
std::size_t SourceOffset(std::uint32_t position) {
  return Pixel::kBytes * static_cast<std::size_t>(position >> 10);
}

// A: the pixel, or at the half-pixel bit the pixel blended with the next.
template <class Pixel>
void Sample(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step, std::uint8_t* destination,
            std::int32_t stride) {
  EachPixel<false>(count, position, step, destination, stride, [&](std::uint32_t pos, std::uint8_t* out) {
    const std::uint8_t* pixel = line + SourceOffset<Pixel>(pos);
    Pixel::Store(out, (pos & 0x200) == 0 ? Pixel::Load(pixel) : Pixel::Half(pixel));
  });
}

// B: the nearest pixel.
template <class Pixel>
void Nearest(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step, std::uint8_t* destination,
             std::int32_t stride) {
  EachPixel<true>(count, position, step, destination, stride, [&](std::uint32_t pos, std::uint8_t* out) {
    Pixel::Store(out, Pixel::Load(line + SourceOffset<Pixel>(pos)));
  });
}

// D: two lines blended into one pixel.
template <class Pixel>
void BlendPair(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
               std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  EachPixel<false>(count, position, step, destination, stride, [&](std::uint32_t pos, std::uint8_t* out) {
    const std::size_t at = SourceOffset<Pixel>(pos);
    Pixel::Store(out, Pixel::Blend(line1 + at, line2 + at, (pos & 0x200) != 0));
  });
}

// E: the two lines' nearest pixels side by side.
template <class Pixel>
void ColumnPair(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  EachPixel<true>(count, position, step, destination, stride, [&](std::uint32_t pos, std::uint8_t* out) {
    const std::size_t at = SourceOffset<Pixel>(pos);
    Pixel::Store(out, Pixel::Load(line1 + at));
    Pixel::Store(out + Pixel::kBytes, Pixel::Load(line2 + at));
  });
}

}  // namespace

std::uint16_t Average16(std::uint16_t p, std::uint16_t q, std::uint32_t mask) {
  return static_cast<std::uint16_t>(
      AverageWord(static_cast<std::uint32_t>(p) | static_cast<std::uint32_t>(q) << 16, mask));
}

void SampleLine565(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                   std::uint8_t* destination, std::int32_t stride) {
  Sample<Pixel16<kMask565>>(count, line, position, step, destination, stride);
}
void SampleLine555(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                   std::uint8_t* destination, std::int32_t stride) {
  Sample<Pixel16<kMask555>>(count, line, position, step, destination, stride);
}
void SampleLine24(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                  std::uint8_t* destination, std::int32_t stride) {
  Sample<Pixel24>(count, line, position, step, destination, stride);
}

void SampleLineNearest16(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                         std::uint8_t* destination, std::int32_t stride) {
  Nearest<Pixel16<kMask565>>(count, line, position, step, destination, stride);
}
void SampleLineNearest24(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                         std::uint8_t* destination, std::int32_t stride) {
  Nearest<Pixel24>(count, line, position, step, destination, stride);
}

void BlendLinePair565(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                      std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  BlendPair<Pixel16<kMask565>>(count, line1, line2, position, step, destination, stride);
}
void BlendLinePair555(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                      std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  BlendPair<Pixel16<kMask555>>(count, line1, line2, position, step, destination, stride);
}
void BlendLinePair24(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                     std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  BlendPair<Pixel24>(count, line1, line2, position, step, destination, stride);
}

void SampleColumnPair16(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                        std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  ColumnPair<Pixel16<kMask565>>(count, line1, line2, position, step, destination, stride);
}
void SampleColumnPair24(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                        std::uint32_t step, std::uint8_t* destination, std::int32_t stride) {
  ColumnPair<Pixel24>(count, line1, line2, position, step, destination, stride);
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
