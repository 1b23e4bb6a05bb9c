#include "controls/skin_list_box.h"

BOOL CSkinListBox::Create(const RECT& rect, CWnd* parent, UINT controlId, int variant) {
  ResetBar(1);
  m_categories.RemoveAll();
  if (!Skin().ReadCategories(variant, m_categories)) return FALSE;
  m_variant = variant;
  const BOOL media = variant == 1;
  m_bar.LoadBitmaps(media ? 4154 : 4034, media ? 4155 : 4031, media ? 4156 : 4033);
  if (media) {
    m_bar.SetBrushes(9, 10, 11);
  } else {
    m_bar.SetBrushes(0, 1, 2);
  }
  m_expandedMarker.DeleteObject();
  m_collapsedMarker.DeleteObject();
  Skin().LoadDIB(media ? 4223 : 4222, m_expandedMarker);
  Skin().LoadDIB(media ? 4157 : 1073, m_collapsedMarker);
  m_expandedSize = BitmapSize(m_expandedMarker);
  m_collapsedSize = BitmapSize(m_collapsedMarker);
  const int line = Skin().GetLineHeight();
  m_rowHeight = line > m_collapsedSize.cy ? line : m_collapsedSize.cy + 2;
  m_collapsedOffset = (m_rowHeight - m_collapsedSize.cy) / 2;
  m_expandedOffset = (m_rowHeight - m_bar.m_sizes.downHeight) / 2;
  if (!Place(rect, parent, controlId)) return FALSE;
  SetItemHeight(0, static_cast<UINT>(m_rowHeight));
  CListBox::ResetContent();
  if (m_categories.GetCount() > 0) {
    const int all = CListBox::AddString(m_categories.m_titles[0]);
    CListBox::SetItemData(all, kExpandedFlag);
  }
  for (int index = 1; index < m_categories.GetCount(); ++index) {
    if (m_categories.GetDepth(index) >= 2) continue;
    const int row = CListBox::AddString(m_categories.m_titles[index]);
    CListBox::SetItemData(row, static_cast<DWORD_PTR>(index));
  }
  SetRange(1, GetCount() - m_bar.m_page + 1, FALSE);
  SetPosition(1, FALSE);
  SetSel(0, TRUE);
  SetCaretIndex(0);
  return TRUE;
}

BOOL CSkinListBox::HasChildren(int row) const {
  const int index = CategoryOfRow(row);
  return index >= 0 && index < m_categories.m_hasChildren.GetSize() && m_categories.m_hasChildren[index] != 0;
}

void CSkinListBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = static_cast<UINT>(m_rowHeight); }

void CSkinListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  const int M = m_expandedSize.cx;
  CRect rect = item->rcItem;
  CRect ground(rect.left + M + 2, rect.top, rect.right, rect.bottom);
  if (item->itemState & ODS_SELECTED) {
    dc->FillRect(&ground, Skin().GetBrush(m_bar.m_selectionBrush));
  } else {
    dc->FillSolidRect(&ground, RGB(255, 255, 255));
  }
  const int row = static_cast<int>(item->itemID);
  if (row >= 0 && row < GetCount()) {
    const int index = CategoryOfRow(row);
    if (index < m_categories.GetCount()) {
      CFont* old = dc->SelectObject(Skin().GetFont(12));
      dc->SetBkMode(TRANSPARENT);
      CRect text(rect.left + M + 3 + kIndentPerLevel * m_categories.GetDepth(index), rect.top, rect.right, rect.bottom);
      dc->DrawText(m_categories.m_titles[index], &text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
      dc->SelectObject(old);
      if (HasChildren(row)) {
        if (IsRowExpanded(row)) {
          BlitBitmap(dc, m_expandedMarker, rect.left + 1, rect.top + m_expandedOffset, m_expandedSize.cx,
                     m_expandedSize.cy, 0, 0);
        } else {
          BlitBitmap(dc, m_collapsedMarker, (rect.left + M - m_collapsedSize.cx + 1) / 2, rect.top + m_collapsedOffset,
                     m_collapsedSize.cx, m_collapsedSize.cy, 0, 0);
        }
      }
    }
  }
  if (item->itemState & ODS_FOCUS) {
    CRect focus(rect.left + M + 2, rect.top, rect.right, rect.bottom);
    dc->DrawFocusRect(&focus);
  }
}

