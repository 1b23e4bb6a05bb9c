// Every distinct word of a corpus that holds a joiner ('-', '/', '.', an
// apostrophe, ',', a backslash, a syllable dot), and every token that starts
// or ends with one as the text holds it ("/dev/null", "e.g.,"), each queried
// alone: the engine's entries against the oracle's brute force, over the
// whole corpus, not a sample. Each is drawn from an entry that holds it,
// which both must find, so that no word passes on two empty answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "search_corpus/search_corpus.h"
#include "searchers.h"

namespace bench {

// A word to query (lower case) and the entry it was drawn from.
struct CheckedWord {
  std::string word;
  std::uint32_t entry = 0;  // from 1
};

struct CheckedWords {
  std::vector<CheckedWord> words;
  std::size_t joinedWords = 0;  // words with a joiner, where a search finds them whole
  std::size_t edgeTokens = 0;   // further tokens that start or end with a joiner
  // Distinct words and tokens left out, by what keeps a query from saying them.
  std::map<std::string, std::size_t> unsaid;
};

struct JoinedCheck {
  CheckedWords checked;             // the distinct words queried
  std::size_t disagree = 0;         // words whose entries differ
  std::size_t engineMissesOwn = 0;  // words whose own entry the engine does not find
  std::size_t oracleMissesOwn = 0;  // words whose own entry the oracle does not find
  std::vector<std::string> first;   // the first disagreements and misses, each with its first difference
};

// The distinct words (lower case) of the corpus that hold a joiner, each
// drawn where a search finds it whole, and the tokens that start or end
// with one; those a query cannot say are counted by kind.
CheckedWords WordsToCheck(const builder::search_corpus::Corpus& corpus);

// Queries each word alone in the open engine and compares its entries with
// the oracle's; says how far it is on stderr.
JoinedCheck CheckEveryJoinedWord(const builder::search_corpus::Corpus& corpus, Searcher& engine);

}  // namespace bench
