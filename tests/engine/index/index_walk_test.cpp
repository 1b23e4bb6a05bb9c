// The block walk: progress and its stop, the block buffer, failed reads, the
// exact mode with its entries, and the result pool.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "index_fixture.h"
#include "re_file.h"
#include "word_list.h"

namespace {

struct Progress {
  std::vector<std::pair<u32, u32>> calls;
  u32 stopAt = 0;  // the call that answers nonzero (1 = the first), 0 never
};
Progress* gProgress = nullptr;

i32 RE_CALL Report(u32 done, u32 total) {
  gProgress->calls.emplace_back(done, total);
  return gProgress->stopAt && gProgress->calls.size() == gProgress->stopAt ? 1 : 0;
}

ReVisit CountWords(ReIndexState* state, const ReIndexWord&) {
  ++*static_cast<u32*>(state->context);
  return ReVisitGoOn;
}

class WalkTest : public ::testing::Test {
 protected:
  WalkTest() : f_(NumberedWords(TestWordList())) { gProgress = &progress_; }
  ~WalkTest() override { gProgress = nullptr; }

  // Walks blocks first .. first + further counting the words.
  u32 Walk(u16 first, u16 further, u32* words) {
    ReBeginWalk(f_.state, &f_.index, ReWalkCollect, ReReadingListNumber);
    f_.state->visit = CountWords;
    f_.state->context = words;
    f_.state->progress = Report;
    return ReDecodeIndex("x", 1, first, further, &f_.index, f_.state);
  }

