// The caller fuzzer's input: a byte choosing the movie, then commands, each a
// code byte and its values. A value is a tag byte and its bytes: a small
// number (1 byte), 16 or 32 bits (little-endian), or one of the values at
// the edges callers reach (16 and 32 bits, a tick count's 2^31 and 2^32).
// The seed writer and the target share this encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace callerfuzz {

// The movie: kPanoramaVariants panoramas, then the object movie.
constexpr int kMovies = 4;
constexpr int kObjectMovie = 3;

enum Command : std::uint8_t {
  kBounds,          // left, top, right, bottom, flags: the bounds selector
  kPlace,           // x, y: set movie's rectangle at a place
  kHitTest,         // x, y: a client point's hot spot
  kPointAngles,     // x, y: action 4156's source position and angles
  kSetAngles,       // which (a byte: pan, tilt, zoom), 16.16 value
  kRelative,        // pan, tilt, zoom deltas, quality
  kGoToNode,        // node id, pan, tilt, zoom, a byte of which angles are given
  kDrag,            // press x, y, cursor x, y: a drag step's offsets and move
  kRender,          // one frame of the current view
  kNavigation,      // hot spot id
  kClock,           // a byte (even: set, odd: advance by), ticks
  kObjectAngles,    // pan, tilt (16.16): actions 10000 and 10001
  kObjectLoop,      // loop count, loop speed: a loop step at the current tick
  kObjectCentre,    // x, y: a centre-rule step at the current tick
  kObjectEdge,      // from x, y, to x, y, a byte (odd: Shift held)
  kObjectGrid,      // direction, column, row: actions 10010, 10016, 10018
  kStandardBounds,  // left, top, right, bottom: the stand-in's box
  kObjectRecord,    // the navigation record's bytes: action 10004
  kCommands
};

// Values at the edges of what callers and clocks reach.
inline constexpr std::int64_t kEdgeValues[] = {
    0,          1,           -1,        32767,     32768,      -32768,     40000,      65535,      65536,
    2000000000, -2000000000, INT32_MAX, INT32_MIN, 0x7FFFFFF0, 0x80000010, 0xFFFFFFF0, 0xFFFFFFFF, INT32_MAX - 32767};
constexpr std::size_t kEdgeCount = sizeof kEdgeValues / sizeof kEdgeValues[0];

// Reads values off the input; past its end every value is 0.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A value as 32 bits (tick counts take it unsigned).
  std::int32_t Value() {
    switch (Byte() % 4) {
      case 0: return static_cast<std::int8_t>(Byte());
      case 1: {
        const std::uint8_t low = Byte();
        return static_cast<std::int16_t>(low | Byte() << 8);
      }
      case 2: {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return static_cast<std::int32_t>(v);
      }
      default: return static_cast<std::int32_t>(static_cast<std::uint32_t>(kEdgeValues[Byte() % kEdgeCount]));
    }
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Writes inputs in the same encoding (the seeds).
class Writer {
 public:
  explicit Writer(int movie) { bytes_.push_back(static_cast<std::uint8_t>(movie)); }
  Writer& Code(Command command) {
    bytes_.push_back(command);
    return *this;
  }
  Writer& Byte(std::uint8_t value) {
    bytes_.push_back(value);
    return *this;
  }
  Writer& Value(std::int64_t value) {
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
      if (static_cast<std::uint32_t>(kEdgeValues[i]) == static_cast<std::uint32_t>(value)) {
        bytes_.push_back(3);
        bytes_.push_back(static_cast<std::uint8_t>(i));
        return *this;
      }
    }
    bytes_.push_back(2);
    for (int i = 0; i < 4; ++i)
      bytes_.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
    return *this;
  }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace callerfuzz
