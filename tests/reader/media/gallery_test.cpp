// The media gallery, its media-by-subject panel and the home screen on the
// sample content: the first item, pictures and movies with their buttons,
// stepping and wrapping, hot spots and the back list, the slide show's
// selection, the Bookmark menu, the print commands' states, the panel's
// subjects and filters, and the intro with its dissolve and buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "browser/browser.h"
#include "core/bookmarks.h"
#include "core/media_library.h"
#include "core/reader_messages.h"
#include "home/splash_view.h"
#include "media/gallery/picture_view.h"
#include "media/media_logic.h"
#include "media_fixture.h"
#include "panels/article_list_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels_test_owner.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"

namespace mediatest {
namespace {

using apptest::App;
using apptest::Article;

class EnableRecorder : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    enabled = bOn;
    m_bEnableChanged = TRUE;
  }
  BOOL enabled = TRUE;
};

BOOL Enabled(CCmdTarget* target, UINT id) {
  EnableRecorder ui;
  ui.m_nID = id;
  ui.DoUpdate(target, FALSE);
  return ui.enabled;
}

CString MenuText(CMenu& menu, UINT id) {
  CString text;
  menu.GetMenuString(id, text, MF_BYCOMMAND);
  return text;
}

class Gallery : public MediaScreens {
 protected:
  CViewPicture* Open() {
    StartWithMedia();
    if (!Frame()->ShowMedia()) return nullptr;
    ui::PumpUntilIdle();
    return dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  }
  void Show(CViewPicture* view, const std::string& title) {
    view->GoToItem(ItemOf(title), 0);
    ui::PumpUntilIdle();
  }
  CFolder* AddFolder(const char* name, int articles) {
    auto* folder = new CFolder(App().GetArticleCount());
    folder->m_name = name;
    for (int a = 1; a <= articles; ++a) folder->m_articles.SetBit(a);
    App().m_folders.Add(folder);
    return folder;
  }
};

TEST_F(Gallery, TheFirstOpeningShowsTheFirstItemOfTheSmallSampleAndAPictureItemShowsItsCaption) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  // The sample's gallery has fewer than 562 items: it opens on its first.
  EXPECT_EQ(view->GetCurrentItem(), 0);
  EXPECT_TRUE(::IsWindow(view->GetPictureWindow().m_hWnd));
  EXPECT_EQ(view->GetTitle(), CString("The night sky"));
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(::GetMenu(Frame()->m_hWnd), view->GetMenu().m_hMenu);

  Show(view, "Comet");
  EXPECT_FALSE(view->IsMovieCurrent());
  ASSERT_TRUE(::IsWindow(view->GetPictureWindow().m_hWnd));
  EXPECT_EQ(view->GetPictureWindow().GetParent(), &view->GetMediaFrame());
  EXPECT_EQ(view->GetTitle(), CString("A comet's tail"));
  CString caption;
  view->GetCaptionWindow().GetWindowText(caption);
  EXPECT_EQ(caption, CString("The tail points away from the Sun."));
  EXPECT_TRUE(view->GetButton(IDC_MEDIA_CAPTION_BUTTON).IsWindowEnabled());
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_ADD_ARTICLE), CString("Add \"A comet's tail\""));

  // The caption opens above the frame and closes again.
  EXPECT_FALSE(view->GetCaptionWindow().IsWindowVisible());
  Command(view, ID_MEDIA_CAPTION);
  EXPECT_TRUE(view->GetCaptionWindow().IsWindowVisible());
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_CAPTION), CString("Hide &Caption"));
  CRect captionRect, frameRect;
  view->GetCaptionWindow().GetWindowRect(&captionRect);
  view->GetMediaFrame().GetWindowRect(&frameRect);
  EXPECT_EQ(frameRect.top, captionRect.bottom);
  // White bands above and below, the black frame between, the picture in it.
  view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const ui::Picture shot = ui::Capture(Frame()->m_hWnd, true);
  ui::SavePng(shot, "media_gallery_comet");
  const ui::Picture screen = ui::Capture(view->m_hWnd);
  CRect client;
  view->GetClientRect(&client);
  EXPECT_EQ(screen.At(client.right - 3, 30), RGB(255, 255, 255));
  EXPECT_EQ(screen.At(client.right - 3, client.bottom - 3), RGB(255, 255, 255));
  CRect frameClient = frameRect;
  view->ScreenToClient(&frameClient);
  EXPECT_EQ(screen.At(frameClient.left + 2, frameClient.bottom - 3), RGB(0, 0, 0));
  Command(view, ID_MEDIA_CAPTION);
  EXPECT_FALSE(view->GetCaptionWindow().IsWindowVisible());
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_CAPTION), CString("Show &Caption"));

  // The background picture has no caption: the caption command is disabled.
  Show(view, "Background Pictures");
  EXPECT_FALSE(view->GetButton(IDC_MEDIA_CAPTION_BUTTON).IsWindowEnabled());
}

