#include "dict_view.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"

IMPLEMENT_DYNCREATE(CDict, CView)

BEGIN_MESSAGE_MAP(CDict, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CDict::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CDict::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, DictionaryScreenId, m_menu, IDR_DICTIONARY);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CDict::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CDict::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CDict::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CDict::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CDict::OnFontsChanged(WPARAM, LPARAM) { return 0; }

void CDict::OnDictionaryMode() { m_nMode = 0; }

void CDict::LookUpWord(const CString& word, int, int, void*) {
  m_word = word;
  Invalidate();
}
