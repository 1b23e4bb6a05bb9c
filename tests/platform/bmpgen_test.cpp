// The picture generator: list parsing with its errors, the sizes and layouts
// of bitmaps, icons and cursors, and the .rc fragment of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "encode.h"
#include "picture_list.h"
#include "temp_dir.h"

namespace {

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}
std::uint16_t Le16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bmpgen::Item ParseOne(const std::string& line) {
  std::string error;
  auto items = bmpgen::ParseList(line, error);
  EXPECT_TRUE(items) << error;
  return items && !items->empty() ? items->front() : bmpgen::Item{};
}

TEST(Bmpgen, ListLinesCommentsAndErrors) {
  std::string error;
  auto items = bmpgen::ParseList(
      "# heading\n\n1151 button 60 24 frames=4 label=CANCEL # trailing\n4000 gradient 8 8 top=#102030\n", error);
  ASSERT_TRUE(items) << error;
  ASSERT_EQ(items->size(), 2u);
  EXPECT_EQ((*items)[0].id, 1151u);
  EXPECT_EQ((*items)[0].params.at("frames"), "4");
  EXPECT_EQ((*items)[1].params.at("top"), "#102030");  // a colour is not a comment
  EXPECT_EQ((*items)[1].line, 4);

  const std::pair<const char*, const char*> bad[] = {
      {"abc solid 1 1", "line 1: bad id abc"},
      {"0 solid 1 1", "line 1: bad id 0"},
      {"70000 solid 1 1", "line 1: bad id 70000"},
      {"5 sparkle 1 1", "line 1: unknown kind sparkle"},
      {"5 solid 0 1", "line 1: bad size"},
      {"5 solid 2", "line 1: expected: id kind width height"},
      {"5 solid 2 2 colour", "line 1: expected key=value, got colour"},
      {"5 solid 2 2\n5 button 4 4", "line 2: id 5 listed twice"},
  };
  for (const auto& [text, message] : bad) {
    EXPECT_FALSE(bmpgen::ParseList(text, error)) << text;
    EXPECT_EQ(error, message);
  }
  // An icon and a bitmap may share an id (different resource types).
  EXPECT_TRUE(bmpgen::ParseList("900 icon 32 32\n900 solid 4 4", error));
}

TEST(Bmpgen, BitmapsHaveTheListedSizeDepthAndColours) {
  std::string error;
  auto strip = bmpgen::Render(ParseOne("1151 button 60 24 frames=4 label=CANCEL"), error);
  ASSERT_TRUE(strip) << error;
  EXPECT_EQ(strip->fileName, "1151.bmp");
  EXPECT_EQ(strip->rcType, "BITMAP");
  const std::string& bmp = strip->bytes;
  ASSERT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le32(bmp, 2), bmp.size());
  EXPECT_EQ(Le32(bmp, 18), 240u);  // four frames of 60
  EXPECT_EQ(Le32(bmp, 22), 24u);
  EXPECT_EQ(Le16(bmp, 28), 24);
  EXPECT_EQ(bmp.size(), 54u + 24u * 720u);  // rows of 720 bytes need no padding

  auto solid = bmpgen::Render(ParseOne("7 solid 3 2 colour=#123456"), error);
  ASSERT_TRUE(solid);
  // 3 pixels of 3 bytes pad to 12; the first stored row is the bottom one.
  EXPECT_EQ(solid->bytes.size(), 54u + 2u * 12u);
  EXPECT_EQ(solid->bytes.substr(54, 3), "\x56\x34\x12");

  auto palette = bmpgen::Render(ParseOne("4000 gradient 16 16 top=white bottom=black bpp=8"), error);
  ASSERT_TRUE(palette);
  EXPECT_EQ(Le16(palette->bytes, 28), 8);
  EXPECT_EQ(Le32(palette->bytes, 46), 256u);  // a full colour table
  EXPECT_EQ(Le32(palette->bytes, 10), 54u + 1024u);
  // The top row (stored last) is white, the bottom one black.
  EXPECT_EQ(static_cast<unsigned char>(palette->bytes.back()), bmpgen::NearestPaletteIndex(0xFFFFFF));
  EXPECT_EQ(static_cast<unsigned char>(palette->bytes[54 + 1024]), bmpgen::NearestPaletteIndex(0x000000));

  EXPECT_FALSE(bmpgen::Render(ParseOne("7 solid 3 2 colour=#12345"), error));
  EXPECT_EQ(error, "line 1: bad colour colour=#12345");
  EXPECT_FALSE(bmpgen::Render(ParseOne("7 glyph 8 8 glyph=unicorn"), error));
  EXPECT_FALSE(bmpgen::Render(ParseOne("7 button 8 8 frames=0"), error));
  EXPECT_FALSE(bmpgen::Render(ParseOne("7 solid 8 8 bpp=16"), error));
}

TEST(Bmpgen, ButtonFramesShowTheirStates) {
  bmpgen::Image image(40, 20);
  std::string error;
  // Frame 0 is raised (light top-left corner), frame 1 pressed (dark).
  auto strip = bmpgen::Render(ParseOne("1 button 20 20 frames=2 glyph=check"), error);
  ASSERT_TRUE(strip);
  const std::string& bmp = strip->bytes;
  const std::size_t stride = 120;  // 40 pixels x 3 bytes
  const std::size_t topRow = 54 + 19 * stride;
  EXPECT_EQ(bmp.substr(topRow, 3), "\xFF\xFF\xFF");
  EXPECT_NE(bmp.substr(topRow + 20 * 3, 3), "\xFF\xFF\xFF");
}

