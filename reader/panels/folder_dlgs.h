// The two modal dialogs of the bookmark folders. CFolderNameDlg asks for a
// new or changed folder name and refuses the name of another folder;
// CNewFolderDlg lets the reader choose the folder that Add Article puts
// articles into, and make a new one on the way.
#pragma once

#include "controls/flat_edit.h"
#include "controls/scroll_list_box.h"
#include "panels/tool_window.h"
#include "reader/panels_ids.h"

// The modal dialogs paint on the shared brush 11 and show the program's icon.
class CFolderDialog : public CToolWindow {
 public:
  using CToolWindow::CToolWindow;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // Gives the dialog the program's icon and a client area of the size,
  // centred over its owner.
  void Prepare(int width, int height);
  void PaintLabel(CDC& dc, int x);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  HICON m_icon = nullptr;
};

class CFolderNameDlg : public CFolderDialog {
 public:
  static constexpr int kClientWidth = 250;
  static constexpr int kClientHeight = 80;
  static constexpr int kMaxName = 30;

  explicit CFolderNameDlg(CWnd* parent) : CFolderDialog(IDD_FOLDER_NAME, parent) {}

  // Set by the caller before DoModal: the caption ("Create New Folder" or
  // "Rename Folder"), for a rename the current name and the folder's index.
  CString m_caption;
  CString m_name;
  int m_folderIndex = -1;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  CFlatEdit m_edit;
  CODButton m_ok;
  CODButton m_cancel;
};

class CNewFolderDlg : public CFolderDialog {
 public:
  static constexpr int kClientWidth = 285;
  static constexpr int kClientHeight = 245;

  explicit CNewFolderDlg(CWnd* parent) : CFolderDialog(IDD_FOLDER_CHOOSER, parent) {}

  // After IDOK: the chosen folder's index in the application's folders.
  int m_selection = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnNewFolder();
  void OnDblClkFolder();
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  void FillFolders(int select);

  CValueListBox m_folders;
  CODButton m_newFolder;
  CODButton m_ok;
  CODButton m_cancel;
};

namespace panels {
// The folder list's icon pair.
constexpr UINT kFolderImage = 6046;
constexpr UINT kFolderMask = 6047;
// Fills a folder list with the application's folders in their order.
void FillFolderList(CValueListBox& list);
// Runs the folder name dialog for a new folder and makes the folder; its
// index, or -1 when the reader cancelled.
int AskNewFolder(CWnd* parent);
}  // namespace panels
