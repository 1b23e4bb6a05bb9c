#include "controls/event_list_box.h"

CEventListBox::CEventListBox() {
  m_bar.m_min = m_bar.m_max = m_bar.m_pos = 1;
  m_bar.m_repeat = BarRepeat::Posted;
  m_bar.m_palette = BarPalette::Foreground;
  m_popupSlack = 3;
  m_popupNeedsVisible = FALSE;
}

CEventListSource* CEventListBox::Source() const {
  return dynamic_cast<CEventListSource*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

BOOL CEventListBox::Create(const RECT& rect, CWnd* parent, UINT controlId) {
  m_bar.LoadSkin(kSkinTimeline);
  return Place(rect, parent, controlId, TRUE);
}

int CEventListBox::SetItems(const CBitString& set) {
  RemovePopup();
  m_items = set;
  m_current = ItemAtRank(1);
  if (m_current >= 0) NotifySelChange();
  // The first event is current and on the first row: the page's move selects it.
  Reload();
  return 1;
}

void CEventListBox::FetchTitle(int item, char* buffer) {
  if (CEventListSource* source = Source()) source->GetItemTitle(item, buffer);
}

int CEventListBox::CurrentRow() const {
  if (m_current < 0) return -1;
  const int row = RankOf(m_current) - m_bar.m_pos;
  return row >= 0 && row < m_rows ? row : -1;
}

void CEventListBox::AfterPositionChange() { SetCurSel(CurrentRow()); }

void CEventListBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = static_cast<UINT>(LineHeight()); }

void CEventListBox::DrawRow(CDC& dc, const CRect& rect, int row, BOOL noClip) {
  const int event = RowItem(row);
  const BOOL current = event == m_current;
  COLORREF colour = RGB(0, 0, 0);
  if (current) {
    dc.FillRect(&rect, Skin().GetBrush(13));
    colour = RGB(255, 255, 255);
  } else {
    dc.FillSolidRect(&rect, RGB(255, 255, 255));
    CEventListSource* source = Source();
    if (source != nullptr) {
      const int article = Skin().ToInternalArticle(static_cast<int>(source->GetEventEntry(event)));
      if (Skin().IsInBookmarkFolder(article)) colour = RGB(255, 0, 0);
    }
  }
  dc.SetTextColor(colour);
  dc.SetBkMode(TRANSPARENT);
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  CRect text(rect.left + 2, rect.top, rect.right, rect.bottom);
  dc.DrawText(m_titles[row], &text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | (noClip ? DT_NOCLIP : 0));
  dc.SelectObject(old);
  if (current && ::GetFocus() == m_hWnd && (noClip || row != m_hoverRow)) {
    CRect focus = rect;
    dc.DrawFocusRect(&focus);
  }
}

void CEventListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc, TRUE);
  if (PaintEmptyListRow(*dc, *item)) return;
  const int row = static_cast<int>(item->itemID);
  if (!IsListedRow(row)) return;
  DrawRow(*dc, item->rcItem, row, FALSE);
}

void CEventListBox::MoveCurrent(int step) {
  RemovePopup();
  if (m_current < 0) return;
  const int b = RankOf(m_current) - 1;
  const int next = ItemAtRank(b + 1 + step);
  if (next < 0) return;
  if (step < 0) {
    if (b < m_bar.m_pos) {
      Scroll(bar::kThumbPosition, b);
    } else if (b >= m_bar.m_pos + m_rows) {
      Scroll(bar::kThumbPosition, b - m_rows + 1);
    }
  } else {
    if (b + 2 < m_bar.m_pos) {
      Scroll(bar::kThumbPosition, b + 2);
    } else if (b + 2 >= m_bar.m_pos + m_rows) {
      Scroll(bar::kThumbPosition, b - m_rows + 3);
    }
  }
  Invalidate(FALSE);
  m_current = next;
  SetCurSel(CurrentRow());
  UpdateWindow();
  NotifySelChange();
}

void CEventListBox::OnClick(UINT /*flags*/, CPoint point) {
  const int row = point.y / LineHeight();
  if (row >= CListBox::GetCount() || !IsListedRow(row)) {
    Default();
    return;
  }
  Invalidate(FALSE);
  const int previous = m_current;
  m_current = RowItem(row);
  Default();
  SetCurSel(row);
  SetFocus();
  if (m_current != previous) NotifySelChange();
  UpdateWindow();
  if (row == m_hoverRow) RemovePopup();
  ShowPopup(row);
}

void CEventListBox::AfterResize() {
  const CBitString events = m_items;
  SetItems(events);
}
