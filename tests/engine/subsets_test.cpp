// Subsets: definitions, stored bits (raw and run-length coded), selections,
// the active entry vector and the subset of an entry.
#include <gtest/gtest.h>

#include <vector>

#include "engine_fixture.h"
#include "hand_bytes.h"
#include "packed.h"
#include "re_subsets.h"

namespace {

using namespace enginetest;

// Two sections with two parts in the first: 10 (1-20) {11 (1-10), 12 (11-20)},
// 20 (21-40). Flags 16: selectable, every value allowed.
std::vector<edb::SubsetDef> Sections() {
  return {SubsetNode(10, 0, 16, 1, 20), SubsetNode(11, 1, 16, 1, 10), SubsetNode(12, 1, 16, 11, 20),
          SubsetNode(20, 0, 16, 21, 40)};
}

std::vector<u32> Allowed(const u8* vector, u32 entries) {
  std::vector<u32> allowed;
  for (u32 e = 1; e <= entries; ++e)
    if (!vector || (vector[e / 8] >> (e % 8)) & 1) allowed.push_back(e);
  return allowed;
}

std::vector<u32> Range(u32 first, u32 last) {
  std::vector<u32> range;
  for (u32 e = first; e <= last; ++e) range.push_back(e);
  return range;
}

class Subsets : public ::testing::Test {
 protected:
  void Open(const edb::Database& database) { ASSERT_EQ(db_.Open(dir_.path(), WriteDatabase(dir_, database)), ReDone); }
  u32 Apply(std::vector<u8> selection) {
    for (std::size_t i = 0; i < selection.size(); ++i) db_.block()->selection[i] = selection[i];
    return REdb(db_.block(), 100, ReActReset);
  }
  std::vector<u32> Active() { return Allowed(db_.block()->activeSubset, db_.block()->entryCount); }

  TempDir dir_;
  Session session_;
  Database db_{session_};
};

TEST(RunLengthCode, ControlBytes) {
  u8 out[8] = {};
  const u8 copy[] = {195, 1, 2, 3};
  EXPECT_EQ(ReExpandRuns(out, 8, copy, 4), 3u);
  EXPECT_EQ(out[2], 3);
  const u8 ones[] = {131}, zeros[] = {67}, invalid[] = {10};
  EXPECT_EQ(ReExpandRuns(out, 8, ones, 1), 3u);
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(ReExpandRuns(out, 8, zeros, 1), 3u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(ReExpandRuns(out, 8, invalid, 1), 0u);
  // A run past the output, or a copy past the input, fails.
  const u8 tooLong[] = {137, 131};
  EXPECT_EQ(ReExpandRuns(out, 8, tooLong, 2), 0u);
  const u8 cut[] = {195, 1};
  EXPECT_EQ(ReExpandRuns(out, 8, cut, 2), 0u);
  // The builder's code expands back to what it coded.
  const builder::Bytes raw = {0, 0, 0, 255, 255, 7, 0, 9, 9, 255};
  const builder::Bytes coded = edb::EncodeRuns(raw);
  u8 back[10] = {};
  ASSERT_EQ(ReExpandRuns(back, 10, coded.data(), static_cast<u32>(coded.size())), 10u);
  EXPECT_EQ(builder::Bytes(back, back + 10), raw);
}

TEST_F(Subsets, SetUpListsTheSelectableSubsets) {
  edb::Database database = SmallDatabase();
  auto defs = Sections();
  defs[2].flags = 0;  // not selectable
  AddSubsets(database, defs);
  Open(database);
  const ReDbBlock* b = db_.block();
  ASSERT_EQ(PACKED(b->subsetCount), 3);
  EXPECT_EQ(PACKED(b->subsetList[1].id), 11);
  EXPECT_EQ(PACKED(b->subsetList[1].level), 1);
  EXPECT_EQ(PACKED(b->subsetList[2].id), 20);
  EXPECT_EQ(PACKED(b->selectionDatabase), kDatabaseId);
  ASSERT_NE(PACKED(b->selection), nullptr);
  EXPECT_EQ(PACKED(b->features) & ReFeatSubsets, ReFeatSubsets);
  EXPECT_EQ(PACKED(b->activeSubset), nullptr);
}

TEST_F(Subsets, SelectionsBuildTheActiveVector) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, Sections());
  Open(database);
  // All zeros over subsets that cover every entry: no vector.
  ASSERT_EQ(Apply({0, 0, 0, 0}), ReDone);
  EXPECT_EQ(PACKED(db_.status().status), 0u);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);

  // One part left out removes its entries; a section left out, its subtree.
  ASSERT_EQ(Apply({0, 1, 0, 0}), ReDone);
  EXPECT_EQ(Active(), Range(11, 40));
  ASSERT_EQ(Apply({3, 0, 0, 0}), ReDone);
  EXPECT_EQ(Active(), Range(21, 40));
  // 16 added: the subtree is left out after the node's own union, so the
  // section contributes nothing of its own.
  ASSERT_EQ(Apply({16, 0, 0, 0}), ReDone);
  EXPECT_EQ(Active(), Range(21, 40));
  // Intersection at the top: sections 10 and 20 share nothing.
  ASSERT_EQ(Apply({2, 0, 0, 2}), ReDone);
  ASSERT_NE(PACKED(db_.block()->activeSubset), nullptr);
  EXPECT_TRUE(Active().empty());
  // Intersections come first, then unions: the union adds section 20 back.
  ASSERT_EQ(Apply({2, 0, 0, 0}), ReDone);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);
  // Subtraction inside a section: part 11 minus part 12 leaves part 11.
  ASSERT_EQ(Apply({0, 0, 6, 1}), ReDone);
  EXPECT_EQ(Active(), Range(1, 10));
  // 8 added brings a left-out part back.
  ASSERT_EQ(Apply({8, 1, 0, 1}), ReDone);
  EXPECT_EQ(Active(), Range(1, 20));
}

