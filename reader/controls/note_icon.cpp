#include "controls/note_icon.h"

CNoteIcon::CNoteIcon() {
  HINSTANCE module = AfxGetResourceHandle();
  m_closedIcon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCE(kClosedIcon), IMAGE_ICON, 32, 32, 0));
  m_openIcon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCE(kOpenIcon), IMAGE_ICON, 32, 32, 0));
  m_dragCursor = ::LoadCursor(module, MAKEINTRESOURCE(kDragCursor));
  m_arrowCursor = ::LoadCursor(nullptr, IDC_ARROW);
  m_deleteCursor = ::LoadCursor(module, MAKEINTRESOURCE(kDeleteCursor));
  m_noDropCursor = ::LoadCursor(module, MAKEINTRESOURCE(kNoDropCursor));
}

CNoteIcon::~CNoteIcon() {
  if (m_closedIcon != nullptr) ::DestroyIcon(m_closedIcon);
  if (m_openIcon != nullptr) ::DestroyIcon(m_openIcon);
  if (m_dragCursor != nullptr) ::DestroyCursor(m_dragCursor);
  if (m_deleteCursor != nullptr) ::DestroyCursor(m_deleteCursor);
  if (m_noDropCursor != nullptr) ::DestroyCursor(m_noDropCursor);
}

BOOL CNoteIcon::Create(DWORD style, const RECT& rect, CWnd* display, UINT id) {
  LPCTSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr);
  return CWnd::Create(windowClass, "", style, rect, display, id);
}

CNoteIconHost* CNoteIcon::Host() const {
  return dynamic_cast<CNoteIconHost*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CNoteIcon::SetDeleteHover(HWND control) {
  if (control == m_deleteHover) return;
  if (m_deleteHover != nullptr && ::IsWindow(m_deleteHover)) ::SendMessageA(m_deleteHover, WM_BUTTON_HOVER, 0, 0);
  m_deleteHover = control;
  if (control != nullptr) ::SendMessageA(control, WM_BUTTON_HOVER, 1, 0);
}

void CNoteIcon::OnMove(CPoint point) {
  if (!m_dragging) {
    if (abs(point.x - m_press.x) <= kDragThreshold && abs(point.y - m_press.y) <= kDragThreshold) return;
    m_dragging = TRUE;
    if (CNoteIconHost* host = Host()) host->SetNoteMode(TRUE);
  }
  CPoint screen = point;
  ClientToScreen(&screen);
  HWND under = ::WindowFromPoint(screen);
  HWND display = ::GetParent(m_hWnd);
  if (under != nullptr && under != m_hWnd && ::GetDlgCtrlID(under) == static_cast<int>(kDeleteControl)) {
    SetDeleteHover(under);
    ::SetCursor(m_deleteCursor);
    return;
  }
  SetDeleteHover(nullptr);
  if (under == display) {
    CPoint at = screen;
    ::ScreenToClient(display, &at);
    ::SendMessageA(display, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ::SetCursor(m_dragCursor);
  } else {
    ::SetCursor(m_noDropCursor);
  }
}

void CNoteIcon::Discard() {
  m_selfDelete = TRUE;
  DestroyWindow();
}

BOOL CNoteIcon::OnRelease(CPoint point) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  SetDeleteHover(nullptr);
  ::SetCursor(m_arrowCursor);
  if (!m_dragging) return FALSE;
  m_dragging = FALSE;
  CNoteIconHost* host = Host();
  CPoint screen = point;
  ClientToScreen(&screen);
  HWND under = ::WindowFromPoint(screen);
  HWND display = ::GetParent(m_hWnd);
  BOOL gone = FALSE;
  if (under != nullptr && ::GetDlgCtrlID(under) == static_cast<int>(kDeleteControl)) {
    if (host != nullptr) host->RemoveChild(this);
    gone = TRUE;
  } else if (under == display) {
    // The display places a new icon at the drop point (in note mode) and
    // returns it; only then does this one hand over its note and go, so a drop
    // the display does not take keeps the note where it was.
    CPoint at = screen;
    ::ScreenToClient(display, &at);
    auto* placed =
        reinterpret_cast<CNoteIcon*>(::SendMessageA(display, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y)));
    if (placed != nullptr && placed != this) {
      if (host != nullptr) host->RemoveChild(this);
      placed->SetNoteText(m_text);
      gone = TRUE;
    }
  }
  if (host != nullptr) host->SetNoteMode(FALSE);
  if (gone) Discard();
  return gone;
}

LRESULT CNoteIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      if (m_shown && m_closedIcon != nullptr) dc.DrawIcon(0, 0, m_closedIcon);
      if (::GetFocus() == m_hWnd) {
        CRect frame(0, 0, 32, 32);
        CBrush black(RGB(0, 0, 0));
        CBrush white(RGB(255, 255, 255));
        dc.FrameRect(&frame, &black);
        dc.FrameRect(&frame, &white);
      }
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_LBUTTONDOWN:
      SetCapture();
      SetFocus();
      m_press = point;
      m_dragging = FALSE;
      return 0;
    case WM_MOUSEMOVE:
      if (::GetCapture() == m_hWnd) OnMove(point);
      return 0;
    case WM_LBUTTONUP: OnRelease(point); return 0;
    case WM_LBUTTONDBLCLK:
      if (CNoteIconHost* host = Host()) host->EditNote(this);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) {
        if (CNoteIconHost* host = Host()) host->RemoveChild(this);
        Discard();
        return 0;
      }
      break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

void CNoteIcon::PostNcDestroy() {
  if (m_selfDelete) delete this;
}
