#include "controls/skin_environment.h"

namespace {
CSkinEnvironment* g_environment = nullptr;
}

void SetSkinEnvironment(CSkinEnvironment* environment) { g_environment = environment; }

SkinBrushes BrushesOf(int skin) {
  switch (skin) {
    case kSkinDictionary: return {6, 7, 8};
    case kSkinMedia: return {9, 10, 11};
    case kSkinTimeline: return {12, 13, 14};
    default: return {0, 1, 2};
  }
}

CSkinEnvironment& Skin() {
  if (g_environment == nullptr) AfxThrowResourceException();
  return *g_environment;
}

CSkinPaletteScope::CSkinPaletteScope(CDC* dc, BOOL foreground, CPalette* palette) : m_dc(dc) {
  if (palette == nullptr) palette = Skin().GetPalette();
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) return;
  const BOOL background = !foreground && Skin().GetActiveSkin() == kSkinMedia;
  m_previous = ::SelectPalette(dc->GetSafeHdc(), static_cast<HPALETTE>(palette->GetSafeHandle()), background);
  ::RealizePalette(dc->GetSafeHdc());
}

CSkinPaletteScope::~CSkinPaletteScope() {
  if (m_previous != nullptr) ::SelectPalette(m_dc->GetSafeHdc(), m_previous, TRUE);
}

UINT RealizeWindowPalette(CWnd* window, CPalette* palette, BOOL restoreInBackground) {
  CClientDC dc(window);
  CPalette* old = dc.SelectPalette(palette, FALSE);
  const UINT changed = dc.RealizePalette();
  dc.SelectPalette(old, restoreInBackground);
  return changed;
}

void ResumeRedraw(CWnd* window) {
  window->SetRedraw(TRUE);
  window->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HBRUSH BlackOnWhite(CDC* dc) {
  dc->SetTextColor(RGB(0, 0, 0));
  dc->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

void BlitBitmap(CDC* dc, CBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY) {
  if (bitmap.GetSafeHandle() == nullptr) return;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(&bitmap);
  dc->BitBlt(x, y, width, height, &memory, sourceX, sourceY, SRCCOPY);
  memory.SelectObject(old);
}

CSize BitmapSize(const CBitmap& bitmap) {
  BITMAP info{};
  if (bitmap.GetSafeHandle() == nullptr || bitmap.GetBitmap(&info) == 0) return CSize(0, 0);
  return CSize(info.bmWidth, info.bmHeight);
}

LRESULT EraseWhite(CWnd* window, WPARAM wParam) {
  CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
  CRect client;
  window->GetClientRect(&client);
  dc->FillSolidRect(&client, RGB(255, 255, 255));
  return TRUE;
}
