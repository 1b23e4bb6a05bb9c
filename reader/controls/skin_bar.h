// The skinned vertical scroll bar that every scrolling list draws in its
// non-client area. It is no window of its own: each list owns one CSkinBar,
// hands it the bar's messages first (OnMessage) and scrolls its content when
// the bar calls back through CSkinBarOwner.
#pragma once

#include "controls/bar_geometry.h"
#include "controls/skin_environment.h"

class CSkinBarOwner {
 public:
  virtual ~CSkinBarOwner() = default;
  // The member's Scroll (code, position): moves the content and the thumb.
  virtual int Scroll(int code, int position) = 0;
};

// How a held part repeats after the first 500 ms: by timer at 200 ms for page
// parts and 20 ms for arrows; by timer at 200 ms for every part; or by
// posting WM_SCROLL_PART to the window as fast as the queue allows.
enum class BarRepeat { Standard, Uniform, Posted };
// How the palette is selected while the thumb moves.
enum class BarPalette { Auto, Foreground, None };

class CSkinBar {
 public:
  // Bar parts of WM_SCROLL_PART.
  enum Part { kUpArrow = 0, kDownArrow = 1, kPageUp = 2, kPageDown = 3 };
  // Arrow frames of the three-frame strips.
  enum Frame { kNormal = 0, kPressed = 1, kDisabled = 2 };

  // Whether the left mouse button is down; tests may replace it.
  static BOOL (*s_isButtonDown)();

  CSkinBar() = default;
  CSkinBar(const CSkinBar&) = delete;
  CSkinBar& operator=(const CSkinBar&) = delete;

  void Attach(CWnd* window, CSkinBarOwner* owner) {
    m_window = window;
    m_owner = owner;
  }
  // Loads the bitmaps and takes the brushes of a skin (1, 2, 8, 16); FALSE
  // for another value.
  BOOL LoadSkin(int skin);
  // Loads the three bitmaps with the application's loader.
  BOOL LoadBitmaps(UINT upId, UINT downId, UINT thumbId);
  void SetBrushes(int edge, int selection, int track) {
    m_edgeBrush = edge;
    m_selectionBrush = selection;
    m_trackBrush = track;
  }

  // Lays the parts out for the window's current size; the thumb goes to the
  // track's top.
  void Layout();
  // The client rectangle: 2 pixels of frame and the 17-pixel bar strip.
  static void CalcClient(NCCALCSIZE_PARAMS* params, int frame = bar::kFrame);
  // Paints frame, bar and parts into the window DC. `withBar` FALSE paints the
  // frame alone (lists without a bar).
  void Paint(BOOL withBar = TRUE);
  static void PaintFrame(CWnd* window, int edgeBrush, int trackBrush, BOOL withBar, BOOL foreground);
  void DrawUpArrow();
  void DrawDownArrow();
  void DrawThumb();
  // Both arrows normal when max > min, else disabled; drawn at once.
  void UpdateArrows();
  // Places the thumb for the current min, max and pos; with `redraw` the
  // track's pixels move by the distance (ScrollDC) and the strip uncovered is
  // filled with the track brush.
  void MoveThumb(BOOL redraw);
  void StopTimer();

  // The bar's share of a message; TRUE when it consumed it.
  BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnScrollPart(int part, int flag);

  // State (the members read and set it directly).
  int m_skin = 0;
  int m_min = 1;
  int m_max = 1;
  int m_pos = 1;
  int m_page = 0;
  int m_upFrame = kDisabled;
  int m_downFrame = kDisabled;
  CBitmap m_upBitmap;
  CBitmap m_downBitmap;
  CBitmap m_thumbBitmap;
  bar::BarBitmaps m_sizes;
  bar::BarLayout m_layout;
  int m_edgeBrush = 0;
  int m_selectionBrush = 1;
  int m_trackBrush = 2;
  BOOL m_dragging = FALSE;
  CRect m_dragRect;
  CRect m_savedRect;
  BOOL m_outlineDrawn = FALSE;
  UINT_PTR m_timer = 0;

  // Configuration of the member.
  UINT m_timerBase = 20;
  BarRepeat m_repeat = BarRepeat::Standard;
  BarPalette m_palette = BarPalette::Auto;
  BOOL m_handleDoubleClick = TRUE;

 private:
  CPoint WindowPoint(CPoint screen) const;
  CPoint CursorWindowPoint() const;
  void DrawArrow(const CRect& rect, CBitmap& strip, int frame);
  void DrawOutline(const CRect& rect);
  void Press(CPoint screen);
  void Drag(CPoint client);
  BOOL Release();

  CWnd* m_window = nullptr;
  CSkinBarOwner* m_owner = nullptr;
};
