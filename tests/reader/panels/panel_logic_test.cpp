// The tool windows' decisions without a window: the screen of an article,
// the outline tree, the order and names of folders, the lists' texts.
#include "panels/panel_logic.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "panels/folder_list.h"

namespace panels {
namespace {

constexpr int kArticles = 40;
CBitString SetOf(std::initializer_list<int> articles) {
  CBitString set(kArticles, FALSE);
  for (int article : articles) set.SetBit(article);
  return set;
}

// Search hits, bookmarks and article lists all open an article on the screen
// of its kind, and a media article as its rank among the media articles.
TEST(ArticleScreens, MediaComesFirstThenTimelineThenDictionary) {
  const CBitString mult = SetOf({3, 12, 20}), tml = SetOf({3, 13}), vorn = SetOf({3, 12, 11, 13});
  const auto screen = [&](int article) { return ScreenOfKind(KindOfArticle(article, mult, tml, vorn)); };
  EXPECT_EQ(screen(3), Screen::Media);  // in all three sets
  EXPECT_EQ(screen(12), Screen::Media);
  EXPECT_EQ(screen(13), Screen::Timeline);
  EXPECT_EQ(screen(11), Screen::Dictionary);
  EXPECT_EQ(screen(5), Screen::Browser);
  EXPECT_EQ(screen(0), Screen::Browser);
  EXPECT_EQ(mult.IndexOf(3), 0);
  EXPECT_EQ(mult.IndexOf(20), 2);
  EXPECT_EQ(mult.IndexOf(5), -1);
}

display::OutlineEntry Heading(const char* title, u16 level) { return {title, display::kOutlineHeading, 0, 0, level}; }
display::OutlineEntry Media(const char* title, u16 kind) { return {title, kind, 7, 0, 0}; }

TEST(OutlineTree, SectionsHoldWhatFollowsThemAndMediaGetABranchOfTheirOwn) {
  const std::vector<display::OutlineEntry> outline = {
      Heading("Early life", 1), Heading("School", 2), Media("Portrait", 1), Heading("Work", 1), Media("Map", 4),
  };
  const std::vector<OutlineTreeItem> tree = BuildOutlineTree(outline);
  ASSERT_EQ(tree.size(), 8u);
  EXPECT_EQ(tree[0].parent, -1);
  EXPECT_EQ(tree[0].text, "Early life");
  EXPECT_EQ(tree[0].image, display::kOutlineHeading);
  EXPECT_EQ(tree[0].data, 0);
  EXPECT_EQ(tree[1].parent, 0);  // the subsection
  EXPECT_EQ(tree[2].parent, 0);  // the media object also stands in its section
  EXPECT_EQ(tree[2].image, 1);
  EXPECT_EQ(tree[2].data, 2);
  EXPECT_EQ(tree[3].parent, -1);
  EXPECT_EQ(tree[4].parent, 3);
  EXPECT_EQ(tree[4].data, 4);
  // The branch: image 0, data -1, every media object in order.
  EXPECT_EQ(tree[5].text, "Multimedia Items");
  EXPECT_EQ(tree[5].parent, -1);
  EXPECT_EQ(tree[5].image, 0);
  EXPECT_EQ(tree[5].data, -1);
  EXPECT_EQ(tree[6].parent, 5);
  EXPECT_EQ(tree[6].data, 2);
  EXPECT_EQ(tree[7].parent, 5);
  EXPECT_EQ(tree[7].data, 4);
  EXPECT_EQ(tree[7].image, 4);
}

TEST(OutlineTree, EntriesBeforeTheFirstSectionShowOnlyWhenTheyAreMedia) {
  const std::vector<display::OutlineEntry> outline = {Heading("Orphan", 2), Media("Lead picture", 3),
                                                      Heading("History", 1)};
  const std::vector<OutlineTreeItem> tree = BuildOutlineTree(outline);
  ASSERT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree[0].text, "History");
  EXPECT_EQ(tree[1].text, "Multimedia Items");
  EXPECT_EQ(tree[2].text, "Lead picture");
  EXPECT_EQ(tree[2].parent, 1);
  EXPECT_EQ(tree[2].data, 1);
}

TEST(OutlineTree, WithoutMediaThereIsNoBranchAndAnEmptyOutlineIsAnEmptyTree) {
  const std::vector<OutlineTreeItem> tree = BuildOutlineTree({Heading("One", 1), Heading("Two", 2)});
  ASSERT_EQ(tree.size(), 2u);
  for (const OutlineTreeItem& item : tree) EXPECT_NE(item.text, "Multimedia Items");
  EXPECT_TRUE(BuildOutlineTree({}).empty());
}

CStringArray Names(std::initializer_list<const char*> list) {
  CStringArray names;
  for (const char* name : list) names.Add(name);
  return names;
}

TEST(FolderNames, SortedPlacesDuplicatesAndRows) {
  const CStringArray names = Names({"Birds", "Space", "Volcanoes"});
  EXPECT_EQ(SortedFolderPosition(names, "Apes"), 0);
  EXPECT_EQ(SortedFolderPosition(names, "moons"), 1);  // case folded
  EXPECT_EQ(SortedFolderPosition(names, "space"), 2);  // after an equal name
  EXPECT_EQ(SortedFolderPosition(names, "Zoo"), 3);
  EXPECT_EQ(SortedFolderPosition(CStringArray(), "Any"), 0);

  EXPECT_TRUE(IsDuplicateFolderName(names, "Space", -1));
  EXPECT_FALSE(IsDuplicateFolderName(names, "Space", 1));  // renaming a folder to its own name
  EXPECT_TRUE(IsDuplicateFolderName(names, "Birds", 1));
  EXPECT_FALSE(IsDuplicateFolderName(names, "space", -1));
  EXPECT_FALSE(IsDuplicateFolderName(names, "", -1));  // an empty name is a name like any other

  EXPECT_EQ(RowOfFolderName(names, "Volcanoes"), 2);
  EXPECT_EQ(RowOfFolderName(names, "Gone"), 0);
  EXPECT_EQ(RowOfFolderName(names, ""), 0);

  EXPECT_EQ(RowAfterDelete(1, 2), 1);
  EXPECT_EQ(RowAfterDelete(2, 2), 1);  // the last went: the new last
  EXPECT_EQ(RowAfterDelete(0, 0), -1);
}

class FolderArray : public testing::Test {
 protected:
  ~FolderArray() override {
    for (int i = 0; i < folders.GetSize(); ++i) delete folders[i];
  }
  std::string Order() const {
    std::string order;
    for (int i = 0; i < folders.GetSize(); ++i) order += std::string(FolderAt(folders, i)->m_name) + ";";
    return order;
  }
  CObArray folders;
};

TEST_F(FolderArray, NewAndRenamedFoldersTakeTheirSortedPlace) {
  EXPECT_EQ(InsertFolder(folders, 40, "Space"), 0);
  EXPECT_EQ(InsertFolder(folders, 40, "Birds"), 0);
  EXPECT_EQ(InsertFolder(folders, 40, "Volcanoes"), 2);
  EXPECT_EQ(Order(), "Birds;Space;Volcanoes;");
  EXPECT_EQ(FolderAt(folders, 0)->m_articles.GetBitCount(), 40);
  EXPECT_EQ(FolderAt(folders, 0)->m_articles.GetSetCount(), 0);

  FolderAt(folders, 1)->m_articles.SetBit(7);
  EXPECT_EQ(RenameFolder(folders, 1, "Asteroids"), 0);
  EXPECT_EQ(Order(), "Asteroids;Birds;Volcanoes;");
  EXPECT_TRUE(FolderAt(folders, 0)->m_articles.Test(7));  // the articles go with the folder
  EXPECT_EQ(RenameFolder(folders, 2, "Volcanoes"), 2);    // its own name: same place
  EXPECT_EQ(RenameFolder(folders, 0, "Zebras"), 2);
  EXPECT_EQ(Order(), "Birds;Volcanoes;Zebras;");
  EXPECT_EQ(RenameFolder(folders, 3, "None"), -1);
  EXPECT_EQ(RenameFolder(folders, -1, "None"), -1);

  EXPECT_TRUE(DeleteFolder(folders, 2));
  EXPECT_EQ(Order(), "Birds;Volcanoes;");
  EXPECT_FALSE(DeleteFolder(folders, 2));
  EXPECT_EQ(FolderAt(folders, 5), nullptr);
}

TEST(ListTexts, CountsAndModes) {
  EXPECT_STREQ(ItemCountText(0), "0 item(s)");
  EXPECT_STREQ(ItemCountText(123456), "123456 item(s)");
  EXPECT_STREQ(ArticleListHeading(kHistoryMode), "History");
  EXPECT_STREQ(ArticleListDescription(kEventMode), "Articles related to Timeline.");
  EXPECT_STREQ(ArticleListHeading(kMediaMode), "Related To Media");
  EXPECT_STREQ(ArticleListDescription(kClueMode), "Articles related to quiz question.");
  EXPECT_STREQ(ArticleListHeading(kSubjectMode), "Subject Links");
  EXPECT_STREQ(ArticleListHeading(99), "History");  // a mode that is none reads as History
}

}  // namespace
}  // namespace panels
