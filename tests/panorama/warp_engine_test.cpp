// The warp engine over a canvas filled by hand: limits, wrapping, zoom,
// tables, quality-dependent loops, the row pass and animation steps.
#include "warp_engine.h"

#include <cmath>
#include <set>

#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

constexpr double kDegree = kDegToRad;

class WarpEngineTest : public PanoHostTest {
 protected:
  void SetUp() override {
    PanoHostTest::SetUp();
    canvas_ = TileCanvasCreate(64, 64, 8, 2, 24, nullptr);
    ASSERT_NE(canvas_, nullptr);
    ASSERT_TRUE(TileCanvasSetGrid(canvas_, 8, 2));
    // Every pixel of line n has red 2n (mod 256): blending neighbouring lines makes odd values.
    for (int line = 0; line < 512; ++line) {
      for (int pixel = 0; pixel < 128; ++pixel) {
        std::uint8_t* p = canvas_->pixels + canvas_->lineBytes * line + 3 * pixel;
        p[0] = 0;
        p[1] = static_cast<std::uint8_t>(pixel);
        p[2] = static_cast<std::uint8_t>(2 * line);
      }
    }
    WarpInit(&e_, 64, 48, kFormat24, 4);
    WarpAttachCanvas(&e_, canvas_);
    WarpSetImageLimits(&e_, 0, kTwoPi, 25 * kDegree, -25 * kDegree);
    WarpSetZoom(&e_, 30 * kDegree);
  }
  void TearDown() override {
    WarpFree(&e_);
    TileCanvasFree(canvas_);
    PanoHostTest::TearDown();
  }
  std::set<int> Reds() {
    std::uint32_t rowBytes = 0;
    const std::uint8_t* frame = WarpRenderFrame(&e_, &rowBytes);
    std::set<int> reds;
    for (int y = 0; y < e_.height; ++y) {
      for (int x = 0; x < e_.width; ++x)
        reds.insert(frame[rowBytes * static_cast<std::uint32_t>(y) + 3 * static_cast<std::uint32_t>(x) + 2]);
    }
    return reds;
  }

  TileCanvas* canvas_ = nullptr;
  WarpEngine e_{};
};

TEST_F(WarpEngineTest, FullCirclePansWrapAndPartialOnesStopInside) {
  WarpSetPan(&e_, kTwoPi + 0.1);
  EXPECT_NEAR(WarpGetPan(&e_), 0.1, 1e-6);
  EXPECT_EQ(WarpGetClampFlags(&e_) & 3u, 0u);
  WarpSetPan(&e_, -0.1);
  EXPECT_NEAR(WarpGetPan(&e_), kTwoPi - 0.1, 1e-6);

  WarpSetPanRange(&e_, 0, kPi, 25 * kDegree, -25 * kDegree);
  EXPECT_FALSE(e_.fullCircle);
  WarpSetPan(&e_, 0);
  EXPECT_EQ(WarpGetClampFlags(&e_) & 3u, kClampPanStart);
  EXPECT_NEAR(e_.pan, e_.halfViewWidth + 1, 1e-9);
  WarpSetPan(&e_, kPi);
  EXPECT_EQ(WarpGetClampFlags(&e_) & 3u, kClampPanEnd);
  EXPECT_NEAR(e_.pan, 256 - e_.halfViewWidth - 1, 1e-9);
}

TEST_F(WarpEngineTest, ZoomAndTiltLimits) {
  WarpSetZoom(&e_, 1.5 * kDegree);
  EXPECT_NEAR(e_.halfFov, kDegree, 1e-12);
  EXPECT_TRUE(WarpGetClampFlags(&e_) & kClampZoomMin);
  WarpSetZoom(&e_, 170 * kDegree);
  EXPECT_TRUE(WarpGetClampFlags(&e_) & kClampZoomMax);
  EXPECT_LT(e_.halfFov, 25 * kDegree);

  WarpSetZoom(&e_, 20 * kDegree);
  WarpSetTilt(&e_, 40 * kDegree);
  EXPECT_TRUE(WarpGetClampFlags(&e_) & kClampTiltTop);
  EXPECT_LE(e_.tilt + e_.halfFov, 25 * kDegree);
  const double before = e_.previousTilt;
  WarpSetTilt(&e_, e_.tilt);  // the same tilt again changes nothing
  EXPECT_EQ(e_.previousTilt, before);
}

