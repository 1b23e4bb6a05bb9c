// search_bench: Boolean, NEAR and ranked queries over a generated
// encyclopedia-scale database, timed, beside the same corpus and queries in
// SQLite's FTS5 as a reference.
//
//   search_bench [--articles N] [--words N] [--vocabulary N] [--seed N]
//                [--queries N] [--dir DIRECTORY] [--library DICTD-DIRECTORY]
//
// With --library the corpus is the reference library's main database (its
// articles and dictionary entries, from the dictionary packages in the
// directory, e.g. /usr/share/dictd) and the query words its real vocabulary.
//
// Defaults: 35,000 articles, 9 million words, 350,000 distinct words, seed 1,
// 20 queries of each kind, the database files in ./bench-data/.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "library_corpus.h"
#include "re_blocks.h"
#include "re_query.h"
#include "re_rank.h"
#include "search_corpus/search_corpus.h"
#include "search_corpus/search_database.h"
#include "zorlre32.h"

namespace {

namespace sc = builder::search_corpus;
using Clock = std::chrono::steady_clock;

struct Options {
  std::uint32_t articles = 35000;
  std::uint64_t words = 9000000;
  std::uint32_t vocabulary = 350000;
  std::uint64_t seed = 1;
  std::uint32_t queries = 20;
  std::string dir = "bench-data";
  std::string library;  // the packages' directory: the library's corpus
};

double Millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

template <class F>
double Time(F&& f) {
  const auto start = Clock::now();
  f();
  return Millis(Clock::now() - start);
}

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "search_bench: %s\n", message.c_str());
  std::exit(1);
}

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--articles")
      options.articles = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--words")
      options.words = std::strtoull(value, nullptr, 10);
    else if (name == "--vocabulary")
      options.vocabulary = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--seed")
      options.seed = std::strtoull(value, nullptr, 10);
    else if (name == "--queries")
      options.queries = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--dir")
      options.dir = value;
    else if (name == "--library")
      options.library = value;
    else
      Die("unknown option " + name);
  }
  if (argc % 2 == 0) Die("every option takes a value");
  if (options.articles == 0 || options.vocabulary < 100) Die("too small a corpus");
  return options;
}

// --- Queries -----------------------------------------------------------------

struct Query {
  std::string engine;              // the engine's query text, or the terms of a ranked query
  std::string fts;                 // the same query for FTS5
  std::vector<std::string> terms;  // ranked queries
};

struct QuerySet {
  std::string kind;
  std::vector<Query> queries;
};

std::string Lower(std::string word) {
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return word;
}

