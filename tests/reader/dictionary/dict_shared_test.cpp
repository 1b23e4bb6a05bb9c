// The dictionary screen's shared windows: the contents, Smart Search, Boolean
// search and bookmark windows of modes 5 to 8, the results window, the roads
// back to the screen, the spelling check of search terms, adding entries to
// a folder and the articles related to the shown entry.
#include "dict_fixture.h"
#include "messages/window_messages.h"
#include "panels/folder_dlgs.h"
#include "reader/dictionary_ids.h"

namespace dicttest {
namespace {

CRect RectIn(CWnd& child, CWnd& parent) {
  CRect rect;
  child.GetWindowRect(&rect);
  parent.ScreenToClient(&rect);
  return rect;
}

bool Open(CWnd& window) { return window.GetSafeHwnd() != nullptr && ::IsWindow(window.GetSafeHwnd()); }

// Presses OK in the folder chooser when it comes up.
class FolderChooserOk {
 public:
  FolderChooserOk() {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 20, &FolderChooserOk::Tick);
  }
  ~FolderChooserOk() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  int shown = 0;

 private:
  static BOOL CALLBACK Find(HWND window, LPARAM found) {
    auto* dialog = dynamic_cast<CNewFolderDlg*>(CWnd::FromHandlePermanent(window));
    if (dialog == nullptr || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<CNewFolderDlg**>(found) = dialog;
    return FALSE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    CNewFolderDlg* dialog = nullptr;
    if (current_ == nullptr) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FolderChooserOk::Find, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    ++current_->shown;
    dialog->SendMessage(WM_COMMAND, IDOK, 0);
  }
  static inline FolderChooserOk* current_ = nullptr;
  UINT_PTR timer_ = 0;
};

TEST_F(DictScreen, EachSharedModeOpensItsWindowOverTheLeftColumn) {
  const CRect column = dict->SharedRect();
  EXPECT_EQ(column.top, dict->WordBox().top);
  EXPECT_EQ(column.bottom, Place(0).bottom);

  Command(IDC_DICT_BOOLEAN_SEARCH);
  EXPECT_EQ(dict->GetMode(), dict::kBooleanSearch);
  ASSERT_TRUE(Open(dict->BooleanWindow()));
  EXPECT_EQ(RectIn(dict->BooleanWindow(), *dict), column);
  EXPECT_FALSE(dict->HeadwordsPanel().IsOpen());

  // F6 moves the focus from the screen into the open shared window.
  dict->SetFocus();
  Command(ID_NEXT_PANE);
  const HWND focus = ::GetFocus();
  EXPECT_TRUE(focus == dict->BooleanWindow().m_hWnd || ::IsChild(dict->BooleanWindow().m_hWnd, focus));

  Command(IDC_DICT_SMART_SEARCH);
  EXPECT_EQ(dict->GetMode(), dict::kSmartSearch);
  EXPECT_TRUE(Open(dict->SmartSearchWindow()));
  EXPECT_FALSE(Open(dict->BooleanWindow()));

  // Contents and bookmarks go through the frame's flags and the active view.
  Command(IDC_DICT_CONTENTS);
  EXPECT_EQ(dict->GetMode(), dict::kContents);
  EXPECT_TRUE(Open(dict->SubjectsWindow()));
  EXPECT_TRUE(Frame()->IsContentsOpen());
  EXPECT_FALSE(Open(dict->SmartSearchWindow()));
  // Asking again refreshes the open window rather than making another.
  const HWND subjects = dict->SubjectsWindow().m_hWnd;
  Command(IDC_DICT_CONTENTS);
  EXPECT_EQ(dict->SubjectsWindow().m_hWnd, subjects);

  Command(IDC_DICT_BOOKMARKS);
  EXPECT_EQ(dict->GetMode(), dict::kBookmarks);
  ASSERT_TRUE(Open(dict->BookmarkWindow()));
  EXPECT_EQ(dict->BookmarkWindow().GetSkin(), kSkinDictionary);
  EXPECT_FALSE(Open(dict->SubjectsWindow()));
  EXPECT_FALSE(Frame()->IsContentsOpen());

  // The pronunciation key takes the column from the shared window.
  Command(ID_DICT_PRONUNCIATION_KEY);
  EXPECT_TRUE(dict->KeyPanel().IsOpen());
  EXPECT_FALSE(Open(dict->BookmarkWindow()));
  EXPECT_FALSE(Frame()->IsBookmarksOpen());
  Command(IDC_DICT_BOOKMARKS);
  ASSERT_TRUE(Open(dict->BookmarkWindow()));
  EXPECT_FALSE(dict->KeyPanel().IsOpen());

  // A word mode closes every shared window; the word controls come back.
  Mode(ID_DICT_MODE_DICTIONARY);
  EXPECT_FALSE(Open(dict->BookmarkWindow()));
  EXPECT_FALSE(Frame()->IsBookmarksOpen());
  EXPECT_TRUE(dict->WordEdit().IsWindowVisible());
  EXPECT_TRUE(dict->HeadwordsPanel().IsOpen());
}

TEST_F(DictScreen, ResultsOpenInTheSearchModeOfTheirKindAndShowEntriesHere) {
  const int zebra = apptest::Article("Zebra");
  CBitString set(GetVeldrixApp().GetArticleCount(), TRUE);
  set.SetBit(zebra, TRUE, FALSE, 0, 0);
  set.SetBit(apptest::Article("Comet"), TRUE, FALSE, 0, 0);
  Frame()->AddQueryToHistory(set, "zebra OR comet", 0, nullptr, TRUE);
  dict->SendMessage(WM_SHOWRESULTS, 1, 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(dict->GetMode(), dict::kBooleanSearch);
  ASSERT_TRUE(Open(dict->ResultsWindow()));
  EXPECT_FALSE(Open(dict->BooleanWindow()));
  EXPECT_EQ(RectIn(dict->ResultsWindow(), *dict), dict->SharedRect());
  EXPECT_EQ(dict->ResultsWindow().List().GetArticles().GetSetCount(), 2);
  // The same query again only refreshes the open window: the window stays.
  ASSERT_TRUE(::SetPropA(dict->ResultsWindow().GetSafeHwnd(), "refreshed", reinterpret_cast<HANDLE>(1)));
  dict->SendMessage(WM_SHOWRESULTS, 0, 0);
  ASSERT_TRUE(Open(dict->ResultsWindow()));
  EXPECT_NE(::RemovePropA(dict->ResultsWindow().GetSafeHwnd(), "refreshed"), nullptr);

  // A dictionary entry chosen there is shown in the screen's display.
  dict->ShowSearchEntry(zebra);
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(zebra));
  dict->ShowItem(apptest::Article("Comet"));
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(apptest::Article("Comet")));

