// The timeline screen on the sample content: the modes and their lists, the
// search window's filters, the article shown, cross references, region
// clicks, and the event copied and saved with its notice.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/prefs_dlg.h"
#include "app_fixture.h"
#include "browser/browser.h"
#include "core/content_file.h"
#include "core/hot_spot.h"
#include "core/reader_messages.h"
#include "dictionary/dict_view.h"
#include "display/display.h"
#include "media/gallery/picture_view.h"
#include "media/timeline/timeline_view.h"
#include "panels/bookmark_dlg.h"
#include "panels_test_owner.h"
#include "reader/dictionary_ids.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"
#include "timeline/timeline_writer.h"

namespace apptest {
namespace {

namespace bt = builder::timeline;

class LabelledSpot : public CHotSpot {
 public:
  explicit LabelledSpot(const char* label) : m_label(label) {}
  BOOL HitTest(int, int, char) override { return FALSE; }
  void Highlight(CDC*) override {}
  CString* GetLabel() override { return &m_label; }

 private:
  CString m_label;
};

class TimelineScreen : public ReaderApp {
 protected:
  CTimeLine* Open() {
    media.installed = true;
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Frame()->ShowTimeline());
    ui::PumpUntilIdle();
    return dynamic_cast<CTimeLine*>(Frame()->GetScreen(Screen::Timeline));
  }
  void Command(CTimeLine* view, UINT id) {
    view->SendMessage(WM_COMMAND, id);
    ui::PumpUntilIdle();
  }
  static int SampleArticle(int event) {
    const bt::Timeline sample = bt::SampleTimeline();
    return Article(Sample().mainTitles[sample.events[static_cast<std::size_t>(event - 1)].entry - 1]);
  }
  static const builder::ContentSample& Sample() {
    static const builder::ContentSample sample = builder::BuildContentSample();
    return sample;
  }
};

TEST_F(TimelineScreen, OpensInCategoriesWithEveryEventAndTheFirstOneShown) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), view);
  EXPECT_EQ(view->GetMode(), timeline::ModeCategories);
  const bt::Timeline sample = bt::SampleTimeline();
  EXPECT_EQ(view->GetData().eventCount, static_cast<int>(sample.events.size()));
  CTimeLineSearchDlg& search = view->GetSearchWindow();
  EXPECT_TRUE(search.IsWindowVisible());
  EXPECT_EQ(search.ListSelector().GetCount(), 1 + static_cast<int>(sample.categories.size()));
  CString first;
  search.ListSelector().GetCurText(first);
  EXPECT_STREQ(first, "All");
  EXPECT_EQ(search.GetListedCount(), static_cast<int>(sample.events.size()));
  ASSERT_NE(search.Events().GetSafeHwnd(), nullptr);
  EXPECT_TRUE(search.Events().IsWindowVisible());
  CRect list, panel;
  search.Events().GetWindowRect(&list);
  search.GetWindowRect(&panel);
  EXPECT_TRUE(panel.PtInRect(list.TopLeft()) && list.Height() > 40) << list.top << " " << list.bottom;
  EXPECT_EQ(search.Events().GetAnchor(), 1);
  EXPECT_EQ(view->GetShownPicture(), sample.modePictures[timeline::ModeCategories]);
  EXPECT_TRUE(view->IsPictureScrolled());
  EXPECT_FALSE(view->GetBackButton().IsWindowEnabled());
  // The anchor event's article is in the display.
  EXPECT_EQ(view->GetCurrentArticle(), SampleArticle(1));
  EXPECT_GT(view->GetDisplay().Model().RunCount(), 3);
  EXPECT_EQ(view->GetShownArticle(), SampleArticle(1));
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_timeline_screen");
}

TEST_F(TimelineScreen, ListEntriesFilterAndBackReturnsToAll) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  CTimeLineSearchDlg& search = view->GetSearchWindow();
  const bt::Timeline sample = bt::SampleTimeline();
  search.SelectItem(2);  // "Science"
  ui::PumpUntilIdle();
  EXPECT_EQ(search.GetListedCount(), 3);
  EXPECT_TRUE(view->GetBackButton().IsWindowEnabled());
  EXPECT_EQ(view->GetShownPicture(), sample.categories[1].picture);
  EXPECT_EQ(view->GetCurrentArticle(), SampleArticle(6));
  view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TL_BACK, BN_CLICKED),
                    reinterpret_cast<LPARAM>(view->GetBackButton().m_hWnd));
  ui::PumpUntilIdle();
  EXPECT_EQ(search.ListSelector().GetCurSel(), 0);
  EXPECT_EQ(search.GetListedCount(), static_cast<int>(sample.events.size()));
  EXPECT_FALSE(view->GetBackButton().IsWindowEnabled());

  Command(view, ID_TL_PERIODS);
  EXPECT_EQ(view->GetMode(), timeline::ModePeriods);
  EXPECT_TRUE(view->GetModeButton(timeline::ModePeriods).GetCheck());
  EXPECT_FALSE(view->GetModeButton(timeline::ModeCategories).GetCheck());
  search.SelectItem(1);
  EXPECT_EQ(search.GetListedCount(), 2);  // the ancient world
  Command(view, ID_TL_REVIEW);
  EXPECT_EQ(view->GetShownPicture(), sample.modePictures[timeline::ModeYearInReview]);
  EXPECT_EQ(search.GetListedCount(), 3);
  search.SelectItem(2);  // the 1997 issue
  EXPECT_EQ(search.GetListedCount(), 2);
  Command(view, ID_TL_FIRSTS);
  EXPECT_EQ(search.GetListedCount(), 3);
  EXPECT_FALSE(search.ListSelector().IsWindowVisible());
}

