// The sources of the encyclopedia's articles and the related articles of
// MAROVA.REL.
#include "browser/browser.h"
#include "core/reader_context.h"
#include "reader/browser_ids.h"
#include "search/related_queries.h"

browser::ArticleSource CBrowser::CurrentSource() const {
  const ReaderContext& app = Reader();
  return browser::SourceOf(app.m_tdwBits.Test(m_currentArticle) != 0, app.m_hspBits.Test(m_currentArticle) != 0);
}

// ---- related articles ------------------------------------------------------------------

void CBrowser::OnRelatedArticle() {
  if (!Reader().m_mainArticles.Test(m_currentArticle)) {
    AfxMessageBox("There are no related articles for the Internet Updates.\r\n", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  search::QueryRelatedArticles(m_currentArticle);
}
