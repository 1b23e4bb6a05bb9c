// CSkinStatic: a line of text in the look of the screen that owns it (skin
// value 1 encyclopedia, 2 dictionary, 16 timeline): a frame in the skin's two
// edge brushes round white, the text in black in the list font. The hover
// edits of a screen draw their strips the same way.
#pragma once

#include "controls/skin_environment.h"

// The outer and inner frame brushes of a skin value's text strips.
void SkinFrameBrushes(int skin, int& outer, int& inner);
// Draws a text strip of a skin into rect: the frame, white inside, the text
// vertically centred 2 pixels in (clipped to the strip unless clipText is
// FALSE).
void DrawSkinStrip(CDC& dc, const CRect& rect, int skin, const CString& text, BOOL clipText);

class CSkinStatic : public CWnd {
 public:
  // Makes the static text as a child of parent at rect, in the skin's look;
  // a control of that id in the parent's template gives its place up.
  BOOL Create(LPCTSTR text, const RECT& rect, CWnd* parent, UINT id, int skin);
  int GetSkin() const { return m_skin; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int m_skin = kSkinEncyclopedia;
};
