// ReaderLook: the drawing resources every window of the reader shares: the
// palette, the brushes, the fonts and text colours, the icon pairs and their
// transparent painter, the background picture, bitmaps from resources and
// the printer's margins. The application holds it (as part of its
// ReaderContext); the screens reach it through Reader().
#pragma once

#include "framework.h"

class ReaderContent;

// The windows that show the look, as it tells and asks them: the main frame
// passes a change of the colours or of the article fonts on to its screens,
// and says whether the active screen's pictures bring their own palette (the
// shared icons then realise the application palette in the background). The
// look finds them as the main window.
class LookWindows {
 public:
  virtual ~LookWindows() = default;
  virtual void ColoursChanged() = 0;
  virtual void FontsChanged() = 0;
  virtual BOOL PicturePaletteActive() const = 0;
};

// Indexes of the shared fonts.
enum SharedFont {
  FontArticle = 0,
  FontArticleBold = 1,
  FontArticleItalic = 2,
  FontArticleBoldItalic = 3,
  FontRaised = 4,
  FontLowered = 5,
  FontCrossRef = 6,
  FontSerif = 7,
  FontPhonetic = 8,
  FontHeading = 9,
  FontCaption = 10,
  FontSmall = 11,
  FontList = 12,
  FontCount = 13,
};
// The text colour pairs of the formatted-text display.
enum ColourPair { ColourNormal, ColourSelection, ColourHighlighter, ColourSearchHit, ColourCrossRef, ColourPairCount };
constexpr int BrushCount = 15;
// The brushes of dialog backgrounds and of the search progress bar.
constexpr int DialogBrush = 11;
constexpr int ProgressBrush = 3;
constexpr int IconPairCount = 19;

class ReaderLook {
 public:
  // The article icons follow the content's filter sets.
  explicit ReaderLook(const ReaderContent& content) : m_content(content) {}
  ReaderLook(const ReaderLook&) = delete;
  ReaderLook& operator=(const ReaderLook&) = delete;

  // A device bitmap from the packed-DIB bitmap resource `id`, in the shared
  // palette or in a palette of its own made into `palette` (realised when
  // `realise`); FALSE when the resource is missing or damaged.
  BOOL LoadDIB(UINT id, CBitmap& bitmap, CPalette& palette, BOOL useAppPalette, BOOL realise);
  // The same in the shared palette.
  BOOL LoadDIB(UINT id, CBitmap& bitmap);
  BOOL CreateBrushes();
  void LoadButtonBitmaps();
  // The colours from the settings; with `notify` the screens' displays repaint.
  BOOL LoadColours(BOOL notify);
  BOOL CreateFonts();
  // Makes the article fonts again, for `dc` (a printer's) or the screen;
  // with `notify` the screens lay their text out again.
  BOOL RecreateArticleFonts(BOOL notify, CDC* dc);
  // The icon pair of an article; FALSE (ids 0) when it has none.
  BOOL GetArticleIcons(int article, UINT* imageId, UINT* maskId) const;
  // Draws the shared icon pair of `imageId` at (x, y) with the flags 0x4 /
  // 0x8 (centre / bottom on y); the drawn size, also into `size`.
  CSize DrawTransparent(CSize* size, CDC* dc, UINT imageId, UINT maskId, int x, int y, UINT flags);
  // The printer's margins, in the DC's logical units, into m_printMargins.
  void GetPrinterMargins(CDC* dc);

  COLORREF GetTextColour(int pair) const { return m_colourText[pair]; }
  COLORREF GetBackColour(int pair) const { return m_colourBack[pair]; }
  CPalette* GetPalette() { return &m_palette; }
  CBrush* GetBrush(int index) { return &m_brushes[index]; }
  CFont* GetFont(int index) { return &m_fonts[index]; }
  int GetLineHeight() const { return m_lineHeight; }

  CPalette m_palette;
  CBrush m_brushes[BrushCount];
  CBitmap m_backgroundBitmap;
  int m_backgroundWidth = 0;
  int m_backgroundHeight = 0;
  CObArray m_buttonImages;
  CObArray m_buttonMasks;
  int m_lineHeight = 0;
  CFont m_fonts[FontCount];
  COLORREF m_colourText[ColourPairCount] = {};
  COLORREF m_colourBack[ColourPairCount] = {};
  CRect m_printMargins;

 private:
  const ReaderContent& m_content;
};
