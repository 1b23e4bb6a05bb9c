#include "app/loading_dlg.h"

#include "reader/reader_ids.h"

BEGIN_MESSAGE_MAP(CLoadingDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL CLoadingDlg::Create(CWnd* pParentWnd) { return CDialog::Create(IDD_LOADING, pParentWnd); }

BOOL CLoadingDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  CenterWindow();
  return TRUE;
}

HBRUSH CLoadingDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(RGB(192, 192, 192));
  return static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
}

BOOL CLoadingDlg::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  return TRUE;
}
