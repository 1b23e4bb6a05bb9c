// The category list box, the tree list box, the icon list box and the image
// pairs.
#include <gtest/gtest.h>

#include "controls/icon_list_box.h"
#include "controls/skin_list_box.h"
#include "fake_skin.h"

namespace {

constexpr UINT kListId = 2200;

class CategoryTest : public SkinTest {
 protected:
  CategoryTest() {
    const struct {
      const char* title;
      UINT level;
    } rows[] = {{"All", 0}, {"Arts", 1}, {"Music", 2}, {"Opera", 3}, {"Painting", 2}, {"Science", 1}, {"Physics", 2}};
    for (const auto& row : rows) {
      skin.m_categories.m_titles.Add(row.title);
      skin.m_categories.m_levels.Add(row.level);
    }
  }
  BOOL Make(CSkinListBox& list, int variant = 2) {
    MakeListBox(kListId, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT);
    return list.Create(CRect(10, 10, 210, 10 + 4 + 8 * skin.m_lineHeight), &parent, kListId, variant);
  }
  static std::vector<int> Categories(CSkinListBox& list) {
    std::vector<int> out;
    for (int row = 0; row < list.GetCount(); ++row) out.push_back(list.CategoryOfRow(row));
    return out;
  }
};

TEST_F(CategoryTest, AFreshListShowsAllSelectedAndTheTopLevelCollapsed) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  EXPECT_EQ(skin.m_categoryVariants, std::vector<int>{2});
  EXPECT_EQ(Categories(list), (std::vector<int>{0, 1, 5}));
  EXPECT_EQ(list.GetItemData(0), static_cast<DWORD_PTR>(0x10000));
  EXPECT_FALSE(list.IsRowExpanded(1));
  EXPECT_EQ(list.GetSelCount(), 1);
  EXPECT_GT(list.GetSel(0), 0);
  EXPECT_EQ(list.Bar().m_edgeBrush, 0);
}

TEST_F(CategoryTest, AnUnreadableCategoryFileFailsTheCreation) {
  skin.m_categoriesReadable = FALSE;
  CSkinListBox list;
  EXPECT_FALSE(Make(list, 1));
  EXPECT_EQ(skin.m_categoryVariants, std::vector<int>{1});
}

TEST_F(CategoryTest, ExpandingInsertsDirectChildrenAndCollapsingRemovesTheSubtree) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  list.Toggle(1);
  EXPECT_EQ(Categories(list), (std::vector<int>{0, 1, 2, 4, 5}));
  EXPECT_TRUE(list.IsRowExpanded(1));
  list.Toggle(2);
  EXPECT_EQ(Categories(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  list.Toggle(1);
  EXPECT_EQ(Categories(list), (std::vector<int>{0, 1, 5}));
  // "All" heads the top level: it folds and unfolds it like any parent.
  list.Toggle(0);
  EXPECT_EQ(list.GetCount(), 1);
  list.Toggle(0);
  EXPECT_EQ(Categories(list), (std::vector<int>{0, 1, 5}));
}

TEST_F(CategoryTest, CollapsingAwayTheSelectionSelectsAllAndNotifies) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  list.Toggle(1);
  list.SetSel(-1, FALSE);
  list.SetSel(3, TRUE);  // Painting
  list.Toggle(1);
  EXPECT_EQ(list.GetSelCount(), 1);
  EXPECT_GT(list.GetSel(0), 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(Commands(kListId, LBN_SELCHANGE).size(), 1u);
}

TEST_F(CategoryTest, MarkerClicksToggleAndTheOnlySelectedRowStaysSelected) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  const int row = list.GetRowHeight();
  // A press and release on the marker column of "Arts".
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, row + 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, row + 2));
  EXPECT_EQ(list.GetCount(), 5);
  EXPECT_EQ(list.GetSelCount(), 1);
  // Clicking "All", the only selected row, keeps it.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 2));
  EXPECT_GT(list.GetSel(0), 0);
}

