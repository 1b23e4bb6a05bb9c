// The engine under load, over the sample content: sessions and databases
// opened and closed a thousand times, then thousands of mixed requests with
// paging and early release. Memory stays flat (the engine's live blocks and
// the process's allocated bytes), every handle, database node, session and
// block goes, the process's open files come back to their number, and the
// engine opens the content files for reading only.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();  // AddressSanitizer's allocator
#else
#include <malloc.h>
#endif

#include "re_block_registry.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_rank.h"
#include "sample_suite.h"
#include "temp_dir.h"
#include "zorlre32.h"

namespace {

// Bytes the program has allocated and not freed (ASan keeps freed memory
// aside for a while, so the process's size would say little).
std::size_t AllocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

std::vector<int> OpenFiles() {
  std::vector<int> files;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return files;
  while (const dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') files.push_back(std::atoi(entry->d_name));
  closedir(dir);
  return files;
}

// The open files of the process that lie in `directory`, with their access modes.
std::vector<std::pair<std::string, int>> FilesIn(const std::string& directory) {
  std::vector<std::pair<std::string, int>> found;
  for (int fd : OpenFiles()) {
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) continue;
    target[length] = 0;
    if (std::string(target).rfind(directory, 0) != 0) continue;
    found.push_back({target, fcntl(fd, F_GETFL) & O_ACCMODE});
  }
  return found;
}

class Load : public SampleSuite {
 protected:
  template <class Block>
  static Block* Make(u16 type, void* parent, u16 count = 0) {
    void* block = nullptr;
    EXPECT_EQ(REmemory(&block, parent, type, ReActOpen, count), ReDone) << type;
    return static_cast<Block*>(block);
  }
  template <class Block>
  static void Free(Block* block, u16 type) {
    void* pointer = block;
    EXPECT_EQ(REmemory(&pointer, nullptr, type, ReActClose, 0), ReDone) << type;
  }

  // A session with the encyclopedia and the French-English dictionary.
  struct Opened {
    ReAppBlock* session;
    ReDbBlock* main;
    ReDbBlock* dictionary;
    ReFileSpec mainSpec, dictionarySpec;
  };
  static void Open(Opened& o) {
    o.session = Make<ReAppBlock>(ReBlockApp, nullptr);
    ASSERT_EQ(REapp(o.session, 100, ReActOpen), ReDone);
    o.mainSpec = {dir_->path().c_str(), "REN2F200.DAT"};
    o.dictionarySpec = {dir_->path().c_str(), "R053F540.DAT"};
    o.main = Make<ReDbBlock>(ReBlockDb, o.session);
    o.main->fileSpec = &o.mainSpec;
    o.main->optionMask = 128;
    ASSERT_EQ(REdb(o.main, 100, ReActOpen), ReDone);
    o.dictionary = Make<ReDbBlock>(ReBlockDb, o.session);
    o.dictionary->fileSpec = &o.dictionarySpec;
    o.dictionary->optionMask = 128;
    ASSERT_EQ(REdb(o.dictionary, 100, ReActOpen), ReDone);
  }
  static void Close(Opened& o) {
    EXPECT_EQ(REdb(o.dictionary, 100, ReActClose), ReDone);
    EXPECT_EQ(REdb(o.main, 100, ReActClose), ReDone);
    Free(o.dictionary, ReBlockDb);
    Free(o.main, ReBlockDb);
    EXPECT_EQ(REapp(o.session, 100, ReActClose), ReDone);
    Free(o.session, ReBlockApp);
  }

