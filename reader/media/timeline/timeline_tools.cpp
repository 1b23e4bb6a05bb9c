// Where the timeline screen meets the windows of the other screens: the
// picture pane, the shared search windows of modes 6 to 9 and the results
// window in the panel, filing through the folder chooser, and the roads to
// the encyclopedia and media screens.
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "media/timeline/timeline_view.h"
#include "panels/bookmark_dlg.h"
#include "panels/folder_dlgs.h"
#include "panels/tool_panel_host.h"
#include "reader/timeline_quiz_ids.h"
#include "search/related_queries.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

namespace {

constexpr int kPanelBottomAtStart = 349;
constexpr int kBottomBand = 20;
// The "&Search" menu and its "Search &History" popup, by position.
constexpr int kSearchMenu = 2;
constexpr int kSearchHistoryPosition = 10;

// The object of the slot as a `Tool`: a new one each time, as the one before
// has no window left (the windows leave their objects alone when they go).
template <typename Tool>
Tool& NewTool(std::unique_ptr<CWnd>& slot) {
  auto made = std::make_unique<Tool>();
  Tool& tool = *made;
  slot = std::move(made);
  return tool;
}

}  // namespace

// ---- the picture pane ----

void CTimeLine::ShowPicture(int picture, BOOL scrollOneLine) {
  m_picture = picture;
  m_pictureScrolled = scrollOneLine;
  if (!GetSafeHwnd()) return;
  const CRect area = PictureRect();
  if (!m_pictureWnd.GetSafeHwnd()) {
    // Made on the first picture; a picture that cannot be read leaves the
    // window empty (it paints black) until the next one.
    const LPCTSTR type = AfxRegisterWndClass(CS_DBLCLKS, nullptr);
    m_pictureWnd.Create(type, nullptr, WS_CHILD | WS_VISIBLE, CRect(216, 74, 316, 254), this, IDC_TL_PICTURE,
                        static_cast<UINT>(picture < 0 ? 0 : picture), TRUE, nullptr, nullptr, FALSE, FALSE,
                        CPoint(0, 0));
  } else {
    m_pictureWnd.SetPicture(static_cast<UINT>(picture < 0 ? 0 : picture), FALSE, FALSE);
  }
  if (!m_pictureWnd.GetSafeHwnd()) return;
  m_pictureWnd.FitToParent(area);
  if (scrollOneLine) m_pictureWnd.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  InvalidateRect(CRect(area.left - 2, area.top - 2, area.right + 2, area.bottom + 2), FALSE);
}

// ---- the tool windows ----

CRect CTimeLine::PanelRect() const {
  CRect client;
  GetClientRect(&client);
  const int bottom = client.Height() > kBottomBand + PanelTop ? client.bottom - kBottomBand : kPanelBottomAtStart;
  return CRect(PanelLeft, PanelTop, PanelRight, bottom);
}

void CTimeLine::CloseModeTools() {
  for (ToolPanel kind : {ToolPanel::Subjects, ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Tuner})
    m_tools.Close(kind);
  // The results window closes on every screen through the frame.
  if (IsToolOpen(ToolPanel::Results))
    if (ToolPanelHost* host = GetToolPanelHost()) host->CloseResultsWindows();
  m_tools.Close(ToolPanel::Results);
  m_tools.Close(ToolPanel::Bookmarks);
}

BOOL CTimeLine::CreateTool(ToolPanel kind) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  m_tools.Close(kind);
  std::unique_ptr<CWnd>& slot = m_tools.Slot(kind);
  const CRect panel = PanelRect();
  BOOL made = FALSE;
  switch (kind) {
    case ToolPanel::Subjects:
      made = NewTool<CSubjectsDlg>(slot).Create(panel, CSubjectsDlg::kTemplate, this, FALSE);
      break;
    case ToolPanel::Smart: made = NewTool<CSmartSearchDlg>(slot).Create(panel, CSmartSearchDlg::kTemplate, this); break;
    case ToolPanel::Boolean: made = NewTool<CSearchDlg>(slot).Create(panel, CSearchDlg::kTemplate, this); break;
    case ToolPanel::Results:
      made = NewTool<CResultsDlg>(slot).Create(panel, CResultsDlg::kTemplate,
                                               shell->Queries().GetCurrentKind() == 1 ? 1 : 0, this,
                                               &shell->Queries().GetCurrentTerms(), shell->Queries().GetCurrentText());
      break;
    case ToolPanel::Bookmarks: made = NewTool<CBookmarkDlg>(slot).Create(panel, IDD_BOOKMARK_LIST, this); break;
    case ToolPanel::Tuner:  // made with its query by OpenTuner
    default: break;
  }
  if (!made || !IsToolOpen(kind)) return FALSE;
  m_tools.Get(kind)->MoveWindow(panel);
  m_tools.Get(kind)->ShowWindow(SW_SHOW);
  return TRUE;
}

