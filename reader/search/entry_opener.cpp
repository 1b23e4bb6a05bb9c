#include "search/entry_opener.h"

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "display/display.h"
#include "search/search_filter.h"
#include "search/search_screen.h"

namespace {

Screen ScreenOf(search::EntryScreen kind) {
  switch (kind) {
    case search::EntryScreen::Media: return Screen::Media;
    case search::EntryScreen::Timeline: return Screen::Timeline;
    case search::EntryScreen::Dictionary: return Screen::Dictionary;
    case search::EntryScreen::Encyclopedia: break;
  }
  return Screen::Browser;
}

}  // namespace

BOOL OpenSearchEntry(int article, HitStep step, UINT position) {
  if (article <= 0) return FALSE;
  ReaderContext& app = Reader();
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  const search::EntryScreen kind = search::ChooseEntryScreen(article, app.m_multBits, app.m_tmlBits, app.m_vornBits);
  const Screen screen = ScreenOf(kind);
  if (!shell->ShowScreen(screen)) return FALSE;
  CView* view = shell->GetScreen(screen);
  auto* target = dynamic_cast<SearchScreen*>(view);
  if (target == nullptr) return FALSE;
  if (kind == search::EntryScreen::Media) {
    target->ShowSearchEntry(search::MediaItemIndex(article, app.m_multBits));
    return TRUE;
  }
  target->ShowSearchEntry(article);
  if (kind == search::EntryScreen::Timeline || step == HitStep::None) return TRUE;
  CDisplay* display = DisplayOf(view);
  if (display == nullptr) return TRUE;
  if (step == HitStep::FirstHit)
    display->GoToHit(+1, TRUE);
  else if (position != 0)
    display->ScrollToPosition(position);
  return TRUE;
}
