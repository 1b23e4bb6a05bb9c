// The related-articles queries and the Search History submenu that every
// screen showing articles shares: each turns its result into the main
// frame's current query (kind 1) and posts WM_SHOWRESULTS to the active view,
// or shows the box that says why nothing was found.
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

// Refills the "Search History" popup at `position` of `search` with the
// frame's stored queries, newest first as `firstId` upwards, and enables it.
// Leaves the popup alone while the history is empty.
void FillSearchHistory(CMenu& search, int position, UINT firstId);

// Runs the history entry of command `id` (`firstId` the newest) again.
void RecallHistoryCommand(UINT id, UINT firstId);

}  // namespace search
