// The dictionary screen's window-free decisions: word buttons and Enter, the
// words taken from the edit and from list lines, the left column's layout
// and panel places, the notices and the anagram length setting.
#include "dictionary/dict_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dict::ComputeWordButtons;
using dict::EnterAction;

std::string States(const dict::WordButtons& b) {
  std::string s;
  s += b.lookUp ? 'L' : '-';
  s += b.anagram ? 'A' : '-';
  s += b.search ? 'S' : '-';
  s += b.wildcard ? 'W' : '-';
  s += b.conjugate ? 'C' : '-';
  return s;
}

TEST(DictWordButtons, EmptyTextDisablesEverything) {
  for (int mode = 0; mode <= 4; ++mode) EXPECT_EQ(States(ComputeWordButtons("", mode, false)), "-----") << mode;
}

TEST(DictWordButtons, OperatorsSearchOnlyInTheTranslationModes) {
  EXPECT_EQ(States(ComputeWordButtons("cat AND dog", dict::kFrenchEnglish, false)), "--S--");
  EXPECT_EQ(States(ComputeWordButtons("cat ~ dog", dict::kEnglishFrench, false)), "--S--");
  // Case matters and the blanks around the operator are part of it.
  EXPECT_EQ(States(ComputeWordButtons("cat and dog", dict::kEnglishFrench, false)), "LAS--");
  EXPECT_EQ(States(ComputeWordButtons("cat&dog", dict::kEnglishFrench, false)), "LAS--");
  // Elsewhere the operators are just text of a word.
  EXPECT_EQ(States(ComputeWordButtons("cat AND dog", dict::kDictionary, false)), "LA---");
  EXPECT_EQ(States(ComputeWordButtons("cat AND dog", dict::kDictionaryThesaurus, false)), "L----");
}

TEST(DictWordButtons, WildcardsWhereTheModeListsThem) {
  EXPECT_EQ(States(ComputeWordButtons("ca*", dict::kDictionary, false)), "---W-");
  EXPECT_EQ(States(ComputeWordButtons("c?t", dict::kEnglishFrench, false)), "---W-");
  EXPECT_EQ(States(ComputeWordButtons("ca*", dict::kFrenchEnglish, false)), "---W-");
  // With the Tenses panel open, and in modes 0 and 4, a pattern is a word.
  EXPECT_EQ(States(ComputeWordButtons("ca*", dict::kFrenchEnglish, true)), "L---C");
  EXPECT_EQ(States(ComputeWordButtons("ca*", dict::kThesaurus, false)), "L----");
  EXPECT_EQ(States(ComputeWordButtons("ca*", dict::kDictionaryThesaurus, false)), "L----");
}

TEST(DictWordButtons, WordStatePerMode) {
  EXPECT_EQ(States(ComputeWordButtons("chat", dict::kFrenchEnglish, false)), "LAS-C");
  EXPECT_EQ(States(ComputeWordButtons("chat", dict::kFrenchEnglish, true)), "L---C");
  EXPECT_EQ(States(ComputeWordButtons("cat", dict::kEnglishFrench, false)), "LAS--");
  EXPECT_EQ(States(ComputeWordButtons("cat", dict::kDictionary, false)), "LA---");
  EXPECT_EQ(States(ComputeWordButtons("cat", dict::kThesaurus, false)), "L----");
}

TEST(DictEnter, OperatorsSearchOnlyWhenSearchIsEnabled) {
  const auto enter = [](const char* text, int mode) {
    return dict::ClassifyEnter(text, ComputeWordButtons(text, mode, false));
  };
  EXPECT_EQ(enter("", dict::kDictionary), EnterAction::kNothing);
  EXPECT_EQ(enter("cat AND dog", dict::kEnglishFrench), EnterAction::kSearch);
  EXPECT_EQ(enter("cat AND dog", dict::kDictionary), EnterAction::kNothing);
  EXPECT_EQ(enter("cat AND dog", dict::kDictionaryThesaurus), EnterAction::kNothing);
  // A single operator character is enough for Enter, blanks or not.
  EXPECT_EQ(enter("cat|dog", dict::kEnglishFrench), EnterAction::kSearch);  // a word, but Search is on in mode 2
  EXPECT_EQ(enter("cat|dog", dict::kDictionary), EnterAction::kNothing);
  EXPECT_EQ(enter("cat | dog", dict::kEnglishFrench), EnterAction::kSearch);
  // Two words joined by a blank are one word to look up.
  EXPECT_EQ(enter("pomme de", dict::kFrenchEnglish), EnterAction::kLookUp);
  EXPECT_EQ(enter("zebra", dict::kThesaurus), EnterAction::kLookUp);
  EXPECT_EQ(enter("ze*", dict::kDictionary), EnterAction::kWildcard);
  EXPECT_EQ(enter("ze*", dict::kDictionaryThesaurus), EnterAction::kNothing);
  EXPECT_EQ(enter("ze*", dict::kThesaurus), EnterAction::kNothing);
}