TEST_F(Gallery, AMovieItemPlaysAndShowsItsSoundButtonDisabled) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Show(view, "Volcano");
  EXPECT_TRUE(view->IsMovieCurrent());
  CMovieWnd& movie = view->GetMovieWindow();
  ASSERT_TRUE(movie.HasMovie());
  EXPECT_TRUE(movie.IsStarted());  // the gallery posts the play message
  CODButton& sound = view->GetButton(IDC_MEDIA_SOUND);
  EXPECT_TRUE(sound.IsWindowVisible());
  EXPECT_FALSE(sound.IsWindowEnabled());
  EXPECT_FALSE(view->GetButton(IDC_MEDIA_LEGEND).IsWindowVisible());
  EXPECT_FALSE(view->GetButton(IDC_MEDIA_HOW_VR).IsWindowVisible());
  EXPECT_EQ(view->GetPalette(), nullptr);
  // Leaving the screen stops the movie.
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  EXPECT_FALSE(movie.IsStarted());
  EXPECT_EQ(movie.GetRate(), 0);
}

TEST_F(Gallery, NextOnTheLastItemShowsTheFirstAndPreviousOnTheFirstShowsTheLast) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  const int count = App().m_multBits.GetSetCount();
  ASSERT_GE(count, 3);
  view->GoToItem(count - 1, 0);
  ui::PumpUntilIdle();
  Command(view, ID_MEDIA_FORWARD);
  EXPECT_EQ(view->GetCurrentItem(), 0);
  Command(view, ID_MEDIA_REWIND);
  EXPECT_EQ(view->GetCurrentItem(), count - 1);
  Command(view, ID_MEDIA_REWIND);
  EXPECT_EQ(view->GetCurrentItem(), count - 2);
  // Each step went on the back list; Back walks it in reverse.
  Command(view, ID_MEDIA_BACK);
  EXPECT_EQ(view->GetCurrentItem(), count - 1);
  Command(view, ID_MEDIA_BACK);
  EXPECT_EQ(view->GetCurrentItem(), 0);
}

TEST_F(Gallery, AHotSpotShowsItsItemAndBackReturnsToThePicture) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  while (view->GetBackList().GetSize() > 0) Command(view, ID_MEDIA_BACK);
  EXPECT_FALSE(view->GetButton(IDC_MEDIA_BACK).IsWindowEnabled());
  Show(view, "Comet");
  const int comet = view->GetCurrentItem();
  const int depth = view->GetBackList().GetSize();
  // The eruption's area of the comet picture.
  view->GetPictureWindow().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 6));
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Volcano"));
  EXPECT_EQ(view->GetBackList().GetSize(), depth + 1);
  EXPECT_TRUE(view->GetButton(IDC_MEDIA_BACK).IsWindowEnabled());
  Command(view, ID_MEDIA_BACK);
  EXPECT_EQ(view->GetCurrentItem(), comet);
  // A hot spot of a picture no longer shown is not followed.
  view->SendMessage(WM_REGIONCLICK, 0, 12345);
  EXPECT_EQ(view->GetCurrentItem(), comet);
}

TEST_F(Gallery, GoToArticleOpensTheEncyclopediaAndAnItemWithoutArticlesStays) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  // The background picture links no article: the gallery stays.
  Show(view, "Background Pictures");
  Command(view, ID_MEDIA_GO_ARTICLE);
  EXPECT_EQ(Frame()->GetActiveView(), view);
  Show(view, "Comet");
  Frame()->SetContentsOpen();
  Command(view, ID_MEDIA_GO_ARTICLE);
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
  EXPECT_FALSE(Frame()->IsContentsOpen());
  // Leaving stopped the slide show and the sound; coming back shows the same item.
  ASSERT_TRUE(Frame()->ShowMedia());
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Comet"));
  EXPECT_TRUE(view->GetPictureWindow().IsWindowVisible());
}

TEST_F(Gallery, GoToArticleShowsOneArticleAloneAndListsSeveral) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  // The comet's picture links one article: it is shown alone.
  Show(view, "Comet");
  Command(view, ID_MEDIA_GO_ARTICLE);
  browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Solar System"));
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::ArticleList));
  // The night sky links two: the article list holds both, the first shown.
  ASSERT_TRUE(Frame()->ShowMedia());
  Show(view, "Astronomy");
  Command(view, ID_MEDIA_GO_ARTICLE);
  ASSERT_TRUE(browser->IsToolOpen(ToolPanel::ArticleList));
  auto* list = dynamic_cast<CArticleListDlg*>(browser->GetToolWindow(ToolPanel::ArticleList));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ArticleList().GetArticles().GetSetCount(), 2);
  EXPECT_TRUE(list->ArticleList().GetArticles().Test(Article("Black Hole")));
  EXPECT_EQ(browser->GetCurrentArticle(), list->ArticleList().GetArticles().NextSet(1));
}

