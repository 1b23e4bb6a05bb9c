// The drop-down picker and the bitmap slider.
#include <gtest/gtest.h>

#include "controls/drop_list.h"
#include "controls/slider_wnd.h"
#include "fake_skin.h"

namespace {

constexpr UINT kPickerId = 2130;

class PickerTest : public SkinTest {
 protected:
  PickerTest() {
    EXPECT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 130, 32), &parent, kPickerId));
  }
  CDropList picker;
};

TEST_F(PickerTest, TextsAndNumbersDoNotMix) {
  EXPECT_EQ(picker.AddString("Arial", FALSE), 1);
  EXPECT_EQ(picker.AddNumber(0xFF), 0);
  picker.ResetContent();
  EXPECT_EQ(picker.AddNumber(0xFF), 1);
  EXPECT_TRUE(picker.IsNumberMode());
  EXPECT_EQ(picker.AddString("Arial", FALSE), 0);
  EXPECT_EQ(picker.GetCurNumber(), 0u);  // nothing current yet
  EXPECT_EQ(picker.SelectNumber(0xFF), 0);
  EXPECT_EQ(picker.GetCurNumber(), 0xFFu);
  EXPECT_EQ(picker.SelectNumber(0x12), -1);
  EXPECT_EQ(picker.GetCurSel(), -1);
}

TEST_F(PickerTest, SortedTextsAndSelections) {
  picker.AddString("Times", TRUE);
  picker.AddString("Arial", TRUE);
  picker.AddString("Courier", TRUE);
  picker.AddString("Zapf", FALSE);
  EXPECT_EQ(picker.SelectString("Courier"), 1);
  CString text;
  EXPECT_TRUE(picker.GetCurText(text));
  EXPECT_STREQ(text, "Courier");
  EXPECT_EQ(picker.SetCurSel(3), 1);
  EXPECT_EQ(picker.SetCurSel(4), -1);  // count: no change
  EXPECT_EQ(picker.SetCurSel(-1), -1);
  EXPECT_EQ(picker.GetCurSel(), 3);
  EXPECT_EQ(picker.SelectString("Helvetica"), -1);
  EXPECT_FALSE(picker.GetCurText(text));
}

TEST_F(PickerTest, DeletingTheCurrentLastItemMovesToTheNewLast) {
  for (const char* name : {"a", "b", "c"}) picker.AddString(name, FALSE);
  picker.SetCurSel(2);
  EXPECT_EQ(picker.DeleteItem(3), 0);
  EXPECT_EQ(picker.DeleteItem(2), 1);
  EXPECT_EQ(picker.GetCurSel(), 1);
  // An item before the current one goes: the same choice stays current.
  picker.AddString("d", FALSE);
  picker.SetCurSel(2);
  EXPECT_EQ(picker.DeleteItem(0), 1);
  CString text;
  picker.GetCurText(text);
  EXPECT_STREQ(text, "d");
  EXPECT_EQ(picker.GetCurSel(), 1);
}

TEST_F(PickerTest, ThePopupHasRowsByTheLineHeightInThreeColumnsAtMost) {
  skin.m_lineHeight = 20;
  for (int i = 0; i < 80; ++i) picker.AddNumber(RGB(i, 0, 0));
  picker.SetCurSel(5);
  CMenu menu;
  ASSERT_TRUE(picker.BuildPopup(menu));
  ASSERT_EQ(menu.GetMenuItemCount(), 66);
  for (int i = 0; i < 66; ++i) {
    const UINT state = menu.GetMenuState(i, MF_BYPOSITION);
    EXPECT_TRUE(state & MF_OWNERDRAW);
    EXPECT_EQ((state & MF_MENUBARBREAK) != 0, i == 22 || i == 44) << i;
    EXPECT_EQ((state & MF_CHECKED) != 0, i == 5) << i;
  }
}

