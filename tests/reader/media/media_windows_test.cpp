// The movie, picture, thumbnail and timed popup windows on the sample
// content: placement, play and stop with the end reported once, hot spots
// found through the region mask, scrolling, thumbnails' cursors and
// double-clicks, and the popup that only its time or Enter closes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "core/hot_spot.h"
#include "core/reader_messages.h"
#include "display/display.h"
#include "media/movie_wnd.h"
#include "media/picture_wnd.h"
#include "media/thumb_wnd.h"
#include "media/timed_popup.h"
#include "media_fixture.h"
#include "reader/media_ids.h"

namespace mediatest {
namespace {

// A plain parent window that records the private messages posted to it.
class Recorder : public CWnd {
 public:
  BOOL Make(CWnd* parent = nullptr) {
    const LPCTSTR type = AfxRegisterWndClass(CS_DBLCLKS, nullptr);
    if (parent) return CreateEx(0, type, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), parent, 77);
    return CreateEx(0, type, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOVIEDONE || message == WM_REGIONCLICK || message == WM_SHOWITEM)
      received.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  int Count(UINT message) const {
    int n = 0;
    for (const auto& m : received) n += m.message == message ? 1 : 0;
    return n;
  }
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Message> received;
};

CRect InParent(CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  window.GetParent()->ScreenToClient(&rect);
  return rect;
}

using MovieWindow = MediaScreens;

TEST_F(MovieWindow, ANamedFileStandsAtTheTopLeftOfItsBoundsInTheMultimediaDirectory) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CMovieWnd movie;
  ASSERT_TRUE(movie.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(30, 20, 30, 20), &parent, 1, 0, "INTRO.MOV",
                           nullptr, CPoint(0, 0)));
  ASSERT_FALSE(movies.opened.empty());
  EXPECT_EQ(movies.opened.back(), File("INTRO.MOV"));
  EXPECT_EQ(InParent(movie), CRect(30, 20, 30 + 160, 20 + 120));
  // Controller flags 11 for a named file; the movie stands still until played.
  EXPECT_EQ(movies.actions.front(), (std::pair<std::int32_t, std::intptr_t>(8, 0)));
  movie.DestroyWindow();
  EXPECT_EQ(movies.disposedControllers, 1);
  EXPECT_EQ(movies.disposedMovies, 1);
  parent.DestroyWindow();
}

TEST_F(MovieWindow, AMovieLargerThanItsBoundsIsPushedIntoThemAndNeverAboveOrLeftOfZero) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  movies.movieWidth = 500;
  movies.movieHeight = 400;
  CMovieWnd movie;
  ASSERT_TRUE(movie.Create(nullptr, "Eruption", WS_CHILD | WS_CAPTION, CRect(0, 0, 300, 200), &parent, 2088,
                           static_cast<UINT>(ItemOf("Volcano")), nullptr, nullptr, CPoint(250, 150)));
  // Pushed left and up into the bounds, then its left and top edges set to 0.
  EXPECT_EQ(InParent(movie), CRect(0, 0, 300, 200));
  EXPECT_EQ(movies.opened.back(), File("ERUPTION.MOV"));

  // Kept inside a frame that shrinks: moved back, left edge first.
  movies.movieWidth = 100;
  movies.movieHeight = 80;
  CMovieWnd small;
  ASSERT_TRUE(small.Create(nullptr, "Eruption", WS_CHILD | WS_CAPTION, CRect(0, 0, 300, 200), &parent, 2089,
                           static_cast<UINT>(ItemOf("Volcano")), nullptr, nullptr, CPoint(250, 150)));
  const CRect before = InParent(small);
  EXPECT_EQ(before.right, 300);
  EXPECT_EQ(before.bottom, 200);
  small.KeepInParent(CRect(0, 0, 200, 150));
  const CRect after = InParent(small);
  EXPECT_EQ(after.right, 200);
  EXPECT_EQ(after.bottom, 150);
  EXPECT_EQ(after.Size(), before.Size());
  parent.DestroyWindow();
}