TEST_F(TimelineScreen, DateRangesAreCheckedBeforeTheyFilter) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  CTimeLineSearchDlg& search = view->GetSearchWindow();
  Command(view, ID_TL_BY_DATE);
  EXPECT_TRUE(search.FromYear().IsWindowVisible());
  CString from;
  search.FromYear().GetWindowText(from);
  EXPECT_STREQ(from, "1996");
  EXPECT_EQ(search.GetListedCount(), 2);  // 1996 Jan to 1997 Dec
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_timeline_by_date");
  // 50 BC to 10 AD holds the event of 44 BC.
  search.FromYear().SetWindowText("50");
  search.FromEra().SetCurSel(0);
  search.ToYear().SetWindowText("10");
  search.OnFind();
  EXPECT_EQ(search.GetListedCount(), 1);
  EXPECT_EQ(view->GetCurrentArticle(), SampleArticle(2));
  // An end before the start is refused and the list stays.
  boxes.Clear();
  search.ToEra().SetCurSel(0);
  search.ToYear().SetWindowText("60");
  search.OnFind();
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], "The end date must be greater than the start date.");
  EXPECT_EQ(search.GetListedCount(), 1);

  // On this day: the month's days, every event of the month with "All".
  Command(view, ID_TL_TODAY);
  EXPECT_TRUE(search.DayPicker().IsWindowVisible());
  search.FromMonth().SetCurSel(1);
  search.AdjustDays(1);
  EXPECT_EQ(search.DayPicker().GetCount(), 30);  // "All" and 1-29
  search.FromMonth().SetCurSel(3);
  search.AdjustDays(3);
  search.FromMonth().SetCurSel(5);
  search.AdjustDays(5);
  EXPECT_EQ(search.DayPicker().GetCount(), 31);
  search.FromMonth().SetCurSel(2);  // March
  search.AdjustDays(2);
  search.DayPicker().SetCurSel(0);
  search.OnFind();
  EXPECT_EQ(search.GetListedCount(), 2);
  search.DayPicker().SetCurSel(15);
  search.OnFind();
  EXPECT_EQ(search.GetListedCount(), 1);
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_timeline_on_this_day");
}

// The Bookmark menu: a pop-up per folder of its articles, drawn by the frame
// with their icons; a chosen article is shown on the screen of its kind.
TEST_F(TimelineScreen, TheBookmarkMenuShowsAChosenArticleOnItsOwnScreen) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  CVeldrixApp& app = App();
  char text[128] = "";
  view->GetMenu().GetMenuString(ID_TL_ADD_ARTICLE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Add \"Ancient Egypt\"");
  // A second folder: a media item, a dictionary entry, an event and an
  // encyclopedia article.
  auto* mixed = new CFolder(app.GetArticleCount());
  mixed->m_name = "Mixed";
  const int astronomy = Article("Astronomy"), zebra = Article("Zebra"), henry = Article("Henry VIII"),
            hale = Article("Comet Hale-Bopp");
  for (int article : {astronomy, zebra, henry, hale}) mixed->m_articles.SetBit(article, TRUE, FALSE, 0, 0);
  app.m_folders.Add(mixed);
  view->SendMessage(WM_BITSCHANGED, 1, 0);
  // (Handles: the framework's temporary menu objects go when the loop idles.)
  const HMENU bookmarks = ::GetSubMenu(view->GetMenu().m_hMenu, 3);
  ASSERT_NE(bookmarks, nullptr);
  ASSERT_EQ(::GetMenuItemCount(bookmarks), 13);  // ten fixed items, a separator, two folders
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_ID;
  ASSERT_TRUE(::GetMenuItemInfoA(bookmarks, 12, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(info.dwItemData, 200001u);
  HMENU folder = info.hSubMenu;
  ASSERT_EQ(::GetMenuItemCount(folder), 4);
  ASSERT_TRUE(::GetMenuItemInfoA(folder, mixed->m_articles.IndexOf(henry), TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(info.dwItemData, static_cast<ULONG_PTR>(henry));
  // Rebuilt, not added to, when the folders change.
  view->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(::GetMenuItemCount(bookmarks), 13);
  const ui::Picture menu = ui::CapturePopupMenu(bookmarks, Frame()->m_hWnd);
  EXPECT_GT(menu.width, 0);
  ui::SavePng(menu, "reader_timeline_bookmark_menu");
  ui::SavePng(ui::CapturePopupMenu(::GetSubMenu(bookmarks, 12), Frame()->m_hWnd), "reader_timeline_bookmark_folder");

  auto choose = [&](int article) {
    Frame()->SendMessage(WM_COMMAND, 9010 + static_cast<UINT>(mixed->m_articles.IndexOf(article)));
    ui::PumpUntilIdle();
  };
  choose(henry);  // an event: here
  EXPECT_EQ(Frame()->GetActiveView(), view);
  EXPECT_EQ(view->GetCurrentArticle(), henry);
  choose(astronomy);  // a media item: its item in the gallery
  auto* media = dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), media);
  EXPECT_EQ(media->GetCurrentItem(), app.m_multBits.IndexOf(astronomy));
  // A dictionary entry, shown in the dictionary mode even when the screen
  // was left in a translation mode.
  ASSERT_TRUE(Frame()->ShowDictionary());
  auto* dictionary = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dictionary, nullptr);
  dictionary->SendMessage(WM_COMMAND, ID_DICT_MODE_FRENCH_ENGLISH);
  ASSERT_EQ(dictionary->GetMode(), dict::kFrenchEnglish);
  ASSERT_TRUE(Frame()->ShowTimeline());
  choose(zebra);
  EXPECT_EQ(Frame()->GetActiveView(), dictionary);
  EXPECT_EQ(dictionary->GetMode(), dict::kDictionary);
  EXPECT_EQ(dictionary->GetCurrentEntry(), static_cast<DWORD>(zebra));
  EXPECT_EQ(dictionary->Display().Model().RunString(0), "Zebra ");
  ASSERT_TRUE(Frame()->ShowTimeline());
  choose(hale);  // any other article: the encyclopedia
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), browser);
  EXPECT_EQ(browser->GetCurrentArticle(), hale);
  EXPECT_EQ(view->GetCurrentArticle(), henry);
}