  void ExpectNothingLeft(const std::vector<int>& files) {
    EXPECT_EQ(ReHandleCount(), 0);
    EXPECT_EQ(ReDbNodeCount(), 0);
    EXPECT_EQ(ReSessionCount(), 0);
    EXPECT_EQ(ReLiveBlockCount(), 0u);
    EXPECT_EQ(ReLiveAllocations(), 0);
    EXPECT_EQ(OpenFiles(), files);
  }
};

TEST_F(Load, SessionsAndDatabasesOpenedAndClosedAThousandTimes) {
  const std::vector<int> files = OpenFiles();
  std::size_t settled = 0;
  for (int round = 0; round < 1000; ++round) {
    Opened o{};
    Open(o);
    if (round == 0) {
      // The content files are open for reading only.
      for (const auto& [path, mode] : FilesIn(dir_->path())) EXPECT_EQ(mode, O_RDONLY) << path;
      EXPECT_FALSE(FilesIn(dir_->path()).empty());
    }
    Close(o);
    if (HasFailure()) return;
    if (round == 99) settled = AllocatedBytes();
  }
  // Flat: what the program holds after a thousand rounds is what it held
  // after a hundred (a little slack for the test's own bookkeeping).
  EXPECT_LT(AllocatedBytes(), settled + 64 * 1024) << "grew from " << settled;
  ExpectNothingLeft(files);
}

TEST_F(Load, ThousandsOfMixedRequestsWithPagingAndEarlyRelease) {
  const std::vector<int> files = OpenFiles();
  Opened o{};
  Open(o);
  auto* list = Make<ReIdxListBlock>(ReBlockIdxList, o.main);
  auto* search = Make<ReSearchBlock>(ReBlockSearch, o.main, 2);
  auto* tokens = Make<ReTokenBlock>(ReBlockToken, o.main, 16);
  auto* entry = Make<ReEntryBlock>(ReBlockEntry, o.main, 40);
  auto* entries = Make<ReEntListBlock>(ReBlockEntList, o.dictionary, 1);
  auto* parse = Make<ReEtParBlock>(ReBlockEtPar, o.dictionary);
  auto* strings = Make<ReStrTabBlock>(ReBlockStrTab, o.dictionary);
  static const char* const kQueries[] = {"comet", "star OR planet", "(music AND history) OR sonata", "the NEAR planet",
                                         "volcano AND NOT eruption"};
  static const char* const kWords[] = {"comet", "komet", "planit", "sonata", "volcanoe", "zebra"};
  static const char* const kPatterns[] = {"c*", "*o*", "s?n*", "*"};
  char comet[] = "comet", star[] = "star";
  char* terms[] = {comet, star};
  float idf[2] = {}, weights[2] = {1, 1};
  std::minstd_rand random(7);
  std::size_t settled = 0;
  for (int request = 0; request < 3000; ++request) {
    const u32 pick = random();
    const int pages = static_cast<int>(pick % 4);  // how far the caller reads before it lets go
    switch (request % 8) {
      case 0: {
        search->handle = o.main->handle;
        std::strcpy(search->query, kQueries[pick % 5]);
        u32 result = REsearch(search, 145, ReActOpen);
        for (int page = 0; page < pages && result == ReDone; ++page) result = REsearch(search, 145, ReActNext);
        REsearch(search, 145, ReActClose);
        break;
      }
      case 1: {
        tokens->handle = o.main->handle;
        tokens->entry = 1 + pick % o.main->entryCount;
        u32 result = REtoken(tokens, 495, ReActOpen);
        for (int chunk = 0; chunk < pages && result == ReDone; ++chunk) result = REtoken(tokens, 495, ReActNext);
        REtoken(tokens, 495, ReActClose);
        break;
      }
      case 2: {
        entry->handle = o.main->handle;
        entry->entry = 1 + pick % o.main->entryCount;
        u32 result = REentry(entry, 145, ReActOpen);
        for (int piece = 0; piece < pages && result == ReDone; ++piece) result = REentry(entry, 145, ReActNext);
        REentry(entry, 145, ReActClose);
        break;
      }
      case 3:
        list->handle = o.main->handle;
        std::strcpy(list->word, kWords[pick % 6]);
        if (REidxlst(list, 210, ReActOpen) == ReWarn && pages > 1) REidxlst(list, 210, ReActNextAlt);
        break;
      case 4: {
        list->handle = o.main->handle;
        std::strcpy(list->word, kPatterns[pick % 4]);
        u32 result = REidxlst(list, 250, ReActOpen);
        for (int page = 0; page < pages && result == ReDone; ++page) result = REidxlst(list, 250, ReActNext);
        REidxlst(list, 250, ReActClose);
        break;
      }
      case 5: {
        entries->handle = o.dictionary->handle;
        std::strcpy(entries->word, pick % 2 ? "ch" : "\xE9");
        entries->matchMode = 2;
        u32 result = REentlst(entries, 230, ReActOpen);
        for (int page = 0; page < pages && result == ReDone; ++page) result = REentlst(entries, 230, ReActNext);
        REentlst(entries, 230, ReActClose);
        break;
      }
      case 6:
        entries->handle = o.dictionary->handle;
        std::strcpy(entries->word, "chanter");
        entries->matchMode = 1;
        if (REentlst(entries, 240, ReActOpen) == ReDone) {
          parse->databaseRecord = o.dictionary;
          parse->word = entries->word;
          parse->slots = entries->slots;
          parse->slotCount = static_cast<i16>(entries->count);
          parse->currentSlot = 0;
          REetpar(parse, pick % 2 ? 500 : 510, ReActOpen);
          if (pages) REetpar(parse, 500, ReActClose);  // or left for the next parse to replace
        }
        REentlst(entries, 240, ReActClose);
        strings->handle = o.dictionary->handle;
        strings->optionMask = 128;
        strings->firstKey = static_cast<u16>(pick % 3);
        REstrtab(strings, 110, ReActOpen);
        break;
      default: {
        ReRankRecord rank{};
        rank.termCount = 2;
        rank.termTexts = terms;
        rank.idf = idf;
        rank.weights = weights;
        search->handle = o.main->handle;
        if (REconqry(o.main, &rank, search, 1, ReActOpen) != ReFail && pages) {
          u32 table = 0, count = 0;
          REcontable(o.main, &table, &count);
        }
        REconqry(o.main, &rank, search, 2, ReActClose);
        break;
      }
    }
    if (request == 399) settled = AllocatedBytes();
  }
  EXPECT_LT(AllocatedBytes(), settled + 64 * 1024) << "grew from " << settled;
  REetpar(parse, 500, ReActClose);
  Free(strings, ReBlockStrTab);
  Free(parse, ReBlockEtPar);
  Free(entries, ReBlockEntList);
  Free(entry, ReBlockEntry);
  Free(tokens, ReBlockToken);
  Free(search, ReBlockSearch);
  Free(list, ReBlockIdxList);
  Close(o);
  ExpectNothingLeft(files);
}

}  // namespace
