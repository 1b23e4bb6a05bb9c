// Folders and bookmarks in memory and in Bookmark.dat: the records, loading
// and saving, and what an update of the articles does to them.
#include "core/bookmarks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "core/title_key.h"
#include "reader/bookmark_file.h"
#include "temp_dir.h"
#include "writer_limit.h"

namespace {

// Ten articles; the update articles are those listed, with their titles.
class Articles : public BookmarkArticles {
 public:
  Articles(int count, std::map<int, std::string> updates) : updates_(std::move(updates)) {
    CBitString positions(count, FALSE);
    for (const auto& [article, title] : updates_) positions.SetBit(article, TRUE, FALSE, 0, 0);
    main_ = positions.Not();
    numbering_.Build(positions);
  }
  int ArticleCount() const override { return main_.GetBitCount(); }
  int MainEntryCount() const override { return main_.GetSetCount(); }
  int UpdateEntryCount() const override { return numbering_.UpdateCount(); }
  const CBitString& MainArticles() const override { return main_; }
  const ArticleNumbering& Numbering() const override { return numbering_; }
  bool UpdateTitle(int index, char* title) override {
    const int article = numbering_.GetUpdateArticle(index);
    if (!updates_.count(article)) return false;
    std::snprintf(title, TitleBufferSize, "%s", updates_[article].c_str());
    return true;
  }
  int FindUpdateTitle(const char* title) override {
    for (int index = 1; index <= UpdateEntryCount(); ++index) {
      char stored[TitleBufferSize];
      UpdateTitle(index, stored);
      FoldAccents(stored);
      if (std::strcmp(stored, title) == 0) return index;
    }
    return 0;
  }

 private:
  std::map<int, std::string> updates_;
  CBitString main_;
  ArticleNumbering numbering_;
};

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Bookmarks : public testing::Test {
 protected:
  ~Bookmarks() override { ResetBookmarks(folders, bookmarks); }
  std::string Path() const { return dir.File("Bookmark.dat"); }
  CBookmark& At(int i) { return *static_cast<CBookmark*>(bookmarks[i]); }
  CFolder& Folder(int i) { return *static_cast<CFolder*>(folders[i]); }
  // The folder "Space" (articles 2, 4, 8) and the bookmarks of articles 5
  // (a highlight 3 to 8) and 9 (the note "rover" at 4464), as saved by the
  // tests below.
  void ExpectTheSpaceFolderAndItsBookmarks() {
    ASSERT_EQ(folders.GetSize(), 1);
    EXPECT_STREQ(Folder(0).m_name, "Space");
    EXPECT_EQ(Folder(0).m_articles.GetSetCount(), 3);
    for (int a : {2, 4, 8}) EXPECT_TRUE(Folder(0).m_articles.Test(a)) << a;
    ASSERT_EQ(bookmarks.GetSize(), 2);
    EXPECT_EQ(At(0).m_article, 5);
    ASSERT_EQ(At(0).m_highlightStarts.GetSize(), 1);
    EXPECT_EQ(At(0).m_highlightStarts[0], 3u);
    EXPECT_EQ(At(0).m_highlightEnds[0], 8u);
    EXPECT_EQ(At(1).m_article, 9);
    ASSERT_EQ(At(1).m_noteTexts.GetSize(), 1);
    EXPECT_STREQ(At(1).m_noteTexts[0], "rover");
    EXPECT_EQ(At(1).m_notePositions[0], 70000u & 0xFFFF);
  }

  TempDir dir;
  CObArray folders, bookmarks;
};

TEST_F(Bookmarks, KeptInArticleOrderOneAnArticle) {
  EXPECT_EQ(FindOrAddBookmark(bookmarks, 7), 0);
  EXPECT_EQ(FindOrAddBookmark(bookmarks, 3), 0);
  EXPECT_EQ(FindOrAddBookmark(bookmarks, 5), 1);
  EXPECT_EQ(FindOrAddBookmark(bookmarks, 7), 2);
  EXPECT_EQ(bookmarks.GetSize(), 3);
  EXPECT_EQ(FindBookmark(bookmarks, 5), 1);
  RemoveBookmark(bookmarks, 5);
  RemoveBookmark(bookmarks, 6);
  EXPECT_EQ(FindBookmark(bookmarks, 5), -1);
  EXPECT_EQ(At(1).m_article, 7);
}

TEST_F(Bookmarks, SavedAndLoadedByEntryAndTitle) {
  Articles articles(10, {{4, "Comet Hale-Bopp"}, {9, "Sojourner"}});
  auto* folder = new CFolder(10);
  folder->m_name = "Space";
  for (int a : {2, 4, 8}) folder->m_articles.SetBit(a, TRUE, FALSE, 0, 0);
  folders.Add(folder);
  FindOrAddBookmark(bookmarks, 9);
  At(0).m_noteTexts.Add("rover");
  At(0).m_notePositions.Add(70000);  // kept by its low 16 bits
  FindOrAddBookmark(bookmarks, 5);
  At(0).m_highlightStarts.Add(3);
  At(0).m_highlightEnds.Add(8);
  ASSERT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));

  // The file the builder writes for the same data.
  builder::BookmarkData data;
  data.folders.push_back({"Space", {"Comet Hale-Bopp"}, 8, {2, 7}});
  builder::BookmarkRecord five;
  five.mainEntry = 4;
  five.highlights = {{3, 8}};
  builder::BookmarkRecord nine;
  nine.isUpdate = true;
  nine.title = "Sojourner";
  nine.notes = {{"rover", static_cast<std::uint16_t>(70000 & 0xFFFF)}};
  data.bookmarks = {five, nine};
  const builder::Bytes expected = builder::EncodeBookmarkFile(data);
  EXPECT_EQ(Bytes(Path()), std::string(expected.begin(), expected.end()));
  EXPECT_FALSE(std::ifstream(Path() + ".new").good());

  ResetBookmarks(folders, bookmarks);
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ExpectTheSpaceFolderAndItsBookmarks();
}

