// CODButton: the skinned push button. One horizontal strip holds a frame per
// visual state; an optional label bitmap stands 3 pixels right of the frame.
#pragma once

#include "controls/skin_environment.h"

class CODButton : public CButton {
 public:
  // Style bits: each state named has a frame in the strip; kToggle makes a
  // checked button show its down frame.
  static constexpr WORD kUp = 0x01;
  static constexpr WORD kDown = 0x02;
  static constexpr WORD kHover = 0x04;
  static constexpr WORD kFocus = 0x08;
  static constexpr WORD kDisabled = 0x10;
  static constexpr WORD kChecked = 0x20;
  static constexpr WORD kToggle = 0x40;
  static constexpr WORD kUsualStyle = 31;

  // The x of a state's frame in a strip of the given style and frame width
  // (frames stand in the order up, hover, disabled, focus, checked, down; a
  // state without a frame gives the up frame).
  static int FrameOffset(WORD style, WORD state, int frameWidth);
  static int FrameCount(WORD style);

  // Makes the bitmap button: subclasses the parent's control of that id when
  // there is one, else creates an owner-drawn child button; then InitBitmaps.
  BOOL Create(const RECT& rect, CWnd* parent, UINT stripId, WORD style, UINT controlId, UINT alternativeId = 0,
              UINT unused = 1, UINT labelId = 0);
  // For an existing button window: loads the strip (the alternative one when
  // not 0) and the label, and sizes the window to one frame (plus the label)
  // at the rectangle's top-left corner.
  BOOL InitBitmaps(const RECT& rect, CWnd* parent, UINT stripId, WORD style, UINT alternativeId, UINT unused,
                   UINT labelId);
  // Reloads the strip and resizes the window to one frame; TRUE when loaded.
  BOOL SetBitmap(UINT stripId, BOOL redraw = TRUE);
  void SetCheck(int state);
  int GetCheck() const { return m_checked; }
  WORD GetSkinStyle() const { return m_style; }
  BOOL IsHovering() const { return m_hover; }
  CSize GetFrameSize() const { return CSize(m_frameWidth, m_frameHeight); }

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  // The state whose frame a button shows (one of the style bits).
  WORD ChooseState(UINT itemState) const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  CBitmap m_strip;
  CBitmap m_label;
  WORD m_style = kUsualStyle;
  int m_frameWidth = 0;
  int m_frameHeight = 0;
  int m_labelWidth = 0;
  int m_labelHeight = 0;
  BOOL m_hover = FALSE;
  BOOL m_checked = FALSE;
  BOOL m_suppressPaint = FALSE;

 private:
  void MeasureStrip();
};