TEST_F(Subsets, RestrictionBlockIsAnded) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, Sections());
  Open(database);
  void* block = nullptr;
  ASSERT_EQ(REmemory(&block, db_.block(), ReBlockSubset, ReActOpen, 0), ReDone);
  auto* restriction = static_cast<ReSubsetBlock*>(block);
  for (u32 e = 5; e <= 25; ++e) restriction->bits[e / 8] |= static_cast<u8>(1u << (e % 8));
  db_.block()->restriction = restriction;
  ASSERT_EQ(Apply({0, 1, 0, 0}), ReDone);
  EXPECT_EQ(Active(), Range(11, 25));

  restriction->databaseId = 1;  // a vector of another database
  ASSERT_EQ(Apply({0, 0, 0, 0}), ReDone);
  EXPECT_EQ(PACKED(db_.status().warning), ReErrSubsets);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);
  db_.block()->restriction = nullptr;
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockSubset, ReActClose, 0), ReDone);
}

TEST_F(Subsets, ForbiddenValuesFailWith454) {
  edb::Database database = SmallDatabase();
  auto defs = Sections();
  defs[0].flags = 2;  // no intersection
  defs[1].flags = 4;  // no subtraction
  defs[3].flags = 1;  // only 0, 4, 8, 16
  AddSubsets(database, defs);
  Open(database);
  ReHandleNode* node = db_.node();
  ReStatusBlock status{};
  const u8 intersect[] = {2, 0, 0, 0};
  ReSubsetOverride selection{kDatabaseId, intersect};
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &selection, &status), ReFail);
  EXPECT_EQ(PACKED(status.handleError), ReErrSubsetValue);
  EXPECT_EQ(PACKED(status.module), ReModSubsetApply);
  const u8 subtract[] = {0, 6, 0, 0}, six[] = {0, 0, 0, 6}, fine[] = {0, 0, 0, 16};
  for (const u8* values : {subtract, six}) {
    status = {};
    selection.selection = values;
    EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &selection, &status), ReFail);
    EXPECT_EQ(PACKED(status.handleError), ReErrSubsetValue);
  }
  status = {};
  selection.selection = fine;
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &selection, &status), ReDone);

  // At REdb 460 the failure is a warning; every entry stays allowed.
  EXPECT_EQ(Apply({2, 0, 0, 0}), ReDone);
  EXPECT_EQ(PACKED(db_.status().status), ReWarn);
  EXPECT_EQ(PACKED(db_.status().warning), ReErrSubsets);
  EXPECT_EQ(PACKED(db_.status().module), ReModDb);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);
}

