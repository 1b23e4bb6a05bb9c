// CGoToQuestionDlg: the modal "Go To Question" dialog of the quiz screen: a
// question number from 1 to the largest the caller allows.
#pragma once

#include "controls/hover_tracker.h"
#include "controls/od_button.h"
#include "framework.h"

class CGoToQuestionDlg : public CDialog {
 public:
  explicit CGoToQuestionDlg(CWnd* parent);

  int m_number = 1;
  int m_largest = 1;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnPaint();
  void OnDestroy();
  void OnMouseMove(UINT flags, CPoint point);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  DECLARE_MESSAGE_MAP()

 private:
  CODButton m_ok, m_cancel;
  HICON m_icon = nullptr;
  CHoverTracker m_hover;
};
