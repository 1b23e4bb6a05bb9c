// REentlst over built dictionaries: headword lookups with their spellings,
// match modes, merged hits, titles, the term analysis, full lists, and the
// pages of a subset.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine_db/lists_samples.h"
#include "lists_fixture.h"
#include "packed.h"
#include "re_handles.h"
#include "re_lists_codes.h"
#include "re_platform.h"

namespace {

using namespace liststest;
namespace edb = builder::engine_db;

class English : public ::testing::Test {
 protected:
  ListsDb db_{edb::DictionaryDatabase(edb::EnglishDictionary())};
};

TEST_F(English, HeadwordWithItsTitleClassAndFeatures) {
  ASSERT_EQ(db_.Lookup("cats"), ReDone);
  EXPECT_EQ(db_.Slots(), (std::vector<Slot>{{1, "cat", edb::kClassNoun, 1u << edb::kFeaturePlural}}));
  EXPECT_EQ(PACKED(db_.listStatus().status), 0u);
}

TEST_F(English, SameEntryAndWordMergeIntoOneSlot) {
  ASSERT_EQ(db_.Lookup("run"), ReDone);
  const u32 mask = (1u << edb::kFeaturePresent) | (1u << edb::kFeatureParticiple);
  EXPECT_EQ(db_.Slots(), (std::vector<Slot>{{4, "run", edb::kClassVerb, mask}}));
}

TEST_F(English, HomographsFillASlotEach) {
  ASSERT_EQ(db_.Lookup("bass"), ReDone);
  // Titles are cut from the entries: the homograph number in parentheses.
  EXPECT_EQ(db_.Slots(), (std::vector<Slot>{{2, "bass (1)", 1, 0}, {3, "bass (2)", 1, 0}}));
}

TEST_F(English, SpellingsTried) {
  // Lower-cased, with a period appended, hyphens as blanks and removed.
  ASSERT_EQ(db_.Lookup("CAT"), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{1});
  ASSERT_EQ(db_.Lookup("etc"), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{9});
  ASSERT_EQ(db_.Lookup("e mail"), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{8});
  ASSERT_EQ(db_.Lookup("E-Mail"), ReDone);
  // Both spellings lead to entry 8: the later one adds to its slot.
  EXPECT_EQ(db_.Slots(), (std::vector<Slot>{{8, "e-mail", edb::kClassNoun, 0}}));
}

TEST_F(English, MatchModesCompareCapitals) {
  ASSERT_EQ(db_.Lookup("polish", 1), ReDone);
  EXPECT_EQ(db_.Entries(), (std::vector<u32>{6, 7}));
  ASSERT_EQ(db_.Lookup("polish", 2), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{7});
  ASSERT_EQ(db_.Lookup("Polish", 2), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{6});
  // Mode 3: a hit at least as capitalised as the typed word.
  ASSERT_EQ(db_.Lookup("polish", 3), ReDone);
  EXPECT_EQ(db_.Entries(), (std::vector<u32>{6, 7}));
  ASSERT_EQ(db_.Lookup("Polish", 3), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{6});
  ASSERT_EQ(db_.Lookup("nasa", 3), ReDone);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{10});
  ASSERT_EQ(db_.Lookup("Nasa", 2), ReWarn);  // class 1 against the hit's class 2
}

TEST_F(English, UnsetMatchModeTakesEveryHit) {
  ASSERT_EQ(db_.Lookup("polish", 0), ReDone);
  EXPECT_EQ(db_.Entries(), (std::vector<u32>{6, 7}));
}

TEST_F(English, UnknownMatchModeTakesNothing) {
  EXPECT_EQ(db_.Lookup("cat", 9), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().handleError), ReErrMatchMode);
  EXPECT_EQ(PACKED(db_.list()->count), 0);
}

TEST_F(English, TermAnalysisFindsTheBaseForm) {
  ASSERT_EQ(db_.Lookup("walked"), ReDone);
  EXPECT_EQ(db_.Slots(), (std::vector<Slot>{{11, "walk", edb::kClassVerb, 1u << edb::kFeaturePresent}}));
  // An ending the hash knows, but no such base form.
  EXPECT_EQ(db_.Lookup("zorbed"), ReWarn);
  EXPECT_EQ(PACKED(db_.listStatus().warning), ReCodeNoBaseForm);
  EXPECT_EQ(PACKED(db_.listStatus().module), ReModTermAnalysis);
  // No known ending at all.
  EXPECT_EQ(db_.Lookup("zorbx"), ReWarn);
  EXPECT_EQ(PACKED(db_.listStatus().warning), ReCodeNoBaseForm);
}

