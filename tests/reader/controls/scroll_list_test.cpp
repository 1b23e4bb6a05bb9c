// The skinned scroll bar on the scroll list boxes: frame and bar geometry,
// arrow frames, thumb moves, presses with their repeats, thumb drags, keys
// and the rows' drawing.
#include <gtest/gtest.h>

#include <chrono>

#include "controls/scroll_list_box.h"
#include "fake_skin.h"

namespace {

constexpr UINT kListId = 3001;
constexpr DWORD kOwnerDrawn = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;

BOOL g_buttonDown = TRUE;
BOOL FakeButton() { return g_buttonDown; }

class ScrollListTest : public SkinTest {
 protected:
  ScrollListTest() {
    previousButton_ = CSkinBar::s_isButtonDown;
    CSkinBar::s_isButtonDown = FakeButton;
    g_buttonDown = TRUE;
  }
  ~ScrollListTest() override { CSkinBar::s_isButtonDown = previousButton_; }

  // A list of `rows` whole rows in the encyclopedia look.
  void Make(CScrollListBox& list, int rows, int look = kSkinEncyclopedia) {
    MakeListBox(kListId, kOwnerDrawn);
    const int height = rows * skin.m_lineHeight + 4;
    ASSERT_TRUE(list.Create(CRect(10, 10, 210, 10 + height), &parent, kListId, look));
  }
  // Where a window-relative point of the list is on the screen.
  static CPoint Screen(CWnd& list, CPoint at) {
    CRect window;
    list.GetWindowRect(&window);
    return CPoint(window.left + at.x, window.top + at.y);
  }
  static COLORREF WindowPixel(CWnd& list, CPoint at) {
    list.SendMessage(WM_NCPAINT, 1, 0);
    CWindowDC dc(&list);
    return dc.GetPixel(at.x, at.y);
  }
  static CPoint Centre(const CRect& rect) { return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }
  void Fill(CScrollListBox& list, int count) {
    for (int i = 0; i < count; ++i) {
      CString text;
      text.Format("Row %d", i + 1);
      list.AddString(text);
    }
  }

 private:
  BOOL (*previousButton_)() = nullptr;
};

TEST_F(ScrollListTest, FrameAndBarTakeTheirPixelsAndRowsAreWhole) {
  CScrollListBox list;
  MakeListBox(kListId, kOwnerDrawn);
  const int line = skin.m_lineHeight;
  // Seven rows and a bit: the list is cut to seven whole rows.
  ASSERT_TRUE(list.Create(CRect(10, 10, 210, 10 + 4 + 7 * line + line / 2), &parent, kListId, kSkinEncyclopedia));
  CRect window;
  list.GetWindowRect(&window);
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(client.Width(), window.Width() - 2 - 2 - 17);
  EXPECT_EQ(client.Height(), 7 * line);
  EXPECT_EQ(window.Height(), 7 * line + 4);
  EXPECT_EQ(list.Bar().m_page, 7);
  EXPECT_EQ(list.GetItemHeight(0), line);
  // The parts: arrows in the strip's corners, the thumb at the track's top.
  const CSkinBar& bar = list.Bar();
  EXPECT_EQ(bar.m_layout.up, CRect(200 - 16, 3, 200 - 3, 11));
  EXPECT_EQ(bar.m_layout.down.bottom, window.Height() - 3);
  EXPECT_EQ(bar.m_layout.thumb.top, bar.m_layout.track.top);
  // Painted frame: the track brush outside, the edge brush one pixel in.
  EXPECT_EQ(WindowPixel(list, CPoint(0, 20)), CFakeSkin::BrushColour(2));
  EXPECT_EQ(WindowPixel(list, CPoint(1, 20)), CFakeSkin::BrushColour(0));
  EXPECT_EQ(WindowPixel(list, CPoint(window.Width() - 19, 20)), CFakeSkin::BrushColour(2));
  EXPECT_EQ(WindowPixel(list, CPoint(window.Width() - 18, 20)), CFakeSkin::BrushColour(0));
  EXPECT_EQ(WindowPixel(list, Centre(bar.m_layout.thumb)), CFakeSkin::FrameColour(4033, 0));
}

TEST_F(ScrollListTest, ArrowsWakeWithTheRowAfterAFullPage) {
  CScrollListBox list;
  Make(list, 8);
  const CPoint up = Centre(list.Bar().m_layout.up);
  const CPoint down = Centre(list.Bar().m_layout.down);
  Fill(list, 8);
  EXPECT_EQ(list.Bar().m_max, 1);
  EXPECT_EQ(WindowPixel(list, up), CFakeSkin::FrameColour(4034, 2));
  EXPECT_EQ(WindowPixel(list, down), CFakeSkin::FrameColour(4031, 2));
  // Presses on a bar with nothing to scroll do nothing.
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(Screen(list, down).x, Screen(list, down).y));
  EXPECT_EQ(list.Bar().m_downFrame, CSkinBar::kDisabled);
  EXPECT_EQ(list.Bar().m_timer, 0u);
  Fill(list, 1);
  EXPECT_EQ(list.Bar().m_max, 2);
  EXPECT_EQ(WindowPixel(list, up), CFakeSkin::FrameColour(4034, 0));
  EXPECT_EQ(WindowPixel(list, down), CFakeSkin::FrameColour(4031, 0));
}

