// CDisplayDialog: what the display's dialogs (the note and search progress
// windows) share: controls black on white, the shared palette realised when
// they come to the front, and the hover message for the control under the
// pointer (the dialog itself gets none).
#pragma once

#include "controls/hover_tracker.h"
#include "framework.h"

class CDisplayDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  CHoverTracker m_hover;
};
