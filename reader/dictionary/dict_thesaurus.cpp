#include "dictionary/dict_thesaurus.h"

#include "core/reader_context.h"
#include "dictionary/dict_panels.h"
#include "reader/dictionary_ids.h"

namespace {

CContentDb& Thesaurus() { return Reader().GetDatabase(2); }

}  // namespace

BEGIN_MESSAGE_MAP(CDictThesaurus, CCmdTarget)
ON_LBN_SELCHANGE(IDC_DICT_THESAURUS_LIST, OnSelection)
ON_LBN_SELCANCEL(IDC_DICT_THESAURUS_LIST, OnSelection)
END_MESSAGE_MAP()

int CDictThesaurus::ListSenses() {
  CContentDb& thesaurus = Thesaurus();
  m_list.ResetContent();
  const int senses = thesaurus.GetParsedCount();
  for (int n = 0; n < senses; ++n) {
    CString label;
    thesaurus.GetParsedLabel(n, label);
    m_list.AddStringAtEnd(label);
  }
  return senses;
}

BOOL CDictThesaurus::SelectFirst(int senses) {
  if (senses <= 0) return FALSE;
  m_list.SetCurSel(0);
  ShowSynonyms();
  return TRUE;
}

BOOL CDictThesaurus::LookUp(const CString& word) {
  if (!Thesaurus().ParseEntries(word)) {
    m_list.ResetContent();
    return FALSE;
  }
  return SelectFirst(ListSenses());
}

void CDictThesaurus::Refill() {
  if (!SelectFirst(ListSenses())) m_list.AddStringAtEnd("-No thesaurus entry available.");
}

void CDictThesaurus::OnSelection() { ShowSynonyms(); }

void CDictThesaurus::ShowSynonyms() {
  CContentDb& thesaurus = Thesaurus();
  const int sense = m_list.GetCurSel();
  if (sense < 0 || sense >= thesaurus.GetParsedCount()) return;
  const int count = thesaurus.GetParsedItemCount(sense);
  if (count == 0) return;
  CWaitCursor wait;
  CStringArray words;
  for (int k = 0; k < count; ++k) {
    CString item;
    if (thesaurus.GetParsedItem(sense, k, item)) words.Add(item);
  }
  CDictPanels& panels = m_view.Panels();
  if (panels.IsOpen(dict::kSynonymsPanel)) panels.Fill(dict::kSynonymsPanel, words, nullptr);
}
