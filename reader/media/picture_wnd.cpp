#include "media/picture_wnd.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>

#include "controls/skin_environment.h"
#include "core/hot_spot.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_screen.h"
#include "display/display_services.h"
#include "reader/media_ids.h"

namespace {

constexpr int LineScroll = 15;
constexpr int PageScroll = 150;
constexpr int VerticalScroll = 12;
constexpr UINT RepeatMilliseconds = 100;
constexpr int LegendIconWidth = 16;

BOOL IsTimelineView(CWnd* parent) {
  const auto* screen = dynamic_cast<const ReaderScreen*>(parent);
  return screen != nullptr && screen->GetScreenKind() == Screen::Timeline;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPictureWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_HSCROLL()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_MENUSELECT()
ON_WM_DESTROY()
ON_COMMAND_RANGE(ID_LEGEND_FIRST, ID_LEGEND_LAST, OnLegend)
END_MESSAGE_MAP()

CPictureWnd::~CPictureWnd() {
  RemoveHotSpots(m_hotSpots);
  std::free(m_mask);
  m_mask = nullptr;
}

void CPictureWnd::LoadCursors() {
  HINSTANCE module = AfxGetResourceHandle();
  auto load = [module](HCURSOR& cursor, UINT id) {
    if (!cursor) cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(id));
  };
  load(m_cursorHot, IDC_CURSOR_HAND);
  load(m_cursorCanDrag, IDC_CURSOR_CAN_DRAG);
  load(m_cursorDragging, IDC_CURSOR_DRAGGING);
  load(m_cursorUp, IDC_CURSOR_SCROLL_UP);
  load(m_cursorDown, IDC_CURSOR_SCROLL_DOWN);
  load(m_cursorRight, IDC_CURSOR_SCROLL_RIGHT);
  load(m_cursorLeft, IDC_CURSOR_SCROLL_LEFT);
}

void CPictureWnd::FreePicture() {
  m_highlighted = nullptr;
  RemoveHotSpots(m_hotSpots);
  m_hotSpotKind = 0;
  m_bitmap.DeleteObject();
  m_palette.DeleteObject();
  std::free(m_mask);
  m_mask = nullptr;
  m_caption.Empty();
  m_width = m_height = 0;
}

BOOL CPictureWnd::LoadPictureData(UINT item, BOOL fromResource) {
  ReaderContext& app = Reader();
  BOOL loaded = FALSE;
  if (fromResource) {
    m_bAppPalette = TRUE;
    loaded = app.LoadDIB(item, m_bitmap, m_palette, TRUE, FALSE);
  } else {
    WORD kind = 0;
    loaded =
        app.GetDatabase(1).LoadPicture(item, m_caption, m_bitmap, m_palette, m_bAppPalette ? &app.m_palette : nullptr,
                                       &m_hotSpots, &kind, &m_mask, m_bStripMode ? nullptr : this);
    m_hotSpotKind = kind;
  }
  if (!loaded) {
    FreePicture();
    return FALSE;
  }
  const CSize size = BitmapSize(m_bitmap);
  m_width = size.cx;
  m_height = size.cy;
  m_scrollX = m_scrollY = 0;
  return TRUE;
}

BOOL CPictureWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& bounds,
                         CWnd* pParentWnd, UINT nID, UINT item, BOOL useAppPalette, LPCTSTR resourceName,
                         CCreateContext* pContext, BOOL sizeToPicture, BOOL fitMode, POINT centre) {
  LoadCursors();
  FreePicture();
  m_bAppPalette = useAppPalette;
  m_bFitMode = fitMode;
  m_bStripMode = IsTimelineView(pParentWnd) && (dwStyle & WS_CAPTION) != WS_CAPTION;
  m_mode = Idle;
  m_timer = 0;
  if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle, bounds, pParentWnd, nID, pContext)) return FALSE;
  if (CMenu* system = GetSystemMenu(FALSE)) system->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  if (!LoadPictureData(item, resourceName != nullptr)) return FALSE;

  const CRect area(bounds);
  if (m_bStripMode) {
    Reader().LoadDIB(IDB_STRIP_LEFT, m_leftArrow);
    Reader().LoadDIB(IDB_STRIP_RIGHT, m_rightArrow);
    Reader().LoadDIB(IDB_STRIP_THUMB, m_thumbBitmap);
    m_strip = media_logic::MakeStripGeometry(CRect(0, 0, area.Width(), area.Height()), BitmapSize(m_leftArrow),
                                             BitmapSize(m_thumbBitmap));
  }
  if (sizeToPicture) {
    CRect window(0, 0, m_width, m_height);
    // WS_CAPTION includes the WS_BORDER bit: a caption is both of its bits.
    if ((dwStyle & WS_CAPTION) == WS_CAPTION) {
      ::AdjustWindowRect(&window, dwStyle, FALSE);
      window.OffsetRect(-window.left, -window.top);
      if (!area.IsRectEmpty())
        window = media_logic::PlaceCentredInBounds(window.Size(), CPoint(centre), area);
      else
        window.OffsetRect(centre.x - window.Width() / 2, centre.y - window.Height() / 2);
    } else if (dwStyle & WS_BORDER) {
      window.InflateRect(2, 2);
      window.OffsetRect(area.left - window.left, area.top - window.top);
    }
    SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (m_bStripMode) SetStripRange();
  return TRUE;
}

