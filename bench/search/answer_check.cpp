#include "answer_check.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <thread>

#include "search_oracle.h"

namespace bench {

namespace sc = builder::search_corpus;

namespace {

bool Alnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// Token positions of `word` in each field (0 title, 1 body) of a text.
void TokenPositions(const std::string& text, std::size_t titleLength, const std::string& word,
                    std::vector<long> (&positions)[2]) {
  long index[2] = {0, 0};
  for (std::size_t i = 0; i < text.size();) {
    if (!Alnum(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && Alnum(text[end])) ++end;
    const int field = i < titleLength ? 0 : 1;
    if (end - i == word.size() && text.compare(i, word.size(), word) == 0) positions[field].push_back(index[field]);
    ++index[field];
    i = end;
  }
}

bool TokensWithin(const std::vector<long>& a, const std::vector<long>& b, long lowest, long highest) {
  for (long x : a)
    for (long y : b)
      if (y - x >= lowest && y - x <= highest && x != y) return true;
  return false;
}

// The runs of ASCII letters and digits of a word.
std::vector<std::string> TokensOf(const std::string& word) {
  std::vector<std::string> tokens;
  std::string token;
  for (const char c : word + " ") {
    if (Alnum(c) && static_cast<unsigned char>(c) < 0x80) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  return tokens;
}

}  // namespace

AnswerCheck::AnswerCheck(const sc::Corpus& corpus) {
  for (const sc::Article& article : corpus.articles) {
    std::string text = article.Text();
    texts_.push_back(text);
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    lowered_.push_back(std::move(text));
    titleLengths_.push_back(static_cast<std::uint32_t>(article.title.size()));
  }
}

template <class Test>
std::vector<std::uint32_t> AnswerCheck::Entries(const std::vector<std::string>& texts, Test&& test) const {
  const std::size_t count = texts.size();
  const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<char> holds(count, 0);
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w)
    threads.emplace_back([&, w] {
      for (std::size_t e = w; e < count; e += workers) holds[e] = test(texts[e], titleLengths_[e]) ? 1 : 0;
    });
  for (std::thread& thread : threads) thread.join();
  std::vector<std::uint32_t> entries;
  for (std::size_t e = 0; e < count; ++e)
    if (holds[e]) entries.push_back(static_cast<std::uint32_t>(e + 1));
  return entries;
}

std::vector<std::uint32_t> AnswerCheck::EngineRule(const BenchQuery& query) const {
  const auto tree = OracleTree(query);
  const oracle::Rules rules{true, true};  // whole words, case mode 1
  return Entries(texts_, [&](const std::string& text, std::uint32_t titleLength) {
    return oracle::Holds(*tree, text, titleLength, rules);
  });
}

std::vector<std::uint32_t> AnswerCheck::TokenRule(const BenchQuery& query) const {
  if (query.kind == QueryKind::Joined) {
    // The word's tokens one after the other in a field.
    const std::vector<std::string> tokens = TokensOf(query.words[0]);
    return Entries(lowered_, [&](const std::string& text, std::uint32_t titleLength) {
      std::vector<std::vector<long>> positions[2];
      for (int field = 0; field < 2; ++field) positions[field].resize(tokens.size());
      for (std::size_t k = 0; k < tokens.size(); ++k) {
        std::vector<long> found[2];
        TokenPositions(text, titleLength, tokens[k], found);
        for (int field = 0; field < 2; ++field) positions[field][k] = std::move(found[field]);
      }
      for (int field = 0; field < 2 && !tokens.empty(); ++field)
        for (long at : positions[field][0]) {
          bool all = true;
          for (std::size_t k = 1; k < tokens.size() && all; ++k)
            all = std::find(positions[field][k].begin(), positions[field][k].end(), at + static_cast<long>(k)) !=
                  positions[field][k].end();
          if (all) return true;
        }
      return false;
    });
  }
  return Entries(lowered_, [&](const std::string& text, std::uint32_t titleLength) {
    std::vector<long> first[2], second[2];
    TokenPositions(text, titleLength, query.words[0], first);
    if (query.kind == QueryKind::StopWord) return !first[0].empty() || !first[1].empty();
    TokenPositions(text, titleLength, query.words[1], second);
    for (int field = 0; field < 2; ++field) {
      switch (query.kind) {
        case QueryKind::And:
          if ((!first[0].empty() || !first[1].empty()) && (!second[0].empty() || !second[1].empty())) return true;
          break;
        case QueryKind::Phrase:
          if (TokensWithin(first[field], second[field], 1, 1)) return true;
          break;
        case QueryKind::Near:
          if (TokensWithin(first[field], second[field], -7, 7)) return true;
          break;
        default: break;
      }
    }
    return false;
  });
}

std::string FirstDifference(const std::vector<std::uint32_t>& got, const std::vector<std::uint32_t>& expected) {
  const auto mismatch = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
  if (mismatch.first == got.end() && mismatch.second == expected.end()) return "agree";
  if (mismatch.second == expected.end() || (mismatch.first != got.end() && *mismatch.first < *mismatch.second))
    return "entry " + std::to_string(*mismatch.first) + " found, the oracle has it not";
  return "entry " + std::to_string(*mismatch.second) + " missed, the oracle finds it";
}

}  // namespace bench
