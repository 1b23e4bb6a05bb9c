// The reader's screens in one table: which screen a view is (Screen, the one
// enumeration of them), its document template and menu, its child id while
// another screen is active, the main window's command and the screen button
// that show it, the skin its windows take, what the main frame checks and
// does when it shows it, and the message when its view cannot be made. The
// shell makes and switches the views by it, the panels and controls take
// their look from it. Only the shell names the screens' view classes.
#pragma once

#include <vector>

#include "afx_core.h"

// In the order of the document templates; the home screen's comes first.
enum class Screen { Home, Browser, Dictionary, Quiz, Timeline, Media, Count };
constexpr int ScreenCount = static_cast<int>(Screen::Count);

// Skin values: the look a screen gives the controls, panels and dialogs it
// owns (bitmaps and brushes).
constexpr int kSkinEncyclopedia = 1;
constexpr int kSkinDictionary = 2;
constexpr int kSkinMedia = 8;
constexpr int kSkinTimeline = 16;

struct ScreenEntry {
  Screen screen;
  UINT templateId;         // document template: the menu, icon and document string
  UINT childId;            // the view's id while another screen is active
  UINT showCommand;        // the main window's command that shows it; 0 none
  UINT screenButton;       // its button on every screen's band and the home screen's; 0 none
  UINT bandPicture;        // that button's picture on the timeline's and the quiz's band
  UINT homePicture;        // and on the home screen's
  int skin;                // the home screen and the quiz take the encyclopedia's
  BOOL needsMedia;         // shown only with the media architecture and the CD-ROM
  BOOL changesBackground;  // a switch to it may bring a new background picture
  const char* failure;     // the message when its view cannot be made
};

const ScreenEntry& ScreenInfo(Screen screen);
// The screen whose button has the id `id` (the same on every band); null when
// no screen's has.
const ScreenEntry* ScreenOfButton(UINT id);
// The screens the timeline's and the quiz's band lead to from `own`: every
// other screen with a button, in the order of the buttons' ids.
std::vector<Screen> BandScreens(Screen own);

// Next Screen and Previous Screen go round these, in this order; the home
// screen shows their buttons in this order too.
constexpr Screen kScreenCycle[] = {Screen::Browser, Screen::Dictionary, Screen::Media, Screen::Timeline, Screen::Quiz};