// The shared search windows float over the frame at the tool-window
// rectangle; their entries open on the screen that owns them.
TEST_F(Gallery, ABooleanQueryFromTheGalleryListsResultsThatOpenOnTheirScreens) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_MEDIA_BOOLEAN);
  auto* panel = dynamic_cast<CSearchDlg*>(view->GetToolWindow(ToolPanel::Boolean));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetParent(), Frame());
  EXPECT_FALSE(panel->GetStyle() & WS_CHILD);
  // The tool rectangle is kept in screen coordinates.
  const auto clientOnScreen = [](CWnd& window) {
    CRect client;
    window.GetClientRect(&client);
    window.ClientToScreen(&client);
    return client;
  };
  EXPECT_EQ(clientOnScreen(*panel), view->GetToolRect());
  // Dragged elsewhere and closed by its own Close button, the window leaves
  // its place to the next one.
  CRect window;
  panel->GetWindowRect(&window);
  window.OffsetRect(30, 20);
  panel->MoveWindow(&window);
  const CRect dragged = clientOnScreen(*panel);
  paneltest::Click(*panel, CSearchPanel::kClose);
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetToolRect(), dragged);
  Command(view, ID_MEDIA_BOOLEAN);
  panel = dynamic_cast<CSearchDlg*>(view->GetToolWindow(ToolPanel::Boolean));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(clientOnScreen(*panel), dragged);

  panel->Field(0).SetWindowText("comet");
  panel->SendMessage(WM_COMMAND, MAKEWPARAM(panel->Field(0).GetDlgCtrlID(), EN_CHANGE),
                     reinterpret_cast<LPARAM>(panel->Field(0).GetSafeHwnd()));
  paneltest::Click(*panel, CSearchDlg::kSearch);
  ui::PumpUntilIdle();
  auto* results = dynamic_cast<CResultsDlg*>(view->GetToolWindow(ToolPanel::Results));
  ASSERT_NE(results, nullptr);
  EXPECT_FALSE(::IsWindow(panel->GetSafeHwnd()));
  EXPECT_EQ(clientOnScreen(*results), view->GetToolRect())
      << "the results window takes the Boolean window's place and size";

  // A media item opens here; an encyclopedia article on its screen.
  ASSERT_GE(results->List().SelectArticle(Article("Comet")), 0);
  results->SendMessage(WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Frame()->GetActiveView(), view);
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Comet"));
  Frame()->SaveSearchState();
  EXPECT_EQ(Frame()->GetSearchState().resultsSelection, Article("Comet"));
  Frame()->CloseResultsWindows();
  EXPECT_FALSE(::IsWindow(results->GetSafeHwnd()));
}

TEST_F(Gallery, TheBookmarkListIsTheMediaKindAndAddArticleAsksForItsFolder) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_MEDIA_VIEW_BOOKMARKS);
  auto* list = dynamic_cast<CBookmarkDlg*>(view->GetToolWindow(ToolPanel::Bookmarks));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetSkin(), kSkinMedia);
  EXPECT_FALSE(list->GetStyle() & WS_CHILD);
  Frame()->CloseBookmarkWindows();
  EXPECT_EQ(view->GetToolWindow(ToolPanel::Bookmarks), nullptr);

  Show(view, "Comet");
  const auto ok = [](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); };
  ASSERT_GT(App().m_folders.GetSize(), 0);
  auto& folder = *static_cast<CFolder*>(App().m_folders[0]);
  App().SetInFolder(0, Article("Comet"), FALSE);
  EXPECT_EQ(paneltest::WithDialogSteps({paneltest::Cancel()}, [&] { Command(view, ID_MEDIA_ADD_ARTICLE); }), 1);
  EXPECT_FALSE(folder.m_articles.Test(Article("Comet")));
  EXPECT_EQ(paneltest::WithDialogSteps({ok}, [&] { Command(view, ID_MEDIA_ADD_ARTICLE); }), 1);
  EXPECT_TRUE(folder.m_articles.Test(Article("Comet")));
}

