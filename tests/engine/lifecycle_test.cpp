// Sessions and databases: REapp, REdb and REcontable through the engine's
// own calls, with databases made by the content builder.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "packed.h"
#include "re_database.h"

namespace {

using namespace enginetest;

TEST(Lifecycle, OpenFillsTheDatabaseBlock) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ASSERT_EQ(db.Open(dir.path(), name), ReDone);
  const ReDbBlock* b = db.block();
  EXPECT_EQ(PACKED(b->status->status), 0u);
  EXPECT_GE(PACKED(b->handle), 1);
  EXPECT_EQ(PACKED(b->session), PACKED(session.block()->session));
  EXPECT_EQ(PACKED(b->variant), 2);
  EXPECT_EQ(PACKED(b->kind), 1);
  EXPECT_EQ(PACKED(b->capabilityMask), 0x81);
  EXPECT_EQ(PACKED(b->databaseId), kDatabaseId);
  EXPECT_EQ(PACKED(b->headerWord738), 738);
  EXPECT_EQ(PACKED(b->entryCount), kEntries);
  EXPECT_EQ(PACKED(b->textWord108), 108u);
  EXPECT_EQ(PACKED(b->longestEntryText), 300);
  EXPECT_EQ(PACKED(b->longestWord), 32);
  EXPECT_EQ(PACKED(b->longestLine), 79);  // line rule "other": text word 122 + 9
  EXPECT_EQ(PACKED(b->entryListCount), 30);
  EXPECT_EQ(PACKED(b->stringTableSize), 200);
  // Variant 2 with bit 0 of the text flags: text mode 2; index flags 13: bit 4;
  // search index: bit 8.
  EXPECT_EQ(PACKED(b->features), ReFeatTextMode2 | ReFeatIndexFlags | ReFeatSearch);
  EXPECT_GT(PACKED(b->loadedBytes), 0u);
  EXPECT_EQ(PACKED(b->subsetCount), 0);
  EXPECT_EQ(PACKED(b->activeSubset), nullptr);
  EXPECT_EQ(db.work()->search->optionMask, 128);
  EXPECT_EQ(db.record()->endCode, 1u);
}

TEST(Lifecycle, SameFileTwiceSharesOneNodeAndFirstCloseKeepsTheSecond) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database first(session), second(session);
  ASSERT_EQ(first.Open(dir.path(), name), ReDone);
  const i32 live = ReLiveAllocations();
  ASSERT_EQ(second.Open(dir.path(), name), ReDone);
  EXPECT_EQ(ReDbNodeCount(), 1);
  EXPECT_EQ(ReHandleCount(), 2);
  EXPECT_NE(PACKED(first.block()->handle), PACKED(second.block()->handle));
  EXPECT_EQ(first.record(), second.record());
  // The second open loads no table: it adds only its handle and work record.
  EXPECT_LT(ReLiveAllocations() - live, 16);
  EXPECT_EQ(first.node()->database->openCount, 2);

  ASSERT_EQ(first.Close(), ReDone);
  EXPECT_EQ(ReDbNodeCount(), 1);
  EXPECT_EQ(REdb(second.block(), 100, ReActReset), ReDone);
  EXPECT_EQ(PACKED(second.block()->status->status), 0u);
  ASSERT_EQ(second.Close(), ReDone);
  EXPECT_EQ(ReDbNodeCount(), 0);
  EXPECT_EQ(ReHandleCount(), 0);
}

TEST(Lifecycle, MissingFileFailsWithNoNodesLeft) {
  TempDir dir;
  Session session;
  Database db(session);
  EXPECT_EQ(db.Open(dir.path(), "NONE.DAT"), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrDbOpen);
  EXPECT_EQ(PACKED(db.status().handleError), ReErrHandleList);
  EXPECT_EQ(PACKED(db.status().module), ReModHandles);
  EXPECT_EQ(ReDbNodeCount(), 0);
  EXPECT_EQ(ReHandleCount(), 0);
}

