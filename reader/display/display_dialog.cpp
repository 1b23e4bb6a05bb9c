#include "display/display_dialog.h"

#include "controls/skin_environment.h"
#include "display/display_services.h"

BEGIN_MESSAGE_MAP(CDisplayDialog, CHoverDialog)
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

BOOL CDisplayDialog::OnQueryNewPalette() {
  CPalette* palette = DisplayServices().GetPalette();
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, TRUE);
  if (changed > 0) Invalidate();
  return TRUE;
}

// The palette is realised in the foreground only.
void CDisplayDialog::OnPaletteChanged(CWnd*) {}
