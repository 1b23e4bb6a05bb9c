#include "afx_dialog.h"

#include <cerrno>
#include <cstdlib>
#include <type_traits>

#include "afx_app.h"

namespace {

AfxFileDialogHook fileDialogHook = nullptr;
AfxPrintDialogHook printDialogHook = nullptr;

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct DataExchangeFailure {};

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM) {
  // The framework's window procedure sits in front and handles everything,
  // WM_INITDIALOG included; what reaches here is left to the dialog manager.
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

LPCDLGTEMPLATEA LoadTemplate(LPCTSTR name) {
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, resource);
  return loaded == nullptr ? nullptr : static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded));
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CFileDialog, CDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void AfxSetFileDialogHook(AfxFileDialogHook hook) { fileDialogHook = hook; }
void AfxSetPrintDialogHook(AfxPrintDialogHook hook) { printDialogHook = hook; }

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (pParentWnd == nullptr) pParentWnd = AfxGetMainWnd();
  m_pParentWnd = pParentWnd;
  LPCDLGTEMPLATEA dialogTemplate = LoadTemplate(lpszTemplateName);
  return dialogTemplate != nullptr && CreateIndirect(dialogTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd) {
  HWND parent = pParentWnd == nullptr ? nullptr : pParentWnd->m_hWnd;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(AfxGetResourceHandle(), lpDialogTemplate, parent, DialogProc, 0);
  const BOOL attached = AfxUnhookWindowCreate(this);
  return hWnd != nullptr && attached;
}

HWND CDialog::PreModal() {
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  if (parent == nullptr) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && ::IsWindow(main->m_hWnd)) parent = main->m_hWnd;
  }
  // A modal dialog disables its top-level owner, not a child.
  while (parent != nullptr && (::GetWindowLongA(parent, GWL_STYLE) & WS_CHILD)) parent = ::GetParent(parent);
  return parent;
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATEA dialogTemplate = LoadTemplate(m_lpszTemplateName);
  if (dialogTemplate == nullptr) return -1;
  HWND parent = PreModal();
  const bool disableParent = parent != nullptr && ::IsWindowEnabled(parent);
  if (disableParent) ::EnableWindow(parent, FALSE);

  m_nModalResult = -1;
  m_bEndModal = FALSE;
  m_bInModalLoop = TRUE;
  if (CreateIndirect(dialogTemplate, CWnd::FromHandle(parent))) {
    if (!m_bEndModal) ShowWindow(SW_SHOWNORMAL);
    MSG msg;
    while (!m_bEndModal) {
      if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));  // the loop outside ends too
        break;
      }
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
  }
  m_bInModalLoop = FALSE;
  if (disableParent) ::EnableWindow(parent, TRUE);
  if (parent != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(parent);
  DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_bInModalLoop) {
    m_nModalResult = nResult;
    m_bEndModal = TRUE;
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
  } else if (m_hWnd != nullptr) {
    ::EndDialog(m_hWnd, nResult);
  }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

HBRUSH CDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_hDlgBkBrush != nullptr) {
    switch (nCtlColor) {
      case CTLCOLOR_DLG:
      case CTLCOLOR_MSGBOX: return app->m_hDlgBkBrush;
      case CTLCOLOR_STATIC:
      case CTLCOLOR_BTN:
        pDC->SetBkColor(app->m_crDlgBkColor);
        pDC->SetTextColor(app->m_crDlgTextColor);
        return app->m_hDlgBkBrush;
      default: break;
    }
  }
  return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (m_hWnd == nullptr || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))) return FALSE;
  FilterToolTipMessage(pMsg);
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) return ::IsDialogMessageA(m_hWnd, pMsg);
  return FALSE;
}

// ---- data exchange

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange exchange(this, bSaveAndValidate);
  try {
    DoDataExchange(&exchange);
  } catch (DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (control == nullptr) {
    AfxMessageBox("A control of this dialog is missing.", MB_ICONEXCLAMATION | MB_OK);
    throw DataExchangeFailure();
  }
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND control = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_idLastControl != 0) {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
    if (control != nullptr) {
      ::SetFocus(control);
      if (m_bEditLastControl) ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
  }
  throw DataExchangeFailure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;
  HWND control = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(control)) pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    CWnd::FromHandle(control)->GetWindowText(value);
  } else {
    ::SetWindowTextA(control, value);
  }
}

