// The encyclopedia screen's own commands, their enabling rules, the routing
// of the other commands to the screen's components and the messages other
// windows send it.
#include <cstdlib>

#include "browser/browser.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "display/note_dlg.h"
#include "panels/item_router.h"
#include "reader/browser_ids.h"
#include "search/related_queries.h"

BOOL CBrowser::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_articleCommands.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_printJob.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_menus.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_toolColumn.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_webAddress.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- messages ------------------------------------------------------------------------

LRESULT CBrowser::OnBitsChanged(WPARAM wParam, LPARAM lParam) {
  m_menus.RebuildBookmarkMenu();
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

// A timeline event shows on the timeline (after the switch, through its
// ItemScreen operation).
LRESULT CBrowser::OnCrossReference(WPARAM, LPARAM lParam) {
  ReaderContext& app = Reader();
  const int article = app.ToInternalArticle(static_cast<int>(lParam));
  if (app.m_tmlBits.Test(article)) {
    panels::ShowOnScreen(panels::ItemKind::TimelineEvent, article);
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
  m_toolColumn.ShowContents();
  return 0;
}

LRESULT CBrowser::OnShowBookmarks(WPARAM, LPARAM) {
  m_toolColumn.ShowBookmarks();
  return 0;
}

LRESULT CBrowser::OnShowResults(WPARAM wParam, LPARAM) {
  if (!GetReaderShell() || m_toolColumn.RefreshResults()) return 0;
  LeaveZoom();
  if (wParam != 1) m_menus.RebuildSearchHistory();
  if (m_toolColumn.OpenResults() && ResultsHoldCurrent()) {
    m_display.ClearFindHits();
    MarkQueryWords();
  }
  return 0;
}

// ---- the display's links and notes ----------------------------------------------------

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

// Add Selected takes the selection of the first open list window, when it
// holds any article.
BOOL CBrowser::ListedArticles(CBitString& articles) {
  return m_toolColumn.SelectedArticles(articles) && articles.GetSetCount() > 0;
}

// ---- commands ------------------------------------------------------------------------

void CBrowser::OnPrevious() { ShowArticle(-1); }

void CBrowser::OnRandom() {
  const int count = m_browsable.GetSetCount();
  if (count == 0) return;
  const int n = rand() * (count - 1) / 32767 + 1;
  const int article = m_browsable.GetAt(n);
  if (article > 0) ShowArticle(article);
}

void CBrowser::OnHelpEncyclopedia() { AfxGetApp()->WinHelp(99, HELP_CONTEXT); }
void CBrowser::OnConsultants() { AfxGetApp()->WinHelp(206, HELP_CONTEXT); }

void CBrowser::OnModeButton(UINT id) { ShowScreenOfButton(id, Screen::Browser); }

void CBrowser::OnRelatedButton() {
  m_related.SetItemState(ID_BROWSER_RELATED_SELECTION, m_display.HasSelection() ? 0 : MF_GRAYED);
  m_related.SetItemState(ID_BROWSER_SUBJECT_LINKS, m_subject == kNoSubject ? MF_GRAYED : 0);
  m_related.ResetPage();
}

void CBrowser::OnRelatedSelection() { search::QueryRelatedToSelection(m_display); }

// ---- update handlers -----------------------------------------------------------------

void CBrowser::OnUpdateRelatedSelection(CCmdUI* ui) { ui->Enable(m_display.HasSelection()); }
void CBrowser::OnUpdatePrevious(CCmdUI* ui) { ui->Enable(m_hasPrevious); }
void CBrowser::OnUpdateOutline(CCmdUI* ui) { ui->Enable(m_hasOutline); }
void CBrowser::OnUpdateHistory(CCmdUI* ui) { ui->Enable(m_hasHistory); }