TEST_F(English, RefusedWords) {
  EXPECT_EQ(db_.Lookup(""), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrHeadwordEmpty);
  EXPECT_EQ(db_.Lookup(std::string(db_.db().block()->longestWord + 1, 'a')), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrHeadwordLong);
  EXPECT_EQ(db_.Lookup("ca*"), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrHeadwordWildcard);
  EXPECT_EQ(db_.Lookup("c?t"), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrHeadwordWildcard);
}

TEST_F(English, FrameCodes) {
  EXPECT_EQ(REentlst(nullptr, 240, ReActOpen), ReFail);
  EXPECT_EQ(REentlst(db_.list(), 250, ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrFunction);
  EXPECT_EQ(PACKED(db_.listStatus().module), ReModEntList);
  // 240 with 480 is refused and changes nothing else.
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  EXPECT_EQ(REentlst(db_.list(), 240, ReActClose), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrAction);
  EXPECT_EQ(db_.Entries(), std::vector<u32>{1});
  EXPECT_EQ(REentlst(db_.list(), 230, ReActReset), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrAction);
  // A lock that fails.
  const u16 handle = db_.list()->handle;
  db_.list()->handle = 0;
  EXPECT_EQ(db_.Lookup("cat"), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrLock);
  db_.list()->handle = handle;
  // A block made for another database: its slots' title buffers hold that
  // database's longest line, so it is refused rather than overrun.
  db_.list()->databaseId += 1;
  EXPECT_EQ(db_.Lookup("cat"), ReFail);
  EXPECT_EQ(PACKED(db_.listStatus().error), ReErrSelectionDb);
  db_.list()->databaseId -= 1;
}

u32 calls, last;
i32 RE_CALL CountCalls(u32 done, u32 total) {
  ++calls;
  last = done == 0x7FFFFFFF && total == 0x7FFFFFFF ? 1 : 0;
  return 0;
}
i32 RE_CALL StopBlockReads(u32 done, u32) { return done == 0x7FFFFFFF ? 0 : 1; }
i32 RE_CALL StopThirdCall(u32 done, u32 total) { return ++calls == 3 && done == 2 && total == 8; }

TEST_F(English, ProgressCallbackSeesTheEnd) {
  calls = last = 0;
  db_.db().block()->progress = CountCalls;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  EXPECT_GE(calls, 2u);  // block reads, then the closing call
  EXPECT_EQ(last, 1u);
  db_.db().block()->progress = nullptr;
  REdb(db_.db().block(), 100, ReActReset);
}

TEST_F(English, ProgressCallbackStopsTheLookup) {
  db_.db().block()->progress = StopBlockReads;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
  EXPECT_EQ(db_.Lookup("cat"), ReWarn);
  EXPECT_EQ(PACKED(db_.listStatus().warning), ReCodeStopped);
  db_.db().block()->progress = nullptr;
  REdb(db_.db().block(), 100, ReActReset);
}

TEST(EntryLists, FullListDropsTheNextHit) {
  ListsDb db(ManyEntries("word", 301), 300);
  EXPECT_EQ(db.Lookup("word"), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnSlotsFull);
  const std::vector<Slot> slots = db.Slots();
  ASSERT_EQ(slots.size(), 300u);
  EXPECT_EQ(slots.front().title, "word (1)");
  EXPECT_EQ(slots.back().entry, 300u);
  EXPECT_EQ(slots.back().title, "word (300)");
}

TEST(EntryLists, BaseFormsThatFillEverySlotWarnAsHeadwordsDo) {
  edb::DictionarySpec spec;
  for (u32 i = 1; i <= 5; ++i) {
    spec.entries.push_back(std::string("<WD>word<UP>") + std::to_string(i) + "</UP>");
    spec.headwords.push_back({"word", i, 0, 0});
  }
  spec.entries.push_back("<WD>wordsmith");
  spec.headwords.push_back({"wordsmith", 6, 0, 0});
  spec.wordHash = {"ed"};
  ListsDb db(edb::DictionaryDatabase(spec), 3);
  EXPECT_EQ(db.Lookup("worded"), ReWarn);  // through the term analysis
  EXPECT_EQ(db.Entries(), (std::vector<u32>{1, 2, 3}));
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnSlotsFull);
  EXPECT_EQ(PACKED(db.listStatus().module), ReModHeadwords);
}

