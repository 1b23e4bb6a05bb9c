// The slot side of the headword lookup: capitalisation classes, match modes,
// filling and merging slots, the base-form class filter and the spellings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "re_charclass.h"
#include "re_entlst_slots.h"

namespace {

const u32* Classes() { return ReCharClassTable(1); }

TEST(CaseClass, ClassesAndCapitalPositions) {
  auto of = [](const char* word) { return ReCaseClass(word, Classes()); };
  EXPECT_EQ(of("paris").caseClass, 0);
  EXPECT_EQ(of("paris").capitals, 0u);
  EXPECT_EQ(of("Paris").caseClass, 1);
  EXPECT_EQ(of("Paris").capitals, u64{1} << 63);
  EXPECT_EQ(of("iPod").caseClass, 1);  // one capital after lower-case letters only
  EXPECT_EQ(of("iPod").capitals, u64{1} << 62);
  EXPECT_EQ(of("NASA").caseClass, 2);
  EXPECT_EQ(of("3M").caseClass, 2);  // a digit before the capital
  EXPECT_EQ(of("McDonald").caseClass, 3);
  EXPECT_EQ(of("McDonald").capitals, (u64{1} << 63) | (u64{1} << 61));
  EXPECT_EQ(of("\xC9T\xC9").caseClass, 2);  // accented capitals only
  EXPECT_EQ(of("\xC9t\xE9").caseClass, 1);  // accented capital, then lower case
  EXPECT_EQ(of("X\xAA"
               "Y")
                .caseClass,
            3);  // an ordinal mark counts as marked
  // Positions past 63 have no bit.
  std::string longWord(70, 'a');
  longWord[69] = 'B';
  longWord[0] = 'A';
  EXPECT_EQ(of(longWord.c_str()).capitals, u64{1} << 63);
}

TEST(MatchMode, PlainRules) {
  const ReCaseInfo none{0, 0}, one{1, u64{1} << 63}, caps{2, 3}, mixed{3, u64{1} << 63 | u64{1} << 61},
      otherMixed{3, u64{1} << 63 | u64{1} << 60};
  // Modes 1 and 0 (a block nobody set) take everything.
  for (u8 mode : {0, 1})
    for (const ReCaseInfo& hit : {none, one, caps, mixed}) EXPECT_TRUE(ReMatchesMode(mode, mixed, hit));
  // Mode 2: the same class; class 3 also the same positions.
  EXPECT_TRUE(ReMatchesMode(2, one, one));
  EXPECT_FALSE(ReMatchesMode(2, one, none));
  EXPECT_FALSE(ReMatchesMode(2, none, one));
  EXPECT_TRUE(ReMatchesMode(2, mixed, mixed));
  EXPECT_FALSE(ReMatchesMode(2, mixed, otherMixed));
  // Mode 3: at least the typed class; class 3 exactly, with its positions.
  EXPECT_TRUE(ReMatchesMode(3, none, caps));
  EXPECT_TRUE(ReMatchesMode(3, one, caps));
  EXPECT_FALSE(ReMatchesMode(3, caps, one));
  EXPECT_TRUE(ReMatchesMode(3, mixed, mixed));
  EXPECT_FALSE(ReMatchesMode(3, mixed, otherMixed));
  // Other modes take nothing.
  EXPECT_FALSE(ReMatchesMode(4, none, none));
  EXPECT_FALSE(ReKnownMatchMode(4));
  EXPECT_TRUE(ReKnownMatchMode(0));
}

// Slots as REmemory lays them out: the array, then one title buffer each.
class Slots : public ::testing::Test {
 protected:
  static constexpr u16 kCapacity = 4;
  static constexpr u32 kTitle = 8;
  void SetUp() override {
    for (u32 i = 0; i < kCapacity; ++i) {
      ReEntListSlot slot{};
      slot.title = titles_[i];
      slot.notWritten[0] = 0xEE;
      ReWriteSlot(slots_, i, slot);
    }
    list_ = ReSlotList{slots_, kCapacity, 0, kTitle};
  }
  ReEntListSlot At(u32 i) const { return ReReadSlot(slots_, i); }
  u32 Add(u32 entry, const char* word, u8 flag, u32 mask) {
    return ReAddHeadwordHit(&list_, ReHeadwordHit{entry, word, flag, mask});
  }

