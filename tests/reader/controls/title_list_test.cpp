// The article title list and the timeline event list: blank rows and ranges,
// page fetches, selection by mouse and keys, notifications, colours, the
// full-title pop-up and resizing.
#include <gtest/gtest.h>

#include <cstdio>

#include "controls/bm_list_box.h"
#include "controls/event_list_box.h"
#include "fake_skin.h"

namespace {

constexpr UINT kListId = 2045;
constexpr DWORD kBlankRows = LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT;

CBitString Articles(int first, int count, int size = 1000) {
  CBitString set(size, FALSE);
  set.SetRange(first, count, TRUE);
  return set;
}

class TitleListTest : public SkinTest {
 protected:
  void Make(CBmListBox& list, int rows, int width = 200) {
    MakeListBox(kListId, kBlankRows);
    ASSERT_TRUE(
        list.Create(CRect(10, 10, 10 + width, 10 + 4 + rows * skin.m_lineHeight), &parent, kListId, kSkinEncyclopedia));
    ASSERT_EQ(list.GetRows(), rows);
  }
  int Notices() {
    ui::PumpUntilIdle();
    return static_cast<int>(Commands(kListId, LBN_SELCHANGE).size());
  }
  void ClickRow(CBmListBox& list, int row, UINT keys = 0) {
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(20, row * skin.m_lineHeight + 2));
    list.SendMessage(WM_LBUTTONUP, keys, MAKELPARAM(20, row * skin.m_lineHeight + 2));
  }
};

TEST_F(TitleListTest, AnEmptySetHasNoRowsNoCurrentAndNoNotice) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(CBitString(50, FALSE));
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCurArticle(), -1);
  EXPECT_EQ(Notices(), 0);
  EXPECT_EQ(list.Bar().m_upFrame, CSkinBar::kDisabled);
}

TEST_F(TitleListTest, BlankRowsAndRangeFollowTheSetSize) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(11, 5));
  EXPECT_EQ(list.GetCount(), 5);
  int first = 0;
  int last = 0;
  list.GetRange(first, last);
  EXPECT_EQ(last, 1);
  EXPECT_EQ(list.GetCurArticle(), 11);
  EXPECT_EQ(Notices(), 1);
  list.SetArticles(Articles(1, 100));
  EXPECT_EQ(list.GetCount(), 16);
  list.GetRange(first, last);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 93);
  EXPECT_EQ(list.Bar().m_upFrame, CSkinBar::kNormal);
  EXPECT_STREQ(list.RowTitle(7), "Article 8");
}

TEST_F(TitleListTest, AMoveByLessThanAPageFetchesOnlyTheNewRows) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(1, 10000, 20000));
  skin.m_titleCalls.clear();
  list.Scroll(bar::kLineDown, 0);
  EXPECT_EQ(skin.m_titleCalls, std::vector<int>{9});
  EXPECT_STREQ(list.RowTitle(0), "Article 2");
  skin.m_titleCalls.clear();
  list.Scroll(bar::kPageDown, 0);
  EXPECT_EQ(skin.m_titleCalls.size(), 7u);
  skin.m_titleCalls.clear();
  list.Scroll(bar::kBottom, 0);
  EXPECT_EQ(skin.m_titleCalls.size(), 8u);
  EXPECT_STREQ(list.RowTitle(7), "Article 10000");
  EXPECT_EQ(list.GetTopIndex(), 10000 - 8 + 1);
  // The list box itself never scrolls: it shows its first rows.
  EXPECT_EQ(list.CListBox::GetTopIndex(), 0);
}

TEST_F(TitleListTest, OrderedSetsListInRankOrder) {
  CBmListBox list;
  Make(list, 8);
  CBitString ranked(100, TRUE);
  for (int article : {40, 7, 93}) ranked.SetBit(article, TRUE, TRUE);
  list.SetArticles(ranked);
  EXPECT_EQ(list.RowItem(0), 40);
  EXPECT_EQ(list.RowItem(2), 93);
  // A shift-click ranges by rank, not by number.
  ClickRow(list, 2, MK_SHIFT);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 3);
  EXPECT_EQ(list.GetCurArticle(), 93);
}

