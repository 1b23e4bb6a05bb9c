// Shared values of the panorama components: result codes, object signatures,
// output modes and the angle constants every conversion uses.
#pragma once

#include <cstdint>
#include <cstring>

#include "kn_api.h"

namespace pano {

using kn::Tag;

enum : std::int32_t {
  kOk = 0,
  kErrParam = -50,  // a caller's value the plug-in cannot take
  kErrMemory = -108,
  kErrHandleLock = -2000,
  kErrOutputKind = -2003,
  kErrNoComponent = -2004,
  kErrNodeInfo = -2008,
  kErrMakeTable = -2009,
  kErrMissing = -2010,
  kErrTileRange = -2015,
  kErrNotStarted = -2034,
  kErrBadFile = -2042,
  kErrAtomWalk = -2048,
  kErrTableFull = -2152,
  kErrCreate = -2153,
  kDecompressorPrepared = -8972,  // a decompressor's "prepared" answer, taken as success
};
constexpr std::int32_t kInvalidInstance = 0x8002;
constexpr std::int32_t kUnknownSelector = static_cast<std::int32_t>(0x80008002u);
constexpr std::int32_t kHostEntryMissing = static_cast<std::int32_t>(0x80008001u);

// Screen output modes: how frames reach the display.
enum OutputMode : std::int32_t {
  kModeDib = 1,      // device-independent bitmap, 24-bit frames
  kModePalette = 5,  // 8-bit palette display (frames 5-5-5, converted per band)
  kMode555 = 6,
  kMode565 = 7,
  kModeRgb24 = 9,   // bytes red, green, blue
  kModeBgr24 = 11,  // bytes blue, green, red
};

// Pixel formats of the warp engine's frames.
enum PixelFormat : std::int16_t { kFormat565 = 16, kFormat555 = 17, kFormat24 = 24 };

// The components' own pi: every angle written back comes out as it went in.
constexpr double kPi = 3.1415926;
constexpr double kTwoPi = 6.2831852;
constexpr double kDegToRad = 0.017453292222222222;
constexpr double kRadToFixed = 3754936.27022167;  // radians to 16.16 degrees

// A 16.16 value rounded to whole units, in 64 bits: the largest values round
// up past what a 32-bit sum holds.
inline std::int32_t RoundFixed(std::int32_t fixed) {
  return static_cast<std::int32_t>((std::int64_t{fixed} + 0x8000) >> 16);
}

// A value already scaled by 65536 as a 16.16 value: rounded half away from
// zero, held at the ends of the 32-bit range (a cast of a double beyond it
// is undefined), NaN as 0.
inline std::int32_t ScaledToFixed(double scaled) {
  if (!(scaled == scaled)) return 0;
  const double rounded = scaled < 0 ? scaled - 0.5 : scaled + 0.5;
  if (rounded >= 2147483648.0) return INT32_MAX;
  if (rounded <= -2147483649.0) return INT32_MIN;
  return static_cast<std::int32_t>(rounded);
}

// A 64-bit value held at the ends of the 32-bit range.
inline std::int32_t Held32(std::int64_t value) {
  return static_cast<std::int32_t>(value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : value);
}

// Doubles to integers without undefined casts, truncated toward zero: NaN is
// 0, the rest saturates at the ends of the result's range.
inline std::int64_t Whole(double value) {
  if (!(value == value)) return 0;
  if (value > 9.0e15) return static_cast<std::int64_t>(9.0e15);
  if (value < -9.0e15) return static_cast<std::int64_t>(-9.0e15);
  return static_cast<std::int64_t>(value);
}
inline std::int32_t Whole32(double value) { return Held32(Whole(value)); }
inline std::uint32_t WholeUnsigned(double value) {
  const std::int64_t v = Whole(value);
  return static_cast<std::uint32_t>(v < 0 ? 0 : v > UINT32_MAX ? UINT32_MAX : v);
}

// The widest and tallest view: the node view and the warp engine keep a
// view's width and height in 16 bits.
constexpr std::int32_t kMaxViewSide = 32767;
inline bool ViewSideFits(std::int64_t side) { return side >= 1 && side <= kMaxViewSide; }
// A rectangle a view can take: width and height each 1 to kMaxViewSide,
// worked in 64 bits (a caller's rectangle can span more than an int).
inline bool ViewRectFits(const kn::KnRect& r) {
  return ViewSideFits(std::int64_t{r.right} - r.left) && ViewSideFits(std::int64_t{r.bottom} - r.top);
}

inline double FixedToRad(std::int32_t fixed) { return fixed / 65536.0 * kDegToRad; }
inline std::int32_t RadToFixed(double radians) { return ScaledToFixed(radians * kRadToFixed); }

inline std::uint32_t LoadTag(const void* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace pano