TEST_F(Gallery, PrintCommandsFollowThePanoramaAndTheFolders) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Show(view, "Comet");
  EXPECT_TRUE(Enabled(view, ID_MEDIA_PRINT));
  EXPECT_TRUE(Enabled(view, ID_MEDIA_PRINT_PREVIEW));
  // The volcano's movie taken as a panorama.
  App().m_knvrBits.SetBit(Article("Volcano"));
  Show(view, "Volcano");
  EXPECT_FALSE(Enabled(view, ID_MEDIA_PRINT));
  EXPECT_FALSE(Enabled(view, ID_MEDIA_PRINT_PREVIEW));
  App().m_knvrBits.SetBit(Article("Volcano"), FALSE);

  while (App().m_folders.GetSize() > 0) {
    delete App().m_folders[0];
    App().m_folders.RemoveAt(0);
  }
  EXPECT_FALSE(Enabled(view, ID_MEDIA_PRINT_BOOKMARKS));
  EXPECT_FALSE(Enabled(view, ID_MEDIA_PREVIEW_BOOKMARKS));
  AddFolder("Space", 2);
  EXPECT_TRUE(Enabled(view, ID_MEDIA_PRINT_BOOKMARKS));
  // Add Selected needs an open list window.
  EXPECT_FALSE(Enabled(view, ID_MEDIA_ADD_SELECTED));
  Command(view, ID_MEDIA_SUBJECTS);
  EXPECT_TRUE(Enabled(view, ID_MEDIA_ADD_SELECTED));
}

TEST_F(Gallery, TheBookmarkMenuHoldsTenFoldersOfTenArticlesAndMoreEntries) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  ASSERT_GE(App().GetArticleCount(), 11);
  while (App().m_folders.GetSize() > 0) {
    delete App().m_folders[0];
    App().m_folders.RemoveAt(0);
  }
  AddFolder("First", 11);
  for (int f = 1; f < 10; ++f) AddFolder("Folder", 1);
  AddFolder("Eleventh", 0);
  view->SendMessage(WM_BITSCHANGED, 1, 0);
  CMenu* bookmarks = nullptr;
  CMenu& menu = view->GetMenu();
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    CString name;
    menu.GetMenuString(static_cast<UINT>(i), name, MF_BYPOSITION);
    if (name == "&Bookmark") bookmarks = menu.GetSubMenu(i);
  }
  ASSERT_NE(bookmarks, nullptr);
  // Six fixed items, a separator, ten folders and "more".
  ASSERT_EQ(bookmarks->GetMenuItemCount(), 6 + 1 + 10 + 1);
  EXPECT_EQ(bookmarks->GetMenuItemID(17), static_cast<UINT>(ID_MEDIA_VIEW_BOOKMARKS));
  CMenu* first = bookmarks->GetSubMenu(7);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->GetMenuItemCount(), 11);
  EXPECT_EQ(first->GetMenuItemID(0), static_cast<UINT>(ID_BOOKMARK_FIRST));
  EXPECT_EQ(first->GetMenuItemID(9), static_cast<UINT>(ID_BOOKMARK_FIRST + 9));
  EXPECT_EQ(first->GetMenuItemID(10), static_cast<UINT>(ID_MEDIA_VIEW_BOOKMARKS));
  EXPECT_EQ(bookmarks->GetSubMenu(8)->GetMenuItemID(0), static_cast<UINT>(ID_BOOKMARK_FIRST + 10));
  // Rebuilt, nothing is left over from before.
  view->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(bookmarks->GetMenuItemCount(), 18);
}

TEST_F(Gallery, TheSearchHistoryMenuListsTheQueriesNewestFirstWhenTheScreenOpens) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  CMenu* search = view->GetMenu().GetSubMenu(2);
  ASSERT_NE(search, nullptr);
  EXPECT_TRUE(search->GetMenuState(4, MF_BYPOSITION) & MF_GRAYED);  // no query yet
  CBitString hits(App().GetArticleCount(), FALSE);
  hits.SetBit(Article("Comet"));
  Frame()->AddQueryToHistory(hits, "comet", 2, nullptr, FALSE);
  Frame()->AddQueryToHistory(hits, "tail", 2, nullptr, FALSE);
  ASSERT_TRUE(Frame()->ShowBrowser());
  ASSERT_TRUE(Frame()->ShowMedia());
  ui::PumpUntilIdle();
  search = view->GetMenu().GetSubMenu(2);  // menu wrappers last until idle time
  EXPECT_FALSE(search->GetMenuState(4, MF_BYPOSITION) & MF_GRAYED);
  CMenu* history = search->GetSubMenu(4);
  ASSERT_NE(history, nullptr);
  const int n = Frame()->Queries().GetHistoryCount();
  ASSERT_EQ(history->GetMenuItemCount(), n);
  for (int k = 0; k < n; ++k) {
    EXPECT_EQ(history->GetMenuItemID(k), static_cast<UINT>(ID_HISTORY_FIRST + k));
    CString text;
    history->GetMenuString(static_cast<UINT>(k), text, MF_BYPOSITION);
    EXPECT_EQ(text, Frame()->Queries().GetHistoryEntry(n - 1 - k).label);
  }
  // The second item is the query before the newest: it comes back as the current one.
  const CString older = Frame()->Queries().GetHistoryEntry(n - 2).label;
  view->SendMessage(WM_COMMAND, ID_HISTORY_FIRST + 1);
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame()->Queries().GetCurrentLabel(), older);
}

