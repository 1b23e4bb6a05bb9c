// ReaderBookmarks: the folders and bookmarks the screens share, kept in
// Bookmark.dat in the working directory, and the printing of the folder
// list. The application holds them (as part of its ReaderContext); the
// screens reach them through Reader().
#pragma once

#include "core/bookmarks.h"
#include "framework.h"

class ReaderContent;
class ReaderLook;

class ReaderBookmarks {
 public:
  // The item data of a folder's pop-up in a Bookmark menu (the main frame
  // draws them): this + the folder.
  static constexpr UINT MenuFolderBase = 200000;

  // The records name articles of the content; the printed list takes the
  // shared fonts.
  ReaderBookmarks(ReaderContent& content, ReaderLook& look) : m_content(content), m_look(look) {}
  ReaderBookmarks(const ReaderBookmarks&) = delete;
  ReaderBookmarks& operator=(const ReaderBookmarks&) = delete;

  void ResetBookmarks();
  int FindBookmark(int article) const;
  int FindOrAddBookmark(int article);
  BOOL AddBookmarkNote(int article, const CString& text, UINT position);
  BOOL AddHighlight(int article, UINT start, UINT end);
  void RemoveBookmark(int article);
  // Adds the set to folder `folder`, or (add FALSE) takes out the articles of
  // the set, which are in it; the main window hears of it.
  void AddToFolder(int folder, const CBitString& set, BOOL add);
  void SetInFolder(int folder, int article, BOOL in);
  // TRUE when the article is in any folder.
  BOOL IsInBookmarkFolder(int article);
  // Every folder's set to the size of `articles`.
  void ResizeFolders(int articles);
  BOOL LoadBookmarks();
  BOOL SaveBookmarks();

  // One printed page of the folder list: every folder (PrintListPage), or
  // folder `folder` alone (PrintListPage2). The list's lines are each
  // folder's name followed by the titles of its articles; `start` and the
  // result count them from the list's first line (-1: the list is done), so
  // a folder of any size prints whole.
  int PrintListPage(CDC* dc, CPrintInfo* info, int start);
  int PrintListPage2(CDC* dc, CPrintInfo* info, int folder, int start);

  CObArray m_folders;
  CObArray m_bookmarks;

 private:
  // The lines of folders [from, to) from line `start` (0: folder `from`'s name).
  int PrintFolders(CDC* dc, CPrintInfo* info, int from, int to, int start);

  ReaderContent& m_content;
  ReaderLook& m_look;
};
