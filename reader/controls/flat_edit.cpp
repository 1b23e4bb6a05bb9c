#include "controls/flat_edit.h"

#include "controls/skin_static.h"

namespace {

// Subclasses the parent's control of that id, or makes an edit there.
BOOL PlaceEdit(CEdit& edit, const RECT& rect, CWnd* parent, UINT id, DWORD style) {
  if (parent == nullptr) return FALSE;
  if (::GetDlgItem(parent->GetSafeHwnd(), static_cast<int>(id)) != nullptr) {
    if (!edit.SubclassDlgItem(id, parent)) return FALSE;
  } else if (!edit.Create(style, rect, parent, id)) {
    return FALSE;
  }
  edit.SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

// TRUE when the window lies in the main frame's active view.
BOOL InActiveView(CWnd* window) {
  HWND view = Skin().GetActiveViewWindow();
  return view != nullptr && (view == window->GetSafeHwnd() || ::IsChild(view, window->GetSafeHwnd()));
}

}  // namespace

// ---- CFlatEdit ------------------------------------------------------------------

BOOL CFlatEdit::Create(const RECT* rect, CWnd* parent, UINT id, int firstBrush, int secondBrush) {
  m_firstBrush = firstBrush;
  m_secondBrush = secondBrush;
  return PlaceEdit(*this, *rect, parent, id, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL);
}

void CFlatEdit::PaintFrame() {
  CWindowDC dc(this);
  HPALETTE previous = nullptr;
  CPalette* palette = Skin().GetPalette();
  if (m_secondBrush != kNoPalette && palette != nullptr && palette->GetSafeHandle() != nullptr) {
    previous = ::SelectPalette(dc.GetSafeHdc(), static_cast<HPALETTE>(palette->GetSafeHandle()), !InActiveView(this));
    ::RealizePalette(dc.GetSafeHdc());
  }
  CRect window;
  GetWindowRect(&window);
  CRect rect(0, 0, window.Width(), window.Height());
  rect.left += 1;
  rect.top += 1;
  dc.FrameRect(&rect, Skin().GetBrush(m_secondBrush));
  rect.OffsetRect(-1, -1);
  dc.FrameRect(&rect, Skin().GetBrush(m_firstBrush));
  rect.OffsetRect(2, 2);
  rect.right -= 3;
  rect.bottom -= 3;
  CBrush white(RGB(255, 255, 255));
  dc.FrameRect(&rect, &white);
  if (previous != nullptr) ::SelectPalette(dc.GetSafeHdc(), previous, TRUE);
}

LRESULT CFlatEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
      ::InflateRect(&r, -3, -3);
      return 0;
    }
    case WM_NCPAINT: PaintFrame(); return 0;
    default: break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}

// ---- CHoverEdit -----------------------------------------------------------------

BOOL CHoverEdit::Create(const RECT& rect, CWnd* parent, UINT id, int skin) {
  m_skin = skin;
  return PlaceEdit(*this, rect, parent, id, WS_CHILD | WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL);
}

void CHoverEdit::DrawStrip(CDC& dc, const CRect& rect, BOOL clipText) {
  CString text;
  GetWindowText(text);
  DrawSkinStrip(dc, rect, m_skin, text, clipText);
}

void CHoverEdit::ShowPopup() {
  if (m_popupShown) return;
  CString text;
  GetWindowText(text);
  CClientDC measure(this);
  CFont* old = measure.SelectObject(Skin().GetFont(12));
  const int width = measure.GetTextExtent(text).cx + 8;
  measure.SelectObject(old);
  CRect window;
  GetWindowRect(&window);
  if (width <= window.Width()) return;
  m_popupRect = CRect(window.left, window.top, window.left + width, window.bottom);
  CClientDC screen(nullptr);
  m_under.Save(screen, m_popupRect);
  DrawStrip(screen, m_popupRect, FALSE);
  m_popupShown = TRUE;
}

void CHoverEdit::RemovePopup() {
  if (!m_popupShown) return;
  m_popupShown = FALSE;
  m_under.Restore();
  CWnd* parent = GetParent();
  if (parent != nullptr) {
    CRect area = m_popupRect;
    parent->ScreenToClient(&area);
    parent->InvalidateRect(&area);
  }
}

void CHoverEdit::OnMouseMove(CPoint point) {
  if (::GetCapture() != m_hWnd) {
    SetCapture();
    m_timer = SetTimer(kHoverTimer, kHoverDelay);
    return;
  }
  CRect client;
  GetClientRect(&client);
  if (client.PtInRect(point)) return;
  if (m_timer != 0) KillTimer(m_timer);
  m_timer = 0;
  RemovePopup();
  ::ReleaseCapture();
  // The window now under the pointer gets the move.
  CPoint screen = point;
  ClientToScreen(&screen);
  HWND under = ::WindowFromPoint(screen);
  if (under != nullptr && under != m_hWnd) {
    ::ScreenToClient(under, &screen);
    ::SendMessageA(under, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
  }
}

LRESULT CHoverEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
      return 0;
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        KillTimer(kHoverTimer);
        m_timer = 0;
        ShowPopup();
        return 0;
      }
      break;
    case WM_PAINT: {
      CPaintDC dc(this);
      CRect client;
      GetClientRect(&client);
      DrawStrip(dc, client, TRUE);
      return 0;
    }
    case WM_DESTROY:
      if (m_timer != 0) KillTimer(m_timer);
      m_timer = 0;
      RemovePopup();
      break;
    default: break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}
