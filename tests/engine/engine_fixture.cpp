#include "engine_fixture.h"

#include <stdexcept>

#include "common/byte_writer.h"

namespace enginetest {

namespace {

builder::Bytes Be16s(std::initializer_list<u16> values) {
  builder::ByteWriter out;
  for (u16 value : values) out.U16be(value);
  return out.take();
}

}  // namespace

edb::Database SmallDatabase() {
  edb::Database database;
  database.header.databaseId = kDatabaseId;
  database.header.variant = 2;
  database.header.capabilityMask = 0x81;
  database.header.word738 = 738;
  database.header.lineRule = 1;  // "other": text word 122 + 9

  edb::TextComponentSpec text;
  text.flags = 1;
  text.entryCount = kEntries;
  text.word108 = 108;
  text.groupSize = 8;
  text.codeWidth = 12;
  text.longestEntryText = 300;
  text.longestLine = 70;
  // The terminals come first: code 0 is "cat" (pool offset 5, length 3) and
  // code 1 the end code, whose text in the pool is 254 254 254 254; table
  // 60's element count (2) is the terminal count. Codes 2 and 3 are the
  // single characters 0 and 'a' (table 30: 0xFFFF). The end-code search runs
  // over codes 0 up to 2^12 minus table 20's first word (5).
  builder::Bytes pool = {'x', 254, 254, 254, 254, 'c', 'a', 't'};
  text.tables = {
      {10, 4, std::nullopt, builder::Bytes(4 * (kEntries / 8 + 1), 0)},
      {20, 2, std::nullopt, Be16s({5, 1, 0, 'a'})},
      {30, 2, std::nullopt, Be16s({3, 4, 0xFFFF, 0xFFFF})},
      {60, 1, u16{2}, pool},
  };
  text.codeStream = builder::Bytes(64, 0x55);
  database.components.push_back(edb::TextComponent(text));

  edb::IndexComponentSpec index;
  index.subtype = 1;
  index.flags = 13;
  index.formatLevel = 7;
  index.recordOptions = 4;
  index.entryListCount = 30;
  index.longestLine = 60;
  index.longestWord = 32;
  index.blockSize = 512;
  index.codeWidth = 12;
  index.stringTableSize = 200;
  index.tables = {{200, 1, u16{9}, builder::Bytes{'a', 'b', 'c'}},
                  {230, 4, std::nullopt, builder::Bytes{'a', ' ', ' ', ' ', 'm', ' ', ' ', ' '}}};
  index.blocks = {builder::Bytes(16, 0), builder::Bytes(16, 0)};
  database.components.push_back(edb::IndexComponent(index));

  edb::IndexComponentSpec search;
  search.subtype = 3;
  search.blockSize = 1024;
  search.codeWidth = 10;
  search.tables = {{200, 1, u16{3}, builder::Bytes{'x', 'y', 'z'}}};
  database.components.push_back(edb::IndexComponent(search));
  return database;
}

edb::Component& TextOf(edb::Database& database) {
  for (edb::Component& component : database.components)
    if (component.type == 1) return component;
  throw std::logic_error("no text component");
}

edb::SubsetDef SubsetNode(u16 id, u8 level, u8 flags, u32 first, u32 last, std::optional<std::vector<u32>> stored,
                          bool coded) {
  return {id, level, flags, first, last, std::move(stored), coded};
}

void AddSubsets(edb::Database& database, const std::vector<edb::SubsetDef>& defs, bool eighteen) {
  const edb::SubsetTables tables = edb::BuildSubsetTables(defs, eighteen);
  edb::Component& text = TextOf(database);
  text.tables.push_back(tables.definitions);
  if (tables.bits) text.tables.push_back(*tables.bits);
  text.fields.push_back({124, 4, tables.rawAreaSize});
}

std::string WriteDatabase(const TempDir& dir, const edb::Database& database, const std::string& name) {
  edb::Write(dir.File(name), database);
  return name;
}

std::string WriteBytes(const TempDir& dir, const builder::Bytes& bytes, const std::string& name) {
  builder::WriteFileAtomically(dir.File(name), bytes);
  return name;
}

Session::Session() {
  void* block = nullptr;
  if (REmemory(&block, nullptr, ReBlockApp, ReActOpen, 0) != ReDone) throw std::runtime_error("no session block");
  block_ = static_cast<ReAppBlock*>(block);
  if (REapp(block_, 100, ReActOpen) != ReDone) throw std::runtime_error("no session");
}

Session::~Session() {
  REapp(block_, 100, ReActClose);
  void* block = block_;
  REmemory(&block, nullptr, ReBlockApp, ReActClose, 0);
}

Database::Database(const Session& session) {
  void* block = nullptr;
  if (REmemory(&block, session.block(), ReBlockDb, ReActOpen, 0) != ReDone)
    throw std::runtime_error("no database block");
  block_ = static_cast<ReDbBlock*>(block);
}

Database::~Database() {
  if (block_->handle) Close();
  void* block = block_;
  REmemory(&block, nullptr, ReBlockDb, ReActClose, 0);
}

u32 Database::Open(const std::string& directory, const std::string& name, u16 optionMask) {
  directory_ = directory;
  name_ = name;
  spec_.directory = directory_.c_str();
  spec_.fileName = name_.c_str();
  block_->fileSpec = &spec_;
  block_->optionMask = optionMask;
  return REdb(block_, 100, ReActOpen);
}

u32 Database::Close() { return REdb(block_, 100, ReActClose); }

ReDbRecord* Database::record() const {
  ReHandleNode* handle = node();
  return handle ? handle->database->record : nullptr;
}

ReWorkRecord* Database::work() const {
  ReHandleNode* handle = node();
  return handle ? handle->work : nullptr;
}

}  // namespace enginetest
