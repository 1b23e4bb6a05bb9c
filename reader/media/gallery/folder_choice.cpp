// Filing in folders asks the user for a folder through the bookmark
// windows' folder dialog, which belongs to the encyclopedia screen's panels.
#include "framework.h"

// FALSE (nothing is filed) until the folder dialog is part of the program;
// with it, TRUE and the chosen folder's index after OK.
BOOL ChooseBookmarkFolder(CWnd* owner, int& folder) {
  (void)owner;
  folder = -1;
  return FALSE;
}
