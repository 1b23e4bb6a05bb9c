// Property test: generated Boolean and NEAR queries over a generated corpus
// return exactly the entries that a brute-force reading of the builder's
// plain text finds, page after page.
#include "search_oracle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search_fixture.h"

namespace {

using searchtest::Outcome;
using searchtest::SearchDb;
namespace sc = builder::search_corpus;

sc::Corpus MakeCorpus(std::uint64_t seed, std::uint32_t articles) {
  sc::CorpusOptions options;
  options.seed = seed;
  options.articles = articles;
  options.meanWords = 40;
  options.vocabulary = 500;
  options.joinedShare = 0.05;  // words with joiners and accents among them
  return sc::Generate(options);
}

std::vector<u32> Expected(const sc::Corpus& corpus, const oracle::Node& query, const oracle::Rules& rules) {
  std::vector<u32> entries;
  for (u32 e = 0; e < corpus.articles.size(); ++e) {
    const sc::Article& article = corpus.articles[e];
    if (oracle::Holds(query, article.Text(), article.title.size(), rules)) entries.push_back(e + 1);
  }
  return entries;
}

// Runs `count` generated queries and compares every one with the oracle.
void Compare(const sc::Corpus& corpus, SearchDb& db, u16 function, int count, std::uint64_t seed) {
  oracle::QueryMaker maker(corpus, seed);
  sc::Random render(seed + 1);
  int withHits = 0;
  for (int q = 0; q < count; ++q) {
    const auto query = maker.Make();
    const std::string text = oracle::Render(*query, render);
    const u8 caseMode = q % 4 == 3 ? static_cast<u8>(2 + q % 2) : 1;
    const oracle::Rules rules{function == 145, caseMode == 1};
    const std::vector<u32> expected = Expected(corpus, *query, rules);
    const Outcome outcome = db.Search(text, function, caseMode);
    ASSERT_EQ(outcome.entries, expected) << "query " << q << ": " << text << " (case mode " << int(caseMode) << ")";
    const auto& last = outcome.pages.back();
    EXPECT_EQ(last.result, ReWarn) << text;
    EXPECT_EQ(last.status.warning, expected.empty() ? i16{ReWarnNothing} : i16{ReWarnEnded}) << text;
    for (size_t p = 0; p + 1 < outcome.pages.size(); ++p) EXPECT_EQ(outcome.pages[p].entries.size(), 50u) << text;
    if (!expected.empty()) ++withHits;
  }
  // The generator must give the comparison something to compare.
  EXPECT_GT(withHits, count / 3);
}

TEST(SearchOracle, WordSearchInBlocksOfSixteen) {
  const sc::Corpus corpus = MakeCorpus(7, 260);
  SearchDb db(corpus, sc::SearchDatabaseOptions{});
  Compare(corpus, db, 145, 300, 11);
}

TEST(SearchOracle, WordSearchOneEntryPerBlock) {
  const sc::Corpus corpus = MakeCorpus(21, 150);
  sc::SearchDatabaseOptions options;
  options.groupSize = 1;
  SearchDb db(corpus, options);
  Compare(corpus, db, 145, 150, 23);
}

TEST(SearchOracle, TextSearch) {
  const sc::Corpus corpus = MakeCorpus(31, 120);
  sc::SearchDatabaseOptions options;
  options.groupSize = 4;
  SearchDb db(corpus, options);
  Compare(corpus, db, 220, 80, 33);
}

TEST(SearchOracle, AStreamLongerThanTheReadWindow) {
  // Far more stored text than one read of the stream holds: blocks and long
  // entries straddle its refills.
  sc::CorpusOptions options;
  options.seed = 41;
  options.articles = 800;
  options.meanWords = 80;
  options.vocabulary = 3000;
  options.joinedShare = 0.02;
  const sc::Corpus corpus = sc::Generate(options);
  sc::SearchDatabaseOptions database;
  database.groupSize = 32;
  SearchDb db(corpus, database);
  Compare(corpus, db, 145, 30, 43);
}

}  // namespace
