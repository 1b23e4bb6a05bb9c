// The dictionary screen's word-list commands: the wildcard and anagram
// searches and the Boolean search of a dictionary, whose words go into the
// alternatives panel, the anagram length setting, and the pronunciation key
// panel. It reads the word edit and the mode's database of its view.
#pragma once

#include "dictionary/dict_part.h"

class CDictWordSearch : public CDictPart {
 public:
  using CDictPart::CDictPart;

  // Reads the anagram length setting.
  void Start();
  int GetAnagramLength() const { return m_anagramLength; }

  void OnWildcard();
  void OnAnagram();
  // The Boolean search of the word edit's terms, after each was checked.
  void OnDictionarySearch();
  // The search terms of the word edit, each checked against the mode's
  // database by the spelling-alternatives dialog over the left column: a
  // chosen replacement takes the term's place in the edit. 0: no search (no
  // term, or the reader stopped); 1: search.
  int CheckSearchTerms();
  void OnPronunciationKey();

 protected:
  void OnAnagramLength(UINT id);
  void OnUpdateAnagramLength(CCmdUI* cmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  void RunDictionarySearch();
  // The words in the alternatives panel in a panel mode; the entry goes.
  void ShowWordList(int panelMode, const CStringArray& words, const CDWordArray* entries);
  // Nothing found: the alternatives panel goes and the word edit has the focus.
  void ShowNothingFound();

  int m_anagramLength = 0;
};
