// The runs' arithmetic, written once over a vector type and built into each
// vector unit's own translation unit (compiled for that unit, everything
// here has internal linkage). One 32-bit lane per pixel, the same formulas as
// the roles: 16-bit pixels as the word Q:P, 24-bit ones as three bytes.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "warp_loops.h"
#include "warp_runs.h"

namespace pano {
namespace {

inline std::uint32_t LoadWord(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// The 16-bit roles: A blends pixel i with i + 1 at the half-pixel bit, D
// blends two lines (four pixels at the bit, else pixel i of each), B is the
// plain pixel. w = Q:P of each lane; results in the low 16 bits.
template <class V, std::uint32_t kMask>
struct Pixels16 {
  using T = typename V::T;
  static T HalfPixel(T w, T half) {
    const T m = V::Set1(kMask);
    const T s = V::And(V::template Srl<1>(V::Add(V::And(w, m), V::And(V::Rot16(w), m))), m);
    return V::And(V::Select(half, V::Or(s, V::template Srl<16>(s)), w), V::Set1(0xFFFF));
  }
  static T TwoLines(T w1, T w2, T half) {
    const T m = V::Set1(kMask);
    const T sum = V::template Srl<2>(
        V::Add(V::Add(V::And(w1, m), V::And(V::Rot16(w1), m)), V::Add(V::And(w2, m), V::And(V::Rot16(w2), m))));
    const T green = V::Set1(kMask == kMask565 ? 0x3F : 0x1F), redBlue = V::Set1(kMask == kMask565 ? 0xF81F : 0x7C1F);
    const T four = V::Or(V::template Sll<5>(V::And(V::template Srl<21>(sum), green)), V::And(sum, redBlue));
    // Pixel i of each line: each channel's halved sum (the role's masked sum)
    // as (u AND v) + (u XOR v without each channel's low bit) / 2.
    const T both = V::Set1(kMask == kMask565 ? 0xFFFF : 0x7FFF), high = V::Set1(kMask == kMask565 ? 0xF7DE : 0x7BDE);
    const T two = V::Add(V::And(V::And(w1, w2), both), V::template Srl<1>(V::And(V::Xor(w1, w2), high)));
    return V::Select(half, four, two);
  }
  static T Plain(T w) { return V::And(w, V::Set1(0xFFFF)); }
};

// The 24-bit roles over p and q, the pixels as three bytes.
template <class V>
struct Pixels24 {
  using T = typename V::T;
  static T Pair(T p, T q) {
    const T m = V::Set1(0x00FEFEFF);
    return V::Add(V::And(p, m), V::And(q, m));
  }
  static T HalfPixel(T p, T q, T half) { return V::Select(half, V::template Srl<1>(Pair(p, q)), p); }
  static T TwoLines(T p1, T q1, T p2, T q2, T half) {
    const T m = V::Set1(0x01FDFDFF);
    const T four = V::template Srl<2>(V::Add(V::And(Pair(p1, q1), m), V::And(Pair(p2, q2), m)));
    return V::Select(half, four, V::template Srl<1>(Pair(p1, p2)));
  }
};

// The words of N lanes read one by one: a lane's pixel (and for 16 bits the
// one after it, as Q:P), positions from `position` apart by `step`.
template <class V>
typename V::T ReadWords16(const std::uint8_t* line, std::uint32_t position, std::uint32_t step) {
  std::uint32_t words[V::N];
  for (int k = 0; k < V::N; ++k) {
    words[k] = LoadWord(line + 2 * static_cast<std::size_t>(position >> 10));
    position += step;
  }
  return V::Load(words);
}
template <class V>
void ReadPixels24(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, typename V::T* p,
                  typename V::T* q) {
  std::uint32_t first[V::N], second[V::N];
  for (int k = 0; k < V::N; ++k) {
    const std::uint8_t* pixel = line + 3 * static_cast<std::size_t>(position >> 10);
    first[k] = LoadWord(pixel);
    second[k] = LoadWord(pixel + 3);
    position += step;
  }
  const typename V::T bytes = V::Set1(0x00FFFFFF);
  *p = V::And(V::Load(first), bytes);
  *q = V::And(V::Load(second), bytes);
}

// A 16-bit format's lanes (kMask 5-6-5 or 5-5-5): each lane's word Q:P,
// the roles' formulas over it, its store, and the roles themselves.
template <class V, std::uint32_t kMask>
struct Format16 {
  using T = typename V::T;
  using P = Pixels16<V, kMask>;
  static constexpr int kPixelBytes = 2;
  static constexpr SampleLineProc kSample = kMask == kMask565 ? SampleLine565 : SampleLine555;
  static constexpr SampleLineProc kNearest = SampleLineNearest16;
  static constexpr SampleTwoLinesProc kBlend = kMask == kMask565 ? BlendLinePair565 : BlendLinePair555;
  struct Source {
    T w;
  };
  static Source Read(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, T lanes,
                     const std::uint8_t* readEnd) {
    Source s;
    if (!V::Window16(line, position, step, lanes, readEnd, &s.w)) s.w = ReadWords16<V>(line, position, step);
    return s;
  }
  static T HalfPixel(const Source& s, T half) { return P::HalfPixel(s.w, half); }
  static T Plain(const Source& s) { return P::Plain(s.w); }
  static T TwoLines(const Source& a, const Source& b, T half) { return P::TwoLines(a.w, b.w, half); }
  static void Store(std::uint8_t* destination, T pixels) { V::Store16(destination, pixels); }
};

// The 24-bit format's lanes: each lane's pixel p and its successor q.
template <class V>
struct Format24 {
  using T = typename V::T;
  using P = Pixels24<V>;
  static constexpr int kPixelBytes = 3;
  static constexpr SampleLineProc kSample = SampleLine24;
  static constexpr SampleLineProc kNearest = SampleLineNearest24;
  static constexpr SampleTwoLinesProc kBlend = BlendLinePair24;
  struct Source {
    T p, q;
  };
  static Source Read(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, T lanes,
                     const std::uint8_t* readEnd) {
    Source s;
    if (!V::Window24(line, position, step, lanes, readEnd, &s.p, &s.q))
      ReadPixels24<V>(line, position, step, &s.p, &s.q);
    return s;
  }
  static T HalfPixel(const Source& s, T half) { return P::HalfPixel(s.p, s.q, half); }
  static T Plain(const Source& s) { return s.p; }
  static T TwoLines(const Source& a, const Source& b, T half) { return P::TwoLines(a.p, a.q, b.p, b.q, half); }
  static void Store(std::uint8_t* destination, T pixels) { V::Store24(destination, pixels); }
};

// The runs of a format: whole vectors of lanes, the run's last pixels that
// fill no vector through the role itself.
template <class V, class F>
struct Runs {
  using T = typename V::T;
  template <class Draw, class Role>
  static void InVectors(int count, std::uint32_t position, std::uint32_t step, std::uint8_t* destination, Draw draw,
                        Role role) {
    int n = 0;
    for (; n + V::N <= count; n += V::N) {
      draw(position, destination);
      position += V::N * step;
      destination += F::kPixelBytes * V::N;
    }
    if (n < count) role(count - n, position, destination);
  }
  static T Half(std::uint32_t position, T lanes) { return V::HalfMask(V::Add(V::Set1(position), lanes)); }

  static void Sample(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                     std::uint8_t* destination, const std::uint8_t* readEnd) {
    const T lanes = V::Lanes(step);
    InVectors(
        count, position, step, destination,
        [&](std::uint32_t at, std::uint8_t* out) {
          F::Store(out, F::HalfPixel(F::Read(line, at, step, lanes, readEnd), Half(at, lanes)));
        },
        [&](int rest, std::uint32_t at, std::uint8_t* out) { F::kSample(rest, line, at, step, out, F::kPixelBytes); });
  }
  static void Nearest(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                      std::uint8_t* destination, const std::uint8_t* readEnd) {
    const T lanes = V::Lanes(step);
    InVectors(
        count, position, step, destination,
        [&](std::uint32_t at, std::uint8_t* out) { F::Store(out, F::Plain(F::Read(line, at, step, lanes, readEnd))); },
        [&](int rest, std::uint32_t at, std::uint8_t* out) { F::kNearest(rest, line, at, step, out, F::kPixelBytes); });
  }
  static void Blend(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                    std::uint32_t step, std::uint8_t* destination, const std::uint8_t* readEnd) {
    const T lanes = V::Lanes(step);
    InVectors(
        count, position, step, destination,
        [&](std::uint32_t at, std::uint8_t* out) {
          F::Store(out, F::TwoLines(F::Read(line1, at, step, lanes, readEnd), F::Read(line2, at, step, lanes, readEnd),
                                    Half(at, lanes)));
        },
        [&](int rest, std::uint32_t at, std::uint8_t* out) {
          F::kBlend(rest, line1, line2, at, step, out, F::kPixelBytes);
        });
  }
  static RunLoops Loops(StripProc stripToRows) { return RunLoops{Sample, Nearest, Blend, stripToRows}; }
};

template <class V>
bool RunLoopsOf(int format, RunLoops* loops, StripProc stripToRows16, StripProc stripToRows24) {
  switch (format) {
    case 16: *loops = Runs<V, Format16<V, kMask565>>::Loops(stripToRows16); return true;
    case 17: *loops = Runs<V, Format16<V, kMask555>>::Loops(stripToRows16); return true;
    case 24: *loops = Runs<V, Format24<V>>::Loops(stripToRows24); return true;
    default: return false;
  }
}

}  // namespace
}  // namespace pano
