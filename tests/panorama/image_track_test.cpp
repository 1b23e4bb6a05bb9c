// Image tracks and decompression: our codec into each output layout, colour
// tables for indexed images, the choice among decompressors and their
// output kinds.
#include "image_track.h"

#include <cstring>
#include <vector>

#include "color_tables.h"
#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

builder::Bytes gResource8;
bool LoadResource(int id, const std::uint8_t** data, std::uint32_t* size) {
  if (id != 8) return false;
  *data = gResource8.data();
  *size = static_cast<std::uint32_t>(gResource8.size());
  return true;
}

// A decompressor for "tstb" that reports banded or direct output and fills rows with its row number.
int gKind = 2;
int gBandHeight = 4;
std::intptr_t TestCodec(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  static kn::KnDecompressPrepare prepared;
  if (selector == kn::kDcGetCapabilities) {
    auto* caps = reinterpret_cast<kn::KnDecompressCapabilities*>(args[3]);
    std::memset(caps, 0, sizeof *caps);
    caps->outputKind = gKind;
    caps->bandHeight = gBandHeight;
    caps->depth = 16;
    return 0;
  }
  if (selector == kn::kDcPrepare) {
    prepared = *reinterpret_cast<const kn::KnDecompressPrepare*>(args[3]);
    return kDecompressorPrepared;
  }
  if (selector == kn::kDcDecompress) {
    const auto* call = reinterpret_cast<const kn::KnDecompressCall*>(args[3]);
    const std::intptr_t segment = count > 4 ? args[4] : 0;
    for (int y = 0; y < prepared.height; ++y) {
      std::uint8_t* row = segment > 0 ? call->destination + (y / segment) * 65536 + (y % segment) * call->rowBytes
                                      : call->destination + y * call->rowBytes;
      std::memset(row, y + 1, static_cast<std::size_t>(prepared.width * prepared.pixelBytes));
    }
    return 0;
  }
  return 0;
}

class ImageTrackTest : public PanoHostTest {
 protected:
  void SetUp() override {
    PanoHostTest::SetUp();
    System().loadResource = LoadResource;
  }
  void RegisterTestCodec(const char* subtype) {
    kn::KnComponentDescriptor d{};
    std::memcpy(d.type, "dcmp", 4);
    std::memcpy(d.subtype, subtype, 4);
    d.entry = TestCodec;
    kn::RegisterComponent(d, "test");
  }
};

TEST_F(ImageTrackTest, OurCodecDecodesIntoEveryLayout) {
  // Two rows of three pixels: a run of red and one blue; a literal row.
  std::vector<std::uint8_t> pixels = {255, 0, 0, 255, 0, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};
  const builder::Bytes sample = bp::EncodeRunLength(pixels, 3, 2, 3);
  const builder::Bytes description = Description("knrl", 3, 2, 24, -1);
  struct Case {
    std::int32_t mode;
    std::vector<std::uint8_t> first, last;
  };
  const Case cases[] = {{kMode555, {0x00, 0x7C}, {0x4B, 0x21}},  // red 5-5-5; (70, 80, 90)
                        {kMode565, {0x00, 0xF8}, {0x8B, 0x42}},
                        {kModeRgb24, {255, 0, 0}, {70, 80, 90}},
                        {kModeBgr24, {0, 0, 255}, {90, 80, 70}}};
  for (const Case& c : cases) {
    Decompressor* state = DecompressorOpen(description.data(), static_cast<std::int32_t>(description.size()), c.mode);
    ASSERT_NE(state, nullptr) << c.mode;
    EXPECT_EQ(state->outputKind, 3);  // rows straight into the caller's memory
    const int bytes = OutputPixelBytes(c.mode);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(16 * 2), 0xEE);
    ASSERT_EQ(DecompressSample(state, sample.data(), static_cast<std::int32_t>(sample.size()), out.data(), 16), kOk);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + bytes), c.first) << c.mode;
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 16 + 2 * bytes, out.begin() + 16 + 3 * bytes), c.last) << c.mode;
    EXPECT_EQ(out[3 * static_cast<std::size_t>(bytes)], 0xEE);  // the row's padding is left alone
    // Truncated data is the codec's error, not a read past the sample.
    EXPECT_NE(DecompressSample(state, sample.data(), static_cast<std::int32_t>(sample.size()) - 2, out.data(), 16),
              kOk);
    DecompressorClose(state);
  }
  EXPECT_EQ(DecompressSample(nullptr, sample.data(), 1, pixels.data(), 16), kErrNotStarted);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ImageTrackTest, IndexedImagesTakeTheirColourTable) {
  gResource8 = ColourTable(8, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}}, false);
  const builder::Bytes fromResource = Description("knrl", 4, 1, 8, -1);
  std::int32_t bytes = 0;
  std::uint8_t* table =
      GetColorTable(8, kMode555, fromResource.data(), static_cast<std::int32_t>(fromResource.size()), -1, &bytes);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(bytes, 512);
  std::uint16_t entry;
  std::memcpy(&entry, table + 2 * 2, 2);
  EXPECT_EQ(entry, 0x7C00);
  HostFree(table);

  // A table stored in the description, taken in order; 2-bit pixels expand to four per byte.
  const builder::Bytes stored =
      Description("knrl", 4, 1, 2, 0, ColourTable(0, {{0, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}}, true));
  table = GetColorTable(2, kMode565, stored.data(), static_cast<std::int32_t>(stored.size()), 0, &bytes);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(bytes, 2048);
  std::uint16_t group[4];
  std::memcpy(group, table + 8 * 0x1B, 8);  // 0x1B = 00 01 10 11
  EXPECT_EQ(group[0], 0x0000);
  EXPECT_EQ(group[1], 0x001F);
  EXPECT_EQ(group[2], 0x07E0);
  EXPECT_EQ(group[3], 0xF800);
  HostFree(table);

  // Output mode 5 takes the identity remap table for every decompressor and keeps it.
  Decompressor* state =
      DecompressorOpen(fromResource.data(), static_cast<std::int32_t>(fromResource.size()), kModePalette);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->colorTable, IdentityRemapTable());
  DecompressorClose(state);
  EXPECT_EQ(IdentityRemapTable()[1791], 255);
  // An indexed image without a table has no decompressor.
  gResource8.clear();
  EXPECT_EQ(DecompressorOpen(fromResource.data(), static_cast<std::int32_t>(fromResource.size()), kMode555), nullptr);
}

