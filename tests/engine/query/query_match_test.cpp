// Matching terms in entry text: word rules, case, stress marks, the skipped
// pronunciation, the NEAR window and the code map's probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "re_charclass.h"
#include "re_query.h"
#include "re_query_match.h"

namespace {

class EntryCheck : public ::testing::Test {
 protected:
  // Checks `text` (title, byte 255, body) against the normal form `query`.
  void Check(const std::string& query, const std::string& text, u8 caseMode = 1, bool wordSearch = true,
             u32 pieceSize = 7) {
    ASSERT_EQ(ReCompileNormalForm(query.c_str(), &compiled_), 0) << query;
    const ReMatchRules rules{&compiled_, ReCharClassTable(1), caseMode, wordSearch};
    checker_.Begin(rules, title_, sizeof title_);
    // Fed in small pieces, as codes expand.
    for (size_t at = 0; at < text.size(); at += pieceSize) {
      const size_t count = std::min<size_t>(pieceSize, text.size() - at);
      checker_.Feed(reinterpret_cast<const u8*>(text.data() + at), static_cast<u32>(count));
    }
    checker_.Finish();
  }
  bool Found(u32 term) const { return checker_.Found()[term] != 0; }
  bool Hit() const { return ReEvalQueryCode(compiled_, checker_.Found(), false, checker_.PairBits()); }

  ReCompiledQuery compiled_;
  ReEntryChecker checker_;
  char title_[32];
};

std::string Entry(const std::string& title, const std::string& body) { return title + '\xFF' + body; }

TEST_F(EntryCheck, WholeWords) {
  Check("cat", Entry("T", "a concatenated cats tale"));
  EXPECT_FALSE(Found(0));
  Check("cat", Entry("T", "the cat."));
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T", "cat"));  // at the very end of the text
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T", "a concatenated tale"), 1, false);  // a text search finds it anywhere
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T", "<B>cat</B>"));
  EXPECT_TRUE(Found(0));
  Check("B", Entry("T", "<B>x</B>"));  // never inside a tag name
  EXPECT_FALSE(Found(0));
  // A tag's '>' begins a word; its first letter does not end one.
  Check("n", Entry("T", "<P>An ex; her ex"));
  EXPECT_FALSE(Found(0));
  Check("at", Entry("T", "<B>cat</B>"));
  EXPECT_FALSE(Found(0));
}

TEST_F(EntryCheck, CaseModes) {
  Check("cat", Entry("T", "The Cat sat"), 1);
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T", "The Cat sat"), 2);
  EXPECT_FALSE(Found(0));
  Check("Cat", Entry("T", "The Cat sat"), 3);
  EXPECT_TRUE(Found(0));
}

TEST_F(EntryCheck, StressMarksAndSyllableDots) {
  Check("catalog", Entry("T",
                         "a cat\xB7"
                         "a\xB7log here"));
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T",
                     "a cat\xB7"
                     "a\xB7log here"));  // the dot glues the syllables
  EXPECT_FALSE(Found(0));
  Check("cat", Entry("T", "a ca\\BPRIME/t here"));
  EXPECT_TRUE(Found(0));
  Check("cat", Entry("T", "a ca<{LPRIME}>t here"));
  EXPECT_TRUE(Found(0));
}

TEST_F(EntryCheck, PronunciationIsNotSearched) {
  Check("kat", Entry("T", "cat <PR>kat<{BPRIME}> x</PR> more"));
  EXPECT_FALSE(Found(0));
  Check("more", Entry("T", "cat <PR>kat</PR> more"));
  EXPECT_TRUE(Found(0));
}

TEST_F(EntryCheck, PhraseNeedsOneSpace) {
  Check("white house", Entry("T", "the white house"));
  EXPECT_TRUE(Found(0));
  Check("white house", Entry("T", "the white  house"));
  EXPECT_FALSE(Found(0));
  Check("white house", Entry("T", "house white"));
  EXPECT_FALSE(Found(0));
}

TEST_F(EntryCheck, NearWindowEitherOrder) {
  Check("white ~ house", Entry("T", "white a b c d e f house"));  // 7 positions apart
  EXPECT_TRUE(Hit());
  Check("white ~ house", Entry("T", "white a b c d e f g house"));  // 8 apart
  EXPECT_FALSE(Hit());
  Check("white ~ house", Entry("T", "house a b c d e f white"));
  EXPECT_TRUE(Hit());
  Check("white ~ house", Entry("T", "white a b c d e f g h i house and white"));  // a later pair counts
  EXPECT_TRUE(Hit());
  // Punctuation before a blank counts a position of its own.
  Check("white ~ house", Entry("T", "white a, b, c, d house"));
  EXPECT_FALSE(Hit());
}

