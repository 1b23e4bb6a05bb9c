// The node view over built movies: going to nodes, the angles it accepts,
// rendering a frame whose pixels come from the right place, hot spots, links.
#include "node_view.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

class NodeViewTest : public PanoHostTest {
 protected:
  NodeView* Open(const bp::PanoramaMovie& movie) {
    const std::intptr_t m = OpenMovie(bp::BuildPanoramaMovie(movie));
    std::int32_t error = 0;
    NodeView* view = NodeViewOpen(m, kModeDib, 32, &error);
    EXPECT_EQ(error, kOk);
    return view;
  }
  // The red, green and blue of a pixel of a rendered 24-bit frame (blue first).
  static bp::Rgb Pixel(const std::uint8_t* frame, std::uint32_t rowBytes, int x, int y) {
    const std::uint8_t* p = frame + rowBytes * static_cast<std::uint32_t>(y) + 3 * static_cast<std::uint32_t>(x);
    return bp::Rgb{p[2], p[1], p[0]};
  }
};

TEST_F(NodeViewTest, DefaultZoomIs65DegreesAndQualityZeroMeans1023) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.tiltTop = bp::Degrees(45);
  movie.tiltBottom = bp::Degrees(-45);
  NodeView* view = Open(movie);
  ASSERT_NE(view, nullptr);
  std::int32_t pan = bp::Degrees(180), tilt = 0;
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, nullptr), kOk);
  EXPECT_NEAR(NodeViewGetZoom(view) / 65536.0, 65.0, 0.01);
  EXPECT_NEAR(pan / 65536.0, 180.0, 0.5);
  NodeViewSetQuality(view, 0);
  EXPECT_EQ(NodeViewGetQuality(view), 1023u);
  NodeViewClose(view);
  EXPECT_EQ(MovieFileCount(), 0);
}

TEST_F(NodeViewTest, RenderedCentreShowsThePictureAtThePanAngle) {
  NodeView* view = Open(SmallPanorama());
  ASSERT_NE(view, nullptr);
  for (const double degrees : {90.0, 180.0, 300.0}) {
    std::int32_t pan = bp::Degrees(degrees), tilt = 0, zoom = bp::Degrees(40);
    ASSERT_EQ(NodeViewGoToNode(view, 100, &pan, &tilt, &zoom), kOk);
    for (const std::uint32_t quality : {256u, 512u, 768u}) {
      WarpSetQuality(view->engine, quality);
      std::uint32_t rowBytes = 0;
      const std::uint8_t* frame = WarpRenderFrame(view->engine, &rowBytes);
      ASSERT_NE(frame, nullptr);
      const bp::Rgb centre = Pixel(frame, rowBytes, view->width / 2, view->height / 2);
      const int line = static_cast<int>(degrees / 360 * 512);
      EXPECT_NEAR(centre.r, line / 2, 2) << degrees << " quality " << quality;
      EXPECT_NEAR(centre.g, 128, 4) << degrees;
      // Left of the centre shows lines further on (the picture runs right to left).
      EXPECT_GT(Pixel(frame, rowBytes, 4, view->height / 2).r, centre.r);
    }
  }
  NodeViewClose(view);
}

TEST_F(NodeViewTest, TiltedViewIsCorrectedAndSeesHigherRows) {
  NodeView* view = Open(SmallPanorama());
  std::int32_t pan = bp::Degrees(180), tilt = bp::Degrees(8), zoom = bp::Degrees(20);
  ASSERT_EQ(NodeViewGoToNode(view, 100, &pan, &tilt, &zoom), kOk);
  EXPECT_GT(tilt, 0);
  std::uint32_t rowBytes = 0;
  const std::uint8_t* frame = WarpRenderFrame(view->engine, &rowBytes);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame, view->engine->correctedFrame);
  // Looking up, the centre shows a row above the middle (green = 2 x row).
  EXPECT_LT(Pixel(frame, rowBytes, view->width / 2, view->height / 2).g, 120);
  NodeViewClose(view);
}

