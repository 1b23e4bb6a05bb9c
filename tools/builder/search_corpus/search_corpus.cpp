#include "search_corpus/search_corpus.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "re_word_pieces.h"
#include "search_corpus/word_characters.h"

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

// An accented form of a vowel, or the vowel itself (Windows-1252).
char Accented(Random& random, char vowel) {
  static const std::string kPlain = "aeiouAEIOU";
  static const unsigned char kAccents[5][4] = {
      {224, 225, 226, 228}, {232, 233, 234, 235}, {236, 237, 238, 239}, {242, 243, 244, 246}, {249, 250, 251, 252}};
  const std::size_t at = kPlain.find(vowel);
  if (at == std::string::npos) return vowel;
  const unsigned char accented = kAccents[at % 5][random.Below(4)];
  return static_cast<char>(at < 5 ? accented : accented - 32);
}

// A word joined with another, or written with accents: a compound with '-'
// or '/', a possessive, initials with periods, a number with a thousands
// comma, an accented vowel, or a word of accented letters only.
std::string JoinedWord(Random& random, const std::string& word, const std::string& other) {
  switch (random.Below(7)) {
    case 0: return word + "-" + other;
    case 1: return word + "'s";
    case 2: return word + "/" + other;
    case 3:
      return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])))) + "." +
             static_cast<char>(std::toupper(static_cast<unsigned char>(other[0]))) + ".";
    case 4: return std::to_string(1 + random.Below(999)) + "," + std::to_string(100 + random.Below(900));
    case 5: {
      std::string accented = word;
      for (char& c : accented)
        if (Accented(random, c) != c) {
          c = Accented(random, c);
          break;
        }
      return accented;
    }
    default: {
      std::string accents;
      for (std::uint32_t n = 1 + random.Below(2); n > 0; --n) accents += Accented(random, "aeiou"[random.Below(5)]);
      return accents;
    }
  }
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
      if (options.joinedShare > 0 && random.Unit() < options.joinedShare)
        word = JoinedWord(random, word, corpus.vocabulary[sampler.Draw(random)]);
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

namespace {

// A markup tag ("<DS>", "</B>", "<D1>") at text[i]: its length, else 0.
std::size_t TagAt(const std::string& text, std::size_t i) {
  if (text[i] != '<') return 0;
  std::size_t end = i + 1;
  if (end < text.size() && text[end] == '/') ++end;
  const std::size_t name = end;
  while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
  return end < text.size() && text[end] == '>' && end > name ? end + 1 - i : 0;
}

// The word a query reads at text[i], a character that is no separator:
// characters that are none, and between two of them '.', an apostrophe,
// '-', '/' and the pairs ".-" and ".'"; a '-' before a line feed keeps the
// word going over the line feed; a ',' joins digits of a number that has no
// letter so far. *end gets the position after it.
std::string ReadWord(const std::string& text, std::size_t i, std::size_t* end) {
  const auto wordAt = [&](std::size_t at) {
    return at < text.size() && !IsSeparator(static_cast<unsigned char>(text[at]));
  };
  std::string word;
  bool letter = false;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!IsSeparator(c)) {
      word += static_cast<char>(c);
      letter = letter || IsLetter(c);
      ++i;
    } else if (c == '.' && i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '\'') && wordAt(i + 2)) {
      word += text.substr(i, 2);
      i += 2;
    } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '\n') {
      if (!wordAt(i + 2)) break;
      word += '-';
      i += 2;
    } else if ((c == '.' || c == '\'' || c == '-' || c == '/') && wordAt(i + 1)) {
      word += static_cast<char>(c);
      ++i;
    } else if (c == ',' && !letter && wordAt(i + 1)) {
      std::size_t digits = i + 1;
      while (wordAt(digits) && IsDigit(static_cast<unsigned char>(text[digits]))) ++digits;
      if (wordAt(digits)) break;  // something else than digits before the next separator
      word += ',';
      ++i;
    } else {
      break;
    }
  }
  *end = i;
  return word;
}

// The text as a word search reads it: the pronunciation (from "<PR" up to
// the next '<' that opens no escape) blanked out, stress marks taken out.
std::string SearchedText(const std::string& text) {
  static const char* const kStressMarks[] = {"<{BPRIME}>", "<{LPRIME}>", "\\BPRIME/", "\\LPRIME/"};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 3, "<PR") == 0) {
      std::size_t end = i + 1;
      while (end < text.size() && !(text[end] == '<' && (end + 1 >= text.size() || text[end + 1] != '{'))) ++end;
      out += ' ';
      i = end;
      continue;
    }
    bool mark = false;
    for (const char* stress : kStressMarks) {
      const std::size_t length = std::char_traits<char>::length(stress);
      if (text.compare(i, length, stress) == 0) {
        i += length;
        mark = true;
        break;
      }
    }
    if (!mark) out += text[i++];
  }
  return out;
}

}  // namespace

