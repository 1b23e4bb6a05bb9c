#include "media/thumb_wnd.h"

#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "display/display.h"
#include "media/media_logic.h"
#include "packed_dib.h"

BEGIN_MESSAGE_MAP(CThumbWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDBLCLK()
ON_WM_DESTROY()
ON_MESSAGE(WM_THUMBNAIL, OnBuild)
END_MESSAGE_MAP()

CThumbWnd::~CThumbWnd() { FreeResources(); }

void CThumbWnd::FreeResources() {
  m_bitmap.DeleteObject();
  m_palette.DeleteObject();
  if (m_cursor) ::DestroyCursor(m_cursor);
  m_cursor = nullptr;
}

void CThumbWnd::Prepare(UINT item) {
  m_bBuilt = FALSE;
  m_item = item;
  FreeResources();
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title;
  CDWordArray articles;
  Reader().GetDatabase(1).ReadMediaList(item, type, sound, title, articles);
  m_cursorId = media_logic::ThumbnailCursor(type, sound != 0xFFFF);
  m_cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_cursorId));
}

BOOL CThumbWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, UINT item, CCreateContext* pContext) {
  m_bInDisplay = pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CDisplay));
  Prepare(item);
  const LPCTSTR type = lpszClassName ? lpszClassName : AfxRegisterWndClass(CS_DBLCLKS, nullptr);
  return CWnd::Create(type, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

BOOL CThumbWnd::LoadItem(UINT item) {
  Prepare(item);
  return TRUE;
}

void CThumbWnd::OnPaint() {
  CPaintDC dc(this);
  if (!m_bBuilt) {
    PostMessage(WM_THUMBNAIL);
    return;
  }
  if (!m_bitmap.m_hObject) return;
  CPalette* palette = &Reader().m_palette;
  CPalette* old = palette->m_hObject ? dc.SelectPalette(palette, FALSE) : nullptr;
  dc.RealizePalette();
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CPalette* oldMemory = palette->m_hObject ? memory.SelectPalette(palette, FALSE) : nullptr;
  memory.RealizePalette();
  CBitmap* oldBitmap = memory.SelectObject(&m_bitmap);
  CRect client;
  GetClientRect(&client);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
  if (oldMemory) memory.SelectPalette(oldMemory, FALSE);
  if (old) dc.SelectPalette(old, FALSE);
}

LRESULT CThumbWnd::OnBuild(WPARAM, LPARAM) {
  if (m_bBuilt) return m_bitmap.m_hObject != nullptr;
  m_bBuilt = TRUE;  // a picture that cannot be read is not read again
  HGLOBAL dib = nullptr, second = nullptr;
  if (!Reader().GetDatabase(1).LoadPictureDib(m_item, &dib, &second) || !dib) return FALSE;
  const auto* header = static_cast<const BYTE*>(::GlobalLock(dib));
  BOOL made = FALSE;
  if (const auto layout = LayOutPackedDib(header, ::GlobalSize(dib))) {
    CRect client;
    GetClientRect(&client);
    CClientDC screen(this);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    if (m_bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height())) {
      CPalette* palette = &Reader().m_palette;
      CPalette* old = palette->m_hObject ? memory.SelectPalette(palette, FALSE) : nullptr;
      memory.RealizePalette();
      CBitmap* oldBitmap = memory.SelectObject(&m_bitmap);
      memory.SetStretchBltMode(COLORONCOLOR);
      ::StretchDIBits(memory.m_hDC, 0, 0, client.Width(), client.Height(), 0, 0, layout->width,
                      static_cast<int>(layout->rows), header + layout->bitsOffset,
                      reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS, SRCCOPY);
      memory.SelectObject(oldBitmap);
      if (old) memory.SelectPalette(old, FALSE);
      made = TRUE;
    }
  }
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
  Invalidate(FALSE);
  UpdateWindow();
  return made;
}

BOOL CThumbWnd::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CThumbWnd::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(m_cursor ? m_cursor : ::LoadCursorA(nullptr, IDC_ARROW));
  return TRUE;
}

void CThumbWnd::OnLButtonDblClk(UINT, CPoint) {
  CWnd* parent = GetParent();
  if (!parent) return;
  if (m_bInDisplay) {
    // The screen that owns the display finds the item by the thumbnail's id.
    if (CWnd* screen = parent->GetParent()) screen->PostMessage(WM_SHOWITEM, static_cast<WPARAM>(GetDlgCtrlID()), 0);
  } else {
    parent->PostMessage(WM_SHOWITEM, m_item, 0);
  }
}

void CThumbWnd::OnDestroy() {
  FreeResources();
  CWnd::OnDestroy();
}

void CThumbWnd::PostNcDestroy() { CWnd::PostNcDestroy(); }
