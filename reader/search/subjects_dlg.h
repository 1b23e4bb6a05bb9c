// CSubjectsDlg: the title index. "Contents" lists the titles of all articles,
// cut by the same fourteen filter toggles as the results window, with a find
// box that jumps to a title as the reader types and "Find from list", which
// runs a full-text query and offers the matching titles in a drop-down.
// "Titles By Subject" widens the window by a subject part: a subject tree
// to browse or a search by subject name; a chosen subject replaces the
// listed articles by its own.
#pragma once

#include "controls/bm_list_box.h"
#include "controls/flat_edit.h"
#include "controls/menu_button.h"
#include "controls/plain_list_box.h"
#include "controls/scroll_list_box.h"
#include "controls/skin_list_box.h"
#include "core/reader_screen.h"
#include "search/filter_toggles.h"
#include "search/search_panel.h"

class CSubjectsDlg : public CSearchPanel, public SearchStatePanel {
 public:
  static constexpr UINT kTemplate = 2056;
  static constexpr UINT kMediaTemplate = 4074;
  static constexpr UINT kFindBox = 2061;
  static constexpr UINT kFindFromList = 2016;
  static constexpr UINT kShowSubjects = 2018;
  static constexpr UINT kList = 2062;
  static constexpr UINT kMode = 2020;
  static constexpr UINT kTree = 4199;
  static constexpr UINT kSubjectBox = 4112;
  static constexpr UINT kMatches = 4198;
  static constexpr UINT kPath = 2064;
  static constexpr UINT kFoundFirstId = 11000;
  static constexpr int kSubjectWidth = 300;
  static constexpr int kFindLimit = 90;
  static constexpr int kQueryLimit = 256;

  // Makes the window in `rect` (owner client coordinates; the subject part
  // adds 300 pixels to the right). 0 when the dialog cannot be made.
  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner, BOOL subjectMode);
  // WM_REFRESHLIST: toggles from the frame's saved state, filter, and in
  // contents mode the saved list position and find text.
  void Refresh();
  void Filter();
  void SaveState(SearchState& state) override;
  // The find box's reaction to its text.
  void FindTyped();
  // Runs the find box's text as a query over the listed articles and fills
  // the drop-down; returns how many articles it holds (0: left as it was).
  int FindFromList();
  // Selects the (k+1)-th article found and opens it.
  void OpenFound(int k);
  BOOL OpenCurrent();
  void ToggleSubjectPart();
  void ToggleMode();
  // The base set becomes all (encyclopedia) articles or the union of the
  // subjects' articles (indexes into the category list; 0 is "All").
  void ChooseSubjects(const CUIntArray& categories);
  void SubjectTyped();

  BOOL IsSubjectMode() const { return m_subjectMode; }
  BOOL IsBrowsing() const { return m_browse; }
  BOOL IsSubjectPartShown() const { return m_subjectShown; }
  const CBitString& GetBaseSet() const { return m_base; }
  const CBitString& GetFoundSet() const { return m_found; }
  CBmListBox& List() { return m_list; }
  CFlatEdit& FindBox() { return m_findBox; }
  CFlatEdit& SubjectBox() { return m_subjectBox; }
  CMenuButton& FindButton() { return m_findButton; }
  CFilterToggles& Toggles() { return m_toggles; }
  CSkinListBox& Tree() { return m_tree; }
  CScrollListBox& Matches() { return m_matches; }
  CPlainListBox& Path() { return m_path; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnRefreshList(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void Layout() override;
  void Paint(CDC& dc) override;
  CWnd* FocusTarget() override { return &m_findBox; }
  void ShowSubjectControls(BOOL show);
  void SetWidth(int width);
  void ListSelected();
  void TreeChosen();
  void MatchChosen();
  void ShowMatchPath();
  // All articles, cut to the owner's encyclopedia set in subject mode.
  CBitString AllArticles() const;

  CFlatEdit m_findBox;
  CMenuButton m_findButton;
  CODButton m_showButton, m_close, m_modeButton;
  CBmListBox m_list;
  CFilterToggles m_toggles;
  CSkinListBox m_tree;
  CFlatEdit m_subjectBox;
  CScrollListBox m_matches;
  CPlainListBox m_path;
  CBitString m_base;
  CBitString m_found;
  BOOL m_subjectMode = FALSE;
  BOOL m_browse = FALSE;
  BOOL m_subjectShown = FALSE;
  BOOL m_suppressFind = FALSE;
  // The article the program itself made current (a new set, the saved or
  // the found article): its selection notices do not rewrite the find box.
  int m_listChosen = -1;
  BOOL m_resizing = FALSE;
  int m_narrow = 0;
  int m_wide = 0;
};