TEST_F(PickerTest, PickingPostsTheChangeOnlyForANewItem) {
  picker.AddString("one", FALSE);
  picker.AddString("two", FALSE);
  picker.SetCurSel(0);
  picker.SendMessage(WM_COMMAND, 0, 0);
  ui::PumpUntilIdle();
  EXPECT_TRUE(Commands(kPickerId, CDropList::kSelectionChanged).empty());
  picker.SendMessage(WM_COMMAND, 1, 0);
  ui::PumpUntilIdle();
  const auto changes = Commands(kPickerId, CDropList::kSelectionChanged);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].lParam, reinterpret_cast<LPARAM>(picker.GetSafeHwnd()));
  EXPECT_EQ(picker.GetCurSel(), 1);
}

TEST_F(PickerTest, PaintShowsTheSwatchTheArrowAndTheScreensEdges) {
  picker.AddNumber(RGB(0, 128, 255));
  picker.SetCurSel(0);
  skin.m_skin = kSkinTimeline;
  ui::Picture shown = ui::Capture(picker.GetSafeHwnd());
  EXPECT_EQ(shown.At(10, shown.height / 2), RGB(0, 128, 255));
  EXPECT_EQ(shown.At(0, 5), CFakeSkin::BrushColour(14));
  EXPECT_EQ(shown.At(shown.width - 1, 5), CFakeSkin::BrushColour(12));
  EXPECT_EQ(shown.At(shown.width - 1 - 2 - 5, shown.height / 2), CFakeSkin::FrameColour(1222, 0));
  // Inside Preferences the media edges win.
  skin.m_preferences = parent.GetSafeHwnd();
  picker.Invalidate();
  shown = ui::Capture(picker.GetSafeHwnd());
  EXPECT_EQ(shown.At(0, 5), CFakeSkin::BrushColour(11));
}

class SliderTest : public SkinTest {};

TEST_F(SliderTest, ValueAndThumbFollowEachOther) {
  CSliderWnd slider;
  CRect place(0, 0, 220, 20);
  ASSERT_TRUE(slider.Create(&place, &parent, 1, "word", 2));
  EXPECT_EQ(slider.GetTrackWidth(), 100);
  EXPECT_EQ(slider.GetTrackLeft(), 220 - 5 - 100 - 1);
  EXPECT_EQ(slider.SetValue(50, TRUE), 55);  // the start: half of track and thumb
  EXPECT_EQ(slider.GetPosition(), 50);
  EXPECT_EQ(slider.GetValue(), 50);
  EXPECT_EQ(slider.SetValue(20, TRUE), 50);
  const ui::Picture shown = ui::Capture(slider.GetSafeHwnd());
  EXPECT_EQ(shown.At(slider.GetTrackLeft() + 20, 2), CFakeSkin::FrameColour(1036, 0));
  EXPECT_EQ(shown.At(5, shown.height - 3), CFakeSkin::BrushColour(2));  // the underline
}

TEST_F(SliderTest, ClicksLeftOfTheTrackAreIgnoredAndDragsHoldAtTheEnds) {
  CSliderWnd slider;
  CRect place(0, 0, 220, 20);
  ASSERT_TRUE(slider.Create(&place, &parent, 1, "word", 2));
  slider.SetValue(40, FALSE);
  const int left = slider.GetTrackLeft();
  slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left - 10, 5));
  EXPECT_EQ(slider.GetPosition(), 40);
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left + 70, 5));
  EXPECT_EQ(slider.GetPosition(), 70);
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left - 30, 5));
  EXPECT_EQ(slider.GetPosition(), 0);
  slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left + 300, 5));
  EXPECT_EQ(slider.GetPosition(), 100);
  slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(left + 300, 5));  // past the end: ignored
  EXPECT_EQ(slider.GetPosition(), 100);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(slider.GetValue(), 100);
}

TEST_F(SliderTest, TheHandShowsOverTheThumb) {
  CSliderWnd slider;
  CRect place(0, 0, 220, 20);
  ASSERT_TRUE(slider.Create(&place, &parent, 1, "word", 2));
  slider.SetValue(50, TRUE);
  const CRect thumb = slider.ThumbRect();
  CPoint over((thumb.left + thumb.right) / 2, 5);
  slider.ClientToScreen(&over);
  ::SetCursorPos(over.x, over.y);
  slider.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(slider.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CSliderWnd::kHandCursor)));
  CPoint away(10, 5);
  slider.ClientToScreen(&away);
  ::SetCursorPos(away.x, away.y);
  slider.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(slider.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace
