#include "app/veldrix_doc.h"

#include "app/main_frame.h"
#include "app/veldrix_app.h"

IMPLEMENT_DYNCREATE(CVeldrixDoc, CDocument)

BOOL CVeldrixDoc::SaveModified() {
  CMainFrame* frame = GetVeldrixApp().GetMainFrame();
  // The updater asked for the close: no question.
  if (!frame || !frame->IsCloseRequested()) {
    if (AfxMessageBox("Exit the Marovan & World Encyclopedia?", MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
  }
  const BOOL saved = frame ? frame->SaveBookmarks() : GetVeldrixApp().SaveBookmarks();
  if (!saved) AfxMessageBox("Failed to save the bookmarks.", MB_ICONEXCLAMATION | MB_OK);
  return TRUE;
}
