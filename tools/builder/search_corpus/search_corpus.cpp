#include "search_corpus/search_corpus.h"

#include <cctype>
#include <cmath>
#include <set>

namespace builder::search_corpus {

namespace {

// The 61 words the engine treats as stop words, most of them common words.
const char* const kStopWords[] = {
    "the",  "of",    "and",   "be",   "in",    "a",     "to",     "he",    "was",  "by",   "is",  "it",    "as",
    "for",  "have",  "his",   "with", "are",   "on",    "from",   "at",    "they", "that", "an",  "or",    "much",
    "were", "which", "its",   "has",  "but",   "see",   "become", "their", "many", "had",  "she", "there", "when",
    "who",  "well",  "we",    "than", "where", "her",   "do",     "him",   "what", "does", "why", "how",   "me",
    "i",    "this",  "state", "tell", "also",  "after", "about",  "other", "pop"};

const char* const kOnsets[] = {"b", "c", "d", "f", "g",  "h",  "j",  "k",  "l",  "m",  "n",  "p",  "r",  "s",
                               "t", "v", "w", "z", "br", "cr", "dr", "gr", "pl", "st", "tr", "sh", "ch", "th"};
const char* const kNuclei[] = {"a", "e", "i", "o", "u", "ai", "ea", "io", "ou", "ei"};
const char* const kCodas[] = {"", "", "", "n", "r", "s", "l", "m", "nd", "rt", "st", "x"};

template <class T, std::size_t N>
const char* Pick(Random& random, T (&list)[N]) {
  return list[random.Below(static_cast<std::uint32_t>(N))];
}

std::string Capitalised(std::string word) {
  if (!word.empty()) word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  return word;
}

}  // namespace

std::uint64_t Random::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t Random::Below(std::uint32_t bound) { return bound ? static_cast<std::uint32_t>(Next() % bound) : 0; }

double Random::Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

ZipfSampler::ZipfSampler(std::uint32_t count, double exponent) : cumulative_(count) {
  double sum = 0;
  for (std::uint32_t rank = 0; rank < count; ++rank) {
    sum += 1.0 / std::pow(static_cast<double>(rank + 1), exponent);
    cumulative_[rank] = sum;
  }
  for (double& value : cumulative_) value /= sum;
}

std::uint32_t ZipfSampler::Draw(Random& random) const {
  const double u = random.Unit();
  std::uint32_t low = 0, high = static_cast<std::uint32_t>(cumulative_.size()) - 1;
  while (low < high) {
    const std::uint32_t mid = (low + high) / 2;
    if (cumulative_[mid] < u)
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}

std::vector<std::string> MakeVocabulary(std::uint32_t count, std::uint64_t seed) {
  std::vector<std::string> words;
  std::set<std::string> seen;
  for (const char* stop : kStopWords) {
    if (words.size() >= count) break;
    words.push_back(stop);
    seen.insert(stop);
  }
  Random random(seed ^ 0x5EEDull);
  while (words.size() < count) {
    const std::uint32_t syllables = 2 + random.Below(4);
    std::string word;
    for (std::uint32_t s = 0; s < syllables; ++s) {
      word += Pick(random, kOnsets);
      word += Pick(random, kNuclei);
    }
    word += Pick(random, kCodas);
    if (seen.insert(word).second) words.push_back(word);
  }
  return words;
}

Corpus Generate(const CorpusOptions& options) {
  Corpus corpus;
  corpus.vocabulary = MakeVocabulary(options.vocabulary, options.seed);
  const ZipfSampler sampler(options.vocabulary, options.zipfExponent);
  Random random(options.seed);
  // Titles take words of the rarer half, so they name something.
  const std::uint32_t rareFrom = options.vocabulary / 2 < 61 ? 0 : options.vocabulary / 2;
  for (std::uint32_t a = 0; a < options.articles; ++a) {
    Article article;
    const std::uint32_t titleWords = 1 + random.Below(options.titleWords);
    for (std::uint32_t w = 0; w < titleWords; ++w) {
      if (w) article.title += ' ';
      article.title += Capitalised(corpus.vocabulary[rareFrom + random.Below(options.vocabulary - rareFrom)]);
    }
    const std::uint32_t words = options.meanWords / 2 + random.Below(options.meanWords + 1);
    std::uint32_t sentenceLeft = 0;
    for (std::uint32_t w = 0; w < words; ++w) {
      std::string word = corpus.vocabulary[sampler.Draw(random)];
      const bool sentenceStart = sentenceLeft == 0;
      if (sentenceStart) sentenceLeft = 5 + random.Below(11);
      if (sentenceStart || random.Unit() < options.capitalShare) word = Capitalised(word);
      --sentenceLeft;
      article.body += word;
      if (w + 1 == words || sentenceLeft == 0)
        article.body += w + 1 == words ? "." : ". ";
      else
        article.body += random.Below(12) == 0 ? ", " : " ";
    }
    corpus.articles.push_back(std::move(article));
  }
  return corpus;
}

void ForEachWord(const Article& article, const WordSink& sink) {
  const std::string text = article.Text();
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i < text.size();) {
    // A markup tag ("<DS>", "</B>") is no word.
    if (text[i] == '<') {
      std::size_t end = i + 1;
      if (end < text.size() && text[end] == '/') ++end;
      while (end < text.size() && std::isupper(static_cast<unsigned char>(text[end]))) ++end;
      if (end < text.size() && text[end] == '>' && end > i + 1) {
        i = end + 1;
        continue;
      }
    }
    if (!std::isalnum(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
    sink(std::string_view(text).substr(i, end - i), offset++);
    i = end;
  }
}

std::vector<WordAt> SplitWords(const Article& article) {
  std::vector<WordAt> words;
  ForEachWord(article, [&](std::string_view word, std::uint32_t offset) {
    words.push_back({std::string(word), offset});
  });
  return words;
}

}  // namespace builder::search_corpus
