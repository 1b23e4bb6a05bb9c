// Writes the caller fuzzer's seeds: command sequences at the edges callers
// and clocks reach. Display rectangles 40,000 and 65,535 wide and one
// spanning more than an int, each followed by the hit test and action 4156
// that would read before the warp engine's column table; bounds of each
// flag around a view's largest side; places at an int's end; loop, centre
// and edge steps across the tick count's 2^31 and 2^32; the stand-in's box.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "caller_commands.h"
#include "common/byte_writer.h"

namespace {

using namespace callerfuzz;

void Rect(Writer& w, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  w.Value(left).Value(top).Value(right).Value(bottom);
}

// Bounds then what reads the column table: a hit test, the point's angles and a frame.
Writer PastSixteenBits(int movie, std::int64_t left, std::int64_t right, std::int64_t flags) {
  Writer w(movie);
  w.Code(kBounds);
  Rect(w, left, 0, right, 24);
  w.Value(flags);
  w.Code(kHitTest).Value(5).Value(5);
  w.Code(kPointAngles).Value(5).Value(5);
  w.Code(kPointAngles).Value(INT32_MAX).Value(INT32_MIN);
  w.Code(kRender).Value(768);
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::filesystem::create_directories(argv[1]);
  std::vector<std::pair<std::string, Writer>> seeds;
  seeds.emplace_back("width-40000", PastSixteenBits(1, 0, 40000, 2));
  seeds.emplace_back("width-65535", PastSixteenBits(0, 0, 65535, 2));
  seeds.emplace_back("spanning-an-int", PastSixteenBits(2, -2000000000, 2000000000, 2));
  seeds.emplace_back("spanning-centred", PastSixteenBits(1, -2000000000, 2000000000, 0));
  seeds.emplace_back("spanning-corner", PastSixteenBits(1, -2000000000, 2000000000, 1));

  // The largest side and one past it, cut bounds, places at an int's end.
  Writer sides(1);
  sides.Code(kBounds);
  Rect(sides, 0, 0, 32767, 1);
  sides.Value(2);
  sides.Code(kHitTest).Value(32766).Value(0);
  sides.Code(kBounds);
  Rect(sides, 0, 0, 32768, 24);
  sides.Value(2);
  sides.Code(kBounds);
  Rect(sides, INT32_MAX - 10, 0, INT32_MAX, 100);
  sides.Value(0);
  sides.Code(kPlace).Value(INT32_MAX - 32767).Value(INT32_MIN);
  sides.Code(kPlace).Value(INT32_MAX).Value(0);
  sides.Code(kHitTest).Value(INT32_MIN).Value(INT32_MAX);
  sides.Code(kDrag).Value(INT32_MIN).Value(INT32_MIN).Value(INT32_MAX).Value(INT32_MAX);
  seeds.emplace_back("sides-and-places", sides);

  // Angles, moves and nodes at the ends of the 16.16 range.
  Writer angles(2);
  angles.Code(kSetAngles).Byte(0).Value(INT32_MIN);
  angles.Code(kSetAngles).Byte(1).Value(INT32_MAX);
  angles.Code(kSetAngles).Byte(2).Value(INT32_MIN);
  angles.Code(kRelative).Value(INT32_MAX).Value(INT32_MIN).Value(INT32_MAX).Value(0);
  angles.Code(kGoToNode).Value(3).Value(INT32_MAX).Value(INT32_MIN).Value(-1).Byte(7);
  angles.Code(kNavigation).Value(2);
  seeds.emplace_back("angles", angles);

  // The object movie's loop and drag steps around 2^31 and 2^32 ms.
  Writer loop(kObjectMovie);
  loop.Code(kObjectLoop).Value(7).Value(1);
  loop.Code(kClock).Byte(0).Value(0x7FFFFFF0);
  loop.Code(kObjectAngles).Value(90 << 16).Value(0);
  loop.Code(kClock).Byte(0).Value(0x80000010);
  loop.Code(kObjectAngles).Value(90 << 16).Value(0);
  loop.Code(kClock).Byte(0).Value(0xFFFFFFF0);
  loop.Code(kObjectCentre).Value(INT32_MIN).Value(INT32_MIN);
  loop.Code(kClock).Byte(1).Value(0x20);  // across the wrap
  loop.Code(kObjectCentre).Value(INT32_MAX).Value(4);
  loop.Code(kObjectLoop).Value(4).Value(-32768);
  loop.Code(kObjectEdge).Value(INT32_MAX).Value(INT32_MIN).Value(INT32_MIN).Value(INT32_MAX).Byte(0);
  loop.Code(kObjectGrid).Value(350).Value(INT32_MAX).Value(INT32_MIN);
  loop.Code(kStandardBounds);
  Rect(loop, 0, 0, 40000, 8);
  loop.Code(kStandardBounds);
  Rect(loop, -2000000000, 0, 2000000000, 8);
  seeds.emplace_back("object-ticks", loop);

  // A caller's navigation record of no columns and rows around a full turn,
  // a loop of none, angles that are not numbers: then every step that divides
  // by the grid.
  Writer record(kObjectMovie);
  record.Code(kObjectRecord);
  for (int i = 0; i < 16; ++i) record.Byte(0);
  // Doubles from the field of view on: not a number, a full turn of pan
  // (0 to 360, where the grid wraps by its column count), then not numbers.
  const auto little = [&](std::uint64_t bits) {
    for (int i = 0; i < 8; ++i) record.Byte(static_cast<std::uint8_t>(bits >> (8 * i)));
  };
  const std::uint64_t notANumber = 0x7FF8000000000000, zero = 0, fullTurn = 0x4076800000000000;
  for (const std::uint64_t bits : {notANumber, zero, fullTurn, notANumber, notANumber, notANumber, notANumber})
    little(bits);
  record.Code(kObjectAngles).Value(90 << 16).Value(0);
  record.Code(kObjectGrid).Value(180).Value(1).Value(1);
  record.Code(kObjectCentre).Value(3).Value(3);
  record.Code(kObjectEdge).Value(0).Value(0).Value(9).Value(9).Byte(0);
  seeds.emplace_back("object-record", record);

  for (const auto& [name, seed] : seeds)
    builder::WriteFileAtomically(builder::JoinPath(argv[1], name + ".bin"), seed.bytes());
  return 0;
}