TEST_F(TitleListTest, ClicksSelectExtendAndAdd) {
  CBmListBox list;
  Make(list, 8);
  CBitString set(100, FALSE);
  for (int article : {3, 5, 8, 13, 21, 34}) set.SetBit(article);
  list.SetArticles(set);
  const int before = Notices();
  ClickRow(list, 1);  // 5
  EXPECT_EQ(list.GetCurArticle(), 5);
  EXPECT_EQ(Notices(), before + 1);
  EXPECT_TRUE(list.IsRowSelected(1));
  EXPECT_FALSE(list.IsRowSelected(0));
  // Shift: the numbers from 5 to 21 that are listed.
  ClickRow(list, 4, MK_SHIFT);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 4);
  EXPECT_FALSE(list.GetSelection().Test(6));
  EXPECT_EQ(list.GetCurArticle(), 21);
  // Shift on the current one alone: just that article.
  ClickRow(list, 4, MK_SHIFT);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 1);
  // Ctrl adds; ctrl with shift keeps the earlier selection and adds the range.
  ClickRow(list, 0, MK_CONTROL);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 2);
  ClickRow(list, 5, MK_CONTROL);
  ClickRow(list, 2, MK_CONTROL | MK_SHIFT);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 5);  // 3, 8, 13, 21, 34
  EXPECT_FALSE(list.GetSelection().Test(5));
  // Below the last row nothing happens.
  const int notices = Notices();
  ClickRow(list, 7);
  EXPECT_EQ(list.GetCurArticle(), 8);
  EXPECT_EQ(Notices(), notices);
}

TEST_F(TitleListTest, APressRowsAboveTheListSelectsNothing) {
  // With the mouse captured a press can come from above the list.
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(1, 20));
  const int notices = Notices();
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, -3 * skin.m_lineHeight - 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, -3 * skin.m_lineHeight - 2));
  EXPECT_EQ(list.GetCurArticle(), 1);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 1);
  EXPECT_EQ(Notices(), notices);
}

TEST_F(TitleListTest, ArrowKeysMoveTheCurrentArticleAndScroll) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(1, 50));
  ui::PumpUntilIdle();
  for (int i = 0; i < 7; ++i) list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetCurArticle(), 8);
  EXPECT_EQ(list.GetTopIndex(), 1);
  list.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(list.GetCurArticle(), 9);
  EXPECT_EQ(list.GetTopIndex(), 2);  // shown as the last row
  EXPECT_EQ(list.GetSelection().GetSetCount(), 1);
  list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(list.GetCurArticle(), 9);  // page keys leave the selection
  EXPECT_EQ(list.GetTopIndex(), 9);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetCurArticle(), 8);
  EXPECT_EQ(list.GetTopIndex(), 8);  // shown as the first row
  list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  list.SelectArticle(1);
  const int notices = Notices();
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetCurArticle(), 1);
  EXPECT_EQ(Notices(), notices);
}

TEST_F(TitleListTest, SelectArticleScrollsItToTheTopAsFarAsMaxAllows) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(1, 30));
  const int notices = Notices();
  EXPECT_EQ(list.SelectArticle(31), -1);
  EXPECT_NE(list.SelectArticle(12), -1);
  EXPECT_EQ(list.GetTopIndex(), 12);
  EXPECT_NE(list.SelectArticle(29), -1);
  EXPECT_EQ(list.GetTopIndex(), 23);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 1);
  EXPECT_EQ(Notices(), notices);
}

TEST_F(TitleListTest, BookmarkedTitlesAreRedUnlessSelected) {
  CBmListBox list;
  Make(list, 8);
  skin.m_bookmarked = {2, 3};
  skin.m_titles[2] = "WWWWWWWW";
  skin.m_titles[3] = "WWWWWWWW";
  list.SetArticles(Articles(1, 5));
  ClickRow(list, 2);  // 3: selected
  const int line = skin.m_lineHeight;
  const ui::Picture shown = ui::Capture(list.GetSafeHwnd());
  EXPECT_GT(shown.Count(CRect(2, line, 100, 2 * line), RGB(255, 0, 0)), 10);
  EXPECT_EQ(shown.Count(CRect(2, 2 * line, 100, 3 * line), RGB(255, 0, 0)), 0);
  EXPECT_GT(shown.Count(CRect(2, 2 * line, 100, 3 * line), RGB(255, 255, 255)), 10);
  EXPECT_EQ(shown.At(150, 2 * line + line / 2), CFakeSkin::BrushColour(1));
}

