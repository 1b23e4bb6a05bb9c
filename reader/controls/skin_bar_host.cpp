#include "controls/skin_bar_host.h"

void CSkinBarHost::SetRange(int min, int max, BOOL redraw) {
  m_bar.m_min = min;
  m_bar.m_max = max;
  m_bar.UpdateArrows();
  if (max <= min) {
    SetPosition(min, redraw);
  } else if (m_bar.m_pos > max) {
    SetPosition(max, redraw);
  } else if (m_bar.m_pos < min) {
    SetPosition(min, redraw);
  } else {
    SyncContent();
    m_bar.MoveThumb(redraw);
  }
}

int CSkinBarHost::Scroll(int code, int position) {
  const int next = bar::ScrollTarget(code, position, m_bar.m_pos, m_bar.m_min, m_bar.m_max, ScrollPage());
  if (next != m_bar.m_pos) SetPosition(next, TRUE);
  return 0;
}

void CSkinBarHost::ResetBar(int origin) {
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = origin;
  m_bar.m_dragging = FALSE;
  m_bar.m_outlineDrawn = FALSE;
}

BOOL CSkinBarHost::TakeOverControl(UINT controlId, CWnd* parent) {
  if (!m_window->SubclassDlgItem(controlId, parent)) return FALSE;
  DropSystemBars();
  return TRUE;
}

void CSkinBarHost::DropSystemBars() { m_window->ModifyStyle(WS_VSCROLL | WS_HSCROLL, 0); }

void CSkinBarHost::PlaceWithBar(const RECT& rect, UINT flags) {
  m_window->SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                         flags | SWP_FRAMECHANGED);
  m_bar.Layout();
}

void CSkinBarHost::ReframeWithBar() {
  m_window->SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  m_bar.Layout();
}

BOOL CSkinBarHost::OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (m_bar.OnMessage(message, wParam, lParam, result)) return TRUE;
  if (message != WM_NCCALCSIZE) return FALSE;
  CSkinBar::CalcClient(reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
  result = 0;
  return TRUE;
}

BOOL CSkinBarHost::ScrollByPageKey(UINT key) {
  switch (key) {
    case VK_PRIOR: Scroll(bar::kPageUp, 0); return TRUE;
    case VK_NEXT: Scroll(bar::kPageDown, 0); return TRUE;
    case VK_END: Scroll(bar::kBottom, 0); return TRUE;
    case VK_HOME: Scroll(bar::kTop, 0); return TRUE;
    default: return FALSE;
  }
}

BOOL CSkinBarHost::ScrollByLineKey(UINT key) {
  switch (key) {
    case VK_UP: Scroll(bar::kLineUp, 0); return TRUE;
    case VK_DOWN: Scroll(bar::kLineDown, 0); return TRUE;
    default: return FALSE;
  }
}

BOOL CSkinBarHost::CutToWholeRows(int clientHeight, int rowHeight) {
  const int remainder = clientHeight % rowHeight;
  if (remainder == 0) return FALSE;
  CRect window;
  m_window->GetWindowRect(&window);
  m_window->SetWindowPos(nullptr, 0, 0, window.Width(), window.Height() - remainder,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}
