// The encyclopedia screen's printing: the class library's print loop handed
// to the print job, and the notices under its pages (the article's source's,
// the product's alone under the bookmark lists).
#include "browser/browser.h"

std::vector<CString> CBrowser::PrintedNotices(panels::PrintKind kind) const {
  const auto lines = browser::FooterLines(kind == panels::PrintItem ? CurrentSource() : browser::ArticleSource::Other);
  return {lines[0].c_str(), lines[1].c_str(), lines[2].c_str()};
}

BOOL CBrowser::OnPreparePrinting(CPrintInfo* pInfo) { return m_printJob.Prepare(pInfo); }

void CBrowser::OnBeginPrinting(CDC* pDC, CPrintInfo*) { m_printJob.Begin(pDC); }

void CBrowser::OnEndPrinting(CDC*, CPrintInfo*) { m_printJob.End(); }

void CBrowser::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  m_printJob.PrepareDC(pInfo);
}

void CBrowser::OnPrint(CDC* pDC, CPrintInfo* pInfo) { m_printJob.PrintPage(pDC, pInfo); }
