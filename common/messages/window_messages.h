// The private window messages of the reader program, defined once for the
// application, its screens, the formatted-text display and the skinned
// controls, and for the updater's close request to the reader.
#pragma once

// Between the screens, panels, the main frame and their windows.
constexpr unsigned int WM_BITSCHANGED = 0x3731;     // a folder's articles changed (wParam 1 set, 0 one article)
constexpr unsigned int WM_FONTSCHANGED = 0x3732;    // the article fonts were made again: reload the article
constexpr unsigned int WM_COLOURSCHANGED = 0x3733;  // the colours changed: repaint
constexpr unsigned int WM_CROSSREF = 0x3734;        // a cross reference was clicked (wParam 0, lParam the article)
constexpr unsigned int WM_SHOWITEM = 0x3735;        // show a media item (wParam the item)
constexpr unsigned int WM_REGIONCLICK = 0x3736;     // a picture region was clicked (lParam the hot spot)
// A skinned list sends it to itself while a bar part is held (wParam the
// part, lParam -1 for the first press, 0 or 1 for a repeat).
constexpr unsigned int WM_SCROLL_PART = 0x3737;
constexpr unsigned int WM_RAUDIONOTIFY = 0x3738;   // a notification of the sound engine (wParam its code)
constexpr unsigned int WM_SHOWCONTENTS = 0x3739;   // open the contents window
constexpr unsigned int WM_SHOWBOOKMARKS = 0x373A;  // open the bookmark list
constexpr unsigned int WM_SHOWRESULTS = 0x373B;    // open the results window (wParam 1)
constexpr unsigned int WM_REFRESHLIST = 0x373C;    // refresh a window that is already open
constexpr unsigned int WM_PANELCLOSED = 0x373D;    // a floating panel closed (lParam the panel)
constexpr unsigned int WM_TEXTFROMTOP = 0x373E;    // a text box shows its text from the first line (wParam its id)

// wParam 1 when the pointer (or a dragged note icon) enters a control, 0 when
// it leaves.
constexpr unsigned int WM_BUTTON_HOVER = 0x07E8;
// The movie window.
constexpr unsigned int WM_MOVIEDONE = 0x07ED;  // to the parent: a started movie has stopped
constexpr unsigned int WM_MOVIEPLAY = 0x07EE;  // play the movie window's movie
constexpr unsigned int WM_MOVIESTOP = 0x07EF;  // stop it
constexpr unsigned int WM_THUMBNAIL = 0x2622;  // build a thumbnail's bitmap

// Posted by the updater to the reader's main window: close (wParam 0, lParam 0).
constexpr unsigned int WM_UPDATECLOSE = 0x4400;
