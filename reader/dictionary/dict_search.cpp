// The dictionary screen's word searches (wildcard, anagram, Boolean search
// in the translation dictionaries), the conjugation tables of the
// French-English mode and the pronunciation key.
#include <cstring>
#include <vector>

#include "core/reader_context.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "reader/dictionary_ids.h"
#include "search/boolean_query.h"
#include "search/spell_alt_dlg.h"
#include "settings/settings.h"
#include "zorlre/in_api.h"
#include "zorlre/zorlre32.h"

namespace {

constexpr int kTranslationLookup = 14;  // the spelling lookup of the translation databases

// A conjugation cell's forms as one value text.
CString CellValue(const InTableCell& cell) {
  CString value;
  for (int f = 0; f < cell.formCount && f < static_cast<int>(InCellForms); ++f) {
    if (cell.forms[f][0] == '\0') continue;
    if (!value.IsEmpty()) value += ", ";
    value += cell.forms[f];
  }
  return value;
}

// The cell's words without the blank that joins them to the forms (the
// painter puts its own).
CString CellLabel(const InTableCell& cell) {
  CString label(cell.text);
  label.TrimRight();
  return label;
}

}  // namespace

// ---- word lists -----------------------------------------------------------------

void CDict::ShowWordList(int panelMode, const CStringArray& words, const CDWordArray* entries) {
  if (OpenPanel(dict::kAlternativesPanel, panelMode)) FillPanel(m_alternatives, words, entries);
  ClearEntry();
  m_display.Invalidate();
}

void CDict::OnWildcard() {
  CWaitCursor wait;
  ReopenWordPanels();
  CStringArray words;
  const int count = ModeDatabase().ListWildcard(GetWord(), words);
  if (count > 0) {
    ShowWordList(CWordListDlg::kWildcard, words, nullptr);
  } else {
    m_wordEdit.SetFocus();
    ClosePanel(dict::kAlternativesPanel);
  }
}

