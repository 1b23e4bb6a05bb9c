// CPrefs: the Preferences dialog. It edits the user settings of "Installation
// Options" and applies them at once: what is shown at start, the slide-show
// delay, the article font and the three text colours. It is built of the
// skinned controls (check strips, pickers, bitmap buttons), draws its labels
// itself in the menu font and sizes itself to what it holds.
#pragma once

#include <vector>

#include "controls/bm_button.h"
#include "controls/drop_list.h"
#include "controls/flat_edit.h"
#include "controls/hover_tracker.h"
#include "controls/od_button.h"
#include "framework.h"

class CPrefs : public CDialog {
 public:
  explicit CPrefs(CWnd* pParentWnd = nullptr);
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // Stores and applies the choices (also the Apply button).
  virtual void SaveSettings();

  // A text the dialog draws, in client coordinates.
  struct Label {
    const char* text;
    CRect place;
  };
  const std::vector<Label>& GetLabels() const { return m_labels; }

  // The check buttons of what is shown at start.
  CBmButton m_saveOnExit;
  CBmButton m_showIntro;
  CBmButton m_displayPictures;
  CFlatEdit m_delay;
  // The pickers of the font face, the size and the three colours.
  CDropList m_faces;
  CDropList m_sizes;
  CDropList m_highlight;
  CDropList m_search;
  CDropList m_crossRef;
  CODButton m_ok;
  CODButton m_apply;
  CODButton m_cancel;

 protected:
  void OnToggle(UINT nID);
  void OnApply();
  void OnDelayFocus();
  void OnPaint();
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // Makes and places every control and label; returns the client size they
  // need.
  CSize Layout();
  CBmButton& CheckButton(UINT id);
  void FillColours(CDropList& picker, COLORREF current);
  static COLORREF ChosenColour(const CDropList& picker, COLORREF fallback);

  HICON m_hIcon = nullptr;
  CHoverTracker m_hover;
  std::vector<Label> m_labels;
};
