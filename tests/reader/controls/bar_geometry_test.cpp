// The skinned scroll bar's arithmetic: part layout, thumb placement, scroll
// codes, drag snapping and drops.
#include "controls/bar_geometry.h"

#include <gtest/gtest.h>

namespace {

// The shipped sizes: 13 x 8 arrow frames and a 13 x 11 thumb.
bar::BarBitmaps Shipped() {
  bar::BarBitmaps bitmaps;
  bitmaps.arrowFrameWidth = 13;
  bitmaps.upHeight = 8;
  bitmaps.downHeight = 8;
  bitmaps.thumbWidth = 13;
  bitmaps.thumbHeight = 11;
  return bitmaps;
}

TEST(BarGeometry, FrameAndBarStripLeaveTheClientArea) {
  const CRect client = bar::ClientOf(CRect(0, 0, 200, 150));
  EXPECT_EQ(client, CRect(2, 2, 181, 148));
  // A window narrower than the frame and bar keeps an empty client area.
  EXPECT_TRUE(bar::ClientOf(CRect(0, 0, 10, 3)).IsRectEmpty());
}

TEST(BarGeometry, PartsStandInTheRightStrip) {
  const bar::BarLayout layout = bar::Layout(200, 150, Shipped());
  EXPECT_EQ(layout.up, CRect(184, 3, 197, 11));
  EXPECT_EQ(layout.down, CRect(184, 139, 197, 147));
  // The track leaves the up arrow's height and 4 pixels at both ends.
  EXPECT_EQ(layout.track, CRect(183, 15, 198, 135));
  EXPECT_EQ(layout.thumb, CRect(184, 15, 197, 26));
}

TEST(BarGeometry, ThumbTopOnlyAtMaxReachesTheBottom) {
  const CRect track(183, 15, 198, 135);
  EXPECT_EQ(bar::ThumbTop(track, 11, 1, 1, 1), 15);  // empty range
  EXPECT_EQ(bar::ThumbTop(track, 11, 1, 10, 1), 15);
  EXPECT_EQ(bar::ThumbTop(track, 11, 1, 10, 10), 124);
  // (135 - 11 - 15) x 8 / 10 = 87.2, truncated.
  EXPECT_EQ(bar::ThumbTop(track, 11, 1, 10, 9), 15 + 87);
  EXPECT_EQ(bar::ThumbTop(track, 11, 1, 10, 5), 15 + 43);
}

TEST(BarGeometry, ScrollCodesMoveWithinTheRange) {
  // Page up from 10 with 8 rows a page goes a page less one row.
  EXPECT_EQ(bar::ScrollTarget(bar::kPageUp, 0, 10, 1, 20, 8), 3);
  EXPECT_EQ(bar::ScrollTarget(bar::kPageUp, 0, 3, 1, 20, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kPageDown, 0, 10, 1, 20, 8), 17);
  EXPECT_EQ(bar::ScrollTarget(bar::kPageDown, 0, 17, 1, 20, 8), 20);
  EXPECT_EQ(bar::ScrollTarget(bar::kLineUp, 0, 1, 1, 20, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kLineDown, 0, 20, 1, 20, 8), 20);
  EXPECT_EQ(bar::ScrollTarget(bar::kTop, 0, 9, 1, 20, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kBottom, 0, 9, 1, 20, 8), 20);
  // A thumb position is taken as given; unknown codes keep the position.
  EXPECT_EQ(bar::ScrollTarget(bar::kThumbPosition, 25, 9, 1, 20, 8), 25);
  EXPECT_EQ(bar::ScrollTarget(5, 0, 9, 1, 20, 8), 9);
  EXPECT_EQ(bar::ScrollTarget(8, 0, 9, 1, 20, 8), 9);
}

TEST(BarGeometry, FewerRowsThanAPageNeverScrollBeforeTheFirstRow) {
  // Three rows in a page of eight: max = 3 - 8 + 1 = -4.
  EXPECT_EQ(bar::ScrollTarget(bar::kLineDown, 0, 1, 1, -4, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kPageDown, 0, 1, 1, -4, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kBottom, 0, 1, 1, -4, 8), 1);
  EXPECT_EQ(bar::ScrollTarget(bar::kPageUp, 0, 1, 1, -4, 8), 1);
}

TEST(BarGeometry, DragSnapsNearTheEndsAndReturnsHomeFarAway) {
  const CRect track(183, 15, 198, 135);
  BOOL snapBack = FALSE;
  EXPECT_EQ(bar::DragTop(track, 11, CPoint(190, 60), snapBack), 60);
  EXPECT_FALSE(snapBack);
  // Less than 30 pixels beyond either end counts as the end.
  EXPECT_EQ(bar::DragTop(track, 11, CPoint(190, -10), snapBack), 15);
  EXPECT_FALSE(snapBack);
  EXPECT_EQ(bar::DragTop(track, 11, CPoint(190, 160), snapBack), 124);
  EXPECT_FALSE(snapBack);
  // Not below the bottom place of the thumb.
  EXPECT_EQ(bar::DragTop(track, 11, CPoint(190, 130), snapBack), 124);
  bar::DragTop(track, 11, CPoint(190, 165), snapBack);
  EXPECT_TRUE(snapBack);
  bar::DragTop(track, 11, CPoint(190, -15), snapBack);
  EXPECT_TRUE(snapBack);
  bar::DragTop(track, 11, CPoint(150, 60), snapBack);  // beside the track
  EXPECT_TRUE(snapBack);
}

TEST(BarGeometry, DropAtTheBottomGivesMax) {
  const CRect track(183, 15, 198, 135);
  EXPECT_EQ(bar::DropPosition(track, 11, 1, 93, 124), 93);
  EXPECT_EQ(bar::DropPosition(track, 11, 1, 93, 15), 1);
  EXPECT_EQ(bar::DropPosition(track, 11, 1, 93, 123), 1 + 93 * 108 / 109);
  // A track no taller than the thumb has no room: the drop keeps to min.
  const CRect tiny(183, 15, 198, 20);
  EXPECT_EQ(bar::DropPosition(tiny, 11, 1, 5, 15), 1);
}

}  // namespace
