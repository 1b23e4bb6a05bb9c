#include "app/main_frame.h"

#include <ctime>
#include <iterator>
#include <string>

#include "app/prefs_dlg.h"
#include "app/veldrix_app.h"
#include "browser/browser.h"
#include "controls/skin_environment.h"
#include "core/background_links.h"
#include "core/reader_messages.h"
#include "core/sound_engine.h"
#include "dictionary/dict_view.h"
#include "display/display.h"
#include "home/splash_view.h"
#include "media/gallery/picture_view.h"
#include "media/quiz/quiz_view.h"
#include "media/timeline/timeline_view.h"
#include "panels/command_routing.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"
#include "settings/settings.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_GETMINMAXINFO()
ON_WM_NCACTIVATE()
ON_WM_ERASEBKGND()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_MESSAGE(WM_RAUDIONOTIFY, OnSoundNotify)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_UPDATECLOSE, OnUpdateClose)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_COMMAND(ID_GO_HOME, OnGoHome)
ON_COMMAND(ID_PREFERENCES, ShowPreferences)
ON_COMMAND(ID_SHOW_BACKGROUND, OnShowBackground)
ON_UPDATE_COMMAND_UI(ID_SHOW_BACKGROUND, OnUpdateShowBackground)
ON_COMMAND(ID_INTERNET_UPDATES, OnInternetUpdates)
ON_COMMAND(ID_NEXT_SCREEN, OnNextScreen)
ON_COMMAND(ID_PREVIOUS_SCREEN, OnPreviousScreen)
ON_UPDATE_COMMAND_UI(ID_NEXT_SCREEN, OnUpdateScreenCycle)
ON_UPDATE_COMMAND_UI(ID_PREVIOUS_SCREEN, OnUpdateScreenCycle)
END_MESSAGE_MAP()

CRuntimeClass* ScreenViewClass(Screen screen) {
  switch (screen) {
    case Screen::Browser: return RUNTIME_CLASS(CBrowser);
    case Screen::Dictionary: return RUNTIME_CLASS(CDict);
    case Screen::Quiz: return RUNTIME_CLASS(CQuiz);
    case Screen::Timeline: return RUNTIME_CLASS(CTimeLine);
    case Screen::Media: return RUNTIME_CLASS(CViewPicture);
    default: return RUNTIME_CLASS(CSplash);
  }
}

namespace {

ProgramLauncher g_launcher = nullptr;

constexpr int RandomPictureSeconds = 60;

}  // namespace

void SetProgramLauncher(ProgramLauncher launcher) { g_launcher = launcher; }

CMainFrame::CMainFrame() : ToolPanelHost(static_cast<ReaderShell&>(*this)) {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~FWS_ADDTOTITLE;  // the title is the program's name alone
  cs.dwExStyle = 0;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
  m_hFrameMenu = ::GetMenu(m_hWnd);
  m_screens[static_cast<int>(Screen::Home)] = GetActiveView();
  if (!m_screens[0]) m_screens[0] = static_cast<CView*>(GetDlgItem(AFX_IDW_PANE_FIRST));

  // The sound engine; without it the program runs silent.
  CVeldrixApp& app = GetVeldrixApp();
  HINSTANCE instance = AfxGetInstanceHandle();
  SoundEngine& sound = TheSoundEngine();
  if (sound.Setup(&instance, &m_sound) != 0 || sound.RegisterNotifyWnd(m_sound, m_hWnd, WM_RAUDIONOTIFY) != 0) {
    if (m_sound) sound.Shutdown(m_sound);
    m_sound = 0;
    AfxMessageBox("Real Audio initialization failed.\r\nThe sounds will not be available.", MB_ICONEXCLAMATION | MB_OK);
  }

  MoveWindow(0, 0, 640, 480);
  CenterWindow();

  if (!app.LoadBookmarks()) {
    AfxMessageBox("Failed to load the bookmarks.", MB_ICONEXCLAMATION | MB_OK);
    app.ResetBookmarks();
  }
  if (app.m_loadingDlg.m_hWnd) app.m_loadingDlg.DestroyWindow();
  return 0;
}

void CMainFrame::OnDestroy() {
  if (m_sound) TheSoundEngine().Shutdown(m_sound);
  m_sound = 0;
  // The window destroys the menu it holds: give it back its own, the
  // screens destroy theirs.
  if (m_hFrameMenu) ::SetMenu(m_hWnd, m_hFrameMenu);
  CFrameWnd::OnDestroy();
}