TEST(Lifecycle, OptionMaskRules) {
  EXPECT_TRUE(ReOptionMaskAccepted(128, 0));
  EXPECT_TRUE(ReOptionMaskAccepted(1, 0x81));
  EXPECT_TRUE(ReOptionMaskAccepted(129, 0x01));
  EXPECT_FALSE(ReOptionMaskAccepted(0, 0xFF));
  EXPECT_FALSE(ReOptionMaskAccepted(2 | 128, 0x81));  // a bit outside the mask

  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ASSERT_EQ(db.Open(dir.path(), name, 0), ReDone);  // only a warning
  EXPECT_EQ(PACKED(db.status().status), ReWarn);
  EXPECT_EQ(PACKED(db.status().warning), ReWarnOptionMask);
  EXPECT_EQ(db.work()->search->optionMask, 128);

  // 460 with a refused mask keeps the stored one.
  db.block()->optionMask = 1;
  ASSERT_EQ(REdb(db.block(), 100, ReActReset), ReDone);
  EXPECT_EQ(db.work()->search->optionMask, 1);
  db.block()->optionMask = 4;
  ASSERT_EQ(REdb(db.block(), 100, ReActReset), ReDone);
  EXPECT_EQ(PACKED(db.status().warning), ReWarnOptionMask);
  EXPECT_EQ(db.work()->search->optionMask, 1);
}

i32 RE_CALL Progress(u32, u32) { return 0; }

TEST(Lifecycle, ApplyStoresTheCallbackAndCloseTwiceWarns) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ASSERT_EQ(db.Open(dir.path(), name), ReDone);
  const u16 handle = db.block()->handle;
  db.block()->progress = &Progress;
  ASSERT_EQ(REdb(db.block(), 100, ReActReset), ReDone);
  EXPECT_EQ(db.work()->progress, &Progress);
  EXPECT_EQ(db.work()->search->progress, &Progress);

  ASSERT_EQ(db.Close(), ReDone);
  EXPECT_EQ(PACKED(db.block()->handle), 0);  // a later open may reuse the number
  db.block()->handle = handle;
  EXPECT_EQ(db.Close(), ReDone);
  EXPECT_EQ(PACKED(db.status().status), ReWarn);
  EXPECT_EQ(PACKED(db.status().warning), ReErrHandleInvalid);
}

TEST(Lifecycle, UnknownFunctionIsOnlyAWarningInAppAndDb) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ReFileSpec spec{dir.path().c_str(), name.c_str()};
  db.block()->fileSpec = &spec;
  db.block()->optionMask = 128;
  EXPECT_EQ(REdb(db.block(), 99, ReActOpen), ReDone);
  EXPECT_EQ(PACKED(db.status().status), ReWarn);
  EXPECT_EQ(PACKED(db.status().warning), ReErrFunction);
  EXPECT_EQ(PACKED(db.status().module), ReModDb);
  EXPECT_GE(PACKED(db.block()->handle), 1);

  EXPECT_EQ(REdb(db.block(), 100, 999), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrAction);

  EXPECT_EQ(REapp(session.block(), 7, 999), ReFail);
  EXPECT_EQ(PACKED(session.block()->status->error), ReErrAction);
  EXPECT_EQ(PACKED(session.block()->status->warning), ReErrFunction);
}

TEST(Lifecycle, SessionCloseClosesItsDatabasesAndIdsRestart) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  {
    Session session;
    EXPECT_EQ(PACKED(session.block()->version[0]), '2');
    EXPECT_EQ(PACKED(session.block()->capabilities[1]), 159);
    Database a(session), b(session);
    ASSERT_EQ(a.Open(dir.path(), name), ReDone);
    ASSERT_EQ(b.Open(dir.path(), name), ReDone);
    EXPECT_EQ(PACKED(b.block()->handle), 2);
    ASSERT_EQ(b.Close(), ReDone);
    ASSERT_EQ(b.Open(dir.path(), name), ReDone);
    EXPECT_EQ(PACKED(b.block()->handle), 2);  // the freed tail number again

    ASSERT_EQ(REapp(session.block(), 100, ReActClose), ReDone);
    EXPECT_EQ(ReHandleCount(), 0);
    EXPECT_EQ(ReDbNodeCount(), 0);
    EXPECT_EQ(ReSessionCount(), 0);
    // The blocks' handles are stale now: closing them only warns.
    EXPECT_EQ(a.Close(), ReDone);
    EXPECT_EQ(PACKED(a.status().warning), ReErrHandleInvalid);
    b.block()->handle = 0;
    a.block()->handle = 0;
    ASSERT_EQ(REapp(session.block(), 100, ReActOpen), ReDone);  // for the fixture's close
    // With every handle closed, numbering starts again at 1.
    a.block()->session = session.block()->session;
    ASSERT_EQ(a.Open(dir.path(), name), ReDone);
    EXPECT_EQ(PACKED(a.block()->handle), 1);
  }
  Session again;
  EXPECT_EQ(PACKED(again.block()->session), 1);
}

