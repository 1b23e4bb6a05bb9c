#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/category_index_file.h"
#include "content/media_store_file.h"
#include "content_db.h"
#include "temp_dir.h"
#include "working_directory.h"

namespace {

using builder::Bytes;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<std::string> Strings(const CStringArray& array) {
  std::vector<std::string> out;
  for (int i = 0; i < array.GetSize(); ++i) out.emplace_back(array[i]);
  return out;
}

std::vector<int> Members(const CBitString& set) {
  std::vector<int> out;
  for (int k = 1; k <= set.GetSetCount(); ++k) out.push_back(set.GetAt(k));
  return out;
}

// A database with its media index and category index in a scratch directory,
// which is also the working directory.
class Categories {
 public:
  Categories() {
    SetWorkingDirectory(dir.path().c_str());
    std::strcpy(db.m_multimediaPath, dir.path().c_str());
    std::strcpy(db.m_mmxFile, "M.MMX");
    std::strcpy(db.m_ctxFile, "M.CTX");
  }
  bool OpenMedia(const std::string& mmx) {
    dir.Write("M.MMX", mmx);
    return db.OpenMediaIndex();
  }

  TempDir dir;
  CContentDb db;
};

builder::MediaItemRecord Item(u32 entry) { return {entry, 1, 0xFFFF, "item", {entry + 100}}; }

std::string MediaIndex(const std::vector<builder::MediaCategory>& categories) {
  builder::MediaStore store;
  store.categories = categories;
  return Text(builder::BuildMediaStore(store).mmx);
}

TEST(CategoryList, PathsAndChildren) {
  CCategoryList list;
  const std::vector<std::pair<const char*, UINT>> rows = {{"All", 0},    {"Science", 1}, {"Physics", 2},
                                                          {"Optics", 3}, {"Art", 1},     {"Odd", 3}};
  for (const auto& [title, level] : rows) {
    list.m_titles.Add(title);
    list.m_levels.Add(level);
  }
  list.MarkChildren();
  CStringArray path;
  ASSERT_EQ(list.GetPath(3, path), 1);
  EXPECT_EQ(Strings(path), (std::vector<std::string>{"All", "Science", "Physics", "Optics"}));
  EXPECT_EQ(list.GetPath(-1, path), 1);
  EXPECT_TRUE(path.IsEmpty());
  EXPECT_EQ(list.GetPath(6, path), 0);
  const std::vector<BYTE> children = {1, 1, 1, 0, 0, 0};  // levels 1 then 3: no children
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list.m_hasChildren[i], children[i]) << i;
}

TEST(MediaCategories, ListsAllButTheLastTwo) {
  Categories c;
  ASSERT_TRUE(c.OpenMedia(MediaIndex(
      {{1, "Pictures", {Item(3), Item(5)}}, {0x82, "Night Sky", {Item(5)}}, {1, "", {}}, {1, "", {Item(9)}}})));
  CCategoryList list;
  ASSERT_EQ(c.db.ReadCategories(list), 1);
  EXPECT_EQ(Strings(list.m_titles), (std::vector<std::string>{"All", "Pictures", "Night Sky"}));
  EXPECT_EQ(list.GetDepth(2), 2);  // the high bit is not part of the depth
  EXPECT_EQ(list.m_hasChildren[1], 1);
  CBitString set(20, FALSE);
  EXPECT_EQ(c.db.ReadCategorySet(0, set), 2);
  EXPECT_EQ(Members(set), (std::vector<int>{3, 5}));
  EXPECT_EQ(c.db.ReadCategorySet(3, set), 1);
  EXPECT_EQ(Members(set), (std::vector<int>{9}));
  EXPECT_EQ(c.db.ReadCategorySet(2, set), 0);
  EXPECT_EQ(c.db.ReadCategorySet(4, set), 0);
  EXPECT_EQ(c.db.ReadCategorySet(-1, set), 0);

  Categories two;
  ASSERT_TRUE(two.OpenMedia(MediaIndex({{1, "", {}}, {1, "", {}}})));
  ASSERT_EQ(two.db.ReadCategories(list), 1);
  EXPECT_EQ(Strings(list.m_titles), (std::vector<std::string>{"All"}));
}