TEST_F(CategoryTest, ArrowKeysMoveOneSelectionAndNotify) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(list.GetSelCount(), 1);
  EXPECT_GT(list.GetSel(1), 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
  list.SendMessage(WM_KEYDOWN, VK_DOWN, 0);  // the last row: nothing more
  EXPECT_GT(list.GetSel(2), 0);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_GT(list.GetSel(1), 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(Commands(kListId, LBN_SELCHANGE).size(), 3u);
}

TEST_F(CategoryTest, RowsAreAtLeastTheMarkerAndTwoPixels) {
  skin.m_lineHeight = 10;
  CSkinListBox list;
  ASSERT_TRUE(Make(list, 1));
  EXPECT_EQ(list.GetRowHeight(), 13 + 2);
  EXPECT_EQ(list.GetItemHeight(0), 15);
  EXPECT_EQ(list.Bar().m_edgeBrush, 9);
}

TEST_F(CategoryTest, MarkersAndIndentsArePainted) {
  CSkinListBox list;
  ASSERT_TRUE(Make(list));
  list.Toggle(1);
  const int row = list.GetRowHeight();
  const ui::Picture shown = ui::Capture(list.GetSafeHwnd());
  // The expanded marker of "Arts" and the collapsed one of "Music".
  EXPECT_EQ(shown.At(5, row + row / 2), CFakeSkin::FrameColour(4222, 0));
  EXPECT_EQ(shown.At(3, 2 * row + row / 2), CFakeSkin::FrameColour(1073, 0));
  // "All" is selected: the selection brush from the marker column on.
  EXPECT_EQ(shown.At(150, row / 2), CFakeSkin::BrushColour(1));
}

// A parent that records tree notifications and can refuse a selection change.
class TreeParent : public ui::RecordingParent {
 public:
  struct Notice {
    int code;
    HTREEITEM oldItem;
    HTREEITEM newItem;
  };
  std::vector<Notice> notices;
  LRESULT refuseSelection = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NOTIFY) {
      const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(lParam);
      notices.push_back({static_cast<int>(tree->hdr.code), tree->itemOld.hItem, tree->itemNew.hItem});
      if (tree->hdr.code == static_cast<UINT>(TVN_SELCHANGINGA)) return refuseSelection;
      return 0;
    }
    return RecordingParent::WindowProc(message, wParam, lParam);
  }
  int Count(int code) const {
    int count = 0;
    for (const Notice& notice : notices) count += notice.code == code ? 1 : 0;
    return count;
  }
};

class TreeTest : public SkinTest {
 protected:
  TreeTest() { tree.ShowWindow(SW_SHOWNA); }
  TreeParent tree;
};

TEST_F(TreeTest, RowsFollowExpansionAndDeletionAnnouncesEachItemOnce) {
  CTreeListBox list;
  ASSERT_TRUE(list.CreateTree(WS_CHILD | WS_VISIBLE | 0x23, CRect(0, 0, 200, 200), &tree, kListId));
  HTREEITEM a = list.InsertItem("a", 0, 0, 11, TVI_ROOT, TVI_LAST);
  HTREEITEM a1 = list.InsertItem("a1", 0, 0, 12, a, TVI_LAST);
  HTREEITEM a1x = list.InsertItem("a1x", 0, 0, 13, a1, TVI_LAST);
  list.InsertItem("a2", 0, 0, 14, a, TVI_LAST);
  HTREEITEM b = list.InsertItem("b", 0, 0, 15, TVI_ROOT, TVI_LAST);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetItemData(a1), 12u);
  // Expanding inside a collapsed parent adds no rows.
  list.Expand(a1, CTreeListBox::kExpand);
  EXPECT_EQ(list.GetCount(), 2);
  list.Expand(a, CTreeListBox::kExpand);
  EXPECT_EQ(list.GetCount(), 5);  // a, a1, a1x, a2, b
  EXPECT_EQ(list.ItemOfRow(2), reinterpret_cast<CTreeItem*>(a1x));
  EXPECT_EQ(tree.Count(TVN_ITEMEXPANDINGA), 2);
  EXPECT_EQ(tree.Count(TVN_ITEMEXPANDEDA), 2);
  EXPECT_EQ(list.GetRelative(a1x, CTreeListBox::kNextVisible), list.GetRelative(a1, CTreeListBox::kNext));
  EXPECT_EQ(list.GetRelative(b, CTreeListBox::kPreviousVisible), reinterpret_cast<HTREEITEM>(list.ItemOfRow(3)));
  list.Expand(a, CTreeListBox::kToggle);
  EXPECT_EQ(list.GetCount(), 2);
  list.DeleteItem(a);
  EXPECT_EQ(tree.Count(TVN_DELETEITEMA), 4);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kRoot), b);
  list.DeleteAllItems();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(tree.Count(TVN_DELETEITEMA), 5);
}

TEST_F(TreeTest, HitTestsAndClicks) {
  CTreeListBox list;
  ASSERT_TRUE(list.CreateTree(WS_CHILD | WS_VISIBLE | 0x23, CRect(0, 0, 200, 200), &tree, kListId));
  HTREEITEM a = list.InsertItem("alpha", 0, 0, 0, TVI_ROOT, TVI_LAST);
  HTREEITEM a1 = list.InsertItem("beta", 0, 0, 0, a, TVI_LAST);
  list.Expand(a, CTreeListBox::kExpand);
  const int line = skin.m_lineHeight;
  UINT flags = 0;
  // Indent 16, no images: button column (0, 16), icon [16, 20), label after.
  EXPECT_EQ(list.HitTest(CPoint(8, 2), &flags), a);
  EXPECT_EQ(flags, CTreeListBox::kHitButton);
  EXPECT_EQ(list.HitTest(CPoint(17, 2), &flags), a);
  EXPECT_EQ(flags, CTreeListBox::kHitIcon);
  EXPECT_EQ(list.HitTest(CPoint(22, 2), &flags), a);
  EXPECT_EQ(flags, CTreeListBox::kHitLabel);
  EXPECT_EQ(list.HitTest(CPoint(150, 2), &flags), a);
  EXPECT_EQ(flags, CTreeListBox::kHitRight);
  EXPECT_EQ(list.HitTest(CPoint(40, line + 2), &flags), a1);
  EXPECT_EQ(flags, CTreeListBox::kHitLabel);
  EXPECT_EQ(list.HitTest(CPoint(40, 5 * line), &flags), nullptr);
  EXPECT_EQ(flags, CTreeListBox::kHitNowhere);
  EXPECT_EQ(list.HitTest(CPoint(40, -3), &flags), nullptr);
  EXPECT_EQ(flags, CTreeListBox::kHitAbove);

  // A click below the last row selects nothing; one on a label selects it.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 5 * line));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, 5 * line));
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), nullptr);
  EXPECT_EQ(tree.Count(NM_CLICK), 1);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, line + 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, line + 2));
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), a1);
  // A click on the +/- button collapses.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 2));
  list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(8, 2));
  EXPECT_EQ(list.GetCount(), 1);
}

