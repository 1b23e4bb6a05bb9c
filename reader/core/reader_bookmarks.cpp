// The folders and bookmarks the screens share, Bookmark.dat in the working
// directory, and the printed folder list.
#include "core/reader_bookmarks.h"

#include "core/reader_content.h"
#include "core/reader_look.h"
#include "messages/window_messages.h"

void ReaderBookmarks::ResetBookmarks() { ::ResetBookmarks(m_folders, m_bookmarks); }

int ReaderBookmarks::FindBookmark(int article) const { return ::FindBookmark(m_bookmarks, article); }

int ReaderBookmarks::FindOrAddBookmark(int article) { return ::FindOrAddBookmark(m_bookmarks, article); }

BOOL ReaderBookmarks::AddBookmarkNote(int article, const CString& text, UINT position) {
  auto* bookmark = static_cast<CBookmark*>(m_bookmarks[FindOrAddBookmark(article)]);
  bookmark->m_noteTexts.Add(text);
  bookmark->m_notePositions.Add(position);
  return TRUE;
}

BOOL ReaderBookmarks::AddHighlight(int article, UINT start, UINT end) {
  auto* bookmark = static_cast<CBookmark*>(m_bookmarks[FindOrAddBookmark(article)]);
  bookmark->m_highlightStarts.Add(start);
  bookmark->m_highlightEnds.Add(end);
  return TRUE;
}

void ReaderBookmarks::RemoveBookmark(int article) { ::RemoveBookmark(m_bookmarks, article); }

void ReaderBookmarks::AddToFolder(int folder, const CBitString& set, BOOL add) {
  if (folder < 0 || folder >= m_folders.GetSize()) return;
  CBitString& articles = static_cast<CFolder*>(m_folders[folder])->m_articles;
  // Removing passes articles that are in the folder: XOR takes them out.
  if (add)
    articles.Or(set);
  else
    articles.Xor(set);
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_BITSCHANGED, 1, 0);
}

void ReaderBookmarks::SetInFolder(int folder, int article, BOOL in) {
  if (folder < 0 || folder >= m_folders.GetSize()) return;
  CBitString& articles = static_cast<CFolder*>(m_folders[folder])->m_articles;
  if ((articles.Test(article) != 0) != (in != FALSE)) articles.SetBit(article, in, FALSE, 0, 0);
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_BITSCHANGED, 0, 0);
}

BOOL ReaderBookmarks::LoadBookmarks() {
  return LoadBookmarkFile(WorkingPath("Bookmark.dat").c_str(), m_folders, m_bookmarks, m_content);
}

BOOL ReaderBookmarks::SaveBookmarks() {
  return SaveBookmarkFile(WorkingPath("Bookmark.dat").c_str(), m_folders, m_bookmarks, m_content);
}

BOOL ReaderBookmarks::IsInBookmarkFolder(int article) {
  for (int i = 0; i < m_folders.GetSize(); ++i)
    if (static_cast<const CFolder*>(m_folders[i])->m_articles.Test(article)) return TRUE;
  return FALSE;
}

void ReaderBookmarks::ResizeFolders(int articles) {
  for (int i = 0; i < m_folders.GetSize(); ++i) static_cast<CFolder*>(m_folders[i])->m_articles.Resize(articles);
}

// --- the printed folder list ---

namespace {

// One page of folder lines: the folder's name, then the titles of its articles.
struct ListPrinter {
  ReaderContent& content;
  ReaderLook& look;
  CDC* dc;
  CRect page;
  int y;
  bool top = true;

  // Prints the line; false when it does not fit the rest of the page (a line
  // at the top of a page always prints, so every page moves on).
  bool Line(const CString& text, bool folderName) {
    dc->SelectObject(look.GetFont(folderName ? FontArticleBold : FontArticle));
    if (folderName && !top) y += dc->GetDeviceCaps(LOGPIXELSY) / 4;
    TEXTMETRIC metrics = {};
    dc->GetTextMetrics(&metrics);
    if (!top && y + metrics.tmHeight > page.bottom) return false;
    const int x = folderName ? page.left : page.left + dc->GetDeviceCaps(LOGPIXELSX) / 2;
    dc->TextOut(x, y, text);
    y += metrics.tmHeight + metrics.tmExternalLeading;
    top = false;
    return true;
  }

  CString Item(const CFolder& folder, int item) {
    if (item == 0) return folder.m_name;
    char title[TitleBufferSize] = "";
    content.LookupTitle(folder.m_articles.GetAt(item), title);
    return title;
  }
};

}  // namespace

int ReaderBookmarks::PrintListPage(CDC* dc, CPrintInfo* info, int start) {
  return PrintFolders(dc, info, 0, m_folders.GetSize(), start);
}

int ReaderBookmarks::PrintListPage2(CDC* dc, CPrintInfo* info, int folder, int start) {
  if (folder < 0 || folder >= m_folders.GetSize()) return -1;
  return PrintFolders(dc, info, folder, folder + 1, start);
}

int ReaderBookmarks::PrintFolders(CDC* dc, CPrintInfo* info, int from, int to, int start) {
  CFont* old = dc->SelectObject(m_look.GetFont(FontList));
  dc->SetTextAlign(TA_LEFT);
  ListPrinter printer{m_content, m_look, dc, info->m_rectDraw, info->m_rectDraw.top};
  int next = -1;
  // `first` is the line of folder f's name.
  for (int f = from, first = 0; f < to && next < 0; ++f) {
    const CFolder& folder = *static_cast<const CFolder*>(m_folders[f]);
    const int lines = folder.m_articles.GetSetCount() + 1;
    for (int item = start > first ? start - first : 0; item < lines && next < 0; ++item)
      if (!printer.Line(printer.Item(folder, item), item == 0)) next = first + item;
    first += lines;
  }
  dc->SelectObject(old);
  return next;
}