TEST_F(Gallery, ABookmarkEntryOfAMediaArticleShowsItsItemAndBackLeadsToTheOneBefore) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  while (App().m_folders.GetSize() > 0) {
    delete App().m_folders[0];
    App().m_folders.RemoveAt(0);
  }
  CFolder* folder = AddFolder("Media", 0);
  folder->m_articles.SetBit(Article("Volcano"));
  view->SendMessage(WM_BITSCHANGED, 1, 0);
  Show(view, "Comet");
  Command(view, ID_BOOKMARK_FIRST);
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Volcano"));
  Command(view, ID_MEDIA_BACK);
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Comet"));
}

TEST_F(Gallery, StoppingASlideShowOverTheSubjectPanelsListReturnsToTheWholeGallery) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  CBitString all = App().m_multBits;
  all.And(App().m_allArticles);
  Command(view, ID_MEDIA_SUBJECTS);
  CMediaDlg& panel = view->GetSubjectPanel();
  ASSERT_TRUE(::IsWindow(panel.m_hWnd));
  panel.ToggleFilter(IDC_FILTER_VIDEOS);
  EXPECT_EQ(panel.GetShownSet().GetSetCount(), 1);  // the volcano
  Command(view, ID_MEDIA_SLIDE_SHOW);
  EXPECT_TRUE(view->IsSlideShowRunning());
  EXPECT_EQ(view->GetSelection().GetSetCount(), 1);
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Volcano"));
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_SLIDE_SHOW), CString("Stop &Slide Show"));
  Command(view, ID_MEDIA_SLIDE_SHOW);
  EXPECT_FALSE(view->IsSlideShowRunning());
  EXPECT_EQ(view->GetSelection().GetSetCount(), all.GetSetCount());
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_SLIDE_SHOW), CString("&Slide Show"));
  // Next also stops a running show.
  Command(view, ID_MEDIA_SLIDE_SHOW);
  Command(view, ID_MEDIA_FORWARD);
  EXPECT_FALSE(view->IsSlideShowRunning());
}

TEST_F(Gallery, ASlideShowPlaysAPicturesSoundAndItsTimerStepsOn) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  // Start from the item before the night sky, whose picture has a sound.
  CBitString all = App().m_multBits;
  all.And(App().m_allArticles);
  const int sky = ItemOf("Astronomy");
  const int before = media_logic::PreviousItem(App().m_multBits, all, Article("Astronomy"));
  ASSERT_GE(before, 0);
  view->GoToItem(before, 0);
  ui::PumpUntilIdle();
  sound.calls.clear();
  Command(view, ID_MEDIA_SLIDE_SHOW);
  EXPECT_EQ(view->GetCurrentItem(), sky);
  EXPECT_TRUE(view->IsSoundPlaying());
  ASSERT_FALSE(sound.calls.empty());
  EXPECT_EQ(sound.calls[0], "open " + File("MOONLITE.WAV"));
  EXPECT_EQ(MenuText(view->GetMenu(), ID_MEDIA_SOUND), CString("Stop &Sound"));
  // The timer shows the next item and the sound stops with the item.
  view->SendMessage(WM_TIMER, CViewPicture::SlideTimer);
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetCurrentItem(), media_logic::NextItem(App().m_multBits, all, Article("Astronomy")));
  EXPECT_TRUE(view->IsSlideShowRunning());
  EXPECT_FALSE(view->IsSoundPlaying());
  EXPECT_EQ(sound.calls.back(), "close");
}

