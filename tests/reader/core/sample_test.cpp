// The builder's sample content, read back through the reader's classes: the
// files must agree with one another.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "content/bit_file.h"
#include "content/media_store_file.h"
#include "content/sample_content.h"
#include "content/title_index_file.h"
#include "core/bit_string.h"
#include "core/content_db.h"
#include "core/program_data.h"
#include "core/spell_hash.h"
#include "core/typematic.h"
#include "core/working_directory.h"
#include "sample/sample_set.h"
#include "temp_dir.h"

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Sample : public testing::Test {
 protected:
  void SetUp() override {
    builder::WriteContentSample(dir.path());
    SetWorkingDirectory(dir.path().c_str());
    phrases = FileBytes(dir.File("RCDATA6668.BIN"));
    RegisterProgramData(CContentDb::PhraseResourceId, reinterpret_cast<const u8*>(phrases.data()),
                        static_cast<u32>(phrases.size()));
    std::strcpy(db.m_multimediaPath, dir.path().c_str());
    std::strcpy(db.m_mmxFile, "MAROVA.MMX");
    std::strcpy(db.m_mmdFile, "MAROVA.MMD");
    std::strcpy(db.m_ctxFile, "MRVHSP.CTX");
  }
  void TearDown() override { RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0); }

  CBitString Filter(const char* name) {
    CBitString set;
    const ContentFile file = ContentOpen(dir.File(name).c_str());
    EXPECT_TRUE(set.Read(file)) << name;
    ContentClose(file);
    return set;
  }

  TempDir dir;
  const builder::ContentSample sample = builder::BuildContentSample();
  std::string phrases;
  CContentDb db;
};

TEST_F(Sample, FilterFilesNumberEveryArticleOfBothDatabases) {
  const int articles = static_cast<int>(sample.mainTitles.size() + sample.updateTitles.size());
  for (const std::string& name : builder::FilterFileNames())
    EXPECT_EQ(Filter(name.c_str()).GetBitCount(), articles) << name;
  CBitString updates = Filter("Url.bit");
  updates.Or(Filter("Updates.bit"));
  std::vector<std::uint32_t> positions;
  for (int a = updates.NextSet(1); a != -1; a = a < articles ? updates.NextSet(a + 1) : -1) positions.push_back(a);
  EXPECT_EQ(positions, sample.updateArticles);
  // Every article of the media kinds is in Mult.bit, a main-database article.
  const CBitString mult = Filter("Mult.bit");
  for (const char* kind : {"Pic.bit", "Sound.bit", "Video.bit"}) {
    CBitString set = Filter(kind);
    set.And(mult);
    EXPECT_EQ(set.GetSetCount(), Filter(kind).GetSetCount()) << kind;
  }
  EXPECT_EQ(CBitString(mult).And(updates).GetSetCount(), 0);
}

TEST_F(Sample, TitleIndexesAndSpellingHashKnowEveryTitle) {
  CTypematic main("TYPMATIC.RAM", "TYPMATIC.DSK"), update("UPDATES.RAM", "UPDATES.DSK");
  ASSERT_TRUE(main.Open());
  ASSERT_TRUE(update.Open());
  char title[TitleBufferSize];
  for (const auto& [index, titles] :
       {std::pair<CTypematic*, const std::vector<std::string>*>{&main, &sample.mainTitles},
        {&update, &sample.updateTitles}}) {
    for (int entry = 1; entry <= static_cast<int>(titles->size()); ++entry) {
      int sought = entry;
      ASSERT_EQ(index->Lookup(nullptr, title, &sought, CTypematic::ByEntry), 1);
      EXPECT_EQ(std::string(title), (*titles)[entry - 1]);
      int found = 0;
      ASSERT_EQ(index->Lookup((*titles)[entry - 1].c_str(), title, &found, CTypematic::ByText), 1);
      EXPECT_EQ(found, entry);
    }
  }
  u8* spelling = SpellHashLoad(dir.File("Spelhash.dat").c_str());
  ASSERT_NE(spelling, nullptr);
  for (const char* word : {"aardvark", "Pathfinder", "Egypt", "sonata"}) EXPECT_TRUE(SpellHashFind(spelling, word));
  SpellHashFree(spelling);
}

