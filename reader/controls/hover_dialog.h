// CHoverDialog: a dialog whose controls are drawn black on white and told by
// the hover message when the pointer is over them (the dialog itself gets
// none). The reader's skinned dialogs derive from it.
#pragma once

#include "controls/hover_tracker.h"
#include "framework.h"

class CHoverDialog : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  CHoverTracker m_hover;
};
