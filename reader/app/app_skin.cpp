// What the skinned controls ask of the application (CSkinEnvironment): the
// active screen, the media screen's picture palette, the Preferences dialog,
// bookmark folders and the category lists.
#include "app/main_frame.h"
#include "app/prefs_dlg.h"
#include "app/veldrix_app.h"
#include "media/gallery/picture_view.h"

int CVeldrixApp::GetActiveSkin() {
  CMainFrame* frame = GetMainFrame();
  const auto* screen = frame ? dynamic_cast<const ReaderScreen*>(frame->GetActiveView()) : nullptr;
  return ScreenInfo(screen ? screen->GetScreenKind() : Screen::Browser).skin;
}

HWND CVeldrixApp::GetActiveViewWindow() {
  CMainFrame* frame = GetMainFrame();
  CView* view = frame ? frame->GetActiveView() : nullptr;
  return view ? view->m_hWnd : nullptr;
}

CPalette* CVeldrixApp::GetMediaPicturePalette() {
  CMainFrame* frame = GetMainFrame();
  auto* media = frame ? dynamic_cast<CViewPicture*>(frame->GetActiveView()) : nullptr;
  return media ? media->GetPalette() : nullptr;
}

BOOL CVeldrixApp::IsPreferencesDialog(CWnd* window) {
  if (!window) return FALSE;
  return dynamic_cast<CPrefs*>(CWnd::FromHandlePermanent(window->m_hWnd)) != nullptr;
}

BOOL CVeldrixApp::ReadCategories(int variant, CCategoryList& list) {
  CContentDb& main = GetDatabase(1);
  return (variant == 1 ? main.ReadCategories(list) : main.ReadContextCategories(list)) ? TRUE : FALSE;
}
