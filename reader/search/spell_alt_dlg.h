// CSpellAltDlg: checks one word of a query against a content database's word
// index and, when the word is not there, offers the index's alternatives: the
// reader changes the word, keeps it, or stops. Modal, laid exactly over the
// calling panel, in the look of the screen that is active.
#pragma once

#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "controls/scroll_list_box.h"
#include "search/search_panel.h"

class CContentDb;

class CSpellAltDlg : public CSearchPanel {
 public:
  static constexpr UINT kTemplate = 1024;
  static constexpr UINT kWordBox = 2079;
  static constexpr UINT kReplacementBox = 2100;
  static constexpr UINT kSearch = 2132;
  static constexpr UINT kCancel = 2131;
  static constexpr UINT kChange = 1032;
  static constexpr UINT kIgnoreAll = 1027;
  static constexpr UINT kIgnore = 1026;
  static constexpr UINT kClose = 2013;
  static constexpr UINT kList = 2099;
  // End codes.
  static constexpr int kChanged = 1;
  static constexpr int kStop = 2;
  static constexpr int kIgnored = 101;
  static constexpr int kSearchNow = 102;
  // Lookup kinds of the callers.
  static constexpr int kBooleanLookup = 12;
  static constexpr int kSmartLookup = 13;

  explicit CSpellAltDlg(CWnd* parent = nullptr);

  // Looks the word up; a known word gives 101 at once, else the dialog runs
  // with the alternatives found and its end code comes back.
  int Run(CContentDb& db, int lookupKind);

  CString m_word;         // set by the caller
  CString m_replacement;  // read by the caller after 1
  CRect m_cover;          // the panel to lay over, screen coordinates
  BOOL m_accents = FALSE;
  CStringArray m_alternatives;

 protected:
  BOOL OnInitDialog() override;
  // The media look's framed dialog is dragged by its band wherever it stands.
  BOOL DragsByBand() override { return m_screen == Screen::Media || CSearchPanel::DragsByBand(); }
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void Paint(CDC& dc) override;
  void OnListSelChange();
  void OnListDblClk();
  void OnReplacementChange();
  void OnReplacementFocus();
  DECLARE_MESSAGE_MAP()

  CFlatEdit m_wordBox;
  CFlatEdit m_replacementBox;
  CScrollListBox m_list;
  CODButton m_search, m_cancel, m_change, m_ignoreAll, m_ignore, m_close;
};
