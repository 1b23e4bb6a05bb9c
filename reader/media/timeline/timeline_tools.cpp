#include "media/timeline/timeline_tools.h"

#include <memory>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "media/timeline/timeline_search_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels/folder_dlgs.h"
#include "reader/timeline_quiz_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

namespace {

constexpr int kPanelBottomAtStart = 349;
constexpr int kBottomBand = 20;

// The object of the slot as a `Tool`: a new one each time, as the one before
// has no window left (the windows leave their objects alone when they go).
template <typename Tool>
Tool& NewTool(std::unique_ptr<CWnd>& slot) {
  auto made = std::make_unique<Tool>();
  Tool& tool = *made;
  slot = std::move(made);
  return tool;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTimelineTools, CCmdTarget)
ON_COMMAND(ID_TL_ADD_SELECTED, OnAddSelected)
ON_UPDATE_COMMAND_UI(ID_TL_ADD_SELECTED, OnUpdateAddSelected)
ON_COMMAND(ID_NEXT_PANE, OnSwitchPane)
ON_COMMAND(ID_PREV_PANE, OnSwitchPane)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateSwitchPane)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateSwitchPane)
END_MESSAGE_MAP()

CRect CTimelineTools::PanelRect() const {
  CRect client;
  m_view.View().GetClientRect(&client);
  const int bottom =
      client.Height() > kBottomBand + TimelinePartOwner::PanelTop ? client.bottom - kBottomBand : kPanelBottomAtStart;
  return CRect(TimelinePartOwner::PanelLeft, TimelinePartOwner::PanelTop, TimelinePartOwner::PanelRight, bottom);
}

void CTimelineTools::CloseModeTools() {
  for (ToolPanel kind : {ToolPanel::Subjects, ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Tuner})
    m_tools.Close(kind);
  // The results window closes on every screen through the frame.
  if (IsOpen(ToolPanel::Results))
    if (ToolPanelHost* host = GetToolPanelHost()) host->CloseResultsWindows();
  m_tools.Close(ToolPanel::Results);
  m_tools.Close(ToolPanel::Bookmarks);
}

BOOL CTimelineTools::Create(ToolPanel kind) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  m_tools.Close(kind);
  std::unique_ptr<CWnd>& slot = m_tools.Slot(kind);
  const CRect panel = PanelRect();
  CWnd* owner = &m_view.View();
  BOOL made = FALSE;
  switch (kind) {
    case ToolPanel::Subjects:
      made = NewTool<CSubjectsDlg>(slot).Create(panel, CSubjectsDlg::kTemplate, owner, FALSE);
      break;
    case ToolPanel::Smart:
      made = NewTool<CSmartSearchDlg>(slot).Create(panel, CSmartSearchDlg::kTemplate, owner);
      break;
    case ToolPanel::Boolean: made = NewTool<CSearchDlg>(slot).Create(panel, CSearchDlg::kTemplate, owner); break;
    case ToolPanel::Results:
      made = NewTool<CResultsDlg>(slot).Create(panel, CResultsDlg::kTemplate,
                                               shell->Queries().GetCurrentKind() == 1 ? 1 : 0, owner,
                                               &shell->Queries().GetCurrentTerms(), shell->Queries().GetCurrentText());
      break;
    case ToolPanel::Bookmarks: made = NewTool<CBookmarkDlg>(slot).Create(panel, IDD_BOOKMARK_LIST, owner); break;
    case ToolPanel::Tuner:  // made with its query by OpenTuner
    default: break;
  }
  if (!made || !IsOpen(kind)) return FALSE;
  m_tools.Get(kind)->MoveWindow(panel);
  m_tools.Get(kind)->ShowWindow(SW_SHOW);
  return TRUE;
}

void CTimelineTools::OpenTuner(const CString& query, const CStringArray& terms) {
  // Smart Search asks from inside its own handler: its window goes, its
  // object stays until the next Smart Search window.
  m_tools.Close(ToolPanel::Smart);
  m_tools.Close(ToolPanel::Tuner);
  const CRect panel = PanelRect();
  if (!NewTool<CTunerDlg>(m_tools.Slot(ToolPanel::Tuner))
           .Create(panel, CTunerDlg::kTemplate, &m_view.View(), query, terms))
    return;
  if (!IsOpen(ToolPanel::Tuner)) return;
  m_tools.Get(ToolPanel::Tuner)->MoveWindow(panel);
  m_tools.Get(ToolPanel::Tuner)->ShowWindow(SW_SHOW);
  m_tools.Get(ToolPanel::Tuner)->SetFocus();
}

