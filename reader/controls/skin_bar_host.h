// The glue between a scrolling window and the skinned bar it owns: the bar's
// messages and frame, the keys that page, the window placed with the bar
// beside its content, and the range and position kept in step. Every list
// with the bar derives from its window class and from this host; it moves its
// content in SetPosition and, when its page is not the bar's, says so in
// ScrollPage.
#pragma once

#include "controls/skin_bar.h"

class CSkinBarHost : public CSkinBarOwner {
 public:
  CSkinBarHost(const CSkinBarHost&) = delete;
  CSkinBarHost& operator=(const CSkinBarHost&) = delete;

  CSkinBar& Bar() { return m_bar; }
  // Moves the content and the thumb to newPos; returns the previous position.
  virtual int SetPosition(int newPos, BOOL redraw) = 0;
  // The position goes into the new range, to min when the range is empty.
  virtual void SetRange(int min, int max, BOOL redraw);
  // Moves by a scroll code, ScrollPage() rows a page, never past the range.
  int Scroll(int code, int position) override;

 protected:
  explicit CSkinBarHost(CWnd* window) : m_window(window) { m_bar.Attach(window, this); }
  ~CSkinBarHost() override = default;

  // The bar at `origin` with an empty range and no thumb held.
  void ResetBar(int origin);
  virtual int ScrollPage() const { return m_bar.m_page; }
  // Brings the content to the position SetRange kept.
  virtual void SyncContent() {}
  // Takes the owner's control over, without the system's scroll bars.
  BOOL TakeOverControl(UINT controlId, CWnd* parent);
  // The bar replaces the system's scroll bars.
  void DropSystemBars();
  // Moves the window to rect, recomputes its frame and lays the bar out.
  void PlaceWithBar(const RECT& rect, UINT flags = SWP_NOZORDER | SWP_NOACTIVATE);
  // Recomputes the frame where the window stands and lays the bar out.
  void ReframeWithBar();
  // The bar's messages and its frame (WM_NCCALCSIZE); TRUE when handled.
  BOOL OnBarMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Page Up, Page Down, Home and End; TRUE for those keys.
  BOOL ScrollByPageKey(UINT key);
  // The arrow keys up and down, a line each; TRUE for those keys.
  BOOL ScrollByLineKey(UINT key);
  // Cuts the window's height to whole rows; TRUE when it shrank (a new
  // WM_SIZE has come).
  BOOL CutToWholeRows(int clientHeight, int rowHeight);

  CSkinBar m_bar;

 private:
  CWnd* m_window;
};
