// The controllers' arithmetic: the object movie's grid, steps and slopes, the
// panorama's drag offsets, and the screen's bank table.
#include "controller_math.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
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

// Action 10004 takes a caller's record as it is: no grid, no loop, angles
// that are not numbers. Held, every step that divides by the grid works.
TEST(ObjectNavigationTest, ACallersRecordIsHeldToAGridThatCanBeDividedBy) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  ObjectNavigation n{};
  n.columns = 0;
  n.rows = -3;
  n.loopSpeed = 5;
  n.fieldOfView = nan;
  n.panStart = nan;
  n.panEnd = 90;
  n.tiltStart = -1e308;
  n.tiltEnd = 1e308;  // a range past a double's
  HoldObjectNavigation(&n);
  EXPECT_EQ(n.columns, 1);
  EXPECT_EQ(n.rows, 1);
  EXPECT_EQ(n.loopCount, 1);
  EXPECT_EQ(n.loopSpeed, 0);
  EXPECT_DOUBLE_EQ(n.fieldOfView, 180);
  EXPECT_DOUBLE_EQ(n.panStart, 0);
  EXPECT_DOUBLE_EQ(n.panEnd, 360);
  EXPECT_DOUBLE_EQ(n.tiltStart, 0);
  EXPECT_DOUBLE_EQ(n.tiltEnd, 20);
  double pan = inf, tilt = 7;
  ClampObjectAngles(n, &pan, &tilt);
  int column = -1, row = -1;
  ObjectAnglesToColumnRow(n, pan, tilt, &column, &row);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(row, 0);
  ObjectColumnRowToAngles(n, 5, 5, &pan, &tilt);
  EXPECT_DOUBLE_EQ(pan, 0);
  EXPECT_DOUBLE_EQ(tilt, 0);
  // A sound record is kept as it is.
  ObjectNavigation sound{};
  DefaultObjectNavigation(7200, 120, &sound);
  ObjectNavigation held = sound;
  HoldObjectNavigation(&held);
  EXPECT_EQ(held.columns, sound.columns);
  EXPECT_EQ(held.rows, sound.rows);
  EXPECT_DOUBLE_EQ(held.panEnd, sound.panEnd);
  EXPECT_DOUBLE_EQ(held.tiltEnd, sound.tiltEnd);
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

// Steps of the object movie's loop from the tick count, which wraps after
// 2^32 ms (49.7 days) and passes 2^31 after 24.8 days: the time since the
// last move is unsigned and the frames moved are taken modulo the loop.
TEST(TickStepTest, TheLoopStepsAcrossTwoToThe31And32) {
  std::uint32_t last = 0x7FFFFFF6u;  // 10 ms before 2^31
  std::int32_t frame = 1;
  ASSERT_TRUE(ObjectLoopStep(5, 10, 0x80000014u, &last, &frame));  // 30 ms later: three frames
  EXPECT_EQ(frame, 4);
  EXPECT_EQ(last, 0x80000014u);
  last = 0xFFFFFFF6u;                                               // 10 ms before the wrap
  EXPECT_FALSE(ObjectLoopStep(5, 10, 0xFFFFFFFFu, &last, &frame));  // 9 ms: not yet
  EXPECT_EQ(frame, 4);
  EXPECT_EQ(last, 0xFFFFFFF6u);
  ASSERT_TRUE(ObjectLoopStep(5, 10, 0x14u, &last, &frame));  // 30 ms across the wrap
  EXPECT_EQ(frame, 2);

  // The first step after 24.8 days of uptime (the last move at tick 0):
  // 2^31 frames at one a millisecond, 2^31 mod 7 = 2 of them past whole loops.
  last = 0;
  frame = 0;
  ASSERT_TRUE(ObjectLoopStep(7, 1, 0x80000000u, &last, &frame));
  EXPECT_EQ(frame, 2);
  last = 0;
  frame = 6;
  ASSERT_TRUE(ObjectLoopStep(7, 1, 0xFFFFFFFFu, &last, &frame));  // 2^32 - 1 = 3 mod 7
  EXPECT_EQ(frame, 2);
  frame = 32766;
  last = 0;
  ASSERT_TRUE(ObjectLoopStep(32767, 1, 0xFFFFFFFFu, &last, &frame));
  EXPECT_EQ(frame, static_cast<std::int32_t>((32766 + 0xFFFFFFFFull) % 32767));

  // A negative speed: one frame once more than -speed ms have passed.
  last = 0xFFFFFFC0u;
  frame = 0;
  EXPECT_FALSE(ObjectLoopStep(5, -100, 0x24u, &last, &frame));  // 100 ms
  ASSERT_TRUE(ObjectLoopStep(5, -100, 0x30u, &last, &frame));   // 112 ms across the wrap
  EXPECT_EQ(frame, 1);
  ASSERT_TRUE(ObjectLoopStep(5, -32768, 0x30u + 32769, &last, &frame));
  EXPECT_EQ(frame, 2);
  ASSERT_TRUE(ObjectLoopStep(5, 0, last, &last, &frame));  // speed 0: a frame every step
  EXPECT_EQ(frame, 3);
  EXPECT_FALSE(ObjectLoopStep(1, 0, 0, &last, &frame));  // no loop
  EXPECT_EQ(TicksSince(2, 0xFFFFFFFEu), 4u);
}