TEST_F(Gallery, ThePanelsFiltersNarrowItsSubjectsAndShowingATitleCollapsesIt) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_MEDIA_SUBJECTS);
  CMediaDlg& panel = view->GetSubjectPanel();
  ASSERT_TRUE(::IsWindow(panel.m_hWnd));
  EXPECT_TRUE(panel.IsExpanded());
  const CBitString& subjects = panel.GetSubjectSet();
  EXPECT_EQ(panel.GetShownSet().GetSetCount(), subjects.GetSetCount());
  panel.ToggleFilter(IDC_FILTER_VIDEOS);
  panel.ToggleFilter(IDC_FILTER_MAPS);
  CBitString expected = App().m_videoBits;
  expected.Or(App().m_animBits);
  expected.Or(App().m_mapBits);
  CBitString narrowed = subjects;
  narrowed.And(expected);
  EXPECT_EQ(panel.GetShownSet().GetSetCount(), narrowed.GetSetCount());
  for (int a = 1; a <= App().GetArticleCount(); ++a) EXPECT_EQ(panel.GetShownSet().Test(a), narrowed.Test(a)) << a;
  panel.ToggleFilter(IDC_FILTER_VIDEOS);
  panel.ToggleFilter(IDC_FILTER_MAPS);
  EXPECT_EQ(panel.GetShownSet().GetSetCount(), subjects.GetSetCount());

  // All media together with another subject is all media.
  CSkinListBox& list = panel.GetSubjects();
  ASSERT_GE(list.GetCount(), 2);
  list.SetSel(0, TRUE);
  list.SetSel(1, TRUE);
  list.SetCaretIndex(1);
  panel.RecomputeSubjects();
  CBitString all = App().m_multBits;
  all.And(App().m_allArticles);
  EXPECT_EQ(panel.GetSubjectSet().GetSetCount(), all.GetSetCount());
  // One subject alone: its media.
  list.SetSel(0, FALSE);
  panel.RecomputeSubjects();
  EXPECT_LT(panel.GetSubjectSet().GetSetCount(), all.GetSetCount());
  EXPECT_GT(panel.GetSubjectSet().GetSetCount(), 0);
  // A caret on an unselected row leaves the list as it was.
  const int before = panel.GetSubjectSet().GetSetCount();
  list.SetSel(0, FALSE);
  list.SetCaretIndex(0);
  panel.RecomputeSubjects();
  EXPECT_EQ(panel.GetSubjectSet().GetSetCount(), before);

  ASSERT_GE(panel.GetTitles().SelectArticle(Article("Comet")), 0);
  panel.ShowTitle();
  ui::PumpUntilIdle();
  EXPECT_FALSE(panel.IsExpanded());
  EXPECT_EQ(view->GetCurrentItem(), ItemOf("Comet"));
  EXPECT_EQ(settings.Get(InstallationOptions, "ExpandMedia"), "0");
  // Closing it leaves its place for the next tool window.
  panel.DestroyWindow();
  EXPECT_EQ(view->GetToolRect().Width(), panel.GetCollapsedWidth());
}

using Home = MediaScreens;

TEST_F(Home, WithoutTheIntroTheButtonsAppearAtOnce) {
  movies.installed = media.installed = true;
  settings.Set(InstallationOptions, "ShowIntro", "0");
  ASSERT_TRUE(Start());
  auto* home = dynamic_cast<CSplash*>(Frame()->GetScreen(Screen::Home));
  ASSERT_NE(home, nullptr);
  EXPECT_TRUE(home->IsIntroDone());
  EXPECT_EQ(home->GetButtonsShown(), CSplash::ButtonCount);
  for (int i = 0; i < CSplash::ButtonCount; ++i) EXPECT_TRUE(home->GetButton(i).IsWindowVisible()) << i;
  EXPECT_FALSE(home->IsTimerRunning(CSplash::DelayTimer));
  EXPECT_FALSE(home->IsTimerRunning(CSplash::ButtonTimer));
  EXPECT_EQ(::GetMenu(Frame()->m_hWnd), nullptr);
  // The buttons stand one under the other at x0 + 500 from y0 + 287.
  CRect first, second;
  home->GetButton(0).GetWindowRect(&first);
  home->GetButton(1).GetWindowRect(&second);
  home->ScreenToClient(&first);
  home->ScreenToClient(&second);
  EXPECT_EQ(first.TopLeft(), CPoint(home->GetOrigin().x + 500, home->GetOrigin().y + 287));
  EXPECT_EQ(second.top, first.bottom + 1);
}

