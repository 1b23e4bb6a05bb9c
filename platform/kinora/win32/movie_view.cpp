// The standard controller as KNIM32.DLL gives it to the screens: the core's
// controller, plus a clock on the movie's window that moves the movie on
// while it plays, the movie's frame at its time (or, for a movie without
// frames, its name and time on a dark ground), and the control bar under it:
// a play and stop button, the track of the time played, the time.
#include "movie_view.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "kn_components.h"
#include "kn_movie.h"

namespace {

constexpr UINT_PTR kClockTimer = 0x4B4E;  // 'KN'
constexpr UINT kClockMilliseconds = 50;
constexpr COLORREF kGround = RGB(16, 20, 28);
constexpr COLORREF kInk = RGB(208, 216, 232);
constexpr COLORREF kTrack = RGB(56, 64, 80);
constexpr COLORREF kPlayed = RGB(90, 140, 220);

HWND WindowOf(const kn::StandardController* controller) {
  return controller != nullptr ? reinterpret_cast<HWND>(controller->window) : nullptr;
}

void StartClock(kn::StandardController* controller) {
  HWND window = WindowOf(controller);
  if (window == nullptr) return;
  SetPropA(window, "KnClock", reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(GetTickCount())));
  SetTimer(window, kClockTimer, kClockMilliseconds, nullptr);
}

void StopClock(kn::StandardController* controller) {
  HWND window = WindowOf(controller);
  if (window == nullptr) return;
  KillTimer(window, kClockTimer);
  RemovePropA(window, "KnClock");
}

// Milliseconds since the last tick of the window's clock.
std::int32_t Elapsed(HWND window) {
  const DWORD now = GetTickCount();
  const auto last = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(GetPropA(window, "KnClock")));
  SetPropA(window, "KnClock", reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(now)));
  // The tick count wraps after 49.7 days: the difference is taken unsigned.
  const DWORD elapsed = now - last;
  return elapsed > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(elapsed);
}

std::string TimeText(std::int32_t time, std::int32_t scale) {
  const std::int32_t seconds = scale > 0 ? time / scale : 0;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  return text;
}

// The movie's own rectangle: the bounds less the control bar.
RECT MovieRect(const kn::StandardController& controller) {
  RECT r = {controller.bounds.left, controller.bounds.top, controller.bounds.right, controller.bounds.bottom};
  if (controller.bar) r.bottom -= kn::kControlBarHeight;
  return r;
}

RECT BarRect(const kn::StandardController& controller) {
  const RECT movie = MovieRect(controller);
  return {movie.left, movie.bottom, movie.right, movie.bottom + kn::kControlBarHeight};
}
RECT ButtonRect(const RECT& bar) { return {bar.left + 2, bar.top + 2, bar.left + 2 + 24, bar.bottom - 2}; }
RECT TrackRect(const RECT& bar) { return {bar.left + 32, bar.top + 7, bar.right - 84, bar.top + 11}; }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The movie's name and its time on a dark ground: a movie without frames.
void PaintPlaceholder(HDC dc, const RECT& area, const kn::Movie& movie) {
  Fill(dc, area, kGround);
  const std::size_t slash = movie.path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? movie.path : movie.path.substr(slash + 1);
  const std::string times = TimeText(movie.time, movie.timeScale) + " / " + TimeText(movie.duration, movie.timeScale);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kInk);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  const int middle = (area.top + area.bottom) / 2;
  RECT line = {area.left, middle - metrics.tmHeight - 2, area.right, middle - 2};
  DrawTextA(dc, name.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  line = {area.left, middle + 2, area.right, middle + 2 + metrics.tmHeight};
  DrawTextA(dc, times.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void PaintFrame(HDC dc, const RECT& area, const kn::DecodedFrame& frame) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = frame.width;
  header.biHeight = -frame.height;  // top row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0, frame.width,
                frame.height, frame.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&header), DIB_RGB_COLORS,
                SRCCOPY);
}

