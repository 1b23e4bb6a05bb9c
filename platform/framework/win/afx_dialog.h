// Dialogs from resource templates, dialog data exchange, and the common
// file and print dialogs.
#pragma once

#include <windows.h>
// (the common-control and dialog headers need windows.h first)

#include <commdlg.h>

#include "afx_wnd.h"

// A dialog made from a template. Modal (DoModal) runs the framework's own
// loop, so PreTranslateMessage and the application's message filters still
// see every message; modeless (Create) lives until DestroyWindow.
class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  // Modeless creation from a template; FALSE when the template is missing or
  // the window was not made.
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
  // Runs the dialog modally; the result passed to EndDialog, or -1 when the
  // dialog could not be made.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
  void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
  void GotoDlgCtrl(CWnd* pWndCtrl) {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
  }
  void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  LPCTSTR m_lpszTemplateName = nullptr;
  CWnd* m_pParentWnd = nullptr;
  int m_nModalResult = -1;
  BOOL m_bInModalLoop = FALSE;
  BOOL m_bEndModal = FALSE;

  // The parent a modal dialog disables: the given one, else the main window.
  HWND PreModal();
  LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()
};

// The state of one UpdateData pass.
class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  int m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;

  // The control's window; ends the pass when there is none.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Ends a failed validation: puts the focus on the last control (selecting
  // an edit's text) and stops the pass; UpdateData then returns FALSE.
  [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// Validations follow the DDX_Text of the same control.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);

// The open and save dialog. Filters are written "Text Files (*.txt)|*.txt||".
class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
              DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
              CWnd* pParentWnd = nullptr);

  OPENFILENAMEA m_ofn;

  INT_PTR DoModal() override;
  CString GetPathName() const { return m_szFileName; }
  CString GetFileName() const;
  CString GetFileExt() const;

 protected:
  BOOL m_bOpenFileDialog;
  char m_szFileName[MAX_PATH] = {};
  char m_szFileTitle[64] = {};
  CString m_strFilter;
  CString m_strDefExt;
};

// The print dialog (or, with bPrintSetupOnly, the printer set-up dialog).
class CPrintDialog : public CDialog {
  DECLARE_DYNAMIC(CPrintDialog)
 public:
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);

  PRINTDLGA m_pd;

  INT_PTR DoModal() override;
  // Fills m_pd with the default printer without showing anything.
  BOOL GetDefaults();
  BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
  BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
  BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
  BOOL PrintToFile() const { return (m_pd.Flags & PD_PRINTTOFILE) != 0; }
  int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
  int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
  HDC GetPrinterDC() const { return m_pd.hDC; }
  HDC CreatePrinterDC();
  CString GetDeviceName() const;
};

// Test hooks: when set, the common dialogs call these instead of showing
// themselves. The file hook fills ofn->lpstrFile; both return IDOK or IDCANCEL.
using AfxFileDialogHook = INT_PTR (*)(OPENFILENAMEA* ofn, BOOL bOpenFileDialog);
using AfxPrintDialogHook = INT_PTR (*)(PRINTDLGA* pd);
void AfxSetFileDialogHook(AfxFileDialogHook hook);
void AfxSetPrintDialogHook(AfxPrintDialogHook hook);
