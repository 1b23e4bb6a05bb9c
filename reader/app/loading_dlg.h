// CLoadingDlg: the modeless "please wait" dialog that stands on the screen
// while the program starts. The reader cannot close it; the main frame
// destroys it once it is made.
#pragma once

#include "framework.h"

class CLoadingDlg : public CDialog {
 public:
  using CDialog::Create;
  // Modeless creation from its template.
  virtual BOOL Create(CWnd* pParentWnd = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 protected:
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};