TEST_F(ScrollListTest, DeletingRowsKeepsThePositionInRange) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 20);
  list.Scroll(bar::kBottom, 0);
  EXPECT_EQ(list.Bar().m_pos, 13);
  EXPECT_EQ(list.GetTopIndex(), 12);
  list.DeleteString(0);
  list.DeleteString(0);
  EXPECT_EQ(list.Bar().m_max, 11);
  EXPECT_EQ(list.Bar().m_pos, 11);
  EXPECT_EQ(list.GetTopIndex(), 10);
  list.ResetContent();
  EXPECT_EQ(list.Bar().m_pos, 1);
  EXPECT_EQ(list.Bar().m_max, 1);
  EXPECT_EQ(list.Bar().m_upFrame, CSkinBar::kDisabled);
}

TEST_F(ScrollListTest, PageKeysOnAShortListStayOnTheFirstRow) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 3);
  EXPECT_EQ(list.Bar().m_max, 3 - 8 + 1);
  list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  list.SendMessage(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(list.Bar().m_pos, 1);
  EXPECT_EQ(list.GetTopIndex(), 0);
}

TEST_F(ScrollListTest, ThumbPixelsMoveWithThePosition) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 40);
  list.SendMessage(WM_NCPAINT, 1, 0);
  const CRect track = list.Bar().m_layout.track;
  list.Scroll(bar::kBottom, 0);
  const CRect thumb = list.Bar().m_layout.thumb;
  EXPECT_EQ(thumb.bottom, track.bottom);
  // Only the thumb's pixels moved: read the window DC without repainting.
  CWindowDC dc(&list);
  EXPECT_EQ(dc.GetPixel(thumb.left + 3, thumb.top + 2), CFakeSkin::FrameColour(4033, 0));
  EXPECT_EQ(dc.GetPixel(thumb.left + 3, track.top + 2), CFakeSkin::BrushColour(2));
  list.Scroll(bar::kPageUp, 0);
  EXPECT_EQ(list.Bar().m_pos, 33 - 7);
  list.SetPosition(10, TRUE);
  // Page up from 10 with 8 rows a page goes to 3.
  list.Scroll(bar::kPageUp, 0);
  EXPECT_EQ(list.Bar().m_pos, 3);
  EXPECT_EQ(list.GetTopIndex(), 2);
}

