#include "controls/bar_geometry.h"

namespace bar {

CRect ClientOf(const CRect& window) {
  CRect client(window.left + kFrame, window.top + kFrame, window.right - kFrame - kBarWidth, window.bottom - kFrame);
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

BarLayout Layout(int width, int height, const BarBitmaps& bitmaps) {
  BarLayout layout;
  const CRect inset(0, 3, width - 3, height - 3);
  layout.up = CRect(width - 3 - bitmaps.arrowFrameWidth, 3, width - 3, 3 + bitmaps.upHeight);
  layout.down = CRect(width - 3 - bitmaps.arrowFrameWidth, height - 3 - bitmaps.downHeight, width - 3, height - 3);
  // The up arrow's height is taken at both ends.
  layout.track = CRect(width - 3 - bitmaps.thumbWidth - 1, inset.top + bitmaps.upHeight + 4, width - 2,
                       inset.bottom - bitmaps.upHeight - 4);
  layout.thumb =
      CRect(width - 3 - bitmaps.thumbWidth, layout.track.top, width - 3, layout.track.top + bitmaps.thumbHeight);
  return layout;
}

int ThumbTop(const CRect& track, int thumbHeight, int min, int max, int pos) {
  const int top = track.top;
  const int bottom = track.bottom;
  if (min >= max) return top;
  if (pos >= max) return bottom - thumbHeight;
  if (pos <= min) return top;
  return top + (bottom - thumbHeight - top) * (pos - min) / (max - min + 1);
}

int ScrollTarget(int code, int position, int pos, int min, int max, int page) {
  // With fewer rows than a page the range is empty (max below min): nothing
  // scrolls then, rather than to a position before the first row.
  if (max < min) max = min;
  int next = pos;
  switch (code) {
    case kLineUp: next = pos - 1 < min ? min : pos - 1; break;
    case kLineDown: next = pos + 1 > max ? max : pos + 1; break;
    case kPageUp: next = pos - page + 1 < min ? min : pos - page + 1; break;
    case kPageDown: next = pos + page - 1 > max ? max : pos + page - 1; break;
    case kThumbPosition: next = position; break;
    case kTop: next = min; break;
    case kBottom: next = max; break;
    default: break;
  }
  return next;
}

int DragTop(const CRect& track, int thumbHeight, CPoint point, BOOL& snapBack) {
  snapBack = FALSE;
  int y = point.y;
  if (y < track.top && y > track.top - kSnapDistance) y = track.top;
  if (y >= track.bottom && y < track.bottom + kSnapDistance) y = track.bottom - 1;
  if (point.x < track.left || point.x >= track.right || y < track.top || y >= track.bottom) {
    snapBack = TRUE;
    return 0;
  }
  const int lowest = track.bottom - thumbHeight;
  return y > lowest ? lowest : y;
}

int DropPosition(const CRect& track, int thumbHeight, int min, int max, int y) {
  const int span = track.bottom - thumbHeight - track.top;
  if (y == track.bottom - thumbHeight) return max;
  // A track no taller than the thumb has no room to drag in: keep to the start.
  if (span <= 0) return min;
  const int next = min + (max - min + 1) * (y - track.top) / span;
  if (next < min) return min;
  return next > max ? max : next;
}

}  // namespace bar
