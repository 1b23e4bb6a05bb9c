#include "item_router.h"

#include "main_frame.h"
#include "panel_owner.h"
#include "veldrix_app.h"

namespace panels {

ItemKind KindOfArticle(int article) {
  CVeldrixApp& app = GetVeldrixApp();
  if (article <= 0) return ItemKind::Article;
  if (app.m_multBits.Test(article)) return ItemKind::MediaItem;
  if (app.m_tmlBits.Test(article)) return ItemKind::TimelineEvent;
  if (app.m_vornBits.Test(article)) return ItemKind::DictionaryEntry;
  return ItemKind::Article;
}

int MediaItemOf(int article) { return GetVeldrixApp().m_multBits.IndexOf(article); }

BOOL ShowOnScreen(ItemKind kind, int item) {
  CMainFrame* frame = GetVeldrixApp().GetMainFrame();
  if (frame == nullptr) return FALSE;
  Screen screen = Screen::Browser;
  switch (kind) {
    case ItemKind::MediaItem: screen = Screen::Media; break;
    case ItemKind::TimelineEvent: screen = Screen::Timeline; break;
    case ItemKind::DictionaryEntry: screen = Screen::Dictionary; break;
    case ItemKind::Article: break;
  }
  if (!frame->ShowScreen(screen)) return FALSE;
  auto* target = dynamic_cast<ItemScreen*>(frame->GetScreen(screen));
  if (target == nullptr) return FALSE;
  target->ShowItem(item);
  return TRUE;
}

BOOL ShowOnItsScreen(int article) {
  if (article <= 0) return FALSE;
  const ItemKind kind = KindOfArticle(article);
  return ShowOnScreen(kind, kind == ItemKind::MediaItem ? MediaItemOf(article) : article);
}

}  // namespace panels
