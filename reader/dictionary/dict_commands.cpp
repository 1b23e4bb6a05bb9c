// The dictionary screen's commands on the shown entry and beyond the screen:
// copy and save with the source notices, printing and print preview, notes
// and highlights, the Bookmark and Search History menus, the navigation
// buttons, focus cycling and help.
#include <cstring>
#include <initializer_list>
#include <memory>

#include "controls/skin_environment.h"
#include "core/content_file.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "display/note_dlg.h"
#include "display/preview_view.h"
#include "in_api.h"
#include "messages/window_messages.h"
#include "panels/item_router.h"
#include "reader/dictionary_ids.h"
#include "zorlre32.h"

namespace {

// Positions in the screen's menu.
constexpr int kSearchMenu = 3;
constexpr int kHistoryItem = 9;
constexpr int kBookmarkMenu = 4;
constexpr int kBookmarkFixedItems = 10;
constexpr DWORD kHelpDictionary = 100;
constexpr DWORD kHelpConsultants = 206;

}  // namespace

BOOL CDict::DisplayHasText() const { return dict::Shown(m_display) && m_display.Model().RunCount() > 0; }

// ---- update rules ---------------------------------------------------------------

void CDict::OnUpdateHasText(CCmdUI* cmdUI) { cmdUI->Enable(DisplayHasText()); }

void CDict::OnUpdateHasSelection(CCmdUI* cmdUI) { cmdUI->Enable(DisplayHasText() && m_display.HasSelection()); }

void CDict::OnUpdateHasFolders(CCmdUI* cmdUI) { cmdUI->Enable(Reader().m_folders.GetSize() > 0); }

void CDict::OnUpdateAnnotation(CCmdUI* cmdUI) {
  const int article = GetShownArticle();
  cmdUI->Enable(article > 0 && Reader().IsInBookmarkFolder(article));
  cmdUI->SetCheck(m_display.GetNoteMode());
}

void CDict::OnUpdateHighlight(CCmdUI* cmdUI) {
  const int article = GetShownArticle();
  cmdUI->Enable(article > 0 && Reader().IsInBookmarkFolder(article));
  cmdUI->SetCheck(m_display.GetHighlightMode());
}

void CDict::OnUpdateClearHighlights(CCmdUI* cmdUI) { cmdUI->Enable(m_display.HasHighlights()); }

void CDict::OnUpdateNextPane(CCmdUI* cmdUI) {
  const HWND focus = ::GetFocus();
  cmdUI->Enable(focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus)));
}

// ---- copy and save --------------------------------------------------------------

void CDict::OnCopySelection() { CopyToClipboard(TRUE); }

void CDict::OnCopyEntry() { CopyToClipboard(FALSE); }

void CDict::CopyToClipboard(BOOL selection) {
  const CString notices = dict::NoticeBlock(m_nMode);
  HGLOBAL text = nullptr;
  const int length = selection ? m_display.CopySelection(&text) : m_display.CopyAll(&text);
  if (length <= 0 || text == nullptr) {
    if (text != nullptr) ::GlobalFree(text);
    return;
  }
  HGLOBAL joined = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(length + notices.GetLength() + 1));
  if (joined == nullptr) {  // the copy is dropped
    ::GlobalFree(text);
    return;
  }
  const char* from = static_cast<const char*>(::GlobalLock(text));
  char* to = static_cast<char*>(::GlobalLock(joined));
  const std::size_t used = strnlen(from, static_cast<std::size_t>(length));
  std::memcpy(to, from, used);
  std::memcpy(to + used, static_cast<LPCTSTR>(notices), static_cast<std::size_t>(notices.GetLength()) + 1);
  ::GlobalUnlock(joined);
  ::GlobalUnlock(text);
  ::GlobalFree(text);
  if (!::OpenClipboard(m_hWnd)) {
    ::GlobalFree(joined);
    return;
  }
  ::EmptyClipboard();
  if (::SetClipboardData(CF_TEXT, joined) == nullptr) ::GlobalFree(joined);
  ::CloseClipboard();
}