TEST_F(ScrollListTest, HoldingAnArrowRepeatsByTimerAndStopsOffTheArrow) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 40);
  const CPoint down = Screen(list, Centre(list.Bar().m_layout.down));
  ::SetCursorPos(down.x, down.y);
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(down.x, down.y));
  // One line at once, then the 500 ms timer of part 1.
  EXPECT_EQ(list.Bar().m_pos, 2);
  EXPECT_EQ(list.Bar().m_downFrame, CSkinBar::kPressed);
  EXPECT_EQ(list.Bar().m_timer, 21u);
  EXPECT_EQ(WindowPixel(list, Centre(list.Bar().m_layout.down)), CFakeSkin::FrameColour(4031, 1));
  list.SendMessage(WM_TIMER, 21, 0);
  list.SendMessage(WM_TIMER, 21, 0);
  EXPECT_EQ(list.Bar().m_pos, 4);
  // Off the arrow: normal frame, no scrolling, still polling.
  ::SetCursorPos(down.x - 60, down.y);
  list.SendMessage(WM_TIMER, 21, 0);
  EXPECT_EQ(list.Bar().m_pos, 4);
  EXPECT_EQ(list.Bar().m_downFrame, CSkinBar::kNormal);
  EXPECT_EQ(list.Bar().m_timer, 21u);
  // Back on it while held: it scrolls again; released: the next tick stops.
  ::SetCursorPos(down.x, down.y);
  list.SendMessage(WM_TIMER, 21, 0);
  EXPECT_EQ(list.Bar().m_pos, 5);
  g_buttonDown = FALSE;
  list.SendMessage(WM_TIMER, 21, 0);
  EXPECT_EQ(list.Bar().m_pos, 5);
  EXPECT_EQ(list.Bar().m_timer, 0u);
}

TEST_F(ScrollListTest, HoldingTheTrackPagesUntilTheThumbReachesThePointer) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 40);
  const CRect track = list.Bar().m_layout.track;
  const CPoint below = Screen(list, CPoint(Centre(track).x, track.bottom - 2));
  ::SetCursorPos(below.x, below.y);
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(below.x, below.y));
  EXPECT_EQ(list.Bar().m_pos, 8);
  EXPECT_EQ(list.Bar().m_timer, 23u);
  for (int i = 0; i < 10; ++i) list.SendMessage(WM_TIMER, 23, 0);
  // The thumb reached the pointer; the timer keeps polling.
  EXPECT_EQ(list.Bar().m_pos, 33);
  EXPECT_EQ(list.Bar().m_timer, 23u);
  list.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(list.Bar().m_timer, 0u);
}

TEST_F(ScrollListTest, RealPressRepeatsOverTime) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 200);
  g_buttonDown = TRUE;
  const CPoint down = Screen(list, Centre(list.Bar().m_layout.down));
  ::SetCursorPos(down.x, down.y);
  ui::TimerMessages repeats(list.GetSafeHwnd(), list.Bar().m_timerBase + CSkinBar::kDownArrow,
                            [&] { return list.Bar().m_pos; });
  const ui::TimerMessages::Clock::time_point pressed = ui::TimerMessages::Clock::now();
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(down.x, down.y));
  EXPECT_EQ(list.Bar().m_pos, 2);  // one line at once; the repeat waits out 500 ms
  // Then a line for each of the bar's timer messages, however late they come.
  constexpr std::size_t kRepeats = 4;
  ASSERT_TRUE(repeats.PumpUntilCount(kRepeats));
  EXPECT_GE(repeats.messages()[0].at - pressed, std::chrono::milliseconds(500));
  for (std::size_t i = 0; i < kRepeats; ++i) EXPECT_EQ(repeats.messages()[i].before, static_cast<int>(2 + i)) << i;
  // Let go: the next one steps no more and leaves no timer.
  g_buttonDown = FALSE;
  const int stopped = list.Bar().m_pos;
  ASSERT_TRUE(repeats.PumpUntilCount(repeats.messages().size() + 1));
  EXPECT_EQ(list.Bar().m_pos, stopped);
  EXPECT_EQ(list.Bar().m_timer, 0u);
  EXPECT_FALSE(repeats.StillSet());
}