void CPictureWnd::SetStripRange() {
  CRect window;
  GetWindowRect(&window);
  m_stripMin = 0;
  m_stripMax = m_bFitMode ? 0 : media_logic::StripMaximum(m_width, window.Width());
  m_leftState = m_rightState = m_stripMax > 0 ? 0 : 2;
  m_thumbPos = 0;
  m_strip.thumb.OffsetRect(m_strip.track.left - m_strip.thumb.left, 0);
}

BOOL CPictureWnd::SetPicture(UINT item, BOOL fromResource, BOOL sizeToPicture) {
  CWaitCursor wait;
  StopTimer();
  FreePicture();
  if (!LoadPictureData(item, fromResource)) {
    Invalidate();
    return FALSE;
  }
  CRect client;
  GetClientRect(&client);
  if (m_bFitMode && m_width > 0) {
    // The client keeps its width; the height follows the picture's shape.
    const int height = m_height * client.Width() / m_width;
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() - client.Height() + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (sizeToPicture) {
    SetWindowPos(nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (m_width > client.Width() && m_width - client.Width() < 10) {
    m_width = client.Width();  // too little to scroll
  }
  if (m_bStripMode) SetStripRange();
  RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  return TRUE;
}

void CPictureWnd::FitToParent(const RECT& rect) {
  if (!m_hWnd) return;
  const CRect area(rect);
  CRect placed;
  if (m_bStripMode) {
    placed = media_logic::FitStripWindowToArea(CSize(m_width, m_height), area);
    m_strip = media_logic::MakeStripGeometry(CRect(0, 0, placed.Width(), placed.Height()), BitmapSize(m_leftArrow),
                                             BitmapSize(m_thumbBitmap));
  } else {
    CRect frame(0, 0, m_width, m_height);
    ::AdjustWindowRect(&frame, static_cast<DWORD>(GetStyle()), FALSE);
    CRect window;
    GetWindowRect(&window);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&window);
    placed = media_logic::FitWindowToArea(window, frame.Size(), area);
  }
  m_scrollX = m_scrollY = 0;
  MoveWindow(placed.left, placed.top, placed.Width(), placed.Height(), TRUE);
  if (m_bStripMode) SetStripRange();
}

int CPictureWnd::ClientWidth() const {
  CRect client;
  GetClientRect(&client);
  return client.Width();
}

int CPictureWnd::ClientHeight() const {
  CRect client;
  GetClientRect(&client);
  return client.Height();
}

// --- painting ---

BOOL CPictureWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CPictureWnd::OnPaint() {
  CPaintDC dc(this);
  if (!m_bitmap.m_hObject) {
    // No picture: black, like the frame around it.
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0, 0, 0));
    return;
  }
  CPalette* palette = m_bAppPalette ? &Reader().m_palette : &m_palette;
  CPalette* old = palette->m_hObject ? dc.SelectPalette(palette, FALSE) : nullptr;
  dc.RealizePalette();
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap* oldBitmap = memory.SelectObject(&m_bitmap);
  CRect client;
  GetClientRect(&client);
  if (m_bFitMode) {
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, m_width, m_height, SRCCOPY);
  } else {
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, m_scrollX, m_scrollY, SRCCOPY);
  }
  memory.SelectObject(oldBitmap);
  if (old) dc.SelectPalette(old, FALSE);
  m_highlighted = nullptr;
}

