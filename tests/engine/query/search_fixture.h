// A searchable database of a generated corpus, open in a session, with a
// search block, and helpers that run REsearch through all its pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "re_query.h"
#include "search_corpus/search_corpus.h"
#include "search_corpus/search_database.h"

namespace searchtest {

namespace sc = builder::search_corpus;

struct Page {
  u32 result;
  ReStatusBlock status;
  std::vector<u32> entries;
  std::vector<std::string> titles;
};

struct Outcome {
  std::vector<Page> pages;
  std::vector<u32> entries;  // every page's hits in order
  std::string normalised;    // the query buffer after 470
};

class SearchDb {
 public:
  SearchDb(const sc::Corpus& corpus, const sc::SearchDatabaseOptions& options = {}, u16 slots = 0);
  // Over the bytes of a database file (for damaged files).
  explicit SearchDb(const builder::Bytes& file, u16 slots = 0);
  ~SearchDb();

  // 470, then 430 while the status is 0, then 480.
  Outcome Search(const std::string& query, u16 function = 145, u8 caseMode = 1);
  // One call on the search block.
  Page Call(u16 function, u16 action);
  void SetQuery(const std::string& query, u8 caseMode = 1);

  ReSearchBlock* block() const { return search_; }
  enginetest::Database& database() { return *database_; }
  const TempDir& dir() const { return dir_; }

 private:
  void Open(const std::string& name, u16 slots);

  TempDir dir_;
  std::unique_ptr<enginetest::Session> session_;
  std::unique_ptr<enginetest::Database> database_;
  ReSearchBlock* search_ = nullptr;
};

}  // namespace searchtest