TEST_F(ScrollListTest, DraggingTheThumbToTheBottomGivesMaxAndFarAwaySnapsBack) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 40);
  const CSkinBar& bar = list.Bar();
  const CPoint thumb = Screen(list, Centre(bar.m_layout.thumb));
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(thumb.x, thumb.y));
  EXPECT_TRUE(bar.m_dragging);
  EXPECT_EQ(::GetCapture(), list.GetSafeHwnd());
  // Moves come in client coordinates while captured.
  auto move = [&](CPoint windowPoint) {
    CPoint screen = Screen(list, windowPoint);
    list.ScreenToClient(&screen);
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(screen.x, screen.y));
    return screen;
  };
  move(CPoint(Centre(bar.m_layout.track).x, bar.m_layout.track.bottom + 10));
  EXPECT_EQ(bar.m_dragRect.top, bar.m_layout.track.bottom - bar.m_sizes.thumbHeight);
  const CPoint release = move(CPoint(Centre(bar.m_layout.track).x, bar.m_layout.track.bottom + 10));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
  EXPECT_FALSE(bar.m_dragging);
  EXPECT_EQ(bar.m_pos, 33);

  // A drag 30 pixels or more below the track snaps home; releasing there keeps the place.
  const CPoint again = Screen(list, Centre(bar.m_layout.thumb));
  list.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(again.x, again.y));
  move(CPoint(Centre(bar.m_layout.track).x, bar.m_layout.track.top + 20));
  EXPECT_NE(bar.m_dragRect.top, bar.m_savedRect.top);
  const CPoint away = move(CPoint(Centre(bar.m_layout.track).x, bar.m_layout.track.bottom + 40));
  EXPECT_EQ(bar.m_dragRect.top, bar.m_savedRect.top);
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(away.x, away.y));
  EXPECT_EQ(bar.m_pos, 33);
}

TEST_F(ScrollListTest, ArrowKeysMoveTheSelectionScrollAndNotify) {
  CScrollListBox list;
  Make(list, 8);
  Fill(list, 20);
  list.SetCurSel(7);  // the last row of the first page
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetCurSel(), 8);
  EXPECT_EQ(list.Bar().m_pos, 2);
  ui::PumpUntilIdle();
  const auto notices = Commands(kListId, LBN_SELCHANGE);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].lParam, reinterpret_cast<LPARAM>(list.GetSafeHwnd()));
  list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(list.Bar().m_pos, 9);
  EXPECT_EQ(list.GetCurSel(), 8);  // page keys leave the selection
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetCurSel(), 7);
  EXPECT_EQ(list.Bar().m_pos, 8);
  list.SetCurSel(19);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // nothing after the last row
  EXPECT_EQ(list.GetCurSel(), 19);
  list.SetCurSel(0);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_F(ScrollListTest, ResizingToPartRowsShrinksToWholeRows) {
  CScrollListBox list;
  Make(list, 8);
  const int line = skin.m_lineHeight;
  list.SetWindowPos(nullptr, 0, 0, 200, 4 + 5 * line + 3, SWP_NOMOVE | SWP_NOZORDER);
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(client.Height(), 5 * line);
  EXPECT_EQ(list.Bar().m_page, 5);
}

TEST_F(ScrollListTest, SelectedRowsUseTheSkinsSelectionBrush) {
  CScrollListBox list;
  Make(list, 8, kSkinTimeline);
  Fill(list, 3);
  list.SetCurSel(1);
  const int line = skin.m_lineHeight;
  const ui::Picture picture = ui::Capture(list.GetSafeHwnd());
  EXPECT_EQ(picture.At(150, line + line / 2), CFakeSkin::BrushColour(13));
  EXPECT_EQ(picture.At(150, line / 2), RGB(255, 255, 255));
  // The white row has black text, the selected one white.
  EXPECT_GT(picture.Count(CRect(2, 0, 60, line), RGB(0, 0, 0)), 0);
  EXPECT_GT(picture.Count(CRect(2, line, 60, 2 * line), RGB(255, 255, 255)), 0);
}