TEST(DictWords, TrimmedEditTextAndListLines) {
  EXPECT_STREQ(dict::TrimWord(" \t zebra\r\n"), "zebra");
  EXPECT_STREQ(dict::TrimWord("pomme de terre "), "pomme de terre");
  EXPECT_STREQ(dict::TrimWord(" \t\r\n "), "");
  EXPECT_STREQ(dict::LineWord("bass   (fish)"), "bass");
  EXPECT_STREQ(dict::LineWord("bass(2)"), "bass");
  EXPECT_STREQ(dict::LineWord("sprint"), "sprint");
  EXPECT_STREQ(dict::LineWord("(noun)"), "");
  EXPECT_STREQ(dict::LineWord("run fast (verb) (x)"), "run fast");
  EXPECT_TRUE(dict::IsOperatorWord("near"));
  EXPECT_FALSE(dict::IsOperatorWord("AND"));  // tokens come lower-cased
  EXPECT_FALSE(dict::IsOperatorWord("andes"));
}

TEST(DictLayout, ColumnHalvesThirdsAndDisplayRects) {
  const CRect column(2, 98, 212, 98);
  const CRect heading(226, 77, 326, 97);
  const dict::ScreenLayout l = dict::ComputeLayout(column, heading, 632, 433);
  EXPECT_EQ(l.panels[0], CRect(2, 98, 212, 413));
  // 315 high: halves of 157 (the lower one moved by the integer half), thirds of 105.
  EXPECT_EQ(l.panels[1], CRect(2, 98, 212, 255));
  EXPECT_EQ(l.panels[2], CRect(2, 255, 212, 412));
  EXPECT_EQ(l.panels[3], CRect(2, 98, 212, 203));
  EXPECT_EQ(l.panels[4], CRect(2, 203, 212, 308));
  EXPECT_EQ(l.panels[5], CRect(2, 308, 212, 413));
  EXPECT_EQ(l.display, CRect(226, 102, 620, 401));
  // Upper: (401 + 77 - 97 - 102 - 10) / 2 = 134; the lower one below a heading's height and 10.
  EXPECT_EQ(l.upper, CRect(226, 102, 620, 236));
  EXPECT_EQ(l.lower, CRect(226, 266, 620, 400));
  EXPECT_EQ(l.synonymHeading, CRect(226, 241, 326, 261));
}

TEST(DictLayout, PanelPlacesFollowWhatIsOpen) {
  using dict::kAlternativesPanel;
  using dict::kHeadwordsPanel;
  using dict::kKeyPanel;
  using dict::kSynonymsPanel;
  using dict::kTensesPanel;
  const auto places = [](std::initializer_list<int> openPanels) {
    bool open[dict::kPanelCount] = {};
    for (int p : openPanels) open[p] = true;
    int place[dict::kPanelCount];
    dict::PlacePanels(open, place);
    std::string s;
    for (int p : place) s += p < 0 ? '.' : static_cast<char>('0' + p);
    return s;
  };
  // Order: headwords, synonyms, alternatives, tenses, key.
  EXPECT_EQ(places({kHeadwordsPanel}), "0....");
  EXPECT_EQ(places({kSynonymsPanel}), ".0...");
  EXPECT_EQ(places({kHeadwordsPanel, kSynonymsPanel}), "12...");
  EXPECT_EQ(places({kHeadwordsPanel, kAlternativesPanel}), "1.2..");
  EXPECT_EQ(places({kSynonymsPanel, kAlternativesPanel}), ".12..");
  EXPECT_EQ(places({kHeadwordsPanel, kSynonymsPanel, kAlternativesPanel}), "345..");
  EXPECT_EQ(places({kAlternativesPanel}), "..0..");
  EXPECT_EQ(places({kTensesPanel}), "...0.");
  // The key panel takes the column before anything else, then the tenses.
  EXPECT_EQ(places({kHeadwordsPanel, kKeyPanel, kTensesPanel}), "....0");
  EXPECT_EQ(places({kHeadwordsPanel, kTensesPanel}), "...0.");
  EXPECT_EQ(places({}), ".....");
}

