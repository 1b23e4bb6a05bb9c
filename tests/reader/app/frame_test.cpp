// The main frame: screens made on first use and switched (by the menus and
// by every screen's buttons), the media checks, the random background and
// its media item, the query history, closing with the bookmarks saved, new
// fonts passed on to the screens, the sound engine, the updater's start and
// the program's private messages.
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/prefs_dlg.h"
#include "app_fixture.h"
#include "browser/browser.h"
#include "core/reader_messages.h"
#include "dictionary/dict_view.h"
#include "display/display.h"
#include "home/splash_view.h"
#include "media/gallery/picture_view.h"
#include "media/timeline/timeline_view.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"

namespace apptest {
namespace {

class EnableRecorder : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    enabled = bOn;
    m_bEnableChanged = TRUE;
  }
  BOOL enabled = TRUE;
};

BOOL Enabled(CMainFrame* frame, UINT id, BOOL disableIfNoHandler = FALSE) {
  EnableRecorder ui;
  ui.m_nID = id;
  ui.DoUpdate(frame, disableIfNoHandler);
  return ui.enabled;
}

class Frames : public ReaderApp {
 protected:
  void StartWithMedia() {
    media.installed = true;
    ASSERT_TRUE(Start());
  }
  void Command(UINT id) {
    Frame()->SendMessage(WM_COMMAND, id);
    ui::PumpUntilIdle();
  }
};

TEST_F(Frames, ScreensAreMadeOnFirstUseAndSwitched) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = Frame();
  CView* home = frame->GetScreen(Screen::Home);
  ASSERT_TRUE(home && home->IsKindOf(RUNTIME_CLASS(CSplash)));
  EXPECT_EQ(frame->GetScreen(Screen::Browser), nullptr);

  Command(ID_SHOW_BROWSER);
  CView* browser = frame->GetScreen(Screen::Browser);
  ASSERT_TRUE(browser && browser->IsKindOf(RUNTIME_CLASS(CBrowser)));
  EXPECT_EQ(frame->GetActiveView(), browser);
  EXPECT_EQ(browser->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(home->GetDlgCtrlID(), static_cast<int>(ScreenInfo(Screen::Home).childId));
  EXPECT_TRUE(browser->IsWindowVisible());
  EXPECT_FALSE(home->IsWindowVisible());
  EXPECT_EQ(browser->GetDocument(), home->GetDocument());
  CRect client, pane;
  frame->GetClientRect(&client);
  browser->GetWindowRect(&pane);
  EXPECT_EQ(pane.Size(), client.Size());

  Command(ID_SHOW_DICTIONARY);
  CView* dictionary = frame->GetScreen(Screen::Dictionary);
  ASSERT_TRUE(dictionary && dictionary->IsKindOf(RUNTIME_CLASS(CDict)));
  EXPECT_EQ(browser->GetDlgCtrlID(), static_cast<int>(ScreenInfo(Screen::Browser).childId));
  Command(ID_SHOW_BROWSER);
  EXPECT_EQ(frame->GetScreen(Screen::Browser), browser);  // made once
  EXPECT_EQ(frame->GetActiveView(), browser);
  Command(ID_GO_HOME);
  EXPECT_EQ(frame->GetActiveView(), home);
  EXPECT_TRUE(boxes.Texts().size() == 1);  // the start's question only
  // The menus offer every screen's Show command: the frame takes them.
  for (UINT id : {ID_SHOW_BROWSER, ID_SHOW_DICTIONARY, ID_SHOW_MEDIA, ID_SHOW_TIMELINE, ID_SHOW_QUIZ})
    EXPECT_TRUE(Enabled(frame, id, TRUE)) << id;
  ui::SavePng(ui::Capture(frame->m_hWnd, true), "reader_home_screen");
}