TEST_F(TitleListTest, IconsStandBeforeTheTitles) {
  CBmListBox list;
  Make(list, 8);
  skin.m_articleIcons[2] = 1094;
  list.SetArticles(Articles(1, 5));
  const int line = skin.m_lineHeight;
  const ui::Picture shown = ui::Capture(list.GetSafeHwnd());
  EXPECT_EQ(shown.At(4, line + line / 2), CFakeSkin::IconColour(1094));
  EXPECT_NE(shown.At(4, line / 2), CFakeSkin::IconColour(1094));
}

TEST_F(TitleListTest, OnlyTitlesThatDoNotFitPopUp) {
  CBmListBox list;
  Make(list, 8, 120);
  skin.m_titles[1] = "Short";
  skin.m_titles[2] = "A title much too long to fit in this narrow list";
  list.SetArticles(Articles(1, 5));
  list.ShowPopup(0);
  EXPECT_EQ(list.GetHoverRow(), -1);
  list.ShowPopup(1);
  EXPECT_EQ(list.GetHoverRow(), 1);
  CRect window;
  list.GetWindowRect(&window);
  const CRect popup = list.GetPopupRect();
  EXPECT_EQ(popup.left, window.left + 2);
  EXPECT_EQ(popup.top, window.top + 2 + skin.m_lineHeight);
  EXPECT_GT(popup.right, window.right);
  list.SendMessage(WM_NCMOUSEMOVE, HTBORDER, 0);
  EXPECT_EQ(list.GetHoverRow(), -1);
}

TEST_F(TitleListTest, ThePointerRestingOnALongTitleShowsItAfterTheDelay) {
  CBmListBox list;
  Make(list, 8, 120);
  skin.m_titles[2] = "A title much too long to fit in this narrow list";
  list.SetArticles(Articles(1, 5));
  ui::MoveMouse(list.GetSafeHwnd(), CPoint(30, skin.m_lineHeight + 3));
  EXPECT_EQ(list.GetHoverRow(), -1);
  EXPECT_TRUE(ui::PumpUntil([&] { return list.GetHoverRow() == 1; }));
  // Onto another row: gone.
  ui::MoveMouse(list.GetSafeHwnd(), CPoint(30, 3 * skin.m_lineHeight + 3));
  EXPECT_EQ(list.GetHoverRow(), -1);
  // Leaving through the parent's hover message once started.
  list.ShowPopup(1);
  skin.m_started = FALSE;
  list.SendMessage(WM_BUTTON_HOVER, 0, 0);
  EXPECT_EQ(list.GetHoverRow(), 1);
  skin.m_started = TRUE;
  list.SendMessage(WM_BUTTON_HOVER, 0, 0);
  EXPECT_EQ(list.GetHoverRow(), -1);
}