TEST(EntryLists, ThesaurusMembersAreEntries) {
  edb::BuiltThesaurus thesaurus = edb::ThesaurusDatabase(edb::EnglishThesaurus());
  ListsDb db(thesaurus.database);
  ASSERT_EQ(db.Lookup("run"), ReDone);
  // One member of each ring that holds the word, titled by the word.
  const std::vector<Slot> slots = db.Slots();
  ASSERT_EQ(slots.size(), 2u);
  EXPECT_EQ(slots[0].entry, thesaurus.entries[1][0]);
  EXPECT_EQ(slots[1].entry, thesaurus.entries[2][0]);
  EXPECT_EQ(slots[0].title, "run");
  EXPECT_EQ(slots[0].wordClass + slots[1].wordClass, edb::kClassVerb + edb::kClassNoun);
  // Match mode 2 is refused on a synonym database.
  EXPECT_EQ(db.Lookup("run", 2), ReFail);
  EXPECT_EQ(PACKED(db.listStatus().error), ReErrMatchMode);
}

TEST(EntryLists, ElidedFrenchWordFoundThroughTheAnalysis) {
  ListsDb db(edb::DictionaryDatabase(edb::FrenchEnglishDictionary()));
  ASSERT_EQ(db.Lookup("l'\xE9t\xE9"), ReDone);
  EXPECT_EQ(db.Entries(), std::vector<u32>{1});
  ASSERT_EQ(db.Lookup("ch\xC2TEAU"), ReDone);  // capitals with accents
  EXPECT_EQ(db.Entries(), std::vector<u32>{3});
  EXPECT_EQ(db.Slots()[0].title, "ch\xE2teau");
}

// Entries 1 .. count in two selectable subsets: 1 .. split and the rest.
edb::Database Paged(u32 count, u32 split) {
  edb::Database database = ManyEntries("word", count);
  edb::SubsetDef first{1, 0, 16, 1, split, std::nullopt, false};
  edb::SubsetDef rest{2, 0, 16, split + 1, count, std::nullopt, false};
  const edb::SubsetTables tables = edb::BuildSubsetTables({first, rest});
  edb::Component& text = enginetest::TextOf(database);
  text.tables.push_back(tables.definitions);
  text.fields.push_back({124, 4, tables.rawAreaSize});
  return database;
}

TEST(EntryPages, FullPageHoldsTheNextEntryOver) {
  ListsDb db(Paged(301, 150), 300);
  ASSERT_EQ(db.Page(ReActOpen), ReDone);
  std::vector<Slot> slots = db.Slots();
  ASSERT_EQ(slots.size(), 300u);
  EXPECT_EQ(slots.front(), (Slot{1, "word (1)", 0, 0}));
  EXPECT_EQ(slots.back().entry, 300u);
  ASSERT_EQ(db.Page(ReActNext), ReDone);
  EXPECT_EQ(db.Slots(), (std::vector<Slot>{{301, "word (301)", 0, 0}}));
  EXPECT_EQ(db.Page(ReActNext), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnEnded);
  EXPECT_EQ(PACKED(db.listStatus().module), ReModPages);
  EXPECT_TRUE(db.Slots().empty());
  EXPECT_EQ(db.Page(ReActClose), ReDone);
}

// The capacity is the caller's to change: a page fills the slots REmemory
// made, however many the field says.
TEST(EntryPages, CapacityAboveTheSlotsMadeIsCut) {
  ListsDb db(Paged(30, 15), 10);
  db.list()->capacity = 5000;
  ASSERT_EQ(db.Page(ReActOpen), ReDone);
  EXPECT_EQ(db.Slots().size(), 10u);
  EXPECT_EQ(db.Slots().back().entry, 10u);
}

