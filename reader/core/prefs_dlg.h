// CPrefs: the Preferences dialog. It edits the user settings of "Installation
// Options" and applies them at once: what is shown at start, the slide-show
// delay, the article font and the three text colours.
#pragma once

#include "drop_list.h"
#include "framework.h"
#include "hover_tracker.h"

class CPrefs : public CDialog {
 public:
  explicit CPrefs(CWnd* pParentWnd = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // Stores and applies the choices (also the Apply button).
  virtual void SaveSettings();

  // The pickers of the font face, the size and the three colours.
  CDropList m_faces;
  CDropList m_sizes;
  CDropList m_highlight;
  CDropList m_search;
  CDropList m_crossRef;

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

  // Puts a picker where the template's placeholder of its id is.
  BOOL MakePicker(CDropList& picker, int id);
  void FillColours(CDropList& picker, COLORREF current);
  static COLORREF ChosenColour(const CDropList& picker, COLORREF fallback);

  HICON m_hIcon = nullptr;
  CHoverTracker m_hover;
};
