// Spelling alternatives: the edit tests, the order by similarity, and
// REidxlst 210 over a database of a few thousand words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "hand_bytes.h"
#include "index_database.h"
#include "packed.h"
#include "re_charclass.h"
#include "re_index_lists.h"
#include "re_spelling.h"

namespace {

// Tables 250, 260, 270 and 290 written out by hand.
TEST(SpellingTables, HandWrittenTablesReadBack) {
  // 250: u16 rule count 2, then 12 x 2 + 1 bytes; row r of pass p at r x 2 + p.
  handbytes::HandFile rules;
  rules.Be16(0, 2);
  for (u8 i = 0; i < 25; ++i) rules.Put(2u + i, {static_cast<u8>(i + 1)});
  // 260: u16 count, then pairs of NUL-terminated strings (typed, correct).
  handbytes::HandFile exceptions;
  exceptions.Be16(0, 2);
  exceptions.Text(2, std::string("teh\0the\0recieve\0receive\0", 24));
  // 270: u16 group count 2; rows of first characters, second characters,
  // run-start high and low bytes; the third- and fourth-character tables;
  // u16 stream length; the stream (an index into both tables, or 255 and
  // the two characters).
  handbytes::HandFile prefixes;
  prefixes.Be16(0, 2);
  prefixes.Put(2, {'a', 'c', 'b', 'a', 0, 0, 0, 5});
  prefixes.Put(10, {'c', 'o'});        // third characters of entries 0 and 1
  prefixes.Put(10 + 256, {' ', 'u'});  // fourth characters
  prefixes.Be16(10 + 512, 8);
  prefixes.Put(12 + 512, {0, 255, 'l', 'e', 1, 255, 't', ' '});  // "abc ", "able", "abou"; "cat "
  // 290: switch, 0, u16 count; records {index text[4], length, typed text[4], length}.
  handbytes::HandFile fragments;
  fragments.Put(0, {1, 0, 0, 2});
  fragments.Put(4, {'p', 'h', 0, 0, 2, 'f', 0, 0, 0, 1});
  fragments.Put(14, {'c', 0, 0, 0, 1, 'k', 0, 0, 0, 1});

  ReSpellingData data{};
  ReLoadSpellingData(&data, rules.bytes().data(), static_cast<u32>(rules.bytes().size()), exceptions.bytes().data(),
                     static_cast<u32>(exceptions.bytes().size()), prefixes.bytes().data(),
                     static_cast<u32>(prefixes.bytes().size()), fragments.bytes().data(),
                     static_cast<u32>(fragments.bytes().size()));
  EXPECT_EQ(data.ruleCount, 2);
  EXPECT_EQ(ReRuleValue(data, ReRowAnchor, 0), 1);
  EXPECT_EQ(ReRuleValue(data, ReRowKind, 1), 4);            // 1 x 2 + 1, plus 1
  EXPECT_EQ(ReRuleValue(data, ReRowShortWords, 2), 25);     // pass 2 reads the extra last byte
  EXPECT_EQ(ReRuleValue(data, ReRowShortWords + 1, 1), 0);  // past the table

  const char *typed = nullptr, *correct = nullptr;
  ASSERT_TRUE(ReExceptionPair(data, 1, &typed, &correct));
  EXPECT_STREQ(typed, "recieve");
  EXPECT_STREQ(correct, "receive");
  EXPECT_FALSE(ReExceptionPair(data, 2, &typed, &correct));

  std::vector<std::string> keys;
  RePrefixListCursor cursor(data);
  while (cursor.NextGroup()) {
    u8 key[4];
    while (cursor.NextKey(key)) keys.emplace_back(reinterpret_cast<const char*>(key), 4);
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"abc ", "able", "abou", "cat "}));

  EXPECT_TRUE(data.fragmentSwitch);
  ReFragmentText fragment{};
  ASSERT_TRUE(ReFragmentAt(data, 0, &fragment));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fragment.indexText), fragment.indexLength), "ph");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fragment.typedText), fragment.typedLength), "f");
  ASSERT_TRUE(ReFragmentAt(data, 1, &fragment));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(fragment.typedText), fragment.typedLength), "k");
  EXPECT_FALSE(ReFragmentAt(data, 2, &fragment));
}