// Notes and highlights made on an event outlive every new layout of it (a
// resize, new fonts, new Preferences), a switch to another event and back,
// and a restart. A note and a highlight are made before each new layout, so
// that each path must keep what was made since the last one.
TEST_F(TimelineScreen, NotesAndHighlightsSurviveEveryNewLayoutAnEventSwitchAndARestart) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  const int egypt = view->GetCurrentArticle();
  ASSERT_EQ(egypt, SampleArticle(1));
  App().SetInFolder(0, egypt, TRUE);
  ui::PumpUntilIdle();
  CDisplay& display = view->GetDisplay();
  // A highlight drawn with the mouse over a run, and a note.
  struct Mark {
    int run;
    std::string note;
  };
  std::vector<Mark> made;
  const auto mark = [&](int run, UINT position, const char* note) {
    Command(view, ID_TL_HIGHLIGHT);
    ASSERT_TRUE(display.GetHighlightMode());
    const display::TextModel& model = display.Model();
    const int line = model.LineOfRun(run);
    const CPoint at(model.RunLeft(line, run) + 2, model.LineTop(line) - display.GetTopOffset() + 2);
    display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    display.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Command(view, ID_TL_HIGHLIGHT);
    ASSERT_TRUE(display.Model().GetRun(run).marks & display::kMarkHighlighted);
    ASSERT_NE(display.AddNote(position, note, TRUE), nullptr);
    made.push_back({run, note});
  };
  const auto kept = [&](CDisplay& shown, const char* when) {
    EXPECT_EQ(view->GetCurrentArticle(), egypt) << when;
    ASSERT_EQ(shown.GetNoteCount(), static_cast<int>(made.size())) << when;
    for (const Mark& m : made) {
      EXPECT_TRUE(shown.Model().GetRun(m.run).marks & display::kMarkHighlighted) << when << ", run " << m.run;
      bool found = false;
      for (int i = 0; i < shown.GetNoteCount(); ++i)
        found = found || m.note == static_cast<const char*>(shown.GetNote(i)->GetNoteText());
      EXPECT_TRUE(found) << when << ": \"" << m.note << "\"";
    }
  };

  // The frame made larger lays the event out again for the display's new width.
  mark(2, 4, "Built along the Nile.");
  const int lines = display.Model().LineCount();
  CRect frame;
  Frame()->GetWindowRect(&frame);
  Frame()->MoveWindow(0, 0, frame.Width() + 240, frame.Height() + 120);
  ui::PumpUntilIdle();
  EXPECT_LT(display.Model().LineCount(), lines);
  kept(display, "after the resize");
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "reader_timeline_after_resize");
  // New fonts, and a new font size in the Preferences, which the screens hear
  // of as new fonts.
  mark(4, 12, "Ruled by pharaohs.");
  view->SendMessage(WM_FONTSCHANGED);
  kept(display, "after new fonts");
  mark(6, 20, "Pyramids at Giza.");
  CPrefs prefs(Frame());
  ASSERT_TRUE(prefs.Create(IDD_PREFERENCES, Frame()));
  ASSERT_GE(prefs.m_sizes.SelectString("14"), 0);
  prefs.SaveSettings();
  prefs.DestroyWindow();
  ui::PumpUntilIdle();
  kept(display, "after new Preferences");

  view->SetCurrentArticle(SampleArticle(3));
  ui::PumpUntilIdle();
  EXPECT_EQ(display.GetNoteCount(), 0);
  view->SetCurrentArticle(egypt);
  ui::PumpUntilIdle();
  kept(display, "after another event");

  End();  // the exit stores them into Bookmark.dat
  view = Open();
  ASSERT_NE(view, nullptr);
  kept(view->GetDisplay(), "after a restart");
}

