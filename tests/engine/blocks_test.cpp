// REmemory: control blocks of types 510 to 590, their defaults, re-sizing,
// freeing and unwinding.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "packed.h"

namespace {

using namespace enginetest;

class Blocks : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = WriteDatabase(dir_, SmallDatabase());
    ASSERT_EQ(db_.Open(dir_.path(), name_), ReDone);
  }
  template <class Block>
  Block* Make(u16 type, u16 count, void* parent = nullptr) {
    void* block = nullptr;
    EXPECT_EQ(REmemory(&block, parent ? parent : db_.block(), type, ReActOpen, count), ReDone) << type;
    return static_cast<Block*>(block);
  }
  template <class Block>
  void Free(Block* block, u16 type) {
    void* pointer = block;
    EXPECT_EQ(REmemory(&pointer, nullptr, type, ReActClose, 0), ReDone) << type;
    EXPECT_EQ(pointer, nullptr);
  }

  TempDir dir_;
  std::string name_;
  Session session_;
  Database db_{session_};
};

TEST_F(Blocks, UnknownTypeOrActionTouchesNothing) {
  void* block = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(REmemory(&block, db_.block(), 515, ReActOpen, 0), ReFail);
  EXPECT_EQ(block, reinterpret_cast<void*>(0x1234));
  EXPECT_EQ(REmemory(&block, db_.block(), ReBlockEntry, 999, 0), ReFail);
  EXPECT_EQ(REmemory(nullptr, db_.block(), ReBlockEntry, ReActOpen, 0), ReFail);
}

TEST_F(Blocks, ParentsMustBeOpen) {
  void* block = nullptr;
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockSearch, ReActOpen, 0), ReFail);
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockDb, ReActOpen, 0), ReFail);
  Database closed(session_);
  EXPECT_EQ(REmemory(&block, closed.block(), ReBlockSearch, ReActOpen, 0), ReFail);
  EXPECT_EQ(block, nullptr);
}

TEST_F(Blocks, SessionAndDatabaseBlocks) {
  auto* app = Make<ReAppBlock>(ReBlockApp, 0, reinterpret_cast<void*>(1));
  ASSERT_NE(app, nullptr);
  ASSERT_NE(PACKED(app->status), nullptr);
  void* pointer = app;
  EXPECT_EQ(REmemory(&pointer, nullptr, ReBlockApp, ReActReset, 0), ReFail);  // 510 cannot be reset
  Free(app, ReBlockApp);

  // 460 of a 520 clears what the open filled but keeps callback, session and subsets.
  auto* db = Make<ReDbBlock>(ReBlockDb, 0, session_.block());
  EXPECT_EQ(PACKED(db->session), PACKED(session_.block()->session));
  db->handle = 3;
  db->databaseId = 9;
  db->longestLine = 80;
  db->subsetCount = 2;
  db->progress = reinterpret_cast<ReProgressCallback>(0x10);
  db->status->status = 8;
  pointer = db;
  ASSERT_EQ(REmemory(&pointer, session_.block(), ReBlockDb, ReActReset, 0), ReDone);
  EXPECT_EQ(PACKED(db->handle), 0);
  EXPECT_EQ(PACKED(db->databaseId), 0u);
  EXPECT_EQ(PACKED(db->longestLine), 0);
  EXPECT_EQ(PACKED(db->subsetCount), 2);
  EXPECT_EQ(PACKED(db->progress), reinterpret_cast<ReProgressCallback>(0x10));
  EXPECT_EQ(PACKED(db->status->status), 0u);
  Free(db, ReBlockDb);
}

TEST_F(Blocks, IndexListDefaultsAndAreaLimit) {
  auto* list = Make<ReIdxListBlock>(ReBlockIdxList, 0);
  EXPECT_EQ(PACKED(list->resultLimit), 20);
  EXPECT_EQ(PACKED(list->resultAreaSize), 20 * 33);
  EXPECT_EQ(PACKED(list->databaseId), kDatabaseId);
  ASSERT_NE(PACKED(list->word), nullptr);
  ASSERT_NE(PACKED(list->featureMask), nullptr);
  Free(list, ReBlockIdxList);

  // 2000 results of 33 bytes do not fit the 16-bit area size: the limit is cut.
  list = Make<ReIdxListBlock>(ReBlockIdxList, 2000);
  EXPECT_EQ(PACKED(list->resultLimit), 65535 / 33);
  EXPECT_LE(PACKED(list->resultAreaSize) + 0u, 65535u);
  EXPECT_EQ(PACKED(list->resultAreaSize), PACKED(list->resultLimit) * 33);
  Free(list, ReBlockIdxList);
}