// The object controller's drag steps from caller points anywhere in an
// int's range: the offsets are worked in 64 bits, the centre rule's offset
// is held so that its magnitude and the distance stay finite and exact.
TEST(TickStepTest, DragStepsFromPointsAtAnIntsEnds) {
  const kn::KnRect box{0, 0, 320, 240};
  ObjectStep step{};
  std::uint32_t lastStep = 77;
  EXPECT_FALSE(ObjectCentreStep(box, 200, 150, 100, &lastStep, &step));  // inside the still box
  EXPECT_EQ(lastStep, 77u);
  lastStep = 0;  // the first step of a press counts 1 ms
  ASSERT_TRUE(ObjectCentreStep(box, INT32_MAX, 120, 500, &lastStep, &step));
  EXPECT_DOUBLE_EQ(step.pan, 34);
  EXPECT_DOUBLE_EQ(step.tilt, 0);
  EXPECT_EQ(step.direction, 4);
  EXPECT_EQ(lastStep, 500u);
  ASSERT_TRUE(ObjectCentreStep(box, INT32_MIN, INT32_MIN, 501, &lastStep, &step));
  EXPECT_DOUBLE_EQ(step.pan, -34);  // diagonal above and left
  EXPECT_DOUBLE_EQ(step.tilt, 34);
  EXPECT_EQ(step.direction, 2);
  lastStep = 0xFFFFFFFEu;  // 3 ms across the wrap: 60 pixels x 3 ms x 1/6
  ASSERT_TRUE(ObjectCentreStep(box, 220, 120, 1, &lastStep, &step));
  EXPECT_NEAR(step.pan, 30, 1e-4);
  ASSERT_TRUE(ObjectCentreStep(kn::KnRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0, 100, 2, &lastStep, &step));
  EXPECT_EQ(step.direction, 6);

  const double perPixel = 180.0 / (240 - 44);  // the inset box's shorter side spans the field of view
  ASSERT_TRUE(ObjectEdgeStep(box, 180, INT32_MAX, 0, INT32_MIN, 0, false, &step));
  EXPECT_DOUBLE_EQ(step.pan, 4294967295.0 * perPixel);
  EXPECT_DOUBLE_EQ(step.tilt, 0);
  ASSERT_TRUE(ObjectEdgeStep(box, 180, 0, INT32_MIN, 0, INT32_MAX, false, &step));
  EXPECT_DOUBLE_EQ(step.pan, 0);
  EXPECT_DOUBLE_EQ(step.tilt, 4294967295.0 * perPixel);
  ASSERT_TRUE(ObjectEdgeStep(box, 180, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, true, &step));
  EXPECT_DOUBLE_EQ(step.tilt, 0);  // with Shift the larger move alone: equal here, so the pan
  EXPECT_DOUBLE_EQ(step.pan, -4294967295.0 * perPixel);
  EXPECT_FALSE(ObjectEdgeStep(box, 180, 5, 5, 5, 5, false, &step));
  EXPECT_FALSE(ObjectEdgeStep(kn::KnRect{0, 0, 40, 40}, 180, 0, 0, 9, 9, false, &step));  // no inset box

  EXPECT_EQ(PointOffset(INT32_MIN, INT32_MAX), -INT32_MAX);
  EXPECT_EQ(PointOffset(INT32_MAX, INT32_MIN), INT32_MAX);
  EXPECT_EQ(PointOffset(5, -2), 7);
  EXPECT_EQ(CentreRuleSlope(INT32_MIN, 0), 0);
  EXPECT_EQ(DragOffset(INT32_MIN, 60), -60);
}

