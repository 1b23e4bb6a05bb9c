// CTimelineTools: the tool windows of the timeline's panel, the place of the
// search window on the left: the shared windows of modes 6 to 9 (contents,
// Smart Search, Boolean, bookmark list), the Tuner and the results window,
// made in the panel with the view as owner. The timeline routes the
// commands that file their selection and move the focus between them and
// the view here.
#pragma once

#include "core/bit_string.h"
#include "framework.h"
#include "media/timeline/timeline_part.h"
#include "panels/tool_panel_host.h"

class CTimelineTools : public CCmdTarget {
 public:
  explicit CTimelineTools(TimelinePartOwner& view) : m_view(view) {}

  BOOL IsOpen(ToolPanel kind) const { return m_tools.IsOpen(kind); }
  // The kind's object (its window open or not), or null.
  CWnd* Get(ToolPanel kind) const { return m_tools.Get(kind); }
  void Close(ToolPanel kind) { m_tools.Close(kind); }
  // The panel's rectangle in the view.
  CRect PanelRect() const;
  // Closes the windows of the modes (and the results window on every
  // screen).
  void CloseModeTools();
  // Makes the window of the kind in the panel (the Tuner comes with its
  // query: OpenTuner); FALSE when it cannot be made.
  BOOL Create(ToolPanel kind);
  void OpenTuner(const CString& query, const CStringArray& terms);
  void SaveSearchState(SearchState& state);
  void Hide(ScreenPanel panel);
  // The open windows take the panel's new size.
  void FitToPanel();

 protected:
  // The articles Add Selected files: the results window's, else the
  // Boolean panel's, else the event selected in the search window.
  BOOL GetSelectedArticles(CBitString& articles);

  void OnAddSelected();
  void OnUpdateAddSelected(CCmdUI* pCmdUI);
  void OnSwitchPane();
  void OnUpdateSwitchPane(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  TimelinePartOwner& m_view;
  ScreenPanels m_tools;
};
