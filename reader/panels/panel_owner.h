// What the tool windows need of the screens. A screen view implements these
// interfaces (and ItemScreen, reader_screen.h), so a tool window knows no
// screen class.
#pragma once

#include "framework.h"

// The screen that owns an article list or a bookmark list.
class PanelOwner {
 public:
  virtual ~PanelOwner() = default;
  // The owner's own road to an encyclopedia article.
  virtual void ShowArticle(int article) = 0;
  // Shows media item `item` (its rank among the media articles) on the
  // media screen.
  virtual void GoToMediaItem(int item) = 0;
  // Prints (or previews) bookmark folder `folder`.
  virtual void PrintBookmarkFolder(int folder, BOOL preview) = 0;
};

// The screen whose display the outline panel shows (the encyclopedia).
class OutlineOwner {
 public:
  virtual ~OutlineOwner() = default;
  // Entry `index` of the display's outline was chosen: a section title
  // scrolls the display to it, a media object is shown.
  virtual void LinkOutlineEntry(int index) = 0;
};
