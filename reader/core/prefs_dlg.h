// CPrefs: the Preferences dialog. It edits the user settings of "Installation
// Options" and applies them at once: what is shown at start, the slide-show
// delay, the article font and the three text colours.
#pragma once

#include "framework.h"

class CPrefs : public CDialog {
 public:
  explicit CPrefs(CWnd* pParentWnd = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // Stores and applies the choices (also the Apply button).
  virtual void SaveSettings();

 protected:
  void OnToggle(UINT nID);
  void OnApply();
  void OnDelayFocus();
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  void FillColours(int id, COLORREF current);
  COLORREF ChosenColour(int id, COLORREF fallback) const;

  HICON m_hIcon = nullptr;
  HWND m_hover = nullptr;
};
