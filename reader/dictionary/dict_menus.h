// CDictMenus: the dictionary screen's menu and its two lists that change:
// the Bookmark menu (the folders' articles; a dictionary entry is shown
// here, other articles on their own screens) and the Search History list of
// the Search menu (an item recalls its query).
#pragma once

#include "dictionary/dict_part.h"

class CDictMenus : public CDictPart {
 public:
  using CDictPart::CDictPart;

  // Loads the screen's menu, once.
  void Load();
  CMenu& Menu() { return m_menu; }
  // The Bookmark menu's articles from the folders now.
  void RefillBookmarks();
  // The Search History list from the shell's queries, newest first.
  void RebuildHistory();

 protected:
  void OnHistoryItem(UINT id);
  void OnBookmarkItem(UINT id);
  DECLARE_MESSAGE_MAP()

 private:
  CMenu m_menu;
};