  IndexFixture f_;
  Progress progress_;
};

TEST_F(WalkTest, ReportsEachBlockReadAndStopsWhenAsked) {
  u32 words = 0;
  EXPECT_EQ(Walk(2, 3, &words), ReWalkDone);
  ASSERT_EQ(progress_.calls.size(), 4u);
  for (u32 i = 0; i < 4; ++i) EXPECT_EQ(progress_.calls[i], std::make_pair(i, 4u));
  EXPECT_GT(words, 0u);

  progress_ = {};
  progress_.stopAt = 2;
  words = 0;
  EXPECT_EQ(Walk(8, 3, &words), ReWalkStopped);
  EXPECT_EQ(f_.state->stop, 1);
  EXPECT_EQ(progress_.calls.size(), 2u);  // no block read after the stop
  EXPECT_EQ(f_.state->failure, ReWalkOk);
}

TEST_F(WalkTest, TheBlockInTheBufferIsNotReadAgain) {
  u32 words = 0;
  Walk(5, 0, &words);
  EXPECT_EQ(f_.state->currentBlock, 5);
  progress_ = {};
  Walk(5, 1, &words);
  EXPECT_EQ(progress_.calls.size(), 1u);  // only block 6 was read
}

TEST_F(WalkTest, AFailedReadLeavesNoBlockInTheBuffer) {
  u32 words = 0;
  Walk(0, 0, &words);
  EXPECT_EQ(f_.state->currentBlock, 0);
  const u32 base = f_.index.indexBase;
  f_.index.indexBase = 1u << 30;  // past the file's end: a short read
  EXPECT_EQ(Walk(3, 0, &words), ReWalkStopped);
  EXPECT_EQ(f_.state->failure, ReWalkReadFailed);
  EXPECT_EQ(f_.state->currentBlock, ReNoBlock);  // not block 0, which is a real block
  f_.index.indexBase = base;
  progress_ = {};
  words = 0;
  EXPECT_EQ(Walk(0, 0, &words), ReWalkDone);  // block 0 is read again
  EXPECT_EQ(progress_.calls.size(), 1u);
}

TEST_F(WalkTest, WalkArgumentsAreChecked) {
  ReBeginWalk(f_.state, &f_.index, ReWalkCollect, ReReadingListNumber);
  EXPECT_EQ(ReDecodeIndex("x", 0, 1, 0, &f_.index, f_.state), ReWalkStopped);   // empty key
  EXPECT_EQ(ReDecodeIndex("x", 1, 1, 0, &f_.index, f_.state), ReWalkNoBuffer);  // no visitor
  u32 words = 0;
  EXPECT_EQ(Walk(f_.index.blockCount, 0, &words), ReWalkDone);       // past the index: nothing
  EXPECT_EQ(Walk(f_.index.blockCount - 2, 50, &words), ReWalkDone);  // cut at the index's end
}

TEST(ExactMode, MarksTheBlocksAndCollectsTheHitsOfTheWord) {
  std::vector<builder::IndexWord> words;
  for (u32 i = 0; i < 2000; ++i) {
    builder::IndexWord w;
    w.text = "term" + std::to_string(100000 + i * 37);
    w.occurrences.push_back({i + 1, static_cast<u16>(i % 50), i % 2 == 1, std::nullopt});
    words.push_back(w);
  }
  builder::IndexWord common;
  common.text = "term100037";  // the second word gets more entries
  for (u32 e : {300u, 301u, 302u, 303u, 900u}) common.occurrences.push_back({e, std::nullopt, false, std::nullopt});
  words.push_back(common);
  builder::WordIndexOptions options;
  options.reading = 1;
  options.blockSize = 512;
  IndexFixture f(words, options);

  std::vector<u8> map(64, 0);
  std::vector<u32> hits(2 * 10, 0);
  ReIndexState* state = f.state;
  const char* key = "term100037";
  u16 further;
  const u16 first = ReFindWordBlock(key, 0, 9, &further, &f.index);
  ReBeginWalk(state, &f.index, ReWalkExact, ReReadingHits);
  state->termMap = map.data();
  state->termMapSize = static_cast<u32>(map.size());
  state->termShift = 4;  // 16 entries a block
  state->termBit = 4;
  state->hits = hits.data();
  state->hitCapacity = 10;
  state->termNumber = 3;
  EXPECT_EQ(ReDecodeIndex(key, 10, first, further, &f.index, state), ReWalkStopped);  // passed the key
  EXPECT_TRUE(state->exactFound);
  ASSERT_EQ(state->hitCount, 6);
  EXPECT_EQ(hits[0], 2u * 16384u + RePositionField + 1u);  // entry 2, flagged field, word 1
  EXPECT_EQ(hits[1], 3u);
  EXPECT_EQ(hits[2 * 5], 900u * 16384u);
  for (u32 b = 0; b < map.size(); ++b) {
    const bool marked = b == 0 || b == 300 / 16 || b == 900 / 16;
    EXPECT_EQ(map[b], marked ? 4 : 0) << b;
  }

  ReBeginWalk(state, &f.index, ReWalkExact, ReReadingHits);
  state->hits = hits.data();
  state->hitCapacity = 3;
  EXPECT_EQ(ReDecodeIndex(key, 10, first, further, &f.index, state), ReWalkFull);
  EXPECT_EQ(state->hitCount, 3);

  ReBeginWalk(state, &f.index, ReWalkExact, ReReadingHits);
  EXPECT_EQ(ReDecodeIndex("term1000370", 11, first, further, &f.index, state), ReWalkStopped);
  EXPECT_FALSE(state->exactFound);
}

TEST(ResultPool, AddsWithItsDuplicateTestsUntilFull) {
  IndexFixture f(NumberedWords({"alpha", "beta"}));
  ReIndexState* state = f.state;
  char pool[16];
  u16 offsets[9];
  ReBeginWalk(state, &f.index, ReWalkCollect, ReReadingListNumber);
  state->pool = pool;
  state->offsets = offsets;
  state->resultLimit = 3;
  state->poolSize = sizeof pool;
  EXPECT_EQ(ReAddResultWord("one", 3, state, 1), ReAddAdded);
  EXPECT_EQ(ReAddResultWord("two", 3, state, 1), ReAddAdded);
  EXPECT_EQ(ReAddResultWord("one", 3, state, 1), ReAddDuplicate);
  EXPECT_EQ(ReAddResultWord("one", 3, state, 2), ReAddAdded);  // "two" is the last
  EXPECT_EQ(ReAddResultWord("six", 3, state, 0), ReAddFull);   // the limit of 3 is reached
  state->resultLimit = 9;
  EXPECT_EQ(ReAddResultWord("one", 3, state, 2), ReAddDuplicate);
  EXPECT_EQ(ReAddResultWord("four", 4, state, 0), ReAddFull);  // 12 + 5 bytes do not fit 16
  EXPECT_EQ(ReAddResultWord("fou", 3, state, 0), ReAddAdded);  // 12 + 4 do
  EXPECT_EQ(state->poolUsed, 16);
  EXPECT_STREQ(ReResultWord(state, 1), "two");
}

TEST(Subsets, TheFilterLeavesOutEntriesWhoseBitIsClear) {
  ReIndexState state{};
  const u8 bits[2] = {0x06, 0x01};  // entries 1, 2 and 8
  state.subsetBits = bits;
  state.subsetBytes = 2;
  EXPECT_FALSE(ReSubsetExcluded(&state, 3));  // no filter in force
  state.subsetFilter = true;
  EXPECT_FALSE(ReSubsetExcluded(&state, 1));
  EXPECT_FALSE(ReSubsetExcluded(&state, 8));
  EXPECT_TRUE(ReSubsetExcluded(&state, 3));
  EXPECT_TRUE(ReSubsetExcluded(&state, 16));  // past the vector
}

}  // namespace
