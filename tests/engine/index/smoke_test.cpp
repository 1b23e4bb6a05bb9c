#include <gtest/gtest.h>

#include <algorithm>

#include "index_fixture.h"
#include "word_list.h"

TEST(Smoke, RoundTrip) {
  auto words = TestWordList();
  IndexFixture f(NumberedWords(words));
  std::sort(words.begin(), words.end(), builder::IndexWordLess);
  EXPECT_EQ(f.DecodeAll(), words);
  printf("blocks %u words %zu\n", f.index.blockCount, words.size());
}
