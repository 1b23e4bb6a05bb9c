// The dictionary screen's word searches (wildcard, anagram, Boolean search
// of a translation dictionary), conjugation tables and the pronunciation key.
#include "dict_fixture.h"
#include "reader/dictionary_ids.h"
#include "settings/settings.h"

namespace dicttest {
namespace {

class DictWithAnagramLength : public DictScreen {
 protected:
  void Prepare() override { settings.Set(InstallationOptions, "AnagramLength", "5"); }
};

TEST_F(DictScreen, WildcardMatchesReplaceTheEntry) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("chanter");
  dict->OnLookUp();
  ASSERT_NE(dict->GetCurrentEntry(), 0u);
  Type("ch*");
  EXPECT_TRUE(Enabled(IDC_DICT_WILDCARD));
  dict->OnEnterWord();
  ui::PumpUntilIdle();
  CWordListDlg& list = dict->AlternativesPanel();
  ASSERT_TRUE(list.IsOpen());
  EXPECT_EQ(list.GetMode(), CWordListDlg::kWildcard);
  EXPECT_EQ(Lines(list.List()), (std::vector<std::string>{"chante", "chanter", "ch\xE2teau"}));
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(1));
  EXPECT_EQ(PanelRect(list), Place(2));
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);
  EXPECT_FALSE(Enabled(IDC_DICT_PRINT));

  // No match: the front end says so and the list goes.
  Type("q*");
  dict->WordSearch().OnWildcard();
  ui::PumpUntilIdle();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no words matching your wildcard pattern."}));
  EXPECT_FALSE(list.IsOpen());
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
}

TEST_F(DictWithAnagramLength, AnagramsHonourTheChosenLength) {
  EXPECT_EQ(dict->GetAnagramLength(), 5);
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("chat");
  dict->WordSearch().OnAnagram();
  EXPECT_EQ(
      boxes.Texts(),
      (std::vector<std::string>{"Anagram length must be greater than 2 and less or equal to the length of the word."}));
  EXPECT_FALSE(dict->AlternativesPanel().IsOpen());

  Command(ID_DICT_ANAGRAM_SAME);
  EXPECT_EQ(dict->GetAnagramLength(), 0);
  EXPECT_EQ(settings.Get(InstallationOptions, "AnagramLength"), "0");
  Command(ID_DICT_ANAGRAM_7);
  EXPECT_EQ(settings.Get(InstallationOptions, "AnagramLength"), "7");
  Command(ID_DICT_ANAGRAM_SAME);
  Type("retnahc");
  dict->WordSearch().OnAnagram();
  ui::PumpUntilIdle();
  ASSERT_TRUE(dict->AlternativesPanel().IsOpen());
  EXPECT_EQ(dict->AlternativesPanel().GetMode(), CWordListDlg::kAnagram);
  EXPECT_EQ(Lines(dict->AlternativesPanel().List()), (std::vector<std::string>{"chanter"}));
  // Choosing the anagram looks it up.
  dict->AlternativesPanel().OnOK();
  ui::PumpUntilIdle();
  EXPECT_EQ(dict->GetCurrentEntry(), 6u);
}

TEST_F(DictScreen, BooleanSearchOfATranslationDictionary) {
  SpellAnswers answers;
  Mode(ID_DICT_MODE_ENGLISH_FRENCH);
  Type("house OR zebra");
  EXPECT_TRUE(Enabled(IDC_DICT_SEARCH));
  dict->OnEnterWord();
  ui::PumpUntilIdle();
  CWordListDlg& results = dict->AlternativesPanel();
  ASSERT_TRUE(results.IsOpen());
  EXPECT_EQ(results.GetMode(), CWordListDlg::kSearchResults);
  ASSERT_EQ(results.List().GetCount(), 2);
  // The words of the query, without its operators, are marked in a chosen entry.
  std::vector<std::string> marked;
  for (int i = 0; i < results.HighlightWords().GetSize(); ++i) marked.emplace_back(results.HighlightWords()[i]);
  EXPECT_EQ(marked, (std::vector<std::string>{"house", "zebra"}));
  const DWORD second = static_cast<DWORD>(results.List().GetItemData(1));
  results.List().SetCurSel(1);
  results.OnOK();
  ui::PumpUntilIdle();
  EXPECT_EQ(dict->GetCurrentEntry(), second);
  EXPECT_TRUE(Enabled(IDC_DICT_PRINT));

  Type("cat AND dog");
  dict->WordSearch().OnDictionarySearch();
  ui::PumpUntilIdle();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no items matching your search expression."}));
  EXPECT_FALSE(results.IsOpen());
  EXPECT_EQ(::GetFocus(), dict->WordEdit().m_hWnd);
}