void CDict::OnSaveEntry() {
  if (!DisplayHasText()) return;  // an empty display saves nothing
  const CString notices = dict::NoticeBlock(m_nMode);
  CString path;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || !shell->AskTextFileName(path)) return;
  HGLOBAL text = nullptr;
  const int length = m_display.CopyAll(&text);
  std::string content;
  if (text != nullptr) {
    const char* from = static_cast<const char*>(::GlobalLock(text));
    if (from != nullptr && length > 0) content.assign(from, strnlen(from, static_cast<std::size_t>(length)));
    ::GlobalUnlock(text);
    ::GlobalFree(text);
  }
  content.append(notices, static_cast<std::size_t>(notices.GetLength()));
  // Written whole or not at all. A file that cannot be created ends the
  // command quietly, as a cancelled name does; only a failed write is
  // reported (the old file, if there was one, is then as it was).
  ContentReplacement file(path);
  if (!file.IsOpen()) return;
  if (!ContentWrite(file.File(), content.data(), static_cast<u32>(content.size())) || !file.Commit()) {
    CString message;
    message.Format("Unable to write the file %s.", static_cast<LPCTSTR>(path));
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
  }
}

// ---- notes and highlights -------------------------------------------------------

void CDict::OnAnnotation() {
  m_display.SetHighlightMode(FALSE);
  m_display.SetNoteMode(!m_display.GetNoteMode());
}

void CDict::OnHighlight() {
  m_display.SetNoteMode(FALSE);
  m_display.SetHighlightMode(!m_display.GetHighlightMode());
}

void CDict::OnClearHighlights() {
  m_display.ClearHighlights();
  m_display.Invalidate();
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

void CDict::OnPrintEntry() {
  m_printKind = 0;
  OnFilePrint();
}

void CDict::OnPreviewEntry() {
  m_printKind = 0;
  OnFilePrintPreviewCommand();
}

void CDict::OnPrintBookmarks() {
  m_printKind = 1;
  OnFilePrint();
}

void CDict::OnPreviewBookmarks() {
  m_printKind = 1;
  OnFilePrintPreviewCommand();
}

void CDict::PrintBookmarkFolder(int folder) {
  m_printKind = 2;
  Reader().m_printFolder = folder;
  OnFilePrint();
}

void CDict::PreviewBookmarkFolder(int folder) {
  m_printKind = 2;
  Reader().m_printFolder = folder;
  OnFilePrintPreviewCommand();
}

void CDict::OnFilePrintCommand() { OnFilePrint(); }

void CDict::OnPrintSetup() { AfxGetApp()->OnFilePrintSetup(); }

void CDict::OnFilePrintPreviewCommand() {
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CQVEPreviewView), state)) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_ICONEXCLAMATION | MB_OK);
    delete state;
  }
}

BOOL CDict::OnPreparePrinting(CPrintInfo* pInfo) {
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_printKind == 0 && m_display.HasSelection()) {
    pInfo->m_pPD->m_pd.Flags &= ~static_cast<DWORD>(PD_NOSELECTION);
  } else {
    pInfo->m_pPD->m_pd.Flags |= PD_NOSELECTION;
  }
  return DoPreparePrinting(pInfo);
}

void CDict::OnBeginPrinting(CDC* pDC, CPrintInfo*) {
  m_pageStarts.assign(1, 0);
  ReaderContext& app = Reader();
  app.GetPrinterMargins(pDC);
  app.RecreateArticleFonts(FALSE, pDC);
}

void CDict::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  // The job goes on while a page start is known for the page: the base
  // view would stop after the first page of a job of unknown length.
  if (pInfo != nullptr) pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= m_pageStarts.size();
}

