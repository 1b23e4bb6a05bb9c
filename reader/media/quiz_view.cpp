#include "quiz_view.h"

#include "reader/reader_ids.h"
#include "reader_messages.h"

IMPLEMENT_DYNCREATE(CQuiz, CView)

BEGIN_MESSAGE_MAP(CQuiz, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CQuiz::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CQuiz::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, QuizScreenId, m_menu, IDR_QUIZ);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CQuiz::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CQuiz::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CQuiz::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CQuiz::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CQuiz::OnFontsChanged(WPARAM, LPARAM) { return 0; }
