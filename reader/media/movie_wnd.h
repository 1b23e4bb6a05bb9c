// CMovieWnd: a child window that plays one movie of the media architecture
// with its movie controller. This is the window's start: it opens the movie,
// sizes itself to the controller, starts and stops on its two messages, hands
// every message to the controller first and tells its parent when a started
// movie has stopped. The media screens build their movie features on it.
#pragma once

#include <cstdint>

#include "framework.h"

class CMovieWnd : public CWnd {
 public:
  CMovieWnd() = default;
  ~CMovieWnd() override;

  // Item n of the main database's media store (n not 0), or the named file
  // in its multimedia directory (n = 0). FALSE, with the window made but
  // empty, when the movie cannot be opened.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, UINT item, LPCTSTR fileName, CCreateContext* pContext, POINT centre);
  // Sends an action to the movie's controller; 0 without one.
  std::intptr_t ControllerAction(std::int32_t action, std::intptr_t parameter);
  BOOL HasMovie() const { return m_controller != 0; }
  const CString& GetText() const { return m_text; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void PostNcDestroy() override;
  void Dispose();

  CString m_text;
  std::intptr_t m_movie = 0;
  std::intptr_t m_controller = 0;
  std::int32_t m_rate = 0;
  BOOL m_bStarted = FALSE;
};