TEST_F(NodeViewTest, RelativeMovesZoomsAndLimitFlags) {
  NodeView* view = Open(SmallPanorama());
  std::int32_t pan = bp::Degrees(180), tilt = 0, zoom = bp::Degrees(30);
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, &zoom), kOk);
  NodeViewRelativeMove(view, 768, 1 << 16, 0);  // a full delta to the right: the pan decreases
  EXPECT_LT(NodeViewGetPan(view), pan);
  NodeViewRelativeMove(view, 768, 0, 20 << 16);  // far up: held at the top
  EXPECT_TRUE(NodeViewLimitFlags(view) & kClampTiltTop);
  const std::int32_t before = NodeViewGetZoom(view);
  NodeViewRelativeZoom(view, 768, -(1 << 16));  // six degrees narrower
  EXPECT_NEAR((before - NodeViewGetZoom(view)) / 65536.0, 6.0, 0.01);
  NodeViewRelativeZoom(view, 768, -(100 << 16));
  EXPECT_TRUE(NodeViewLimitFlags(view) & kClampZoomMin);
  NodeViewSetWarpMode(view, 1);
  EXPECT_EQ(NodeViewGetWarpMode(view), 1);
  NodeViewClose(view);
}

TEST_F(NodeViewTest, MaxCacheRowsDecidesTheHeldRows) {
  SetProfile("VR", "MaxCacheRows", -1);
  NodeView* view = Open(SmallPanorama());
  std::int32_t pan = 0;
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, nullptr, nullptr), kOk);
  EXPECT_EQ(view->canvas->heldRows, 8);
  NodeViewClose(view);
}

TEST_F(NodeViewTest, NodesHotSpotsLinksAndNames) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.hotSpotTrack = true;
  for (int n = 0; n < 2; ++n) {
    bp::Node& node = movie.nodes[static_cast<std::size_t>(n)];
    node.hotSpotPicture = [](int x, int) -> std::uint8_t { return x >= 224 && x < 288 ? 7 : 0; };
    bp::HotSpot spot;
    spot.id = 7;
    spot.type = "link";
    spot.target = 3;
    spot.cursor = 481;
    spot.name = "Door";
    node.hotSpots.push_back(spot);
    bp::HotSpot nav;
    nav.id = 8;
    nav.type = "navg";
    nav.target = 4;
    node.hotSpots.push_back(nav);
    node.links.push_back(bp::Link{3, 101 - n, bp::Degrees(45), 0, 0});
    bp::Navigation navigation;
    navigation.id = 4;
    navigation.view[0] = 11;
    navigation.view[1] = 12;
    navigation.view[2] = 13;
    node.navigation.push_back(navigation);
  }
  NodeView* view = Open(movie);
  std::int32_t pan = bp::Degrees(180), tilt = 0, zoom = bp::Degrees(40);
  ASSERT_EQ(NodeViewGoToNode(view, 100, &pan, &tilt, &zoom), kOk);
  char name[32];
  NodeViewNodeName(view, name, sizeof name);
  EXPECT_STREQ(name, "Node 0");
  std::uint32_t rowBytes = 0;
  ASSERT_NE(WarpRenderFrame(view->engine, &rowBytes), nullptr);
  // Line 256 is under the centre: inside the hot spot.
  EXPECT_EQ(NodeViewHotSpotAt(view, view->width / 2, view->height / 2), 7);

  HotSpotInfo info;
  NodeViewHotSpotInfo(view, 7, Tag("any "), &info);
  EXPECT_EQ(info.type, Tag("link"));
  EXPECT_EQ(info.words[1], 481);
  EXPECT_STREQ(info.name, "Door");
  NodeViewHotSpotInfo(view, 7, Tag("!lnk"), &info);
  EXPECT_EQ(info.index, -1);
  EXPECT_EQ(info.type, Tag("undf"));
  NodeViewHotSpotInfo(view, 8, Tag("!lnk"), &info);
  EXPECT_EQ(info.type, Tag("navg"));

  std::int32_t words[3] = {};
  kn::KnRect rect{};
  EXPECT_EQ(NodeViewNavigation(view, 8, words, &rect), 0);
  EXPECT_EQ(words[2], 13);
  EXPECT_EQ(NodeViewNavigation(view, 8, nullptr, &rect), -50);
  EXPECT_EQ(NodeViewNavigation(view, 9, words, &rect), -1);

  ASSERT_EQ(NodeViewFollowLink(view, 7), kOk);
  EXPECT_EQ(NodeViewCurrentNodeId(view), 101);
  EXPECT_NEAR(NodeViewGetPan(view) / 65536.0, 45.0, 0.5);
  ASSERT_NE(WarpRenderFrame(view->engine, &rowBytes), nullptr);
  EXPECT_EQ(view->canvas->firstSample, 8 * 2 + 1);
  NodeViewClose(view);
}

