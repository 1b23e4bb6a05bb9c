// A skin environment for the control tests: brushes of known solid colours,
// fixed fonts, a line height, switches for the start-up flag and the active
// screen, synthetic bitmaps whose every frame is one distinct solid colour
// (so which frame was drawn is one pixel read), and fake title, bookmark,
// icon and category services.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/skin_environment.h"
#include "core/category_list.h"
#include "ui_harness.h"

struct SyntheticBitmap {
  int frameWidth = 0;
  int height = 0;
  int frames = 1;
};

class CFakeSkin : public CSkinEnvironment {
 public:
  CFakeSkin();
  ~CFakeSkin() override;

  // The solid colour of brush i, and of frame f of a synthetic bitmap.
  static COLORREF BrushColour(int index);
  static COLORREF FrameColour(UINT id, int frame);
  // The colour the fake icon painter fills for an image id.
  static COLORREF IconColour(UINT image);
  static constexpr int kIconSize = 10;

  CPalette* GetPalette() override { return &m_palette; }
  CBrush* GetBrush(int index) override { return &m_brushes[index]; }
  CFont* GetFont(int index) override { return &m_fonts[index]; }
  int GetLineHeight() override { return m_lineHeight; }
  BOOL IsStarted() override { return m_started; }
  int GetActiveSkin() override { return m_skin; }
  HWND GetActiveViewWindow() override { return m_viewWindow; }
  CPalette* GetMediaPicturePalette() override { return nullptr; }
  BOOL IsPreferencesDialog(CWnd* window) override {
    return window != nullptr && window->GetSafeHwnd() == m_preferences;
  }
  BOOL LoadDIB(UINT id, CBitmap& bitmap) override;
  BOOL GetArticleIcons(int article, UINT& image, UINT& mask) override;
  CSize DrawTransparent(CDC* dc, UINT image, UINT mask, int x, int y, UINT flags) override;
  int LookupTitle(int article, char* buffer) override;
  BOOL IsInBookmarkFolder(int article) override { return m_bookmarked.count(article) != 0; }
  int ToInternalArticle(int entry) override { return entry + m_entryOffset; }
  BOOL ReadCategories(int variant, CCategoryList& list) override;

  // Makes font `index` Arial of this pixel height.
  void SetFontHeight(int index, int height);
  // Registers (or replaces) a synthetic bitmap.
  void Define(UINT id, int frameWidth, int height, int frames = 1) { m_bitmaps[id] = {frameWidth, height, frames}; }

  int m_lineHeight = 0;  // measured on font 12 at construction
  int m_measuredLineHeight = 0;
  BOOL m_started = TRUE;
  int m_skin = kSkinEncyclopedia;
  HWND m_viewWindow = nullptr;
  HWND m_preferences = nullptr;
  std::map<int, std::string> m_titles;  // missing: "Article <n>"
  std::set<int> m_bookmarked;
  std::vector<int> m_titleCalls;
  std::map<int, UINT> m_articleIcons;
  int m_entryOffset = 0;
  BOOL m_categoriesReadable = TRUE;
  std::vector<int> m_categoryVariants;
  CCategoryList m_categories;
  std::map<UINT, SyntheticBitmap> m_bitmaps;

 private:
  CPalette m_palette;
  CBrush m_brushes[15];
  CFont m_fonts[13];
};

// The installed fake for one test, with a visible parent that records what
// its controls post and send to it.
class SkinTest : public ::testing::Test {
 protected:
  SkinTest();
  ~SkinTest() override;
  // A child list box of the parent (the "dialog control" a skinned list
  // takes over), with the given extra styles.
  HWND MakeListBox(UINT id, DWORD styles, const RECT& rect = RECT{10, 10, 210, 160});
  // The WM_COMMAND notifications the parent received with this code.
  std::vector<MSG> Commands(UINT id, UINT code) const;

  CFakeSkin skin;
  ui::RecordingParent parent;
};
