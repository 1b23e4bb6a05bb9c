// The media gallery's printing: what the print job asks of the gallery (the
// current item's page: a movie's current frame or the item's picture,
// fitted to the page; the notices under it).
#include "core/reader_context.h"
#include "media/gallery/picture_view.h"
#include "media/media_logic.h"
#include "packed_dib.h"

namespace {

const char* const PublisherNotice = "Copyright Brenmoor & Tesk. All rights reserved.";
const char* const PropertyNotice =
    "Each of the multimedia items are the sole property of the agents noted in the captions.";
const char* const CommercialNotice = "Any commercial use is strictly forbidden.";

}  // namespace

BOOL CViewPicture::CanPrintItem() const {
  const int article = GetShownArticle();
  return article <= 0 || !Reader().m_knvrBits.Test(article);
}

std::vector<CString> CViewPicture::PrintedNotices(panels::PrintKind kind) const {
  if (kind != panels::PrintItem) return {PublisherNotice};
  return {PublisherNotice, PropertyNotice, CommercialNotice};
}

// One page: a movie's current frame, else the item's picture; nothing when
// neither can be had.
int CViewPicture::PrintItemPage(CDC* dc, CPrintInfo* info, int) {
  const int item = GetCurrentItem();
  if (item == NoItem) return -1;
  HGLOBAL dib = nullptr, second = nullptr;
  if (IsMovieCurrent())
    dib = m_movie.GetSafeHwnd() ? m_movie.CopyCurrentFrame() : nullptr;
  else if (!Reader().GetDatabase(1).LoadPictureDib(static_cast<UINT>(item), &dib, &second))
    dib = nullptr;
  if (!dib) return -1;
  const auto* header = static_cast<const BYTE*>(::GlobalLock(dib));
  if (const auto layout = LayOutPackedDib(header, ::GlobalSize(dib))) {
    const int w = layout->width, h = static_cast<int>(layout->rows);
    const CRect image = media_logic::FitPrintedImage(info->m_rectDraw, w, h);
    CPalette* palette = &Reader().m_palette;
    CPalette* old = palette->m_hObject ? dc->SelectPalette(palette, FALSE) : nullptr;
    dc->RealizePalette();
    dc->SetStretchBltMode(COLORONCOLOR);
    ::StretchDIBits(dc->m_hDC, image.left, image.top, image.Width(), image.Height(), 0, 0, w, h,
                    header + layout->bitsOffset, reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
    if (old) dc->SelectPalette(old, FALSE);
  }
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
  return -1;
}
