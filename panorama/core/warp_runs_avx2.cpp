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
  static T Load(const std::uint32_t* v) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v)); }
  static T And(T a, T b) { return _mm256_and_si256(a, b); }
  static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  static T Xor(T a, T b) { return _mm256_xor_si256(a, b); }
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

// The word unpacks that turn eight columns of eight rows (in each 128-bit
// half of the vectors) into eight rows.
template <class W, W (*Lo16)(W, W), W (*Hi16)(W, W), W (*Lo32)(W, W), W (*Hi32)(W, W), W (*Lo64)(W, W), W (*Hi64)(W, W)>
void TurnEight(const W (&a)[8], W (&r)[8]) {
  const W t0 = Lo16(a[0], a[1]), t1 = Hi16(a[0], a[1]), t2 = Lo16(a[2], a[3]), t3 = Hi16(a[2], a[3]);
  const W t4 = Lo16(a[4], a[5]), t5 = Hi16(a[4], a[5]), t6 = Lo16(a[6], a[7]), t7 = Hi16(a[6], a[7]);
  const W u0 = Lo32(t0, t2), u1 = Hi32(t0, t2), u2 = Lo32(t1, t3), u3 = Hi32(t1, t3);
  const W u4 = Lo32(t4, t6), u5 = Hi32(t4, t6), u6 = Lo32(t5, t7), u7 = Hi32(t5, t7);
  r[0] = Lo64(u0, u4), r[1] = Hi64(u0, u4), r[2] = Lo64(u1, u5), r[3] = Hi64(u1, u5);
  r[4] = Lo64(u2, u6), r[5] = Hi64(u2, u6), r[6] = Lo64(u3, u7), r[7] = Hi64(u3, u7);
}

// Sixteen strip columns of eight rows at a time (two blocks of eight side by
// side in the vectors' halves), then eight columns, then single pixels.
void StripToRows16(const std::uint8_t* strip, int columnPixels, int columns, int height, std::uint8_t* frame,
                   std::int32_t rowBytes) {
  auto column = [&](int c, int y) { return strip + 2 * (static_cast<std::size_t>(c) * columnPixels + y); };
  auto row = [&](int y, int c) { return frame + static_cast<std::ptrdiff_t>(rowBytes) * y + 2 * c; };
  auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  int c = 0;
  for (; c + 8 <= columns; c += columns - c >= 16 ? 16 : 8) {
    const bool sixteen = columns - c >= 16;
    int y = 0;
    for (; y + 8 <= height; y += 8) {
      if (sixteen) {
        __m256i a[8], r[8];
        for (int j = 0; j < 8; ++j)
          a[j] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(column(c + 8 + j, y)),
                                     reinterpret_cast<const __m128i*>(column(c + j, y)));
        TurnEight<__m256i, _mm256_unpacklo_epi16, _mm256_unpackhi_epi16, _mm256_unpacklo_epi32, _mm256_unpackhi_epi32,
                  _mm256_unpacklo_epi64, _mm256_unpackhi_epi64>(a, r);
        for (int k = 0; k < 8; ++k) _mm256_storeu_si256(reinterpret_cast<__m256i*>(row(y + k, c)), r[k]);
      } else {
        __m128i a[8], r[8];
        for (int j = 0; j < 8; ++j) a[j] = load(column(c + j, y));
        TurnEight<__m128i, _mm_unpacklo_epi16, _mm_unpackhi_epi16, _mm_unpacklo_epi32, _mm_unpackhi_epi32,
                  _mm_unpacklo_epi64, _mm_unpackhi_epi64>(a, r);
        for (int k = 0; k < 8; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(row(y + k, c)), r[k]);
      }
    }
    for (; y < height; ++y) {
      for (int j = 0; j < (sixteen ? 16 : 8); ++j) std::memcpy(row(y, c + j), column(c + j, y), 2);
    }
  }
  for (; c < columns; ++c) {
    for (int y = 0; y < height; ++y) std::memcpy(row(y, c), column(c, y), 2);
  }
}

// Four strip columns of four rows at a time: each column's pixels widened to
// words, the words turned, each row's four pixels packed back to 12 bytes.
void StripToRows24(const std::uint8_t* strip, int columnPixels, int columns, int height, std::uint8_t* frame,
                   std::int32_t rowBytes) {
  auto column = [&](int c, int y) { return strip + 3 * (static_cast<std::size_t>(c) * columnPixels + y); };
  auto row = [&](int y, int c) { return frame + static_cast<std::ptrdiff_t>(rowBytes) * y + 3 * c; };
  const __m128i widen = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i narrow = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int c = 0;
  for (; c + 4 <= columns; c += 4) {
    int y = 0;
    for (; y + 4 <= height; y += 4) {
      __m128i e[4];
      for (int j = 0; j < 4; ++j) {
        e[j] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(column(c + j, y))), widen);
      }
      const __m128i t0 = _mm_unpacklo_epi32(e[0], e[1]), t1 = _mm_unpackhi_epi32(e[0], e[1]);
      const __m128i t2 = _mm_unpacklo_epi32(e[2], e[3]), t3 = _mm_unpackhi_epi32(e[2], e[3]);
      const __m128i r[4] = {_mm_unpacklo_epi64(t0, t2), _mm_unpackhi_epi64(t0, t2), _mm_unpacklo_epi64(t1, t3),
                            _mm_unpackhi_epi64(t1, t3)};
      for (int k = 0; k < 4; ++k) {
        const __m128i packed = _mm_shuffle_epi8(r[k], narrow);
        std::uint8_t* out = row(y + k, c);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
        const std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(packed, 8)));
        std::memcpy(out + 8, &last, 4);
      }
    }
    for (; y < height; ++y) {
      for (int j = 0; j < 4; ++j) std::memcpy(row(y, c + j), column(c + j, y), 3);
    }
  }
  for (; c < columns; ++c) {
    for (int y = 0; y < height; ++y) std::memcpy(row(y, c), column(c, y), 3);
  }
}

bool RunLoopsAvx2(int format, RunLoops* loops) { return RunLoopsOf<Avx2>(format, loops, StripToRows16, StripToRows24); }

}  // namespace pano
