#include "text_fixture.h"

#include <cstring>
#include <stdexcept>

#include "packed.h"

namespace texttest {

edb::Database TextDatabase(const std::vector<std::string>& entries, const TextOptions& options) {
  edb::Database database;
  database.header.databaseId = enginetest::kDatabaseId;
  database.header.variant = 2;
  database.header.capabilityMask = 0x81;
  database.header.lineRule = 1;
  database.header.titleMode = options.titleMode;
  database.header.textFormat = options.textFormat;
  database.header.dotMode = options.dotMode;
  et::EntryTextSpec spec;
  spec.entries = entries;
  spec.compress = options.compress;
  spec.markupTables = options.markupTables;
  spec.language = options.language;
  spec.checkEntries = options.checkEntries;
  edb::TextComponentSpec text = et::EntryTextComponent(spec);
  text.flags = 1;
  database.components.push_back(edb::TextComponent(text));

  edb::IndexComponentSpec index;
  index.subtype = 1;
  index.longestWord = 32;
  index.entryListCount = 20;
  index.blockSize = 512;
  index.codeWidth = 12;
  database.components.push_back(edb::IndexComponent(index));
  return database;
}

edb::Database ThesaurusDatabase(const std::vector<std::vector<et::RingMember>>& rings,
                                std::vector<std::vector<u32>>* entries) {
  const et::SynonymIndex index = et::SynonymRingIndex(rings);
  if (entries) *entries = index.entries;
  edb::Database database;
  database.header.databaseId = enginetest::kDatabaseId;
  database.header.capabilityMask = 0x81;
  database.header.lineRule = 1;
  database.header.textFormat = 8;
  et::EntryTextSpec spec;
  spec.entries.assign(index.entryCount, "");
  spec.markupTables = false;
  edb::TextComponentSpec text = et::EntryTextComponent(spec);
  text.longestEntryText = static_cast<u16>(index.longestText);
  database.components.push_back(edb::TextComponent(text));
  database.components.push_back(edb::IndexComponent(index.index));
  return database;
}

TextDb::TextDb(const edb::Database& database, u16 capacity, u16 entryBuffer) : db_(session_) {
  Open(enginetest::WriteDatabase(dir_, database), capacity, entryBuffer);
}

TextDb::TextDb(const builder::Bytes& file, u16 capacity, u16 entryBuffer) : db_(session_) {
  Open(enginetest::WriteBytes(dir_, file), capacity, entryBuffer);
}

void TextDb::Open(const std::string& name, u16 capacity, u16 entryBuffer) {
  if (db_.Open(dir_.path(), name) != ReDone) throw std::runtime_error("database did not open");
  void* block = nullptr;
  if (REmemory(&block, db_.block(), 555, 470, capacity) != ReDone) throw std::runtime_error("no token block");
  token_ = static_cast<ReTokenBlock*>(block);
  block = nullptr;
  if (REmemory(&block, db_.block(), 550, 470, entryBuffer) != ReDone) throw std::runtime_error("no entry block");
  entry_ = static_cast<ReEntryBlock*>(block);
  token_->handle = db_.block()->handle;
  entry_->handle = db_.block()->handle;
}

TextDb::~TextDb() {
  void* block = token_;
  REmemory(&block, nullptr, 555, 480, 0);
  block = entry_;
  REmemory(&block, nullptr, 550, 480, 0);
  db_.Close();
}

u32 TextDb::Token(u32 entry, u16 action, u16 function) {
  token_->entry = entry;
  token_->handle = db_.block()->handle;
  return REtoken(token_, function, action);
}

u32 TextDb::Entry(u32 entry, u16 action, u16 function) {
  entry_->entry = entry;
  entry_->handle = db_.block()->handle;
  return REentry(entry_, function, action);
}

std::vector<Tok> TextDb::Chunk() const {
  std::vector<Tok> out;
  const u16 count = token_->tokenCount;
  for (u16 i = 0; i < count; ++i) {
    ReToken t;
    std::memcpy(&t, &token_->tokens[i], sizeof t);
    out.push_back(Tok{std::string(t.text, t.length), t.type, t.flags, t.style, t.groupMark});
  }
  return out;
}

std::vector<Tok> TextDb::AllTokens(u32 entry, ReStatusBlock* last, u32* chunks) {
  std::vector<Tok> all;
  u32 calls = 0;
  for (u16 action = 470;; action = 430) {
    const u32 result = Token(entry, action);
    ++calls;
    for (const Tok& t : Chunk()) all.push_back(t);
    if (result != ReDone || calls > 100000) break;
  }
  if (last) *last = *token_->status;
  if (chunks) *chunks = calls;
  Token(entry, 480);
  return all;
}

std::string TextDb::AllText(u32 entry, ReStatusBlock* last, std::vector<u32>* pieces) {
  std::string text;
  u32 calls = 0;
  for (u16 action = 470;; action = 430) {
    const u32 result = Entry(entry, action);
    ++calls;
    const u16 length = entry_->textLength;
    text.append(entry_->text, length);
    if (pieces) pieces->push_back(length);
    if (result != ReDone || calls > 100000) break;
  }
  if (last) *last = *entry_->status;
  Entry(entry, 480);
  return text;
}

std::string Render(const std::vector<Tok>& tokens) {
  std::string out;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0 && (tokens[i].flags & 0x01)) {
      out += '\n';
    } else if (i > 0 && (tokens[i].flags & 0x02)) {
      out += ' ';
    }
    out += tokens[i].text;
  }
  return out;
}

}  // namespace texttest