std::vector<QuerySet> MakeQueries(const sc::Corpus& corpus, const Options& options) {
  sc::Random random(options.seed * 7919 + 17);
  const auto& vocabulary = corpus.vocabulary;
  const std::uint32_t count = static_cast<std::uint32_t>(vocabulary.size());
  auto midWord = [&] { return vocabulary[std::min<std::uint32_t>(count - 1, 500 + random.Below(4500))]; };
  auto article = [&]() -> const sc::Article& {
    return corpus.articles[random.Below(static_cast<std::uint32_t>(corpus.articles.size()))];
  };
  std::vector<QuerySet> sets = {{"AND", {}}, {"phrase", {}}, {"NEAR", {}}, {"stop word", {}}, {"ranked", {}}};
  for (std::uint32_t q = 0; q < options.queries; ++q) {
    const std::string a = midWord(), b = midWord();
    sets[0].queries.push_back({a + " AND " + b, a + " AND " + b, {}});

    // Two words one space apart in some article.
    for (int attempt = 0; attempt < 50; ++attempt) {
      const sc::Article& text = article();
      const auto words = sc::SplitWords(text);
      if (words.size() < 2) continue;
      const std::uint32_t at = random.Below(static_cast<std::uint32_t>(words.size() - 1));
      const std::string x = Lower(words[at].word), y = Lower(words[at + 1].word);
      if (text.Text().find(words[at].word + " " + words[at + 1].word) == std::string::npos) continue;
      sets[1].queries.push_back({x + " " + y, "\"" + x + " " + y + "\"", {}});
      break;
    }

    // Two words a few positions apart in some article.
    const sc::Article& text = article();
    const auto words = sc::SplitWords(text);
    const std::uint32_t at = random.Below(static_cast<std::uint32_t>(words.size()));
    const std::uint32_t to =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(words.size()) - 1, at + 1 + random.Below(5));
    const std::string x = Lower(words[at].word), y = Lower(words[to].word);
    sets[2].queries.push_back({x + " NEAR " + y, "NEAR(" + x + " " + y + ", 6)", {}});

    const std::string stop = vocabulary[random.Below(10)];  // the most frequent stop words
    sets[3].queries.push_back({stop, stop, {}});

    // Six terms, one of them very frequent (a common word that is no stop word).
    Query ranked;
    ranked.terms.push_back(vocabulary[std::min<std::uint32_t>(count - 1, 61 + random.Below(10))]);
    for (int t = 0; t < 5; ++t) ranked.terms.push_back(midWord());
    for (const std::string& term : ranked.terms) {
      ranked.engine += (ranked.engine.empty() ? "" : " ") + term;
      ranked.fts += (ranked.fts.empty() ? "" : " OR ") + term;
    }
    sets[4].queries.push_back(ranked);
  }
  return sets;
}

// --- The engine --------------------------------------------------------------

class Engine {
 public:
  explicit Engine(const std::string& dir) : dir_(dir + "/") {
    void* block = nullptr;
    if (REmemory(&block, nullptr, ReBlockApp, ReActOpen, 0) != ReDone) Die("no session block");
    app_ = static_cast<ReAppBlock*>(block);
    if (REapp(app_, 100, ReActOpen) != ReDone) Die("no session");
    if (REmemory(&block, app_, ReBlockDb, ReActOpen, 0) != ReDone) Die("no database block");
    db_ = static_cast<ReDbBlock*>(block);
    spec_ = ReFileSpec{dir_.c_str(), "BENCH.DAT"};
    db_->fileSpec = &spec_;
    db_->optionMask = 128;
  }
  ~Engine() {
    Close();
    void* block = db_;
    REmemory(&block, nullptr, ReBlockDb, ReActClose, 0);
    REapp(app_, 100, ReActClose);
    block = app_;
    REmemory(&block, nullptr, ReBlockApp, ReActClose, 0);
  }

  double Open() {
    const double ms = Time([&] {
      if (REdb(db_, 100, ReActOpen) != ReDone) Die("the database does not open");
    });
    void* block = nullptr;
    if (REmemory(&block, db_, ReBlockSearch, ReActOpen, 0) != ReDone) Die("no search block");
    search_ = static_cast<ReSearchBlock*>(block);
    search_->handle = db_->handle;
    return ms;
  }

  void Close() {
    if (!search_) return;
    void* block = search_;
    REmemory(&block, nullptr, ReBlockSearch, ReActClose, 0);
    search_ = nullptr;
    REdb(db_, 100, ReActClose);
  }

  // All pages of a Boolean search; returns the number of hits.
  std::uint64_t Search(const std::string& query) {
    std::memset(search_->query, 0, ReQueryBufferSize);
    std::memcpy(search_->query, query.data(), std::min<std::size_t>(query.size(), ReQueryBufferSize - 1));
    search_->caseMode = 1;
    std::uint64_t hits = 0;
    u32 result = REsearch(search_, ReFuncWordSearch, ReActOpen);
    hits += search_->hitCount;
    while (result == ReDone) {
      result = REsearch(search_, ReFuncWordSearch, ReActNext);
      hits += search_->hitCount;
    }
    REsearch(search_, ReFuncWordSearch, ReActClose);
    if (result == ReFail) Die("search failed: " + query + " (" + std::to_string(search_->status->error) + ")");
    return hits;
  }

