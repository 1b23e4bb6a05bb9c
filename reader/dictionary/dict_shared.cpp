// What the dictionary screen's shared windows (CDictSharedWindows) and the
// other screens ask of it: the roads back to the screen, the results of a
// new query; the listed articles Add Selected takes and articles related to
// the shown entry.

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "dictionary/dict_view.h"
#include "dictionary/dict_window_helpers.h"
#include "panels/item_router.h"
#include "reader/dictionary_ids.h"
#include "search/related_queries.h"

void CDict::ShowItem(int item) {
  if (GetMode() < dict::kDictionary) OnDictionaryMode();
  ShowEntry(static_cast<DWORD>(item));
}

void CDict::ShowArticle(int article) { panels::ShowOnScreen(panels::ItemKind::Article, article); }

void CDict::GoToMediaItem(int item) { panels::ShowOnScreen(panels::ItemKind::MediaItem, item); }

LRESULT CDict::OnShowResults(WPARAM wParam, LPARAM) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || m_shared.RefreshResults(*shell)) return 0;
  CWaitCursor wait;
  if (wParam == 0) m_menus.RebuildHistory();
  const int kind = shell->Queries().GetCurrentKind();
  if (kind == 1 && GetMode() != dict::kSmartSearch) m_modes.SwitchShared(dict::kSmartSearch);
  if (kind == 0 && GetMode() != dict::kBooleanSearch) m_modes.SwitchShared(dict::kBooleanSearch);
  m_panels.Close(dict::kKeyPanel);
  if (!m_shared.OpenResults(*shell)) return 0;
  if (m_currentEntry != 0 && shell->Queries().GetCurrentQuery().Test(static_cast<int>(m_currentEntry))) {
    m_display.ClearFindHits();
    MarkWords(shell->Queries().GetCurrentTerms());
  }
  return 0;
}

// ---- the listed articles (Add Selected) ---------------------------------------------

BOOL CDict::HasArticleList() const { return m_shared.HasList(); }

BOOL CDict::ListedArticles(CBitString& articles) { return m_shared.ListedArticles(articles); }

// ---- articles related to the shown entry ---------------------------------------------

void CDict::OnUpdateRelatedToEntry(CCmdUI* cmdUI) {
  cmdUI->Enable(dict::Shown(m_display) && DisplayHasText() && GetMode() >= dict::kDictionary);
}

void CDict::OnRelatedToEntry() {
  const int article = GetShownArticle();
  if (article > 0) search::QueryRelatedArticles(article);
}