TEST_F(MovieWindow, AStartedMovieReportsItsEndOnceAndAStopReportsNothing) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CMovieWnd movie;
  ASSERT_TRUE(movie.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &parent, 1, 0, "INTRO.MOV", nullptr,
                           CPoint(0, 0)));
  movie.SendMessage(WM_MOVIEPLAY);
  EXPECT_EQ(movie.GetRate(), 0x10000);
  movie.SendMessage(WM_MOVIESTOP);
  movie.SendMessage(WM_NULL);
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Count(WM_MOVIEDONE), 0);

  movie.SendMessage(WM_MOVIEPLAY);
  movies.EndMovies();
  movie.SendMessage(WM_NULL);
  movie.SendMessage(WM_NULL);
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Count(WM_MOVIEDONE), 1);
  EXPECT_FALSE(movie.IsStarted());
  parent.DestroyWindow();
}

TEST_F(MovieWindow, AMovieThatCannotBeOpenedLeavesTheWindowMadeButEmpty) {
  StartWithMedia();
  Remove("ERUPTION.MOV");
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CMovieWnd movie;
  EXPECT_FALSE(movie.Create(nullptr, "", WS_CHILD | WS_CAPTION, CRect(0, 0, 300, 200), &parent, 2088,
                            static_cast<UINT>(ItemOf("Volcano")), nullptr, nullptr, CPoint(100, 100)));
  EXPECT_TRUE(::IsWindow(movie.m_hWnd));
  EXPECT_FALSE(movie.HasMovie());
  movie.SendMessage(WM_MOVIEPLAY);  // nothing to play, nothing to report
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Count(WM_MOVIEDONE), 0);
  // A picture item has no media file record.
  CMovieWnd wrong;
  EXPECT_FALSE(wrong.Create(nullptr, "", WS_CHILD, CRect(0, 0, 300, 200), &parent, 2089,
                            static_cast<UINT>(ItemOf("Comet")), nullptr, nullptr, CPoint(100, 100)));
  parent.DestroyWindow();
}

// The gallery's first item (index 0) may be a movie: a name asks for a named
// file, not the index 0. Here the media store's first data record is the
// Volcano movie's (the record offsets of items 0 and Volcano swapped by hand).
TEST_F(MovieWindow, TheGallerysFirstItemPlaysItsOwnMovie) {
  StartWithMedia();
  const int volcano = ItemOf("Volcano");
  ASSERT_GT(volcano, 0);
  End();
  std::string mmx;
  {
    std::ifstream in(File("MAROVA.MMX"), std::ios::binary);
    mmx.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::size_t first = 8, other = 8 + 4 * static_cast<std::size_t>(volcano);
  ASSERT_GT(mmx.size(), other + 4);
  for (std::size_t i = 0; i < 4; ++i) std::swap(mmx[first + i], mmx[other + i]);
  dir.Write("MAROVA.MMX", mmx);
  ASSERT_TRUE(Start());

  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CMovieWnd movie;
  ASSERT_TRUE(movie.Create(nullptr, "Eruption", WS_CHILD | WS_CAPTION, CRect(0, 0, 400, 300), &parent, 2088, 0, nullptr,
                           nullptr, CPoint(200, 150)));
  EXPECT_EQ(movies.opened.back(), File("ERUPTION.MOV"));
  EXPECT_TRUE(movie.HasMovie());
  // Placed as an item, centred on the point given.
  EXPECT_EQ(InParent(movie).CenterPoint().x, 200);
  movie.SendMessage(WM_MOVIEPLAY);
  EXPECT_EQ(movie.GetRate(), 0x10000);
  parent.DestroyWindow();
}

using PictureWindow = MediaScreens;

TEST_F(PictureWindow, AClickOnAHotSpotIsReportedToTheParentAndAMissReportsNothing) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CPictureWnd picture;
  ASSERT_TRUE(picture.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 2088,
                             static_cast<UINT>(ItemOf("Comet")), FALSE, nullptr, nullptr, TRUE, FALSE,
                             CPoint(100, 100)));
  EXPECT_EQ(picture.GetPictureSize(), CSize(10, 8));
  EXPECT_EQ(picture.GetCaption(), CString("The tail points away from the Sun."));
  ASSERT_EQ(picture.GetHotSpots().GetSize(), 2);
  // The eruption's rectangle is (5, 4)-(10, 8).
  picture.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 6));
  ui::PumpUntilIdle();
  ASSERT_EQ(parent.Count(WM_REGIONCLICK), 1);
  auto* spot = reinterpret_cast<CHotSpot*>(parent.received.back().lParam);
  EXPECT_EQ(spot->GetId(), ItemOf("Volcano"));
  // The picture fits: a miss starts no drag.
  picture.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 0));
  picture.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(9, 0));
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Count(WM_REGIONCLICK), 1);
  EXPECT_EQ(picture.GetMode(), CPictureWnd::Idle);
  // Rectangles have no legend: the right button opens nothing and returns at once.
  picture.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(picture.GetMode(), CPictureWnd::Idle);
  parent.DestroyWindow();
}

