// The bookmark list and the folder dialogs in the started program: the
// sample's folder "Space" (Astronomy, Comet, Solar System and the update
// article Comet Hale-Bopp), on a plain owner window.
#include <memory>
#include <string>

#include "core/reader_messages.h"
#include "panels/bookmark_dlg.h"
#include "panels/folder_dlgs.h"
#include "panels/folder_list.h"
#include "panels_test_owner.h"

namespace paneltest {
namespace {

using apptest::App;
using apptest::Article;

class BookmarkListOnTheApp : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    ASSERT_TRUE(Start());
    boxes.Clear();
    owner = std::make_unique<TestOwner>();
    Frame()->SetBookmarksOpen();  // no remembered selection
  }
  void TearDown() override {
    list.reset();
    owner.reset();
    ReaderApp::TearDown();
  }
  void Open() {
    list = std::make_unique<CBookmarkDlg>();
    ASSERT_TRUE(list->Create(kPanel, IDD_BOOKMARK_LIST, owner.get()));
    ui::PumpUntilIdle();
  }
  void SelectFolder(int row) {
    list->FolderList().SetCurSel(row);
    Notify(*list, IDC_FOLDER_LIST, LBN_SELCHANGE);
  }
  std::string Folders() const {
    std::string names;
    for (int i = 0; i < App().m_folders.GetSize(); ++i)
      names += std::string(panels::FolderAt(App().m_folders, i)->m_name) + ";";
    return names;
  }
  std::string Rows() const {
    std::string rows;
    CString text;
    for (int i = 0; i < list->FolderList().GetCount(); ++i) {
      list->FolderList().GetText(i, text);
      rows += std::string(text) + ";";
    }
    return rows;
  }
  int Shown() const { return list->ArticleList().GetArticles().GetSetCount(); }
  int FoldersChangedPosts() {
    int posts = 0;
    MSG msg;
    while (::PeekMessageA(&msg, Frame()->m_hWnd, WM_BITSCHANGED, WM_BITSCHANGED, PM_REMOVE)) ++posts;
    return posts;
  }

  std::unique_ptr<TestOwner> owner;
  std::unique_ptr<CBookmarkDlg> list;
};

TEST_F(BookmarkListOnTheApp, OpensInThePanelWithTheFoldersAndShowsTheSelectedFolder) {
  Open();
  CRect client;
  list->GetClientRect(&client);
  EXPECT_EQ(client.Width(), kPanel.Width());
  EXPECT_EQ(client.Height(), kPanel.Height());
  CRect where;
  list->GetWindowRect(&where);
  owner->ScreenToClient(&where);
  EXPECT_EQ(where.TopLeft(), kPanel.TopLeft());
  EXPECT_TRUE(list->IsWindowVisible());
  EXPECT_EQ(list->GetSkin(), kSkinEncyclopedia);
  EXPECT_EQ(ScreenInfo(OwnerScreen(Frame())).skin, kSkinMedia);

  // Close at the top right; the folder list from y 29 to 129, 6 in from the sides.
  CRect close;
  list->GetDlgItem(IDC_BOOKMARK_CLOSE)->GetWindowRect(&close);
  list->ScreenToClient(&close);
  EXPECT_EQ(close.top, 4);
  EXPECT_EQ(close.right, client.right - 4);
  CRect folders;
  list->FolderList().GetWindowRect(&folders);
  list->ScreenToClient(&folders);
  EXPECT_EQ(folders.left, 6) << folders.top << " " << folders.right << " " << folders.bottom;
  EXPECT_EQ(folders.top, 29);
  EXPECT_EQ(folders.right, client.right - 6);
  // The list keeps whole rows: it ends at 129 or less than a row above it.
  EXPECT_LE(folders.bottom, 129);
  EXPECT_GT(folders.bottom, 129 - App().m_lineHeight);
  // Delete Article and Help 10 above the bottom, the article list ends 4 above them.
  CRect deleteArticle, help, articles;
  list->GetDlgItem(IDC_DELETE_ARTICLE)->GetWindowRect(&deleteArticle);
  list->GetDlgItem(IDC_BOOKMARK_HELP)->GetWindowRect(&help);
  list->ArticleList().GetWindowRect(&articles);
  list->ScreenToClient(&deleteArticle);
  list->ScreenToClient(&help);
  list->ScreenToClient(&articles);
  EXPECT_EQ(deleteArticle.bottom, client.bottom - 10);
  EXPECT_EQ(deleteArticle.left, 6);
  EXPECT_EQ(help.right, client.right - 6);
  EXPECT_LE(articles.bottom, deleteArticle.top - 4);
  EXPECT_GT(articles.top, folders.bottom);

  // No remembered selection: no folder selected, no articles.
  EXPECT_EQ(Rows(), "Space;");
  EXPECT_EQ(list->GetSelectedFolder(), -1);
  EXPECT_EQ(Shown(), 0);
  SelectFolder(0);
  EXPECT_EQ(Shown(), 4);
  EXPECT_TRUE(list->ArticleList().GetArticles().Test(Article("Comet")));
  // The focus goes to the article list.
  list->SetFocus();
  EXPECT_EQ(::GetFocus(), list->ArticleList().m_hWnd);
}

