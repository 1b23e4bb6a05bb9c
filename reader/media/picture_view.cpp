#include "picture_view.h"

#include "main_frame.h"
#include "reader/reader_ids.h"
#include "reader_messages.h"
#include "veldrix_app.h"

IMPLEMENT_DYNCREATE(CViewPicture, CView)

BEGIN_MESSAGE_MAP(CViewPicture, CView)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
END_MESSAGE_MAP()

void CViewPicture::OnDraw(CDC* pDC) { PaintScreenBackground(this, pDC); }

void CViewPicture::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, MediaScreenId, m_menu, IDR_MEDIA);
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CViewPicture::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CViewPicture::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CViewPicture::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CViewPicture::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CViewPicture::OnFontsChanged(WPARAM, LPARAM) { return 0; }

void CViewPicture::GoToItem(int item, int) {
  m_item = item;
  Invalidate();
}

void CViewPicture::OnSound() {
  CMainFrame* frame = GetVeldrixApp().GetMainFrame();
  if (!frame) return;
  if (m_bSoundPlaying) {
    frame->PlaySound(nullptr);
    m_bSoundPlaying = FALSE;
    return;
  }
  // The item's sound record, named in its item record.
  CContentDb& main = GetVeldrixApp().GetDatabase(1);
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title, path;
  CDWordArray related;
  if (m_item == 4095 || main.ReadMediaList(static_cast<UINT>(m_item), type, sound, title, related) < 0) return;
  const UINT record = type == 5 ? static_cast<UINT>(m_item) : sound;
  if (record == 0xFFFF || !main.ReadSoundRecord(record, path)) return;
  m_bSoundPlaying = frame->PlaySound(path);
}

void CViewPicture::SetPalette(CPalette* palette) {
  m_pPalette = palette;
  CMainFrame* frame = GetVeldrixApp().GetMainFrame();
  if (frame && frame->GetActiveView() == this) {
    Invalidate();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}
