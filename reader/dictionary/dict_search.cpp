#include "dictionary/dict_search.h"

#include <vector>

#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "core/reader_context.h"
#include "dictionary/dict_panels.h"
#include "dictionary/dict_shared_windows.h"
#include "display/display.h"
#include "reader/dictionary_ids.h"
#include "search/boolean_query.h"
#include "search/spell_alt_dlg.h"
#include "settings/settings.h"

namespace {

constexpr int kTranslationLookup = 14;  // the spelling lookup of the translation databases

}  // namespace

BEGIN_MESSAGE_MAP(CDictWordSearch, CCmdTarget)
ON_BN_CLICKED(IDC_DICT_WILDCARD, OnWildcard)
ON_BN_CLICKED(IDC_DICT_ANAGRAM, OnAnagram)
ON_BN_CLICKED(IDC_DICT_SEARCH, OnDictionarySearch)
ON_COMMAND(ID_DICT_PRONUNCIATION_KEY, OnPronunciationKey)
ON_COMMAND_RANGE(ID_DICT_ANAGRAM_SAME, ID_DICT_ANAGRAM_10, OnAnagramLength)
ON_UPDATE_COMMAND_UI_RANGE(ID_DICT_ANAGRAM_SAME, ID_DICT_ANAGRAM_10, OnUpdateAnagramLength)
END_MESSAGE_MAP()

void CDictWordSearch::Start() {
  m_anagramLength = GetSettingInt(InstallationOptions, "AnagramLength", 0, SettingsIniName);
}

// ---- word lists -----------------------------------------------------------------

void CDictWordSearch::ShowWordList(int panelMode, const CStringArray& words, const CDWordArray* entries) {
  CDictPanels& panels = m_view.Panels();
  if (panels.Open(dict::kAlternativesPanel, panelMode)) panels.Fill(dict::kAlternativesPanel, words, entries);
  m_view.ClearEntry();
  m_view.Display().Invalidate();
}

void CDictWordSearch::ShowNothingFound() {
  m_view.WordEdit().SetFocus();
  m_view.Panels().Close(dict::kAlternativesPanel);
}

void CDictWordSearch::OnWildcard() {
  CWaitCursor wait;
  m_view.Panels().CloseKey(m_view.GetMode());
  CStringArray words;
  const int count = m_view.ModeDatabase().ListWildcard(m_view.GetWord(), words);
  if (count > 0) {
    ShowWordList(CWordListDlg::kWildcard, words, nullptr);
  } else {
    ShowNothingFound();
  }
}

void CDictWordSearch::OnAnagram() {
  const CString text = m_view.GetWord();
  if (text.GetLength() < m_anagramLength) {
    AfxMessageBox("Anagram length must be greater than 2 and less or equal to the length of the word.",
                  MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CWaitCursor wait;
  m_view.Panels().CloseKey(m_view.GetMode());
  CStringArray words;
  const int count = m_view.ModeDatabase().ListAnagrams(text, m_anagramLength, words);
  if (count > 0) {
    ShowWordList(CWordListDlg::kAnagram, words, nullptr);
  } else {
    ShowNothingFound();
  }
}

void CDictWordSearch::OnAnagramLength(UINT id) {
  const int length = dict::AnagramLengthOfItem(id);
  if (length < 0) return;
  m_anagramLength = length;
  CString text;
  text.Format("%d", length);
  WriteSettingString(InstallationOptions, "AnagramLength", text, SettingsIniName);
}

void CDictWordSearch::OnUpdateAnagramLength(CCmdUI* cmdUI) {
  cmdUI->SetCheck(cmdUI->m_nID == dict::AnagramMenuItem(m_anagramLength));
}

// ---- the Boolean search of a dictionary ------------------------------------------

int CDictWordSearch::CheckSearchTerms() {
  const CString original = m_view.GetWord();
  const auto tokens = [](const char* text, CString& token) {
    int sentence = 0;
    return Reader().NextToken(text, token, sentence, FALSE);
  };
  const std::vector<search::Word> words = search::WordsOf(original, tokens);
  if (words.empty()) return 0;
  CRect cover = m_view.Layout().panels[0];
  if (m_view.GetMode() >= dict::kContents) cover.OffsetRect(0, -m_view.WordBox().Height());
  m_view.View().ClientToScreen(&cover);
  CString current = original;
  int shift = 0;
  CFlatEdit& edit = m_view.WordEdit();
  for (const search::Word& word : words) {
    CSpellAltDlg dialog(&m_view.View());
    dialog.m_cover = cover;
    dialog.m_word = word.text;
    const int result = dialog.Run(m_view.ModeDatabase(), kTranslationLookup);
    if (result == CSpellAltDlg::kStop) return 0;
    if (result == CSpellAltDlg::kSearchNow) return 1;
    if (result == CSpellAltDlg::kChanged) {
      current = search::ReplaceAt(current, word.offset + shift, word.text.GetLength(), dialog.m_replacement);
      shift += dialog.m_replacement.GetLength() - word.text.GetLength();
      edit.SetWindowText(current);
      edit.UpdateWindow();
    }
  }
  return 1;
}

void CDictWordSearch::OnDictionarySearch() {
  m_view.Panels().CloseKey(m_view.GetMode());
  if (CheckSearchTerms() == 1) RunDictionarySearch();
}

void CDictWordSearch::RunDictionarySearch() {
  ReaderContext& app = Reader();
  const CString text = m_view.GetWord();
  CStringArray& highlight = m_view.Panels().Of(dict::kAlternativesPanel).HighlightWords();
  highlight.RemoveAll();
  CString token;
  int sentence = 0;
  for (int at = app.NextToken(text, token, sentence, TRUE); at >= 0;
       at = app.NextToken(nullptr, token, sentence, TRUE)) {
    if (!dict::IsOperatorWord(token)) highlight.Add(token);
  }
  for (UINT id : {IDC_DICT_LOOK_UP, IDC_DICT_ANAGRAM, IDC_DICT_SEARCH})
    if (CODButton* b = m_view.Button(id)) b->EnableWindow(FALSE);
  CStringArray titles;
  CDWordArray entries;
  const int count = m_view.ModeDatabase().DictionarySearch(text, titles, entries);
  m_view.UpdateWordButtons();
  if (count > 0) {
    ShowWordList(CWordListDlg::kSearchResults, titles, &entries);
  } else {
    ShowNothingFound();
  }
}

// ---- the pronunciation key ------------------------------------------------------

void CDictWordSearch::OnPronunciationKey() {
  CDictPanels& panels = m_view.Panels();
  if (panels.IsOpen(dict::kKeyPanel)) return;
  CWaitCursor wait;
  m_view.SharedWindows().CloseAll(-1);
  for (int panel : {dict::kSynonymsPanel, dict::kHeadwordsPanel, dict::kTensesPanel, dict::kAlternativesPanel})
    panels.Close(panel);
  // Over a shared window's column (modes 5 to 8) the key panel stands a word box higher.
  const int lift = m_view.GetMode() >= dict::kContents ? m_view.WordBox().Height() : 0;
  if (panels.Open(dict::kKeyPanel, CWordListDlg::kPronunciationKey, lift)) panels.Of(dict::kKeyPanel).SetFocus();
}
