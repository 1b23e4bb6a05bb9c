// End to end through ZORLRE32.DLL's ordinals, as the reader calls it: a
// session, a database built by the content builder opened and read from its
// block, a work block, and everything closed in order.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine_db/engine_db.h"
#include "packed.h"
#include "temp_dir.h"
#include "zorlre32.h"

namespace {

namespace edb = builder::engine_db;

using BlockCall = u32(__stdcall*)(void*, u16, u16);
using MemoryCall = u32(__stdcall*)(void**, void*, u16, u16, u16);

edb::Database Encyclopedia() {
  edb::Database database;
  database.header.databaseId = 200;
  database.header.variant = 2;
  database.header.capabilityMask = 0x80;
  database.header.lineRule = 1;
  edb::TextComponentSpec text;
  text.entryCount = 12;
  text.longestEntryText = 900;
  text.longestLine = 60;
  text.groupSize = 4;
  text.codeStream = builder::Bytes(32, 0);
  const std::vector<edb::SubsetDef> subsets = {{1, 0, 16, 1, 6, std::nullopt, false},
                                               {2, 0, 16, 7, 12, std::vector<std::uint32_t>{7, 9, 11}, true}};
  const edb::SubsetTables tables = edb::BuildSubsetTables(subsets);
  text.tables = {tables.definitions, *tables.bits};
  text.rawAreaSize = tables.rawAreaSize;
  database.components.push_back(edb::TextComponent(text));
  edb::IndexComponentSpec index;
  index.entryListCount = 25;
  index.longestWord = 40;
  index.tables = {{200, 1, std::nullopt, {'a'}}};
  database.components.push_back(edb::IndexComponent(index));
  return database;
}

TEST(DllDatabase, SessionDatabaseAndBlocksThroughOrdinals) {
  HMODULE library = LoadLibraryA("ZORLRE32.DLL");
  ASSERT_NE(library, nullptr);
  auto entry = [&](int ordinal) { return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))); };
  auto reApp = reinterpret_cast<BlockCall>(entry(2));
  auto reDb = reinterpret_cast<BlockCall>(entry(3));
  auto reMemory = reinterpret_cast<MemoryCall>(entry(9));
  ASSERT_TRUE(reApp && reDb && reMemory);

  TempDir dir;
  edb::Write(dir.File("ENCYC.DAT"), Encyclopedia());

  void* app = nullptr;
  ASSERT_EQ(reMemory(&app, nullptr, ReBlockApp, ReActOpen, 0), ReDone);
  ASSERT_EQ(reApp(app, 100, ReActOpen), ReDone);
  auto* session = static_cast<ReAppBlock*>(app);
  EXPECT_EQ(PACKED(session->session), 1);
  EXPECT_STREQ(session->version, "2.3");

  void* db = nullptr;
  ASSERT_EQ(reMemory(&db, app, ReBlockDb, ReActOpen, 0), ReDone);
  auto* block = static_cast<ReDbBlock*>(db);
  const std::string directory = dir.path();
  const ReFileSpec spec{directory.c_str(), "ENCYC.DAT"};
  block->fileSpec = &spec;
  block->optionMask = 128;
  ASSERT_EQ(reDb(db, 100, ReActOpen), ReDone);
  EXPECT_EQ(PACKED(block->status->status), 0u);
  EXPECT_EQ(PACKED(block->handle), 1);
  EXPECT_EQ(PACKED(block->databaseId), 200u);
  EXPECT_EQ(PACKED(block->entryCount), 12u);
  EXPECT_EQ(PACKED(block->longestEntryText), 900);
  EXPECT_EQ(PACKED(block->longestWord), 40);
  EXPECT_EQ(PACKED(block->longestLine), 69);
  EXPECT_EQ(PACKED(block->entryListCount), 25);
  EXPECT_EQ(PACKED(block->features), ReFeatTextMode1 | ReFeatSubsets);
  ASSERT_EQ(PACKED(block->subsetCount), 2);
  EXPECT_EQ(PACKED(block->subsetList[1].id), 2);

  // A selection leaving out the first subset: the stored bits of the second.
  block->selection[0] = 1;
  ASSERT_EQ(reDb(db, 100, ReActReset), ReDone);
  ASSERT_NE(PACKED(block->activeSubset), nullptr);
  EXPECT_EQ(block->activeSubset[0], 0x80);  // entry 7
  EXPECT_EQ(block->activeSubset[1], 0x0A);  // entries 9 and 11

  void* search = nullptr;
  ASSERT_EQ(reMemory(&search, db, ReBlockSearch, ReActOpen, 0), ReDone);
  EXPECT_EQ(PACKED(static_cast<ReSearchBlock*>(search)->slotCount), 50);
  EXPECT_EQ(PACKED(static_cast<ReSearchBlock*>(search)->databaseId), 200u);
  ASSERT_EQ(reMemory(&search, nullptr, ReBlockSearch, ReActClose, 0), ReDone);

  ASSERT_EQ(reDb(db, 100, ReActClose), ReDone);
  EXPECT_EQ(PACKED(block->status->status), 0u);
  ASSERT_EQ(reMemory(&db, nullptr, ReBlockDb, ReActClose, 0), ReDone);
  ASSERT_EQ(reApp(app, 100, ReActClose), ReDone);
  ASSERT_EQ(reMemory(&app, nullptr, ReBlockApp, ReActClose, 0), ReDone);
  FreeLibrary(library);
}

}  // namespace
