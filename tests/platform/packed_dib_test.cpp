// The checked layout of packed bitmaps, on headers laid out by hand: where the
// table and the rows lie for every depth and colour count, and the bitmaps
// that are refused before anything reads past their bytes.
#include "packed_dib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "hand_bytes.h"

namespace {

using handbytes::HandFile;

struct Header {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits = 8;
  std::uint32_t compression = 0;
  std::uint32_t used = 0;
  std::uint32_t headerSize = 40;
  std::uint16_t planes = 1;
};

// The information header alone, then `rest` bytes of zeros (masks, table, rows).
std::vector<std::uint8_t> Bitmap(const Header& h, std::size_t rest) {
  HandFile file(h.headerSize + rest);
  file.Le32(0, h.headerSize);
  file.Le32(4, static_cast<std::uint32_t>(h.width));
  file.Le32(8, static_cast<std::uint32_t>(h.height));
  file.Le16(12, h.planes);
  file.Le16(14, h.bits);
  file.Le32(16, h.compression);
  file.Le32(32, h.used);
  return file.bytes();
}

std::optional<PackedDibLayout> LayOut(const std::vector<std::uint8_t>& bytes) {
  return LayOutPackedDib(bytes.data(), bytes.size());
}

TEST(PackedDib, AOneBitPictureWrittenOutByteByByte) {
  // 3 x 2, bottom-up: white and black in the table, rows of 4 bytes.
  const std::vector<std::uint8_t> bytes = {40,   0,   0,   0, 3,    0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0,  //
                                           8,    0,   0,   0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                                           255,  255, 255, 0, 0,    0, 0, 0,   // the table
                                           0xA0, 0,   0,   0, 0x40, 0, 0, 0};  // the rows
  const auto layout = LayOut(bytes);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->headerSize, 40u);
  EXPECT_EQ(layout->width, 3);
  EXPECT_EQ(layout->height, 2);
  EXPECT_EQ(layout->rows, 2u);
  EXPECT_EQ(layout->bitCount, 1);
  EXPECT_EQ(layout->compression, kPlainDib);
  EXPECT_EQ(layout->tableOffset, 40u);
  EXPECT_EQ(layout->colours, 2u);
  EXPECT_EQ(layout->bitsOffset, 48u);
  EXPECT_EQ(layout->stride, 4u);
  EXPECT_EQ(layout->bitsSize, 8u);
  EXPECT_EQ(layout->size, 56u);
}

TEST(PackedDib, IndexedDepthsHoldTheColoursUsedOrTheirWholeTable) {
  // 4 bits, 5 wide: 16 colours, rows of 4 bytes.
  auto layout = LayOut(Bitmap({.width = 5, .height = 3, .bits = 4}, 64 + 12));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 16u);
  EXPECT_EQ(layout->bitsOffset, 40u + 64u);
  EXPECT_EQ(layout->size, 40u + 64u + 12u);
  // 8 bits, 250 wide: 256 colours, rows of 252 bytes.
  layout = LayOut(Bitmap({.width = 250, .height = 2, .bits = 8}, 1024 + 504));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 256u);
  EXPECT_EQ(layout->stride, 252u);
  EXPECT_EQ(layout->size, 40u + 1024u + 504u);
  // A count of colours used shortens the table; the whole table is the most.
  layout = LayOut(Bitmap({.width = 4, .height = 1, .bits = 8, .used = 16}, 64 + 4));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 16u);
  EXPECT_EQ(layout->bitsOffset, 40u + 64u);
  EXPECT_TRUE(LayOut(Bitmap({.bits = 1, .used = 2}, 8 + 4)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 1, .used = 3}, 64)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 4, .used = 17}, 128)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 8, .used = 257}, 2048)));
}

TEST(PackedDib, DeepPicturesCarryATableOnlyWhenTheHeaderCountsOne) {
  // 24 bits, 5 wide: rows of 16 bytes, no table.
  auto layout = LayOut(Bitmap({.width = 5, .height = 3, .bits = 24}, 48));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 0u);
  EXPECT_EQ(layout->bitsOffset, 40u);
  EXPECT_EQ(layout->size, 88u);
  // 16 bits without masks or a count: no table either.
  layout = LayOut(Bitmap({.width = 2, .height = 1, .bits = 16}, 4));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 0u);
  EXPECT_EQ(layout->bitsOffset, 40u);
  // Colours to favour come before the rows; more than 256 is no picture.
  layout = LayOut(Bitmap({.width = 1, .height = 1, .bits = 16, .used = 3}, 12 + 4));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->colours, 3u);
  EXPECT_EQ(layout->bitsOffset, 52u);
  EXPECT_TRUE(LayOut(Bitmap({.bits = 32, .used = 256}, 1024 + 4)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 32, .used = 257}, 2048)));
}