TEST_F(Blocks, SlotArraysPointIntoOneSharedBuffer) {
  auto* entries = Make<ReEntListBlock>(ReBlockEntList, 0);
  ASSERT_EQ(PACKED(entries->capacity), 30);  // the database's default list count
  const u32 line = 79 + 1;
  ReEntListSlot* slots = entries->slots;
  for (u32 i = 1; i < 30; ++i) {
    EXPECT_EQ(PACKED(slots[i].title) - PACKED(slots[i - 1].title), static_cast<std::ptrdiff_t>(line));
    EXPECT_EQ(PACKED(slots[i].entry), 0u);
  }
  slots[29].title[line - 1] = 'z';  // the last line is whole
  Free(entries, ReBlockEntList);

  auto* search = Make<ReSearchBlock>(ReBlockSearch, 0);
  ASSERT_EQ(PACKED(search->slotCount), 50);
  search->handle = 5;
  search->caseMode = 1;
  search->hitCount = 3;
  // A new count re-sizes and gives every hit slot its own line again.
  void* pointer = search;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockSearch, ReActReset, 7), ReDone);
  search = static_cast<ReSearchBlock*>(pointer);
  ASSERT_EQ(PACKED(search->slotCount), 7);
  EXPECT_EQ(PACKED(search->handle), 0);
  EXPECT_EQ(PACKED(search->caseMode), 0);
  EXPECT_EQ(PACKED(search->hitCount), 0);
  for (u32 i = 1; i < 7; ++i)
    EXPECT_EQ(PACKED(search->slots[i].title) - PACKED(search->slots[i - 1].title), static_cast<std::ptrdiff_t>(line));
  EXPECT_EQ(PACKED(search->slots[0].title), reinterpret_cast<char*>(search->slots + 7));
  Free(search, ReBlockSearch);
}

// The count fields are the caller's to change: a reset to the count a
// field was changed to makes slots for it, not just lines for slots that are
// not there.
TEST_F(Blocks, AResetGoesByTheSlotsMadeNotTheCountField) {
  auto* search = Make<ReSearchBlock>(ReBlockSearch, 1);
  search->slotCount = 11;
  void* pointer = search;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockSearch, ReActReset, 11), ReDone);
  search = static_cast<ReSearchBlock*>(pointer);
  EXPECT_EQ(PACKED(search->slots[0].title), reinterpret_cast<char*>(search->slots + 11));
  search->slots[10].title[79] = 'z';  // the last line is whole
  Free(search, ReBlockSearch);

  auto* entries = Make<ReEntListBlock>(ReBlockEntList, 2);
  entries->capacity = 9;
  pointer = entries;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockEntList, ReActReset, 9), ReDone);
  entries = static_cast<ReEntListBlock*>(pointer);
  EXPECT_EQ(PACKED(entries->slots[0].title), reinterpret_cast<char*>(entries->slots + 9));
  Free(entries, ReBlockEntList);
}

TEST_F(Blocks, TextBlocksAndTheirResets) {
  auto* entry = Make<ReEntryBlock>(ReBlockEntry, 0);
  EXPECT_EQ(PACKED(entry->bufferSize), 301);  // longest entry text + 1
  entry->entry = 5;
  entry->readPosition = 9;
  void* pointer = entry;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockEntry, ReActReset, 301), ReDone);
  EXPECT_EQ(PACKED(entry->entry), 0u);
  EXPECT_EQ(PACKED(entry->readPosition), 9);
  Free(entry, ReBlockEntry);

  auto* token = Make<ReTokenBlock>(ReBlockToken, 0);
  EXPECT_EQ(PACKED(token->capacity), 1024);
  const char* term = "cat";
  token->terms[0] = term;
  token->termCount = 1;
  token->textLength = 10;
  token->tokenCount = 4;
  token->firstToken = 2;
  pointer = token;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockToken, ReActReset, 1024), ReDone);
  EXPECT_EQ(PACKED(token->termCount), 0);
  EXPECT_EQ(PACKED(token->textLength), 0);
  EXPECT_EQ(PACKED(token->tokenCount), 0);
  EXPECT_EQ(PACKED(token->terms[0]), term);  // pointers are never cut
  EXPECT_EQ(PACKED(token->firstToken), 2);
  Free(token, ReBlockToken);

  auto* strtab = Make<ReStrTabBlock>(ReBlockStrTab, 0);
  strtab->firstKey = 3;
  strtab->text[0] = 'x';
  pointer = strtab;
  ASSERT_EQ(REmemory(&pointer, db_.block(), ReBlockStrTab, ReActReset, 0), ReDone);
  EXPECT_EQ(PACKED(strtab->firstKey), 0);
  EXPECT_EQ(strtab->text[0], 0);
  Free(strtab, ReBlockStrTab);

  auto* etpar = Make<ReEtParBlock>(ReBlockEtPar, 0);
  etpar->slotCount = 4;
  pointer = etpar;
  ASSERT_EQ(REmemory(&pointer, nullptr, ReBlockEtPar, ReActReset, 0), ReDone);  // needs no parent
  EXPECT_EQ(PACKED(etpar->slotCount), 0);
  Free(etpar, ReBlockEtPar);
}

