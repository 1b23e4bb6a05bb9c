// Drives framework windows headless under Wine's null display driver: runs
// the message loop until it is idle, sends input through SendInput, reads a
// window's pixels back, saves them as PNG, and answers message boxes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework.h"

namespace ui {

// Handles every waiting message as the program's loop would (pre-translation,
// accelerators, dialog keys), then idle processing, until nothing is left or
// maxMilliseconds passed. A WM_QUIT met on the way is counted, not obeyed.
void PumpUntilIdle(int maxMilliseconds = 2000);
// Keeps handling messages for the given time (for timers).
void PumpFor(int milliseconds);
// Handles messages until `done` holds (true) or maxMilliseconds passed
// (false). Tests wait for timers with it rather than for a fixed time, so a
// loaded machine makes them slower, never wrong.
bool PumpUntil(const std::function<bool()>& done, int maxMilliseconds = 5000);
// WM_QUIT messages the pumps have swallowed since the last call.
int TakeQuitCount();

// Input through the system's input queue, as a user's would arrive.
void MoveMouse(HWND window, POINT client);
void Click(HWND window, POINT client, bool right = false);
void PressKey(WORD virtualKey, bool control = false, bool shift = false);

// The pixels of a window (client area, or with wholeWindow its frame too),
// copied from its DC.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, rows top first
  COLORREF At(int x, int y) const;
  // How many pixels have this colour inside the rectangle.
  int Count(const RECT& area, COLORREF colour) const;
};
Picture Capture(HWND window, bool wholeWindow = false);
Picture CaptureDC(HDC dc, int width, int height);
// Writes the picture as <name>.png into the tree's folder of pictures (the
// VELDRIX_SHOTS directory, else the current one), for people to look at;
// returns the path. A picture that cannot be written fails the test.
std::string SavePng(const Picture& picture, const std::string& name);

// Answers message boxes while it lives, recording what they said.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(int answer = IDOK);
  ~MessageBoxAnswers();
  MessageBoxAnswers(const MessageBoxAnswers&) = delete;
  MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

  struct Box {
    std::string text;
    std::string caption;
    UINT type;
  };
  const std::vector<Box>& boxes() const;
  void SetAnswer(int answer);

 private:
  AfxMessageBoxHook previous_;  // put back when this goes
};

// Records, while it lives, the page numbers the framework's printing dialog
// shows ("Page 1", "Page 2", ...): one per printed page.
class PrintedPages {
 public:
  PrintedPages();
  ~PrintedPages();
  PrintedPages(const PrintedPages&) = delete;
  PrintedPages& operator=(const PrintedPages&) = delete;
  const std::vector<std::string>& pages() const { return pages_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);
  static inline PrintedPages* current_ = nullptr;
  std::vector<std::string> pages_;
  HHOOK hook_ = nullptr;
};

// A hidden top-level window that records the messages sent or posted to it
// (parent of controls under test).
class RecordingParent : public CWnd {
 public:
  RecordingParent();
  ~RecordingParent() override;
  std::vector<MSG> messages;
  // The recorded messages of one kind.
  std::vector<MSG> Of(UINT message) const;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace ui