class EditTest : public ::testing::Test {
 protected:
  EditTest() {
    index_.charClasses = ReCharClassTable(1);
    context_.index = &index_;
    context_.data = &data_;
  }
  bool Match(const char* w, const char* t, ReSpellBudgets b, bool fold = false) {
    context_.foldAccents = fold;
    return ReSpellMatch(context_, w, t, b);
  }
  ReIndexDescriptor index_{};
  ReSpellingData data_{};
  ReSpellContext context_{};
};

TEST_F(EditTest, ZeroBudgetsAcceptTheWordAndSwapsOnly) {
  const ReSpellBudgets zero = {0, 0, 0, 0, 0};
  EXPECT_TRUE(Match("receive", "receive", zero));
  EXPECT_TRUE(Match("receive", "recieve", zero));  // two neighbours swapped
  EXPECT_TRUE(Match("receive", "reiecve", zero));  // the first and third of three exchanged
  EXPECT_FALSE(Match("receive", "receiva", zero));
  EXPECT_FALSE(Match("receive", "receiv", zero));
  EXPECT_TRUE(Match("caf\xe9", "cafe", zero, true));      // kind 4 folds accents...
  EXPECT_FALSE(Match("receive", "recieve", zero, true));  // ...and swaps nothing
}

TEST_F(EditTest, BudgetsBoundEachKindOfEdit) {
  EXPECT_TRUE(Match("separate", "seperate", {1, 1, 0, 0, 0}));  // a vowel for a vowel
  EXPECT_TRUE(Match("separate", "seperate", {1, 0, 1, 0, 0}));  // without a vowel budget, a plain one
  EXPECT_FALSE(Match("separate", "seperate", {1, 0, 0, 0, 0}));
  EXPECT_TRUE(Match("believe", "beleive", {0, 0, 0, 0, 0}));
  EXPECT_TRUE(Match("accommodate", "acommodate", {0, 0, 0, 0, 1}));  // a doubled letter costs only length
  EXPECT_FALSE(Match("accommodate", "acommodate", {0, 0, 0, 0, 0}));
  EXPECT_TRUE(Match("phone", "phne", {1, 1, 0, 0, 1}));
  EXPECT_FALSE(Match("phone", "phne", {1, 0, 1, 0, 1}));       // a dropped vowel needs the vowel budget
  EXPECT_FALSE(Match("telephone", "phone", {9, 9, 9, 9, 3}));  // length difference 4
}

TEST_F(EditTest, FragmentsSubstituteTheirTexts) {
  // One fragment: index text "ph", typed "f".
  const u8 table[4 + 10] = {1, 0, 0, 1, 'p', 'h', 0, 0, 2, 'f', 0, 0, 0, 1};
  ReLoadSpellingData(&data_, nullptr, 0, nullptr, 0, nullptr, 0, table, sizeof table);
  const u8 matches[2] = {4, 0};  // "fone": fragment 0 at 4 characters from the end
  context_.fragments = matches;
  context_.fragmentPairs = 1;
  EXPECT_TRUE(Match("phone", "fone", {1, 0, 0, 1, 1}));
  EXPECT_FALSE(Match("phone", "fone", {1, 0, 0, 0, 1}));
  EXPECT_TRUE(ReEndingFit(context_, "phone", "fone"));
  EXPECT_TRUE(ReEndingFit(context_, "cat", "cats"));  // the typed word has one character more
  EXPECT_FALSE(ReEndingFit(context_, "cat", "cut"));
}

TEST_F(EditTest, LargeBudgetsStayBounded) {
  // Doubled letters may be dropped on either side at every step: without a
  // bound the search would try 2^80 ways.
  const std::string a(40, 'a'), b(40, 'b');
  EXPECT_FALSE(Match(a.c_str(), b.c_str(), {255, 0, 0, 0, 255}));
}

