// The search windows' logic without windows: the filter toggles, the screen
// that shows a chosen entry, the Boolean query and its field rules, the
// spelling pass's word walk, Smart Search's inflected forms, the Tuner's
// weights and spellings, and the contents window's title matching.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/bit_string.h"
#include "core/query_text.h"
#include "search/boolean_query.h"
#include "search/search_filter.h"
#include "search/smart_query.h"

namespace {

constexpr int kCount = 40;

CBitString SetOf(std::initializer_list<int> articles, int count = kCount) {
  CBitString set(count, FALSE);
  for (int n : articles) set.SetBit(n);
  return set;
}

std::vector<int> Members(const CBitString& set) {
  std::vector<int> out;
  for (int n = set.NextSet(1); n > 0; n = set.NextSet(n + 1)) out.push_back(n);
  return out;
}

// Sets for each toggle (kToggleIds order): a few distinct articles each.
struct Filters {
  CBitString mrv = SetOf({1, 2, 3, 4, 5, 6}), hsp = SetOf({7}), tdw = SetOf({8}), url = SetOf({9}),
             updates = SetOf({10}), vorn = SetOf({11, 3}), mult = SetOf({12, 3}), tml = SetOf({13}),
             pic = SetOf({1, 14}), video = SetOf({2}), anim = SetOf({15}), map = SetOf({4, 9, 16}), graph = SetOf({5}),
             table = SetOf({6}), sound = SetOf({17}), clkmap = SetOf({18}), clkpic = SetOf({19}), knvr = SetOf({20});
  search::ToggleSets sets[search::kToggleCount];
  Filters() {
    const CBitString* groups[search::kToggleCount][3] = {
        {&mrv, nullptr, nullptr},   {&hsp, &mrv, nullptr},     {&tdw, nullptr, nullptr},   {&url, &updates, nullptr},
        {&vorn, nullptr, nullptr},  {&mult, nullptr, nullptr}, {&tml, nullptr, nullptr},   {&pic, nullptr, nullptr},
        {&video, &anim, nullptr},   {&map, nullptr, nullptr},  {&graph, nullptr, nullptr}, {&table, nullptr, nullptr},
        {&sound, nullptr, nullptr}, {&clkmap, &clkpic, &knvr}};
    for (int i = 0; i < search::kToggleCount; ++i)
      for (int k = 0; k < 3; ++k) sets[i].sets[k] = groups[i][k];
  }
};

struct Checked {
  BOOL on[search::kToggleCount] = {};
  Checked(std::initializer_list<unsigned> ids) {
    for (unsigned id : ids) on[search::ToggleIndex(id)] = TRUE;
  }
};

CBitString Everything() {
  CBitString all(kCount, FALSE);
  all.SetRange(1, kCount, TRUE);
  return all;
}

TEST(ResultFilter, NoToggleKeepsTheResultCutToTheListedArticles) {
  Filters f;
  CBitString all = Everything();
  all.SetBit(9, FALSE);  // an article no longer listed
  const CBitString result = SetOf({1, 9, 14, 33});
  const CBitString v = search::FilterArticles(result, all, f.sets, Checked({}).on, kCount);
  EXPECT_EQ(Members(v), (std::vector<int>{1, 14, 33}));
}

TEST(ResultFilter, GroupsJoinByOrWithinAndByAndAcross) {
  Filters f;
  const CBitString all = Everything();
  CBitString result(kCount, FALSE);
  result.SetRange(1, kCount, TRUE);
  // Videos alone: Video.bit or Anim.bit.
  EXPECT_EQ(Members(search::FilterArticles(result, all, f.sets, Checked({2006}).on, kCount)),
            (std::vector<int>{2, 15}));
  // Marovan and Internet sources with Maps: (Mrv or Url or Updates) and Map.
  EXPECT_EQ(Members(search::FilterArticles(result, all, f.sets, Checked({2012, 2019, 2008}).on, kCount)),
            (std::vector<int>{4, 9}));
  // The clickables toggle stands for three sets.
  EXPECT_EQ(Members(search::FilterArticles(result, all, f.sets, Checked({4119}).on, kCount)),
            (std::vector<int>{18, 19, 20}));
  // Without its last media toggle only the source group filters.
  EXPECT_EQ(Members(search::FilterArticles(result, all, f.sets, Checked({2012}).on, kCount)),
            (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(ResultFilter, RankedResultsKeepTheirOrderScoresAndPositions) {
  Filters f;
  CBitString ranked(kCount, TRUE);
  ranked.SetBit(14, TRUE, TRUE, 900, 31);
  ranked.SetBit(30, TRUE, TRUE, 800, 0);
  ranked.SetBit(1, TRUE, TRUE, 700, 7);
  const CBitString v = search::FilterArticles(ranked, Everything(), f.sets, Checked({2009}).on, kCount);
  ASSERT_EQ(v.GetSetCount(), 2);
  EXPECT_EQ(v.GetAt(1), 14);
  EXPECT_EQ(v.GetAt(2), 1);
  EXPECT_EQ(v.GetScore(1), 700u);
  EXPECT_EQ(v.GetPosition(14), 31u);
}

search::NextTokenFn Tokens(QueryTokenizer& tokenizer) {
  return [&tokenizer](const char* text, CString& token) {
    int sentence = 0;
    return tokenizer.Next(text, token, sentence, false);
  };
}

TEST(BooleanQuery, FieldsJoinByThePickerBeforeEachAndSkipEmptyOnes) {
  QueryTokenizer tokenizer;
  search::BooleanInput input;
  input.fields[0] = "comet";
  input.fields[2] = "solar system";
  input.operators[0] = 0;
  input.operators[1] = 3;  // NEAR, before field 2
  CString text;
  CStringArray terms;
  ASSERT_EQ(search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms), search::BuildStatus::Ok);
  EXPECT_STREQ(text, "comet NEAR solar system");
  ASSERT_EQ(terms.GetSize(), 2);
  EXPECT_STREQ(terms[1], "solar system");  // a field is one term
}

TEST(BooleanQuery, AdvancedTextKeepsLowerCaseOperatorWordsAsTerms) {
  QueryTokenizer tokenizer;
  search::BooleanInput input;
  input.advanced = TRUE;
  input.freeText = "comet and star OR planet NOT Moon";
  CString text;
  CStringArray terms;
  ASSERT_EQ(search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms), search::BuildStatus::Ok);
  EXPECT_STREQ(text, "comet and star OR planet NOT Moon");
  std::vector<std::string> got;
  for (int i = 0; i < terms.GetSize(); ++i) got.emplace_back(terms[i]);
  EXPECT_EQ(got, (std::vector<std::string>{"comet", "and", "star", "planet", "Moon"}));

  input.freeText = "comet AND " + CString(std::string(30, 'x').c_str());
  EXPECT_EQ(search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms), search::BuildStatus::Ok);
  input.freeText = "comet AND " + CString(std::string(31, 'x').c_str());
  EXPECT_EQ(search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms), search::BuildStatus::TermTooLong);
  EXPECT_EQ(terms.GetSize(), 0);
  // The tokeniser cuts words at 30 characters: the cut word still counts as too long.
  input.freeText = CString(std::string(45, 'y').c_str()) + " comet";
  EXPECT_EQ(search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms), search::BuildStatus::TermTooLong);
  EXPECT_TRUE(search::HasOverlongWord(CString(std::string(31, 'z').c_str()), Tokens(tokenizer)));
  EXPECT_FALSE(search::HasOverlongWord(CString(std::string(30, 'z').c_str()) + " z", Tokens(tokenizer)));
}