  // A ranked query with every weight 1; returns the number of ranked entries.
  std::uint64_t Ranked(const std::vector<std::string>& terms) {
    std::vector<std::string> words = terms;
    std::vector<char*> pointers;
    for (std::string& word : words) pointers.push_back(word.data());
    std::vector<float> idf(terms.size()), weights(terms.size(), 1.0f);
    ReRankRecord record{};
    record.termCount = static_cast<u16>(terms.size());
    record.termTexts = pointers.data();
    record.idf = idf.data();
    record.weights = weights.data();
    search_->query[0] = '\0';
    search_->caseMode = 1;
    if (REconqry(db_, &record, search_, 1, ReActOpen) == ReFail) Die("ranked query: collecting failed");
    if (REconqry(db_, &record, search_, 2, ReActClose) == ReFail) Die("ranked query: ranking failed");
    return record.resultCount;
  }

 private:
  std::string dir_;
  ReAppBlock* app_ = nullptr;
  ReDbBlock* db_ = nullptr;
  ReFileSpec spec_{};
  ReSearchBlock* search_ = nullptr;
};

// --- FTS5 ----------------------------------------------------------------------

class Fts {
 public:
  static void Build(const std::string& path, const sc::Corpus& corpus) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) Die("sqlite: cannot create " + path);
    Exec(db, "CREATE VIRTUAL TABLE docs USING fts5(title, body, tokenize='unicode61')");
    Exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO docs(rowid, title, body) VALUES (?, ?, ?)", -1, &insert, nullptr);
    for (std::size_t i = 0; i < corpus.articles.size(); ++i) {
      sqlite3_bind_int64(insert, 1, static_cast<sqlite3_int64>(i + 1));
      sqlite3_bind_text(insert, 2, corpus.articles[i].title.c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, corpus.articles[i].body.c_str(), -1, SQLITE_STATIC);
      if (sqlite3_step(insert) != SQLITE_DONE) Die("sqlite: insert failed");
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
    Exec(db, "INSERT INTO docs(docs) VALUES ('optimize')");
    sqlite3_close(db);
  }

  explicit Fts(const std::string& path) : path_(path) {}
  ~Fts() { sqlite3_close(db_); }

  double Open() {
    return Time([&] {
      if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) Die("sqlite: no open");
      Count("zzzz");  // the schema is read on first use
    });
  }

  std::uint64_t Count(const std::string& match) { return Rows("SELECT rowid FROM docs WHERE docs MATCH ?", match); }
  std::uint64_t Ranked(const std::string& match) {
    return Rows("SELECT rowid FROM docs WHERE docs MATCH ? ORDER BY bm25(docs) LIMIT 50", match);
  }

 private:
  static void Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) Die(std::string("sqlite: ") + error);
  }
  std::uint64_t Rows(const char* sql, const std::string& match) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) Die("sqlite: prepare failed");
    sqlite3_bind_text(statement, 1, match.c_str(), -1, SQLITE_TRANSIENT);
    std::uint64_t rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) ++rows;
    sqlite3_finalize(statement);
    return rows;
  }

  std::string path_;
  sqlite3* db_ = nullptr;
};

// --- Report ------------------------------------------------------------------------

