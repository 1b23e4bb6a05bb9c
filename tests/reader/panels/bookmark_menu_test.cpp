// The Bookmark menu every screen shares, on a menu bar of the test's own:
// the folders go under the items the menu was loaded with, however many, and
// a chosen article is shown on the screen of its kind.
#include "panels/bookmark_menu.h"

#include <algorithm>
#include <vector>

#include "app_fixture.h"
#include "core/reader_context.h"

namespace paneltest {
namespace {

using apptest::App;
using apptest::Article;

constexpr UINT kFirstId = 9000, kMoreId = 5053;

class TestMenuOwner : public BookmarkMenuOwner {
 public:
  panels::ItemKind OwnItemKind() const override { return kind; }
  void ShowOwnItem(int item) override { shown.push_back(item); }
  panels::ItemKind kind = panels::ItemKind::DictionaryEntry;
  std::vector<int> shown;
};

class BookmarkMenuOnTheApp : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    ASSERT_TRUE(Start());
    bar.CreateMenu();
    CMenu popup;
    popup.CreatePopupMenu();
    for (UINT id : {0x7301u, 0x7302u, 0x7303u}) popup.AppendMenu(MF_STRING, id, "fixed");
    bar.AppendMenu(MF_STRING, 0x7300, "&File");
    bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), "&Bookmark");
  }
  void TearDown() override {
    bar.DestroyMenu();
    ReaderApp::TearDown();
  }
  // A folder of the given articles, appended to the application's folders.
  static void AddFolder(std::initializer_list<int> articles) {
    auto* folder = new CFolder(App().GetArticleCount());
    folder->m_name = "Folder";
    for (int article : articles) folder->m_articles.SetBit(article);
    App().m_folders.Add(folder);
  }
  BOOL Choose(UINT id) { return menu.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }

  CMenu bar;
  TestMenuOwner owner;
  CBookmarkMenu menu{owner, bar, kFirstId, kMoreId};
};

TEST_F(BookmarkMenuOnTheApp, FoldersGoUnderTheItemsTheMenuWasLoadedWith) {
  CMenu* bookmark = panels::FindPopup(bar, "&Bookmark");
  ASSERT_NE(bookmark, nullptr);
  App().ResetBookmarks();
  AddFolder({Article("Comet"), Article("Zebra")});
  AddFolder({});
  menu.Refill();
  // The three items, a separator, two folders (the empty one greyed).
  ASSERT_EQ(bookmark->GetMenuItemCount(), 3 + 1 + 2);
  EXPECT_EQ(bookmark->GetMenuItemID(2), 0x7303u);
  EXPECT_TRUE(bookmark->GetMenuState(5, MF_BYPOSITION) & MF_GRAYED);
  CMenu* first = bookmark->GetSubMenu(4);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetMenuItemID(1), kFirstId + 1);
  // Filled again, the loaded items stay and the folders are those of now.
  App().m_folders.RemoveAt(1);
  menu.Refill();
  EXPECT_EQ(bookmark->GetMenuItemCount(), 3 + 1 + 1);
  App().ResetBookmarks();
  menu.Refill();
  EXPECT_EQ(bookmark->GetMenuItemCount(), 3);
}

TEST_F(BookmarkMenuOnTheApp, AChosenArticleIsShownOnTheScreenOfItsKind) {
  App().ResetBookmarks();
  // An encyclopedia article, a dictionary entry and a media item.
  const int solar = Article("Solar System"), zebra = Article("Zebra"), astronomy = Article("Astronomy");
  AddFolder({solar, zebra, astronomy});
  menu.Refill();
  // The articles of the folder are in article order.
  std::vector<int> order = {solar, zebra, astronomy};
  std::sort(order.begin(), order.end());
  const auto idOf = [&](int article) {
    return kFirstId + static_cast<UINT>(std::find(order.begin(), order.end(), article) - order.begin());
  };

  // Asked only whether it has a handler, it answers (an item without one is greyed).
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(menu.OnCmdMsg(idOf(zebra), CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &menu);
  EXPECT_TRUE(owner.shown.empty());

  // The screen's own kind is shown there.
  EXPECT_TRUE(Choose(idOf(zebra)));
  EXPECT_EQ(owner.shown, std::vector<int>{zebra});
  // Any other on the screen of its kind.
  EXPECT_TRUE(Choose(idOf(solar)));
  EXPECT_EQ(owner.shown.size(), 1u);
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
  // A media screen is shown its items by their index.
  owner.kind = panels::ItemKind::MediaItem;
  EXPECT_TRUE(Choose(idOf(astronomy)));
  EXPECT_EQ(owner.shown, (std::vector<int>{zebra, App().m_multBits.IndexOf(astronomy)}));
  // Commands past the articles listed are taken and do nothing.
  EXPECT_TRUE(Choose(kFirstId + 9));
  EXPECT_TRUE(Choose(kFirstId + 99));
  EXPECT_FALSE(Choose(kFirstId + 100));
  EXPECT_EQ(owner.shown.size(), 2u);
}

}  // namespace
}  // namespace paneltest
