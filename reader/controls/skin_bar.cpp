#include "controls/skin_bar.h"

#include <memory>

namespace {

BOOL AsyncButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

struct SkinSet {
  int skin;
  UINT up, down, thumb;
};
constexpr SkinSet kSkins[] = {
    {kSkinEncyclopedia, 4034, 4031, 4033},
    {kSkinDictionary, 1201, 1200, 1204},
    {kSkinMedia, 4154, 4155, 4156},
    {kSkinTimeline, 4172, 4168, 4153},
};

// A 1-pixel wide or high run painted with the brush selected in the DC.
void Line(CDC& dc, int x, int y, int width, int height) { dc.PatBlt(x, y, width, height, PATCOPY); }

}  // namespace

BOOL (*CSkinBar::s_isButtonDown)() = AsyncButtonDown;

BOOL CSkinBar::LoadSkin(int skin) {
  for (const SkinSet& set : kSkins) {
    if (set.skin != skin) continue;
    m_skin = skin;
    // The selection in the band's brush, the track in the background's.
    const SkinBrushes brushes = BrushesOf(skin);
    SetBrushes(brushes.edge, brushes.band, brushes.background);
    return LoadBitmaps(set.up, set.down, set.thumb);
  }
  return FALSE;
}

BOOL CSkinBar::LoadBitmaps(UINT upId, UINT downId, UINT thumbId) {
  m_upBitmap.DeleteObject();
  m_downBitmap.DeleteObject();
  m_thumbBitmap.DeleteObject();
  const BOOL loaded =
      Skin().LoadDIB(upId, m_upBitmap) & Skin().LoadDIB(downId, m_downBitmap) & Skin().LoadDIB(thumbId, m_thumbBitmap);
  const CSize up = BitmapSize(m_upBitmap);
  const CSize down = BitmapSize(m_downBitmap);
  const CSize thumb = BitmapSize(m_thumbBitmap);
  m_sizes.arrowFrameWidth = up.cx / 3;
  m_sizes.upHeight = up.cy;
  m_sizes.downHeight = down.cy;
  m_sizes.thumbWidth = thumb.cx;
  m_sizes.thumbHeight = thumb.cy;
  return loaded;
}

void CSkinBar::Layout() {
  if (m_window == nullptr || m_window->GetSafeHwnd() == nullptr) return;
  CRect window;
  m_window->GetWindowRect(&window);
  m_layout = bar::Layout(window.Width(), window.Height(), m_sizes);
}