TEST_F(Home, AKeyDuringTheIntroSkipsTheDissolveAndTheButtonsStillArriveOneByOne) {
  movies.installed = media.installed = true;
  settings.Set(InstallationOptions, "ShowIntro", "1");
  ASSERT_TRUE(Start());
  auto* home = dynamic_cast<CSplash*>(Frame()->GetScreen(Screen::Home));
  ASSERT_NE(home, nullptr);
  ASSERT_FALSE(home->IsIntroDone());
  ASSERT_TRUE(home->GetMovie().IsStarted());
  EXPECT_EQ(home->GetButtonsShown(), 0);
  CRect movie;
  home->GetMovie().GetWindowRect(&movie);
  home->ScreenToClient(&movie);
  EXPECT_EQ(movie.TopLeft(), CPoint(home->GetOrigin().x + 139, home->GetOrigin().y + 14));

  MSG key = {home->m_hWnd, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
  EXPECT_TRUE(home->PreTranslateMessage(&key));
  ui::PumpUntilIdle();
  EXPECT_TRUE(home->IsIntroDone());
  EXPECT_TRUE(home->GetDissolveOrder().empty());
  EXPECT_FALSE(::IsWindow(home->GetMovie().m_hWnd));
  EXPECT_TRUE(home->IsTimerRunning(CSplash::DelayTimer));
  // The movie's end after that changes nothing.
  home->SendMessage(WM_MOVIEDONE, 0, 0);
  EXPECT_TRUE(home->GetDissolveOrder().empty());

  home->SendMessage(WM_TIMER, CSplash::DelayTimer);
  EXPECT_FALSE(home->IsTimerRunning(CSplash::DelayTimer));
  EXPECT_TRUE(home->IsTimerRunning(CSplash::ButtonTimer));
  for (int i = 1; i <= CSplash::ButtonCount; ++i) {
    home->SendMessage(WM_TIMER, CSplash::ButtonTimer);
    EXPECT_EQ(home->GetButtonsShown(), i);
    EXPECT_TRUE(home->GetButton(i - 1).IsWindowVisible());
  }
  EXPECT_TRUE(home->IsTimerRunning(CSplash::ButtonTimer));
  home->SendMessage(WM_TIMER, CSplash::ButtonTimer);
  EXPECT_FALSE(home->IsTimerRunning(CSplash::ButtonTimer));

  // After the intro a click leads to the encyclopedia; the home screen steps aside.
  home->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
  EXPECT_EQ(home->GetDlgCtrlID(), 106);  // its own id while another screen holds the pane
  EXPECT_FALSE(home->IsWindowVisible());
}

TEST_F(Home, TheMoviesEndDissolvesThePictureInDrawingEveryCellOnce) {
  movies.installed = media.installed = true;
  settings.Set(InstallationOptions, "ShowIntro", "1");
  ASSERT_TRUE(Start());
  auto* home = dynamic_cast<CSplash*>(Frame()->GetScreen(Screen::Home));
  ASSERT_NE(home, nullptr);
  ASSERT_FALSE(home->IsIntroDone());
  movies.EndMovies();
  home->GetMovie().SendMessage(WM_NULL);  // the movie window notices its end
  ui::PumpUntilIdle();
  ASSERT_TRUE(home->IsIntroDone());
  const CSize size = home->GetPictureSize();
  const std::size_t cells = static_cast<std::size_t>((size.cx / 4) * (size.cy / 4));
  const std::vector<int>& order = home->GetDissolveOrder();
  EXPECT_EQ(order.size(), cells);
  EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), cells);
  EXPECT_FALSE(::IsWindow(home->GetMovie().m_hWnd));
  // The picture is on the screen where the movie was.
  CClientDC dc(home);
  const CPoint origin = home->GetOrigin();
  EXPECT_NE(dc.GetPixel(origin.x + 200, origin.y + 100), RGB(0, 0, 0));
  for (int i = 0; i <= CSplash::ButtonCount; ++i)
    home->SendMessage(WM_TIMER, i == 0 ? CSplash::DelayTimer : CSplash::ButtonTimer);
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "media_home_after_intro");
}

}  // namespace
}  // namespace mediatest

namespace mediatest {
namespace {

INT_PTR CancelPrinting(PRINTDLGA*) { return IDCANCEL; }

// Prints the view's pages into a memory bitmap of the given size; returns
// the number of pages printed and the last page's picture.
int PrintToMemory(CViewPicture* view, CSize size, ui::Picture& last) {
  CClientDC screen(nullptr);
  CDC page;
  page.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, size.cx, size.cy);
  CBitmap* old = page.SelectObject(&bitmap);
  page.FillSolidRect(0, 0, size.cx, size.cy, RGB(255, 255, 255));
  CPrintInfo info;
  view->PrintPages(&page, &info);
  last = ui::CaptureDC(page.GetSafeHdc(), size.cx, size.cy);
  page.SelectObject(old);
  return static_cast<int>(info.m_nCurPage) - 1;
}

class GalleryPrinting : public Gallery {
 protected:
  void SetUp() override {
    Gallery::SetUp();
    AfxSetPrintDialogHook(CancelPrinting);
  }
  void TearDown() override {
    AfxSetPrintDialogHook(nullptr);
    Gallery::TearDown();
  }
};

TEST_F(GalleryPrinting, AnItemPrintsItsPictureOrItsMoviesFrameBetweenHeaderAndFooter) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Show(view, "Astronomy");
  Command(view, ID_MEDIA_PRINT);  // the print dialog is cancelled: the mode stays
  ASSERT_EQ(view->PrintJob().GetKind(), panels::PrintItem);
  ui::Picture page;
  EXPECT_EQ(PrintToMemory(view, CSize(850, 1100), page), 1);
  const int width = page.width;
  auto ink = [&](int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < width; ++x) count += page.At(x, y) != RGB(255, 255, 255) ? 1 : 0;
    return count;
  };
  const int header = ink(0, 150), middle = ink(450, 650), footer = ink(950, 1100);
  EXPECT_GT(header, 0);
  EXPECT_GT(footer, 0);
  EXPECT_GT(middle, 100 * width / 2);  // the stretched picture fills the width
  ui::SavePng(page, "media_printed_item");

  // A movie prints the frame it shows, through the media library's calls in
  // their order; the picture goes afterwards.
  Show(view, "Volcano");
  movies.givesFrames = true;
  movies.calls.clear();
  EXPECT_EQ(PrintToMemory(view, CSize(850, 1100), page), 1);
  EXPECT_GT(page.Count(CRect(0, 450, width, 650), RGB(255, 0, 0)), 100 * width / 2);
  const std::vector<std::int32_t> frame = {media::ControllerTime, media::ControllerMovie, media::MoviePicture,
                                           media::PictureToDib, media::DisposePicture};
  EXPECT_NE(std::search(movies.calls.begin(), movies.calls.end(), frame.begin(), frame.end()), movies.calls.end());
  EXPECT_EQ(movies.disposedPictures, 1);
  // A movie that gives no picture of its frame: the header and footer only.
  movies.givesFrames = false;
  EXPECT_EQ(PrintToMemory(view, CSize(850, 1100), page), 1);
  EXPECT_GT(ink(0, 150), 0);
  EXPECT_EQ(ink(450, 650), 0);
  EXPECT_GT(ink(950, 1100), 0);
}

