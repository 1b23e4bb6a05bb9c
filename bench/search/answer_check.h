// Brute-force answers over the corpus text, to check what the searchers
// return: by the engine's rules (the oracle the query tests use), and by the
// token rules of the references, which tell why their counts differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "query_kinds.h"
#include "search_corpus/search_corpus.h"

namespace bench {

class AnswerCheck {
 public:
  explicit AnswerCheck(const builder::search_corpus::Corpus& corpus);

  // Entries where the query holds by the engine's rules (oracle::Holds):
  // whole words, one space between the words of a phrase, NEAR less than 8
  // counted positions apart in the body.
  std::vector<std::uint32_t> EngineRule(const BenchQuery& query) const;

  // Entries where it holds by the references' token rules: tokens are runs
  // of letters and digits in the title or the body; a phrase is neighbouring
  // tokens whatever stands between them; NEAR is two tokens of one field at
  // most 6 tokens apart; a joined word is its tokens one after the other.
  std::vector<std::uint32_t> TokenRule(const BenchQuery& query) const;

 private:
  template <class Test>
  std::vector<std::uint32_t> Entries(const std::vector<std::string>& texts, Test&& test) const;

  std::vector<std::string> texts_;    // title, line feed, body
  std::vector<std::string> lowered_;  // the same in lower case (ASCII), for the token rules
  std::vector<std::uint32_t> titleLengths_;
};

// "agree" when both lists are equal, else the first entry where they differ.
std::string FirstDifference(const std::vector<std::uint32_t>& got, const std::vector<std::uint32_t>& expected);

}  // namespace bench
