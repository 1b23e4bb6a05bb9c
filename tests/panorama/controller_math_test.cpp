// The controllers' arithmetic: the object movie's grid, steps and slopes, the
// panorama's drag offsets, and the screen's bank table.
#include "controller_math.h"

#include <climits>
#include <cmath>
#include <vector>

#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

ObjectNavigation Grid(int columns, int rows, double panEnd) {
  ObjectNavigation n{};
  n.columns = static_cast<std::int16_t>(columns);
  n.rows = static_cast<std::int16_t>(rows);
  n.loopCount = 1;
  n.frameDuration = 10;
  n.panStart = 0;
  n.panEnd = panEnd;
  n.tiltStart = -30;
  n.tiltEnd = 30;
  return n;
}

TEST(ObjectGridTest, FullTurnsWrapColumnsAndPartialRangesReachTheirEnd) {
  const ObjectNavigation turn = Grid(36, 3, 360);
  double pan = 0, tilt = 0;
  ObjectColumnRowToAngles(turn, 36, 0, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 0);
  ObjectColumnRowToAngles(turn, -1, 0, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 350);
  EXPECT_DOUBLE_EQ(tilt, 30);  // row 0 is the top
  int column = 0, row = 0;
  ObjectAnglesToColumnRow(turn, 356, -30, &column, &row);
  EXPECT_EQ(column, 0);  // rounds to 36, which wraps
  EXPECT_EQ(row, 2);

  const ObjectNavigation half = Grid(10, 1, 180);
  ObjectColumnRowToAngles(half, 9, 5, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 180);
  EXPECT_DOUBLE_EQ(tilt, -30);  // one row: the tilt start
  ObjectColumnRowToAngles(half, 12, 0, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 180);  // clamped to the last column

  pan = 370;
  tilt = 99;
  ClampObjectAngles(turn, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 10);
  EXPECT_DOUBLE_EQ(tilt, 30);
  pan = 200;
  ClampObjectAngles(half, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 180);
  EXPECT_EQ(ObjectFrameTime(turn, 2, 1, 0), 10 * (36 + 2));
}

// The record's largest grid, loop and duration: the last viewpoint's time
// lies past 32 bits and is held at the end of the range, without overflow.
TEST(ObjectGridTest, AFrameTimePastThirtyTwoBitsIsHeldAtTheEnd) {
  ObjectNavigation largest{};
  largest.columns = largest.rows = largest.loopCount = largest.frameDuration = 32767;
  EXPECT_EQ(ObjectFrameTime(largest, 32766, 32766, 32766), INT32_MAX);
  EXPECT_EQ(ObjectFrameTime(largest, 1, 0, 0), 32767 * 32767);
  largest.frameDuration = -32768;
  EXPECT_EQ(ObjectFrameTime(largest, 32766, 32766, 32766), INT32_MIN);
}

// The edge rule's drag moves the pan by the field of view over the box side
// per pixel: with the record's widest field (32767 degrees) and a side of
// one pixel, a move of 400 pixels is 36,407 turns and 280 degrees. The pan
// stays within the turn however many moves come, and its grid column and
// 16.16 value stay defined.
TEST(ObjectGridTest, APanThousandsOfTurnsAwayWrapsIntoTheTurn) {
  ObjectNavigation turn = Grid(32767, 1, 360);
  turn.fieldOfView = 32767;
  double pan = 0, tilt = 0;
  for (int move = 1; move <= 80; ++move) {
    pan += 400 * turn.fieldOfView / 1;
    ClampObjectAngles(turn, &pan, &tilt);
    const int degrees = 280 * move % 360;
    ASSERT_DOUBLE_EQ(pan, degrees == 0 ? 360 : degrees) << "move " << move;
    int column = -1, row = -1;
    ObjectAnglesToColumnRow(turn, pan, tilt, &column, &row);
    EXPECT_EQ(column, degrees == 0 ? 0 : static_cast<int>(std::floor(pan / (360.0 / 32767) + 0.5)) % 32767);
  }
  pan = -1e12 - 90;  // below the start: up into the turn
  ClampObjectAngles(turn, &pan, &tilt);
  EXPECT_GE(pan, 0);
  EXPECT_LT(pan, 360);
  pan = std::nan("");
  ClampObjectAngles(turn, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 0);

  // A turn starting near the record's largest angle: its pan lies past what
  // a 16.16 value holds and is held at the largest one.
  ObjectNavigation high = Grid(36, 1, 32700 + 360.0);
  high.panStart = 32700;
  pan = 32700 + 3 * 360 + 300;
  ClampObjectAngles(high, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 33000);
  EXPECT_EQ(Whole32(pan * 65536), INT32_MAX);
  EXPECT_EQ(Whole32(-pan * 65536), INT32_MIN);
}

