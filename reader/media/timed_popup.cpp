#include "media/timed_popup.h"

#include "core/reader_context.h"

BEGIN_MESSAGE_MAP(CTimedBitmapDlg, CDialog)
ON_WM_ERASEBKGND()
ON_WM_TIMER()
END_MESSAGE_MAP()

CTimedBitmapDlg::CTimedBitmapDlg(CWnd* parent) : CDialog(TemplateId, parent) {}

BOOL CTimedBitmapDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ReaderContext& app = Reader();
  CPalette unused;
  if (app.LoadDIB(m_bitmapId, m_bitmap, unused, TRUE, FALSE)) {
    BITMAP info = {};
    m_bitmap.GetBitmap(&info);
    m_width = info.bmWidth;
    m_height = info.bmHeight;
  }
  // A missing picture still closes on time; the popup is then empty.
  SetWindowPos(nullptr, 0, 0, m_width, m_height, SWP_NOZORDER | SWP_NOREDRAW);
  CenterWindow(CWnd::GetDesktopWindow());
  SetTimer(TimerId, ShowMilliseconds, nullptr);
  return TRUE;
}

// Escape does not close the popup: only its time or Enter does.
void CTimedBitmapDlg::OnCancel() {}

BOOL CTimedBitmapDlg::OnEraseBkgnd(CDC* pDC) {
  if (!m_bitmap.m_hObject) return CDialog::OnEraseBkgnd(pDC);
  CPalette* palette = &Reader().m_palette;
  CDC memory;
  memory.CreateCompatibleDC(pDC);
  CPalette* oldPalette = palette->m_hObject ? pDC->SelectPalette(palette, FALSE) : nullptr;
  CPalette* oldMemoryPalette = palette->m_hObject ? memory.SelectPalette(palette, FALSE) : nullptr;
  pDC->RealizePalette();
  memory.RealizePalette();
  CBitmap* old = memory.SelectObject(&m_bitmap);
  pDC->BitBlt(0, 0, m_width, m_height, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  if (oldMemoryPalette) memory.SelectPalette(oldMemoryPalette, FALSE);
  if (oldPalette) pDC->SelectPalette(oldPalette, FALSE);
  return TRUE;
}

void CTimedBitmapDlg::OnTimer(UINT nIDEvent) {
  if (nIDEvent != TimerId) return;
  KillTimer(TimerId);
  EndDialog(0);
}
