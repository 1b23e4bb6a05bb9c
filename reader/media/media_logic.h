// The arithmetic of the media screens and windows, apart from any window so
// that it is tested natively: where a media window goes in its frame, the
// picture window's scroll strip and scrolling, the home screen's dissolve,
// stepping through the gallery's selection, which controls an item's type
// shows, the thumbnail cursors, and fitting a printed picture.
#pragma once

#include <cstdint>
#include <vector>

#include "afx_core.h"
#include "core/bit_string.h"

namespace media_logic {

// --- placing windows ---

// Centred on `centre`, then pushed left and up into `bounds`; a left or top
// edge at or below 0 becomes 0 (the other edge stays).
CRect PlaceCentredInBounds(CSize size, CPoint centre, const CRect& bounds);
// Moved back inside `area`: left by what sticks out right, then right to its
// left edge; the same vertically.
CRect KeepInside(const CRect& window, const CRect& area);
// The picture window's place in its parent's `area` outside scroll-strip
// mode: `window` is its place now and `frameSize` the frame-adjusted picture.
// Smaller than the area in a direction: it keeps its edge unless that would
// pass the area's far edge; else it takes the area's extent.
CRect FitWindowToArea(const CRect& window, CSize frameSize, const CRect& area);
// The same in scroll-strip mode: the picture plus a 2-pixel border and the
// 17-pixel strip, centred where smaller, else the area's extent.
CRect FitStripWindowToArea(CSize picture, const CRect& area);

// --- the picture window's scroll strip ---

struct StripGeometry {
  CRect left, right, track, thumb;
};
// From the window's bounds: the strip is the bounds less 3 pixels left, right
// and bottom; the arrows (a third of their three-state bitmap wide) stand at
// its bottom corners; the track lies between them, narrowed by an arrow's
// width + 4 on each side; the thumb is its bitmap's size at the track's left.
StripGeometry MakeStripGeometry(const CRect& bounds, CSize arrowBitmap, CSize thumbBitmap);
// The thumb's left edge for position p of the range min..max.
int ThumbLeft(int p, int min, int max, const CRect& track, int thumbWidth);
// The position a thumb dropped at `thumbLeft` stands for.
int PositionOfThumb(int thumbLeft, int min, int max, const CRect& track, int thumbWidth);
// The strip's range maximum: (picture width - window width) / 10, at least 0.
int StripMaximum(int pictureWidth, int windowWidth);
// Scroll x for strip position p: p x (W - client width) / (max - min).
int ScrollOfPosition(int p, int min, int max, int pictureWidth, int clientWidth);
// Strip position for scroll x: (max - min) x x / (W - client width).
int PositionOfScroll(int x, int min, int max, int pictureWidth, int clientWidth);
// A scroll offset kept within 0..extent - client (0 when the picture fits).
int ClampScroll(int offset, int extent, int client);
// The byte of the region mask under picture pixel (x, y): rows bottom-up,
// each the width rounded up to 4. 0 outside the picture or the mask.
std::uint8_t MaskByte(const std::uint8_t* mask, std::size_t maskSize, int width, int height, int x, int y);

// --- the home screen's dissolve ---

// The cell to draw for random number r (0 to 0x7FFF) among `taken`:
// i = r x (n - 1) / 0x7FFF; forward to the next free cell, else back from the
// last cell to the nearest free one. -1 when every cell is taken.
int DissolveCell(const std::vector<std::uint8_t>& taken, int r);

// --- the gallery ---

// The gallery item after (or before) the one whose article is `article`, in
// `selection`, wrapping; `gallery` is Mult.bit. -1 when the selection is
// empty. An article outside the selection steps from the first selected
// article at or after it.
int NextItem(const CBitString& gallery, const CBitString& selection, int article);
int PreviousItem(const CBitString& gallery, const CBitString& selection, int article);

// The item the gallery opens on: `preferred` when the gallery's `itemCount`
// items reach it, else the first item (a smaller gallery than the one the
// preferred item was chosen for would show an empty window).
int OpeningItem(int preferred, int itemCount);

// Which controls an item of this type shows and enables.
struct ItemControls {
  bool soundShown, soundEnabled, legendShown, vrShown, printEnabled;
  bool soundMenu, legendMenu, vrMenu;
};
ItemControls ControlsForType(int type, bool hasSound);

// The thumbnail cursor of an item: sound first, then the type's.
unsigned ThumbnailCursor(int type, bool hasSound);

// The image of w x h fitted into an area of W x H keeping its shape, centred.
CRect FitPrintedImage(const CRect& area, int w, int h);

// The menu text of "Add" with the item's title in double quotes.
CString AddItemText(const CString& title);

}  // namespace media_logic
