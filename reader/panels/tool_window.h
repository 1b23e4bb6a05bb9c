// CToolWindow: what the floating tool windows and the folder dialogs share:
// keyboard messages go to the main frame's translation first (so menu
// accelerators work while they have the focus), the hover message to the
// control under the cursor, controls black on white, the shared palette, the
// title band and the Close button at the top right.
#pragma once

#include "controls/hover_dialog.h"
#include "controls/od_button.h"
#include "framework.h"

class CToolWindow : public CHoverDialog {
 public:
  static constexpr int kBandHeight = 23;
  using CDialog::Create;
  using CHoverDialog::CHoverDialog;

  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The control under the cursor (for the hover message).
  HWND GetHovered() const { return m_hover.GetHovered(); }

 protected:
  // Makes the Close button and puts it 4 pixels from the top and right.
  void PlaceCloseButton(CODButton& button, UINT bitmap, UINT id);
  // Moves the window so that its client area is `rect`; returns the client
  // rectangle.
  CRect PlaceClientArea(const CRect& rect);
  // Fills the band (kBandHeight high) and the rest of the client area.
  void PaintGround(CDC& dc, int bandBrush, int backBrush);
  // Text in a shared font, transparent, black, one line without prefixes.
  static void DrawLine(CDC& dc, int font, const CString& text, CRect rect, UINT format);
  // The count text right-aligned in the band, ending 3 pixels left of Close.
  void DrawCount(CDC& dc, const CString& text, CWnd& close);

  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  DECLARE_MESSAGE_MAP()
};
