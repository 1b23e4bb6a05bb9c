#include "ui_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>

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

int UnexpectedBox(HWND, LPCTSTR text, LPCTSTR, UINT) {
  ADD_FAILURE() << "unexpected message box: " << text;
  return IDCANCEL;
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

TimerMessages::TimerMessages(HWND window, UINT_PTR id, std::function<int()> read)
    : window_(window), id_(id), read_(std::move(read)) {
  current_ = this;
  hook_ = ::SetWindowsHookExA(WH_GETMESSAGE, Watch, nullptr, ::GetCurrentThreadId());
  if (hook_ == nullptr) ADD_FAILURE() << "no message hook for the timer messages (error " << ::GetLastError() << ")";
}

TimerMessages::~TimerMessages() {
  if (hook_ != nullptr) ::UnhookWindowsHookEx(hook_);
  current_ = nullptr;
}

bool TimerMessages::PumpUntilCount(std::size_t count, int maxMilliseconds) {
  return PumpUntil([&] { return messages_.size() >= count; }, maxMilliseconds);
}

bool TimerMessages::StillSet() { return ::KillTimer(window_, id_) != FALSE; }

// A message peeked at and left in the queue is taken later: only a removed
// one counts.
LRESULT CALLBACK TimerMessages::Watch(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && current_ != nullptr && msg->message == WM_TIMER &&
      msg->hwnd == current_->window_ && msg->wParam == current_->id_)
    current_->messages_.push_back({current_->read_(), Clock::now()});
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
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

namespace {

Picture menuPicture;
bool menuSeen = false;
int menuTicks = 0;

// Inside the menu's loop: the picture of the shown menu window, then the end
// (after two seconds without one as well).
void CALLBACK TakeMenuPicture(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = ::FindWindowA("#32768", nullptr);
  if (menu != nullptr && ::IsWindowVisible(menu)) {
    ::UpdateWindow(menu);
    menuPicture = Capture(menu, true);
    menuSeen = true;
  }
  if (menuSeen || ++menuTicks >= 10) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
  }
}

}  // namespace

Picture CapturePopupMenu(HMENU menu, HWND owner) {
  menuPicture = Picture();
  menuSeen = false;
  menuTicks = 0;
  RECT place;
  ::GetWindowRect(owner, &place);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, TakeMenuPicture);
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, place.left + 40, place.top + 40, 0, owner, nullptr);
  ::KillTimer(nullptr, timer);
  PumpUntilIdle(200);
  return menuPicture;
}

void FailUnexpectedMessageBoxes() { AfxSetMessageBoxHook(UnexpectedBox); }

MessageBoxAnswers::MessageBoxAnswers(int answer) : previous_(AfxGetMessageBoxHook()) {
  recordedBoxes.clear();
  boxAnswer = answer;
  AfxSetMessageBoxHook(RecordBox);
}

MessageBoxAnswers::~MessageBoxAnswers() { AfxSetMessageBoxHook(previous_); }

const std::vector<MessageBoxAnswers::Box>& MessageBoxAnswers::boxes() const { return recordedBoxes; }

void MessageBoxAnswers::SetAnswer(int answer) { boxAnswer = answer; }

namespace {
std::string fileDialogSavePath;
int fileDialogNamesAsked = 0;
}  // namespace

FileDialogAnswers::FileDialogAnswers(std::string savePath) {
  fileDialogSavePath = std::move(savePath);
  fileDialogNamesAsked = 0;
  AfxSetFileDialogHook(Answer);
}

FileDialogAnswers::~FileDialogAnswers() { AfxSetFileDialogHook(nullptr); }

void FileDialogAnswers::SetSavePath(std::string path) { fileDialogSavePath = std::move(path); }

const std::string& FileDialogAnswers::SavePath() const { return fileDialogSavePath; }

int FileDialogAnswers::NamesAsked() const { return fileDialogNamesAsked; }

INT_PTR FileDialogAnswers::Answer(OPENFILENAMEA* ofn, BOOL open) {
  ++fileDialogNamesAsked;
  if (open) return IDCANCEL;
  std::snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", fileDialogSavePath.c_str());
  return IDOK;
}

