#include "search/entry_opener.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "display/display.h"
#include "search/search_filter.h"
#include "search/search_screen.h"

BOOL OpenSearchEntry(int article, HitStep step, UINT position) {
  if (article <= 0) return FALSE;
  ReaderContext& app = Reader();
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  const Screen screen = search::ChooseEntryScreen(article, app.m_multBits, app.m_tmlBits, app.m_vornBits);
  if (!shell->ShowScreen(screen)) return FALSE;
  CView* view = shell->GetScreen(screen);
  auto* target = dynamic_cast<SearchScreen*>(view);
  if (target == nullptr) return FALSE;
  if (screen == Screen::Media) {
    target->ShowSearchEntry(search::MediaItemIndex(article, app.m_multBits));
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
