// CMediaDlg: the media screen's tool window "Media By Subject": a modeless
// panel that lists the titles of the gallery's media articles, narrowed by
// subjects (the media categories) and by seven media-kind filters, with a
// find field that jumps to a title. Choosing a title shows that item in the
// gallery; the gallery's slide show runs over the panel's list while it is
// open.
#pragma once

#include "controls/bm_list_box.h"
#include "controls/flat_edit.h"
#include "controls/hover_tracker.h"
#include "controls/menu_button.h"
#include "controls/od_button.h"
#include "controls/skin_list_box.h"
#include "core/bit_string.h"
#include "framework.h"

class GalleryPartOwner;

class CMediaDlg : public CDialog {
 public:
  static constexpr UINT TemplateId = 3008;
  static constexpr int BandHeight = 23;
  static constexpr int FilterBand = 20;
  static constexpr int ExtraWidth = 250;
  static constexpr int FindLimit = 90;
  static constexpr int FilterCount = 7;

  CMediaDlg();

  // Modeless at `rect` (screen coordinates), owned by the main frame.
  BOOL Create(const CRect& rect, CWnd* owner, GalleryPartOwner* gallery);

  // The titles list's set (the slide show's selection) and its selected articles.
  const CBitString& GetShownSet() const { return m_shown; }
  const CBitString& GetSubjectSet() const { return m_subjects; }
  const CBitString& GetSelectedArticles() const { return m_titles.GetSelection(); }
  BOOL IsExpanded() const { return m_bExpanded; }
  int GetCollapsedWidth() const { return m_collapsedWidth; }
  CBmListBox& GetTitles() { return m_titles; }
  CSkinListBox& GetSubjects() { return m_subjectList; }
  CODButton& GetFilter(int i) { return m_filters[i]; }
  CMenuButton& GetFindMenu() { return m_findMenu; }
  CFlatEdit& GetFindField() { return m_find; }
  void SetPalette(CPalette* palette);

  // What the commands do, also called by tests.
  void RecomputeSubjects();
  void ApplyFilters();
  void ShowTitle();
  void ToggleExpanded();
  void FindFromList();
  void TypematicFind();
  void ToggleFilter(UINT id);

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  UINT OnNcHitTest(CPoint point);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  void OnSetFocus(CWnd* pOldWnd);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnDestroy();
  void OnSubjectsChange();
  void OnTitlesChange();
  void OnTitlesDoubleClick();
  void OnFindChange();
  void OnFindFocus();
  void OnFindMenu();
  void OnFound(UINT id);
  void OnShow();
  void OnMinimize();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  GalleryPartOwner* m_gallery = nullptr;
  CRect m_createRect;
  CBitString m_subjects;
  CBitString m_shown;
  CBmListBox m_titles;
  CSkinListBox m_subjectList;
  CFlatEdit m_find;
  BOOL m_bFilling = FALSE;
  CMenuButton m_findMenu;
  CDWordArray m_found;
  CODButton m_filters[FilterCount];
  CODButton m_show;
  CODButton m_minimize;
  int m_collapsedWidth = 0;
  int m_expandedWidth = 0;
  BOOL m_bExpanded = TRUE;
  CPalette* m_pPalette = nullptr;
  CHoverTracker m_lastHover;
};
