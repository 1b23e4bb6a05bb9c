#include "media/gallery/media_frame.h"

#include "core/reader_messages.h"
#include "media/movie_wnd.h"
#include "media/picture_wnd.h"
#include "reader/media_ids.h"

BEGIN_MESSAGE_MAP(CMediaFrameWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_MESSAGE(WM_REGIONCLICK, OnRegionClick)
END_MESSAGE_MAP()

BOOL CMediaFrameWnd::Create(CWnd* parent, const RECT& rect, UINT id) {
  const LPCTSTR type = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
  return CWnd::Create(type, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, id);
}

BOOL CMediaFrameWnd::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, RGB(0, 0, 0));
  return TRUE;
}

void CMediaFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  CWnd* window = GetDlgItem(IDC_MEDIA_WINDOW);
  if (!window) return;
  const CRect area(0, 0, cx, cy);
  if (auto* movie = dynamic_cast<CMovieWnd*>(window))
    movie->KeepInParent(area);
  else if (auto* picture = dynamic_cast<CPictureWnd*>(window))
    picture->FitToParent(area);
}

LRESULT CMediaFrameWnd::OnRegionClick(WPARAM wParam, LPARAM lParam) {
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_REGIONCLICK, wParam, lParam);
  return 0;
}