TEST_F(TreeTest, ARefusedSelectionChangeKeepsTheOldSelection) {
  CTreeListBox list;
  ASSERT_TRUE(list.CreateTree(WS_CHILD | WS_VISIBLE | 0x23, CRect(0, 0, 200, 200), &tree, kListId));
  HTREEITEM a = list.InsertItem("a", 0, 0, 0, TVI_ROOT, TVI_LAST);
  HTREEITEM b = list.InsertItem("b", 0, 0, 0, TVI_ROOT, TVI_LAST);
  EXPECT_TRUE(list.SelectItem(a, CTreeListBox::kCaret));
  tree.refuseSelection = 1;
  EXPECT_FALSE(list.SelectItem(b, CTreeListBox::kCaret));
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), a);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_EQ(tree.Count(TVN_SELCHANGEDA), 1);
}

TEST_F(TreeTest, ImagePairsShowTheBackgroundWhereTheMaskIsWhite) {
  CClientDC screen(nullptr);
  CBitmap image;
  image.CreateCompatibleBitmap(&screen, 8, 8);
  CBitmap mask;
  mask.CreateBitmap(8, 8, 1, 1, nullptr);
  {
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap* old = memory.SelectObject(&image);
    memory.FillSolidRect(0, 0, 8, 8, RGB(200, 0, 0));
    memory.SelectObject(&mask);
    memory.PatBlt(0, 0, 4, 8, WHITENESS);
    memory.PatBlt(4, 0, 4, 8, BLACKNESS);
    memory.SelectObject(old);
  }
  CImagePairList pairs;
  pairs.SetSize(8, 8);
  EXPECT_EQ(pairs.Add(&image, &mask), 0);
  CImagePairList copy(pairs);
  CDC canvas;
  canvas.CreateCompatibleDC(&screen);
  CBitmap target;
  target.CreateCompatibleBitmap(&screen, 20, 20);
  CBitmap* old = canvas.SelectObject(&target);
  canvas.FillSolidRect(0, 0, 20, 20, RGB(0, 160, 0));
  EXPECT_EQ(copy.Draw(&canvas, 0, 5, 5), 1);
  EXPECT_EQ(canvas.GetPixel(6, 8), RGB(0, 160, 0));
  EXPECT_EQ(canvas.GetPixel(10, 8), RGB(200, 0, 0));
  EXPECT_EQ(canvas.GetPixel(14, 8), RGB(0, 160, 0));
  EXPECT_EQ(copy.Draw(&canvas, 1, 5, 5), 0);
  canvas.SelectObject(old);
}

TEST_F(TreeTest, IconListKeysFollowVisibleRowsAndInsertionsKeepTheTop) {
  CIconListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | 0x23, CRect(0, 0, 200, 4 + 5 * skin.m_lineHeight), &tree, kListId));
  EXPECT_EQ(list.GetRowsPerPage(), 5);
  std::vector<HTREEITEM> top;
  for (int i = 0; i < 8; ++i) top.push_back(list.InsertItem("item", 0, 0, i, TVI_ROOT, TVI_LAST));
  HTREEITEM hidden = list.InsertItem("hidden", 0, 0, 99, top.back(), TVI_LAST);
  int first = 0;
  int last = 0;
  list.GetRange(first, last);
  EXPECT_EQ(last, 8 - 5);
  list.ScrollTo(2);
  list.InsertItem("more", 0, 0, 100, TVI_ROOT, TVI_LAST);
  EXPECT_EQ(list.GetPosition(), 2);
  EXPECT_EQ(list.GetTopIndex(), 2);
  list.GetRange(first, last);
  EXPECT_EQ(last, 9 - 5);
  // End: the last visible item, not the collapsed branch's child.
  list.SendMessage(WM_KEYDOWN, VK_END, 0);
  EXPECT_NE(list.GetRelative(nullptr, CTreeListBox::kCaret), hidden);
  EXPECT_EQ(list.GetItemData(list.GetRelative(nullptr, CTreeListBox::kCaret)), 100u);
  list.SendMessage(WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), top[0]);
  EXPECT_EQ(list.GetPosition(), 0);
  list.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), top[5]);
  EXPECT_EQ(list.GetPosition(), 1);
  list.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(list.GetRelative(nullptr, CTreeListBox::kCaret), top[4]);
  EXPECT_EQ(list.Bar().m_upFrame, CSkinBar::kNormal);
}

}  // namespace
