#include "panels/bookmark_menu.h"

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "panels/command_routing.h"

namespace panels {

int PositionOf(CMenu& menu, const char* text) {
  if (menu.m_hMenu == nullptr) return -1;
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    CString name;
    menu.GetMenuString(static_cast<UINT>(i), name, MF_BYPOSITION);
    if (name == text) return i;
  }
  return -1;
}

CMenu* FindPopup(CMenu& menu, const char* text) {
  const int position = PositionOf(menu, text);
  return position < 0 ? nullptr : menu.GetSubMenu(position);
}

}  // namespace panels

void CBookmarkMenu::Refill() {
  CMenu* menu = panels::FindPopup(m_menu, "&Bookmark");
  if (menu == nullptr) return;
  if (menu->m_hMenu != m_counted) {
    m_counted = menu->m_hMenu;
    m_fixedItems = menu->GetMenuItemCount();
  }
  while (menu->GetMenuItemCount() > m_fixedItems) menu->DeleteMenu(static_cast<UINT>(m_fixedItems), MF_BYPOSITION);
  const CObArray& folders = Reader().m_folders;
  if (folders.GetSize() > 0) menu->AppendMenu(MF_SEPARATOR);
  for (int f = 0; f < folders.GetSize() && f < kMenuFolders; ++f) {
    const CBitString& articles = static_cast<const CFolder*>(folders[f])->m_articles;
    const int count = articles.GetSetCount();
    CMenu popup;
    popup.CreatePopupMenu();
    // The main frame draws the items from their data: the article, or the
    // folder of a pop-up.
    for (int i = 0; i < count && i < kFolderItems; ++i)
      ::AppendMenuA(popup.m_hMenu, MF_OWNERDRAW, m_firstId + static_cast<UINT>(kFolderItems * f + i),
                    reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(articles.GetAt(i + 1))));
    if (count > kFolderItems) popup.AppendMenu(MF_STRING, m_moreId, "more");
    ::AppendMenuA(menu->m_hMenu, MF_POPUP | MF_OWNERDRAW | (count == 0 ? MF_GRAYED : 0),
                  reinterpret_cast<UINT_PTR>(popup.Detach()),
                  reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(ReaderBookmarks::MenuFolderBase + f)));
  }
  if (folders.GetSize() > kMenuFolders) menu->AppendMenu(MF_STRING, m_moreId, "more");
}

BOOL CBookmarkMenu::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (nCode != CN_COMMAND || nID < m_firstId || nID >= m_firstId + kMenuFolders * kFolderItems) return FALSE;
  if (panels::AnswerHandlerQuery(this, pHandlerInfo)) return TRUE;
  const int folder = static_cast<int>(nID - m_firstId) / kFolderItems;
  const int item = static_cast<int>(nID - m_firstId) % kFolderItems;
  const CObArray& folders = Reader().m_folders;
  if (folder >= folders.GetSize()) return TRUE;
  const int article = static_cast<const CFolder*>(folders[folder])->m_articles.GetAt(item + 1);
  if (article <= 0) return TRUE;
  const panels::ItemKind kind = panels::KindOfArticle(article);
  if (kind != m_owner.OwnItemKind()) {
    panels::ShowOnItsScreen(article);
  } else {
    m_owner.ShowOwnItem(kind == panels::ItemKind::MediaItem ? panels::MediaItemOf(article) : article);
  }
  return TRUE;
}
