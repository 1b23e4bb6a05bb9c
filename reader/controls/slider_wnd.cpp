#include "controls/slider_wnd.h"

CSliderWnd::CSliderWnd() {
  Skin().LoadDIB(kTrackBitmap, m_track);
  Skin().LoadDIB(kThumbBitmap, m_thumb);
  const CSize track = BitmapSize(m_track);
  const CSize thumb = BitmapSize(m_thumb);
  m_trackWidth = track.cx;
  m_trackHeight = track.cy;
  m_thumbWidth = thumb.cx;
  m_thumbHeight = thumb.cy;
  m_thumbHalf = m_thumbWidth / 2;
  m_trackTop = (m_thumbHeight - m_trackHeight) / 2;
  m_controlWidth = m_trackWidth + m_thumbWidth;
  m_controlHeight = m_thumbHeight;
  m_arrow = ::LoadCursor(nullptr, IDC_ARROW);
  m_hand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kHandCursor));
  m_position = (m_trackWidth + m_thumbWidth) / 2;
}

BOOL CSliderWnd::Create(RECT* rect, CWnd* parent, UINT id, const CString& label, int colourIndex) {
  // The track ends half a thumb and a pixel before the window's right edge
  // (measured in the window's own coordinates).
  m_trackLeft = (rect->right - rect->left) - m_thumbWidth / 2 - m_trackWidth - 1;
  LPCTSTR windowClass = AfxRegisterWndClass(0, nullptr);
  if (!CWnd::Create(windowClass, "", WS_CHILD | WS_VISIBLE, *rect, parent, id)) return FALSE;
  m_label = label;
  m_colourIndex = colourIndex;
  return TRUE;
}

int CSliderWnd::GetValue() const {
  if (m_trackWidth <= 0) return m_min;
  return m_min + (m_max - m_min) * m_position / m_trackWidth;
}

int CSliderWnd::SetValue(int value, BOOL redraw) {
  const int previous = GetValue();
  m_position = m_max > m_min ? m_trackWidth * (value - m_min) / (m_max - m_min) : 0;
  if (redraw && m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  return previous;
}

CRect CSliderWnd::ThumbRect() const {
  const int left = m_trackLeft + m_position - m_thumbWidth / 2;
  return CRect(left, 0, left + m_thumbWidth, m_thumbHeight);
}

void CSliderWnd::Move(int x, BOOL clamp) {
  int p = x - m_trackLeft;
  if (p > m_trackWidth) {
    if (!clamp) return;
    p = m_trackWidth;
  }
  if (p < 0) {
    if (!clamp) return;
    p = 0;
  }
  if (p == m_position) return;
  const int low = p < m_position ? p : m_position;
  const int high = p < m_position ? m_position : p;
  CRect strip(m_trackLeft + low - m_thumbHalf, 0, m_trackLeft + high + m_thumbHalf + 1, m_thumbHeight);
  InvalidateRect(&strip);
  m_position = p;
  UpdateWindow();
}

void CSliderWnd::Paint(CDC& dc) {
  CSkinPaletteScope palette(&dc);
  CRect client;
  GetClientRect(&client);
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  dc.SetBkMode(TRANSPARENT);
  CRect label(3, 0, m_trackLeft, client.bottom);
  dc.DrawText(m_label, &label, DT_SINGLELINE | DT_VCENTER);
  dc.SelectObject(old);
  BlitBitmap(&dc, m_track, m_trackLeft, m_trackTop, m_trackWidth, m_trackHeight, 0, 0);
  BlitBitmap(&dc, m_thumb, m_trackLeft + m_position - m_thumbWidth / 2, 0, m_thumbWidth, m_thumbHeight, 0, 0);
  CRect line(0, client.bottom - 3, client.right, client.bottom - 2);
  dc.FillRect(&line, Skin().GetBrush(m_colourIndex));
}

LRESULT CSliderWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      Paint(dc);
      return 0;
    }
    case WM_ERASEBKGND: return EraseWhite(this, wParam);
    case WM_LBUTTONDOWN:
      Move(point.x, FALSE);
      SetCapture();
      return 0;
    case WM_MOUSEMOVE:
      if (::GetCapture() == m_hWnd) Move(point.x, TRUE);
      return 0;
    case WM_LBUTTONUP:
      Move(point.x, FALSE);
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      return 0;
    case WM_SETCURSOR: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      ScreenToClient(&cursor);
      ::SetCursor(ThumbRect().PtInRect(cursor) ? m_hand : m_arrow);
      return TRUE;
    }
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
