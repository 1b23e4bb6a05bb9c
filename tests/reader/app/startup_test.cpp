// Start-up in its documented order against the sample content, each failure
// with its message, and the shutdown after a full or a failed start.
#include <filesystem>

#include "app_fixture.h"
#include "core/reader_messages.h"

namespace apptest {
namespace {

const char* const kNoKinora =
    "Kinora for Windows is not installed on your system.\r\nTimeline and Multimedia will be unavailable until\r\n"
    "Kinora for Windows is installed.\r\nDo you want to continue?";

TEST_F(ReaderApp, StartsOnTheSampleWithoutTheMediaLibrary) {
  ASSERT_TRUE(Start());
  CVeldrixApp& app = App();
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text, kNoKinora);
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  EXPECT_FALSE(app.m_bMediaAvailable);
  EXPECT_EQ(media.starts, 0);
  EXPECT_TRUE(app.m_bStarted);
  EXPECT_TRUE(app.m_bDatabasesOpen);
  EXPECT_STREQ(app.m_strWorkingDir, dir.path().c_str());

  // The frame: titled, 640 x 480, the home screen first, the loading dialog gone.
  CMainFrame* frame = Frame();
  ASSERT_NE(frame, nullptr);
  CString title;
  frame->GetWindowText(title);
  EXPECT_STREQ(title, MainWindowTitle);
  CRect window;
  frame->GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 640);
  EXPECT_EQ(window.Height(), 480);
  EXPECT_EQ(frame->GetActiveView(), frame->GetScreen(Screen::Home));
  EXPECT_EQ(app.m_loadingDlg.m_hWnd, nullptr);
  EXPECT_EQ(::FindWindowA(nullptr, MainWindowTitle), frame->m_hWnd);

  // What start-up loaded: the sets, the numbering, the databases, the
  // title indexes, the fonts, the bookmarks of Bookmark.dat.
  const int articles = 17;
  EXPECT_EQ(app.GetArticleCount(), articles);
  EXPECT_EQ(app.m_updateTable.UpdateCount(), 3);
  EXPECT_EQ(app.GetDatabase(1).GetEntryCount(), 14u);
  EXPECT_EQ(app.GetDatabase(6).GetEntryCount(), 3u);
  EXPECT_FALSE(app.m_databases[1].IsOpen());  // the slot that is never opened
  EXPECT_TRUE(app.GetDatabase(1).IsMediaDataOpen());
  EXPECT_EQ(app.m_randomPictures.GetSize(), 1);
  EXPECT_EQ(static_cast<int>(app.m_randomPictures[0]), MainEntry("Background Pictures"));
  EXPECT_FALSE(app.m_allArticles.Test(Article("Background Pictures")));
  EXPECT_TRUE(app.m_allArticles.Test(Article("Comet")));
  EXPECT_TRUE(app.m_allArticles.Test(Article("Sojourner")));
  EXPECT_GT(app.GetLineHeight(), 0);
  EXPECT_NE(app.m_stopWords, nullptr);
  EXPECT_EQ(app.m_buttonImages.GetSize(), IconPairCount);
  EXPECT_TRUE(app.m_bDisplayPictures && app.m_bShowIntro && app.m_bSaveOnExit);
  ASSERT_EQ(app.m_folders.GetSize(), 1);
  EXPECT_STREQ(static_cast<CFolder*>(app.m_folders[0])->m_name, "Space");
  EXPECT_EQ(static_cast<CFolder*>(app.m_folders[0])->m_articles.GetSetCount(), 4);
  ASSERT_EQ(app.m_bookmarks.GetSize(), 2);
  EXPECT_EQ(static_cast<CBookmark*>(app.m_bookmarks[0])->m_article, Article("Mars Pathfinder"));
  EXPECT_EQ(static_cast<CBookmark*>(app.m_bookmarks[1])->m_article, Article("Volcano"));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"setup", "register"}));
  EXPECT_EQ(sound.window, frame->m_hWnd);
  EXPECT_EQ(sound.message, static_cast<UINT>(WM_RAUDIONOTIFY));

  End();
  EXPECT_FALSE(app.m_bDatabasesOpen);
  EXPECT_EQ(app.m_folders.GetSize() + app.m_bookmarks.GetSize(), 0);
  EXPECT_EQ(app.m_buttonImages.GetSize(), 0);
  EXPECT_EQ(sound.calls.back(), "shutdown");
}

TEST_F(ReaderApp, WithTheMediaLibraryItStartsAndEndsIt) {
  media.installed = true;
  ASSERT_TRUE(Start());
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_TRUE(App().m_bMediaAvailable);
  EXPECT_EQ(media.starts, 1);
  EXPECT_EQ(media.entered, 1);
  End();
  EXPECT_EQ(media.exited, 1);
  EXPECT_EQ(media.stops, 1);
}

TEST_F(ReaderApp, NoToTheMediaQuestionEndsAtOnce) {
  boxes.Answer("Do you want to continue?", IDNO);
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_FALSE(App().m_bDatabasesOpen);
  EXPECT_EQ(App().m_nWaitCursorCount, 0);
}