struct Timings {
  std::vector<double> ms;
  std::uint64_t results = 0;
  double Median() {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
  }
  double Worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

void Row(const std::string& kind, Timings& engine, Timings& fts) {
  const double em = engine.Median(), fm = fts.Median();
  std::printf("%-12s %10.2f %10.2f %10.2f %10.2f %8.2f %12llu %12llu\n", kind.c_str(), em, engine.Worst(), fm,
              fts.Worst(), fm > 0 ? em / fm : 0.0, static_cast<unsigned long long>(engine.results),
              static_cast<unsigned long long>(fts.results));
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  std::filesystem::create_directories(options.dir);

  sc::CorpusOptions corpusOptions;
  corpusOptions.seed = options.seed;
  corpusOptions.articles = options.articles;
  corpusOptions.meanWords = static_cast<std::uint32_t>(options.words / options.articles);
  corpusOptions.vocabulary = options.vocabulary;
  sc::Corpus corpus;
  const double generate =
      Time([&] { corpus = options.library.empty() ? sc::Generate(corpusOptions) : LibraryCorpus(options.library); });
  std::uint64_t words = 0, bytes = 0;
  for (const sc::Article& article : corpus.articles) {
    words += sc::SplitWords(article).size();
    bytes += article.Text().size();
  }
  std::printf("corpus: %zu articles, %llu words, %.1f MB of text, seed %llu (generated in %.0f ms)\n",
              corpus.articles.size(), static_cast<unsigned long long>(words), bytes / 1e6,
              static_cast<unsigned long long>(options.seed), generate);

  sc::SearchDatabaseOptions databaseOptions;
  databaseOptions.maxCodes = 65535;
  databaseOptions.indexBlockSize = 4096;
  const double build =
      Time([&] { builder::engine_db::Write(options.dir + "/BENCH.DAT", sc::SearchDatabase(corpus, databaseOptions)); });
  const std::string ftsPath = options.dir + "/bench.sqlite";
  sc::Corpus plain = corpus;  // the reference indexes the text without its markup
  for (sc::Article& article : plain.articles) {
    article.title = WithoutTags(article.title);
    article.body = WithoutTags(article.body);
  }
  const double ftsBuild = Time([&] { Fts::Build(ftsPath, plain); });
  std::printf("build: engine database %.0f ms (%.1f MB), FTS5 %.0f ms (%.1f MB)\n", build,
              std::filesystem::file_size(options.dir + "/BENCH.DAT") / 1e6, ftsBuild,
              std::filesystem::file_size(ftsPath) / 1e6);

  Engine engine(options.dir);
  Fts fts(ftsPath);
  const double engineOpen = engine.Open();
  const double ftsOpen = fts.Open();

  std::vector<QuerySet> sets = MakeQueries(corpus, options);
  std::printf("\n%-12s %10s %10s %10s %10s %8s %12s %12s\n", "query kind", "engine med", "engine max", "fts5 med",
              "fts5 max", "ratio", "engine hits", "fts5 hits");
  std::printf("%-12s %10s %10s %10s %10s %8s %12s %12s\n", "", "(ms)", "(ms)", "(ms)", "(ms)", "", "", "");
  for (QuerySet& set : sets) {
    Timings engineTimes, ftsTimes;
    for (const Query& query : set.queries) {
      std::uint64_t engineResults = 0, ftsResults = 0;
      if (set.kind == "ranked") {
        engineTimes.ms.push_back(Time([&] { engineResults = engine.Ranked(query.terms); }));
        ftsTimes.ms.push_back(Time([&] { ftsResults = fts.Ranked(query.fts); }));
      } else {
        engineTimes.ms.push_back(Time([&] { engineResults = engine.Search(query.engine); }));
        ftsTimes.ms.push_back(Time([&] { ftsResults = fts.Count(query.fts); }));
      }
      engineTimes.results += engineResults;
      ftsTimes.results += ftsResults;
    }
    Row(set.kind, engineTimes, ftsTimes);
  }
  std::printf("%-12s %10.2f %10s %10.2f %10s %8.2f\n", "open", engineOpen, "", ftsOpen, "",
              ftsOpen > 0 ? engineOpen / ftsOpen : 0.0);
  std::printf("\nratio: engine median / FTS5 median (below 1: the engine is faster).\n");
  std::printf("hits: summed over the queries of a kind (ranked: entries returned, at most 50 each).\n");
  return 0;
}
