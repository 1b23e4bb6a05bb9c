// The dictionary screen: its start and layout, the word buttons, the modes,
// the headword lookup with spelling alternatives, entries, synonyms and
// translations.
#include "dict_fixture.h"
#include "reader/dictionary_ids.h"

namespace dicttest {
namespace {

const char kAccentedEte[] = "\xE9t\xE9";

CRect WindowIn(CWnd& child, CWnd& parent) {
  CRect rect;
  child.GetWindowRect(&rect);
  parent.ScreenToClient(&rect);
  return rect;
}

TEST_F(DictScreen, StartBuildsTheRowsTheWordBoxAndTheHeadwordsPanel) {
  EXPECT_EQ(dict->GetMode(), dict::kDictionary);
  // The top row from x = 0, each button at the previous one's right edge.
  const UINT top[] = {4207, 4210, 4211, 4206, 2097, 2090, 2150, 2151, 2048, 4137, 4136, 4135};
  int x = 0;
  for (UINT id : top) {
    CODButton* button = dict->Button(id);
    ASSERT_NE(button, nullptr) << id;
    const CRect rect = WindowIn(*button, *dict);
    EXPECT_EQ(rect.left, x) << id;
    EXPECT_EQ(rect.top, 0) << id;
    x = rect.right;
  }
  CRect client;
  dict->GetClientRect(&client);
  x = 0;
  for (UINT id : {6028u, 6030u, 6032u, 6033u, 6031u}) {
    const CRect rect = WindowIn(*dict->Button(id), *dict);
    EXPECT_EQ(rect.left, x) << id;
    EXPECT_EQ(rect.top, client.bottom - 20) << id;
    x = rect.right;
  }
  const CRect edit = WindowIn(dict->WordEdit(), *dict);
  EXPECT_EQ(edit.TopLeft(), CPoint(6, 55));
  const CRect lookUp = WindowIn(*dict->Button(IDC_DICT_LOOK_UP), *dict);
  EXPECT_EQ(lookUp.left, edit.right + 6);
  EXPECT_EQ(lookUp.top, edit.top);
  EXPECT_EQ(WindowIn(*dict->Button(IDC_DICT_SEARCH), *dict).top, edit.bottom + 9);
  EXPECT_EQ(dict->WordBox().top, 49);
  // The mode's own button is the disabled one; the word buttons wait for a word.
  EXPECT_FALSE(Enabled(IDC_DICT_DICTIONARY));
  EXPECT_TRUE(Enabled(IDC_DICT_THESAURUS));
  for (UINT id :
       {IDC_DICT_LOOK_UP, IDC_DICT_ANAGRAM, IDC_DICT_SEARCH, IDC_DICT_WILDCARD, IDC_DICT_PRINT, IDC_DICT_SAVE})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_FALSE(dict->Button(IDC_DICT_CONJUGATE)->IsWindowVisible());

  ASSERT_TRUE(dict->HeadwordsPanel().IsOpen());
  EXPECT_EQ(dict->HeadwordsPanel().GetMode(), CWordListDlg::kHeadwords);
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
  EXPECT_EQ(Place(0).bottom, client.bottom - 20);
  EXPECT_EQ(WindowIn(dict->Display(), *dict), dict->Layout().display);
  EXPECT_TRUE(dict->Display().IsWindowVisible());
  EXPECT_FALSE(dict->ThesaurusList().IsWindowVisible());
  EXPECT_FALSE(dict->ConjugationWindow().IsWindowVisible());
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "dictionary_screen");
}

TEST_F(DictScreen, WordButtonsAndEnterFollowTheText) {
  Type("chat");
  EXPECT_TRUE(Enabled(IDC_DICT_LOOK_UP));
  EXPECT_TRUE(Enabled(IDC_DICT_ANAGRAM));
  EXPECT_FALSE(Enabled(IDC_DICT_SEARCH));
  Type("cha*");
  EXPECT_TRUE(Enabled(IDC_DICT_WILDCARD));
  EXPECT_FALSE(Enabled(IDC_DICT_LOOK_UP));

  // " AND " searches only in the translation modes: in mode 3 Enter does nothing.
  Type("chat AND chien");
  EXPECT_FALSE(Enabled(IDC_DICT_SEARCH));
  dict->OnEnterWord();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_FALSE(dict->AlternativesPanel().IsOpen());
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  EXPECT_TRUE(Enabled(IDC_DICT_SEARCH));
  EXPECT_FALSE(Enabled(IDC_DICT_LOOK_UP));
  EXPECT_FALSE(Enabled(IDC_DICT_CONJUGATE));
  Type("");
  for (UINT id : {IDC_DICT_LOOK_UP, IDC_DICT_ANAGRAM, IDC_DICT_SEARCH, IDC_DICT_WILDCARD, IDC_DICT_CONJUGATE})
    EXPECT_FALSE(Enabled(id)) << id;
  dict->OnEnterWord();  // nothing to do with an empty edit
  EXPECT_TRUE(boxes.all().empty());

  // The Return key anywhere in the screen is Enter.
  Type("chanter");
  dict->WordEdit().SetFocus();
  ui::PressKey(VK_RETURN);
  ui::PumpUntilIdle();
  EXPECT_NE(dict->GetCurrentEntry(), 0u);
}

TEST_F(DictScreen, TranslationLookupShowsTheEntryAndItsHeadwords) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  EXPECT_TRUE(dict->Button(IDC_DICT_CONJUGATE)->IsWindowVisible());
  Type(" \tchanter\r\n");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(dict->GetCurrentEntry(), 6u);  // an entry of the French-English database itself
  EXPECT_GT(dict->Display().Model().RunCount(), 0);
  EXPECT_EQ(Lines(dict->HeadwordsPanel().List()), (std::vector<std::string>{"chanter"}));
  EXPECT_EQ(dict->HeadwordsPanel().List().GetItemData(0), 6u);
  EXPECT_EQ(dict->HeadwordsPanel().List().GetCurSel(), 0);
  EXPECT_TRUE(Enabled(IDC_DICT_PRINT) && Enabled(IDC_DICT_SAVE));
  EXPECT_EQ(dict->GetShownArticle(), -1);  // translations carry no notes

