// The runs for processors with AVX2: eight pixels a vector, their source
// words read one by one (a gather instruction is slower here), and the strips
// turned into rows eight by eight. Built with the unit's instructions enabled
// and called only when the processor has them.
#include "warp_runs_math.h"

namespace pano {
namespace {

struct Avx2 {
  using T = __m256i;
  static constexpr int N = 8;
  static T Set1(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static T Load(const std::uint32_t* v) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(v)); }
  static T And(T a, T b) { return _mm256_and_si256(a, b); }
  static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  static T Add(T a, T b) { return _mm256_add_epi32(a, b); }
  template <int n>
  static T Srl(T a) {
    return _mm256_srli_epi32(a, n);
  }
  template <int n>
  static T Sll(T a) {
    return _mm256_slli_epi32(a, n);
  }
  static T Rot16(T w) {
    return _mm256_shuffle_epi8(w, _mm256_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13, 2, 3, 0, 1, 6,
                                                   7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13));
  }
  static T Select(T mask, T ifSet, T ifClear) { return _mm256_blendv_epi8(ifClear, ifSet, mask); }
  static T HalfMask(T positions) { return _mm256_srai_epi32(_mm256_slli_epi32(positions, 22), 31); }
  static T Lanes(std::uint32_t step) {
    return _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), Set1(step));
  }
  static bool Window16(const std::uint8_t*, std::uint32_t, std::uint32_t, T, const std::uint8_t*, T*) { return false; }
  static bool Window24(const std::uint8_t*, std::uint32_t, std::uint32_t, T, const std::uint8_t*, T*, T*) {
    return false;
  }
  static void Store16(std::uint8_t* destination, T pixels) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination),
                     _mm_packus_epi32(_mm256_castsi256_si128(pixels), _mm256_extracti128_si256(pixels, 1)));
  }
  // Exactly 24 bytes: each half's twelve, the first half's store overlapped by the second.
  static void Store24(std::uint8_t* destination, T pixels) {
    const T packed =
        _mm256_shuffle_epi8(pixels, _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4,
                                                     5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    const __m128i low = _mm256_castsi256_si128(packed), high = _mm256_extracti128_si256(packed, 1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination), low);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + 12), high);
    const std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(high, 8)));
    std::memcpy(destination + 20, &last, 4);
  }
};

}  // namespace

// Eight strip columns of eight rows at a time, turned with word unpacks.
void StripToRows16(const std::uint8_t* strip, int columnPixels, int columns, int height, std::uint8_t* frame,
                   std::int32_t rowBytes) {
  auto column = [&](int c, int y) { return strip + 2 * (static_cast<std::size_t>(c) * columnPixels + y); };
  auto row = [&](int y, int c) { return frame + static_cast<std::ptrdiff_t>(rowBytes) * y + 2 * c; };
  int c = 0;
  for (; c + 8 <= columns; c += 8) {
    int y = 0;
    for (; y + 8 <= height; y += 8) {
      __m128i a[8];
      for (int j = 0; j < 8; ++j) a[j] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column(c + j, y)));
      const __m128i t0 = _mm_unpacklo_epi16(a[0], a[1]), t1 = _mm_unpackhi_epi16(a[0], a[1]);
      const __m128i t2 = _mm_unpacklo_epi16(a[2], a[3]), t3 = _mm_unpackhi_epi16(a[2], a[3]);
      const __m128i t4 = _mm_unpacklo_epi16(a[4], a[5]), t5 = _mm_unpackhi_epi16(a[4], a[5]);
      const __m128i t6 = _mm_unpacklo_epi16(a[6], a[7]), t7 = _mm_unpackhi_epi16(a[6], a[7]);
      const __m128i u0 = _mm_unpacklo_epi32(t0, t2), u1 = _mm_unpackhi_epi32(t0, t2);
      const __m128i u2 = _mm_unpacklo_epi32(t1, t3), u3 = _mm_unpackhi_epi32(t1, t3);
      const __m128i u4 = _mm_unpacklo_epi32(t4, t6), u5 = _mm_unpackhi_epi32(t4, t6);
      const __m128i u6 = _mm_unpacklo_epi32(t5, t7), u7 = _mm_unpackhi_epi32(t5, t7);
      const __m128i r[8] = {_mm_unpacklo_epi64(u0, u4), _mm_unpackhi_epi64(u0, u4), _mm_unpacklo_epi64(u1, u5),
                            _mm_unpackhi_epi64(u1, u5), _mm_unpacklo_epi64(u2, u6), _mm_unpackhi_epi64(u2, u6),
                            _mm_unpacklo_epi64(u3, u7), _mm_unpackhi_epi64(u3, u7)};
      for (int j = 0; j < 8; ++j) _mm_storeu_si128(reinterpret_cast<__m128i*>(row(y + j, c)), r[j]);
    }
    for (; y < height; ++y) {
      for (int j = 0; j < 8; ++j) std::memcpy(row(y, c + j), column(c + j, y), 2);
    }
  }
  for (; c < columns; ++c) {
    for (int y = 0; y < height; ++y) std::memcpy(row(y, c), column(c, y), 2);
  }
}

// Row by row, a word a pixel (its fourth byte overwritten by the next pixel),
// the strip's last column exactly.
void StripToRows24(const std::uint8_t* strip, int columnPixels, int columns, int height, std::uint8_t* frame,
                   std::int32_t rowBytes) {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = frame + static_cast<std::ptrdiff_t>(rowBytes) * y;
    const std::uint8_t* pixel = strip + 3 * static_cast<std::size_t>(y);
    for (int c = 0; c + 1 < columns; ++c) {
      std::memcpy(row + 3 * c, pixel, 4);
      pixel += 3 * static_cast<std::size_t>(columnPixels);
    }
    std::memcpy(row + 3 * (columns - 1), pixel, 3);
  }
}

bool RunLoopsAvx2(int format, RunLoops* loops) { return RunLoopsOf<Avx2>(format, loops, StripToRows16, StripToRows24); }

}  // namespace pano
