#include "controls/paged_list_box.h"

int CPagedListBox::LineHeight() const {
  const int line = Skin().GetLineHeight();
  return line > 0 ? line : 1;
}

BOOL CPagedListBox::Place(const RECT& rect, CWnd* parent, UINT controlId, BOOL keepPlaceWhenEmpty) {
  if (!TakeOverControl(controlId, parent)) return FALSE;
  // The template's rows were measured before the list was ours.
  SetItemHeight(0, static_cast<UINT>(LineHeight()));
  if (keepPlaceWhenEmpty && rect.top == rect.bottom) {
    AllocateRows(0);
    ReframeWithBar();
    return TRUE;
  }
  CRect cut = rect;
  const int height = cut.Height() - 4;
  cut.bottom -= height > 0 ? height % LineHeight() : 0;
  AllocateRows(height > 0 ? height / LineHeight() : 0);
  PlaceWithBar(cut);
  return TRUE;
}

void CPagedListBox::AllocateRows(int rows) {
  m_rows = rows;
  m_titles.RemoveAll();
  m_rowItems.RemoveAll();
  m_titles.SetSize(rows);
  m_rowItems.SetSize(rows);
}

void CPagedListBox::FreeRows() { AllocateRows(0); }

void CPagedListBox::NotifySelChange() {
  CWnd* parent = GetParent();
  if (parent != nullptr) {
    parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
  }
}

void CPagedListBox::Reload() {
  SetRedraw(FALSE);
  CListBox::ResetContent();
  const int count = Count();
  const int blanks = count > 2 * m_rows ? 2 * m_rows : count;
  for (int i = 0; i < blanks; ++i) CListBox::AddString("");
  m_bar.m_min = 1;
  m_bar.m_max = count > m_rows ? count - m_rows + 1 : 1;
  // An impossible position makes SetPosition fetch the whole page.
  m_bar.m_pos = 99999;
  SetPosition(1, TRUE);
  SetRedraw(TRUE);
  m_bar.UpdateArrows();
  Invalidate();
  UpdateWindow();
}

BOOL CPagedListBox::PaintEmptyListRow(CDC& dc, const DRAWITEMSTRUCT& item) const {
  if (item.itemID != static_cast<UINT>(-1)) return FALSE;
  CRect rect = item.rcItem;
  rect.bottom = rect.top + LineHeight();
  dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), WHITENESS);
  if (item.itemState & ODS_FOCUS) dc.DrawFocusRect(&rect);
  return TRUE;
}

void CPagedListBox::FetchRow(int row, int pos) {
  const int item = ItemAtRank(pos + row);
  if (item < 0) return;
  char buffer[kTitleBuffer + 1] = {};
  FetchTitle(item, buffer);
  buffer[kTitleBuffer] = '\0';
  m_titles[row] = buffer;
  m_rowItems[row] = static_cast<DWORD>(item);
  OnRowFetched(row);
}

int CPagedListBox::SetPosition(int newPos, BOOL redraw) {
  const int previous = m_bar.m_pos;
  if (newPos == previous) return previous;
  RemovePopup();
  const int distance = previous > newPos ? previous - newPos : newPos - previous;
  const int line = LineHeight();
  if (distance < m_rows && m_bar.m_min < m_bar.m_max) {
    // Part of the page stays: shift the caches and fetch only the new rows.
    if (newPos > previous) {
      for (int row = 0; row + distance < m_rows; ++row) {
        m_titles[row] = m_titles[row + distance];
        m_rowItems[row] = m_rowItems[row + distance];
      }
      for (int row = m_rows - distance; row < m_rows; ++row) FetchRow(row, newPos);
    } else {
      for (int row = m_rows - 1; row >= distance; --row) {
        m_titles[row] = m_titles[row - distance];
        m_rowItems[row] = m_rowItems[row - distance];
      }
      for (int row = 0; row < distance; ++row) FetchRow(row, newPos);
    }
    m_bar.m_pos = newPos;
    for (int row = 0; row < m_rows; ++row) OnRowFetched(row);
    const int dy = (previous - newPos) * line;
    ScrollWindow(0, dy);
  } else {
    m_bar.m_pos = newPos;
    for (int row = 0; row < m_rows; ++row) FetchRow(row, newPos);
    if (redraw) Invalidate();
  }
  m_bar.MoveThumb(TRUE);
  AfterPositionChange();
  return previous;
}

BOOL CPagedListBox::OnKey(UINT key) {
  if (ScrollByPageKey(key)) {
    UpdateWindow();
    return TRUE;
  }
  switch (key) {
    case VK_UP:
    case VK_LEFT: MoveCurrent(-1); return TRUE;
    case VK_DOWN:
    case VK_RIGHT: MoveCurrent(1); return TRUE;
    default: return FALSE;
  }
}

void CPagedListBox::OnResized(int height) {
  const int line = LineHeight();
  if (CutToWholeRows(height, line)) return;
  AllocateRows(height / line);
  m_bar.Layout();
  AfterResize();
}

