#include "updater_app.h"

#include "updater_dlg.h"

namespace {

CUpdaterApp theApp;

}  // namespace

CUpdaterApp::CUpdaterApp() : CWinApp("REFRESH32") {}

BOOL CUpdaterApp::InitInstance() {
  Enable3dControlsStatic();
  {
    CUpdaterDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
  }
  return FALSE;  // the program ends with the dialog
}
