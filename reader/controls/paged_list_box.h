// The common part of the lists of any length (the article title list and the
// timeline event list): the list box holds only blank owner-drawn rows, the
// class keeps a set and a cache of the titles of the visible page, fetched as
// the page moves, draws the skinned scroll bar, and shows a title that does
// not fit whole in a pop-up strip while the mouse rests on it.
#pragma once

#include "controls/screen_patch.h"
#include "controls/skin_bar_host.h"
#include "core/bit_string.h"

class CPagedListBox : public CListBox, public CSkinBarHost {
 public:
  static constexpr UINT_PTR kHoverTimer = 1000;
  static constexpr UINT kHoverDelay = 200;
  static constexpr int kTitleBuffer = 255;

  int SetPosition(int newPos, BOOL redraw) override;
  void GetRange(int& first, int& last) const {
    first = m_bar.m_min;
    last = m_bar.m_max;
  }
  int GetTopIndex() const { return m_bar.m_pos; }
  int GetRows() const { return m_rows; }
  int GetHoverRow() const { return m_hoverRow; }
  CRect GetPopupRect() const { return m_hoverRow >= 0 ? m_popupRect : CRect(); }
  // The cached title and item of a page row.
  const CString& RowTitle(int row) const { return m_titles[row]; }
  int RowItem(int row) const { return static_cast<int>(m_rowItems[row]); }
  // Shows the pop-up for a row now (the hover timer's work) / removes it.
  void ShowPopup(int row);
  void RemovePopup();

 protected:
  CPagedListBox() : CSkinBarHost(this) {}

  // The listed set (articles or events) and the current member.
  CBitString m_items;
  int m_current = -1;
  int m_rows = 0;
  CStringArray m_titles;
  CDWordArray m_rowItems;
  int m_hoverRow = -1;
  CRect m_popupRect;
  // The screen under the pop-up's part outside the list.
  CScreenPatch m_popupUnder;
  BOOL m_hoverTimer = FALSE;
  // Pop-up numbers: where the title is measured from and how much wider than
  // the client area it must be to pop up.
  int m_popupSlack = 21;
  BOOL m_popupNeedsVisible = TRUE;

  // Subclasses the owner's control and cuts rect to whole rows.
  BOOL Place(const RECT& rect, CWnd* parent, UINT controlId, BOOL keepPlaceWhenEmpty);
  void AllocateRows(int rows);
  // Refills the blank rows and the range for the set and shows its first page.
  void Reload();
  int Count() const { return m_items.GetSetCount(); }
  // The member at a 1-based rank.
  int ItemAtRank(int rank) const { return m_items.GetAt(rank); }
  int RankOf(int item) const { return m_items.IndexOf(item) + 1; }
  // The page row shows a member of the set.
  BOOL IsListedRow(int row) const { return row >= 0 && row < m_rows && m_bar.m_pos + row <= Count(); }
  // Paints the row the list box draws while it has no rows (itemID -1) with
  // its focus; FALSE for any other item.
  BOOL PaintEmptyListRow(CDC& dc, const DRAWITEMSTRUCT& item) const;
  void NotifySelChange();
  void FetchRow(int row, int pos);
  virtual void FetchTitle(int item, char* buffer) = 0;
  virtual void OnRowFetched(int /*row*/) {}
  virtual void AfterPositionChange() {}
  // Paints one page row (ground, icon, title) into dc at rect.
  virtual void DrawRow(CDC& dc, const CRect& rect, int row, BOOL noClip) = 0;
  // The title rectangle's left inset when measuring for the pop-up.
  virtual int PopupLeft() const { return 2; }
  int ScrollPage() const override { return m_rows; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The bar's paging keys; the arrow keys move the current member a step.
  virtual BOOL OnKey(UINT key);
  virtual void MoveCurrent(int step) = 0;
  virtual void OnClick(UINT flags, CPoint point) = 0;
  // Cuts the window to whole rows, else makes the page that many rows and
  // lays the bar out before AfterResize.
  void OnResized(int height);
  virtual void AfterResize() = 0;
  void OnHoverMove(CPoint point);
  void OnHoverTimer();
  void FreeRows();
  int LineHeight() const;
};