TEST(Bmpgen, EightBitPicturesAreDitheredUnlessStretched) {
  std::string error;
  // Colour-table indices of an 8 x 8 picture of one colour.
  auto indices = [&](const std::string& line) {
    auto picture = bmpgen::Render(ParseOne(line), error);
    std::set<int> found;
    if (!picture) return found;
    for (std::size_t i = 54 + 1024; i < picture->bytes.size(); ++i)
      found.insert(static_cast<unsigned char>(picture->bytes[i]));
    return found;
  };
  // Halfway between two steps of the cube: a fine mix of both.
  EXPECT_GE(indices("1 gradient 8 8 top=#1A4D80 bottom=#1A4D80 bpp=8").size(), 2u) << error;
  EXPECT_EQ(indices("1 gradient 8 8 top=#1A4D80 bottom=#1A4D80 bpp=8 dither=no").size(), 1u);
  // A colour of the table keeps its one entry.
  EXPECT_EQ(indices("1 gradient 8 8 top=#336699 bottom=#336699 bpp=8"),
            std::set<int>{bmpgen::NearestPaletteIndex(0x336699)});
  EXPECT_FALSE(bmpgen::Render(ParseOne("1 gradient 8 8 bpp=8 dither=maybe"), error));
}

TEST(Bmpgen, FiveFrameStripsStandInTheButtonsOrder) {
  std::string error;
  // up, hover, disabled, focus, down: only the last is pressed (dark rim
  // top-left), and hover is lighter than up.
  auto strip = bmpgen::Render(ParseOne("1 button 10 10 frames=5 face=#808080"), error);
  ASSERT_TRUE(strip) << error;
  const std::string& bmp = strip->bytes;
  const std::size_t stride = 152;  // 50 pixels x 3 bytes, padded
  auto pixel = [&](int x, int y) { return bmp.substr(54 + (9 - y) * stride + x * 3, 3); };
  for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(pixel(frame * 10, 0), "\xFF\xFF\xFF") << frame;
  EXPECT_NE(pixel(40, 0), "\xFF\xFF\xFF");
  EXPECT_GT(static_cast<unsigned char>(pixel(15, 5)[0]), static_cast<unsigned char>(pixel(5, 5)[0]));

  // Labels keep one size: a label that does not fit is an error, not a smaller label.
  EXPECT_FALSE(bmpgen::Render(ParseOne("1 button 30 20 frames=5 label=ENCYCLOPEDIA"), error));
  EXPECT_EQ(error, "line 1: the label does not fit the button at scale 1");
  EXPECT_TRUE(bmpgen::Render(ParseOne("1 button 40 40 frames=5 label=TOC scale=2"), error)) << error;
  EXPECT_FALSE(bmpgen::Render(ParseOne("1 button 40 20 frames=5 label=A~B"), error));
}

TEST(Bmpgen, IconsAndCursorsMaskTheirBackground) {
  std::string error;
  auto icon = bmpgen::Render(ParseOne("900 icon 32 32 glyph=book"), error);
  ASSERT_TRUE(icon) << error;
  EXPECT_EQ(icon->fileName, "900.ico");
  const std::string& ico = icon->bytes;
  EXPECT_EQ(Le16(ico, 2), 1);  // an icon
  EXPECT_EQ(Le16(ico, 4), 1);  // one image
  EXPECT_EQ(static_cast<unsigned char>(ico[6]), 32);
  const std::uint32_t size = Le32(ico, 14), offset = Le32(ico, 18);
  EXPECT_EQ(offset + size, ico.size());
  EXPECT_EQ(Le32(ico, offset + 8), 64u);  // colour and mask rows
  // The corner is outside the pictogram: masked (bit set), colour black.
  const std::size_t maskStart = offset + 40 + 32 * 96;
  EXPECT_EQ(static_cast<unsigned char>(ico[maskStart]) & 0x80, 0x80);

  auto cursor = bmpgen::Render(ParseOne("1079 cursor 32 32 glyph=arrow-up hot=16,8"), error);
  ASSERT_TRUE(cursor);
  EXPECT_EQ(Le16(cursor->bytes, 2), 2);
  EXPECT_EQ(Le16(cursor->bytes, 10), 16);
  EXPECT_EQ(Le16(cursor->bytes, 12), 8);
  EXPECT_FALSE(bmpgen::Render(ParseOne("1 cursor 32 32 hot=40,1"), error));
  EXPECT_EQ(error, "line 1: bad hot spot 40,1");
}

TEST(Bmpgen, ProgramWritesPicturesAndTheFragment) {
  const char* program = std::getenv("VELDRIX_BMPGEN");
  if (program == nullptr) GTEST_SKIP() << "VELDRIX_BMPGEN not set";
  TempDir dir;
  const std::string list = dir.Write("art.txt", "12 solid 4 4 colour=accent\n13 icon 16 16 glyph=folder\n");
  const std::string out = dir.File("out");
  const std::string command = std::string(program) + " " + list + " " + out + " art.rc";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream fragment(out + "/art.rc");
  std::stringstream text;
  text << fragment.rdbuf();
  EXPECT_NE(text.str().find("12 BITMAP \"" + out + "/12.bmp\""), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("13 ICON \"" + out + "/13.ico\""), std::string::npos);
  EXPECT_TRUE(std::ifstream(out + "/12.bmp").good());

  // A picture drawn differently changes the fragment, which is all the
  // build watches.
  dir.Write("art.txt", "12 solid 4 4 colour=shadow\n13 icon 16 16 glyph=folder\n");
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream again(out + "/art.rc");
  std::stringstream changed;
  changed << again.rdbuf();
  EXPECT_NE(changed.str(), text.str());

  const std::string broken = dir.Write("broken.txt", "12 solid 4\n");
  EXPECT_NE(std::system((std::string(program) + " " + broken + " " + out + " art.rc 2>/dev/null").c_str()), 0);
}

}  // namespace
