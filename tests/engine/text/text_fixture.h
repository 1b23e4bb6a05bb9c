// Databases of tagged entries for the entry text tests, and readers that
// collect a whole entry through REtoken and REentry.
#pragma once

#include <string>
#include <vector>

#include "engine_fixture.h"
#include "entry_text/entry_text.h"
#include "entry_text/synonym_rings.h"
#include "re_blocks.h"

namespace texttest {

namespace edb = builder::engine_db;
namespace et = builder::entry_text;

struct TextOptions {
  et::CompressOptions compress;
  u16 titleMode = 0;
  u16 textFormat = 0;
  u16 dotMode = 0;
  bool markupTables = true;
  et::MarkupLanguage language = et::DefaultLanguage();
  bool checkEntries = true;
};

// A database whose text component holds the entries (entry 1 first) in the
// default markup language, with an empty main index.
edb::Database TextDatabase(const std::vector<std::string>& entries, const TextOptions& options = {});

// A synonym database (text format 8): the rings in its main index, a text
// component of as many empty entries as members.
edb::Database ThesaurusDatabase(const std::vector<std::vector<et::RingMember>>& rings,
                                std::vector<std::vector<u32>>* entries = nullptr);

// One token as the tests compare it.
struct Tok {
  std::string text;
  u8 type = 0;
  u8 flags = 0;
  u8 style = 0;
  u8 group = 0;
};

// An open session and database over a built file, with a token block and an
// entry block.
class TextDb {
 public:
  explicit TextDb(const edb::Database& database, u16 capacity = 0, u16 entryBuffer = 0);
  // Over the bytes of a database file (for damaged files).
  explicit TextDb(const builder::Bytes& file, u16 capacity = 0, u16 entryBuffer = 0);
  ~TextDb();
  TextDb(const TextDb&) = delete;
  TextDb& operator=(const TextDb&) = delete;

  ReTokenBlock* tokens() const { return token_; }
  ReEntryBlock* entry() const { return entry_; }
  enginetest::Database& db() { return db_; }

  // One REtoken call on `entry` (the block's handle and entry are set first).
  u32 Token(u32 entry, u16 action, u16 function = 495);
  // The tokens of the last chunk.
  std::vector<Tok> Chunk() const;
  // 470, then 430 until a warning or a failure; every token, and the status
  // of the last call.
  std::vector<Tok> AllTokens(u32 entry, ReStatusBlock* last = nullptr, u32* chunks = nullptr);
  // The entry's tagged text through REentry 470/430; the pieces' lengths.
  std::string AllText(u32 entry, ReStatusBlock* last = nullptr, std::vector<u32>* pieces = nullptr);
  u32 Entry(u32 entry, u16 action, u16 function = 495);

 private:
  void Open(const std::string& name, u16 capacity, u16 entryBuffer);

  TempDir dir_;
  enginetest::Session session_;
  enginetest::Database db_;
  ReTokenBlock* token_ = nullptr;
  ReEntryBlock* entry_ = nullptr;
};

// The text of the tokens run together, a blank where a token has flag 0x02
// (but not before the first) and a line feed where it has 0x01.
std::string Render(const std::vector<Tok>& tokens);

}  // namespace texttest
