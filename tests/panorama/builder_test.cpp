// The content builder's panorama and object movies, checked at the byte
// offsets of the format (not through the reader).
#include <cstring>
#include <string>

#include "pano_fixture.h"

namespace panotest {
namespace {

std::uint32_t Be32At(const builder::Bytes& b, long at) {
  const auto* p = &b[static_cast<std::size_t>(at)];
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}
std::uint16_t Be16At(const builder::Bytes& b, long at) {
  return static_cast<std::uint16_t>(b[static_cast<std::size_t>(at)] << 8 | b[static_cast<std::size_t>(at) + 1]);
}

TEST(PanoramaBuilderTest, NodeSampleAndDescriptionFields) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.nodes[1].defaultPan = bp::Degrees(45);
  bp::HotSpot spot;
  spot.id = 3;
  spot.type = "navg";
  spot.target = 9;
  spot.cursor = 490;
  spot.name = "Map";
  movie.nodes[1].hotSpots.push_back(spot);
  const builder::Bytes b = bp::BuildPanoramaMovie(movie);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[4]), 4), "mdat");

  const long header = FindAtom(b, "pHdr", FindAtom(b, "pHdr") + 8);  // the second node's
  ASSERT_GT(header, 0);
  EXPECT_EQ(Be32At(b, header), 64u);
  EXPECT_EQ(Be32At(b, header + 8), 101u);
  EXPECT_EQ(Be32At(b, header + 12), static_cast<std::uint32_t>(bp::Degrees(45)));
  const long hot = FindAtom(b, "pHot", header);
  EXPECT_EQ(Be16At(b, hot + 10), 1);
  EXPECT_EQ(Be16At(b, hot + 12), 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[static_cast<std::size_t>(hot) + 16]), 4), "navg");
  EXPECT_EQ(Be32At(b, hot + 12 + 8), 9u);
  EXPECT_EQ(Be32At(b, hot + 12 + 36), 490u);
  const std::uint32_t nameOffset = Be32At(b, hot + 12 + 48);
  const long strings = FindAtom(b, "strT", header);
  EXPECT_EQ(b[static_cast<std::size_t>(strings) + nameOffset], 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[static_cast<std::size_t>(strings) + nameOffset + 1]), 3),
            "Map");

  const long stsd = FindAtom(b, "stsd");
  const long entry = stsd + 16;
  EXPECT_EQ(Be32At(b, entry), 152u);
  EXPECT_EQ(Be32At(b, entry + 20), 2u);     // the image track of resolution 0
  EXPECT_EQ(Be32At(b, entry + 116), 512u);  // picture width
  EXPECT_EQ(Be16At(b, entry + 146), 8);     // tile rows
  EXPECT_EQ(Be16At(b, entry + 148), 2);     // tiles per row
  const long info = FindAtom(b, "pInf");
  EXPECT_EQ(Be16At(b, info + 54), 2);
  EXPECT_EQ(Be32At(b, info + 64), 101u);
}

TEST(PanoramaBuilderTest, RunLengthPacketsAndObjectNavigation) {
  const std::vector<std::uint8_t> row = {5, 5, 5, 1, 2};
  const builder::Bytes encoded = bp::EncodeRunLength(row, 5, 1, 1);
  EXPECT_EQ(encoded, (builder::Bytes{128 + 1, 5, 1, 1, 2}));  // a run of three, then two literals
  const std::vector<std::uint8_t> long_run(300, 9);
  const builder::Bytes runs = bp::EncodeRunLength(long_run, 300, 1, 1);
  EXPECT_EQ(runs, (builder::Bytes{255, 9, 255, 9, 168, 9}));  // 129 + 129 + 42

  bp::ObjectMovie object = ObjectGrid(6, 2, 4, 2);
  object.loopCount = 3;
  const builder::Bytes b = bp::BuildObjectMovie(object);
  const long navg = FindAtom(b, "NAVG");
  ASSERT_GT(navg, 0);
  EXPECT_EQ(Be16At(b, navg + 8 + 2), 6);
  EXPECT_EQ(Be16At(b, navg + 8 + 8), 3);
  EXPECT_EQ(Be32At(b, navg + 8 + 24), static_cast<std::uint32_t>(bp::Degrees(360)));
  const long stsz = FindAtom(b, "stsz");
  EXPECT_EQ(Be32At(b, stsz + 16), 36u);  // 6 x 2 viewpoints of 3 frames
}

TEST(PanoramaBuilderTest, PicturesMustBeWholeTiles) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.pictureWidth = 500;
  EXPECT_THROW(bp::BuildPanoramaMovie(movie), std::runtime_error);
}

}  // namespace
}  // namespace panotest