TEST(PackedDib, MasksFollowAShortHeaderAndLieInsideALongOne) {
  // 16 bits with masks after a 40-byte header: the table starts past them.
  auto layout = LayOut(Bitmap({.width = 3, .height = 2, .bits = 16, .compression = kMaskedDib}, 12 + 16));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->compression, kMaskedDib);
  EXPECT_EQ(layout->tableOffset, 52u);
  EXPECT_EQ(layout->bitsOffset, 52u);
  EXPECT_EQ(layout->stride, 8u);
  EXPECT_EQ(layout->size, 68u);
  // The rows alone do not leave room for the masks.
  EXPECT_FALSE(LayOut(Bitmap({.width = 3, .height = 2, .bits = 16, .compression = kMaskedDib}, 16)));
  // A 108-byte header holds its masks; a table of 2 follows it.
  layout = LayOut(Bitmap({.bits = 32, .compression = kMaskedDib, .used = 2, .headerSize = 108}, 8 + 4));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->tableOffset, 108u);
  EXPECT_EQ(layout->bitsOffset, 116u);
  // Masks only for 16 and 32 bits; run-length and other compressions are refused.
  EXPECT_FALSE(LayOut(Bitmap({.bits = 8, .compression = kMaskedDib}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 24, .compression = kMaskedDib}, 64)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 8, .compression = 1}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.bits = 4, .compression = 2}, 2048)));
}

TEST(PackedDib, BytesThatEndEarlyAreRefusedAndBytesPastTheEndAreNotCounted) {
  const std::vector<std::uint8_t> whole = Bitmap({.width = 3, .height = 2, .bits = 8}, 1024 + 8);
  EXPECT_EQ(LayOutPackedDib(whole.data(), whole.size())->size, 1072u);
  std::vector<std::uint8_t> longer = whole;
  longer.resize(whole.size() + 100);
  EXPECT_EQ(LayOut(longer)->size, 1072u);
  EXPECT_FALSE(LayOutPackedDib(whole.data(), whole.size() - 1));  // the last row cut
  EXPECT_FALSE(LayOutPackedDib(whole.data(), 40 + 1023));         // the table cut
  EXPECT_FALSE(LayOutPackedDib(whole.data(), 39));                // the header cut
  EXPECT_FALSE(LayOutPackedDib(whole.data(), 0));
  EXPECT_FALSE(LayOutPackedDib(nullptr, 100));
  // A header that claims more bytes than there are, or fewer than its own 40.
  std::vector<std::uint8_t> claims = whole;
  claims[0] = 0xFF;
  claims[1] = 0x10;
  EXPECT_FALSE(LayOut(claims));
  claims[0] = 39;
  claims[1] = 0;
  EXPECT_FALSE(LayOut(claims));
}

TEST(PackedDib, TopDownPicturesCountTheirRowsFromANegativeHeight) {
  const auto layout = LayOut(Bitmap({.width = 5, .height = -3, .bits = 24}, 48));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->height, -3);
  EXPECT_EQ(layout->rows, 3u);
  EXPECT_EQ(layout->size, 88u);
  EXPECT_FALSE(LayOut(Bitmap({.width = 5, .height = -4, .bits = 24}, 48)));  // a row short
  // The one height with no positive counterpart.
  EXPECT_FALSE(LayOut(Bitmap({.height = INT32_MIN, .bits = 24}, 64)));
}

TEST(PackedDib, HeadersOfNoPictureAreRefused) {
  ASSERT_TRUE(LayOut(Bitmap({}, 2048)));  // the picture each case below spoils in one field
  EXPECT_FALSE(LayOut(Bitmap({.width = 0}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.width = -4}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.height = 0}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.planes = 0}, 2048)));
  EXPECT_FALSE(LayOut(Bitmap({.planes = 2}, 2048)));
  for (std::uint16_t bits : {0, 2, 7, 12, 15, 31, 33, 64}) {
    EXPECT_FALSE(LayOut(Bitmap({.bits = bits}, 2048))) << bits;
  }
}

TEST(PackedDib, HugeDimensionsAreRefusedWithoutOverflowing) {
  // Only the header is read before the sizes are known, so a claimed size
  // larger than the buffer measures what the header alone describes.
  const std::size_t claimed = SIZE_MAX;
  const auto huge = Bitmap({.width = INT32_MAX, .height = INT32_MAX, .bits = 32}, 0);
  EXPECT_FALSE(LayOutPackedDib(huge.data(), huge.size()));
  EXPECT_FALSE(LayOutPackedDib(huge.data(), claimed));
  const auto wide = Bitmap({.width = INT32_MAX, .height = -1, .bits = 1}, 0);
  EXPECT_FALSE(LayOutPackedDib(wide.data(), wide.size()));
  // Rows of 2^30 bytes: one of them fits in 2 GB, two do not.
  const auto one = Bitmap({.width = 1 << 28, .height = 1, .bits = 32}, 0);
  const auto measured = LayOutPackedDib(one.data(), claimed);
  ASSERT_TRUE(measured);
  EXPECT_EQ(measured->bitsSize, std::size_t{1} << 30);
  const auto two = Bitmap({.width = 1 << 28, .height = 2, .bits = 32}, 0);
  EXPECT_FALSE(LayOutPackedDib(two.data(), claimed));
  // The rows fit, but not with the header and table before them.
  const auto edge = Bitmap({.width = (1 << 29) - 1, .height = 1, .bits = 32}, 0);
  EXPECT_FALSE(LayOutPackedDib(edge.data(), claimed));
}

}  // namespace
