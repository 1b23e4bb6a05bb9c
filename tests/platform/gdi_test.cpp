// GDI and menu wrappers over the generated sample resources, and string
// resources.
#include <gtest/gtest.h>

#include "test_app.h"
#include "ui_harness.h"

namespace {

TEST(Resources, GeneratedBitmapsLoadWithTheirListedSizes) {
  CBitmap cancel;
  ASSERT_TRUE(cancel.LoadBitmap(IDB_SAMPLE_CANCEL));
  BITMAP info;
  ASSERT_NE(cancel.GetBitmap(&info), 0);
  EXPECT_EQ(info.bmWidth, 240);  // four frames of 60
  EXPECT_EQ(info.bmHeight, 24);

  // The background keeps its 256-colour table in the resource.
  HRSRC found = ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_SAMPLE_BACKGROUND),
                                reinterpret_cast<LPCSTR>(RT_BITMAP));
  ASSERT_NE(found, nullptr);
  const auto* header =
      static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(AfxGetResourceHandle(), found)));
  EXPECT_EQ(header->biBitCount, 8);
  EXPECT_EQ(header->biClrUsed, 256u);
  EXPECT_EQ(header->biWidth, 320);

  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(4242));
  CBitmap check;
  EXPECT_TRUE(check.LoadOEMBitmap(OBM_CHECK));
}

TEST(Resources, IconsCursorsStringsAndMenusOfTheSampleSet) {
  EXPECT_NE(TestApp().LoadIcon(IDI_SAMPLE), nullptr);
  EXPECT_NE(TestApp().LoadCursor(IDC_SAMPLE_HAND), nullptr);
  CString title;
  EXPECT_TRUE(title.LoadString(IDS_SAMPLE_TITLE));
  EXPECT_STREQ(title, "Sample");
  EXPECT_FALSE(title.LoadString(4242));
  EXPECT_TRUE(title.IsEmpty());
  CString failed;
  EXPECT_TRUE(failed.LoadString(AFX_IDP_COMMAND_FAILURE));

  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_SAMPLE));
  CMenu* file = menu.GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetMenuItemID(0), static_cast<UINT>(ID_SAMPLE_FIRST));
  EXPECT_EQ(file->GetMenuItemID(2), 0u);  // separator
  CString text;
  file->GetMenuString(ID_SAMPLE_SECOND, text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Second");
  CBitmap folder;
  ASSERT_TRUE(folder.LoadBitmap(IDB_SAMPLE_FOLDER));
  EXPECT_TRUE(file->AppendMenu(MF_STRING, 7000, &folder));
  EXPECT_TRUE(file->GetMenuState(7000, MF_BYCOMMAND) & MF_BITMAP);
}

TEST(Gdi, DrawingThroughTheWrappersLandsInTheBitmap) {
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 64, 32));
  ::ReleaseDC(nullptr, screen.Detach());
  CBitmap* old = memory.SelectObject(&canvas);
  ASSERT_NE(old, nullptr);
  memory.FillSolidRect(0, 0, 64, 32, RGB(255, 255, 255));
  CBrush red(RGB(255, 0, 0));
  CRect box(4, 4, 20, 20);
  memory.FillRect(&box, &red);
  CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* oldPen = memory.SelectObject(&blue);
  memory.MoveTo(30, 10);
  memory.LineTo(60, 10);
  memory.SelectObject(oldPen);
  EXPECT_EQ(memory.GetPixel(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(memory.GetPixel(45, 10), RGB(0, 0, 255));
  EXPECT_EQ(memory.GetPixel(45, 20), RGB(255, 255, 255));

  // Text metrics are measured, never assumed.
  LOGFONT logFont = {};
  logFont.lfHeight = -12;
  lstrcpyA(logFont.lfFaceName, "Arial");
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&logFont));
  CFont* oldFont = memory.SelectObject(&font);
  TEXTMETRIC metrics;
  ASSERT_TRUE(memory.GetTextMetrics(&metrics));
  const CSize extent = memory.GetTextExtent("Test", 4);
  EXPECT_EQ(extent.cy, metrics.tmHeight);
  EXPECT_GT(extent.cx, 0);
  memory.SelectObject(oldFont);

  CRgn triangle;
  const POINT corners[] = {{0, 0}, {20, 0}, {0, 20}};
  ASSERT_TRUE(triangle.CreatePolygonRgn(corners, 3, ALTERNATE));
  EXPECT_TRUE(triangle.PtInRegion(2, 2));
  EXPECT_FALSE(triangle.PtInRegion(18, 18));
  memory.SelectObject(old);
}

TEST(Gdi, ClientDCOfAWindowThrowsNothingAndReadsBack) {
  ui::RecordingParent parent;
  parent.ShowWindow(SW_SHOW);
  {
    CClientDC dc(&parent);
    dc.FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
  }
  const ui::Picture picture = ui::Capture(parent.m_hWnd);
  EXPECT_EQ(picture.At(5, 5), RGB(1, 2, 3));
  bool thrown = false;
  try {
    CWnd gone;  // no window: no DC
    CWindowDC dc(&gone);
  } catch (CResourceException* e) {
    thrown = true;
    e->Delete();
  }
  // A null window's DC is the screen's, which exists: no exception here.
  EXPECT_FALSE(thrown);
}

TEST(Controls, ListBoxWrappersAndOwnerDrawnItemsMeasuredByTheControl) {
  class CTallList : public CListBox {
   public:
    int measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
      ++measured;
      mis->itemHeight = 21;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override {}
  } list;
  ui::RecordingParent parent;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                          CRect(0, 0, 100, 100), &parent, 31));
  EXPECT_GE(list.measured, 1);
  EXPECT_EQ(list.GetItemHeight(0), 21);
  EXPECT_EQ(list.AddString("alpha"), 0);
  EXPECT_EQ(list.AddString("beta"), 1);
  list.SetItemData(1, 0xBEEF);
  EXPECT_EQ(list.GetItemData(1), 0xBEEFu);
  CString text;
  list.GetText(1, text);
  EXPECT_STREQ(text, "beta");
  list.SetCurSel(1);
  EXPECT_EQ(list.GetCurSel(), 1);
  BOOL outside = TRUE;
  EXPECT_EQ(list.ItemFromPoint(CPoint(5, 25), outside), 1u);
  EXPECT_FALSE(outside);
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