TEST_F(Subsets, SelectionChecks) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, Sections());
  Open(database);
  ReHandleNode* node = db_.node();
  ReStatusBlock status{};
  const u8 zeros[4] = {};
  ReSubsetOverride other{1, zeros};
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &other, &status), ReFail);
  EXPECT_EQ(PACKED(status.error), ReErrSelectionDb);
  EXPECT_EQ(PACKED(status.module), ReModSubsetApply);
  status = {};
  ReSubsetOverride none{kDatabaseId, nullptr};
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &none, &status), ReFail);
  EXPECT_EQ(PACKED(status.error), ReErrNoSelection);
  // The database is checked first.
  status = {};
  ReSubsetOverride neither{1, nullptr};
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &neither, &status), ReFail);
  EXPECT_EQ(PACKED(status.error), ReErrSelectionDb);
}

TEST_F(Subsets, NoDefinitionsIsAWarning) {
  Open(SmallDatabase());
  ReHandleNode* node = db_.node();
  ReStatusBlock status{};
  const u8 zeros[1] = {};
  ReSubsetOverride selection{kDatabaseId, zeros};
  EXPECT_EQ(ReLoadSubsets(node->database->record, node->work, db_.block(), &selection, &status), ReWarn);
  EXPECT_EQ(PACKED(status.warning), ReWarnNoSubsets);
  u16 subset = 99;
  EXPECT_EQ(ReSubsetOfEntry(node->database->record, node->work, 5, &subset, &status), ReDone);
  EXPECT_EQ(subset, 99);  // nothing written
}

TEST_F(Subsets, StoredBitsRawAndCoded) {
  edb::Database database = SmallDatabase();
  std::vector<edb::SubsetDef> defs = {
      SubsetNode(1, 0, 1, 3, 12, std::vector<u32>{3, 5, 12}),
      SubsetNode(2, 0, 1, 17, 39, std::vector<u32>{17, 18, 19, 20, 21, 22, 23, 24, 25, 39}, true),
      SubsetNode(3, 0, 1, 30, 33),
  };
  AddSubsets(database, defs);
  Open(database);
  ASSERT_EQ(Apply({0, 1, 1}), ReDone);
  EXPECT_EQ(Active(), (std::vector<u32>{3, 5, 12}));
  ASSERT_EQ(Apply({1, 0, 1}), ReDone);
  EXPECT_EQ(Active(), (std::vector<u32>{17, 18, 19, 20, 21, 22, 23, 24, 25, 39}));
  ASSERT_EQ(Apply({0, 0, 0}), ReDone);
  EXPECT_EQ(Active().size(), 3u + 10u + 4u);
}

// A stored offset past table 50 fails the walk: a warning, every entry allowed.
TEST_F(Subsets, StoredOffsetPastTheTable) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, {SubsetNode(1, 0, 1, 1, 12, std::vector<u32>{3}), SubsetNode(2, 0, 1, 13, 40)});
  edb::Table& definitions = TextOf(database).tables[TextOf(database).tables.size() - 2];
  definitions.data[17] = 200;  // node 1's stored bits: 1 + offset, low byte
  Open(database);
  ASSERT_EQ(Apply({0, 1}), ReDone);
  EXPECT_EQ(PACKED(db_.status().warning), ReErrSubsets);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);
}

// Ranges and stored bits past the entry count stay inside the vector.
TEST_F(Subsets, RangesAreClampedToTheEntries) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, {SubsetNode(1, 0, 1, 1, 1000), SubsetNode(2, 0, 1, 30, 900, std::vector<u32>{30, 800})});
  Open(database);
  ASSERT_EQ(Apply({0, 0}), ReDone);
  EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr);
  ASSERT_EQ(Apply({1, 0}), ReDone);
  EXPECT_EQ(Active(), (std::vector<u32>{30}));
}

