// Pieces of the structure-aware mutators of the fuzz targets whose inputs are
// files of nested records (movie atoms, database components and tables): a
// random source from libFuzzer's seed, big-endian fields, and the values that
// make readers take their edge paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

// libFuzzer's own mutation, for everything the structure does not cover.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace fuzzmut {

using Random = std::minstd_rand;

inline std::uint32_t Below(Random& random, std::uint32_t bound) {
  return bound == 0 ? 0 : static_cast<std::uint32_t>(random() % bound);
}

inline std::uint32_t GetBe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
inline std::uint16_t GetBe16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
inline void PutBe32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}
inline void PutBe16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 8);
  p[1] = static_cast<std::uint8_t>(v);
}

// A value for a count, size or offset field that now holds `current`:
// a neighbour, zero, one, a boundary of the field's width, a multiple, a
// value of the file (`context`: its length, another field's value) or any.
inline std::uint32_t Interesting(Random& random, std::uint32_t current, std::uint32_t context, bool wide) {
  const std::uint32_t top = wide ? 0xFFFFFFFFu : 0xFFFFu;
  switch (Below(random, 12)) {
    case 0: return current + 1;
    case 1: return current - 1;
    case 2: return 0;
    case 3: return 1;
    case 4: return top;
    case 5: return top / 2;
    case 6: return top / 2 + 1;
    case 7: return current * 2;
    case 8: return current / 2;
    case 9: return context;
    case 10: return context + Below(random, 9) - 4;
    default: return static_cast<std::uint32_t>(random()) & top;
  }
}

}  // namespace fuzzmut
