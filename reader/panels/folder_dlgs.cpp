#include "panels/folder_dlgs.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "panels/folder_list.h"
#include "panels/panel_logic.h"
#include "reader/reader_ids.h"

namespace panels {

void FillFolderList(CValueListBox& list) {
  list.ResetContent();
  const CObArray& folders = Reader().m_folders;
  for (int i = 0; i < folders.GetSize(); ++i) list.AddItem(FolderAt(folders, i)->m_name, kFolderImage, kFolderMask);
}

int AskNewFolder(CWnd* parent) {
  CFolderNameDlg dialog(parent);
  dialog.m_caption = "Create New Folder";
  if (dialog.DoModal() != IDOK) return -1;
  ReaderContext& app = Reader();
  const int index = InsertFolder(app.m_folders, app.GetArticleCount(), dialog.m_name);
  // The new (empty) folder is announced, so every screen's Bookmark menu shows it.
  app.AddToFolder(index, CBitString(app.GetArticleCount(), FALSE), FALSE);
  return index;
}

}  // namespace panels

// ---- CFolderDialog ---------------------------------------------------------

BEGIN_MESSAGE_MAP(CFolderDialog, CToolWindow)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
END_MESSAGE_MAP()

// A modal dialog keeps the keyboard to itself: the frame it disables must
// not run menu commands meanwhile.
BOOL CFolderDialog::PreTranslateMessage(MSG* pMsg) { return CDialog::PreTranslateMessage(pMsg); }

void CFolderDialog::Prepare(int width, int height) {
  // The icon goes to this window, not to the dialog class that every dialog
  // shares (which would keep it after it is destroyed).
  m_icon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_VELDRIX));
  if (m_icon != nullptr) SetIcon(m_icon, TRUE);
  CRect outer(0, 0, width, height);
  ::AdjustWindowRectEx(&outer, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, 0, 0, outer.Width(), outer.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow();
}

void CFolderDialog::PaintLabel(CDC& dc, int x) {
  DrawLine(dc, 12, "Folder Name :", CRect(x, 0, x + 200, kBandHeight), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

BOOL CFolderDialog::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CSkinPaletteScope palette(dc, TRUE);
  dc->FillRect(&client, Skin().GetBrush(DialogBrush));
  return TRUE;
}

void CFolderDialog::OnDestroy() {
  if (m_icon != nullptr) {
    SetIcon(nullptr, TRUE);
    ::DestroyIcon(m_icon);
    m_icon = nullptr;
  }
  CToolWindow::OnDestroy();
}

// ---- CFolderNameDlg --------------------------------------------------------

BEGIN_MESSAGE_MAP(CFolderNameDlg, CFolderDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CFolderNameDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_FOLDER_NAME, m_name); }

BOOL CFolderNameDlg::PreTranslateMessage(MSG* pMsg) {
  // Enter anywhere in the dialog acts as OK.
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    OnOK();
    return TRUE;
  }
  return CFolderDialog::PreTranslateMessage(pMsg);
}

BOOL CFolderNameDlg::OnInitDialog() {
  Prepare(kClientWidth, kClientHeight);
  SetWindowText(m_caption);
  const int width = kClientWidth;
  const CRect edit(6, 23, width - 6, Skin().GetLineHeight() + 29);
  m_edit.Create(&edit, this, IDC_FOLDER_NAME, 2, 0);
  m_edit.SetFont(Skin().GetFont(12));
  m_edit.LimitText(kMaxName);

  m_ok.Create(CRect(0, 0, 0, 0), this, 1157, CODButton::kUsualStyle, IDOK);
  m_cancel.Create(CRect(0, 0, 0, 0), this, 1151, CODButton::kUsualStyle, IDCANCEL);
  const CSize ok = m_ok.GetFrameSize(), cancel = m_cancel.GetFrameSize();
  const int left = (width - ok.cx - 6 - cancel.cx) / 2, top = edit.bottom + 8;
  m_ok.SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_cancel.SetWindowPos(nullptr, left + ok.cx + 6, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  CFolderDialog::OnInitDialog();  // the name into the edit
  m_edit.SetFocus();
  m_edit.SetSel(0, -1);
  return FALSE;
}

void CFolderNameDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  CStringArray names;
  panels::FolderNames(Reader().m_folders, names);
  if (panels::IsDuplicateFolderName(names, m_name, m_folderIndex)) {
    AfxMessageBox("There is already a folder with the same name", MB_OK | MB_ICONEXCLAMATION);
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    return;
  }
  EndDialog(IDOK);
}

void CFolderNameDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc, TRUE);
  PaintLabel(dc, 6);
}

// ---- CNewFolderDlg ---------------------------------------------------------

BEGIN_MESSAGE_MAP(CNewFolderDlg, CFolderDialog)
ON_BN_CLICKED(IDC_NEW_FOLDER, OnNewFolder)
ON_LBN_DBLCLK(IDC_FOLDER_LIST, OnDblClkFolder)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CNewFolderDlg::DoDataExchange(CDataExchange* pDX) { DDX_LBIndex(pDX, IDC_FOLDER_LIST, m_selection); }

BOOL CNewFolderDlg::OnInitDialog() {
  Prepare(kClientWidth, kClientHeight);
  const int width = kClientWidth, height = kClientHeight;
  m_folders.Create(CRect(10, 23, width - 10, height - 35), this, IDC_FOLDER_LIST, kSkinMedia);
  FillFolders(0);
  const int top = height - 35 + 10;
  m_newFolder.Create(CRect(10, top, 10, top), this, 6085, CODButton::kUsualStyle, IDC_NEW_FOLDER);
  const int okLeft = 10 + m_newFolder.GetFrameSize().cx + 10;
  m_ok.Create(CRect(okLeft, top, okLeft, top), this, 1157, CODButton::kUsualStyle, IDOK);
  const int cancelLeft = okLeft + m_ok.GetFrameSize().cx + 10;
  m_cancel.Create(CRect(cancelLeft, top, cancelLeft, top), this, 1151, CODButton::kUsualStyle, IDCANCEL);
  m_folders.SetFocus();
  return FALSE;
}

void CNewFolderDlg::FillFolders(int select) {
  panels::FillFolderList(m_folders);
  if (m_folders.GetCount() > 0) m_folders.SetCurSel(select >= 0 && select < m_folders.GetCount() ? select : 0);
}

void CNewFolderDlg::OnNewFolder() {
  const int index = panels::AskNewFolder(this);
  if (index >= 0) FillFolders(index);
  m_folders.SetFocus();
}

void CNewFolderDlg::OnDblClkFolder() { OnOK(); }

void CNewFolderDlg::OnOK() {
  if (m_folders.GetCount() == 0) {
    EndDialog(IDCANCEL);
    return;
  }
  m_selection = m_folders.GetCurSel();
  EndDialog(m_selection >= 0 ? IDOK : IDCANCEL);
}

void CNewFolderDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc, TRUE);
  PaintLabel(dc, 10);
}
