// The dictionary, thesaurus and combined modes on the sample content: a
// dictionary article's headword leads to the article and to its synonyms.
#include "dict_fixture.h"
#include "reader/dictionary_ids.h"

namespace dicttest {
namespace {

TEST_F(DictScreen, SampleHeadwordsLeadToTheirArticlesAndSynonyms) {
  // Dictionary: the article of the headword, not the first article naming it.
  Type("comet");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty()) << (boxes.all().empty() ? "" : boxes.all()[0].text);
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Comet")));
  EXPECT_GT(dict->Display().Model().RunCount(), 0);
  ASSERT_EQ(dict->HeadwordsPanel().List().GetCount(), 1);
  EXPECT_EQ(dict->HeadwordsPanel().List().GetItemData(0), static_cast<DWORD_PTR>(apptest::Article("Comet")));
  EXPECT_TRUE(Enabled(IDC_DICT_PRINT));
  // Capitals do not matter.
  Type("ZEBRA");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Zebra")));

  // Thesaurus: the senses, and the first sense's synonyms in their panel.
  Mode(ID_DICT_MODE_THESAURUS);
  Type("aardvark");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty()) << (boxes.all().empty() ? "" : boxes.all()[0].text);
  EXPECT_EQ(Lines(dict->ThesaurusList()), (std::vector<std::string>{"noun aardvark"}));
  EXPECT_EQ(Lines(dict->SynonymsPanel().List()), (std::vector<std::string>{"ant bear", "earth pig"}));

  // Dictionary and thesaurus: the article above, its senses below.
  Mode(ID_DICT_MODE_DICTIONARY_THESAURUS);
  Type("volcano");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty()) << (boxes.all().empty() ? "" : boxes.all()[0].text);
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Volcano")));
  EXPECT_EQ(Lines(dict->ThesaurusList()), (std::vector<std::string>{"noun volcano"}));
  EXPECT_EQ(Lines(dict->SynonymsPanel().List()), (std::vector<std::string>{"crater", "fire mountain"}));
}

TEST_F(DictScreen, AnEncyclopediaWordIsNoDictionaryHeadword) {
  // "photosynthesis" is a word of an article outside the dictionary: the
  // spelling check finds no dictionary headword for it.
  Type("photosynthesis");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_NE(boxes.all()[0].text.find("The word photosynthesis may be misspelled."), std::string::npos);
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);

  // The headword mark is markup, not a word of the article.
  CContentDb& db = GetVeldrixApp().GetDatabase(1);
  CBitString hits(static_cast<int>(db.GetEntryCount()) + 1, FALSE);
  EXPECT_EQ(db.BooleanSearch("wd", hits, "Encyclopedia"), 0);
  EXPECT_GT(db.BooleanSearch("zebra", hits, "Encyclopedia"), 0);
}

}  // namespace
}  // namespace dicttest
