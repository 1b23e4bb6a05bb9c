// Entry text through ZORLRE32.DLL as the reader binds it: every call by
// ordinal, over a database the content builder wrote.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "engine_db/engine_db.h"
#include "entry_text/entry_text.h"
#include "packed.h"
#include "re_blocks.h"
#include "temp_dir.h"

namespace {

namespace edb = builder::engine_db;
namespace et = builder::entry_text;

using BlockCall = u32(__stdcall*)(void*, u16, u16);
using MemoryCall = u32(__stdcall*)(void**, void*, u16, u16, u16);

TEST(EntryTextThroughTheDll, TokensAndTaggedTextByOrdinal) {
  TempDir dir;
  et::EntryTextSpec spec;
  spec.entries = {"<DS>Paris\n<P>The <B>capital</B> of <XR>France<HID>2</HID></XR>.", "<DS>France\n<P>A country."};
  edb::Database database;
  database.header.databaseId = 7;
  database.header.lineRule = 1;
  database.components.push_back(edb::TextComponent(et::EntryTextComponent(spec)));
  edb::IndexComponentSpec index;
  index.longestWord = 32;
  index.entryListCount = 20;
  database.components.push_back(edb::IndexComponent(index));
  edb::Write(dir.File("ARTICLES.DAT"), database);

  HMODULE library = LoadLibraryA("ZORLRE32.DLL");
  ASSERT_NE(library, nullptr);
  auto entry = [&](int ordinal) { return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))); };
  auto app = reinterpret_cast<BlockCall>(entry(2));
  auto db = reinterpret_cast<BlockCall>(entry(3));
  auto text = reinterpret_cast<BlockCall>(entry(6));
  auto memory = reinterpret_cast<MemoryCall>(entry(9));
  auto token = reinterpret_cast<BlockCall>(entry(11));

  void* session = nullptr;
  void* dbBlock = nullptr;
  ASSERT_EQ(memory(&session, nullptr, 510, 470, 0), 0u);
  ASSERT_EQ(app(session, 100, 470), 0u);
  ASSERT_EQ(memory(&dbBlock, session, 520, 470, 0), 0u);
  auto* dbInfo = static_cast<ReDbBlock*>(dbBlock);
  const std::string directory = dir.path();
  ReFileSpec file{directory.c_str(), "ARTICLES.DAT"};
  dbInfo->fileSpec = &file;
  dbInfo->optionMask = 128;
  ASSERT_EQ(db(dbBlock, 100, 470), 0u);

  void* tokenBlock = nullptr;
  void* entryBlock = nullptr;
  ASSERT_EQ(memory(&tokenBlock, dbBlock, 555, 470, 0), 0u);
  ASSERT_EQ(memory(&entryBlock, dbBlock, 550, 470, 0), 0u);
  auto* tokens = static_cast<ReTokenBlock*>(tokenBlock);
  tokens->entry = 1;
  tokens->handle = dbInfo->handle;
  EXPECT_EQ(token(tokenBlock, 495, 470), 4u);
  EXPECT_EQ(PACKED(tokens->status->warning), -352);
  ASSERT_EQ(PACKED(tokens->tokenCount), 7);  // Paris The capital of France 2 .
  // The reader reads packed tokens: a text pointer (32-bit in the reader's
  // build, so nine bytes a token), then length, type, group mark, flags, style.
  constexpr std::size_t kPointer = sizeof(char*), kToken = kPointer + 5;
  static_assert(sizeof(ReToken) == kToken, "tokens are packed");
  const auto* raw = reinterpret_cast<const u8*>(tokens->tokens);
  const char* capital = nullptr;
  std::memcpy(&capital, raw + 2 * kToken, kPointer);
  EXPECT_EQ(std::string(capital, raw[2 * kToken + kPointer]), "capital");
  EXPECT_EQ(raw[2 * kToken + kPointer + 4], 0x01);  // bold
  EXPECT_EQ(raw[4 * kToken + kPointer + 4], 0x04);  // the cross reference
  EXPECT_EQ(raw[5 * kToken + kPointer + 4], 0x84);  // its hidden article number
  EXPECT_EQ(token(tokenBlock, 495, 480), 0u);

  auto* entryInfo = static_cast<ReEntryBlock*>(entryBlock);
  entryInfo->entry = 2;
  entryInfo->handle = dbInfo->handle;
  EXPECT_EQ(text(entryBlock, 495, 470), 4u);
  EXPECT_STREQ(entryInfo->text, "<DS>France\n<P>A country.");
  EXPECT_EQ(text(entryBlock, 495, 480), 0u);

  EXPECT_EQ(memory(&tokenBlock, nullptr, 555, 480, 0), 0u);
  EXPECT_EQ(memory(&entryBlock, nullptr, 550, 480, 0), 0u);
  EXPECT_EQ(db(dbBlock, 100, 480), 0u);
  EXPECT_EQ(app(session, 100, 480), 0u);
  memory(&dbBlock, nullptr, 520, 480, 0);
  memory(&session, nullptr, 510, 480, 0);
  FreeLibrary(library);
}

}  // namespace
