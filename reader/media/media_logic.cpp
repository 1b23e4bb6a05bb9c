#include "media/media_logic.h"

#include <algorithm>
#include <utility>

namespace media_logic {

CRect PlaceCentredInBounds(CSize size, CPoint centre, const CRect& bounds) {
  CRect frame(0, 0, size.cx, size.cy);
  frame.OffsetRect(centre.x - size.cx / 2, centre.y - size.cy / 2);
  if (frame.right > bounds.right) frame.OffsetRect(bounds.right - frame.right, 0);
  if (frame.bottom > bounds.bottom) frame.OffsetRect(0, bounds.bottom - frame.bottom);
  if (frame.left <= 0) frame.left = 0;
  if (frame.top <= 0) frame.top = 0;
  return frame;
}

CRect KeepInside(const CRect& window, const CRect& area) {
  CRect moved = window;
  if (moved.right > area.right) moved.OffsetRect(area.right - moved.right, 0);
  if (moved.left < area.left) moved.OffsetRect(area.left - moved.left, 0);
  if (moved.bottom > area.bottom) moved.OffsetRect(0, area.bottom - moved.bottom);
  if (moved.top < area.top) moved.OffsetRect(0, area.top - moved.top);
  return moved;
}

namespace {

// One axis of FitWindowToArea: a frame shorter than the area keeps its
// start, pulled back so that its end stays inside; a longer one takes the
// whole area.
std::pair<int, int> FitSpan(int start, int length, int areaStart, int areaEnd) {
  if (length >= areaEnd - areaStart) return {areaStart, areaEnd};
  const int fittedStart = std::min<int>(start, areaEnd - length);
  return {fittedStart, fittedStart + length};
}

}  // namespace

CRect FitWindowToArea(const CRect& window, CSize frameSize, const CRect& area) {
  const auto [left, right] = FitSpan(window.left, frameSize.cx, area.left, area.right);
  const auto [top, bottom] = FitSpan(window.top, frameSize.cy, area.top, area.bottom);
  return CRect(left, top, right, bottom);
}

CRect FitStripWindowToArea(CSize picture, const CRect& area) {
  const int width = picture.cx + 4, height = picture.cy + 4 + 17;
  CRect fitted = area;
  if (width < area.Width()) {
    fitted.left = area.left + (area.Width() - width) / 2;
    fitted.right = fitted.left + width;
  }
  if (height < area.Height()) {
    fitted.top = area.top + (area.Height() - height) / 2;
    fitted.bottom = fitted.top + height;
  }
  return fitted;
}

StripGeometry MakeStripGeometry(const CRect& bounds, CSize arrowBitmap, CSize thumbBitmap) {
  const CRect strip(bounds.left + 3, bounds.top, bounds.right - 3, bounds.bottom - 3);
  const int arrowWidth = arrowBitmap.cx / 3;
  StripGeometry g;
  g.left = CRect(strip.left, strip.bottom - arrowBitmap.cy, strip.left + arrowWidth, strip.bottom);
  g.right = CRect(strip.right - arrowWidth, strip.bottom - arrowBitmap.cy, strip.right, strip.bottom);
  g.track =
      CRect(strip.left + arrowWidth + 4, strip.bottom - arrowBitmap.cy, strip.right - arrowWidth - 4, strip.bottom);
  g.thumb = CRect(g.track.left, g.track.bottom - thumbBitmap.cy, g.track.left + thumbBitmap.cx, g.track.bottom);
  return g;
}

int ThumbLeft(int p, int min, int max, const CRect& track, int thumbWidth) {
  if (max <= min) return track.left;
  if (p >= max) return track.right - thumbWidth;
  const int travel = std::max<int>(track.Width() - thumbWidth, 0);
  return track.left + (std::max(p, min) - min) * travel / (max - min + 1);
}

int PositionOfThumb(int thumbLeft, int min, int max, const CRect& track, int thumbWidth) {
  const int travel = track.Width() - thumbWidth;
  if (max <= min || travel <= 0) return min;
  if (thumbLeft >= track.right - thumbWidth) return max;
  const int position = min + (max - min + 1) * (std::max<int>(thumbLeft - track.left, 0)) / travel;
  return std::min(position, max);
}

int StripMaximum(int pictureWidth, int windowWidth) { return std::max((pictureWidth - windowWidth) / 10, 0); }

int ScrollOfPosition(int p, int min, int max, int pictureWidth, int clientWidth) {
  const int extent = pictureWidth - clientWidth;
  if (max <= min || extent <= 0) return 0;
  return ClampScroll(p * extent / (max - min), pictureWidth, clientWidth);
}

int PositionOfScroll(int x, int min, int max, int pictureWidth, int clientWidth) {
  const int extent = pictureWidth - clientWidth;
  if (max <= min || extent <= 0) return min;
  return min + (max - min) * x / extent;
}

int ClampScroll(int offset, int extent, int client) {
  if (extent <= client) return 0;
  return std::clamp(offset, 0, extent - client);
}

std::uint8_t MaskByte(const std::uint8_t* mask, std::size_t maskSize, int width, int height, int x, int y) {
  if (!mask || x < 0 || y < 0 || x >= width || y >= height) return 0;
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  const std::size_t at = static_cast<std::size_t>(height - y - 1) * stride + static_cast<std::size_t>(x);
  return at < maskSize ? mask[at] : 0;
}

int DissolveCell(const std::vector<std::uint8_t>& taken, int r) {
  const int n = static_cast<int>(taken.size());
  if (n == 0) return -1;
  int i = static_cast<int>(static_cast<long long>(r) * (n - 1) / 0x7FFF);
  i = std::clamp(i, 0, n - 1);
  int at = i;
  while (at < n && taken[static_cast<std::size_t>(at)]) ++at;
  if (at < n) return at;
  for (at = n - 1; at >= 0; --at)
    if (!taken[static_cast<std::size_t>(at)]) return at;
  return -1;
}

namespace {
int ItemOf(const CBitString& gallery, const CBitString& selection, int k) {
  const int article = selection.GetAt(k);
  return article > 0 ? gallery.IndexOf(article) : -1;
}
}  // namespace

int NextItem(const CBitString& gallery, const CBitString& selection, int article) {
  const int count = selection.GetSetCount();
  if (count <= 0) return -1;
  const int at = article > 0 ? selection.NextSet(article) : -1;
  // At or after the current article: the member after it; past the last, the first.
  int k = (at > 0 ? selection.IndexOf(at) : -1) + 1;
  if (at > 0 && at != article) k -= 1;
  if (k >= count) k = 0;
  return ItemOf(gallery, selection, k + 1);
}

int OpeningItem(int preferred, int itemCount) { return preferred < itemCount ? preferred : 0; }

int PreviousItem(const CBitString& gallery, const CBitString& selection, int article) {
  const int count = selection.GetSetCount();
  if (count <= 0) return -1;
  int r = article > 0 ? selection.IndexOf(article) : -1;
  if (r < 0) {
    // Outside the selection: the member before the first one after it.
    const int after = article > 0 ? selection.NextSet(article) : -1;
    r = after > 0 ? selection.IndexOf(after) : count;
    if (r == count) return ItemOf(gallery, selection, count);
  }
  const int k = r == 0 ? count : r;
  return ItemOf(gallery, selection, k);
}

ItemControls ControlsForType(int type, bool hasSound) {
  switch (type) {
    case 8:
    case 9: return {false, false, true, false, true, false, true, false};
    case 10: return {false, false, false, true, false, false, false, true};
    case 6:
    case 7: return {true, false, false, false, true, false, false, false};
    default: return {true, hasSound, false, false, true, hasSound, false, false};
  }
}

unsigned ThumbnailCursor(int type, bool hasSound) {
  if (hasSound) return 1121;
  switch (type) {
    case 6: return 1123;
    case 7: return 1122;
    case 2: return 1211;
    case 3: return 1210;
    case 4: return 1209;
    case 10: return 2041;
    case 8:
    case 9: return 2040;
    default: return 1120;
  }
}

CRect FitPrintedImage(const CRect& area, int w, int h) {
  const int W = area.Width(), H = area.Height();
  if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return CRect(area.left, area.top, area.left, area.top);
  int width = W;
  int height = static_cast<int>(static_cast<long long>(h) * W / w);
  if (height > H) {
    width = static_cast<int>(static_cast<long long>(W) * H / height);
    height = H;
  }
  const int left = area.left + (W - width) / 2, top = area.top + (H - height) / 2;
  return CRect(left, top, left + width, top + height);
}

CString AddItemText(const CString& title) { return CString("Add \"") + title + "\""; }

}  // namespace media_logic