TEST(MediaCategories, DamagedBlocksGiveNothing) {
  const std::string good = MediaIndex({{1, "Pictures", {Item(3), Item(5)}}, {1, "", {}}, {1, "", {}}});
  CCategoryList list;
  CBitString set(20, FALSE);
  {
    std::string one = good;
    one[2] = 1;  // a single category: no hidden pools
    Categories c;
    ASSERT_TRUE(c.OpenMedia(one));
    EXPECT_EQ(c.db.ReadCategories(list), 0);
    EXPECT_EQ(list.GetCount(), 0);
  }
  {
    std::string unterminated = good;
    unterminated[4] = static_cast<char>(3 * 11 + 4);  // the block ends inside "Pictures"
    Categories c;
    ASSERT_TRUE(c.OpenMedia(unterminated));
    EXPECT_EQ(c.db.ReadCategories(list), 0);
  }
  {
    std::string tooSmall = good;
    tooSmall[8 + 3] = 14;  // descriptor 0's data size: less than its two records
    Categories c;
    ASSERT_TRUE(c.OpenMedia(tooSmall));
    EXPECT_EQ(c.db.ReadCategorySet(0, set), 0);
    EXPECT_EQ(set.GetSetCount(), 0);
  }
  {
    // A block too small for its three descriptors: the one past its end is
    // not taken as a category either.
    const std::string pools = MediaIndex({{1, "", {}}, {1, "", {}}, {1, "", {Item(7)}}});
    std::string shortBlock = pools;
    shortBlock[4] = static_cast<char>(2 * 11);
    Categories c;
    ASSERT_TRUE(c.OpenMedia(shortBlock));
    EXPECT_EQ(c.db.ReadCategories(list), 0);
    EXPECT_EQ(c.db.ReadCategorySet(2, set), 0);
    EXPECT_EQ(set.GetSetCount(), 0);
    Categories whole;
    ASSERT_TRUE(whole.OpenMedia(pools));
    EXPECT_EQ(whole.db.ReadCategorySet(2, set), 1);
  }
}

std::string ContextIndex() {
  builder::CategoryIndex index;
  index.entryCount = 6;
  index.categories = {{1, "Science", {2, 4}}, {2, "Physics", {4}}, {1, "Empty", {}}};
  return Text(builder::BuildCategoryIndex(index));
}

TEST(SubjectCategories, ReadsTheCategoryIndex) {
  Categories c;
  c.dir.Write("M.CTX", ContextIndex());
  CCategoryList list;
  ASSERT_EQ(c.db.ReadContextCategories(list), 1);
  EXPECT_EQ(Strings(list.m_titles), (std::vector<std::string>{"All", "Science", "Physics", "Empty"}));
  EXPECT_EQ(list.m_hasChildren[1], 1);
  CString title;
  CBitString set(6, FALSE);
  EXPECT_EQ(c.db.ReadContextSet(0, title, set), 2);
  EXPECT_EQ(std::string(title), "Science");
  EXPECT_EQ(Members(set), (std::vector<int>{2, 4}));
  EXPECT_EQ(c.db.ReadContextSet(2, title, set), 0);
  EXPECT_EQ(std::string(title), "Empty");
  EXPECT_EQ(c.db.ReadContextSet(3, title, set), 0);
  WORD second = 7;
  EXPECT_EQ(c.db.GetEntryCategory(4, &second), 1);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(c.db.GetEntryCategory(3, &second), 0);
  second = 7;
  EXPECT_EQ(c.db.GetEntryCategory(0, &second), 0);  // would be the header
  EXPECT_EQ(c.db.GetEntryCategory(7, &second), 0);
  EXPECT_EQ(second, 7);
}

TEST(SubjectCategories, MissingOrShortIndexGivesNothing) {
  Categories c;
  CCategoryList list;
  CString title;
  CBitString set(6, FALSE);
  EXPECT_EQ(c.db.ReadContextCategories(list), 0);
  EXPECT_EQ(c.db.ReadContextSet(0, title, set), 0);
  const std::string full = ContextIndex();
  c.dir.Write("M.CTX", full.substr(0, full.size() - 30));  // the records run past the end
  EXPECT_EQ(c.db.ReadContextCategories(list), 0);
  EXPECT_EQ(list.GetCount(), 0);
  c.dir.Write("M.CTX", full.substr(0, full.size() - 1));  // Physics' entry list is short
  EXPECT_EQ(c.db.ReadContextSet(1, title, set), 0);
}

}  // namespace