// Angles far outside the grid, not clamped first, still give a column and row
// of the grid: wrapped around a full turn, else the first or last.
TEST(ObjectGridTest, AnglesFarOutsideTheGridGiveItsColumnsAndRows) {
  int column = -1, row = -1;
  ObjectAnglesToColumnRow(Grid(32767, 3, 360), 1e12, -1e12, &column, &row);
  EXPECT_GE(column, 0);
  EXPECT_LT(column, 32767);
  // The column of the angle within its turn, not of one held at an int's end.
  EXPECT_EQ(column, static_cast<int>(std::fmod(std::floor(1e12 / (360.0 / 32767) + 0.5), 32767)));
  EXPECT_EQ(row, 2);
  ObjectAnglesToColumnRow(Grid(32767, 3, 180), 1e12, 1e12, &column, &row);
  EXPECT_EQ(column, 32766);
  EXPECT_EQ(row, 0);
  ObjectAnglesToColumnRow(Grid(32767, 3, 180), -1e12, std::nan(""), &column, &row);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(row, 0);
}

TEST(ObjectGridTest, DirectionsStepsAndSlopes) {
  int dc = 0, dr = 0;
  for (int degrees : {0, 350, 22, 338}) {
    ObjectDirectionStep(degrees, &dc, &dr);
    EXPECT_EQ(dc, -1) << degrees;
    EXPECT_EQ(dr, 0) << degrees;
  }
  ObjectDirectionStep(90, &dc, &dr);
  EXPECT_EQ(dr, 1);
  EXPECT_EQ(dc, 0);
  ObjectDirectionStep(225, &dc, &dr);
  EXPECT_EQ(dr, -1);
  EXPECT_EQ(dc, 1);
  EXPECT_DOUBLE_EQ(ObjectStepDegrees(100, false, 100, 1), 34);  // capped
  EXPECT_NEAR(ObjectStepDegrees(2, false, 10, 1), 3.333334, 1e-6);
  EXPECT_LT(ObjectStepDegrees(2, true, 10, 1), ObjectStepDegrees(2, false, 10, 1));
  EXPECT_EQ(CentreRuleSlope(0, 5), 2);
  EXPECT_EQ(CentreRuleSlope(0, -5), -2);
  EXPECT_EQ(CentreRuleSlope(100, 10), 0);
  EXPECT_EQ(CentreRuleSlope(-100, 100), 1);
  EXPECT_EQ(CentreRuleSlope(10, -100), -2);
}

TEST(ObjectGridTest, NavigationDataAndDefaults) {
  builder::ByteWriter w;
  w.U16be(1);
  w.U16be(12);
  w.U16be(3);
  w.U16be(0);
  w.U16be(0);  // loop count 0: becomes 1, and the loop speed 0
  w.U16be(60);
  w.U16be(2);
  w.U16be(500);
  w.U32be(0);  // field of view 0: 180
  w.U32be(0);
  w.U32be(360 << 16);
  ObjectNavigation n{};
  Host().flip16 = kn::Flip16;
  Host().flip32 = kn::Flip32;
  ReadObjectNavigation(w.bytes().data(), static_cast<std::int32_t>(w.size()), &n);
  EXPECT_EQ(n.columns, 12);
  EXPECT_EQ(n.loopCount, 1);
  EXPECT_EQ(n.loopSpeed, 0);
  EXPECT_DOUBLE_EQ(n.fieldOfView, 180);
  EXPECT_DOUBLE_EQ(n.panEnd, 360);
  EXPECT_DOUBLE_EQ(n.tiltEnd, 0);          // beyond the item: zero
  DefaultObjectNavigation(7200, 120, &n);  // 120 frames of 60
  EXPECT_EQ(n.frameDuration, 60);
  EXPECT_EQ(n.columns, 60);
  EXPECT_EQ(n.rows, 2);
  EXPECT_DOUBLE_EQ(n.tiltEnd, 20);
}

TEST(PanoramaDragTest, OffsetsHaveADeadZoneAMinimumAndALimit) {
  EXPECT_EQ(DragOffset(3, 60), 0);
  EXPECT_EQ(DragOffset(-4, 60), 0);
  EXPECT_EQ(DragOffset(5, 60), 16);
  EXPECT_EQ(DragOffset(-15, 60), -16);
  EXPECT_EQ(DragOffset(40, 60), 40);
  EXPECT_EQ(DragOffset(-90, 60), -60);
}

TEST(ScreenBanksTest, SixteenBitScreenOf480RowsWith1280RowBytes) {
  std::int16_t table[300];
  const int entries = BuildBankTable(1280, 480, 2, table, 600 - 8);
  const std::vector<std::int16_t> expected = {51,  128, 102, 256, 153, 384, 204, 512, 255, 640,
                                              307, 128, 358, 256, 409, 384, 460, 512, -1};
  EXPECT_EQ(std::vector<std::int16_t>(table, table + entries), expected);
  // A screen inside one bank has no pairs.
  EXPECT_EQ(BuildBankTable(1280, 40, 2, table, 592), 1);
  EXPECT_EQ(table[0], -1);
}

}  // namespace
}  // namespace panotest
