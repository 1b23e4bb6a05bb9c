#include "joined_check.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <set>
#include <thread>
#include <utility>

#include "answer_check.h"
#include "re_word_pieces.h"
#include "search_corpus/word_characters.h"
#include "search_oracle.h"

namespace bench {

namespace {

namespace sc = builder::search_corpus;

constexpr std::size_t kLongestQuery = 1024;  // characters of a query
constexpr std::size_t kShownDisagreements = 10;

// A text as the oracle's candidates are found in it: syllable dots and the
// oracle's stress marks left out, as a match passes over them, and letters
// folded to lower case. A word the oracle finds in a text stands, so folded,
// in the text so folded.
std::string Folded(const std::string& text) {
  std::string kept;
  kept.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t mark = oracle::StressMarkAt(text, i)) {
      i += mark;
    } else if (static_cast<unsigned char>(text[i]) == ReMiddleDot) {
      ++i;
    } else {
      kept += text[i++];
    }
  }
  return oracle::Lower(std::move(kept));
}

std::uint32_t Gram(const std::string& text, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 1])) << 8 |
         static_cast<unsigned char>(text[at + 2]);
}

std::vector<std::uint32_t> DistinctGrams(const std::string& text) {
  std::vector<std::uint32_t> grams;
  for (std::size_t i = 0; i + 3 <= text.size(); ++i) grams.push_back(Gram(text, i));
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

// The brute force over a whole corpus, for one word at a time: the entries
// whose folded text holds the folded word (found by its rarest three
// characters) are read by the oracle's rules.
class WordOracle {
 public:
  explicit WordOracle(const sc::Corpus& corpus) : corpus_(corpus) {
    folded_.reserve(corpus.articles.size());
    for (const sc::Article& article : corpus.articles) folded_.push_back(Folded(article.Text()));
    // Entries by the three characters they hold: counted, then filled.
    start_.assign((1u << 24) + 1, 0);
    for (const std::string& text : folded_)
      for (const std::uint32_t gram : DistinctGrams(text)) ++start_[gram + 1];
    for (std::size_t g = 1; g < start_.size(); ++g) start_[g] += start_[g - 1];
    entries_.resize(start_.back());
    std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
    for (std::uint32_t e = 0; e < folded_.size(); ++e)
      for (const std::uint32_t gram : DistinctGrams(folded_[e])) entries_[next[gram]++] = e;
  }

  std::vector<std::uint32_t> Entries(const std::string& word) const {
    const std::string folded = Folded(word);
    std::vector<std::uint32_t> candidates;
    if (folded.size() < 3) {
      candidates.resize(folded_.size());
      for (std::uint32_t e = 0; e < candidates.size(); ++e) candidates[e] = e;
    } else {
      std::uint32_t rarest = Gram(folded, 0);
      for (const std::uint32_t gram : DistinctGrams(folded))
        if (start_[gram + 1] - start_[gram] < start_[rarest + 1] - start_[rarest]) rarest = gram;
      candidates.assign(entries_.begin() + start_[rarest], entries_.begin() + start_[rarest + 1]);
    }
    oracle::Node term;
    term.words = {word};
    std::vector<std::uint32_t> found;
    for (const std::uint32_t e : candidates) {
      if (folded_[e].find(folded) == std::string::npos) continue;
      const sc::Article& article = corpus_.articles[e];
      if (oracle::Holds(term, article.Text(), article.title.size(), oracle::Rules{true, true})) found.push_back(e + 1);
    }
    return found;
  }

 private:
  const sc::Corpus& corpus_;
  std::vector<std::string> folded_;
  std::vector<std::uint32_t> start_;    // by three characters: where their entries begin in entries_
  std::vector<std::uint32_t> entries_;  // entry numbers from 0
};

}  // namespace

namespace {

// Why a query cannot say a word, or nothing.
const char* Unsaid(const std::string& word) {
  if (word.find_first_of("*?~") != std::string::npos) return "'*', '?' or '~' in it";
  if (!oracle::Typable(word)) return "'&' or '|' at its end";
  if (word.size() > kLongestQuery) return "longer than a query";
  if (std::all_of(word.begin(), word.end(), [](char c) { return sc::IsSeparator(static_cast<unsigned char>(c)); }))
    return "joiners alone, no word";
  return nullptr;
}

bool StartsOrEndsWithJoiner(std::string_view token) {
  return sc::HoldsJoiner(token.substr(0, 1)) || sc::HoldsJoiner(token.substr(token.size() - 1));
}

}  // namespace