TEST_F(TimelineScreen, RegionClicksMatchNamesOnlyInListModes) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  LabelledSpot music("Music"), unknown("music");
  view->SendMessage(WM_REGIONCLICK, 0, reinterpret_cast<LPARAM>(&music));
  EXPECT_EQ(view->GetSearchWindow().ListSelector().GetCurSel(), 3);
  EXPECT_EQ(view->GetSearchWindow().GetListedCount(), 2);
  view->SendMessage(WM_REGIONCLICK, 0, reinterpret_cast<LPARAM>(&unknown));  // case counts
  EXPECT_EQ(view->GetSearchWindow().ListSelector().GetCurSel(), 3);
  Command(view, ID_TL_BY_DATE);
  const int listed = view->GetSearchWindow().GetListedCount();
  view->SendMessage(WM_REGIONCLICK, 0, reinterpret_cast<LPARAM>(&music));
  EXPECT_EQ(view->GetSearchWindow().GetListedCount(), listed);
  EXPECT_EQ(view->GetMode(), timeline::ModeByDate);
}

TEST_F(TimelineScreen, CrossReferencesOutsideTheTimelineOpenTheEncyclopedia) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  view->SendMessage(WM_CROSSREF, 0, MainEntry("Henry VIII"));
  ui::PumpUntilIdle();
  EXPECT_EQ(view->GetCurrentArticle(), Article("Henry VIII"));
  EXPECT_EQ(Frame()->GetActiveView(), view);
  view->SendMessage(WM_CROSSREF, 0, MainEntry("Zebra"));
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
  EXPECT_EQ(dynamic_cast<CBrowser*>(Frame()->GetActiveView())->GetCurrentArticle(), Article("Zebra"));
  EXPECT_EQ(view->GetCurrentArticle(), Article("Henry VIII"));
}

TEST_F(TimelineScreen, ResultsOfASmartSearchTakeTheSmartSearchMode) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(view->GetCurrentArticle());
  Frame()->AddQueryToHistory(set, "egypt", 1, nullptr, FALSE);
  view->SendMessage(WM_SHOWRESULTS);
  EXPECT_EQ(view->GetMode(), timeline::ModeSmartSearch);
  EXPECT_FALSE(view->GetSearchWindow().IsWindowVisible());
  EXPECT_TRUE(view->GetModeButton(timeline::ModeSmartSearch).GetCheck());
  Frame()->AddQueryToHistory(set, "egypt", 0, nullptr, FALSE);
  view->SendMessage(WM_SHOWRESULTS);
  EXPECT_EQ(view->GetMode(), timeline::ModeBooleanSearch);
  // Back to a list mode: the search window returns.
  Command(view, ID_TL_CATEGORIES);
  EXPECT_TRUE(view->GetSearchWindow().IsWindowVisible());
}

// Whether a saved event's text holds more than the timeline's notice and
// ends with it.
::testing::AssertionResult EndsWithTheNotice(const std::string& text) {
  const std::string block(static_cast<const char*>(CTimeLine::NoticeBlock()));
  if (text.size() <= block.size()) return ::testing::AssertionFailure() << "only " << text.size() << " bytes";
  if (text.compare(text.size() - block.size(), block.size(), block) != 0)
    return ::testing::AssertionFailure() << "it ends \"" << text.substr(text.size() - block.size()) << "\"";
  return ::testing::AssertionSuccess();
}

TEST_F(TimelineScreen, ASavedOrCopiedEventEndsWithTheTimelineNotice) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  ASSERT_EQ(view->SaveEventTo(File("event.txt").c_str()), CTimeLine::SaveOutcome::Saved);
  const std::string text = dir.Read("event.txt");
  ASSERT_TRUE(EndsWithTheNotice(text));
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(text.find('\0'), std::string::npos);
  const std::string block(static_cast<const char*>(CTimeLine::NoticeBlock()));
  EXPECT_EQ(block.substr(0, 2 + 40), "\r\n" + std::string(40, '_'));
  EXPECT_EQ(view->SaveEventTo(File("no-such-folder/event.txt").c_str()), CTimeLine::SaveOutcome::NotCreated);

  Command(view, ID_TL_COPY_EVENT);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE data = ::GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  const std::string copied(static_cast<const char*>(::GlobalLock(data)));
  ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(copied, text);
}

TEST_F(TimelineScreen, SaveEndsQuietlyWhenTheFileCannotBeMadeAndRefusesAnEmptyEvent) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  ui::FileDialogAnswers names(File("no-such-folder/event.txt"));
  Command(view, ID_TL_SAVE);
  EXPECT_EQ(names.NamesAsked(), 1);
  EXPECT_TRUE(boxes.Texts().empty());
  // An empty event: no name is asked for, and the reader is told.
  view->GetDisplay().ResetContent();
  names.SetSavePath(File("event.txt"));
  Command(view, ID_TL_SAVE);
  EXPECT_EQ(names.NamesAsked(), 1);
  EXPECT_FALSE(std::filesystem::exists(names.SavePath()));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"There is no text to save."});
}

// A write that fails (a full disk, a close that reports an error) is told,
// and the reader's file stays as it was: the new text takes its place only
// once it is whole.
TEST_F(TimelineScreen, AFailedWriteIsToldAndLeavesTheOldFile) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  ui::FileDialogAnswers names(dir.Write("event.txt", "old"));
  for (const bool closesFail : {false, true}) {
    boxes.Clear();
    ContentSimulateFailures(closesFail ? -1 : 0, closesFail);
    Command(view, ID_TL_SAVE);
    ContentSimulateFailures(-1, false);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"The event could not be saved to the file."}) << closesFail;
    EXPECT_EQ(dir.Read("event.txt"), "old") << closesFail;
  }
  EXPECT_EQ(names.NamesAsked(), 2);
  // Written whole, the event replaces the old text.
  boxes.Clear();
  Command(view, ID_TL_SAVE);
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_TRUE(EndsWithTheNotice(dir.Read("event.txt")));
}

