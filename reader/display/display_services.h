// What the formatted-text display, the note dialog, the search progress
// dialog and the print preview need of the application and of the screens
// that own them. The application object implements this interface and
// installs itself with SetDisplayServices at start-up; tests install a fake.
#pragma once

#include "display/annotations.h"
#include "framework.h"

class CNoteIcon;

// A text colour and its background.
struct DisplayColours {
  COLORREF text;
  COLORREF background;
};

// Colour pairs of the display.
enum DisplayColourPair {
  kColoursNormal = 0,          // black on white
  kColoursSelected = 1,        // white on black
  kColoursHighlighted = 2,     // black on "HighlightColour"
  kColoursFindHit = 3,         // white on "SearchColour"
  kColoursCrossReference = 4,  // "CrossRefColour" on white
};

class CDisplayServices {
 public:
  virtual ~CDisplayServices() = default;

  // The shared look.
  // Article font 0..8 (normal, bold, italic, bold italic, raised, lowered,
  // cross reference, 9-point serif, phonetic): the screen's fonts, or the
  // printer's while a print job has them made for its device context.
  virtual CFont* GetArticleFont(int style) = 0;
  virtual DisplayColours GetColours(int pair) = 0;
  // Brush n of the shared brush table.
  virtual CBrush* GetBrush(int index) = 0;
  virtual CPalette* GetPalette() = 0;
  // The brushes of dialog backgrounds and of the search progress bar.
  virtual CBrush* GetDialogBrush() = 0;
  virtual CBrush* GetProgressBrush() = 0;
  // The caption font, and the 12-pixel text font with its line height.
  virtual CFont* GetCaptionFont() = 0;
  virtual CFont* GetTextFont() = 0;
  virtual int GetTextLineHeight() = 0;
  // The background picture (behind the print preview's pages).
  virtual CBitmap* GetBackground() = 0;
  // A bitmap resource in the application palette; FALSE when missing.
  virtual BOOL LoadBitmap(UINT id, CBitmap& bitmap) = 0;

  // Content.
  // The title of an article.
  virtual CString LookupTitle(int article) = 0;
  // "DisplayPictures" is on, the media architecture present and the media
  // data file reachable.
  virtual BOOL ShowsPictures() = 0;
  // The media architecture present and the media data file reachable.
  virtual BOOL MediaReachable() = 0;
  // Media list record of an item: its title and kind (5 when it has a
  // sound); FALSE when it cannot be read.
  virtual BOOL ReadMediaItem(int item, CString& title, int& kind) = 0;
  // The article that is the (index + 1)-th member of the media items filter
  // (Mult.bit); -1 when there is none.
  virtual int MediaItemArticle(int index) = 0;
  // Makes the thumbnail window of a media item in a display (style child and
  // visible, the item number as control id); the display owns and deletes it.
  virtual CWnd* CreateThumbnail(CWnd* display, const CRect& rect, UINT controlId, int itemIndex) = 0;
  // The bookmark records.
  virtual display::AnnotationStore& Annotations() = 0;

  // The screens.
  // Closes the tool windows, shows the dictionary screen and looks the word up.
  virtual void LookUpWord(const CString& word) = 0;
  // The owning screen's note dialog for a note icon of its display.
  virtual void EditNote(CWnd* screen, CNoteIcon* icon) = 0;
  // TRUE when the screen is the dictionary in one of its modes 0..2, whose
  // display uses the full width (no note strip).
  virtual BOOL IsDictionaryListMode(CWnd* screen) = 0;
  // The article (entry, event) the screen shows; -1 when none.
  virtual int GetShownArticle(CWnd* screen) = 0;
};

// Installs the services (the application object at start-up).
void SetDisplayServices(CDisplayServices* services);
// The installed services; the display is used only after start-up made them.
CDisplayServices& DisplayServices();
