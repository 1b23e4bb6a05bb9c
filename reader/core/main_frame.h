// CMainFrame: the one top-level window, titled "The Marovan & World
// Encyclopedia". It holds the six screens as child views (home, encyclopedia,
// dictionary, quiz, timeline, media), makes each on first use and switches
// between them, keeps the query history and the search state across switches,
// changes the background picture now and then, owns the sound engine, starts
// the updater and relays the program's private messages to the screens.
#pragma once

#include "framework.h"
#include "query_history.h"
#include "reader_screen.h"
#include "reader_shell.h"

// How the frame starts the updater program: WinExec, unless a test puts its
// own in its place (null goes back to WinExec).
using ProgramLauncher = UINT (*)(LPCSTR commandLine, UINT show);
void SetProgramLauncher(ProgramLauncher launcher);

class CMainFrame : public CFrameWnd, public ReaderShell {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame();

  // Makes the screen the active view (creating it on first use); FALSE after
  // its own message when it cannot be shown.
  BOOL ShowScreen(Screen screen);
  BOOL ShowBrowser() { return ShowScreen(Screen::Browser); }
  BOOL ShowDictionary() { return ShowScreen(Screen::Dictionary); }
  BOOL ShowQuiz() { return ShowScreen(Screen::Quiz); }
  BOOL ShowTimeline() { return ShowScreen(Screen::Timeline); }
  BOOL ShowMedia() { return ShowScreen(Screen::Media); }
  // ReaderShell
  CView* GetScreen(Screen screen) const override { return m_screens[static_cast<int>(screen)]; }
  CView* GetActiveScreen() const override { return GetActiveView(); }
  // The next or previous screen of the cycle encyclopedia, dictionary, media,
  // timeline, quiz; nothing while the home screen is active.
  void CycleScreen(BOOL forward);

  // The search state of the active screen's panels, kept across switches.
  void SaveSearchState();
  SearchState& GetSearchState() { return m_searchState; }
  void CloseResultsWindows();
  void CloseContentsWindows();
  void CloseBookmarkWindows();
  void SetContentsOpen();
  void SetBookmarksOpen();
  BOOL IsResultsOpen() const { return m_bResultsOpen; }
  BOOL IsContentsOpen() const { return m_bContentsOpen; }
  BOOL IsBookmarksOpen() const { return m_bBookmarksOpen; }

  // Closes the panels, shows the dictionary and looks the word up there.
  void LookUpWord(const CString& word);

  // The query becomes the current one and the newest entry of the history
  // (QuerySession::Add), and its results window is to open at its top.
  // `terms` may be null.
  void AddQueryToHistory(const CBitString& set, const CString& text, int kind, const CStringArray* terms, BOOL plain);
  // Runs the entry `steps` back (1 = newest) again.
  void RecallQuery(int steps);
  QuerySession& Queries() { return m_queries; }

  // The screens store their notes and highlights, then Bookmark.dat is written.
  BOOL SaveBookmarks();
  // Refills a screen's Bookmark menu from the folders: `menu` keeps its first
  // `fixedItems` items; when folders exist a separator follows, then one
  // owner-drawn pop-up per folder (at most ten; greyed when empty) of at most
  // ten owner-drawn articles, command `firstId` + 10 x folder + item, and
  // "more" (`moreId`) after a longer folder and after the tenth folder. The
  // frame draws the items: an article carries its number, a folder's pop-up
  // 200000 + the folder.
  static void FillBookmarkMenu(CMenu& menu, int fixedItems, UINT firstId, UINT moreId);
  // Plays a sound file, or stops the sound with null. TRUE when a sound started.
  BOOL PlaySound(const char* file);
  BOOL IsCloseRequested() const { return m_bCloseRequested; }
  DWORD GetSoundHandle() const { return m_sound; }
  int GetBackgroundRecord() const { return m_backgroundRecord; }

  void OnPreferences();

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
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
  void OnShowBrowser();
  void OnShowDictionary();
  void OnShowQuiz();
  void OnShowTimeline();
  void OnShowMedia();
  void OnGoHome();
  void OnShowBackground();
  void OnUpdateShowBackground(CCmdUI* pCmdUI);
  void OnInternetUpdates();
  void OnNextScreen();
  void OnPreviousScreen();
  void OnUpdateScreenCycle(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  // The search state before a new query: its results window opens at its top.
  void OpenNewResults();
  // The media checks of the timeline and media screens; FALSE when the
  // screen cannot be shown now.
  BOOL CheckMedia(Screen screen);
  CView* CreateScreen(Screen screen);
  // A random picture of the pool becomes the background, at most once a minute.
  void ChangeBackground();
  void HidePanels(ScreenPanel panel);

  CView* m_screens[static_cast<int>(Screen::Count)] = {};
  DWORD m_sound = 0;
  QuerySession m_queries;
  SearchState m_searchState;
  BOOL m_bContentsOpen = FALSE;
  BOOL m_bBookmarksOpen = FALSE;
  BOOL m_bResultsOpen = FALSE;
  BOOL m_bCloseRequested = FALSE;
  BOOL m_bCreatingMedia = FALSE;
  int m_backgroundRecord = -1;  // media record of the background picture; -1 none
  HMENU m_hFrameMenu = nullptr;
};