// A picture window given labelled hot spots (kind 4) in place of its own.
class LabelledPicture : public CPictureWnd {
 public:
  void UseLabels(WORD firstId, const std::vector<std::string>& labels) {
    std::vector<u8> data = {static_cast<u8>(labels.size()), 0};
    WORD id = firstId;
    for (const std::string& label : labels) {
      data.insert(data.end(), {static_cast<u8>(id), static_cast<u8>(id >> 8), 'k', static_cast<u8>(label.size()), 0});
      data.insert(data.end(), label.begin(), label.end());
      ++id;
    }
    m_hotSpotKind = 4;
    ASSERT_TRUE(ReadHotSpots(4, data.data(), static_cast<u32>(data.size()), m_hotSpots));
  }
};

TEST_F(PictureWindow, TheLegendListsLabelledHotSpotsAndReportsTheOneChosen) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  LabelledPicture picture;
  ASSERT_TRUE(picture.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 2088,
                             static_cast<UINT>(ItemOf("Comet")), FALSE, nullptr, nullptr, TRUE, FALSE,
                             CPoint(100, 100)));
  CMenu none;
  EXPECT_FALSE(picture.BuildLegendMenu(none));  // rectangles have no labels

  picture.UseLabels(static_cast<WORD>(ItemOf("Astronomy")), {"Sky", "The long tail of the comet"});
  CMenu legend;
  ASSERT_TRUE(picture.BuildLegendMenu(legend));
  ASSERT_EQ(legend.GetMenuItemCount(), 2);
  EXPECT_EQ(legend.GetMenuItemID(0), static_cast<UINT>(ID_LEGEND_FIRST));
  EXPECT_EQ(legend.GetMenuItemID(1), static_cast<UINT>(ID_LEGEND_FIRST + 1));

  // Items are as wide as their labels plus the bullet and a gap.
  MEASUREITEMSTRUCT shortItem = {};
  shortItem.CtlType = ODT_MENU;
  shortItem.itemID = ID_LEGEND_FIRST;
  picture.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&shortItem));
  MEASUREITEMSTRUCT longItem = shortItem;
  longItem.itemID = ID_LEGEND_FIRST + 1;
  picture.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&longItem));
  EXPECT_GT(shortItem.itemWidth, 16u + 8u);
  EXPECT_GT(longItem.itemWidth, shortItem.itemWidth);
  EXPECT_GE(shortItem.itemHeight, 16u + 2u);

  // A selected item is drawn on the highlight colour with its label.
  CClientDC screen(nullptr);
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 240, 20);
  CBitmap* old = memory.SelectObject(&bitmap);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = ID_LEGEND_FIRST + 1;
  draw.itemState = ODS_SELECTED;
  draw.hDC = memory.GetSafeHdc();
  draw.rcItem = {0, 0, 240, 20};
  picture.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  const ui::Picture drawn = ui::CaptureDC(memory.GetSafeHdc(), 240, 20);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF;
  const int background = drawn.Count(CRect(0, 0, 240, 20), highlight);
  EXPECT_GT(background, 240 * 20 / 2);
  EXPECT_LT(background, 240 * 20);  // the label is on it
  memory.SelectObject(old);

  // Choosing an item reports its hot spot to the parent.
  picture.SendMessage(WM_COMMAND, ID_LEGEND_FIRST + 1, 0);
  ui::PumpUntilIdle();
  ASSERT_EQ(parent.Count(WM_REGIONCLICK), 1);
  EXPECT_EQ(reinterpret_cast<CHotSpot*>(parent.received.back().lParam)->GetId(), ItemOf("Astronomy") + 1);
  picture.SendMessage(WM_COMMAND, ID_LEGEND_FIRST + 5, 0);  // no such hot spot
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Count(WM_REGIONCLICK), 1);
  parent.DestroyWindow();
}

