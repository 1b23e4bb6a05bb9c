#include "index_database.h"

#include <cstring>
#include <stdexcept>

#include "engine_db/word_index_component.h"
#include "index_fixture.h"
#include "word_list.h"

IndexDatabase::IndexDatabase(std::vector<builder::IndexWord> words, const IndexDbOptions& options) {
  std::vector<std::string> texts;
  for (const auto& w : words) texts.push_back(w.text);
  builder::WordIndexComponent index = builder::BuildWordIndex(std::move(words), options.index);
  if (options.longestWord) index.longestWord = *options.longestWord;
  std::vector<builder::BuiltTable> spelling;
  if (options.spelling) {
    builder::SpellingData data = options.passes ? *options.passes : builder::StandardSpelling();
    data.exceptions = options.exceptions;
    spelling = builder::BuildSpellingTables(data, texts);
  }
  auto database = enginetest::SmallDatabase();
  database.header.kind = options.kind;
  for (auto& component : database.components)
    if (component.type == 2 && component.subtype == 1) component = builder::WordIndexComponentOf(index, spelling);
  enginetest::WriteDatabase(dir_, database);
  db_ = std::make_unique<enginetest::Database>(session_);
  if (db_->Open(dir_.path(), "TEST.DAT") != ReDone) throw std::runtime_error("the index database does not open");
}

IndexDatabase::~IndexDatabase() {
  for (ReIdxListBlock* block : blocks_) {
    void* p = block;
    REmemory(&p, db_->block(), ReBlockIdxList, ReActClose, 0);
  }
  db_->Close();
}

ReIdxListBlock* IndexDatabase::Block(u16 count) {
  void* p = nullptr;
  if (REmemory(&p, db_->block(), ReBlockIdxList, ReActOpen, count) != ReDone) throw std::runtime_error("no 530 block");
  auto* block = static_cast<ReIdxListBlock*>(p);
  block->handle = db_->block()->handle;
  blocks_.push_back(block);
  return block;
}

u32 IndexDatabase::Call(ReIdxListBlock* block, u16 function, u16 action, const std::string& word) {
  const size_t room = db_->block()->longestWord + 1u;
  const size_t n = std::min(word.size(), room - 1);
  std::memcpy(block->word, word.data(), n);
  block->word[n] = 0;
  return REidxlst(block, function, action);
}

u32 IndexDatabase::Call(ReIdxListBlock* block, u16 function, u16 action) { return REidxlst(block, function, action); }

std::vector<std::string> IndexDatabase::Results(const ReIdxListBlock* block) {
  std::vector<std::string> out;
  const char* p = block->results;
  for (i16 i = 0; i < block->foundCount; ++i) {
    out.emplace_back(p);
    p += out.back().size() + 1;
  }
  return out;
}

std::vector<builder::IndexWord> TestIndexWords() { return NumberedWords(TestWordList()); }
