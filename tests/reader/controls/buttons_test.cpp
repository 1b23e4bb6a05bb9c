// The skinned buttons: which frame of the strip each state draws, sizes,
// hover, the menu button's pages and entries, and the strip button's tiles.
#include <gtest/gtest.h>

#include "controls/bm_button.h"
#include "controls/menu_button.h"
#include "fake_skin.h"

namespace {

constexpr UINT kButtonId = 2123;
constexpr UINT kStrip = 9001;

// A memory DC with a white 32-bit bitmap, for DrawItem with crafted states.
class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height) {
    CClientDC screen(nullptr);
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, width, height);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
  }
  ~MemoryCanvas() { dc.SelectObject(old); }
  DRAWITEMSTRUCT Item(UINT state, int width, int height) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = dc.GetSafeHdc();
    item.rcItem = CRect(0, 0, width, height);
    return item;
  }
  CDC dc;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

class ButtonTest : public SkinTest {
 protected:
  // The strip frame a button draws for an item state.
  int DrawnFrame(CODButton& button, UINT state, WORD style, int frames) {
    MemoryCanvas canvas(100, 20);
    DRAWITEMSTRUCT item = canvas.Item(state, 20, 12);
    button.DrawItem(&item);
    const COLORREF colour = canvas.dc.GetPixel(5, 5);
    (void)style;
    for (int frame = 0; frame < frames; ++frame) {
      if (colour == CFakeSkin::FrameColour(kStrip, frame)) return frame;
    }
    return -1;
  }
};

TEST_F(ButtonTest, EachStateDrawsItsFrameOfTheUsualStrip) {
  skin.Define(kStrip, 20, 12, 5);
  CODButton button;
  ASSERT_TRUE(button.Create(CRect(5, 5, 5, 5), &parent, kStrip, CODButton::kUsualStyle, kButtonId));
  CRect window;
  button.GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 20);
  EXPECT_EQ(window.Height(), 12);
  // Frames: up, hover, disabled, focus, down.
  EXPECT_EQ(DrawnFrame(button, 0, 31, 5), 0);
  EXPECT_EQ(DrawnFrame(button, ODS_DISABLED, 31, 5), 2);
  EXPECT_EQ(DrawnFrame(button, ODS_FOCUS, 31, 5), 3);
  EXPECT_EQ(DrawnFrame(button, ODS_SELECTED | ODS_FOCUS, 31, 5), 4);
}

TEST_F(ButtonTest, AStateWithoutItsFrameDrawsTheUpFrame) {
  skin.Define(kStrip, 20, 12, 4);
  CODButton button;
  // Up, down, hover, focus: no disabled frame.
  ASSERT_TRUE(button.Create(CRect(), &parent, kStrip, 0x0F, kButtonId));
  EXPECT_EQ(DrawnFrame(button, ODS_DISABLED, 0x0F, 4), 0);
  EXPECT_EQ(DrawnFrame(button, ODS_FOCUS, 0x0F, 4), 2);
  EXPECT_EQ(DrawnFrame(button, ODS_SELECTED, 0x0F, 4), 3);
}

TEST_F(ButtonTest, CheckedButtonsShowTheirCheckedToggleOrDisabledFrame) {
  skin.Define(kStrip, 20, 12, 2);
  CODButton checkedOnly;
  ASSERT_TRUE(checkedOnly.Create(CRect(), &parent, kStrip, 0x21, kButtonId));
  EXPECT_EQ(checkedOnly.GetFrameSize(), CSize(20, 12));
  checkedOnly.SetCheck(1);
  EXPECT_EQ(DrawnFrame(checkedOnly, 0, 0x21, 2), 1);

  skin.Define(kStrip, 20, 12, 5);
  CODButton toggle;
  ASSERT_TRUE(toggle.Create(CRect(), &parent, kStrip, CODButton::kUsualStyle | CODButton::kToggle, kButtonId + 1));
  toggle.SetCheck(1);
  EXPECT_EQ(DrawnFrame(toggle, 0, 0x5F, 5), 4);
  EXPECT_EQ(DrawnFrame(toggle, ODS_DISABLED, 0x5F, 5), 2);
  EXPECT_EQ(toggle.GetCheck(), 1);
}