TEST_F(WarpEngineTest, ColumnTablesMirrorAboutTheMiddle) {
  for (int width : {64, 63}) {
    WarpResize(&e_, width, 48);
    WarpBuildColumnTables(&e_);
    const int count = (width + 3) / 2;
    EXPECT_EQ(e_.sourceColumn[count], e_.sourceColumn[count - 1]) << width;
    EXPECT_EQ(e_.scale[count], e_.scale[count - 1]) << width;
    for (int k = 0; count + k < width; ++k) {
      EXPECT_EQ(e_.sourceColumn[count + k], 2 * e_.sourceColumn[count - 1] - e_.sourceColumn[count - 1 - k]);
    }
    EXPECT_EQ(e_.sourceColumn[0], 0u);
    EXPECT_EQ(e_.halfViewWidth, static_cast<std::int32_t>((e_.sourceColumn[width - 1] >> 10) >> 1));
  }
}

TEST_F(WarpEngineTest, QualityDecidesWhetherLinesAreBlended) {
  WarpSetPan(&e_, kPi);
  WarpSetQuality(&e_, 768);
  bool odd = false;
  for (int r : Reds()) odd = odd || (r & 1) != 0;
  EXPECT_TRUE(odd);  // neighbouring lines blended
  for (std::uint32_t quality : {512u, 511u, 100u}) {
    WarpSetQuality(&e_, quality);
    for (int r : Reds()) EXPECT_EQ(r & 1, 0) << quality;
  }
}

TEST_F(WarpEngineTest, RowPassOnlyForATiltInModeTwo) {
  std::uint32_t rowBytes = 0;
  EXPECT_EQ(WarpRenderFrame(&e_, &rowBytes), e_.columnFrame);
  WarpSetTilt(&e_, 5 * kDegree);
  EXPECT_EQ(WarpRenderFrame(&e_, &rowBytes), e_.correctedFrame);
  EXPECT_EQ(e_.rowTable[0], 0u);
  EXPECT_EQ(e_.rowTable[47], 47u * 1024);
  bool bent = false;
  for (int r = 1; r < 47; ++r) bent = bent || e_.rowTable[r] != static_cast<std::uint32_t>(r) * 1024;
  EXPECT_TRUE(bent);
  WarpSetMode(&e_, 1);
  EXPECT_EQ(WarpRenderFrame(&e_, &rowBytes), e_.columnFrame);
}

TEST_F(WarpEngineTest, AnimationStepsAndPointMapping) {
  WarpSetZoom(&e_, 30 * kDegree);
  WarpSetZoom(&e_, 30 * kDegree);
  WarpSetPan(&e_, 1.0);
  WarpSetPan(&e_, 1.0);
  EXPECT_EQ(WarpTransitionSteps(&e_, 0.0025, true), 1);
  WarpSetPan(&e_, 2.0);
  EXPECT_GT(WarpTransitionSteps(&e_, 0.0025, true), 1);

  std::uint32_t rowBytes = 0;
  ASSERT_NE(WarpRenderFrame(&e_, &rowBytes), nullptr);
  double line = 0, row = 0;
  WarpPointToSource(&e_, 32, 24, &line, &row);
  EXPECT_NEAR(line, e_.pan, 2.0);
  EXPECT_NEAR(row, 64, 2.0);
}

int gPresented = 0;
std::int32_t CountFrames(std::intptr_t, const kn::KnRect&, const std::uint8_t*, int, int, int, std::int32_t) {
  ++gPresented;
  return 0;
}
bool AlwaysVisible(std::intptr_t) { return true; }

TEST_F(WarpEngineTest, FlatModeHasEvenColumnsAndNoCorrection) {
  WarpSetMode(&e_, 0);
  WarpBuildColumnTables(&e_);
  const std::uint32_t step = e_.sourceColumn[1];
  EXPECT_GT(step, 0u);
  for (int i = 0; i < e_.width; ++i) {
    EXPECT_EQ(e_.sourceColumn[i], step * static_cast<std::uint32_t>(i));
    EXPECT_EQ(e_.scale[i], 1024u);
  }
  WarpSetTilt(&e_, 3 * kDegree);
  std::uint32_t rowBytes = 0;
  EXPECT_EQ(WarpRenderFrame(&e_, &rowBytes), e_.columnFrame);
}

