// The dictionary screen's commands on the shown entry and beyond the screen:
// what the article commands it shares with the encyclopedia (CArticleCommands)
// and the print job (CPrintJob) ask of it, the class library's print loop
// handed to the job, the folders' changes, the navigation buttons and help.
#include <cstring>
#include <initializer_list>
#include <memory>

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "display/note_dlg.h"
#include "messages/window_messages.h"
#include "panels/item_router.h"
#include "reader/dictionary_ids.h"
#include "zorlre/in_api.h"
#include "zorlre/zorlre32.h"

namespace {

// The help file's topics.
constexpr DWORD kHelpDictionary = 100;
constexpr DWORD kHelpConsultants = 206;

}  // namespace

BOOL CDict::DisplayHasText() const { return dict::Shown(m_display) && m_display.Model().RunCount() > 0; }

// ---- update rules ---------------------------------------------------------------

void CDict::OnUpdateHasText(CCmdUI* cmdUI) { cmdUI->Enable(DisplayHasText()); }

void CDict::OnUpdateHasSelection(CCmdUI* cmdUI) { cmdUI->Enable(DisplayHasText() && m_display.HasSelection()); }

// ---- what the article commands (CArticleCommands) ask of the screen ---------------

std::string CDict::ArticleNotices() const {
  const CString notices = dict::NoticeBlock(GetMode());
  return std::string(notices, static_cast<std::size_t>(notices.GetLength()));
}

// The note dialog stands over the left column, from the word box down.
void CDict::EditNote(CNoteIcon* note) {
  if (note == nullptr || note->GetSafeHwnd() == nullptr) return;
  CRect column(m_wordBox.left, m_wordBox.top, m_wordBox.right, m_layout.panels[0].bottom);
  ClientToScreen(&column);
  CNoteDlg dialog(this);
  dialog.DoModalAt(column, note);
}

// ---- printing -------------------------------------------------------------------

void CDict::OnPrintSetup() { AfxGetApp()->OnFilePrintSetup(); }

// The entry's headword from the mode's translation database, else its
// article's title.
CString CDict::PrintedItemTitle() const {
  CString title;
  if (m_currentEntry == 0) return title;
  if (!OnMainDatabase()) {
    ModeDatabase().GetHeadword(static_cast<int>(m_currentEntry), title);
  } else {
    char text[TitleBufferSize] = "";
    Reader().LookupTitle(static_cast<int>(m_currentEntry), text);
    title = text;
  }
  return title;
}

std::vector<CString> CDict::PrintedNotices(panels::PrintKind kind) const {
  CString lines[3];
  dict::FooterLines(GetMode(), kind, lines);
  return {lines[0], lines[1], lines[2]};
}

// The pages' header and footer are in the entry's own font, which the job
// also makes for the printer.
CFont* CDict::PageFrameFont() const { return Reader().GetFont(FontArticle); }

// ---- bookmarks ------------------------------------------------------------------

// A bookmarked dictionary entry chosen in the Bookmark menu: the modes that
// show no dictionary entry give way first.
void CDict::ShowOwnItem(int item) {
  OnDictionaryMode();
  ShowEntry(static_cast<DWORD>(item));
}

LRESULT CDict::OnFoldersChanged(WPARAM wParam, LPARAM lParam) {
  ReaderContext& app = Reader();
  CWaitCursor wait;
  m_menus.RefillBookmarks();
  // An entry that left its last folder loses its notes and highlights.
  const int article = GetShownArticle();
  if (article > 0 && !app.IsInBookmarkFolder(article)) {
    if (app.FindBookmark(article) >= 0) {
      app.RemoveBookmark(article);
      const DWORD entry = m_currentEntry;
      m_currentEntry = 0;
      m_display.SetRedraw(FALSE);
      m_display.ResetContent();
      m_currentEntry = entry;
      AppendEntryText(entry);
      ResumeRedraw(&m_display);
    }
    m_display.SetNoteMode(FALSE);
    m_display.SetHighlightMode(FALSE);
  }
  // The open bookmark list follows; the results and contents lists repaint their marks.
  if (BookmarkWindow().GetSafeHwnd() != nullptr) BookmarkWindow().SendMessage(WM_BITSCHANGED, wParam, lParam);
  for (CWnd* window : std::initializer_list<CWnd*>{&ResultsWindow().List(), &SubjectsWindow().List()})
    if (window->GetSafeHwnd() != nullptr) window->Invalidate();
  return 0;
}

