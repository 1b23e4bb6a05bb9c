// The timeline's printing: what the print job asks of the timeline (the
// shown event's article, its title, the notices under every page) and the
// class library's print loop handed to the job.
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

BOOL CTimeLine::OnPreparePrinting(CPrintInfo* pInfo) { return m_printJob.Prepare(pInfo); }

void CTimeLine::OnBeginPrinting(CDC* pDC, CPrintInfo*) { m_printJob.Begin(pDC); }

void CTimeLine::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  m_printJob.PrepareDC(pInfo);
}

void CTimeLine::OnEndPrinting(CDC*, CPrintInfo*) { m_printJob.End(); }

void CTimeLine::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_printJob.PrintPage(pDC, pInfo); }