TEST_F(WarpEngineTest, DrawingNeedsAWindowAndAnimationDrawsEachStep) {
  Presenter().present = CountFrames;
  Presenter().visible = AlwaysVisible;
  gPresented = 0;
  WarpUpdate(&e_);
  EXPECT_EQ(gPresented, 0);  // no window yet
  WarpSetWindow(&e_, 1, nullptr);
  WarpUpdate(&e_);
  EXPECT_EQ(gPresented, 1);
  WarpSetPan(&e_, 1.0);
  WarpSetPan(&e_, 1.5);
  gPresented = 0;
  WarpAnimateTo(&e_, 5, true);
  EXPECT_EQ(gPresented, 5);
  EXPECT_NEAR(WarpGetPan(&e_), 1.5, 1e-6);
  // A frame that cannot be had is not presented.
  WarpResize(&e_, 60, 40);
  kn::FailMemoryAfter(0);
  gPresented = 0;
  WarpDraw(&e_);
  kn::FailMemoryAfter(-1);
  EXPECT_EQ(gPresented, 0);
  Presenter() = WarpPresenter{};
}

TEST_F(WarpEngineTest, SourcePointsMapBackToTheWindow) {
  WarpSetPan(&e_, 2.0);
  std::uint32_t rowBytes = 0;
  ASSERT_NE(WarpRenderFrame(&e_, &rowBytes), nullptr);
  int x = 0, y = 0;
  WarpSourceToPoint(&e_, e_.pan, e_.projectedHeight / 2, &x, &y);
  EXPECT_NEAR(x, 32, 1);
  EXPECT_NEAR(y, 24, 1);
  // A window rectangle twice the view's size scales points down.
  const kn::KnRect big{0, 0, 128, 96};
  WarpSetWindow(&e_, 0, &big);
  double line = 0, row = 0;
  WarpPointToSource(&e_, 64, 48, &line, &row);
  EXPECT_NEAR(line, e_.pan, 2.0);
}

// The engine keeps its width and height in 16 bits and sizes its column and
// row tables from them: a side outside 1..32767 leaves a resized engine as
// it was, and makes a new one a failed one.
TEST_F(WarpEngineTest, SidesPastSixteenBitsAreRefused) {
  for (const int side : {40000, 65535, 32768, 0, -1}) {
    EXPECT_FALSE(WarpResize(&e_, side, 48)) << side;
    EXPECT_FALSE(WarpResize(&e_, 64, side)) << side;
    EXPECT_EQ(e_.width, 64);
    EXPECT_EQ(e_.height, 48);
    double line = 0, row = 0;
    WarpPointToSource(&e_, 40000, 40000, &line, &row);
    WarpEngine fresh{};
    WarpInit(&fresh, side, 48, kFormat24, 4);
    EXPECT_TRUE(fresh.failed) << side;
    WarpFree(&fresh);
  }
  // Without memory for the new tables the engine keeps its size and tables.
  kn::FailMemoryAfter(0);
  EXPECT_FALSE(WarpResize(&e_, 100, 48));
  kn::FailMemoryAfter(-1);
  EXPECT_EQ(e_.width, 64);
  EXPECT_FALSE(e_.failed);
  double kept = 0, keptRow = 0;
  WarpPointToSource(&e_, 63, 47, &kept, &keptRow);
  EXPECT_TRUE(WarpResize(&e_, 32767, 1));
  EXPECT_EQ(e_.width, 32767);
  // A window rectangle spanning more than an int scales no point past one.
  const kn::KnRect spanning{-2000000000, 0, 2000000000, 1};
  WarpSetWindow(&e_, 0, &spanning);
  double line = 0, row = 0;
  WarpPointToSource(&e_, INT32_MAX, INT32_MIN, &line, &row);
}

TEST_F(WarpEngineTest, AnAnimationPreparesAsAnUpdateDoes) {
  // An engine that has a canvas but no image limits yet.
  WarpEngine fresh{};
  WarpInit(&fresh, 64, 48, kFormat24, 4);
  WarpAttachCanvas(&fresh, canvas_);
  WarpSetWindow(&fresh, 1, nullptr);
  ASSERT_FALSE(fresh.hasImageLimits);
  WarpSetPan(&fresh, 1.0);
  WarpAnimateTo(&fresh, 2, true);
  EXPECT_TRUE(fresh.hasImageLimits);
  EXPECT_NEAR(fresh.tiltTop, 0.78539815, 1e-12);  // the image's own half-angle, a quarter turn
  EXPECT_NEAR(fresh.tiltBottom, -0.78539815, 1e-12);
  WarpFree(&fresh);
}

