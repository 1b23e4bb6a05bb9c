// Every allocation of a search and of a ranked query failing in turn: the
// calls fail cleanly and, once the search is released, nothing is left.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "re_platform.h"
#include "re_rank.h"
#include "search_fixture.h"

namespace {

using searchtest::SearchDb;
namespace sc = builder::search_corpus;

sc::Corpus Small() {
  sc::Corpus corpus;
  for (u32 i = 1; i <= 70; ++i) {
    sc::Article article;
    article.title = "Heading";
    article.body = i % 2 ? "white cat near the house" : "black dog in the yard";
    corpus.articles.push_back(article);
  }
  return corpus;
}

// Runs `calls` with the n-th allocation failing, n = 1, 2, ... until a run
// makes fewer allocations than n; `release` ends what the calls began.
void Sweep(const std::function<void()>& calls, const std::function<void()>& release) {
  calls();  // makes what a database keeps between calls
  release();
  const i32 live = ReLiveAllocations();
  for (u32 failAt = 1;; ++failAt) {
    const u32 before = ReAllocationCount();
    ReFailAllocationAfter(failAt);
    calls();
    ReFailAllocationAfter(0);
    const u32 made = ReAllocationCount() - before;
    release();
    EXPECT_EQ(ReLiveAllocations(), live) << failAt;
    if (made < failAt) break;
  }
}

TEST(AllocationFailures, SearchLeavesNothingBehind) {
  SearchDb db(Small());
  Sweep(
      [&] {
        db.SetQuery("cat OR (white NEAR house)");
        u32 result = REsearch(db.block(), 145, ReActOpen);
        while (result == ReDone) result = REsearch(db.block(), 145, ReActNext);
      },
      [&] { REsearch(db.block(), 145, ReActClose); });
}

TEST(AllocationFailures, RankedQueryLeavesNothingBehind) {
  SearchDb db(Small());
  std::vector<std::string> words{"cat", "house", "dog"};
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  std::vector<float> idf(3), weights(3, 1.0f);
  ReRankRecord record{};
  record.termCount = 3;
  record.termTexts = pointers.data();
  record.idf = idf.data();
  record.weights = weights.data();
  auto call = [&](u16 mode, u16 action) { return REconqry(db.database().block(), &record, db.block(), mode, action); };
  Sweep(
      [&] {
        call(1, ReActOpen);
        call(1, ReActNextAlt);
        call(2, ReActClose);
      },
      [&] { call(2, ReActClose); });
}

}  // namespace