  // While another screen is active the screen still decides by its own windows.
  ASSERT_TRUE(Frame()->ShowBrowser());
  dict->LookUpWord(kAccentedEte, 1, 0, nullptr);
  EXPECT_EQ(dict->GetCurrentEntry(), 1u);
  ASSERT_TRUE(Frame()->ShowDictionary());
  dict->LookUpWord("chanter", 1, 0, nullptr);

  // An entry index past the headwords found shows the first one.
  dict->LookUp(TRUE, TRUE, 5, nullptr);
  EXPECT_EQ(dict->GetCurrentEntry(), 6u);
  EXPECT_TRUE(boxes.all().empty());

  // Leaving for the dictionary modes empties the display.
  Mode(ID_DICT_MODE_DICTIONARY);
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);
  EXPECT_EQ(dict->Display().Model().RunCount(), 0);
  EXPECT_FALSE(Enabled(IDC_DICT_PRINT));
}

TEST_F(DictScreen, AMisspelledWordOffersItsAlternativesBesideTheHeadwords) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("chanter");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  ASSERT_NE(dict->GetCurrentEntry(), 0u);

  Type("chantr");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"The word chantr may be misspelled.  Select an alternate "
                                                     "spelling or enter a new term."}));
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
  // No old entry stays on the screen.
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);
  EXPECT_FALSE(Enabled(IDC_DICT_PRINT));
  CWordListDlg& alternatives = dict->AlternativesPanel();
  ASSERT_TRUE(alternatives.IsOpen());
  EXPECT_EQ(alternatives.GetMode(), CWordListDlg::kSpellingAlternatives);
  EXPECT_EQ(Lines(alternatives.List()), (std::vector<std::string>{"chanter", "chante"}));
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(1));
  EXPECT_EQ(PanelRect(alternatives), Place(2));

  // Choosing a line looks the word up without a spelling check.
  boxes.Clear();
  alternatives.List().SetCurSel(0);
  alternatives.OnOK();
  ui::PumpUntilIdle();
  EXPECT_STREQ(dict->GetWord(), "chanter");
  EXPECT_EQ(dict->GetCurrentEntry(), 6u);
  EXPECT_TRUE(boxes.all().empty());

  // Closing the alternatives gives the column back to the headwords.
  alternatives.SendMessage(WM_CLOSE);
  ui::PumpUntilIdle();
  EXPECT_FALSE(alternatives.IsOpen());
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
  EXPECT_EQ(::GetFocus(), dict->WordEdit().m_hWnd);

  // A word without alternatives; and an unaccented one.
  Type("zzzz");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  EXPECT_EQ(boxes.Texts().back(), "The word zzzz may be misspelled.  No alternate spellings are available.");
  EXPECT_FALSE(alternatives.IsOpen());
  Type("ete");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  ASSERT_TRUE(alternatives.IsOpen());
  EXPECT_EQ(Lines(alternatives.List()), (std::vector<std::string>{kAccentedEte}));
}

