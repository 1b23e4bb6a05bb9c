// CDictPanels: the dictionary screen's floating word-list panels (headwords,
// synonyms, spelling alternatives and word searches, tenses, pronunciation
// key) as one set. They share the left column's places R0 to R5, and which
// place each open panel takes depends on the others (dict::PlacePanels), so
// the set opens, closes, places and fills them together. The view owns the
// set and the layout it reads.
#pragma once

#include "dictionary/dict_logic.h"
#include "dictionary/word_list_dlg.h"
#include "framework.h"

class CDictPanels {
 public:
  // The panels open over `owner`, at the places of `layout` (the view's,
  // read at every call).
  CDictPanels(CWnd& owner, const dict::ScreenLayout& layout) : m_owner(owner), m_layout(layout) {}
  CDictPanels(const CDictPanels&) = delete;
  CDictPanels& operator=(const CDictPanels&) = delete;

  // The panel of a dict::Panel.
  CWordListDlg& Of(int panel);
  BOOL IsOpen(int panel) { return Of(panel).IsOpen(); }
  // Opens one panel in a panel mode at its place beside the open ones (moved
  // there as well); `lift` raises it by that many pixels. FALSE when the
  // panel cannot be made.
  BOOL Open(int panel, int panelMode, int lift = 0);
  void Close(int panel);
  void CloseAll();
  // Moves every open panel to its place (after a resize or a panel closed).
  void PlaceOpen();
  // Opens the panels of a screen mode (none in modes 5 to 8).
  void OpenForMode(int mode);
  // The key panel gives the column back to the mode's panels.
  void CloseKey(int mode);
  // Fills a panel's list (with item data when given), selects its first line
  // and gives it the focus.
  void Fill(int panel, const CStringArray& lines, const CDWordArray* data);

 private:
  CRect PlaceRect(int index) const;
  int Arrange(const bool open[dict::kPanelCount], int skip);

  CWnd& m_owner;
  const dict::ScreenLayout& m_layout;
  CWordListDlg m_panels[dict::kPanelCount];
};
