// A piece of the screen kept aside while a pop-up title covers it and put
// back when the pop-up goes: the pop-ups draw straight on the screen, beyond
// their own window.
#pragma once

#include "framework.h"

class CScreenPatch {
 public:
  // Copies rect (screen coordinates) of the screen DC aside.
  void Save(CDC& screen, const CRect& rect);
  // Puts the copy back on the screen and lets it go.
  void Restore();
  const CRect& Rect() const { return m_rect; }

 private:
  CBitmap m_bitmap;
  CRect m_rect;
};
