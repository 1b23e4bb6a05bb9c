// CDictSharedWindows: the dictionary screen's windows over its left column
// in modes 5 to 8 (the subjects window of Contents, Smart Search, Boolean
// search and the bookmark list), with the results window and the Tuner that
// take their place. It makes, refreshes and closes them at the column's
// rect, keeping them as the other screens keep their tool windows
// (ScreenPanels); which mode the screen is in stays the modes'.
#pragma once

#include "core/reader_screen.h"
#include "dictionary/dict_logic.h"
#include "framework.h"
#include "panels/bookmark_dlg.h"
#include "panels/tool_panel_host.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

class ReaderShell;

class CDictSharedWindows {
 public:
  // The windows open over `owner`, in the left column of `layout` from the
  // top of `wordBox` (the view's, read at every call).
  CDictSharedWindows(CWnd& owner, const dict::ScreenLayout& layout, const CRect& wordBox)
      : m_owner(owner), m_layout(layout), m_wordBox(wordBox) {}
  CDictSharedWindows(const CDictSharedWindows&) = delete;
  CDictSharedWindows& operator=(const CDictSharedWindows&) = delete;

  // The left column the windows take: from the word box's top to R0's bottom.
  CRect Rect() const;
  // Closes every window but the one of mode `keep` (-1 closes all); the
  // results window and the Tuner always go.
  void CloseAll(int keep);
  // A mode's window already open is refreshed (contents, bookmarks) or left
  // as it is: TRUE. FALSE when it is not open.
  BOOL RefreshOpen(int mode);
  // Opens the window of a mode over the column; a message when it cannot be made.
  void Open(int mode);
  // The Tuner takes Smart Search's place with the query.
  void OpenTuner(const CString& query, const CStringArray& terms);
  // The results of the shell's current query replace the search windows.
  // FALSE when the window cannot be made (the reader was told).
  BOOL OpenResults(ReaderShell& shell);
  // TRUE when the results window shows the shell's current query (it was refreshed).
  BOOL RefreshResults(ReaderShell& shell);
  // Copies the open windows' state into the search state.
  void SaveState(SearchState& state);
  void Hide(ScreenPanel panel);
  // The articles Add Selected takes: those listed in the open results
  // window, else in the open contents window; FALSE when neither is open.
  BOOL HasList() const;
  BOOL ListedArticles(CBitString& articles);

  CSubjectsDlg& Subjects() { return m_windows.Of<CSubjectsDlg>(ToolPanel::Subjects); }
  CSmartSearchDlg& SmartSearch() { return m_windows.Of<CSmartSearchDlg>(ToolPanel::Smart); }
  CSearchDlg& Boolean() { return m_windows.Of<CSearchDlg>(ToolPanel::Boolean); }
  CBookmarkDlg& Bookmarks() { return m_windows.Of<CBookmarkDlg>(ToolPanel::Bookmarks); }
  CResultsDlg& Results() { return m_windows.Of<CResultsDlg>(ToolPanel::Results); }
  CTunerDlg& Tuner() { return m_windows.Of<CTunerDlg>(ToolPanel::Tuner); }

 private:
  // Shows a window just made; FALSE (and a message) when it was not made.
  BOOL ShowMade(CWnd& window, BOOL made);
  // The subjects window and the bookmark list close through their own close
  // operation, which also clears the frame's flag that reopens them.
  void CloseByCancel(ToolPanel kind);

  CWnd& m_owner;
  const dict::ScreenLayout& m_layout;
  const CRect& m_wordBox;
  // One object a window, made on first use and kept past its window.
  ScreenPanels m_windows;
};
