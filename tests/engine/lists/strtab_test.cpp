// String tables: REstrtab over databases whose main index carries a string
// table made by the content builder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine_db/lists_strings.h"
#include "engine_fixture.h"
#include "hand_bytes.h"
#include "packed.h"
#include "re_lists_codes.h"

namespace {

using namespace enginetest;
namespace edb = builder::engine_db;

edb::StringTableSpec Labels() {
  edb::StringTableSpec spec;
  spec.version = 3;
  spec.capabilityMask = 0x01;
  spec.records = {{0, 0, "Thesaurus", ""},   {1, 1, "n.", "noun"},         {1, 2, "v.", "verb"},
                  {2, 1, "Synonyms", "syn"}, {-1, 7, "minus", "negative"}, {2, -3, "low", "second low"}};
  return spec;
}

edb::Component& MainIndexOf(edb::Database& database) {
  for (edb::Component& component : database.components)
    if (component.type == 2 && component.subtype == 1) return component;
  throw std::logic_error("no main index");
}

// The small database with a raw table 320 in its main index.
edb::Database WithTable(edb::Table table, u16 longest = 200) {
  edb::Database database = SmallDatabase();
  edb::Component& index = MainIndexOf(database);
  index.tables.push_back(std::move(table));
  for (edb::Field& field : index.fields)
    if (field.offset == 160) field.value = longest;
  return database;
}

class StrTab : public ::testing::Test {
 protected:
  void Open(const edb::Database& database) {
    name_ = WriteDatabase(dir_, database);
    ASSERT_EQ(db_.Open(dir_.path(), name_), ReDone);
    void* block = nullptr;
    ASSERT_EQ(REmemory(&block, db_.block(), ReBlockStrTab, ReActOpen, 0), ReDone);
    block_ = static_cast<ReStrTabBlock*>(block);
    block_->handle = db_.block()->handle;
    block_->optionMask = 0x80;  // the request mask REetpar passes
  }
  void TearDown() override {
    void* block = block_;
    if (block) REmemory(&block, db_.block(), ReBlockStrTab, ReActClose, 0);
  }
  u32 Look(u16 function, i16 key1, i16 key2) {
    block_->firstKey = static_cast<u16>(key1);
    block_->secondKey = static_cast<u16>(key2);
    return REstrtab(block_, function, ReActOpen);
  }
  std::string Text() const { return block_->text; }
  const ReStatusBlock& Status() const { return *block_->status; }

