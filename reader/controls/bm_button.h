// CBmButton: an owner-drawn push or check button painted from a strip of one
// or two equal frames (normal, pushed). The quiz's puzzle tiles use it with a
// picture cell and a number painted into its bitmap.
#pragma once

#include "controls/skin_environment.h"

class CBmButton : public CButton {
  DECLARE_DYNAMIC(CBmButton)
 public:
  static constexpr WORD kNormalFrame = 0x1;
  static constexpr WORD kPushedFrame = 0x2;

  // Loads the strip and sizes the button to one frame at rect's corner.
  BOOL SetBitmap(RECT* rect, CWnd* parent, UINT bitmapId, WORD style);
  void SetCheck(BOOL state);
  BOOL GetCheck() const { return m_checked; }
  // Drops the bitmap; the rect's size becomes the frame size and the place.
  void SetTileRect(RECT* rect);
  // The button's bitmap becomes the cell of `source` with a black 1-pixel
  // frame and, when number > 0, the number in bold black on a white shadow.
  int SetTileImage(CBitmap* source, RECT* cell, int number);
  void DrawItem(LPDRAWITEMSTRUCT item) override;

  CSize GetFrameSize() const { return CSize(m_frameWidth, m_frameHeight); }
  CBitmap& GetBitmap() { return m_bitmap; }

 private:
  int m_frameHeight = 0;
  int m_frameWidth = 0;
  WORD m_style = kNormalFrame;
  CBitmap m_bitmap;
  BOOL m_checked = FALSE;
};
