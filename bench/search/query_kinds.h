// The query kinds search_bench times, drawn from a corpus. A query is kept
// neutral (its kind and its lower-case words); each searcher writes it in its
// own language, and the oracle gets it as a tree.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "search_corpus/search_corpus.h"
#include "search_oracle.h"

namespace bench {

enum class QueryKind { And, Phrase, Near, StopWord, Joined, Ranked };

struct BenchQuery {
  QueryKind kind;
  // AND and NEAR: two words; phrase: its words; stop word: one word; joined:
  // one word with a joiner or an accent ("e-mail", "tcp/ip", "café"); ranked:
  // its terms (every weight 1).
  std::vector<std::string> words;
};

struct QuerySet {
  std::string name;
  QueryKind kind;
  std::vector<BenchQuery> queries;
};

// The kind's name on the command line: and, phrase, near, stop, joined, ranked.
std::string KindOption(QueryKind kind);

// `perKind` queries of each kind, the same for the same corpus and seed. The
// joined kind draws distinct words of the articles' text with a generator of
// its own, so that the other kinds' queries do not depend on it; a corpus
// without such words has no joined queries.
std::vector<QuerySet> MakeQuerySets(const builder::search_corpus::Corpus& corpus, std::uint64_t seed,
                                    std::uint32_t perKind);

// The engine's query text of a Boolean kind.
std::string EngineQueryText(const BenchQuery& query);

// The query as the oracle's tree (Boolean kinds).
std::unique_ptr<oracle::Node> OracleTree(const BenchQuery& query);

}  // namespace bench
