#include "corpus_source.h"

#include <stdexcept>

namespace bench {

namespace sc = builder::search_corpus;

sc::Corpus LoadCorpus(const CorpusOptions& options) {
  if (options.source != "generated") throw std::invalid_argument("unknown corpus source " + options.source);
  if (options.articles == 0 || options.vocabulary < 100) throw std::invalid_argument("too small a corpus");
  sc::CorpusOptions generated;
  generated.seed = options.seed;
  generated.articles = options.articles;
  generated.meanWords = static_cast<std::uint32_t>(options.words / options.articles);
  generated.vocabulary = options.vocabulary;
  return sc::Generate(generated);
}

std::string DescribeSource(const CorpusOptions& options) {
  return options.source + ", seed " + std::to_string(options.seed);
}

}  // namespace bench
