#include "media/timeline/timeline_printer.h"

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "core/title_key.h"
#include "media/print_job.h"
#include "media/timeline/event_text.h"
#include "media/timeline/timeline_view.h"
#include "reader/timeline_quiz_ids.h"

BEGIN_MESSAGE_MAP(CTimelinePrinter, CCmdTarget)
ON_COMMAND(ID_TL_PRINT, OnPrintEvent)
ON_BN_CLICKED(IDC_TL_PRINT, OnPrintEvent)
ON_UPDATE_COMMAND_UI(ID_TL_PRINT, OnUpdateEventPrint)
ON_COMMAND(ID_TL_PREVIEW, OnPreviewEvent)
ON_UPDATE_COMMAND_UI(ID_TL_PREVIEW, OnUpdateEventPrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewCurrent)
ON_COMMAND(ID_TL_PRINT_BOOKMARKS, OnPrintBookmarks)
ON_UPDATE_COMMAND_UI(ID_TL_PRINT_BOOKMARKS, OnUpdateBookmarkPrint)
ON_COMMAND(ID_TL_PREVIEW_BOOKMARKS, OnPreviewBookmarks)
ON_UPDATE_COMMAND_UI(ID_TL_PREVIEW_BOOKMARKS, OnUpdateBookmarkPrint)
END_MESSAGE_MAP()

void CTimelinePrinter::Run(int kind, BOOL preview) {
  m_kind = kind;
  media::PrintOrPreview(m_view, preview);
}

void CTimelinePrinter::OnPrintEvent() {
  if (m_view.GetCurrentArticle() > 0) Run(PrintArticle, FALSE);
}
void CTimelinePrinter::OnPreviewEvent() {
  if (m_view.GetCurrentArticle() > 0) Run(PrintArticle, TRUE);
}
void CTimelinePrinter::OnPreviewCurrent() { Run(m_kind, TRUE); }
void CTimelinePrinter::OnPrintBookmarks() { Run(PrintBookmarkList, FALSE); }
void CTimelinePrinter::OnPreviewBookmarks() { Run(PrintBookmarkList, TRUE); }

void CTimelinePrinter::OnUpdateEventPrint(CCmdUI* pCmdUI) { pCmdUI->Enable(m_view.GetCurrentArticle() > 0); }

void CTimelinePrinter::OnUpdateBookmarkPrint(CCmdUI* pCmdUI) { pCmdUI->Enable(Reader().m_folders.GetSize() > 0); }

void CTimelinePrinter::RunFolder(int folder, BOOL preview) {
  Reader().m_printFolder = folder;
  Run(PrintFolder, preview);
}

BOOL CTimelinePrinter::Prepare(CPrintInfo* pInfo) {
  pInfo->SetMaxPage(0xFFFF);
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_kind == PrintArticle && m_view.GetDisplay().HasSelection())
    pInfo->m_pPD->m_pd.Flags &= ~static_cast<DWORD>(PD_NOSELECTION);
  else
    pInfo->m_pPD->m_pd.Flags |= PD_NOSELECTION;
  return m_view.DoPreparePrinting(pInfo);
}

void CTimelinePrinter::Begin(CDC* pDC) {
  m_pageStarts.assign(1, 0);
  ReaderContext& app = Reader();
  app.GetPrinterMargins(pDC);
  app.RecreateArticleFonts(FALSE, pDC);
}

void CTimelinePrinter::PrepareDC(CPrintInfo* pInfo) {
  if (pInfo == nullptr) return;
  const std::size_t page = pInfo->m_nCurPage;
  pInfo->m_bContinuePrinting = page >= 1 && page <= m_pageStarts.size() && m_pageStarts[page - 1] >= 0;
}

void CTimelinePrinter::End() {
  m_pageStarts.clear();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

int CTimelinePrinter::Notice(CDC* dc, CPrintInfo* info) {
  // The timeline notice, the product notice above it, and a rule.
  TEXTMETRIC metrics = {};
  dc->GetTextMetrics(&metrics);
  const CRect& r = info->m_rectDraw;
  int y = r.bottom - metrics.tmHeight;
  dc->TextOut(r.left, y, CTimelineEventText::kTimelineNotice);
  y -= metrics.tmHeight + metrics.tmExternalLeading;
  dc->TextOut(r.left, y, CTimelineEventText::kProductNotice);
  y -= metrics.tmExternalLeading + 50;
  dc->MoveTo(r.left, y);
  dc->LineTo(r.right, y);
  return y;
}

void CTimelinePrinter::PrintPage(CDC* pDC, CPrintInfo* pInfo) {
  ReaderContext& app = Reader();
  const UINT page = pInfo->m_nCurPage;
  if (page < 1 || page > m_pageStarts.size() || m_pageStarts[page - 1] < 0) {
    pInfo->m_bContinuePrinting = FALSE;
    return;
  }
  CRect& r = pInfo->m_rectDraw;
  r.DeflateRect(app.m_printMargins.left, app.m_printMargins.top, app.m_printMargins.right, app.m_printMargins.bottom);
  // The header and footer in the shared print font, which the job made for
  // the printer (a screen font of fixed pixels would be a speck on paper).
  CFont* old = pDC->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  pDC->GetTextMetrics(&metrics);
  // Header: the title, "Page n" at the right, a rule.
  CString title;
  if (m_kind == PrintArticle) {
    char text[TitleBufferSize] = "";
    app.LookupTitle(m_view.GetCurrentArticle(), text);
    title = text;
  } else if (m_kind == PrintBookmarkList) {
    title = "Bookmark List";
  } else if (app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize()) {
    title = static_cast<CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  }
  const int rule = media::DrawPageHeader(pDC, r, title, page, metrics.tmHeight, 50);
  const int footer = Notice(pDC, pInfo);
  pDC->SelectObject(old);
  CRect body(r.left, rule + 200, r.right, footer - 200);
  const CRect saved = r;
  r = body;
  const int start = m_pageStarts[page - 1];
  int next = -1;
  if (m_kind == PrintArticle)
    next = m_view.GetDisplay().PrintRuns(pDC, pInfo, start);
  else if (m_kind == PrintBookmarkList)
    next = app.PrintListPage(pDC, pInfo, start);
  else
    next = app.PrintListPage2(pDC, pInfo, start);
  r = saved;
  if (m_pageStarts.size() == page) m_pageStarts.push_back(next);
  if (next < 0) {
    if (m_pageStarts.size() > page) m_pageStarts[page] = -1;
    pInfo->SetMaxPage(page);
  }
}
