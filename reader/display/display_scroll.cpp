// CDisplay: scrolling by lines; its bar is the LineScrollBar's.
#include <algorithm>

#include "display/display.h"
#include "display/text_scroll.h"

using display::kNone;

BOOL CDisplay::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (m_bar.OnMessage(message, wParam, lParam, result)) return TRUE;
  return CWnd::OnWndMsg(message, wParam, lParam, result);
}

void CDisplay::OnTimer(UINT id) {
  if (id == kDragTimer) {
    KillTimer(kDragTimer);
    m_dragTimer = FALSE;
    PostMessage(WM_MOUSEMOVE, 0xFFFF, 0);
    return;
  }
  CWnd::OnTimer(id);
}

void CDisplay::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  m_bar.Layout();
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

int CDisplay::GetTopOffset() const { return display::TopOffset(m_model, m_bar.TopLine()); }

int CDisplay::GetLastVisibleLine() const { return display::LastVisibleLine(m_model, m_bar.TopLine(), ClientHeight()); }

int CDisplay::ScrollBy(int code, int line) {
  if (m_model.LineCount() == 0) return 0;
  const int top = m_bar.TopLine();
  const int first = m_bar.FirstLine(), last = m_bar.LastLine();
  int target = top;
  switch (code) {
    case 0: target = std::max(top - 1, first); break;
    case 1: target = std::min(top + 1, last); break;
    case 2: target = display::PageUpLine(m_model, top, ClientHeight()); break;
    case 3: target = display::PageDownLine(m_model, top, ClientHeight()); break;
    case 4: target = line; break;
    case 6: target = first; break;
    case 7: target = last; break;
    default: return 0;
  }
  target = std::clamp(target, std::max(first, 0), std::min(last, m_model.LineCount() - 1));
  if (target == top) return 0;
  const int distance = display::TopOffset(m_model, top) - display::TopOffset(m_model, target);
  m_bar.SetTopLine(target, TRUE);
  if (m_hWnd != nullptr) {
    ScrollWindow(0, distance);
    UpdateWindow();
  }
  return 0;
}

void CDisplay::ScrollToRun(int run, BOOL force) {
  const int line = m_model.LineOfRun(run);
  if (line == kNone) return;
  if (!force && line >= m_bar.TopLine() && line <= GetLastVisibleLine()) return;
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
