// CSkinListBox: a category hierarchy as a collapsible, multiple-selection list
// with the skinned scroll bar: the media categories (variant 1) or the
// subject categories (other variants) of the main content database. Row item
// data: low 16 bits the category's index, high 16 bits 1 while expanded.
#pragma once

#include "controls/scroll_list_box.h"
#include "core/category_list.h"

class CSkinListBox : public CBarListBox {
 public:
  static constexpr int kIndentPerLevel = 15;
  static constexpr DWORD kExpandedFlag = 0x10000;

  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId, int variant);
  const CCategoryList& Categories() const { return m_categories; }
  int GetRowHeight() const { return m_rowHeight; }
  int CategoryOfRow(int row) const { return static_cast<int>(CListBox::GetItemData(row) & 0xFFFF); }
  BOOL IsRowExpanded(int row) const { return (CListBox::GetItemData(row) & kExpandedFlag) != 0; }
  // Expands or collapses the category row (a row of a category with children).
  void Toggle(int row);

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int RowHeight() const override { return m_rowHeight; }

 private:
  BOOL HasChildren(int row) const;
  BOOL OnMarker(CPoint point, int& row) const;
  void Expand(int row);
  void Collapse(int row);
  void MoveSelection(int step);
  void RefreshAfterChange();

  CCategoryList m_categories;
  CBitmap m_expandedMarker;
  CBitmap m_collapsedMarker;
  CSize m_expandedSize;
  CSize m_collapsedSize;
  int m_variant = 0;
  int m_rowHeight = 0;
  int m_collapsedOffset = 0;
  int m_expandedOffset = 0;
};
