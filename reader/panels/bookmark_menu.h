// CBookmarkMenu: the bookmark folders in a screen's "&Bookmark" menu, under
// the items the menu was loaded with: a separator, one owner-drawn pop-up per
// folder (greyed when empty) of the folder's first articles as owner-drawn
// items, and "more" after a longer folder and after the last folder listed.
// A chosen article of the screen's own kind is shown there, any other on the
// screen of its kind. The screen owns one, refills it when the folders change
// and routes its commands to it (OnCmdMsg).
#pragma once

#include "framework.h"
#include "panels/item_router.h"

// What the Bookmark menu needs of its screen.
class BookmarkMenuOwner {
 public:
  virtual ~BookmarkMenuOwner() = default;
  // The kind of article the screen shows itself.
  virtual panels::ItemKind OwnItemKind() const = 0;
  // Shows one of them: an article, or for media items the item's index.
  virtual void ShowOwnItem(int item) = 0;
};

namespace panels {

// The position of the item of `menu` whose text is `text`, or -1.
int PositionOf(CMenu& menu, const char* text);
// The pop-up of `menu` whose text is `text`, or nullptr (also while the menu
// is not loaded).
CMenu* FindPopup(CMenu& menu, const char* text);

}  // namespace panels

class CBookmarkMenu : public CCmdTarget {
 public:
  // At most this many folders are listed, each with at most this many of its
  // articles: article i of folder f is command firstId + kFolderItems x f + i.
  static constexpr int kMenuFolders = 10;
  static constexpr int kFolderItems = 10;

  // `menu` is the screen's menu bar (it may be loaded later), `firstId` the
  // command of the first folder's first article and `moreId` the screen's
  // View Bookmark List command.
  CBookmarkMenu(BookmarkMenuOwner& owner, CMenu& menu, UINT firstId, UINT moreId)
      : m_owner(owner), m_menu(menu), m_firstId(firstId), m_moreId(moreId) {}

  // The folders' articles as they are now.
  void Refill();
  // The articles' commands.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 private:
  BookmarkMenuOwner& m_owner;
  CMenu& m_menu;
  UINT m_firstId;
  UINT m_moreId;
  // The items the pop-up was loaded with, counted at its first filling, stay.
  HMENU m_counted = nullptr;
  int m_fixedItems = 0;
};
