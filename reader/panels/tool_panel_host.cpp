#include "panels/tool_panel_host.h"

#include "core/reader_shell.h"
#include "messages/window_messages.h"

BOOL IsPanelOpen(const CWnd* panel) {
  return panel != nullptr && panel->m_hWnd != nullptr && ::IsWindow(panel->m_hWnd);
}

// --- one screen's panels ---

void ScreenPanels::Close(ToolPanel kind) {
  if (IsOpen(kind)) Get(kind)->DestroyWindow();
  m_hiddenByZoom[Index(kind)] = FALSE;
}

void ScreenPanels::CloseAll() {
  for (int i = 0; i < ToolPanelCount; ++i) Close(static_cast<ToolPanel>(i));
}

void ScreenPanels::SaveStates(SearchState& state, std::initializer_list<ToolPanel> kinds) {
  for (ToolPanel kind : kinds)
    if (IsOpen(kind))
      if (auto* panel = dynamic_cast<SearchStatePanel*>(Get(kind))) panel->SaveState(state);
}

void ScreenPanels::HideForZoom() {
  for (int i = 0; i < ToolPanelCount; ++i) {
    CWnd* panel = m_panels[i].get();
    m_hiddenByZoom[i] = panel && panel->m_hWnd && panel->IsWindowVisible();
    if (m_hiddenByZoom[i]) panel->ShowWindow(SW_HIDE);
  }
}

void ScreenPanels::ShowAfterZoom() {
  for (int i = 0; i < ToolPanelCount; ++i) {
    CWnd* panel = m_panels[i].get();
    if (m_hiddenByZoom[i] && panel && panel->m_hWnd) panel->ShowWindow(SW_SHOW);
    m_hiddenByZoom[i] = FALSE;
  }
}

// --- the panels every screen shares ---

ToolPanelHost* GetToolPanelHost() { return dynamic_cast<ToolPanelHost*>(AfxGetMainWnd()); }

void ToolPanelHost::SaveSearchState() {
  if (auto* screen = dynamic_cast<ReaderScreen*>(m_shell.GetActiveScreen())) screen->SaveSearchState(m_searchState);
}

void ToolPanelHost::HidePanels(ScreenPanel panel) {
  SaveSearchState();
  for (int i = 0; i < static_cast<int>(Screen::Count); ++i)
    if (auto* screen = dynamic_cast<ReaderScreen*>(m_shell.GetScreen(static_cast<Screen>(i)))) screen->HidePanel(panel);
}

void ToolPanelHost::CloseResultsWindows() {
  HidePanels(ScreenPanel::Results);
  m_bResultsOpen = FALSE;
}

void ToolPanelHost::CloseContentsWindows() {
  HidePanels(ScreenPanel::Contents);
  m_bContentsOpen = FALSE;
  m_searchState.findText.Empty();
}

void ToolPanelHost::CloseBookmarkWindows() {
  HidePanels(ScreenPanel::Bookmarks);
  m_bBookmarksOpen = FALSE;
  m_searchState.bookmarkSelection = m_searchState.bookmark2Selection = -1;
  m_searchState.bookmarkTop = m_searchState.bookmark2Top = 0;
}

void ToolPanelHost::SetContentsOpen() { m_bContentsOpen = TRUE; }

void ToolPanelHost::SetBookmarksOpen() {
  m_bBookmarksOpen = TRUE;
  m_searchState.bookmarkSelection = m_searchState.bookmark2Selection = -1;
  m_searchState.bookmarkTop = m_searchState.bookmark2Top = 0;
}

void ToolPanelHost::OpenContents() {
  SetContentsOpen();
  if (CView* active = m_shell.GetActiveScreen()) active->PostMessage(WM_SHOWCONTENTS, 0, 0);
}

void ToolPanelHost::OpenBookmarks() {
  SetBookmarksOpen();
  if (CView* active = m_shell.GetActiveScreen()) active->PostMessage(WM_SHOWBOOKMARKS, 0, 0);
}

void ToolPanelHost::CloseSharedPanels(ToolPanel opening) {
  if (opening != ToolPanel::Results) CloseResultsWindows();
  if (opening != ToolPanel::Contents) CloseContentsWindows();
  if (opening != ToolPanel::Bookmarks) CloseBookmarkWindows();
}

void ToolPanelHost::OpenNewResults() {
  SaveSearchState();
  m_bResultsOpen = TRUE;
  m_searchState.resultsSelection = -1;
  m_searchState.resultsTop = 0;
}

void ToolPanelHost::ReopenPanels(CView* view) const {
  if (m_bResultsOpen) view->PostMessage(WM_SHOWRESULTS, 1, 0);
  if (m_bContentsOpen) view->PostMessage(WM_SHOWCONTENTS, 0, 0);
  if (m_bBookmarksOpen) view->PostMessage(WM_SHOWBOOKMARKS, 0, 0);
}
