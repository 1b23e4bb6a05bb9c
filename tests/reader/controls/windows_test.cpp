// The flat and hover edits, the skinned static text, the note icon, the scrolling windows and the
// plain and framed list boxes.
#include <gtest/gtest.h>

#include <chrono>

#include "controls/flat_edit.h"
#include "controls/note_icon.h"
#include "controls/plain_list_box.h"
#include "controls/skin_scroll_wnd.h"
#include "controls/skin_static.h"
#include "fake_skin.h"

namespace {

constexpr UINT kEditId = 2300;

class EditTest : public SkinTest {};

TEST_F(EditTest, FlatEditInsetsItsClientAndDrawsATwoColourFrame) {
  CFlatEdit edit;
  CRect place(10, 10, 110, 34);
  ASSERT_TRUE(edit.Create(&place, &parent, kEditId, 12, 14));
  CRect client;
  edit.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 94);
  EXPECT_EQ(client.Height(), 18);
  edit.SendMessage(WM_NCPAINT, 1, 0);
  const ui::Picture frame = ui::Capture(edit.GetSafeHwnd(), true);
  EXPECT_EQ(frame.At(0, 10), CFakeSkin::BrushColour(12));
  EXPECT_EQ(frame.At(1, 10), CFakeSkin::BrushColour(14));
  EXPECT_EQ(frame.At(2, 10), RGB(255, 255, 255));
  EXPECT_EQ(frame.At(98, 10), CFakeSkin::BrushColour(12));
  EXPECT_EQ(frame.At(99, 10), CFakeSkin::BrushColour(14));
  EXPECT_EQ(frame.At(50, 0), CFakeSkin::BrushColour(12));
  EXPECT_EQ(frame.At(50, 23), CFakeSkin::BrushColour(14));
}

TEST_F(EditTest, SkinnedStaticTextTakesItsScreensLook) {
  // A control of the id in the parent's template gives its place up.
  ::CreateWindowExA(0, "STATIC", "plain", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
  CSkinStatic title;
  ASSERT_TRUE(title.Create("Title", CRect(10, 10, 210, 31), &parent, kEditId, kSkinDictionary));
  EXPECT_EQ(::GetDlgItem(parent.m_hWnd, kEditId), title.m_hWnd);
  EXPECT_EQ(title.GetSkin(), kSkinDictionary);
  const auto black = [](const ui::Picture& picture) {
    return picture.Count(CRect(2, 2, picture.width - 2, picture.height - 2), RGB(0, 0, 0));
  };
  ui::Picture picture = ui::Capture(title.m_hWnd);
  EXPECT_EQ(picture.At(0, 10), CFakeSkin::BrushColour(8));  // the dictionary's two frame brushes
  EXPECT_EQ(picture.At(1, 10), CFakeSkin::BrushColour(6));
  EXPECT_EQ(picture.At(199, 10), CFakeSkin::BrushColour(8));
  EXPECT_EQ(picture.At(150, 10), RGB(255, 255, 255));
  const int shortText = black(picture);
  EXPECT_GT(shortText, 0);
  // A new text shows at once, in the same look.
  title.SetWindowText("A much longer title than before");
  picture = ui::Capture(title.m_hWnd);
  EXPECT_GT(black(picture), shortText);
  EXPECT_EQ(picture.At(1, 10), CFakeSkin::BrushColour(6));
  CSkinStatic timeline;
  ASSERT_TRUE(timeline.Create("Event", CRect(10, 40, 210, 61), &parent, kEditId + 1, kSkinTimeline));
  picture = ui::Capture(timeline.m_hWnd);
  EXPECT_EQ(picture.At(0, 10), CFakeSkin::BrushColour(14));
  EXPECT_EQ(picture.At(1, 10), CFakeSkin::BrushColour(12));
}

TEST_F(EditTest, HoverEditPopsUpOnlyTextThatDoesNotFit) {
  CHoverEdit edit;
  ASSERT_TRUE(edit.Create(CRect(10, 10, 110, 30), &parent, kEditId, kSkinDictionary));
  edit.SetWindowText("short");
  edit.ShowPopup();
  EXPECT_FALSE(edit.IsPopupShown());
  edit.SetWindowText("a query text that is far too long for the field");
  edit.ShowPopup();
  ASSERT_TRUE(edit.IsPopupShown());
  CRect window;
  edit.GetWindowRect(&window);
  const CRect popup = edit.GetPopupRect();
  EXPECT_EQ(popup.left, window.left);
  EXPECT_EQ(popup.top, window.top);
  EXPECT_GT(popup.right, window.right);
  // (The strip is drawn on the screen, which has no pixels to read back headless.)
  edit.RemovePopup();
  EXPECT_FALSE(edit.IsPopupShown());
}

TEST_F(EditTest, HoverEditShowsAfterTheDelayAndLeavingEarlyShowsNothing) {
  // The real pointer stays away, so only the moves this test sends reach the edit.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  ui::PumpUntilIdle();
  CHoverEdit edit;
  ASSERT_TRUE(edit.Create(CRect(10, 10, 110, 30), &parent, kEditId, kSkinTimeline));
  edit.SetWindowText("a query text that is far too long for the field");
  ui::TimerMessages hover(edit.GetSafeHwnd(), CHoverEdit::kHoverTimer, [&] { return edit.IsPopupShown(); });
  edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(::GetCapture(), edit.GetSafeHwnd());
  EXPECT_FALSE(edit.IsPopupShown());  // the delay has not run: no message was handled yet
  // Leaving: no pop-up, capture gone, the parent under the pointer gets the
  // move, and no hover timer is left to show it later.
  parent.messages.clear();
  edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 100));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(parent.Of(WM_MOUSEMOVE).size(), 1u);
  EXPECT_FALSE(edit.IsPopupShown());
  EXPECT_FALSE(hover.StillSet());
  // Resting: the pop-up comes with the hover timer, 500 ms after the move.
  const ui::TimerMessages::Clock::time_point rested = ui::TimerMessages::Clock::now();
  edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(hover.PumpUntilCount(1));
  EXPECT_GE(hover.messages()[0].at - rested, std::chrono::milliseconds(500));
  EXPECT_FALSE(hover.messages()[0].before);
  EXPECT_TRUE(edit.IsPopupShown());
  edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 100));
  EXPECT_FALSE(edit.IsPopupShown());
}

