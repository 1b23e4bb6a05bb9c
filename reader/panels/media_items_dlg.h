// CMediaItemsDlg: the encyclopedia's outline panel: the structure of the
// article on display as a tree of its section titles, their subsections and
// a "Multimedia Items" branch with its media objects. Choosing an entry
// hands its outline index to the owner (OutlineOwner::LinkOutlineEntry).
#pragma once

#include "controls/tree_list_box.h"
#include "display/display.h"
#include "panels/tool_window.h"
#include "reader/panels_ids.h"

class CMediaItemsDlg : public CToolWindow {
 public:
  // The tree's pictures (image, mask), by outline kind.
  static constexpr int kImageCount = 12;
  static const UINT kImages[kImageCount][2];

  CMediaItemsDlg() = default;
  using CToolWindow::Create;

  // Creates the window from template 4064 as a child of `owner` (whose
  // display, control 2089, it outlines) with its client area on the owner's
  // panel rectangle `rect`, fills the tree and shows it.
  virtual BOOL Create(const CRect& rect, CWnd* owner);
  // Fills the tree again from the display's outline.
  void FillTree();
  int GetItemCount() const { return m_itemCount; }
  CTreeListBox& Tree() { return m_tree; }
  CDisplay* GetDisplay() const { return DisplayOf(m_pParentWnd); }

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(CWnd* oldWnd);
  DECLARE_MESSAGE_MAP()

  // Passes the selected item's outline index to the owner.
  void ChooseSelected();

  CRect m_rect;
  CODButton m_close;
  CTreeListBox m_tree;
  CImagePairList m_images;
  int m_itemCount = 0;
};