void CTimeLine::OpenTuner(const CString& query, const CStringArray& terms) {
  // Smart Search asks from inside its own handler: its window goes, its
  // object stays until the next Smart Search window.
  m_tools.Close(ToolPanel::Smart);
  m_tools.Close(ToolPanel::Tuner);
  const CRect panel = PanelRect();
  if (!NewTool<CTunerDlg>(m_tools.Slot(ToolPanel::Tuner)).Create(panel, CTunerDlg::kTemplate, this, query, terms))
    return;
  if (!IsToolOpen(ToolPanel::Tuner)) return;
  m_tools.Get(ToolPanel::Tuner)->MoveWindow(panel);
  m_tools.Get(ToolPanel::Tuner)->ShowWindow(SW_SHOW);
  m_tools.Get(ToolPanel::Tuner)->SetFocus();
}

void CTimeLine::SaveSearchState(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Results, ToolPanel::Subjects, ToolPanel::Bookmarks});
}

void CTimeLine::HidePanel(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: m_tools.Close(ToolPanel::Results); break;
    case ScreenPanel::Contents: m_tools.Close(ToolPanel::Subjects); break;
    case ScreenPanel::Bookmarks: m_tools.Close(ToolPanel::Bookmarks); break;
  }
}

LRESULT CTimeLine::OnShowResults(WPARAM wParam, LPARAM) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return 0;
  auto* open = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results));
  if (IsToolOpen(ToolPanel::Results) && open != nullptr &&
      shell->Queries().IsCurrentQuery(open->GetQuery(), open->IsRanked())) {
    open->SendMessage(WM_REFRESHLIST);
    return 0;
  }
  CWaitCursor wait;
  // A query the frame recalled after a screen switch is in the submenu already.
  if (wParam == 0) RebuildSearchHistory();
  // The old results window goes here, not through the frame: the frame's
  // flag stays set for the new one.
  m_tools.Close(ToolPanel::Results);
  const int kind = shell->Queries().GetCurrentKind();
  if (kind == 1 && m_mode != timeline::ModeSmartSearch)
    SetMode(timeline::ModeSmartSearch);
  else if (kind == 0 && m_mode != timeline::ModeBooleanSearch)
    SetMode(timeline::ModeBooleanSearch);
  for (ToolPanel tool : {ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Tuner}) m_tools.Close(tool);
  if (!CreateTool(ToolPanel::Results)) return 0;
  if (m_article > 0 && shell->Queries().GetCurrentQuery().Test(m_article)) {
    const CStringArray& terms = shell->Queries().GetCurrentTerms();
    for (int i = 0; i < terms.GetSize(); ++i) m_display.FindWords(terms[i], FALSE, TRUE, i == 0);
  }
  return 0;
}

LRESULT CTimeLine::OnShowContents(WPARAM, LPARAM) {
  SetMode(timeline::ModeContents);
  return 0;
}

LRESULT CTimeLine::OnShowBookmarks(WPARAM, LPARAM) {
  SetMode(timeline::ModeBookmarks);
  return 0;
}

// ---- filing ----