TEST_F(ImageTrackTest, BandedOutputGoesThroughSegmentsIntoPlace) {
  RegisterTestCodec("tstb");
  gKind = 2;
  gBandHeight = 4;
  const builder::Bytes description = Description("tstb", 5, 10, 24, -1);
  Decompressor* state = DecompressorOpen(description.data(), static_cast<std::int32_t>(description.size()), kMode555);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(state->outputKind, 2);
  std::vector<std::uint8_t> out(20 * 10, 0);
  ASSERT_EQ(DecompressSample(state, nullptr, 0, out.data(), 20), kOk);
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(out[static_cast<std::size_t>(y) * 20], y + 1);
    EXPECT_EQ(out[static_cast<std::size_t>(y) * 20 + 9], y + 1);
    EXPECT_EQ(out[static_cast<std::size_t>(y) * 20 + 10], 0);  // beyond the row's pixels
  }
  DecompressorClose(state);
}

TEST_F(ImageTrackTest, BandsWiderThanASegmentGoIntoOneBlock) {
  RegisterTestCodec("tstb");
  gKind = 2;
  gBandHeight = 4;
  const int width = 20000;  // 40,000 bytes a row: four rows do not fit 64 KB
  const builder::Bytes description = Description("tstb", width, 8, 24, -1);
  Decompressor* state = DecompressorOpen(description.data(), static_cast<std::int32_t>(description.size()), kMode555);
  ASSERT_NE(state, nullptr);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * 2 * 8, 0);
  ASSERT_EQ(DecompressSample(state, nullptr, 0, out.data(), width * 2), kOk);
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(out[static_cast<std::size_t>(y) * width * 2], y + 1) << y;
    EXPECT_EQ(out[static_cast<std::size_t>(y + 1) * width * 2 - 1], y + 1) << y;
  }
  DecompressorClose(state);
}

TEST_F(ImageTrackTest, DirectOutputNeedsTheScreenDepthAndDepth32JpegIs24) {
  RegisterTestCodec("jpeg");
  gKind = 1;
  const builder::Bytes jpeg = Description("jpeg", 4, 4, 32, -1);
  Decompressor* state = DecompressorOpen(jpeg.data(), static_cast<std::int32_t>(jpeg.size()), kMode555);
  ASSERT_NE(state, nullptr);  // the test codec writes 16-bit pixels, as the screen takes them
  EXPECT_EQ(state->depth, 24);
  DecompressorClose(state);
  EXPECT_EQ(DecompressorOpen(jpeg.data(), static_cast<std::int32_t>(jpeg.size()), kModeBgr24), nullptr);
  // No decompressor for a codec at all.
  const builder::Bytes unknown = Description("none", 4, 4, 24, -1);
  EXPECT_EQ(DecompressorOpen(unknown.data(), static_cast<std::int32_t>(unknown.size()), kMode555), nullptr);
}

}  // namespace
}  // namespace panotest
