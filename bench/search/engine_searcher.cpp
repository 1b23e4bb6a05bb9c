// The engine through its exports, as the reader calls it.
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "engine_db/engine_db.h"
#include "re_blocks.h"
#include "re_query.h"
#include "re_rank.h"
#include "search_corpus/search_database.h"
#include "searchers.h"
#include "zorlre32.h"

namespace bench {

namespace {

namespace sc = builder::search_corpus;

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("engine: " + what); }

class EngineSearcher : public Searcher {
 public:
  explicit EngineSearcher(const std::string& dir) : dir_(dir + "/") {}
  ~EngineSearcher() override { Close(); }

  std::string Name() const override { return "engine"; }

  void Build(const sc::Corpus& corpus) override {
    sc::SearchDatabaseOptions options;
    options.maxCodes = 65535;
    options.indexBlockSize = 4096;
    builder::engine_db::Write(Path(), sc::SearchDatabase(corpus, options));
  }

  std::uint64_t DatabaseBytes() const override { return std::filesystem::file_size(Path()); }

  void Open() override {
    void* block = nullptr;
    if (REmemory(&block, nullptr, ReBlockApp, ReActOpen, 0) != ReDone) Fail("no session block");
    app_ = static_cast<ReAppBlock*>(block);
    if (REapp(app_, 100, ReActOpen) != ReDone) Fail("no session");
    if (REmemory(&block, app_, ReBlockDb, ReActOpen, 0) != ReDone) Fail("no database block");
    db_ = static_cast<ReDbBlock*>(block);
    spec_ = ReFileSpec{dir_.c_str(), "BENCH.DAT"};
    db_->fileSpec = &spec_;
    db_->optionMask = 128;
    if (REdb(db_, 100, ReActOpen) != ReDone) Fail("the database does not open");
    if (REmemory(&block, db_, ReBlockSearch, ReActOpen, 0) != ReDone) Fail("no search block");
    search_ = static_cast<ReSearchBlock*>(block);
    search_->handle = db_->handle;
  }

  void Close() override {
    void* block = search_;
    if (search_) REmemory(&block, nullptr, ReBlockSearch, ReActClose, 0);
    search_ = nullptr;
    if (db_) {
      REdb(db_, 100, ReActClose);
      block = db_;
      REmemory(&block, nullptr, ReBlockDb, ReActClose, 0);
      db_ = nullptr;
    }
    if (app_) {
      REapp(app_, 100, ReActClose);
      block = app_;
      REmemory(&block, nullptr, ReBlockApp, ReActClose, 0);
      app_ = nullptr;
    }
  }

  // Every page of a word search.
  std::vector<std::uint32_t> Search(const BenchQuery& query) override {
    const std::string text = EngineQueryText(query);
    std::memset(search_->query, 0, ReQueryBufferSize);
    std::memcpy(search_->query, text.data(), std::min<std::size_t>(text.size(), ReQueryBufferSize - 1));
    search_->caseMode = 1;
    std::vector<std::uint32_t> entries;
    u32 result = REsearch(search_, ReFuncWordSearch, ReActOpen);
    Take(&entries);
    while (result == ReDone) {
      result = REsearch(search_, ReFuncWordSearch, ReActNext);
      Take(&entries);
    }
    REsearch(search_, ReFuncWordSearch, ReActClose);
    if (result == ReFail) Fail("search failed: " + text + " (" + std::to_string(search_->status->error) + ")");
    return entries;
  }

  // A ranked query with every weight 1.
  std::uint64_t Ranked(const BenchQuery& query) override {
    std::vector<std::string> words = query.words;
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    std::vector<float> idf(words.size()), weights(words.size(), 1.0f);
    ReRankRecord record{};
    record.termCount = static_cast<u16>(words.size());
    record.termTexts = pointers.data();
    record.idf = idf.data();
    record.weights = weights.data();
    search_->query[0] = '\0';
    search_->caseMode = 1;
    if (REconqry(db_, &record, search_, 1, ReActOpen) == ReFail) Fail("ranked query: collecting failed");
    if (REconqry(db_, &record, search_, 2, ReActClose) == ReFail) Fail("ranked query: ranking failed");
    return record.resultCount;
  }

 private:
  std::string Path() const { return dir_ + "BENCH.DAT"; }

  void Take(std::vector<std::uint32_t>* entries) const {
    const u16 hits = search_->hitCount;
    for (u16 i = 0; i < hits; ++i) entries->push_back(search_->slots[i].entry);
  }

  std::string dir_;
  ReAppBlock* app_ = nullptr;
  ReDbBlock* db_ = nullptr;
  ReFileSpec spec_{};
  ReSearchBlock* search_ = nullptr;
};

}  // namespace

std::unique_ptr<Searcher> MakeEngineSearcher(const std::string& dir) { return std::make_unique<EngineSearcher>(dir); }

}  // namespace bench
