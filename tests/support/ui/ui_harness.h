// Drives framework windows headless under Wine's null display driver: runs
// the message loop until it is idle, sends input through SendInput, reads a
// window's pixels back, saves them as PNG, and answers message boxes.
#pragma once

#include <chrono>
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

// Records, while it lives, each message of one window's timer as a message
// loop takes it from the queue, with what `read` says just before it is
// handled. A test counts the program's own timer messages with it rather
// than expecting a number of them from the time it waited: a starved
// process takes the same steps, only later. One lives at a time.
class TimerMessages {
 public:
  using Clock = std::chrono::steady_clock;
  struct Message {
    int before;            // what `read` said as the message was taken
    Clock::time_point at;  // when it was taken
  };
  TimerMessages(HWND window, UINT_PTR id, std::function<int()> read);
  ~TimerMessages();
  TimerMessages(const TimerMessages&) = delete;
  TimerMessages& operator=(const TimerMessages&) = delete;
  const std::vector<Message>& messages() const { return messages_; }
  // Handles messages until `count` of the timer's have been taken in all
  // (true), or maxMilliseconds passed (false: only a guard against a hang).
  bool PumpUntilCount(std::size_t count, int maxMilliseconds = 10000);
  // Whether the timer is still set; ends it if it is. KillTimer's answer is
  // the one thing the system tells of a window's timer.
  bool StillSet();

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);
  static inline TimerMessages* current_ = nullptr;
  HWND window_;
  UINT_PTR id_;
  std::function<int()> read_;
  std::vector<Message> messages_;
  HHOOK hook_ = nullptr;
};

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

// Prints the view's current job on one long page and then on pages `width`
// wide of each of `heights`, and checks the pages as a reader would: their
// body texts are those of the long page, each once and in order, and none
// reaches into the 250 pixels above the footer (its rule at least 50 above
// it, the body 200 above the rule). Saves the pages of the first height as
// <shots>_<n> and returns how many there were.
int ExpectEveryLinePrintedOnce(CView& view, int width, const std::vector<int>& heights, const std::string& shots);

// Drops the pop-up menu down over `owner` (which draws its owner-drawn items),
// takes its picture and closes it again; an empty picture when it did not show.
Picture CapturePopupMenu(HMENU menu, HWND owner);

// Makes a message box that nothing answers fail the test rather than wait
// for a click for ever; a test program turns it on as it starts. While a
// MessageBoxAnswers lives, that one answers instead.
void FailUnexpectedMessageBoxes();

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

// Answers the file dialogs while it lives: a save dialog with the path
// given, an open dialog with Cancel; counts the names asked for.
class FileDialogAnswers {
 public:
  explicit FileDialogAnswers(std::string savePath = "");
  ~FileDialogAnswers();
  FileDialogAnswers(const FileDialogAnswers&) = delete;
  FileDialogAnswers& operator=(const FileDialogAnswers&) = delete;
  void SetSavePath(std::string path);
  const std::string& SavePath() const;
  int NamesAsked() const;

 private:
  static INT_PTR Answer(OPENFILENAMEA* ofn, BOOL open);
};

// Records, while it lives, the page numbers the framework's printing dialog
// shows ("Page 1", "Page 2", ...): one per printed page. `newPage`, when
// given, is called as each page begins (before the view prints it).
class PrintedPages {
 public:
  explicit PrintedPages(std::function<void()> newPage = nullptr);
  ~PrintedPages();
  PrintedPages(const PrintedPages&) = delete;
  PrintedPages& operator=(const PrintedPages&) = delete;
  const std::vector<std::string>& pages() const { return pages_; }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam);
  static inline PrintedPages* current_ = nullptr;
  std::function<void()> newPage_;
  std::vector<std::string> pages_;
  HHOOK hook_ = nullptr;
};

// A page to print on: a white memory bitmap of the page's size that records
// each text drawn on it, with its place and font, and keeps a picture of each
// page of a job. Pages are told apart by their headers: a view draws its
// title and then "Page n" at the top of each page, so "Page n" (n > 1) ends
// the page before (the title, already drawn over the same title of that
// page, is drawn again on the fresh page). The body printers draw between
// SaveDC and RestoreDC.
class PrinterPage : public CDC {
 public:
  struct Text {
    int page;    // 0-based
    CPoint at;   // as drawn: the right edge for right-aligned text
    UINT align;  // the text alignment it was drawn with
    std::string text;
    LOGFONTA font;
    TEXTMETRICA metrics;
    bool body;  // drawn by a body printer
  };
  explicit PrinterPage(CSize size);
  ~PrinterPage() override;
  PrinterPage(const PrinterPage&) = delete;
  PrinterPage& operator=(const PrinterPage&) = delete;

  // Runs the view's print loop with its current print kind, all its pages
  // up to `lastPage` (a job that would not end stops there).
  BOOL Print(CView& view, UINT lastPage = 0xFFFF);
  const std::vector<Picture>& Pages() const { return pages_; }
  // The page as drawn so far.
  Picture Capture() const { return CaptureDC(m_hDC, size_.cx, size_.cy); }
  const std::vector<Text>& Texts() const { return texts_; }
  // The body's texts of every page, in the order drawn.
  std::vector<std::string> BodyTexts() const;
  // The top of the page's footer: its highest text below the body.
  int FooterTop(int page) const;

  int SaveDC() override;
  BOOL RestoreDC(int nSavedDC) override;
  BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) override;

 private:
  void Clear();
  CSize size_;
  CBitmap bitmap_;
  CBitmap* old_ = nullptr;
  int saved_ = 0;
  int page_ = 0;
  std::vector<Picture> pages_;
  std::vector<Text> texts_;
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