TEST_F(ScrollListTest, ValueListKeepsTheIconsOfTheRowsAfterADeletedOne) {
  CValueListBox list;
  MakeListBox(kListId, kOwnerDrawn);
  ASSERT_TRUE(list.Create(CRect(10, 10, 210, 10 + 8 * skin.m_lineHeight + 4), &parent, kListId, kSkinMedia));
  for (UINT i = 1; i <= 5; ++i) {
    CString text;
    text.Format("Folder %u", i);
    EXPECT_EQ(list.AddItem(text, 100 + i, 200 + i), static_cast<int>(i - 1));
  }
  list.DeleteItem(1);
  ASSERT_EQ(list.GetCount(), 4);
  EXPECT_EQ(list.GetImage(1), 103u);
  EXPECT_EQ(list.GetMask(3), 205u);
  const int line = skin.m_lineHeight;
  const ui::Picture picture = ui::Capture(list.GetSafeHwnd());
  // The icon stands 2 pixels in, centred on the row.
  EXPECT_EQ(picture.At(4, line + line / 2), CFakeSkin::IconColour(103));
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.AddItem("Again", 7, 8), 0);
  EXPECT_EQ(list.GetImage(0), 7u);
}

TEST_F(ScrollListTest, DictionaryRowsAreNumberedAndWrapped) {
  CDictListBox list;
  MakeListBox(kListId, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT);
  ASSERT_TRUE(list.Create(CRect(10, 10, 330, 10 + 6 * skin.m_lineHeight + 4), &parent, kListId));
  EXPECT_EQ(list.Bar().m_skin, kSkinDictionary);
  list.AddStringAtEnd("-an unnumbered paragraph");
  list.AddStringAtEnd("second one");
  list.AddStringAtEnd("word with a body that goes on long enough to wrap over several lines of the list");
  CClientDC dc(&list);
  const CDictListBox::RowText dash = CDictListBox::Compose(dc, "-an unnumbered paragraph", 0);
  EXPECT_TRUE(dash.number.IsEmpty());
  EXPECT_STREQ(dash.body, "an unnumbered paragraph");
  const CDictListBox::RowText third = CDictListBox::Compose(dc, "word with a body", 2);
  EXPECT_STREQ(third.number, "3 ");
  EXPECT_STREQ(third.lead, "word");
  // The body's first line starts after the number and the word.
  CFont* old = dc.SelectObject(skin.GetFont(0));
  const int blank = dc.GetTextExtent(" ", 1).cx;
  dc.SelectObject(skin.GetFont(1));
  const int number = dc.GetTextExtent("3 ", 2).cx;
  dc.SelectObject(skin.GetFont(2));
  const int lead = dc.GetTextExtent("word", 4).cx;
  dc.SelectObject(old);
  const int blanks = (number + lead + blank - 1) / blank;
  EXPECT_EQ(third.body, CString(' ', blanks) + " with a body");
  // Row heights are the wrapped bodies' heights; the long row takes lines.
  EXPECT_EQ(list.GetItemHeight(0), skin.m_lineHeight);
  const CDictListBox::RowText long_ =
      CDictListBox::Compose(dc, "word with a body that goes on long enough to wrap over several lines of the list", 2);
  CRect client;
  list.GetClientRect(&client);
  CRect wrapped(0, 0, client.Width() - 4, 0);
  old = dc.SelectObject(skin.GetFont(0));
  const int height = dc.DrawText(long_.body, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(old);
  EXPECT_EQ(list.GetItemHeight(2), height);
  EXPECT_GT(height, skin.m_lineHeight);
  // max is the position at which the last row is the lowest whole row: with
  // ten more one-line rows, the last six fill the six lines of the list.
  EXPECT_EQ(list.Bar().m_max, 1);
  for (int i = 0; i < 10; ++i) list.AddStringAtEnd("-x");
  EXPECT_EQ(list.Bar().m_max, 13 - 6 + 1);
  EXPECT_EQ(list.Bar().m_pos, 1);  // the view does not move
  list.ResetContent();
  EXPECT_EQ(list.Bar().m_max, 1);
}

}  // namespace
