// The band of screen buttons along the bottom of the timeline and the quiz:
// a button for every other screen that has one (BandScreens), each with its
// picture on this band. A click reaches the screen as the button's command
// (ShowScreenOfButton).
#pragma once

#include "controls/od_button.h"
#include "core/screen_registry.h"
#include "framework.h"

namespace media {

class CScreenBand {
 public:
  // The buttons of the band of `own`, children of `parent`.
  void Create(CWnd* parent, Screen own);
  // In a row from the left edge, each at the right of the one before, their
  // tops at `y`.
  void Place(int y);

 private:
  CODButton m_buttons[ScreenCount];
};

}  // namespace media
