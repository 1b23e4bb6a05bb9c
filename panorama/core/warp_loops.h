// The warp engine's per-pixel kernels: each resamples one source line (a
// 10-bit fixed-point position and step) into destination pixels a fixed
// stride apart, so one kernel serves the column pass (stride = frame row
// bytes) and the row pass (stride = one pixel).
#pragma once

#include <cstdint>

namespace pano {

// Role A (half-pixel blend) and role B (nearest).
using SampleLineProc = void (*)(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                                std::uint8_t* destination, std::int32_t stride);
// Role D (two lines blended) and role E (two lines into two adjacent pixels).
using SampleTwoLinesProc = void (*)(int count, const std::uint8_t* line1, const std::uint8_t* line2,
                                    std::uint32_t position, std::uint32_t step, std::uint8_t* destination,
                                    std::int32_t stride);

struct LineLoops {
  SampleLineProc sample;          // A
  SampleLineProc nearest;         // B
  SampleTwoLinesProc blendPair;   // D
  SampleTwoLinesProc columnPair;  // E
};

constexpr std::uint32_t kMask565 = 0x07E0F81F;
constexpr std::uint32_t kMask555 = 0x03E07C1F;

// The loops of a pixel format (16, 17 or 24); false for any other.
bool LoopsForFormat(int format, LineLoops* loops);

// The 16-bit half-pixel average of P (lower address) and Q.
std::uint16_t Average16(std::uint16_t p, std::uint16_t q, std::uint32_t mask);

void SampleLine565(int, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*, std::int32_t);
void SampleLine555(int, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*, std::int32_t);
void SampleLine24(int, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*, std::int32_t);
void SampleLineNearest16(int, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*, std::int32_t);
void SampleLineNearest24(int, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*, std::int32_t);
void BlendLinePair565(int, const std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*,
                      std::int32_t);
void BlendLinePair555(int, const std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*,
                      std::int32_t);
void BlendLinePair24(int, const std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*,
                     std::int32_t);
void SampleColumnPair16(int, const std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*,
                        std::int32_t);
void SampleColumnPair24(int, const std::uint8_t*, const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint8_t*,
                        std::int32_t);

}  // namespace pano