// The display a note icon sits in: records what the icon asks of it and
// places a new icon where a dragged one is dropped.
class FakeDisplay : public CWnd, public CNoteIconHost {
 public:
  FakeDisplay(CWnd* parent) {
    CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 250), parent, 2089);
  }
  void SetNoteMode(BOOL on) override { modes.push_back(on); }
  void RemoveChild(CWnd* child) override { removed.push_back(child->GetSafeHwnd()); }
  void EditNote(CNoteIcon* icon) override { edited.push_back(icon); }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LBUTTONDOWN && placeIcons) {
      auto* icon = new CNoteIcon;
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      icon->Create(WS_CHILD | WS_VISIBLE, CRect(x, y, x + 32, y + 32), this, 3000);
      placed.push_back(icon);
      return reinterpret_cast<LRESULT>(icon);
    }
    if (message == WM_MOUSEMOVE) ++moves;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  ~FakeDisplay() override {
    for (CNoteIcon* icon : placed) delete icon;
  }
  std::vector<BOOL> modes;
  std::vector<HWND> removed;
  std::vector<CNoteIcon*> edited;
  std::vector<CNoteIcon*> placed;
  BOOL placeIcons = TRUE;
  int moves = 0;
};

class NoteIconTest : public SkinTest {
 protected:
  NoteIconTest() : display(&parent) {
    deleteControl =
        ::CreateWindowExA(0, "BUTTON", "Delete", WS_CHILD | WS_VISIBLE, 320, 200, 60, 40, parent.GetSafeHwnd(),
                          reinterpret_cast<HMENU>(CNoteIcon::kDeleteControl), nullptr, nullptr);
    icon = new CNoteIcon;
    icon->Create(WS_CHILD | WS_VISIBLE, CRect(50, 50, 82, 82), &display, 3000);
    icon->SetNoteText("my note");
    handle = icon->GetSafeHwnd();
  }
  ~NoteIconTest() override {
    if (::IsWindow(handle)) delete icon;
  }
  // A point of another window in the icon's client coordinates.
  CPoint At(HWND window, CPoint client) {
    ::ClientToScreen(window, &client);
    ::ScreenToClient(handle, &client);
    return client;
  }
  void Send(UINT message, CPoint point) { ::SendMessageA(handle, message, MK_LBUTTON, MAKELPARAM(point.x, point.y)); }
  FakeDisplay display;
  HWND deleteControl = nullptr;
  CNoteIcon* icon = nullptr;
  HWND handle = nullptr;
};