PrintedPages::PrintedPages(std::function<void()> newPage) : newPage_(std::move(newPage)) {
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
      ::GetDlgCtrlID(message->hwnd) == AFX_IDC_PRINT_PAGENUM) {
    current_->pages_.emplace_back(reinterpret_cast<const char*>(message->lParam));
    if (current_->newPage_) current_->newPage_();
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

PrinterPage::PrinterPage(CSize size) : size_(size) {
  CClientDC screen(nullptr);
  CreateCompatibleDC(&screen);
  bitmap_.CreateCompatibleBitmap(&screen, size.cx, size.cy);
  old_ = CDC::SelectObject(&bitmap_);
  Clear();
}

PrinterPage::~PrinterPage() {
  if (old_ != nullptr) CDC::SelectObject(old_);
  DeleteDC();
}

void PrinterPage::Clear() { PatBlt(0, 0, size_.cx, size_.cy, WHITENESS); }

BOOL PrinterPage::Print(CView& view, UINT lastPage) {
  pages_.clear();
  texts_.clear();
  page_ = 0;
  saved_ = 0;
  Clear();
  CPrintInfo info;
  info.SetMaxPage(lastPage);
  info.m_pPD->m_pd.nToPage = static_cast<WORD>(lastPage);
  const BOOL ok = view.PrintPages(this, &info);
  pages_.push_back(CaptureDC(m_hDC, size_.cx, size_.cy));
  return ok;
}

int PrinterPage::SaveDC() {
  ++saved_;
  return CDC::SaveDC();
}

BOOL PrinterPage::RestoreDC(int nSavedDC) {
  if (saved_ > 0) --saved_;
  return CDC::RestoreDC(nSavedDC);
}

BOOL PrinterPage::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
  const std::string text(lpszString, static_cast<std::size_t>(std::max(nCount, 0)));
  unsigned number = 0;
  if (saved_ == 0 && std::sscanf(text.c_str(), "Page %u", &number) == 1 && number > 1 &&
      text == "Page " + std::to_string(number)) {
    pages_.push_back(CaptureDC(m_hDC, size_.cx, size_.cy));
    Clear();
    ++page_;
    if (!texts_.empty() && !texts_.back().body) {
      Text& title = texts_.back();
      title.page = page_;
      const UINT align = ::SetTextAlign(m_hDC, title.align);
      CDC::TextOut(title.at.x, title.at.y, title.text.c_str(), static_cast<int>(title.text.size()));
      ::SetTextAlign(m_hDC, align);
    }
  }
  Text drawn{page_, CPoint(x, y), ::GetTextAlign(m_hDC), text, {}, {}, saved_ > 0};
  ::GetObjectA(::GetCurrentObject(m_hDC, OBJ_FONT), sizeof drawn.font, &drawn.font);
  ::GetTextMetricsA(m_hDC, &drawn.metrics);
  texts_.push_back(drawn);
  return CDC::TextOut(x, y, lpszString, nCount);
}

std::vector<std::string> PrinterPage::BodyTexts() const {
  std::vector<std::string> body;
  for (const Text& t : texts_)
    if (t.body) body.push_back(t.text);
  return body;
}

int PrinterPage::FooterTop(int page) const {
  int bodyTop = size_.cy;
  for (const Text& t : texts_)
    if (t.page == page && t.body) bodyTop = std::min<int>(bodyTop, t.at.y);
  int top = size_.cy;
  for (const Text& t : texts_)
    if (t.page == page && !t.body && t.at.y > bodyTop) top = std::min<int>(top, t.at.y);
  return top;
}

int ExpectEveryLinePrintedOnce(CView& view, int width, const std::vector<int>& heights, const std::string& shots) {
  PrinterPage whole(CSize(width, 20000));
  EXPECT_TRUE(whole.Print(view));
  EXPECT_EQ(whole.Pages().size(), 1u);
  const std::vector<std::string> expected = whole.BodyTexts();
  EXPECT_FALSE(expected.empty());
  int shown = 0;
  for (std::size_t h = 0; h < heights.size(); ++h) {
    PrinterPage page(CSize(width, heights[h]));
    EXPECT_TRUE(page.Print(view));
    EXPECT_EQ(page.BodyTexts(), expected) << "pages " << heights[h] << " high";
    for (const PrinterPage::Text& t : page.Texts()) {
      if (t.body) {
        EXPECT_LE(t.at.y + t.metrics.tmHeight, page.FooterTop(t.page) - 250)
            << "\"" << t.text << "\" on page " << t.page + 1 << " of pages " << heights[h] << " high";
      }
    }
    if (h == 0) {
      shown = static_cast<int>(page.Pages().size());
      for (int n = 0; n < shown; ++n) {
        std::string name(shots);
        name += '_';
        name += std::to_string(n + 1);
        SavePng(page.Pages()[static_cast<std::size_t>(n)], name);
      }
    }
  }
  return shown;
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