  ReEntListSlot slots_[kCapacity];
  char titles_[kCapacity][kTitle] = {};
  ReSlotList list_{};
};

TEST_F(Slots, SameEntryAndWordMergeTheirMasks) {
  EXPECT_EQ(Add(7, "saw", 0xC2, 0x01), ReDone);
  EXPECT_EQ(Add(7, "saw", 0x05, 0x10), ReDone);
  EXPECT_EQ(Add(7, "Saw", 0x05, 0x20), ReDone);  // another word: its own slot
  EXPECT_EQ(Add(8, "saw", 0x05, 0x40), ReDone);  // another entry too
  ASSERT_EQ(list_.count, 3);
  EXPECT_EQ(PACKED(At(0).entry), 7u);
  EXPECT_STREQ(PACKED(At(0).title), "saw");
  EXPECT_EQ(PACKED(At(0).wordClass), 2);  // the low six bits of the flag byte
  EXPECT_EQ(PACKED(At(0).featureMask), 0x11u);
  EXPECT_EQ(PACKED(At(0).notWritten[0]), 0xEE);  // bytes 10-13 are left alone
  EXPECT_STREQ(PACKED(At(1).title), "Saw");
  EXPECT_EQ(PACKED(At(2).entry), 8u);
}

TEST_F(Slots, FullListRefusesTheNextHitButStillMerges) {
  for (u32 i = 1; i <= kCapacity; ++i) ASSERT_EQ(Add(i, "w", 0, 1), ReDone);
  EXPECT_EQ(Add(kCapacity + 1, "w", 0, 1), ReWarn);
  EXPECT_EQ(Add(2, "w", 0, 4), ReDone);
  EXPECT_EQ(PACKED(At(1).featureMask), 5u);
  EXPECT_EQ(list_.count, kCapacity);
}

TEST_F(Slots, LongWordsAreCutToTheTitleBuffer) {
  EXPECT_EQ(Add(1, "abcdefghij", 0, 1), ReDone);
  EXPECT_STREQ(PACKED(At(0).title), "abcdefg");
  EXPECT_EQ(Add(1, "abcdefghij", 0, 2), ReDone);  // the same word merges
  EXPECT_EQ(list_.count, 1);
  EXPECT_EQ(PACKED(At(0).featureMask), 3u);
}

TEST_F(Slots, BaseFormFilterClosesUp) {
  Add(1, "a", 5, 1);   // removed
  Add(2, "b", 11, 2);  // kept
  Add(3, "c", 41, 4);  // kept
  Add(4, "d", 21, 8);  // removed
  ReKeepBaseFormClasses(&list_);
  ASSERT_EQ(list_.count, 2);
  EXPECT_EQ(PACKED(At(0).entry), 2u);
  EXPECT_STREQ(PACKED(At(0).title), "b");
  EXPECT_EQ(PACKED(At(0).wordClass), 11);
  EXPECT_EQ(PACKED(At(0).featureMask), 2u);
  EXPECT_EQ(PACKED(At(1).entry), 3u);
  EXPECT_STREQ(PACKED(At(1).title), "c");
  EXPECT_EQ(PACKED(At(2).entry), 0u);
  EXPECT_STREQ(PACKED(At(2).title), "");
  // Nothing to keep empties the list.
  ReClearSlots(&list_);
  Add(5, "e", 1, 1);
  ReKeepBaseFormClasses(&list_);
  EXPECT_EQ(list_.count, 0);
  EXPECT_EQ(PACKED(At(0).entry), 0u);
}

std::vector<std::string> Spellings(const char* word, u32 longest = 30) {
  ReIndexDescriptor index{};
  index.charClasses = Classes();
  ReSpellings out;
  ReHeadwordSpellings(word, index, longest, &out);
  return std::vector<std::string>(out.text, out.text + out.count);
}

TEST(HeadwordSpellings, TriesInOrderWithoutRepeats) {
  EXPECT_EQ(Spellings("Cat"), (std::vector<std::string>{"cat", "cat."}));
  EXPECT_EQ(Spellings("etc."), (std::vector<std::string>{"etc."}));
  EXPECT_EQ(Spellings("E-Mail"), (std::vector<std::string>{"e-mail", "e-mail.", "e mail", "email"}));
  EXPECT_EQ(Spellings("ice cream"), (std::vector<std::string>{"ice cream", "ice cream.", "icecream"}));
  EXPECT_EQ(Spellings("\xC9T\xC9"), (std::vector<std::string>{"\xE9t\xE9", "\xE9t\xE9."}));
  // A spelling longer than the longest word is not tried.
  EXPECT_EQ(Spellings("abc", 3), (std::vector<std::string>{"abc"}));
  EXPECT_TRUE(Spellings("").empty());
  // Removing the hyphen leaves nothing to look up.
  EXPECT_EQ(Spellings("-"), (std::vector<std::string>{"-", "-.", " "}));
}

}  // namespace
