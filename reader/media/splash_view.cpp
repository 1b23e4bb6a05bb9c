#include "splash_view.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"

IMPLEMENT_DYNCREATE(CSplash, CView)

BEGIN_MESSAGE_MAP(CSplash, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CSplash::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CSplash::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, HomeScreenId, m_menu, IDR_HOME);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CSplash::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnFontsChanged(WPARAM, LPARAM) { return 0; }