// The bar: a play button (a triangle) or, while playing, a stop button (a
// square), the track of the time played and the time.
void PaintBar(HDC dc, const RECT& bar, const kn::StandardController& controller) {
  Fill(dc, bar, kTrack);
  const RECT button = ButtonRect(bar);
  Fill(dc, button, RGB(24, 28, 36));
  HBRUSH ink = CreateSolidBrush(kInk);
  HGDIOBJ oldBrush = SelectObject(dc, ink);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
  if (controller.rate != 0) {
    Rectangle(dc, cx - 4, cy - 4, cx + 5, cy + 5);
  } else {
    const POINT triangle[3] = {{cx - 4, cy - 5}, {cx + 5, cy}, {cx - 4, cy + 5}};
    Polygon(dc, triangle, 3);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(ink);
  RECT track = TrackRect(bar);
  if (track.right > track.left) {
    Fill(dc, track, RGB(24, 28, 36));
    const kn::Movie* movie = controller.movie;
    if (movie != nullptr && movie->duration > 0) {
      track.right = track.left + MulDiv(track.right - track.left, movie->time, movie->duration);
      Fill(dc, track, kPlayed);
    }
  }
  if (const kn::Movie* movie = controller.movie) {
    const std::string times =
        TimeText(movie->time, movie->timeScale) + " / " + TimeText(movie->duration, movie->timeScale);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    RECT text = {bar.right - 80, bar.top, bar.right - 4, bar.bottom};
    DrawTextA(dc, times.c_str(), -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }
}

void Paint(kn::StandardController& controller, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const RECT movieRect = MovieRect(controller);
  if (controller.movie != nullptr) {
    if (const kn::DecodedFrame* frame = kn::CurrentFrame(controller)) {
      PaintFrame(dc, movieRect, *frame);
    } else {
      PaintPlaceholder(dc, movieRect, *controller.movie);
    }
  } else {
    Fill(dc, movieRect, kGround);
  }
  if (controller.bar) PaintBar(dc, BarRect(controller), controller);
  EndPaint(window, &paint);
}

// A click on the bar: the button plays or stops, the track goes to the time
// under the cursor. True when the click was the bar's.
bool ClickBar(kn::StandardController& controller, HWND window, POINT point) {
  if (!controller.bar) return false;
  const RECT bar = BarRect(controller);
  if (PtInRect(&bar, point) == 0) return false;
  const RECT button = ButtonRect(bar);
  RECT track = TrackRect(bar);
  InflateRect(&track, 0, 5);
  if (PtInRect(&button, point) != 0) {
    kn::PlayOrStop(controller, controller.rate == 0);
    if (controller.rate != 0) {
      StartClock(&controller);
    } else {
      StopClock(&controller);
    }
  } else if (PtInRect(&track, point) != 0 && controller.movie != nullptr && track.right > track.left) {
    const int x = std::clamp(static_cast<int>(point.x), static_cast<int>(track.left), static_cast<int>(track.right));
    controller.movie->time = MulDiv(controller.movie->duration, x - track.left, track.right - track.left);
    controller.pending = 0;
  }
  InvalidateRect(window, nullptr, FALSE);
  return true;
}

}  // namespace

std::intptr_t WindowedControllerEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  auto* self = reinterpret_cast<kn::StandardController*>(arg(2));
  switch (selector) {
    case -2: StopClock(self); break;  // close: the core frees the record
    case kn::kMcDetach:
    case kn::kMcSetMovie: StopClock(self); break;
    case kn::kMcMessage: {
      HWND window = reinterpret_cast<HWND>(arg(3));
      const auto message = static_cast<UINT>(arg(4));
      if (self == nullptr || window == nullptr || window != WindowOf(self)) return 0;
      if (message == WM_TIMER && static_cast<UINT_PTR>(arg(5)) == kClockTimer) {
        // The last step stops the movie; the repaint that follows lets the
        // window see that it no longer plays.
        if (kn::AdvanceStandardController(*self, Elapsed(window))) StopClock(self);
        InvalidateRect(window, nullptr, FALSE);
        return 1;
      }
      if (message == WM_PAINT) {
        Paint(*self, window);
        return 1;
      }
      if (message == WM_LBUTTONDOWN) {
        const POINT point = {static_cast<short>(LOWORD(arg(6))), static_cast<short>(HIWORD(arg(6)))};
        return ClickBar(*self, window, point) ? 1 : 0;
      }
      if (message == WM_ERASEBKGND) return 1;
      return 0;
    }
    default: break;
  }
  const std::intptr_t result = kn::StandardControllerEntry(selector, args, count);
  if (selector == kn::kMcDoAction && self != nullptr && arg(3) == kn::kMcActionPlay) {
    if (self->rate != 0) {
      StartClock(self);
    } else {
      StopClock(self);
    }
    if (HWND window = WindowOf(self)) InvalidateRect(window, nullptr, FALSE);
  }
  return result;
}
