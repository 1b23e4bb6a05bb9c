// The dictionary screen's word edit and its buttons, the headword lookup,
// the entries shown and the roads from modes 5 to 8 back to the screen.
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "panels/tool_panel_host.h"
#include "reader/dictionary_ids.h"

namespace {

constexpr int kLookupMain = 15;
constexpr int kLookupTranslation = 14;

void Box(const char* format, const CString& word) {
  CString text;
  text.Format(format, static_cast<LPCTSTR>(word));
  AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace

CContentDb& CDict::ModeDatabase() const {
  ReaderContext& app = Reader();
  if (GetMode() == dict::kFrenchEnglish) return app.GetDatabase(4);
  if (GetMode() == dict::kEnglishFrench) return app.GetDatabase(5);
  return app.GetDatabase(1);
}

// ---- modes (CDictModes switches) -----------------------------------------------

void CDict::OnDictionaryMode() {
  if (GetMode() != dict::kDictionary && GetMode() != dict::kDictionaryThesaurus) m_modes.Switch(dict::kDictionary);
}

LRESULT CDict::OnShowContents(WPARAM, LPARAM) {
  m_modes.SwitchShared(dict::kContents);
  return 0;
}

LRESULT CDict::OnShowBookmarks(WPARAM, LPARAM) {
  m_modes.SwitchShared(dict::kBookmarks);
  return 0;
}

// ---- Look Up --------------------------------------------------------------------

void CDict::OnLookUp() {
  m_panels.CloseKey(GetMode());
  if (m_panels.IsOpen(dict::kTensesPanel)) {
    m_panels.Close(dict::kTensesPanel);
    m_panels.Open(dict::kHeadwordsPanel, CWordListDlg::kHeadwords);
    m_conjugation.Hide();
  }
  if (m_panels.IsOpen(dict::kAlternativesPanel) && dict::Shown(AlternativesPanel()))
    m_panels.Close(dict::kAlternativesPanel);
  LookUp(TRUE, TRUE, 0, nullptr);
}

void CDict::LookUpWord(const CString& word, int, int entryIndex, const CStringArray* highlightWords) {
  SetFocus();
  WordEdit().SetWindowText(word);
  WordEdit().Invalidate();
  WordEdit().UpdateWindow();
  UpdateWordButtons();
  // The panel's list may be the caller's: take a copy before panels refill.
  CStringArray words;
  if (highlightWords != nullptr) words.Append(*highlightWords);
  LookUp(TRUE, TRUE, entryIndex, highlightWords != nullptr ? &words : nullptr);
}

// ---- the headword lookup ---------------------------------------------------------

void CDict::LookUp(BOOL definitions, BOOL synonyms, int entryIndex, const CStringArray* highlight) {
  const CString word = dict::TrimWord(GetWord());
  if (word.IsEmpty()) return;
  ReaderContext& app = Reader();
  CContentDb& db = ModeDatabase();
  CStringArray alternatives;
  int outcome = 0;
  if (entryIndex >= 0) {
    CWaitCursor wait;
    outcome = db.LookupWord(word, alternatives, OnMainDatabase() ? kLookupMain : kLookupTranslation);
  } else {
    entryIndex = 0;
  }

  if (outcome == 0) {
    if (dict::Shown(m_display) && definitions) {
      CDWordArray entries;
      CStringArray titles;
      db.FindEntries(word, entries, titles);
      CStringArray lines;
      CDWordArray shown;
      for (int i = 0; i < entries.GetSize(); ++i) {
        DWORD entry = entries[i];
        if (OnMainDatabase()) {
          entry = static_cast<DWORD>(app.ToInternalArticle(static_cast<int>(entry)));
          if (!app.m_vornBits.Test(static_cast<int>(entry))) continue;
        }
        lines.Add(titles[i]);
        shown.Add(entry);
      }
      ClearEntry();
      if (shown.GetSize() > 0) {
        // An index past the list (a shorter list than the caller saw) shows the first.
        ShowEntry(shown[entryIndex < shown.GetSize() ? entryIndex : 0]);
      } else {
        Box(OnMainDatabase() ? "There is no dictionary entry for %s." : "There is no translation for %s.", word);
      }
      m_display.Invalidate();
      if (highlight != nullptr) MarkWords(*highlight);
      if (m_panels.IsOpen(dict::kHeadwordsPanel)) m_panels.Fill(dict::kHeadwordsPanel, lines, &shown);
    }
    if (dict::Shown(ThesaurusList()) && synonyms) {
      CWaitCursor wait;
      if (m_thesaurus.LookUp(word)) return;
      if (dict::Shown(m_display) && definitions)
        ThesaurusList().AddStringAtEnd("-No thesaurus entry available.");
      else
        Box("There is no thesaurus entry for %s.", word);
    }
    return;
  }

  // Not a headword: nothing of an old entry stays on the screen.
  ClearEntry();
  m_display.Invalidate();
  ThesaurusList().ResetContent();
  EnablePrintSave(FALSE);
  if (outcome == -1) {
    Box("The word %s may be misspelled.  No alternate spellings are available.", word);
    return;
  }
  m_panels.Close(dict::kAlternativesPanel);
  Box(outcome == -2 ? "The word %s may require accents.  Choose the correct alternative from the list.  "
                    : "The word %s may be misspelled.  Select an alternate spelling or enter a new term.",
      word);
  SetFocus();
  if (m_panels.Open(dict::kAlternativesPanel, CWordListDlg::kSpellingAlternatives))
    m_panels.Fill(dict::kAlternativesPanel, alternatives, nullptr);
}

// ---- entries --------------------------------------------------------------------

void CDict::StoreAnnotations() {
  if (m_currentEntry != 0 && OnMainDatabase()) m_display.StoreAnnotations(static_cast<int>(m_currentEntry));
}

int CDict::GetShownArticle() const {
  return m_currentEntry != 0 && OnMainDatabase() ? static_cast<int>(m_currentEntry) : -1;
}

// Empties the display, keeping the notes and highlights of a main-database entry.
void CDict::ClearEntry() {
  if (m_currentEntry != 0 && GetMode() >= dict::kDictionary) StoreAnnotations();
  m_display.ResetContent();
  m_currentEntry = 0;
  EnablePrintSave(FALSE);
}

void CDict::AppendEntryText(DWORD entry) {
  ReaderContext& app = Reader();
  const int engineEntry = OnMainDatabase() ? app.ToFileArticle(static_cast<int>(entry)) : static_cast<int>(entry);
  CContentDb& db = ModeDatabase();
  while (const ReTokenBlock* chunk = db.NextToken(engineEntry)) m_display.AddText(chunk);
}

void CDict::ShowEntry(DWORD entry) {
  if (entry == m_currentEntry) return;
  StoreAnnotations();
  m_currentEntry = entry;
  m_display.SetRedraw(FALSE);
  m_display.ResetContent();
  AppendEntryText(entry);
  if (OnMainDatabase()) m_display.RestoreAnnotations(static_cast<int>(entry));
  ResumeRedraw(&m_display);
  EnablePrintSave(TRUE);
  ReaderShell* shell = GetReaderShell();
  ToolPanelHost* host = GetToolPanelHost();
  if (shell != nullptr && host != nullptr && host->IsResultsOpen() && OnMainDatabase() &&
      shell->Queries().GetCurrentQuery().Test(static_cast<int>(entry)))
    MarkWords(shell->Queries().GetCurrentTerms());
}

// Lays the shown entry out again (a new width, new fonts), its notes kept.
void CDict::RebuildEntry() {
  if (m_currentEntry == 0) return;
  StoreAnnotations();
  m_display.SetRedraw(FALSE);
  m_display.ResetContent();
  AppendEntryText(m_currentEntry);
  if (OnMainDatabase()) m_display.RestoreAnnotations(static_cast<int>(m_currentEntry));
  ResumeRedraw(&m_display);
}

void CDict::MarkWords(const CStringArray& words) {
  for (int i = 0; i < words.GetSize(); ++i) m_display.FindWords(words[i], FALSE, TRUE, i == 0);
}

void CDict::EnablePrintSave(BOOL enable) {
  for (UINT id : {IDC_DICT_PRINT, IDC_DICT_SAVE})
    if (CODButton* b = Button(id)) b->EnableWindow(enable);
}
