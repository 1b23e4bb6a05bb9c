#include "panels/item_router.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"

namespace panels {

ItemKind KindOfArticle(int article) {
  const ReaderContext& app = Reader();
  return KindOfArticle(article, app.m_multBits, app.m_tmlBits, app.m_vornBits);
}

int MediaItemOf(int article) { return Reader().m_multBits.IndexOf(article); }

BOOL ShowOnScreen(ItemKind kind, int item) {
  ReaderShell* shell = GetReaderShell();
  return shell != nullptr && shell->ShowItem(ScreenOfKind(kind), item);
}

BOOL ShowOnItsScreen(int article) {
  if (article <= 0) return FALSE;
  const ItemKind kind = KindOfArticle(article);
  return ShowOnScreen(kind, kind == ItemKind::MediaItem ? MediaItemOf(article) : article);
}

}  // namespace panels