TEST_F(DictScreen, DictionaryEntriesComeOnlyFromTheDictionaryFilter) {
  // From a word-list panel (index -1): no spelling check; the word of an
  // article outside the dictionary has no dictionary entry.
  dict->LookUpWord("  photosynthesis ", 1, -1, nullptr);
  ui::PumpUntilIdle();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There is no dictionary entry for photosynthesis."}));
  EXPECT_EQ(dict->HeadwordsPanel().List().GetCount(), 0);
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);
  boxes.Clear();
  dict->LookUpWord("  zebra ", 1, -1, nullptr);
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(dict->HeadwordsPanel().List().GetCount(), 1);
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Zebra")));
  // Blanks only: nothing happens.
  boxes.Clear();
  dict->LookUpWord(" \t ", 1, -1, nullptr);
  EXPECT_TRUE(boxes.all().empty());

  // A cross reference to an article of the dictionary is shown here; others are not.
  dict->SendMessage(WM_CROSSREF, 0, apptest::Article("Zebra"));
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Zebra")));
  dict->SendMessage(WM_CROSSREF, 0, apptest::Article("Astronomy"));
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Zebra")));
  EXPECT_EQ(dict->GetShownArticle(), apptest::Article("Zebra"));
}

TEST_F(DictScreen, ModeSwitchesKeepOrEmptyTheEntry) {
  const DWORD zebra = static_cast<DWORD>(apptest::Article("Zebra"));
  dict->ShowEntry(zebra);
  EXPECT_TRUE(Enabled(IDC_DICT_PRINT));
  Mode(ID_DICT_MODE_DICTIONARY_THESAURUS);
  EXPECT_EQ(dict->GetCurrentEntry(), zebra);
  EXPECT_EQ(WindowIn(dict->Display(), *dict), dict->Layout().upper);
  // The list keeps whole rows: its bottom may stand a little higher.
  const CRect list = WindowIn(dict->ThesaurusList(), *dict);
  EXPECT_EQ(list.TopLeft(), dict->Layout().lower.TopLeft());
  EXPECT_EQ(list.right, dict->Layout().lower.right);
  EXPECT_LE(list.bottom, dict->Layout().lower.bottom);
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(1));
  EXPECT_EQ(PanelRect(dict->SynonymsPanel()), Place(2));
  EXPECT_TRUE(Enabled(IDC_DICT_DICTIONARY));
  EXPECT_FALSE(Enabled(IDC_DICT_DICTIONARY_THESAURUS));
  Mode(ID_DICT_MODE_DICTIONARY);
  EXPECT_EQ(dict->GetCurrentEntry(), zebra);
  EXPECT_FALSE(dict->SynonymsPanel().IsOpen());

  // The thesaurus shows no definition: the list takes the display's place.
  Mode(ID_DICT_MODE_THESAURUS);
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);
  EXPECT_FALSE(dict->Display().IsWindowVisible());
  EXPECT_TRUE(dict->ThesaurusList().IsWindowVisible());
  EXPECT_EQ(WindowIn(dict->ThesaurusList(), *dict).TopLeft(), dict->Layout().display.TopLeft());
  EXPECT_FALSE(dict->HeadwordsPanel().IsOpen());
  EXPECT_EQ(PanelRect(dict->SynonymsPanel()), Place(0));
  EXPECT_FALSE(Enabled(IDC_DICT_ANAGRAM));
  CMenu* search = CMenu::FromHandle(::GetMenu(Frame()->m_hWnd))->GetSubMenu(3);
  ASSERT_NE(search, nullptr);
  Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(search->m_hMenu), 3);
  EXPECT_TRUE(search->GetMenuState(ID_DICT_MODE_THESAURUS, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(search->GetMenuState(ID_DICT_MODE_DICTIONARY, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(DictScreen, ThesaurusSensesAndTheirSynonyms) {
  Mode(ID_DICT_MODE_THESAURUS);
  dict->LookUpWord("run", 1, -1, nullptr);
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  ASSERT_EQ(dict->ThesaurusList().GetCount(), 2);
  const std::vector<std::string> senses = Lines(dict->ThesaurusList());
  const int verb = senses[0] == "verb run" ? 0 : 1;
  dict->ThesaurusList().SetCurSel(verb);
  dict->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DICT_THESAURUS_LIST, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(dict->ThesaurusList().m_hWnd));
  ui::PumpUntilIdle();
  EXPECT_EQ(Lines(dict->SynonymsPanel().List()), (std::vector<std::string>{"dash", "sprint", "race"}));
  dict->ThesaurusList().SetCurSel(1 - verb);
  dict->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DICT_THESAURUS_LIST, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(dict->ThesaurusList().m_hWnd));
  EXPECT_EQ(Lines(dict->SynonymsPanel().List()), (std::vector<std::string>{"trip", "jaunt"}));

  dict->LookUpWord("zzz", 1, -1, nullptr);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There is no thesaurus entry for zzz."}));
  EXPECT_EQ(dict->ThesaurusList().GetCount(), 0);

  // Beside a definition the list says so instead of a box.
  boxes.Clear();
  Mode(ID_DICT_MODE_DICTIONARY_THESAURUS);
  dict->LookUpWord("zzz", 1, -1, nullptr);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There is no dictionary entry for zzz."}));
  EXPECT_EQ(Lines(dict->ThesaurusList()), (std::vector<std::string>{"-No thesaurus entry available."}));
}

TEST_F(DictScreen, ResizingLaysTheEntryOutAgainAndMovesThePanels) {
  const DWORD zebra = static_cast<DWORD>(apptest::Article("Zebra"));
  dict->ShowEntry(zebra);
  dict->Display().AddNote(0, "striped", TRUE);
  const int wideLines = dict->Display().Model().LineCount();
  // The view alone made narrow (the frame keeps a minimum size).
  dict->MoveWindow(0, 0, 420, 400);
  ui::PumpUntilIdle();
  CRect client;
  dict->GetClientRect(&client);
  EXPECT_EQ(dict->Layout().display.right, client.right - 12);
  EXPECT_EQ(WindowIn(dict->Display(), *dict), dict->Layout().display);
  EXPECT_GT(dict->Display().Model().LineCount(), wideLines);
  EXPECT_EQ(dict->Display().GetNoteCount(), 1);  // the note is kept
  EXPECT_EQ(PanelRect(dict->HeadwordsPanel()), Place(0));
  EXPECT_EQ(Place(0).bottom, client.bottom - 20);
  EXPECT_EQ(WindowIn(*dict->Button(6028), *dict).top, client.bottom - 20);
}

TEST_F(DictScreen, SharedWindowModesHideTheWordControls) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("chanter");
  dict->OnLookUp();
  Command(IDC_DICT_CONTENTS);  // the frame's flag, then the message to the active view
  EXPECT_TRUE(Frame()->IsContentsOpen());
  EXPECT_EQ(dict->GetMode(), dict::kContents);
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);  // another database's entry
  EXPECT_FALSE(dict->WordEdit().IsWindowVisible());
  EXPECT_FALSE(dict->Button(IDC_DICT_LOOK_UP)->IsWindowVisible());
  EXPECT_FALSE(dict->HeadwordsPanel().IsOpen());
  EXPECT_EQ(dict->Button(IDC_DICT_CONTENTS)->GetCheck(), 1);
  for (UINT id : {IDC_DICT_DICTIONARY, IDC_DICT_THESAURUS, IDC_DICT_FRENCH_ENGLISH}) EXPECT_TRUE(Enabled(id)) << id;
  Command(IDC_DICT_BOOKMARKS);
  EXPECT_EQ(dict->GetMode(), dict::kBookmarks);
  EXPECT_EQ(dict->Button(IDC_DICT_CONTENTS)->GetCheck(), 0);
  EXPECT_EQ(dict->Button(IDC_DICT_BOOKMARKS)->GetCheck(), 1);
  // The frame opens the dictionary for a word in the dictionary mode.
  Frame()->LookUpWord("zebra");
  ui::PumpUntilIdle();
  EXPECT_EQ(dict->GetMode(), dict::kDictionary);
  EXPECT_TRUE(dict->WordEdit().IsWindowVisible());
  EXPECT_STREQ(dict->GetWord(), "zebra");
}

