// CMainFrame: the one top-level window, titled "The Marovan & World
// Encyclopedia". It holds the six screens as child views (home, encyclopedia,
// dictionary, quiz, timeline, media), makes each on first use and switches
// between them, keeps the query history and the search state across switches,
// changes the background picture now and then, owns the sound engine, starts
// the updater and relays the program's private messages to the screens.
#pragma once

#include "core/reader_look.h"
#include "core/reader_shell.h"
#include "framework.h"
#include "panels/tool_panel_host.h"

// How the frame starts the updater program: WinExec, unless a test puts its
// own in its place (null goes back to WinExec).
using ProgramLauncher = UINT (*)(LPCSTR commandLine, UINT show);
void SetProgramLauncher(ProgramLauncher launcher);

// The view class of a screen: the one place the shell names them.
CRuntimeClass* ScreenViewClass(Screen screen);

class CMainFrame : public CFrameWnd, public ReaderShell, public ToolPanelHost, public LookWindows {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();

  // ReaderShell: the screens.
  BOOL ShowScreen(Screen screen) override;
  BOOL ShowItem(Screen screen, int item) override;
  CView* GetScreen(Screen screen) const override { return m_screens[static_cast<int>(screen)]; }
  CView* GetActiveScreen() const override { return GetActiveView(); }
  void LookUpWord(const CString& word) override;
  BOOL PlaySound(const char* file) override;
  void ShowPreferences() override;
  BOOL AskTextFileName(CString& path) override;
  BOOL SaveBookmarks() override;
  BOOL ShowBrowser() { return ShowScreen(Screen::Browser); }
  BOOL ShowDictionary() { return ShowScreen(Screen::Dictionary); }
  BOOL ShowQuiz() { return ShowScreen(Screen::Quiz); }
  BOOL ShowTimeline() { return ShowScreen(Screen::Timeline); }
  BOOL ShowMedia() { return ShowScreen(Screen::Media); }
  // The next or previous screen of the cycle (kScreenCycle); nothing while
  // the home screen is active.
  void CycleScreen(BOOL forward);

  // LookWindows: the screens hear of new colours and fonts.
  void ColoursChanged() override;
  void FontsChanged() override;
  BOOL PicturePaletteActive() const override;

  // ReaderShell: the queries.
  QuerySession& Queries() override { return m_queries; }
  void AddQueryToHistory(const CBitString& set, const CString& text, int kind, const CStringArray* terms,
                         BOOL plain) override;
  void RecallQuery(int steps) override;

  BOOL IsCloseRequested() const { return m_bCloseRequested; }
  DWORD GetSoundHandle() const { return m_sound; }
  int GetBackgroundRecord() const { return m_backgroundRecord; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // The screens' Show commands (ScreenEntry::showCommand) before the routing.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnDestroy();
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  BOOL OnNcActivate(BOOL bActive);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  LRESULT OnSoundNotify(WPARAM wParam, LPARAM lParam);
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnUpdateClose(WPARAM wParam, LPARAM lParam);
  // The search windows post the contents, bookmark list and results
  // requests here; the active screen opens its own window.
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT SendToActiveView(UINT message, WPARAM wParam, LPARAM lParam);
  void OnGoHome();
  void OnShowBackground();
  void OnUpdateShowBackground(CCmdUI* pCmdUI);
  void OnInternetUpdates();
  void OnNextScreen();
  void OnPreviousScreen();
  void OnUpdateScreenCycle(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  // The media checks of the timeline and media screens; FALSE when the
  // screen cannot be shown now.
  BOOL CheckMedia(Screen screen);
  CView* CreateScreen(Screen screen);
  // A random picture of the pool becomes the background, at most once a minute.
  void ChangeBackground();

  CView* m_screens[ScreenCount] = {};
  DWORD m_sound = 0;
  QuerySession m_queries;
  BOOL m_bCloseRequested = FALSE;
  BOOL m_bCreatingMedia = FALSE;
  int m_backgroundRecord = -1;  // media record of the background picture; -1 none
  HMENU m_hFrameMenu = nullptr;
};
