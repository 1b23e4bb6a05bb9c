// A generated, repeatable text corpus for searching: articles of sentences
// whose words are drawn from a made-up vocabulary with Zipf-distributed
// frequencies (the first words of the vocabulary are the common ones, the
// stop words among them). The same seed gives the same corpus.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace builder::search_corpus {

struct CorpusOptions {
  std::uint64_t seed = 1;
  std::uint32_t articles = 100;
  std::uint32_t meanWords = 60;     // words per article body, on average
  std::uint32_t vocabulary = 2000;  // distinct words
  double zipfExponent = 1.0;        // word frequency ~ 1 / rank^s
  double capitalShare = 0.05;       // words written with a capital (besides sentence starts)
  std::uint32_t titleWords = 3;     // at most
  // Body words written joined with the next one, or with accents ("e-mail",
  // "tcp/ip", "it's", "U.S.", "1,000", "café", "à"): none unless asked for,
  // so the other corpora stay as they were.
  double joinedShare = 0;
};

struct Article {
  std::string title;
  std::string body;
  // The article's text as the builder stores it: title, line feed, body.
  std::string Text() const { return title + "\n" + body; }
};

struct Corpus {
  std::vector<std::string> vocabulary;  // lower case, most frequent first
  std::vector<Article> articles;        // article 1 first
};

// A small deterministic generator (SplitMix64), so corpora do not depend on
// the standard library's distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  std::uint32_t Below(std::uint32_t bound);  // 0 .. bound - 1
  double Unit();                             // [0, 1)

 private:
  std::uint64_t state_;
};

// Draws vocabulary ranks with Zipf frequencies.
class ZipfSampler {
 public:
  ZipfSampler(std::uint32_t count, double exponent);
  std::uint32_t Draw(Random& random) const;

 private:
  std::vector<double> cumulative_;
};

// The vocabulary: the engine's stop words first (so they are the most
// frequent), then made-up words of two to five syllables.
std::vector<std::string> MakeVocabulary(std::uint32_t count, std::uint64_t seed);

Corpus Generate(const CorpusOptions& options);

// The plain words of an article's text: runs of ASCII letters and digits,
// markup tags left out, each with its word offset counted from the title's
// first word. The main index holds them, and the query makers draw them.
struct WordAt {
  std::string word;  // as written
  std::uint32_t offset;
};
std::vector<WordAt> SplitWords(const Article& article);

// The same words, handed to the sink as they stand in the article's text.
using WordSink = std::function<void(std::string_view word, std::uint32_t offset)>;
void ForEachWord(const Article& article, const WordSink& sink);

// The words of an article's text as a query reads them: characters that are
// no separators, joined by '.', an apostrophe, '-' or '/' between two of
// them, a ',' between the digits of a number, a '-' at a line end over the
// line feed. Markup tags and pronunciations are left out, stress marks
// taken out. The offset counts words from the title's first word.
struct TextWord {
  std::string word;  // as written, syllable dots kept (a '-' at a line end kept, its line feed not)
  std::uint32_t offset = 0;
  bool startsFree = true;      // no '<' or '/' that joins nothing right before it
  bool endsFree = true;        // no '/' that joins nothing right after it
  bool overLineBreak = false;  // a '-' at a line end joins it: the text holds it with the line feed
  // The word with the gluing characters that stand beside it and join it to
  // nothing ("/dev/null" for "dev/null"; re_word_pieces.h), empty without any.
  std::string glued;
  bool gluedAtStart = false, gluedAtEnd = false;  // where it took them
  // Whether a search finds the word where it stands: the index lists it there.
  bool StandsFree() const { return startsFree && endsFree && !overLineBreak; }
};
using TextWordSink = std::function<void(const TextWord& word)>;
void ForEachTextWord(const Article& article, const TextWordSink& sink);

// The stretches of an article's text, read as ForEachTextWord reads it,
// that hold no separator but the joiners '-', '/', '.', an apostrophe and
// ',': its words as the text holds them, with what joins them and what
// stands at their edges ("/dev/null", "e.g.,", "-v", "--").
using TextTokenSink = std::function<void(std::string_view token)>;
void ForEachTextToken(const Article& article, const TextTokenSink& sink);

// The words of an article's text as the search index holds them: each text
// word and each of its pieces (re_word_pieces.h: "non-serial-I/O" gives
// "non", "serial" and "I/O") where a word search finds it, by its index key
// (without the syllable dots inside it); a word beside gluing characters
// that join it to nothing with them, and its pieces that take them
// ("/a-os/" gives "/a-os/", "/a" and "os/"). A piece has its word's offset.
// Words as written.
enum class IndexWordKind {
  Word,   // the word as a query reads it
  Piece,  // a piece of it
  Glued,  // it, or a piece of it, with the gluing characters beside it
};
using IndexWordSink = std::function<void(std::string_view word, std::uint32_t offset, IndexWordKind kind)>;
void ForEachIndexWord(const Article& article, const IndexWordSink& sink);

// Whether a word holds a joiner: '-', '.', an apostrophe, ',', '/', a
// backslash or a syllable dot.
bool HoldsJoiner(std::string_view word);

// The words of an article that hold a joiner or a letter other than the
// ASCII ones, as the search index spells them.
std::vector<WordAt> JoinedWords(const Article& article);

}  // namespace builder::search_corpus
