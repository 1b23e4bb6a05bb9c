// The encyclopedia screen's commands, their enabling rules, the dynamic
// menus (Bookmark folders, Search History) and the messages other windows
// send it.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "browser/browser.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/title_key.h"
#include "display/note_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels/tool_panel_host.h"
#include "reader/browser_ids.h"
#include "search/related_queries.h"
#include "zorlre/zorlre32.h"

namespace {

constexpr int kBookmarkFixedItems = 10;
constexpr int kFolderItems = 10;
constexpr int kSearchMenu = 3;
constexpr int kBookmarkMenu = 4;
constexpr int kSearchHistoryPosition = 5;

}  // namespace

BOOL CBrowser::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode == CN_COMMAND && pHandlerInfo == nullptr) {
    if (nID >= ID_SEARCH_HISTORY_FIRST && nID <= ID_SEARCH_HISTORY_LAST) {
      search::RecallHistoryCommand(nID, ID_SEARCH_HISTORY_FIRST);
      return TRUE;
    }
    if (nID >= ID_BOOKMARK_ARTICLE_FIRST && nID <= ID_BOOKMARK_ARTICLE_LAST) {
      ReaderContext& app = Reader();
      const int folder = static_cast<int>(nID - ID_BOOKMARK_ARTICLE_FIRST) / kFolderItems;
      const int item = static_cast<int>(nID - ID_BOOKMARK_ARTICLE_FIRST) % kFolderItems + 1;
      if (folder < app.m_folders.GetSize()) {
        const int article = static_cast<CFolder*>(app.m_folders[folder])->m_articles.GetAt(item);
        if (article > 0) ShowBookmarkArticle(article);
      }
      return TRUE;
    }
    if (nID >= ID_INTERNET_LINK_FIRST && nID <= ID_INTERNET_LINK_LAST) {
      const int i = static_cast<int>(nID - ID_INTERNET_LINK_FIRST);
      if (i < m_internetLinks.GetSize()) ShowArticle(static_cast<int>(m_internetLinks[i]));
      return TRUE;
    }
  }
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- the Bookmark menu ---------------------------------------------------------------

CMenu* CBrowser::SubMenu(int position) { return m_menu.m_hMenu ? m_menu.GetSubMenu(position) : nullptr; }

void CBrowser::RebuildBookmarkMenu() {
  if (CMenu* menu = SubMenu(kBookmarkMenu))
    Reader().FillBookmarkMenu(*menu, kBookmarkFixedItems, ID_BOOKMARK_ARTICLE_FIRST, ID_BROWSER_BOOKMARK_LIST);
}

void CBrowser::ShowBookmarkArticle(int article) {
  ReaderContext& app = Reader();
  if (app.m_multBits.Test(article)) {
    GoToMediaItem(app.m_multBits.IndexOf(article));
  } else if (app.m_tmlBits.Test(article)) {
    ShowOnTimeline(article);
  } else if (app.m_vornBits.Test(article)) {
    ShowInDictionary(article);
  } else {
    ShowArticle(article);
  }
}

// ---- the Search History submenu ----------------------------------------------------

void CBrowser::RebuildSearchHistory() {
  if (CMenu* search = SubMenu(kSearchMenu))
    search::FillSearchHistory(*search, kSearchHistoryPosition, ID_SEARCH_HISTORY_FIRST);
}

// ---- messages ------------------------------------------------------------------------

LRESULT CBrowser::OnBitsChanged(WPARAM wParam, LPARAM lParam) {
  RebuildBookmarkMenu();
  ReaderContext& app = Reader();
  if (m_currentArticle > 0 && !app.IsInBookmarkFolder(m_currentArticle)) {
    if (app.FindBookmark(m_currentArticle) >= 0) {
      app.RemoveBookmark(m_currentArticle);
      const int article = m_currentArticle;
      m_currentArticle = 0;
      ShowArticle(article);
    }
    m_display.SetNoteMode(FALSE);
    m_display.SetHighlightMode(FALSE);
  }
  if (IsToolOpen(ToolPanel::Bookmarks))
    GetToolWindow(ToolPanel::Bookmarks)->SendMessage(WM_BITSCHANGED, wParam, lParam);
  for (ToolPanel kind : {ToolPanel::Results, ToolPanel::Contents, ToolPanel::ArticleList})
    if (IsToolOpen(kind)) GetToolWindow(kind)->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  return 0;
}