TEST_F(EntryCheck, TitleMatchesCountButNearStartsAfterIt) {
  Check("white & house", Entry("White", "house"));
  EXPECT_TRUE(Hit());
  Check("white ~ house", Entry("White", "house"));
  EXPECT_FALSE(Hit());
  EXPECT_STREQ(title_, "White");
  EXPECT_TRUE(checker_.TitleSeen());
}

TEST_F(EntryCheck, LongTitleIsCutAtItsBuffer) {
  Check("x", Entry(std::string(100, 'a'), "x"));
  EXPECT_EQ(checker_.TitleLength(), sizeof title_ - 1);
  EXPECT_EQ(std::string(title_), std::string(sizeof title_ - 1, 'a'));
  EXPECT_TRUE(Found(0));
}

TEST_F(EntryCheck, LongEntriesSlideTheWindow) {
  // Matches far behind the window's first fill, and one across a refill.
  std::string body;
  while (body.size() < 3 * ReEntryChecker::kWindow) body += "lorem ipsum ";
  body.resize(ReEntryChecker::kWindow - ReEntryChecker::kLookahead - 3);
  body += " white house ";
  while (body.size() < 5 * ReEntryChecker::kWindow) body += "dolor sit ";
  body += "amet";
  Check("white house & amet", Entry("T", body), 1, true, 200);
  EXPECT_TRUE(Found(0));
  EXPECT_TRUE(Found(1));
  Check("dolor ~ amet", Entry("T", body), 1, true, 1);
  EXPECT_TRUE(Hit());
}

TEST(CodeMapProbe, MatchesAndCutOffs) {
  ReCompiledQuery query;
  ASSERT_EQ(ReCompileNormalForm("cat | dog ! bird", &query), 0);
  const ReMatchRules rules{&query, ReCharClassTable(1), 1, true};
  auto holds = [&](const std::string& text, bool wordRules = true) {
    return ReTextHoldsCoverTerm(reinterpret_cast<const u8*>(text.data()), static_cast<u32>(text.size()),
                                static_cast<u32>(text.size()), rules, wordRules);
  };
  EXPECT_TRUE(holds("a cat sat"));
  EXPECT_TRUE(holds("the do"));  // ends with the start of a cover term
  EXPECT_TRUE(holds("Dog"));
  EXPECT_FALSE(holds("concatenate"));  // not a word start inside the text
  EXPECT_TRUE(holds("concatenate", false));
  EXPECT_FALSE(holds("a bird flew"));  // the right side of NOT is no cover term
  EXPECT_TRUE(holds("ca\\BPR"));       // a stress mark inside: cannot tell, so yes
  EXPECT_FALSE(holds("cab"));
}

// A query without NOT has its positions handled as soon as the text fed so
// far settles them (so that a check can stop at the first hit); the same
// query with a NOT that never holds is handled window by window. Both must
// find the same: random texts with stress marks, dots, tags and the skipped
// pronunciation, fed in random pieces, some longer than several windows.
TEST(EntryCheckEarly, FindsWhatWindowByWindowFinds) {
  const char* words[] = {"white", "house", "cat", "ca", "at", "White", "HOUSE", "wh"};
  const char* glue[] = {" ",  " ",    " ",   ", ",   ". ",        "\n",         "-",
                        "/",  "\xB7", "<B>", "</B>", "\\BPRIME/", "<{LPRIME}>", "<PR>kat white</PR>",
                        "<{", "}>",   "<",   ">"};
  std::mt19937 random(151);
  const char* queries[] = {"white & house", "white ~ house", "cat | house", "white house", "ca ~ at", "at"};
  for (int round = 0; round < 300; ++round) {
    std::string body;
    const size_t length = random() % 4 == 0 ? 3 * ReEntryChecker::kWindow + random() % 4000 : random() % 600;
    while (body.size() < length) {
      body += words[random() % std::size(words)];
      body += glue[random() % std::size(glue)];
    }
    const std::string text = std::string(words[random() % std::size(words)]) + '\xFF' + body;
    const std::string query = queries[random() % std::size(queries)];
    const u32 piece = 1 + random() % 300;
    auto check = [&](const std::string& q, ReCompiledQuery* compiled, ReEntryChecker* checker) {
      EXPECT_EQ(ReCompileNormalForm(q.c_str(), compiled), 0) << q;
      char title[16];
      checker->Begin(ReMatchRules{compiled, ReCharClassTable(1), 1, true}, title, sizeof title);
      for (size_t at = 0; at < text.size(); at += piece) {
        const size_t count = std::min<size_t>(piece, text.size() - at);
        checker->Feed(reinterpret_cast<const u8*>(text.data() + at), static_cast<u32>(count));
      }
      checker->Finish();
    };
    ReCompiledQuery early{}, windowed{};
    auto earlyChecker = std::make_unique<ReEntryChecker>();
    auto windowedChecker = std::make_unique<ReEntryChecker>();
    check(query, &early, earlyChecker.get());
    check("(" + query + ") ! zzzq", &windowed, windowedChecker.get());
    for (i16 t = 0; t < early.termCount; ++t) {
      EXPECT_EQ(earlyChecker->Found()[t], windowedChecker->Found()[t]) << query << " / round " << round;
      for (i16 u = 0; u < early.termCount; ++u)
        EXPECT_EQ((earlyChecker->PairBits()[t] >> u) & 1, (windowedChecker->PairBits()[t] >> u) & 1)
            << query << " / round " << round;
    }
  }
}

// Text in which no term starts and that holds no tag may be passed over once
// the checker allows it, keeping only its last characters: the check must
// find what feeding all of it finds. Pieces are judged by the code map's rule
// over every term, as the search judges code texts.
TEST(EntryCheckPassOver, FindsWhatFeedingEverythingFinds) {
  const char* pieces[] = {"white", "house", "cat", "ca",   "at",  "mat", "dog", "xc",        "ba",
                          "t",     "h",     " ",   ", ",   ". ",  "\n",  "-",   "/",         "\xB7",
                          "<B>",   "</B>",  "w",   "hite", "ous", "e",   "d",   "\\BPRIME/", "<PR>kat white</PR>"};
  const char* queries[] = {"white ~ house", "cat ~ at", "white house", "ca | at", "at & dog", "house ~ at"};
  std::mt19937 random(177);
  int passedOver = 0;
  for (int round = 0; round < 400; ++round) {
    const std::string query = queries[random() % std::size(queries)];
    ReCompiledQuery compiled{}, every{};
    ASSERT_EQ(ReCompileNormalForm(query.c_str(), &compiled), 0) << query;
    every = compiled;
    for (i16 t = 0; t < every.termCount; ++t) every.cover[t] = 1;
    const ReMatchRules rules{&compiled, ReCharClassTable(1), 1, true};
    const ReMatchRules everyTerm{&every, ReCharClassTable(1), 1, true};
    auto passable = [&](const std::string& piece) {
      return ReTextPassable(reinterpret_cast<const u8*>(piece.data()), static_cast<u32>(piece.size()), everyTerm);
    };
    std::vector<std::string> body;
    const size_t count = random() % 8 == 0 ? 2000 : random() % 200;
    for (size_t k = 0; k < count; ++k) body.push_back(pieces[random() % std::size(pieces)]);

    char title[16], passedTitle[16];
    auto fed = std::make_unique<ReEntryChecker>();
    auto passing = std::make_unique<ReEntryChecker>();
    fed->Begin(rules, title, sizeof title);
    passing->Begin(rules, passedTitle, sizeof passedTitle);
    const std::string head = std::string(pieces[random() % std::size(pieces)]) + '\xFF';
    for (ReEntryChecker* checker : {fed.get(), passing.get()})
      checker->Feed(reinterpret_cast<const u8*>(head.data()), static_cast<u32>(head.size()));
    bool inStretch = false;
    std::string stretch;
    for (const std::string& piece : body) {
      fed->Feed(reinterpret_cast<const u8*>(piece.data()), static_cast<u32>(piece.size()));
      if (passable(piece) && (inStretch || (inStretch = passing->CanPassOver()))) {
        stretch += piece;
        ++passedOver;
        continue;
      }
      if (inStretch) {
        const std::string last = stretch.substr(stretch.size() > 3 ? stretch.size() - 3 : 0);
        passing->PassedOver(reinterpret_cast<const u8*>(last.data()), static_cast<u32>(last.size()));
        inStretch = false;
        stretch.clear();
      }
      passing->Feed(reinterpret_cast<const u8*>(piece.data()), static_cast<u32>(piece.size()));
    }
    fed->Finish();
    passing->Finish();
    for (i16 t = 0; t < compiled.termCount; ++t) {
      EXPECT_EQ(fed->Found()[t], passing->Found()[t]) << query << " / round " << round;
      for (i16 u = 0; u < compiled.termCount; ++u)
        EXPECT_EQ((fed->PairBits()[t] >> u) & 1, (passing->PairBits()[t] >> u) & 1) << query << " / round " << round;
    }
  }
  EXPECT_GT(passedOver, 10000);  // the test passes over text
}

}  // namespace