CString CDict::PrintTitle() const {
  if (m_printKind == 1) return "Bookmark List";
  ReaderContext& app = Reader();
  if (m_printKind == 2) {
    const int folder = app.m_printFolder;
    if (folder >= 0 && folder < app.m_folders.GetSize()) return static_cast<CFolder*>(app.m_folders[folder])->m_name;
    return "";
  }
  CString title;
  if (m_currentEntry == 0) return title;
  if (!OnMainDatabase()) {
    ModeDatabase().GetHeadword(static_cast<int>(m_currentEntry), title);
  } else {
    char text[TitleBufferSize] = "";
    app.LookupTitle(static_cast<int>(m_currentEntry), text);
    title = text;
  }
  return title;
}

void CDict::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  ReaderContext& app = Reader();
  CRect area = pInfo->m_rectDraw;
  const CRect& margins = app.m_printMargins;
  area.left += margins.left;
  area.top += margins.top;
  area.right -= margins.right;
  area.bottom -= margins.bottom;

  CFont* old = pDC->SelectObject(&app.m_fonts[FontArticle]);
  TEXTMETRICA metrics = {};
  pDC->GetTextMetrics(&metrics);
  const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  pDC->TextOut(area.left, area.top, PrintTitle());
  CString page;
  page.Format("Page %u", pInfo->m_nCurPage);
  pDC->SetTextAlign(TA_RIGHT | TA_TOP);
  pDC->TextOut(area.right, area.top, page);
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  const int headerLine = area.top + metrics.tmHeight + 50;
  pDC->MoveTo(area.left, headerLine);
  pDC->LineTo(area.right, headerLine);

  CString footer[3];
  dict::FooterLines(m_nMode, m_printKind, footer);
  const int footerTop = area.bottom - 3 * lineHeight;
  for (int i = 0; i < 3; ++i) pDC->TextOut(area.left, footerTop + i * lineHeight, footer[i]);
  const int footerLine = footerTop - 50;
  pDC->MoveTo(area.left, footerLine);
  pDC->LineTo(area.right, footerLine);
  pDC->SelectObject(old);

  const std::size_t page0 = pInfo->m_nCurPage - 1;
  if (page0 >= m_pageStarts.size()) return;
  const CRect saved = pInfo->m_rectDraw;
  pInfo->m_rectDraw = CRect(area.left, headerLine + 200, area.right, footerLine - 200);
  int next = -1;
  if (m_printKind == 0) {
    next = m_display.PrintRuns(pDC, pInfo, m_pageStarts[page0]);
  } else if (m_printKind == 1) {
    next = app.PrintListPage(pDC, pInfo, m_pageStarts[page0]);
  } else {
    next = app.PrintListPage2(pDC, pInfo, m_pageStarts[page0]);
  }
  pInfo->m_rectDraw = saved;
  if (page0 + 1 == m_pageStarts.size() && next != -1) m_pageStarts.push_back(next);
}