CheckedWords WordsToCheck(const sc::Corpus& corpus) {
  CheckedWords checked;
  std::map<std::string, std::uint32_t> words;  // each with the first entry it was drawn from
  std::set<std::string> unsaid;
  const auto add = [&](std::string word, std::uint32_t entry, std::size_t* kind) {
    if (const char* why = Unsaid(word)) {
      if (unsaid.insert(word).second) ++checked.unsaid[why];
    } else if (words.emplace(std::move(word), entry).second) {
      ++*kind;
    }
  };
  for (std::uint32_t e = 0; e < corpus.articles.size(); ++e) {
    sc::ForEachTextWord(corpus.articles[e], [&](const sc::TextWord& at) {
      if (sc::HoldsJoiner(at.word) && at.StandsFree()) add(oracle::Lower(at.word), e + 1, &checked.joinedWords);
    });
  }
  // The tokens after the words, so that a word that is also a token counts as a word.
  for (std::uint32_t e = 0; e < corpus.articles.size(); ++e)
    sc::ForEachTextToken(corpus.articles[e], [&](std::string_view token) {
      if (StartsOrEndsWithJoiner(token)) add(oracle::Lower(std::string(token)), e + 1, &checked.edgeTokens);
    });
  checked.words.reserve(words.size());
  for (auto& [word, entry] : words) checked.words.push_back({word, entry});
  return checked;
}

JoinedCheck CheckEveryJoinedWord(const sc::Corpus& corpus, Searcher& engine) {
  JoinedCheck check;
  std::fprintf(stderr, "joined words: reading the corpus...\n");
  check.checked = WordsToCheck(corpus);
  const std::vector<CheckedWord>& words = check.checked.words;
  std::fprintf(stderr, "joined words: %zu distinct words; indexing the text for the oracle...\n", words.size());
  const WordOracle oracle(corpus);

  // The oracle reads in worker threads while the engine searches here.
  std::vector<std::vector<std::uint32_t>> expected(words.size()), found(words.size());
  std::atomic<std::size_t> nextWord{0}, oracleDone{0};
  std::vector<std::thread> workers;
  const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&] {
      for (std::size_t w = nextWord++; w < words.size(); w = nextWord++) {
        expected[w] = oracle.Entries(words[w].word);
        ++oracleDone;
      }
    });
  std::vector<std::string> failures(words.size());
  for (std::size_t w = 0; w < words.size(); ++w) {
    if (w % 100 == 0)
      std::fprintf(stderr, "\rjoined words: engine %zu of %zu, oracle %zu   ", w, words.size(), oracleDone.load());
    try {
      found[w] = engine.Search(BenchQuery{QueryKind::Joined, {words[w].word}});
    } catch (const std::exception& error) {
      failures[w] = error.what();
    }
  }
  while (oracleDone.load() < words.size()) {
    std::fprintf(stderr, "\rjoined words: engine done, oracle %zu of %zu   ", oracleDone.load(), words.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  for (std::thread& worker : workers) worker.join();
  std::fprintf(stderr, "\r%70s\r", "");

  const auto holds = [](const std::vector<std::uint32_t>& entries, std::uint32_t entry) {
    return std::binary_search(entries.begin(), entries.end(), entry);
  };
  for (std::size_t w = 0; w < words.size(); ++w) {
    const std::string said = "\"" + words[w].word + "\": ";
    const std::string difference = failures[w].empty() ? FirstDifference(found[w], expected[w]) : failures[w];
    if (difference != "agree" && check.disagree++ < kShownDisagreements) check.first.push_back(said + difference);
    const std::uint32_t own = words[w].entry;
    const bool engineMisses = failures[w].empty() && !holds(found[w], own), oracleMisses = !holds(expected[w], own);
    check.engineMissesOwn += engineMisses;
    check.oracleMissesOwn += oracleMisses;
    if ((engineMisses || oracleMisses) && check.first.size() < 2 * kShownDisagreements)
      check.first.push_back(said + "its own entry " + std::to_string(own) + " missed by the" +
                            (engineMisses ? " engine" : "") + (engineMisses && oracleMisses ? " and the" : "") +
                            (oracleMisses ? " oracle" : ""));
  }
  return check;
}

}  // namespace bench
