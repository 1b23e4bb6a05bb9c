// CDictMenus: the dictionary screen's menu, loaded once, and its two lists
// that change: the Bookmark menu's folders and the Search History list of
// the Search menu (the shared CBookmarkMenu and CSearchHistoryMenu). The
// view routes its commands here (OnCmdMsg).
#pragma once

#include "framework.h"
#include "panels/bookmark_menu.h"
#include "search/history_menu.h"

class CDictMenus : public CCmdTarget {
 public:
  // A chosen bookmark of the dictionary's own kind goes to `screen`.
  explicit CDictMenus(BookmarkMenuOwner& screen);
  CDictMenus(const CDictMenus&) = delete;
  CDictMenus& operator=(const CDictMenus&) = delete;

  // Loads the screen's menu, once.
  void Load();
  CMenu& Menu() { return m_menu; }
  // The Bookmark menu's articles from the folders now.
  void RefillBookmarks() { m_bookmarks.Refill(); }
  // The Search History list from the shell's queries, newest first.
  void RebuildHistory() { m_history.Refill(); }

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 private:
  CMenu m_menu;
  CBookmarkMenu m_bookmarks;
  CSearchHistoryMenu m_history;
};
