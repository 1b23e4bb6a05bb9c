// REidxlst's word lists over a database of a few thousand words: the
// dispatcher, wildcard pages, anagrams, neighbour lists and derived forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "index_database.h"
#include "packed.h"
#include "re_handles.h"
#include "re_index_lists.h"
#include "re_platform.h"
#include "word_list.h"

namespace {

std::vector<std::string> SortedList() {
  auto words = TestWordList();
  std::sort(words.begin(), words.end(), builder::IndexWordLess);
  return words;
}

// The reference: '?' one character, '*' any run, over lower-case words.
bool Glob(const char* w, const char* p) {
  if (*p == '*') return Glob(w, p + 1) || (*w && Glob(w + 1, p));
  if (!*p) return !*w;
  return *w && (*p == '?' || *p == *w) && Glob(w + 1, p + 1);
}

class ListTest : public ::testing::Test {
 protected:
  ListTest() : db_(TestIndexWords()) {}
  std::vector<std::string> Call(ReIdxListBlock* block, u16 function, u16 action, const char* word = nullptr) {
    last_ = word ? db_.Call(block, function, action, word) : db_.Call(block, function, action);
    return IndexDatabase::Results(block);
  }
  IndexDatabase db_;
  u32 last_ = 0;
};

TEST_F(ListTest, TheDispatcherRefusesWhatItDoesNotOffer) {
  EXPECT_EQ(REidxlst(nullptr, 210, ReActOpen), ReFail);
  ReIdxListBlock* block = db_.Block();
  const std::pair<u16, u16> refused[] = {{99, ReActOpen}, {125, ReActOpen}, {260, ReActOpen}};
  for (const auto& [function, action] : refused) {
    EXPECT_EQ(REidxlst(block, function, action), ReFail) << function;
    EXPECT_EQ(block->status->error, ReErrFunction);
    EXPECT_EQ(block->status->module, ReModIdxList);
  }
  const std::pair<u16, u16> wrongAction[] = {{120, ReActNext}, {180, ReActClose}, {210, ReActNext}, {250, ReActReadOn}};
  for (const auto& [function, action] : wrongAction) {
    EXPECT_EQ(REidxlst(block, function, action), ReFail) << function;
    EXPECT_EQ(block->status->error, ReErrAction);
  }
  for (u16 function : {130, 140, 240})
    for (u16 action : {u16{ReActOpen}, u16{ReActClose}, u16{4711}}) {
      block->foundCount = 5;
      EXPECT_EQ(REidxlst(block, function, action), ReDone);
      EXPECT_EQ(PACKED(block->foundCount), 5);  // nothing changes
    }
}

// --- Wildcards ----------------------------------------------------------------

TEST_F(ListTest, PatternsMatchAsTheReferenceSays) {
  ReIdxListBlock* block = db_.Block(2000);
  const auto words = SortedList();
  for (const char* pattern : {"?ation", "*ness", "re*ed", "c?t", "*o?n*", "???", "*able", "Ca?e", "*'*"}) {
    std::vector<std::string> expected;
    const std::string lower = builder::IndexLowerCase(pattern);
    for (const auto& w : words)
      if (Glob(builder::IndexLowerCase(w).c_str(), lower.c_str())) expected.push_back(w);
    EXPECT_EQ(Call(block, 250, ReActOpen, pattern), expected) << pattern;
    EXPECT_EQ(last_, expected.empty() ? ReWarn : ReDone) << pattern;
  }
  Call(block, 250, ReActClose);
}

TEST_F(ListTest, PatternsAreNormalised) {
  ReIdxListBlock* block = db_.Block(300);
  const auto star = Call(block, 250, ReActOpen, "ab*");
  EXPECT_EQ(Call(block, 250, ReActOpen, "ab**"), star);
  EXPECT_STREQ(block->word, "ab*");
  const auto questionFirst = Call(block, 250, ReActOpen, "c?*t");
  EXPECT_EQ(Call(block, 250, ReActOpen, "c*?t"), questionFirst);
  EXPECT_STREQ(block->word, "c?*t");
  Call(block, 250, ReActOpen, "**?*?x");
  EXPECT_STREQ(block->word, "??*x");
  Call(block, 250, ReActClose);
}

TEST_F(ListTest, BadPatternsAreRefused) {
  ReIdxListBlock* block = db_.Block(10);
  Call(block, 250, ReActOpen, "plain");
  EXPECT_EQ(last_, ReFail);
  EXPECT_EQ(block->status->error, ReErrWildcardNone);
  std::memset(block->word, '*', db_.db().block()->longestWord + 1u);  // no room for its NUL
  EXPECT_EQ(REidxlst(block, 250, ReActOpen), ReFail);
  EXPECT_EQ(block->status->error, ReErrWordTooLong);
  Call(block, 250, ReActNext);  // no list open
  EXPECT_EQ(last_, ReFail);
}

TEST_F(ListTest, AStarAloneListsTheWholeIndexPageByPage) {
  ReIdxListBlock* block = db_.Block(700);
  std::vector<std::string> all = Call(block, 250, ReActOpen, "*");
  for (int pages = 1; last_ == ReDone && pages < 50; ++pages) {
    const auto page = Call(block, 250, ReActNext);
    all.insert(all.end(), page.begin(), page.end());
  }
  EXPECT_EQ(last_, ReWarn);
  EXPECT_EQ(block->status->warning, ReWarnNothing);  // the page after the last
  EXPECT_EQ(all, SortedList());
  Call(block, 250, ReActClose);
}

TEST_F(ListTest, PagesGoForwardThenBackAgain) {
  ReIdxListBlock* block = db_.Block(7);
  std::vector<std::vector<std::string>> pages = {Call(block, 250, ReActOpen, "re*")};
  for (int i = 0; i < 14; ++i) pages.push_back(Call(block, 250, ReActNext));
  for (const auto& page : pages) EXPECT_EQ(page.size(), 7u);
  std::vector<std::string> joined;
  for (const auto& page : pages) joined.insert(joined.end(), page.begin(), page.end());
  EXPECT_EQ(std::set<std::string>(joined.begin(), joined.end()).size(), joined.size());  // no repeats
  // Back over the ten recorded page starts and past them.
  for (int i = 13; i >= 0; --i) EXPECT_EQ(Call(block, 250, ReActPrevious), pages[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(Call(block, 250, ReActPrevious), pages[0]);  // nothing before the first page
  EXPECT_EQ(Call(block, 250, ReActNext), pages[1]);
  Call(block, 250, ReActClose);
}

TEST_F(ListTest, AListReservesTheHandleUntilItEnds) {
  ReIdxListBlock* pages = db_.Block(5);
  ReIdxListBlock* other = db_.Block();
  Call(pages, 250, ReActOpen, "a*");
  EXPECT_EQ(db_.db().node()->state, ReHandleReserved);
  Call(other, 210, ReActOpen, "receive");  // another kind of operation
  EXPECT_EQ(last_, ReFail);
  EXPECT_EQ(other->status->handleError, ReErrHandleReserved);
  EXPECT_FALSE(Call(pages, 250, ReActNext).empty());
  Call(pages, 250, ReActClose);
  EXPECT_EQ(db_.db().node()->state, ReHandleFree);
  Call(other, 210, ReActOpen, "receive");
  EXPECT_EQ(last_, ReDone);
}

i32 gCalls = 0;
i32 RE_CALL StopThird(u32, u32) { return ++gCalls == 3 ? 1 : 0; }

TEST_F(ListTest, AStopFromTheProgressCallbackEndsThePage) {
  ReIdxListBlock* block = db_.Block(1000);
  const auto first = Call(block, 250, ReActOpen, "*");
  const auto second = Call(block, 250, ReActNext);
  Call(block, 250, ReActClose);
  db_.db().block()->progress = StopThird;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
  gCalls = 0;
  Call(block, 250, ReActOpen, "*");
  EXPECT_EQ(last_, ReWarn);
  EXPECT_EQ(block->status->warning, ReCodeStopped);
  EXPECT_GT(PACKED(block->foundCount), 0);  // the words of the blocks read before
  EXPECT_LT(PACKED(block->foundCount), 1000);
  // The stopped page did not reach the end of the list: the next page walks
  // it again from its start, and the pages go on from there (the callback
  // asks to stop only once).
  EXPECT_EQ(Call(block, 250, ReActNext), first);
  EXPECT_EQ(last_, ReDone);
  EXPECT_EQ(Call(block, 250, ReActNext), second);
  EXPECT_EQ(Call(block, 250, ReActPrevious), first);
  Call(block, 250, ReActClose);
}

// The wildcard and neighbour lists report an unlock that fails as a handle
// error (-240) of their own module (880, 220), so their dispatcher's own code
// (-465, -474) is the error.
u16 gHandle = 0;
i32 RE_CALL LoseTheLockCount(u32, u32) {
  if (ReHandleNode* node = ReFindHandle(gHandle)) node->database->lockCount = 0;
  return 0;
}

TEST_F(ListTest, AFailedUnlockIsAHandleError) {
  ReIdxListBlock* block = db_.Block(5);
  db_.db().block()->progress = LoseTheLockCount;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
  gHandle = db_.db().block()->handle;
  struct Case {
    u16 function;
    i16 workerFailed;
    u16 module;
  };
  for (const Case& c : {Case{250, ReErrWildcardList, 880}, Case{180, ReErrNeighbours, 220}}) {
    const u16 function = c.function;
    Call(block, function, ReActOpen, function == 250 ? "a*" : "receive");
    EXPECT_EQ(last_, ReFail) << function;
    EXPECT_EQ(block->status->error, c.workerFailed) << function;
    EXPECT_EQ(block->status->handleError, ReErrHandleList) << function;
    EXPECT_EQ(block->status->module, c.module) << function;
    Call(block, 250, ReActClose);
  }
  db_.db().block()->progress = nullptr;
  ASSERT_EQ(REdb(db_.db().block(), 100, ReActReset), ReDone);
}

// --- Anagrams -----------------------------------------------------------------

std::vector<std::string> ReferenceAnagrams(const std::string& letters, size_t minimum) {
  std::map<char, int> have;
  for (char c : letters) ++have[c];
  std::vector<std::string> out;
  for (const auto& w : SortedList()) {
    const std::string lower = builder::IndexLowerCase(w);
    if (lower.size() < minimum || lower.size() > letters.size()) continue;
    std::map<char, int> used;
    bool fits = true;
    for (char c : lower) fits = fits && ++used[c] <= have[c];
    if (fits) out.push_back(w);
  }
  return out;
}

TEST_F(ListTest, AnagramsUseTheLettersOfTheWord) {
  ReIdxListBlock* block = db_.Block(2000);
  auto sorted = [](std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(Call(block, 120, ReActOpen, "Listen")), sorted(ReferenceAnagrams("listen", 6)));
  EXPECT_STREQ(block->word, "listen");
  block->minimumLength = 4;
  const auto some = Call(block, 120, ReActOpen, "listen");
  EXPECT_EQ(sorted(some), sorted(ReferenceAnagrams("listen", 4)));
  EXPECT_NE(std::find(some.begin(), some.end(), "Nile"), some.end());  // with its capital
  // A word of 25 letters or more walks the blocks of its letter range.
  const std::string longWord = "abcdefghilmnoprstuvwyzeai";
  block->minimumLength = 7;
  const auto expected = ReferenceAnagrams(longWord, 7);
  ASSERT_LT(expected.size(), PACKED(block->resultLimit));
  EXPECT_EQ(sorted(Call(block, 120, ReActOpen, longWord.c_str())), sorted(expected));
  // A full result area ends the list with what it holds.
  ReIdxListBlock* small = db_.Block(20);
  small->minimumLength = 5;
  EXPECT_EQ(Call(small, 120, ReActOpen, longWord.c_str()).size(), 20u);
  EXPECT_EQ(last_, ReDone);
}

TEST_F(ListTest, AnagramRequestsAreChecked) {
  ReIdxListBlock* block = db_.Block();
  struct Case {
    const char* word;
    u16 minimum;
    i16 error;
  };
  for (const Case& c : {Case{"listen", 1, ReErrAnagramLength}, Case{"listen", 7, ReErrAnagramLength},
                        Case{"li?ten", 0, ReErrWildcardInWord}, Case{"", 0, ReErrWordEmpty}}) {
    block->minimumLength = c.minimum;
    Call(block, 120, ReActOpen, c.word);
    EXPECT_EQ(last_, ReFail) << c.word;
    EXPECT_EQ(block->status->error, c.error) << c.word;
  }
  // A word that fills its buffer without its NUL is too long; it is never
  // read past its buffer.
  block->minimumLength = 0;
  std::memset(block->word, 'a', db_.db().block()->longestWord + 1u);
  Call(block, 120, ReActOpen);
  EXPECT_EQ(last_, ReFail);
  EXPECT_EQ(block->status->error, ReErrWordTooLong);
  block->minimumLength = static_cast<u16>(db_.db().block()->longestWord + 5u);
  Call(block, 120, ReActOpen);
  EXPECT_EQ(block->status->error, ReErrAnagramLength);
  block->minimumLength = 0;
  Call(block, 120, ReActOpen, "xqzz");
  EXPECT_EQ(last_, ReWarn);
  EXPECT_EQ(block->status->warning, ReWarnNothing);
}

// --- Neighbour lists ----------------------------------------------------------

TEST_F(ListTest, NeighboursStandAroundTheWord) {
  const auto words = SortedList();
  ReIdxListBlock* one = db_.Block(1);
  EXPECT_EQ(Call(one, 180, ReActOpen, "Polish"), std::vector<std::string>{"Polish"});
  ReIdxListBlock* twenty = db_.Block(20);
  for (const char* word : {"polish", "paris", "knowledge", "zero"}) {
    const auto at = std::find_if(words.begin(), words.end(),
                                 [&](const std::string& w) { return builder::IndexLowerCase(w) == word; });
    const auto list = Call(twenty, 180, ReActOpen, word);
    if (at == words.end()) {
      EXPECT_EQ(last_, ReFail) << word;
      EXPECT_EQ(twenty->status->error, ReWarnNothing);  // the word is not in the index
      continue;
    }
    EXPECT_EQ(last_, ReDone) << word;
    EXPECT_EQ(list, std::vector<std::string>(at - 10, at + 10)) << word;
  }
  // A word longer than the longest word is not in the index, even when its
  // start is.
  const std::string longest = *std::max_element(
      words.begin(), words.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  ASSERT_EQ(longest.size(), db_.db().block()->longestWord);
  std::memcpy(twenty->word, (longest + "s").c_str(), longest.size() + 1);  // no room for its NUL
  EXPECT_EQ(Call(twenty, 180, ReActOpen), std::vector<std::string>{});
  EXPECT_EQ(last_, ReFail);
  EXPECT_EQ(twenty->status->error, ReWarnNothing);
  // At the index's start fewer words stand before.
  const auto list = Call(twenty, 180, ReActOpen, words[3].c_str());
  EXPECT_EQ(list, std::vector<std::string>(words.begin(), words.begin() + 13));
  EXPECT_EQ(twenty->status->warning, ReWarnNoFurther);
  EXPECT_EQ(last_, ReDone);  // warnings stay in the status
}

// --- Derived forms ------------------------------------------------------------

std::vector<builder::IndexWord> WordsWithForms() {
  auto words = TestIndexWords();
  auto forms = [&](const char* word, u8 wordClass, std::vector<std::pair<u8, std::vector<std::string>>> features) {
    builder::IndexWord w;
    w.text = word;
    for (const auto& [bit, keys] : features)
      w.extensions.push_back(builder::DerivedFormExtension(wordClass, bit, keys));
    words.push_back(w);
  };
  forms("big", 21, {{14, {"bigger"}}, {15, {"biggest"}}});
  forms("good", 21, {{14, {"better"}}, {15, {"best"}}});
  forms("run", 1, {{9, {"ran", "running"}}});  // two keys in one record
  for (const char* w : {"bigger", "biggest", "ran", "running"}) words.push_back({w, 1, {}, {}});
  return words;
}

class FormTest : public ::testing::Test {
 protected:
  FormTest() : db_(WordsWithForms()) { block_ = db_.Block(); }
  std::vector<std::string> Forms(const char* word, u8 wordClass, u8 byte1, u8 byte2 = 0) {
    block_->wordClass = wordClass;
    const u8 mask[4] = {0, byte1, byte2, 0};
    std::memcpy(block_->featureMask, mask, 4);
    last_ = db_.Call(block_, 150, ReActOpen, word);
    return IndexDatabase::Results(block_);
  }
  IndexDatabase db_;
  ReIdxListBlock* block_;
  u32 last_ = 0;
};

using Words = std::vector<std::string>;

TEST_F(FormTest, FormsComeFromTheRecordsOfTheWord) {
  EXPECT_EQ(Forms("big", 21, 64), Words{"bigger"});
  EXPECT_EQ(Forms("BIG", 21, 128), Words{"biggest"});
  EXPECT_EQ(Forms("big", 21, 64 | 128), (Words{"bigger", "biggest"}));
  EXPECT_EQ(Forms("run", 1, 2), (Words{"ran", "running"}));
  EXPECT_EQ(last_, ReDone);
}

TEST_F(FormTest, WithoutASyntheticFormTheAnalyticOneIsGiven) {
  EXPECT_EQ(Forms("happy", 21, 64), Words{"more happy"});
  EXPECT_EQ(Forms("happy", 21, 64 | 128), (Words{"more happy", "most happy"}));
  EXPECT_EQ(Forms("quickly", 31, 0, 4), Words{"most quickly"});  // an "ly" word's superlative
}

TEST_F(FormTest, AMaskOfAnotherClassYieldsNothing) {
  EXPECT_TRUE(Forms("big", 21, 2).empty());  // verb features on an adjective
  EXPECT_EQ(last_, ReDone);
  EXPECT_EQ(block_->status->warning, ReWarnNothing);
  EXPECT_TRUE(Forms("big", 21, 0).empty());
  EXPECT_EQ(block_->status->warning, ReWarnNothing);
}

TEST_F(FormTest, BadRequestsAreRefused) {
  Forms("", 21, 64);
  EXPECT_EQ(last_, ReFail);
  EXPECT_EQ(block_->status->error, ReErrWordEmpty);
  Forms("b*g", 21, 64);
  EXPECT_EQ(block_->status->error, ReErrWildcardInWord);
}

TEST(DerivedForms, ADatabaseWithoutFormDataSaysSo) {
  IndexDbOptions options;
  options.index.indexFlags = 0;
  IndexDatabase db(TestIndexWords(), options);
  ReIdxListBlock* block = db.Block();
  block->featureMask[1] = 64;
  EXPECT_EQ(db.Call(block, 150, ReActOpen, "big"), ReDone);
  EXPECT_EQ(block->status->warning, ReWarnNoFormData);
  EXPECT_EQ(PACKED(block->foundCount), 0);
}

// A header may claim longer words than the index can hold (255 characters):
// longer words are refused, never copied.
TEST(LongWords, WordsBeyondWhatTheIndexHoldsAreRefused) {
  IndexDbOptions options;
  options.longestWord = 600;
  IndexDatabase db(WordsWithForms(), options);
  ReIdxListBlock* block = db.Block(20);
  const std::string word(300, 'a');
  const std::string pattern = word + "*";
  block->featureMask[1] = 64;
  block->wordClass = 21;
  for (const auto& [function, text] : {std::pair{210, word}, {250, pattern}, {120, word}, {150, word}}) {
    EXPECT_EQ(db.Call(block, static_cast<u16>(function), ReActOpen, text), ReFail) << function;
    EXPECT_EQ(block->status->error, ReErrWordTooLong) << function;
  }
  EXPECT_EQ(db.Call(block, 180, ReActOpen, word), ReFail);  // not in the index
  EXPECT_EQ(block->status->error, ReWarnNothing);
  // Words up to 255 characters are still looked up.
  EXPECT_EQ(db.Call(block, 250, ReActOpen, "re*"), ReDone);
  db.Call(block, 250, ReActClose);
}

// Whatever allocation fails, every list frees what it took and leaves the
// handle free (a wildcard list once it has ended).
TEST(WordListFaults, EveryAllocationFailureUnwinds) {
  IndexDatabase db(WordsWithForms());
  ReIdxListBlock* block = db.Block(20);
  block->minimumLength = 4;
  block->wordClass = 21;
  block->featureMask[1] = 64;
  struct Step {
    u16 function, action;
    const char* word;  // null: the block's word stays
  };
  const std::vector<std::vector<Step>> calls = {
      {{210, ReActOpen, "recieve"}},
      {{210, ReActOpen, "recieve"}, {210, ReActNextAlt, nullptr}},
      {{120, ReActOpen, "listen"}},
      {{180, ReActOpen, "polish"}},
      {{150, ReActOpen, "happy"}},
      {{250, ReActOpen, "re*"}, {250, ReActNext, nullptr}, {250, ReActPrevious, nullptr}},
  };
  auto run = [&](const std::vector<Step>& steps, u32 fail) {
    for (size_t i = 0; i < steps.size(); ++i) {
      if (i + 1 == steps.size()) ReFailAllocationAfter(fail);
      steps[i].word ? db.Call(block, steps[i].function, steps[i].action, steps[i].word)
                    : db.Call(block, steps[i].function, steps[i].action);
    }
    ReFailAllocationAfter(0);
    db.Call(block, 250, ReActClose);
  };
  for (const auto& steps : calls) {
    run(steps, 0);  // the database's walk state is made on first use
    const i32 live = ReLiveAllocations();
    for (u32 fail = 1; fail < 12; ++fail) {
      run(steps, fail);
      EXPECT_EQ(ReLiveAllocations(), live) << steps.back().function << " failing allocation " << fail;
      EXPECT_EQ(db.db().node()->state, ReHandleFree) << steps.back().function << " failing allocation " << fail;
    }
  }
}

}  // namespace
