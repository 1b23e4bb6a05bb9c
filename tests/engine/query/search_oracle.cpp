#include "search_oracle.h"

#include <cctype>
#include <cstdlib>

namespace oracle {

namespace {

bool Alnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

bool SameAt(const std::string& text, std::size_t at, const std::string& phrase, bool ignoreCase) {
  if (at + phrase.size() > text.size()) return false;
  for (std::size_t i = 0; i < phrase.size(); ++i) {
    char a = text[at + i], b = phrase[i];
    if (ignoreCase) {
      a = static_cast<char>(std::tolower(static_cast<unsigned char>(a)));
      b = static_cast<char>(std::tolower(static_cast<unsigned char>(b)));
    }
    if (a != b) return false;
  }
  return true;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string phrase;
  for (const std::string& word : words) phrase += (phrase.empty() ? "" : " ") + word;
  return phrase;
}

// Start indexes of the phrase in the text.
std::vector<std::size_t> Occurrences(const std::string& text, const std::string& phrase, const Rules& rules) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i + phrase.size() <= text.size(); ++i) {
    if (!rules.ignoreCase) {
      i = text.find(phrase, i);  // the next exact occurrence: the same, faster
      if (i == std::string::npos) break;
    } else if (!SameAt(text, i, phrase, true)) {
      continue;
    }
    if (rules.wholeWords) {
      if (i > 0 && Alnum(text[i - 1])) continue;
      if (i + phrase.size() < text.size() && Alnum(text[i + phrase.size()])) continue;
    }
    found.push_back(i);
  }
  return found;
}

bool Near(const Node& node, const std::string& text, std::size_t titleLength, const Rules& rules) {
  const std::size_t body = titleLength + 1;
  // Counted positions before each index of the body.
  std::vector<long> position(text.size() + 1, 0);
  long count = 0;
  for (std::size_t q = body; q <= text.size(); ++q) {
    position[q] = count;
    if (q < text.size() && (!rules.wholeWords || !Alnum(text[q - 1]))) ++count;
  }
  auto inBody = [&](const std::vector<std::size_t>& all) {
    std::vector<long> out;
    for (std::size_t i : all)
      if (i >= body) out.push_back(position[i]);
    return out;
  };
  const auto a = inBody(Occurrences(text, Joined(node.left->words), rules));
  const auto b = inBody(Occurrences(text, Joined(node.right->words), rules));
  for (long x : a)
    for (long y : b)
      if (std::labs(x - y) < 8) return true;
  return false;
}

std::string Cap(std::string word) {
  word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  return word;
}

std::string Lower(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

}  // namespace

bool Holds(const Node& node, const std::string& text, std::size_t titleLength, const Rules& rules) {
  switch (node.kind) {
    case Node::Term: return !Occurrences(text, Joined(node.words), rules).empty();
    case Node::And: return Holds(*node.left, text, titleLength, rules) && Holds(*node.right, text, titleLength, rules);
    case Node::Or: return Holds(*node.left, text, titleLength, rules) || Holds(*node.right, text, titleLength, rules);
    case Node::Not: return Holds(*node.left, text, titleLength, rules) && !Holds(*node.right, text, titleLength, rules);
    case Node::Near: return Near(node, text, titleLength, rules);
  }
  return false;
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
    const auto words = sc::SplitWords(article);
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
