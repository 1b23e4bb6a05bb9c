#include "media/gallery/gallery_tools.h"

#include <memory>

#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "panels/bookmark_dlg.h"
#include "reader/media_ids.h"
#include "reader/panels_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/search_panel.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

BOOL ChooseBookmarkFolder(CWnd* owner, int& folder);

namespace {

// The search windows take their rectangle in the main frame's client
// coordinates.
CRect InFrameClient(CWnd& frame, const CRect& screenRect) {
  CRect rect = screenRect;
  frame.ScreenToClient(&rect);
  return rect;
}

BOOL HoldsFocus(const CWnd& window) {
  const HWND focus = ::GetFocus();
  return focus && (focus == window.m_hWnd || ::IsChild(window.m_hWnd, focus));
}

}  // namespace

BEGIN_MESSAGE_MAP(CGalleryTools, CCmdTarget)
ON_COMMAND(ID_MEDIA_SUBJECTS, OnSubjects)
ON_BN_CLICKED(IDC_MEDIA_SUBJECTS, OnSubjects)
ON_COMMAND(ID_MEDIA_CONTENTS, OnContents)
ON_BN_CLICKED(IDC_MEDIA_CONTENTS, OnContents)
ON_COMMAND(ID_MEDIA_SMART, OnSmartSearch)
ON_BN_CLICKED(IDC_MEDIA_SMART, OnSmartSearch)
ON_COMMAND(ID_MEDIA_BOOLEAN, OnBooleanSearch)
ON_BN_CLICKED(IDC_MEDIA_BOOLEAN, OnBooleanSearch)
ON_COMMAND(ID_MEDIA_VIEW_BOOKMARKS, OnViewBookmarks)
ON_BN_CLICKED(IDC_MEDIA_BOOKMARKS, OnViewBookmarks)
ON_COMMAND(ID_MEDIA_ADD_SELECTED, OnAddSelected)
ON_UPDATE_COMMAND_UI(ID_MEDIA_ADD_SELECTED, OnUpdateAddSelected)
ON_COMMAND(ID_NEXT_PANE, OnNextPane)
ON_COMMAND(ID_PREV_PANE, OnNextPane)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdatePane)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdatePane)
END_MESSAGE_MAP()

void CGalleryTools::PlaceAtStart() {
  CRect rect(2, 50, 211, 400);
  if (CWnd* main = AfxGetMainWnd()) main->ClientToScreen(&rect);
  rect.OffsetRect(6 - rect.left, 0);
  m_rect = rect;
}

BOOL CGalleryTools::IsOpen(ToolPanel kind) const {
  if (kind == ToolPanel::MediaSubjects) return m_subjectPanel.GetSafeHwnd() != nullptr;
  return m_tools.IsOpen(kind);
}

CWnd* CGalleryTools::Get(ToolPanel kind) const {
  if (kind == ToolPanel::MediaSubjects) return nullptr;
  return m_tools.IsOpen(kind) ? m_tools.Get(kind) : nullptr;
}

void CGalleryTools::Close(ToolPanel kind) {
  if (!IsOpen(kind)) return;
  CWnd* window = kind == ToolPanel::MediaSubjects ? &m_subjectPanel : m_tools.Get(kind);
  if (kind != ToolPanel::MediaSubjects) {
    // The next tool window opens where this one was: its client area, which
    // the next window takes as its own (the outer rectangle would grow the
    // window by its border at each reopening).
    CRect rect;
    window->GetClientRect(&rect);
    window->ClientToScreen(&rect);
    m_rect = rect;
  }
  window->DestroyWindow();
}

void CGalleryTools::CloseOthers(ToolPanel keep) {
  for (ToolPanel kind : kPanels)
    if (kind != keep) Close(kind);
}

void CGalleryTools::DestroyAll() {
  for (ToolPanel kind : kPanels)
    if (IsOpen(kind)) (kind == ToolPanel::MediaSubjects ? &m_subjectPanel : m_tools.Get(kind))->DestroyWindow();
}

