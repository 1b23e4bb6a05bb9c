// CBrowserMenus: the parts of the encyclopedia's menu that change with the
// reader's data: the Bookmark menu's folders, the Search History submenu,
// the Internet links of the shown article (in the Related menu and under the
// Related button), the Add item's article title and the items the article
// enables. It takes the commands of their items (the view routes its
// commands here first).
#pragma once

#include "controls/menu_button.h"
#include "framework.h"

class CBrowser;

class CBrowserMenus : public CCmdTarget {
 public:
  CBrowserMenus(CBrowser& browser, CMenu& menu, CMenuButton& related)
      : m_browser(browser), m_menu(menu), m_related(related) {}

  // The items of the folders, the search history and the Internet links.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  void RebuildBookmarkMenu();
  void RebuildSearchHistory();
  // Reads the article's Internet links (a message when Internet.dat cannot
  // be read) and lists them in both places.
  void RebuildInternetLinks(int article);
  const CDWordArray& GetInternetLinks() const { return m_internetLinks; }
  // "Add "title"" in the Bookmark menu.
  void ShowArticleTitle(const CString& title);
  void SetItemState(UINT id, BOOL enabled);

 private:
  CMenu* SubMenu(int position);
  // A bookmarked article on the screen that shows its kind.
  void ShowBookmarkArticle(int article);

  CBrowser& m_browser;
  CMenu& m_menu;
  CMenuButton& m_related;
  CDWordArray m_internetLinks;
};