TEST_F(EditTest, SimilarityPrefersSharedRunsAndEndings) {
  EXPECT_LT(ReSimilarityScore(index_, "recieve", "receive"), ReSimilarityScore(index_, "recieve", "recover"));
  EXPECT_LT(ReSimilarityScore(index_, "hte", "the"), ReSimilarityScore(index_, "hte", "them"));
  // A run of one letter counts once: "ll" and "l" weigh alike.
  EXPECT_EQ(ReSimilarityScore(index_, "balon", "ballon"), ReSimilarityScore(index_, "balon", "ballon"));
  EXPECT_LT(ReSimilarityScore(index_, "balon", "ballon"), ReSimilarityScore(index_, "balon", "baron"));
}

// --- REidxlst 210 over a database --------------------------------------------

struct Found {
  u32 result;
  ReStatusBlock status;
  std::vector<std::string> words;
};

class LookupTest : public ::testing::Test {
 protected:
  explicit LookupTest(const IndexDbOptions& options = {}) : db_(TestIndexWords(), options) { block_ = db_.Block(); }
  Found Lookup(u16 action, const std::string& word = "") {
    Found f;
    f.result = action == ReActOpen ? db_.Call(block_, 210, action, word) : db_.Call(block_, 210, action);
    f.status = *block_->status;
    f.words = IndexDatabase::Results(block_);
    return f;
  }
  IndexDatabase db_;
  ReIdxListBlock* block_;
};

TEST_F(LookupTest, TypicalMisspellingsFindTheirWord) {
  const std::pair<const char*, const char*> cases[] = {
      {"recieve", "receive"},        {"seperate", "separate"}, {"definately", "definitely"},
      {"accomodate", "accommodate"}, {"beleive", "believe"},   {"goverment", "government"},
      {"neccessary", "necessary"},   {"rythm", "rhythm"},      {"paris", "Paris"},
  };
  for (const auto& [typed, wanted] : cases) {
    Found first = Lookup(ReActOpen, typed);
    Found all = Lookup(ReActNextAlt);
    EXPECT_NE(std::find(all.words.begin(), all.words.end(), wanted), all.words.end()) << typed;
    EXPECT_LE(all.words.size(), 20u);
  }
  const Found exact = Lookup(ReActOpen, "receive");
  ASSERT_FALSE(exact.words.empty());
  EXPECT_EQ(exact.words[0], "receive");  // a word in the index comes first
  EXPECT_EQ(exact.result, ReDone);       // and more may follow
}

TEST_F(LookupTest, TheSecondCallKeepsTheFirstBatchAhead) {
  const Found first = Lookup(ReActOpen, "RECIEVE");  // capitals in: looked up in lower case
  ASSERT_FALSE(first.words.empty());
  EXPECT_EQ(first.words[0], "receive");
  const Found second = Lookup(ReActNextAlt);
  EXPECT_EQ(second.result, ReWarn);
  EXPECT_EQ(second.status.warning, ReWarnNoFurther);
  EXPECT_EQ(second.status.module, ReModLookupWord);
  ASSERT_GE(second.words.size(), first.words.size());
  EXPECT_TRUE(std::equal(first.words.begin(), first.words.end(), second.words.begin()));
  EXPECT_EQ(std::set<std::string>(second.words.begin(), second.words.end()).size(), second.words.size());
  const Found third = Lookup(ReActNextAlt);  // no pass left: the list stands
  EXPECT_EQ(third.status.warning, ReWarnNoFurther);
  EXPECT_EQ(third.words, second.words);
}

TEST_F(LookupTest, ResultsKeepTheirOwnCapitals) {
  const Found found = Lookup(ReActOpen, "mcdonald");
  EXPECT_NE(std::find(found.words.begin(), found.words.end(), "McDonald"), found.words.end());
  Lookup(ReActOpen, "oneil");
  const Found more = Lookup(ReActNextAlt);
  EXPECT_NE(std::find(more.words.begin(), more.words.end(), "O'Neil"), more.words.end());
}

