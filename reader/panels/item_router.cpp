#include "panels/item_router.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"

namespace panels {

ItemKind KindOfArticle(int article) {
  ReaderContext& app = Reader();
  if (article <= 0) return ItemKind::Article;
  if (app.m_multBits.Test(article)) return ItemKind::MediaItem;
  if (app.m_tmlBits.Test(article)) return ItemKind::TimelineEvent;
  if (app.m_vornBits.Test(article)) return ItemKind::DictionaryEntry;
  return ItemKind::Article;
}

int MediaItemOf(int article) { return Reader().m_multBits.IndexOf(article); }

BOOL ShowOnScreen(ItemKind kind, int item) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  Screen screen = Screen::Browser;
  switch (kind) {
    case ItemKind::MediaItem: screen = Screen::Media; break;
    case ItemKind::TimelineEvent: screen = Screen::Timeline; break;
    case ItemKind::DictionaryEntry: screen = Screen::Dictionary; break;
    case ItemKind::Article: break;
  }
  return shell->ShowItem(screen, item);
}

BOOL ShowOnItsScreen(int article) {
  if (article <= 0) return FALSE;
  const ItemKind kind = KindOfArticle(article);
  return ShowOnScreen(kind, kind == ItemKind::MediaItem ? MediaItemOf(article) : article);
}

}  // namespace panels