// --- hot spots ---

CHotSpot* CPictureWnd::HitTest(CPoint client) {
  const int x = client.x + m_scrollX, y = client.y + m_scrollY;
  BYTE key = 0;
  if ((m_hotSpotKind == 1 || m_hotSpotKind == 4) && m_mask) {
    const std::size_t stride = (static_cast<std::size_t>(m_width) + 3) / 4 * 4;
    // The mask may be shorter than a full byte-per-pixel block: read only what it holds.
    const std::size_t size = std::min(_msize(m_mask), stride * static_cast<std::size_t>(m_height));
    key = media_logic::MaskByte(m_mask, size, m_width, m_height, x, y);
  }
  for (int i = 0; i < m_hotSpots.GetSize(); ++i) {
    auto* spot = static_cast<CHotSpot*>(m_hotSpots[i]);
    if (spot->HitTest(x, y, static_cast<char>(key))) return spot;
  }
  return nullptr;
}

void CPictureWnd::DrawHighlight(CHotSpot* spot) {
  if (!spot || !m_hWnd) return;
  CClientDC dc(this);
  dc.SetViewportOrg(-m_scrollX, -m_scrollY);
  spot->Highlight(&dc);
}

void CPictureWnd::SetHighlight(CHotSpot* spot) {
  if (spot == m_highlighted) return;
  DrawHighlight(m_highlighted);  // a second highlight takes the mark off
  m_highlighted = spot;
  DrawHighlight(spot);
}

// --- the mouse ---

void CPictureWnd::StopTimer() {
  if (m_timer) KillTimer(m_timer);
  m_timer = 0;
}

void CPictureWnd::StartTimer(UINT id) {
  if (m_timer == id) return;
  StopTimer();
  SetTimer(id, RepeatMilliseconds, nullptr);
  m_timer = id;
}

void CPictureWnd::OnLButtonDown(UINT, CPoint point) {
  SetFocus();
  StopTimer();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  m_mode = Idle;
  if (CHotSpot* spot = HitTest(point)) {
    if (CWnd* parent = GetParent()) parent->PostMessage(WM_REGIONCLICK, 0, reinterpret_cast<LPARAM>(spot));
    return;
  }
  if (!m_bFitMode && (m_width > ClientWidth() || m_height > ClientHeight())) {
    m_lastPoint = point;
    SetCapture();
    ::SetCursor(m_cursorDragging);
    m_mode = Dragging;
  }
}

void CPictureWnd::SetScrollX(int x) {
  const int clamped = media_logic::ClampScroll(x, m_width, ClientWidth());
  if (clamped == m_scrollX) return;
  m_scrollX = clamped;
  Invalidate(FALSE);
  UpdateWindow();
  if (m_bStripMode) SetThumb(media_logic::PositionOfScroll(m_scrollX, m_stripMin, m_stripMax, m_width, ClientWidth()));
}

void CPictureWnd::SetScrollY(int y) {
  const int clamped = media_logic::ClampScroll(y, m_height, ClientHeight());
  if (clamped == m_scrollY) return;
  m_scrollY = clamped;
  Invalidate(FALSE);
  UpdateWindow();
}

