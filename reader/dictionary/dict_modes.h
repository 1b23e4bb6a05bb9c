// CDictModes: the dictionary screen's nine modes (dict::Mode): the mode
// commands of the buttons and the menu with their check marks, and what a
// switch does: the mode buttons' states, the controls and panels each mode
// shows, the shared window that takes the left column in modes 5 to 8. The
// mode itself is the view's (CDict::GetMode).
#pragma once

#include "dictionary/dict_part.h"

class CDictModes : public CDictPart {
 public:
  using CDictPart::CDictPart;

  // The buttons and controls of the view's mode (at the start).
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
};
