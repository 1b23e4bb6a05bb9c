// CSliderWnd: a labelled horizontal slider painted from a track bitmap (1035)
// and a thumb bitmap (1036), valued 0 to 100. It sends no notification: its
// owner reads the value back.
#pragma once

#include "controls/skin_environment.h"

class CSliderWnd : public CWnd {
 public:
  static constexpr UINT kTrackBitmap = 1035;
  static constexpr UINT kThumbBitmap = 1036;
  static constexpr UINT kHandCursor = 1185;

  CSliderWnd();
  BOOL Create(RECT* rect, CWnd* parent, UINT id, const CString& label, int colourIndex);
  int GetValue() const;
  int SetValue(int value, BOOL redraw);

  int GetPosition() const { return m_position; }
  int GetTrackLeft() const { return m_trackLeft; }
  int GetTrackWidth() const { return m_trackWidth; }
  int GetThumbWidth() const { return m_thumbWidth; }
  int GetHeight() const { return m_controlHeight; }
  // The thumb's rectangle in client coordinates.
  CRect ThumbRect() const;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Move(int x, BOOL clamp);
  void Paint(CDC& dc);

  int m_colourIndex = 0;
  CString m_label;
  CBitmap m_track;
  CBitmap m_thumb;
  int m_min = 0;
  int m_max = 100;
  int m_position = 0;
  int m_trackLeft = 0;
  int m_trackTop = 0;
  int m_thumbHalf = 0;
  int m_trackWidth = 0;
  int m_trackHeight = 0;
  int m_thumbHeight = 0;
  int m_thumbWidth = 0;
  int m_controlWidth = 0;
  int m_controlHeight = 0;
  HCURSOR m_arrow = nullptr;
  HCURSOR m_hand = nullptr;
};
