#include "dictionary/dict_shared_windows.h"

#include "core/reader_shell.h"
#include "messages/window_messages.h"
#include "reader/dictionary_ids.h"

CRect CDictSharedWindows::Rect() const {
  CRect rect = m_layout.panels[0];
  rect.top = m_wordBox.top;
  return rect;
}

void CDictSharedWindows::CloseByCancel(ToolPanel kind) {
  if (m_windows.IsOpen(kind)) m_windows.Get(kind)->SendMessage(WM_COMMAND, IDCANCEL, 0);
  m_windows.Close(kind);
}

void CDictSharedWindows::CloseAll(int keep) {
  if (keep != dict::kContents) CloseByCancel(ToolPanel::Subjects);
  if (keep != dict::kBookmarks) CloseByCancel(ToolPanel::Bookmarks);
  if (keep != dict::kSmartSearch) m_windows.Close(ToolPanel::Smart);
  if (keep != dict::kBooleanSearch) m_windows.Close(ToolPanel::Boolean);
  m_windows.Close(ToolPanel::Tuner);
  m_windows.Close(ToolPanel::Results);
}

BOOL CDictSharedWindows::RefreshOpen(int mode) {
  if (mode == dict::kContents && m_windows.IsOpen(ToolPanel::Subjects)) {
    Subjects().SendMessage(WM_REFRESHLIST, 0, 0);
    return TRUE;
  }
  if (mode == dict::kBookmarks && m_windows.IsOpen(ToolPanel::Bookmarks)) {
    Bookmarks().SendMessage(WM_REFRESHLIST, 0, 0);
    return TRUE;
  }
  return (mode == dict::kSmartSearch && m_windows.IsOpen(ToolPanel::Smart)) ||
         (mode == dict::kBooleanSearch && m_windows.IsOpen(ToolPanel::Boolean));
}

BOOL CDictSharedWindows::ShowMade(CWnd& window, BOOL made) {
  if (!made || !IsPanelOpen(&window)) {
    AfxMessageBox("The window could not be opened.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  window.ShowWindow(SW_SHOW);
  return TRUE;
}

void CDictSharedWindows::Open(int mode) {
  if (mode == dict::kSmartSearch) m_windows.Close(ToolPanel::Tuner);
  if (mode == dict::kSmartSearch || mode == dict::kBooleanSearch) m_windows.Close(ToolPanel::Results);
  const CRect rect = Rect();
  BOOL made = FALSE;
  CWnd* window = nullptr;
  switch (mode) {
    case dict::kContents:
      made = Subjects().Create(rect, CSubjectsDlg::kTemplate, &m_owner, FALSE);
      window = &Subjects();
      break;
    case dict::kSmartSearch:
      made = SmartSearch().Create(rect, CSmartSearchDlg::kTemplate, &m_owner);
      window = &SmartSearch();
      break;
    case dict::kBooleanSearch:
      made = Boolean().Create(rect, CSearchDlg::kTemplate, &m_owner);
      window = &Boolean();
      break;
    case dict::kBookmarks:
      made = Bookmarks().Create(rect, IDD_BOOKMARK_LIST, &m_owner);
      window = &Bookmarks();
      break;
    default: return;
  }
  if (made && IsPanelOpen(window)) window->MoveWindow(&rect);
  if (ShowMade(*window, made)) window->SetFocus();
}

void CDictSharedWindows::OpenTuner(const CString& query, const CStringArray& terms) {
  CWaitCursor wait;
  m_windows.Close(ToolPanel::Smart);
  m_windows.Close(ToolPanel::Tuner);
  CTunerDlg& tuner = Tuner();
  if (ShowMade(tuner, tuner.Create(Rect(), CTunerDlg::kTemplate, &m_owner, query, terms))) tuner.SetFocus();
}

BOOL CDictSharedWindows::RefreshResults(ReaderShell& shell) {
  if (!m_windows.IsOpen(ToolPanel::Results)) return FALSE;
  CResultsDlg& results = Results();
  if (!shell.Queries().IsCurrentQuery(results.GetQuery(), results.IsRanked())) return FALSE;
  results.SendMessage(WM_REFRESHLIST);
  return TRUE;
}

BOOL CDictSharedWindows::OpenResults(ReaderShell& shell) {
  for (ToolPanel kind : {ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Tuner, ToolPanel::Results})
    m_windows.Close(kind);
  const auto& queries = shell.Queries();
  CResultsDlg& results = Results();
  return ShowMade(results, results.Create(Rect(), CResultsDlg::kTemplate, queries.GetCurrentKind(), &m_owner,
                                          &queries.GetCurrentTerms(), queries.GetCurrentText()));
}

void CDictSharedWindows::SaveState(SearchState& state) {
  m_windows.SaveStates(state, {ToolPanel::Results, ToolPanel::Subjects, ToolPanel::Bookmarks});
}

void CDictSharedWindows::Hide(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: m_windows.Close(ToolPanel::Results); break;
    case ScreenPanel::Contents: m_windows.Close(ToolPanel::Subjects); break;
    case ScreenPanel::Bookmarks: m_windows.Close(ToolPanel::Bookmarks); break;
  }
}

BOOL CDictSharedWindows::HasList() const {
  return m_windows.IsOpen(ToolPanel::Results) || m_windows.IsOpen(ToolPanel::Subjects);
}

BOOL CDictSharedWindows::ListedArticles(CBitString& articles) {
  if (m_windows.IsOpen(ToolPanel::Results))
    articles = Results().List().GetArticles();
  else if (m_windows.IsOpen(ToolPanel::Subjects))
    articles = Subjects().List().GetArticles();
  else
    return FALSE;
  return TRUE;
}
