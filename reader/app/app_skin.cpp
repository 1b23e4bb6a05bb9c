// What the skinned controls ask of the application (CSkinEnvironment): the
// active screen, the media screen's picture palette, the Preferences dialog,
// bookmark folders and the category lists.
#include "app/main_frame.h"
#include "app/prefs_dlg.h"
#include "app/veldrix_app.h"
#include "browser/browser.h"
#include "dictionary/dict_view.h"
#include "media/gallery/picture_view.h"
#include "media/timeline/timeline_view.h"

SkinView CVeldrixApp::GetActiveViewKind() {
  CMainFrame* frame = GetMainFrame();
  CView* view = frame ? frame->GetActiveView() : nullptr;
  if (!view) return SkinView::Other;
  if (view->IsKindOf(RUNTIME_CLASS(CBrowser))) return SkinView::Encyclopedia;
  if (view->IsKindOf(RUNTIME_CLASS(CDict))) return SkinView::Dictionary;
  if (view->IsKindOf(RUNTIME_CLASS(CViewPicture))) return SkinView::Media;
  if (view->IsKindOf(RUNTIME_CLASS(CTimeLine))) return SkinView::Timeline;
  return SkinView::Other;
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