TEST_F(BookmarkListOnTheApp, ANewFolderTakesItsSortedPlaceAndADuplicateNameIsRefused) {
  Open();
  FoldersChangedPosts();
  // "Space" is taken: the dialog says so and stays; "Birds" then goes before it.
  EXPECT_EQ(WithDialogSteps({TypeNameAndOk("Space"), TypeNameAndOk("Birds")}, [&] { Click(*list, IDC_NEW_FOLDER); }),
            2);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"There is already a folder with the same name"});
  EXPECT_EQ(Folders(), "Birds;Space;");
  EXPECT_EQ(Rows(), "Birds;Space;");
  EXPECT_EQ(list->GetSelectedFolder(), 0);
  EXPECT_EQ(Shown(), 0);
  EXPECT_EQ(FoldersChangedPosts(), 1);  // every screen's Bookmark menu learns of it
  // Cancelled: nothing changes.
  EXPECT_EQ(WithDialogSteps({Cancel()}, [&] { Click(*list, IDC_NEW_FOLDER); }), 1);
  EXPECT_EQ(Folders(), "Birds;Space;");
  EXPECT_EQ(FoldersChangedPosts(), 0);
}

TEST_F(BookmarkListOnTheApp, RenamingKeepsTheFolderSelectedAtItsNewPlace) {
  Open();
  WithDialogSteps({TypeNameAndOk("Birds")}, [&] { Click(*list, IDC_NEW_FOLDER); });
  SelectFolder(1);  // Space
  EXPECT_EQ(WithDialogSteps({TypeNameAndOk("Astronomy")}, [&] { Click(*list, IDC_RENAME_FOLDER); }), 1);
  EXPECT_EQ(Folders(), "Astronomy;Birds;");
  EXPECT_EQ(Rows(), "Astronomy;Birds;");
  EXPECT_EQ(list->GetSelectedFolder(), 0);
  EXPECT_EQ(Shown(), 4);  // its articles went with it
  // Its own name is accepted; another folder's is not.
  boxes.Clear();
  EXPECT_EQ(WithDialogSteps({TypeNameAndOk("Astronomy")}, [&] { Click(*list, IDC_RENAME_FOLDER); }), 1);
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_EQ(WithDialogSteps({TypeNameAndOk("Birds"), Cancel()}, [&] { Click(*list, IDC_RENAME_FOLDER); }), 2);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"There is already a folder with the same name"});
  EXPECT_EQ(Folders(), "Astronomy;Birds;");
}

TEST_F(BookmarkListOnTheApp, DeletingArticlesAndFolders) {
  Open();
  SelectFolder(0);
  ASSERT_GE(list->ArticleList().SelectArticle(Article("Comet")), 1);
  Click(*list, IDC_DELETE_ARTICLE);
  const CBitString& space = panels::FolderAt(App().m_folders, 0)->m_articles;
  EXPECT_FALSE(space.Test(Article("Comet")));
  EXPECT_TRUE(space.Test(Article("Astronomy")));
  EXPECT_EQ(space.GetSetCount(), 3);
  EXPECT_EQ(Shown(), 3);

  // Deleting the last folder of the list selects the new last one.
  WithDialogSteps({TypeNameAndOk("Birds")}, [&] { Click(*list, IDC_NEW_FOLDER); });
  SelectFolder(1);
  Click(*list, IDC_DELETE_FOLDER);
  EXPECT_EQ(Folders(), "Birds;");
  EXPECT_EQ(list->GetSelectedFolder(), 0);
  Click(*list, IDC_DELETE_FOLDER);
  EXPECT_EQ(Folders(), "");
  EXPECT_EQ(list->GetSelectedFolder(), -1);
  EXPECT_EQ(Shown(), 0);

  // With no folders the folder commands do nothing.
  EXPECT_EQ(WithDialogSteps({Cancel()}, [&] { Click(*list, IDC_RENAME_FOLDER); }), 0);
  Click(*list, IDC_DELETE_FOLDER);
  Click(*list, IDC_DELETE_ARTICLE);
  Click(*list, IDC_PRINT_FOLDER);
  EXPECT_TRUE(owner->printed.empty());
  EXPECT_EQ(Shown(), 0);
}