TEST_F(Frames, TheCycleOfScreensAndNotFromHome) {
  StartWithMedia();
  CMainFrame* frame = Frame();
  EXPECT_FALSE(Enabled(frame, ID_NEXT_SCREEN));
  EXPECT_FALSE(Enabled(frame, ID_PREVIOUS_SCREEN));
  Command(ID_NEXT_SCREEN);
  EXPECT_EQ(frame->GetActiveView(), frame->GetScreen(Screen::Home));

  Command(ID_SHOW_BROWSER);
  EXPECT_TRUE(Enabled(frame, ID_NEXT_SCREEN));
  const Screen forward[] = {Screen::Dictionary, Screen::Media, Screen::Timeline, Screen::Quiz, Screen::Browser};
  for (Screen screen : forward) {
    Command(ID_NEXT_SCREEN);
    ASSERT_NE(frame->GetScreen(screen), nullptr);
    EXPECT_EQ(frame->GetActiveView(), frame->GetScreen(screen));
  }
  Command(ID_PREVIOUS_SCREEN);
  EXPECT_EQ(frame->GetActiveView(), frame->GetScreen(Screen::Quiz));
  EXPECT_EQ(frame->GetScreen(Screen::Media)->GetDlgCtrlID(), static_cast<int>(ScreenInfo(Screen::Media).childId));
  EXPECT_TRUE(frame->GetScreen(Screen::Media)->GetStyle() & WS_CLIPCHILDREN);
  EXPECT_TRUE(boxes.all().empty());
}

// Each screen's band of buttons, and the home screen's, leads to the screen
// of the button pressed; a band's button of its own screen leaves it shown.
TEST_F(Frames, EveryScreenButtonLeadsToItsScreen) {
  StartWithMedia();
  CMainFrame* frame = Frame();
  for (int from = 0; from < ScreenCount; ++from) {
    const Screen own = static_cast<Screen>(from);
    for (int to = 0; to < ScreenCount; ++to) {
      const Screen target = static_cast<Screen>(to);
      const UINT id = ScreenInfo(target).screenButton;
      if (id == 0) continue;
      if (own == Screen::Home)
        Command(ID_GO_HOME);
      else
        ASSERT_TRUE(frame->ShowScreen(own));
      ui::PumpUntilIdle();
      CView* view = frame->GetActiveView();
      ASSERT_EQ(view, frame->GetScreen(own)) << from;
      CWnd* button = view->GetDlgItem(static_cast<int>(id));
      // The timeline's and the quiz's bands leave their own screen out.
      if (button == nullptr && own == target && (own == Screen::Timeline || own == Screen::Quiz)) continue;
      ASSERT_NE(button, nullptr) << "screen " << from << ", button " << id;
      view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->m_hWnd));
      ui::PumpUntilIdle();
      EXPECT_EQ(frame->GetActiveView(), frame->GetScreen(target)) << "from screen " << from << " to " << to;
    }
  }
  EXPECT_TRUE(boxes.all().empty());
}

TEST_F(Frames, TimelineAndMediaNeedTheMediaLibraryAndTheDisc) {
  ASSERT_TRUE(Start());
  boxes.Clear();
  CMainFrame* frame = Frame();
  EXPECT_FALSE(frame->ShowTimeline());
  EXPECT_FALSE(frame->ShowMedia());
  ASSERT_EQ(boxes.all().size(), 2u);
  EXPECT_EQ(boxes.all()[0].text,
            "Kinora for Windows is not installed on your system.\r\nTimeline will be unavailable until Kinora for "
            "Windows is installed.");
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(boxes.all()[1].text,
            "Kinora for Windows is not installed on your system.\r\nMultimedia will be unavailable until Kinora for "
            "Windows is installed.");
  EXPECT_EQ(frame->GetScreen(Screen::Timeline), nullptr);
  EXPECT_TRUE(frame->ShowQuiz());  // the quiz needs no media
  End();

  // With the library but without the disc: Retry tries again, Cancel gives up.
  media.installed = true;
  const builder::Bytes disc = builder::BuildContentSample().files.at("MAROVA.MMD");
  Remove("MAROVA.MMD");
  boxes.Answer("Timeline and Multimedia", IDIGNORE);
  ASSERT_TRUE(Start());
  boxes.Clear();
  EXPECT_FALSE(Frame()->ShowMedia());
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text,
            "The Marovan Encyclopedia CD-ROM could not be located in your CD-ROM drive.\r\nMultimedia will be "
            "unavailable until The Marovan Encyclopedia CD-ROM has been inserted into your CD-ROM drive.");
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONSTOP));
  dir.Write("MAROVA.MMD", std::string(disc.begin(), disc.end()));  // the disc is back
  Boxes retry;
  retry.Answer("Timeline will be unavailable", IDRETRY);
  EXPECT_TRUE(Frame()->ShowTimeline());
  EXPECT_TRUE(retry.all().empty());
}