void CPagedListBox::ShowPopup(int row) {
  if (row == m_hoverRow || row < 0 || row >= m_rows) return;
  RemovePopup();
  CClientDC measure(this);
  CFont* old = measure.SelectObject(Skin().GetFont(12));
  CRect title(0, 0, 0, 0);
  measure.DrawText(m_titles[row], &title, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  measure.SelectObject(old);
  CRect client;
  GetClientRect(&client);
  if (title.Width() <= client.Width() - m_popupSlack) return;
  CRect window;
  GetWindowRect(&window);
  const int line = LineHeight();
  m_popupRect = CRect(window.left + 2, window.top + 2 + row * line, window.left + 2 + title.Width() + 21,
                      window.top + 2 + (row + 1) * line);
  CRect clientScreen = client;
  ClientToScreen(&clientScreen);
  CClientDC screen(nullptr);
  m_popupUnder.Save(screen,
                    CRect(clientScreen.right, m_popupRect.top - 2, m_popupRect.right + 2, m_popupRect.bottom + 2));
  CPalette* palette = Skin().GetMediaPicturePalette();
  CSkinPaletteScope scope(&screen, TRUE, palette);
  DrawRow(screen, m_popupRect, row, TRUE);
  // The part outside the list gets the skinned frame.
  const CRect outside = m_popupUnder.Rect();
  CBrush* oldBrush = screen.SelectObject(Skin().GetBrush(m_bar.m_trackBrush));
  screen.PatBlt(outside.left, outside.top, outside.Width(), 1, PATCOPY);
  screen.PatBlt(outside.left, outside.bottom - 1, outside.Width(), 1, PATCOPY);
  screen.PatBlt(outside.right - 1, outside.top, 1, outside.Height(), PATCOPY);
  screen.SelectObject(Skin().GetBrush(m_bar.m_edgeBrush));
  screen.PatBlt(outside.left, outside.top + 1, outside.Width() - 1, 1, PATCOPY);
  screen.PatBlt(outside.left, outside.bottom - 2, outside.Width() - 1, 1, PATCOPY);
  screen.PatBlt(outside.right - 2, outside.top + 1, 1, outside.Height() - 2, PATCOPY);
  screen.SelectObject(oldBrush);
  m_hoverRow = row;
}

void CPagedListBox::RemovePopup() {
  if (m_hoverRow < 0) return;
  m_hoverRow = -1;
  m_popupUnder.Restore();
  // Whatever lies under the pop-up paints itself again.
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->GetSafeHwnd() != nullptr) {
    CRect area = m_popupRect;
    main->ScreenToClient(&area);
    main->InvalidateRect(&area, FALSE);
  }
  if (m_hWnd != nullptr) {
    CRect own = m_popupRect;
    ScreenToClient(&own);
    InvalidateRect(&own, FALSE);
  }
}

void CPagedListBox::OnHoverMove(CPoint point) {
  if (m_hoverTimer) KillTimer(kHoverTimer);
  m_hoverTimer = FALSE;
  if (point.y / LineHeight() != m_hoverRow) RemovePopup();
  if (CSkinBar::s_isButtonDown()) return;
  SetTimer(kHoverTimer, kHoverDelay);
  m_hoverTimer = TRUE;
}

void CPagedListBox::OnHoverTimer() {
  KillTimer(kHoverTimer);
  m_hoverTimer = FALSE;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(cursor)) {
    RemovePopup();
    return;
  }
  if (m_popupNeedsVisible && !IsWindowVisible()) return;
  const int row = cursor.y / LineHeight();
  if (row < Count() && row < m_rows) ShowPopup(row);
}

LRESULT CPagedListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == WM_TIMER && wParam == kHoverTimer) {
    OnHoverTimer();
    return 0;
  }
  if (OnBarMessage(message, wParam, lParam, result)) return result;
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_SIZE:
      result = CListBox::WindowProc(message, wParam, lParam);
      OnResized(HIWORD(lParam));
      return result;
    case WM_KEYDOWN:
      if (OnKey(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_LBUTTONDOWN: OnClick(static_cast<UINT>(wParam), point); return 0;
    case WM_MOUSEMOVE: OnHoverMove(point); return 0;
    case WM_NCMOUSEMOVE:
      if (m_hoverTimer) KillTimer(kHoverTimer);
      m_hoverTimer = FALSE;
      RemovePopup();
      break;
    case WM_BUTTON_HOVER:
      if (wParam == 0 && Skin().IsStarted()) {
        if (m_hoverTimer) KillTimer(kHoverTimer);
        m_hoverTimer = FALSE;
        RemovePopup();
      }
      return 0;
    case WM_DESTROY:
      if (m_hoverTimer) KillTimer(kHoverTimer);
      m_hoverTimer = FALSE;
      RemovePopup();
      FreeRows();
      break;
    default: break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}
