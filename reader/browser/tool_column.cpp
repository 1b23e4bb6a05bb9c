// The encyclopedia's tool column. Making a tool window is the one place each
// panel class of its own module is named.
#include "browser/tool_column.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "panels/article_list_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels/media_items_dlg.h"
#include "panels/word_find_dlg.h"
#include "reader/browser_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

CBrowserToolColumn::ToolMaker CBrowserToolColumn::s_toolMaker = nullptr;

BEGIN_MESSAGE_MAP(CBrowserToolColumn, CCmdTarget)
ON_COMMAND(ID_BROWSER_SUBJECT_LINKS, OnSubjectLinks)
ON_COMMAND(ID_BROWSER_HISTORY, OnHistory)
ON_COMMAND(ID_BROWSER_FIND_WORD, OnFindWord)
ON_COMMAND(ID_BROWSER_OUTLINE, OnOutline)
ON_COMMAND(ID_BROWSER_SMART_SEARCH, OnSmartSearch)
ON_COMMAND(ID_BROWSER_CONTENTS, OnContents)
ON_COMMAND(ID_BROWSER_BOOLEAN, OnBoolean)
ON_COMMAND(ID_BROWSER_SUBJECTS, OnSubjects)
ON_COMMAND(ID_BROWSER_BOOKMARK_LIST, OnBookmarkList)
ON_COMMAND(ID_NEXT_PANE, OnSwitchPane)
ON_COMMAND(ID_PREV_PANE, OnSwitchPane)
ON_BN_CLICKED(IDC_BROWSER_CONTENTS, OnContents)
ON_BN_CLICKED(IDC_BROWSER_SUBJECTS, OnSubjects)
ON_BN_CLICKED(IDC_BROWSER_SMART, OnSmartSearch)
ON_BN_CLICKED(IDC_BROWSER_BOOLEAN, OnBoolean)
ON_BN_CLICKED(IDC_BROWSER_OUTLINE, OnOutline)
ON_BN_CLICKED(IDC_BROWSER_BOOKMARKS, OnBookmarkList)
ON_UPDATE_COMMAND_UI(ID_BROWSER_SUBJECT_LINKS, OnUpdateSubjectLinks)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateSwitchPane)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateSwitchPane)
END_MESSAGE_MAP()

namespace {

ToolRequest TunerRequest(const CStringArray& terms) {
  ToolRequest request;
  request.kind = ToolPanel::Tuner;
  request.terms = &terms;
  return request;
}

}  // namespace

UINT ToolWindowTemplate(ToolPanel kind) {
  static constexpr UINT templates[ToolPanelCount] = {3005, 2056, 1085, 2001, 4051, 1037, 1115, 3009, 4064, 0, 0};
  return templates[static_cast<int>(kind)];
}

// ---- opening and closing -------------------------------------------------------------

BOOL CBrowserToolColumn::Open(const ToolRequest& request) {
  CWaitCursor wait;
  m_browser.LeaveZoom();
  CloseAllFor(request);
  if (!Create(request)) return FALSE;
  if (request.kind == ToolPanel::Contents) m_contentsMode = request.mode;
  Get(request.kind)->SetFocus();
  return TRUE;
}

BOOL CBrowserToolColumn::OpenKind(ToolPanel kind, int mode) {
  ToolRequest request;
  request.kind = kind;
  request.mode = mode;
  return Open(request);
}

BOOL CBrowserToolColumn::OpenArticleList(int mode, const CBitString& articles) {
  ToolRequest request;
  request.kind = ToolPanel::ArticleList;
  request.mode = mode;
  request.articles = &articles;
  return Open(request);
}

BOOL CBrowserToolColumn::Create(const ToolRequest& request) {
  std::unique_ptr<CWnd>& tool = m_tools.Slot(request.kind);
  if (tool && tool->m_hWnd) tool->DestroyWindow();
  if (!Make(request, tool) || !tool || !tool->m_hWnd) return FALSE;
  tool->MoveWindow(m_browser.GetPanelRect());
  tool->ShowWindow(SW_SHOW);
  return TRUE;
}