TEST_F(Frames, TheBackgroundChangesAtMostOnceAMinuteAndLeadsToItsItem) {
  StartWithMedia();
  CVeldrixApp& app = App();
  CMainFrame* frame = Frame();
  EXPECT_FALSE(Enabled(frame, ID_SHOW_BACKGROUND));
  const int width = app.m_backgroundWidth;
  app.m_lastPictureTime = time(nullptr) - 61;
  ASSERT_TRUE(frame->ShowBrowser());
  const int record = frame->GetBackgroundRecord();
  EXPECT_EQ(record, app.m_multBits.IndexOf(Article("Background Pictures")));
  EXPECT_EQ(app.m_backgroundWidth, 80);  // the sample's background picture
  EXPECT_NE(app.m_backgroundWidth, width);
  const time_t changed = app.m_lastPictureTime;
  EXPECT_GE(changed, time(nullptr) - 5);
  ASSERT_TRUE(frame->ShowDictionary());
  ASSERT_TRUE(frame->ShowBrowser());
  EXPECT_EQ(app.m_lastPictureTime, changed);

  // Back.bin names the media item of the picture.
  EXPECT_TRUE(Enabled(frame, ID_SHOW_BACKGROUND));
  Command(ID_SHOW_BACKGROUND);
  auto* media = dynamic_cast<CViewPicture*>(frame->GetScreen(Screen::Media));
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(frame->GetActiveView(), media);
  EXPECT_EQ(media->GetCurrentItem(), app.m_multBits.IndexOf(Article("Astronomy")));

  Remove("Back.bin");
  Command(ID_SHOW_BACKGROUND);
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text, "Unable to open the file Back.bin.");
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
}

TEST_F(Frames, HistoryKeepsTenQueries) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = Frame();
  CBitString set(App().GetArticleCount(), FALSE);
  for (int i = 1; i <= 11; ++i) {
    set.SetBit(i, TRUE, FALSE, 0, 0);
    CStringArray terms;
    terms.Add(CString(std::to_string(i).c_str()));
    frame->AddQueryToHistory(set, CString(("query " + std::to_string(i)).c_str()), i % 3, &terms, FALSE);
  }
  ASSERT_EQ(frame->Queries().GetHistoryCount(), 10);
  EXPECT_STREQ(frame->Queries().GetHistoryEntry(0).label, "Other: query 2");  // the first went
  EXPECT_STREQ(frame->Queries().GetHistoryEntry(9).label, "Other: query 11");
  EXPECT_EQ(frame->Queries().GetCurrentQuery().GetSetCount(), 11);
  EXPECT_TRUE(frame->IsResultsOpen());

  frame->RecallQuery(3);  // query 9, added again as the newest
  EXPECT_EQ(frame->Queries().GetHistoryCount(), 10);
  EXPECT_STREQ(frame->Queries().GetHistoryEntry(9).label, "Boolean: query 9");
  EXPECT_STREQ(frame->Queries().GetCurrentLabel(), "Boolean: query 9");
  EXPECT_STREQ(frame->Queries().GetCurrentTerms()[0], "9");
  EXPECT_EQ(frame->Queries().GetCurrentQuery().GetSetCount(), 9);
  MSG posted;
  EXPECT_TRUE(::PeekMessageA(&posted, frame->GetActiveView()->m_hWnd, WM_SHOWRESULTS, WM_SHOWRESULTS, PM_REMOVE));
  EXPECT_EQ(posted.wParam, 1u);

  frame->CloseResultsWindows();
  EXPECT_FALSE(frame->IsResultsOpen());
  frame->SetContentsOpen();
  frame->GetSearchState().findText = "volc";
  ASSERT_TRUE(frame->ShowBrowser());
  EXPECT_TRUE(::PeekMessageA(&posted, frame->GetActiveView()->m_hWnd, WM_SHOWCONTENTS, WM_SHOWCONTENTS, PM_REMOVE));
  frame->CloseContentsWindows();
  EXPECT_TRUE(frame->GetSearchState().findText.IsEmpty());
}