BOOL CMainFrame::CheckMedia(Screen screen) {
  CVeldrixApp& app = GetVeldrixApp();
  const bool timeline = screen == Screen::Timeline;
  if (!app.m_bMediaAvailable) {
    AfxMessageBox(timeline
                      ? "Kinora for Windows is not installed on your system.\r\nTimeline will be unavailable until "
                        "Kinora for Windows is installed."
                      : "Kinora for Windows is not installed on your system.\r\nMultimedia will be unavailable "
                        "until Kinora for Windows is installed.",
                  MB_OK);
    return FALSE;
  }
  while (!app.GetDatabase(1).OpenMediaData()) {
    const char* text = timeline ? "The Marovan & World Encyclopedia CD-ROM could not be located in your CD-ROM "
                                  "drive.\r\nTimeline will be unavailable until The Marovan & World Encyclopedia "
                                  "CD-ROM has been inserted into your CD-ROM drive."
                                : "The Marovan Encyclopedia CD-ROM could not be located in your CD-ROM "
                                  "drive.\r\nMultimedia will be unavailable until The Marovan Encyclopedia CD-ROM "
                                  "has been inserted into your CD-ROM drive.";
    if (AfxMessageBox(text, MB_RETRYCANCEL | MB_ICONSTOP) != IDRETRY) return FALSE;
  }
  return TRUE;
}

CView* CMainFrame::CreateScreen(Screen screen) {
  const ScreenEntry& info = ScreenInfo(screen);
  CRuntimeClass* viewClass = ScreenViewClass(screen);
  CObject* made = viewClass->CreateObject();
  CView* view = made ? static_cast<CView*>(made) : nullptr;
  const bool media = screen == Screen::Media;
  if (media) {
    // While the media screen is made the frame shows black.
    m_bCreatingMedia = TRUE;
    if (CView* active = GetActiveView()) active->ShowWindow(SW_HIDE);
  }
  CCreateContext context;
  context.m_pCurrentDoc = GetActiveDocument();
  context.m_pNewViewClass = viewClass;
  const DWORD style = WS_CHILD | (media ? WS_CLIPCHILDREN : 0);
  if (!view || !view->Create(nullptr, nullptr, style, CRect(0, 0, 0, 0), this, info.childId, &context)) {
    m_bCreatingMedia = FALSE;
    if (media)
      if (CView* active = GetActiveView()) active->ShowWindow(SW_SHOW);
    AfxMessageBox(info.failure, MB_OK);
    return nullptr;
  }
  m_screens[static_cast<int>(screen)] = view;
  view->SendMessage(WM_INITIALUPDATE);
  m_bCreatingMedia = FALSE;
  return view;
}

void CMainFrame::ChangeBackground() {
  CVeldrixApp& app = GetVeldrixApp();
  const time_t now = time(nullptr);
  if (!app.m_bMediaAvailable || app.m_randomPictures.GetSize() == 0 ||
      now - app.m_lastPictureTime < RandomPictureSeconds || !app.GetDatabase(1).OpenMediaData())
    return;
  app.m_lastPictureTime = now;
  const int count = app.m_randomPictures.GetSize();
  const int pick = ::MulDiv(rand(), count - 1, 0x7FFF);
  const int article = app.ToInternalArticle(static_cast<int>(app.m_randomPictures[pick < 0 ? 0 : pick]));
  const int record = app.m_multBits.IndexOf(article);
  if (record < 0) return;
  // The old picture stays until the new one is decoded.
  CString caption;
  CBitmap picture;
  CPalette palette;
  if (!app.GetDatabase(1).LoadPicture(static_cast<UINT>(record), caption, picture, palette, &app.m_palette, nullptr,
                                      nullptr, nullptr, nullptr))
    return;
  app.m_backgroundBitmap.DeleteObject();
  app.m_backgroundBitmap.Attach(picture.Detach());
  BITMAP size = {};
  app.m_backgroundBitmap.GetBitmap(&size);
  app.m_backgroundWidth = size.bmWidth;
  app.m_backgroundHeight = size.bmHeight;
  m_backgroundRecord = record;
}

BOOL CMainFrame::ShowScreen(Screen screen) {
  if (ScreenInfo(screen).needsMedia && !CheckMedia(screen)) return FALSE;
  CView* view = GetScreen(screen);
  if (!view && !(view = CreateScreen(screen))) return FALSE;
  if (GetActiveView() == view) return TRUE;
  SaveSearchState();
  CWaitCursor wait;
  if (ScreenInfo(screen).changesBackground) ChangeBackground();
  SetActiveView(view);
  RecalcLayout();
  ReopenPanels(view);
  return TRUE;
}