void CTimelineTools::SaveSearchState(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Results, ToolPanel::Subjects, ToolPanel::Bookmarks});
}

void CTimelineTools::Hide(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: m_tools.Close(ToolPanel::Results); break;
    case ScreenPanel::Contents: m_tools.Close(ToolPanel::Subjects); break;
    case ScreenPanel::Bookmarks: m_tools.Close(ToolPanel::Bookmarks); break;
  }
}

void CTimelineTools::FitToPanel() {
  for (int i = 0; i < ToolPanelCount; ++i)
    if (const ToolPanel kind = static_cast<ToolPanel>(i); IsOpen(kind)) m_tools.Get(kind)->MoveWindow(PanelRect());
}

// ---- filing ----

BOOL CTimelineTools::GetSelectedArticles(CBitString& articles) {
  ReaderContext& app = Reader();
  articles = CBitString(app.GetArticleCount(), FALSE);
  if (IsOpen(ToolPanel::Results)) {
    if (auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results))) {
      articles = results->List().GetArticles();
      return TRUE;
    }
  }
  if (IsOpen(ToolPanel::Boolean)) {
    // The Boolean panel's set is the frame's current query when it was a
    // Boolean search.
    ReaderShell* shell = GetReaderShell();
    if (shell == nullptr || shell->Queries().GetHistoryCount() == 0 || shell->Queries().GetCurrentKind() != 0)
      return FALSE;
    articles = shell->Queries().GetCurrentQuery();
    return TRUE;
  }
  CTimeLineSearchDlg& search = m_view.GetSearchWindow();
  if (search.GetSafeHwnd() && search.IsWindowVisible()) {
    const int event = search.Events().GetAnchor();
    if (event < 1 || event > m_view.GetData().eventCount) return FALSE;
    articles.SetBit(app.ToInternalArticle(static_cast<int>(search.GetEventEntry(event))));
    return TRUE;
  }
  return FALSE;
}

void CTimelineTools::OnAddSelected() {
  CBitString articles;
  if (!GetSelectedArticles(articles) || articles.GetSetCount() == 0) return;
  CNewFolderDlg chooser(&m_view.View());
  if (chooser.DoModal() != IDOK) return;
  ReaderContext& app = Reader();
  if (chooser.m_selection < 0 || chooser.m_selection >= app.m_folders.GetSize()) return;
  app.AddToFolder(chooser.m_selection, articles, TRUE);
}

void CTimelineTools::OnUpdateAddSelected(CCmdUI* pCmdUI) {
  CTimeLineSearchDlg& search = m_view.GetSearchWindow();
  pCmdUI->Enable(IsOpen(ToolPanel::Results) || IsOpen(ToolPanel::Boolean) ||
                 (search.GetSafeHwnd() && search.IsWindowVisible()));
}

// ---- the focus ----

// The focus moves between the view and its open tool window: from inside
// that window to the view, else from the view to that window.
void CTimelineTools::OnSwitchPane() {
  // The first open tool window, in this order, else the search window.
  CWnd* pane = nullptr;
  for (ToolPanel kind : {ToolPanel::Subjects, ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Bookmarks,
                         ToolPanel::Results, ToolPanel::Tuner})
    if (IsOpen(kind)) {
      pane = m_tools.Get(kind);
      break;
    }
  CTimeLineSearchDlg& search = m_view.GetSearchWindow();
  if (pane == nullptr && search.GetSafeHwnd() && search.IsWindowVisible()) pane = &search;
  if (pane == nullptr) return;
  const HWND focus = ::GetFocus();
  if (focus == pane->m_hWnd || ::IsChild(pane->m_hWnd, focus))
    m_view.View().SetFocus();
  else
    pane->SetFocus();
}

void CTimelineTools::OnUpdateSwitchPane(CCmdUI* pCmdUI) {
  const HWND focus = ::GetFocus();
  const HWND view = m_view.View().m_hWnd;
  pCmdUI->Enable(focus == view || ::IsChild(view, focus));
}
