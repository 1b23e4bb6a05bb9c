// An independent judge of Boolean queries: random query trees over a corpus,
// their text form, and their truth over an article's plain text by brute
// force.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "search_corpus/search_corpus.h"

namespace oracle {

namespace sc = builder::search_corpus;

struct Node {
  enum Kind { Term, And, Or, Not, Near } kind = Term;
  std::vector<std::string> words;  // a term: one word or a phrase
  std::unique_ptr<Node> left, right;
};

struct Rules {
  bool wholeWords = true;  // function 145
  bool ignoreCase = true;  // case mode 1
};

// Is the query true of the article's text (title, line feed, body)?
// A term occurs when its words, one space apart, stand in the text by the
// search's rules: whole words under whole-word rules (letters and digits of
// Windows-1252, accented ones too), '/', backslashes and syllable dots
// gluing, syllable dots and stress marks passed over inside a word, the
// pronunciation ("<PR" to the next '<' that opens no escape) not read, tags
// as word boundaries. NEAR needs both words in the body less than 8 counted
// positions apart, where a position counts unless what stands before it
// keeps a word going (a letter or digit, but the first after a tag; a '/',
// a backslash or a syllable dot).
bool Holds(const Node& node, const std::string& text, std::size_t titleLength, const Rules& rules);

// The length of the stress mark that starts at text[at], which a term passes
// over inside a word, or 0.
std::size_t StressMarkAt(const std::string& text, std::size_t at);
// A word in lower case, by the character classes of the search.
std::string Lower(std::string word);
// Whether a word of the text can be typed as a term: '*', '?' and '~' are no
// characters of a term, and a '&' or '|' at its end would be an operator.
bool Typable(const std::string& word);

// Random queries of at most 8 words, built from the corpus so that many of
// them have hits: words by frequency, phrases and NEAR pairs taken from the
// articles, capitals now and then.
class QueryMaker {
 public:
  QueryMaker(const sc::Corpus& corpus, std::uint64_t seed);
  std::unique_ptr<Node> Make();

 private:
  std::unique_ptr<Node> Make(int depth, int* budget);
  std::unique_ptr<Node> Leaf(int* budget);
  std::string Word();

  const sc::Corpus& corpus_;
  sc::Random random_;
  sc::ZipfSampler sampler_;
};

// The query's text; operators as words or symbols at random.
std::string Render(const Node& node, sc::Random& random);

}  // namespace oracle