BOOL CSkinListBox::OnMarker(CPoint point, int& row) const {
  BOOL outside = FALSE;
  row = static_cast<int>(ItemFromPoint(point, outside));
  if (outside || row < 0 || row >= GetCount()) return FALSE;
  return point.x < m_collapsedSize.cx + 3 && HasChildren(row);
}

void CSkinListBox::RefreshAfterChange() {
  SetRange(1, GetCount() - m_bar.m_page + 1, TRUE);
  SetRedraw(TRUE);
  Invalidate();
  UpdateWindow();
  m_bar.DrawUpArrow();
  m_bar.DrawDownArrow();
}

void CSkinListBox::Expand(int row) {
  const int index = CategoryOfRow(row);
  const int level = m_categories.GetDepth(index);
  SetRedraw(FALSE);
  CListBox::SetItemData(row, static_cast<DWORD_PTR>(index) | kExpandedFlag);
  int at = row + 1;
  for (int child = index + 1; child < m_categories.GetCount(); ++child) {
    const int depth = m_categories.GetDepth(child);
    if (depth <= level) break;
    if (depth != level + 1) continue;
    const int inserted = CListBox::InsertString(at++, m_categories.m_titles[child]);
    CListBox::SetItemData(inserted, static_cast<DWORD_PTR>(child));
  }
  RefreshAfterChange();
}

void CSkinListBox::Collapse(int row) {
  const int index = CategoryOfRow(row);
  const int level = m_categories.GetDepth(index);
  SetRedraw(FALSE);
  CListBox::SetItemData(row, static_cast<DWORD_PTR>(index));
  BOOL removedSelected = FALSE;
  while (row + 1 < GetCount() && m_categories.GetDepth(CategoryOfRow(row + 1)) > level) {
    if (GetSel(row + 1) > 0) removedSelected = TRUE;
    CListBox::DeleteString(static_cast<UINT>(row + 1));
  }
  RefreshAfterChange();
  if (GetSelCount() == 0) {
    SetSel(0, TRUE);
    SetCaretIndex(0);
  }
  if (removedSelected) NotifySelChange();
}

void CSkinListBox::Toggle(int row) {
  if (row < 0 || row >= GetCount() || !HasChildren(row)) return;
  if (IsRowExpanded(row)) {
    Collapse(row);
  } else {
    Expand(row);
  }
}

void CSkinListBox::MoveSelection(int step) {
  const int s = GetCaretIndex();
  if (s < 0 || GetCount() == 0) return;
  const int next = s + step;
  if (next < 0 || next >= GetCount()) return;
  SetSel(-1, FALSE);
  // Scroll as the bar's keys do, then make the row the only selection.
  const int rank = next + 1;
  if (rank < m_bar.m_pos) {
    Scroll(bar::kThumbPosition, rank);
  } else if (rank >= m_bar.m_pos + m_bar.m_page) {
    Scroll(bar::kThumbPosition, rank - m_bar.m_page + 1);
  }
  SetSel(next, TRUE);
  SetCaretIndex(next, FALSE);
  NotifySelChange();
}

LRESULT CSkinListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  switch (message) {
    case WM_LBUTTONUP:
      if (!m_bar.m_dragging) {
        int row = -1;
        if (OnMarker(point, row)) {
          if (::GetCapture() == m_hWnd) ::ReleaseCapture();
          Toggle(row);
          return 0;
        }
      }
      break;
    case WM_LBUTTONDOWN: {
      int row = -1;
      if (OnMarker(point, row)) return 0;
      BOOL outside = FALSE;
      const int hit = static_cast<int>(ItemFromPoint(point, outside));
      if (!outside && GetSelCount() == 1 && GetSel(hit) > 0) return 0;
      break;
    }
    case WM_MOUSEMOVE:
      if (!m_bar.m_dragging) return 0;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        MoveSelection(wParam == VK_UP ? -1 : 1);
        return 0;
      }
      break;
    default: break;
  }
  return CBarListBox::WindowProc(message, wParam, lParam);
}