BOOL CMainFrame::ShowItem(Screen screen, int item) {
  if (!ShowScreen(screen)) return FALSE;
  auto* target = dynamic_cast<ItemScreen*>(GetScreen(screen));
  if (target == nullptr) return FALSE;
  target->ShowItem(item);
  return TRUE;
}

void CMainFrame::CycleScreen(BOOL forward) {
  constexpr int count = static_cast<int>(std::size(kScreenCycle));
  CView* active = GetActiveView();
  if (!active || active == GetScreen(Screen::Home)) return;
  for (int i = 0; i < count; ++i)
    if (GetScreen(kScreenCycle[i]) == active) {
      ShowScreen(kScreenCycle[(i + (forward ? 1 : count - 1)) % count]);
      return;
    }
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  for (int i = 0; nCode == CN_COMMAND && nID != 0 && i < ScreenCount; ++i) {
    const Screen screen = static_cast<Screen>(i);
    if (ScreenInfo(screen).showCommand != nID) continue;
    // Asked only whether the command has a handler (the menus enable it).
    if (panels::AnswerHandlerQuery(this, pHandlerInfo)) return TRUE;
    ShowScreen(screen);
    return TRUE;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::OnNextScreen() { CycleScreen(TRUE); }
void CMainFrame::OnPreviousScreen() { CycleScreen(FALSE); }

void CMainFrame::OnUpdateScreenCycle(CCmdUI* pCmdUI) {
  pCmdUI->Enable(GetActiveView() != nullptr && GetActiveView() != GetScreen(Screen::Home));
}

void CMainFrame::OnGoHome() {
  SaveSearchState();
  CView* home = GetScreen(Screen::Home);
  if (home && GetActiveView() != home) {
    SetActiveView(home);
    RecalcLayout();
  }
}

void CMainFrame::ShowPreferences() {
  CPrefs prefs(this);
  prefs.DoModal();
}

BOOL CMainFrame::AskTextFileName(CString& path) {
  CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text Files (*.txt)|*.txt||", this);
  if (dialog.DoModal() != IDOK) return FALSE;
  path = dialog.GetPathName();
  return TRUE;
}

void CMainFrame::LookUpWord(const CString& word) {
  CloseContentsWindows();
  CloseResultsWindows();
  CloseBookmarkWindows();
  if (!ShowDictionary()) return;
  if (auto* dictionary = dynamic_cast<CDict*>(GetScreen(Screen::Dictionary))) {
    dictionary->OnDictionaryMode();
    dictionary->LookUpWord(word, 1, -1, nullptr);
  }
}

void CMainFrame::AddQueryToHistory(const CBitString& set, const CString& text, int kind, const CStringArray* terms,
                                   BOOL plain) {
  OpenNewResults();
  m_queries.Add(set, text, kind, terms, plain);
}

void CMainFrame::RecallQuery(int steps) {
  if (steps < 1 || steps > m_queries.GetHistoryCount()) return;
  OpenNewResults();
  m_queries.Recall(steps);
  if (CView* active = GetActiveView()) active->PostMessage(WM_SHOWRESULTS, 1, 0);
}

BOOL CMainFrame::SaveBookmarks() {
  for (CView* view : m_screens)
    if (auto* screen = dynamic_cast<ReaderScreen*>(view)) screen->StoreAnnotations();
  return GetVeldrixApp().SaveBookmarks();
}

BOOL CMainFrame::PlaySound(const char* file) {
  if (!m_sound) return FALSE;
  SoundEngine& sound = TheSoundEngine();
  if (!file) {
    sound.Close(m_sound);
    return FALSE;
  }
  // The engine's start notification ends the wait cursor; a sound that does
  // not start ends it here.
  AfxGetApp()->DoWaitCursor(1);
  if (sound.Open(m_sound, file) != 0 || sound.Begin(m_sound) != 0) {
    AfxGetApp()->DoWaitCursor(-1);
    return FALSE;
  }
  return TRUE;
}

LRESULT CMainFrame::OnSoundNotify(WPARAM wParam, LPARAM) {
  if (wParam == SoundStarted) {
    AfxGetApp()->DoWaitCursor(-1);
  } else if (wParam == SoundEnded) {
    // The end turns the media screen's sound back to stopped; its sound
    // command would start the item's sound when none of its own plays.
    auto* media = dynamic_cast<CViewPicture*>(GetScreen(Screen::Media));
    if (media && media->IsSoundPlaying()) media->OnSound();
  }
  return 0;
}

LRESULT CMainFrame::OnBitsChanged(WPARAM wParam, LPARAM lParam) {
  for (CView* view : m_screens)
    if (view != nullptr) view->PostMessage(WM_BITSCHANGED, wParam, lParam);
  return 0;
}

void CMainFrame::ColoursChanged() {
  for (CView* view : m_screens)
    if (CDisplay* display = DisplayOf(view)) display->SendMessage(WM_COLOURSCHANGED);
}

void CMainFrame::FontsChanged() {
  for (CView* view : m_screens)
    if (view != nullptr) view->SendMessage(WM_FONTSCHANGED);
}

BOOL CMainFrame::PicturePaletteActive() const { return dynamic_cast<PaletteScreen*>(GetActiveView()) != nullptr; }

LRESULT CMainFrame::OnUpdateClose(WPARAM, LPARAM) {
  m_bCloseRequested = TRUE;
  PostMessage(WM_CLOSE);
  return 0;
}

LRESULT CMainFrame::OnShowResults(WPARAM wParam, LPARAM lParam) {
  return SendToActiveView(WM_SHOWRESULTS, wParam, lParam);
}

LRESULT CMainFrame::OnShowContents(WPARAM wParam, LPARAM lParam) {
  return SendToActiveView(WM_SHOWCONTENTS, wParam, lParam);
}

LRESULT CMainFrame::OnShowBookmarks(WPARAM wParam, LPARAM lParam) {
  return SendToActiveView(WM_SHOWBOOKMARKS, wParam, lParam);
}

LRESULT CMainFrame::SendToActiveView(UINT message, WPARAM wParam, LPARAM lParam) {
  CView* active = GetActiveView();
  return active ? active->SendMessage(message, wParam, lParam) : 0;
}

void CMainFrame::OnUpdateShowBackground(CCmdUI* pCmdUI) { pCmdUI->Enable(m_backgroundRecord >= 0); }

void CMainFrame::OnShowBackground() {
  if (m_backgroundRecord < 0) return;
  CWaitCursor wait;
  u16 item = 0;
  const BackgroundLink link =
      FindBackgroundItem(WorkingPath("Back.bin").c_str(), static_cast<u16>(m_backgroundRecord), &item);
  if (link == BackgroundLink::FileMissing) {
    AfxMessageBox("Unable to open the file Back.bin.", MB_OK | MB_ICONSTOP);
    return;
  }
  if (link != BackgroundLink::Found) return;  // the picture has no media item to show
  ShowItem(Screen::Media, item);
}

void CMainFrame::OnInternetUpdates() {
  char directory[200] = "";
  GetSettingString(InstallationOptions, "WorkingDirectory", "", directory, sizeof directory, SettingsIniName);
  if (!directory[0]) {
    AfxMessageBox(
        "You cannot download the Internet Updates because\r\nThe Marovan & World Encyclopedia is not "
        "installed on your hard disk.\r\nPlease install The Marovan & World Encyclopedia on your hard "
        "disk\r\nand then try again.",
        MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  if (AfxMessageBox("If your computer is connected to the Internet, you can automatically download updated "
                    "Encyclopedia articles and multimedia. Would you like to proceed?",
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  const char* sockets = "WSOCK32.DLL";
  HMODULE probe = ::LoadLibraryA(sockets);
  if (!probe) {
    AfxMessageBox(CString("Could not find ") + sockets +
                      " This could mean that your computer is not set up to access the Internet. Please contact "
                      "your Internet Service Provider for further assistance.",
                  MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  ::FreeLibrary(probe);
  // The updater installs into its current directory: make that the working
  // directory again, whatever a file dialog has made current since start-up.
  if (!::SetCurrentDirectoryA(directory)) {
    CString text;
    text.Format("Error %lu: Could not start Internet Updater.", static_cast<unsigned long>(::GetLastError()));
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  const UINT started =
      g_launcher ? g_launcher("REFRESH32.EXE", SW_SHOWNORMAL) : ::WinExec("REFRESH32.EXE", SW_SHOWNORMAL);
  if (started <= 31) {
    CString text;
    text.Format("Error %u: Could not start Internet Updater.", started);
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK);
  }
}

BOOL CMainFrame::OnQueryNewPalette() {
  CVeldrixApp& app = GetVeldrixApp();
  CPalette* palette = &app.m_palette;
  auto* media = dynamic_cast<CViewPicture*>(GetScreen(Screen::Media));
  if (media && GetActiveView() == media && media->GetPalette()) palette = media->GetPalette();
  if (!palette->m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, FALSE);
  if (changed) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
  return changed != 0;
}

void CMainFrame::OnPaletteChanged(CWnd* pFocusWnd) {
  if (pFocusWnd && (pFocusWnd->m_hWnd == m_hWnd || ::IsChild(m_hWnd, pFocusWnd->m_hWnd))) return;
  OnQueryNewPalette();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  CFrameWnd::OnGetMinMaxInfo(lpMMI);
  lpMMI->ptMinTrackSize.x = 640;
  lpMMI->ptMinTrackSize.y = 480;
}

BOOL CMainFrame::OnNcActivate(BOOL bActive) {
  // The media screen's floating picture (or movie) window has a caption of
  // its own, which follows the frame's active state.
  auto* media = dynamic_cast<CViewPicture*>(GetScreen(Screen::Media));
  if (media && GetActiveView() == media && media->GetMediaFrame().GetSafeHwnd()) {
    if (CWnd* floating = media->GetMediaFrame().GetDlgItem(IDC_MEDIA_WINDOW))
      floating->SendMessage(WM_NCACTIVATE, bActive);
  }
  return CFrameWnd::OnNcActivate(bActive);
}

BOOL CMainFrame::OnEraseBkgnd(CDC* pDC) {
  CView* active = GetActiveView();
  if (m_bCreatingMedia && (!active || !active->IsWindowVisible())) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0, 0, 0));
    return TRUE;
  }
  return CFrameWnd::OnEraseBkgnd(pDC);
}

void CMainFrame::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU) {
    CFrameWnd::OnMeasureItem(nIDCtl, item);
    return;
  }
  CVeldrixApp& app = GetVeldrixApp();
  // Bookmark menus carry the article, or 200000 + the folder for a folder's
  // pop-up, as item data (a pop-up's id is its menu handle).
  const UINT data = static_cast<UINT>(item->itemData);
  CString text;
  UINT icon = 1174;
  if (data >= ReaderBookmarks::MenuFolderBase) {
    const int folder = static_cast<int>(data - ReaderBookmarks::MenuFolderBase);
    if (folder < app.m_folders.GetSize()) text = static_cast<CFolder*>(app.m_folders[folder])->m_name;
    icon = 6047;
  } else {
    char title[TitleBufferSize] = "";
    app.LookupTitle(static_cast<int>(data), title);
    text = title;
  }
  CClientDC dc(this);
  CFont* old = dc.SelectObject(app.GetFont(FontList));
  const CSize extent = dc.GetTextExtent(text, text.GetLength());
  dc.SelectObject(old);
  CBitmap bitmap;
  BITMAP size = {};
  if (bitmap.LoadBitmap(icon)) bitmap.GetBitmap(&size);
  item->itemWidth = static_cast<UINT>(extent.cx + size.bmWidth + 8);
  item->itemHeight = static_cast<UINT>((extent.cy > size.bmHeight ? extent.cy : size.bmHeight) + 2);
}

void CMainFrame::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item) {
  if (item->CtlType != ODT_MENU) {
    CFrameWnd::OnDrawItem(nIDCtl, item);
    return;
  }
  CVeldrixApp& app = GetVeldrixApp();
  CDC* dc = CDC::FromHandle(item->hDC);
  const UINT data = static_cast<UINT>(item->itemData);
  CString text;
  UINT image = 6046, mask = 6047;
  if (data >= ReaderBookmarks::MenuFolderBase) {
    const int folder = static_cast<int>(data - ReaderBookmarks::MenuFolderBase);
    if (folder < app.m_folders.GetSize()) text = static_cast<CFolder*>(app.m_folders[folder])->m_name;
  } else {
    char title[TitleBufferSize] = "";
    app.LookupTitle(static_cast<int>(data), title);
    text = title;
    if (!app.GetArticleIcons(static_cast<int>(data), &image, &mask)) image = mask = 0;
  }
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  dc->FillSolidRect(&item->rcItem, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  CSize icon(0, 0);
  if (image) app.DrawTransparent(&icon, dc, image, mask, item->rcItem.left + 2, item->rcItem.top + 1, 0);
  CRect textRect = item->rcItem;
  textRect.left += 2 + icon.cx + 8;
  CFont* old = dc->SelectObject(app.GetFont(FontList));
  dc->SetBkMode(TRANSPARENT);
  dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc->SelectObject(old);
}
