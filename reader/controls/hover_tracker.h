// Tells the controls of a window when the pointer enters and leaves them:
// WM_BUTTON_HOVER 1 to the control entered, 0 to the one left (when it still
// exists). Owners call Track from their cursor handler.
#pragma once

#include "framework.h"

class CHoverTracker {
 public:
  // `under` is the control now under the pointer; null for none.
  void Track(HWND under);
  // Forgets the hovered control without telling it (the window is going away).
  void Reset() { m_hover = nullptr; }
  HWND GetHovered() const { return m_hover; }

 private:
  HWND m_hover = nullptr;
};
