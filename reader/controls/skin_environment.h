// What the skinned controls need of the application: its drawing resources,
// its start-up state, which screen is active, its bitmap loader and icon
// painter, and its article title and bookmark queries. The application object
// implements this interface and installs itself with SetSkinEnvironment at
// start-up; tests install a fake. Every control asks Skin() when it draws.
#pragma once

#include "core/screen_registry.h"
#include "framework.h"
#include "messages/window_messages.h"

class CCategoryList;

// The brushes of a skin (kSkin*, screen_registry.h) in the shared brush
// table: the edges of its frames, its title bands and its backgrounds.
struct SkinBrushes {
  int edge, band, background;
};
// The encyclopedia's for a value that is no skin.
SkinBrushes BrushesOf(int skin);

class CSkinEnvironment {
 public:
  virtual ~CSkinEnvironment() = default;

  // The application palette (m_palette).
  virtual CPalette* GetPalette() = 0;
  // Brush 0..14 of the shared brush table.
  virtual CBrush* GetBrush(int index) = 0;
  // Font 0..12 of the shared font table (12 is the menu and list font).
  virtual CFont* GetFont(int index) = 0;
  // The global line height (height plus external leading of font 12).
  virtual int GetLineHeight() = 0;
  // TRUE once start-up has finished (m_bStarted).
  virtual BOOL IsStarted() = 0;
  // The skin and the window of the main frame's active view; the
  // encyclopedia's skin while none is active.
  virtual int GetActiveSkin() = 0;
  virtual HWND GetActiveViewWindow() = 0;
  // The media screen's current picture palette when that view is active and
  // has one, else null.
  virtual CPalette* GetMediaPicturePalette() = 0;
  // TRUE when the window is the Preferences dialog.
  virtual BOOL IsPreferencesDialog(CWnd* window) = 0;

  // LoadDIB with the application palette: a device bitmap from the packed-DIB
  // bitmap resource `id`; FALSE when the resource is missing.
  virtual BOOL LoadDIB(UINT id, CBitmap& bitmap) = 0;
  // GetArticleIcons: the icon pair of an article; FALSE (ids 0) when none.
  virtual BOOL GetArticleIcons(int article, UINT& image, UINT& mask) = 0;
  // DrawTransparent: draws the shared icon pair of `image` at (x, y) with the
  // flags 0x4 / 0x8 (centre / bottom on y); returns the drawn size.
  virtual CSize DrawTransparent(CDC* dc, UINT image, UINT mask, int x, int y, UINT flags) = 0;

  // LookupTitle: the title of an article into a buffer of 255 bytes; the
  // title index's result.
  virtual int LookupTitle(int article, char* buffer) = 0;
  // TRUE when the article is in the set of any bookmark folder.
  virtual BOOL IsInBookmarkFolder(int article) = 0;
  // ToInternalArticle: article number of a main-database entry.
  virtual int ToInternalArticle(int entry) = 0;
  // Fills the list from the main content database: variant 1 the media
  // categories, others the subject categories. FALSE when that fails.
  virtual BOOL ReadCategories(int variant, CCategoryList& list) = 0;
};

// Installs the environment (the application object at start-up).
void SetSkinEnvironment(CSkinEnvironment* environment);
// The installed environment; the controls are used only after start-up made it.
CSkinEnvironment& Skin();

// Selects the application palette into a DC for one drawing step: as a
// background palette while the media screen is active (its pictures own the
// foreground), else in the foreground; `foreground` forces the foreground.
// The previous palette comes back when the scope ends.
class CSkinPaletteScope {
 public:
  explicit CSkinPaletteScope(CDC* dc, BOOL foreground = FALSE, CPalette* palette = nullptr);
  ~CSkinPaletteScope();
  CSkinPaletteScope(const CSkinPaletteScope&) = delete;
  CSkinPaletteScope& operator=(const CSkinPaletteScope&) = delete;

 private:
  CDC* m_dc;
  HPALETTE m_previous = nullptr;
};

// Realizes `palette` in the window's client DC as the foreground palette and
// selects the previous palette back (as a background palette when
// `restoreInBackground`); returns how many system palette entries changed.
// The windows' palette handlers repaint when that is non-zero.
UINT RealizeWindowPalette(CWnd* window, CPalette* palette, BOOL restoreInBackground);

// Turns a window's redrawing on again (after SetRedraw(FALSE)) and repaints
// it with its children: turning redrawing off dropped the paints they had
// pending, which no later invalidation of the window alone brings back.
void ResumeRedraw(CWnd* window);

// The colours of a window's white panels for WM_CTLCOLOR: black text on
// white; returns the white stock brush.
HBRUSH BlackOnWhite(CDC* dc);
// WM_ERASEBKGND of a white window: fills the client area through the DC of
// wParam; returns TRUE (erased).
LRESULT EraseWhite(CWnd* window, WPARAM wParam);

// Copies a bitmap (or a part of it) into a DC through a memory DC, SRCCOPY.
void BlitBitmap(CDC* dc, CBitmap& bitmap, int x, int y, int width, int height, int sourceX, int sourceY);
// The size of a bitmap (0 x 0 when empty).
CSize BitmapSize(const CBitmap& bitmap);