BOOL CGalleryTools::CreateShared(ToolPanel kind, const CRect& rect) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return FALSE;
  CWnd* main = AfxGetMainWnd();  // the shell's window owns them
  // Each window gets a new object; the one before (whose window is gone)
  // goes with it.
  std::unique_ptr<CWnd>& object = m_tools.Slot(kind);
  BOOL made = FALSE;
  switch (kind) {
    case ToolPanel::Results: {
      auto results = std::make_unique<CResultsDlg>();
      made = results->Create(InFrameClient(*main, rect), CResultsDlg::kMediaTemplate,
                             shell->Queries().GetCurrentKind() == 1 ? 1 : 0, main, &shell->Queries().GetCurrentTerms(),
                             shell->Queries().GetCurrentText());
      object = std::move(results);
      break;
    }
    case ToolPanel::Contents: {
      auto contents = std::make_unique<CSubjectsDlg>();
      made = contents->Create(InFrameClient(*main, rect), CSubjectsDlg::kMediaTemplate, main, FALSE);
      object = std::move(contents);
      break;
    }
    case ToolPanel::Bookmarks: {
      auto bookmarks = std::make_unique<CBookmarkDlg>();
      made = bookmarks->Create(rect, IDD_BOOKMARK_LIST_POPUP, main);
      object = std::move(bookmarks);
      break;
    }
    case ToolPanel::Smart: {
      auto smart = std::make_unique<CSmartSearchDlg>();
      made = smart->Create(InFrameClient(*main, rect), CSmartSearchDlg::kMediaTemplate, main);
      object = std::move(smart);
      break;
    }
    case ToolPanel::Boolean: {
      auto boolean = std::make_unique<CSearchDlg>();
      made = boolean->Create(InFrameClient(*main, rect), CSearchDlg::kMediaTemplate, main);
      object = std::move(boolean);
      break;
    }
    default: break;  // the subject panel is the gallery's own; the Tuner comes with its query (OpenAdvancedSearch)
  }
  if (!made || !IsPanelOpen(object.get())) return FALSE;
  if (auto* panel = dynamic_cast<CSearchPanel*>(object.get())) panel->SetPalette(m_palette);
  return TRUE;
}

void CGalleryTools::Open(ToolPanel kind) {
  if (IsOpen(kind)) return;
  CloseOthers(kind);
  CWnd* owner = AfxGetMainWnd();
  if (kind == ToolPanel::MediaSubjects) {
    m_subjectPanel.Create(m_rect, owner, &m_view);
    m_subjectPanel.SetPalette(m_palette);
    return;
  }
  CreateShared(kind, m_rect);
}

void CGalleryTools::Show(BOOL show) {
  for (ToolPanel kind : kPanels)
    if (CWnd* tool = Get(kind)) tool->ShowWindow(show ? SW_SHOW : SW_HIDE);
  if (m_subjectPanel.GetSafeHwnd()) m_subjectPanel.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CGalleryTools::SetPalette(CPalette* palette) {
  m_palette = palette;
  m_subjectPanel.SetPalette(palette);
  for (ToolPanel kind : kPanels)
    if (auto* panel = dynamic_cast<CSearchPanel*>(m_tools.Get(kind))) panel->SetPalette(palette);
}

void CGalleryTools::Redraw() {
  for (ToolPanel kind : kPanels)
    if (CWnd* tool = Get(kind)) tool->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CGalleryTools::ShowContents() {
  if (IsOpen(ToolPanel::Contents))
    m_tools.Get(ToolPanel::Contents)->SendMessage(WM_REFRESHLIST);
  else
    Open(ToolPanel::Contents);
}

void CGalleryTools::ShowBookmarks() {
  if (IsOpen(ToolPanel::Bookmarks))
    m_tools.Get(ToolPanel::Bookmarks)->SendMessage(WM_REFRESHLIST);
  else
    Open(ToolPanel::Bookmarks);
}

void CGalleryTools::ShowResults(BOOL recalled) {
  ReaderShell* shell = GetReaderShell();
  auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results));
  if (IsOpen(ToolPanel::Results) && results && shell &&
      shell->Queries().IsCurrentQuery(results->GetQuery(), results->IsRanked())) {
    m_tools.Get(ToolPanel::Results)->SendMessage(WM_REFRESHLIST);
    return;
  }
  CWaitCursor wait;
  if (!recalled) m_view.RebuildHistoryMenu();
  for (ToolPanel kind : kPanels) Close(kind);
  CreateShared(ToolPanel::Results, m_rect);
}

