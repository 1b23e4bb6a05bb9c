// Every export of the engine with the n-th of its allocations failing, for n
// = 1 up to the number the call makes, over the sample content: the call
// reports the failure (status 8 with a code, or the inflection calls' own
// failure), frees what it took once the caller ends the operation, and the
// same call works again afterwards on the same session and blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "packed.h"
#include "re_block_registry.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_rank.h"
#include "sample_suite.h"
#include "temp_dir.h"
#include "zorlre32.h"

namespace {

// One call of an export, how the caller ends what it began, and where the
// call reports.
struct Call {
  std::string name;
  std::function<u32()> run;
  std::function<void()> release = [] {};
  std::function<const ReStatusBlock*()> status = [] { return nullptr; };  // none: REmemory and inflection
  // Where the engine makes the failure a warning: subsets that cannot be
  // applied (-470 at REdb 460, which returns 0), a hit table the ranked query
  // cannot have (-352) and a ranking without memory (no results, 4).
  bool failsWithWarning = false;
};

// The sample content with a session and three databases open: the
// encyclopedia, the French-English dictionary and the thesaurus.
class Sweep : public SampleSuite {
 protected:
  void SetUp() override {
    session_ = Make<ReAppBlock>(ReBlockApp, nullptr);
    ASSERT_EQ(REapp(session_, 100, ReActOpen), ReDone);
    main_ = Open("REN2F200.DAT");
    dictionary_ = Open("R053F540.DAT");
    thesaurus_ = Open("QUIRN.DAT");
  }
  void TearDown() override {
    for (auto& [block, type] : blocks_) {
      void* pointer = block;
      REmemory(&pointer, nullptr, type, ReActClose, 0);
    }
    for (ReDbBlock* db : {thesaurus_, dictionary_, main_}) {
      REdb(db, 100, ReActClose);
      void* pointer = db;
      REmemory(&pointer, nullptr, ReBlockDb, ReActClose, 0);
    }
    REapp(session_, 100, ReActClose);
    void* pointer = session_;
    REmemory(&pointer, nullptr, ReBlockApp, ReActClose, 0);
    EXPECT_EQ(ReLiveAllocations(), 0);
    EXPECT_EQ(ReLiveBlockCount(), 0u);
  }

  template <class Block>
  Block* Make(u16 type, void* parent, u16 count = 0) {
    void* block = nullptr;
    EXPECT_EQ(REmemory(&block, parent, type, ReActOpen, count), ReDone) << type;
    if (type != ReBlockApp && type != ReBlockDb) blocks_.push_back({block, type});
    return static_cast<Block*>(block);
  }
  void Free(void* block, u16 type) {
    std::erase_if(blocks_, [&](const auto& made) { return made.first == block; });
    EXPECT_EQ(REmemory(&block, nullptr, type, ReActClose, 0), ReDone) << type;
  }
  ReDbBlock* Open(const char* name) {
    auto* db = Make<ReDbBlock>(ReBlockDb, session_);
    specs_.push_back(std::make_unique<ReFileSpec>(ReFileSpec{dir_->path().c_str(), name}));
    db->fileSpec = specs_.back().get();
    db->optionMask = 128;
    EXPECT_EQ(REdb(db, 100, ReActOpen), ReDone) << name;
    return db;
  }

  // The sweep: a first run makes what a database or handle keeps between
  // calls (built on first use, freed when it closes); then a reference run,
  // then one run for each allocation it made.
  void Run(const Call& call) {
    call.run();
    call.release();
    const i32 live = ReLiveAllocations();
    const u32 before = ReAllocationCount();
    const u32 reference = call.run();
    const u32 made = ReAllocationCount() - before;
    call.release();
    ASSERT_EQ(ReLiveAllocations(), live) << call.name << " keeps memory without any failure";
    for (u32 n = 1; n <= made; ++n) {
      ReFailAllocationAfter(n);
      const u32 result = call.run();
      ReFailAllocationAfter(0);
      const ReStatusBlock* status = call.status();
      if (call.failsWithWarning) {
        EXPECT_TRUE(result != ReDone || (status && PACKED(status->status) != ReDone))
            << call.name << ": allocation " << n << " of " << made << " failed unnoticed";
      } else {
        EXPECT_NE(result, ReDone) << call.name << ": allocation " << n << " of " << made << " failed unnoticed";
        if (status) {
          EXPECT_EQ(PACKED(status->status), ReFail) << call.name << ": allocation " << n;
          EXPECT_TRUE(PACKED(status->error) != 0 || PACKED(status->handleError) != 0)
              << call.name << ": allocation " << n << " failed without a code";
        }
      }
      call.release();
      // The session, the database and the blocks still serve the same call,
      // and the failure left nothing behind.
      EXPECT_EQ(call.run(), reference) << call.name << " after allocation " << n;
      call.release();
      EXPECT_EQ(ReLiveAllocations(), live) << call.name << ": allocation " << n << " of " << made;
      if (::testing::Test::HasFailure()) return;  // one report a call is enough
    }
  }