void CPictureWnd::OnMouseMove(UINT, CPoint point) {
  if (m_mode == Dragging) {
    ::SetCursor(m_cursorDragging);
    if (m_width > ClientWidth()) SetScrollX(m_scrollX + (m_lastPoint.x - point.x));
    if (m_height > ClientHeight()) SetScrollY(m_scrollY + (m_lastPoint.y - point.y));
    m_lastPoint = point;
    return;
  }
  const CPoint inWindow(point.x + 2, point.y + 2);
  if (m_mode >= LeftArrow && m_mode <= TrackRight) {
    // The repeat goes on while the pointer stays on the pressed part.
    bool on = false;
    if (m_mode == LeftArrow) on = m_strip.left.PtInRect(inWindow) != FALSE;
    if (m_mode == RightArrow) on = m_strip.right.PtInRect(inWindow) != FALSE;
    if (m_mode == TrackLeft) on = m_strip.track.PtInRect(inWindow) && inWindow.x < m_strip.thumb.left;
    if (m_mode == TrackRight) on = m_strip.track.PtInRect(inWindow) && inWindow.x >= m_strip.thumb.right;
    const UINT timer = m_mode == LeftArrow    ? TimerLeft
                       : m_mode == RightArrow ? TimerRight
                       : m_mode == TrackLeft  ? TimerPageLeft
                                              : TimerPageRight;
    if (on)
      StartTimer(timer);
    else
      StopTimer();
    if (m_mode == LeftArrow) m_leftState = on ? 1 : 0;
    if (m_mode == RightArrow) m_rightState = on ? 1 : 0;
    SendMessage(WM_NCPAINT, 1);
    return;
  }
  if (m_mode == ThumbDrag) {
    CWindowDC dc(this);
    dc.DrawFocusRect(&m_focusThumb);
    const int width = m_focusThumb.Width();
    const int left = std::clamp<int>(inWindow.x - width / 2, m_strip.track.left, m_strip.track.right - width);
    m_focusThumb.OffsetRect(left - m_focusThumb.left, 0);
    dc.DrawFocusRect(&m_focusThumb);
    return;
  }
  CRect client;
  GetClientRect(&client);
  const bool inside = client.PtInRect(point) != FALSE;
  if (!inside) {
    if (m_mode == EdgeScrolling) StopTimer();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_mode = Idle;
    SetHighlight(nullptr);
    return;
  }
  if (!m_bFitMode) {
    UINT edge = 0;
    HCURSOR cursor = nullptr;
    if (m_width > client.Width()) {
      if (point.x < EdgeZone && m_scrollX > 0) {
        edge = TimerLeft;
        cursor = m_cursorLeft;
      } else if (point.x >= client.right - EdgeZone && m_scrollX < m_width - client.Width()) {
        edge = TimerRight;
        cursor = m_cursorRight;
      }
    }
    if (!edge && m_height > client.Height()) {
      if (point.y < EdgeZone && m_scrollY > 0) {
        edge = TimerUp;
        cursor = m_cursorUp;
      } else if (point.y >= client.bottom - EdgeZone && m_scrollY < m_height - client.Height()) {
        edge = TimerDown;
        cursor = m_cursorDown;
      }
    }
    if (edge) {
      StartTimer(edge);
      ::SetCursor(cursor);
      m_mode = EdgeScrolling;
      if (::GetCapture() != m_hWnd) SetCapture();
      return;
    }
  }
  if (m_mode == EdgeScrolling) StopTimer();
  CHotSpot* spot = HitTest(point);
  if (spot) {
    if (::GetCapture() != m_hWnd) SetCapture();
    m_mode = OverHotSpot;
    ::SetCursor(m_cursorHot);
  } else {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_mode = Idle;
    const bool fits = m_width <= client.Width() && m_height <= client.Height();
    ::SetCursor(fits || m_bFitMode ? ::LoadCursorA(nullptr, IDC_ARROW) : m_cursorCanDrag);
  }
  SetHighlight(spot);
}

