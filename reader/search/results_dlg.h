// CResultsDlg: the results window. It lists the articles of the main frame's
// current query, cut down by the fourteen media and source filter toggles,
// and opens a chosen article on the screen that owns it. Every screen with
// search owns one; the result set, the query and the toggle states live in
// the main frame, so each screen's window shows the same thing.
#pragma once

#include "controls/bm_list_box.h"
#include "controls/flat_edit.h"
#include "core/reader_screen.h"
#include "search/filter_toggles.h"
#include "search/search_panel.h"

class CResultsDlg : public CSearchPanel, public SearchStatePanel {
 public:
  static constexpr UINT kTemplate = 3005;       // child window
  static constexpr UINT kMediaTemplate = 4069;  // pop-up with border (media screen)
  static constexpr UINT kQueryLine = 4184;
  static constexpr UINT kList = 2062;

  // Makes the window in `rect` (owner client coordinates) under `owner`;
  // `ranked` is 1 for a Smart Search result. 0 when the dialog cannot be made.
  virtual BOOL Create(const CRect& rect, UINT templateId, int ranked, CWnd* owner, const CStringArray* terms,
                      const CString& query);
  // WM_REFRESHLIST: the toggles and list position from the frame's saved
  // state, then the filter; with `tell` an empty list is reported.
  void Refresh(BOOL tell);
  // The filter toggles cut the current query's set; the list takes the result.
  void Filter();
  // Opens the list's current article; FALSE when there is none.
  BOOL OpenCurrent();
  // Copies the toggles and the list position into the frame's saved state.
  void SaveState(SearchState& state) override;

  const CString& GetQuery() const { return m_query; }
  const CStringArray& GetTerms() const { return m_terms; }
  int IsRanked() const { return m_ranked; }
  CBmListBox& List() { return m_list; }
  CFilterToggles& Toggles() { return m_toggles; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  void OnListDblClk();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnRefreshList(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout() override;
  void Paint(CDC& dc) override;
  CWnd* FocusTarget() override { return &m_list; }
  // Outside the media screen, the find hits go from the owner's display.
  void ReleaseOnDestroy() override;

  CODButton m_close;
  CHoverEdit m_queryLine;
  CBmListBox m_list;
  CFilterToggles m_toggles;
  CString m_query;
  CStringArray m_terms;
  int m_ranked = 0;
};