TEST_F(DictScreen, ConjugationTablesTakeTheDisplaysPlace) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("aimer");
  ASSERT_TRUE(Enabled(IDC_DICT_CONJUGATE));
  dict->Conjugation().OnConjugate();
  ui::PumpUntilIdle();
  ASSERT_TRUE(boxes.all().empty()) << boxes.Texts()[0];
  CWordListDlg& tenses = dict->TensesPanel();
  ASSERT_TRUE(tenses.IsOpen());
  EXPECT_EQ(tenses.GetMode(), CWordListDlg::kTenses);
  EXPECT_EQ(PanelRect(tenses), Place(0));
  EXPECT_EQ(tenses.List().GetCount(), 15);
  EXPECT_FALSE(dict->HeadwordsPanel().IsOpen());
  EXPECT_TRUE(dict->ConjugationWindow().IsWindowVisible());
  EXPECT_FALSE(dict->Display().IsWindowVisible());
  EXPECT_FALSE(Enabled(IDC_DICT_SEARCH) || Enabled(IDC_DICT_ANAGRAM) || Enabled(IDC_DICT_WILDCARD));

  // The window shows the title items and the forms of the chosen tense.
  tenses.List().SetCurSel(7);
  tenses.OnOK();
  EXPECT_EQ(dict->GetCompanionSelection(), 7);
  CStringArray titleLabels, titleValues, labels, values;
  dict->GetLabelledValues(7, titleLabels, titleValues, labels, values);
  EXPECT_GT(titleLabels.GetSize(), 0);
  ASSERT_EQ(labels.GetSize(), 6);
  EXPECT_STREQ(labels[0], "j'ai");  // the joining blank is the painter's
  EXPECT_STREQ(values[0], "aim\xE9");
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "dictionary_conjugation");

  // Look Up gives the display back.
  Type("chanter");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_FALSE(tenses.IsOpen());
  EXPECT_FALSE(dict->ConjugationWindow().IsWindowVisible());
  EXPECT_TRUE(dict->Display().IsWindowVisible());
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
  EXPECT_EQ(dict->GetCompanionSelection(), -1);

  Type("xyzzy");
  dict->Conjugation().OnConjugate();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There is no conjugation for xyzzy."}));
}

TEST_F(DictScreen, ThePronunciationKeyTakesTheColumn) {
  Mode(ID_DICT_MODE_ENGLISH_FRENCH);
  Command(ID_DICT_PRONUNCIATION_KEY);
  CWordListDlg& key = dict->KeyPanel();
  ASSERT_TRUE(key.IsOpen());
  EXPECT_EQ(key.GetMode(), CWordListDlg::kPronunciationKey);
  EXPECT_EQ(key.KeyPicture().GetContentId(), 6130u);
  EXPECT_TRUE(key.KeyPicture().IsWindowVisible());
  EXPECT_FALSE(key.List().IsWindowVisible());
  EXPECT_FALSE(dict->HeadwordsPanel().IsOpen());
  EXPECT_EQ(PanelRect(key), Place(0));
  const HWND window = key.m_hWnd;
  Command(ID_DICT_PRONUNCIATION_KEY);  // a second time: nothing
  EXPECT_EQ(key.m_hWnd, window);

  // Look Up closes it and reopens the mode's panel.
  Type("house");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_FALSE(key.IsOpen());
  EXPECT_TRUE(dict->HeadwordsPanel().IsOpen());
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
}

}  // namespace
}  // namespace dicttest
