// The inverse colour table of palette displays and the band conversion.
#include "color_tables.h"

#include <vector>

#include "pano_fixture.h"

namespace panotest {
namespace {

using namespace pano;

class ColorTablesTest : public PanoHostTest {
 protected:
  void TearDown() override {
    FreeInverseColorTable();
    PanoHostTest::TearDown();
  }
};

TEST_F(ColorTablesTest, BlackAndWhiteKeysAndExactColours) {
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0x204060;  // a dull grey-blue everywhere else
  palette[0] = 0x000000;
  palette[255] = 0xFFFFFF;
  palette[7] = 0xF8A050;  // red 248, green 160, blue 80 (a multiple of 16): its key's own colour
  ASSERT_TRUE(BuildInverseColorTable(palette));
  const std::uint8_t* table = InverseColorTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[0x3FFF], 255);
  const std::uint32_t key = ColorKey(0xF8, 0xA0, 0x50);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(table[k * 16384 + key], 7) << k;
  // The nearest seed wins: a colour close to entry 7 maps to it in sub-table 0.
  EXPECT_EQ(table[ColorKey(0xF0, 0xA0, 0x50)], 7);
}

TEST_F(ColorTablesTest, BandConversionKeepsRowPaddingAndUsesThePattern) {
  std::uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = static_cast<std::uint32_t>(i) * 0x010101;
  ASSERT_TRUE(BuildInverseColorTable(palette));
  const int width = 5, rows = 2;
  std::vector<std::uint8_t> source(static_cast<std::size_t>((2 * width + 3) & ~3) * rows, 0);
  for (int i = 0; i < width * rows; ++i) {
    const int row = i / width, x = i % width;
    const std::uint16_t pixel = 0x7FFF;  // white
    source[static_cast<std::size_t>(row * 12 + 2 * x)] = pixel & 0xFF;
    source[static_cast<std::size_t>(row * 12 + 2 * x + 1)] = pixel >> 8;
  }
  std::vector<std::uint8_t> out(static_cast<std::size_t>((width + 1) & ~1) * rows, 0xAB);
  ConvertBandToIndexes(InverseColorTable(), source.data(), 12, width, rows, out.data());
  for (int row = 0; row < rows; ++row) {
    for (int x = 0; x < width; ++x) EXPECT_EQ(out[static_cast<std::size_t>(row * 6 + x)], 255) << row << "," << x;
    EXPECT_EQ(out[static_cast<std::size_t>(row * 6 + 5)], 0xAB);  // padding untouched
  }
  // Any pixels: sub-table (y mod 4, x mod 4) of the pattern at the pixel's key.
  static const int kPattern[4][4] = {{0, 1, 2, 3}, {3, 0, 1, 2}, {1, 2, 3, 0}, {2, 3, 0, 1}};
  const int wide = 9, tall = 7;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>((2 * wide + 3) & ~3) * tall);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 37 + 11);
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>((wide + 1) & ~1) * tall);
  // Rows 20 bytes apart (aligned to 4), then 18 (a frame of odd width aligned to 2): each row is read from the
  // frame's own stride, and the last row ends at the frame's end.
  for (const int stride : {20, 18}) {
    std::vector<std::uint8_t> frame(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(stride) * tall);
    ConvertBandToIndexes(InverseColorTable(), frame.data(), stride, wide, tall, indexes.data());
    for (int y = 0; y < tall; ++y) {
      for (int x = 0; x < wide; ++x) {
        const std::uint8_t* p = &frame[static_cast<std::size_t>(y * stride + 2 * x)];
        const int key = ((p[0] | p[1] << 8) & 0x7FFF) >> 1;
        EXPECT_EQ(indexes[static_cast<std::size_t>(y * 10 + x)],
                  InverseColorTable()[kPattern[y & 3][x & 3] * 16384 + key])
            << stride << ":" << y << "," << x;
      }
    }
  }
}

}  // namespace
}  // namespace panotest