void CPictureWnd::OnLButtonUp(UINT, CPoint) {
  switch (m_mode) {
    case Dragging:
      if (m_bStripMode)
        SetThumb(media_logic::PositionOfScroll(m_scrollX, m_stripMin, m_stripMax, m_width, ClientWidth()));
      break;
    case LeftArrow: m_leftState = 0; break;
    case RightArrow: m_rightState = 0; break;
    case ThumbDrag: {
      CWindowDC dc(this);
      dc.DrawFocusRect(&m_focusThumb);
      const int position =
          media_logic::PositionOfThumb(m_focusThumb.left, m_stripMin, m_stripMax, m_strip.track, m_strip.thumb.Width());
      SetThumb(position);
      SetScrollX(media_logic::ScrollOfPosition(position, m_stripMin, m_stripMax, m_width, ClientWidth()));
      break;
    }
    default: break;
  }
  if (m_mode == Dragging || (m_mode >= LeftArrow && m_mode <= ThumbDrag)) {
    StopTimer();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_mode = Idle;
    if (m_bStripMode) SendMessage(WM_NCPAINT, 1);
  }
}

void CPictureWnd::OnTimer(UINT nIDEvent) {
  CPoint point;
  ::GetCursorPos(&point);
  CRect window;
  GetWindowRect(&window);
  const CPoint inWindow(point.x - window.left, point.y - window.top);
  switch (nIDEvent) {
    case TimerUp: SetScrollY(m_scrollY - VerticalScroll); break;
    case TimerDown: SetScrollY(m_scrollY + VerticalScroll); break;
    case TimerLeft: SetScrollX(m_scrollX - LineScroll); break;
    case TimerRight: SetScrollX(m_scrollX + LineScroll); break;
    case TimerPageLeft:
      if (m_strip.track.PtInRect(inWindow) && inWindow.x < m_strip.thumb.left) SetScrollX(m_scrollX - PageScroll);
      break;
    case TimerPageRight:
      if (m_strip.track.PtInRect(inWindow) && inWindow.x >= m_strip.thumb.right) SetScrollX(m_scrollX + PageScroll);
      break;
    default: CWnd::OnTimer(nIDEvent); return;
  }
  // Edge scrolling ends at the picture's edges.
  if (m_mode == EdgeScrolling) {
    const bool stop =
        (nIDEvent == TimerUp && m_scrollY == 0) || (nIDEvent == TimerDown && m_scrollY >= m_height - ClientHeight()) ||
        (nIDEvent == TimerLeft && m_scrollX == 0) || (nIDEvent == TimerRight && m_scrollX >= m_width - ClientWidth());
    if (stop) StopTimer();
  }
}

BOOL CPictureWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bMenuTracking || nHitTest != HTCLIENT || m_bFitMode ||
      (m_width <= ClientWidth() && m_height <= ClientHeight())) {
    if (nHitTest != HTCLIENT && !m_bMenuTracking) return CWnd::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
  }
  ::SetCursor(m_cursorCanDrag);
  return TRUE;
}

void CPictureWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  switch (nSBCode) {
    case SB_LINELEFT: SetScrollX(m_scrollX - LineScroll); break;
    case SB_LINERIGHT: SetScrollX(m_scrollX + LineScroll); break;
    case SB_PAGELEFT: SetScrollX(m_scrollX - PageScroll); break;
    case SB_PAGERIGHT: SetScrollX(m_scrollX + PageScroll); break;
    case SB_THUMBPOSITION:
      SetScrollX(media_logic::ScrollOfPosition(static_cast<int>(nPos), m_stripMin, m_stripMax, m_width, ClientWidth()));
      break;
    default: break;
  }
}

// --- the scroll strip ---

void CPictureWnd::SetThumb(int position) {
  m_thumbPos = position;
  const int left = media_logic::ThumbLeft(position, m_stripMin, m_stripMax, m_strip.track, m_strip.thumb.Width());
  if (left == m_strip.thumb.left) return;
  m_strip.thumb.OffsetRect(left - m_strip.thumb.left, 0);
  if (m_hWnd) SendMessage(WM_NCPAINT, 1);
}

void CPictureWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if (!m_bStripMode) {
    CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
    return;
  }
  RECT& r = lpncsp->rgrc[0];
  r.left += 2;
  r.top += 2;
  r.right -= 2;
  r.bottom -= 2 + StripHeight;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

void CPictureWnd::PaintStrip(CDC* dc) {
  ReaderContext& app = Reader();
  CRect window;
  GetWindowRect(&window);
  window.OffsetRect(-window.left, -window.top);
  // The frame around the client, the strip below it and a separator line.
  CRect stripArea(window.left, window.bottom - 2 - StripHeight, window.right, window.bottom);
  dc->FrameRect(&window, app.GetBrush(1));
  dc->FillRect(&stripArea, app.GetBrush(2));
  dc->FillSolidRect(window.left + 2, stripArea.top, window.Width() - 4, 1, RGB(0, 0, 0));
  CDC memory;
  memory.CreateCompatibleDC(dc);
  auto blit = [&](CBitmap& bitmap, const CRect& at, int frame) {
    if (!bitmap.m_hObject) return;
    CBitmap* old = memory.SelectObject(&bitmap);
    dc->BitBlt(at.left, at.top, at.Width(), at.Height(), &memory, frame * at.Width(), 0, SRCCOPY);
    memory.SelectObject(old);
  };
  blit(m_leftArrow, m_strip.left, m_leftState);
  blit(m_rightArrow, m_strip.right, m_rightState);
  blit(m_thumbBitmap, m_strip.thumb, 0);
}

void CPictureWnd::OnNcPaint() {
  if (!m_bStripMode) {
    CWnd::OnNcPaint();
    return;
  }
  CWindowDC dc(this);
  PaintStrip(&dc);
}

UINT CPictureWnd::OnNcHitTest(CPoint point) {
  if (m_bStripMode) {
    CRect window;
    GetWindowRect(&window);
    const CPoint at(point.x - window.left, point.y - window.top);
    if (m_strip.left.PtInRect(at) || m_strip.right.PtInRect(at) || m_strip.track.PtInRect(at) ||
        m_strip.thumb.PtInRect(at))
      return HTBORDER;
  }
  return CWnd::OnNcHitTest(point);
}

void CPictureWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (!m_bStripMode || m_stripMax <= m_stripMin) {
    CWnd::OnNcLButtonDown(nHitTest, point);
    return;
  }
  CRect window;
  GetWindowRect(&window);
  const CPoint at(point.x - window.left, point.y - window.top);
  if (m_strip.thumb.PtInRect(at)) {
    SetCapture();
    m_mode = ThumbDrag;
    m_focusThumb = m_strip.thumb;
    CWindowDC dc(this);
    dc.DrawFocusRect(&m_focusThumb);
  } else if (m_strip.track.PtInRect(at)) {
    SetCapture();
    if (at.x < m_strip.thumb.left) {
      m_mode = TrackLeft;
      StartTimer(TimerPageLeft);
      SetScrollX(m_scrollX - PageScroll);
    } else {
      m_mode = TrackRight;
      StartTimer(TimerPageRight);
      SetScrollX(m_scrollX + PageScroll);
    }
  } else if (m_strip.left.PtInRect(at)) {
    SetCapture();
    m_mode = LeftArrow;
    m_leftState = 1;
    StartTimer(TimerLeft);
    SetScrollX(m_scrollX - LineScroll);
    SendMessage(WM_NCPAINT, 1);
  } else if (m_strip.right.PtInRect(at)) {
    SetCapture();
    m_mode = RightArrow;
    m_rightState = 1;
    StartTimer(TimerRight);
    SetScrollX(m_scrollX + LineScroll);
    SendMessage(WM_NCPAINT, 1);
  } else {
    CWnd::OnNcLButtonDown(nHitTest, point);
  }
}

void CPictureWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) { OnNcLButtonDown(nHitTest, point); }

// --- the legend popup ---

