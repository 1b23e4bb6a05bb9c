// Shared pieces of the engine tests: a small database built with the content
// builder, and the session and database blocks around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "re_handles.h"
#include "temp_dir.h"
#include "zorlre32.h"

namespace enginetest {

namespace edb = builder::engine_db;

constexpr u32 kDatabaseId = 4242;
constexpr u16 kEntries = 40;

// A text component with tables 10, 20, 30, 60 (end code 1) and a main and a
// search index component. Capability mask 0x81.
edb::Database SmallDatabase();

// The text component of a database (to add tables or subsets to).
edb::Component& TextOf(edb::Database& database);

// A subset definition: id, level, flags, first and last entry, and the
// entries of its stored bits (raw, or run-length coded).
edb::SubsetDef SubsetNode(u16 id, u8 level, u8 flags, u32 first, u32 last,
                          std::optional<std::vector<u32>> stored = std::nullopt, bool coded = false);
// Adds subset definitions (18-byte records, else 16) and their stored bits
// to the database's text component.
void AddSubsets(edb::Database& database, const std::vector<edb::SubsetDef>& defs, bool eighteen = true);

// Writes the database into the directory and returns its file name.
std::string WriteDatabase(const TempDir& dir, const edb::Database& database, const std::string& name = "TEST.DAT");
std::string WriteBytes(const TempDir& dir, const builder::Bytes& bytes, const std::string& name = "TEST.DAT");

// A session block with an open session; closed and freed at the end.
class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ReAppBlock* block() const { return block_; }

 private:
  ReAppBlock* block_ = nullptr;
};

// A database block of a session; Open/Close run REdb.
class Database {
 public:
  explicit Database(const Session& session);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  u32 Open(const std::string& directory, const std::string& name, u16 optionMask = 128);
  u32 Close();
  ReDbBlock* block() const { return block_; }
  const ReStatusBlock& status() const { return *block_->status; }
  ReHandleNode* node() const { return ReFindHandle(block_->handle); }
  ReDbRecord* record() const;
  ReWorkRecord* work() const;

 private:
  ReDbBlock* block_ = nullptr;
  ReFileSpec spec_{};
  std::string directory_, name_;
};

}  // namespace enginetest
