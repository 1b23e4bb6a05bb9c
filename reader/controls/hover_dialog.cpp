#include "controls/hover_dialog.h"

#include "controls/skin_environment.h"

BEGIN_MESSAGE_MAP(CHoverDialog, CDialog)
ON_WM_CTLCOLOR()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

HBRUSH CHoverDialog::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

BOOL CHoverDialog::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  const HWND under = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
  m_hover.Track(under == m_hWnd ? nullptr : under);
  return CDialog::OnSetCursor(wnd, hitTest, message);
}
