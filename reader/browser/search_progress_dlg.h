// CSearchProgressDlg: the modeless window of a long search: what is searched,
// a percentage bar and a Cancel button that stops the search. The
// application owns one; the content databases create it hidden before a
// search and destroy it after, and the progress callback shows it at the
// first report. This is the window's start; the article screen's developers
// give it its skinned Cancel button.
#pragma once

#include "framework.h"

class CSearchProgressDlg : public CDialog {
 public:
  using CDialog::Create;
  // Creates the window hidden from the template, sizes its client area to
  // 300 x 140, centres it and places the Cancel button and the bar.
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd, LPCTSTR what);
  void SetProgress(int percent);
  int GetProgress() const { return m_percent; }
  const CRect& GetBarRect() const { return m_bar; }

  void OnCancel() override;

 protected:
  void OnPaint();
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  CButton m_cancel;
  CString m_what;
  int m_percent = 0;
  CRect m_bar;
  HWND m_hover = nullptr;
};
