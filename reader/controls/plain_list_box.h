// Two list boxes without a scroll bar that keep the skinned 2-pixel frame and
// paint their whole client area themselves: CPlainListBox shows its strings
// as a staircase of single lines (a category's path from the top down);
// CFrameListBox is the dictionary's details pane of labelled values.
#pragma once

#include "controls/skin_bar.h"

class CFramedListBase : public CListBox {
 public:
  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId);

 protected:
  CFramedListBase(int edgeBrush, int trackBrush) : m_edgeBrush(edgeBrush), m_trackBrush(trackBrush) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void Paint(CDC& dc) = 0;

  int m_edgeBrush;
  int m_trackBrush;
};

class CPlainListBox : public CFramedListBase {
 public:
  // Each line stands this much further right than the one above.
  static constexpr int kStep = 10;
  CPlainListBox() : CFramedListBase(0, 2) {}

 protected:
  void Paint(CDC& dc) override;
};

// What the details pane reads of its owner at paint time: the row selected in
// the owner's companion list (-1: nothing to show) and, for that row, the
// common labelled values and the row's own (an absent value is empty text).
class CFramePaneSource {
 public:
  virtual ~CFramePaneSource() = default;
  virtual int GetCompanionSelection() = 0;
  virtual void GetLabelledValues(int row, CStringArray& commonLabels, CStringArray& commonValues,
                                 CStringArray& itemLabels, CStringArray& itemValues) = 0;
};

class CFrameListBox : public CFramedListBase {
 public:
  static constexpr int kMargin = 20;
  // The small font of the shared table (the word-list panel's item count);
  // each row is as high as its text.
  static constexpr int kFont = 11;
  CFrameListBox() : CFramedListBase(6, 8) {}

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(CDC& dc) override;

 private:
  // Draws the pairs from y on, rows `row` high; returns the y after the last line.
  int DrawPairs(CDC& dc, int x, int y, int right, int row, const CStringArray& labels, const CStringArray& values);
};
