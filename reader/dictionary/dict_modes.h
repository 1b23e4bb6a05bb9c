// CDictModes: the dictionary screen's nine modes (dict::Mode): the mode the
// screen is in, the mode commands of the buttons and the menu with their
// check marks, and what a switch does: the mode buttons' states, the
// controls and panels each mode shows, the shared window that takes the left
// column in modes 5 to 8.
#pragma once

#include "dictionary/dict_logic.h"
#include "dictionary/dict_part.h"

class CDictModes : public CDictPart {
 public:
  using CDictPart::CDictPart;

  // The mode the screen is in; the dictionary mode at the start.
  int Mode() const { return m_mode; }
  // The buttons and controls of the mode (at the start).
  void Apply();
  // Modes 0 to 4: the word modes with their panels.
  void Switch(int mode);
  // Modes 5 to 8: the left column is the shared window's; the word controls
  // go. A window already open is refreshed (contents, bookmarks) or left alone.
  void SwitchShared(int mode);

  // The modes' buttons and menu items, by the mode table.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 private:
  void ApplyButtons();
  void ShowControls();

  int m_mode = dict::kDictionary;
};
