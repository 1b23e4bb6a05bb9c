// The media screens' arithmetic: placing media windows in their frame, the
// picture window's scroll strip, the home screen's dissolve, stepping through
// the gallery's selection, the controls and cursors of an item's type, and
// fitting a printed picture.
#include "media/media_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace media_logic;

CBitString Set(int bits, std::initializer_list<int> members) {
  CBitString set(bits, FALSE);
  for (int m : members) set.SetBit(m);
  return set;
}

TEST(MediaPlacement, AWindowLargerThanItsBoundsIsPushedLeftAndUpButNeverPastZero) {
  // Centred on (50, 40) a 300 x 200 window would stick out on every side.
  const CRect placed = PlaceCentredInBounds(CSize(300, 200), CPoint(50, 40), CRect(0, 0, 200, 150));
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  // Its left and top edges are set to 0 and its right and bottom edges stay:
  // (-100, -60)-(200, 140) becomes (0, 0)-(200, 140).
  EXPECT_EQ(placed.right, 200);
  EXPECT_EQ(placed.bottom, 140);
  // Beyond the bounds on the right and bottom: pushed in first.
  EXPECT_EQ(PlaceCentredInBounds(CSize(300, 200), CPoint(250, 150), CRect(0, 0, 200, 150)), CRect(0, 0, 200, 150));

  const CRect inside = PlaceCentredInBounds(CSize(40, 20), CPoint(100, 100), CRect(0, 0, 300, 300));
  EXPECT_EQ(inside, CRect(80, 90, 120, 110));
  const CRect nearEdge = PlaceCentredInBounds(CSize(40, 20), CPoint(290, 295), CRect(0, 0, 300, 300));
  EXPECT_EQ(nearEdge, CRect(260, 280, 300, 300));
}

TEST(MediaPlacement, KeepInsideMovesBackOnlyAsFarAsItSticksOut) {
  EXPECT_EQ(KeepInside(CRect(180, 10, 260, 50), CRect(0, 0, 200, 100)), CRect(120, 10, 200, 50));
  // Wider than the area: the left edge wins.
  EXPECT_EQ(KeepInside(CRect(50, 0, 350, 50), CRect(0, 0, 200, 100)), CRect(0, 0, 300, 50));
  EXPECT_EQ(KeepInside(CRect(10, 90, 50, 130), CRect(0, 0, 200, 100)), CRect(10, 60, 50, 100));
  EXPECT_EQ(KeepInside(CRect(10, 10, 50, 50), CRect(0, 0, 200, 100)), CRect(10, 10, 50, 50));
}

TEST(MediaPlacement, FitToParentKeepsASmallWindowAndTakesTheAreaWhereItIsLarger) {
  const CRect area(0, 0, 200, 100);
  // Smaller both ways: it stays where it was unless that passes the far edge.
  EXPECT_EQ(FitWindowToArea(CRect(10, 10, 60, 40), CSize(50, 30), area), CRect(10, 10, 60, 40));
  EXPECT_EQ(FitWindowToArea(CRect(180, 80, 230, 110), CSize(50, 30), area), CRect(150, 70, 200, 100));
  // Wider than the area: the area's width.
  EXPECT_EQ(FitWindowToArea(CRect(10, 10, 310, 40), CSize(300, 30), area), CRect(0, 10, 200, 40));
  // The strip window: picture + 4 wide, + 21 high, centred where smaller.
  EXPECT_EQ(FitStripWindowToArea(CSize(96, 50), area), CRect(50, 14, 150, 85));
  EXPECT_EQ(FitStripWindowToArea(CSize(400, 50), area), CRect(0, 14, 200, 85));
}

TEST(ScrollStrip, GeometryLiesAlongTheBottomOfTheBounds) {
  const StripGeometry g = MakeStripGeometry(CRect(0, 0, 300, 120), CSize(39, 13), CSize(13, 11));
  EXPECT_EQ(g.left, CRect(3, 104, 16, 117));
  EXPECT_EQ(g.right, CRect(284, 104, 297, 117));
  EXPECT_EQ(g.track, CRect(20, 104, 280, 117));
  EXPECT_EQ(g.thumb, CRect(20, 106, 33, 117));
}

