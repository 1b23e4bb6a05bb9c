// Every allocation of token and text reading failing in turn: the calls fail
// cleanly and, once the entry is released, nothing is left.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "re_platform.h"
#include "text_fixture.h"

namespace texttest {
namespace {

// Runs `calls` with the n-th allocation failing, n = 1, 2, ... until a run
// makes fewer allocations than n; `release` ends what the calls began.
void Sweep(const std::function<void()>& calls, const std::function<void()>& release) {
  calls();  // makes what a database handle keeps between entries
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

std::string LongEntry() {
  std::string text = "<DS>Long\n<P>";
  for (int i = 0; i < 400; ++i) text += "word" + std::to_string(i) + (i % 50 == 49 ? "\n" : " ");
  return text;
}

TEST(AllocationFailures, TokenReadingLeavesNothingBehind) {
  TextDb db(TextDatabase({LongEntry(), "x"}), 40);
  Sweep(
      [&] {
        u32 result = db.Token(1, ReActOpen);
        while (result == ReDone) result = db.Token(1, ReActNext);
        db.tokens()->firstToken = 300;
        db.Token(1, ReActReadOn);
      },
      [&] { db.Token(1, ReActClose); });
}

TEST(AllocationFailures, EntryTextLeavesNothingBehind) {
  TextDb db(TextDatabase({LongEntry(), "x"}), 0, 100);
  Sweep(
      [&] {
        u32 result = db.Entry(1, ReActOpen);
        while (result == ReDone) result = db.Entry(1, ReActNext);
        db.entry()->readPosition = 50;
        db.Entry(1, ReActReadOn);
      },
      [&] { db.Entry(1, ReActClose); });
}

}  // namespace
}  // namespace texttest