TEST_F(PictureWindow, APictureLargerThanTheWindowIsDraggedAndEdgeScrolledUpToItsEdges) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CPictureWnd picture;
  // The home screen's 620 x 440 background in a 200 x 150 window.
  ASSERT_TRUE(picture.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 150), &parent, 5, IDB_HOME_BACKGROUND,
                             TRUE, MAKEINTRESOURCEA(IDB_HOME_BACKGROUND), nullptr, FALSE, FALSE, CPoint(0, 0)));
  ASSERT_EQ(picture.GetPictureSize(), CSize(620, 440));
  picture.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
  EXPECT_EQ(picture.GetMode(), CPictureWnd::Dragging);
  picture.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 70));
  EXPECT_EQ(picture.GetScrollPosition(), CPoint(40, 30));
  picture.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-2000, -2000));
  EXPECT_EQ(picture.GetScrollPosition(), CPoint(420, 290));  // the far edge
  picture.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
  EXPECT_EQ(picture.GetMode(), CPictureWnd::Idle);

  // Resting near the left edge scrolls left by 15 a tick, and stops at 0.
  picture.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 75));
  EXPECT_EQ(picture.GetMode(), CPictureWnd::EdgeScrolling);
  EXPECT_EQ(picture.GetTimer(), static_cast<UINT>(CPictureWnd::TimerLeft));
  for (int i = 0; i < 40; ++i) picture.SendMessage(WM_TIMER, CPictureWnd::TimerLeft);
  EXPECT_EQ(picture.GetScrollPosition().x, 0);
  EXPECT_EQ(picture.GetTimer(), 0u);
  // Already at the bottom: resting there starts nothing; near the top scrolls
  // up by 12 a tick, down to 0.
  picture.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 145));
  EXPECT_NE(picture.GetTimer(), static_cast<UINT>(CPictureWnd::TimerDown));
  picture.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
  EXPECT_EQ(picture.GetTimer(), static_cast<UINT>(CPictureWnd::TimerUp));
  picture.SendMessage(WM_TIMER, CPictureWnd::TimerUp);
  EXPECT_EQ(picture.GetScrollPosition().y, 278);
  for (int i = 0; i < 40; ++i) picture.SendMessage(WM_TIMER, CPictureWnd::TimerUp);
  EXPECT_EQ(picture.GetScrollPosition().y, 0);
  EXPECT_EQ(picture.GetTimer(), 0u);
  ::ReleaseCapture();
  parent.DestroyWindow();
}

TEST_F(PictureWindow, APictureWiderByLessThanTenPixelsDoesNotScroll) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CPictureWnd picture;
  // A 615-pixel-wide client for the 620-pixel picture.
  ASSERT_TRUE(picture.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 615, 400), &parent, 5, IDB_HOME_BACKGROUND,
                             TRUE, MAKEINTRESOURCEA(IDB_HOME_BACKGROUND), nullptr, FALSE, FALSE, CPoint(0, 0)));
  ASSERT_TRUE(picture.SetPicture(IDB_HOME_BACKGROUND, TRUE, FALSE));
  EXPECT_EQ(picture.GetPictureSize().cx, 615);
  picture.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(610, 200));
  EXPECT_NE(picture.GetMode(), CPictureWnd::EdgeScrolling);
  // A picture that cannot be read fails and leaves none.
  EXPECT_FALSE(picture.SetPicture(9999, FALSE, FALSE));
  EXPECT_EQ(picture.GetPictureSize(), CSize(0, 0));
  ::ReleaseCapture();
  parent.DestroyWindow();
}