TEST_F(LookupTest, BadWordsAreRefused) {
  Found f = Lookup(ReActOpen, "");
  EXPECT_EQ(f.result, ReFail);
  EXPECT_EQ(f.status.error, ReErrWordEmpty);
  // A word that fills the block's buffer without its NUL is too long.
  std::memset(block_->word, 'a', db_.db().block()->longestWord + 1u);
  EXPECT_EQ(REidxlst(block_, 210, ReActOpen), ReFail);
  EXPECT_EQ(block_->status->error, ReErrWordTooLong);
  f = Lookup(ReActOpen, "xqzjv");
  EXPECT_EQ(f.result, ReWarn);
  EXPECT_EQ(f.status.warning, ReWarnNothing);
  EXPECT_EQ(db_.Call(block_, 210, ReActClose), ReFail);  // the front end's 480 is refused
  EXPECT_EQ(block_->status->error, ReErrAction);
  block_->databaseId = 77;
  f = Lookup(ReActOpen, "receive");
  EXPECT_EQ(f.status.error, ReErrSelectionDb);
}

i32 gCalls = 0, gStopAt = 0;
std::vector<std::pair<u32, u32>> gReports;
i32 RE_CALL StopLater(u32 done, u32 total) {
  gReports.emplace_back(done, total);
  return ++gCalls == gStopAt ? 1 : 0;
}

TEST_F(LookupTest, CancellingReturnsWhatWasFound) {
  db_.db().block()->progress = StopLater;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
  gStopAt = 0;
  Lookup(ReActOpen, "recieve");
  gCalls = 0;
  gReports.clear();
  const Found all = Lookup(ReActNextAlt);
  const i32 needed = gCalls;  // the second call's reports, the closing one included
  ASSERT_GE(needed, 3);
  EXPECT_EQ(gReports.back(), std::make_pair(0x7FFFFFFFu, 0x7FFFFFFFu));  // the display is closed
  EXPECT_LE(gReports.front().first, gReports.front().second);
  Lookup(ReActOpen, "recieve");
  gCalls = 0;
  gStopAt = needed - 2;  // stops before the second call's last block
  const Found stopped = Lookup(ReActNextAlt);
  EXPECT_EQ(stopped.status.warning, ReCodeStopped);
  EXPECT_EQ(stopped.result, ReWarn);
  EXPECT_FALSE(stopped.words.empty());
  EXPECT_LE(stopped.words.size(), all.words.size());
}

// Rule tables whose only productive pass is pass 3 or pass 12.
builder::SpellingData OnlyPass(u8 productive) {
  builder::SpellingData data;
  for (u8 p = 0; p < 20; ++p) {
    builder::SpellingPass pass;  // kind 0: no keys
    if (p == productive) {
      pass.kind = 1;
      pass.total = pass.vowel = pass.substitution = pass.lengthDifference = 1;
      pass.keyTotal = pass.keyVowel = pass.keySubstitution = 1;
    }
    data.passes.push_back(pass);
  }
  return data;
}

IndexDbOptions WithPasses(u8 productive) {
  IndexDbOptions options;
  options.passes = OnlyPass(productive);
  options.exceptions = {{"alot", "a lot"}};
  return options;
}

class PassLimitTest : public LookupTest, public ::testing::WithParamInterface<std::pair<u8, i16>> {
 protected:
  PassLimitTest() : LookupTest(WithPasses(GetParam().first)) {}
};

TEST_P(PassLimitTest, TheSecondCallGoesSixPassesOnAndAtLeastToSixteen) {
  const auto [productive, last] = GetParam();
  const Found first = Lookup(ReActOpen, "recieve");
  ASSERT_FALSE(first.words.empty());
  EXPECT_EQ(db_.state()->spell.currentPass, productive);
  EXPECT_EQ(db_.state()->spell.lastPass, last);
  Lookup(ReActNextAlt);
  EXPECT_EQ(db_.state()->spell.currentPass, last);
}

INSTANTIATE_TEST_SUITE_P(Passes, PassLimitTest,
                         ::testing::Values(std::make_pair(u8{3}, i16{16}), std::make_pair(u8{12}, i16{18})));

TEST(Exceptions, AKnownSlipIsCorrectedFromTheList) {
  IndexDbOptions options;
  options.exceptions = {{"alot", "a lot"}, {"teh", "the"}};
  IndexDatabase db(TestIndexWords(), options);
  ReIdxListBlock* block = db.Block();
  db.Call(block, 210, ReActOpen, "alot");
  EXPECT_EQ(IndexDatabase::Results(block), std::vector<std::string>{"a lot"});
}

}  // namespace