void CDict::OnEndPrinting(CDC*, CPrintInfo*) {
  m_pageStarts.clear();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

// ---- bookmarks ------------------------------------------------------------------

LRESULT CDict::OnFoldersChanged(WPARAM wParam, LPARAM lParam) {
  ReaderContext& app = Reader();
  CWaitCursor wait;
  if (CMenu* bookmarks = m_menu.m_hMenu ? m_menu.GetSubMenu(kBookmarkMenu) : nullptr)
    Reader().FillBookmarkMenu(*bookmarks, kBookmarkFixedItems, ID_DICT_BOOKMARK_FIRST, ID_DICT_BOOKMARK_LIST);
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

void CDict::OnBookmarkItem(UINT id) {
  ReaderContext& app = Reader();
  const int f = static_cast<int>(id - ID_DICT_BOOKMARK_FIRST) / 10;
  const int i = static_cast<int>(id - ID_DICT_BOOKMARK_FIRST) % 10;
  if (f >= app.m_folders.GetSize()) return;
  const CFolder& folder = *static_cast<const CFolder*>(app.m_folders[f]);
  const int article = folder.m_articles.GetAt(i + 1);
  if (article <= 0) return;
  // A dictionary article is shown here; the others on their own screens.
  if (panels::KindOfArticle(article) != panels::ItemKind::DictionaryEntry) {
    panels::ShowOnItsScreen(article);
    return;
  }
  OnDictionaryMode();
  ShowEntry(static_cast<DWORD>(article));
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

// ---- search history -------------------------------------------------------------

void CDict::RebuildHistoryMenu() {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || shell->Queries().GetHistoryCount() == 0 || m_menu.m_hMenu == nullptr) return;
  CMenu* search = m_menu.GetSubMenu(kSearchMenu);
  if (search == nullptr) return;
  search->EnableMenuItem(kHistoryItem, MF_BYPOSITION | MF_ENABLED);
  HMENU history = ::GetSubMenu(search->m_hMenu, kHistoryItem);
  if (history == nullptr) return;
  while (::GetMenuItemCount(history) > 0) ::DeleteMenu(history, 0, MF_BYPOSITION);
  const int count = shell->Queries().GetHistoryCount();
  for (int k = 0; k < count; ++k)
    ::AppendMenuA(history, MF_STRING, ID_DICT_HISTORY_FIRST + k, shell->Queries().GetHistoryEntry(count - 1 - k).label);
}

void CDict::OnHistoryItem(UINT id) {
  if (ReaderShell* shell = GetReaderShell()) shell->RecallQuery(static_cast<int>(id - ID_DICT_HISTORY_FIRST) + 1);
}

// ---- navigation, focus, help ----------------------------------------------------

void CDict::OnNavigate(UINT id) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return;
  switch (id) {
    case IDC_DICT_GO_BROWSER: shell->ShowScreen(Screen::Browser); break;
    case IDC_DICT_GO_MEDIA: shell->ShowScreen(Screen::Media); break;
    case IDC_DICT_GO_QUIZ: shell->ShowScreen(Screen::Quiz); break;
    case IDC_DICT_GO_TIMELINE: shell->ShowScreen(Screen::Timeline); break;
    default: break;  // the dictionary's own button
  }
}

void CDict::CycleFocus(BOOL forward) {
  std::vector<CWnd*> ring;
  // The first open shared window, else the key or Tenses panel.
  for (CWnd* window : std::initializer_list<CWnd*>{&SubjectsWindow(), &SmartSearchWindow(), &BooleanWindow(),
                                                   &BookmarkWindow(), &ResultsWindow(), &TunerWindow()})
    if (window->GetSafeHwnd() != nullptr && ::IsWindow(window->GetSafeHwnd())) {
      ring.push_back(window);
      break;
    }
  if (ring.empty())
    for (CWordListDlg* panel : {&KeyPanel(), &TensesPanel()})
      if (panel->IsOpen()) {
        ring.push_back(panel);
        break;
      }
  if (ring.empty())
    for (CWordListDlg* panel : {&HeadwordsPanel(), &SynonymsPanel(), &AlternativesPanel()})
      if (panel->IsOpen()) ring.push_back(panel);
  const HWND focus = ::GetFocus();
  int at = -1;  // -1: the screen itself
  for (std::size_t i = 0; i < ring.size(); ++i)
    if (focus == ring[i]->m_hWnd || ::IsChild(ring[i]->m_hWnd, focus)) at = static_cast<int>(i);
  const int count = static_cast<int>(ring.size());
  int next = forward ? at + 1 : (at < 0 ? count - 1 : at - 1);
  if (next >= count) next = -1;
  if (next < 0) {
    SetFocus();
  } else {
    ring[static_cast<std::size_t>(next)]->SetFocus();
  }
}

void CDict::OnNextPane() { CycleFocus(TRUE); }

void CDict::OnPreviousPane() { CycleFocus(FALSE); }

void CDict::OnHelpDictionary() { AfxGetApp()->WinHelp(kHelpDictionary, HELP_CONTEXT); }

void CDict::OnHelpConsultants() { AfxGetApp()->WinHelp(kHelpConsultants, HELP_CONTEXT); }
