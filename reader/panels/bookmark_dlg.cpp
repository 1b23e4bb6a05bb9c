#include "panels/bookmark_dlg.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_screen.h"
#include "core/reader_shell.h"
#include "panels/folder_dlgs.h"
#include "panels/folder_list.h"
#include "panels/item_router.h"
#include "panels/panel_logic.h"
#include "panels/panel_owner.h"
#include "panels/tool_panel_host.h"

namespace {

// The button bitmaps of each skin.
struct BookmarkLook {
  int skin;
  UINT close, newFolder, rename, deleteFolder, print, preview, deleteArticle, help;
};
constexpr BookmarkLook kLooks[] = {
    {kSkinEncyclopedia, 1083, 4257, 4258, 4259, 6041, 6042, 4260, 2022},
    {kSkinTimeline, 4274, 6086, 6095, 6083, 6092, 6089, 6080, 6077},
    {kSkinMedia, 2162, 6085, 6094, 6082, 6091, 6088, 6079, 6076},
    {kSkinDictionary, 6074, 6084, 6093, 6081, 6090, 6087, 6078, 6075},
};

const BookmarkLook& LookOf(int skin) {
  for (const BookmarkLook& look : kLooks)
    if (look.skin == skin) return look;
  return kLooks[0];
}

constexpr int kMargin = 6;
constexpr int kGap = 3;

CRect RectIn(CWnd& window, CWnd* parent) {
  CRect rect;
  window.GetWindowRect(&rect);
  parent->ScreenToClient(&rect);
  return rect;
}

void MoveTo(CWnd& window, int x, int y) {
  window.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CRect CBookmarkDlg::s_mediaRect;

BEGIN_MESSAGE_MAP(CBookmarkDlg, CToolWindow)
ON_BN_CLICKED(IDC_BOOKMARK_CLOSE, OnClose)
ON_BN_CLICKED(IDC_BOOKMARK_HELP, OnHelp)
ON_BN_CLICKED(IDC_NEW_FOLDER, OnNewFolder)
ON_BN_CLICKED(IDC_RENAME_FOLDER, OnRenameFolder)
ON_BN_CLICKED(IDC_DELETE_FOLDER, OnDeleteFolder)
ON_BN_CLICKED(IDC_DELETE_ARTICLE, OnDeleteArticle)
ON_BN_CLICKED(IDC_PRINT_FOLDER, OnPrintFolder)
ON_BN_CLICKED(IDC_PREVIEW_FOLDER, OnPreviewFolder)
ON_LBN_SELCHANGE(IDC_FOLDER_LIST, OnFolderChanged)
ON_LBN_SELCANCEL(IDC_FOLDER_LIST, OnFolderChanged)
ON_LBN_DBLCLK(IDC_FOLDER_ARTICLES, OnArticleDblClk)
ON_MESSAGE(WM_REFRESHLIST, OnRefresh)
ON_MESSAGE(WM_BITSCHANGED, OnFoldersChanged)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_NCHITTEST()
ON_WM_SETFOCUS()
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CBookmarkDlg::Create(const CRect& rect, UINT templateId, CWnd* owner) {
  m_rect = rect;
  m_screen = OwnerScreen(owner);
  return CDialog::Create(templateId, owner);
}

BOOL CBookmarkDlg::OnInitDialog() {
  const BookmarkLook& look = LookOf(GetSkin());
  // The client area takes the rectangle first: the layout follows its width.
  CRect client = PlaceClientArea(m_rect);
  const int width = client.Width();

  PlaceCloseButton(m_close, look.close, IDC_BOOKMARK_CLOSE);
  m_folders.Create(CRect(kMargin, 29, width - kMargin, 129), this, IDC_FOLDER_LIST, GetSkin());

  const UINT style = CODButton::kUsualStyle;
  int y = 129 + kMargin;
  m_newFolder.Create(CRect(kMargin, y, kMargin, y), this, look.newFolder, style, IDC_NEW_FOLDER);
  int x = RectIn(m_newFolder, this).right + kGap;
  m_renameFolder.Create(CRect(x, y, x, y), this, look.rename, style, IDC_RENAME_FOLDER);
  y = RectIn(m_newFolder, this).bottom + kMargin;
  m_deleteFolder.Create(CRect(kMargin, y, kMargin, y), this, look.deleteFolder, style, IDC_DELETE_FOLDER);
  x = RectIn(m_deleteFolder, this).right + kGap;
  m_print.Create(CRect(x, y, x, y), this, look.print, style, IDC_PRINT_FOLDER);
  x = RectIn(m_print, this).right + kGap;
  m_preview.Create(CRect(x, y, x, y), this, look.preview, style, IDC_PREVIEW_FOLDER);
  y = RectIn(m_deleteFolder, this).bottom + kMargin;
  m_deleteArticle.Create(CRect(0, 0, 0, 0), this, look.deleteArticle, style, IDC_DELETE_ARTICLE);
  m_help.Create(CRect(0, 0, 0, 0), this, look.help, style, IDC_BOOKMARK_HELP);
  const int articlesBottom = client.bottom - 10 - m_deleteArticle.GetFrameSize().cy - 4;
  m_articles.Create(CRect(kMargin, y, width - kMargin, articlesBottom > y ? articlesBottom : y), this,
                    IDC_FOLDER_ARTICLES, GetSkin());
  OnSize(SIZE_RESTORED, client.Width(), client.Height());

  RefillFolders(-1);
  RestoreState();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CBookmarkDlg::OnSize(UINT type, int cx, int cy) {
  CToolWindow::OnSize(type, cx, cy);
  if (m_articles.GetSafeHwnd() == nullptr) return;
  const int top = cy - 10 - m_deleteArticle.GetFrameSize().cy;
  MoveTo(m_deleteArticle, kMargin, top);
  MoveTo(m_help, cx - kMargin - m_help.GetFrameSize().cx, top);
  const CRect list = RectIn(m_articles, this);
  const int bottom = top - 4;
  m_articles.SetWindowPos(nullptr, 0, 0, list.Width(), bottom > list.top ? bottom - list.top : 0,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CBookmarkDlg::GetSelectedFolder() const {
  if (m_folders.GetSafeHwnd() == nullptr) return -1;
  return m_folders.GetCurSel();
}

void CBookmarkDlg::RefillFolders(int select) {
  panels::FillFolderList(m_folders);
  if (select >= 0 && select < m_folders.GetCount()) m_folders.SetCurSel(select);
}

void CBookmarkDlg::ShowFolderArticles() {
  ReaderContext& app = Reader();
  const CFolder* folder = panels::FolderAt(app.m_folders, GetSelectedFolder());
  m_articles.SetArticles(folder != nullptr ? folder->m_articles : CBitString(app.GetArticleCount(), FALSE));
}

void CBookmarkDlg::RestoreState() {
  ToolPanelHost* host = GetToolPanelHost();
  if (host == nullptr) {
    ShowFolderArticles();
    return;
  }
  const SearchState& state = host->GetSearchState();
  CSkinBar& bar = m_folders.Bar();
  const int top =
      state.bookmarkTop < bar.m_min ? bar.m_min : (state.bookmarkTop > bar.m_max ? bar.m_max : state.bookmarkTop);
  m_folders.SetPosition(top, TRUE);
  m_folders.SetCurSel(
      state.bookmarkSelection >= 0 && state.bookmarkSelection < m_folders.GetCount() ? state.bookmarkSelection : -1);
  ShowFolderArticles();
  if (state.bookmark2Selection > 0) m_articles.SelectArticle(state.bookmark2Selection);
  int first = 0, last = 0;
  m_articles.GetRange(first, last);
  const int articleTop = state.bookmark2Top < first ? first : (state.bookmark2Top > last ? last : state.bookmark2Top);
  m_articles.SetPosition(articleTop, TRUE);
}

void CBookmarkDlg::SaveState(SearchState& state) {
  if (m_hWnd == nullptr) return;
  state.bookmarkSelection = GetSelectedFolder();
  state.bookmarkTop = m_folders.Bar().m_pos;
  state.bookmark2Selection = m_articles.GetCurArticle();
  state.bookmark2Top = m_articles.GetTopIndex();
}

void CBookmarkDlg::OnOK() {}

void CBookmarkDlg::OnCancel() { OnClose(); }

void CBookmarkDlg::OnClose() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->CloseBookmarkWindows();
  // A list whose owner the frame does not know (no screen) closes itself.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

void CBookmarkDlg::OnHelp() { AfxGetApp()->WinHelp(HELP_BOOKMARK_LIST, HELP_CONTEXT); }

void CBookmarkDlg::OnFolderChanged() { ShowFolderArticles(); }

void CBookmarkDlg::OnArticleDblClk() {
  const int article = m_articles.GetCurArticle();
  if (article > 0) panels::ShowOnItsScreen(article);
}

void CBookmarkDlg::OnNewFolder() {
  const int index = panels::AskNewFolder(this);
  if (index < 0) return;
  RefillFolders(index);
  ShowFolderArticles();
}

void CBookmarkDlg::OnRenameFolder() {
  ReaderContext& app = Reader();
  const int selected = GetSelectedFolder();
  CFolder* folder = panels::FolderAt(app.m_folders, selected);
  if (folder == nullptr) return;
  CFolderNameDlg dialog(this);
  dialog.m_caption = "Rename Folder";
  dialog.m_name = folder->m_name;
  dialog.m_folderIndex = selected;
  if (dialog.DoModal() != IDOK) return;
  const int index = panels::RenameFolder(app.m_folders, selected, dialog.m_name);
  RefillFolders(index);
  ShowFolderArticles();
  app.AddToFolder(index, CBitString(folder->m_articles), TRUE);
}

void CBookmarkDlg::StoreScreenAnnotations() {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return;
  for (int i = 0; i < ScreenCount; ++i)
    if (auto* view = dynamic_cast<ReaderScreen*>(shell->GetScreen(static_cast<Screen>(i)))) view->StoreAnnotations();
}

void CBookmarkDlg::OnDeleteArticle() {
  ReaderContext& app = Reader();
  const int selected = GetSelectedFolder();
  CFolder* folder = panels::FolderAt(app.m_folders, selected);
  if (folder == nullptr) return;
  StoreScreenAnnotations();
  // Only articles that are in the folder leave it.
  CBitString gone(m_articles.GetSelection());
  gone.And(folder->m_articles);
  if (gone.GetSetCount() == 0) return;
  app.AddToFolder(selected, gone, FALSE);
  ShowFolderArticles();
}

void CBookmarkDlg::OnDeleteFolder() {
  ReaderContext& app = Reader();
  const int selected = GetSelectedFolder();
  CFolder* folder = panels::FolderAt(app.m_folders, selected);
  if (folder == nullptr) return;
  StoreScreenAnnotations();
  app.AddToFolder(selected, CBitString(folder->m_articles), FALSE);
  panels::DeleteFolder(app.m_folders, selected);
  RefillFolders(panels::RowAfterDelete(selected, static_cast<int>(app.m_folders.GetSize())));
  ShowFolderArticles();
}

void CBookmarkDlg::PrintFolder(BOOL preview) {
  const int selected = GetSelectedFolder();
  if (selected < 0) return;
  // A list the main window owns (the gallery's pop-up) prints through its screen's view.
  CWnd* owner = GetParent();
  if (auto* shell = dynamic_cast<ReaderShell*>(owner)) owner = shell->GetScreen(m_screen);
  if (auto* panelOwner = dynamic_cast<PanelOwner*>(owner)) panelOwner->PrintBookmarkFolder(selected, preview);
}

void CBookmarkDlg::OnPrintFolder() { PrintFolder(FALSE); }

void CBookmarkDlg::OnPreviewFolder() { PrintFolder(TRUE); }

LRESULT CBookmarkDlg::OnRefresh(WPARAM, LPARAM) {
  RestoreState();
  return 0;
}

LRESULT CBookmarkDlg::OnFoldersChanged(WPARAM, LPARAM) {
  ReaderContext& app = Reader();
  // The name from the list's row: the folders may already have moved.
  CString name;
  const int selected = GetSelectedFolder();
  if (selected >= 0) m_folders.GetText(selected, name);
  CStringArray names;
  panels::FolderNames(app.m_folders, names);
  RefillFolders(names.GetSize() > 0 ? panels::RowOfFolderName(names, name) : -1);
  ShowFolderArticles();
  return 0;
}

BOOL CBookmarkDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CBookmarkDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc);
  const SkinBrushes brushes = BrushesOf(GetSkin());
  PaintGround(dc, brushes.band, brushes.background);
  CRect client;
  GetClientRect(&client);
  DrawLine(dc, 10, "Bookmark List", CRect(4, 0, client.right, kBandHeight), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

UINT CBookmarkDlg::OnNcHitTest(CPoint point) {
  const UINT hit = CToolWindow::OnNcHitTest(point);
  if (hit == HTCLIENT && GetParent() == AfxGetMainWnd()) {
    CPoint client = point;
    ScreenToClient(&client);
    if (client.y < kBandHeight) return HTCAPTION;
  }
  return hit;
}

void CBookmarkDlg::OnSetFocus(CWnd*) {
  if (m_articles.GetSafeHwnd() != nullptr) m_articles.SetFocus();
}

void CBookmarkDlg::OnDestroy() {
  if (m_screen == Screen::Media) GetWindowRect(&s_mediaRect);
  CToolWindow::OnDestroy();
}
