// The test harness's PNG encoder: checksums and the file structure a viewer reads.
#include "png_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint32_t Big32(const std::string& bytes, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
         static_cast<unsigned char>(bytes[at + 3]);
}

TEST(PngWriter, ChecksumsMatchTheirPublishedCheckValues) {
  const char* digits = "123456789";
  const auto* data = reinterpret_cast<const std::uint8_t*>(digits);
  EXPECT_EQ(ui::Crc32(data, 9), 0xCBF43926u);
  EXPECT_EQ(ui::Adler32(data, 9), 0x091E01DEu);
  EXPECT_EQ(ui::Adler32(data, 0), 1u);
}

TEST(PngWriter, ChunksCarryLengthsAndCrcsAndTheImageIsStored) {
  const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const std::string png = ui::EncodePng(2, 2, pixels);
  ASSERT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
  std::size_t at = 8;
  std::vector<std::string> types;
  std::string idat;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = Big32(png, at);
    const std::string type = png.substr(at + 4, 4);
    const auto* typed = reinterpret_cast<const std::uint8_t*>(png.data() + at + 4);
    EXPECT_EQ(Big32(png, at + 8 + length), ui::Crc32(typed, length + 4)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(Big32(png, at + 8), 2u);
      EXPECT_EQ(Big32(png, at + 12), 2u);
    }
    if (type == "IDAT") idat = png.substr(at + 8, length);
    types.push_back(type);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  // One stored block: header, the 14 raw bytes (two rows of filter + 6), Adler-32.
  ASSERT_EQ(idat.size(), 2u + 5u + 14u + 4u);
  EXPECT_EQ(static_cast<unsigned char>(idat[2]), 1);  // the final block
  EXPECT_EQ(idat.substr(7, 7), std::string("\0\xFF\0\0\0\xFF\0", 7));
}

TEST(PngWriter, LargePicturesSplitIntoStoredBlocks) {
  const std::vector<std::uint32_t> pixels(200 * 200, 0x123456);
  const std::string png = ui::EncodePng(200, 200, pixels);
  const std::size_t raw = 200 * (1 + 600);         // 120200 bytes: two blocks
  EXPECT_EQ(Big32(png, 33), 2 + raw + 2 * 5 + 4);  // IDAT length after the 25-byte IHDR chunk
}

}  // namespace
