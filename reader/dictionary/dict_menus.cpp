#include "dictionary/dict_menus.h"

#include "reader/dictionary_ids.h"
#include "reader/reader_ids.h"

CDictMenus::CDictMenus(BookmarkMenuOwner& screen)
    : m_bookmarks(screen, m_menu, ID_DICT_BOOKMARK_FIRST, ID_DICT_BOOKMARK_LIST),
      m_history(m_menu, ID_DICT_HISTORY_FIRST) {}

void CDictMenus::Load() {
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_DICTIONARY);
}

BOOL CDictMenus::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return m_bookmarks.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) || m_history.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
