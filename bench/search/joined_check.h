// Every distinct word of a corpus that holds a joiner ('-', '/', '.', an
// apostrophe, ',', a backslash, a syllable dot), each queried alone: the
// engine's entries against the oracle's brute force, over the whole corpus,
// not a sample.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "search_corpus/search_corpus.h"
#include "searchers.h"

namespace bench {

struct JoinedCheck {
  std::size_t tried = 0;           // distinct words queried
  std::size_t untyped = 0;         // distinct words a query cannot hold ('*', '?', '~', longer than a query)
  std::size_t disagree = 0;        // words whose entries differ
  std::vector<std::string> first;  // the first disagreements, each with its first differing entry
};

// The distinct words (lower case) of the corpus that hold a joiner, as a
// query reads them; those a query cannot hold are counted in `untyped`.
std::vector<std::string> DistinctJoinedWords(const builder::search_corpus::Corpus& corpus, std::size_t* untyped);

// Queries each word alone in the open engine and compares its entries with
// the oracle's; says how far it is on stderr.
JoinedCheck CheckEveryJoinedWord(const builder::search_corpus::Corpus& corpus, Searcher& engine);

}  // namespace bench
