#include "search_fixture.h"

#include <cstring>
#include <stdexcept>

namespace searchtest {

SearchDb::SearchDb(const sc::Corpus& corpus, const sc::SearchDatabaseOptions& options, u16 slots) {
  Open(enginetest::WriteDatabase(dir_, sc::SearchDatabase(corpus, options), "SEARCH.DAT"), slots);
}

SearchDb::SearchDb(const builder::Bytes& file, u16 slots) {
  Open(enginetest::WriteBytes(dir_, file, "SEARCH.DAT"), slots);
}

void SearchDb::Open(const std::string& name, u16 slots) {
  session_ = std::make_unique<enginetest::Session>();
  database_ = std::make_unique<enginetest::Database>(*session_);
  if (database_->Open(dir_.path(), name) != ReDone) throw std::runtime_error("database does not open");
  void* block = nullptr;
  if (REmemory(&block, database_->block(), ReBlockSearch, ReActOpen, slots) != ReDone)
    throw std::runtime_error("no search block");
  search_ = static_cast<ReSearchBlock*>(block);
  search_->handle = database_->block()->handle;
}

SearchDb::~SearchDb() {
  void* block = search_;
  REmemory(&block, nullptr, ReBlockSearch, ReActClose, 0);
  database_->Close();
}

void SearchDb::SetQuery(const std::string& query, u8 caseMode) {
  std::memset(search_->query, 0, ReQueryBufferSize);
  std::memcpy(search_->query, query.data(), std::min<size_t>(query.size(), ReQueryBufferSize));
  search_->caseMode = caseMode;
}

Page SearchDb::Call(u16 function, u16 action) {
  Page page;
  page.result = REsearch(search_, function, action);
  page.status = *search_->status;
  if (action != ReActClose)
    for (u16 i = 0; i < search_->hitCount; ++i) {
      page.entries.push_back(search_->slots[i].entry);
      page.titles.push_back(search_->slots[i].title);
    }
  return page;
}

Outcome SearchDb::Search(const std::string& query, u16 function, u8 caseMode) {
  Outcome outcome;
  SetQuery(query, caseMode);
  outcome.pages.push_back(Call(function, ReActOpen));
  outcome.normalised = search_->query;
  while (outcome.pages.back().result == ReDone && outcome.pages.size() < 10000)
    outcome.pages.push_back(Call(function, ReActNext));
  Call(function, ReActClose);
  for (const Page& page : outcome.pages)
    outcome.entries.insert(outcome.entries.end(), page.entries.begin(), page.entries.end());
  return outcome;
}

}  // namespace searchtest
