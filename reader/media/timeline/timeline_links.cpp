// Where the timeline screen meets the windows of the other screens: the
// picture pane, the frame's requests for the results, contents and bookmark
// windows, filing the event through the folder chooser, related articles,
// and the roads to the encyclopedia and media screens.
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "media/timeline/timeline_view.h"
#include "panels/folder_dlgs.h"
#include "panels/tool_panel_host.h"
#include "reader/timeline_quiz_ids.h"
#include "search/related_queries.h"
#include "search/results_dlg.h"

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
  if (!m_tools.Create(ToolPanel::Results)) return 0;
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

// ---- related articles ----

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

// ---- the roads to the other screens ----

void CTimeLine::ShowArticle(int article) {
  ReaderShell* shell = GetReaderShell();
  if (article > 0 && shell != nullptr) shell->ShowItem(Screen::Browser, article);
}

void CTimeLine::GoToMediaItem(int item) {
  if (ReaderShell* shell = GetReaderShell()) shell->ShowItem(Screen::Media, item);
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
