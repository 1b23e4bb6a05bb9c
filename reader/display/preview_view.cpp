#include "display/preview_view.h"

#include <algorithm>

#include "display/display_services.h"

IMPLEMENT_DYNCREATE(CQVEPreviewView, CPreviewView)

BEGIN_MESSAGE_MAP(CQVEPreviewView, CPreviewView)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CQVEPreviewView::OnEraseBkgnd(CDC* dc) {
  CBitmap* background = DisplayServices().GetBackground();
  BITMAP size{};
  if (background == nullptr || background->GetSafeHandle() == nullptr || background->GetBitmap(&size) == 0) {
    return CPreviewView::OnEraseBkgnd(dc);
  }
  CPalette* palette = DisplayServices().GetPalette();
  const BOOL withPalette = palette != nullptr && palette->GetSafeHandle() != nullptr;
  CDC memory;
  if (!memory.CreateCompatibleDC(dc)) return CPreviewView::OnEraseBkgnd(dc);
  CPalette* oldPalette = nullptr;
  CPalette* oldMemoryPalette = nullptr;
  if (withPalette) {
    oldPalette = dc->SelectPalette(palette, FALSE);
    dc->RealizePalette();
    oldMemoryPalette = memory.SelectPalette(palette, FALSE);
    memory.RealizePalette();
  }
  CBitmap* oldBitmap = memory.SelectObject(background);

  CRect client;
  GetClientRect(&client);
  CSize target(client.Width(), client.Height());
  const int saved = dc->SaveDC();
  if (IsZoomed()) {
    // Zoomed in, the picture covers the whole area the view scrolls over.
    OnPrepareDC(dc);
    dc->SetViewportOrg(0, dc->GetViewportOrg().y);
    const CSize total = GetTotalSize();
    target.cx = std::max(target.cx, total.cx);
    target.cy = std::max(target.cy, total.cy);
  }
  dc->SetStretchBltMode(COLORONCOLOR);
  dc->StretchBlt(0, 0, target.cx, target.cy, &memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  dc->RestoreDC(saved);

  memory.SelectObject(oldBitmap);
  if (withPalette) {
    memory.SelectPalette(oldMemoryPalette, TRUE);
    dc->SelectPalette(oldPalette, TRUE);
  }
  return TRUE;
}
