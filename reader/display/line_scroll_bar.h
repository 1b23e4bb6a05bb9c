// The display's own scroll bar, drawn in the non-client area at the right of
// its window: up and down arrows, the previous and next find-hit buttons
// beside them, the track and the thumb, in the bitmaps of the screen's skin.
// It keeps the range of lines and the top line the thumb stands for, takes
// the window's non-client messages, repeats a held part by timer and drags
// the thumb; the scrolling itself is its window's (LineScrollOwner).
#pragma once

#include "framework.h"

namespace display {

// What the bar asks of the window it stands in.
class LineScrollOwner {
 public:
  virtual ~LineScrollOwner() = default;
  // The window whose non-client area holds the bar.
  virtual CWnd& BarWindow() = 0;
  // Scrolls by a bar part's code (0 line up, 1 line down, 2 page up, 3 page
  // down, 4 to `line`).
  virtual int ScrollBy(int code, int line) = 0;
  // Moves to the previous (-1) or next (+1) find hit.
  virtual void GoToHit(int step, BOOL force) = 0;
  // The mouse as the repeat of a held part reads it.
  virtual BOOL MouseButtonDown() const = 0;
  virtual POINT MousePosition() const = 0;
};

class LineScrollBar {
 public:
  enum Button { kUpArrow = 0, kDownArrow = 1, kPreviousHit = 2, kNextHit = 3 };
  enum ButtonState { kNormal = 0, kPressed = 1, kDisabled = 2 };
  // Repeat timers of the bar's parts are the part + 20.
  static constexpr UINT_PTR kPartTimerBase = 20;

  explicit LineScrollBar(LineScrollOwner& owner) : owner_(owner), window_(owner.BarWindow()) {}
  LineScrollBar(const LineScrollBar&) = delete;
  LineScrollBar& operator=(const LineScrollBar&) = delete;

  // The bitmaps of a skin type (1 encyclopedia, 2 dictionary, 16 timeline).
  void LoadSkin(int skinType);
  // Places the parts in the window as it is now.
  void Layout();
  // Handles the non-client messages, the repeat of a held part and its
  // timers; FALSE leaves the message to the window.
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // The lines the bar ranges over and the one at the top.
  int FirstLine() const { return firstLine_; }
  int LastLine() const { return lastLine_; }
  int TopLine() const { return topLine_; }
  // Moves the thumb to the line; returns the top line before.
  int SetTopLine(int line, BOOL redraw);
  // The arrows work only over more than one line.
  void SetLineRange(int first, int last, BOOL redraw);
  // Back to line 1 of an empty range (the thumb stays until the next range).
  void ResetLines() { firstLine_ = lastLine_ = topLine_ = 1; }

  // Every button disabled, as for a display without text.
  void DisableButtons();
  // The hit buttons work once there are hits.
  void EnableHitButtons();
  // Disabled without a redraw: the caller redraws with the text.
  void DisableHitButtons() { state_[kPreviousHit] = state_[kNextHit] = kDisabled; }

  // While the thumb is dragged, moves its outline after a mouse at `client`
  // (client coordinates) and returns TRUE.
  BOOL DragThumb(CPoint client);
  // The mouse button went up: stops the repeat, releases the pressed buttons
  // and drops a dragged thumb; TRUE when a thumb drag ended.
  BOOL Release();
  // Stops the repeat timer (the window goes).
  void StopRepeat();
  void Redraw();

  int GetButtonState(int button) const { return state_[button]; }
  // Parts of the bar in window coordinates.
  CRect GetButtonRect(int button) const { return buttonRect_[button]; }
  CRect GetTrackRect() const { return track_; }
  CRect GetThumbRect() const { return thumb_; }

 private:
  CPoint WindowPoint(CPoint screen) const;
  CRect ClientInWindow() const;
  void PlaceThumb();
  void Paint(CDC* dc);
  void Press(CPoint windowPoint);
  LRESULT OnScrollPart(WPARAM part, LPARAM first);
  void EndThumbDrag();
  void DrawDragOutline();
  void OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  BOOL HitsBar(CPoint screen) const;

  LineScrollOwner& owner_;
  CWnd& window_;
  int skinType_ = 1;
  int firstLine_ = 1;
  int lastLine_ = 1;
  int topLine_ = 1;
  int state_[4] = {kDisabled, kDisabled, kDisabled, kDisabled};
  CRect buttonRect_[4];
  CRect track_;
  CRect thumb_;
  CBitmap buttonBitmap_[4];
  CBitmap thumbBitmap_;
  int partTimer_ = -1;  // the part whose repeat timer runs
  BOOL thumbDrag_ = FALSE;
  CRect dragRect_;
  CRect dragStart_;
  BOOL outlineShown_ = FALSE;
};

}  // namespace display