TEST_F(ButtonTest, HoverWaitsForStartUpAndNeedsItsFrame) {
  skin.Define(kStrip, 20, 12, 5);
  CODButton button;
  ASSERT_TRUE(button.Create(CRect(), &parent, kStrip, CODButton::kUsualStyle, kButtonId));
  skin.m_started = FALSE;
  button.SendMessage(WM_BUTTON_HOVER, 1, 0);
  EXPECT_FALSE(button.IsHovering());
  skin.m_started = TRUE;
  button.SendMessage(WM_BUTTON_HOVER, 1, 0);
  EXPECT_TRUE(button.IsHovering());
  EXPECT_EQ(DrawnFrame(button, 0, 31, 5), 1);
  EXPECT_EQ(ui::Capture(button.GetSafeHwnd()).At(5, 5), CFakeSkin::FrameColour(kStrip, 1));
  button.SendMessage(WM_BUTTON_HOVER, 0, 0);
  EXPECT_EQ(ui::Capture(button.GetSafeHwnd()).At(5, 5), CFakeSkin::FrameColour(kStrip, 0));

  skin.Define(kStrip + 1, 20, 12, 1);
  CODButton plain;
  ASSERT_TRUE(plain.Create(CRect(), &parent, kStrip + 1, CODButton::kUp, kButtonId + 1));
  plain.SendMessage(WM_BUTTON_HOVER, 1, 0);
  EXPECT_FALSE(plain.IsHovering());
}

TEST_F(ButtonTest, ALabelStandsThreePixelsRightAndSetBitmapResizes) {
  skin.Define(kStrip, 20, 12, 5);
  skin.Define(kStrip + 1, 30, 10);
  skin.Define(kStrip + 2, 16, 14, 5);
  CODButton button;
  ASSERT_TRUE(button.Create(CRect(7, 8, 7, 8), &parent, kStrip, CODButton::kUsualStyle, kButtonId, 0, 1, kStrip + 1));
  CRect window;
  button.GetWindowRect(&window);
  parent.ScreenToClient(&window);
  EXPECT_EQ(window, CRect(7, 8, 7 + 20 + 3 + 30, 8 + 12));
  const ui::Picture picture = ui::Capture(button.GetSafeHwnd());
  EXPECT_EQ(picture.At(24, 4), CFakeSkin::FrameColour(kStrip + 1, 0));
  EXPECT_TRUE(button.SetBitmap(kStrip + 2));
  button.GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 16 + 3 + 30);
  EXPECT_EQ(window.Height(), 14);
  EXPECT_FALSE(button.SetBitmap(4242));
}

TEST_F(ButtonTest, AnExistingDialogButtonBecomesTheBitmapButton) {
  skin.Define(kStrip, 20, 12, 5);
  HWND existing = ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 40, 80, 30,
                                    parent.GetSafeHwnd(), reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
  CODButton button;
  ASSERT_TRUE(button.Create(CRect(50, 60, 50, 60), &parent, kStrip, CODButton::kUsualStyle, kButtonId));
  EXPECT_EQ(button.GetSafeHwnd(), existing);
  EXPECT_EQ(button.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(ui::Capture(existing).At(3, 3), CFakeSkin::FrameColour(kStrip, 0));
}

// Ends the pop-up menu that the next TrackPopupMenu shows.
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::EndMenu();
}

class MenuButtonTest : public SkinTest {
 protected:
  MenuButtonTest() {
    skin.Define(kStrip, 20, 12, 5);
    EXPECT_TRUE(button.Create(CRect(), &parent, kStrip, CODButton::kUsualStyle, kButtonId));
  }
  static std::vector<UINT> Ids(CMenu& menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) ids.push_back(menu.GetMenuItemID(i));
    return ids;
  }
  CMenuButton button;
};