// An 8 x 6 view of a picture 512 lines around and 128 pixels high, covering
// tilts from -20 to +30 degrees, looked at with a field of view of 30
// degrees, a tilt of 5 degrees and a pan of 1 radian in mode 2. Every value
// below was worked out by hand from the formulas, with pi = 3.1415926.
class WarpByHandTest : public WarpEngineTest {
 protected:
  void SetUp() override {
    WarpEngineTest::SetUp();
    WarpFree(&e_);
    e_ = WarpEngine{};
    WarpInit(&e_, 8, 6, kFormat24, 4);
    WarpAttachCanvas(&e_, canvas_);
  }
  // A first frame level, then the tilt: the tables must follow it.
  void Look(double panEnd) {
    WarpSetImageLimits(&e_, 0, panEnd, 30 * kDegree, -20 * kDegree);
    WarpSetZoom(&e_, 30 * kDegree);
    WarpSetPan(&e_, 1.0);
    std::uint32_t rowBytes = 0;
    ASSERT_NE(WarpRenderFrame(&e_, &rowBytes), nullptr);
    WarpSetTilt(&e_, 5 * kDegree);
    ASSERT_NE(WarpRenderFrame(&e_, &rowBytes), nullptr);
  }
};

TEST_F(WarpByHandTest, GeometryTablesAndVerticalMapping) {
  Look(kTwoPi);
  // 512 lines over 2 pi; tan(30) / (tan(30) + tan(20)) x 128 x 2.
  EXPECT_DOUBLE_EQ(e_.circumference, 512.0);
  EXPECT_NEAR(e_.projectedHeight, 157.01524427644188, 1e-9);
  EXPECT_NEAR(e_.imageTiltCentre, 5 * kDegree, 1e-15);
  EXPECT_NEAR(e_.halfFov, 0.2617993833333333, 1e-15);
  EXPECT_NEAR(e_.halfHorizontalFov, 0.34313277949774873, 1e-12);  // atan(tan(v) x 8 / 6)
  EXPECT_EQ(e_.clampFlags, 0u);
  // Columns: A = atan(tan(a) cos(v) / cos(t + v)) = 0.351949...; five
  // columns from the formula, three mirrored about column 4.
  const std::uint32_t sources[] = {0, 7962, 16342, 24994, 33741, 33741, 42488, 51140};
  const std::uint32_t scales[] = {961, 990, 1012, 1023, 1023, 1023, 1023, 1012};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(e_.sourceColumn[i], sources[i]) << i;
    EXPECT_EQ(e_.scale[i], scales[i]) << i;
  }
  EXPECT_EQ(e_.halfViewWidth, 24);  // (51140 >> 10) >> 1
  // Rows: m = 2 sin(v) sqrt(1 + T^2) sin(t) = 0.0480105...
  const std::uint32_t rows[] = {0, 1063, 2106, 3129, 4134, 5120};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(e_.rowTable[r], rows[r]) << r;
  EXPECT_NEAR(e_.rowSlope, 0.03054073619619565, 1e-12);
  // Vertical mapping in 1/1024 pixels (the offset is 0: the canvas holds from pixel 0).
  EXPECT_EQ(e_.verticalStep, 12539);
  EXPECT_EQ(e_.verticalSlope, 49);
  EXPECT_EQ(e_.verticalOrigin, 80392);
  EXPECT_EQ(e_.verticalOffset, 0);
  EXPECT_NEAR(e_.pan, 81.48733225307444, 1e-9);  // 1 / (2 pi) x 512
}

TEST_F(WarpByHandTest, WindowPointsToSourcePixels) {
  Look(kTwoPi);
  struct Case {
    int x, y;
    double line, row;
  };
  // Back through the row pass, then line = p + half width - column's line,
  // row = origin - slope x scale + y x step x scale, rounded by bit 9.
  for (const Case& c :
       {Case{0, 0, 105.48733225307444, 33}, Case{7, 5, 55.48733225307444, 91}, Case{3, 2, 81.48733225307444, 54}}) {
    double line = 0, row = 0;
    WarpPointToSource(&e_, c.x, c.y, &line, &row);
    EXPECT_NEAR(line, c.line, 1e-9) << c.x << "," << c.y;
    EXPECT_EQ(row, c.row) << c.x << "," << c.y;
  }
}

TEST_F(WarpByHandTest, APartialPanoramaMapsPointsInsideItsLines) {
  Look(kPi);  // the same 512 lines cover half a turn: 1024 lines a turn
  EXPECT_DOUBLE_EQ(e_.circumference, 1024.0);
  EXPECT_EQ(e_.halfViewWidth, 49);
  EXPECT_NEAR(e_.pan, 162.97466450614888, 1e-9);
  double line = 0, row = 0;
  WarpPointToSource(&e_, 0, 0, &line, &row);
  EXPECT_NEAR(line, 162.97466450614888 + 49, 1e-9);  // not a line before the picture
}

}  // namespace
}  // namespace panotest
