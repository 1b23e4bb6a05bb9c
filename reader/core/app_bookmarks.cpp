// The folders and bookmarks the application keeps for the screens, and
// Bookmark.dat in the working directory.
#include "reader_messages.h"
#include "veldrix_app.h"

void CVeldrixApp::ResetBookmarks() { ::ResetBookmarks(m_folders, m_bookmarks); }

int CVeldrixApp::FindBookmark(int article) const { return ::FindBookmark(m_bookmarks, article); }

int CVeldrixApp::FindOrAddBookmark(int article) { return ::FindOrAddBookmark(m_bookmarks, article); }

BOOL CVeldrixApp::AddBookmarkNote(int article, const CString& text, UINT position) {
  auto* bookmark = static_cast<CBookmark*>(m_bookmarks[FindOrAddBookmark(article)]);
  bookmark->m_noteTexts.Add(text);
  bookmark->m_notePositions.Add(position);
  return TRUE;
}

BOOL CVeldrixApp::AddHighlight(int article, UINT start, UINT end) {
  auto* bookmark = static_cast<CBookmark*>(m_bookmarks[FindOrAddBookmark(article)]);
  bookmark->m_highlightStarts.Add(start);
  bookmark->m_highlightEnds.Add(end);
  return TRUE;
}

void CVeldrixApp::RemoveBookmark(int article) { ::RemoveBookmark(m_bookmarks, article); }

void CVeldrixApp::AddToFolder(int folder, const CBitString& set, BOOL add) {
  if (folder < 0 || folder >= m_folders.GetSize()) return;
  CBitString& articles = static_cast<CFolder*>(m_folders[folder])->m_articles;
  // Removing passes articles that are in the folder: XOR takes them out.
  if (add)
    articles.Or(set);
  else
    articles.Xor(set);
  if (m_pMainWnd) m_pMainWnd->PostMessage(WM_BITSCHANGED, 1, 0);
}

void CVeldrixApp::SetInFolder(int folder, int article, BOOL in) {
  if (folder < 0 || folder >= m_folders.GetSize()) return;
  CBitString& articles = static_cast<CFolder*>(m_folders[folder])->m_articles;
  if ((articles.Test(article) != 0) != (in != FALSE)) articles.SetBit(article, in, FALSE, 0, 0);
  if (m_pMainWnd) m_pMainWnd->PostMessage(WM_BITSCHANGED, 0, 0);
}

BOOL CVeldrixApp::LoadBookmarks() {
  return LoadBookmarkFile(WorkingPath("Bookmark.dat").c_str(), m_folders, m_bookmarks, *this);
}

BOOL CVeldrixApp::SaveBookmarks() {
  return SaveBookmarkFile(WorkingPath("Bookmark.dat").c_str(), m_folders, m_bookmarks, *this);
}
