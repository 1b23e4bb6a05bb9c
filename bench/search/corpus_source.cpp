#include "corpus_source.h"

#include <cstdio>
#include <stdexcept>

#include "library/dictd_file.h"
#include "library_corpus.h"

namespace bench {

namespace sc = builder::search_corpus;

sc::Corpus LoadCorpus(const CorpusOptions& options) {
  // The reference library's main database, from the installed dictionary packages.
  if (options.source == "library") return LibraryCorpus(builder::library::DictdDirectory());
  if (options.source != "generated") throw std::invalid_argument("unknown corpus source " + options.source);
  if (options.articles == 0 || options.vocabulary < 100) throw std::invalid_argument("too small a corpus");
  sc::CorpusOptions generated;
  generated.seed = options.seed;
  generated.articles = options.articles;
  generated.meanWords = static_cast<std::uint32_t>(options.words / options.articles);
  generated.vocabulary = options.vocabulary;
  generated.joinedShare = options.joined;
  return sc::Generate(generated);
}

std::string DescribeSource(const CorpusOptions& options) {
  if (options.source == "library") return "library, " + builder::library::DictdDirectory();
  char joined[32];
  std::snprintf(joined, sizeof joined, "%g%%", options.joined * 100);
  return options.source + ", seed " + std::to_string(options.seed) + ", joined words " + joined;
}

}  // namespace bench