class EnableRecorder : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    enabled = bOn;
    m_bEnableChanged = TRUE;
  }
  BOOL enabled = TRUE;
};

BOOL Enabled(CWnd* target, UINT id) {
  EnableRecorder ui;
  ui.m_nID = id;
  ui.DoUpdate(target, FALSE);
  return ui.enabled;
}

TEST_F(TimelineScreen, BookmarkPrintingNeedsAFolderAndTheFocusMovesToTheSearchWindow) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  ASSERT_GT(App().m_folders.GetSize(), 0);
  EXPECT_TRUE(Enabled(view, ID_TL_PRINT_BOOKMARKS));
  EXPECT_TRUE(Enabled(view, ID_TL_PREVIEW_BOOKMARKS));
  EXPECT_TRUE(Enabled(view, ID_TL_PRINT));
  EXPECT_FALSE(Enabled(view, ID_TL_COPY_SELECTED));  // nothing selected
  // Showing the current article again leaves the display as it is.
  const int runs = view->GetDisplay().Model().RunCount();
  view->GetDisplay().ResetContent();
  view->SetCurrentArticle(view->GetCurrentArticle());
  EXPECT_EQ(view->GetDisplay().Model().RunCount(), 0);
  EXPECT_GT(runs, 0);

  view->SetFocus();
  EXPECT_TRUE(Enabled(view, ID_NEXT_PANE));
  view->SendMessage(WM_COMMAND, ID_NEXT_PANE);
  const HWND focus = ::GetFocus();
  EXPECT_TRUE(focus == view->GetSearchWindow().m_hWnd || ::IsChild(view->GetSearchWindow().m_hWnd, focus));
  view->SendMessage(WM_COMMAND, ID_PREV_PANE);
  const HWND back = ::GetFocus();
  EXPECT_TRUE(back == view->m_hWnd || ::IsChild(view->m_hWnd, back));
  EXPECT_FALSE(back == view->GetSearchWindow().m_hWnd || ::IsChild(view->GetSearchWindow().m_hWnd, back));
}

// How wide the first run of text of a colour is in a band of a picture: from
// its first column with that colour to the first gap of eight columns. The
// ink of a text is a few pixels narrower than its advance.
int InkWidth(const ui::Picture& picture, const CRect& band, COLORREF colour) {
  int first = -1, last = -1;
  for (int x = band.left; x < band.right; ++x) {
    bool inked = false;
    for (int y = band.top; y < band.bottom && !inked; ++y) inked = picture.At(x, y) == colour;
    if (!inked) {
      if (first >= 0 && x - last > 8) break;
      continue;
    }
    if (first < 0) first = x;
    last = x;
  }
  return first < 0 ? 0 : last - first + 1;
}

int TextWidth(int font, const char* text) {
  CClientDC dc(nullptr);
  CFont* old = dc.SelectObject(App().GetFont(font));
  const int width = dc.GetTextExtent(text, static_cast<int>(std::strlen(text))).cx;
  dc.SelectObject(old);
  return width;
}

// The title strip, the search window's band and the bands of the shared
// search windows in its panel carry their titles in the header font (Arial
// of 13 pixels, heavy), like the bands of the other tool windows.
TEST_F(TimelineScreen, TitlesAndBandsAreInTheHeaderFont) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  const COLORREF white = RGB(255, 255, 255);
  for (const char* text : {"Categories", "Events", "Boolean Search"})
    ASSERT_GT(std::abs(TextWidth(FontHeading, text) - TextWidth(FontCaption, text)), 10) << text;
  auto drawnIn = [](int ink, const char* text) {
    const int advance = TextWidth(FontCaption, text);
    EXPECT_LE(ink, advance) << text;
    EXPECT_GE(ink, advance - 5) << text;
  };
  CRect client;
  view->GetClientRect(&client);
  drawnIn(InkWidth(ui::Capture(view->m_hWnd), CRect(216, 49, client.right, 72), white), "Categories");
  CRect search;
  view->GetSearchWindow().GetClientRect(&search);
  drawnIn(InkWidth(ui::Capture(view->GetSearchWindow().m_hWnd), CRect(0, 0, search.right / 2, 23), white), "Events");
  Command(view, ID_TL_BOOLEAN);
  CWnd* panel = view->GetToolWindow(ToolPanel::Boolean);
  ASSERT_NE(panel, nullptr);
  panel->UpdateWindow();
  CRect band;
  panel->GetClientRect(&band);
  band.bottom = 23;
  band.right = band.right * 3 / 4;
  drawnIn(InkWidth(ui::Capture(panel->m_hWnd), band, white), "Boolean Search");
}