// The header and the footer go in the print font the job made for the
// printer (Times New Roman of 9 points at its resolution), not in a screen
// font of fixed pixels.
TEST_F(GalleryPrinting, TheHeaderAndFooterAreInThePrintFontOfThePrinter) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Show(view, "Astronomy");
  Command(view, ID_MEDIA_PRINT);  // the print dialog is cancelled: the mode stays
  ui::PrinterPage page(CSize(850, 1100));
  ASSERT_TRUE(page.Print(*view));
  ASSERT_EQ(page.Pages().size(), 1u);
  std::vector<std::string> texts;
  for (const ui::PrinterPage::Text& t : page.Texts()) {
    texts.push_back(t.text);
    EXPECT_STREQ(t.font.lfFaceName, "Times New Roman") << t.text;
    EXPECT_EQ(t.font.lfHeight, -::MulDiv(9, page.GetDeviceCaps(LOGPIXELSY), 72)) << t.text;
    EXPECT_EQ(t.font.lfWeight, FW_NORMAL) << t.text;
  }
  ASSERT_EQ(texts.size(), 5u);  // title, page number, three notice lines
  EXPECT_EQ(texts[1], "Page 1");
  EXPECT_EQ(texts[2], "Any commercial use is strictly forbidden.");
}

TEST_F(GalleryPrinting, TheBookmarkListsPrintButtonPrintsItsFolderHere) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_MEDIA_VIEW_BOOKMARKS);
  auto* list = dynamic_cast<CBookmarkDlg*>(view->GetToolWindow(ToolPanel::Bookmarks));
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->FolderList().GetCount(), 0);
  list->FolderList().SetCurSel(0);
  paneltest::Notify(*list, IDC_FOLDER_LIST, LBN_SELCHANGE);
  paneltest::Click(*list, IDC_PRINT_FOLDER);  // the print dialog is cancelled
  EXPECT_EQ(view->PrintJob().GetFolder(), 0);
  EXPECT_EQ(view->PrintJob().GetKind(), panels::PrintOneFolder);
}

TEST_F(GalleryPrinting, PrintPreviewOfTheItemReplacesTheGalleryOrSaysWhyNot) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  Show(view, "Comet");
  boxes.Clear();
  Command(view, ID_MEDIA_PRINT_PREVIEW);
  CView* active = Frame()->GetActiveView();
  if (active != view) {
    // A preview runs: it is the screen's preview view, and closing it brings the gallery back.
    ASSERT_TRUE(active->IsKindOf(RUNTIME_CLASS(CPreviewView)));
    static_cast<CPreviewView*>(active)->ClosePreview();
    ui::PumpUntilIdle();
    EXPECT_EQ(Frame()->GetActiveView(), view);
  } else {
    // Without a printer the preview cannot start, and the user is told.
    EXPECT_FALSE(boxes.all().empty());
  }
}

TEST_F(GalleryPrinting, AFolderLongerThanAPageGoesOnToFurtherPages) {
  CViewPicture* view = Open();
  ASSERT_NE(view, nullptr);
  while (App().m_folders.GetSize() > 0) {
    delete App().m_folders[0];
    App().m_folders.RemoveAt(0);
  }
  AddFolder("Everything", App().GetArticleCount());
  view->PrintBookmarkFolder(0);
  ASSERT_EQ(view->PrintJob().GetKind(), panels::PrintOneFolder);
  ui::Picture page;
  const int small = PrintToMemory(view, CSize(850, 760), page);
  EXPECT_GT(small, 1);
  EXPECT_TRUE(view->PrintJob().PageStarts().IsEmpty());  // emptied at the end
  const int large = PrintToMemory(view, CSize(850, 3000), page);
  EXPECT_EQ(large, 1);
}

}  // namespace
}  // namespace mediatest
