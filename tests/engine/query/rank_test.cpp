// Proximity scoring and the sorts of the ranked query.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "packed.h"
#include "re_rank.h"

namespace {

ReConceptHit Hit(u32 entry, u32 offset, u16 term, bool field = false) {
  return ReConceptHit{entry * ReConceptEntryUnit + (field ? ReConceptFieldBit : 0) + offset, term, 0};
}

struct Ranked {
  u32 entry;
  float score;
  u16 position;
};

// Scores and ranks hits over N entries with the given idf and weights.
class Ranking {
 public:
  Ranking(u32 entryCount, std::vector<float> idf, std::vector<float> weights)
      : n_(entryCount), idf_(std::move(idf)), weights_(std::move(weights)) {}

  std::vector<Ranked> Run(std::vector<ReConceptHit> hits) {
    EXPECT_TRUE(ReSortHits(hits.data(), static_cast<u32>(hits.size()), nullptr));
    const u16 terms = static_cast<u16>(idf_.size());
    std::vector<float> s1(terms), s2(terms), best(terms), scores(n_ + 1);
    std::vector<u32> entries(n_ + 1);
    std::vector<u16> counts(8192), positions(n_ + 1);
    const ReRankWork work{s1.data(),     s2.data(),   scores.data(),   entries.data(),
                          counts.data(), best.data(), positions.data()};
    const ReRankInput input{hits.data(), static_cast<u32>(hits.size()), terms, idf_.data(), weights_.data(), n_};
    const u32 kept = ReScoreEntries(input, work);
    ReRankRecord record{};
    EXPECT_TRUE(ReFillRanks(work, kept, &record, nullptr));
    std::vector<Ranked> out;
    for (u16 i = 0; i < record.resultCount; ++i)
      out.push_back({PACKED(record.entries[i]), PACKED(record.scores[i]), PACKED(record.positions[i])});
    return out;
  }