TEST_F(MenuButtonTest, FortyFiveItemsDropDownInPagesOfTwenty) {
  for (UINT i = 0; i < 45; ++i) {
    CString text;
    text.Format("Item %u", i);
    ASSERT_TRUE(button.AddItem(text, 7000 + i, 0, 0, 0));
  }
  CMenu first;
  ASSERT_TRUE(button.BuildPage(first));
  std::vector<UINT> ids = Ids(first);
  ASSERT_EQ(ids.size(), 21u);
  EXPECT_EQ(ids.front(), 7000u);
  EXPECT_EQ(ids.back(), CMenuButton::kNextId);
  // "next" moves the page and drops it down again.
  ::SetTimer(nullptr, 0, 100, EndMenuSoon);
  button.SendMessage(WM_COMMAND, CMenuButton::kNextId, 0);
  EXPECT_EQ(button.GetPageOffset(), 20);
  CMenu second;
  ASSERT_TRUE(button.BuildPage(second));
  ids = Ids(second);
  ASSERT_EQ(ids.size(), 22u);
  EXPECT_EQ(ids.front(), CMenuButton::kPreviousId);
  EXPECT_EQ(ids[1], 7020u);
  EXPECT_EQ(ids.back(), CMenuButton::kNextId);
  ::SetTimer(nullptr, 0, 100, EndMenuSoon);
  button.SendMessage(WM_COMMAND, CMenuButton::kNextId, 0);
  CMenu third;
  ASSERT_TRUE(button.BuildPage(third));
  ids = Ids(third);
  ASSERT_EQ(ids.size(), 6u);
  EXPECT_EQ(ids.front(), CMenuButton::kPreviousId);
  EXPECT_EQ(ids.back(), 7044u);
  ::SetTimer(nullptr, 0, 100, EndMenuSoon);
  button.SendMessage(WM_COMMAND, CMenuButton::kPreviousId, 0);
  EXPECT_EQ(button.GetPageOffset(), 20);
}

TEST_F(MenuButtonTest, ChosenItemsGoToTheParentAndEmptyMenusDoNotDrop) {
  CMenu none;
  EXPECT_FALSE(button.BuildPage(none));
  button.DropDown();  // nothing happens (and nothing waits)
  button.AddItem("Chosen", 7100, 0, 0, 0);
  button.SendMessage(WM_COMMAND, 7100, 0);
  ui::PumpUntilIdle();
  ASSERT_EQ(Commands(7100, 0).size(), 1u);
}

TEST_F(MenuButtonTest, AThousandChildrenAtMost) {
  for (int i = 0; i < CPopupMenu::kMaxChildren; ++i) ASSERT_TRUE(button.AddItem("x", 1, 0, 0, 0));
  EXPECT_FALSE(button.AddItem("one too many", 2, 0, 0, 0));
  button.RemoveAll();
  EXPECT_TRUE(button.AddItem("again", 3, 0, 0, 0));
}

TEST_F(MenuButtonTest, EntriesAreTextOwnerDrawnBitmapSeparatorOrSubmenu) {
  skin.Define(4106, 16, 16);
  button.AddItem("plain", 7001, 0, 0, MF_CHECKED);
  button.AddItem("with icon", 7002, 4106, 4107, 0);
  button.AddItem("", 7003, 4106, 4107, 0);
  button.AddItem("", 0, 0, 0, MF_SEPARATOR | MF_GRAYED);
  button.AddItem("Links", 0, 0, 0, MF_POPUP);
  auto* links = dynamic_cast<CPopupMenu*>(button.GetItem(4));
  ASSERT_NE(links, nullptr);
  links->AddItem("inner", 7005, 0, 0, 0);
  EXPECT_EQ(button.GetItem(3)->m_flags, static_cast<UINT>(MF_SEPARATOR));
  CMenu menu;
  ASSERT_TRUE(button.BuildPage(menu));
  EXPECT_FALSE(menu.GetMenuState(0, MF_BYPOSITION) & MF_OWNERDRAW);
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_OWNERDRAW);
  EXPECT_TRUE(menu.GetMenuState(2, MF_BYPOSITION) & MF_BITMAP);
  EXPECT_TRUE(menu.GetMenuState(3, MF_BYPOSITION) & MF_SEPARATOR);
  CMenu* sub = menu.GetSubMenu(4);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetMenuItemID(0), 7005u);
  // FindItem searches the submenu depth first.
  EXPECT_EQ(button.Root().FindItem(7005, 0)->m_text, CString("inner"));
  EXPECT_EQ(button.Root().FindItem(9999, 0), nullptr);
  button.RemoveAllBitmaps();

  // The owner-drawn entry measures text + image + 8 by the larger height.
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(button.GetItem(1));
  button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  CClientDC dc(&button);
  CFont* old = dc.SelectObject(skin.GetFont(12));
  const CSize text = dc.GetTextExtent("with icon", 9);
  dc.SelectObject(old);
  EXPECT_EQ(measure.itemWidth, static_cast<UINT>(text.cx + 16 + 8));
  EXPECT_EQ(measure.itemHeight, static_cast<UINT>(text.cy > 18 ? text.cy : 18));
}