// The windows: results (template 3005), contents and subjects (2056),
// bookmark list (1085), Boolean search (2001), Smart Search (4051), Tuner
// (1037), article list (1115), word find (3009), media items and outline
// (4064), each in the panel rectangle with the screen as owner and the
// request's mode, articles, terms and text. A Smart Search result (query
// kind 1) is listed ranked.
BOOL CBrowserToolColumn::Make(const ToolRequest& request, std::unique_ptr<CWnd>& tool) {
  CWnd* owner = &m_browser.View();
  if (s_toolMaker) return s_toolMaker(owner, request, tool);
  const UINT templateId = ToolWindowTemplate(request.kind);
  const CRect panel = m_browser.GetPanelRect();
  static const CStringArray kNoTerms;
  const CStringArray& terms = request.terms ? *request.terms : kNoTerms;
  switch (request.kind) {
    case ToolPanel::Results: {
      ReaderShell* shell = GetReaderShell();
      const int ranked = shell && shell->Queries().GetCurrentKind() == 1 ? 1 : 0;
      return m_tools.Of<CResultsDlg>(request.kind).Create(panel, templateId, ranked, owner, &terms, request.text);
    }
    case ToolPanel::Contents:
      return m_tools.Of<CSubjectsDlg>(request.kind).Create(panel, templateId, owner, request.mode);
    case ToolPanel::Boolean: return m_tools.Of<CSearchDlg>(request.kind).Create(panel, templateId, owner);
    case ToolPanel::Smart: return m_tools.Of<CSmartSearchDlg>(request.kind).Create(panel, templateId, owner);
    case ToolPanel::Tuner:
      return m_tools.Of<CTunerDlg>(request.kind).Create(panel, templateId, owner, request.text, terms);
    case ToolPanel::Bookmarks: return m_tools.Of<CBookmarkDlg>(request.kind).Create(panel, templateId, owner);
    case ToolPanel::ArticleList: {
      CArticleListDlg& list = m_tools.Of<CArticleListDlg>(request.kind);
      if (!list.Create(panel, templateId, request.mode, owner)) return FALSE;
      if (request.articles) list.SetArticles(*request.articles);
      return TRUE;
    }
    case ToolPanel::WordFind: return m_tools.Of<CWordFindDlg>(request.kind).Create(panel, templateId, owner);
    case ToolPanel::Outline: return m_tools.Of<CMediaItemsDlg>(request.kind).Create(panel, owner);
    default: break;  // the kinds of the other screens
  }
  return FALSE;
}

void CBrowserToolColumn::CloseShared(ToolPanel opening) {
  // The window being opened keeps the host's flag that re-opens it after a
  // screen switch (the host set it just before asking for the window).
  if (ToolPanelHost* host = GetToolPanelHost()) host->CloseSharedPanels(opening);
}

void CBrowserToolColumn::CloseAllFor(const ToolRequest& opening) {
  // Only the frame's own Contents request (0x3739) opens the contents window
  // in contents mode; Subjects closes the contents windows like any other.
  const BOOL framesContents = opening.kind == ToolPanel::Contents && opening.mode == 0;
  CloseShared(opening.kind != ToolPanel::Contents || framesContents ? opening.kind : ToolPanel::Count);
  m_tools.CloseAll();
}

void CBrowserToolColumn::CloseAll() {
  CloseShared(ToolPanel::Count);
  for (ToolPanel kind : {ToolPanel::Boolean, ToolPanel::Smart, ToolPanel::WordFind, ToolPanel::Outline,
                         ToolPanel::Tuner, ToolPanel::ArticleList})
    m_tools.Close(kind);
}

void CBrowserToolColumn::Hide(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: m_tools.Close(ToolPanel::Results); break;
    case ScreenPanel::Contents: m_tools.Close(ToolPanel::Contents); break;
    case ScreenPanel::Bookmarks: m_tools.Close(ToolPanel::Bookmarks); break;
  }
}

void CBrowserToolColumn::SaveStates(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Bookmarks, ToolPanel::Results, ToolPanel::Contents});
}

void CBrowserToolColumn::Place(const CRect& panel) {
  for (int i = 0; i < ToolPanelCount; ++i)
    if (CWnd* tool = m_tools.Get(static_cast<ToolPanel>(i)); tool && tool->m_hWnd) tool->MoveWindow(panel);
}