TEST_F(Frames, ClosingAsksAndSavesTheBookmarks) {
  ASSERT_TRUE(Start());
  boxes.Clear();
  boxes.Answer("Exit the Marovan", IDNO);
  Frame()->SendMessage(WM_CLOSE);
  ui::PumpUntilIdle();
  ASSERT_NE(Frame(), nullptr);  // No keeps the program running
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text, "Exit the Marovan & World Encyclopedia?");
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

  App().AddBookmarkNote(Article("Zebra"), "stripes", 42);
  Boxes yes;
  yes.Answer("Exit the Marovan", IDYES);
  Frame()->SendMessage(WM_CLOSE);
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame(), nullptr);
  End();
  // The next start finds the note.
  ASSERT_TRUE(Start());
  const int at = App().FindBookmark(Article("Zebra"));
  ASSERT_GE(at, 0);
  EXPECT_STREQ(static_cast<CBookmark*>(App().m_bookmarks[at])->m_noteTexts[0], "stripes");
  EXPECT_EQ(App().m_bookmarks.GetSize(), 3);
}

TEST_F(Frames, TheUpdatersCloseRequestSkipsTheQuestionButSaves) {
  ASSERT_TRUE(Start());
  boxes.Clear();
  App().SetInFolder(0, Article("Zebra"), TRUE);
  Frame()->PostMessage(WM_UPDATECLOSE, 0, 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_TRUE(boxes.all().empty());
  End();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(static_cast<CFolder*>(App().m_folders[0])->m_articles.Test(Article("Zebra")));
}

TEST_F(Frames, AFailedSaveIsToldAndTheProgramStillEnds) {
  ASSERT_TRUE(Start());
  boxes.Clear();
  Remove("Bookmark.dat");
  std::filesystem::create_directory(File("Bookmark.dat"));  // cannot be replaced
  Frame()->SendMessage(WM_CLOSE);
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(boxes.Texts(),
            (std::vector<std::string>{"Exit the Marovan & World Encyclopedia?", "Failed to save the bookmarks."}));
  EXPECT_FALSE(std::filesystem::exists(File("Bookmark.dat.new")));
}

TEST_F(Frames, ADamagedBookmarkFileIsToldAndEmptied) {
  std::ofstream(File("Bookmark.dat"), std::ios::binary) << std::string("\x02\x00\x05\x00Spa", 7);
  ASSERT_TRUE(Start());
  EXPECT_EQ(boxes.Texts().back(), "Failed to load the bookmarks.");
  EXPECT_EQ(App().m_folders.GetSize() + App().m_bookmarks.GetSize(), 0);
}

TEST_F(Frames, FolderChangesReachTheScreens) {
  ASSERT_TRUE(Start());
  CMainFrame* frame = Frame();
  ASSERT_TRUE(frame->ShowBrowser() && frame->ShowDictionary());
  ui::PumpUntilIdle();
  MSG posted;
  const int zebra = Article("Zebra");
  App().SetInFolder(0, zebra, TRUE);
  App().SetInFolder(0, zebra, TRUE);  // already in: still told
  int told = 0;
  while (::PeekMessageA(&posted, frame->m_hWnd, WM_BITSCHANGED, WM_BITSCHANGED, PM_REMOVE)) {
    EXPECT_EQ(posted.wParam, 0u);
    ++told;
  }
  EXPECT_EQ(told, 2);
  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(zebra, TRUE, FALSE, 0, 0);
  App().AddToFolder(0, set, FALSE);  // takes it out again
  EXPECT_FALSE(static_cast<CFolder*>(App().m_folders[0])->m_articles.Test(zebra));
  ASSERT_TRUE(::PeekMessageA(&posted, frame->m_hWnd, WM_BITSCHANGED, WM_BITSCHANGED, PM_REMOVE));
  EXPECT_EQ(posted.wParam, 1u);
  frame->SendMessage(WM_BITSCHANGED, 1, 0);
  for (Screen screen : {Screen::Browser, Screen::Dictionary}) {
    EXPECT_TRUE(::PeekMessageA(&posted, frame->GetScreen(screen)->m_hWnd, WM_BITSCHANGED, WM_BITSCHANGED, PM_REMOVE));
    EXPECT_EQ(posted.wParam, 1u);
  }
}

// New article fonts (a font size in the settings, made again by the look;
// a size chosen in the Preferences) reach every screen that shows text,
// which lays it out again at once, and not only when it is next shown.
TEST_F(Frames, NewFontsLayTheTextOfEveryScreenOutAgain) {
  StartWithMedia();
  CMainFrame* frame = Frame();
  ASSERT_TRUE(frame->ShowBrowser());
  dynamic_cast<CBrowser&>(*frame->GetScreen(Screen::Browser)).ShowArticle(Article("Volcano"));
  ASSERT_TRUE(frame->ShowDictionary());
  dynamic_cast<CDict&>(*frame->GetScreen(Screen::Dictionary)).ShowEntry(static_cast<DWORD>(Article("Zebra")));
  ASSERT_TRUE(frame->ShowTimeline());  // it opens on its first event
  ui::PumpUntilIdle();
  constexpr Screen kTextScreens[] = {Screen::Browser, Screen::Dictionary, Screen::Timeline};
  // How high the screen's text is laid out.
  const auto textHeight = [&](Screen screen) {
    const display::TextModel& model = DisplayOf(frame->GetScreen(screen))->Model();
    const int last = model.LineCount() - 1;
    return last < 0 ? 0 : model.LineTop(last) + model.GetLine(last).height;
  };
  int before[std::size(kTextScreens)] = {};
  for (std::size_t i = 0; i < std::size(kTextScreens); ++i) {
    before[i] = textHeight(kTextScreens[i]);
    ASSERT_GT(before[i], 0) << "screen " << static_cast<int>(kTextScreens[i]);
  }

  settings.Set(InstallationOptions, "FontSize", "14");
  App().RecreateArticleFonts(TRUE, nullptr);
  int larger[std::size(kTextScreens)] = {};
  for (std::size_t i = 0; i < std::size(kTextScreens); ++i) {
    larger[i] = textHeight(kTextScreens[i]);
    EXPECT_GT(larger[i], before[i]) << "after the font size, screen " << static_cast<int>(kTextScreens[i]);
  }

  CPrefs prefs(frame);
  ASSERT_TRUE(prefs.Create(IDD_PREFERENCES, frame));
  ASSERT_GE(prefs.m_sizes.SelectString("8"), 0);
  prefs.SaveSettings();
  prefs.DestroyWindow();
  ui::PumpUntilIdle();
  for (std::size_t i = 0; i < std::size(kTextScreens); ++i)
    EXPECT_LT(textHeight(kTextScreens[i]), larger[i])
        << "after the Preferences, screen " << static_cast<int>(kTextScreens[i]);
}

TEST_F(Frames, AWordIsLookedUpOnTheDictionaryScreen) {
  ASSERT_TRUE(Start());
  Frame()->SetContentsOpen();
  Frame()->SetBookmarksOpen();
  Frame()->LookUpWord("zebra");
  auto* dictionary = dynamic_cast<CDict*>(Frame()->GetActiveView());
  ASSERT_NE(dictionary, nullptr);
  EXPECT_STREQ(dictionary->GetWord(), "zebra");
  EXPECT_EQ(dictionary->GetMode(), 3);  // the dictionary mode
  EXPECT_FALSE(Frame()->IsContentsOpen() || Frame()->IsBookmarksOpen() || Frame()->IsResultsOpen());
}

TEST_F(Frames, SoundsPlayThroughTheEngineAndEndOnTheMediaScreen) {
  StartWithMedia();
  CMainFrame* frame = Frame();
  EXPECT_EQ(frame->GetSoundHandle(), 77u);
  sound.calls.clear();
  ASSERT_TRUE(frame->PlaySound(File("CREDIT.WAV").c_str()));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"open " + File("CREDIT.WAV"), "begin"}));
  EXPECT_EQ(App().m_nWaitCursorCount, 1);
  frame->SendMessage(WM_RAUDIONOTIFY, SoundStarted, 77);
  EXPECT_EQ(App().m_nWaitCursorCount, 0);

  // The media screen's sound command plays the item's sound (the picture of
  // the night sky names the sonata's record); the engine's end notification
  // stops it.
  ASSERT_TRUE(frame->ShowMedia());
  auto* media = dynamic_cast<CViewPicture*>(frame->GetScreen(Screen::Media));
  media->GoToItem(App().m_multBits.IndexOf(Article("Astronomy")), 0);
  sound.calls.clear();
  media->OnSound();
  EXPECT_TRUE(media->IsSoundPlaying());
  ASSERT_EQ(sound.calls.size(), 2u);
  EXPECT_EQ(sound.calls[0], "open " + File("MOONLITE.WAV"));
  frame->SendMessage(WM_RAUDIONOTIFY, SoundStarted, 77);
  frame->SendMessage(WM_RAUDIONOTIFY, SoundEnded, 77);
  EXPECT_FALSE(media->IsSoundPlaying());
  EXPECT_EQ(sound.calls.back(), "close");

  // A sound that does not open leaves no wait cursor behind.
  sound.openResult = 3;
  EXPECT_FALSE(frame->PlaySound(File("MISSING.WAV").c_str()));
  EXPECT_EQ(App().m_nWaitCursorCount, 0);
}