TEST_F(MenuButtonTest, ItemStatesGrayAndClearByPosition) {
  button.AddItem("a", 7001, 0, 0, 0);
  button.AddItem("b", 7002, 0, 0, MF_CHECKED);
  button.SetItemState(1, MF_BYPOSITION | MF_GRAYED);
  EXPECT_EQ(button.GetItem(1)->m_flags, static_cast<UINT>(MF_CHECKED | MF_GRAYED));
  button.SetItemState(1, MF_BYPOSITION);
  EXPECT_EQ(button.GetItem(1)->m_flags, static_cast<UINT>(MF_CHECKED));
  button.SetItemState(7001, MF_GRAYED);
  button.CheckItem(7001, MF_CHECKED);
  CMenu menu;
  ASSERT_TRUE(button.BuildPage(menu));
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
}

TEST_F(ButtonTest, StripButtonsOfOneOrTwoFrames) {
  skin.Define(6127, 14, 14, 2);
  CBmButton check;
  ASSERT_TRUE(check.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 1, 1), &parent, kButtonId));
  CRect place(30, 40, 0, 0);
  ASSERT_TRUE(check.SetBitmap(&place, &parent, 6127, 3));
  CRect window;
  check.GetWindowRect(&window);
  EXPECT_EQ(window.Width(), 14);  // half the strip
  EXPECT_EQ(ui::Capture(check.GetSafeHwnd()).At(7, 7), CFakeSkin::FrameColour(6127, 0));
  check.SetCheck(TRUE);
  EXPECT_EQ(ui::Capture(check.GetSafeHwnd()).At(7, 7), CFakeSkin::FrameColour(6127, 1));
  // The same state again does not repaint: a mark on the window stays.
  {
    CClientDC dc(&check);
    dc.SetPixel(7, 7, RGB(1, 2, 3));
  }
  check.SetCheck(TRUE);
  {
    CClientDC dc(&check);
    EXPECT_EQ(dc.GetPixel(7, 7), RGB(1, 2, 3));
  }

  skin.Define(6128, 14, 14, 1);
  CBmButton single;
  ASSERT_TRUE(single.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 1, 1), &parent, kButtonId + 1));
  ASSERT_TRUE(single.SetBitmap(&place, &parent, 6128, 1));
  single.SetCheck(TRUE);
  MemoryCanvas canvas(20, 20);
  DRAWITEMSTRUCT item = canvas.Item(ODS_SELECTED, 14, 14);
  single.DrawItem(&item);
  EXPECT_EQ(canvas.dc.GetPixel(7, 7), CFakeSkin::FrameColour(6128, 0));
}

TEST_F(ButtonTest, TilesAreCutFromAPictureWithABlackFrameAndTheirNumber) {
  CBmButton tile;
  ASSERT_TRUE(tile.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 1, 1), &parent, kButtonId));
  CRect place(0, 0, 70, 70);
  tile.SetTileRect(&place);
  EXPECT_EQ(tile.GetFrameSize(), CSize(70, 70));
  CBitmap picture;
  {
    CClientDC screen(nullptr);
    picture.CreateCompatibleBitmap(&screen, 140, 70);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap* old = memory.SelectObject(&picture);
    memory.FillSolidRect(0, 0, 70, 70, RGB(200, 0, 0));
    memory.FillSolidRect(70, 0, 70, 70, RGB(0, 0, 200));
    memory.SelectObject(old);
  }
  CRect cell(70, 0, 140, 70);
  EXPECT_EQ(tile.SetTileImage(&picture, &cell, 0), 1);
  ui::Picture shown = ui::Capture(tile.GetSafeHwnd());
  EXPECT_EQ(shown.At(0, 30), RGB(0, 0, 0));
  EXPECT_EQ(shown.At(69, 30), RGB(0, 0, 0));
  EXPECT_EQ(shown.At(30, 69), RGB(0, 0, 0));
  EXPECT_EQ(shown.At(1, 1), RGB(0, 0, 200));
  EXPECT_EQ(shown.Count(CRect(20, 20, 50, 50), RGB(0, 0, 200)), 900);  // no digits
  EXPECT_EQ(tile.SetTileImage(&picture, &cell, 12), 1);
  shown = ui::Capture(tile.GetSafeHwnd());
  EXPECT_GT(shown.Count(CRect(15, 15, 55, 55), RGB(0, 0, 0)), 10);
  EXPECT_GT(shown.Count(CRect(15, 15, 56, 56), RGB(255, 255, 255)), 10);
}

}  // namespace
