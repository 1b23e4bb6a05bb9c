// The encyclopedia screen's print jobs (started by its article commands):
// the article, the whole bookmark list or one folder, under the screen's own
// page header and a footer with the source notices.
#include "browser/browser.h"
#include "core/reader_context.h"
#include "reader/browser_ids.h"

namespace {

constexpr int kRuleGap = 50;
constexpr int kBodyGap = 200;

// The page's heading and number over a rule, the notices' three lines under
// one; the body is what is left between them.
void PrintHeaderFooter(CDC* dc, CRect& body, UINT page, const CString& heading, browser::ArticleSource source) {
  ReaderContext& app = Reader();
  CFont* old = dc->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  dc->GetTextMetrics(&metrics);
  const int height = metrics.tmHeight;
  const int line = metrics.tmHeight + metrics.tmExternalLeading;

  CString number;
  number.Format("Page %u", page);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  dc->TextOut(body.left, body.top, heading);
  dc->SetTextAlign(TA_RIGHT | TA_TOP);
  dc->TextOut(body.right, body.top, number);
  dc->SetTextAlign(TA_LEFT | TA_TOP);
  const int headRule = body.top + height + kRuleGap;
  dc->MoveTo(body.left, headRule);
  dc->LineTo(body.right, headRule);

  const std::array<std::string, 3> lines = browser::FooterLines(source);
  const int third = body.bottom - height;
  const int tops[3] = {third - 2 * line, third - line, third};
  for (int i = 0; i < 3; ++i) dc->TextOut(body.left, tops[i], lines[i].c_str());
  const int footRule = tops[0] - metrics.tmExternalLeading - kRuleGap;
  dc->MoveTo(body.left, footRule);
  dc->LineTo(body.right, footRule);
  dc->SelectObject(old);

  body.top = headRule + kBodyGap;
  body.bottom = footRule - kBodyGap;
}

}  // namespace

BOOL CBrowser::OnPreparePrinting(CPrintInfo* pInfo) {
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (GetPrintMode() == panels::PrintArticleText && m_display.HasSelection())
    pInfo->m_pPD->m_pd.Flags &= ~PD_NOSELECTION;
  return DoPreparePrinting(pInfo);
}

void CBrowser::OnBeginPrinting(CDC* pDC, CPrintInfo*) { m_articleCommands.BeginJob(pDC); }

void CBrowser::OnEndPrinting(CDC*, CPrintInfo*) { m_articleCommands.EndJob(); }

void CBrowser::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  if (pInfo) pInfo->m_bContinuePrinting = m_articleCommands.HasPage(pInfo->m_nCurPage);
}

void CBrowser::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  ReaderContext& app = Reader();
  const CRect& margins = app.m_printMargins;
  CRect page = pInfo->m_rectDraw;
  page.DeflateRect(margins.left, margins.top, margins.right, margins.bottom);
  CRect body = page;
  const BOOL article = GetPrintMode() == panels::PrintArticleText;
  CString heading;
  if (article) {
    heading = m_title;
  } else if (GetPrintMode() == panels::PrintBookmarkList) {
    heading = "Bookmark List";
  } else if (app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize()) {
    heading = static_cast<CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  }
  PrintHeaderFooter(pDC, body, pInfo->m_nCurPage, heading, article ? CurrentSource() : browser::ArticleSource::Other);

  m_articleCommands.PrintBody(pDC, pInfo, body);
}
