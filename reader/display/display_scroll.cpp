// CDisplay: scrolling by lines, and the skinned scroll bar in the non-client
// area (up and down arrows, previous and next find hit, track and thumb).
#include <algorithm>

#include "controls/skin_environment.h"
#include "display/display.h"
#include "display/text_scroll.h"

using display::kNone;

namespace {

struct SkinBitmaps {
  int skin;
  UINT up, down, previous, next, thumb;
  int brushes;  // the first of the skin's edge, inner frame and track brushes
};
constexpr SkinBitmaps kSkins[] = {
    {kSkinEncyclopedia, 4034, 4031, 4035, 4032, 4033, 0},
    {kSkinDictionary, 1201, 1200, 1203, 1202, 1204, 6},
    {kSkinTimeline, 4172, 4168, 4173, 4169, 4153, 12},
};

const SkinBitmaps& SkinOf(int skinType) {
  for (const SkinBitmaps& skin : kSkins) {
    if (skin.skin == skinType) return skin;
  }
  return kSkins[0];
}

// Frames of a button strip: normal, pressed, disabled.
constexpr int kButtonFrames = 3;

void Blit(CDC* dc, CBitmap& bitmap, const CRect& rect, int sourceX) {
  if (rect.IsRectEmpty()) return;
  BlitBitmap(dc, bitmap, rect.left, rect.top, rect.Width(), rect.Height(), sourceX, 0);
}

}  // namespace

void CDisplay::LoadSkin(int skinType) {
  m_skinType = skinType;
  const SkinBitmaps& skin = SkinOf(skinType);
  const UINT ids[4] = {skin.up, skin.down, skin.previous, skin.next};
  for (int i = 0; i < 4; ++i) {
    m_buttonBitmap[i].DeleteObject();
    DisplayServices().LoadBitmap(ids[i], m_buttonBitmap[i]);
  }
  m_thumbBitmap.DeleteObject();
  DisplayServices().LoadBitmap(skin.thumb, m_thumbBitmap);
}

CPoint CDisplay::WindowPoint(CPoint screen) const {
  CRect window;
  GetWindowRect(&window);
  return CPoint(screen.x - window.left, screen.y - window.top);
}

CRect CDisplay::ClientInWindow() const {
  CRect client;
  GetClientRect(&client);
  CPoint origin(0, 0);
  ClientToScreen(&origin);
  const CPoint at = WindowPoint(origin);
  client.OffsetRect(at.x, at.y);
  return client;
}

void CDisplay::LayoutBar() {
  if (m_hWnd == nullptr) return;
  CRect window;
  GetWindowRect(&window);
  const int right = window.Width() - 3;
  CSize size[4];
  for (int i = 0; i < 4; ++i) {
    const CSize strip = BitmapSize(m_buttonBitmap[i]);
    size[i] = CSize(strip.cx / kButtonFrames, strip.cy);
  }
  CRect& up = m_buttonRect[kUpArrow];
  CRect& down = m_buttonRect[kDownArrow];
  up = CRect(right - size[kUpArrow].cx, 3, right, 3 + size[kUpArrow].cy);
  down = CRect(right - size[kDownArrow].cx, window.Height() - 3 - size[kDownArrow].cy, right, window.Height() - 3);
  // The hit buttons stand centred under the arrows, 2 pixels from them.
  const int previousLeft = up.left + (up.Width() - size[kPreviousHit].cx) / 2;
  m_buttonRect[kPreviousHit] =
      CRect(previousLeft, up.bottom + 2, previousLeft + size[kPreviousHit].cx, up.bottom + 2 + size[kPreviousHit].cy);
  const int nextLeft = down.left + (down.Width() - size[kNextHit].cx) / 2;
  m_buttonRect[kNextHit] =
      CRect(nextLeft, down.top - 2 - size[kNextHit].cy, nextLeft + size[kNextHit].cx, down.top - 2);
  m_track = CRect(up.left, m_buttonRect[kPreviousHit].bottom + 2, up.right, m_buttonRect[kNextHit].top - 2);
  if (m_track.bottom < m_track.top) m_track.bottom = m_track.top;
  const CSize thumb = BitmapSize(m_thumbBitmap);
  const int thumbLeft = up.left + (up.Width() - thumb.cx) / 2;
  m_thumb = CRect(thumbLeft, m_track.top, thumbLeft + thumb.cx, m_track.top + thumb.cy);
  PlaceThumb();
}

void CDisplay::PlaceThumb() {
  const int height = m_thumb.Height();
  int top = display::ThumbTop(m_track.top, m_track.Height(), height, m_topLine, m_firstLine, m_lastLine);
  top = std::max(top, static_cast<int>(m_track.top));
  m_thumb.OffsetRect(0, top - m_thumb.top);
}

