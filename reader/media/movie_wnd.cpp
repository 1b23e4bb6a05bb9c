#include "media/movie_wnd.h"

#include "core/media_library.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "media/media_logic.h"

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
constexpr std::int32_t NormalRate = 0x10000;

}  // namespace

CMovieWnd::~CMovieWnd() { Dispose(); }

BOOL CMovieWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, UINT item, LPCTSTR fileName, CCreateContext* pContext, POINT centre) {
  Dispose();
  m_text.Empty();
  if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext)) return FALSE;
  if (CMenu* system = GetSystemMenu(FALSE)) system->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  CContentDb& main = Reader().GetDatabase(1);
  // A named file (the intro, the credits) is asked for by its name: item 0 is
  // the gallery's first item and may be a movie too.
  const bool named = fileName != nullptr;
  CString path;
  if (!named) {
    CString text;
    if (!main.ReadMediaFileRecord(item, path, text)) return FALSE;
    m_text = text;
  } else {
    path = CString(main.m_multimediaPath) + fileName;
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
  m_controller = Call(media::NewMovieController,
                      {m_movie, reinterpret_cast<std::intptr_t>(&box),
                       named ? NamedControllerFlags : ItemControllerFlags, reinterpret_cast<std::intptr_t>(m_hWnd)});
  ControllerAction(ActionPlayRate, 0);
  MovieRect empty = {};
  ControllerAction(ActionSetGrowBox, reinterpret_cast<std::intptr_t>(&empty));
  MovieRect shown = box;
  if (m_controller) Call(media::ControllerBounds, {m_controller, reinterpret_cast<std::intptr_t>(&shown)});

  CRect frame(0, 0, shown.right - shown.left, shown.bottom - shown.top);
  ::AdjustWindowRect(&frame, dwStyle, FALSE);
  frame.OffsetRect(-frame.left, -frame.top);
  const CRect bounds(rect);
  if (named)
    frame.OffsetRect(bounds.left, bounds.top);
  else
    frame = media_logic::PlaceCentredInBounds(frame.Size(), centre, bounds);
  SetWindowPos(nullptr, frame.left, frame.top, frame.Width(), frame.Height(), SWP_NOZORDER);
  Call(media::SetMovieActive, {m_movie, 1});
  m_bStarted = FALSE;
  return TRUE;
}

std::intptr_t CMovieWnd::ControllerAction(std::int32_t action, std::intptr_t parameter) {
  return m_controller ? Call(media::ControllerAction, {m_controller, action, parameter}) : 0;
}

HGLOBAL CMovieWnd::CopyCurrentFrame() const {
  if (m_controller == 0) return nullptr;
  // The controller's time and movie, the movie's picture at that time, the
  // picture converted; then the picture goes. Errors are negative codes.
  std::int32_t scale = 0;
  const std::intptr_t time = Call(media::ControllerTime, {m_controller, reinterpret_cast<std::intptr_t>(&scale)});
  const std::intptr_t movie = Call(media::ControllerMovie, {m_controller});
  if (time < 0 || movie <= 0) return nullptr;
  const std::intptr_t picture = Call(media::MoviePicture, {movie, time});
  if (picture <= 0) return nullptr;
  const std::intptr_t dib = Call(media::PictureToDib, {picture});
  Call(media::DisposePicture, {picture});
  return dib > 0 ? reinterpret_cast<HGLOBAL>(dib) : nullptr;
}

void CMovieWnd::KeepInParent(const RECT& rect) {
  if (!m_hWnd) return;
  CRect window;
  GetWindowRect(&window);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&window);
  const CRect moved = media_logic::KeepInside(window, CRect(rect));
  if (moved != window) MoveWindow(moved.left, moved.top, moved.Width(), moved.Height(), TRUE);
}

LRESULT CMovieWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOVIEPLAY) {
    m_bStarted = TRUE;
    m_rate = NormalRate;
    ControllerAction(ActionPlayRate, m_rate);
    return 0;
  }
  if (message == WM_MOVIESTOP) {
    // A stop asked for is no end to report.
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
  // The controller sets the cursor over the movie.
  if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT) return TRUE;
  return CWnd::WindowProc(message, wParam, lParam);
}

void CMovieWnd::Dispose() {
  if (m_controller) Call(media::DisposeController, {m_controller});
  if (m_movie) Call(media::DisposeMovie, {m_movie});
  m_controller = m_movie = 0;
  m_bStarted = FALSE;
  m_rate = 0;
}

void CMovieWnd::PostNcDestroy() {
  CWnd::PostNcDestroy();
  Dispose();
}
