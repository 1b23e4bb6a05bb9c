#include "afx_app.h"

#include "afx_dialog.h"
#include "afx_docview.h"

namespace {

CWinApp* theApp = nullptr;
AfxMessageBoxHook messageBoxHook = nullptr;

}  // namespace

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return theApp; }

CWnd* AfxGetMainWnd() { return theApp == nullptr ? nullptr : theApp->m_pMainWnd; }

LPCTSTR AfxGetAppName() { return theApp == nullptr || theApp->m_pszAppName == nullptr ? "" : theApp->m_pszAppName; }

void AfxSetMessageBoxHook(AfxMessageBoxHook hook) { messageBoxHook = hook; }

AfxMessageBoxHook AfxGetMessageBoxHook() { return messageBoxHook; }

int AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  if (lpszCaption == nullptr) lpszCaption = AfxGetAppName();
  if (messageBoxHook != nullptr) return messageBoxHook(hWndOwner, lpszText, lpszCaption, nType);
  if (theApp != nullptr) theApp->DoWaitCursor(0);
  return ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
  CWnd* main = AfxGetMainWnd();
  HWND owner = main != nullptr && ::IsWindowEnabled(main->m_hWnd) ? main->m_hWnd : ::GetActiveWindow();
  return AfxShowMessageBox(owner, lpszText, nullptr, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  if (!text.LoadString(nIDPrompt)) text.Format("Message %u could not be loaded.", nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
  if (theApp != nullptr) return theApp->PreTranslateMessage(pMsg);
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
  }
  return FALSE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  AfxSetInstanceHandle(hInstance);
  app->m_hInstance = hInstance;
  app->m_lpCmdLine = lpCmdLine;
  app->m_nCmdShow = nCmdShow;
  if (!app->InitInstance()) {
    // The program ends, but the application still cleans up.
    if (app->m_pMainWnd != nullptr && ::IsWindow(app->m_pMainWnd->m_hWnd)) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}

// ---- CWinApp

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName) {
  theApp = this;
  m_hInstance = AfxGetInstanceHandle();
}

CWinApp::~CWinApp() {
  for (int i = 0; i < m_templates.GetSize(); ++i) delete static_cast<CDocTemplate*>(m_templates[i]);
  m_templates.RemoveAll();
  if (m_hDlgBkBrush != nullptr) ::DeleteObject(m_hDlgBkBrush);
  if (m_hDevMode != nullptr) ::GlobalFree(m_hDevMode);
  if (m_hDevNames != nullptr) ::GlobalFree(m_hDevNames);
  AfxDeleteTempMaps();
  if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
  MSG msg;
  LONG idleCount = 0;
  BOOL idle = TRUE;
  for (;;) {
    while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) idle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&msg)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinApp::PumpMessage() {
  MSG msg;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

BOOL CWinApp::IsIdleMessage(const MSG* pMsg) {
  // Painting and the caret's blink do not change what the commands show.
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinApp::OnIdle(LONG lCount) {
  if (lCount == 0) {
    if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->m_hWnd)) {
      m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
      m_pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    }
    return TRUE;
  }
  AfxDeleteTempMaps();
  return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == nullptr) return FALSE;  // thread messages have no window to ask
  HWND stop = m_pMainWnd == nullptr ? nullptr : m_pMainWnd->m_hWnd;
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == stop) return FALSE;
  }
  // A window outside the main window's family: the main window (its
  // accelerators) still gets a say.
  return m_pMainWnd != nullptr && m_pMainWnd->PreTranslateMessage(pMsg);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.Add(pTemplate); }

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return m_templates.IsEmpty() ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  const INT_PTR index = reinterpret_cast<INT_PTR>(pos) - 1;
  CDocTemplate* docTemplate = static_cast<CDocTemplate*>(m_templates[static_cast<int>(index)]);
  pos = index + 1 < m_templates.GetSize() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
  return docTemplate;
}

void CWinApp::OnFileNew() {
  if (m_templates.IsEmpty()) return;
  static_cast<CDocTemplate*>(m_templates[0])->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg) {
  if (m_hDevNames == nullptr) {
    CPrintDialog defaults(FALSE);
    if (!defaults.GetDefaults()) return FALSE;
    m_hDevMode = defaults.m_pd.hDevMode;
    m_hDevNames = defaults.m_pd.hDevNames;
    if (defaults.m_pd.hDC != nullptr) ::DeleteDC(defaults.m_pd.hDC);
  }
  pPrintDlg->hDevMode = m_hDevMode;
  pPrintDlg->hDevNames = m_hDevNames;
  return m_hDevNames != nullptr;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc) {
  CPrintDialog printer(FALSE);
  if (!GetPrinterDeviceDefaults(&printer.m_pd)) return FALSE;
  HDC hDC = printer.CreatePrinterDC();
  printer.m_pd.hDevMode = printer.m_pd.hDevNames = nullptr;  // still the application's
  return hDC != nullptr && dc.Attach(hDC);
}

int CWinApp::DoPrintDialog(CPrintDialog* pPD) {
  GetPrinterDeviceDefaults(&pPD->m_pd);
  const INT_PTR result = pPD->DoModal();
  // The dialog may have made new device blocks: they become the application's.
  if (pPD->m_pd.hDevMode != m_hDevMode && m_hDevMode != nullptr) ::GlobalFree(m_hDevMode);
  if (pPD->m_pd.hDevNames != m_hDevNames && m_hDevNames != nullptr) ::GlobalFree(m_hDevNames);
  m_hDevMode = pPD->m_pd.hDevMode;
  m_hDevNames = pPD->m_pd.hDevNames;
  return static_cast<int>(result);
}

void CWinApp::OnFilePrintSetup() {
  CPrintDialog setup(TRUE);
  DoPrintDialog(&setup);
}

void CWinApp::DoWaitCursor(int nCode) {
  if (nCode == 0) {
    if (m_nWaitCursorCount > 0) ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    return;
  }
  m_nWaitCursorCount += nCode > 0 ? 1 : -1;
  if (m_nWaitCursorCount < 0) m_nWaitCursorCount = 0;  // an End without its Begin
  if (nCode > 0 && m_nWaitCursorCount == 1) {
    m_hcurWaitCursorRestore = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  } else if (nCode > 0) {
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  } else if (m_nWaitCursorCount == 0) {
    ::SetCursor(m_hcurWaitCursorRestore != nullptr ? m_hcurWaitCursorRestore : ::LoadCursorA(nullptr, IDC_ARROW));
  }
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
  return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (m_pMainWnd != nullptr) m_pMainWnd->WinHelp(dwData, nCmd);
}

void CWinApp::SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText) {
  if (m_hDlgBkBrush != nullptr) ::DeleteObject(m_hDlgBkBrush);
  m_hDlgBkBrush = ::CreateSolidBrush(clrCtlBk);
  m_crDlgBkColor = clrCtlBk;
  m_crDlgTextColor = clrCtlText;
}