TEST(ScrollStrip, ThumbAndPositionGoBothWaysAndStayInTheTrack) {
  const CRect track(20, 0, 280, 13);
  const int thumb = 13;
  EXPECT_EQ(ThumbLeft(0, 0, 20, track, thumb), 20);
  EXPECT_EQ(ThumbLeft(20, 0, 20, track, thumb), 267);  // at the maximum: the track's right end
  EXPECT_EQ(ThumbLeft(99, 0, 20, track, thumb), 267);
  EXPECT_EQ(ThumbLeft(5, 0, 0, track, thumb), 20);  // an empty range
  EXPECT_EQ(ThumbLeft(10, 0, 20, track, thumb), 20 + 10 * 247 / 21);
  EXPECT_EQ(PositionOfThumb(267, 0, 20, track, thumb), 20);
  EXPECT_EQ(PositionOfThumb(20, 0, 20, track, thumb), 0);
  for (int p = 0; p <= 20; ++p) {
    const int left = ThumbLeft(p, 0, 20, track, thumb);
    EXPECT_GE(left, track.left);
    EXPECT_LE(left + thumb, track.right);
    EXPECT_LE(PositionOfThumb(left, 0, 20, track, thumb), 20);
  }
  // A track no wider than the thumb never divides by zero.
  EXPECT_EQ(PositionOfThumb(20, 0, 20, CRect(20, 0, 30, 13), thumb), 0);
}

TEST(ScrollStrip, RangeAndScrollOffsets) {
  EXPECT_EQ(StripMaximum(1000, 300), 70);
  EXPECT_EQ(StripMaximum(300, 400), 0);
  EXPECT_EQ(ScrollOfPosition(70, 0, 70, 1000, 296), 704);
  EXPECT_EQ(ScrollOfPosition(0, 0, 70, 1000, 296), 0);
  EXPECT_EQ(ScrollOfPosition(5, 0, 0, 1000, 296), 0);
  EXPECT_EQ(PositionOfScroll(704, 0, 70, 1000, 296), 70);
  EXPECT_EQ(PositionOfScroll(10, 0, 70, 200, 296), 0);  // the picture fits
  EXPECT_EQ(ClampScroll(-5, 500, 200), 0);
  EXPECT_EQ(ClampScroll(400, 500, 200), 300);
  EXPECT_EQ(ClampScroll(40, 150, 200), 0);
}

TEST(RegionMask, RowsAreBottomUpWithTheWidthRoundedToFour) {
  // A 5 x 3 picture: stride 8, bottom row first.
  std::uint8_t mask[24] = {};
  mask[2 * 8 + 1] = 's';  // top row, x = 1
  mask[0 * 8 + 4] = 'e';  // bottom row, x = 4
  EXPECT_EQ(MaskByte(mask, sizeof mask, 5, 3, 1, 0), 's');
  EXPECT_EQ(MaskByte(mask, sizeof mask, 5, 3, 4, 2), 'e');
  EXPECT_EQ(MaskByte(mask, sizeof mask, 5, 3, 5, 0), 0);  // outside the picture
  EXPECT_EQ(MaskByte(mask, sizeof mask, 5, 3, -1, 0), 0);
  EXPECT_EQ(MaskByte(mask, 12, 5, 3, 1, 0), 0);  // a mask shorter than its rows is not read past its end
  EXPECT_EQ(MaskByte(nullptr, 0, 5, 3, 1, 0), 0);
}

TEST(Dissolve, EveryCellIsDrawnExactlyOnceWhateverTheRandomNumbers) {
  for (int pattern = 0; pattern < 3; ++pattern) {
    std::vector<std::uint8_t> taken(37, 0);
    std::set<int> drawn;
    for (int k = 0; k < 37; ++k) {
      // Always the top of the range, always 0, or a short cycle.
      const int r = pattern == 0 ? 0x7FFF : pattern == 1 ? 0 : (k * 9973) & 0x7FFF;
      const int cell = DissolveCell(taken, r);
      ASSERT_GE(cell, 0);
      ASSERT_LT(cell, 37);
      EXPECT_TRUE(drawn.insert(cell).second) << "cell " << cell << " drawn twice";
      taken[static_cast<std::size_t>(cell)] = 1;
    }
    EXPECT_EQ(drawn.size(), 37u);
    EXPECT_EQ(DissolveCell(taken, 100), -1);
  }
  // A random start on taken cells at the end falls back to the nearest free one below.
  std::vector<std::uint8_t> end = {0, 0, 1, 0, 1, 1};
  EXPECT_EQ(DissolveCell(end, 0x7FFF), 3);
  EXPECT_EQ(DissolveCell(std::vector<std::uint8_t>{}, 5), -1);
}

TEST(GalleryStepping, NextAndPreviousWrapAroundTheSelection) {
  const CBitString gallery = Set(40, {3, 7, 12, 20, 33});
  const CBitString selection = Set(40, {7, 12, 33});
  // Items are ranks in the gallery: 7 -> 1, 12 -> 2, 33 -> 4.
  EXPECT_EQ(NextItem(gallery, selection, 7), 2);
  EXPECT_EQ(NextItem(gallery, selection, 33), 1);  // the last wraps to the first
  EXPECT_EQ(PreviousItem(gallery, selection, 12), 1);
  EXPECT_EQ(PreviousItem(gallery, selection, 7), 4);  // the first wraps to the last
}