LRESULT CBrowser::OnCrossReference(WPARAM, LPARAM lParam) {
  ReaderContext& app = Reader();
  const int article = app.ToInternalArticle(static_cast<int>(lParam));
  if (app.m_tmlBits.Test(article)) {
    ShowOnTimeline(article);
    return 0;
  }
  ShowArticle(article);
  return 0;
}

LRESULT CBrowser::OnShowItem(WPARAM wParam, LPARAM) {
  GoToMediaItem(static_cast<int>(wParam));
  return 0;
}

void CBrowser::GoToMediaItem(int item) {
  if (ReaderShell* shell = GetReaderShell()) shell->ShowItem(Screen::Media, item);
}

LRESULT CBrowser::OnShowContents(WPARAM, LPARAM) {
  if (IsToolOpen(ToolPanel::Contents) && m_contentsMode == 0) {
    GetToolWindow(ToolPanel::Contents)->SendMessage(WM_REFRESHLIST);
    return 0;
  }
  ToolRequest request;
  request.kind = ToolPanel::Contents;
  request.mode = 0;
  OpenToolWindow(request);
  return 0;
}

LRESULT CBrowser::OnShowBookmarks(WPARAM, LPARAM) {
  if (IsToolOpen(ToolPanel::Bookmarks)) {
    GetToolWindow(ToolPanel::Bookmarks)->SendMessage(WM_REFRESHLIST);
    return 0;
  }
  ToolRequest request;
  request.kind = ToolPanel::Bookmarks;
  OpenToolWindow(request);
  return 0;
}

LRESULT CBrowser::OnShowResults(WPARAM wParam, LPARAM) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return 0;
  if (IsToolOpen(ToolPanel::Results) && shell->Queries().IsCurrentQuery(m_resultsQuery, m_resultsRanked)) {
    GetToolWindow(ToolPanel::Results)->SendMessage(WM_REFRESHLIST);
    return 0;
  }
  LeaveZoom();
  if (wParam != 1) RebuildSearchHistory();
  // The old list goes first: closing the other windows through the frame
  // saves the search state, which must keep the new query's list positions.
  m_tools.Close(ToolPanel::Results);
  CloseSharedWindows(ToolPanel::Results);
  m_tools.CloseAll();
  ToolRequest request;
  request.kind = ToolPanel::Results;
  request.articles = &shell->Queries().GetCurrentQuery();
  request.terms = &shell->Queries().GetCurrentTerms();
  request.text = shell->Queries().GetCurrentText();
  if (!CreateToolWindow(request)) return 0;
  m_resultsQuery = request.text;
  m_resultsRanked = shell->Queries().GetCurrentKind() == 1 ? 1 : 0;
  m_resultsSet = shell->Queries().GetCurrentQuery();
  if (m_resultsSet.Test(m_currentArticle)) {
    m_display.ClearFindHits();
    MarkQueryWords();
  }
  return 0;
}

// ---- tool windows --------------------------------------------------------------------

void CBrowser::CloseSharedWindows(ToolPanel opening) {
  // The window being opened keeps the host's flag that re-opens it after a
  // screen switch (the host set it just before asking for the window).
  if (ToolPanelHost* host = GetToolPanelHost()) host->CloseSharedPanels(opening);
}

void CBrowser::HidePanel(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: m_tools.Close(ToolPanel::Results); break;
    case ScreenPanel::Contents: m_tools.Close(ToolPanel::Contents); break;
    case ScreenPanel::Bookmarks: m_tools.Close(ToolPanel::Bookmarks); break;
  }
}

