// CSmartSearchDlg: the Smart Search panel. The reader types words or a
// question; the panel turns it into weighted terms, drops stop words, adds
// inflected forms and, for short queries, related terms, and runs a ranked
// query whose result becomes the main frame's current query. Its Tuner
// button prepares the same query and hands it to the owning screen's Tuner.
#pragma once

#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "search/search_panel.h"

class CSmartSearchDlg : public CSearchPanel {
 public:
  static constexpr UINT kTemplate = 4051;
  static constexpr UINT kMediaTemplate = 4071;
  static constexpr UINT kQueryBox = 2079;
  static constexpr UINT kTuner = 2000;
  static constexpr int kQueryLimit = 1024;

  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner);

  // Search (Tuner: prepare and hand to the Tuner). TRUE when a query was
  // recorded or handed on.
  BOOL Search(BOOL forTuner);
  void ToggleSpellCheck();
  void Clear();

  BOOL IsSpellCheck() const { return m_spellCheck; }
  CFlatEdit& QueryBox() { return m_query; }
  CODButton& SearchButton() { return m_search; }
  CODButton& TunerButton() { return m_tuner; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout() override;
  void Paint(CDC& dc) override;
  CWnd* FocusTarget() override { return &m_query; }
  void ReleaseOnDestroy() override;
  void QueryChanged();
  // FALSE when the pass is abandoned.
  BOOL SpellingPass();
  // Adds the inflected forms of the terms there are now.
  void AddInflections(CStringArray& terms, CDWordArray& groups);

  CFlatEdit m_query;
  CODButton m_tuner, m_spellButton, m_search, m_close, m_help, m_clear;
  BOOL m_spellCheck = TRUE;
  BOOL m_forTuner = FALSE;
};
