#include "timeline_view.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"

IMPLEMENT_DYNCREATE(CTimeLine, CView)

BEGIN_MESSAGE_MAP(CTimeLine, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CTimeLine::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CTimeLine::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, TimelineScreenId, m_menu, IDR_TIMELINE);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CTimeLine::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CTimeLine::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CTimeLine::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CTimeLine::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CTimeLine::OnFontsChanged(WPARAM, LPARAM) { return 0; }
