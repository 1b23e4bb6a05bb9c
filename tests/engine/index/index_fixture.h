// A word index built by the content builder and opened as the engine sees
// it: the block area in a scratch file, the tables in memory, a descriptor
// over both and a walk state.
#pragma once

#include <string>
#include <vector>

#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_builder.h"
#include "re_index_walk.h"
#include "temp_dir.h"

class IndexFixture {
 public:
  IndexFixture(std::vector<builder::IndexWord> words, const builder::WordIndexOptions& options = {},
               const builder::SpellingData* spelling = nullptr, u8 kind = 1);
  ~IndexFixture();
  IndexFixture(const IndexFixture&) = delete;
  IndexFixture& operator=(const IndexFixture&) = delete;

  ReIndexDescriptor index{};
  ReIndexState* state = nullptr;
  builder::WordIndexComponent component;

  const builder::BuiltTable* Table(u16 id) const;
  // Every record of every block, capitals restored, in index order.
  std::vector<std::string> DecodeAll();

 private:
  TempDir dir_;
  std::vector<builder::BuiltTable> spellingTables_;
};

// Words with list numbers 1, 2, 3, ... in the order given.
std::vector<builder::IndexWord> NumberedWords(const std::vector<std::string>& words);