// Folders read from the file in any order: each row is the folder at its
// index, and a new folder still lands where the list and the array agree.
TEST_F(BookmarkListOnTheApp, RowsFollowTheFoldersInTheirOrderWhateverItIs) {
  CVeldrixApp& app = App();
  auto* zoo = new CFolder(app.GetArticleCount());
  zoo->m_name = "Zoo";
  zoo->m_articles.SetBit(Article("Aardvark"));
  app.m_folders.InsertAt(0, zoo);  // "Zoo" before "Space"
  Open();
  EXPECT_EQ(Rows(), "Zoo;Space;");
  SelectFolder(0);
  EXPECT_EQ(Shown(), 1);
  EXPECT_TRUE(list->ArticleList().GetArticles().Test(Article("Aardvark")));
  SelectFolder(1);
  EXPECT_EQ(Shown(), 4);
  WithDialogSteps({TypeNameAndOk("Moons")}, [&] { Click(*list, IDC_NEW_FOLDER); });
  EXPECT_EQ(Rows(), Folders());
  const int row = list->GetSelectedFolder();
  CString text;
  list->FolderList().GetText(row, text);
  EXPECT_STREQ(text, "Moons");
  EXPECT_STREQ(panels::FolderAt(app.m_folders, row)->m_name, "Moons");
}

// An article that left the folder on another screen before this list heard
// of it stays out when Delete Article runs on the stale row.
TEST_F(BookmarkListOnTheApp, DeletingAnArticleThatAlreadyLeftDoesNotPutItBack) {
  Open();
  SelectFolder(0);
  ASSERT_GE(list->ArticleList().SelectArticle(Article("Comet")), 1);
  CBitString& space = panels::FolderAt(App().m_folders, 0)->m_articles;
  space.SetBit(Article("Comet"), FALSE);
  Click(*list, IDC_DELETE_ARTICLE);
  EXPECT_FALSE(space.Test(Article("Comet")));
  EXPECT_EQ(space.GetSetCount(), 3);
}

TEST_F(BookmarkListOnTheApp, PrintAndPreviewGoToTheOwner) {
  Open();
  Click(*list, IDC_PRINT_FOLDER);  // no folder selected
  EXPECT_TRUE(owner->printed.empty());
  SelectFolder(0);
  Click(*list, IDC_PRINT_FOLDER);
  Click(*list, IDC_PREVIEW_FOLDER);
  ASSERT_EQ(owner->printed.size(), 2u);
  EXPECT_EQ(owner->printed[0], std::make_pair(0, false));
  EXPECT_EQ(owner->printed[1], std::make_pair(0, true));
}

TEST_F(BookmarkListOnTheApp, AFolderAddedElsewhereKeepsTheSelectionByName) {
  Open();
  SelectFolder(0);
  CVeldrixApp& app = App();
  // Another screen adds "Apes", which sorts before "Space".
  panels::InsertFolder(app.m_folders, app.GetArticleCount(), "Apes");
  list->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(Rows(), "Apes;Space;");
  EXPECT_EQ(list->GetSelectedFolder(), 1);
  EXPECT_EQ(Shown(), 4);
  // The selected folder is gone: row 0.
  panels::DeleteFolder(app.m_folders, 1);
  list->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(Rows(), "Apes;");
  EXPECT_EQ(list->GetSelectedFolder(), 0);
  EXPECT_EQ(Shown(), 0);
}

TEST_F(BookmarkListOnTheApp, TheRememberedStateComesBackAndCloseClosesIt) {
  SearchState& state = Frame()->GetSearchState();
  state.bookmarkSelection = 0;
  state.bookmark2Selection = Article("Solar System");
  state.bookmark2Top = 99;  // past the last row: the list goes only as far as it can
  Open();
  EXPECT_EQ(list->GetSelectedFolder(), 0);
  EXPECT_EQ(list->ArticleList().GetCurArticle(), Article("Solar System"));
  int first = 0, last = 0;
  list->ArticleList().GetRange(first, last);
  EXPECT_EQ(list->ArticleList().GetTopIndex(), last);

  SearchState saved;
  list->SaveState(saved);
  EXPECT_EQ(saved.bookmarkSelection, 0);
  EXPECT_EQ(saved.bookmark2Selection, Article("Solar System"));

  // A refresh restores what the frame remembers.
  state.bookmarkSelection = -1;
  list->SendMessage(WM_REFRESHLIST);
  EXPECT_EQ(list->GetSelectedFolder(), -1);
  EXPECT_EQ(Shown(), 0);

  // Enter keeps it open; Close (and Esc) close it through the frame.
  list->SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(::IsWindow(list->m_hWnd));
  Click(*list, IDC_BOOKMARK_CLOSE);
  EXPECT_FALSE(::IsWindow(list->m_hWnd));
  EXPECT_FALSE(Frame()->IsBookmarksOpen());
  Open();
  list->SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_FALSE(::IsWindow(list->m_hWnd));
}

