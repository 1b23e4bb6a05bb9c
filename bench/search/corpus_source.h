// Where search_bench's articles come from. Every source yields a
// builder::search_corpus::Corpus: the articles in entry order (entry 1 first)
// and the vocabulary in lower case, most frequent word first; the query kinds
// draw their words from both. A new source (real text, say) adds a name here
// and a loader that fills the same structure.
#pragma once

#include <cstdint>
#include <string>

#include "search_corpus/search_corpus.h"

namespace bench {

struct CorpusOptions {
  std::string source = "generated";
  std::uint32_t articles = 35000;
  std::uint64_t words = 9000000;
  std::uint32_t vocabulary = 350000;
  std::uint64_t seed = 1;
  // Generated corpus: the share of body words written joined or accented
  // (0: the corpus as it was before such words).
  double joined = 0.01;
};

// The corpus of the options' source; throws std::invalid_argument for a
// source it does not know.
builder::search_corpus::Corpus LoadCorpus(const CorpusOptions& options);

// The source's words for the report ("generated, seed 1").
std::string DescribeSource(const CorpusOptions& options);

}  // namespace bench