void CPictureWnd::OnRButtonDown(UINT, CPoint point) {
  SetFocus();
  StopTimer();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  m_mode = Idle;
  SetHighlight(nullptr);
  CMenu popup;
  if (!BuildLegendMenu(popup)) return;
  CPoint screen = point;
  ClientToScreen(&screen);
  m_bMenuTracking = TRUE;
  popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
  m_bMenuTracking = FALSE;
  popup.DestroyMenu();
}

BOOL CPictureWnd::BuildLegendMenu(CMenu& popup) {
  // Only labelled hot spots have a legend.
  if (m_hotSpotKind != 3 && m_hotSpotKind != 4) return FALSE;
  if (!popup.CreatePopupMenu()) return FALSE;
  for (int i = 0; i < m_hotSpots.GetSize() && ID_LEGEND_FIRST + i <= ID_LEGEND_LAST; ++i)
    popup.AppendMenu(MF_OWNERDRAW, ID_LEGEND_FIRST + i, reinterpret_cast<LPCTSTR>(static_cast<INT_PTR>(i)));
  return TRUE;
}

CHotSpot* CPictureWnd::LegendSpot(UINT itemId) const {
  const int i = static_cast<int>(itemId) - ID_LEGEND_FIRST;
  if (i < 0 || i >= m_hotSpots.GetSize()) return nullptr;
  return static_cast<CHotSpot*>(m_hotSpots[i]);
}

void CPictureWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU) {
    CWnd::OnMeasureItem(nIDCtl, item);
    return;
  }
  CHotSpot* spot = LegendSpot(item->itemID);
  if (!spot) return;
  CString* label = spot->GetLabel();
  CClientDC dc(this);
  CFont* old = dc.SelectObject(Reader().GetFont(FontList));
  const CSize text = dc.GetTextExtent(label ? *label : CString());
  dc.SelectObject(old);
  CBitmap bullet;
  Reader().LoadDIB(IDB_LEGEND_BULLET, bullet);
  const CSize icon = BitmapSize(bullet);
  item->itemWidth = static_cast<UINT>(text.cx + (icon.cx ? icon.cx : LegendIconWidth) + 8);
  item->itemHeight = static_cast<UINT>(std::max<int>(icon.cy, text.cy) + 2);
}

void CPictureWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU) {
    CWnd::OnDrawItem(nIDCtl, item);
    return;
  }
  CHotSpot* spot = LegendSpot(item->itemID);
  if (!spot) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  CRect rect(item->rcItem);
  dc->FillSolidRect(&rect, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  ReaderContext& app = Reader();
  int x = rect.left + 2;
  UINT image = 0, mask = 0;
  const int article = DisplayServices().MediaItemArticle(spot->GetId());
  if (article > 0 && app.GetArticleIcons(article, &image, &mask)) {
    const CSize drawn = app.DrawTransparent(nullptr, dc, image, mask, rect.left + 2, rect.top + 1, 0);
    x += drawn.cx;
  }
  CString* label = spot->GetLabel();
  CFont* old = dc->SelectObject(app.GetFont(FontList));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  CRect text(x + 8, rect.top, rect.right, rect.bottom);
  dc->DrawText(label ? *label : CString(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc->SelectObject(old);
}

void CPictureWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  const int i = static_cast<int>(nItemID) - ID_LEGEND_FIRST;
  if (m_bMenuTracking && i >= 0 && i < m_hotSpots.GetSize() && !(nFlags & MF_POPUP))
    SetHighlight(static_cast<CHotSpot*>(m_hotSpots[i]));
  CWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
}

void CPictureWnd::OnLegend(UINT id) {
  const int i = static_cast<int>(id) - ID_LEGEND_FIRST;
  if (i < 0 || i >= m_hotSpots.GetSize()) return;
  SetHighlight(nullptr);
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_REGIONCLICK, 0, reinterpret_cast<LPARAM>(m_hotSpots[i]));
}

void CPictureWnd::OnDestroy() {
  StopTimer();
  m_highlighted = nullptr;
  m_palette.DeleteObject();
  m_bitmap.DeleteObject();
  std::free(m_mask);
  m_mask = nullptr;
  CWnd::OnDestroy();
}
