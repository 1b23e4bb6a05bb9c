// CPictureWnd: one picture of the media store (or one bitmap resource of the
// program) with its hot spots. It highlights the hot spot under the mouse,
// reports a clicked one to its parent (WM_REGIONCLICK, lParam the hot spot),
// scrolls a picture larger than the window by dragging or by resting the
// mouse near an edge, and opens a legend popup listing the hot spots by
// label. Inside the timeline's view it draws its own horizontal scroll strip
// in its non-client area.
#pragma once

#include "framework.h"
#include "media/media_logic.h"

class CHotSpot;

class CPictureWnd : public CWnd {
 public:
  // Mouse modes.
  enum Mode { Idle, Dragging, OverHotSpot, EdgeScrolling, LeftArrow, TrackLeft, RightArrow, TrackRight, ThumbDrag };
  // Repeat timers (100 ms).
  enum : UINT {
    TimerUp = 98,
    TimerDown = 99,
    TimerLeft = 100,
    TimerRight = 101,
    TimerPageLeft = 104,
    TimerPageRight = 105
  };
  static constexpr int StripHeight = 17;
  static constexpr int EdgeZone = 20;

  CPictureWnd() = default;
  ~CPictureWnd() override;

  // With no resource name the picture is record n of the media store, else
  // bitmap resource n of the program. FALSE when the picture cannot be
  // loaded (the window then holds none).
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& bounds, CWnd* pParentWnd,
              UINT nID, UINT item, BOOL useAppPalette, LPCTSTR resourceName, CCreateContext* pContext,
              BOOL sizeToPicture, BOOL fitMode, POINT centre);
  // Replaces the picture of the existing window.
  BOOL SetPicture(UINT item, BOOL fromResource, BOOL sizeToPicture);
  // Places the window inside the rectangle of its parent's client area.
  void FitToParent(const RECT& rect);

  const CString& GetCaption() const { return m_caption; }
  CPalette* GetPicturePalette() { return &m_palette; }
  const CObArray& GetHotSpots() const { return m_hotSpots; }
  WORD GetHotSpotKind() const { return m_hotSpotKind; }
  CSize GetPictureSize() const { return CSize(m_width, m_height); }
  CPoint GetScrollPosition() const { return CPoint(m_scrollX, m_scrollY); }
  int GetMode() const { return m_mode; }
  UINT GetTimer() const { return m_timer; }
  BOOL IsStripMode() const { return m_bStripMode; }
  int GetStripMaximum() const { return m_stripMax; }
  int GetThumbPosition() const { return m_thumbPos; }
  const media_logic::StripGeometry& GetStrip() const { return m_strip; }
  CHotSpot* GetHighlighted() const { return m_highlighted; }
  // The hot spot at a client point, or null.
  CHotSpot* HitTest(CPoint client);
  // The legend popup: one owner-drawn item per hot spot (ids 10000 + i);
  // FALSE for pictures whose hot spots have no labels (kinds 1 and 2).
  BOOL BuildLegendMenu(CMenu& popup);

 protected:
  BOOL LoadPictureData(UINT item, BOOL fromResource);
  void FreePicture();
  void LoadCursors();
  void SetStripRange();
  void SetScrollX(int x);
  void SetScrollY(int y);
  void SetThumb(int position);
  void StopTimer();
  void StartTimer(UINT id);
  void SetHighlight(CHotSpot* spot);
  void DrawHighlight(CHotSpot* spot);
  void PaintStrip(CDC* dc);
  CRect StripToWindow(const CRect& rect) const;
  int ClientWidth() const;
  int ClientHeight() const;
  void OnLegend(UINT id);

  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnRButtonDown(UINT nFlags, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnTimer(UINT nIDEvent);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  void OnNcPaint();
  UINT OnNcHitTest(CPoint point);
  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  // The hot spot of a legend menu item, or null for any other item.
  CHotSpot* LegendSpot(UINT itemId) const;
  void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  CString m_caption;
  CPalette m_palette;
  CBitmap m_bitmap;
  BYTE* m_mask = nullptr;
  CObArray m_hotSpots;
  WORD m_hotSpotKind = 0;
  CHotSpot* m_highlighted = nullptr;
  int m_width = 0, m_height = 0;
  int m_scrollX = 0, m_scrollY = 0;
  BOOL m_bAppPalette = FALSE;
  BOOL m_bFitMode = FALSE;
  BOOL m_bStripMode = FALSE;
  BOOL m_bMenuTracking = FALSE;
  int m_mode = Idle;
  UINT m_timer = 0;
  CPoint m_lastPoint;
  HCURSOR m_cursorHot = nullptr, m_cursorCanDrag = nullptr, m_cursorDragging = nullptr;
  HCURSOR m_cursorUp = nullptr, m_cursorDown = nullptr, m_cursorRight = nullptr, m_cursorLeft = nullptr;
  // The scroll strip (window coordinates).
  CBitmap m_leftArrow, m_rightArrow, m_thumbBitmap;
  media_logic::StripGeometry m_strip;
  int m_leftState = 0, m_rightState = 0;  // 0 normal, 1 pressed, 2 disabled
  int m_stripMin = 0, m_stripMax = 0, m_thumbPos = 0;
  CRect m_focusThumb;  // the dragged thumb's outline
};
