// The reader's file readers that allocate, over the sample content, with the
// n-th allocation failing for n = 1 up to the number a read makes: first
// those of the framework (strings, arrays, objects), whose failure is the
// framework's memory exception, then those of the engine's allocator, whose
// failure the reader reports. Either way the read leaves nothing allocated
// and no file open, and the same read works again afterwards.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "content/media_phrases.h"
#include "core/bookmarks.h"
#include "core/content_db.h"
#include "core/program_data.h"
#include "core/spell_hash.h"
#include "core/typematic.h"
#include "core/working_directory.h"
#include "re_platform.h"
#include "sample_suite.h"
#include "temp_dir.h"

namespace {

int OpenFileCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (const dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
    closedir(dir);
  }
  return count;
}

// The sample's articles as the bookmark records see them: all of database 1.
class SampleArticles : public BookmarkArticles {
 public:
  SampleArticles() : main_(kCount, FALSE) {
    main_.SetRange(1, kCount, TRUE);
    numbering_.Build(CBitString(kCount, FALSE));
  }
  int ArticleCount() const override { return kCount; }
  int MainEntryCount() const override { return kCount; }
  int UpdateEntryCount() const override { return 0; }
  const CBitString& MainArticles() const override { return main_; }
  const ArticleNumbering& Numbering() const override { return numbering_; }
  bool UpdateTitle(int, char*) override { return false; }
  int FindUpdateTitle(const char*) override { return 0; }

 private:
  static constexpr int kCount = 64;
  CBitString main_;
  ArticleNumbering numbering_;
};

class ReaderAllocations : public SampleSuite {
 protected:
  void SetUp() override {
    SetWorkingDirectory(dir_->path().c_str());
    const builder::Bytes& phrases = builder::MediaPhraseResource();
    RegisterProgramData(CContentDb::PhraseResourceId, phrases.data(), static_cast<u32>(phrases.size()));
  }
  void TearDown() override { RegisterProgramData(CContentDb::PhraseResourceId, nullptr, 0); }

  // `read` returns what it read as text (empty: it failed); `release` undoes it.
  void Sweep(const std::string& name, const std::function<std::string()>& read, const std::function<void()>& release) {
    const int files = OpenFileCount();
    const int framework = AfxLiveAllocations();
    const i32 engine = ReLiveAllocations();
    const UINT frameworkBefore = AfxAllocationCount();
    const u32 engineBefore = ReAllocationCount();
    const std::string reference = read();
    const UINT frameworkMade = AfxAllocationCount() - frameworkBefore;
    const u32 engineMade = ReAllocationCount() - engineBefore;
    release();
    ASSERT_FALSE(reference.empty()) << name << " reads nothing of the sample";
    ASSERT_EQ(AfxLiveAllocations(), framework) << name;
    ASSERT_EQ(ReLiveAllocations(), engine) << name;
    for (int allocator = 0; allocator < 2; ++allocator) {
      const u32 made = allocator == 0 ? frameworkMade : engineMade;
      for (u32 n = 1; n <= made; ++n) {
        bool threw = false;
        std::string result;
        if (allocator == 0) AfxFailAllocationAfter(n);
        if (allocator == 1) ReFailAllocationAfter(n);
        try {
          result = read();
        } catch (CMemoryException* e) {
          e->Delete();
          threw = true;
        }
        AfxFailAllocationAfter(0);
        ReFailAllocationAfter(0);
        const std::string where = name + (allocator == 0 ? ": framework" : ": engine") + " allocation " +
                                  std::to_string(n) + " of " + std::to_string(made);
        // A framework failure raises the exception; the engine allocator's
        // is a failed read. Nothing passes for a whole read.
        if (allocator == 1) {
          EXPECT_FALSE(threw) << where;
        }
        EXPECT_TRUE(threw || result != reference) << where << " failed unnoticed";
        release();
        EXPECT_EQ(AfxLiveAllocations(), framework) << where;
        EXPECT_EQ(ReLiveAllocations(), engine) << where;
        EXPECT_EQ(OpenFileCount(), files) << where;
        EXPECT_EQ(read(), reference) << where << ": the next read";
        release();
        if (HasFailure()) return;
      }
    }
  }
};

TEST_F(ReaderAllocations, Bookmarks) {
  SampleArticles articles;
  CObArray folders, bookmarks;
  const std::string path = dir_->File("Bookmark.dat");
  Sweep(
      "Bookmark.dat",
      [&] {
        if (!LoadBookmarkFile(path.c_str(), folders, bookmarks, articles)) return std::string();
        std::string text;
        for (int i = 0; i < folders.GetSize(); ++i)
          text += static_cast<const char*>(static_cast<CFolder*>(folders[i])->m_name);
        return text + std::to_string(bookmarks.GetSize());
      },
      [&] { ResetBookmarks(folders, bookmarks); });
}

TEST_F(ReaderAllocations, TitleIndexSpellingHashAndBitSets) {
  CTypematic titles("TYPMATIC.RAM", "TYPMATIC.DSK");
  Sweep(
      "title index",
      [&] {
        if (!titles.Open()) return std::string();
        char title[TitleBufferSize];
        int entry = 0;
        return titles.Lookup("comet", title, &entry, CTypematic::ByText) ? std::string(title) : std::string();
      },
      [&] { titles.Close(); });
  u8* table = nullptr;
  Sweep(
      "Spelhash.dat", [&] { return (table = SpellHashLoad(WorkingPath("Spelhash.dat").c_str())) ? "loaded" : ""; },
      [&] {
        SpellHashFree(table);
        table = nullptr;
      });
  CBitString set;
  Sweep(
      "Mrv.bit",
      [&] {
        const ContentFile file = ContentOpen(WorkingPath("Mrv.bit").c_str());
        const ContentFileGuard closer(file);
        return set.Read(file) ? std::to_string(set.GetSetCount()) : std::string();
      },
      [&] { set.Resize(0); });
}

TEST_F(ReaderAllocations, MediaStoreAndCategories) {
  CContentDb db;
  std::strcpy(db.m_multimediaPath, dir_->path().c_str());
  std::strcpy(db.m_mmxFile, "MAROVA.MMX");
  std::strcpy(db.m_mmdFile, "MAROVA.MMD");
  std::strcpy(db.m_ctxFile, "MRVHSP.CTX");
  CCategoryList list;
  CBitString set(64, FALSE);
  Sweep(
      "media categories and items",
      [&] {
        if (!db.OpenMediaIndex() || !db.ReadCategories(list) || !db.ReadCategorySet(1, set)) return std::string();
        BYTE type;
        WORD sound;
        CString title;
        CDWordArray related;
        if (db.ReadMediaList(0, type, sound, title, related) < 0) return std::string();
        return std::to_string(list.m_titles.GetSize()) + std::to_string(set.GetSetCount()) +
               static_cast<const char*>(title);
      },
      [&] {
        db.CloseMediaFiles();
        list.RemoveAll();
      });
  Sweep(
      "subject categories",
      [&] {
        CString title;
        if (!db.ReadContextCategories(list) || !db.ReadContextSet(1, title, set)) return std::string();
        return std::to_string(list.m_titles.GetSize()) + static_cast<const char*>(title);
      },
      [&] {
        db.CloseMediaFiles();
        list.RemoveAll();
      });
}

}  // namespace