// The activation states a window is sent (through a hook on this thread).
class NcActivations {
 public:
  explicit NcActivations(HWND window) {
    watched = window;
    states.clear();
    hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, ::GetCurrentThreadId());
  }
  ~NcActivations() { ::UnhookWindowsHookEx(hook_); }
  static inline HWND watched = nullptr;
  static inline std::vector<WPARAM> states;

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == watched && sent->message == WM_NCACTIVATE) states.push_back(sent->wParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

TEST_F(Frames, TheFloatingPictureWindowFollowsTheFramesActivation) {
  StartWithMedia();
  CMainFrame* frame = Frame();
  ASSERT_TRUE(frame->ShowMedia());
  auto* media = dynamic_cast<CViewPicture*>(frame->GetScreen(Screen::Media));
  media->GoToItem(App().m_multBits.IndexOf(Article("Astronomy")), 0);
  ui::PumpUntilIdle();
  const HWND floating = ::GetDlgItem(media->GetMediaFrame().m_hWnd, IDC_MEDIA_WINDOW);
  ASSERT_NE(floating, nullptr);
  {
    NcActivations seen(floating);
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    frame->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_EQ(NcActivations::states, (std::vector<WPARAM>{FALSE, TRUE}));
  }
  // Only while the media screen is the active one.
  ASSERT_TRUE(frame->ShowBrowser());
  NcActivations seen(floating);
  frame->SendMessage(WM_NCACTIVATE, FALSE);
  EXPECT_TRUE(NcActivations::states.empty());
}

TEST_F(Frames, WithoutTheSoundEngineSoundsAreSilent) {
  sound.setupResult = 1;
  ASSERT_TRUE(Start());
  EXPECT_EQ(boxes.Texts().back(), "Real Audio initialization failed.\r\nThe sounds will not be available.");
  EXPECT_EQ(Frame()->GetSoundHandle(), 0u);
  sound.calls.clear();
  EXPECT_FALSE(Frame()->PlaySound(File("CREDIT.WAV").c_str()));
  EXPECT_TRUE(sound.calls.empty());
}

TEST_F(Frames, TheUpdaterStartsOnlyWhenEverythingIsThere) {
  ASSERT_TRUE(Start());
  boxes.Clear();
  settings.Set(InstallationOptions, "WorkingDirectory", "");
  Command(ID_INTERNET_UPDATES);
  ASSERT_EQ(boxes.all().size(), 1u);  // refused before anything is asked
  EXPECT_EQ(boxes.all()[0].text,
            "You cannot download the Internet Updates because\r\nThe Marovan & World Encyclopedia is not installed "
            "on your hard disk.\r\nPlease install The Marovan & World Encyclopedia on your hard disk\r\nand then "
            "try again.");

  settings.Set(InstallationOptions, "WorkingDirectory", dir.path());
  boxes.Clear();
  boxes.Answer("Would you like to proceed?", IDCANCEL);
  Command(ID_INTERNET_UPDATES);
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));

  // The updater is started through WinExec: its error numbers are told. It
  // starts in the working directory, whatever is current before (a Save As
  // into another folder makes that one current).
  static std::vector<std::string> started;
  static UINT result = 0;
  SetProgramLauncher([](LPCSTR commandLine, UINT show) -> UINT {
    char current[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, current);
    started.push_back(std::string(commandLine) + (show == SW_SHOWNORMAL ? " shown in " : " hidden in ") + current);
    return result;
  });
  TempDir elsewhere;
  ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere.path().c_str()));
  char working[MAX_PATH] = "";
  ASSERT_TRUE(::GetFullPathNameA(dir.path().c_str(), MAX_PATH, working, nullptr));
  std::string expected(working);
  if (expected.size() > 3 && expected.back() == '\\') expected.pop_back();  // as GetCurrentDirectory gives it
  Boxes proceed;
  proceed.Answer("Would you like to proceed?", IDOK);
  result = 2;
  Command(ID_INTERNET_UPDATES);
  ASSERT_EQ(proceed.all().size(), 2u);
  EXPECT_EQ(proceed.all()[1].text, "Error 2: Could not start Internet Updater.");
  EXPECT_EQ(proceed.all()[1].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
  result = 32;  // started
  Command(ID_INTERNET_UPDATES);
  EXPECT_EQ(proceed.all().size(), 3u);
  ASSERT_EQ(started.size(), 2u);
  for (const std::string& start : started)
    EXPECT_STRCASEEQ(start.c_str(), ("REFRESH32.EXE shown in " + expected).c_str());

  // A working directory that is gone starts nothing: the updater would
  // install elsewhere.
  settings.Set(InstallationOptions, "WorkingDirectory", dir.File("gone\\"));
  Command(ID_INTERNET_UPDATES);
  ASSERT_EQ(proceed.all().size(), 5u);
  EXPECT_EQ(proceed.all()[4].text, "Error 2: Could not start Internet Updater.");
  EXPECT_EQ(started.size(), 2u);
  ::SetCurrentDirectoryA(working);
  SetProgramLauncher(nullptr);
}

}  // namespace
}  // namespace apptest
