// CSearchDlg: the Boolean search panel. "Boolean Search" mode joins four term
// fields by operator pickers; "Advanced Boolean" mode takes one free text in
// which the reader writes the operators. A search may first walk every word
// through the spelling alternatives dialog, then runs the query, records it
// as the main frame's current query and asks the main window to show the
// results. The texts are kept in the application object, so the panel shows
// the same on every screen.
#pragma once

#include "controls/drop_list.h"
#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "search/boolean_query.h"
#include "search/search_panel.h"

class CSearchDlg : public CSearchPanel {
 public:
  static constexpr UINT kTemplate = 2001;
  static constexpr UINT kMediaTemplate = 4070;
  static constexpr UINT kAdvanced = 2003;
  static constexpr UINT kFieldIds[search::kTermFields] = {2063, 2068, 2073, 2080};
  static constexpr UINT kPickerIds[search::kPickers] = {2064, 2069, 2074};
  static constexpr UINT kFreeText = 2087;

  // Makes the panel in `rect` (owner client coordinates); FALSE when the
  // dialog cannot be made.
  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner);

  // The search (button, Enter while Search is enabled). TRUE when a query
  // was recorded.
  BOOL Search();
  void ToggleAdvanced();
  void ToggleSpellCheck();
  void Clear();

  BOOL IsAdvanced() const { return m_advanced; }
  BOOL IsSpellCheck() const { return m_spellCheck; }
  CFlatEdit& Field(int k) { return m_fields[k]; }
  CFlatEdit& FreeText() { return m_freeText; }
  CDropList& Picker(int k) { return m_pickers[k]; }
  CODButton& SearchButton() { return m_search; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout() override;
  void Paint(CDC& dc) override;
  CWnd* FocusTarget() override;
  void ReleaseOnDestroy() override;
  // The rule for a change of term field k (0 to 2).
  void FieldChanged(int k);
  void FreeTextChanged();
  search::BooleanInput Input() const;
  BOOL BuildQuery(CString& text, CStringArray& terms);
  // FALSE when the pass is abandoned (nothing is searched).
  BOOL SpellingPass();
  // Walks the words of one edit; FALSE when abandoned, `stop` when 102 ended
  // the checking.
  BOOL CheckWords(CEdit& edit, BOOL& stop);
  void SaveTexts();

  CODButton m_spellButton, m_search, m_close, m_help, m_clear, m_advancedButton;
  CFlatEdit m_fields[search::kTermFields];
  CFlatEdit m_freeText;
  CDropList m_pickers[search::kPickers];
  BOOL m_advanced = FALSE;
  BOOL m_spellCheck = TRUE;
};