  ReAppBlock* session_ = nullptr;
  ReDbBlock *main_ = nullptr, *dictionary_ = nullptr, *thesaurus_ = nullptr;
  std::vector<std::unique_ptr<ReFileSpec>> specs_;
  std::vector<std::pair<void*, u16>> blocks_;
};

template <class Block>
std::function<const ReStatusBlock*()> StatusOf(Block* block) {
  return [block] { return PACKED(block->status); };
}

TEST_F(Sweep, SessionsAndDatabases) {
  void* app = nullptr;
  Run({"REmemory 470 of a session block", [&] { return REmemory(&app, nullptr, ReBlockApp, ReActOpen, 0); },
       [&] { REmemory(&app, nullptr, ReBlockApp, ReActClose, 0); }});
  auto* session = Make<ReAppBlock>(ReBlockApp, nullptr);
  Run({"REapp 470", [&] { return REapp(session, 100, ReActOpen); }, [&] { REapp(session, 100, ReActClose); },
       StatusOf(session)});
  ASSERT_EQ(REapp(session, 100, ReActOpen), ReDone);
  auto* db = Make<ReDbBlock>(ReBlockDb, session);
  const ReFileSpec spec{dir_->path().c_str(), "REN2F200.DAT"};
  db->fileSpec = &spec;
  db->optionMask = 128;
  // A file of its own, and a second handle on a file already open.
  Run({"REdb 470", [&] { return REdb(db, 100, ReActOpen); }, [&] { REdb(db, 100, ReActClose); }, StatusOf(db)});
  const ReFileSpec dictionary{dir_->path().c_str(), "R053F540.DAT"};
  db->fileSpec = &dictionary;
  Run({"REdb 470 of an open file", [&] { return REdb(db, 100, ReActOpen); }, [&] { REdb(db, 100, ReActClose); },
       StatusOf(db)});
  REapp(session, 100, ReActClose);
  void* pointer = db;
  REmemory(&pointer, nullptr, ReBlockDb, ReActClose, 0);
  pointer = session;
  REmemory(&pointer, nullptr, ReBlockApp, ReActClose, 0);
}

TEST_F(Sweep, BlocksOfEveryType) {
  void* dbBlock = nullptr;
  Run({"REmemory 470 of a database block", [&] { return REmemory(&dbBlock, session_, ReBlockDb, ReActOpen, 0); },
       [&] { REmemory(&dbBlock, nullptr, ReBlockDb, ReActClose, 0); }});
  for (u16 type : {ReBlockIdxList, ReBlockEntList, ReBlockEntry, ReBlockToken, ReBlockSearch, ReBlockStrTab,
                   ReBlockSubset, ReBlockEtPar}) {
    void* block = nullptr;
    Run({"REmemory 470 of type " + std::to_string(type),
         [&] { return REmemory(&block, dictionary_, type, ReActOpen, 0); },
         [&] { REmemory(&block, nullptr, type, ReActClose, 0); }});
  }
  // A re-size for another database and count: a failure frees the block.
  for (u16 type : {ReBlockIdxList, ReBlockEntList, ReBlockEntry, ReBlockToken, ReBlockSearch, ReBlockStrTab}) {
    void* block = nullptr;
    Run({"REmemory 460 of type " + std::to_string(type),
         [&] {
           if (REmemory(&block, main_, type, ReActOpen, 0) != ReDone) return u32{ReFail};
           return REmemory(&block, dictionary_, type, ReActReset, 7);
         },
         [&] {
           if (block) REmemory(&block, nullptr, type, ReActClose, 0);
           block = nullptr;
         }});
  }
}

TEST_F(Sweep, WordLists) {
  auto* list = Make<ReIdxListBlock>(ReBlockIdxList, main_);
  const auto call = [&](u16 function, u16 action, const char* word) {
    list->handle = main_->handle;
    std::strcpy(list->word, word);
    return REidxlst(list, function, action);
  };
  Run({"REidxlst 210 (a known word)", [&] { return call(210, ReActOpen, "comet"); }, [] {}, StatusOf(list)});
  Run({"REidxlst 210 (alternatives)", [&] { return call(210, ReActOpen, "komet"); }, [] {}, StatusOf(list)});
  Run({"REidxlst 250 (wildcard pages)",
       [&] {
         const u32 result = call(250, ReActOpen, "*o*");
         return result == ReDone ? call(250, ReActNext, "") : result;
       },
       [&] { call(250, ReActClose, ""); }, StatusOf(list)});
  list->minimumLength = 3;
  Run({"REidxlst 120 (anagrams)", [&] { return call(120, ReActOpen, "tomec"); }, [] {}, StatusOf(list)});
  Run({"REidxlst 180 (neighbours)", [&] { return call(180, ReActOpen, "star"); }, [] {}, StatusOf(list)});
  list->featureMask[0] = 1;
  list->wordClass = 1;
  Run({"REidxlst 150 (derived forms)", [&] { return call(150, ReActOpen, "comets"); }, [] {}, StatusOf(list)});
}

TEST_F(Sweep, SubsetsAndTheSubsetOfAnEntry) {
  // A database of sections with stored bits, its subsets applied and the
  // subset of an entry asked.
  TempDir dir;
  builder::engine_db::Database database = enginetest::SmallDatabase();
  enginetest::AddSubsets(database, {enginetest::SubsetNode(10, 0, 16, 1, 20, std::vector<u32>{3, 5, 12}),
                                    enginetest::SubsetNode(20, 0, 16, 21, 40, std::vector<u32>{21, 30}, true)});
  const ReFileSpec spec{dir.path().c_str(), "SUBSETS.DAT"};
  enginetest::WriteDatabase(dir, database, spec.fileName);
  auto* db = Make<ReDbBlock>(ReBlockDb, session_);
  db->fileSpec = &spec;
  db->optionMask = 128;
  ASSERT_EQ(REdb(db, 100, ReActOpen), ReDone);
  Run({"REdb 460 (subsets)",
       [&] {
         db->selection[0] = 1;
         return REdb(db, 100, ReActReset);
       },
       [] {}, StatusOf(db), true});
  auto* entry = Make<ReEntryBlock>(ReBlockEntry, db);
  auto* tokens = Make<ReTokenBlock>(ReBlockToken, db);
  Run({"REentry 160",
       [&] {
         entry->handle = db->handle;
         entry->entry = 30;
         return REentry(entry, 160, ReActOpen);
       },
       [] {}, StatusOf(entry)});
  Run({"REtoken 160",
       [&] {
         tokens->handle = db->handle;
         tokens->entry = 5;
         return REtoken(tokens, 160, ReActOpen);
       },
       [] {}, StatusOf(tokens)});
  Free(entry, ReBlockEntry);
  Free(tokens, ReBlockToken);
  REdb(db, 100, ReActClose);
  void* pointer = db;
  REmemory(&pointer, nullptr, ReBlockDb, ReActClose, 0);
}

TEST_F(Sweep, EntryListsStringsAndParses) {
  auto* entries = Make<ReEntListBlock>(ReBlockEntList, dictionary_);
  const auto lookup = [&](const char* word) {
    entries->handle = dictionary_->handle;
    std::strcpy(entries->word, word);
    entries->matchMode = 1;
    return REentlst(entries, 240, ReActOpen);
  };
  Run({"REentlst 240", [&] { return lookup("chanter"); }, [&] { REentlst(entries, 240, ReActClose); },
       StatusOf(entries)});
  auto* pages = Make<ReEntListBlock>(ReBlockEntList, dictionary_, 1);
  Run({"REentlst 230 (pages)",
       [&] {
         pages->handle = dictionary_->handle;
         std::strcpy(pages->word, "ch");
         pages->matchMode = 2;
         u32 result = REentlst(pages, 230, ReActOpen);
         while (result == ReDone) result = REentlst(pages, 230, ReActNext);
         return result;
       },
       [&] { REentlst(pages, 230, ReActClose); }, StatusOf(pages)});
  auto* strings = Make<ReStrTabBlock>(ReBlockStrTab, dictionary_);
  Run({"REstrtab 110",
       [&] {
         strings->handle = dictionary_->handle;
         strings->optionMask = 128;
         strings->firstKey = 1;
         return REstrtab(strings, 110, ReActOpen);
       },
       [] {}, StatusOf(strings)});
  ASSERT_EQ(lookup("chanter"), ReDone);
  auto* parse = Make<ReEtParBlock>(ReBlockEtPar, dictionary_);
  const auto run = [&](u16 function) {
    parse->databaseRecord = dictionary_;
    parse->word = entries->word;
    parse->slots = entries->slots;
    parse->slotCount = static_cast<i16>(entries->count);
    parse->currentSlot = 0;
    return REetpar(parse, function, ReActOpen);
  };
  Run({"REetpar 500", [&] { return run(500); }, [&] { REetpar(parse, 500, ReActClose); }, StatusOf(parse)});
  Run({"REetpar 510", [&] { return run(510); }, [&] { REetpar(parse, 510, ReActClose); }, StatusOf(parse)});
}

TEST_F(Sweep, EntryTextTokensAndSearches) {
  auto* entry = Make<ReEntryBlock>(ReBlockEntry, main_, 80);
  Run({"REentry 145",
       [&] {
         entry->handle = main_->handle;
         entry->entry = 2;
         u32 result = REentry(entry, 145, ReActOpen);
         while (result == ReDone) result = REentry(entry, 145, ReActNext);
         return result;
       },
       [&] { REentry(entry, 145, ReActClose); }, StatusOf(entry)});
  auto* tokens = Make<ReTokenBlock>(ReBlockToken, main_, 40);
  Run({"REtoken 495",
       [&] {
         tokens->handle = main_->handle;
         tokens->entry = 2;
         u32 result = REtoken(tokens, 495, ReActOpen);
         while (result == ReDone) result = REtoken(tokens, 495, ReActNext);
         return result;
       },
       [&] { REtoken(tokens, 495, ReActClose); }, StatusOf(tokens)});
  auto* synonyms = Make<ReTokenBlock>(ReBlockToken, thesaurus_);
  Run({"REtoken 495 (thesaurus)",
       [&] {
         synonyms->handle = thesaurus_->handle;
         synonyms->entry = 1;
         return REtoken(synonyms, 495, ReActOpen);
       },
       [&] { REtoken(synonyms, 495, ReActClose); }, StatusOf(synonyms)});
  auto* search = Make<ReSearchBlock>(ReBlockSearch, main_, 4);
  for (u16 function : {u16{145}, u16{220}}) {
    Run({"REsearch " + std::to_string(function),
         [&] {
           search->handle = main_->handle;
           std::strcpy(search->query, "comet OR (star NEAR planet)");
           u32 result = REsearch(search, function, ReActOpen);
           while (result == ReDone && search->hitCount == search->slotCount)
             result = REsearch(search, function, ReActNext);
           return result;
         },
         [&] { REsearch(search, function, ReActClose); }, StatusOf(search)});
  }
}

TEST_F(Sweep, RankedQueries) {
  auto* search = Make<ReSearchBlock>(ReBlockSearch, main_);
  search->handle = main_->handle;
  char comet[] = "comet", star[] = "star";
  char* terms[] = {comet, star};
  float idf[2] = {}, weights[2] = {1, 1};
  ReRankRecord rank{};
  rank.termCount = 2;
  rank.termTexts = terms;
  rank.idf = idf;
  rank.weights = weights;
  u32 table = 0, count = 0;
  Run({"REconqry 470, REcontable, REconqry 480",
       [&] {
         const u32 result = REconqry(main_, &rank, search, 1, ReActOpen);
         if (result == ReFail) return result;
         REcontable(main_, &table, &count);
         return REconqry(main_, &rank, search, 2, ReActClose);
       },
       [&] { REconqry(main_, &rank, search, 2, ReActClose); }, StatusOf(search), true});
}

TEST_F(Sweep, Inflection) {
  auto forms = std::make_unique<InFormContext>();
  Run({"INinitX, INinflectX",
       [&] {
         if (INinitX(16, forms.get(), dir_->path().c_str()) != InFormsFound) return u32{InInitFailed};
         forms->lemmaLookup = 1;
         return INinflectX("walked", forms.get());
       },
       [&] { INtermX(forms.get()); }});
  auto tables = std::make_unique<InTableContext>();
  std::strcpy(tables->ramDirectory, dir_->path().c_str());
  std::strcpy(tables->dskDirectory, dir_->path().c_str());
  char ram[] = "infrb005.ram", dsk[] = "infrb005.dsk";
  tables->ramName = ram;
  tables->dskName = dsk;
  Run({"INinit, INflect",
       [&] {
         if (INinit(tables.get()) != InFormsFound) return u32{InInitFailed};
         tables->mode = InModeReady;
         tables->labelLanguage = InFrench;
         return INflect("aimer", tables.get());
       },
       [&] { INterm(tables.get()); }});
}

}  // namespace