TEST_F(TitleListTest, ResizingKeepsTheCurrentArticleCurrentAndInView) {
  CBmListBox list;
  Make(list, 8);
  list.SetArticles(Articles(1, 40));
  list.SelectArticle(20);
  const int notices = Notices();
  const int line = skin.m_lineHeight;
  list.SetWindowPos(nullptr, 0, 0, 200, 4 + 5 * line + 5, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(list.GetRows(), 5);
  EXPECT_EQ(list.GetCurArticle(), 20);
  EXPECT_EQ(list.GetTopIndex(), 20);
  EXPECT_EQ(list.GetSelection().GetSetCount(), 1);
  EXPECT_TRUE(list.GetSelection().Test(20));
  EXPECT_EQ(Notices(), notices + 1);  // from applying the set again, no second one
}

// The timeline search window: titles and entries of its events.
class EventParent : public ui::RecordingParent, public CEventListSource {
 public:
  int GetItemTitle(int event, char* buffer) override {
    std::snprintf(buffer, 255, "Event %d", event);
    return 1;
  }
  DWORD GetEventEntry(int event) override { return static_cast<DWORD>(event * 10); }
};

class EventListTest : public SkinTest {
 protected:
  EventListTest() { events.ShowWindow(SW_SHOWNA); }
  void Make(CEventListBox& list, int rows) {
    ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | kBlankRows, 10, 10, 200, 100,
                      events.GetSafeHwnd(), reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
    ASSERT_TRUE(list.Create(CRect(10, 10, 210, 10 + 4 + rows * skin.m_lineHeight), &events, kListId));
  }
  int Notices() {
    ui::PumpUntilIdle();
    int count = 0;
    for (const MSG& msg : events.Of(WM_COMMAND)) {
      if (msg.wParam == MAKEWPARAM(kListId, LBN_SELCHANGE)) ++count;
    }
    return count;
  }
  EventParent events;
};

TEST_F(EventListTest, EmptySetsHaveNoCurrentEventAndSendNoNotice) {
  CEventListBox list;
  Make(list, 6);
  list.SetItems(CBitString(30, FALSE));
  EXPECT_EQ(list.GetAnchor(), -1);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(Notices(), 0);
}

TEST_F(EventListTest, TitlesComeFromTheParentAndTheFirstEventIsCurrent) {
  CEventListBox list;
  Make(list, 6);
  list.SetItems(Articles(4, 20, 100));
  EXPECT_EQ(list.GetAnchor(), 4);
  EXPECT_EQ(Notices(), 1);
  EXPECT_STREQ(list.RowTitle(2), "Event 6");
  EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_F(EventListTest, DownFromTheLastVisibleRowScrollsOneRow) {
  CEventListBox list;
  Make(list, 6);
  list.SetItems(Articles(1, 20, 100));
  for (int i = 0; i < 5; ++i) list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetAnchor(), 6);
  EXPECT_EQ(list.GetTopIndex(), 1);
  EXPECT_EQ(list.GetCurSel(), 5);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetAnchor(), 7);
  EXPECT_EQ(list.GetTopIndex(), 2);
  EXPECT_EQ(list.GetCurSel(), 5);
  EXPECT_EQ(Notices(), 1 + 6);
  list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(list.GetTopIndex(), 7);
  EXPECT_EQ(list.GetCurSel(), 0);  // the current event is the page's first row
  list.SendMessage(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(list.GetCurSel(), -1);  // it left the page
}

TEST_F(EventListTest, BookmarkedEventsAreRedUnlessCurrent) {
  CEventListBox list;
  Make(list, 6);
  skin.m_entryOffset = 1;
  skin.m_bookmarked = {21, 31};  // the articles of events 2 and 3
  list.SetItems(Articles(1, 5, 100));
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // event 3 current
  const int line = skin.m_lineHeight;
  const ui::Picture shown = ui::Capture(list.GetSafeHwnd());
  EXPECT_GT(shown.Count(CRect(2, line, 100, 2 * line), RGB(255, 0, 0)), 5);
  EXPECT_EQ(shown.Count(CRect(2, 2 * line, 100, 3 * line), RGB(255, 0, 0)), 0);
  EXPECT_EQ(shown.At(150, 2 * line + line / 2), CFakeSkin::BrushColour(13));
}

TEST_F(EventListTest, APressRowsAboveTheListKeepsTheCurrentEvent) {
  CEventListBox list;
  Make(list, 6);
  list.SetItems(Articles(1, 20, 100));
  const int notices = Notices();
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, -3 * skin.m_lineHeight - 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, -3 * skin.m_lineHeight - 2));
  EXPECT_EQ(list.GetAnchor(), 1);
  EXPECT_EQ(Notices(), notices);
}

TEST_F(EventListTest, ClicksMakeTheRowCurrentAndResizingStartsAgain) {
  CEventListBox list;
  Make(list, 6);
  list.SetItems(Articles(1, 20, 100));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 3 * skin.m_lineHeight + 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 3 * skin.m_lineHeight + 2));
  EXPECT_EQ(list.GetAnchor(), 4);
  EXPECT_EQ(list.GetCurSel(), 3);
  EXPECT_EQ(Notices(), 2);
  list.SetWindowPos(nullptr, 0, 0, 200, 4 + 4 * skin.m_lineHeight + 3, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(list.GetRows(), 4);
  EXPECT_EQ(list.GetAnchor(), 1);
  EXPECT_EQ(Notices(), 3);
}

}  // namespace
