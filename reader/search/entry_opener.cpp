#include "search/entry_opener.h"

#include "core/reader_shell.h"
#include "display/display.h"
#include "panels/item_router.h"
#include "search/search_screen.h"

BOOL OpenSearchEntry(int article, HitStep step, UINT position) {
  if (article <= 0) return FALSE;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  const panels::ItemKind kind = panels::KindOfArticle(article);
  const Screen screen = panels::ScreenOfKind(kind);
  if (!shell->ShowScreen(screen)) return FALSE;
  CView* view = shell->GetScreen(screen);
  auto* target = dynamic_cast<SearchScreen*>(view);
  if (target == nullptr) return FALSE;
  if (kind == panels::ItemKind::MediaItem) {
    target->ShowSearchEntry(panels::MediaItemOf(article));
    return TRUE;
  }
  target->ShowSearchEntry(article);
  if (screen == Screen::Timeline || step == HitStep::None) return TRUE;
  CDisplay* display = DisplayOf(view);
  if (display == nullptr) return TRUE;
  if (step == HitStep::FirstHit)
    display->GoToHit(+1, TRUE);
  else if (position != 0)
    display->ScrollToPosition(position);
  return TRUE;
}
