#include <gtest/gtest.h>

#include <algorithm>

#include "index_database.h"
#include "index_fixture.h"
#include "word_list.h"

TEST(Smoke, RoundTrip) {
  auto words = TestWordList();
  IndexFixture f(NumberedWords(words));
  std::sort(words.begin(), words.end(), builder::IndexWordLess);
  EXPECT_EQ(f.DecodeAll(), words);
}

void Dump(const char* what, u32 r, ReIdxListBlock* b) {
  printf("%s -> %u (w %d e %d h %d m %u): ", what, r, b->status->warning, b->status->error, b->status->handleError,
         b->status->module);
  for (auto& s : IndexDatabase::Results(b)) printf("%s ", s.c_str());
  printf("\n");
}

TEST(Smoke, Lists) {
  IndexDatabase db(TestIndexWords());
  auto* b = db.Block();
  for (const char* w : {"recieve", "accomodate", "definately", "teh", "fone", "hte", "cafe", "seperate", "beleive",
                        "paris", "mcdonald", "usa", "zzzzq"}) {
    u32 r = db.Call(b, 210, 470, w);
    Dump(w, r, b);
    r = db.Call(b, 210, 440);
    Dump("  440", r, b);
  }
  auto* big = db.Block(30);
  Dump("wild", db.Call(big, 250, 470, "*tion"), big);
  Dump("next", db.Call(big, 250, 430), big);
  Dump("prev", db.Call(big, 250, 420), big);
  Dump("end", db.Call(big, 250, 480), big);
  Dump("ana", db.Call(big, 120, 470, "listen"), big);
  big->minimumLength = 4;
  Dump("ana4", db.Call(big, 120, 470, "listen"), big);
  big->minimumLength = 0;
  big->resultLimit = 9;
  Dump("nb", db.Call(big, 180, 470, "polish"), big);
}