// The event printed: the title and "Page 1" over the body, the product and
// the timeline notices under it, all in the print font the job made for the
// printer (Times New Roman of 9 points at the printer's resolution).
TEST_F(TimelineScreen, APrintedEventIsHeadedAndFootedInThePrintFontOfThePrinter) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  ui::PrinterPage page(CSize(800, 1000));
  ASSERT_TRUE(page.Print(*view));
  ui::SavePng(page.Pages().back(), "reader_timeline_printed_event");
  ASSERT_EQ(page.Pages().size(), 1u);
  std::vector<std::string> frame;
  const int points9 = -::MulDiv(9, page.GetDeviceCaps(LOGPIXELSY), 72);
  for (const ui::PrinterPage::Text& t : page.Texts()) {
    if (t.body) continue;
    frame.push_back(t.text);
    EXPECT_STREQ(t.font.lfFaceName, "Times New Roman") << t.text;
    EXPECT_EQ(t.font.lfHeight, points9) << t.text;
    EXPECT_EQ(t.font.lfWeight, FW_NORMAL) << t.text;
  }
  // The footer is drawn upwards: the timeline notice at the foot of the
  // page's margins, the product notice above it.
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_EQ(frame[0], "Ancient Egypt");
  EXPECT_EQ(frame[1], "Page 1");
  EXPECT_NE(frame[2].find("Timeline"), std::string::npos);
  EXPECT_NE(frame[3].find("Encyclopedia"), std::string::npos);
  EXPECT_GT(page.Texts()[2].at.y, page.Texts()[3].at.y);
  EXPECT_EQ(page.Texts()[2].at.y, 1000 - App().m_printMargins.bottom - page.Texts()[2].metrics.tmHeight);
  EXPECT_FALSE(page.BodyTexts().empty());
}

// Printed on pages that hold a few lines each, every line of the event is
// printed once, above the footer.
TEST_F(TimelineScreen, AnEventOnShortPagesPrintsEveryLineOnce) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  view->SetCurrentArticle(SampleArticle(8));
  EXPECT_GE(ui::ExpectEveryLinePrintedOnce(*view, 340, {700, 716, 745, 790}, "reader_timeline_printed_page"), 2);
}

TEST_F(TimelineScreen, WithoutFoldersBookmarkPrintingIsGreyed) {
  Remove("Bookmark.dat");
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(App().m_folders.GetSize(), 0);
  EXPECT_FALSE(Enabled(view, ID_TL_PRINT_BOOKMARKS));
  EXPECT_FALSE(Enabled(view, ID_TL_PREVIEW_BOOKMARKS));
}

TEST_F(TimelineScreen, WithoutTheFileTheScreenOpensEmptyAfterItsMessage) {
  Remove("Timeline.bin");
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  const std::vector<std::string> texts = boxes.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      "The Marovan & World Encyclopedia is unable to open the file TIMELINE.BIN.\r\nThe Timeline will "
                      "be unavailable."),
            texts.end());
  EXPECT_EQ(view->GetData().eventCount, 0);
  EXPECT_EQ(view->GetSearchWindow().GetListedCount(), 0);
  EXPECT_EQ(view->GetCurrentArticle(), 0);
}

TEST_F(TimelineScreen, ADamagedFileIsReportedLikeAMissingOne) {
  const builder::Bytes whole = bt::TimelineFile(bt::SampleTimeline());
  dir.Write("Timeline.bin", std::string(whole.begin(), whole.end() - 7));
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  const std::vector<std::string> texts = boxes.Texts();
  EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                         [](const std::string& t) { return t.find("TIMELINE.BIN") != std::string::npos; }),
            texts.end());
  EXPECT_EQ(view->GetData().eventCount, 0);
}

// The screen's own windows and the shared ones in its panel.
class TimelineWiring : public TimelineScreen {
 protected:
  template <typename Tool>
  Tool* ToolOf(CTimeLine* view, ToolPanel kind) {
    return view->IsToolOpen(kind) ? dynamic_cast<Tool*>(view->GetToolWindow(kind)) : nullptr;
  }
  static CRect PanelOnScreen(CTimeLine* view) {
    CRect client;
    view->GetClientRect(&client);
    CRect panel(CTimeLine::PanelLeft, CTimeLine::PanelTop, CTimeLine::PanelRight, client.bottom - 20);
    view->ClientToScreen(&panel);
    return panel;
  }
};

TEST_F(TimelineWiring, ThePicturePaneShowsTheModesAndTheEntriesPictures) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  CPictureWnd& picture = view->GetPictureWindow();
  ASSERT_NE(picture.GetSafeHwnd(), nullptr);
  EXPECT_EQ(picture.GetParent(), view);
  EXPECT_EQ(picture.GetDlgCtrlID(), IDC_TL_PICTURE);
  EXPECT_TRUE(picture.IsStripMode());
  EXPECT_GT(picture.GetPictureSize().cx, 0);
  // The picture window stays inside the pane framed under the title strip.
  CRect pane;
  picture.GetWindowRect(&pane);
  view->ScreenToClient(&pane);
  EXPECT_GE(pane.left, 216);
  EXPECT_GE(pane.top, 74);
  CRect client;
  view->GetClientRect(&client);
  EXPECT_LE(pane.right, client.right - 2);
  Command(view, ID_TL_PERIODS);
  EXPECT_EQ(view->GetShownPicture(), bt::SampleTimeline().modePictures[timeline::ModePeriods]);
  EXPECT_GT(picture.GetPictureSize().cx, 0);
  EXPECT_EQ(picture.GetScrollPosition().x, 0);
}

