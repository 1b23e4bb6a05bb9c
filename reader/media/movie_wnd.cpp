#include "movie_wnd.h"

#include "media_library.h"
#include "reader_messages.h"
#include "veldrix_app.h"

namespace {

struct MovieRect {
  std::int32_t left, top, right, bottom;
};

std::intptr_t Call(std::int32_t selector, std::initializer_list<std::intptr_t> args) {
  return TheMediaLibrary().Call(selector, args.begin(), static_cast<std::int32_t>(args.size()));
}

constexpr std::int32_t ActionPlayRate = 8;
constexpr std::int32_t ActionSetGrowBox = 25;
constexpr std::int32_t StatePlaying = 0x40;

}  // namespace

CMovieWnd::~CMovieWnd() { Dispose(); }

BOOL CMovieWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, UINT item, LPCTSTR fileName, CCreateContext* pContext, POINT centre) {
  if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext)) return FALSE;
  CContentDb& main = GetVeldrixApp().GetDatabase(1);
  CString path;
  if (item != 0) {
    CString text;
    if (!main.ReadMediaFileRecord(item, path, text)) return FALSE;
    m_text = text;
  } else {
    path = CString(main.m_multimediaPath) + (fileName ? fileName : "");
  }
  std::intptr_t file = 0;
  if (Call(media::OpenMovieFile, {reinterpret_cast<std::intptr_t>(static_cast<LPCTSTR>(path)),
                                  reinterpret_cast<std::intptr_t>(&file), 0}) != 0)
    return FALSE;
  const std::intptr_t made =
      Call(media::NewMovieFromFile, {reinterpret_cast<std::intptr_t>(&m_movie), file, 0, 0, 0, 0});
  Call(media::CloseMovieFile, {file});
  if (made != 0 || m_movie == 0) {
    m_movie = 0;
    return FALSE;
  }
  MovieRect box = {};
  Call(media::GetMovieBox, {m_movie, reinterpret_cast<std::intptr_t>(&box)});
  box = {0, 0, box.right - box.left, box.bottom - box.top};
  m_controller = Call(media::NewMovieController, {m_movie, reinterpret_cast<std::intptr_t>(&box), item != 0 ? 3 : 11,
                                                  reinterpret_cast<std::intptr_t>(m_hWnd)});
  ControllerAction(ActionPlayRate, 0);
  MovieRect empty = {};
  ControllerAction(ActionSetGrowBox, reinterpret_cast<std::intptr_t>(&empty));
  MovieRect bounds = box;
  if (m_controller) Call(media::ControllerBounds, {m_controller, reinterpret_cast<std::intptr_t>(&bounds)});

  CRect frame(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
  ::AdjustWindowRect(&frame, dwStyle, FALSE);
  frame.OffsetRect(-frame.left, -frame.top);
  if (item != 0) {
    frame.OffsetRect(centre.x - frame.Width() / 2, centre.y - frame.Height() / 2);
    if (frame.right > bounds.right) frame.OffsetRect(bounds.right - frame.right, 0);
    if (frame.bottom > bounds.bottom) frame.OffsetRect(0, bounds.bottom - frame.bottom);
    if (frame.left <= 0) frame.left = 0;
    if (frame.top <= 0) frame.top = 0;
  } else {
    frame.OffsetRect(bounds.left, bounds.top);
  }
  SetWindowPos(nullptr, frame.left, frame.top, frame.Width(), frame.Height(), SWP_NOZORDER);
  Call(media::SetMovieActive, {m_movie, 1});
  m_bStarted = FALSE;
  return TRUE;
}

std::intptr_t CMovieWnd::ControllerAction(std::int32_t action, std::intptr_t parameter) {
  return m_controller ? Call(media::ControllerAction, {m_controller, action, parameter}) : 0;
}

LRESULT CMovieWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOVIEPLAY) {
    m_bStarted = TRUE;
    m_rate = 0x10000;
    ControllerAction(ActionPlayRate, m_rate);
    return 0;
  }
  if (message == WM_MOVIESTOP) {
    m_rate = 0;
    ControllerAction(ActionPlayRate, 0);
    m_bStarted = FALSE;
    return 0;
  }
  if (m_controller) {
    std::int32_t state = 0;
    Call(media::ControllerState, {m_controller, reinterpret_cast<std::intptr_t>(&state)});
    if (m_bStarted && !(state & StatePlaying)) {
      m_bStarted = FALSE;
      if (CWnd* parent = GetParent()) parent->PostMessage(WM_MOVIEDONE, 0, 0);
    }
    if (Call(media::ControllerMessage,
             {m_controller, reinterpret_cast<std::intptr_t>(m_hWnd), static_cast<std::intptr_t>(message),
              static_cast<std::intptr_t>(wParam), lParam}) != 0)
      return 0;
  }
  if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT && m_controller) return TRUE;
  return CWnd::WindowProc(message, wParam, lParam);
}

void CMovieWnd::Dispose() {
  if (m_controller) Call(media::DisposeController, {m_controller});
  if (m_movie) Call(media::DisposeMovie, {m_movie});
  m_controller = m_movie = 0;
  m_bStarted = FALSE;
}

void CMovieWnd::PostNcDestroy() {
  CWnd::PostNcDestroy();
  Dispose();
}
