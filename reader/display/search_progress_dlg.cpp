#include "display/search_progress_dlg.h"

#include "controls/skin_environment.h"
#include "display/display_services.h"

BEGIN_MESSAGE_MAP(CSearchProgressDlg, CDisplayDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CSearchProgressDlg::Create(UINT templateId, CWnd* parent, LPCTSTR what) {
  m_what = what;
  m_percent = 0;
  m_hover.Reset();
  if (!CDialog::Create(templateId, parent)) return FALSE;
  CRect frame(0, 0, kClientWidth, kClientHeight);
  ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
  CRect client;
  GetClientRect(&client);
  m_cancel.Create(CRect(0, 0, 0, 0), this, kCancelBitmap, CODButton::kUsualStyle, IDCANCEL);
  CRect button;
  m_cancel.GetWindowRect(&button);
  const int left = (client.Width() - button.Width()) / 2;
  const int top = client.bottom - 10 - button.Height();
  m_cancel.SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_bar = CRect(12, top - 32, client.Width() - 12, top - 12);
  return TRUE;
}

void CSearchProgressDlg::SetProgress(int percent) {
  if (m_hWnd == nullptr) return;
  // The reader can only press Cancel while the search runs.
  if (m_cancel.GetSafeHwnd() != nullptr && ::GetCapture() != m_cancel.GetSafeHwnd()) m_cancel.SetCapture();
  if (percent == m_percent) return;
  m_percent = percent;
  InvalidateRect(&m_bar, FALSE);
  UpdateWindow();
}

void CSearchProgressDlg::OnCancel() {
  if (::GetCapture() != nullptr && (::GetCapture() == m_cancel.GetSafeHwnd() || ::GetCapture() == m_hWnd)) {
    ::ReleaseCapture();
  }
  DestroyWindow();
}

void CSearchProgressDlg::PostNcDestroy() { m_hover.Reset(); }

void CSearchProgressDlg::OnPaint() {
  CPaintDC dc(this);
  CDisplayServices& services = DisplayServices();
  CSkinPaletteScope palette(&dc, TRUE, services.GetPalette());
  CRect client;
  GetClientRect(&client);
  dc.FillRect(&client, services.GetDialogBrush());
  CFont* oldFont = dc.SelectObject(services.GetTextFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CString text = "Searching the ";
  text += m_what;
  text += ".\r\nPress the Cancel button to stop the search.\r\n \r\nSearch Progress :";
  // Centred in the band from y 15 to y 84.
  CRect measure(0, 0, client.Width(), 0);
  dc.DrawText(text, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
  const int top = 15 + (84 - 15 - measure.Height()) / 2;
  CRect band(0, top, client.Width(), top + measure.Height());
  dc.DrawText(text, &band, DT_CENTER | DT_NOPREFIX);
  dc.SelectObject(oldFont);

  CBrush black(RGB(0, 0, 0));
  dc.FrameRect(&m_bar, &black);
  CRect inner = m_bar;
  inner.DeflateRect(1, 1);
  const int percent = m_percent < 0 ? 0 : m_percent > 100 ? 100 : m_percent;
  const int done = inner.Width() * percent / 100;
  CRect filled(inner.left, inner.top, inner.left + done, inner.bottom);
  dc.FillRect(&filled, services.GetProgressBrush());
  if (percent < 100)
    dc.FillSolidRect(inner.left + done, inner.top, inner.Width() - done, inner.Height(), RGB(255, 255, 255));
}
