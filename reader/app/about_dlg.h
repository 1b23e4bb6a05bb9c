// CAboutDlg: the About box, which plays the credits movie with a looping
// sound. Any key or mouse button closes it and silences the sound.
#pragma once

#include "framework.h"
#include "media/movie_wnd.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  BOOL OnInitDialog() override;
  void OnCancel() override;

  CMovieWnd m_movie;

 protected:
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnRButtonDown(UINT nFlags, CPoint point);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  HICON m_hIcon = nullptr;
};