TEST_F(TimelineWiring, ABooleanQueryInThePanelListsEventsThatOpenHere) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_TL_BOOLEAN);
  EXPECT_EQ(view->GetMode(), timeline::ModeBooleanSearch);
  EXPECT_FALSE(view->GetSearchWindow().IsWindowVisible());
  auto* panel = ToolOf<CSearchDlg>(view, ToolPanel::Boolean);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetParent(), view);
  CRect rect;
  panel->GetWindowRect(&rect);
  EXPECT_EQ(rect, PanelOnScreen(view));

  panel->Field(0).SetWindowText("egypt");
  panel->SendMessage(WM_COMMAND, MAKEWPARAM(panel->Field(0).GetDlgCtrlID(), EN_CHANGE),
                     reinterpret_cast<LPARAM>(panel->Field(0).GetSafeHwnd()));
  paneltest::Click(*panel, CSearchDlg::kSearch);
  ui::PumpUntilIdle();
  auto* results = ToolOf<CResultsDlg>(view, ToolPanel::Results);
  ASSERT_NE(results, nullptr) << testing::PrintToString(boxes.Texts());
  EXPECT_FALSE(view->IsToolOpen(ToolPanel::Boolean));
  EXPECT_TRUE(Frame()->IsResultsOpen());
  const int egypt = Article("Ancient Egypt");
  ASSERT_GE(results->List().SelectArticle(egypt), 0);
  paneltest::Notify(*results, CResultsDlg::kList, LBN_DBLCLK);
  EXPECT_EQ(Frame()->GetActiveView(), view);
  EXPECT_EQ(view->GetCurrentArticle(), egypt);
  CDisplay* display = DisplayOf(view);
  ASSERT_NE(display, nullptr);
  EXPECT_GT(display->HasFindHits(), 0) << "the query's word marked in the event";

  // Next pane moves the focus into the results window and back.
  view->SetFocus();
  view->SendMessage(WM_COMMAND, ID_NEXT_PANE);
  HWND focus = ::GetFocus();
  EXPECT_TRUE(focus == results->m_hWnd || ::IsChild(results->m_hWnd, focus));
  view->SendMessage(WM_COMMAND, ID_NEXT_PANE);
  focus = ::GetFocus();
  EXPECT_FALSE(focus == results->m_hWnd || ::IsChild(results->m_hWnd, focus));

  // Add Selected Articles files the results window's set.
  EXPECT_EQ(paneltest::WithDialogSteps(
                {[](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }},
                [&] { Command(view, ID_TL_ADD_SELECTED); }),
            1);
  EXPECT_TRUE(static_cast<CFolder*>(App().m_folders[0])->m_articles.Test(egypt));

  // The frame keeps the window's place in the list; a list mode closes it.
  Frame()->SaveSearchState();
  EXPECT_EQ(Frame()->GetSearchState().resultsSelection, egypt);
  Command(view, ID_TL_CATEGORIES);
  EXPECT_FALSE(view->IsToolOpen(ToolPanel::Results));
  EXPECT_FALSE(Frame()->IsResultsOpen());
  EXPECT_EQ(display->HasFindHits(), 0) << "the marks go with the results window";
}

TEST_F(TimelineWiring, ContentsAndBookmarksRefreshWhenOpenAndSmartSearchHandsOverToTheTuner) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  Command(view, ID_TL_CONTENTS);
  auto* contents = ToolOf<CSubjectsDlg>(view, ToolPanel::Subjects);
  ASSERT_NE(contents, nullptr);
  view->SendMessage(WM_SHOWCONTENTS);
  EXPECT_EQ(ToolOf<CSubjectsDlg>(view, ToolPanel::Subjects), contents);

  Command(view, ID_TL_BOOKMARKS);
  EXPECT_FALSE(view->IsToolOpen(ToolPanel::Subjects));
  auto* bookmarks = ToolOf<CBookmarkDlg>(view, ToolPanel::Bookmarks);
  ASSERT_NE(bookmarks, nullptr);
  EXPECT_EQ(bookmarks->GetSkin(), kSkinTimeline);
  Frame()->CloseBookmarkWindows();
  EXPECT_FALSE(view->IsToolOpen(ToolPanel::Bookmarks));
  // Asked again in its own mode, the window is made again.
  view->SendMessage(WM_SHOWBOOKMARKS);
  EXPECT_TRUE(view->IsToolOpen(ToolPanel::Bookmarks));
  // The open list follows the folders: the event filed shows in its folder.
  bookmarks = ToolOf<CBookmarkDlg>(view, ToolPanel::Bookmarks);
  ASSERT_NE(bookmarks, nullptr);
  bookmarks->FolderList().SetCurSel(0);
  paneltest::Notify(*bookmarks, static_cast<UINT>(bookmarks->FolderList().GetDlgCtrlID()), LBN_SELCHANGE);
  ASSERT_EQ(bookmarks->GetSelectedFolder(), 0);
  const int filed = bookmarks->ArticleList().GetArticles().GetSetCount();
  App().SetInFolder(0, view->GetCurrentArticle(), TRUE);
  ui::PumpUntilIdle();
  EXPECT_EQ(bookmarks->ArticleList().GetArticles().GetSetCount(), filed + 1);
  EXPECT_TRUE(bookmarks->ArticleList().GetArticles().Test(view->GetCurrentArticle()));

  Command(view, ID_TL_SMART);
  ASSERT_NE(ToolOf<CSmartSearchDlg>(view, ToolPanel::Smart), nullptr);
  CStringArray terms;
  terms.Add("egypt");
  view->OpenTuner("egypt", terms);
  EXPECT_FALSE(view->IsToolOpen(ToolPanel::Smart));
  auto* tuner = ToolOf<CTunerDlg>(view, ToolPanel::Tuner);
  ASSERT_NE(tuner, nullptr);
  EXPECT_EQ(tuner->GetWords().GetSize(), 1);
}