void ForEachWord(const Article& article, const WordSink& sink) {
  const std::string text = article.Text();
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t tag = TagAt(text, i)) {
      i += tag;
      continue;
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

void ForEachTextWord(const Article& article, const TextWordSink& sink) {
  const std::string text = SearchedText(article.Text());
  TextWord at;
  at.offset = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t tag = TagAt(text, i)) {
      i += tag;
      continue;
    }
    if (IsSeparator(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    std::size_t end = i;
    at.word = ReadWord(text, i, &end);
    // A search finds no word right after '<' or a '/' that does not join,
    // nor one right before such a '/'.
    at.startsFree = i == 0 || (text[i - 1] != '<' && text[i - 1] != '/');
    at.endsFree = end == text.size() || text[end] != '/';
    at.overLineBreak = text.find('\n', i) < end;
    u32 from = static_cast<u32>(i), to = static_cast<u32>(end);
    at.glued.clear();
    if (ReWidenOverGlue(text.data(), static_cast<u32>(text.size()), &from, &to)) {
      at.glued = text.substr(from, i - from) + at.word + text.substr(end, to - end);
      at.gluedAtStart = from < i;
      at.gluedAtEnd = to > end;
    }
    i = end;
    sink(at);
    ++at.offset;
  }
}

void ForEachTextToken(const Article& article, const TextTokenSink& sink) {
  const std::string text = SearchedText(article.Text());
  const auto inToken = [](unsigned char c) {
    return !IsSeparator(c) || c == '-' || c == '/' || c == '.' || c == '\'' || c == ',';
  };
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t tag = TagAt(text, i)) {
      i += tag;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && inToken(static_cast<unsigned char>(text[end]))) ++end;
    if (end > i) sink(std::string_view(text).substr(i, end - i));
    i = end > i ? end : i + 1;
  }
}

void ForEachIndexWord(const Article& article, const IndexWordSink& sink) {
  std::string key;
  const auto listKey = [&](const std::string& word, std::size_t start, std::size_t length, std::uint32_t offset,
                           IndexWordKind kind) {
    key.resize(length + 1);
    key.resize(ReWordKey(word.data() + start, static_cast<u32>(length), key.data()));
    sink(key, offset, kind);
  };
  ForEachTextWord(article, [&](const TextWord& at) {
    const std::string& read = at.word;
    // The word or a piece of it, by its key, where a search finds it.
    const auto list = [&](std::size_t start, std::size_t length, IndexWordKind kind) {
      if ((start == 0 && !at.startsFree) || (start + length == read.size() && !at.endsFree)) return;
      listKey(read, start, length, at.offset, kind);
    };
    if (at.StandsFree()) listKey(read, 0, read.size(), at.offset, IndexWordKind::Word);
    ReForEachWordPiece(read.data(), static_cast<u32>(read.size()), IsLetterOrDigit, [&](u32 start, u32 length) {
      if (length < read.size()) list(start, length, IndexWordKind::Piece);
    });
    if (at.glued.empty()) return;
    const std::string& glued = at.glued;
    ReForEachGluedKey(glued.data(), static_cast<u32>(glued.size()), at.gluedAtStart, at.gluedAtEnd, IsLetterOrDigit,
                      [&](u32 start, u32 length) {
                        if (length < glued.size() || !at.overLineBreak)
                          listKey(glued, start, length, at.offset, IndexWordKind::Glued);
                      });
  });
}

bool HoldsJoiner(std::string_view word) {
  return std::any_of(word.begin(), word.end(), [](char c) {
    return c == '-' || c == '.' || c == '\'' || c == ',' || ReGlues(static_cast<unsigned char>(c));
  });
}

std::vector<WordAt> JoinedWords(const Article& article) {
  std::vector<WordAt> words;
  ForEachIndexWord(article, [&](std::string_view word, std::uint32_t offset, IndexWordKind kind) {
    const bool accented = std::any_of(word.begin(), word.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0x80 && IsLetter(static_cast<unsigned char>(c));
    });
    if (kind == IndexWordKind::Word && (HoldsJoiner(word) || accented)) words.push_back({std::string(word), offset});
  });
  return words;
}

}  // namespace builder::search_corpus
