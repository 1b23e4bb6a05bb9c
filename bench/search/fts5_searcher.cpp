// SQLite's FTS5 over the same articles: a title and a body column, the
// unicode61 tokenizer, rowid = entry number.
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "searchers.h"

namespace bench {

namespace {

namespace sc = builder::search_corpus;

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("sqlite: " + what); }

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "failed";
    sqlite3_free(error);
    Fail(message);
  }
}

// The query in FTS5's language: AND, a quoted phrase, NEAR(x y, 6) (at most
// six tokens between), a bare word, a quoted joined word (its tokens as a
// phrase), or the ranked terms joined by OR.
std::string MatchText(const BenchQuery& query) {
  switch (query.kind) {
    case QueryKind::And: return query.words[0] + " AND " + query.words[1];
    case QueryKind::Phrase: return "\"" + query.words[0] + " " + query.words[1] + "\"";
    case QueryKind::Near: return "NEAR(" + query.words[0] + " " + query.words[1] + ", 6)";
    case QueryKind::StopWord: return query.words[0];
    case QueryKind::Joined: return "\"" + query.words[0] + "\"";
    case QueryKind::Ranked: break;
  }
  std::string text;
  for (const std::string& word : query.words) text += (text.empty() ? "" : " OR ") + word;
  return text;
}

class Fts5Searcher : public Searcher {
 public:
  explicit Fts5Searcher(const std::string& dir) : path_(dir + "/bench.sqlite") {}
  ~Fts5Searcher() override { Close(); }

  std::string Name() const override { return "FTS5"; }

  void Build(const sc::Corpus& corpus) override {
    std::filesystem::remove(path_);
    sqlite3* db = nullptr;
    if (sqlite3_open(path_.c_str(), &db) != SQLITE_OK) Fail("cannot create " + path_);
    Exec(db, "CREATE VIRTUAL TABLE docs USING fts5(title, body, tokenize='unicode61')");
    Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO docs(rowid, title, body) VALUES (?, ?, ?)", -1, &insert, nullptr) !=
        SQLITE_OK)
      Fail("prepare failed");
    for (std::size_t i = 0; i < corpus.articles.size(); ++i) {
      sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(i + 1));
      sqlite3_bind_text(insert, 2, corpus.articles[i].title.c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, corpus.articles[i].body.c_str(), -1, SQLITE_STATIC);
      if (sqlite3_step(insert) != SQLITE_DONE) Fail("insert failed");
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
    Exec(db, "INSERT INTO docs(docs) VALUES ('optimize')");
    sqlite3_close(db);
  }

  std::uint64_t DatabaseBytes() const override { return std::filesystem::file_size(path_); }

  void Open() override {
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) Fail("no open");
    Rows("SELECT rowid FROM docs WHERE docs MATCH ?", "zzzz");  // the schema is read on first use
  }

  void Close() override {
    sqlite3_close(db_);
    db_ = nullptr;
  }

  std::vector<std::uint32_t> Search(const BenchQuery& query) override {
    return Rows("SELECT rowid FROM docs WHERE docs MATCH ? ORDER BY rowid", MatchText(query));
  }

  std::uint64_t Ranked(const BenchQuery& query) override {
    return Rows("SELECT rowid FROM docs WHERE docs MATCH ? ORDER BY bm25(docs) LIMIT 50", MatchText(query)).size();
  }

 private:
  std::vector<std::uint32_t> Rows(const char* sql, const std::string& match) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) Fail("prepare failed");
    sqlite3_bind_text(statement, 1, match.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<std::uint32_t> rows;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
      rows.push_back(static_cast<std::uint32_t>(sqlite3_column_int64(statement, 0)));
    sqlite3_finalize(statement);
    if (step != SQLITE_DONE) Fail("query failed: " + match);
    return rows;
  }

  std::string path_;
  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Searcher> MakeFts5Searcher(const std::string& dir) { return std::make_unique<Fts5Searcher>(dir); }

}  // namespace bench
