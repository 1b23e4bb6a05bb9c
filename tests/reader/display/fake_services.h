// The application as the display and the dialogs see it, for the tests under
// Wine: known colours and brushes, fixed fonts, synthetic bitmaps whose every
// frame is one solid colour, a bookmark store in memory, and records of what
// the screens were asked.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/skin_environment.h"
#include "core/category_list.h"
#include "display/display_services.h"
#include "ui_harness.h"

namespace displaytest {

class CFakeStore : public display::AnnotationStore {
 public:
  bool FindAnnotations(int article, display::StoredAnnotations& out) override;
  void RemoveBookmark(int article) override;
  void AddBookmarkNote(int article, const std::string& text, int position) override;
  void AddHighlight(int article, int first, int last) override;
  std::map<int, display::StoredAnnotations> records;
  int removed = 0;
};

class CFakeServices : public CDisplayServices, public CSkinEnvironment {
 public:
  // Colours of the display's pairs.
  static constexpr COLORREF kHighlight = RGB(255, 255, 0);
  static constexpr COLORREF kSearch = RGB(0, 0, 255);
  static constexpr COLORREF kCrossRef = RGB(200, 0, 0);
  static COLORREF BrushColour(int index);
  static COLORREF FrameColour(UINT id, int frame);

  CFakeServices();
  ~CFakeServices() override;
  // Registers (or replaces) a synthetic bitmap of frames of one colour each.
  void Define(UINT id, int frameWidth, int height, int frames);

  // CDisplayServices
  CFont* GetArticleFont(int style) override { return &m_article[style]; }
  DisplayColours GetColours(int pair) override { return m_colours[pair]; }
  CBrush* GetBrush(int index) override { return &m_brushes[index]; }
  CPalette* GetPalette() override { return &m_palette; }
  CBrush* GetDialogBrush() override { return &m_dialogBrush; }
  CBrush* GetProgressBrush() override { return &m_progressBrush; }
  CFont* GetCaptionFont() override { return &m_fonts[1]; }
  CFont* GetTextFont() override { return &m_fonts[12]; }
  int GetTextLineHeight() override { return 15; }
  CBitmap* GetBackground() override { return &m_background; }
  BOOL LoadBitmap(UINT id, CBitmap& bitmap) override { return LoadDIB(id, bitmap); }
  CString LookupTitle(int article) override;
  BOOL ShowsPictures() override { return m_pictures; }
  BOOL MediaReachable() override { return m_pictures; }
  BOOL ReadMediaItem(int item, CString& title, int& kind) override;
  int MediaItemArticle(int index) override { return index + 100; }
  CWnd* CreateThumbnail(CWnd* display, const CRect& rect, UINT controlId, int itemIndex) override;
  display::AnnotationStore& Annotations() override { return store; }
  void LookUpWord(const CString& word) override { words.push_back(static_cast<LPCTSTR>(word)); }
  void EditNote(CWnd* screen, CNoteIcon* icon) override { edits.push_back({screen, icon}); }
  BOOL IsDictionaryListMode(CWnd*) override { return m_fullWidth; }
  int GetShownArticle(CWnd*) override { return m_shownArticle; }

  // CSkinEnvironment (the skinned buttons and edits of the dialogs)
  CFont* GetFont(int index) override { return &m_fonts[index]; }
  int GetLineHeight() override { return 15; }
  BOOL IsStarted() override { return TRUE; }
  int GetActiveSkin() override { return kSkinEncyclopedia; }
  HWND GetActiveViewWindow() override { return nullptr; }
  CPalette* GetMediaPicturePalette() override { return nullptr; }
  BOOL IsPreferencesDialog(CWnd*) override { return FALSE; }
  BOOL LoadDIB(UINT id, CBitmap& bitmap) override;
  BOOL GetArticleIcons(int, UINT& image, UINT& mask) override {
    image = mask = 0;
    return FALSE;
  }
  CSize DrawTransparent(CDC*, UINT, UINT, int, int, UINT) override { return CSize(0, 0); }
  int LookupTitle(int article, char* buffer) override;
  BOOL IsInBookmarkFolder(int) override { return FALSE; }
  int ToInternalArticle(int entry) override { return entry; }
  BOOL ReadCategories(int, CCategoryList&) override { return FALSE; }

  DisplayColours m_colours[5];
  BOOL m_pictures = TRUE;
  BOOL m_fullWidth = FALSE;
  int m_shownArticle = 7;
  CFakeStore store;
  std::vector<std::string> words;
  std::vector<std::pair<CWnd*, CNoteIcon*>> edits;
  std::vector<UINT> loaded;  // bitmap ids asked for, in order
  struct Thumbnail {
    CRect rect;
    UINT id;
    int index;
  };
  std::vector<Thumbnail> thumbnails;

 private:
  struct Synthetic {
    int frameWidth, height, frames;
  };
  std::map<UINT, Synthetic> m_bitmaps;
  CFont m_article[9];
  CFont m_fonts[13];
  CBrush m_brushes[15];
  CBrush m_dialogBrush;
  CBrush m_progressBrush;
  CPalette m_palette;
  CBitmap m_background;
};

}  // namespace displaytest
