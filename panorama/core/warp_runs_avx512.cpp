// The runs for processors with AVX-512 (F, BW and VBMI): sixteen pixels a
// vector. Where the sixteen positions lie within a window of 128 or 192
// source bytes (steps up to about six pixels for 16-bit pixels, four for
// 24-bit ones), the window is loaded whole and the lanes' words are picked
// out by permutes; elsewhere the words are read one by one. Built with
// the unit's instructions enabled and called only when the processor has them.
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12's AVX-512 headers start results from an undefined vector, which
// its -Wmaybe-uninitialized takes for a use.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "warp_runs_math.h"

namespace pano {

void StripToRows16(const std::uint8_t*, int, int, int, std::uint8_t*, std::int32_t);
void StripToRows24(const std::uint8_t*, int, int, int, std::uint8_t*, std::int32_t);

namespace {

constexpr std::ptrdiff_t kWindowBytes = 128, kWideWindowBytes = 192;

struct Avx512 {
  using T = __m512i;
  static constexpr int N = 16;
  static T Set1(std::uint32_t v) { return _mm512_set1_epi32(static_cast<int>(v)); }
  static T Load(const std::uint32_t* v) { return _mm512_loadu_si512(v); }
  static T And(T a, T b) { return _mm512_and_si512(a, b); }
  static T Or(T a, T b) { return _mm512_or_si512(a, b); }
  static T Xor(T a, T b) { return _mm512_xor_si512(a, b); }
  static T Add(T a, T b) { return _mm512_add_epi32(a, b); }
  template <int n>
  static T Srl(T a) {
    return _mm512_srli_epi32(a, n);
  }
  template <int n>
  static T Sll(T a) {
    return _mm512_slli_epi32(a, n);
  }
  static T Rot16(T w) { return _mm512_rol_epi32(w, 16); }
  static T Select(T mask, T ifSet, T ifClear) { return _mm512_ternarylogic_epi32(mask, ifSet, ifClear, 0xCA); }
  static T HalfMask(T positions) { return _mm512_srai_epi32(_mm512_slli_epi32(positions, 22), 31); }
  static T Lanes(std::uint32_t step) {
    return _mm512_mullo_epi32(_mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15), Set1(step));
  }
  // The lanes' pixel indexes from the window's first pixel, when every lane's
  // pixel up to lastIndex and the window's bytes lie before readEnd.
  static bool Window(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, T lanes,
                     const std::uint8_t* readEnd, int pixelBytes, std::uint32_t lastIndex, std::ptrdiff_t bytes,
                     T* indexes, const std::uint8_t** base) {
    const std::uint32_t first = position >> 10, fraction = position & 0x3FF;
    if (((fraction + static_cast<std::uint64_t>(15) * step) >> 10) > lastIndex) return false;
    *base = line + static_cast<std::size_t>(pixelBytes) * first;
    if (readEnd - *base < bytes) return false;
    *indexes = _mm512_srli_epi32(_mm512_add_epi32(Set1(fraction), lanes), 10);
    return true;
  }
  // Each lane's pixel and the one after it as Q:P, from a window of 64
  // words, or of 96 when the lanes spread further.
  static bool Window16(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, T lanes,
                       const std::uint8_t* readEnd, T* words) {
    T index;
    const std::uint8_t* base = nullptr;
    const bool narrow = Window(line, position, step, lanes, readEnd, 2, 62, kWindowBytes, &index, &base);
    if (!narrow && !Window(line, position, step, lanes, readEnd, 2, 94, kWideWindowBytes, &index, &base)) return false;
    const T pairs = _mm512_or_si512(index, _mm512_slli_epi32(_mm512_add_epi32(index, Set1(1)), 16));
    const T low = _mm512_loadu_si512(base), middle = _mm512_loadu_si512(base + 64);
    *words = _mm512_permutex2var_epi16(low, pairs, middle);
    if (!narrow) {
      const T far = _mm512_permutexvar_epi16(pairs, _mm512_loadu_si512(base + 128));
      *words = _mm512_mask_blend_epi16(_mm512_test_epi16_mask(pairs, Set1(0x00400040)), *words, far);
    }
    return true;
  }
  // The bytes at the lanes' byte indexes (below 128, or below 192 when wide).
  static T PickBytes(const std::uint8_t* base, T bytes, bool wide) {
    const T near = _mm512_permutex2var_epi8(_mm512_loadu_si512(base), bytes, _mm512_loadu_si512(base + 64));
    if (!wide) return near;
    const T far = _mm512_permutexvar_epi8(bytes, _mm512_loadu_si512(base + 128));
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), near, far);
  }
  // Pixel i's bytes 3i .. 3i + 3 and its successor's, from a window of 128
  // bytes, or of 192 when the lanes spread further.
  static bool Window24(const std::uint8_t* line, std::uint32_t position, std::uint32_t step, T lanes,
                       const std::uint8_t* readEnd, T* p, T* q) {
    T index;
    const std::uint8_t* base = nullptr;
    const bool narrow = Window(line, position, step, lanes, readEnd, 3, 40, kWindowBytes, &index, &base);
    if (!narrow && !Window(line, position, step, lanes, readEnd, 3, 61, kWideWindowBytes, &index, &base)) return false;
    const T bytes =
        _mm512_add_epi32(_mm512_mullo_epi32(_mm512_add_epi32(index, _mm512_add_epi32(index, index)), Set1(0x01010101)),
                         Set1(0x03020100));
    const T mask = Set1(0x00FFFFFF);
    *p = And(PickBytes(base, bytes, !narrow), mask);
    *q = And(PickBytes(base, Add(bytes, Set1(0x03030303)), !narrow), mask);
    return true;
  }
  static void Store16(std::uint8_t* destination, T pixels) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination), _mm512_cvtepi32_epi16(pixels));
  }
  // The three low bytes of each lane, packed: exactly 48 bytes.
  static void Store24(std::uint8_t* destination, T pixels) {
    const T order = _mm512_set_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 62, 61, 60, 58, 57, 56, 54, 53, 52,
                                    50, 49, 48, 46, 45, 44, 42, 41, 40, 38, 37, 36, 34, 33, 32, 30, 29, 28, 26, 25, 24,
                                    22, 21, 20, 18, 17, 16, 14, 13, 12, 10, 9, 8, 6, 5, 4, 2, 1, 0);
    _mm512_mask_storeu_epi8(destination, (std::uint64_t{1} << 48) - 1, _mm512_permutexvar_epi8(order, pixels));
  }
};

}  // namespace

bool RunLoopsAvx512(int format, RunLoops* loops) {
  return RunLoopsOf<Avx512>(format, loops, StripToRows16, StripToRows24);
}

}  // namespace pano
