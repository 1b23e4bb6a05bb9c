// search_bench: Boolean, phrase, NEAR and ranked queries over an
// encyclopedia-scale corpus, timed in the engine and, over the same articles
// and queries, in SQLite's FTS5 and in Xapian. Every answer of the engine is
// checked against a brute-force reading of the corpus by the engine's rules;
// the references' answers against a brute force by their token rules.
//
//   search_bench [--corpus generated|library] [--articles N] [--words N] [--vocabulary N]
//                [--seed N] [--joined SHARE] [--queries N] [--dir DIRECTORY] [--reuse 0|1]
//                [--references fts5,xapian|none] [--kinds and,phrase,near,stop,joined,ranked]
//                [--every-joined-word 0|1]
//
// Defaults: the generated corpus of 35,000 articles, 9 million words and
// 350,000 distinct words, seed 1, 1% of its body words joined or accented
// ("e-mail", "café"; --joined 0 for none), 20 queries of each kind, the
// databases in ./bench-data/. --reuse 1 keeps the databases a run with the
// same corpus options left there. --corpus library is the reference
// library's main database, read from the dictionary packages in
// /usr/share/dictd. --every-joined-word 1 times nothing: it queries every
// distinct word of the corpus that holds a joiner, and every token that
// starts or ends with one ("/dev/null"), alone in the engine and compares
// each answer with the oracle's and with the entry it was drawn from. The
// exit status is 1 when the engine and the oracle disagree on any query,
// when either misses such an entry, or when the check tries no word.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "answer_check.h"
#include "common/byte_writer.h"
#include "corpus_source.h"
#include "joined_check.h"
#include "query_kinds.h"
#include "resident_memory.h"
#include "searchers.h"

namespace {

namespace sc = builder::search_corpus;
using Clock = std::chrono::steady_clock;

struct Options {
  bench::CorpusOptions corpus;
  std::uint32_t queries = 20;
  std::string dir = "bench-data";
  bool reuse = false;
  std::vector<std::string> references = {"fts5", "xapian"};
  std::vector<std::string> kinds = {"and", "phrase", "near", "stop", "joined", "ranked"};
  bool everyJoinedWord = false;
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

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');)
    if (!item.empty() && item != "none") items.push_back(item);
  return items;
}

Options Parse(int argc, char** argv) {
  Options options;
  if (argc % 2 == 0) Die("every option takes a value");
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--corpus")
      options.corpus.source = value;
    else if (name == "--articles")
      options.corpus.articles = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--words")
      options.corpus.words = std::strtoull(value, nullptr, 10);
    else if (name == "--vocabulary")
      options.corpus.vocabulary = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--seed")
      options.corpus.seed = std::strtoull(value, nullptr, 10);
    else if (name == "--joined")
      options.corpus.joined = std::strtod(value, nullptr);
    else if (name == "--queries")
      options.queries = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--dir")
      options.dir = value;
    else if (name == "--reuse")
      options.reuse = std::string(value) == "1";
    else if (name == "--references")
      options.references = SplitList(value);
    else if (name == "--kinds")
      options.kinds = SplitList(value);
    else if (name == "--every-joined-word")
      options.everyJoinedWord = std::string(value) == "1";
    else
      Die("unknown option " + name);
  }
  for (const std::string& reference : options.references)
    if (reference != "fts5" && reference != "xapian") Die("unknown reference " + reference);
  if (options.queries == 0) Die("at least one query of each kind");
  return options;
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

// What the databases in the folder were built from; --reuse keeps them only
// when it is what this run would build.
std::string Stamp(const Options& options, const std::string& searcher) {
  const bench::CorpusOptions& c = options.corpus;
  return searcher + " " + c.source + " " + std::to_string(c.articles) + " " + std::to_string(c.words) + " " +
         std::to_string(c.vocabulary) + " " + std::to_string(c.seed) + " " + std::to_string(c.joined);
}

bool Reusable(const Options& options, const std::string& searcher) {
  std::ifstream file(options.dir + "/" + searcher + ".stamp");
  std::string line;
  return options.reuse && std::getline(file, line) && line == Stamp(options, searcher);
}

// --- Measurements ------------------------------------------------------------

// The entries the Boolean queries found, kept in a temporary file for the
// oracle's check: held in memory, they would count in the searcher's peak.
class EntryStore {
 public:
  struct Span {
    long offset;
    std::size_t count;
  };
  EntryStore() : file_(std::tmpfile()) {
    if (!file_) throw std::runtime_error("no temporary file for the entries found");
  }
  ~EntryStore() { std::fclose(file_); }
  EntryStore(const EntryStore&) = delete;
  EntryStore& operator=(const EntryStore&) = delete;