TEST(BooleanFields, EmptyingAFieldDisablesWhatFollowsButKeepsItsText) {
  const BOOL empty[4] = {FALSE, FALSE, FALSE, FALSE};
  search::FieldEnabling state;
  search::ApplyFieldChange(0, empty, state);
  EXPECT_FALSE(state.search);
  EXPECT_FALSE(state.pickers[0] || state.pickers[1] || state.pickers[2]);
  EXPECT_FALSE(state.fields[1] || state.fields[2] || state.fields[3]);

  // Fields 0, 1 and 2 typed in order.
  const BOOL typed[4] = {TRUE, TRUE, TRUE, FALSE};
  search::ApplyFieldChange(0, typed, state);
  EXPECT_TRUE(state.search && state.fields[1] && state.fields[2] && state.fields[3] && state.pickers[2]);
  // Field 1 emptied: picker 1, picker 2, fields 2 and 3 go; field 0's part stays.
  const BOOL oneEmptied[4] = {TRUE, FALSE, TRUE, FALSE};
  search::ApplyFieldChange(1, oneEmptied, state);
  EXPECT_TRUE(state.search && state.pickers[0] && state.fields[1]);
  EXPECT_FALSE(state.pickers[1] || state.pickers[2] || state.fields[2] || state.fields[3]);
  // Field 3 has no rule.
  search::FieldEnabling before = state;
  search::ApplyFieldChange(3, typed, state);
  EXPECT_EQ(state.fields[3], before.fields[3]);

  // The disabled field's text still counts in the query, after picker 1.
  QueryTokenizer tokenizer;
  search::BooleanInput input;
  input.fields[0] = "comet";
  input.fields[2] = "volcano";
  input.operators[0] = 2;
  input.operators[1] = 1;
  CString text;
  CStringArray terms;
  search::BuildBooleanQuery(input, Tokens(tokenizer), text, terms);
  EXPECT_STREQ(text, "comet OR volcano");
}

