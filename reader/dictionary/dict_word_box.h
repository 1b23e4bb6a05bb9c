// CDictWordBox: the dictionary screen's word edit in modes 0 to 4 and what
// its text decides: which of the word buttons (Look Up, Search, Anagram,
// Wildcard, Conjugate) are enabled, and which of them Enter runs. A command
// target the view routes the edit's notifications to (CDict::OnCmdMsg).
#pragma once

#include "controls/flat_edit.h"
#include "framework.h"

class CDict;

class CDictWordBox : public CCmdTarget {
 public:
  explicit CDictWordBox(CDict& view) : m_view(view) {}
  CDictWordBox(const CDictWordBox&) = delete;
  CDictWordBox& operator=(const CDictWordBox&) = delete;

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
  CDict& m_view;
  CFlatEdit m_edit;
};
