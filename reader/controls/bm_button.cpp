#include "controls/bm_button.h"

IMPLEMENT_DYNAMIC(CBmButton, CButton)

BOOL CBmButton::SetBitmap(RECT* rect, CWnd* /*parent*/, UINT bitmapId, WORD style) {
  m_bitmap.DeleteObject();
  m_style = style;
  const BOOL loaded = Skin().LoadDIB(bitmapId, m_bitmap);
  int frames = ((style & kNormalFrame) ? 1 : 0) + ((style & kPushedFrame) ? 1 : 0);
  // A style without frame bits still shows its strip as one frame.
  if (frames == 0) frames = 1;
  const CSize size = BitmapSize(m_bitmap);
  m_frameWidth = size.cx / frames;
  m_frameHeight = size.cy;
  if (m_hWnd != nullptr && rect != nullptr) {
    SetWindowPos(nullptr, rect->left, rect->top, m_frameWidth, m_frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return loaded;
}

void CBmButton::SetCheck(BOOL state) {
  if (state == m_checked) return;
  m_checked = state;
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CBmButton::SetTileRect(RECT* rect) {
  m_bitmap.DeleteObject();
  m_frameWidth = rect->right - rect->left;
  m_frameHeight = rect->bottom - rect->top;
  SetWindowPos(nullptr, rect->left, rect->top, m_frameWidth, m_frameHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

int CBmButton::SetTileImage(CBitmap* source, RECT* cell, int number) {
  CClientDC screen(nullptr);
  CSkinPaletteScope screenPalette(&screen);
  m_frameWidth = cell->right - cell->left;
  m_frameHeight = cell->bottom - cell->top;
  m_bitmap.DeleteObject();
  m_bitmap.CreateCompatibleBitmap(&screen, m_frameWidth, m_frameHeight);

  CDC target;
  target.CreateCompatibleDC(&screen);
  CDC from;
  from.CreateCompatibleDC(&screen);
  CBitmap* oldTarget = target.SelectObject(&m_bitmap);
  CBitmap* oldFrom = from.SelectObject(source);
  {
    CSkinPaletteScope targetPalette(&target);
    CSkinPaletteScope fromPalette(&from);
    target.BitBlt(0, 0, m_frameWidth, m_frameHeight, &from, cell->left, cell->top, SRCCOPY);
  }
  const int w = m_frameWidth;
  const int h = m_frameHeight;
  target.PatBlt(0, 0, w, 1, BLACKNESS);
  target.PatBlt(0, h - 1, w, 1, BLACKNESS);
  target.PatBlt(0, 0, 1, h, BLACKNESS);
  target.PatBlt(w - 1, 0, 1, h, BLACKNESS);

  if (number > 0) {
    LOGFONT face{};
    Skin().GetFont(12)->GetLogFont(&face);
    face.lfWeight = FW_BOLD;
    face.lfHeight *= 2;
    CFont digits;
    digits.CreateFontIndirect(&face);
    CFont* oldFont = target.SelectObject(&digits);
    target.SetBkMode(TRANSPARENT);
    CString text;
    text.Format("%d", number);
    CRect shadow(1, 1, w + 1, h + 1);
    target.SetTextColor(RGB(255, 255, 255));
    target.DrawText(text, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    CRect centre(0, 0, w, h);
    target.SetTextColor(RGB(0, 0, 0));
    target.DrawText(text, &centre, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    target.SelectObject(oldFont);
  }
  from.SelectObject(oldFrom);
  target.SelectObject(oldTarget);
  if (m_hWnd != nullptr) RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  return 1;
}

void CBmButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  int x = 0;
  if (((item->itemState & ODS_SELECTED) || m_checked) && (m_style & kPushedFrame)) x = m_frameWidth;
  BlitBitmap(dc, m_bitmap, 0, 0, m_frameWidth, m_frameHeight, x, 0);
  if (item->itemState & ODS_FOCUS) {
    CRect rect = item->rcItem;
    rect.DeflateRect(1, 1);
    dc->FrameRect(&rect, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
  }
}
