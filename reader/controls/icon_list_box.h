// CIconListBox: the tree list box with an icon before every item and the
// skinned scroll bar (encyclopedia look) in place of the system's.
#pragma once

#include "controls/skin_bar_host.h"
#include "controls/tree_list_box.h"

class CIconListBox : public CTreeListBox, public CSkinBarHost {
 public:
  CIconListBox() : CSkinBarHost(this) {}

  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, DWORD_PTR data, HTREEITEM parent,
                       HTREEITEM after) override;
  // Shows `row` (0-based) at the top and moves the thumb.
  void ScrollTo(int row);
  int SetPosition(int newPos, BOOL redraw) override;
  // The top row stays where the list box keeps it, inside the range.
  void SetRange(int first, int last, BOOL redraw) override;
  void GetRange(int& first, int& last) const {
    first = m_bar.m_min;
    last = m_bar.m_max;
  }
  int GetPosition() const { return m_bar.m_pos; }
  int GetRowsPerPage() const { return m_bar.m_page; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  int RowHeight() const override;
  void OnRowsChanged() override;

 private:
  void OnKey(UINT key);
  void ShowCaret(CTreeItem* item);
};
