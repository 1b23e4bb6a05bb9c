#include "controls/bm_list_box.h"

#include <utility>

CBmListBox::CBmListBox() {
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = 1;
  m_bar.m_repeat = BarRepeat::Posted;
}

BOOL CBmListBox::Create(const RECT& rect, CWnd* parent, UINT controlId, int skin) {
  m_bar.LoadSkin(skin);
  if (!Place(rect, parent, controlId, FALSE)) return FALSE;
  m_rowSelected.SetSize(m_rows);
  return TRUE;
}

int CBmListBox::SetArticles(const CBitString& set) {
  RemovePopup();
  m_items = set;
  m_selection = set;
  m_selection.Clear();
  m_rowSelected.SetSize(m_rows);
  for (int row = 0; row < m_rows; ++row) m_rowSelected[row] = 0;
  m_current = ItemAtRank(1);
  if (m_current >= 0) {
    m_selection.SetBit(m_current);
    NotifySelChange();
  }
  Reload();
  return 1;
}

int CBmListBox::SelectArticle(int article) {
  if (article <= 0 || !m_items.Test(article)) return -1;
  if (article == m_current) return RankOf(article);
  ShowOnly(article);
  return RankOf(article);
}

void CBmListBox::ShowOnly(int article) {
  m_selection.Clear();
  m_selection.SetBit(article);
  RefreshFlags();
  m_current = article;
  const int rank = RankOf(article);
  SetPosition(rank < m_bar.m_max ? rank : m_bar.m_max, TRUE);
}

void CBmListBox::FetchTitle(int item, char* buffer) { Skin().LookupTitle(item, buffer); }

void CBmListBox::OnRowFetched(int row) {
  if (row < m_rowSelected.GetSize()) m_rowSelected[row] = m_selection.Test(RowItem(row)) ? 1 : 0;
}

void CBmListBox::RefreshFlags() {
  CRect client;
  GetClientRect(&client);
  const int line = LineHeight();
  for (int row = 0; IsListedRow(row); ++row) {
    const BYTE selected = m_selection.Test(RowItem(row)) ? 1 : 0;
    if (selected == m_rowSelected[row]) continue;
    m_rowSelected[row] = selected;
    CRect rect(0, row * line, client.right, (row + 1) * line);
    InvalidateRect(&rect, FALSE);
  }
  UpdateWindow();
}

void CBmListBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = static_cast<UINT>(LineHeight()); }

void CBmListBox::DrawRow(CDC& dc, const CRect& rect, int row, BOOL noClip) {
  const BOOL selected = m_rowSelected[row] != 0;
  const int article = RowItem(row);
  if (selected) {
    dc.FillRect(&rect, Skin().GetBrush(m_bar.m_selectionBrush));
  } else {
    dc.FillSolidRect(&rect, RGB(255, 255, 255));
  }
  int x = rect.left + 2;
  UINT image = 0;
  UINT mask = 0;
  if (Skin().GetArticleIcons(article, image, mask)) {
    x += Skin().DrawTransparent(&dc, image, mask, x, rect.top + rect.Height() / 2, 0x4).cx;
  }
  x += 2;
  COLORREF colour = RGB(0, 0, 0);
  if (selected) {
    colour = RGB(255, 255, 255);
  } else if (Skin().IsInBookmarkFolder(article)) {
    colour = RGB(255, 0, 0);
  }
  dc.SetTextColor(colour);
  dc.SetBkMode(TRANSPARENT);
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  CRect text(x, rect.top, rect.right, rect.bottom);
  dc.DrawText(m_titles[row], &text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | (noClip ? DT_NOCLIP : 0));
  dc.SelectObject(old);
  if (article == m_current && ::GetFocus() == m_hWnd && (noClip || row != m_hoverRow)) {
    CRect focus = rect;
    dc.DrawFocusRect(&focus);
  }
}

void CBmListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  const int row = static_cast<int>(item->itemID);
  if (PaintEmptyListRow(*dc, *item)) return;
  if (!(item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;
  if (!IsListedRow(row)) return;
  DrawRow(*dc, item->rcItem, row, FALSE);
}

BOOL CBmListBox::OnKey(UINT key) {
  // Ctrl+A selects every listed article.
  if (key == 'A') {
    if (::GetKeyState(VK_CONTROL) >= 0) return FALSE;
    m_selection = m_items;
    RefreshFlags();
    return TRUE;
  }
  return CPagedListBox::OnKey(key);
}

void CBmListBox::MoveCurrent(int step) {
  RemovePopup();
  if (m_current < 0) return;
  const int rank = RankOf(m_current) + step;
  const int next = ItemAtRank(rank);
  if (next < 0) return;
  m_current = next;
  NotifySelChange();
  m_selection.Clear();
  m_selection.SetBit(next);
  RefreshFlags();
  if (rank < m_bar.m_pos) {
    Scroll(bar::kThumbPosition, rank);
  } else if (rank >= m_bar.m_pos + m_rows) {
    Scroll(bar::kThumbPosition, rank - m_rows + 1);
  } else {
    // The focus outline moves with the current row.
    Invalidate(FALSE);
    UpdateWindow();
  }
}

void CBmListBox::OnClick(UINT flags, CPoint point) {
  Default();
  const int row = point.y / LineHeight();
  if (row >= CListBox::GetCount() || !IsListedRow(row)) return;
  const int article = RowItem(row);
  const int previous = m_current;
  if (!(flags & MK_CONTROL)) m_selection.Clear();
  if ((flags & MK_SHIFT) && m_current >= 0) {
    if (m_items.IsOrdered()) {
      int from = RankOf(m_current);
      int to = RankOf(article);
      if (from > to) std::swap(from, to);
      for (int rank = from; rank <= to; ++rank) m_selection.SetBit(ItemAtRank(rank));
    } else {
      const int low = m_current < article ? m_current : article;
      const int high = m_current < article ? article : m_current;
      m_selection.SetRange(low, high - low + 1, TRUE);
      m_selection.And(m_items);
    }
  } else {
    m_selection.SetBit(article);
  }
  m_current = article;
  RefreshFlags();
  SetFocus();
  if (m_current != previous) NotifySelChange();
  if (row == m_hoverRow) RemovePopup();
}

void CBmListBox::AfterResize() {
  const int previous = m_current;
  const CBitString articles = m_items;
  SetArticles(articles);
  if (previous >= 0 && previous != m_current && m_items.Test(previous)) ShowOnly(previous);
}
