// Small window chores the dictionary screen and its panels share: hover
// feedback for skinned children and realising the application palette.
#pragma once

#include "framework.h"

namespace dict {

// Sends the hover message 0 to the child hovered before and 1 to `under`
// when the pointer moved from one child to another.
void TrackHover(CWnd* self, HWND& hovered, CWnd* under);
// The window exists and has its visible style (whatever its parents' state:
// the screen decides by its own children while it is hidden too).
inline bool Shown(const CWnd& window) {
  return window.GetSafeHwnd() != nullptr && (window.GetStyle() & WS_VISIBLE) != 0;
}
// Realises the application palette in the window; repaints it when the
// palette changed. FALSE without a palette.
BOOL RealizeAppPalette(CWnd* window);

}  // namespace dict
