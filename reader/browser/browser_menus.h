// CBrowserMenus: the parts of the encyclopedia's menu that change with the
// reader's data: the Bookmark menu's folders and the Search History submenu
// (the shared CBookmarkMenu and CSearchHistoryMenu), the Internet links of
// the shown article (in the Related menu and under the Related button), the
// Add item's article title and the items the article enables. It takes the
// commands of their items (the view routes its commands here first) and
// shows a chosen article through the screen's ItemScreen operation.
#pragma once

#include "controls/menu_button.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "panels/bookmark_menu.h"
#include "search/history_menu.h"

class CBrowserMenus : public CCmdTarget, public BookmarkMenuOwner {
 public:
  CBrowserMenus(ItemScreen& screen, CMenu& menu, CMenuButton& related);

  // The items of the folders, the search history and the Internet links.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  void RebuildBookmarkMenu() { m_bookmarks.Refill(); }
  void RebuildSearchHistory() { m_history.Refill(); }
  // Reads the article's Internet links (a message when Internet.dat cannot
  // be read) and lists them in both places.
  void RebuildInternetLinks(int article);
  const CDWordArray& GetInternetLinks() const { return m_internetLinks; }
  // "Add "title"" in the Bookmark menu.
  void ShowArticleTitle(const CString& title);
  void SetItemState(UINT id, BOOL enabled);

 private:
  // BookmarkMenuOwner: the encyclopedia shows the articles of no other screen.
  panels::ItemKind OwnItemKind() const override { return panels::ItemKind::Article; }
  void ShowOwnItem(int item) override { m_screen.ShowItem(item); }

  CMenu* SubMenu(int position);

  ItemScreen& m_screen;
  CMenu& m_menu;
  CMenuButton& m_related;
  CBookmarkMenu m_bookmarks;
  CSearchHistoryMenu m_history;
  CDWordArray m_internetLinks;
};
