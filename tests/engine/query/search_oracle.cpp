#include "search_oracle.h"

#include <cctype>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "search_corpus/word_characters.h"

namespace oracle {

namespace {

namespace sc = builder::search_corpus;

constexpr unsigned char kMiddleDot = 183;

std::string Joined(const std::vector<std::string>& words) {
  std::string phrase;
  for (const std::string& word : words) phrase += (phrase.empty() ? "" : " ") + word;
  return phrase;
}

// The text as a search reads it, position by position, by the search's
// rules written out afresh: where a match may start, how a term compares,
// where it ends, and which positions NEAR counts.
class Reader {
 public:
  Reader(const std::string& text, std::size_t titleLength, const Rules& rules)
      : text_(text), titleEnd_(titleLength), rules_(rules) {}

  // Positions where the term (one word or a phrase) matches; with `first`,
  // only the first one found.
  std::vector<std::size_t> Matches(const std::string& term, bool first = false) {
    std::vector<std::size_t> found;
    if (term.empty()) return found;
    // The characters that fold to the term's first one: itself, and its
    // capital when case does not count.
    const unsigned char folded = Fold(static_cast<unsigned char>(term[0]));
    unsigned char starts[2] = {folded, folded};
    if (rules_.ignoreCase && folded >= 32 && sc::IsUpper(static_cast<unsigned char>(folded - 32)))
      starts[1] = static_cast<unsigned char>(folded - 32);
    for (int k = 0; k < (starts[1] != starts[0] ? 2 : 1); ++k)
      for (std::size_t p = text_.find(static_cast<char>(starts[k])); p != std::string::npos;
           p = text_.find(static_cast<char>(starts[k]), p + 1)) {
        if (!Counts(p) || !MayStart(p, term) || !MatchAt(p, term)) continue;
        found.push_back(p);
        if (first) return found;
      }
    return found;
  }

  // The word position of p in the body: the counted positions from the
  // title's end up to p.
  long WordPosition(std::size_t p) {
    if (positions_.empty()) {
      positions_.assign(text_.size() + 1, 0);
      long count = 0;
      for (std::size_t q = titleEnd_; q <= text_.size(); ++q) {
        positions_[q] = count;
        if (q < text_.size() && Counts(q)) ++count;
      }
    }
    return positions_[p];
  }
  std::size_t TitleEnd() const { return titleEnd_; }

 private:
  unsigned char Fold(unsigned char c) const {
    return rules_.ignoreCase && sc::IsUpper(c) ? static_cast<unsigned char>(c + 32) : c;
  }
  unsigned char At(std::size_t p) const { return static_cast<unsigned char>(text_[p]); }
  static bool Glues(unsigned char c) { return c == '/' || c == '\\' || c == kMiddleDot; }

  // The pronunciation runs from "<PR" to the next '<' that opens no escape;
  // its text is not searched and its positions do not count.
  bool InPronunciation(std::size_t p) {
    if (regions_.empty()) {
      regions_.push_back({0, 0});
      for (std::size_t i = text_.find("<PR"); i != std::string::npos;) {
        std::size_t end = i + 1;
        while (end < text_.size() && !(text_[end] == '<' && (end + 1 >= text_.size() || text_[end + 1] != '{'))) ++end;
        regions_.push_back({i, end});
        i = text_.find("<PR", end);
      }
    }
    for (const auto& [from, to] : regions_)
      if (p >= from && p < to) return true;
    return false;
  }

  // A position counts (for NEAR, and as a place where a match may start)
  // unless it is in a pronunciation or what stands before it glues it on:
  // '/', a backslash, a syllable dot; for whole words also '{' after '<',
  // and a letter or digit, except the first letter after a tag's '>'.
  bool Counts(std::size_t p) {
    if (InPronunciation(p)) return false;
    if (p == 0) return true;
    const unsigned char before = At(p - 1);
    if (Glues(before)) return false;
    if (!rules_.wholeWords) return true;
    if (before == '<' && At(p) == '{') return false;
    if (!sc::IsLetterOrDigit(before)) return true;
    return p >= 2 && At(p - 2) == '>' && !(p >= 3 && At(p - 3) == '}');
  }