TEST(EntryPages, SubsetOfOneEntry) {
  ListsDb db(Paged(5, 1), 10);
  ReDbBlock* block = db.db().block();
  ASSERT_EQ(PACKED(block->subsetCount), 2);
  block->selection[1] = 1;  // the rest is left out
  ASSERT_EQ(REdb(block, 100, ReActReset), ReDone);
  ASSERT_EQ(db.Page(ReActOpen), ReDone);
  EXPECT_EQ(db.Slots(), (std::vector<Slot>{{1, "word (1)", 0, 0}}));
  EXPECT_EQ(db.Page(ReActNext), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnEnded);
  // A new list starts over.
  ASSERT_EQ(db.Page(ReActOpen), ReDone);
  EXPECT_EQ(db.Entries(), std::vector<u32>{1});
}

TEST(EntryPages, RefusedCalls) {
  ListsDb db(Paged(5, 2), 10);
  EXPECT_EQ(db.Page(ReActNext), ReFail);  // no list started
  EXPECT_EQ(PACKED(db.listStatus().error), ReErrPaging);
  ReEntListSlot* slots = db.list()->slots;
  db.list()->slots = nullptr;
  EXPECT_EQ(db.Page(ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db.listStatus().error), ReErrNoSelection);
  db.list()->slots = slots;
  const u16 capacity = db.list()->capacity;
  db.list()->capacity = 0;
  EXPECT_EQ(db.Page(ReActOpen), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnSlotsFull);
  db.list()->capacity = capacity;
  db.list()->databaseId += 1;
  EXPECT_EQ(db.Page(ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db.listStatus().error), ReErrSelectionDb);
  db.list()->databaseId -= 1;

  ListsDb plain(edb::DictionaryDatabase(edb::EnglishDictionary()));
  EXPECT_EQ(plain.Page(ReActOpen), ReFail);
  EXPECT_EQ(PACKED(plain.listStatus().error), ReWarnNoSubsets);
}

TEST(EntryPages, ListHoldsTheHandleUntilItEnds) {
  ListsDb db(Paged(8, 4), 3);
  ASSERT_EQ(db.Page(ReActOpen), ReDone);
  EXPECT_EQ(db.Lookup("word"), ReFail);  // reserved for the pages
  EXPECT_EQ(PACKED(db.listStatus().handleError), ReErrHandleReserved);
  ASSERT_EQ(db.Page(ReActNext), ReDone);
  EXPECT_EQ(db.Entries(), (std::vector<u32>{4, 5, 6}));
  ASSERT_EQ(db.Page(ReActClose), ReDone);
  EXPECT_EQ(db.Lookup("word"), ReWarn);  // 8 hits, 3 slots
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnSlotsFull);
}

TEST(EntryPages, ProgressCallbackStopsTheList) {
  ListsDb db(Paged(8, 4), 5);
  calls = 0;
  db.db().block()->progress = StopThirdCall;
  ASSERT_EQ(REdb(db.db().block(), 100, ReActReset), ReDone);
  EXPECT_EQ(db.Page(ReActOpen), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReCodeStopped);
  EXPECT_EQ(db.Entries(), (std::vector<u32>{1, 2}));
  EXPECT_EQ(db.Page(ReActNext), ReWarn);
  EXPECT_EQ(PACKED(db.listStatus().warning), ReWarnEnded);
  db.db().block()->progress = nullptr;
  REdb(db.db().block(), 100, ReActReset);
}

// Whatever allocation fails, lookups and pages free what they took and leave
// the handle free.
TEST(EntryListFaults, EveryAllocationFailureUnwinds) {
  ListsDb db{edb::DictionaryDatabase(edb::EnglishDictionary())};
  ListsDb paged(Paged(30, 15), 7);
  const std::vector<std::function<void()>> calls = {
      [&] { db.Lookup("cats"); },
      [&] { db.Lookup("walked"); },  // through the term analysis
      [&] {
        paged.Page(ReActOpen);
        paged.Page(ReActNext);
      },
  };
  for (const auto& call : calls) {
    call();
    paged.Page(ReActClose);
    const i32 live = ReLiveAllocations();
    for (u32 fail = 1; fail < 24; ++fail) {
      ReFailAllocationAfter(fail);
      call();
      ReFailAllocationAfter(0);
      paged.Page(ReActClose);
      EXPECT_EQ(ReLiveAllocations(), live) << "failing allocation " << fail;
      EXPECT_EQ(db.db().node()->state, ReHandleFree) << fail;
      EXPECT_EQ(paged.db().node()->state, ReHandleFree) << fail;
    }
  }
}

}  // namespace