TEST_F(NodeViewTest, PictureSizesBeyondTheTileGridAreRefused) {
  builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsd = FindAtom(bytes, "stsd");
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<std::size_t>(stsd) + 16 + 116 + i] = i == 0 ? 0x60 : 0;  // width and height near 2^30
    bytes[static_cast<std::size_t>(stsd) + 16 + 120 + i] = i == 0 ? 0x60 : 0;
  }
  std::int32_t error = 0;
  EXPECT_EQ(NodeViewOpen(OpenMovie(bytes), kModeDib, 32, &error), nullptr);  // when the movie is read
  EXPECT_EQ(error, kErrMakeTable);
  EXPECT_EQ(MovieFileCount(), 0);
}

// A window point's picture position as 16.16 values. A partial panorama's
// turn holds more lines than that counts (5 degrees of 512 lines: 36,864 a
// turn), and a position past 32767 lines is held at the largest value.
TEST_F(NodeViewTest, PicturePositionsPast32767LinesAreHeldAtTheLargest) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.panEnd = bp::Degrees(5);
  NodeView* view = Open(movie);
  std::int32_t pan = 0, tilt = 0, zoom = bp::Degrees(40);
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, &zoom), kOk);
  double line = 0, row = 0;
  std::int32_t fixedLine = 0, fixedRow = 0;
  WarpPointToSource(view->engine, 32, 24, &line, &row);
  ASSERT_LT(line, 32767);
  NodeViewPointToSource(view, 32, 24, &fixedLine, &fixedRow);
  EXPECT_EQ(fixedLine, static_cast<std::int32_t>(line) << 16);
  EXPECT_EQ(fixedRow, static_cast<std::int32_t>(row) << 16);
  WarpPointToSource(view->engine, 63, 24, &line, &row);
  ASSERT_GT(line, 32768);
  NodeViewPointToSource(view, 63, 24, &fixedLine, &fixedRow);
  EXPECT_EQ(fixedLine, INT32_MAX);
  NodeViewClose(view);
}

// A hot-spot picture far wider than the panorama picture (its size against
// the picture's scales a point's line): a point past the picture of a
// partial panorama lies past what an int holds there, and shows no hot spot.
TEST_F(NodeViewTest, AHotSpotPictureBeyondAnIntHasNoHotSpotThere) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.panEnd = bp::Degrees(5);
  movie.hotSpotTrack = true;
  movie.nodes[0].hotSpotPicture = [](int, int) -> std::uint8_t { return 7; };
  builder::Bytes bytes = bp::BuildPanoramaMovie(movie);
  const auto width = static_cast<std::size_t>(FindAtom(bytes, "stsd")) + 16 + 136;
  bytes[width] = 0x7F;  // 2^31 - 1 pixels around
  bytes[width + 1] = bytes[width + 2] = bytes[width + 3] = 0xFF;
  std::int32_t error = 0;
  NodeView* view = NodeViewOpen(OpenMovie(bytes), kModeDib, 32, &error);
  ASSERT_NE(view, nullptr);
  std::int32_t pan = 0, tilt = 0, zoom = bp::Degrees(40);
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, &zoom), kOk);
  double line = 0, row = 0;
  WarpPointToSource(view->engine, 63, 24, &line, &row);
  ASSERT_GT(line * 0x7FFFFFFF / 512, INT32_MAX);
  EXPECT_EQ(NodeViewHotSpotAt(view, 63, 24), 0);
  NodeViewClose(view);
}

// A navigation hot spot's picture points as window points. Line 128 lies a
// quarter turn from the pan of 180 degrees, where the projection's tangent
// grows past what an int holds: the point is held at an int's end. A point
// under the view's centre comes out at the window's centre.
TEST_F(NodeViewTest, NavigationPointsAQuarterTurnAwayAreHeldAtAnIntsEnd) {
  bp::PanoramaMovie movie = SmallPanorama();
  bp::Node& node = movie.nodes[0];
  // A navigation hot spot whose picture point is (line, row).
  const auto addNavigation = [&](std::int16_t spot, std::int16_t target, std::int16_t line, std::int16_t row) {
    bp::HotSpot hotSpot;
    hotSpot.id = spot;
    hotSpot.type = "navg";
    hotSpot.target = target;
    node.hotSpots.push_back(hotSpot);
    bp::Navigation point;
    point.id = target;
    point.rect[0] = point.rect[2] = line;
    point.rect[1] = point.rect[3] = row;
    node.navigation.push_back(point);
  };
  addNavigation(8, 4, 128, 64);
  addNavigation(9, 5, 256, 64);
  NodeView* view = Open(movie);
  std::int32_t pan = bp::Degrees(180), tilt = 0, zoom = bp::Degrees(40);
  ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, &zoom), kOk);
  std::int32_t words[3] = {};
  kn::KnRect rect{};
  ASSERT_EQ(NodeViewNavigation(view, 8, words, &rect), 0);
  EXPECT_TRUE(rect.left == INT32_MAX || rect.left == INT32_MIN) << rect.left;
  EXPECT_EQ(rect.right, rect.left);
  EXPECT_EQ(rect.bottom, rect.top);
  ASSERT_EQ(NodeViewNavigation(view, 9, words, &rect), 0);
  EXPECT_NEAR(rect.left, view->width / 2, 1);
  EXPECT_NEAR(rect.top, view->height / 2, 1);
  NodeViewClose(view);
}

