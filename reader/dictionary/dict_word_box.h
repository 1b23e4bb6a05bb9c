// CDictWordBox: the dictionary screen's word edit in modes 0 to 4 and what
// its text decides: which of the word buttons (Look Up, Search, Anagram,
// Wildcard, Conjugate) are enabled, and which of them Enter runs.
#pragma once

#include "controls/flat_edit.h"
#include "dictionary/dict_part.h"

class CDictWordBox : public CDictPart {
 public:
  using CDictPart::CDictPart;

  CFlatEdit& Edit() { return m_edit; }
  // The edit's text; empty before the edit is made.
  CString GetWord() const;
  // The word buttons' states for the text, the mode and the tenses panel.
  void UpdateButtons();
  // Enter in the screen: Search, Look Up or Wildcard, by the text and the
  // buttons enabled; nothing for an empty edit.
  void OnEnter();

 protected:
  void OnChanged();
  void OnFocus();
  DECLARE_MESSAGE_MAP()

 private:
  CFlatEdit m_edit;
};
