// CTunerDlg: lets the reader change the weight of each word of a prepared
// Smart Search before it runs: one slider per term, set from the weights the
// preparation computed; Search writes the sliders back and runs the query.
#pragma once

#include "controls/od_button.h"
#include "controls/skin_scroll_wnd.h"
#include "search/search_panel.h"

class CTunerDlg : public CSearchPanel {
 public:
  static constexpr UINT kTemplate = 1037;
  static constexpr UINT kMediaTemplate = 4072;
  static constexpr UINT kTermList = 1;
  // The screens' Smart Search command, posted when the Tuner closes unused.
  static constexpr UINT kSmartSearchCommand = 5061;

  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner, const CString& query, const CStringArray& terms);
  // Writes the sliders back and runs the prepared query; TRUE when a query
  // was recorded.
  BOOL Search();

  const CStringArray& GetWords() const { return m_words; }
  float GetScale() const { return m_scale; }
  CListWnd& TermList() { return m_list; }

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void Layout() override;
  void Paint(CDC& dc) override;
  CWnd* FocusTarget() override { return &m_list; }
  // The prepared query goes with the panel (after a search nothing is left
  // to release).
  void ReleaseOnDestroy() override;
  // The spellings of the terms as the word index holds them.
  void MakeDisplayWords(const CStringArray& terms);

  CODButton m_search, m_close, m_help;
  CListWnd m_list;
  CStringArray m_words;
  CString m_query;
  float m_scale = 1.0f;
  BOOL m_searched = FALSE;
};