TEST_F(NoteIconTest, APressWithoutMovingSixPixelsIsNoDrag) {
  Send(WM_LBUTTONDOWN, CPoint(10, 10));
  EXPECT_EQ(::GetCapture(), handle);
  Send(WM_MOUSEMOVE, CPoint(15, 15));
  EXPECT_FALSE(icon->IsDragging());
  Send(WM_LBUTTONUP, CPoint(15, 15));
  EXPECT_TRUE(display.modes.empty());
  EXPECT_TRUE(display.removed.empty());
  EXPECT_TRUE(::IsWindow(handle));
  EXPECT_EQ(::GetFocus(), handle);
}

TEST_F(NoteIconTest, DroppingOnTheDeleteControlRemovesTheNote) {
  Send(WM_LBUTTONDOWN, CPoint(10, 10));
  Send(WM_MOUSEMOVE, At(deleteControl, CPoint(30, 20)));
  EXPECT_TRUE(icon->IsDragging());
  EXPECT_EQ(display.modes, std::vector<BOOL>{TRUE});
  Send(WM_LBUTTONUP, At(deleteControl, CPoint(30, 20)));
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(display.removed, std::vector<HWND>{handle});
  EXPECT_EQ(display.modes, (std::vector<BOOL>{TRUE, FALSE}));
}

TEST_F(NoteIconTest, DroppingElsewhereKeepsTheNote) {
  Send(WM_LBUTTONDOWN, CPoint(10, 10));
  Send(WM_MOUSEMOVE, At(parent.GetSafeHwnd(), CPoint(350, 40)));
  Send(WM_LBUTTONUP, At(parent.GetSafeHwnd(), CPoint(350, 40)));
  EXPECT_TRUE(::IsWindow(handle));
  EXPECT_TRUE(display.removed.empty());
  EXPECT_EQ(display.modes, (std::vector<BOOL>{TRUE, FALSE}));
}

TEST_F(NoteIconTest, DroppingOnTheDisplayMovesTheNoteToANewIcon) {
  Send(WM_LBUTTONDOWN, CPoint(10, 10));
  Send(WM_MOUSEMOVE, At(display.GetSafeHwnd(), CPoint(150, 150)));
  EXPECT_GT(display.moves, 0);  // the display follows the drag
  Send(WM_LBUTTONUP, At(display.GetSafeHwnd(), CPoint(160, 170)));
  ASSERT_EQ(display.placed.size(), 1u);
  EXPECT_STREQ(display.placed[0]->GetNoteText(), "my note");
  EXPECT_EQ(display.removed, std::vector<HWND>{handle});
  EXPECT_FALSE(::IsWindow(handle));
}

TEST_F(NoteIconTest, ADropTheDisplayDoesNotTakeKeepsTheNote) {
  display.placeIcons = FALSE;
  Send(WM_LBUTTONDOWN, CPoint(10, 10));
  Send(WM_MOUSEMOVE, At(display.GetSafeHwnd(), CPoint(150, 150)));
  Send(WM_LBUTTONUP, At(display.GetSafeHwnd(), CPoint(150, 150)));
  EXPECT_TRUE(::IsWindow(handle));
  EXPECT_TRUE(display.removed.empty());
}