namespace {

// Reads a whole number from the control; shows the message and fails when
// the text is not one (or does not fit).
long ReadNumber(CDataExchange* pDX, HWND control, bool isUnsigned) {
  CString text;
  CWnd::FromHandle(control)->GetWindowText(text);
  text.TrimLeft();
  text.TrimRight();
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (text.IsEmpty() || *end != '\0' || errno == ERANGE || (isUnsigned && value < 0)) {
    AfxMessageBox(isUnsigned ? "Enter a positive whole number." : "Enter a whole number.", MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
  }
  return value;
}

void WriteNumber(HWND control, long value, bool isUnsigned) {
  char text[32];
  wsprintfA(text, isUnsigned ? "%lu" : "%ld", value);
  ::SetWindowTextA(control, text);
}

// A whole number of the value's type through an edit control.
template <typename Number>
void ExchangeNumber(CDataExchange* pDX, int nIDC, Number& value) {
  constexpr bool isUnsigned = std::is_unsigned_v<Number>;
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<Number>(ReadNumber(pDX, control, isUnsigned));
  } else {
    WriteNumber(control, static_cast<long>(value), isUnsigned);
  }
}

// A value the control answers to one message and is given with another.
void ExchangeByMessages(CDataExchange* pDX, int nIDC, int& value, UINT get, UINT set) {
  HWND control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(control, get, 0, 0));
  } else {
    ::SendMessageA(control, set, value, 0);
  }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeNumber(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeNumber(pDX, nIDC, value); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeNumber(pDX, nIDC, value); }
void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  ExchangeByMessages(pDX, nIDC, value, BM_GETCHECK, BM_SETCHECK);
}
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  ExchangeByMessages(pDX, nIDC, index, LB_GETCURSEL, LB_SETCURSEL);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate) {
    if (value.GetLength() > nChars) {
      CString message;
      message.Format("Enter no more than %d characters.", nChars);
      AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
      pDX->Fail();
    }
  } else if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
    ::SendDlgItemMessageA(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl, EM_LIMITTEXT, nChars, 0);
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString message;
    message.Format("Enter a whole number between %d and %d.", minVal, maxVal);
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
  }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
    CString message;
    message.Format("Enter a whole number between %u and %u.", minVal, maxVal);
    AfxMessageBox(message, MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
  }
}

// ---- common dialogs

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(static_cast<LPCTSTR>(nullptr), pParentWnd),
      m_ofn{},
      m_bOpenFileDialog(bOpenFileDialog),
      m_strFilter(lpszFilter),
      m_strDefExt(lpszDefExt) {
  if (lpszFileName != nullptr) lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
  // "a|b||" becomes "a\0b\0\0" for the system dialog.
  for (int i = 0; i < m_strFilter.GetLength(); ++i) {
    if (m_strFilter[i] == '|') m_strFilter.SetAt(i, '\0');
  }
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.lpstrDefExt = lpszDefExt == nullptr ? nullptr : static_cast<LPCTSTR>(m_strDefExt);
  m_ofn.lpstrFilter = lpszFilter == nullptr ? nullptr : static_cast<LPCTSTR>(m_strFilter);
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.hInstance = AfxGetResourceHandle();
}

INT_PTR CFileDialog::DoModal() {
  if (fileDialogHook != nullptr) return fileDialogHook(&m_ofn, m_bOpenFileDialog);
  HWND owner = PreModal();
  m_ofn.hwndOwner = owner;
  const BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
  const CString path(m_szFileName);
  return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(static_cast<LPCTSTR>(nullptr), pParentWnd), m_pd{} {
  m_pd.lStructSize = sizeof m_pd;
  m_pd.Flags = dwFlags;
  if (bPrintSetupOnly) m_pd.Flags |= PD_PRINTSETUP;
  m_pd.nFromPage = m_pd.nToPage = 1;
  m_pd.nMinPage = m_pd.nMaxPage = 1;
  m_pd.nCopies = 1;
  m_pd.hInstance = AfxGetResourceHandle();
}

INT_PTR CPrintDialog::DoModal() {
  if (printDialogHook != nullptr) return printDialogHook(&m_pd);
  m_pd.hwndOwner = PreModal();
  return ::PrintDlgA(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  const DWORD flags = m_pd.Flags;
  m_pd.Flags |= PD_RETURNDEFAULT;
  m_pd.hDevMode = m_pd.hDevNames = nullptr;
  const BOOL ok = printDialogHook != nullptr ? printDialogHook(&m_pd) == IDOK : ::PrintDlgA(&m_pd);
  m_pd.Flags = flags;
  return ok;
}

HDC CPrintDialog::CreatePrinterDC() {
  if (m_pd.hDevNames == nullptr) return nullptr;
  auto* names = static_cast<DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
  auto* mode = m_pd.hDevMode == nullptr ? nullptr : static_cast<DEVMODEA*>(::GlobalLock(m_pd.hDevMode));
  const char* base = reinterpret_cast<const char*>(names);
  m_pd.hDC = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, base + names->wOutputOffset, mode);
  if (mode != nullptr) ::GlobalUnlock(m_pd.hDevMode);
  ::GlobalUnlock(m_pd.hDevNames);
  return m_pd.hDC;
}

CString CPrintDialog::GetDeviceName() const {
  if (m_pd.hDevNames == nullptr) return CString();
  auto* names = static_cast<DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
  CString device(reinterpret_cast<const char*>(names) + names->wDeviceOffset);
  ::GlobalUnlock(m_pd.hDevNames);
  return device;
}