void CBrowserToolColumn::DestroyAll() {
  for (int i = 0; i < ToolPanelCount; ++i)
    if (CWnd* tool = m_tools.Get(static_cast<ToolPanel>(i)); tool && tool->m_hWnd) tool->DestroyWindow();
}

// ---- what the frame and the other screens ask for ---------------------------------------

void CBrowserToolColumn::ShowContents() {
  if (IsOpen(ToolPanel::Contents) && m_contentsMode == 0) {
    Get(ToolPanel::Contents)->SendMessage(WM_REFRESHLIST);
    return;
  }
  OpenKind(ToolPanel::Contents, 0);
}

void CBrowserToolColumn::ShowBookmarks() {
  if (IsOpen(ToolPanel::Bookmarks)) {
    Get(ToolPanel::Bookmarks)->SendMessage(WM_REFRESHLIST);
    return;
  }
  OpenKind(ToolPanel::Bookmarks);
}

BOOL CBrowserToolColumn::RefreshResults() {
  ReaderShell* shell = GetReaderShell();
  if (!shell || !IsOpen(ToolPanel::Results) || !shell->Queries().IsCurrentQuery(m_resultsQuery, m_resultsRanked))
    return FALSE;
  Get(ToolPanel::Results)->SendMessage(WM_REFRESHLIST);
  return TRUE;
}

BOOL CBrowserToolColumn::OpenResults() {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return FALSE;
  // The old list goes first: closing the other windows through the frame
  // saves the search state, which must keep the new query's list positions.
  m_tools.Close(ToolPanel::Results);
  CloseShared(ToolPanel::Results);
  m_tools.CloseAll();
  ToolRequest request;
  request.kind = ToolPanel::Results;
  request.articles = &shell->Queries().GetCurrentQuery();
  request.terms = &shell->Queries().GetCurrentTerms();
  request.text = shell->Queries().GetCurrentText();
  if (!Create(request)) return FALSE;
  m_resultsQuery = request.text;
  m_resultsRanked = shell->Queries().GetCurrentKind() == 1 ? 1 : 0;
  m_resultsSet = shell->Queries().GetCurrentQuery();
  return TRUE;
}

void CBrowserToolColumn::ShowEntryList(const CDWordArray& entries, int mode) {
  CWaitCursor wait;
  m_browser.LeaveZoom();
  ToolRequest request;
  request.kind = ToolPanel::ArticleList;
  request.mode = mode;
  CloseAllFor(request);
  ReaderContext& app = Reader();
  CBitString articles(app.GetArticleCount(), FALSE);
  for (int i = 0; i < entries.GetSize(); ++i) articles.SetBit(app.ToInternalArticle(static_cast<int>(entries[i])));
  if (articles.GetSetCount() == 0) return;
  m_browser.ShowArticle(articles.NextSet(1));
  request.articles = &articles;
  Open(request);
}

void CBrowserToolColumn::ShowEntries(const CDWordArray& entries, ItemScreen::EntryList list) {
  if (list == ItemScreen::EntryList::QuizClue) {
    ShowEntryList(entries, ListClue);
    return;
  }
  // One article related to a media item is shown alone; several go to the
  // article list, which shows the first.
  if (entries.GetSize() == 0) return;
  if (entries.GetSize() == 1) {
    CloseAll();
    m_browser.ShowArticle(Reader().ToInternalArticle(static_cast<int>(entries[0])));
  } else {
    ShowEntryList(entries, ListRelatedToMedia);
  }
}

void CBrowserToolColumn::OpenAdvancedSearch(const CStringArray& terms, const std::vector<float>& weights) {
  ToolRequest request = TunerRequest(terms);
  request.weights = &weights;
  OpenInPlaceOfSmartSearch(request);
}

void CBrowserToolColumn::OpenTuner(const CString& query, const CStringArray& terms) {
  ToolRequest request = TunerRequest(terms);
  request.text = query;
  OpenInPlaceOfSmartSearch(request);
}

void CBrowserToolColumn::OpenInPlaceOfSmartSearch(const ToolRequest& request) {
  m_tools.Close(ToolPanel::Smart);
  if (Create(request)) Get(request.kind)->SetFocus();
}