TEST_F(TimelineWiring, AMediaItemOpensInTheGalleryAndAddArticleAsksForAFolder) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  const int article = view->GetCurrentArticle();
  ASSERT_GT(article, 0);
  App().SetInFolder(0, article, FALSE);
  EXPECT_EQ(paneltest::WithDialogSteps({paneltest::Cancel()}, [&] { Command(view, ID_TL_ADD_ARTICLE); }), 1);
  EXPECT_FALSE(static_cast<CFolder*>(App().m_folders[0])->m_articles.Test(article));
  EXPECT_EQ(paneltest::WithDialogSteps(
                {[](CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }},
                [&] { Command(view, ID_TL_ADD_ARTICLE); }),
            1);
  EXPECT_TRUE(static_cast<CFolder*>(App().m_folders[0])->m_articles.Test(article));

  const int item = App().m_multBits.IndexOf(Article("Comet"));
  view->SendMessage(WM_SHOWITEM, static_cast<WPARAM>(item));
  ui::PumpUntilIdle();
  auto* media = dynamic_cast<CViewPicture*>(Frame()->GetScreen(Screen::Media));
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), media);
  EXPECT_EQ(media->GetCurrentItem(), item);
  // The gallery opened on this item has nothing to go back to; the next
  // item shown leads back to it.
  EXPECT_EQ(media->GetBackList().GetSize(), 0);
  EXPECT_FALSE(media->GetButton(IDC_MEDIA_BACK).IsWindowEnabled());
  media->GoToItem(App().m_multBits.IndexOf(Article("Volcano")), 0);
  ASSERT_EQ(media->GetBackList().GetSize(), 1);
  media->SendMessage(WM_COMMAND, ID_MEDIA_BACK);
  ui::PumpUntilIdle();
  EXPECT_EQ(media->GetCurrentItem(), item);
  EXPECT_EQ(media->GetBackList().GetSize(), 0);
}

TEST_F(TimelineWiring, RelatedToEventOpensTheResultsAndTheHistoryRecallsAQuery) {
  CTimeLine* view = Open();
  ASSERT_NE(view, nullptr);
  view->SetCurrentArticle(Article("Astronomy"));
  ui::PumpUntilIdle();
  EXPECT_TRUE(Enabled(view, ID_TL_RELATED_EVENT));
  EXPECT_FALSE(Enabled(view, ID_TL_RELATED_SELECTION));  // nothing selected
  Command(view, ID_TL_RELATED_EVENT);
  EXPECT_TRUE(boxes.Texts().empty());
  const CBitString& related = Frame()->Queries().GetCurrentQuery();
  ASSERT_TRUE(related.IsOrdered());
  EXPECT_EQ(related.GetAt(1), Article("Solar System"));
  EXPECT_EQ(related.GetScore(Article("Solar System")), 900u);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_NE(std::string(Frame()->Queries().GetCurrentLabel()).find("Related to:  Astronomy"), std::string::npos);
  // The results window opens here on the related articles.
  EXPECT_EQ(view->GetMode(), timeline::ModeSmartSearch);
  ASSERT_NE(ToolOf<CResultsDlg>(view, ToolPanel::Results), nullptr);

  // Search > Search History lists the queries newest first.
  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(Article("Ancient Egypt"));
  Frame()->AddQueryToHistory(set, "egypt", 0, nullptr, FALSE);
  view->SendMessage(WM_SHOWRESULTS);
  ui::PumpUntilIdle();
  CMenu* search = view->GetMenu().GetSubMenu(2);
  ASSERT_NE(search, nullptr);
  EXPECT_FALSE(search->GetMenuState(10, MF_BYPOSITION) & MF_GRAYED);
  CMenu* history = search->GetSubMenu(10);
  ASSERT_NE(history, nullptr);
  ASSERT_EQ(history->GetMenuItemCount(), Frame()->Queries().GetHistoryCount());
  ASSERT_GE(history->GetMenuItemCount(), 2);
  CString text;
  EXPECT_EQ(history->GetMenuItemID(0), static_cast<UINT>(ID_TL_HISTORY_FIRST));
  history->GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_STREQ(text, Frame()->Queries().GetHistoryEntry(Frame()->Queries().GetHistoryCount() - 1).label);
  history->GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_NE(std::string(text).find("Related to:  Astronomy"), std::string::npos);
  EXPECT_EQ(view->GetMode(), timeline::ModeBooleanSearch);

  // The second item runs the related query again.
  Command(view, history->GetMenuItemID(1));
  EXPECT_NE(std::string(Frame()->Queries().GetCurrentLabel()).find("Related to:  Astronomy"), std::string::npos);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_EQ(view->GetMode(), timeline::ModeSmartSearch);
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(Article("Solar System")));

  // Without the related file: its message, and the query stays.
  Remove("MAROVA.REL");
  const int queries = Frame()->Queries().GetHistoryCount();
  Command(view, ID_TL_RELATED_EVENT);
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_NE(boxes.all()[0].text.find("unable to open the file MAROVA.REL"), std::string::npos);
  EXPECT_EQ(Frame()->Queries().GetHistoryCount(), queries);
}

}  // namespace
}  // namespace apptest
