// The fourteen media and source filter toggles that the results and the
// contents windows share: their buttons in the owner kind's bitmaps, their
// two rows along the window's bottom with the row captions, and the article
// sets of the application that each stands for.
#pragma once

#include "controls/od_button.h"
#include "search/search_filter.h"

class ReaderContext;

class CFilterToggles {
 public:
  // The toggles' style: up, down, focus, disabled and checked frames.
  static constexpr WORD kToggleStyle = 187;
  static constexpr int kRowGap = 20;
  static constexpr int kBottomGap = 3;

  // Makes the buttons in `parent` with the bitmaps of owner kind 0 to 3.
  BOOL Create(CWnd* parent, int kind);
  // Places the media row 3 pixels above the bottom and the source row 20
  // pixels above it, both from x 3; returns the source row's top.
  int Layout(const CRect& client);
  int SourceTop() const { return m_sourceTop; }
  int MediaTop() const { return m_mediaTop; }
  void SetChecked(const BOOL (&checked)[search::kToggleCount]);
  void GetChecked(BOOL (&checked)[search::kToggleCount]) const;
  // Flips the toggle of that control id; FALSE when it is not one.
  BOOL Flip(UINT id);
  CODButton& Button(int index) { return m_buttons[index]; }
  // Paints the captions above both rows on the band brush.
  void PaintCaptions(CDC& dc, int bandBrush, const char* sourceCaption, const char* mediaCaption);

  // The application's sets of each toggle.
  static void SetsOf(ReaderContext& app, search::ToggleSets (&sets)[search::kToggleCount]);

 private:
  CODButton m_buttons[search::kToggleCount];
  int m_sourceTop = 0;
  int m_mediaTop = 0;
};
