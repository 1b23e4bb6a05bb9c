#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/category_index_file.h"
#include "content/media_store_file.h"
#include "core/content_db.h"
#include "core/working_directory.h"
#include "temp_dir.h"

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

// The category blocks written out by hand from their layouts.
TEST(MediaCategories, AHandWrittenBlock) {
  // clang-format off
  const std::string mmx(
      "\x00\x00"          // A: no media items
      "\x03\x00"          // C: three categories
      "\x2A\x00\x00\x00"  // the block: 3 descriptors of 11 bytes and one title, 42 bytes
      // descriptors: level, u16 records, u32 data size, u32 data offset
      "\x01" "\x02\x00" "\x19\x00\x00\x00" "\x32\x00\x00\x00"  // listed: 2 records at 50
      "\x01" "\x00\x00" "\x00\x00\x00\x00" "\x00\x00\x00\x00"  // kept out of the lists: none
      "\x01" "\x01\x00" "\x0B\x00\x00\x00" "\x4B\x00\x00\x00"  // the random pictures: 1 at 75
      "Pictures\0"        // the title of the only listed one
      // item records: u32 entry, type, u16 sound, k, u16 title length, title, k u32
      "\x03\x00\x00\x00" "\x01" "\xFF\xFF" "\x00" "\x01\x00" "a"
      "\x05\x00\x00\x00" "\x05" "\xFF\xFF" "\x01" "\x00\x00" "\x09\x00\x00\x00"
      "\x07\x00\x00\x00" "\x01" "\xFF\xFF" "\x00" "\x01\x00" "b",
      8 + 42 + 11 + 14 + 11);
  // clang-format on
  Categories c;
  ASSERT_TRUE(c.OpenMedia(mmx));
  CCategoryList list;
  ASSERT_EQ(c.db.ReadCategories(list), 1);
  EXPECT_EQ(Strings(list.m_titles), (std::vector<std::string>{"All", "Pictures"}));
  EXPECT_EQ(list.m_levels[1], 1u);
  CBitString set(10, FALSE);
  EXPECT_EQ(c.db.ReadCategorySet(0, set), 2);
  EXPECT_EQ(Members(set), (std::vector<int>{3, 5}));
  EXPECT_EQ(c.db.ReadCategorySet(1, set), 0);
  EXPECT_EQ(c.db.ReadCategorySet(2, set), 1);
  EXPECT_EQ(Members(set), (std::vector<int>{7}));
}

TEST(SubjectCategories, AHandWrittenIndex) {
  // clang-format off
  const std::string ctx(
      "\x03\x00\x00\x00"  // X: three entries
      "\x02\x00"          // K: two categories
      "\x22\x00\x00\x00"  // S: 34 bytes of category records
      // per entry: u16 category number, u16 second value
      "\x01\x00\x00\x00" "\x00\x00\x00\x00" "\x02\x00\x05\x00"
      // per category: u32 offset of its record
      "\x1E\x00\x00\x00" "\x2F\x00\x00\x00"
      // records: level, unused, u16 entries, u16 title length, u32 list offset, title
      "\x01" "\x00" "\x02\x00" "\x07\x00" "\x40\x00\x00\x00" "Science"
      "\x02" "\x00" "\x01\x00" "\x07\x00" "\x48\x00\x00\x00" "Physics"
      // the entry lists
      "\x01\x00\x00\x00" "\x03\x00\x00\x00"
      "\x03\x00\x00\x00",
      10 + 12 + 8 + 34 + 12);
  // clang-format on
  Categories c;
  c.dir.Write("M.CTX", ctx);
  CCategoryList list;
  ASSERT_EQ(c.db.ReadContextCategories(list), 1);
  EXPECT_EQ(Strings(list.m_titles), (std::vector<std::string>{"All", "Science", "Physics"}));
  EXPECT_EQ(list.m_hasChildren[1], 1);
  CString title;
  CBitString set(3, FALSE);
  EXPECT_EQ(c.db.ReadContextSet(0, title, set), 2);
  EXPECT_EQ(std::string(title), "Science");
  EXPECT_EQ(Members(set), (std::vector<int>{1, 3}));
  EXPECT_EQ(c.db.ReadContextSet(1, title, set), 1);
  EXPECT_EQ(std::string(title), "Physics");
  EXPECT_EQ(Members(set), (std::vector<int>{3}));
  WORD second = 0;
  EXPECT_EQ(c.db.GetEntryCategory(3, &second), 2);
  EXPECT_EQ(second, 5);
  EXPECT_EQ(c.db.GetEntryCategory(1, &second), 1);
  EXPECT_EQ(second, 0);
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
