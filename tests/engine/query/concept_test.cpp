// REconqry and REcontable: occurrences collected over two databases, ranked
// by proximity, and the hit table handed out between the phases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "packed.h"
#include "re_platform.h"
#include "re_rank.h"
#include "search_fixture.h"

namespace {

using searchtest::SearchDb;
namespace sc = builder::search_corpus;

// `count` articles; "cat" in the bodies of those below catBelow, "dog" in
// those below dogBelow; titles "Cat dog" from `pairFrom` on.
sc::Corpus Animals(u32 count, u32 catBelow, u32 dogBelow, u32 pairFrom) {
  sc::Corpus corpus;
  for (u32 i = 1; i <= count; ++i) {
    sc::Article article;
    article.title = i >= pairFrom ? "Cat dog" : "Heading";
    article.body = "Lorem ipsum";
    if (i < catBelow) article.body += " cat";
    if (i < dogBelow) article.body += " dog";
    article.body += " dolor sit amet.";
    corpus.articles.push_back(article);
  }
  return corpus;
}

struct Terms {
  std::vector<std::string> words{"cat", "dog", "zebra"};
  std::vector<char*> pointers;
  std::vector<float> idf = std::vector<float>(3, -99.0f);
  std::vector<float> weights = std::vector<float>(3, 1.0f);
  ReRankRecord record{};
  Terms() {
    for (std::string& word : words) pointers.push_back(word.data());
    record.termCount = 3;
    record.termTexts = pointers.data();
    record.idf = idf.data();
    record.weights = weights.data();
  }
};

u32 TableCount(SearchDb& db, u32* table = nullptr) {
  u32 pointer = 0, count = 0;
  EXPECT_EQ(REcontable(db.database().block(), &pointer, &count), ReDone);
  if (table) *table = pointer;
  return count;
}

u32 Concept(SearchDb& db, Terms& terms, u16 mode, u16 action) {
  return REconqry(db.database().block(), &terms.record, db.block(), mode, action);
}

TEST(ConceptQuery, CollectsOverTwoDatabasesAndRanks) {
  SearchDb first(Animals(120, 61, 31, 1000));  // cat in 60 entries, dog in 30
  sc::SearchDatabaseOptions secondOptions;
  secondOptions.databaseId = 78;
  SearchDb second(Animals(130, 0, 0, 125), secondOptions);  // "Cat dog" titles in 125-130
  Terms terms;

  ASSERT_EQ(Concept(first, terms, 1, ReActOpen), ReDone);
  EXPECT_FLOAT_EQ(terms.idf[0], 1.0f);  // log2(120 / 60)
  EXPECT_FLOAT_EQ(terms.idf[1], 2.0f);  // log2(120 / 30)
  EXPECT_FLOAT_EQ(terms.idf[2], 0.0f);  // occurs nowhere
  u32 table = 0;
  EXPECT_EQ(TableCount(first, &table), 90u);
  EXPECT_NE(table, 0u);

  ASSERT_EQ(Concept(second, terms, 1, ReActNextAlt), ReDone);
  EXPECT_EQ(TableCount(second), 90u + 12u);
  EXPECT_EQ(TableCount(first), 90u);  // as it stood when the first collection ended
  EXPECT_FLOAT_EQ(terms.idf[0], static_cast<float>(std::log2(130.0 / 66)));

  ASSERT_EQ(Concept(second, terms, 2, ReActClose), ReDone);
  const ReRankRecord& ranked = terms.record;
  ASSERT_GT(PACKED(ranked.resultCount), 0u);
  EXPECT_EQ(PACKED(second.block()->hitCount), PACKED(ranked.resultCount));
  // The titles "Cat dog" stand among the first words: those entries lead.
  for (u16 i = 0; i < 6 && i < ranked.resultCount; ++i) {
    EXPECT_GE(PACKED(ranked.entries[i]), 125u);
    EXPECT_LE(PACKED(ranked.positions[i]), 1u);  // the best cluster is one of the title words
  }
  for (u16 i = 1; i < ranked.resultCount; ++i) EXPECT_GE(PACKED(ranked.scores[i - 1]), PACKED(ranked.scores[i]));
  EXPECT_GE(PACKED(ranked.scores[ranked.resultCount - 1]), 0.25f * PACKED(ranked.scores[0]));

  // The ranking freed the table: no database hands out its old pointer.
  EXPECT_EQ(TableCount(first, &table), 0u);
  EXPECT_EQ(table, 0u);
  EXPECT_EQ(TableCount(second), 0u);
}

// A term met more than 65535 times keeps its whole count: its idf is a
// frequent term's, not that of the rare term a 16-bit count would wrap to.
TEST(ConceptQuery, ATermCountedAbove65535KeepsItsCount) {
  sc::Corpus corpus;
  std::string body;
  for (int i = 0; i < 70; ++i) body += "cat ";
  for (u32 i = 1; i <= 1000; ++i) corpus.articles.push_back({"Heading", body + "dog"});
  SearchDb db(corpus);
  Terms terms;
  ASSERT_EQ(Concept(db, terms, 1, ReActOpen), ReDone);
  EXPECT_EQ(TableCount(db), 70000u + 1000u);
  EXPECT_FLOAT_EQ(terms.idf[0], static_cast<float>(std::log2(1000.0 / 70000)));
  EXPECT_FLOAT_EQ(terms.idf[1], 0.0f);  // log2(1000 / 1000)
  ASSERT_EQ(Concept(db, terms, 2, ReActClose), ReDone);
}

TEST(ConceptQuery, NothingCollected) {
  SearchDb db(Animals(20, 0, 0, 1000));
  Terms terms;
  EXPECT_EQ(Concept(db, terms, 1, ReActOpen), ReWarn);
  EXPECT_EQ(db.block()->status->warning, 0);  // told by the result alone
  EXPECT_EQ(Concept(db, terms, 2, ReActClose), ReWarn);
  EXPECT_EQ(PACKED(terms.record.resultCount), 0u);
  // 440 without an open collection collects nothing.
  EXPECT_EQ(Concept(db, terms, 1, ReActNextAlt), ReWarn);
}

TEST(ConceptQuery, RankingWithNothingCollectedClosesTheCollection) {
  SearchDb empty(Animals(20, 0, 0, 1000));
  sc::SearchDatabaseOptions otherOptions;
  otherOptions.databaseId = 78;
  SearchDb full(Animals(20, 10, 10, 1000), otherOptions);
  Terms terms;
  EXPECT_EQ(Concept(empty, terms, 1, ReActOpen), ReWarn);
  EXPECT_EQ(Concept(empty, terms, 2, ReActClose), ReWarn);
  // The ranking ended the collection: a 440 after it has no table to fill.
  EXPECT_EQ(Concept(full, terms, 1, ReActNextAlt), ReWarn);
  EXPECT_EQ(TableCount(full), 0u);
}

TEST(ConceptQuery, BadCalls) {
  SearchDb db(Animals(20, 10, 10, 1000));
  Terms terms;
  EXPECT_EQ(Concept(db, terms, 1, 999), ReFail);
  EXPECT_EQ(db.block()->status->error, ReErrAction);
  EXPECT_EQ(REconqry(db.database().block(), nullptr, db.block(), 1, ReActOpen), ReFail);
  EXPECT_EQ(REconqry(nullptr, &terms.record, db.block(), 1, ReActOpen), ReFail);
  sc::SearchDatabaseOptions other;
  other.databaseId = 79;
  SearchDb elsewhere(Animals(20, 10, 10, 1000), other);
  // The search block belongs to another database.
  EXPECT_EQ(REconqry(elsewhere.database().block(), &terms.record, db.block(), 1, ReActOpen), ReFail);
  EXPECT_EQ(db.block()->status->error, ReErrSelectionDb);
}

i32 RE_CALL StopSorting(u32, u32 total) { return total == 0x7FFFFFFF ? 0 : 1; }

TEST(ConceptQuery, ProgressStopLeavesNoResult) {
  SearchDb db(Animals(60, 50, 50, 1000));
  Terms terms;
  ASSERT_EQ(Concept(db, terms, 1, ReActOpen), ReDone);
  db.database().block()->progress = StopSorting;
  ASSERT_EQ(REdb(db.database().block(), 100, ReActReset), ReDone);
  EXPECT_EQ(Concept(db, terms, 2, ReActClose), ReWarn);
  EXPECT_EQ(db.block()->status->warning, ReCodeStopped);
  EXPECT_EQ(PACKED(terms.record.resultCount), 0u);
  db.database().block()->progress = nullptr;
  REdb(db.database().block(), 100, ReActReset);
}

// A collection that no ranking ended goes with the database it was gathered
// in: nothing of it is left once that database closes.
TEST(ConceptQuery, ACollectionGoesWithItsDatabase) {
  const i32 live = ReLiveAllocations();
  {
    SearchDb db(Animals(40, 21, 11, 1000));
    Terms terms;
    ASSERT_EQ(Concept(db, terms, 1, ReActOpen), ReDone);
    EXPECT_EQ(TableCount(db), 30u);
  }
  EXPECT_EQ(ReLiveAllocations(), live);
}

}  // namespace
