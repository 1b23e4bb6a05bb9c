#include "browser/browser_menus.h"

#include <string>
#include <vector>

#include "core/reader_context.h"
#include "core/related_files.h"
#include "core/title_key.h"
#include "panels/command_routing.h"
#include "reader/browser_ids.h"

namespace {

// Positions in the screen's menu.
constexpr int kRelatedMenu = 5;
constexpr int kInternetLinksPosition = 3;
constexpr const char* kInternetOpenFailed = "Unable to open the file Internet.dat";

}  // namespace

CBrowserMenus::CBrowserMenus(ItemScreen& screen, CMenu& menu, CMenuButton& related)
    : m_screen(screen),
      m_menu(menu),
      m_related(related),
      m_bookmarks(*this, menu, ID_BOOKMARK_ARTICLE_FIRST, ID_BROWSER_BOOKMARK_LIST),
      m_history(menu, ID_SEARCH_HISTORY_FIRST) {}

BOOL CBrowserMenus::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_bookmarks.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_history.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (nCode != CN_COMMAND || nID < ID_INTERNET_LINK_FIRST || nID > ID_INTERNET_LINK_LAST) return FALSE;
  if (panels::AnswerHandlerQuery(this, pHandlerInfo)) return TRUE;
  const int i = static_cast<int>(nID - ID_INTERNET_LINK_FIRST);
  if (i < m_internetLinks.GetSize()) m_screen.ShowItem(static_cast<int>(m_internetLinks[i]));
  return TRUE;
}

CMenu* CBrowserMenus::SubMenu(int position) { return m_menu.m_hMenu ? m_menu.GetSubMenu(position) : nullptr; }

void CBrowserMenus::SetItemState(UINT id, BOOL enabled) {
  if (m_menu.m_hMenu) m_menu.EnableMenuItem(id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void CBrowserMenus::ShowArticleTitle(const CString& title) {
  if (!m_menu.m_hMenu) return;
  const CString text = CString("Add \"") + title + "\"";
  m_menu.ModifyMenu(ID_BROWSER_ADD_ARTICLE, MF_BYCOMMAND | MF_STRING, ID_BROWSER_ADD_ARTICLE, text);
}

// ---- Internet links --------------------------------------------------------------------

void CBrowserMenus::RebuildInternetLinks(int article) {
  ReaderContext& app = Reader();
  m_internetLinks.RemoveAll();
  if (app.m_linkBits.Test(article)) {
    std::vector<u32> links;
    const std::string path = WorkingPath(links::kInternetFileName);
    if (!links::ReadInternetLinks(path.c_str(), app.m_linkBits.IndexOf(article), links))
      AfxMessageBox(kInternetOpenFailed, MB_ICONSTOP | MB_OK);
    const int most = ID_INTERNET_LINK_LAST - ID_INTERNET_LINK_FIRST + 1;
    for (std::size_t i = 0; i < links.size() && static_cast<int>(i) < most; ++i) m_internetLinks.Add(links[i]);
  }
  const bool any = m_internetLinks.GetSize() > 0;

  if (CMenu* related = SubMenu(kRelatedMenu)) {
    if (CMenu* popup = related->GetSubMenu(kInternetLinksPosition)) {
      while (popup->GetMenuItemCount() > 0) popup->DeleteMenu(0, MF_BYPOSITION);
      for (int i = 0; i < m_internetLinks.GetSize(); ++i)
        ::AppendMenuA(popup->m_hMenu, MF_OWNERDRAW, ID_INTERNET_LINK_FIRST + i,
                      reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(m_internetLinks[i])));
    }
    related->EnableMenuItem(kInternetLinksPosition, MF_BYPOSITION | (any ? MF_ENABLED : MF_GRAYED));
  }

  if (auto* popup = dynamic_cast<CPopupMenu*>(m_related.Root().FindItem(kInternetLinksPosition, MF_BYPOSITION))) {
    popup->RemoveAll();
    for (int i = 0; i < m_internetLinks.GetSize(); ++i) {
      const int linked = static_cast<int>(m_internetLinks[i]);
      char title[TitleBufferSize] = "";
      app.LookupTitle(linked, title);
      UINT image = 0, mask = 0;
      if (!app.GetArticleIcons(linked, &image, &mask)) image = mask = 0;
      popup->AddItem(title, ID_INTERNET_LINK_FIRST + i, image, mask, 0);
    }
    m_related.SetItemState(kInternetLinksPosition, MF_BYPOSITION | (any ? 0 : MF_GRAYED));
  }
}
