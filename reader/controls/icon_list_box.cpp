#include "controls/icon_list_box.h"

BOOL CIconListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (!CreateTree(style, rect, parent, id)) return FALSE;
  DropSystemBars();
  m_bar.LoadSkin(kSkinEncyclopedia);
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = 0;
  PlaceWithBar(rect);
  OnRowsChanged();
  return TRUE;
}

int CIconListBox::RowHeight() const {
  if (m_images != nullptr && m_images->m_cellHeight > 0) return m_images->m_cellHeight;
  return Skin().GetLineHeight();
}

HTREEITEM CIconListBox::InsertItem(LPCTSTR text, int image, int selectedImage, DWORD_PTR data, HTREEITEM parent,
                                   HTREEITEM after) {
  return CTreeListBox::InsertItem(text, image, selectedImage, data, parent, after);
}

void CIconListBox::OnRowsChanged() {
  if (m_hWnd == nullptr) return;
  CRect client;
  GetClientRect(&client);
  const int row = RowHeight() > 0 ? RowHeight() : 1;
  m_bar.m_page = client.Height() / row;
  const int last = GetCount() - m_bar.m_page;
  SetRange(0, last > 0 ? last : 0, TRUE);
}

void CIconListBox::SetRange(int first, int last, BOOL redraw) {
  m_bar.m_min = first;
  m_bar.m_max = last;
  m_bar.UpdateArrows();
  if (first < last) {
    int top = GetTopIndex();
    if (top > last) top = last;
    if (top < first) top = first;
    m_bar.m_pos = top;
    if (GetTopIndex() != top) SetTopIndex(top);
  } else {
    m_bar.m_pos = first;
  }
  m_bar.MoveThumb(redraw);
}

void CIconListBox::ScrollTo(int row) { SetPosition(row, TRUE); }

int CIconListBox::SetPosition(int newPos, BOOL redraw) {
  const int previous = m_bar.m_pos;
  SetTopIndex(newPos);
  m_bar.m_pos = newPos;
  m_bar.MoveThumb(redraw);
  return previous;
}

void CIconListBox::ShowCaret(CTreeItem* item) {
  if (item == nullptr) return;
  const HTREEITEM handle = reinterpret_cast<HTREEITEM>(item);
  SelectItem(handle, kCaret);
  const int row = RowOf(handle);
  if (row < 0) return;
  if (row < m_bar.m_pos) {
    ScrollTo(row);
  } else if (row >= m_bar.m_pos + m_bar.m_page) {
    ScrollTo(row - m_bar.m_page + 1);
  }
}

void CIconListBox::OnKey(UINT key) {
  CTreeItem* caret = m_caret;
  CTreeItem* target = nullptr;
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT: {
      const int row = RowOf(reinterpret_cast<HTREEITEM>(caret));
      int next = row + (key == VK_PRIOR ? -m_bar.m_page : m_bar.m_page);
      if (next < 0) next = 0;
      if (next >= GetCount()) next = GetCount() - 1;
      target = ItemOfRow(next);
      break;
    }
    case VK_HOME: target = ItemOfRow(0); break;
    case VK_END: target = ItemOfRow(GetCount() - 1); break;
    case VK_UP: target = caret != nullptr ? m_model.PrevVisible(caret) : ItemOfRow(0); break;
    case VK_DOWN: target = caret != nullptr ? m_model.NextVisible(caret) : ItemOfRow(0); break;
    default: return;
  }
  ShowCaret(target);
}

LRESULT CIconListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnBarMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE:
      result = CTreeListBox::WindowProc(message, wParam, lParam);
      m_bar.Layout();
      OnRowsChanged();
      return result;
    case WM_KEYDOWN:
      if (wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_HOME || wParam == VK_END || wParam == VK_UP ||
          wParam == VK_DOWN) {
        OnKey(static_cast<UINT>(wParam));
        return 0;
      }
      break;
    default: break;
  }
  return CTreeListBox::WindowProc(message, wParam, lParam);
}
