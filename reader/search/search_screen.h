// What the search windows need of the screen that owns them, beyond the main
// frame: putting a chosen entry on the screen, opening the Tuner in place of
// Smart Search, and (media screen) remembering where a floating window was.
// Each screen with search derives its view from this interface.
#pragma once

#include "framework.h"

class SearchScreen {
 public:
  virtual ~SearchScreen() = default;
  // Shows entry `number` on the screen: an article (encyclopedia), a
  // dictionary entry, a timeline event, or the media item index on the media
  // screen. The main frame has made the screen active before.
  virtual void ShowSearchEntry(int number) = 0;
  // Opens the screen's Tuner panel with the prepared Smart Search's text and
  // terms (the Smart Search panel goes away).
  virtual void OpenTuner(const CString& query, const CStringArray& terms) = 0;
  // The media screen keeps where its last floating window stood (screen
  // coordinates) so that the next one opens there.
  virtual void SetFloatingRect(const CRect& rect) { (void)rect; }
};
