// An engine database whose main index is built from a word list, opened in
// a session, with index-list blocks to call REidxlst on.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../engine_fixture.h"
#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_builder.h"
#include "re_index_walk.h"

struct IndexDbOptions {
  builder::WordIndexOptions index = {2, 512, 12, 4, 7, 13, 4, 512};
  bool spelling = true;  // spelling data: `passes`, or the standard passes
  std::optional<builder::SpellingData> passes;
  std::vector<std::pair<std::string, std::string>> exceptions;
  u16 kind = 1;
  std::optional<u16> longestWord;  // the header's longest word in place of the real one
};

class IndexDatabase {
 public:
  explicit IndexDatabase(std::vector<builder::IndexWord> words, const IndexDbOptions& options = {});
  ~IndexDatabase();
  IndexDatabase(const IndexDatabase&) = delete;
  IndexDatabase& operator=(const IndexDatabase&) = delete;

  // An index-list block of the database (REmemory 530 with `count` results).
  ReIdxListBlock* Block(u16 count = 0);
  // Copies the word into the block and calls REidxlst.
  u32 Call(ReIdxListBlock* block, u16 function, u16 action, const std::string& word);
  u32 Call(ReIdxListBlock* block, u16 function, u16 action);
  static std::vector<std::string> Results(const ReIdxListBlock* block);

  enginetest::Database& db() { return *db_; }
  ReIndexState* state() { return static_cast<ReIndexState*>(db_->record()->indexState); }
  const std::string& directory() const { return dir_.path(); }

 private:
  TempDir dir_;
  enginetest::Session session_;
  std::unique_ptr<enginetest::Database> db_;
  std::vector<ReIdxListBlock*> blocks_;
};

// The word list of the tests as index words numbered 1, 2, ...
std::vector<builder::IndexWord> TestIndexWords();
