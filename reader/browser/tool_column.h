// CBrowserToolColumn: the column at the left of the encyclopedia screen
// where its tool windows open one at a time (results, contents and subjects,
// bookmark list, Boolean and Smart Search, the Tuner, the article list, word
// find, the outline). It makes each window on first use, closes the others
// (the shared ones on every screen through the tool-panel host) when one
// opens, takes the commands that open them and the pane switch (the view
// routes its commands here), and knows what the open results window shows.
#pragma once

#include <memory>
#include <vector>

#include "browser/browser_part.h"
#include "core/bit_string.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "panels/tool_panel_host.h"

// The dialog template of a tool panel kind the encyclopedia makes (0 for others).
UINT ToolWindowTemplate(ToolPanel kind);

// What a tool window is opened with.
struct ToolRequest {
  ToolPanel kind = ToolPanel::Results;
  int mode = 0;                                 // contents 0 / subjects 1; article list 0..4
  const CBitString* articles = nullptr;         // results, article list
  const CStringArray* terms = nullptr;          // results (query words), Tuner
  const std::vector<float>* weights = nullptr;  // Tuner
  CString text;                                 // results: the query text
};

// Modes of the article list panel.
enum ArticleListMode { ListHistory = 0, ListRelatedToMedia = 2, ListClue = 3, ListSubjectLinks = 4 };

class CBrowserToolColumn : public CCmdTarget {
 public:
  // Tests put windows of their own in the tool windows' places.
  using ToolMaker = BOOL (*)(CWnd* owner, const ToolRequest& request, std::unique_ptr<CWnd>& tool);
  static ToolMaker s_toolMaker;

  explicit CBrowserToolColumn(BrowserPartOwner& browser) : m_browser(browser) {}

  CWnd* Get(ToolPanel kind) const { return m_tools.Get(kind); }
  BOOL IsOpen(ToolPanel kind) const { return m_tools.IsOpen(kind); }

  // Leaves the zoom, closes the others and opens the window, focused.
  BOOL Open(const ToolRequest& request);
  // Makes the window in the panel rectangle (after its old window goes).
  BOOL Create(const ToolRequest& request);
  void Close(ToolPanel kind) { m_tools.Close(kind); }
  // The shared windows on every screen and this screen's own.
  void CloseAll();
  void Hide(ScreenPanel panel);
  void SaveStates(SearchState& state);
  void HideForZoom() { m_tools.HideForZoom(); }
  void ShowAfterZoom() { m_tools.ShowAfterZoom(); }
  // The open windows follow the panel rectangle; they go with the screen.
  void Place(const CRect& panel);
  void DestroyAll();

  // The refresh of an open contents or bookmark window, else the window.
  void ShowContents();
  void ShowBookmarks();
  // The open results window when it shows the current query (TRUE after
  // its refresh); else the new query's window in place of every other.
  BOOL RefreshResults();
  BOOL OpenResults();
  BOOL ResultsHold(int article) const { return IsOpen(ToolPanel::Results) && m_resultsSet.Test(article); }

  // Entry lists from the media screen and the quiz: one related article
  // alone, several in the article list beside the first.
  void ShowEntries(const CDWordArray& entries, ItemScreen::EntryList list);
  void OpenTuner(const CString& query, const CStringArray& terms);
  void OpenAdvancedSearch(const CStringArray& terms, const std::vector<float>& weights);

  // The list windows whose selection Add Selected takes: whether one is
  // open, and the selection of the first open one.
  BOOL HasArticleList() const;
  BOOL SelectedArticles(CBitString& articles);

 protected:
  void OnSubjectLinks();
  void OnHistory();
  void OnFindWord();
  void OnOutline();
  void OnSmartSearch();
  void OnBoolean();
  void OnSubjects();
  void OnContents();
  void OnBookmarkList();
  void OnSwitchPane();
  void OnUpdateSubjectLinks(CCmdUI* ui);
  void OnUpdateSwitchPane(CCmdUI* ui);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL OpenKind(ToolPanel kind, int mode = 0);
  BOOL OpenArticleList(int mode, const CBitString& articles);
  // Closes the shared windows on every screen, all but the kind being opened.
  void CloseShared(ToolPanel opening);
  // Before `opening` is created: the shared windows through the frame (all
  // but the one the frame asked for) and every tool window of this screen.
  void CloseAllFor(const ToolRequest& opening);
  void ShowEntryList(const CDWordArray& entries, int mode);
  // The Tuner takes Smart Search's place, focused.
  void OpenInPlaceOfSmartSearch(const ToolRequest& request);
  // Makes (on first use) the object of the requested window and its window.
  BOOL Make(const ToolRequest& request, std::unique_ptr<CWnd>& tool);

  BrowserPartOwner& m_browser;
  // Made on first use, destroyed (not deleted) when closed or when another
  // one opens; the object stays here (the panels' windows leave their
  // objects alone when they go) and takes the next window.
  ScreenPanels m_tools;
  // What the open results window shows.
  CString m_resultsQuery;
  int m_resultsRanked = 0;
  int m_contentsMode = 0;
  CBitString m_resultsSet;
};
