// CMainFrame: the one top-level window, titled "The Marovan & World
// Encyclopedia". It holds the six screens as child views (home, encyclopedia,
// dictionary, quiz, timeline, media), makes each on first use and switches
// between them, keeps the query history and the search state across switches,
// changes the background picture now and then, owns the sound engine, starts
// the updater and relays the program's private messages to the screens.
#pragma once

#include "bit_string.h"
#include "framework.h"
#include "reader_screen.h"
#include "reader_shell.h"

// How the frame starts the updater program: WinExec, unless a test puts its
// own in its place (null goes back to WinExec).
using ProgramLauncher = UINT (*)(LPCSTR commandLine, UINT show);
void SetProgramLauncher(ProgramLauncher launcher);

// One entry of the query history.
struct QueryHistoryEntry {
  CString label;
  CBitString set;
  int kind = 0;  // 0 Boolean, 1 Smart, other
  CStringArray terms;
};

class CMainFrame : public CFrameWnd, public ReaderShell {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  static constexpr int HistorySize = 10;

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

  // The query history: the query becomes the current one and the newest
  // entry (the oldest of ten goes). `terms` may be null.
  void AddQueryToHistory(const CBitString& set, const CString& text, int kind, const CStringArray* terms, BOOL plain);
  // Runs the entry `steps` back (1 = newest) again.
  void RecallQuery(int steps);
  int GetHistoryCount() const { return m_historyCount; }
  const QueryHistoryEntry& GetHistoryEntry(int i) const { return m_history[i]; }
  const CBitString& GetCurrentQuery() const { return m_currentQuery; }
  // The current query's text, as typed (a recalled query's is its label).
  const CString& GetCurrentText() const { return m_currentText; }
  // Whether a results window of this text and ranked flag shows the current
  // query: the same text, ranked exactly when that is a Smart Search.
  BOOL IsCurrentQuery(const CString& text, int ranked) const {
    return text == m_currentText && (ranked == 1) == (m_currentKind == 1);
  }
  const CString& GetCurrentLabel() const { return m_currentLabel; }
  int GetCurrentKind() const { return m_currentKind; }
  const CStringArray& GetCurrentTerms() const { return m_currentTerms; }

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

  // The media checks of the timeline and media screens; FALSE when the
  // screen cannot be shown now.
  BOOL CheckMedia(Screen screen);
  CView* CreateScreen(Screen screen);
  // A random picture of the pool becomes the background, at most once a minute.
  void ChangeBackground();
  void HidePanels(ScreenPanel panel);

  CView* m_screens[static_cast<int>(Screen::Count)] = {};
  DWORD m_sound = 0;
  CBitString m_currentQuery;
  int m_currentKind = 0;
  CString m_currentText;
  CString m_currentLabel;
  CStringArray m_currentTerms;
  QueryHistoryEntry m_history[HistorySize];
  int m_historyCount = 0;
  SearchState m_searchState;
  BOOL m_bContentsOpen = FALSE;
  BOOL m_bBookmarksOpen = FALSE;
  BOOL m_bResultsOpen = FALSE;
  BOOL m_bCloseRequested = FALSE;
  BOOL m_bCreatingMedia = FALSE;
  int m_backgroundRecord = -1;  // media record of the background picture; -1 none
  HMENU m_hFrameMenu = nullptr;
};