 private:
  u32 n_;
  std::vector<float> idf_, weights_;
};

TEST(RankScoring, SingleHit) {
  // One term (idf 1, weight 1), one hit at word 10: distances 1000 each way,
  // the best occurrence counts 1, the cluster adds 1/1001; X = 0 + 1 + 10.
  const auto ranked = Ranking(2, {1.0f}, {1.0f}).Run({Hit(1, 10, 0)});
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_EQ(ranked[0].entry, 1u);
  EXPECT_NEAR(ranked[0].score, (1.0 + 1.0 / 1001) / std::log(11.0), 1e-5);
  EXPECT_EQ(ranked[0].position, 10);
}

TEST(RankScoring, AdjacentWordsGiveTwo) {
  // d = 1 -> v = 2 for both terms; each term's best occurrence counts 1:
  // E = 2, the best cluster (word 10) holds 0.5; X = 1 + 2 + 10; / sqrt(2).
  const auto ranked = Ranking(2, {1.0f, 1.0f}, {1.0f, 1.0f}).Run({Hit(1, 10, 0), Hit(1, 11, 1)});
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_NEAR(ranked[0].score, (2.0 + 0.5) / std::log(13.0) / std::sqrt(2.0), 1e-5);
  EXPECT_EQ(ranked[0].position, 10);
}

TEST(RankScoring, SharedWord) {
  // Two terms on one word (d = 0): the word's count 2 equals Z and doubles to
  // 4, so v = 1/4 and S1 = 4 for each term. Both hits form one cluster worth
  // 4 + 4; X = 1 + 2 + 10.
  const auto shared = Ranking(2, {1.0f, 1.0f}, {1.0f, 1.0f}).Run({Hit(1, 10, 0), Hit(1, 10, 1)});
  ASSERT_EQ(shared.size(), 1u);
  EXPECT_NEAR(shared[0].score, (8.0 + 8.0) / std::log(13.0) / std::sqrt(2.0), 1e-4);
}

TEST(RankScoring, FirstWordsDoubleFlaggedFieldQuarters) {
  // One term, two hits two words apart: v = 3 each, S1 = 2/3, less the best
  // 1/3 plus 1 = 4/3; the better of the two one-hit clusters is 1/3; X = 12.
  Ranking ranking(2, {1.0f}, {1.0f});
  const auto late = ranking.Run({Hit(1, 12, 0), Hit(1, 14, 0)});
  // Among the first four words v is halved: S1 = 4/3 - 2/3 + 1, cluster 2/3.
  const auto early = ranking.Run({Hit(1, 1, 0), Hit(1, 3, 0)});
  // In the flagged field v is four times: S1 = 1/3 + 1/12 - 1/3 + 1.
  const auto field = ranking.Run({Hit(1, 12, 0), Hit(1, 14, 0, true)});
  ASSERT_EQ(late.size(), 1u);
  ASSERT_EQ(early.size(), 1u);
  ASSERT_EQ(field.size(), 1u);
  const double x = std::log(12.0);
  EXPECT_NEAR(late[0].score, (4.0 / 3 + 1.0 / 3) / x, 1e-5);
  EXPECT_NEAR(early[0].score, (5.0 / 3 + 2.0 / 3) / x, 1e-5);
  EXPECT_NEAR(field[0].score, (13.0 / 12 + 1.0 / 3) / x, 1e-5);
  EXPECT_EQ(late[0].position, 12);
}

TEST(RankScoring, AbsentTermTakesNoPart) {
  // Term 1 occurs nowhere (idf 0): the same score as the query without it.
  const auto with = Ranking(2, {1.0f, 0.0f}, {1.0f, 5.0f}).Run({Hit(1, 10, 0)});
  const auto without = Ranking(2, {1.0f}, {1.0f}).Run({Hit(1, 10, 0)});
  ASSERT_EQ(with.size(), 1u);
  ASSERT_EQ(without.size(), 1u);
  EXPECT_FLOAT_EQ(with[0].score, without[0].score);
}

TEST(RankScoring, NegativeIdfDropsEntriesWithoutTheTerm) {
  // Term 1 is everywhere (idf < 0): entry 2 lacks it and is dropped.
  const auto ranked = Ranking(3, {1.0f, -1.0f}, {1.0f, 1.0f}).Run({Hit(1, 10, 0), Hit(1, 12, 1), Hit(2, 10, 0)});
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_EQ(ranked[0].entry, 1u);
}

TEST(RankScoring, ManyTermsHaveNoClusters) {
  std::vector<float> idf(21, 1.0f), weights(21, 1.0f);
  const auto ranked = Ranking(2, idf, weights).Run({Hit(1, 10, 0), Hit(1, 11, 20)});
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_EQ(ranked[0].position, 0);
  // E = 2 (each best occurrence counts 1), no cluster; / sqrt(21).
  EXPECT_NEAR(ranked[0].score, 2.0 / std::log(1.0 + 21 + 10) / std::sqrt(21.0), 1e-5);
}

TEST(RankScoring, QuarterOfTheBestCutsOff) {
  // Entry 1 has both terms side by side many times; entries 2 and 3 one far hit.
  std::vector<ReConceptHit> hits;
  for (u32 w = 0; w < 40; w += 2) {
    hits.push_back(Hit(1, 100 + w, 0));
    hits.push_back(Hit(1, 101 + w, 1));
  }
  hits.push_back(Hit(2, 500, 0));
  hits.push_back(Hit(3, 500, 1));
  const auto ranked = Ranking(4, {1.0f, 1.0f}, {1.0f, 1.0f}).Run(hits);
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_EQ(ranked[0].entry, 1u);
}

TEST(RankScoring, NoNormMeansNoResultsRatherThanInfinity) {
  EXPECT_TRUE(Ranking(2, {1.0f}, {0.0f}).Run({Hit(1, 10, 0)}).empty());
  EXPECT_TRUE(Ranking(2, {0.0f}, {1.0f}).Run({Hit(1, 10, 0)}).empty());
}

TEST(RankScoring, EntriesAboveNAreLeftOut) {
  const auto ranked = Ranking(2, {1.0f}, {1.0f}).Run({Hit(2, 10, 0), Hit(3, 10, 0), Hit(0, 5, 0)});
  ASSERT_EQ(ranked.size(), 1u);
  EXPECT_EQ(ranked[0].entry, 2u);
}

TEST(RankScoring, AtMostFiftyBestFirst) {
  std::vector<ReConceptHit> hits;
  for (u32 e = 1; e <= 80; ++e) hits.push_back(Hit(e, e % 7 + 10, 0));
  const auto ranked = Ranking(100, {1.0f}, {1.0f}).Run(hits);
  ASSERT_EQ(ranked.size(), 50u);
  for (size_t i = 1; i < ranked.size(); ++i) EXPECT_GE(ranked[i - 1].score, ranked[i].score);
}

i32 RE_CALL CountPasses(u32 done, u32 total) {
  EXPECT_LE(done, total);
  return 0;
}
i32 RE_CALL StopAtOnce(u32, u32) { return 1; }

TEST(RankSorts, HitOrderAndProgress) {
  std::vector<ReConceptHit> hits = {Hit(3, 1, 0), Hit(1, 9, 1), Hit(1, 9, 0), Hit(1, 2, 1), Hit(1, 9, 0, true)};
  ASSERT_TRUE(ReSortHits(hits.data(), static_cast<u32>(hits.size()), CountPasses));
  const std::vector<u32> words = {hits[0].word, hits[1].word, hits[2].word, hits[3].word, hits[4].word};
  EXPECT_EQ(words,
            (std::vector<u32>{1 * 16384 + 2, 1 * 16384 + 9, 1 * 16384 + 8192 + 9, 1 * 16384 + 9, 3 * 16384 + 1}));
  EXPECT_EQ(hits[3].term, 1);
  EXPECT_FALSE(ReSortHits(hits.data(), static_cast<u32>(hits.size()), StopAtOnce));
  float scores[3] = {1.0f, 3.0f, 2.0f};
  u32 entries[3] = {1, 2, 3};
  u16 positions[3] = {10, 20, 30};
  ASSERT_TRUE(ReSortRanks(scores, entries, positions, 3, nullptr));
  EXPECT_EQ(std::vector<u32>(entries, entries + 3), (std::vector<u32>{2, 3, 1}));
  EXPECT_EQ(std::vector<u16>(positions, positions + 3), (std::vector<u16>{20, 30, 10}));
}

TEST(RankScoring, InverseFrequency) {
  EXPECT_FLOAT_EQ(ReInverseFrequency(8, 2), 2.0f);
  EXPECT_FLOAT_EQ(ReInverseFrequency(8, 0), 0.0f);
  EXPECT_LT(ReInverseFrequency(8, 100000), 0.0f);  // counted in 32 bits: no wrap, no sign flip
}

}  // namespace