TEST_F(Subsets, SixteenByteDefinitions) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, Sections(), false);
  Open(database);
  ASSERT_EQ(PACKED(db_.block()->subsetCount), 4);
  ASSERT_EQ(Apply({0, 1, 0, 0}), ReDone);
  EXPECT_EQ(Active(), Range(11, 40));
}

// Tables 40 and 50 written out by hand: section 10 (1-20) with part 11
// (1-10, stored raw) and section 20 (17-39, stored run-length coded).
TEST_F(Subsets, HandWrittenDefinitionsAndStoredBits) {
  for (const bool eighteen : {true, false}) {
    handbytes::HandFile definitions;
    if (eighteen) {
      // u16 id, level, flags, u32 first, u32 last, u16 next sibling, u32 stored bits (1 + offset).
      definitions.Put(0, {0, 10, 0, 16, 0, 0, 0, 1, 0, 0, 0, 20, 0, 2, 0, 0, 0, 0});
      definitions.Put(18, {0, 11, 1, 16, 0, 0, 0, 1, 0, 0, 0, 10, 0, 2, 0, 0, 0, 1});
      definitions.Put(36, {0, 20, 0, 16, 0, 0, 0, 17, 0, 0, 0, 39, 0, 0, 0, 0, 0, 3});
    } else {
      // u16 id, unused, level, unused, flags, u32 first, u32 last, u16 next sibling; no stored bits.
      definitions.Put(0, {0, 10, 0, 0, 0, 16, 0, 0, 0, 1, 0, 0, 0, 20, 0, 2});
      definitions.Put(16, {0, 11, 0, 1, 0, 16, 0, 0, 0, 1, 0, 0, 0, 10, 0, 2});
      definitions.Put(32, {0, 20, 0, 0, 0, 16, 0, 0, 0, 17, 0, 0, 0, 39, 0, 0});
    }
    edb::Database database = SmallDatabase();
    edb::Component& text = TextOf(database);
    text.tables.push_back({40, eighteen ? 18u : 16u, u16{3}, definitions.bytes()});
    // Table 50: entries 2, 4 and 9 raw (bytes 0-1); then 17, 18 and 24-39
    // coded (bytes 2-4): copy one byte, two bytes of 255.
    text.tables.push_back({50, 1, std::nullopt, {0x14, 0x02, 0xC1, 0x06, 0x82}});
    text.fields.push_back({124, 4, 2});  // the raw area: 2 bytes
    Open(database);
    ASSERT_EQ(PACKED(db_.block()->subsetCount), 3);
    ASSERT_EQ(Apply({0, 0, 1}), ReDone);
    EXPECT_EQ(Active(), eighteen ? (std::vector<u32>{2, 4, 9}) : Range(1, 10)) << eighteen;
    ASSERT_EQ(Apply({1, 0, 0}), ReDone);
    std::vector<u32> section = Range(17, 39);
    if (eighteen) section = {17, 18, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
    EXPECT_EQ(Active(), section) << eighteen;
    ASSERT_EQ(db_.Close(), ReDone);
  }
}

TEST_F(Subsets, SubsetOfAnEntry) {
  edb::Database database = SmallDatabase();
  auto defs = Sections();
  defs[1].flags = 0;  // part 11 is not selectable: its entries belong to section 10
  defs[3].last = 35;
  AddSubsets(database, defs);
  Open(database);
  ReHandleNode* node = db_.node();
  ReDbRecord* record = node->database->record;
  ReStatusBlock status{};
  u16 subset = 99;
  ASSERT_EQ(ReSubsetOfEntry(record, node->work, 15, &subset, &status), ReDone);
  EXPECT_EQ(subset, 1);  // list: 10, 12, 20
  ASSERT_EQ(ReSubsetOfEntry(record, node->work, 5, &subset, &status), ReDone);
  EXPECT_EQ(subset, 0);  // the walk takes the first node (index 0) too
  ASSERT_EQ(ReSubsetOfEntry(record, node->work, 30, &subset, &status), ReDone);
  EXPECT_EQ(subset, 2);
  EXPECT_EQ(ReSubsetOfEntry(record, node->work, 38, &subset, &status), ReFail);
  EXPECT_EQ(PACKED(status.warning), ReWarnNothing);
  EXPECT_EQ(PACKED(status.module), ReModSubsetOfEntry);
  for (i32 entry : {0, static_cast<i32>(kEntries) + 1}) {
    status = {};
    EXPECT_EQ(ReSubsetOfEntry(record, node->work, entry, &subset, &status), ReFail);
    EXPECT_EQ(PACKED(status.error), ReErrEntryRange);
  }
  status = {};
  EXPECT_EQ(ReSubsetOfEntry(record, node->work, 5, nullptr, &status), ReFail);
  EXPECT_EQ(PACKED(status.error), ReErrNoSelection);
}

// Table 50 longer than its cache size is read on demand; the results are
// those of the table read whole. The table is longer than 32767 bytes.
TEST_F(Subsets, CachedTableGivesTheSameBits) {
  constexpr u32 kMany = 140000;
  std::vector<u32> odd, tens, threes;
  for (u32 e = 1; e <= kMany; e += 2) odd.push_back(e);
  for (u32 e = 10; e <= kMany; e += 10) tens.push_back(e);
  for (u32 e = 3; e <= 4000; e += 3) threes.push_back(e);
  // Node 3's 501 raw bytes fit the cache; the other nodes' bytes do not.
  std::vector<edb::SubsetDef> defs = {SubsetNode(1, 0, 16, 1, kMany, odd), SubsetNode(2, 0, 16, 1, kMany, tens, true),
                                      SubsetNode(3, 0, 16, 1, 4000, threes)};
  std::vector<std::vector<u32>> results;
  for (u16 cache : {u16{1024}, u16{60000}}) {
    edb::Database database = SmallDatabase();
    TextOf(database).fields.push_back({104, 4, kMany});
    TextOf(database).fields.push_back({128, 2, cache});
    AddSubsets(database, defs);
    TempDir dir;
    Database db(session_);
    ASSERT_EQ(db.Open(dir.path(), WriteDatabase(dir, database)), ReDone);
    EXPECT_EQ(db.record()->subsetBitsCached, cache == 1024);
    EXPECT_GT(db.record()->subsetBitsLength, 32768u);
    for (std::vector<u8> selection : {std::vector<u8>{0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {2, 0, 1}}) {
      for (std::size_t i = 0; i < selection.size(); ++i) db.block()->selection[i] = selection[i];
      ASSERT_EQ(REdb(db.block(), 100, ReActReset), ReDone);
      ASSERT_EQ(PACKED(db.status().status), 0u) << PACKED(db.status().warning);
      results.push_back(Allowed(db.block()->activeSubset, kMany));
    }
  }
  ASSERT_EQ(results.size(), 8u);
  EXPECT_EQ(results[0], odd);
  EXPECT_EQ(results[1], tens);
  EXPECT_EQ(results[2], threes);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(results[i], results[i + 4]);
}

TEST_F(Subsets, AllocationFailuresLeaveEveryEntryAllowed) {
  edb::Database database = SmallDatabase();
  AddSubsets(database, Sections());
  Open(database);
  const i32 live = ReLiveAllocations();
  for (u32 failAt = 1; failAt <= 12; ++failAt) {
    db_.block()->selection[1] = 1;
    ReFailAllocationAfter(failAt);
    const u32 result = REdb(db_.block(), 100, ReActReset);
    ReFailAllocationAfter(0);
    ASSERT_EQ(result, ReDone);
    if (PACKED(db_.status().status) == 0u) break;
    EXPECT_EQ(PACKED(db_.status().warning), ReErrSubsets) << failAt;
    EXPECT_EQ(PACKED(db_.block()->activeSubset), nullptr) << failAt;
    EXPECT_EQ(ReLiveAllocations(), live) << failAt;
  }
}

}  // namespace