TEST_F(PictureWindow, InTheTimelineItDrawsItsOwnScrollStripAndScrollsByIt) {
  StartWithMedia();
  ASSERT_TRUE(Frame()->ShowTimeline());
  ui::PumpUntilIdle();
  CView* timeline = Frame()->GetScreen(Screen::Timeline);
  ASSERT_NE(timeline, nullptr);
  CPictureWnd picture;
  // The 620-pixel background in a bordered 300 x 200 window.
  ASSERT_TRUE(picture.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 310, 210), timeline, 7,
                             IDB_HOME_BACKGROUND, TRUE, MAKEINTRESOURCEA(IDB_HOME_BACKGROUND), nullptr, FALSE, FALSE,
                             CPoint(0, 0)));
  ASSERT_TRUE(picture.IsStripMode());
  CRect window, client;
  picture.GetWindowRect(&window);
  picture.GetClientRect(&client);
  EXPECT_EQ(client.Width(), window.Width() - 4);
  EXPECT_EQ(client.Height(), window.Height() - 4 - CPictureWnd::StripHeight);
  EXPECT_EQ(picture.GetStripMaximum(), (620 - 300) / 10);
  const media_logic::StripGeometry strip = picture.GetStrip();
  EXPECT_EQ(strip.thumb.left, strip.track.left);

  // The right arrow answers as part of the border and scrolls a line.
  const CPoint arrow(window.left + strip.right.CenterPoint().x, window.top + strip.right.CenterPoint().y);
  EXPECT_EQ(picture.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(arrow.x, arrow.y)), HTBORDER);
  picture.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(arrow.x, arrow.y));
  EXPECT_EQ(picture.GetMode(), CPictureWnd::RightArrow);
  EXPECT_EQ(picture.GetScrollPosition().x, 15);
  picture.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(picture.GetMode(), CPictureWnd::Idle);
  // The thumb follows; the far end of the range is the picture's far edge.
  picture.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, picture.GetStripMaximum()), 0);
  EXPECT_EQ(picture.GetScrollPosition().x, 620 - client.Width());
  EXPECT_EQ(picture.GetStrip().thumb.right, strip.track.right);
  picture.SendMessage(WM_HSCROLL, SB_PAGELEFT, 0);
  EXPECT_EQ(picture.GetScrollPosition().x, 620 - client.Width() - 150);
  picture.DestroyWindow();
}

using Thumbnail = MediaScreens;

TEST_F(Thumbnail, CursorsTellTheKindAndADoubleClickAsksForTheItem) {
  StartWithMedia();
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  CThumbWnd sky, eruption;
  // The night sky has a sound: the sound cursor whatever its type.
  ASSERT_TRUE(sky.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &parent, 3,
                         static_cast<UINT>(ItemOf("Astronomy")), nullptr));
  EXPECT_EQ(sky.GetCursorId(), 1121u);
  ASSERT_TRUE(eruption.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(50, 0, 90, 30), &parent, 4,
                              static_cast<UINT>(ItemOf("Volcano")), nullptr));
  EXPECT_EQ(eruption.GetCursorId(), 1123u);
  EXPECT_FALSE(eruption.IsInDisplay());

  // Built lazily on the first paint; a picture of another shape fills the whole window.
  EXPECT_FALSE(sky.IsBuilt());
  sky.UpdateWindow();
  ui::PumpUntilIdle();
  EXPECT_TRUE(sky.IsBuilt());
  EXPECT_TRUE(sky.HasBitmap());
  CClientDC dc(&sky);
  EXPECT_NE(dc.GetPixel(39, 29), CLR_INVALID);

  // A movie has no picture: built, nothing to show, not read again.
  eruption.UpdateWindow();
  ui::PumpUntilIdle();
  EXPECT_TRUE(eruption.IsBuilt());
  EXPECT_FALSE(eruption.HasBitmap());
  EXPECT_FALSE(eruption.SendMessage(WM_THUMBNAIL));

  sky.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ui::PumpUntilIdle();
  ASSERT_EQ(parent.Count(WM_SHOWITEM), 1);
  EXPECT_EQ(parent.received.back().wParam, static_cast<WPARAM>(ItemOf("Astronomy")));

  // LoadItem takes a new item and builds again.
  EXPECT_TRUE(eruption.LoadItem(static_cast<UINT>(ItemOf("Comet"))));
  EXPECT_FALSE(eruption.IsBuilt());
  EXPECT_EQ(eruption.GetCursorId(), 1120u);
  parent.DestroyWindow();
}

