// Drawing the hot spots' marks on a picture.
#include "core/hot_spot.h"

namespace {

// Frames the polygon 3 x 3 pixels in XOR, so a second frame removes the first.
void FramePolygon(CDC* dc, const HotSpotPolygon& polygon) {
  if (!dc || polygon.Points().size() < 3) return;
  CRgn region;
  if (!region.CreatePolygonRgn(polygon.Points().data(), static_cast<int>(polygon.Points().size()), ALTERNATE)) return;
  const int oldMode = ::SetROP2(dc->m_hDC, R2_XORPEN);
  ::FrameRgn(dc->m_hDC, static_cast<HRGN>(region.m_hObject), static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), 3, 3);
  ::SetROP2(dc->m_hDC, oldMode);
}

}  // namespace

void CRectHotSpot::Highlight(CDC* dc) {
  if (dc) ::InvertRect(dc->m_hDC, &m_rect);
}

void CPolygonHotSpot::Highlight(CDC* dc) { FramePolygon(dc, m_polygon); }
