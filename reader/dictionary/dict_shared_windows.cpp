#include "dictionary/dict_shared_windows.h"

#include "core/reader_shell.h"
#include "messages/window_messages.h"
#include "reader/dictionary_ids.h"

namespace {

BOOL IsOpen(const CWnd& window) { return window.GetSafeHwnd() != nullptr && ::IsWindow(window.GetSafeHwnd()); }

void Destroy(CWnd& window) {
  if (IsOpen(window)) window.DestroyWindow();
}

// The subjects window and the bookmark list close through their own close
// operation, which also clears the frame's flag that reopens them.
void CloseByCancel(CWnd& window) {
  if (IsOpen(window)) window.SendMessage(WM_COMMAND, IDCANCEL, 0);
  Destroy(window);
}

}  // namespace

CRect CDictSharedWindows::Rect() const {
  CRect rect = m_layout.panels[0];
  rect.top = m_wordBox.top;
  return rect;
}

void CDictSharedWindows::CloseAll(int keep) {
  if (keep != dict::kContents) CloseByCancel(m_subjects);
  if (keep != dict::kBookmarks) CloseByCancel(m_bookmarks);
  if (keep != dict::kSmartSearch) Destroy(m_smartSearch);
  if (keep != dict::kBooleanSearch) Destroy(m_boolean);
  Destroy(m_tuner);
  Destroy(m_results);
}

BOOL CDictSharedWindows::RefreshOpen(int mode) {
  if (mode == dict::kContents && IsOpen(m_subjects)) {
    m_subjects.SendMessage(WM_REFRESHLIST, 0, 0);
    return TRUE;
  }
  if (mode == dict::kBookmarks && IsOpen(m_bookmarks)) {
    m_bookmarks.SendMessage(WM_REFRESHLIST, 0, 0);
    return TRUE;
  }
  return (mode == dict::kSmartSearch && IsOpen(m_smartSearch)) || (mode == dict::kBooleanSearch && IsOpen(m_boolean));
}

BOOL CDictSharedWindows::ShowMade(CWnd& window, BOOL made) {
  if (!made || !IsOpen(window)) {
    AfxMessageBox("The window could not be opened.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  window.ShowWindow(SW_SHOW);
  return TRUE;
}

void CDictSharedWindows::Open(int mode) {
  if (mode == dict::kSmartSearch) Destroy(m_tuner);
  if (mode == dict::kSmartSearch || mode == dict::kBooleanSearch) Destroy(m_results);
  const CRect rect = Rect();
  BOOL made = FALSE;
  CWnd* window = nullptr;
  switch (mode) {
    case dict::kContents:
      made = m_subjects.Create(rect, CSubjectsDlg::kTemplate, &m_owner, FALSE);
      window = &m_subjects;
      break;
    case dict::kSmartSearch:
      made = m_smartSearch.Create(rect, CSmartSearchDlg::kTemplate, &m_owner);
      window = &m_smartSearch;
      break;
    case dict::kBooleanSearch:
      made = m_boolean.Create(rect, CSearchDlg::kTemplate, &m_owner);
      window = &m_boolean;
      break;
    case dict::kBookmarks:
      made = m_bookmarks.Create(rect, IDD_BOOKMARK_LIST, &m_owner);
      window = &m_bookmarks;
      break;
    default: return;
  }
  if (made && IsOpen(*window)) window->MoveWindow(&rect);
  if (ShowMade(*window, made)) window->SetFocus();
}

void CDictSharedWindows::OpenTuner(const CString& query, const CStringArray& terms) {
  CWaitCursor wait;
  Destroy(m_smartSearch);
  Destroy(m_tuner);
  if (ShowMade(m_tuner, m_tuner.Create(Rect(), CTunerDlg::kTemplate, &m_owner, query, terms))) m_tuner.SetFocus();
}

BOOL CDictSharedWindows::RefreshResults(ReaderShell& shell) {
  if (!IsOpen(m_results) || !shell.Queries().IsCurrentQuery(m_results.GetQuery(), m_results.IsRanked())) return FALSE;
  m_results.SendMessage(WM_REFRESHLIST);
  return TRUE;
}

BOOL CDictSharedWindows::OpenResults(ReaderShell& shell) {
  for (CWnd* window : {static_cast<CWnd*>(&m_smartSearch), static_cast<CWnd*>(&m_boolean), static_cast<CWnd*>(&m_tuner),
                       static_cast<CWnd*>(&m_results)})
    Destroy(*window);
  const auto& queries = shell.Queries();
  return ShowMade(m_results, m_results.Create(Rect(), CResultsDlg::kTemplate, queries.GetCurrentKind(), &m_owner,
                                              &queries.GetCurrentTerms(), queries.GetCurrentText()));
}

void CDictSharedWindows::SaveState(SearchState& state) {
  if (IsOpen(m_results)) m_results.SaveState(state);
  if (IsOpen(m_subjects)) m_subjects.SaveState(state);
  if (IsOpen(m_bookmarks)) m_bookmarks.SaveState(state);
}

void CDictSharedWindows::Hide(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: Destroy(m_results); break;
    case ScreenPanel::Contents: Destroy(m_subjects); break;
    case ScreenPanel::Bookmarks: Destroy(m_bookmarks); break;
  }
}

BOOL CDictSharedWindows::HasList() const { return IsOpen(m_results) || IsOpen(m_subjects); }

BOOL CDictSharedWindows::ListedArticles(CBitString& articles) {
  if (IsOpen(m_results))
    articles = m_results.List().GetArticles();
  else if (IsOpen(m_subjects))
    articles = m_subjects.List().GetArticles();
  else
    return FALSE;
  return TRUE;
}