TEST_F(NoteIconTest, DoubleClickEditsAndDeleteRemoves) {
  Send(WM_LBUTTONDBLCLK, CPoint(10, 10));
  EXPECT_EQ(display.edited, std::vector<CNoteIcon*>{icon});
  ::SendMessageA(handle, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_FALSE(::IsWindow(handle));
  EXPECT_EQ(display.removed, std::vector<HWND>{handle});
}

// The dictionary screen above the pronunciation-key window.
class DictionaryScreen : public ui::RecordingParent, public CDictionaryModeSource {
 public:
  int GetDictionaryMode() override { return mode; }
  int mode = 1;
};

class ScrollWindowTest : public SkinTest {
 protected:
  ScrollWindowTest() { screen.ShowWindow(SW_SHOWNA); }
  DictionaryScreen screen;
};

TEST_F(ScrollWindowTest, ThePronunciationKeyFollowsTheModeAndScrollsByPixels) {
  CWnd panel;
  panel.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 300), &screen, 1);
  CSkinScrollWnd key;
  ASSERT_TRUE(key.Create(CRect(10, 10, 250, 210), &panel, static_cast<UINT>(-1)));
  EXPECT_EQ(key.GetContentId(), 6129u);
  CRect client;
  key.GetClientRect(&client);
  EXPECT_EQ(client.Height(), 200 - 4);
  EXPECT_EQ(client.Width(), 240 - 4 - 17);
  EXPECT_EQ(key.Bar().m_max, 600 - client.Height());
  EXPECT_EQ(key.Bar().m_upFrame, CSkinBar::kNormal);
  key.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(key.Bar().m_pos, client.Height() / 10);
  key.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(key.Bar().m_pos, client.Height() / 10 + client.Height() * 3 / 4);
  key.SendMessage(WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(key.Bar().m_pos, key.Bar().m_max);
  key.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(key.Bar().m_pos, 0);

  screen.mode = 5;
  CSkinScrollWnd tall;
  ASSERT_TRUE(tall.Create(CRect(0, 0, 250, 700), &panel, 2));
  EXPECT_EQ(tall.GetContentId(), 6128u);
  // A key shorter than the window: nothing to scroll, disabled arrows.
  EXPECT_LE(tall.Bar().m_max, tall.Bar().m_min);
  EXPECT_EQ(tall.Bar().m_upFrame, CSkinBar::kDisabled);
}

TEST_F(ScrollWindowTest, SliderListsScrollByRowsWhenThereAreMoreThanFit) {
  CStringArray few;
  few.Add("cat");
  few.Add("cats");
  CListWnd small;
  ASSERT_TRUE(small.Create(CRect(10, 10, 260, 150), &screen, 5, few, 0));
  EXPECT_EQ(small.GetCount(), 2);
  EXPECT_EQ(small.GetRowHeight(), 16 + 4);
  EXPECT_LE(small.Bar().m_max, 0);
  small.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(small.Bar().m_pos, 0);

  CStringArray many;
  for (int i = 0; i < 12; ++i) many.Add("form");
  CListWnd list;
  ASSERT_TRUE(list.Create(CRect(10, 10, 260, 150), &screen, 6, many, 3));
  const int rows = (140 - 4) / list.GetRowHeight();
  EXPECT_EQ(list.GetRowsPerPage(), rows);
  EXPECT_EQ(list.Bar().m_max, 12 - rows);
  EXPECT_EQ(list.GetSlider(0)->GetDlgCtrlID(), 1);
  EXPECT_EQ(list.GetSlider(0)->GetTrackWidth(), 100);
  CRect before;
  list.GetSlider(1)->GetWindowRect(&before);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.Bar().m_pos, 1);
  CRect after;
  list.GetSlider(1)->GetWindowRect(&after);
  EXPECT_EQ(after.top, before.top - list.GetRowHeight());
  EXPECT_EQ(list.Bar().m_timerBase, 50u);
  list.GetSlider(3)->SetValue(80, FALSE);
  EXPECT_EQ(list.GetSlider(3)->GetValue(), 80);
}

// The owner of a details pane.
class PaneOwner : public ui::RecordingParent, public CFramePaneSource {
 public:
  int GetCompanionSelection() override { return selection; }
  void GetLabelledValues(int, CStringArray& commonLabels, CStringArray& commonValues, CStringArray& itemLabels,
                         CStringArray& itemValues) override {
    commonLabels.Add("Tense:");
    commonValues.Add("present");
    itemLabels.Add("je");
    itemValues.Add("suis");
  }
  int selection = -1;
};