BOOL CTimeLine::GetSelectedArticles(CBitString& articles) {
  ReaderContext& app = Reader();
  articles = CBitString(app.GetArticleCount(), FALSE);
  if (IsToolOpen(ToolPanel::Results)) {
    if (auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results))) {
      articles = results->List().GetArticles();
      return TRUE;
    }
  }
  if (IsToolOpen(ToolPanel::Boolean)) {
    // The Boolean panel's set is the frame's current query when it was a
    // Boolean search.
    ReaderShell* shell = GetReaderShell();
    if (shell == nullptr || shell->Queries().GetHistoryCount() == 0 || shell->Queries().GetCurrentKind() != 0)
      return FALSE;
    articles = shell->Queries().GetCurrentQuery();
    return TRUE;
  }
  if (m_search.GetSafeHwnd() && m_search.IsWindowVisible()) {
    const int event = m_search.Events().GetAnchor();
    if (event < 1 || event > m_data.eventCount) return FALSE;
    articles.SetBit(app.ToInternalArticle(static_cast<int>(m_search.GetEventEntry(event))));
    return TRUE;
  }
  return FALSE;
}

void CTimeLine::OnAddArticle() {
  if (m_article <= 0) return;
  CNewFolderDlg chooser(this);
  if (chooser.DoModal() != IDOK) return;
  ReaderContext& app = Reader();
  if (chooser.m_selection < 0 || chooser.m_selection >= app.m_folders.GetSize()) return;
  CBitString article(app.GetArticleCount(), FALSE);
  article.SetBit(m_article);
  app.AddToFolder(chooser.m_selection, article, TRUE);
}

void CTimeLine::OnAddSelected() {
  CBitString articles;
  if (!GetSelectedArticles(articles) || articles.GetSetCount() == 0) return;
  CNewFolderDlg chooser(this);
  if (chooser.DoModal() != IDOK) return;
  ReaderContext& app = Reader();
  if (chooser.m_selection < 0 || chooser.m_selection >= app.m_folders.GetSize()) return;
  app.AddToFolder(chooser.m_selection, articles, TRUE);
}

void CTimeLine::OnUpdateAddSelected(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsToolOpen(ToolPanel::Results) || IsToolOpen(ToolPanel::Boolean) ||
                 (m_search.GetSafeHwnd() && m_search.IsWindowVisible()));
}

// ---- related articles and the search history ----

void CTimeLine::OnRelatedEvent() {
  if (m_article > 0) search::QueryRelatedArticles(m_article);
}

void CTimeLine::OnRelatedSelection() { search::QueryRelatedToSelection(m_display); }

void CTimeLine::OnUpdateRelatedEvent(CCmdUI* pCmdUI) { pCmdUI->Enable(m_article > 0); }

void CTimeLine::OnUpdateRelatedSelection(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_display.GetSafeHwnd() && m_display.HasSelection());
}

void CTimeLine::OnRelatedButton() {
  m_related.SetItemState(ID_TL_RELATED_EVENT, m_article > 0 ? 0 : MF_GRAYED);
  m_related.SetItemState(ID_TL_RELATED_SELECTION, m_display.GetSafeHwnd() && m_display.HasSelection() ? 0 : MF_GRAYED);
  m_related.ResetPage();
}

void CTimeLine::OnHistoryItem(UINT id) { search::RecallHistoryCommand(id, ID_TL_HISTORY_FIRST); }

void CTimeLine::RebuildSearchHistory() {
  if (!m_menu.m_hMenu) return;
  if (CMenu* search = m_menu.GetSubMenu(kSearchMenu))
    search::FillSearchHistory(*search, kSearchHistoryPosition, ID_TL_HISTORY_FIRST);
}

// ---- the roads to the other screens ----

void CTimeLine::ShowArticle(int article) {
  ReaderShell* shell = GetReaderShell();
  if (article > 0 && shell != nullptr) shell->ShowItem(Screen::Browser, article);
}

void CTimeLine::GoToMediaItem(int item) {
  if (ReaderShell* shell = GetReaderShell()) shell->ShowItem(Screen::Media, item);
}

void CTimeLine::PrintBookmarkFolder(int folder, BOOL preview) {
  if (preview)
    PreviewBookmarkFolder(folder);
  else
    PrintBookmarkFolder(folder);
}

LRESULT CTimeLine::OnCrossReference(WPARAM, LPARAM lParam) {
  ReaderContext& app = Reader();
  const int article = app.ToInternalArticle(static_cast<int>(lParam));
  if (app.m_tmlBits.Test(article)) {
    SetCurrentArticle(article);
    return 0;
  }
  ShowArticle(article);
  return 0;
}

LRESULT CTimeLine::OnShowItem(WPARAM wParam, LPARAM) {
  GoToMediaItem(static_cast<int>(wParam));
  return 0;
}
