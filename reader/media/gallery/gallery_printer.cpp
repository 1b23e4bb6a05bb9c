#include "media/gallery/gallery_printer.h"

#include <algorithm>

#include "core/bookmarks.h"
#include "core/reader_context.h"
#include "media/gallery/picture_view.h"
#include "media/media_logic.h"
#include "media/print_job.h"
#include "packed_dib.h"
#include "reader/media_ids.h"

namespace {

constexpr int HeaderGap = 50;
constexpr int AreaGap = 200;

const char* const PublisherNotice = "Copyright Brenmoor & Tesk. All rights reserved.";
const char* const PropertyNotice =
    "Each of the multimedia items are the sole property of the agents noted in the captions.";
const char* const CommercialNotice = "Any commercial use is strictly forbidden.";

}  // namespace

BEGIN_MESSAGE_MAP(CGalleryPrinter, CCmdTarget)
ON_COMMAND(ID_MEDIA_PRINT, OnPrintItem)
ON_BN_CLICKED(IDC_MEDIA_PRINT, OnPrintItem)
ON_COMMAND(ID_MEDIA_PRINT_PREVIEW, OnPreviewItem)
ON_UPDATE_COMMAND_UI(ID_MEDIA_PRINT, OnUpdatePrint)
ON_UPDATE_COMMAND_UI(ID_MEDIA_PRINT_PREVIEW, OnUpdatePrint)
ON_COMMAND(ID_MEDIA_PRINT_BOOKMARKS, OnPrintBookmarks)
ON_COMMAND(ID_MEDIA_PREVIEW_BOOKMARKS, OnPreviewBookmarks)
ON_UPDATE_COMMAND_UI(ID_MEDIA_PRINT_BOOKMARKS, OnUpdateBookmarkPrint)
ON_UPDATE_COMMAND_UI(ID_MEDIA_PREVIEW_BOOKMARKS, OnUpdateBookmarkPrint)
END_MESSAGE_MAP()

BOOL CGalleryPrinter::IsPanoramaShown() const {
  const int article = m_view.GetShownArticle();
  return article > 0 && Reader().m_knvrBits.Test(article);
}

void CGalleryPrinter::OnUpdatePrint(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsPanoramaShown()); }

void CGalleryPrinter::OnUpdateBookmarkPrint(CCmdUI* pCmdUI) { pCmdUI->Enable(Reader().m_folders.GetSize() > 0); }

void CGalleryPrinter::Run(int mode, BOOL preview) {
  m_mode = mode;
  media::PrintOrPreview(m_view, preview);
}

void CGalleryPrinter::OnPrintItem() {
  if (!IsPanoramaShown()) Run(PrintItem, FALSE);
}
void CGalleryPrinter::OnPreviewItem() {
  if (!IsPanoramaShown()) Run(PrintItem, TRUE);
}
void CGalleryPrinter::OnPrintBookmarks() { Run(PrintBookmarks, FALSE); }
void CGalleryPrinter::OnPreviewBookmarks() { Run(PrintBookmarks, TRUE); }

void CGalleryPrinter::RunFolder(int folder, BOOL preview) {
  Reader().m_printFolder = folder;
  Run(PrintFolder, preview);
}

BOOL CGalleryPrinter::Prepare(CPrintInfo* pInfo) {
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_mode == PrintItem) pInfo->SetMaxPage(1);
  return m_view.DoPreparePrinting(pInfo);
}

void CGalleryPrinter::Begin(CDC* pDC) {
  m_pageStarts.RemoveAll();
  if (m_mode != PrintItem) m_pageStarts.Add(0);
  Reader().GetPrinterMargins(pDC);
  Reader().RecreateArticleFonts(FALSE, pDC);
}

