// CSplash: the home screen's view, the main frame's first view. This is the screen's start: it takes its place in the
// frame, shows the background and accepts the messages the frame sends it; the home screen with its intro grows from
// here.
#pragma once

#include "framework.h"
#include "reader_screen.h"

class CSplash : public CView, public ReaderScreen {
  DECLARE_DYNCREATE(CSplash)
 public:
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

 protected:
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CMenu m_menu;
};