  // No match starts inside a tag name, nor, for whole words, after a letter
  // or digit unless the term is itself a tag.
  bool MayStart(std::size_t p, const std::string& term) const {
    if (p == 0) return true;
    const unsigned char before = At(p - 1);
    if (before == '<' || (before == '/' && p >= 2 && At(p - 2) == '<')) return false;
    if (!rules_.wholeWords) return true;
    return !sc::IsLetterOrDigit(before) || (term[0] == '<' && term.size() > 1 && term[1] != '{');
  }

  // The term compares letter by letter; inside it the text's syllable dots
  // and stress marks are passed over. A whole word ends where no letter or
  // digit follows (a tag term may run into a word); nothing ends before a
  // character that glues.
  bool MatchAt(std::size_t p, const std::string& term) const {
    std::size_t i = p;
    for (std::size_t j = 0; j < term.size();) {
      if (i >= text_.size()) return false;
      const unsigned char c = At(i);
      if (j > 0 && c != static_cast<unsigned char>(term[j])) {
        if (c == kMiddleDot) {
          ++i;
          continue;
        }
        if (const std::size_t mark = StressMarkAt(text_, i)) {
          i += mark;
          continue;
        }
      }
      if (Fold(c) != Fold(static_cast<unsigned char>(term[j]))) return false;
      ++i;
      ++j;
    }
    if (i == text_.size()) return true;
    const unsigned char next = At(i);
    if (Glues(next)) return false;
    if (!rules_.wholeWords || !sc::IsLetterOrDigit(next)) return true;
    return term.back() == '>' && !(term.size() >= 2 && term[term.size() - 2] == '}');
  }