  Span Put(const std::vector<std::uint32_t>& entries) {
    std::fseek(file_, 0, SEEK_END);
    const Span span{std::ftell(file_), entries.size()};
    if (std::fwrite(entries.data(), sizeof entries[0], entries.size(), file_) != entries.size())
      throw std::runtime_error("cannot write the entries found to the temporary file");
    return span;
  }
  std::vector<std::uint32_t> Get(const Span& span) {
    std::vector<std::uint32_t> entries(span.count);
    std::fseek(file_, span.offset, SEEK_SET);
    if (std::fread(entries.data(), sizeof entries[0], span.count, file_) != span.count)
      throw std::runtime_error("cannot read the entries found back from the temporary file");
    return entries;
  }

 private:
  std::FILE* file_;
};

struct KindResult {
  std::vector<double> ms;
  std::vector<EntryStore::Span> entries;  // Boolean kinds, per query
  std::uint64_t hits = 0;
  double Median() const {
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[sorted.size() / 2];
  }
  double Worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

struct SearcherResult {
  std::string name;
  double buildMs = 0;
  std::uint64_t bytes = 0;
  double openMs = 0;
  std::uint64_t residentPeak = 0;  // above the resident set before the open
  std::vector<KindResult> kinds;   // as the query sets
};

// Opens the searcher, runs every query of every set and closes it again.
void Run(bench::Searcher& searcher, const std::vector<bench::QuerySet>& sets, EntryStore& store,
         SearcherResult* result) {
  bench::StartResidentPeak();
  const std::uint64_t before = bench::ResidentBytes();
  // The timed open is the second: the first pays the page faults of a heap
  // that the making of the queries has just handed back, which measures the
  // machine, not the open, and varies with what ran before.
  searcher.Open();
  searcher.Close();
  result->openMs = Time([&] { searcher.Open(); });
  for (const bench::QuerySet& set : sets) {
    KindResult kind;
    for (std::size_t q = 0; q < set.queries.size(); ++q) {
      std::fprintf(stderr, "\r%s: %s, query %zu of %zu   ", result->name.c_str(), set.name.c_str(), q + 1,
                   set.queries.size());
      const bench::BenchQuery& query = set.queries[q];
      if (set.kind == bench::QueryKind::Ranked) {
        std::uint64_t returned = 0;
        kind.ms.push_back(Time([&] { returned = searcher.Ranked(query); }));
        kind.hits += returned;
      } else {
        std::vector<std::uint32_t> entries;
        kind.ms.push_back(Time([&] { entries = searcher.Search(query); }));
        kind.hits += entries.size();
        kind.entries.push_back(store.Put(entries));
      }
    }
    result->kinds.push_back(std::move(kind));
  }
  const std::uint64_t peak = bench::PeakResidentBytes();
  result->residentPeak = peak > before ? peak - before : 0;
  searcher.Close();
  std::fprintf(stderr, "\r%60s\r", "");
}

// --- Report ------------------------------------------------------------------

void PrintTable(const std::vector<bench::QuerySet>& sets, const std::vector<SearcherResult>& results) {
  std::printf("\n%-10s", "query kind");
  for (const SearcherResult& r : results) {
    std::printf(" %9s %9s", (r.name + " med").c_str(), "max");
    if (&r != &results[0]) std::printf(" %7s", "ratio");
  }
  std::printf("   hits:");
  for (const SearcherResult& r : results) std::printf(" %9s", r.name.c_str());
  std::printf("\n%-10s", "");
  for (const SearcherResult& r : results) {
    std::printf(" %9s %9s", "(ms)", "(ms)");
    if (&r != &results[0]) std::printf(" %7s", "");
  }
  std::printf("\n");
  for (std::size_t k = 0; k < sets.size(); ++k) {
    std::printf("%-10s", sets[k].name.c_str());
    const double engine = results[0].kinds[k].Median();
    for (const SearcherResult& r : results) {
      const KindResult& kind = r.kinds[k];
      std::printf(" %9.2f %9.2f", kind.Median(), kind.Worst());
      if (&r != &results[0]) std::printf(" %6.2fx", kind.Median() > 0 ? engine / kind.Median() : 0.0);
    }
    std::printf("         ");
    for (const SearcherResult& r : results) std::printf(" %9llu", static_cast<unsigned long long>(r.kinds[k].hits));
    std::printf("\n");
  }
  std::printf("%-10s", "open");
  for (const SearcherResult& r : results) {
    std::printf(" %9.2f %9s", r.openMs, "");
    if (&r != &results[0]) std::printf(" %6.2fx", r.openMs > 0 ? results[0].openMs / r.openMs : 0.0);
  }
  std::printf("\n\nslowest engine query of each kind:");
  for (std::size_t k = 0; k < sets.size(); ++k) {
    const std::vector<double>& ms = results[0].kinds[k].ms;
    const std::size_t q = static_cast<std::size_t>(std::max_element(ms.begin(), ms.end()) - ms.begin());
    std::string text;
    for (const std::string& word : sets[k].queries[q].words) text += (text.empty() ? "" : " ") + word;
    std::printf("%s %s \"%s\" %.1f ms", k ? "," : "", sets[k].name.c_str(), text.c_str(), ms[q]);
  }
  std::printf("\nratio: engine median / the reference's median (below 1: the engine is faster).\n");
  std::printf("hits: summed over the queries of a kind (ranked: entries returned, at most 50 each).\n");
}

// The engine's entries against the oracle, every Boolean query. False when
// they differ on any.
bool PrintOracleCheck(const std::vector<bench::QuerySet>& sets, const SearcherResult& engine, EntryStore& store,
                      const bench::AnswerCheck& check) {
  std::printf("\noracle (brute force by the engine's rules) against the engine's entries:\n");
  bool agree = true;
  for (std::size_t k = 0; k < sets.size(); ++k) {
    if (sets[k].kind == bench::QueryKind::Ranked) continue;
    std::size_t differ = 0;
    std::string first;
    for (std::size_t q = 0; q < sets[k].queries.size(); ++q) {
      std::fprintf(stderr, "\roracle: %s, query %zu of %zu   ", sets[k].name.c_str(), q + 1, sets[k].queries.size());
      const std::string difference =
          bench::FirstDifference(store.Get(engine.kinds[k].entries[q]), check.EngineRule(sets[k].queries[q]));
      if (difference == "agree") continue;
      if (differ++ == 0)
        first =
            "query " + std::to_string(q + 1) + " (" + bench::EngineQueryText(sets[k].queries[q]) + "): " + difference;
    }
    std::fprintf(stderr, "\r%50s\r", "");
    if (differ == 0) {
      std::printf("  %-10s agree (%zu queries)\n", sets[k].name.c_str(), sets[k].queries.size());
    } else {
      std::printf("  %-10s DIFFER on %zu of %zu queries; the first: %s\n", sets[k].name.c_str(), differ,
                  sets[k].queries.size(), first.c_str());
      agree = false;
    }
  }
  return agree;
}

// Why a reference's count differs from the engine's, in one line a kind,
// backed by a brute force under the references' token rules.
void PrintReferenceRules(const std::vector<bench::QuerySet>& sets, const std::vector<SearcherResult>& results,
                         const bench::AnswerCheck& check) {
  if (results.size() < 2) return;
  std::printf("\nreferences (brute force by the token rules against their counts):\n");
  for (std::size_t k = 0; k < sets.size(); ++k) {
    if (sets[k].kind == bench::QueryKind::Ranked) continue;
    std::uint64_t tokenRule = 0;
    for (const bench::BenchQuery& query : sets[k].queries) tokenRule += check.TokenRule(query).size();
    std::string counts;
    bool agree = true;
    for (std::size_t r = 1; r < results.size(); ++r) {
      counts += " " + results[r].name + " " + std::to_string(results[r].kinds[k].hits);
      agree = agree && results[r].kinds[k].hits == tokenRule;
    }
    const char* why = "";
    switch (sets[k].kind) {
      case bench::QueryKind::Phrase:
        why =
            "a reference's phrase is neighbouring tokens across punctuation (\"x, y\", \"x. Y\"); "
            "the engine's words stand one space apart";
        break;
      case bench::QueryKind::Near:
        why =
            "a reference's NEAR counts tokens (at most 6 between) in the title or the body; the engine's "
            "counts positions in the body, where a punctuation mark before a space counts one more";
        break;
      case bench::QueryKind::Joined:
        why =
            "a reference splits a joined word into tokens and finds them next to each other whatever joins them "
            "(\"e mail\" for \"e-mail\"), and an accented letter at its own rule; the engine's word stands as written";
        break;
      default: why = "the same rule as the engine's"; break;
    }
    std::printf("  %-10s token rule %llu,%s: %s; %s\n", sets[k].name.c_str(),
                static_cast<unsigned long long>(tokenRule), counts.c_str(), agree ? "agree" : "DIFFER", why);
  }
}

// Every joined word and every token with a joiner at an edge alone, engine
// against oracle. False when any disagrees, when either misses the entry a
// word was drawn from, or when no word was tried.
bool PrintJoinedWordCheck(const sc::Corpus& corpus, bench::Searcher& engine) {
  engine.Open();
  const bench::JoinedCheck check = bench::CheckEveryJoinedWord(corpus, engine);
  engine.Close();
  const bench::CheckedWords& checked = check.checked;
  std::printf(
      "\nevery distinct word with a joiner and every token that starts or ends with one, queried alone:\n"
      "  %zu words tried (%zu words with a joiner where a search finds them whole, %zu tokens with one at an edge)\n"
      "  %zu disagree; own entry missed by the engine %zu, by the oracle %zu\n",
      checked.words.size(), checked.joinedWords, checked.edgeTokens, check.disagree, check.engineMissesOwn,
      check.oracleMissesOwn);
  std::printf("  left out, which no query can say:");
  if (checked.unsaid.empty()) std::printf(" none");
  for (const auto& [why, count] : checked.unsaid) std::printf(" %zu with %s;", count, why.c_str());
  std::printf("\n");
  for (const std::string& line : check.first) std::printf("  %s\n", line.c_str());
  std::printf("\nload average %s at the end\n", LoadAverage().c_str());
  if (checked.words.empty()) {
    std::fprintf(stderr, "search_bench: no word with a joiner to try: the corpus has none, or it was not read\n");
    return false;
  }
  if (check.disagree == 0 && check.engineMissesOwn == 0 && check.oracleMissesOwn == 0) return true;
  std::fprintf(stderr,
               "search_bench: the engine and the oracle disagree on %zu words, and miss the entries they were drawn "
               "from on %zu (engine) and %zu (oracle) (see above)\n",
               check.disagree, check.engineMissesOwn, check.oracleMissesOwn);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse(argc, argv);
  try {
    std::filesystem::create_directories(options.dir);
    std::printf("machine: %u cores, load average %s at the start\n", std::thread::hardware_concurrency(),
                LoadAverage().c_str());

    sc::Corpus corpus;
    std::fprintf(stderr, "generating the corpus...\n");
    const double generate = Time([&] { corpus = bench::LoadCorpus(options.corpus); });
    std::uint64_t words = 0, bytes = 0;
    for (const sc::Article& article : corpus.articles) {
      words += sc::SplitWords(article).size();
      bytes += article.Text().size();
    }
    std::printf("corpus: %s, %zu articles, %llu words, %.1f MB of text (made in %.0f ms)\n",
                bench::DescribeSource(options.corpus).c_str(), corpus.articles.size(),
                static_cast<unsigned long long>(words), bytes / 1e6, generate);

    std::vector<std::unique_ptr<bench::Searcher>> searchers;
    searchers.push_back(bench::MakeEngineSearcher(options.dir));
    if (!options.everyJoinedWord)
      for (const std::string& reference : options.references)
        searchers.push_back(reference == "fts5" ? bench::MakeFts5Searcher(options.dir)
                                                : bench::MakeXapianSearcher(options.dir));
    std::vector<SearcherResult> results(searchers.size());
    for (std::size_t s = 0; s < searchers.size(); ++s) {
      bench::Searcher& searcher = *searchers[s];
      SearcherResult& result = results[s];
      result.name = searcher.Name();
      if (Reusable(options, result.name)) {
        std::printf("build: %-7s reused (%.1f MB)\n", result.name.c_str(), searcher.DatabaseBytes() / 1e6);
        continue;
      }
      std::fprintf(stderr, "building the %s database...\n", result.name.c_str());
      std::filesystem::remove(options.dir + "/" + result.name + ".stamp");
      result.buildMs = Time([&] { searcher.Build(corpus); });
      builder::WriteFileAtomically(options.dir + "/" + result.name + ".stamp", Stamp(options, result.name) + "\n");
      std::printf("build: %-7s %8.0f ms, %.1f MB", result.name.c_str(), result.buildMs, searcher.DatabaseBytes() / 1e6);
      if (s > 0 && results[0].buildMs > 0)
        std::printf(" (engine / %s: %.2fx)", result.name.c_str(), results[0].buildMs / result.buildMs);
      std::printf("\n");
    }

    if (options.everyJoinedWord) return PrintJoinedWordCheck(corpus, *searchers[0]) ? 0 : 1;

    std::vector<bench::QuerySet> sets = bench::MakeQuerySets(corpus, options.corpus.seed, options.queries);
    std::erase_if(sets, [&](const bench::QuerySet& set) {
      return std::find(options.kinds.begin(), options.kinds.end(), bench::KindOption(set.kind)) == options.kinds.end();
    });
    EntryStore store;
    for (std::size_t s = 0; s < searchers.size(); ++s) Run(*searchers[s], sets, store, &results[s]);
    PrintTable(sets, results);

    std::printf("\nresident memory while searching, peak above the set before the open:");
    for (const SearcherResult& r : results) std::printf(" %s %.1f MB", r.name.c_str(), r.residentPeak / 1e6);
    std::printf("\n");

    std::fprintf(stderr, "checking the answers by brute force...\n");
    const bench::AnswerCheck check(corpus);
    const bool agree = PrintOracleCheck(sets, results[0], store, check);
    PrintReferenceRules(sets, results, check);
    std::printf("\nload average %s at the end\n", LoadAverage().c_str());
    if (!agree) {
      std::fprintf(stderr, "search_bench: the engine and the oracle disagree (see above): a fault of one of them\n");
      return 1;
    }
  } catch (const std::exception& error) {
    Die(error.what());
  }
  return 0;
}