  TempDir dir_;
  std::string name_;
  Session session_;
  Database db_{session_};
  ReStrTabBlock* block_ = nullptr;
};

// Table 320 written out by hand: u16 version, u16 capability mask, u16 record
// count, records {u16 key, u16 key, u16 first, u16 second} sorted by the keys
// as signed numbers, then the pool (offsets count from its start).
TEST_F(StrTab, HandWrittenTable) {
  handbytes::HandFile table;
  table.Put(0, {0x00, 0x05, 0x00, 0x01, 0x00, 0x03});                 // version 5, mask 1, 3 records
  table.Put(6, {0xFF, 0xFE, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03});     // (-2, 4): "ab", "c"
  table.Put(14, {0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x05});    // (0, 0): "", ""
  table.Put(22, {0x00, 0x01, 0x80, 0x00, 0x00, 0x06, 0x00, 0x0A});    // (1, -32768): "xyz", "w"
  table.Put(30, {'a', 'b', 0, 'c', 0, 0, 'x', 'y', 'z', 0, 'w', 0});  // the pool
  Open(WithTable({320, 1, std::nullopt, table.bytes()}));
  EXPECT_EQ(Look(145, -2, 4), ReDone);
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(Look(110, -2, 4), ReDone);
  EXPECT_EQ(Text(), "c");
  EXPECT_EQ(Look(145, 1, -32768), ReDone);
  EXPECT_EQ(Text(), "xyz");
  EXPECT_EQ(Look(110, 1, -32768), ReDone);
  EXPECT_EQ(Text(), "w");
  EXPECT_EQ(Look(145, 0, 0), ReDone);
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(Look(145, 0, 1), ReWarn);  // absent
  EXPECT_EQ(PACKED(Status().warning), ReErrNotFound);
  block_->version = 5;
  EXPECT_EQ(Look(145, -2, 4), ReDone);
  block_->version = 4;
  EXPECT_EQ(Look(145, -2, 4), ReWarn);
}

TEST_F(StrTab, FindsBothStringsBySignedKeys) {
  Open(WithTable(edb::StringTable(Labels())));
  EXPECT_EQ(Look(145, 1, 2), ReDone);
  EXPECT_EQ(Text(), "v.");
  EXPECT_EQ(Look(110, 1, 2), ReDone);
  EXPECT_EQ(Text(), "verb");
  // Negative keys sort before the others.
  EXPECT_EQ(Look(110, -1, 7), ReDone);
  EXPECT_EQ(Text(), "negative");
  EXPECT_EQ(Look(145, 2, -3), ReDone);
  EXPECT_EQ(Text(), "low");
  EXPECT_EQ(Look(145, 0, 0), ReDone);
  EXPECT_EQ(Text(), "Thesaurus");
  EXPECT_EQ(Look(110, 0, 0), ReDone);
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(PACKED(Status().status), 0u);
}

TEST_F(StrTab, AbsentKeysWarnAndLeaveTheBuffer) {
  Open(WithTable(edb::StringTable(Labels())));
  ASSERT_EQ(Look(145, 1, 1), ReDone);
  EXPECT_EQ(Look(145, 1, 3), ReWarn);
  EXPECT_EQ(PACKED(Status().warning), ReErrNotFound);
  EXPECT_EQ(PACKED(Status().module), ReModStrTab);
  EXPECT_EQ(PACKED(Status().error), 0);
  EXPECT_EQ(Text(), "n.");
  EXPECT_EQ(Look(110, 3, 0), ReWarn);
  EXPECT_EQ(Look(110, -2, 0), ReWarn);
  EXPECT_EQ(Text(), "n.");
}

TEST_F(StrTab, VersionAndOptionChecks) {
  Open(WithTable(edb::StringTable(Labels())));
  // An expected version of 0 skips the check; another version is refused.
  EXPECT_EQ(Look(145, 1, 1), ReDone);
  block_->version = 4;
  EXPECT_EQ(Look(145, 1, 2), ReWarn);
  EXPECT_EQ(PACKED(Status().warning), ReErrNotFound);  // -456 replaces -417
  EXPECT_EQ(Text(), "n.");
  block_->version = 3;
  EXPECT_EQ(Look(145, 1, 2), ReDone);

  // Capability mask 0x01: 0x80 always passes, 0x81 and 0x01 too; 0x02, 0x82
  // and 0 do not.
  for (u16 mask : {0x80, 0x81, 0x01}) {
    block_->optionMask = mask;
    EXPECT_EQ(Look(145, 1, 1), ReDone) << mask;
  }
  for (u16 mask : {0x02, 0x82, 0x00}) {
    block_->optionMask = mask;
    EXPECT_EQ(Look(145, 1, 1), ReWarn) << mask;
    EXPECT_EQ(PACKED(Status().warning), ReErrNotFound);
  }
}

TEST_F(StrTab, MaskOf0x80PassesWithoutCapabilities) {
  edb::StringTableSpec spec = Labels();
  spec.capabilityMask = 0;
  Open(WithTable(edb::StringTable(spec)));
  block_->optionMask = 0x80;
  EXPECT_EQ(Look(145, 2, 1), ReDone);
  EXPECT_EQ(Text(), "Synonyms");
  block_->optionMask = 0x01;
  EXPECT_EQ(Look(145, 2, 1), ReWarn);
}

TEST_F(StrTab, EmptyIndexIsAbsent) {
  edb::StringTableSpec empty;
  empty.records.clear();
  Open(WithTable(edb::StringTable(empty)));
  EXPECT_EQ(Look(145, 0, 0), ReWarn);
  EXPECT_EQ(PACKED(Status().warning), ReErrNotFound);
}

TEST(StrTabWithoutTable, EveryKeyIsAbsent) {
  TempDir dir;
  const std::string name = WriteDatabase(dir, SmallDatabase());
  Session session;
  Database db(session);
  ASSERT_EQ(db.Open(dir.path(), name), ReDone);
  void* raw = nullptr;
  ASSERT_EQ(REmemory(&raw, db.block(), ReBlockStrTab, ReActOpen, 0), ReDone);
  auto* block = static_cast<ReStrTabBlock*>(raw);
  block->handle = db.block()->handle;
  block->optionMask = 0x80;
  EXPECT_EQ(REstrtab(block, 145, ReActOpen), ReWarn);
  EXPECT_EQ(PACKED(block->status->warning), ReErrNotFound);
  REmemory(&raw, db.block(), ReBlockStrTab, ReActClose, 0);
}

TEST_F(StrTab, FrameCodes) {
  Open(WithTable(edb::StringTable(Labels())));
  EXPECT_EQ(REstrtab(nullptr, 145, ReActOpen), ReFail);
  EXPECT_EQ(Look(146, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrFunction);
  EXPECT_EQ(PACKED(Status().module), ReModStrTab);
  EXPECT_EQ(REstrtab(block_, 110, ReActClose), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrAction);

  const u16 handle = block_->handle;
  block_->handle = 0;
  EXPECT_EQ(Look(145, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrLock);
  EXPECT_EQ(PACKED(Status().handleError), ReErrHandleInvalid);
  block_->handle = handle;

  char* text = block_->text;
  block_->text = nullptr;
  EXPECT_EQ(Look(145, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrNoSelection);
  block_->text = text;
}

TEST_F(StrTab, WorksWhileAListHoldsTheHandle) {
  Open(WithTable(edb::StringTable(Labels())));
  ReStatusBlock status{};
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  const u16 handle = block_->handle;
  ASSERT_EQ(ReLockHandle(handle, ReTagWildcard, &record, &work, &status), ReDone);
  ASSERT_EQ(ReUnlockHandle(handle, ReHandleReserved, &status), ReDone);
  EXPECT_EQ(Look(145, 1, 1), ReDone);
  EXPECT_EQ(Text(), "n.");
  // The reservation stands: another kind of operation is still refused.
  EXPECT_NE(ReLockHandle(handle, ReTagSearch, &record, &work, &status), ReDone);
  status = ReStatusBlock{};
  ASSERT_EQ(ReLockHandle(handle, ReTagWildcard, &record, &work, &status), ReDone);
  ASSERT_EQ(ReUnlockHandle(handle, ReHandleFree, &status), ReDone);
}

// A table whose record points past its pool, one whose string has no end,
// and a string longer than the database's string-table size: each fails
// without touching the buffer.
builder::Bytes RawTable(u16 count, std::initializer_list<u16> record, const std::string& pool) {
  builder::ByteWriter out;
  out.U16be(1);
  out.U16be(0x80);
  out.U16be(count);
  for (u16 word : record) out.U16be(word);
  out.Append(pool);
  return out.take();
}

TEST_F(StrTab, BadPoolOffsetsFail) {
  edb::Table table{edb::kStringTableId, 8, u16{1}, RawTable(1, {1, 1, 0, 40}, std::string("ok\0", 3))};
  Open(WithTable(table));
  std::strcpy(block_->text, "kept");
  EXPECT_EQ(Look(145, 1, 1), ReDone);
  EXPECT_EQ(Text(), "ok");
  std::strcpy(block_->text, "kept");
  EXPECT_EQ(Look(110, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrNotFound);
  EXPECT_EQ(Text(), "kept");
}

TEST_F(StrTab, StringWithoutItsEndFails) {
  Open(WithTable(edb::Table{edb::kStringTableId, 8, u16{1}, RawTable(1, {1, 1, 0, 0}, "open")}));
  EXPECT_EQ(Look(145, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrNotFound);
}

TEST_F(StrTab, CountPastTheTableFails) {
  Open(WithTable(edb::Table{edb::kStringTableId, 8, u16{1}, RawTable(500, {1, 1, 0, 0}, std::string("a\0", 2))}));
  EXPECT_EQ(Look(145, 1, 1), ReFail);
}

TEST_F(StrTab, StringLongerThanTheBufferFails) {
  Open(WithTable(edb::StringTable(Labels()), 4));  // the table's size says 4
  EXPECT_EQ(Look(145, 1, 1), ReDone);
  EXPECT_EQ(Look(145, 0, 0), ReFail);  // "Thesaurus" does not fit 4 + 1 bytes
  EXPECT_EQ(PACKED(Status().error), ReErrNotFound);
  EXPECT_EQ(Text(), "n.");
}

// The block's buffer holds the longest string of the database it was made
// for (REmemory writes that database's id into the block): a block of another
// database is refused rather than overrun.
TEST_F(StrTab, BlockOfAnotherDatabaseIsRefused) {
  Open(WithTable(edb::StringTable(Labels())));
  block_->databaseId = kDatabaseId + 1;
  EXPECT_EQ(Look(145, 1, 1), ReFail);
  EXPECT_EQ(PACKED(Status().error), ReErrSelectionDb);
}

}  // namespace
