#include "search_progress_dlg.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"
#include "veldrix_app.h"

BEGIN_MESSAGE_MAP(CSearchProgressDlg, CDialog)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CSearchProgressDlg::Create(UINT nIDTemplate, CWnd* pParentWnd, LPCTSTR what) {
  m_what = what;
  m_percent = 0;
  m_hover = nullptr;
  if (!CDialog::Create(nIDTemplate, pParentWnd)) return FALSE;
  CRect frame(0, 0, 300, 140);
  ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
  CRect client;
  GetClientRect(&client);
  if (HWND button = ::GetDlgItem(m_hWnd, IDCANCEL)) {
    m_cancel.SubclassWindow(button);
    CRect size;
    m_cancel.GetWindowRect(&size);
    const int top = client.bottom - 10 - size.Height();
    m_cancel.SetWindowPos(nullptr, (client.Width() - size.Width()) / 2, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_bar = CRect(12, top - 32, client.Width() - 12, top - 12);  // from 32 to 12 pixels above the button
  }
  return TRUE;
}

void CSearchProgressDlg::SetProgress(int percent) {
  // While the search runs the reader can only press Cancel.
  if (m_cancel.m_hWnd && ::GetCapture() != m_cancel.m_hWnd) m_cancel.SetCapture();
  if (percent == m_percent) return;
  m_percent = percent;
  InvalidateRect(&m_bar, FALSE);
  UpdateWindow();
}

void CSearchProgressDlg::OnCancel() {
  ::ReleaseCapture();
  DestroyWindow();
}

void CSearchProgressDlg::OnPaint() {
  CPaintDC dc(this);
  CVeldrixApp& app = GetVeldrixApp();
  CRect client;
  GetClientRect(&client);
  CPalette* oldPalette = app.m_palette.m_hObject ? dc.SelectPalette(&app.m_palette, FALSE) : nullptr;
  dc.RealizePalette();
  dc.FillRect(&client, app.GetBrush(11));
  CFont* oldFont = app.GetFont(FontList)->m_hObject ? dc.SelectObject(app.GetFont(FontList)) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  const CString text =
      "Searching the " + m_what + ".\r\nPress the Cancel button to stop the search.\r\n \r\nSearch Progress :";
  CRect band(0, 15, client.Width(), 84);
  dc.DrawText(text, &band, DT_CENTER | DT_NOPREFIX);
  CBrush black(RGB(0, 0, 0));
  dc.FrameRect(&m_bar, &black);
  CRect inner = m_bar;
  inner.DeflateRect(1, 1);
  const int done = inner.Width() * (m_percent < 0 ? 0 : m_percent > 100 ? 100 : m_percent) / 100;
  CRect filled(inner.left, inner.top, inner.left + done, inner.bottom);
  dc.FillRect(&filled, app.GetBrush(3));
  if (m_percent < 100) dc.FillSolidRect(CRect(filled.right, inner.top, inner.right, inner.bottom), RGB(255, 255, 255));
  if (oldFont) dc.SelectObject(oldFont);
  if (oldPalette) dc.SelectPalette(oldPalette, FALSE);
}

HBRUSH CSearchProgressDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

BOOL CSearchProgressDlg::OnQueryNewPalette() {
  CVeldrixApp& app = GetVeldrixApp();
  if (!app.m_palette.m_hObject) return FALSE;
  CClientDC dc(this);
  CPalette* old = dc.SelectPalette(&app.m_palette, FALSE);
  const UINT changed = dc.RealizePalette();
  dc.SelectPalette(old, FALSE);
  if (changed) Invalidate();
  return changed != 0;
}

void CSearchProgressDlg::OnPaletteChanged(CWnd*) {}

BOOL CSearchProgressDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  HWND under = pWnd ? pWnd->m_hWnd : nullptr;
  if (under != m_hover) {
    if (m_hover && ::IsWindow(m_hover)) ::SendMessageA(m_hover, WM_BUTTON_HOVER, 0, 0);
    if (under) ::SendMessageA(under, WM_BUTTON_HOVER, 1, 0);
    m_hover = under;
  }
  return CDialog::OnSetCursor(pWnd, nHitTest, message);
}