TEST(GalleryStepping, AnItemOutsideTheSelectionStepsFromItsNeighbours) {
  const CBitString gallery = Set(40, {3, 7, 12, 20, 33});
  const CBitString selection = Set(40, {7, 12, 33});
  // Article 20 (item 3) is shown from a search result.
  EXPECT_EQ(NextItem(gallery, selection, 20), 4);      // the selected article after it
  EXPECT_EQ(PreviousItem(gallery, selection, 20), 2);  // the selected article before it
  EXPECT_EQ(NextItem(gallery, selection, 35), 1);      // past the last selected: the first
  EXPECT_EQ(PreviousItem(gallery, selection, 35), 4);
  EXPECT_EQ(PreviousItem(gallery, selection, 3), 4);  // before the first selected: the last
  // No item shown yet.
  EXPECT_EQ(NextItem(gallery, selection, 0), 1);
  EXPECT_EQ(NextItem(gallery, Set(40, {}), 7), -1);
  EXPECT_EQ(PreviousItem(gallery, Set(40, {}), 7), -1);
}

TEST(GalleryStepping, TheGalleryOpensOnItsPreferredItemOnlyWhereItHasIt) {
  EXPECT_EQ(OpeningItem(561, 562), 561);
  EXPECT_EQ(OpeningItem(561, 561), 0);  // one item short: the first
  EXPECT_EQ(OpeningItem(561, 5), 0);
  EXPECT_EQ(OpeningItem(561, 0), 0);
}

TEST(ItemControls, TheButtonsAndMenuItemsFollowTheType) {
  const ItemControls panorama = ControlsForType(10, true);
  EXPECT_TRUE(panorama.vrShown);
  EXPECT_FALSE(panorama.printEnabled);
  EXPECT_FALSE(panorama.soundShown);
  EXPECT_TRUE(panorama.vrMenu);
  // Movies show the sound button disabled whatever their sound record says.
  for (bool sound : {false, true}) {
    const ItemControls movie = ControlsForType(6, sound);
    EXPECT_TRUE(movie.soundShown);
    EXPECT_FALSE(movie.soundEnabled);
    EXPECT_FALSE(movie.soundMenu);
    EXPECT_TRUE(ControlsForType(7, sound).soundShown && !ControlsForType(7, sound).soundEnabled);
  }
  const ItemControls clickable = ControlsForType(9, false);
  EXPECT_TRUE(clickable.legendShown && clickable.legendMenu && clickable.printEnabled && !clickable.soundShown);
  EXPECT_TRUE(ControlsForType(1, true).soundEnabled);
  EXPECT_FALSE(ControlsForType(1, false).soundEnabled);
  EXPECT_FALSE(ControlsForType(0, false).soundMenu);
}

TEST(ItemControls, ThumbnailCursorsTellTheKindAndASoundComesFirst) {
  EXPECT_EQ(ThumbnailCursor(6, true), 1121u);
  EXPECT_EQ(ThumbnailCursor(10, true), 1121u);
  EXPECT_EQ(ThumbnailCursor(6, false), 1123u);
  EXPECT_EQ(ThumbnailCursor(7, false), 1122u);
  EXPECT_EQ(ThumbnailCursor(2, false), 1211u);
  EXPECT_EQ(ThumbnailCursor(3, false), 1210u);
  EXPECT_EQ(ThumbnailCursor(4, false), 1209u);
  EXPECT_EQ(ThumbnailCursor(10, false), 2041u);
  EXPECT_EQ(ThumbnailCursor(8, false), 2040u);
  EXPECT_EQ(ThumbnailCursor(9, false), 2040u);
  EXPECT_EQ(ThumbnailCursor(1, false), 1120u);
  EXPECT_EQ(ThumbnailCursor(200, false), 1120u);
}

TEST(Printing, TheFittedImage) {
  // A wide picture takes the width; a tall one the height; both centred.
  EXPECT_EQ(FitPrintedImage(CRect(0, 0, 1000, 1000), 200, 100), CRect(0, 250, 1000, 750));
  EXPECT_EQ(FitPrintedImage(CRect(100, 0, 1100, 1000), 100, 400), CRect(475, 0, 725, 1000));
  EXPECT_TRUE(FitPrintedImage(CRect(0, 0, 100, 100), 0, 10).IsRectEmpty());
  EXPECT_EQ(AddItemText("A comet's tail"), CString("Add \"A comet's tail\""));
}

}  // namespace
