// The display scrolls by whole lines: the arithmetic of its top line, pages,
// the last visible line and its own scroll bar's thumb.
#pragma once

#include "display/text_model.h"

namespace display {

// The y of the top line in model coordinates (0 when the line is not in the model).
int TopOffset(const TextModel& model, int topLine);
// The line cut by the lower edge of a client area of that height shown from
// the top line (at least one line further down, the last line at most).
int PageDownLine(const TextModel& model, int topLine, int clientHeight);
// Going up from the top line, the line at which the heights reach the client
// height (at least one line further up, the first line at least).
int PageUpLine(const TextModel& model, int topLine, int clientHeight);
// The last line wholly inside the client area (the top line at least).
int LastVisibleLine(const TextModel& model, int topLine, int clientHeight);
// The top line that shows the run numbered `number` (a type-1 run) about half
// a client height below the top; kNone when there is none.
int PositionLine(const TextModel& model, unsigned number, int clientHeight);

// The thumb's top in a track for the top line of a range.
int ThumbTop(int trackTop, int trackHeight, int thumbHeight, int topLine, int first, int last);
// The top line for a thumb dropped with its top at dragTop.
int DropLine(int dragTop, int trackTop, int trackHeight, int thumbHeight, int first, int last);

}  // namespace display
