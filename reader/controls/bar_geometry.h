// The arithmetic of the skinned scroll bar that every list draws in its
// non-client area: where its parts lie, where the thumb stands for a position,
// which position a scroll code or a thumb drop gives. No window is needed, so
// this part builds in every tree and is tested under the sanitizers.
#pragma once

#include "afx_core.h"

namespace bar {

// The frame around the client area and the width of the bar strip.
constexpr int kFrame = 2;
constexpr int kBarWidth = 17;
// A drag point this close beyond the track's ends counts as the end.
constexpr int kSnapDistance = 30;

// Scroll-bar codes (the system's SB_ values).
enum ScrollCode { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kTop = 6, kBottom = 7 };

// Sizes of the three bar bitmaps: arrow strips of three frames and the thumb.
struct BarBitmaps {
  int arrowFrameWidth = 0;
  int upHeight = 0;
  int downHeight = 0;
  int thumbWidth = 0;
  int thumbHeight = 0;
};

// Part rectangles in window coordinates (origin at the window's corner).
struct BarLayout {
  CRect up;
  CRect down;
  CRect track;
  CRect thumb;
};

// The client rectangle of a window rectangle: 2 pixels of frame and the bar.
CRect ClientOf(const CRect& window);
// The parts for a window of width x height; the thumb at the track's top.
BarLayout Layout(int width, int height, const BarBitmaps& bitmaps);
// Thumb top for a position: the track top when the range is empty, the
// bottom place only at max.
int ThumbTop(const CRect& track, int thumbHeight, int min, int max, int pos);
// The position a scroll code leads to (the same position for unknown codes);
// an empty range (max below min) counts as max = min.
int ScrollTarget(int code, int position, int pos, int min, int max, int page);
// Where the dragged outline's top goes for a pointer y, or `snapBack` (TRUE)
// when the pointer is outside the track and the outline returns home.
int DragTop(const CRect& track, int thumbHeight, CPoint point, BOOL& snapBack);
// The position for a thumb dropped with its top at y.
int DropPosition(const CRect& track, int thumbHeight, int min, int max, int y);

}  // namespace bar