void CDisplay::PaintBar(CDC* dc) {
  CRect window;
  GetWindowRect(&window);
  window.OffsetRect(-window.left, -window.top);
  const CRect client = ClientInWindow();
  const int saved = dc->SaveDC();
  dc->ExcludeClipRect(&client);
  CSkinPaletteScope palette(dc, FALSE, DisplayServices().GetPalette());
  const int brushes = SkinOf(m_skinType).brushes;
  dc->FillRect(&window, DisplayServices().GetBrush(brushes + 2));
  for (int i = 0; i < 4; ++i) {
    Blit(dc, m_buttonBitmap[i], m_buttonRect[i], m_buttonState[i] * m_buttonRect[i].Width());
  }
  Blit(dc, m_thumbBitmap, m_thumb, 0);
  if (GetStyle() & WS_BORDER) {
    dc->FrameRect(&window, DisplayServices().GetBrush(brushes));
    CRect inner = client;
    inner.InflateRect(1, 1);
    dc->FrameRect(&inner, DisplayServices().GetBrush(brushes + 1));
  }
  if (m_outlineShown) dc->DrawFocusRect(&m_dragRect);
  dc->RestoreDC(saved);
}

void CDisplay::RedrawBar() {
  if (m_hWnd == nullptr || !IsWindowVisible()) return;
  CWindowDC dc(this);
  PaintBar(&dc);
}

void CDisplay::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params) {
  CWnd::OnNcCalcSize(calcValidRects, params);
  RECT& client = params->rgrc[0];
  if (GetStyle() & WS_BORDER) {
    ::InflateRect(&client, -::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER));
  }
  client.right -= kBarWidth;
  if (client.right < client.left) client.right = client.left;
}

void CDisplay::OnNcPaint() {
  CWindowDC dc(this);
  PaintBar(&dc);
}

UINT CDisplay::OnNcHitTest(CPoint point) {
  const CPoint at = WindowPoint(point);
  for (const CRect& rect : m_buttonRect) {
    if (rect.PtInRect(at)) return HTBORDER;
  }
  if (m_thumb.PtInRect(at) || m_track.PtInRect(at)) return HTBORDER;
  return CWnd::OnNcHitTest(point);
}

void CDisplay::OnNcLButtonDown(UINT, CPoint point) { PressBar(WindowPoint(point)); }

void CDisplay::OnNcLButtonDblClk(UINT, CPoint point) { PressBar(WindowPoint(point)); }

void CDisplay::DrawDragOutline() {
  CWindowDC dc(this);
  dc.DrawFocusRect(&m_dragRect);
  m_outlineShown = !m_outlineShown;
}

void CDisplay::PressBar(CPoint at) {
  if (m_partTimer >= 0) {
    KillTimer(kPartTimerBase + static_cast<UINT_PTR>(m_partTimer));
    m_partTimer = -1;
  }
  if (m_firstLine >= m_lastLine) return;
  if (m_thumb.PtInRect(at)) {
    SetCapture();
    m_thumbDrag = TRUE;
    m_dragRect = m_dragStart = m_thumb;
    DrawDragOutline();
    return;
  }
  int part = -1;
  if (m_track.PtInRect(at)) {
    part = at.y < m_thumb.top ? 2 : 3;
  } else if (m_buttonRect[kUpArrow].PtInRect(at)) {
    part = 0;
  } else if (m_buttonRect[kDownArrow].PtInRect(at)) {
    part = 1;
  } else {
    for (int button : {kPreviousHit, kNextHit}) {
      if (!m_buttonRect[button].PtInRect(at) || m_buttonState[button] == kDisabled) continue;
      m_buttonState[button] = kPressed;
      RedrawBar();
      SetCapture();  // the release returns it to normal
      GoToHit(button == kPreviousHit ? -1 : +1, TRUE);
      return;
    }
  }
  if (part < 0) return;
  SetCapture();
  SendMessage(WM_SCROLL_PART, static_cast<WPARAM>(part), static_cast<LPARAM>(-1));
}

LRESULT CDisplay::OnScrollPart(WPARAM wParam, LPARAM lParam) {
  if (m_partTimer >= 0) KillTimer(kPartTimerBase + static_cast<UINT_PTR>(m_partTimer));
  m_partTimer = -1;
  if (!s_isButtonDown()) return 0;
  const int part = static_cast<int>(wParam);
  const CPoint at = WindowPoint(s_cursorPos());
  if (part == 0 || part == 1) {
    const int button = part == 0 ? kUpArrow : kDownArrow;
    if (m_buttonRect[button].PtInRect(at)) {
      m_buttonState[button] = kPressed;
      ScrollBy(part, 0);
      UpdateWindow();
      RedrawBar();
    } else if (m_buttonState[button] == kPressed) {
      m_buttonState[button] = kNormal;
      RedrawBar();
    }
  } else if (part == 2) {
    if (m_track.PtInRect(at) && at.y < m_thumb.top) ScrollBy(2, 0);
  } else if (part == 3) {
    if (m_track.PtInRect(at) && at.y >= m_thumb.bottom) ScrollBy(3, 0);
  } else {
    return 0;
  }
  const UINT delay = static_cast<LPARAM>(lParam) == -1 ? 500 : (part >= 2 ? 200 : 20);
  SetTimer(kPartTimerBase + static_cast<UINT_PTR>(part), delay);
  m_partTimer = part;
  return 0;
}

