// CDictFocusRing: Next Pane and Previous Pane on the dictionary screen. The
// focus goes round the screen itself and the windows open over it: the first
// open shared window, else the key or Tenses panel, else the open word-list
// panels. The commands are enabled while the focus is on the screen.
#pragma once

#include "dictionary/dict_part.h"

class CDictFocusRing : public CDictPart {
 public:
  using CDictPart::CDictPart;

 protected:
  void OnNext();
  void OnPrevious();
  void OnUpdate(CCmdUI* cmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  // Moves the focus to the next (or previous) window of the ring.
  void Cycle(BOOL forward);
};
