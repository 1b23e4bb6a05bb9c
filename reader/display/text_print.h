// Laying the display's runs out on a printed page: one page per call, from a
// given run, in the article fonts of the printer, word groups kept together as
// on the screen.
#pragma once

#include "display/text_model.h"

namespace display {

// Where a page is measured and drawn (the printer's device context).
class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  // The extent of text in the article font of a style (0..8).
  virtual Extent Measure(int style, const char* text, int length) = 0;
  // Height plus external leading of article font 0.
  virtual int LineHeight() = 0;
  // Draws text in the font of a style with its top-left corner at (x, y).
  virtual void Draw(int style, int x, int y, const char* text, int length) = 0;
};

// Lays out and draws one page inside `area` from run `first`; with
// `selectionOnly` only the selected runs, block by block. `dictionaryLines`
// (the dictionary screen's lists, modes 0..2): a run that starts a line
// just starts the next printed line; elsewhere it also leaves an empty line
// before it. A page ends before a line that would reach below `area`; its
// first line is printed whatever its height, so every page holds one.
// Returns the first run of the next page, or -1 when the text is done.
int PrintPage(const TextModel& model, PrintSurface& surface, const CRect& area, int first, bool selectionOnly,
              bool dictionaryLines);

}  // namespace display