TEST_F(DictScreen, FontChangesRefillTheThesaurusListAndTipsNameTheControls) {
  Mode(ID_DICT_MODE_DICTIONARY_THESAURUS);
  dict->LookUpWord("run", 1, -1, nullptr);
  ui::PumpUntilIdle();
  boxes.Clear();
  ASSERT_EQ(dict->ThesaurusList().GetCount(), 2);
  dict->ThesaurusList().SetCurSel(1);
  dict->SynonymsPanel().List().ResetContent();
  dict->SendMessage(WM_FONTSCHANGED);
  EXPECT_EQ(dict->ThesaurusList().GetCount(), 2);
  EXPECT_EQ(dict->ThesaurusList().GetCurSel(), 0);  // the first sense again, its synonyms shown
  EXPECT_GT(dict->SynonymsPanel().List().GetCount(), 0);
  EXPECT_TRUE(boxes.all().empty());

  // The screen's menu is the frame's while it is active.
  EXPECT_EQ(::GetMenuItemCount(::GetMenu(Frame()->m_hWnd)), 7);

  // A control's tip is the string of its id; a control without one has none.
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = nullptr;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(dict->Button(IDC_DICT_LOOK_UP)->m_hWnd);
  info.hdr.code = TTN_NEEDTEXTA;
  info.uFlags = TTF_IDISHWND;
  dict->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_STREQ(info.lpszText, "Look Up");
  // The screen buttons share the other screens' tips, one string per id.
  NMTTDISPINFOA shared = info;
  shared.lpszText = nullptr;
  shared.hdr.idFrom = reinterpret_cast<UINT_PTR>(dict->Button(IDC_DICT_GO_BROWSER)->m_hWnd);
  dict->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&shared));
  ASSERT_NE(shared.lpszText, nullptr);
  EXPECT_STREQ(shared.lpszText, "Encyclopedia Mode");
  NMTTDISPINFOA none = info;
  none.lpszText = nullptr;
  none.hdr.idFrom = reinterpret_cast<UINT_PTR>(dict->Display().m_hWnd);
  dict->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&none));
  EXPECT_EQ(none.lpszText, nullptr);
}

}  // namespace
}  // namespace dicttest
