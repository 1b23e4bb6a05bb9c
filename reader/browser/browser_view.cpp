#include "browser_view.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"

IMPLEMENT_DYNCREATE(CBrowser, CView)

BEGIN_MESSAGE_MAP(CBrowser, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CBrowser::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CBrowser::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, BrowserScreenId, m_menu, IDR_BROWSER);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CBrowser::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CBrowser::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CBrowser::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CBrowser::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CBrowser::OnFontsChanged(WPARAM, LPARAM) { return 0; }