TEST(Lifecycle, ContableHandsOverTheConceptHits) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ASSERT_EQ(db.Open(dir.path(), name), ReDone);
  db.record()->conceptHitTable = 0x1234;
  db.record()->conceptHitCount = 7;
  u32 table = 0, count = 0;
  EXPECT_EQ(REcontable(db.block(), &table, &count), ReDone);
  EXPECT_EQ(table, 0x1234u);
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(REcontable(db.block(), nullptr, &count), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrNoSelection);
  const u16 handle = db.block()->handle;
  db.block()->handle = 77;
  EXPECT_EQ(REcontable(db.block(), &table, &count), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrLock);
  EXPECT_EQ(PACKED(db.status().module), ReModHandles);
  db.block()->handle = handle;
  EXPECT_EQ(REcontable(nullptr, &table, &count), ReFail);
}

// The small database with a table of every kind the open loads: subsets
// with raw and coded stored bits, tables 80 and 90, and index tables 240,
// 250, 280 and 310.
edb::Database DatabaseWithEveryTable() {
  edb::Database database = SmallDatabase();
  database.header.variant = 8;  // requires table 280
  const edb::SubsetTables subsets = edb::BuildSubsetTables({{10, 0, 16, 1, 20, std::nullopt, false},
                                                            {11, 1, 16, 1, 10, std::vector<u32>{1, 4, 7}, false},
                                                            {12, 1, 16, 11, 20, std::vector<u32>{11, 19}, true},
                                                            {20, 0, 16, 21, 40, std::nullopt, false}});
  edb::Component& text = TextOf(database);
  text.tables.push_back(subsets.definitions);
  text.tables.push_back(*subsets.bits);
  text.fields.push_back({124, 4, subsets.rawAreaSize});
  text.tables.push_back(edb::AutomatonTable({{0, 0x2001}}, {'a', 0, 0, 0}));
  text.tables.push_back(edb::MarkupTable({{1, 0, 1, 0}, {0, 1}, {0xFFFF}, {4097, 0xFFFF}, {0, 0x05}}));
  edb::Component& index = database.components[1];
  index.tables.push_back({240, 8, std::nullopt, builder::Bytes(16, 1)});
  index.tables.push_back({310, 2, std::nullopt, {0, 7, 1, 0}});
  index.tables.push_back({250, 1, std::nullopt, {1, 2, 3}});
  index.tables.push_back({280, 4, std::nullopt, builder::Bytes(512, 0)});
  return database;
}

// Every allocation of an open, made to fail in turn: the open fails, and
// nothing stays allocated or listed.
TEST(Lifecycle, AllocationFailuresDuringOpenUnwind) {
  for (const edb::Database& database : {SmallDatabase(), DatabaseWithEveryTable()}) {
    TempDir dir;
    const std::string name = WriteDatabase(dir, database);
    Session session;
    Database db(session);
    const u32 before = ReAllocationCount();
    ASSERT_EQ(db.Open(dir.path(), name), ReDone);
    const u32 used = ReAllocationCount() - before;
    ASSERT_GT(used, 15u);
    ASSERT_EQ(db.Close(), ReDone);
    const i32 live = ReLiveAllocations();
    for (u32 failAt = 1; failAt <= used; ++failAt) {
      ReFailAllocationAfter(failAt);
      const u32 result = db.Open(dir.path(), name);
      ReFailAllocationAfter(0);
      ASSERT_EQ(result, ReFail) << failAt;
      EXPECT_NE(PACKED(db.status().error), 0) << failAt;
      EXPECT_EQ(ReDbNodeCount(), 0) << failAt;
      EXPECT_EQ(ReHandleCount(), 0) << failAt;
      EXPECT_EQ(ReLiveAllocations(), live) << failAt;
      db.block()->handle = 0;
    }
  }
}

TEST(Lifecycle, NoSessionNoOpen) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  db.block()->session = 99;
  EXPECT_EQ(db.Open(dir.path(), name), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrDbOpen);
  db.block()->fileSpec = nullptr;
  db.block()->session = session.block()->session;
  EXPECT_EQ(REdb(db.block(), 100, ReActOpen), ReFail);
}

}  // namespace