TEST_F(ReaderApp, ASecondStartActivatesTheFirstAndSaysNothing) {
  CWnd running;
  ASSERT_TRUE(running.CreateEx(0, AfxRegisterWndClass(0), MainWindowTitle, WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100),
                               nullptr, 0));
  EXPECT_FALSE(Start());
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(App().m_loadingDlg.m_hWnd, nullptr);
  running.DestroyWindow();
}

TEST_F(ReaderApp, MediaLibraryFailuresEndTheStart) {
  media.installed = true;
  media.startResult = false;
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to initialize the Kinora for Windows."}));
  End();
  EXPECT_EQ(media.exited, 0);

  boxes.Clear();
  media.startResult = true;
  media.enterResult = false;
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to initialize the movies."}));
  EXPECT_EQ(media.stops, 1);  // unloaded at once
  End();
  EXPECT_EQ(media.exited, 0);
  EXPECT_EQ(media.stops, 1);
}

TEST_F(ReaderApp, MissingFilesAndTheirMessages) {
  media.installed = true;
  Remove("Spelhash.dat");
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to load the file Spelhash.dat."}));
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
  End();

  builder::WriteContentSample(dir.path());
  boxes.Clear();
  Remove("Url.bit");  // the 18th of 19
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to load the bit strings."}));
  EXPECT_EQ(App().m_vornBits.GetBitCount(), 17);  // the sets before it were read
  End();

  builder::WriteContentSample(dir.path());
  boxes.Clear();
  Remove("UPDATES.RAM");
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Failed to initialize the small typematic."}));
  End();
  EXPECT_FALSE(App().m_bDatabasesOpen);  // closed again by the shutdown
}

TEST_F(ReaderApp, ATitleIndexWithoutItsBlocksStillStarts) {
  // Only the RAM file of a title index is needed to start; without the DSK
  // file its titles are simply not found.
  media.installed = true;
  Remove("TYPMATIC.DSK");
  ASSERT_TRUE(Start());
  EXPECT_TRUE(boxes.all().empty());
  char title[TitleBufferSize] = "";
  EXPECT_EQ(App().LookupTitle(App().ToInternalArticle(1), title), 0);
}

TEST_F(ReaderApp, AMissingDatabaseClosesTheOnesBefore) {
  media.installed = true;
  Remove("R053F540.DAT");
  EXPECT_FALSE(Start());
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text,
            "The Marovan & World Encyclopedia is unable to open the file R053F540.DAT.\r\nCheck that the Marovan & "
            "World Encyclopedia CD-ROM is in the CD-ROM drive and run the program again.");
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_ICONSTOP | MB_OK));
  for (int n = 1; n <= 6; ++n) EXPECT_FALSE(App().GetDatabase(n).IsOpen()) << n;
  EXPECT_FALSE(App().m_bDatabasesOpen);
  End();

  boxes.Clear();
  builder::WriteSampleSet(dir.path());
  Remove("UPDATES.DAT");
  EXPECT_FALSE(Start());
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"The Marovan & World Encyclopedia is unable to open the file "
                                                     "UPDATES.DAT.\r\nTry to download the file again or copy the "
                                                     "file from your CD-ROM."}));
}

TEST_F(ReaderApp, TheMediaDataFileAsksForTheDisc) {
  media.installed = true;
  Remove("MAROVA.MMD");
  const char* disc = "could not be located in your CD-ROM drive.\r\nTimeline and Multimedia";
  boxes.Answer(disc, IDIGNORE);
  ASSERT_TRUE(Start());
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION));
  // Without the data file the picture pool still comes from the media index.
  EXPECT_FALSE(App().GetDatabase(1).IsMediaDataOpen());
  EXPECT_EQ(App().m_randomPictures.GetSize(), 1);
  End();

  Boxes abort;
  abort.Answer(disc, IDABORT);
  EXPECT_FALSE(Start());
  EXPECT_EQ(abort.all().size(), 1u);
  End();
}

TEST_F(ReaderApp, ShutdownCopesWithAStartThatNeverBegan) {
  App().ExitInstance();
  App().ExitInstance();
  EXPECT_FALSE(App().m_bDatabasesOpen);
}

TEST_F(ReaderApp, LoadingDialogCannotBeClosed) {
  ASSERT_TRUE(App().m_loadingDlg.Create());
  App().m_loadingDlg.SendMessage(WM_COMMAND, IDOK);
  App().m_loadingDlg.SendMessage(WM_COMMAND, IDCANCEL);
  ui::PumpUntilIdle();
  EXPECT_TRUE(::IsWindow(App().m_loadingDlg.m_hWnd));
  App().m_loadingDlg.DestroyWindow();
}

TEST_F(ReaderApp, TimersWithoutAWindowAreNotPreTranslated) {
  MSG timer = {};
  timer.message = WM_TIMER;
  EXPECT_FALSE(App().PreTranslateMessage(&timer));
}

}  // namespace
}  // namespace apptest
