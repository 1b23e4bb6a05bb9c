// The dictionary view hands its buttons' clicks, the edit's and the list's
// notifications and the menu's commands and check marks on to the parts
// that own them (modes, word box, word searches, conjugation, thesaurus).
#include "dict_fixture.h"
#include "messages/window_messages.h"
#include "reader/dictionary_ids.h"

namespace dicttest {
namespace {

class DictParts : public DictScreen {
 protected:
  // A click of the screen's button, as the button itself reports it.
  void Click(UINT id) {
    CODButton* button = dict->Button(id);
    ASSERT_NE(button, nullptr);
    dict->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->m_hWnd));
    ui::PumpUntilIdle();
  }
  // The popup of the frame's menu that holds `id`, after the frame updated it.
  CMenu* UpdatedPopupOf(UINT id) {
    CMenu* bar = CMenu::FromHandle(::GetMenu(Frame()->m_hWnd));
    for (int top = 0; top < bar->GetMenuItemCount(); ++top) {
      CMenu* popup = bar->GetSubMenu(top);
      for (int i = 0; popup != nullptr && i < popup->GetMenuItemCount(); ++i) {
        CMenu* inner = popup->GetSubMenu(i);
        CMenu* holder = inner != nullptr ? inner : popup;
        if (holder->GetMenuState(id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
        if (inner == nullptr && popup->GetMenuItemID(i) != id) continue;
        Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(holder->m_hMenu), i);
        return holder;
      }
    }
    return nullptr;
  }
};

TEST_F(DictParts, WordButtonClicksReachTheirParts) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("ch*");
  Click(IDC_DICT_WILDCARD);
  ASSERT_TRUE(dict->AlternativesPanel().IsOpen());
  EXPECT_EQ(dict->AlternativesPanel().GetMode(), CWordListDlg::kWildcard);

  Type("aimer");
  Click(IDC_DICT_CONJUGATE);
  ASSERT_TRUE(boxes.all().empty()) << boxes.Texts()[0];
  EXPECT_TRUE(dict->TensesPanel().IsOpen());
  EXPECT_TRUE(dict->ConjugationWindow().IsWindowVisible());
  EXPECT_FALSE(dict->AlternativesPanel().IsOpen());

  // Look Up stays the view's own: the tables give the display back.
  Click(IDC_DICT_LOOK_UP);
  EXPECT_FALSE(dict->TensesPanel().IsOpen());
  EXPECT_FALSE(dict->ConjugationWindow().IsWindowVisible());
  EXPECT_TRUE(dict->Display().IsWindowVisible());
}

TEST_F(DictParts, ModeButtonsAndMenuChecksFollowTheMode) {
  Click(IDC_DICT_THESAURUS);
  EXPECT_EQ(dict->GetMode(), dict::kThesaurus);
  EXPECT_FALSE(Enabled(IDC_DICT_THESAURUS));
  CMenu* modes = UpdatedPopupOf(ID_DICT_MODE_THESAURUS);
  ASSERT_NE(modes, nullptr);
  EXPECT_TRUE(modes->GetMenuState(ID_DICT_MODE_THESAURUS, MF_BYCOMMAND) & MF_CHECKED);

  // A button of a shared mode opens its window; the word buttons come back.
  Click(IDC_DICT_BOOLEAN_SEARCH);
  EXPECT_EQ(dict->GetMode(), dict::kBooleanSearch);
  EXPECT_TRUE(dict->BooleanWindow().GetSafeHwnd() != nullptr);
  EXPECT_TRUE(Enabled(IDC_DICT_THESAURUS));
  EXPECT_FALSE(dict->WordEdit().IsWindowVisible());
  modes = UpdatedPopupOf(ID_DICT_MODE_BOOLEAN);
  ASSERT_NE(modes, nullptr);
  EXPECT_TRUE(modes->GetMenuState(ID_DICT_MODE_BOOLEAN, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(modes->GetMenuState(ID_DICT_MODE_THESAURUS, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(DictParts, TheAnagramLengthMenuChecksTheChosenLength) {
  Command(ID_DICT_ANAGRAM_7);
  CMenu* lengths = UpdatedPopupOf(ID_DICT_ANAGRAM_7);
  ASSERT_NE(lengths, nullptr);
  EXPECT_TRUE(lengths->GetMenuState(ID_DICT_ANAGRAM_7, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(lengths->GetMenuState(ID_DICT_ANAGRAM_SAME, MF_BYCOMMAND) & MF_CHECKED);
  Command(ID_DICT_ANAGRAM_SAME);
  lengths = UpdatedPopupOf(ID_DICT_ANAGRAM_SAME);
  ASSERT_NE(lengths, nullptr);
  EXPECT_TRUE(lengths->GetMenuState(ID_DICT_ANAGRAM_SAME, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(lengths->GetMenuState(ID_DICT_ANAGRAM_7, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(DictParts, NewFontsListTheSensesAgain) {
  Mode(ID_DICT_MODE_THESAURUS);
  dict->LookUpWord("run", 1, -1, nullptr);
  ui::PumpUntilIdle();
  ASSERT_EQ(dict->ThesaurusList().GetCount(), 2);
  const std::vector<std::string> senses = Lines(dict->ThesaurusList());
  dict->ThesaurusList().SetCurSel(1);
  dict->SendMessage(WM_FONTSCHANGED);
  ui::PumpUntilIdle();
  EXPECT_EQ(Lines(dict->ThesaurusList()), senses);
  // The first sense is chosen again and its synonyms shown.
  EXPECT_EQ(dict->ThesaurusList().GetCurSel(), 0);
  const bool verbFirst = senses[0] == "verb run";
  EXPECT_EQ(Lines(dict->SynonymsPanel().List()), verbFirst ? (std::vector<std::string>{"dash", "sprint", "race"})
                                                           : (std::vector<std::string>{"trip", "jaunt"}));
}

}  // namespace
}  // namespace dicttest