// The bounds selector's rectangle: flag 2 takes it as it is, otherwise the
// view's own size is centred, cut or put at the corner. The view keeps 16-bit
// sides, so a width or height outside 1..32767 is refused and the result left
// as it was; a caller's rectangle spanning more than an int still centres.
TEST(BoundsTest, BoundsAreHeldToWhatAViewKeeps) {
  const kn::KnRect own{0, 0, 64, 48};
  const kn::KnRect untouched{1, 2, 3, 4};
  const auto adjust = [&](kn::KnRect given, std::intptr_t flags, const kn::KnRect& viewOwn = {0, 0, 64, 48}) {
    kn::KnRect result = untouched;
    const std::int32_t answer = AdjustBounds(given, viewOwn, flags, &result);
    EXPECT_EQ(answer == kOk, std::memcmp(&result, &untouched, sizeof result) != 0);
    return std::vector<std::int64_t>{answer, result.left, result.top, result.right, result.bottom};
  };
  using V = std::vector<std::int64_t>;
  EXPECT_EQ(adjust({0, 0, 200, 150}, 0), (V{kOk, 68, 51, 132, 99}));
  EXPECT_EQ(adjust({0, 0, 200, 150}, 1), (V{kOk, 0, 0, 64, 48}));
  EXPECT_EQ(adjust({0, 0, 40, 40}, 0), (V{kOk, 0, 5, 40, 35}));  // cut evenly
  const kn::KnRect spanning{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_EQ(adjust(spanning, 0), (V{kOk, -32, -24, 32, 24}));
  EXPECT_EQ(adjust(spanning, 1), (V{kOk, -2000000000, -2000000000, -1999999936, -1999999952}));
  EXPECT_EQ(adjust({INT32_MAX - 10, 0, INT32_MAX, 100}, 0), (V{kOk, INT32_MAX - 10, 46, INT32_MAX, 53}));
  EXPECT_EQ(adjust({0, 0, 40000, 30000}, 0, {0, 0, 32767, 1}), (V{kOk, 3616, 14999, 36383, 15000}));
  EXPECT_EQ(adjust({0, 0, 1, 1000}, 0)[0], kErrParam);  // cut to no height
  EXPECT_EQ(adjust({0, 0, 200, 150}, 0, {0, 0, 40000, 48})[0], kErrParam);

  for (const kn::KnRect refused :
       {kn::KnRect{0, 0, 40000, 48}, kn::KnRect{0, 0, 65535, 48}, spanning, kn::KnRect{0, 0, 32768, 48},
        kn::KnRect{0, 0, 64, 32768}, kn::KnRect{0, 0, 0, 48}, kn::KnRect{0, 0, 64, 0}, kn::KnRect{10, 0, 5, 10}}) {
    EXPECT_EQ(adjust(refused, 2)[0], kErrParam) << refused.left << " " << refused.right << " " << refused.bottom;
  }
  EXPECT_EQ(adjust({0, 0, 32767, 48}, 2), (V{kOk, 0, 0, 32767, 48}));
  EXPECT_EQ(adjust({-2000000000, 5, -1999967233, 6}, 2)[0], kOk);

  kn::KnRect placed = untouched;
  EXPECT_EQ(PlaceView(10, 20, own, &placed), kOk);
  EXPECT_EQ(placed.right, 74);
  EXPECT_EQ(placed.bottom, 68);
  EXPECT_EQ(PlaceView(INT32_MAX - 64, INT32_MIN, own, &placed), kOk);
  EXPECT_EQ(placed.right, INT32_MAX);
  placed = untouched;
  EXPECT_EQ(PlaceView(INT32_MAX - 63, 0, own, &placed), kErrParam);
  EXPECT_EQ(PlaceView(INT64_MAX, 0, own, &placed), kErrParam);
  EXPECT_EQ(PlaceView(0, std::int64_t{INT32_MIN} - 1, own, &placed), kErrParam);
  EXPECT_EQ(PlaceView(0, 0, kn::KnRect{0, 0, 40000, 48}, &placed), kErrParam);
  EXPECT_EQ(placed.left, untouched.left);
}

}  // namespace
}  // namespace panotest