class FramedListTest : public SkinTest {};

TEST_F(FramedListTest, PlainListsDrawAStaircaseInsideTheirFrame) {
  MakeListBox(2400, LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT);
  CPlainListBox list;
  ASSERT_TRUE(list.Create(CRect(10, 10, 210, 110), &parent, 2400));
  list.AddString("WWW");
  list.AddString("WWW");
  list.AddString("WWW");
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 196);
  list.Invalidate();
  const ui::Picture shown = ui::Capture(list.GetSafeHwnd());
  CClientDC dc(&list);
  CFont* old = dc.SelectObject(skin.GetFont(12));
  CRect line(0, 0, 0, 0);
  dc.DrawText("Test", 4, &line, DT_CALCRECT | DT_SINGLELINE);
  dc.SelectObject(old);
  const int h = line.Height();
  // Each line starts 10 pixels further right than the one above.
  for (int row = 0; row < 3; ++row) {
    const int x = 5 + 10 * row;
    EXPECT_EQ(shown.Count(CRect(0, 3 + row * h, x, 3 + (row + 1) * h), RGB(0, 0, 0)), 0) << row;
    EXPECT_GT(shown.Count(CRect(x, 3 + row * h, x + 30, 3 + (row + 1) * h), RGB(0, 0, 0)), 0) << row;
  }
  list.SendMessage(WM_NCPAINT, 1, 0);
  const ui::Picture frame = ui::Capture(list.GetSafeHwnd(), true);
  EXPECT_EQ(frame.At(0, 20), CFakeSkin::BrushColour(2));
  EXPECT_EQ(frame.At(1, 20), CFakeSkin::BrushColour(0));
  EXPECT_EQ(frame.At(frame.width - 19, 20), RGB(255, 255, 255));  // no bar separator
}

TEST_F(FramedListTest, DetailsPaneShowsBlueLabelsAndRedValuesOfTheSelectedRow) {
  PaneOwner owner;
  owner.ShowWindow(SW_SHOWNA);
  ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOINTEGRALHEIGHT, 10, 10, 200, 150,
                    owner.GetSafeHwnd(), reinterpret_cast<HMENU>(2158), nullptr, nullptr);
  // The small font (the word-list panel's count) sets the rows, not the list font.
  skin.SetFontHeight(CFrameListBox::kFont, 24);
  CFrameListBox pane;
  ASSERT_TRUE(pane.Create(CRect(10, 10, 250, 160), &owner, 2158));
  ui::Picture shown = ui::Capture(pane.GetSafeHwnd());
  EXPECT_EQ(shown.Count(CRect(0, 0, shown.width, shown.height), RGB(255, 255, 255)), shown.width * shown.height);
  owner.selection = 0;
  pane.Invalidate();
  shown = ui::Capture(pane.GetSafeHwnd());
  CClientDC dc(&pane);
  CFont* old = dc.SelectObject(skin.GetFont(CFrameListBox::kFont));
  TEXTMETRIC metrics = {};
  dc.GetTextMetrics(&metrics);
  dc.SelectObject(old);
  const int line = metrics.tmHeight;
  ASSERT_GT(line, skin.m_lineHeight);
  EXPECT_GT(shown.Count(CRect(20, 20, 236, 20 + line), RGB(0, 0, 255)), 5);
  EXPECT_GT(shown.Count(CRect(20, 20, 236, 20 + line), RGB(255, 0, 0)), 5);
  // The item's own list follows a 20-pixel gap.
  EXPECT_EQ(shown.Count(CRect(0, 20 + line, 236, 40 + line), RGB(0, 0, 255)), 0);
  EXPECT_GT(shown.Count(CRect(20, 40 + line, 236, 40 + 2 * line), RGB(0, 0, 255)), 0);
  pane.SendMessage(WM_NCPAINT, 1, 0);
  const ui::Picture frame = ui::Capture(pane.GetSafeHwnd(), true);
  EXPECT_EQ(frame.At(0, 20), CFakeSkin::BrushColour(8));
  EXPECT_EQ(frame.At(1, 20), CFakeSkin::BrushColour(6));
}

}  // namespace