void CDisplay::EndThumbDrag() {
  if (m_outlineShown) DrawDragOutline();
  m_thumbDrag = FALSE;
  if (m_dragRect == m_dragStart) return;
  const int line =
      display::DropLine(m_dragRect.top, m_track.top, m_track.Height(), m_thumb.Height(), m_firstLine, m_lastLine);
  if (line != m_topLine) ScrollBy(4, line);
}

void CDisplay::OnTimer(UINT id) {
  if (id == kDragTimer) {
    KillTimer(kDragTimer);
    m_dragTimer = FALSE;
    PostMessage(WM_MOUSEMOVE, 0xFFFF, 0);
    return;
  }
  if (id >= kPartTimerBase && id < kPartTimerBase + 4) {
    SendMessage(WM_SCROLL_PART, id - kPartTimerBase, 0);
    return;
  }
  CWnd::OnTimer(id);
}

void CDisplay::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  LayoutBar();
}

void CDisplay::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  switch (key) {
    case VK_PRIOR: ScrollBy(2, 0); break;
    case VK_NEXT: ScrollBy(3, 0); break;
    case VK_END: ScrollBy(7, 0); break;
    case VK_HOME: ScrollBy(6, 0); break;
    case VK_UP: ScrollBy(0, 0); break;
    case VK_DOWN: ScrollBy(1, 0); break;
    default: CWnd::OnKeyDown(key, repeat, flags); break;
  }
}

UINT CDisplay::OnGetDlgCode() { return DLGC_WANTARROWS; }

// ---------------------------------------------------------------------------
// Scrolling

int CDisplay::GetTopOffset() const { return display::TopOffset(m_model, m_topLine); }

int CDisplay::GetLastVisibleLine() const { return display::LastVisibleLine(m_model, m_topLine, ClientHeight()); }

int CDisplay::SetTopLine(int line, BOOL redraw) {
  const int previous = m_topLine;
  m_topLine = line;
  PlaceThumb();
  if (redraw) RedrawBar();
  return previous;
}

void CDisplay::SetLineRange(int first, int last, BOOL redraw) {
  m_firstLine = first;
  m_lastLine = last;
  const int state = first < last ? kNormal : kDisabled;
  m_buttonState[kUpArrow] = m_buttonState[kDownArrow] = state;
  SetTopLine(first, redraw);
}

int CDisplay::ScrollBy(int code, int line) {
  if (m_model.LineCount() == 0) return 0;
  const int top = m_topLine;
  int target = top;
  switch (code) {
    case 0: target = std::max(top - 1, m_firstLine); break;
    case 1: target = std::min(top + 1, m_lastLine); break;
    case 2: target = display::PageUpLine(m_model, top, ClientHeight()); break;
    case 3: target = display::PageDownLine(m_model, top, ClientHeight()); break;
    case 4: target = line; break;
    case 6: target = m_firstLine; break;
    case 7: target = m_lastLine; break;
    default: return 0;
  }
  target = std::clamp(target, std::max(m_firstLine, 0), std::min(m_lastLine, m_model.LineCount() - 1));
  if (target == top) return 0;
  const int distance = display::TopOffset(m_model, top) - display::TopOffset(m_model, target);
  SetTopLine(target, TRUE);
  if (m_hWnd != nullptr) {
    ScrollWindow(0, distance);
    UpdateWindow();
  }
  return 0;
}

void CDisplay::ScrollToRun(int run, BOOL force) {
  const int line = m_model.LineOfRun(run);
  if (line == kNone) return;
  if (!force && line >= m_topLine && line <= GetLastVisibleLine()) return;
  ScrollBy(4, line);
}

void CDisplay::ScrollChildIntoView(UINT id) {
  CWnd* child = GetDlgItem(static_cast<int>(id));
  if (child == nullptr || m_model.LineCount() == 0) return;
  CRect rect;
  child->GetWindowRect(&rect);
  ScreenToClient(&rect);
  const int y = rect.top + GetTopOffset();
  int line = m_model.LineCount() - 1;
  for (int l = 0; l < m_model.LineCount(); ++l) {
    const int top = m_model.LineTop(l);
    if (y >= top && y < top + m_model.GetLine(l).height) {
      line = l;
      break;
    }
  }
  ScrollBy(4, line);
}

void CDisplay::ScrollToPosition(unsigned number) {
  const int line = display::PositionLine(m_model, number, ClientHeight());
  if (line != kNone) ScrollBy(4, line);
}