void CBrowser::CloseToolWindows() {
  CloseSharedWindows(ToolPanel::Count);
  for (ToolPanel kind : {ToolPanel::Boolean, ToolPanel::Smart, ToolPanel::WordFind, ToolPanel::Outline,
                         ToolPanel::Tuner, ToolPanel::ArticleList})
    m_tools.Close(kind);
}

BOOL CBrowser::OpenToolWindow(const ToolRequest& request) {
  CWaitCursor wait;
  LeaveZoom();
  CloseAllToolWindows(request);
  if (!CreateToolWindow(request)) return FALSE;
  if (request.kind == ToolPanel::Contents) m_contentsMode = request.mode;
  GetToolWindow(request.kind)->SetFocus();
  return TRUE;
}

void CBrowser::CloseAllToolWindows(const ToolRequest& opening) {
  // Only the frame's own Contents request (0x3739) opens the contents window
  // in contents mode; Subjects closes the contents windows like any other.
  const BOOL framesContents = opening.kind == ToolPanel::Contents && opening.mode == 0;
  CloseSharedWindows(opening.kind != ToolPanel::Contents || framesContents ? opening.kind : ToolPanel::Count);
  m_tools.CloseAll();
}

void CBrowser::ShowEntryList(const CDWordArray& entries, int mode) {
  CWaitCursor wait;
  LeaveZoom();
  ToolRequest request;
  request.kind = ToolPanel::ArticleList;
  request.mode = mode;
  CloseAllToolWindows(request);
  ReaderContext& app = Reader();
  CBitString articles(app.GetArticleCount(), FALSE);
  for (int i = 0; i < entries.GetSize(); ++i) articles.SetBit(app.ToInternalArticle(static_cast<int>(entries[i])));
  if (articles.GetSetCount() == 0) return;
  ShowArticle(articles.NextSet(1));
  request.articles = &articles;
  OpenToolWindow(request);
}

void CBrowser::ShowEntries(const CDWordArray& entries, EntryList list) {
  if (list == EntryList::QuizClue) {
    ShowEntryList(entries, ListClue);
    return;
  }
  // One article related to a media item is shown alone; several go to the
  // article list, which shows the first.
  if (entries.GetSize() == 0) return;
  if (entries.GetSize() == 1) {
    CloseToolWindows();
    ShowArticle(Reader().ToInternalArticle(static_cast<int>(entries[0])));
  } else {
    ShowEntryList(entries, ListRelatedToMedia);
  }
}

void CBrowser::OpenAdvancedSearch(const CStringArray& terms, const std::vector<float>& weights) {
  m_tools.Close(ToolPanel::Smart);
  ToolRequest request;
  request.kind = ToolPanel::Tuner;
  request.terms = &terms;
  request.weights = &weights;
  if (CreateToolWindow(request)) GetToolWindow(ToolPanel::Tuner)->SetFocus();
}

void CBrowser::OpenTuner(const CString& query, const CStringArray& terms) {
  m_tools.Close(ToolPanel::Smart);
  ToolRequest request;
  request.kind = ToolPanel::Tuner;
  request.terms = &terms;
  request.text = query;
  if (CreateToolWindow(request)) GetToolWindow(ToolPanel::Tuner)->SetFocus();
}

void CBrowser::FollowOutlineLink(int i) {
  const std::vector<display::OutlineEntry>& outline = m_display.Outline();
  if (i < 0 || i >= static_cast<int>(outline.size())) return;
  const display::OutlineEntry& entry = outline[static_cast<std::size_t>(i)];
  if (entry.kind == display::kOutlineHeading) {
    m_display.ScrollToRun(entry.firstRun, TRUE);
  } else if (Reader().m_bDisplayPictures) {
    m_display.ScrollChildIntoView(entry.item);
  } else {
    GoToMediaItem(entry.item);
  }
}