TEST_F(Blocks, SubsetVectorBlocks) {
  void* block = nullptr;
  EXPECT_EQ(REmemory(&block, db_.block(), ReBlockSubset, ReActOpen, 3), ReFail);
  EXPECT_EQ(block, nullptr);
  auto* subset = Make<ReSubsetBlock>(ReBlockSubset, 0);
  EXPECT_EQ(PACKED(subset->databaseId), kDatabaseId);
  subset->bits[kEntries / 8] = 0xFF;  // entry count / 8 + 1 bytes
  block = subset;
  EXPECT_EQ(REmemory(&block, db_.block(), ReBlockSubset, ReActReset, 5), ReDone);
  Free(subset, ReBlockSubset);
  block = nullptr;
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockSubset, ReActClose, 0), ReDone);  // a null 575 is accepted
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockSearch, ReActClose, 0), ReFail);
}

// Every allocation of a 470 and of a re-size, failed in turn: nothing is
// left allocated, and a failed re-size leaves the caller no pointer to free
// twice.
TEST_F(Blocks, OnlyLiveBlocksOfTheirOwnTypeAreTaken) {
  // A block of another type: refused, its status record untouched.
  auto* list = Make<ReIdxListBlock>(ReBlockIdxList, 0);
  list->status->error = 77;
  EXPECT_EQ(REsearch(list, 145, ReActOpen), ReFail);
  EXPECT_EQ(REtoken(list, 160, ReActOpen), ReFail);
  EXPECT_EQ(REdb(list, 100, ReActClose), ReFail);
  EXPECT_EQ(PACKED(list->status->error), 77);
  void* pointer = list;
  EXPECT_EQ(REmemory(&pointer, db_.block(), ReBlockSearch, ReActReset, 0), ReFail);
  EXPECT_EQ(REmemory(&pointer, nullptr, ReBlockEntry, ReActClose, 0), ReFail);
  EXPECT_EQ(pointer, list);  // still the caller's, and still a working block
  EXPECT_EQ(REidxlst(list, 130, ReActOpen), ReDone);

  // A freed block: refused without being read (ASan would see the read).
  Free(list, ReBlockIdxList);
  EXPECT_EQ(REidxlst(pointer, 130, ReActOpen), ReFail);
  EXPECT_EQ(REmemory(&pointer, nullptr, ReBlockIdxList, ReActClose, 0), ReFail);
  void* child = nullptr;
  EXPECT_EQ(REmemory(&child, pointer, ReBlockEtPar, ReActOpen, 0), ReFail);  // nor taken as a parent

  // A block the engine never made, even one that looks right.
  ReDbBlock copy = *db_.block();
  EXPECT_EQ(REdb(&copy, 100, ReActClose), ReFail);
  pointer = nullptr;
  EXPECT_EQ(REmemory(&pointer, &copy, ReBlockEntry, ReActOpen, 0), ReFail);
  EXPECT_NE(db_.node(), nullptr);  // the database is still open
}

TEST_F(Blocks, AllocationFailuresUnwind) {
  const i32 live = ReLiveAllocations();
  for (u16 type : {ReBlockApp, ReBlockDb, ReBlockIdxList, ReBlockEntList, ReBlockEntry, ReBlockToken, ReBlockSearch,
                   ReBlockStrTab, ReBlockSubset, ReBlockEtPar}) {
    void* parent = type == ReBlockDb ? static_cast<void*>(session_.block()) : db_.block();
    for (u32 failAt = 1; failAt <= 5; ++failAt) {
      void* block = nullptr;
      ReFailAllocationAfter(failAt);
      const u32 result = REmemory(&block, parent, type, ReActOpen, 0);
      ReFailAllocationAfter(0);
      if (result == ReDone) {
        EXPECT_EQ(REmemory(&block, nullptr, type, ReActClose, 0), ReDone);
        break;
      }
      EXPECT_EQ(block, nullptr) << type << " " << failAt;
      EXPECT_EQ(ReLiveAllocations(), live) << type << " " << failAt;
    }
  }
  for (u16 type : {ReBlockIdxList, ReBlockEntList, ReBlockEntry, ReBlockToken, ReBlockSearch}) {
    void* block = nullptr;
    ASSERT_EQ(REmemory(&block, db_.block(), type, ReActOpen, 0), ReDone);
    ReFailAllocationAfter(1);
    EXPECT_EQ(REmemory(&block, db_.block(), type, ReActReset, 3), ReFail) << type;
    ReFailAllocationAfter(0);
    EXPECT_EQ(block, nullptr) << type;
    EXPECT_EQ(REmemory(&block, nullptr, type, ReActClose, 0), ReFail) << type;  // harmless
    EXPECT_EQ(ReLiveAllocations(), live) << type;
  }
  // A re-size needs a count.
  void* block = nullptr;
  ASSERT_EQ(REmemory(&block, db_.block(), ReBlockSearch, ReActOpen, 0), ReDone);
  EXPECT_EQ(REmemory(&block, db_.block(), ReBlockSearch, ReActReset, 0), ReFail);
  EXPECT_NE(block, nullptr);
  EXPECT_EQ(REmemory(&block, nullptr, ReBlockSearch, ReActClose, 0), ReDone);
}

}  // namespace
