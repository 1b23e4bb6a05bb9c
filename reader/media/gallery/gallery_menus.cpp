// The media gallery's Search History and Bookmark menus, filing the current
// item in a folder, the roads to the other screens and tool windows, and
// the class library's print loop handed to the printer.
#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "media/gallery/picture_view.h"
#include "panels/item_router.h"
#include "reader/media_ids.h"
#include "search/related_queries.h"

namespace {

constexpr int FixedBookmarkItems = 6;
constexpr int HistoryPosition = 4;

}  // namespace

BOOL ChooseBookmarkFolder(CWnd* owner, int& folder);

// --- menus ---

CMenu* CViewPicture::FindPopup(const char* text) {
  if (!m_menu.m_hMenu) return nullptr;
  for (int i = 0; i < m_menu.GetMenuItemCount(); ++i) {
    CString name;
    m_menu.GetMenuString(static_cast<UINT>(i), name, MF_BYPOSITION);
    if (name == text) return m_menu.GetSubMenu(i);
  }
  return nullptr;
}

void CViewPicture::RebuildHistoryMenu() {
  if (CMenu* search = FindPopup("&Search")) search::FillSearchHistory(*search, HistoryPosition, ID_HISTORY_FIRST);
}

// The newest query is the first item (one step back).
void CViewPicture::OnHistory(UINT id) { search::RecallHistoryCommand(id, ID_HISTORY_FIRST); }

void CViewPicture::RebuildBookmarkMenu() {
  CMenu* bookmarks = FindPopup("&Bookmark");
  if (!bookmarks) return;
  Reader().FillBookmarkMenu(*bookmarks, FixedBookmarkItems, ID_BOOKMARK_FIRST, ID_MEDIA_VIEW_BOOKMARKS);
  m_tools.BookmarksChanged();
}

LRESULT CViewPicture::OnBitsChanged(WPARAM, LPARAM) {
  RebuildBookmarkMenu();
  return 0;
}

void CViewPicture::OnBookmarkEntry(UINT id) {
  const int f = static_cast<int>(id - ID_BOOKMARK_FIRST) / 10, i = static_cast<int>(id - ID_BOOKMARK_FIRST) % 10;
  ReaderContext& app = Reader();
  if (f >= app.m_folders.GetSize()) return;
  const int article = static_cast<const CFolder*>(app.m_folders[f])->m_articles.GetAt(i + 1);
  if (article <= 0) return;
  if (app.m_multBits.Test(article)) {
    m_navigator.MoveTo(app.m_multBits.IndexOf(article));
    return;
  }
  panels::ShowOnItsScreen(article);
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

// --- printing ---

BOOL CViewPicture::OnPreparePrinting(CPrintInfo* pInfo) { return m_printer.Prepare(pInfo); }

void CViewPicture::OnBeginPrinting(CDC* pDC, CPrintInfo*) { m_printer.Begin(pDC); }

void CViewPicture::OnEndPrinting(CDC*, CPrintInfo*) { m_printer.End(); }

void CViewPicture::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  m_printer.PrepareDC(pInfo);
}

void CViewPicture::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_printer.PrintPage(pDC, pInfo); }