TEST(DictNotices, BlockAndFooterPerMode) {
  const std::string rule(40, '_');
  const std::string product = dict::kProductNotice;
  EXPECT_EQ(std::string(dict::NoticeBlock(dict::kDictionary)),
            "\r\n" + rule + "\r\n" + product + "\r\n" + dict::kDictionaryNotice);
  EXPECT_EQ(std::string(dict::NoticeBlock(dict::kDictionaryThesaurus)), std::string(dict::NoticeBlock(3)));
  EXPECT_EQ(std::string(dict::NoticeBlock(dict::kFrenchEnglish)),
            "\r\n" + rule + "\r\n" + product + "\r\n" + dict::kTranslationTitle + "\r\n" + dict::kTranslationRights);
  EXPECT_EQ(std::string(dict::NoticeBlock(dict::kThesaurus)), "\r\n" + rule + "\r\n" + product);
  EXPECT_EQ(std::string(dict::NoticeBlock(dict::kContents)), "\r\n" + rule + "\r\n" + product);

  CString lines[3];
  dict::FooterLines(dict::kDictionary, 0, lines);
  EXPECT_EQ(std::string(lines[1]), dict::kDictionaryNotice);
  EXPECT_STREQ(lines[2], " ");
  dict::FooterLines(dict::kEnglishFrench, 0, lines);
  EXPECT_EQ(std::string(lines[2]), dict::kTranslationRights);
  dict::FooterLines(dict::kThesaurus, 0, lines);
  EXPECT_STREQ(lines[0], "");
  dict::FooterLines(dict::kThesaurus, 1, lines);  // a bookmark list in any mode
  EXPECT_EQ(std::string(lines[0]), product);
  EXPECT_STREQ(lines[1], " ");
}

TEST(DictAnagramLength, SettingAndMenuItems) {
  EXPECT_EQ(dict::AnagramLengthOfSetting("7"), 7);
  EXPECT_EQ(dict::AnagramMenuItem(7), 5046u);
  EXPECT_EQ(dict::AnagramMenuItem(10), 5049u);
  EXPECT_EQ(dict::AnagramMenuItem(0), 5039u);
  // A stored value outside 3 to 10 checks "Same in input word" but is kept.
  EXPECT_EQ(dict::AnagramLengthOfSetting("2"), 2);
  EXPECT_EQ(dict::AnagramMenuItem(2), 5039u);
  EXPECT_EQ(dict::AnagramMenuItem(11), 5039u);
  EXPECT_EQ(dict::AnagramLengthOfSetting("many"), 0);
  EXPECT_EQ(dict::AnagramLengthOfItem(5043), 6);
  EXPECT_EQ(dict::AnagramLengthOfItem(5044), -1);  // not an item of the menu
}

TEST(DictSearchTerms, ReplacingATermShiftsTheOnesAfterIt) {
  // "chat AND chein": the second term starts at 9; replacing "chat" by the
  // longer "chats" moves it by one.
  CString text = "chat AND chein";
  text = dict::ReplaceAt(text, 0, 4, "chats");
  EXPECT_STREQ(text, "chats AND chein");
  text = dict::ReplaceAt(text, 9 + 1, 5, "chien");
  EXPECT_STREQ(text, "chats AND chien");
  EXPECT_STREQ(dict::ReplaceAt("abc", 2, 9, "Z"), "abZ");  // a length past the end stops there
  EXPECT_STREQ(dict::ReplaceAt("abc", 7, 1, "Z"), "abc");
}

}  // namespace