TEST_F(BookmarkListOnTheApp, InTheMainWindowTheBandDragsTheWindow) {
  list = std::make_unique<CBookmarkDlg>();
  CRect rect(20, 60, 229, 460);
  ASSERT_TRUE(list->Create(rect, IDD_BOOKMARK_LIST, Frame()));
  EXPECT_EQ(list->GetSkin(), kSkinMedia);
  CPoint band(30, 10), below(30, 40);
  list->ClientToScreen(&band);
  list->ClientToScreen(&below);
  EXPECT_EQ(list->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)), HTCAPTION);
  EXPECT_NE(list->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(below.x, below.y)), HTCAPTION);
  CRect screen;
  list->GetWindowRect(&screen);
  list->DestroyWindow();
  EXPECT_EQ(CBookmarkDlg::LastMediaRect(), screen);  // for the gallery's next list
}

// The folder chooser of the screens' Add Article commands.
TEST_F(BookmarkListOnTheApp, TheFolderChooserPicksAFolderAndMakesNewOnes) {
  CNewFolderDlg chooser(owner.get());
  int result = 0;
  // The new folder is selected when the chooser comes back; OK returns it.
  const auto pressOk = [](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
  int selected = -2;
  const auto look = [&](CDialog& dialog) {
    selected = static_cast<int>(dialog.SendDlgItemMessage(IDC_FOLDER_LIST, LB_GETCURSEL));
    dialog.PostMessage(WM_COMMAND, IDOK);
  };
  const auto newFolder = [](CDialog& dialog) {
    dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_NEW_FOLDER, BN_CLICKED));
  };
  EXPECT_EQ(WithDialogSteps({newFolder, TypeNameAndOk("Volcanoes"), look},
                            [&] { result = static_cast<int>(chooser.DoModal()); }),
            3);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(chooser.m_selection, 1);
  EXPECT_EQ(Folders(), "Space;Volcanoes;");

  // Row 0 is selected at first.
  CNewFolderDlg again(owner.get());
  WithDialogSteps({pressOk}, [&] { result = static_cast<int>(again.DoModal()); });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(again.m_selection, 0);

  // With no folders OK adds nothing and counts as Cancel.
  while (App().m_folders.GetSize() > 0) panels::DeleteFolder(App().m_folders, 0);
  CNewFolderDlg empty(owner.get());
  WithDialogSteps({pressOk}, [&] { result = static_cast<int>(empty.DoModal()); });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(App().m_folders.GetSize(), 0);
}

TEST_F(BookmarkListOnTheApp, TheFolderNameDialogIsSizedAndLimited) {
  CFolderNameDlg dialog(owner.get());
  dialog.m_caption = "Create New Folder";
  const ULONG_PTR classIcon = ::GetClassLongPtrA(owner->m_hWnd, GCLP_HICON);
  HICON shown = nullptr;
  ULONG_PTR dialogClassIcon = 1;
  CRect client;
  CString caption;
  int limit = 0;
  WithDialogSteps({[&](CDialog& d) {
                    d.GetClientRect(&client);
                    d.GetWindowText(caption);
                    limit = static_cast<int>(d.SendDlgItemMessage(IDC_FOLDER_NAME, EM_GETLIMITTEXT));
                    shown = reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_BIG));
                    dialogClassIcon = ::GetClassLongPtrA(d.m_hWnd, GCLP_HICON);
                    d.PostMessage(WM_COMMAND, IDOK);  // an empty name is accepted
                  }},
                  [&] { EXPECT_EQ(dialog.DoModal(), IDOK); });
  EXPECT_EQ(client.Width(), 250);
  EXPECT_EQ(client.Height(), 80);
  EXPECT_STREQ(caption, "Create New Folder");
  EXPECT_EQ(limit, 30);
  EXPECT_STREQ(dialog.m_name, "");
  // The program's icon is the dialog's own; the class every dialog shares
  // keeps none (the icon is destroyed with the dialog).
  EXPECT_NE(shown, nullptr);
  EXPECT_EQ(dialogClassIcon, 0u);
  EXPECT_EQ(::GetClassLongPtrA(owner->m_hWnd, GCLP_HICON), classIcon);
}

}  // namespace
}  // namespace paneltest
