#include "controls/screen_patch.h"

void CScreenPatch::Save(CDC& screen, const CRect& rect) {
  m_rect = rect;
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  m_bitmap.DeleteObject();
  m_bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height());
  CBitmap* old = memory.SelectObject(&m_bitmap);
  memory.BitBlt(0, 0, rect.Width(), rect.Height(), &screen, rect.left, rect.top, SRCCOPY);
  memory.SelectObject(old);
}

void CScreenPatch::Restore() {
  {
    CClientDC screen(nullptr);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap* old = memory.SelectObject(&m_bitmap);
    screen.BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
  }
  m_bitmap.DeleteObject();
}