void CBrowser::EditNote(CNoteIcon* icon) {
  if (icon == nullptr || icon->GetSafeHwnd() == nullptr) return;
  CRect anchor = m_panel;
  ClientToScreen(&anchor);
  CNoteDlg dialog(this);
  dialog.DoModalAt(anchor, icon);
}

void CBrowser::SaveSearchState(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Bookmarks, ToolPanel::Results, ToolPanel::Contents});
}

// ---- commands ------------------------------------------------------------------------

void CBrowser::OnSubjectLinks() {
  if (m_subjectLinks.GetSetCount() == 0) return;
  ToolRequest request;
  request.kind = ToolPanel::ArticleList;
  request.mode = ListSubjectLinks;
  request.articles = &m_subjectLinks;
  OpenToolWindow(request);
}

void CBrowser::OnHistory() {
  // The articles shown before, newest first; the one on display is not among
  // them, though Previous and revisits leave it earlier in the history too.
  CBitString articles(Reader().GetArticleCount(), TRUE);
  for (int i = m_history.Count() - 2; i >= 0; --i) {
    const int article = static_cast<int>(m_history.At(i));
    if (article != m_currentArticle) articles.SetBit(article, TRUE, TRUE);
  }
  ToolRequest request;
  request.kind = ToolPanel::ArticleList;
  request.mode = ListHistory;
  request.articles = &articles;
  OpenToolWindow(request);
}

void CBrowser::OnFindWord() {
  if (IsToolOpen(ToolPanel::WordFind)) return;
  ToolRequest request;
  request.kind = ToolPanel::WordFind;
  OpenToolWindow(request);
}

void CBrowser::OnOutline() {
  if (IsToolOpen(ToolPanel::Outline)) return;
  ToolRequest request;
  request.kind = ToolPanel::Outline;
  OpenToolWindow(request);
}

void CBrowser::OnSmartSearch() {
  ToolRequest request;
  request.kind = ToolPanel::Smart;
  OpenToolWindow(request);
}

void CBrowser::OnBoolean() {
  ToolRequest request;
  request.kind = ToolPanel::Boolean;
  OpenToolWindow(request);
}

void CBrowser::OnSubjects() {
  ToolRequest request;
  request.kind = ToolPanel::Contents;
  request.mode = 1;
  OpenToolWindow(request);
}

void CBrowser::OnContents() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenContents();
}

void CBrowser::OnBookmarkList() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenBookmarks();
}

void CBrowser::OnPrevious() { ShowArticle(-1); }

void CBrowser::OnRandom() {
  const int count = m_browsable.GetSetCount();
  if (count == 0) return;
  const int n = rand() * (count - 1) / 32767 + 1;
  const int article = m_browsable.GetAt(n);
  if (article > 0) ShowArticle(article);
}

void CBrowser::OnAnnotation() {
  m_display.SetHighlightMode(FALSE);
  m_display.SetNoteMode(!m_display.GetNoteMode());
}

void CBrowser::OnHighlight() {
  m_display.SetNoteMode(FALSE);
  m_display.SetHighlightMode(!m_display.GetHighlightMode());
}

void CBrowser::OnClearHighlights() { m_display.ClearHighlights(); }

void CBrowser::OnAddArticle() { ChooseFolderFor(FALSE); }

void CBrowser::OnAddSelected() { ChooseFolderFor(TRUE); }

void CBrowser::ChooseFolderFor(BOOL selected) {
  ReaderContext& app = Reader();
  CBitString articles(app.GetArticleCount(), FALSE);
  if (selected) {
    if (!GetSelectedArticles(articles) || articles.GetSetCount() == 0) return;
  } else {
    if (m_currentArticle <= 0) return;
    articles.SetBit(m_currentArticle);
  }
  int folder = -1;
  if (!ChooseFolder(folder)) return;
  app.AddToFolder(folder, articles, TRUE);
}

void CBrowser::OnHelpEncyclopedia() { AfxGetApp()->WinHelp(99, HELP_CONTEXT); }
void CBrowser::OnConsultants() { AfxGetApp()->WinHelp(206, HELP_CONTEXT); }