void CGalleryTools::OpenAdvancedSearch(const CString& query, const CStringArray& terms) {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  CRect rect = m_rect;
  if (IsOpen(ToolPanel::Smart)) {
    // Smart Search asks from inside its own handler: its window goes, its
    // object stays until the next Smart Search window.
    m_tools.Get(ToolPanel::Smart)->GetClientRect(&rect);
    m_tools.Get(ToolPanel::Smart)->ClientToScreen(&rect);
    m_tools.Get(ToolPanel::Smart)->DestroyWindow();
  }
  Close(ToolPanel::Tuner);
  auto tuner = std::make_unique<CTunerDlg>();
  CWnd* main = AfxGetMainWnd();
  const BOOL made = tuner->Create(InFrameClient(*main, rect), CTunerDlg::kMediaTemplate, main, query, terms);
  m_tools.Slot(ToolPanel::Tuner) = std::move(tuner);
  if (!made || !IsOpen(ToolPanel::Tuner)) return;
  m_tools.Get(ToolPanel::Tuner)->SetFocus();
}

void CGalleryTools::SaveSearchState(SearchState& state) {
  m_tools.SaveStates(state, {ToolPanel::Results, ToolPanel::Contents, ToolPanel::Bookmarks});
}

void CGalleryTools::BookmarksChanged() {
  if (IsOpen(ToolPanel::Bookmarks)) m_tools.Get(ToolPanel::Bookmarks)->PostMessage(WM_BITSCHANGED, 1, 0);
  if (m_subjectPanel.GetSafeHwnd()) m_subjectPanel.GetTitles().Invalidate();
  for (ToolPanel kind : {ToolPanel::Contents, ToolPanel::Results})
    if (IsOpen(kind)) m_tools.Get(kind)->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

BOOL CGalleryTools::GetShownSet(CBitString& set) const {
  if (!m_subjectPanel.GetSafeHwnd()) return FALSE;
  set = m_subjectPanel.GetShownSet();
  return TRUE;
}

BOOL CGalleryTools::GetSelectedArticles(CBitString& articles) const {
  if (IsOpen(ToolPanel::Results)) {
    auto* results = dynamic_cast<CResultsDlg*>(m_tools.Get(ToolPanel::Results));
    if (!results) return FALSE;
    articles = results->List().GetSelection();
    return TRUE;
  }
  if (IsOpen(ToolPanel::Contents)) {
    auto* contents = dynamic_cast<CSubjectsDlg*>(m_tools.Get(ToolPanel::Contents));
    if (!contents) return FALSE;
    articles = contents->List().GetSelection();
    return TRUE;
  }
  if (!m_subjectPanel.GetSafeHwnd()) return FALSE;
  articles = m_subjectPanel.GetSelectedArticles();
  return TRUE;
}

BOOL CGalleryTools::HasFocus() const {
  for (ToolPanel kind : kPanels)
    if (CWnd* tool = Get(kind); tool && HoldsFocus(*tool)) return TRUE;
  return m_subjectPanel.GetSafeHwnd() && HoldsFocus(m_subjectPanel);
}

void CGalleryTools::OnSubjects() { Open(ToolPanel::MediaSubjects); }
void CGalleryTools::OnSmartSearch() { Open(ToolPanel::Smart); }
void CGalleryTools::OnBooleanSearch() { Open(ToolPanel::Boolean); }

void CGalleryTools::OnContents() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenContents();
}

void CGalleryTools::OnViewBookmarks() {
  if (ToolPanelHost* host = GetToolPanelHost()) host->OpenBookmarks();
}

void CGalleryTools::OnAddSelected() {
  CBitString selected;
  int folder = -1;
  if (!GetSelectedArticles(selected) || !ChooseBookmarkFolder(&m_view.View(), folder)) return;
  Reader().AddToFolder(folder, selected, TRUE);
}

void CGalleryTools::OnUpdateAddSelected(CCmdUI* pCmdUI) {
  pCmdUI->Enable(IsOpen(ToolPanel::Results) || IsOpen(ToolPanel::MediaSubjects) || IsOpen(ToolPanel::Contents));
}

void CGalleryTools::OnNextPane() {
  // Between the view and its open tool window.
  CWnd* open = nullptr;
  for (ToolPanel kind : kPanels)
    if (CWnd* tool = Get(kind)) open = tool;
  if (!open && m_subjectPanel.GetSafeHwnd()) open = &m_subjectPanel;
  if (!open) return;
  if (HoldsFocus(*open))
    m_view.View().SetFocus();
  else
    open->SetFocus();
}

void CGalleryTools::OnUpdatePane(CCmdUI* pCmdUI) { pCmdUI->Enable(HoldsFocus(m_view.View()) || HasFocus()); }
