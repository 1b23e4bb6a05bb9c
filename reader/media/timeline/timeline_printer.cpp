// The timeline's printing: what the print job asks of the timeline (the
// shown event's article, its title, the notices under every page).
#include "core/reader_context.h"
#include "core/title_key.h"
#include "media/timeline/event_text.h"
#include "media/timeline/timeline_view.h"

CString CTimeLine::PrintedItemTitle() const {
  char text[TitleBufferSize] = "";
  Reader().LookupTitle(m_article, text);
  return text;
}

std::vector<CString> CTimeLine::PrintedNotices(panels::PrintKind) const {
  return {CTimelineEventText::kProductNotice, CTimelineEventText::kTimelineNotice};
}
