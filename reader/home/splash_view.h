// CSplash: the home screen, the main frame's first view. It shows a
// background picture, plays the intro movie over it once, dissolves the
// picture in after the movie, then brings in seven buttons one by one. Any
// click or key after the intro leads to the encyclopedia screen.
#pragma once

#include <iterator>
#include <vector>

#include "controls/od_button.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "media/movie_wnd.h"

class CSplash : public CFormView, public ReaderScreen {
  DECLARE_DYNCREATE(CSplash)
 public:
  // The buttons of the cycle's screens, then Years In Review and the tour.
  static constexpr int ButtonCount = static_cast<int>(std::size(kScreenCycle)) + 2;
  static constexpr UINT DelayTimer = 101;
  static constexpr UINT ButtonTimer = 102;
  static constexpr UINT DelayMilliseconds = 1600;
  static constexpr UINT ButtonMilliseconds = 400;
  static constexpr int Cell = 4;

  CSplash();
  ~CSplash() override;

  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnDraw(CDC* pDC) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  Screen GetScreenKind() const override { return Screen::Home; }

  BOOL IsIntroDone() const { return m_bIntroDone; }
  int GetButtonsShown() const { return m_shown; }
  CPoint GetOrigin() const { return m_origin; }
  CSize GetPictureSize() const { return m_size; }
  CMovieWnd& GetMovie() { return m_movie; }
  CODButton& GetButton(int i) { return m_buttons[i]; }
  BOOL IsTimerRunning(UINT id) const { return id == DelayTimer ? m_delayRunning : m_buttonsRunning; }
  // The cells the last dissolve drew, in drawing order.
  const std::vector<int>& GetDissolveOrder() const { return m_dissolved; }

 protected:
  void PlaceChildren();
  void Dissolve();
  void ShowAllButtons();
  LRESULT OnIntroDone(WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT nIDEvent);
  void OnSize(UINT nType, int cx, int cy);
  void OnLButtonDown(UINT nFlags, CPoint point);
  BOOL OnEraseBkgnd(CDC* pDC);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnDestroy();
  void OnButton(UINT id);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CBitmap m_background;
  CSize m_size;
  CPoint m_origin;
  CMovieWnd m_movie;
  BOOL m_bIntroDone = TRUE;
  BOOL m_bIntroHandled = FALSE;
  BOOL m_bFirstUpdate = TRUE;
  BOOL m_delayRunning = FALSE;
  BOOL m_buttonsRunning = FALSE;
  int m_shown = 0;
  HCURSOR m_hand = nullptr;
  CODButton m_buttons[ButtonCount];
  std::vector<int> m_dissolved;
};
