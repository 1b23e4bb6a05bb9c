#include "dictionary/dict_menus.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "panels/item_router.h"
#include "reader/dictionary_ids.h"
#include "reader/reader_ids.h"

namespace {

constexpr int kSearchMenu = 3;
constexpr int kHistoryItem = 9;
constexpr int kBookmarkMenu = 4;
constexpr int kBookmarkFixedItems = 10;

}  // namespace

BEGIN_MESSAGE_MAP(CDictMenus, CCmdTarget)
ON_COMMAND_RANGE(ID_DICT_HISTORY_FIRST, ID_DICT_HISTORY_LAST, OnHistoryItem)
ON_COMMAND_RANGE(ID_DICT_BOOKMARK_FIRST, ID_DICT_BOOKMARK_LAST, OnBookmarkItem)
END_MESSAGE_MAP()

void CDictMenus::Load() {
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_DICTIONARY);
}

void CDictMenus::RefillBookmarks() {
  if (CMenu* bookmarks = m_menu.m_hMenu ? m_menu.GetSubMenu(kBookmarkMenu) : nullptr)
    Reader().FillBookmarkMenu(*bookmarks, kBookmarkFixedItems, ID_DICT_BOOKMARK_FIRST, ID_DICT_BOOKMARK_LIST);
}

void CDictMenus::RebuildHistory() {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || shell->Queries().GetHistoryCount() == 0 || m_menu.m_hMenu == nullptr) return;
  CMenu* search = m_menu.GetSubMenu(kSearchMenu);
  if (search == nullptr) return;
  search->EnableMenuItem(kHistoryItem, MF_BYPOSITION | MF_ENABLED);
  HMENU history = ::GetSubMenu(search->m_hMenu, kHistoryItem);
  if (history == nullptr) return;
  while (::GetMenuItemCount(history) > 0) ::DeleteMenu(history, 0, MF_BYPOSITION);
  const int count = shell->Queries().GetHistoryCount();
  for (int k = 0; k < count; ++k)
    ::AppendMenuA(history, MF_STRING, ID_DICT_HISTORY_FIRST + k, shell->Queries().GetHistoryEntry(count - 1 - k).label);
}

void CDictMenus::OnHistoryItem(UINT id) {
  if (ReaderShell* shell = GetReaderShell()) shell->RecallQuery(static_cast<int>(id - ID_DICT_HISTORY_FIRST) + 1);
}

void CDictMenus::OnBookmarkItem(UINT id) {
  ReaderContext& app = Reader();
  const int f = static_cast<int>(id - ID_DICT_BOOKMARK_FIRST) / 10;
  const int i = static_cast<int>(id - ID_DICT_BOOKMARK_FIRST) % 10;
  if (f >= app.m_folders.GetSize()) return;
  const CFolder& folder = *static_cast<const CFolder*>(app.m_folders[f]);
  const int article = folder.m_articles.GetAt(i + 1);
  if (article <= 0) return;
  // A dictionary article is shown here; the others on their own screens.
  if (panels::KindOfArticle(article) != panels::ItemKind::DictionaryEntry) {
    panels::ShowOnItsScreen(article);
    return;
  }
  m_view.OnDictionaryMode();
  m_view.ShowEntry(static_cast<DWORD>(article));
}