// Ten articles, 4 and 9 from the update database: the main entries 1-8 are
// the articles 1, 2, 3, 5, 6, 7, 8, 10.
// clang-format off
const std::string kHandWrittenFile(
    "\x01\x00"                       // one folder:
    "\x05\x00" "Space"               //   its name
    "\x01\x00\x00\x00"               //   one update article, by its title
    "\x0F\x00" "Comet Hale-Bopp"
    "\x08\x00\x00\x00" "\x42\x00"    //   .bit record over the 8 main entries: 2 and 7 (articles 2, 8)
    "\x02\x00"                       // two bookmarks:
    "\x00" "\x04\x00\x00\x00"        //   main entry 4 (article 5)
    "\x00\x00"                       //     no notes
    "\x01\x00" "\x03\x00\x08\x00"    //     one highlight, 3 to 8
    "\x01" "\x09\x00" "Sojourner"    //   an update article by its title (article 9)
    "\x01\x00"                       //     one note: its text and position 4464
    "\x05\x00" "rover" "\x70\x11"
    "\x00\x00",                      //     no highlights
    2 + 7 + 4 + 17 + 6 + 2 + 5 + 2 + 6 + 12 + 2 + 9 + 2);
// clang-format on

TEST_F(Bookmarks, AHandWrittenFileLoadsAndIsWrittenBackTheSame) {
  Articles articles(10, {{4, "Comet Hale-Bopp"}, {9, "Sojourner"}});
  dir.Write("Bookmark.dat", kHandWrittenFile);
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ExpectTheSpaceFolderAndItsBookmarks();

  ASSERT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(Bytes(Path()), kHandWrittenFile);
}

TEST_F(Bookmarks, AnUnknownRecordKindEndsTheBookmarksRead) {
  Articles articles(10, {{4, "Comet Hale-Bopp"}, {9, "Sojourner"}});
  // clang-format off
  const std::string file(
      "\x00\x00"                                         // no folders
      "\x03\x00"                                         // three bookmarks:
      "\x00" "\x02\x00\x00\x00" "\x00\x00" "\x00\x00"    //   main entry 2, no notes or highlights
      "\x02" "\x01\x00\x00\x00" "\x00\x00" "\x00\x00"    //   is-update 2: neither kind
      "\x00" "\x03\x00\x00\x00" "\x00\x00" "\x00\x00",   //   main entry 3, not reached
      4 + 3 * 9);
  // clang-format on
  dir.Write("Bookmark.dat", file);
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ASSERT_EQ(bookmarks.GetSize(), 1);
  EXPECT_EQ(At(0).m_article, 2);
}