// ---- related articles ------------------------------------------------------------

// The articles related to the selected text: its terms without stop words,
// with their word forms and, for a short selection, the term-expansion
// database's lines, run as a ranked query over both databases.
void CDict::OnRelatedToSelection() {
  static const char* const kNothingRelated = "There are no articles related to the current selection.";
  ReaderContext& app = Reader();
  CString selected;
  HGLOBAL block = nullptr;
  const int length = m_display.CopySelection(&block);
  if (block != nullptr) {
    const char* text = static_cast<const char*>(::GlobalLock(block));
    if (text != nullptr && length > 0)
      selected = CString(text, static_cast<int>(strnlen(text, static_cast<std::size_t>(length))));
    ::GlobalUnlock(block);
    ::GlobalFree(block);
  }
  CStringArray terms;
  CDWordArray weights;
  const int count = selected.IsEmpty() ? 0 : app.ParseQuery(selected, terms, weights, TRUE);
  const int left = count == 0 ? 0 : app.RemoveStopWords(terms, weights, count < 51 ? 61 : (count - 47) / 4 + 61);
  if (left == 0) {
    AfxMessageBox(kNothingRelated, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CWaitCursor wait;
  auto forms = std::make_unique<InFormContext>();
  std::memset(forms.get(), 0, sizeof(InFormContext));
  if (INinitX(16, forms.get(), app.m_strWorkingDir) != 8) {
    const int original = terms.GetSize();
    for (int i = 0; i < original; ++i) {
      forms->formCount = 0;
      const CString term = terms[i];
      INinflectX(term, forms.get());
      for (int f = 0; f < forms->formCount && f < static_cast<int>(InFormSlots); ++f) {
        CString form(forms->forms[f], static_cast<int>(strnlen(forms->forms[f], InFormSlotSize)));
        form.MakeLower();
        bool known = form == term;
        for (int k = 0; k < terms.GetSize() && !known; ++k) known = terms[k] == form;
        if (known) continue;
        terms.Add(form);
        weights.Add(weights[i] | 0x2000);
      }
    }
    INtermX(forms.get());
  }
  if (left <= 10) {
    CUIntArray values;
    for (int i = 0; i < weights.GetSize(); ++i) values.Add(weights[i]);
    app.GetDatabase(3).FetchEntries(terms, values);
    weights.RemoveAll();
    for (int i = 0; i < values.GetSize(); ++i) weights.Add(values[i]);
  }
  const CString query = "Related to:  " + selected;
  // The ranked query shows its own box when nothing matches.
  if (!app.WeightedQuery(terms, weights)) return;
  SetFocus();
  CBitString articles(app.GetArticleCount(), TRUE);
  if (!app.QuerySources(articles)) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  if (ReaderShell* shell = GetReaderShell()) {
    shell->AddQueryToHistory(articles, query, 1, &terms, FALSE);
    if (CView* active = shell->GetActiveScreen()) active->PostMessage(WM_SHOWRESULTS, 0, 0);
  }
}

// ---- navigation, help ----------------------------------------------------------

void CDict::OnNavigate(UINT id) { ShowScreenOfButton(id, Screen::Dictionary); }

void CDict::OnHelpDictionary() { AfxGetApp()->WinHelp(kHelpDictionary, HELP_CONTEXT); }

void CDict::OnHelpConsultants() { AfxGetApp()->WinHelp(kHelpConsultants, HELP_CONTEXT); }
