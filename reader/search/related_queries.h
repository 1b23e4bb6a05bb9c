// The related-articles queries that every screen showing articles shares:
// each turns its result into the main frame's current query (kind 1) and
// posts WM_SHOWRESULTS to the active view, or shows the box that says why
// nothing was found.
#pragma once

#include "framework.h"

class CDisplay;

namespace search {

// The related articles of main-database article `article` from MAROVA.REL,
// in the file's order with their scores, titled "Related to:  " and the
// article's title.
void QueryRelatedArticles(int article);

// The articles related to the display's selected text: its words without
// stop words, their inflected forms and, for a short selection, the
// term-expansion lines, run as a ranked query.
void QueryRelatedToSelection(CDisplay& display);

}  // namespace search
