// CDisplayDialog: what the display's dialogs (the note and search progress
// windows) share: controls black on white, the shared palette realised when
// they come to the front, and the hover message for the control under the
// pointer (the dialog itself gets none).
#pragma once

#include "controls/hover_dialog.h"

class CDisplayDialog : public CHoverDialog {
 public:
  using CHoverDialog::CHoverDialog;

 protected:
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  DECLARE_MESSAGE_MAP()
};