TEST_F(Thumbnail, InsideADisplayItPostsItsControlIdToTheDisplaysScreen) {
  StartWithMedia();
  Recorder screen;
  ASSERT_TRUE(screen.Make());
  CDisplay display;
  ASSERT_TRUE(display.Create(&screen, CRect(0, 0, 300, 200), WS_CHILD | WS_VISIBLE, CDisplay::kControlId, 1));
  CThumbWnd thumb;
  ASSERT_TRUE(thumb.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 30), &display, 3004,
                           static_cast<UINT>(ItemOf("Comet")), nullptr));
  EXPECT_TRUE(thumb.IsInDisplay());
  thumb.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ui::PumpUntilIdle();
  ASSERT_EQ(screen.Count(WM_SHOWITEM), 1);
  EXPECT_EQ(screen.received.back().wParam, 3004u);
  thumb.DestroyWindow();
  display.DestroyWindow();
  screen.DestroyWindow();
}

// The popup is modal: a timer of the thread acts on it while it runs.
CTimedBitmapDlg* g_popup = nullptr;
std::vector<std::string> g_seen;
int g_ticks = 0;

void CALLBACK PressKeys(HWND, UINT, UINT_PTR, DWORD) {
  ++g_ticks;
  if (!g_popup || !g_popup->GetSafeHwnd()) return;
  HWND popup = g_popup->m_hWnd;
  if (g_ticks == 1) {
    ::SendMessageA(popup, WM_COMMAND, IDCANCEL, 0);  // what Escape sends
    g_seen.push_back(::IsWindowVisible(popup) ? "open after escape" : "closed by escape");
  } else if (g_ticks == 2 && g_seen.size() == 1 && g_seen[0] == "enter") {
    ::SendMessageA(popup, WM_COMMAND, IDOK, 0);  // what Enter sends
  }
}

using TimedPopup = MediaScreens;

TEST_F(TimedPopup, EscapeLeavesItOpenUntilItsTimeAndEnterClosesItAtOnce) {
  StartWithMedia();
  CTimedBitmapDlg popup;
  popup.m_bitmapId = 1279;
  g_popup = &popup;
  g_seen.clear();
  g_ticks = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, PressKeys);
  EXPECT_EQ(popup.DoModal(), 0);  // ended by its own timer
  ::KillTimer(nullptr, timer);
  ASSERT_FALSE(g_seen.empty());
  EXPECT_EQ(g_seen[0], "open after escape");
  EXPECT_EQ(popup.GetBitmapWidth(), 500);  // the whole five-frame strip
  EXPECT_EQ(popup.GetBitmapHeight(), 20);

  CTimedBitmapDlg second;
  second.m_bitmapId = 1279;
  g_popup = &second;
  g_seen = {"enter"};
  g_ticks = 1;
  const UINT_PTR again = ::SetTimer(nullptr, 0, 100, PressKeys);
  EXPECT_EQ(second.DoModal(), IDOK);
  ::KillTimer(nullptr, again);
  g_popup = nullptr;
}

}  // namespace
}  // namespace mediatest
