// Printing and print preview of the encyclopedia screen: the article, the
// whole bookmark list or one folder, under the screen's own page header and
// a footer with the source notices.
#include "browser/browser.h"
#include "core/reader_context.h"
#include "display/preview_view.h"
#include "reader/browser_ids.h"

namespace {

enum PrintMode { PrintArticle = 0, PrintBookmarkList = 1, PrintFolder = 2 };
constexpr int kRuleGap = 50;
constexpr int kBodyGap = 200;

}  // namespace

void CBrowser::OnPrintArticle() {
  m_printMode = PrintArticle;
  OnFilePrint();
}

void CBrowser::OnPreviewArticle() {
  m_printMode = PrintArticle;
  StartPreview();
}

void CBrowser::OnPrintBookmarks() {
  m_printMode = PrintBookmarkList;
  OnFilePrint();
}

void CBrowser::OnPreviewBookmarks() {
  m_printMode = PrintBookmarkList;
  StartPreview();
}

void CBrowser::PrintBookmarkFolder(int folder) {
  m_printMode = PrintFolder;
  Reader().m_printFolder = folder;
  OnFilePrint();
}

void CBrowser::PreviewBookmarkFolder(int folder) {
  m_printMode = PrintFolder;
  Reader().m_printFolder = folder;
  StartPreview();
}

void CBrowser::PrintBookmarkFolder(int folder, BOOL preview) {
  if (preview)
    PreviewBookmarkFolder(folder);
  else
    PrintBookmarkFolder(folder);
}

void CBrowser::StartPreview() {
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CQVEPreviewView), state)) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE, MB_ICONEXCLAMATION | MB_OK);
    delete state;
  }
}

BOOL CBrowser::OnPreparePrinting(CPrintInfo* pInfo) {
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_printMode == PrintArticle && m_display.HasSelection()) pInfo->m_pPD->m_pd.Flags &= ~PD_NOSELECTION;
  return DoPreparePrinting(pInfo);
}

void CBrowser::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  (void)pInfo;
  m_pageStarts.RemoveAll();
  m_pageStarts.Add(0);
  ReaderContext& app = Reader();
  app.GetPrinterMargins(pDC);
  app.RecreateArticleFonts(FALSE, pDC);
}

void CBrowser::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {
  (void)pDC;
  (void)pInfo;
  m_pageStarts.RemoveAll();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

void CBrowser::PrintHeaderFooter(CDC* dc, CRect& body, UINT page) {
  ReaderContext& app = Reader();
  CFont* old = dc->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  dc->GetTextMetrics(&metrics);
  const int height = metrics.tmHeight;
  const int line = metrics.tmHeight + metrics.tmExternalLeading;

  CString heading;
  if (m_printMode == PrintArticle) {
    heading = m_title;
  } else if (m_printMode == PrintBookmarkList) {
    heading = "Bookmark List";
  } else if (app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize()) {
    heading = static_cast<CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  }
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

  const std::array<std::string, 3> lines =
      browser::FooterLines(m_printMode == PrintArticle ? CurrentSource() : browser::ArticleSource::Other);
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

void CBrowser::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  ReaderContext& app = Reader();
  const CRect& margins = app.m_printMargins;
  CRect page = pInfo->m_rectDraw;
  page.DeflateRect(margins.left, margins.top, margins.right, margins.bottom);
  CRect body = page;
  PrintHeaderFooter(pDC, body, pInfo->m_nCurPage);

  const UINT index = pInfo->m_nCurPage - 1;
  if (index >= static_cast<UINT>(m_pageStarts.GetSize())) return;
  const int start = static_cast<int>(m_pageStarts[static_cast<int>(index)]);
  // The body printers lay out within the print rectangle they are given.
  const CRect saved = pInfo->m_rectDraw;
  pInfo->m_rectDraw = body;
  int next = -1;
  if (m_printMode == PrintArticle) {
    next = m_display.PrintRuns(pDC, pInfo, start);
  } else if (m_printMode == PrintBookmarkList) {
    next = app.PrintListPage(pDC, pInfo, start);
  } else {
    next = app.PrintListPage2(pDC, pInfo, start);
  }
  pInfo->m_rectDraw = saved;
  // A body printer that made no progress would print the same page for ever.
  if (index + 1 == static_cast<UINT>(m_pageStarts.GetSize()) && next != -1 && next != start)
    m_pageStarts.Add(static_cast<DWORD>(next));
}