void CSkinBar::CalcClient(NCCALCSIZE_PARAMS* params, int frame) {
  RECT& r = params->rgrc[0];
  r.left += frame;
  r.top += frame;
  r.right -= frame + bar::kBarWidth;
  r.bottom -= frame;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

void CSkinBar::PaintFrame(CWnd* window, int edgeBrush, int trackBrush, BOOL withBar, BOOL foreground) {
  CWindowDC dc(window);
  CSkinPaletteScope palette(&dc, foreground);
  CRect rect;
  window->GetWindowRect(&rect);
  const int w = rect.Width();
  const int h = rect.Height();
  CBrush* track = Skin().GetBrush(trackBrush);
  CBrush* edge = Skin().GetBrush(edgeBrush);
  CBrush* old = dc.SelectObject(track);
  if (withBar) Line(dc, w - 17, 0, 15, h - 2);
  dc.SelectObject(edge);
  Line(dc, 1, 1, w - 1, 1);
  Line(dc, w - 1, 1, 1, h - 1);
  Line(dc, 1, h - 1, w - 1, 1);
  Line(dc, 1, 1, 1, h - 1);
  dc.SelectObject(track);
  Line(dc, 0, 0, w - 1, 1);
  Line(dc, w - 2, 0, 1, h - 1);
  Line(dc, 0, h - 2, w - 1, 1);
  Line(dc, 0, 0, 1, h - 1);
  if (withBar) {
    Line(dc, w - 19, 0, 1, h - 1);
    dc.SelectObject(edge);
    Line(dc, w - 18, 1, 1, h - 3);
  }
  dc.SelectObject(old);
}

void CSkinBar::Paint(BOOL withBar) {
  PaintFrame(m_window, m_edgeBrush, m_trackBrush, withBar, m_palette == BarPalette::Foreground);
  if (!withBar) return;
  DrawUpArrow();
  DrawDownArrow();
  DrawThumb();
}

void CSkinBar::DrawArrow(const CRect& rect, CBitmap& strip, int frame) {
  CWindowDC dc(m_window);
  CSkinPaletteScope palette(&dc, m_palette == BarPalette::Foreground);
  BlitBitmap(&dc, strip, rect.left, rect.top, m_sizes.arrowFrameWidth, rect.Height(), frame * m_sizes.arrowFrameWidth,
             0);
}

void CSkinBar::DrawUpArrow() { DrawArrow(m_layout.up, m_upBitmap, m_upFrame); }
void CSkinBar::DrawDownArrow() { DrawArrow(m_layout.down, m_downBitmap, m_downFrame); }

void CSkinBar::DrawThumb() {
  CWindowDC dc(m_window);
  CSkinPaletteScope palette(&dc, m_palette == BarPalette::Foreground);
  BlitBitmap(&dc, m_thumbBitmap, m_layout.thumb.left, m_layout.thumb.top, m_sizes.thumbWidth, m_sizes.thumbHeight, 0,
             0);
}

void CSkinBar::UpdateArrows() {
  const int frame = m_max > m_min ? kNormal : kDisabled;
  m_upFrame = frame;
  m_downFrame = frame;
  if (m_window == nullptr || m_window->GetSafeHwnd() == nullptr) return;
  DrawUpArrow();
  DrawDownArrow();
}

void CSkinBar::MoveThumb(BOOL redraw) {
  const int top = bar::ThumbTop(m_layout.track, m_sizes.thumbHeight, m_min, m_max, m_pos);
  const int distance = top - m_layout.thumb.top;
  m_layout.thumb.top = top;
  m_layout.thumb.bottom = top + m_sizes.thumbHeight;
  if (!redraw || distance == 0 || m_window == nullptr || m_window->GetSafeHwnd() == nullptr) return;
  CWindowDC dc(m_window);
  std::unique_ptr<CSkinPaletteScope> palette;
  if (m_palette != BarPalette::None) {
    palette = std::make_unique<CSkinPaletteScope>(&dc, m_palette == BarPalette::Foreground);
  }
  CBrush* old = dc.SelectObject(Skin().GetBrush(m_trackBrush));
  CRect uncovered;
  const CRect track = m_layout.track;
  dc.ScrollDC(0, distance, &track, &track, nullptr, &uncovered);
  if (!uncovered.IsRectEmpty())
    dc.PatBlt(uncovered.left, uncovered.top, uncovered.Width(), uncovered.Height(), PATCOPY);
  dc.SelectObject(old);
}

void CSkinBar::StopTimer() {
  if (m_timer != 0 && m_window != nullptr && m_window->GetSafeHwnd() != nullptr) m_window->KillTimer(m_timer);
  m_timer = 0;
}

CPoint CSkinBar::WindowPoint(CPoint screen) const {
  CRect window;
  m_window->GetWindowRect(&window);
  return CPoint(screen.x - window.left, screen.y - window.top);
}

CPoint CSkinBar::CursorWindowPoint() const {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return WindowPoint(cursor);
}

void CSkinBar::DrawOutline(const CRect& rect) {
  CWindowDC dc(m_window);
  dc.DrawFocusRect(&rect);
}

void CSkinBar::Press(CPoint screen) {
  StopTimer();
  if (m_min >= m_max) return;
  const CPoint point = WindowPoint(screen);
  int part = -1;
  if (m_layout.thumb.PtInRect(point)) {
    m_window->SetFocus();
    m_window->SetCapture();
    m_dragRect = m_layout.thumb;
    m_savedRect = m_layout.thumb;
    m_dragging = TRUE;
    DrawOutline(m_dragRect);
    m_outlineDrawn = TRUE;
    return;
  }
  if (m_layout.track.PtInRect(point)) {
    m_window->SetFocus();
    m_window->SetCapture();
    part = point.y < m_layout.thumb.top ? kPageUp : kPageDown;
  } else if (m_layout.up.PtInRect(point)) {
    part = kUpArrow;
  } else if (m_layout.down.PtInRect(point)) {
    part = kDownArrow;
  }
  if (part >= 0) m_window->SendMessage(WM_SCROLL_PART, part, static_cast<LPARAM>(-1));
}

void CSkinBar::OnScrollPart(int part, int flag) {
  StopTimer();
  if (!s_isButtonDown()) return;
  const CPoint cursor = CursorWindowPoint();
  switch (part) {
    case kUpArrow:
    case kDownArrow: {
      const CRect& rect = part == kUpArrow ? m_layout.up : m_layout.down;
      int& frame = part == kUpArrow ? m_upFrame : m_downFrame;
      if (rect.PtInRect(cursor)) {
        frame = kPressed;
        m_owner->Scroll(part == kUpArrow ? bar::kLineUp : bar::kLineDown, 0);
        m_window->UpdateWindow();
        part == kUpArrow ? DrawUpArrow() : DrawDownArrow();
      } else if (frame == kPressed) {
        frame = kNormal;
        part == kUpArrow ? DrawUpArrow() : DrawDownArrow();
      }
      break;
    }
    case kPageUp:
      if (m_layout.track.PtInRect(cursor) && cursor.y < m_layout.thumb.top) {
        m_owner->Scroll(bar::kPageUp, 0);
        m_window->UpdateWindow();
      }
      break;
    case kPageDown:
      if (m_layout.track.PtInRect(cursor) && cursor.y >= m_layout.thumb.bottom) {
        m_owner->Scroll(bar::kPageDown, 0);
        m_window->UpdateWindow();
      }
      break;
    default: return;
  }
  if (m_repeat == BarRepeat::Posted && flag != -1) {
    m_window->PostMessage(WM_SCROLL_PART, part, 0);
    return;
  }
  UINT interval = 500;
  if (flag != -1) interval = (m_repeat == BarRepeat::Uniform || part >= kPageUp) ? 200 : 20;
  m_timer = m_window->SetTimer(m_timerBase + part, interval);
}

void CSkinBar::Drag(CPoint client) {
  CPoint screen = client;
  m_window->ClientToScreen(&screen);
  const CPoint point = WindowPoint(screen);
  BOOL snapBack = FALSE;
  const int top = bar::DragTop(m_layout.track, m_sizes.thumbHeight, point, snapBack);
  if (snapBack) {
    if (m_dragRect.top == m_savedRect.top) return;
    if (m_outlineDrawn) DrawOutline(m_dragRect);
    DrawOutline(m_savedRect);
    m_outlineDrawn = TRUE;
    m_dragRect = m_savedRect;
    return;
  }
  if (top == m_dragRect.top) return;
  if (m_outlineDrawn) DrawOutline(m_dragRect);
  m_dragRect.top = top;
  m_dragRect.bottom = top + m_sizes.thumbHeight;
  DrawOutline(m_dragRect);
  m_outlineDrawn = TRUE;
}

BOOL CSkinBar::Release() {
  StopTimer();
  if (m_upFrame == kPressed) {
    m_upFrame = kNormal;
    DrawUpArrow();
  }
  if (m_downFrame == kPressed) {
    m_downFrame = kNormal;
    DrawDownArrow();
  }
  if (!m_dragging) {
    if (::GetCapture() == m_window->GetSafeHwnd()) ::ReleaseCapture();
    return FALSE;
  }
  m_dragging = FALSE;
  if (::GetCapture() == m_window->GetSafeHwnd()) ::ReleaseCapture();
  if (m_outlineDrawn) DrawOutline(m_dragRect);
  m_outlineDrawn = FALSE;
  const int next = bar::DropPosition(m_layout.track, m_sizes.thumbHeight, m_min, m_max, m_dragRect.top);
  if (next != m_pos) m_owner->Scroll(bar::kThumbPosition, next);
  return TRUE;
}

BOOL CSkinBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_NCPAINT:
      Paint();
      result = 0;
      return TRUE;
    case WM_NCHITTEST: {
      const CPoint at = WindowPoint(point);
      if (m_layout.up.PtInRect(at) || m_layout.down.PtInRect(at) || m_layout.thumb.PtInRect(at) ||
          m_layout.track.PtInRect(at)) {
        result = HTBORDER;
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCLBUTTONDBLCLK:
      if (!m_handleDoubleClick) return FALSE;
      [[fallthrough]];
    case WM_NCLBUTTONDOWN:
      Press(point);
      result = 0;
      return TRUE;
    case WM_MOUSEMOVE:
      if (!m_dragging) return FALSE;
      Drag(point);
      result = 0;
      return TRUE;
    case WM_LBUTTONUP: result = 0; return Release();
    case WM_SCROLL_PART:
      OnScrollPart(static_cast<int>(wParam), static_cast<int>(lParam));
      result = 0;
      return TRUE;
    case WM_TIMER:
      if (wParam >= m_timerBase && wParam < m_timerBase + 4) {
        OnScrollPart(static_cast<int>(wParam - m_timerBase), 0);
        result = 0;
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY: StopTimer(); return FALSE;
    default: return FALSE;
  }
}