TEST_F(Bookmarks, AnUpdateShiftsArticlesButNotTheirBookmarks) {
  // Before: article 3 is main entry 3. After an update adds articles 2 and
  // 3, main entry 3 is article 5 and the update titles have moved too.
  Articles before(8, {{6, "Mars Pathfinder"}});
  FindOrAddBookmark(bookmarks, 3);
  FindOrAddBookmark(bookmarks, 6);
  auto* folder = new CFolder(8);
  folder->m_name = "Only updates";
  folder->m_articles.SetBit(6, TRUE, FALSE, 0, 0);
  folders.Add(folder);
  ASSERT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, before));
  // A folder of update articles only writes its titles and an empty set.
  const std::string saved = Bytes(Path());
  EXPECT_NE(saved.find("Mars Pathfinder"), std::string::npos);

  ResetBookmarks(folders, bookmarks);
  Articles after(10, {{2, "Ares"}, {3, "Sojourner"}, {8, "Mars Pathfinder"}});
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, after));
  ASSERT_EQ(bookmarks.GetSize(), 2);
  EXPECT_EQ(At(0).m_article, 5);
  EXPECT_EQ(At(1).m_article, 8);
  ASSERT_EQ(folders.GetSize(), 1);
  EXPECT_EQ(Folder(0).m_articles.GetSetCount(), 1);
  EXPECT_TRUE(Folder(0).m_articles.Test(8));
}

TEST_F(Bookmarks, GoneUpdateTitleIsDroppedAndOthersStay) {
  builder::BookmarkData data;
  builder::BookmarkRecord gone;
  gone.isUpdate = true;
  gone.title = "Withdrawn";
  builder::BookmarkRecord kept;
  kept.mainEntry = 1;
  kept.notes = {{"first", 0}};
  data.bookmarks = {gone, kept};
  const builder::Bytes file = builder::EncodeBookmarkFile(data);
  dir.Write("Bookmark.dat", std::string(file.begin(), file.end()));
  Articles articles(4, {{2, "Sojourner"}});
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ASSERT_EQ(bookmarks.GetSize(), 1);
  EXPECT_EQ(At(0).m_article, 1);
}

TEST_F(Bookmarks, MissingFileIsEmptyAndDamagedFileEmptiesEverything) {
  Articles articles(4, {});
  EXPECT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(folders.GetSize() + bookmarks.GetSize(), 0);

  builder::BookmarkData data;
  data.folders.push_back({"A", {}, 3, {1}});
  data.folders.push_back({"B", {}, 3, {2}});
  builder::Bytes file = builder::EncodeBookmarkFile(data);
  file.resize(file.size() - 3);  // the second folder's .bit record is cut
  dir.Write("Bookmark.dat", std::string(file.begin(), file.end()));
  EXPECT_FALSE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(folders.GetSize(), 0);
  dir.Write("Bookmark.dat", std::string(1, '\0'));
  EXPECT_FALSE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));

  // A title longer than 255 bytes is a failed record.
  builder::ByteWriter out;
  out.U16le(0);
  out.U16le(1);
  out.U8(1);
  out.U16le(300);
  out.Append(std::string(300, 't'));
  out.U16le(0);
  out.U16le(0);
  dir.Write("Bookmark.dat", std::string(out.bytes().begin(), out.bytes().end()));
  EXPECT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(bookmarks.GetSize(), 0);
}

TEST_F(Bookmarks, ACountPastTheEndKeepsTheRecordsBeforeIt) {
  Articles articles(4, {});
  builder::ByteWriter out;
  out.U16le(0);      // no folders
  out.U16le(65535);  // bookmarks: far more than the file holds
  out.U8(0);         // main-database article
  out.U32le(2);      // entry 2
  out.U16le(0);      // no notes
  out.U16le(1);      // one highlight
  out.U16le(5);
  out.U16le(9);
  dir.Write("Bookmark.dat", std::string(out.bytes().begin(), out.bytes().end()));
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ASSERT_EQ(bookmarks.GetSize(), 1);
  EXPECT_EQ(At(0).m_article, 2);
  EXPECT_EQ(At(0).m_highlightEnds[0], 9u);
}