TEST_F(Sample, MediaItemsFollowMultAndTheirRecordsRead) {
  ASSERT_TRUE(db.OpenMediaIndex());
  ASSERT_TRUE(db.OpenMediaData());
  const CBitString mult = Filter("Mult.bit");
  const CBitString pictures = Filter("Pic.bit");
  const std::string mmx = FileBytes(dir.File("MAROVA.MMX"));
  for (int item = 0; item < mult.GetSetCount(); ++item) {
    BYTE type = 0;
    WORD sound = 0;
    CString title, path, text;
    CDWordArray related;
    ASSERT_GE(db.ReadMediaList(item, type, sound, title, related), 0) << item;
    const int article = mult.GetAt(item + 1);
    EXPECT_EQ(type == 1, pictures.Test(article) != 0) << item;
    if (type == 1) {  // packed: the header's size is the whole unpacked record
      const u8* offset = reinterpret_cast<const u8*>(mmx.data()) + 8 + 4 * item;
      BYTE header[17];
      ASSERT_EQ(db.ReadPacked(static_cast<int>(ContentU32(offset)), header, 17), 1);
      EXPECT_EQ(header[0], 1);
      std::vector<BYTE> record(ContentU32(header + 12));
      EXPECT_EQ(db.ReadPacked(static_cast<int>(ContentU32(offset)), record.data(), static_cast<int>(record.size())), 1);
    }
    EXPECT_EQ(sound == 0xFFFF || db.ReadSoundRecord(sound, path) == 1, true) << item;
    EXPECT_EQ(db.ReadSoundRecord(item, path), type == 5 ? 1 : 0) << item;
    EXPECT_EQ(db.ReadMediaFileRecord(item, path, text), type == 6 ? 1 : 0) << item;
  }
  CCategoryList list;
  ASSERT_EQ(db.ReadCategories(list), 1);
  EXPECT_EQ(list.GetCount(), 4);
  CBitString randomPictures(static_cast<int>(sample.mainTitles.size()), FALSE);
  EXPECT_EQ(db.ReadCategorySet(4, randomPictures), 1);
}

TEST_F(Sample, SubjectCategoriesAndSettingsFile) {
  CCategoryList list;
  ASSERT_EQ(db.ReadContextCategories(list), 1);
  EXPECT_EQ(std::string(list.m_titles[1]), "Science");
  CString title;
  CBitString set(static_cast<int>(sample.mainTitles.size()), FALSE);
  EXPECT_EQ(db.ReadContextSet(1, title, set), 4);
  const int astronomy = set.GetAt(1);
  WORD second = 0;
  EXPECT_EQ(db.GetEntryCategory(astronomy, &second), 1);
  EXPECT_NE(FileBytes(dir.File("SETTINGS.REG")).find("\"WorkingDirectory\"="), std::string::npos);
}

// The builder refuses content that would break the invariants between files.
TEST(ContentBuilder, RefusesFilesThatCannotAgree) {
  builder::FilterSets filters;
  filters.mainEntries = 4;
  filters.updateEntries = 2;
  filters.members["Url.bit"] = {2};
  filters.members["Updates.bit"] = {2, 5};
  EXPECT_EQ(builder::EncodeFilterFiles(filters).size(), 19u);
  filters.members["Updates.bit"] = {2};  // one update article short of the update entries
  EXPECT_THROW(builder::EncodeFilterFiles(filters), std::runtime_error);
  filters.members["Updates.bit"] = {5, 7};  // past the 6 articles
  EXPECT_THROW(builder::EncodeFilterFiles(filters), std::runtime_error);

  EXPECT_THROW(builder::BuildTitleIndex({{"Zebra", 1}, {"Aardvark", 2}}), std::runtime_error);
  EXPECT_THROW(builder::BuildTitleIndex({{"Aardvark", 2}, {"Zebra", 2}}), std::runtime_error);
  EXPECT_THROW(builder::BuildTitleIndex({{std::string(255, 'a'), 1}}), std::runtime_error);

  builder::MediaStore store;
  store.categories = {{1, "", {}}};  // the two hidden pools are missing
  EXPECT_THROW(builder::BuildMediaStore(store), std::runtime_error);
  store.categories.push_back({1, "", {}});
  store.items.push_back({{1, 5, 3, "Sound", {}}, builder::MediaFileRecord(5, "A.WAV", ""), false});
  EXPECT_THROW(builder::BuildMediaStore(store), std::runtime_error);  // its sound item does not exist
}

// One writer for each file of the sample set: written apart, no two writers
// make a file of the same name, and the set is their files together.
TEST(SampleSet, EachFileHasOneWriter) {
  std::map<std::string, std::string> writerOf;
  for (const builder::SampleWriter& writer : builder::SampleWriters()) {
    TempDir alone;
    writer.write(alone.path());
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(alone.path())) {
      const std::string name = entry.path().filename().string();
      const auto [at, added] = writerOf.emplace(name, writer.name);
      EXPECT_TRUE(added) << name << " is written by " << at->second << " and " << writer.name;
      ++files;
    }
    EXPECT_GT(files, 0) << writer.name;
  }
  TempDir whole;
  builder::WriteSampleSet(whole.path());
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(whole.path()))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names.size(), writerOf.size());
  for (const char* name : {"MAROVA.MMX", "MAROVA.MMD", "REN2F200.DAT", "QUIRN.DAT", "RENTF211.DAT", "R053F540.DAT",
                           "R052E550.DAT", "UPDATES.DAT", "SETTINGS.REG", "Back.bin", "Bookmark.dat"})
    EXPECT_EQ(names.count(name), 1u) << name;
}

}  // namespace
