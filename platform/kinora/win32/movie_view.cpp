// The standard controller as KNIM32.DLL gives it to the screens: the core's
// controller, plus a clock on the movie's window that moves the movie on
// while it plays, and a picture of the movie. Our movies carry no frames we
// could decode, so the picture is the movie's name, its time and a bar of
// how far it has played, on a dark ground.
#include "movie_view.h"

#include <windows.h>

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

void Paint(const kn::StandardController& controller, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH ground = CreateSolidBrush(kGround);
  FillRect(dc, &client, ground);
  DeleteObject(ground);
  const kn::Movie* movie = controller.movie;
  if (movie != nullptr) {
    const std::size_t slash = movie->path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? movie->path : movie->path.substr(slash + 1);
    const std::string times =
        TimeText(movie->time, movie->timeScale) + " / " + TimeText(movie->duration, movie->timeScale);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    const int middle = (client.top + client.bottom) / 2;
    RECT line = {client.left, middle - metrics.tmHeight - 2, client.right, middle - 2};
    DrawTextA(dc, name.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    line = {client.left, middle + 2, client.right, middle + 2 + metrics.tmHeight};
    DrawTextA(dc, times.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    // The bar of the time played, along the bottom.
    const int width = client.right - client.left - 16;
    if (width > 0 && client.bottom - client.top > 12) {
      RECT track = {client.left + 8, client.bottom - 10, client.left + 8 + width, client.bottom - 6};
      HBRUSH brush = CreateSolidBrush(kTrack);
      FillRect(dc, &track, brush);
      DeleteObject(brush);
      if (movie->duration > 0) {
        track.right = track.left + MulDiv(width, movie->time, movie->duration);
        brush = CreateSolidBrush(kPlayed);
        FillRect(dc, &track, brush);
        DeleteObject(brush);
      }
    }
  }
  EndPaint(window, &paint);
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