TEST_F(Bookmarks, AFailedSaveKeepsTheLastGoodFile) {
  Articles articles(10, {{4, "Comet Hale-Bopp"}, {9, "Sojourner"}});
  dir.Write("Bookmark.dat", kHandWrittenFile);
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  dir.Write("Bookmark.dat", "old");
  const auto newFileLeft = [&] { return std::filesystem::exists(Path() + ".new"); };

  // The new file cannot be made (a folder stands in its way): nothing is
  // saved, nothing said, the old file stays.
  std::filesystem::create_directory(Path() + ".new");
  EXPECT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(Bytes(Path()), "old");
  std::filesystem::remove(Path() + ".new");
  // Nowhere to save at all is not an error either.
  EXPECT_TRUE(SaveBookmarkFile(dir.File("missing/Bookmark.dat").c_str(), folders, bookmarks, articles));

  // A write that fails part way (the disk is full after some records), at
  // each place in turn.
  int writes = 0;
  for (;; ++writes) {
    ContentSimulateFailures(writes, false);
    const BOOL saved = SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles);
    ContentSimulateFailures(-1, false);
    EXPECT_FALSE(newFileLeft()) << writes;
    if (saved) break;
    EXPECT_EQ(Bytes(Path()), "old") << writes;
  }
  EXPECT_GT(writes, 20);  // each write of the file failed once
  EXPECT_EQ(Bytes(Path()), kHandWrittenFile);
  dir.Write("Bookmark.dat", "old");
  // Every write done but the close reports an error: the file may be short.
  ContentSimulateFailures(-1, true);
  EXPECT_FALSE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ContentSimulateFailures(-1, false);
  EXPECT_EQ(Bytes(Path()), "old");
  EXPECT_FALSE(newFileLeft());

  // The new file cannot take the old one's place (a folder of that name with
  // a file in it): the folder stays as it was.
  std::filesystem::remove(Path());
  std::filesystem::create_directory(Path());
  dir.Write("Bookmark.dat/kept", "kept");
  EXPECT_FALSE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(Bytes(Path() + "/kept"), "kept");
  EXPECT_FALSE(newFileLeft());
  std::filesystem::remove_all(Path());

  // With nothing in the way the save goes through.
  EXPECT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  EXPECT_EQ(Bytes(Path()), kHandWrittenFile);
}

#if !defined(_WIN32)
TEST_F(Bookmarks, ASaveStoppedAtAnyByteLeavesTheOldOrTheNewFile) {
  Articles articles(10, {{4, "Mars Pathfinder"}});
  // The old file: one folder. The new one: two folders and two bookmarks.
  auto* first = new CFolder(articles.ArticleCount());
  first->m_name = "Planets";
  first->m_articles.SetBit(2, TRUE, FALSE, 0, 0);
  folders.Add(first);
  ASSERT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  const std::string old = Bytes(Path());
  auto* second = new CFolder(articles.ArticleCount());
  second->m_name = "Missions";
  second->m_articles.SetBit(4, TRUE, FALSE, 0, 0);
  folders.Add(second);
  At(FindOrAddBookmark(bookmarks, 3)).m_noteTexts.Add("a note");
  At(0).m_notePositions.Add(12);
  At(FindOrAddBookmark(bookmarks, 4)).m_highlightStarts.Add(1);
  At(1).m_highlightEnds.Add(5);
  const std::string fresh = dir.File("fresh.dat");
  ASSERT_TRUE(SaveBookmarkFile(fresh.c_str(), folders, bookmarks, articles));
  const std::size_t size = Bytes(fresh).size();
  const auto save = [&] { return SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles) != FALSE; };

  // Every write failing from each byte on: FALSE, the old file whole.
  for (std::size_t limit = 0; limit < size; ++limit) {
    dir.Write("Bookmark.dat", old);
    bool saved;
    {
      const FileSizeLimit bytes(limit);
      saved = save();
    }
    EXPECT_FALSE(saved) << limit;
    EXPECT_EQ(Bytes(Path()), old) << "failed after " << limit << " of " << size << " bytes";
    EXPECT_FALSE(std::filesystem::exists(Path() + ".new")) << limit;
  }
  // Killed at the first byte, in the middle and one byte short.
  for (std::size_t limit : {std::size_t{0}, size / 2, size - 1}) {
    dir.Write("Bookmark.dat", old);
    EXPECT_EQ(RunWriterKilledAt(limit, save), WriterEnd::Killed) << limit;
    EXPECT_EQ(Bytes(Path()), old) << "killed after " << limit << " bytes";
  }
  EXPECT_EQ(RunWriterKilledAt(size, save), WriterEnd::Finished);
  EXPECT_EQ(Bytes(Path()), Bytes(fresh));
}
#endif

TEST_F(Bookmarks, LongNoteTextStaysReadable) {
  Articles articles(4, {});
  FindOrAddBookmark(bookmarks, 2);
  At(0).m_noteTexts.Add(CString(std::string(70000, 'n').c_str()));
  At(0).m_notePositions.Add(1);
  ASSERT_TRUE(SaveBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ResetBookmarks(folders, bookmarks);
  ASSERT_TRUE(LoadBookmarkFile(Path().c_str(), folders, bookmarks, articles));
  ASSERT_EQ(bookmarks.GetSize(), 1);
  EXPECT_EQ(At(0).m_noteTexts[0].GetLength(), 65535);
  EXPECT_EQ(At(0).m_notePositions[0], 1u);
}

}  // namespace
