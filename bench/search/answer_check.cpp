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

}  // namespace

AnswerCheck::AnswerCheck(const sc::Corpus& corpus) {
  for (const sc::Article& article : corpus.articles) {
    std::string text = article.Text();
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    texts_.push_back(std::move(text));
    titleLengths_.push_back(static_cast<std::uint32_t>(article.title.size()));
  }
}

template <class Test>
std::vector<std::uint32_t> AnswerCheck::Entries(Test&& test) const {
  const std::size_t count = texts_.size();
  const unsigned workers = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<char> holds(count, 0);
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w)
    threads.emplace_back([&, w] {
      for (std::size_t e = w; e < count; e += workers) holds[e] = test(texts_[e], titleLengths_[e]) ? 1 : 0;
    });
  for (std::thread& thread : threads) thread.join();
  std::vector<std::uint32_t> entries;
  for (std::size_t e = 0; e < count; ++e)
    if (holds[e]) entries.push_back(static_cast<std::uint32_t>(e + 1));
  return entries;
}

std::vector<std::uint32_t> AnswerCheck::EngineRule(const BenchQuery& query) const {
  const auto tree = OracleTree(query);
  // The texts and the words are in lower case: compared exactly, they
  // compare as the engine's case mode 1 does.
  const oracle::Rules rules{true, false};
  return Entries([&](const std::string& text, std::uint32_t titleLength) {
    return oracle::Holds(*tree, text, titleLength, rules);
  });
}

std::vector<std::uint32_t> AnswerCheck::TokenRule(const BenchQuery& query) const {
  return Entries([&](const std::string& text, std::uint32_t titleLength) {
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
