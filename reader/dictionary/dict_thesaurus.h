// CDictThesaurus: the dictionary screen's thesaurus list (the senses of the
// word looked up) and the synonyms of the chosen sense, which go into the
// synonyms panel.
#pragma once

#include "controls/scroll_list_box.h"
#include "dictionary/dict_part.h"

class CDictThesaurus : public CDictPart {
 public:
  using CDictPart::CDictPart;

  CDictListBox& List() { return m_list; }
  // Lists the word's senses and shows the first one's synonyms; FALSE (the
  // list empty) when the thesaurus has no entry for it.
  BOOL LookUp(const CString& word);
  // Lists the senses parsed last again (new fonts), or the notice that there are none.
  void Refill();
  // The synonyms of the chosen sense into the synonyms panel, when it is open.
  void ShowSynonyms();

 protected:
  void OnSelection();
  DECLARE_MESSAGE_MAP()

 private:
  // The list emptied and filled with the parsed senses; their count.
  int ListSenses();
  // The first sense chosen and its synonyms shown; FALSE when there are no senses.
  BOOL SelectFirst(int senses);

  CDictListBox m_list;
};