BOOL CBrowserToolColumn::HasArticleList() const {
  return IsOpen(ToolPanel::Results) || IsOpen(ToolPanel::Contents) || IsOpen(ToolPanel::ArticleList);
}

// The selected articles of the results window, else of the contents and
// subjects window, else of the article list panel (the first that is open).
BOOL CBrowserToolColumn::SelectedArticles(CBitString& articles) {
  articles.Clear();
  if (IsOpen(ToolPanel::Results))
    if (auto* results = dynamic_cast<CResultsDlg*>(Get(ToolPanel::Results))) {
      articles = results->List().GetSelection();
      return TRUE;
    }
  if (IsOpen(ToolPanel::Contents))
    if (auto* contents = dynamic_cast<CSubjectsDlg*>(Get(ToolPanel::Contents))) {
      articles = contents->List().GetSelection();
      return TRUE;
    }
  if (IsOpen(ToolPanel::ArticleList))
    if (auto* list = dynamic_cast<CArticleListDlg*>(Get(ToolPanel::ArticleList))) {
      articles = list->ArticleList().GetSelection();
      return TRUE;
    }
  return FALSE;
}

// ---- commands ------------------------------------------------------------------------------

void CBrowserToolColumn::OnSubjectLinks() {
  const CBitString& links = m_browser.GetSubjectLinks();
  if (links.GetSetCount() > 0) OpenArticleList(ListSubjectLinks, links);
}

void CBrowserToolColumn::OnHistory() {
  // The articles shown before, newest first; the one on display is not among
  // them, though Previous and revisits leave it earlier in the history too.
  const browser::ArticleHistory& history = m_browser.History();
  const int current = m_browser.GetCurrentArticle();
  CBitString articles(Reader().GetArticleCount(), TRUE);
  for (int i = history.Count() - 2; i >= 0; --i) {
    const int article = static_cast<int>(history.At(i));
    if (article != current) articles.SetBit(article, TRUE, TRUE);
  }
  OpenArticleList(ListHistory, articles);
}

void CBrowserToolColumn::OnFindWord() {
  if (!IsOpen(ToolPanel::WordFind)) OpenKind(ToolPanel::WordFind);
}

void CBrowserToolColumn::OnOutline() {
  if (!IsOpen(ToolPanel::Outline)) OpenKind(ToolPanel::Outline);
}

void CBrowserToolColumn::OnSmartSearch() { OpenKind(ToolPanel::Smart); }

void CBrowserToolColumn::OnBoolean() { OpenKind(ToolPanel::Boolean); }

void CBrowserToolColumn::OnSubjects() { OpenKind(ToolPanel::Contents, 1); }

void CBrowserToolColumn::OnContents() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenContents();
}

void CBrowserToolColumn::OnBookmarkList() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenBookmarks();
}

void CBrowserToolColumn::OnSwitchPane() {
  static const ToolPanel order[] = {ToolPanel::Contents,    ToolPanel::Smart,    ToolPanel::Boolean,
                                    ToolPanel::Bookmarks,   ToolPanel::Results,  ToolPanel::Tuner,
                                    ToolPanel::ArticleList, ToolPanel::WordFind, ToolPanel::Outline};
  const HWND screen = m_browser.View().m_hWnd;
  for (ToolPanel kind : order) {
    if (!IsOpen(kind)) continue;
    CWnd* tool = Get(kind);
    const HWND focus = ::GetFocus();
    if (focus == tool->m_hWnd || ::IsChild(tool->m_hWnd, focus)) {
      m_browser.View().SetFocus();
    } else if (focus == screen || ::IsChild(screen, focus)) {
      tool->SetFocus();
    }
    return;
  }
}

void CBrowserToolColumn::OnUpdateSubjectLinks(CCmdUI* ui) { ui->Enable(m_browser.HasSubject()); }

void CBrowserToolColumn::OnUpdateSwitchPane(CCmdUI* ui) {
  const HWND focus = ::GetFocus();
  const HWND screen = m_browser.View().m_hWnd;
  ui->Enable(focus == screen || ::IsChild(screen, focus));
}