TEST(SpellingWalk, ReplacementsShiftTheWordsAfterThem) {
  QueryTokenizer tokenizer;
  const CString original = "comt and plnet rocks";
  const std::vector<search::Word> words = search::WordsOf(original, Tokens(tokenizer));
  ASSERT_EQ(words.size(), 4u);
  CString current = original;
  int shift = 0;
  for (const auto& [word, replacement] : {std::pair{0, CString("comet")}, std::pair{2, CString("planets")}}) {
    const search::Word& w = words[static_cast<size_t>(word)];
    current = search::ReplaceAt(current, w.offset + shift, w.text.GetLength(), replacement);
    shift += replacement.GetLength() - w.text.GetLength();
  }
  EXPECT_STREQ(current, "comet and planets rocks");
  EXPECT_STREQ(search::ReplaceAt("abc", 2, 10, "XY"), "abXY");  // clamped to the text
  EXPECT_STREQ(search::ReplaceAt("abc", 9, 1, "Z"), "abcZ");
}

TEST(SmartTerms, InflectedFormsJoinOnceInLowerCaseWithTheFlag) {
  CStringArray terms;
  CDWordArray groups;
  terms.Add("run");
  groups.Add(0x11);
  terms.Add("runs");
  groups.Add(0x12);
  EXPECT_EQ(search::AppendForms(terms, groups, 0, {"run", "Runs", "RAN", "running", "ran"}), 2);
  ASSERT_EQ(terms.GetSize(), 4);
  EXPECT_STREQ(terms[2], "ran");
  EXPECT_STREQ(terms[3], "running");
  EXPECT_EQ(groups[2], 0x11u | search::kInflectedForm);
  EXPECT_EQ(search::AppendForms(terms, groups, 7, {"x"}), 0);  // no such term
}

TEST(TunerWeights, SlidersFollowTheScaleBothWays) {
  const float scale = search::TunerScale(1000);
  EXPECT_NEAR(scale, std::log(1000.0) * 1.5148301, 1e-4);
  EXPECT_EQ(search::SliderFromWeight(scale, scale), 100);
  EXPECT_EQ(search::SliderFromWeight(scale * 0.5f, scale), 50);
  EXPECT_EQ(search::SliderFromWeight(scale * 3.0f, scale), 100);  // kept on the slider
  EXPECT_EQ(search::SliderFromWeight(-scale, scale), 0);
  EXPECT_EQ(search::SliderFromWeight(1.0f, 0.0f), 0);  // one entry: no scale

  std::vector<float> weights = {2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
  CStringArray words;
  for (const char* w : {"a", "b", "c", "d", "e"}) words.Add(w);
  search::ApplySliders({0, 100, 0, 40, 100}, weights, 10.0f, words);
  EXPECT_EQ(weights, (std::vector<float>{0.0f, -3.0f, 0.0f, 4.0f, -6.0f}));
  ASSERT_EQ(words.GetSize(), 3);
  EXPECT_STREQ(words[0], "b");
  EXPECT_STREQ(words[1], "d");
  EXPECT_STREQ(words[2], "e");
}

TEST(TunerSpellings, TheTypedCapitalDecidesBetweenTwoSpellings) {
  const auto capital = [](unsigned char c) { return std::isupper(c) != 0; };
  CStringArray typedLower, typedUpper, none;
  typedLower.Add("mars");
  typedUpper.Add("Mars");
  const std::vector<std::string> both = {"marry", "Mars", "mars", "marsh"};
  EXPECT_STREQ(search::ChooseDisplayWord("mars", both, typedUpper, capital), "Mars");
  EXPECT_STREQ(search::ChooseDisplayWord("mars", both, typedLower, capital), "mars");
  EXPECT_STREQ(search::ChooseDisplayWord("mars", both, none, capital), "Mars");
  EXPECT_STREQ(search::ChooseDisplayWord("mars", {"Mars"}, typedLower, capital), "Mars");
  EXPECT_STREQ(search::ChooseDisplayWord("mars", {"marsh", "mars"}, typedUpper, capital), "mars");
  EXPECT_STREQ(search::ChooseDisplayWord("mars", {"venus"}, typedUpper, capital), "mars");
}

TEST(TitleFind, AmpersandsAndPunctuationCompareAsWords) {
  EXPECT_TRUE(search::TitleStartsWith("rock and", "Rock & Roll"));
  EXPECT_TRUE(search::TitleStartsWith("Rock&R", "Rock & Roll"));
  EXPECT_TRUE(search::TitleStartsWith("beethoven lud", "Beethoven, Ludwig van"));
  EXPECT_TRUE(search::TitleStartsWith("\xC9gypt", "Egypt"));  // accents folded
  EXPECT_FALSE(search::TitleStartsWith("rock n", "Rock & Roll"));
  EXPECT_FALSE(search::TitleStartsWith("", "Rock & Roll"));
  EXPECT_FALSE(search::TitleStartsWith("Rock & Roll forever", "Rock & Roll"));
  EXPECT_TRUE(search::SubjectStartsWith("Astronomy", "astro"));
  EXPECT_FALSE(search::SubjectStartsWith("Astronomy", ""));
  EXPECT_FALSE(search::SubjectStartsWith("Astronomy", "tro"));
}

}  // namespace
