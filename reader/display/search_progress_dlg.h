// CSearchProgressDlg: the small modeless window that a long search shows
// while the engine walks its index: what is searched, a percentage bar and a
// Cancel button that stops the search (the window is then gone, which the
// application's progress callback reads as "stop").
#pragma once

#include "controls/od_button.h"
#include "display/display_dialog.h"
#include "framework.h"

class CSearchProgressDlg : public CDisplayDialog {
 public:
  // The dialog template and the Cancel button's bitmap.
  static constexpr UINT kTemplate = 1107;
  static constexpr UINT kCancelBitmap = 1151;
  static constexpr int kClientWidth = 300;
  static constexpr int kClientHeight = 140;

  CSearchProgressDlg() = default;

  // Makes the window (hidden) for a search of `what` ("Vorn dictionary").
  BOOL Create(UINT templateId, CWnd* parent, LPCTSTR what);
  void SetProgress(int percent);
  int GetProgress() const { return m_percent; }
  CRect GetBarRect() const { return m_bar; }
  const CString& GetWhat() const { return m_what; }
  CODButton& GetCancelButton() { return m_cancel; }
  // Cancel (the button or Esc): the window goes, which stops the search.
  void OnCancel() override;

 protected:
  void OnOK() override {}
  void PostNcDestroy() override;
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  CODButton m_cancel;
  CString m_what;
  int m_percent = 0;
  CRect m_bar;
};
