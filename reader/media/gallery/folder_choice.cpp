// Filing in folders asks the user for a folder through the bookmark
// windows' folder dialog, which belongs to the encyclopedia screen's panels.
#include "core/reader_context.h"
#include "panels/folder_dlgs.h"

// TRUE with the chosen folder's index after OK; FALSE (nothing is filed)
// after Cancel or without a valid choice.
BOOL ChooseBookmarkFolder(CWnd* owner, int& folder) {
  folder = -1;
  CNewFolderDlg chooser(owner);
  if (chooser.DoModal() != IDOK) return FALSE;
  if (chooser.m_selection < 0 || chooser.m_selection >= Reader().m_folders.GetSize()) return FALSE;
  folder = chooser.m_selection;
  return TRUE;
}