  // The frame's close of the results windows closes this one.
  Frame()->CloseResultsWindows();
  EXPECT_FALSE(Open(dict->ResultsWindow()));

  // A ranked result belongs to Smart Search.
  Frame()->AddQueryToHistory(set, "zebra", 1, nullptr, FALSE);
  dict->SendMessage(WM_SHOWRESULTS, 1, 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(dict->GetMode(), dict::kSmartSearch);
  EXPECT_TRUE(Open(dict->ResultsWindow()));
  EXPECT_FALSE(Open(dict->SmartSearchWindow()));
}

TEST_F(DictScreen, SearchTermsAreCheckedAndCorrectedInPlace) {
  Mode(ID_DICT_MODE_ENGLISH_FRENCH);
  {
    SpellAnswers answers({{CSpellAltDlg::kChange, "house"}});
    Type("hose OR zebra");
    EXPECT_EQ(dict->WordSearch().CheckSearchTerms(), 1);
    ASSERT_FALSE(answers.words().empty());
    EXPECT_EQ(answers.words()[0], "hose");  // the known "zebra" asks nothing
    EXPECT_EQ(std::count(answers.words().begin(), answers.words().end(), "zebra"), 0);
    EXPECT_STREQ(dict->GetWord(), "house OR zebra");
  }
  {
    // Stopping the check runs no search.
    SpellAnswers answers(std::vector<SpellAnswers::Step>{{CSpellAltDlg::kCancel}});
    Type("hose");
    EXPECT_EQ(dict->WordSearch().CheckSearchTerms(), 0);
    EXPECT_EQ(answers.words().size(), 1u);
    EXPECT_STREQ(dict->GetWord(), "hose");
  }
  // No term: no check and no search.
  Type(" ");
  EXPECT_EQ(dict->WordSearch().CheckSearchTerms(), 0);
}

TEST_F(DictScreen, AddArticleAndAddSelectedArticlesAskForTheFolder) {
  CVeldrixApp& app = GetVeldrixApp();
  ASSERT_GT(app.m_folders.GetSize(), 0);
  const int zebra = apptest::Article("Zebra");
  dict->ShowEntry(static_cast<DWORD>(zebra));
  {
    FolderChooserOk chooser;
    Command(ID_DICT_ADD_ARTICLE);
    EXPECT_EQ(chooser.shown, 1);
  }
  EXPECT_TRUE(app.IsInBookmarkFolder(zebra));

  // The listed articles of the open results window.
  const int aardvark = apptest::Article("Aardvark");
  EXPECT_FALSE(app.IsInBookmarkFolder(aardvark));
  CBitString set(app.GetArticleCount(), TRUE);
  set.SetBit(aardvark, TRUE, FALSE, 0, 0);
  Frame()->AddQueryToHistory(set, "aardvark", 0, nullptr, TRUE);
  dict->SendMessage(WM_SHOWRESULTS, 1, 0);
  ui::PumpUntilIdle();
  ASSERT_TRUE(Open(dict->ResultsWindow()));
  {
    FolderChooserOk chooser;
    Command(ID_DICT_ADD_SELECTED);
    EXPECT_EQ(chooser.shown, 1);
  }
  EXPECT_TRUE(app.IsInBookmarkFolder(aardvark));
}

TEST_F(DictScreen, TheOpenBookmarkListFollowsFolderChanges) {
  Command(IDC_DICT_BOOKMARKS);
  CBookmarkDlg& list = dict->BookmarkWindow();
  ASSERT_TRUE(Open(list));
  list.FolderList().SetCurSel(0);
  list.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list.FolderList().m_hWnd));
  const int before = list.ArticleList().GetArticles().GetSetCount();
  GetVeldrixApp().SetInFolder(0, apptest::Article("Zebra"), TRUE);
  ui::PumpUntilIdle();
  EXPECT_EQ(list.ArticleList().GetArticles().GetSetCount(), before + 1);
  EXPECT_TRUE(list.ArticleList().GetArticles().Test(apptest::Article("Zebra")));
}

TEST_F(DictScreen, RelatedToEntryOpensTheRelatedArticlesAsResults) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Zebra")));
  Command(ID_DICT_RELATED_ENTRY);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles related to the current article."}));
  EXPECT_FALSE(Open(dict->ResultsWindow()));

  boxes.Clear();
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Comet")));
  Command(ID_DICT_RELATED_ENTRY);
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(apptest::Article("Astronomy")));
  EXPECT_EQ(Frame()->Queries().GetCurrentQuery().GetSetCount(), 1);
  EXPECT_EQ(dict->GetMode(), dict::kSmartSearch);
  EXPECT_TRUE(Open(dict->ResultsWindow()));
}

}  // namespace
}  // namespace dicttest
