// The reader's private window messages, which the screens, panels and the
// main frame send one another, and the close request of the updater. The
// skinned controls' own two (WM_BUTTON_HOVER 0x07E8, WM_SCROLL_PART 0x3737)
// are in skin_environment.h.
#pragma once

#include "re_types.h"
#include "skin_environment.h"

enum : u32 {
  WM_BITSCHANGED = 0x3731,     // a folder's articles changed (wParam 1 set, 0 one article)
  WM_FONTSCHANGED = 0x3732,    // the article fonts were made again: reload the article
  WM_COLOURSCHANGED = 0x3733,  // the colours changed: repaint
  WM_CROSSREF = 0x3734,        // a cross reference was clicked (lParam the article)
  WM_SHOWMEDIA = 0x3735,       // show a media item
  WM_REGIONCLICK = 0x3736,     // a picture region was clicked (lParam the hot spot)
  WM_RAUDIONOTIFY = 0x3738,    // a notification of the sound engine (wParam its code)
  WM_SHOWCONTENTS = 0x3739,    // open the contents window
  WM_SHOWBOOKMARKS = 0x373A,   // open the bookmark list
  WM_SHOWRESULTS = 0x373B,     // open the results window (wParam 1)
  WM_REFRESHWINDOW = 0x373C,   // refresh a window that is already open
  WM_PANELCLOSED = 0x373D,     // a floating panel closed (lParam the panel)
  WM_MOVIEDONE = 0x07ED,       // a started movie has stopped
  WM_MOVIEPLAY = 0x07EE,       // play the movie window's movie
  WM_MOVIESTOP = 0x07EF,       // stop it
  WM_THUMBNAIL = 0x2622,       // build a thumbnail's bitmap
  WM_UPDATECLOSE = 0x4400,     // the updater asks the reader to close
};

// Notification codes of the sound engine.
enum : u32 { SoundStarted = 9, SoundEnded = 10 };

// The screens' own child ids while they are not the frame's active view.
enum : unsigned {
  HomeScreenId = 100,
  BrowserScreenId = 101,
  DictionaryScreenId = 102,
  QuizScreenId = 103,
  TimelineScreenId = 104,
  MediaScreenId = 105,
};

// The main window's title, by which a second start and the updater find it.
constexpr const char* MainWindowTitle = "The Marovan & World Encyclopedia";
