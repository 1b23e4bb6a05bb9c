#include "query_kinds.h"

#include <algorithm>
#include <set>

namespace bench {

namespace sc = builder::search_corpus;

namespace {

std::string Lower(std::string word) {
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return word;
}

std::unique_ptr<oracle::Node> Term(std::vector<std::string> words) {
  auto node = std::make_unique<oracle::Node>();
  node->words = std::move(words);
  return node;
}

}  // namespace

std::string KindOption(QueryKind kind) {
  switch (kind) {
    case QueryKind::And: return "and";
    case QueryKind::Phrase: return "phrase";
    case QueryKind::Near: return "near";
    case QueryKind::StopWord: return "stop";
    case QueryKind::Joined: return "joined";
    case QueryKind::Ranked: break;
  }
  return "ranked";
}

std::vector<QuerySet> MakeQuerySets(const sc::Corpus& corpus, std::uint64_t seed, std::uint32_t perKind) {
  sc::Random random(seed * 7919 + 17);
  const auto& vocabulary = corpus.vocabulary;
  const auto count = static_cast<std::uint32_t>(vocabulary.size());
  auto midWord = [&] { return vocabulary[std::min<std::uint32_t>(count - 1, 500 + random.Below(4500))]; };
  auto article = [&]() -> const sc::Article& {
    return corpus.articles[random.Below(static_cast<std::uint32_t>(corpus.articles.size()))];
  };
  std::vector<QuerySet> sets = {{"AND", QueryKind::And, {}},       {"phrase", QueryKind::Phrase, {}},
                                {"NEAR", QueryKind::Near, {}},     {"stop word", QueryKind::StopWord, {}},
                                {"joined", QueryKind::Joined, {}}, {"ranked", QueryKind::Ranked, {}}};
  for (std::uint32_t q = 0; q < perKind; ++q) {
    const std::string a = midWord(), b = midWord();
    sets[0].queries.push_back({QueryKind::And, {a, b}});

    // Two words one space apart in some article.
    for (int attempt = 0; attempt < 50; ++attempt) {
      const sc::Article& text = article();
      const auto words = sc::SplitWords(text);
      if (words.size() < 2) continue;
      const std::uint32_t at = random.Below(static_cast<std::uint32_t>(words.size() - 1));
      if (text.Text().find(words[at].word + " " + words[at + 1].word) == std::string::npos) continue;
      sets[1].queries.push_back({QueryKind::Phrase, {Lower(words[at].word), Lower(words[at + 1].word)}});
      break;
    }

    // Two words a few positions apart in some article.
    const sc::Article& text = article();
    const auto words = sc::SplitWords(text);
    const std::uint32_t at = random.Below(static_cast<std::uint32_t>(words.size()));
    const std::uint32_t to =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(words.size()) - 1, at + 1 + random.Below(5));
    sets[2].queries.push_back({QueryKind::Near, {Lower(words[at].word), Lower(words[to].word)}});

    sets[3].queries.push_back({QueryKind::StopWord, {vocabulary[random.Below(10)]}});  // the most frequent

    // Six terms, one of them very frequent (a common word that is no stop word).
    BenchQuery ranked{QueryKind::Ranked, {vocabulary[std::min<std::uint32_t>(count - 1, 61 + random.Below(10))]}};
    for (int t = 0; t < 5; ++t) ranked.words.push_back(midWord());
    sets[5].queries.push_back(std::move(ranked));
  }
  // Distinct words with a joiner or an accent of the corpus, so that no
  // frequent one ("one's", "U.S.") stands for most of the kind.
  std::set<std::string> distinct;
  for (const sc::Article& text : corpus.articles)
    for (const sc::WordAt& at : sc::JoinedWords(text))
      if (oracle::Typable(at.word)) distinct.insert(oracle::Lower(at.word));
  std::vector<std::string> joinedWords(distinct.begin(), distinct.end());
  sc::Random joined(seed * 7919 + 23);
  for (std::uint32_t q = 0; q < perKind && !joinedWords.empty(); ++q) {
    const std::uint32_t pick = joined.Below(static_cast<std::uint32_t>(joinedWords.size()));
    sets[4].queries.push_back({QueryKind::Joined, {joinedWords[pick]}});
    // Each word once; a corpus with fewer such words than queries repeats them.
    if (joinedWords.size() > perKind - q) joinedWords.erase(joinedWords.begin() + pick);
  }
  if (sets[4].queries.empty()) sets.erase(sets.begin() + 4);
  return sets;
}

std::string EngineQueryText(const BenchQuery& query) {
  switch (query.kind) {
    case QueryKind::And: return query.words[0] + " AND " + query.words[1];
    case QueryKind::Near: return query.words[0] + " NEAR " + query.words[1];
    default: {
      std::string text;
      for (const std::string& word : query.words) text += (text.empty() ? "" : " ") + word;
      return text;
    }
  }
}

std::unique_ptr<oracle::Node> OracleTree(const BenchQuery& query) {
  if (query.kind != QueryKind::And && query.kind != QueryKind::Near) return Term(query.words);
  auto node = std::make_unique<oracle::Node>();
  node->kind = query.kind == QueryKind::And ? oracle::Node::And : oracle::Node::Near;
  node->left = Term({query.words[0]});
  node->right = Term({query.words[1]});
  return node;
}

}  // namespace bench
