// The dictionary screen's shared windows: contents (subjects window), Smart
// Search, Boolean search and the bookmark list over the left column in modes
// 5 to 8, the results window and the Tuner; the roads they take back to the
// screen; adding entries to bookmark folders and articles related to the
// shown entry.

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "messages/window_messages.h"
#include "panels/folder_dlgs.h"
#include "panels/item_router.h"
#include "reader/dictionary_ids.h"
#include "search/related_queries.h"

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

CRect CDict::SharedRect() const {
  CRect rect = m_layout.panels[0];
  rect.top = m_wordBox.top;
  return rect;
}

void CDict::CloseSharedWindows(int keep) {
  if (keep != dict::kContents) CloseByCancel(m_subjects);
  if (keep != dict::kBookmarks) CloseByCancel(m_bookmarks);
  if (keep != dict::kSmartSearch) Destroy(m_smartSearch);
  if (keep != dict::kBooleanSearch) Destroy(m_boolean);
  Destroy(m_tuner);
  Destroy(m_results);
}

void CDict::OpenSharedWindow(int mode) {
  const CRect rect = SharedRect();
  BOOL made = FALSE;
  CWnd* window = nullptr;
  switch (mode) {
    case dict::kContents:
      made = m_subjects.Create(rect, CSubjectsDlg::kTemplate, this, FALSE);
      window = &m_subjects;
      break;
    case dict::kSmartSearch:
      made = m_smartSearch.Create(rect, CSmartSearchDlg::kTemplate, this);
      window = &m_smartSearch;
      break;
    case dict::kBooleanSearch:
      made = m_boolean.Create(rect, CSearchDlg::kTemplate, this);
      window = &m_boolean;
      break;
    case dict::kBookmarks:
      made = m_bookmarks.Create(rect, IDD_BOOKMARK_LIST, this);
      window = &m_bookmarks;
      break;
    default: return;
  }
  if (!made || window == nullptr || !IsOpen(*window)) {
    AfxMessageBox("The window could not be opened.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  window->MoveWindow(&rect);
  window->ShowWindow(SW_SHOW);
  window->SetFocus();
}

void CDict::OpenTuner(const CString& query, const CStringArray& terms) {
  CWaitCursor wait;
  Destroy(m_smartSearch);
  Destroy(m_tuner);
  const CRect rect = SharedRect();
  if (!m_tuner.Create(rect, CTunerDlg::kTemplate, this, query, terms) || !IsOpen(m_tuner)) {
    AfxMessageBox("The window could not be opened.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  m_tuner.ShowWindow(SW_SHOW);
  m_tuner.SetFocus();
}

void CDict::ShowItem(int item) {
  if (m_nMode < dict::kDictionary) OnDictionaryMode();
  ShowEntry(static_cast<DWORD>(item));
}

void CDict::ShowArticle(int article) { panels::ShowOnScreen(panels::ItemKind::Article, article); }

void CDict::GoToMediaItem(int item) { panels::ShowOnScreen(panels::ItemKind::MediaItem, item); }

void CDict::PrintBookmarkFolder(int folder, BOOL preview) {
  if (preview)
    PreviewBookmarkFolder(folder);
  else
    PrintBookmarkFolder(folder);
}

void CDict::SaveSearchState(SearchState& state) {
  if (IsOpen(m_results)) m_results.SaveState(state);
  if (IsOpen(m_subjects)) m_subjects.SaveState(state);
  if (IsOpen(m_bookmarks)) m_bookmarks.SaveState(state);
}

void CDict::HidePanel(ScreenPanel panel) {
  switch (panel) {
    case ScreenPanel::Results: Destroy(m_results); break;
    case ScreenPanel::Contents: Destroy(m_subjects); break;
    case ScreenPanel::Bookmarks: Destroy(m_bookmarks); break;
  }
}

// ---- modes 5 to 8 ----------------------------------------------------------------

// Contents, Smart Search, Boolean search, bookmarks: the left column is the
// shared window's; the word controls go.
void CDict::SwitchSharedMode(int mode) {
  // A window already open is refreshed (contents, bookmarks) or left alone.
  if (mode == dict::kContents && IsOpen(m_subjects)) {
    m_subjects.SendMessage(WM_REFRESHLIST, 0, 0);
    return;
  }
  if (mode == dict::kBookmarks && IsOpen(m_bookmarks)) {
    m_bookmarks.SendMessage(WM_REFRESHLIST, 0, 0);
    return;
  }
  if ((mode == dict::kSmartSearch && IsOpen(m_smartSearch)) || (mode == dict::kBooleanSearch && IsOpen(m_boolean)))
    return;
  CWaitCursor wait;
  if (mode != m_nMode) {
    if (m_nMode < dict::kDictionary) ClearEntry();
    m_nMode = mode;
    ApplyModeButtons();
    for (CODButton& button : m_modeButtons) button.EnableWindow(TRUE);
    CloseSharedWindows(mode);
    m_panels.CloseAll();
    ShowModeControls();
    if (GetParentFrame() != nullptr && GetParentFrame()->GetActiveView() == this) {
      Invalidate();
      UpdateWindow();
    }
  }
  m_panels.Close(dict::kKeyPanel);
  if (mode == dict::kSmartSearch) Destroy(m_tuner);
  if (mode == dict::kSmartSearch || mode == dict::kBooleanSearch) Destroy(m_results);
  OpenSharedWindow(mode);
}

LRESULT CDict::OnShowResults(WPARAM wParam, LPARAM) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return 0;
  if (IsOpen(m_results) && shell->Queries().IsCurrentQuery(m_results.GetQuery(), m_results.IsRanked())) {
    m_results.SendMessage(WM_REFRESHLIST);
    return 0;
  }
  CWaitCursor wait;
  if (wParam == 0) RebuildHistoryMenu();
  const int kind = shell->Queries().GetCurrentKind();
  if (kind == 1 && m_nMode != dict::kSmartSearch) SwitchSharedMode(dict::kSmartSearch);
  if (kind == 0 && m_nMode != dict::kBooleanSearch) SwitchSharedMode(dict::kBooleanSearch);
  m_panels.Close(dict::kKeyPanel);
  Destroy(m_smartSearch);
  Destroy(m_boolean);
  Destroy(m_tuner);
  Destroy(m_results);
  const CRect rect = SharedRect();
  if (!m_results.Create(rect, CResultsDlg::kTemplate, kind, this, &shell->Queries().GetCurrentTerms(),
                        shell->Queries().GetCurrentText()) ||
      !IsOpen(m_results)) {
    AfxMessageBox("The window could not be opened.", MB_ICONEXCLAMATION | MB_OK);
    return 0;
  }
  m_results.ShowWindow(SW_SHOW);
  if (m_currentEntry != 0 && shell->Queries().GetCurrentQuery().Test(static_cast<int>(m_currentEntry))) {
    m_display.ClearFindHits();
    MarkWords(shell->Queries().GetCurrentTerms());
  }
  return 0;
}

// ---- bookmarks ---------------------------------------------------------------------

BOOL CDict::ChooseFolder(int& folder) {
  folder = -1;
  CNewFolderDlg chooser(this);
  if (chooser.DoModal() != IDOK) return FALSE;
  if (chooser.m_selection < 0 || chooser.m_selection >= Reader().m_folders.GetSize()) return FALSE;
  folder = chooser.m_selection;
  return TRUE;
}

void CDict::OnAddArticle() {
  const int article = GetShownArticle();
  if (article <= 0) return;
  int folder = -1;
  if (ChooseFolder(folder)) Reader().SetInFolder(folder, article, TRUE);
}

void CDict::OnAddSelectedArticles() {
  const CBitString* set = nullptr;
  if (IsOpen(m_results))
    set = &m_results.List().GetArticles();
  else if (IsOpen(m_subjects))
    set = &m_subjects.List().GetArticles();
  if (set == nullptr) return;
  const CBitString articles = *set;  // the chooser may refill the window's list
  int folder = -1;
  if (ChooseFolder(folder)) Reader().AddToFolder(folder, articles, TRUE);
}

void CDict::OnUpdateAddSelected(CCmdUI* cmdUI) { cmdUI->Enable(IsOpen(m_results) || IsOpen(m_subjects)); }

// ---- articles related to the shown entry ---------------------------------------------

void CDict::OnUpdateRelatedToEntry(CCmdUI* cmdUI) {
  cmdUI->Enable(dict::Shown(m_display) && DisplayHasText() && m_nMode >= dict::kDictionary);
}

void CDict::OnRelatedToEntry() {
  const int article = GetShownArticle();
  if (article > 0) search::QueryRelatedArticles(article);
}
