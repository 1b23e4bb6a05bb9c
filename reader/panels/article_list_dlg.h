// CArticleListDlg: the floating tool window that shows a set of articles as
// a scrolling title list in the owner screen's panel rectangle: the
// encyclopedia's history and subject links, the articles of a media object
// or a quiz clue, the timeline's articles related to an event. The mode only
// changes the heading and the description.
#pragma once

#include "controls/bm_list_box.h"
#include "panels/panel_logic.h"
#include "panels/tool_window.h"
#include "reader/panels_ids.h"

class CArticleListDlg : public CToolWindow {
 public:
  CArticleListDlg() = default;
  using CToolWindow::Create;

  // Creates the window from `templateId` (1115) in `mode` (panels::
  // ArticleListMode) as a child of `owner` with its client area on `rect`,
  // and shows it. The owner then hands the list its articles
  // (SetArticles) and gives the window the focus.
  virtual BOOL Create(const CRect& rect, UINT templateId, int mode, CWnd* owner);
  int GetMode() const { return m_mode; }
  // Lists the set and repaints the count in the band.
  void SetArticles(const CBitString& set);
  CBmListBox& ArticleList() { return m_list; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDblClkList();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(CWnd* oldWnd);
  DECLARE_MESSAGE_MAP()

  // Shows the list's current article on its screen.
  void OpenCurrent();

  CRect m_rect;
  int m_mode = panels::kHistoryMode;
  CODButton m_close;
  CBmListBox m_list;
};
