// The application object, the message loop and the application-wide helpers.
#pragma once

#include <windows.h>
// (the common-control and dialog headers need windows.h first)

#include <commdlg.h>

#include "afx_wnd.h"

class CDocTemplate;
class CPrintDialog;

using POSITION = struct AfxPositionTag*;

// The one application object of a program. Its constructor registers it, so
// AfxGetApp finds it; the program's entry point (AfxWinMain) runs
// InitInstance, then Run (the message loop) when InitInstance succeeds, and
// ExitInstance in both cases.
class CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  LPCTSTR m_pszAppName = nullptr;  // the title of message boxes
  CString m_strHelpFilePath;       // the file WinHelp opens
  int m_nWaitCursorCount = 0;      // nesting of BeginWaitCursor

  virtual BOOL InitInstance();
  // The return value is the program's exit code.
  virtual int ExitInstance();
  virtual int Run();
  // Idle-time work: 0 updates the user interface (WM_IDLEUPDATECMDUI to the
  // main window and its descendants), 1 drops temporary wrappers. TRUE asks
  // for another call.
  virtual BOOL OnIdle(LONG lCount);
  // Offers a message to the windows from its target up to the main window,
  // then to the main window; TRUE when one of them took it.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Takes one message from the queue and handles it; FALSE at WM_QUIT.
  virtual BOOL PumpMessage();
  // TRUE for messages after which idle work should run again.
  virtual BOOL IsIdleMessage(const MSG* pMsg);

  // Documents.
  void AddDocTemplate(CDocTemplate* pTemplate);
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  // Opens a new document on the first template (no choice of type).
  void OnFileNew();

  // Printing: the printer chosen in the print dialogs of this run.
  virtual BOOL GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg);
  // A DC for the current printer; FALSE when there is none. Tests override it.
  virtual BOOL CreatePrinterDC(CDC& dc);
  virtual int DoPrintDialog(CPrintDialog* pPD);
  void OnFilePrintSetup();

  // The wait cursor: 1 begins, -1 ends, 0 puts it back after something
  // changed the cursor.
  virtual void DoWaitCursor(int nCode);

  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
  void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  // Dialogs painted in this colour (their background and static text).
  void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0));
  HBRUSH m_hDlgBkBrush = nullptr;
  COLORREF m_crDlgTextColor = 0;
  COLORREF m_crDlgBkColor = 0;
  // Kept for the programs' start-up code; this framework keeps no recent-file list.
  void LoadStdProfileSettings(UINT nMaxMRU = 4) { (void)nMaxMRU; }
  BOOL Enable3dControlsStatic() { return TRUE; }

  HGLOBAL m_hDevMode = nullptr;
  HGLOBAL m_hDevNames = nullptr;

 protected:
  void OnAppExit();
  DECLARE_MESSAGE_MAP()

 private:
  CPtrArray m_templates;
  HCURSOR m_hcurWaitCursorRestore = nullptr;
};

CWinApp* AfxGetApp();
// Offers a message to the application's PreTranslateMessage (or, without an
// application object, to the windows from its target upwards).
BOOL AfxPreTranslateMessage(MSG* pMsg);
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();

// The program's start: runs the application object. WinMain calls it (the
// veldrix_framework_main library holds a WinMain that does).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Message boxes with the application's name as caption. Every box of the
// framework and the programs goes through here, so a test can answer them
// through the hook instead of a modal box.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
int AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
// The hook gets what the box would show and returns the button "pressed"
// (IDOK, IDYES, ...). Null restores real boxes.
using AfxMessageBoxHook = int (*)(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
void AfxSetMessageBoxHook(AfxMessageBoxHook hook);
AfxMessageBoxHook AfxGetMessageBoxHook();

// Begins the wait cursor for its lifetime.
class CWaitCursor {
 public:
  CWaitCursor() { AfxGetApp()->DoWaitCursor(1); }
  ~CWaitCursor() { AfxGetApp()->DoWaitCursor(-1); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() { AfxGetApp()->DoWaitCursor(0); }
};