  const std::string& text_;
  std::size_t titleEnd_;
  Rules rules_;
  std::vector<std::pair<std::size_t, std::size_t>> regions_;  // pronunciations; a first empty one when read
  std::vector<long> positions_;
};

bool Near(const Node& node, Reader& reader) {
  // Matches in the body only, by their word positions.
  auto inBody = [&](const std::vector<std::size_t>& all) {
    std::vector<long> out;
    for (std::size_t i : all)
      if (i > reader.TitleEnd()) out.push_back(reader.WordPosition(i));
    return out;
  };
  const auto a = inBody(reader.Matches(Joined(node.left->words)));
  if (a.empty()) return false;
  const auto b = inBody(reader.Matches(Joined(node.right->words)));
  for (long x : a)
    for (long y : b)
      if (std::labs(x - y) < 8) return true;
  return false;
}

bool Evaluate(const Node& node, Reader& reader) {
  switch (node.kind) {
    case Node::Term: return !reader.Matches(Joined(node.words), true).empty();
    case Node::And: return Evaluate(*node.left, reader) && Evaluate(*node.right, reader);
    case Node::Or: return Evaluate(*node.left, reader) || Evaluate(*node.right, reader);
    case Node::Not: return Evaluate(*node.left, reader) && !Evaluate(*node.right, reader);
    case Node::Near: return Near(node, reader);
  }
  return false;
}

std::string Cap(std::string word) {
  word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  return word;
}

}  // namespace

std::size_t StressMarkAt(const std::string& text, std::size_t at) {
  for (const char* stress : {"<{BPRIME}>", "<{LPRIME}>", "\\BPRIME/", "\\LPRIME/"}) {
    const std::size_t length = std::char_traits<char>::length(stress);
    if (text.compare(at, length, stress) == 0) return length;
  }
  return 0;
}

std::string Lower(std::string word) {
  for (char& c : word)
    if (sc::IsUpper(static_cast<unsigned char>(c))) c = static_cast<char>(c + 32);
  return word;
}

bool Typable(const std::string& word) {
  // '&' or '|' at its end would be an operator before the blank after it.
  return !word.empty() && word.find_first_of("*?~") == std::string::npos && word.back() != '&' && word.back() != '|';
}

namespace {}  // namespace

bool Holds(const Node& node, const std::string& text, std::size_t titleLength, const Rules& rules) {
  Reader reader(text, titleLength, rules);
  return Evaluate(node, reader);
}

QueryMaker::QueryMaker(const sc::Corpus& corpus, std::uint64_t seed)
    : corpus_(corpus), random_(seed), sampler_(static_cast<std::uint32_t>(corpus.vocabulary.size()), 1.0) {}

std::unique_ptr<Node> QueryMaker::Make() {
  int budget = 8;
  return Make(0, &budget);
}

std::string QueryMaker::Word() {
  std::string word;
  if (random_.Below(10) < 6) {
    word = corpus_.vocabulary[sampler_.Draw(random_)];
  } else {
    const sc::Article& article = corpus_.articles[random_.Below(static_cast<std::uint32_t>(corpus_.articles.size()))];
    // Now and then a word with a joiner or an accent, where the article has one.
    auto words = random_.Below(3) == 0 ? sc::JoinedWords(article) : std::vector<sc::WordAt>{};
    std::erase_if(words, [](const sc::WordAt& at) { return !Typable(at.word); });
    if (words.empty()) words = sc::SplitWords(article);
    word = Lower(words[random_.Below(static_cast<std::uint32_t>(words.size()))].word);
  }
  return random_.Below(10) == 0 ? Cap(word) : word;
}

std::unique_ptr<Node> QueryMaker::Leaf(int* budget) {
  auto leaf = std::make_unique<Node>();
  if (*budget >= 2 && random_.Below(5) == 0) {
    // A phrase that stands in some article: words one space apart.
    const sc::Article& article = corpus_.articles[random_.Below(static_cast<std::uint32_t>(corpus_.articles.size()))];
    const std::string text = article.Text();
    const auto words = sc::SplitWords(article);
    const std::uint32_t want = 2 + (*budget >= 3 ? random_.Below(2) : 0);
    for (int attempt = 0; attempt < 8 && leaf->words.empty(); ++attempt) {
      const std::uint32_t first = random_.Below(static_cast<std::uint32_t>(words.size()));
      if (first + want > words.size()) continue;
      std::string phrase = words[first].word;
      for (std::uint32_t w = first + 1; w < first + want; ++w) phrase += " " + words[w].word;
      if (text.find(phrase) == std::string::npos) continue;  // punctuation between the words
      for (std::uint32_t w = first; w < first + want; ++w) leaf->words.push_back(Lower(words[w].word));
    }
    if (!leaf->words.empty()) {
      *budget -= static_cast<int>(leaf->words.size());
      return leaf;
    }
  }
  leaf->words.push_back(Word());
  --*budget;
  return leaf;
}

std::unique_ptr<Node> QueryMaker::Make(int depth, int* budget) {
  if (*budget < 2 || depth >= 3 || random_.Below(3) == 0) return Leaf(budget);
  auto node = std::make_unique<Node>();
  const std::uint32_t pick = random_.Below(8);
  if (pick < 2) {
    // NEAR over two words of one article, a few words apart.
    node->kind = Node::Near;
    const sc::Article& article = corpus_.articles[random_.Below(static_cast<std::uint32_t>(corpus_.articles.size()))];
    const auto words = sc::SplitWords(article);
    const std::uint32_t first = random_.Below(static_cast<std::uint32_t>(words.size()));
    const std::uint32_t second =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(words.size()) - 1, first + random_.Below(12));
    node->left = std::make_unique<Node>();
    node->left->words.push_back(Lower(words[first].word));
    node->right = std::make_unique<Node>();
    node->right->words.push_back(random_.Below(4) == 0 ? Word() : Lower(words[second].word));
    *budget -= 2;
    return node;
  }
  node->kind = pick < 5 ? Node::And : pick < 7 ? Node::Or : Node::Not;
  node->left = Make(depth + 1, budget);
  if (*budget < 1) return std::move(node->left);
  node->right = Make(depth + 1, budget);
  return node;
}

std::string Render(const Node& node, sc::Random& random) {
  if (node.kind == Node::Term) return Joined(node.words);
  auto side = [&](const Node& child) {
    const std::string text = Render(child, random);
    return child.kind == Node::Term ? text : "(" + text + ")";
  };
  const bool word = random.Below(2) == 0;
  const char* op = "";
  switch (node.kind) {
    case Node::And: op = word ? " AND " : " & "; break;
    case Node::Or: op = word ? " OR " : " | "; break;
    case Node::Not: op = word ? " NOT " : " ! "; break;
    default: op = word ? " NEAR " : " ~ "; break;
  }
  return side(*node.left) + op + side(*node.right);
}

}  // namespace oracle
