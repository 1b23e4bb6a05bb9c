// The checks on a background picture before any of its bytes are used.
#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace refresh {
namespace {

void Put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}
void Put16(std::vector<unsigned char>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<unsigned char>(value);
  bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

// A .bmp file of the given shape with a full colour table (or `used` entries).
std::vector<unsigned char> BitmapFile(int width, int height, int bitCount, std::uint32_t used = 0) {
  const std::size_t colours = bitCount <= 8 ? (used != 0 ? used : 1u << bitCount) : used;
  const std::size_t row = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
  const std::size_t bits = 54 + 4 * colours;
  std::vector<unsigned char> bytes(bits + row * static_cast<std::size_t>(height < 0 ? -height : height));
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  Put32(bytes, 10, static_cast<std::uint32_t>(bits));
  Put32(bytes, 14, 40);
  Put32(bytes, 18, static_cast<std::uint32_t>(width));
  Put32(bytes, 22, static_cast<std::uint32_t>(height));
  Put16(bytes, 26, 1);
  Put16(bytes, 28, static_cast<std::uint16_t>(bitCount));
  Put32(bytes, 46, used);
  return bytes;
}

TEST(BitmapFile, AGoodPictureIsLaidOutFromItsHeaders) {
  const auto bytes = BitmapFile(250, 120, 8);
  const auto layout = ParseBitmapFile(bytes.data(), bytes.size());
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->infoOffset, 14u);
  EXPECT_EQ(layout->tableOffset, 54u);
  EXPECT_EQ(layout->colours, 256u);
  EXPECT_EQ(layout->bitsOffset, 54u + 1024u);
  EXPECT_EQ(layout->bitsSize, 252u * 120u);
  EXPECT_TRUE(layout->HasPalette());

  const auto few = BitmapFile(16, 16, 8, 16);
  EXPECT_EQ(ParseBitmapFile(few.data(), few.size())->colours, 16u);
  const auto deep = BitmapFile(16, -16, 24);  // top-down, no table: shown without a palette
  ASSERT_TRUE(ParseBitmapFile(deep.data(), deep.size()));
  EXPECT_FALSE(ParseBitmapFile(deep.data(), deep.size())->HasPalette());

  // The same picture as a resource holds it: no file header.
  const auto packed = ParsePackedDib(bytes.data() + 14, bytes.size() - 14);
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->bitsOffset, 40u + 1024u);
}

TEST(BitmapFile, HeadersThatPointOutsideTheFileAreRefused) {
  const auto good = BitmapFile(40, 30, 4);
  auto truncated = good;
  truncated.resize(good.size() - 1);  // the file header's size is more than the file holds
  EXPECT_FALSE(ParseBitmapFile(truncated.data(), truncated.size()));
  auto shortBits = good;
  Put32(shortBits, 2, static_cast<std::uint32_t>(good.size() - 4));  // fewer bits than the rows need
  EXPECT_FALSE(ParseBitmapFile(shortBits.data(), shortBits.size()));
  auto bitsInTable = good;
  Put32(bitsInTable, 10, 60);
  EXPECT_FALSE(ParseBitmapFile(bitsInTable.data(), bitsInTable.size()));
  auto offsetPastEnd = good;
  Put32(offsetPastEnd, 10, 0xFFFFFFF0u);
  EXPECT_FALSE(ParseBitmapFile(offsetPastEnd.data(), offsetPastEnd.size()));
  auto hugeHeader = good;
  Put32(hugeHeader, 14, 0x7FFFFFFF);
  EXPECT_FALSE(ParseBitmapFile(hugeHeader.data(), hugeHeader.size()));
  auto tooManyColours = good;
  Put32(tooManyColours, 46, 17);
  EXPECT_FALSE(ParseBitmapFile(tooManyColours.data(), tooManyColours.size()));
  EXPECT_FALSE(ParsePackedDib(good.data() + 14, 40 + 4 * 16 - 1));  // the table is cut
  EXPECT_FALSE(ParseBitmapFile(good.data(), 13));
}

TEST(BitmapFile, OnlyPlainPicturesOfSensibleSizeAreTaken) {
  auto compressed = BitmapFile(8, 8, 8);
  Put32(compressed, 30, 1);
  EXPECT_FALSE(ParseBitmapFile(compressed.data(), compressed.size()));
  auto notBm = BitmapFile(8, 8, 8);
  notBm[0] = 'X';
  EXPECT_FALSE(ParseBitmapFile(notBm.data(), notBm.size()));
  const auto odd = BitmapFile(8, 8, 2);
  EXPECT_FALSE(ParseBitmapFile(odd.data(), odd.size()));
  auto wide = BitmapFile(8, 8, 1);
  Put32(wide, 18, MaxPictureSide + 1);
  EXPECT_FALSE(ParseBitmapFile(wide.data(), wide.size()));
  auto empty = BitmapFile(8, 8, 1);
  Put32(empty, 22, 0);
  EXPECT_FALSE(ParseBitmapFile(empty.data(), empty.size()));
}

}  // namespace
}  // namespace refresh
