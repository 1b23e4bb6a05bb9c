// CMovieWnd: a child window that plays one movie of the media architecture
// with its movie controller: a gallery item's video, animation, panorama or
// object movie, the home screen's intro and the About box's credits. It opens
// the movie, sizes itself to the controller, starts and stops on two private
// messages, hands every message to the controller first and tells its parent
// when a started movie has stopped. The architecture picks the controller; a
// panorama's comes from its plug-in, which this window never names.
#pragma once

#include <cstdint>

#include "framework.h"

class CMovieWnd : public CWnd {
 public:
  // Controller flags of a gallery item and of a named file.
  static constexpr std::int32_t ItemControllerFlags = 3;
  static constexpr std::int32_t NamedControllerFlags = 11;

  CMovieWnd() = default;
  ~CMovieWnd() override;

  // The named file in the main database's multimedia directory when a name
  // is given, else item n of its media store (n from 0). An item's window is centred on
  // `centre` and kept inside `rect`; a named file's stands at the top-left of
  // `rect`. FALSE, with the window made but empty, when the movie cannot be
  // opened or made.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, UINT item, LPCTSTR fileName, CCreateContext* pContext, POINT centre);
  // Sends an action to the movie's controller; 0 without one.
  std::intptr_t ControllerAction(std::int32_t action, std::intptr_t parameter);
  // The frame the movie shows now as a packed bitmap in global memory that
  // the caller frees, or null when the media architecture gives no picture.
  HGLOBAL CopyCurrentFrame() const;
  // Moves the window back inside the rectangle of its parent's client area.
  void KeepInParent(const RECT& rect);

  BOOL HasMovie() const { return m_controller != 0; }
  BOOL IsStarted() const { return m_bStarted; }
  std::int32_t GetRate() const { return m_rate; }
  std::intptr_t GetController() const { return m_controller; }
  // The text of the item's media file record (the gallery's caption).
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
