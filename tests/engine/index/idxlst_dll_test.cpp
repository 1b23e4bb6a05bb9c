// REidxlst through ZORLRE32.DLL's ordinals, as the reader calls it: a session,
// a database with a built word index, and an index-list block.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_builder.h"
#include "engine_db/word_index_component.h"
#include "re_blocks.h"
#include "temp_dir.h"
#include "word_list.h"

namespace {

using BlockCall = u32(__stdcall*)(void*, u16, u16);
using MemoryCall = u32(__stdcall*)(void**, void*, u16, u16, u16);

TEST(IdxListThroughTheLibrary, LooksUpAndListsWords) {
  namespace edb = builder::engine_db;
  const auto words = TestWordList();
  std::vector<builder::IndexWord> indexWords;
  u32 n = 0;
  for (const auto& w : words) indexWords.push_back({w, ++n, {}, {}});
  edb::Database database;
  database.header.databaseId = 9;
  database.header.capabilityMask = 0x81;
  edb::TextComponentSpec text;
  text.entryCount = n;
  database.components.push_back(edb::TextComponent(text));
  database.components.push_back(builder::WordIndexComponentOf(
      builder::BuildWordIndex(indexWords, {}), builder::BuildSpellingTables(builder::StandardSpelling(), words)));
  TempDir dir;
  edb::Write(dir.File("WORDS.DAT"), database);

  HMODULE library = LoadLibraryA("ZORLRE32.DLL");
  ASSERT_NE(library, nullptr);
  auto entry = [&](int ordinal) { return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))); };
  auto REappX = reinterpret_cast<BlockCall>(entry(2));
  auto REdbX = reinterpret_cast<BlockCall>(entry(3));
  auto REidxlstX = reinterpret_cast<BlockCall>(entry(4));
  auto REmemoryX = reinterpret_cast<MemoryCall>(entry(9));

  void *app = nullptr, *db = nullptr, *list = nullptr;
  ASSERT_EQ(REmemoryX(&app, nullptr, ReBlockApp, ReActOpen, 0), 0u);
  ASSERT_EQ(REappX(app, 100, ReActOpen), 0u);
  ASSERT_EQ(REmemoryX(&db, app, ReBlockDb, ReActOpen, 0), 0u);
  const std::string name = "WORDS.DAT";
  ReFileSpec spec{dir.path().c_str(), name.c_str()};
  auto* dbBlock = static_cast<ReDbBlock*>(db);
  dbBlock->fileSpec = &spec;
  dbBlock->optionMask = 128;
  ASSERT_EQ(REdbX(db, 100, ReActOpen), 0u);
  ASSERT_EQ(REmemoryX(&list, db, ReBlockIdxList, ReActOpen, 0), 0u);
  auto* block = static_cast<ReIdxListBlock*>(list);
  block->handle = dbBlock->handle;

  std::strcpy(block->word, "recieve");
  EXPECT_EQ(REidxlstX(block, 210, ReActOpen), 0u);
  EXPECT_GE(static_cast<i16>(block->foundCount), 1);
  EXPECT_STREQ(block->results, "receive");
  std::strcpy(block->word, "listen");
  EXPECT_EQ(REidxlstX(block, 120, ReActOpen), 0u);
  EXPECT_EQ(static_cast<i16>(block->foundCount), 5);
  std::strcpy(block->word, "re*");
  EXPECT_EQ(REidxlstX(block, 250, ReActOpen), 0u);
  EXPECT_EQ(static_cast<i16>(block->foundCount), 20);
  EXPECT_EQ(REidxlstX(block, 250, ReActClose), 0u);

  EXPECT_EQ(REmemoryX(&list, db, ReBlockIdxList, ReActClose, 0), 0u);
  EXPECT_EQ(REdbX(db, 100, ReActClose), 0u);
  EXPECT_EQ(REmemoryX(&db, app, ReBlockDb, ReActClose, 0), 0u);
  EXPECT_EQ(REappX(app, 100, ReActClose), 0u);
  EXPECT_EQ(REmemoryX(&app, nullptr, ReBlockApp, ReActClose, 0), 0u);
  FreeLibrary(library);
}

}  // namespace
