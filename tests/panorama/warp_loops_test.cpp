// The line loops: blending at the half-pixel bit, channel averages, groups of
// four with a tail, and the two-line kernels.
#include "warp_loops.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace pano;

std::vector<std::uint8_t> Line16(std::initializer_list<std::uint16_t> pixels) {
  std::vector<std::uint8_t> bytes;
  for (std::uint16_t p : pixels) {
    bytes.push_back(static_cast<std::uint8_t>(p));
    bytes.push_back(static_cast<std::uint8_t>(p >> 8));
  }
  bytes.resize(bytes.size() + 8, 0);
  return bytes;
}

std::uint16_t At16(const std::vector<std::uint8_t>& bytes, int i) {
  std::uint16_t v;
  std::memcpy(&v, &bytes[static_cast<std::size_t>(2 * i)], 2);
  return v;
}

TEST(WarpLoopsTest, HalfPixelBitDecidesBlending) {
  const auto line = Line16({0xF800, 0x0000, 0x001F});
  std::vector<std::uint8_t> out(8, 0);
  SampleLine565(1, line.data(), 0x1FF, 0, out.data(), 2);
  EXPECT_EQ(At16(out, 0), 0xF800);
  SampleLine565(1, line.data(), 0x200, 0, out.data(), 2);
  EXPECT_EQ(At16(out, 0), 15 << 11);  // full red with black: red 15
  EXPECT_EQ(Average16(0x7C00, 0x0000, kMask555), 15 << 10);
  EXPECT_EQ(Average16(0x03E0, 0x03E0, kMask555), 0x03E0);

  std::vector<std::uint8_t> rgb = {200, 100, 50, 100, 50, 20, 0, 0, 0, 0};
  std::vector<std::uint8_t> out24(8, 0);
  SampleLine24(1, rgb.data(), 0x200, 0, out24.data(), 3);
  EXPECT_EQ(out24[0], 150);
  EXPECT_EQ(out24[1], 75);
  EXPECT_EQ(out24[2], 35);
  EXPECT_EQ(out24[3], 0);  // three bytes a pixel, nothing beyond
}

TEST(WarpLoopsTest, NearestAndColumnPairsHandleTails) {
  const auto line = Line16({1, 2, 3, 4, 5, 6, 7});
  for (int count : {1, 4, 5, 7}) {
    std::vector<std::uint8_t> out(32, 0xFF);
    SampleLineNearest16(count, line.data(), 0, 1024, out.data(), 2);
    for (int i = 0; i < count; ++i) EXPECT_EQ(At16(out, i), i + 1) << count;
    EXPECT_EQ(At16(out, count), 0xFFFF) << count;
  }
  const auto other = Line16({10, 20, 30, 40, 50, 60, 70});
  std::vector<std::uint8_t> pairs(64, 0);
  SampleColumnPair16(5, line.data(), other.data(), 0, 1024, pairs.data(), 8);  // rows 8 bytes apart
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(At16(pairs, row * 4), row + 1);
    EXPECT_EQ(At16(pairs, row * 4 + 1), (row + 1) * 10);
  }
}

TEST(WarpLoopsTest, BlendingTwoLines) {
  const auto a = Line16({0xF800, 0xF800});
  const auto b = Line16({0x0000, 0x0000});
  std::vector<std::uint8_t> out(8, 0);
  BlendLinePair565(1, a.data(), b.data(), 0, 0, out.data(), 2);
  EXPECT_EQ(At16(out, 0), 15 << 11);
  BlendLinePair565(1, a.data(), b.data(), 0x200, 0, out.data(), 2);
  EXPECT_EQ(At16(out, 0), 15 << 11);
  const auto g1 = Line16({0x03E0, 0x03E0});
  const auto g2 = Line16({0x0000, 0x03E0});
  BlendLinePair555(1, g1.data(), g2.data(), 0x200, 0, out.data(), 2);
  EXPECT_EQ(At16(out, 0) >> 5 & 31, 23);  // three of four greens at 31
}

TEST(WarpLoopsTest, LoopSetsByFormat) {
  LineLoops loops{};
  EXPECT_TRUE(LoopsForFormat(16, &loops));
  EXPECT_EQ(loops.sample, &SampleLine565);
  EXPECT_TRUE(LoopsForFormat(17, &loops));
  EXPECT_EQ(loops.nearest, &SampleLineNearest16);
  EXPECT_TRUE(LoopsForFormat(24, &loops));
  EXPECT_EQ(loops.columnPair, &SampleColumnPair24);
  EXPECT_FALSE(LoopsForFormat(32, &loops));
}

}  // namespace
