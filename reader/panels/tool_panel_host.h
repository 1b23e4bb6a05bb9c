// The tool panels of the screens. ToolPanel names every kind a screen
// opens. ScreenPanels holds one screen's panels (one object a kind, which
// outlives its window) with the rules for opening, closing and the zoom that
// hides them. ToolPanelHost keeps what the screens share across switches:
// whether the results, contents and bookmark list panels open again on the
// screen switched to, and their search state; it closes them on every
// screen. The main frame is the host; the screens reach it through
// GetToolPanelHost() and never name the frame.
#pragma once

#include <initializer_list>
#include <memory>

#include "core/reader_screen.h"
#include "framework.h"

class ReaderShell;

// The kinds of tool panel: the three every screen shares (results, contents,
// bookmark list), the search panels, the encyclopedia's own and the media
// gallery's subject panel.
enum class ToolPanel {
  Results,
  Contents,
  Bookmarks,
  Boolean,
  Smart,
  Tuner,
  ArticleList,
  WordFind,
  Outline,
  Subjects,
  MediaSubjects,
  Count
};
constexpr int ToolPanelCount = static_cast<int>(ToolPanel::Count);

// Whether a panel object has its window.
BOOL IsPanelOpen(const CWnd* panel);

class ScreenPanels {
 public:
  // The object of the kind (whether its window is open or not), or null.
  CWnd* Get(ToolPanel kind) const { return m_panels[Index(kind)].get(); }
  // The kind's slot: a panel made in it replaces the object before.
  std::unique_ptr<CWnd>& Slot(ToolPanel kind) { return m_panels[Index(kind)]; }
  // The kind's object as a `Panel`: the one made before, or a new one in
  // place of an object of another class (whose window is gone by then).
  template <typename Panel>
  Panel& Of(ToolPanel kind) {
    std::unique_ptr<CWnd>& slot = Slot(kind);
    if (auto* panel = dynamic_cast<Panel*>(slot.get())) return *panel;
    auto made = std::make_unique<Panel>();
    Panel& panel = *made;
    slot = std::move(made);
    return panel;
  }
  BOOL IsOpen(ToolPanel kind) const { return IsPanelOpen(Get(kind)); }
  // The kind's window goes (its object stays); a zoom no longer brings it back.
  void Close(ToolPanel kind);
  // Every kind's window goes, in the order of the kinds.
  void CloseAll();
  // The open panels of these kinds, in this order, copy their state into
  // the search state (SearchStatePanel).
  void SaveStates(SearchState& state, std::initializer_list<ToolPanel> kinds);
  // The zoom hides every open panel; after it those show again.
  void HideForZoom();
  void ShowAfterZoom();

 private:
  static int Index(ToolPanel kind) { return static_cast<int>(kind); }

  std::unique_ptr<CWnd> m_panels[ToolPanelCount];
  BOOL m_hiddenByZoom[ToolPanelCount] = {};
};

class ToolPanelHost {
 public:
  // The host closes and saves the panels of the shell's screens.
  explicit ToolPanelHost(ReaderShell& shell) : m_shell(shell) {}
  ToolPanelHost(const ToolPanelHost&) = delete;
  ToolPanelHost& operator=(const ToolPanelHost&) = delete;

  // Copies the state of the active screen's panels into the search state.
  void SaveSearchState();
  SearchState& GetSearchState() { return m_searchState; }
  // Closes that panel on every screen; it no longer opens after a switch.
  void CloseResultsWindows();
  void CloseContentsWindows();
  void CloseBookmarkWindows();
  // The panel opens again on the screen switched to.
  void SetContentsOpen();
  void SetBookmarksOpen();
  // The panel opens on the active screen now and after every switch.
  void OpenContents();
  void OpenBookmarks();
  BOOL IsResultsOpen() const { return m_bResultsOpen; }
  BOOL IsContentsOpen() const { return m_bContentsOpen; }
  BOOL IsBookmarksOpen() const { return m_bBookmarksOpen; }
  // Closes the shared panels on every screen but the kind being opened,
  // which keeps the flag that opens it after a switch (Count keeps none).
  void CloseSharedPanels(ToolPanel opening);
  // A new query: the search state is saved, and its results panel is to
  // open at its top.
  void OpenNewResults();
  // After a switch to `view`: the shared panels still open open on it.
  void ReopenPanels(CView* view) const;

 private:
  void HidePanels(ScreenPanel panel);

  ReaderShell& m_shell;
  SearchState m_searchState;
  BOOL m_bContentsOpen = FALSE;
  BOOL m_bBookmarksOpen = FALSE;
  BOOL m_bResultsOpen = FALSE;
};

// The host of the running program (its main window); null before the main
// window is made and after it has gone.
ToolPanelHost* GetToolPanelHost();