void CGalleryPrinter::End() {
  m_pageStarts.RemoveAll();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

void CGalleryPrinter::PrepareDC(CPrintInfo* pInfo) {
  if (!pInfo || m_mode == PrintItem) return;
  pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= static_cast<UINT>(m_pageStarts.GetSize());
}

CRect CGalleryPrinter::PrintFrame(CDC* pDC, CPrintInfo* pInfo, const CRect& pageRect) {
  ReaderContext& app = Reader();
  CRect page = pageRect;
  page.left += app.m_printMargins.left;
  page.top += app.m_printMargins.top;
  page.right -= app.m_printMargins.right;
  page.bottom -= app.m_printMargins.bottom;
  // The header and footer in the shared print font, which the job made for
  // the printer: the screens' header fonts are fixed pixels, a speck on paper.
  CFont* old = pDC->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  pDC->GetTextMetrics(&metrics);
  CString title = m_mode == PrintItem        ? m_view.GetTitle()
                  : m_mode == PrintBookmarks ? CString("Bookmark List")
                                             : CString();
  if (m_mode == PrintFolder && app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize())
    title = static_cast<const CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  pDC->SetBkMode(TRANSPARENT);
  const int rule = media::DrawPageHeader(pDC, page, title, pInfo->m_nCurPage, metrics.tmHeight, HeaderGap);
  CRect area(page.left, rule + AreaGap, page.right, page.bottom);

  // The footer, from the bottom up.
  const int line = metrics.tmHeight + metrics.tmExternalLeading;
  int y = page.bottom - line;
  if (m_mode == PrintItem) {
    pDC->TextOut(page.left, y, CommercialNotice);
    y -= line;
    pDC->TextOut(page.left, y, PropertyNotice);
    y -= line;
  }
  pDC->TextOut(page.left, y, PublisherNotice);
  const int footRule = y - metrics.tmExternalLeading - HeaderGap;
  pDC->MoveTo(page.left, footRule);
  pDC->LineTo(page.right, footRule);
  area.bottom = std::max<int>(footRule - AreaGap, area.top);
  pDC->SelectObject(old);
  return area;
}

void CGalleryPrinter::PrintPage(CDC* pDC, CPrintInfo* pInfo) {
  const CRect area = PrintFrame(pDC, pInfo, pInfo->m_rectDraw);
  if (m_mode == PrintItem) {
    DrawImage(pDC, area);
    return;
  }
  const UINT page = pInfo->m_nCurPage;
  if (page == 0 || page > static_cast<UINT>(m_pageStarts.GetSize())) return;
  const CRect saved = pInfo->m_rectDraw;
  pInfo->m_rectDraw = area;
  const int start = static_cast<int>(m_pageStarts[page - 1]);
  ReaderContext& app = Reader();
  const int next =
      m_mode == PrintBookmarks ? app.PrintListPage(pDC, pInfo, start) : app.PrintListPage2(pDC, pInfo, start);
  pInfo->m_rectDraw = saved;
  if (page == static_cast<UINT>(m_pageStarts.GetSize()) && next != -1) m_pageStarts.Add(static_cast<DWORD>(next));
}

void CGalleryPrinter::DrawImage(CDC* pDC, const CRect& area) {
  // A movie's current frame, else the item's picture; nothing when neither
  // can be had.
  const int item = m_view.GetCurrentItem();
  if (item == CViewPicture::NoItem) return;
  CMovieWnd& movie = m_view.GetMovieWindow();
  HGLOBAL dib = nullptr, second = nullptr;
  if (m_view.IsMovieCurrent())
    dib = movie.GetSafeHwnd() ? movie.CopyCurrentFrame() : nullptr;
  else if (!Reader().GetDatabase(1).LoadPictureDib(static_cast<UINT>(item), &dib, &second))
    dib = nullptr;
  if (!dib) return;
  const auto* header = static_cast<const BYTE*>(::GlobalLock(dib));
  if (const auto layout = LayOutPackedDib(header, ::GlobalSize(dib))) {
    const int w = layout->width, h = static_cast<int>(layout->rows);
    const CRect image = media_logic::FitPrintedImage(area, w, h);
    CPalette* palette = &Reader().m_palette;
    CPalette* old = palette->m_hObject ? pDC->SelectPalette(palette, FALSE) : nullptr;
    pDC->RealizePalette();
    pDC->SetStretchBltMode(COLORONCOLOR);
    ::StretchDIBits(pDC->m_hDC, image.left, image.top, image.Width(), image.Height(), 0, 0, w, h,
                    header + layout->bitsOffset, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
    if (old) pDC->SelectPalette(old, FALSE);
  }
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
}
