// CBookmarkDlg: the bookmark list, the floating tool window in which the
// reader manages the bookmark folders and their articles. Each screen
// (encyclopedia, timeline, media gallery, dictionary) keeps one and creates
// it in its panel rectangle; its look is the skin of the owner's screen. The folder
// selection and list positions live in the main frame's search state, so
// the list reappears in the same state on the next screen.
#pragma once

#include "controls/bm_list_box.h"
#include "controls/scroll_list_box.h"
#include "core/reader_screen.h"
#include "panels/tool_window.h"
#include "reader/panels_ids.h"

class CBookmarkDlg : public CToolWindow, public SearchStatePanel {
 public:
  CBookmarkDlg() = default;
  using CToolWindow::Create;

  // Creates the window from `templateId` (1085 for the encyclopedia) as a
  // child of `owner` whose client area is `rect` (in the owner's client
  // coordinates; screen coordinates for a pop-up template) and shows it.
  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner);
  // The skin of the owner's screen (OwnerScreen: the main frame stands for
  // the media gallery, which owns its pop-up list through it).
  int GetSkin() const { return ScreenInfo(m_screen).skin; }
  // Copies the folder selection and the lists' positions into `state`.
  void SaveState(SearchState& state) override;
  // The screen rectangle of the media gallery's last list when it was destroyed
  // (empty before); the media gallery places its next list there.
  static CRect LastMediaRect() { return s_mediaRect; }

  int GetSelectedFolder() const;
  CValueListBox& FolderList() { return m_folders; }
  CBmListBox& ArticleList() { return m_articles; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void OnClose();
  void OnHelp();
  void OnNewFolder();
  void OnRenameFolder();
  void OnDeleteFolder();
  void OnDeleteArticle();
  void OnPrintFolder();
  void OnPreviewFolder();
  void OnFolderChanged();
  void OnArticleDblClk();
  LRESULT OnRefresh(WPARAM wParam, LPARAM lParam);
  LRESULT OnFoldersChanged(WPARAM wParam, LPARAM lParam);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  UINT OnNcHitTest(CPoint point);
  void OnSetFocus(CWnd* oldWnd);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // The article list shows the selected folder's articles (none without one).
  void ShowFolderArticles();
  // The folder list again from the application's folders, `select` selected.
  void RefillFolders(int select);
  void RestoreState();
  // The text screens store the notes and highlights of what they show.
  void StoreScreenAnnotations();
  void PrintFolder(BOOL preview);

  CRect m_rect;
  Screen m_screen = Screen::Browser;  // the owner's screen (OwnerScreen), whose skin it takes
  CODButton m_close, m_newFolder, m_renameFolder, m_deleteFolder, m_print, m_preview, m_deleteArticle, m_help;
  CValueListBox m_folders;
  CBmListBox m_articles;

  static CRect s_mediaRect;
};
