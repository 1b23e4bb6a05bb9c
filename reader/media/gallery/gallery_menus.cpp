// The media gallery's Search History and Bookmark menus, filing the current
// item in a folder, and the roads to the other screens and tool windows.
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "media/gallery/picture_view.h"

BOOL ChooseBookmarkFolder(CWnd* owner, int& folder);

// --- menus ---

void CViewPicture::RebuildHistoryMenu() { m_historyMenu.Refill(); }

void CViewPicture::RebuildBookmarkMenu() {
  m_bookmarkMenu.Refill();
  m_tools.BookmarksChanged();
}

LRESULT CViewPicture::OnBitsChanged(WPARAM, LPARAM) {
  RebuildBookmarkMenu();
  return 0;
}

// --- filing ---

void CViewPicture::OnAddArticle() {
  const int article = m_navigator.CurrentArticle();
  int folder = -1;
  if (article <= 0 || !ChooseBookmarkFolder(this, folder)) return;
  Reader().SetInFolder(folder, article, TRUE);
}

// --- the other screens and the tool windows ---

void CViewPicture::ShowArticle(int article) {
  ReaderShell* shell = GetReaderShell();
  if (article > 0 && shell != nullptr) shell->ShowItem(Screen::Browser, article);
}

void CViewPicture::HidePanel(ScreenPanel panel) {
  const ToolPanel kind = panel == ScreenPanel::Results    ? ToolPanel::Results
                         : panel == ScreenPanel::Contents ? ToolPanel::Contents
                                                          : ToolPanel::Bookmarks;
  m_tools.Close(kind);
}

LRESULT CViewPicture::OnShowContents(WPARAM, LPARAM) {
  m_tools.ShowContents();
  return 0;
}

LRESULT CViewPicture::OnShowBookmarks(WPARAM, LPARAM) {
  m_tools.ShowBookmarks();
  return 0;
}

LRESULT CViewPicture::OnShowResults(WPARAM wParam, LPARAM) {
  m_tools.ShowResults(wParam != 0);
  return 0;
}