TEST_F(NodeViewTest, MissingNodeHeaderIsUnreadableNodeInformation) {
  builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  const long header = FindAtom(bytes, "pHdr");
  ASSERT_GT(header, 0);
  bytes[static_cast<std::size_t>(header) + 4] = 'x';
  const std::intptr_t movie = OpenMovie(bytes);
  std::int32_t error = 0;
  NodeView* view = NodeViewOpen(movie, kModeDib, 32, &error);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(NodeViewGoToNode(view, 0, nullptr, nullptr, nullptr), kErrNodeInfo);
  NodeViewClose(view);
}

// The view and the warp engine keep the display's width and height in 16
// bits and size the engine's column tables from them: a rectangle whose
// width or height (worked in 64 bits) lies outside 1..32767 is refused, and
// the view, the engine and the movie file keep the rectangle they had, so
// that the next hit test still reads inside the tables.
TEST_F(NodeViewTest, DisplayRectanglesPastSixteenBitsAreRefusedAndTheViewKept) {
  NodeView* view = Open(SmallPanorama());
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(NodeViewGoToNode(view, 0, nullptr, nullptr, nullptr), kOk);
  const kn::KnRect first{0, 0, 64, 48};
  for (const kn::KnRect refused :
       {kn::KnRect{0, 0, 40000, 48}, kn::KnRect{0, 0, 65535, 48}, kn::KnRect{-2000000000, 0, 2000000000, 48},
        kn::KnRect{0, -2000000000, 64, 2000000000}, kn::KnRect{0, 0, 32768, 48}, kn::KnRect{0, 0, 64, 32768},
        kn::KnRect{0, 0, 0, 48}, kn::KnRect{5, 5, 5, 6}, kn::KnRect{10, 0, 5, 48}}) {
    SCOPED_TRACE(testing::Message() << refused.left << "," << refused.top << "," << refused.right << ","
                                    << refused.bottom);
    EXPECT_FALSE(NodeViewSetDisplayRect(view, refused));
    kn::KnRect kept{};
    ASSERT_TRUE(NodeViewGetDisplayRect(view, &kept));
    EXPECT_EQ(std::memcmp(&kept, &first, sizeof kept), 0);
    EXPECT_EQ(view->width, 64);
    EXPECT_EQ(view->engine->width, 64);
    EXPECT_EQ(view->engine->height, 48);
    EXPECT_EQ(view->engine->windowRect.right, 64);
    std::int32_t line = 0, row = 0;
    NodeViewPointToSource(view, 40000, 5, &line, &row);  // held at the last column
    NodeViewHotSpotAt(view, -40000, 5);
  }
  // The largest side, and a view far from the origin, are taken.
  ASSERT_TRUE(NodeViewSetDisplayRect(view, kn::KnRect{0, 0, 32767, 1}));
  EXPECT_EQ(view->width, 32767);
  EXPECT_EQ(view->engine->width, 32767);
  std::int32_t line = 0, row = 0;
  NodeViewPointToSource(view, 32766, 0, &line, &row);
  ASSERT_TRUE(NodeViewSetDisplayRect(view, kn::KnRect{-2000000000, 7, -1999999936, 55}));
  EXPECT_EQ(view->width, 64);
  EXPECT_EQ(view->engine->windowRect.left, -2000000000);
  std::uint32_t rowBytes = 0;
  EXPECT_NE(WarpRenderFrame(view->engine, &rowBytes), nullptr);
  NodeViewClose(view);
}

}  // namespace
}  // namespace panotest