void CBrowser::OnModeButton(UINT id) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  switch (id) {
    case IDC_MODE_DICTIONARY: shell->ShowScreen(Screen::Dictionary); break;
    case IDC_MODE_QUIZ: shell->ShowScreen(Screen::Quiz); break;
    case IDC_MODE_MEDIA: shell->ShowScreen(Screen::Media); break;
    case IDC_MODE_TIMELINE: shell->ShowScreen(Screen::Timeline); break;
    default: break;  // this screen's own button
  }
}

void CBrowser::OnRelatedButton() {
  m_related.SetItemState(ID_BROWSER_RELATED_SELECTION, m_display.HasSelection() ? 0 : MF_GRAYED);
  m_related.SetItemState(ID_BROWSER_SUBJECT_LINKS, m_subject == kNoSubject ? MF_GRAYED : 0);
  m_related.ResetPage();
}

void CBrowser::OnSwitchPane() {
  static const ToolPanel order[] = {ToolPanel::Contents,    ToolPanel::Smart,    ToolPanel::Boolean,
                                    ToolPanel::Bookmarks,   ToolPanel::Results,  ToolPanel::Tuner,
                                    ToolPanel::ArticleList, ToolPanel::WordFind, ToolPanel::Outline};
  for (ToolPanel kind : order) {
    if (!IsToolOpen(kind)) continue;
    CWnd* tool = GetToolWindow(kind);
    const HWND focus = ::GetFocus();
    if (focus == tool->m_hWnd || ::IsChild(tool->m_hWnd, focus)) {
      SetFocus();
    } else if (focus == m_hWnd || ::IsChild(m_hWnd, focus)) {
      tool->SetFocus();
    }
    return;
  }
}

void CBrowser::OnRelatedSelection() { search::QueryRelatedToSelection(m_display); }

// ---- update handlers -----------------------------------------------------------------

void CBrowser::OnUpdateCopySelection(CCmdUI* ui) { ui->Enable(m_display.HasSelection()); }
void CBrowser::OnUpdateRelatedSelection(CCmdUI* ui) { ui->Enable(m_display.HasSelection()); }
void CBrowser::OnUpdateSubjectLinks(CCmdUI* ui) { ui->Enable(m_subject != kNoSubject); }

void CBrowser::OnUpdateAddSelected(CCmdUI* ui) {
  ui->Enable(IsToolOpen(ToolPanel::Results) || IsToolOpen(ToolPanel::Contents) || IsToolOpen(ToolPanel::ArticleList));
}

void CBrowser::OnUpdateHasFolders(CCmdUI* ui) { ui->Enable(Reader().m_folders.GetSize() > 0); }

void CBrowser::OnUpdateAnnotation(CCmdUI* ui) {
  ui->Enable(Reader().IsInBookmarkFolder(m_currentArticle));
  ui->SetCheck(m_display.GetNoteMode() ? 1 : 0);
}

void CBrowser::OnUpdateHighlight(CCmdUI* ui) {
  ui->Enable(Reader().IsInBookmarkFolder(m_currentArticle));
  ui->SetCheck(m_display.GetHighlightMode() ? 1 : 0);
}

void CBrowser::OnUpdateClearHighlights(CCmdUI* ui) { ui->Enable(m_display.HasHighlights()); }
void CBrowser::OnUpdatePrevious(CCmdUI* ui) { ui->Enable(m_hasPrevious); }
void CBrowser::OnUpdateOutline(CCmdUI* ui) { ui->Enable(m_hasOutline); }
void CBrowser::OnUpdateHistory(CCmdUI* ui) { ui->Enable(m_hasHistory); }
void CBrowser::OnUpdateInternet(CCmdUI* ui) { ui->Enable(Reader().m_urlBits.Test(m_currentArticle)); }

void CBrowser::OnUpdateSwitchPane(CCmdUI* ui) {
  const HWND focus = ::GetFocus();
  ui->Enable(focus == m_hWnd || ::IsChild(m_hWnd, focus));
}
