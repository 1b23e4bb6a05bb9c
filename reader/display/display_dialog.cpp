#include "display/display_dialog.h"

#include "controls/skin_environment.h"
#include "display/display_services.h"

BEGIN_MESSAGE_MAP(CDisplayDialog, CDialog)
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

HBRUSH CDisplayDialog::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

BOOL CDisplayDialog::OnQueryNewPalette() {
  CPalette* palette = DisplayServices().GetPalette();
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, TRUE);
  if (changed > 0) Invalidate();
  return TRUE;
}

// The palette is realised in the foreground only.
void CDisplayDialog::OnPaletteChanged(CWnd*) {}

BOOL CDisplayDialog::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  const HWND under = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
  m_hover.Track(under == m_hWnd ? nullptr : under);
  return CDialog::OnSetCursor(wnd, hitTest, message);
}