void CDict::OnAnagram() {
  const CString text = GetWord();
  if (text.GetLength() < m_anagramLength) {
    AfxMessageBox("Anagram length must be greater than 2 and less or equal to the length of the word.",
                  MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CWaitCursor wait;
  ReopenWordPanels();
  CStringArray words;
  const int count = ModeDatabase().ListAnagrams(text, m_anagramLength, words);
  if (count > 0) {
    ShowWordList(CWordListDlg::kAnagram, words, nullptr);
  } else {
    m_wordEdit.SetFocus();
    ClosePanel(dict::kAlternativesPanel);
  }
}

void CDict::OnAnagramLength(UINT id) {
  const int length = dict::AnagramLengthOfItem(id);
  if (length < 0) return;
  m_anagramLength = length;
  CString text;
  text.Format("%d", length);
  WriteSettingString(InstallationOptions, "AnagramLength", text, SettingsIniName);
}

void CDict::OnUpdateAnagramLength(CCmdUI* cmdUI) {
  cmdUI->SetCheck(cmdUI->m_nID == dict::AnagramMenuItem(m_anagramLength));
}

// ---- the Boolean search of a translation dictionary ------------------------------

// The search terms of the word edit, each checked against the mode's
// database by the spelling-alternatives dialog over the left column: a
// chosen replacement takes the term's place in the edit. 0: no search (no
// term, or the reader stopped); 1: search.
int CDict::CheckSearchTerms() {
  const CString original = GetWord();
  const auto tokens = [](const char* text, CString& token) {
    int sentence = 0;
    return Reader().NextToken(text, token, sentence, FALSE);
  };
  const std::vector<search::Word> words = search::WordsOf(original, tokens);
  if (words.empty()) return 0;
  CRect cover = m_layout.panels[0];
  if (m_nMode >= dict::kContents) cover.OffsetRect(0, -m_wordBox.Height());
  ClientToScreen(&cover);
  CString current = original;
  int shift = 0;
  for (const search::Word& word : words) {
    CSpellAltDlg dialog(this);
    dialog.m_cover = cover;
    dialog.m_word = word.text;
    const int result = dialog.Run(ModeDatabase(), kTranslationLookup);
    if (result == CSpellAltDlg::kStop) return 0;
    if (result == CSpellAltDlg::kSearchNow) return 1;
    if (result == CSpellAltDlg::kChanged) {
      current = search::ReplaceAt(current, word.offset + shift, word.text.GetLength(), dialog.m_replacement);
      shift += dialog.m_replacement.GetLength() - word.text.GetLength();
      m_wordEdit.SetWindowText(current);
      m_wordEdit.UpdateWindow();
    }
  }
  return 1;
}

void CDict::OnDictionarySearch() {
  ReopenWordPanels();
  if (CheckSearchTerms() == 1) RunDictionarySearch();
}

void CDict::RunDictionarySearch() {
  ReaderContext& app = Reader();
  const CString text = GetWord();
  CStringArray& highlight = m_alternatives.HighlightWords();
  highlight.RemoveAll();
  CString token;
  int sentence = 0;
  for (int at = app.NextToken(text, token, sentence, TRUE); at >= 0;
       at = app.NextToken(nullptr, token, sentence, TRUE)) {
    if (!dict::IsOperatorWord(token)) highlight.Add(token);
  }
  for (UINT id : {IDC_DICT_LOOK_UP, IDC_DICT_ANAGRAM, IDC_DICT_SEARCH})
    if (CODButton* b = Button(id)) b->EnableWindow(FALSE);
  CStringArray titles;
  CDWordArray entries;
  const int count = ModeDatabase().DictionarySearch(text, titles, entries);
  UpdateWordButtons();
  if (count > 0) {
    ShowWordList(CWordListDlg::kSearchResults, titles, &entries);
  } else {
    m_wordEdit.SetFocus();
    ClosePanel(dict::kAlternativesPanel);
  }
}

// ---- conjugation ----------------------------------------------------------------

void CDict::OnConjugate() {
  InTableContext& context = *m_conjugation;
  if (context.descriptorPresent == 0 || (context.flags & 0xA0) != 0xA0) return;
  CString word = GetWord();
  if (word.IsEmpty()) return;
  if (word.GetLength() > 80) word = word.Left(80);
  context.labelLanguage = InFrench;
  context.mode = InModeReady;
  char text[81] = "";
  std::strncpy(text, word, sizeof text - 1);
  if (INflect(text, &context) != 2 || context.tableCount <= 0 || context.tables[0] == nullptr) {
    CString message;
    message.Format("There is no conjugation for %s.", static_cast<LPCTSTR>(word));
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  ClosePanel(dict::kKeyPanel);
  ClosePanel(dict::kAlternativesPanel);
  ClosePanel(dict::kHeadwordsPanel);
  for (UINT id : {IDC_DICT_SEARCH, IDC_DICT_ANAGRAM, IDC_DICT_WILDCARD})
    if (CODButton* b = Button(id)) b->EnableWindow(FALSE);
  if (OpenPanel(dict::kTensesPanel, CWordListDlg::kTenses)) {
    const InTableRecord& table = *context.tables[0];
    CStringArray tenses;
    for (int i = 0; i < table.lineCount; ++i) tenses.Add(table.lines[i].text);
    FillPanel(m_tenses, tenses, nullptr);
  }
  if (dict::Shown(m_conjugationWnd)) {
    m_conjugationWnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  } else {
    m_conjugationWnd.ShowWindow(SW_SHOW);
  }
  m_display.ShowWindow(SW_HIDE);
  EnablePrintSave(FALSE);
  InvalidateRect(&m_heading);
  UpdateWindow();
}

void CDict::RepaintConjugation() {
  if (m_conjugationWnd.GetSafeHwnd() != nullptr)
    m_conjugationWnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CDict::HideConjugation() {
  m_conjugationWnd.ShowWindow(SW_HIDE);
  m_display.ShowWindow(SW_SHOW);
  InvalidateRect(&m_layout.display);
  InvalidateRect(&m_heading);
  UpdateWindow();
  UpdateWordButtons();
}

int CDict::GetCompanionSelection() {
  if (!m_tenses.IsOpen() || m_conjugation->tableCount <= 0 || m_conjugation->tables[0] == nullptr) return -1;
  const int row = m_tenses.List().GetCurSel();
  return row < m_conjugation->tables[0]->lineCount ? row : -1;
}

void CDict::GetLabelledValues(int row, CStringArray& commonLabels, CStringArray& commonValues, CStringArray& itemLabels,
                              CStringArray& itemValues) {
  if (m_conjugation->tableCount <= 0 || m_conjugation->tables[0] == nullptr) return;
  const InTableRecord& table = *m_conjugation->tables[0];
  for (int i = 0; i < table.titleCount; ++i) {
    commonLabels.Add(CellLabel(table.titles[i]));
    commonValues.Add(CellValue(table.titles[i]));
  }
  if (row < 0 || row >= table.lineCount) return;
  const InTableLine& line = table.lines[row];
  for (int i = 0; i < line.cellCount && i < static_cast<int>(InLineCells); ++i) {
    itemLabels.Add(CellLabel(line.cells[i]));
    itemValues.Add(CellValue(line.cells[i]));
  }
}

// ---- the pronunciation key ------------------------------------------------------

void CDict::OnPronunciationKey() {
  if (m_keyPanel.IsOpen()) return;
  CWaitCursor wait;
  CloseSharedWindows(-1);
  ClosePanel(dict::kSynonymsPanel);
  ClosePanel(dict::kHeadwordsPanel);
  ClosePanel(dict::kTensesPanel);
  ClosePanel(dict::kAlternativesPanel);
  if (OpenPanel(dict::kKeyPanel, CWordListDlg::kPronunciationKey)) m_keyPanel.SetFocus();
}
