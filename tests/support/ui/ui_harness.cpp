#include "ui_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "png_writer.h"

namespace ui {

namespace {

int quitCount = 0;
int boxAnswer = IDOK;
std::vector<MessageBoxAnswers::Box> recordedBoxes;

bool HandleOne() {
  MSG msg;
  if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    ++quitCount;
    return true;
  }
  if (!AfxPreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return true;
}

int RecordBox(HWND, LPCTSTR text, LPCTSTR caption, UINT type) {
  recordedBoxes.push_back({text == nullptr ? "" : text, caption == nullptr ? "" : caption, type});
  return boxAnswer;
}

void SendInputs(std::vector<INPUT> inputs) {
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD virtualKey, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

void PumpUntilIdle(int maxMilliseconds) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    bool any = false;
    while (HandleOne()) {
      any = true;
      if (::GetTickCount() - start > static_cast<DWORD>(maxMilliseconds)) return;
    }
    CWinApp* app = AfxGetApp();
    if (app != nullptr) {
      for (LONG count = 0; app->OnIdle(count); ++count) {
      }
    }
    // Idle work may have sent or posted more.
    if (!any && !::PeekMessageA(nullptr, nullptr, 0, 0, PM_NOREMOVE) && !HandleOne()) return;
    if (::GetTickCount() - start > static_cast<DWORD>(maxMilliseconds)) return;
  }
}

void PumpFor(int milliseconds) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
    if (!HandleOne()) ::Sleep(5);
  }
  PumpUntilIdle();
}

bool PumpUntil(const std::function<bool()>& done, int maxMilliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= static_cast<DWORD>(maxMilliseconds)) return false;
    if (!HandleOne()) ::Sleep(5);
  }
  PumpUntilIdle();
  return true;
}

int TakeQuitCount() {
  const int count = quitCount;
  quitCount = 0;
  return count;
}

void MoveMouse(HWND window, POINT client) {
  POINT screen = client;
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = screen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = screen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInputs({input});
  PumpUntilIdle();
}

void Click(HWND window, POINT client, bool right) {
  MoveMouse(window, client);
  INPUT down = {}, up = {};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  up.mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInputs({down, up});
  PumpUntilIdle();
}

void PressKey(WORD virtualKey, bool control, bool shift) {
  std::vector<INPUT> inputs;
  if (control) inputs.push_back(Key(VK_CONTROL, false));
  if (shift) inputs.push_back(Key(VK_SHIFT, false));
  inputs.push_back(Key(virtualKey, false));
  inputs.push_back(Key(virtualKey, true));
  if (shift) inputs.push_back(Key(VK_SHIFT, true));
  if (control) inputs.push_back(Key(VK_CONTROL, true));
  SendInputs(inputs);
  PumpUntilIdle();
}

COLORREF Picture::At(int x, int y) const {
  const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width + x];
  return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

int Picture::Count(const RECT& area, COLORREF colour) const {
  int count = 0;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height); ++y) {
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width); ++x) {
      if (At(x, y) == colour) ++count;
    }
  }
  return count;
}

Picture CaptureDC(HDC dc, int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(memory, section);
  ::BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  picture.rgb.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  for (std::uint32_t& c : picture.rgb) c &= 0xFFFFFF;  // BGRA in memory is 0x00RRGGBB as a number
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(section);
  return picture;
}

Picture Capture(HWND window, bool wholeWindow) {
  ::UpdateWindow(window);
  RECT area;
  if (wholeWindow) {
    ::GetWindowRect(window, &area);
  } else {
    ::GetClientRect(window, &area);
  }
  HDC dc = wholeWindow ? ::GetWindowDC(window) : ::GetDC(window);
  Picture picture = CaptureDC(dc, area.right - area.left, area.bottom - area.top);
  ::ReleaseDC(window, dc);
  return picture;
}

std::string SavePng(const Picture& picture, const std::string& name) {
  std::string folder;
  if (const char* shots = std::getenv("VELDRIX_SHOTS")) {
    folder = shots;
    // A Linux path under Wine lives on drive Z:.
    if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\";
  }
  // Written beside its place and moved there, so a picture is never half there.
  const std::string path = folder + name + ".png";
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    const std::string png = EncodePng(picture.width, picture.height, picture.rgb);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    if (!out.flush()) {
      ADD_FAILURE() << "the picture " << partial << " could not be written";
      return std::string();
    }
  }
  if (!::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ADD_FAILURE() << "the picture " << path << " could not be put in place (error " << ::GetLastError() << ")";
    return std::string();
  }
  return path;
}

MessageBoxAnswers::MessageBoxAnswers(int answer) : previous_(AfxGetMessageBoxHook()) {
  recordedBoxes.clear();
  boxAnswer = answer;
  AfxSetMessageBoxHook(RecordBox);
}

MessageBoxAnswers::~MessageBoxAnswers() { AfxSetMessageBoxHook(previous_); }

const std::vector<MessageBoxAnswers::Box>& MessageBoxAnswers::boxes() const { return recordedBoxes; }

void MessageBoxAnswers::SetAnswer(int answer) { boxAnswer = answer; }

PrintedPages::PrintedPages() {
  current_ = this;
  hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, ::GetCurrentThreadId());
}

PrintedPages::~PrintedPages() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  current_ = nullptr;
}

LRESULT CALLBACK PrintedPages::Watch(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && current_ != nullptr && message->message == WM_SETTEXT && message->lParam != 0 &&
      ::GetDlgCtrlID(message->hwnd) == AFX_IDC_PRINT_PAGENUM)
    current_->pages_.emplace_back(reinterpret_cast<const char*>(message->lParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

RecordingParent::RecordingParent() {
  CreateEx(0, nullptr, "recording parent", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr, nullptr);
}

RecordingParent::~RecordingParent() { DestroyWindow(); }

std::vector<MSG> RecordingParent::Of(UINT message) const {
  std::vector<MSG> found;
  for (const MSG& msg : messages) {
    if (msg.message == message) found.push_back(msg);
  }
  return found;
}

LRESULT RecordingParent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = m_hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  messages.push_back(msg);
  return CWnd::WindowProc(message, wParam, lParam);
}

}  // namespace ui
