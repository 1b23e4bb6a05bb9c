#include "dictionary/dict_word_box.h"

#include "controls/od_button.h"
#include "dictionary/dict_logic.h"
#include "dictionary/dict_panels.h"
#include "dictionary/dict_search.h"
#include "reader/dictionary_ids.h"

BEGIN_MESSAGE_MAP(CDictWordBox, CCmdTarget)
ON_EN_CHANGE(IDC_DICT_WORD, OnChanged)
ON_EN_SETFOCUS(IDC_DICT_WORD, OnFocus)
END_MESSAGE_MAP()

CString CDictWordBox::GetWord() const {
  CString word;
  if (m_edit.GetSafeHwnd() != nullptr) m_edit.GetWindowText(word);
  return word;
}

void CDictWordBox::UpdateButtons() {
  const dict::WordButtons b =
      dict::ComputeWordButtons(GetWord(), m_view.GetMode(), m_view.Panels().IsOpen(dict::kTensesPanel));
  const struct {
    UINT id;
    bool on;
  } states[] = {{IDC_DICT_LOOK_UP, b.lookUp},
                {IDC_DICT_ANAGRAM, b.anagram},
                {IDC_DICT_SEARCH, b.search},
                {IDC_DICT_WILDCARD, b.wildcard},
                {IDC_DICT_CONJUGATE, b.conjugate}};
  for (const auto& state : states)
    if (CODButton* button = m_view.Button(state.id)) button->EnableWindow(state.on);
}

void CDictWordBox::OnChanged() { UpdateButtons(); }

void CDictWordBox::OnFocus() { m_edit.SetSel(0, -1); }

void CDictWordBox::OnEnter() {
  dict::WordButtons buttons;
  auto enabled = [this](UINT id) {
    CODButton* b = m_view.Button(id);
    return b != nullptr && b->IsWindowEnabled();
  };
  buttons.search = enabled(IDC_DICT_SEARCH);
  buttons.wildcard = enabled(IDC_DICT_WILDCARD);
  switch (dict::ClassifyEnter(GetWord(), buttons)) {
    case dict::EnterAction::kSearch: m_view.WordSearch().OnDictionarySearch(); break;
    case dict::EnterAction::kLookUp: m_view.OnLookUp(); break;
    case dict::EnterAction::kWildcard: m_view.WordSearch().OnWildcard(); break;
    case dict::EnterAction::kNothing: break;
  }
}
