#include "afx_gdi.h"

#include <vector>

#include "afx_wnd.h"

namespace {

// The temporary maps are never destroyed: the application object, a global,
// empties them in its destructor during static destruction, after locals
// made static later (on first use) are already gone.
std::vector<CGdiObject*>& TempGdiObjects() {
  static auto& objects = *new std::vector<CGdiObject*>;
  return objects;
}

std::vector<CDC*>& TempDCs() {
  static auto& dcs = *new std::vector<CDC*>;
  return dcs;
}

// A setting goes to the output DC and, when it is another one, to the
// attribute DC too; the answer is the last DC's.
template <typename Value, typename Apply>
Value OnBothDCs(HDC output, HDC attribute, Value none, Apply apply) {
  Value answer = none;
  if (output != nullptr) answer = apply(output);
  if (attribute != nullptr && attribute != output) answer = apply(attribute);
  return answer;
}

}  // namespace

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

void AfxDeleteTempGdiMaps() {
  std::vector<CGdiObject*> objects;
  objects.swap(TempGdiObjects());
  for (CGdiObject* object : objects) {
    object->m_hObject = nullptr;  // not ours to delete
    delete object;
  }
  std::vector<CDC*> dcs;
  dcs.swap(TempDCs());
  for (CDC* dc : dcs) {
    dc->m_hDC = dc->m_hAttribDC = nullptr;
    delete dc;
  }
}

// ---- GDI objects

CGdiObject::~CGdiObject() {
  if (!m_bTemporary) DeleteObject();
}

void CGdiObject::KeepTemporary(CGdiObject* wrapper) {
  wrapper->m_bTemporary = TRUE;
  TempGdiObjects().push_back(wrapper);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ handle = m_hObject;
  m_hObject = nullptr;
  return handle;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return m_hObject == nullptr ? 0 : ::GetObjectA(m_hObject, nCount, lpObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
  if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
  return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

CBrush::CBrush(COLORREF crColor) {
  if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
  return pBitmap != nullptr && Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) { return Attach(::CreateFontIndirectA(lpLogFont)); }

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
  return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(nIDBitmap))); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette) { return Attach(::CreatePalette(lpLogPalette)); }

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const {
  return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), nStartIndex, nNumEntries, lpPaletteColors);
}

int CPalette::GetEntryCount() const {
  WORD count = 0;
  return GetObject(sizeof count, &count) == 0 ? 0 : count;
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
  return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }

int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(static_cast<HRGN>(m_hObject), lpRect); }

// ---- device contexts

CDC::~CDC() {
  if (m_hDC != nullptr) DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC) {
  if (hDC == nullptr) return nullptr;
  CDC* dc = new CDC;
  dc->m_hDC = dc->m_hAttribDC = hDC;
  TempDCs().push_back(dc);
  return dc;
}

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return hDC;
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData) {
  return Attach(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEA*>(lpInitData)));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC == nullptr ? nullptr : pDC->m_hDC)); }

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, 0, [](HDC dc) { return ::SaveDC(dc); });
}

BOOL CDC::RestoreDC(int nSavedDC) {
  BOOL ok = TRUE;
  if (m_hDC != nullptr) ok = ::RestoreDC(m_hDC, nSavedDC);
  if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC) ok = ::RestoreDC(m_hAttribDC, nSavedDC) && ok;
  return ok;
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

int CDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData) {
  return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

int CDC::StartDoc(LPDOCINFO lpDocInfo) { return ::StartDocA(m_hDC, lpDocInfo); }
int CDC::StartPage() { return ::StartPage(m_hDC); }
int CDC::EndPage() { return ::EndPage(m_hDC); }
int CDC::EndDoc() { return ::EndDoc(m_hDC); }
int CDC::AbortDoc() { return ::AbortDoc(m_hDC); }
int CDC::SetAbortProc(BOOL(CALLBACK* lpfn)(HDC, int)) { return ::SetAbortProc(m_hDC, lpfn); }

HGDIOBJ CDC::SelectHandle(HGDIOBJ hObject) {
  if (hObject == nullptr) return nullptr;
  return OnBothDCs<HGDIOBJ>(m_hDC, m_hAttribDC, nullptr, [&](HDC dc) { return ::SelectObject(dc, hObject); });
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return pObject == nullptr ? nullptr : CGdiObject::FromHandle(SelectHandle(pObject->m_hObject));
}
CPen* CDC::SelectObject(CPen* pPen) {
  return pPen == nullptr ? nullptr : CPen::FromHandle(static_cast<HPEN>(SelectHandle(pPen->m_hObject)));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
  return pBrush == nullptr ? nullptr : CBrush::FromHandle(static_cast<HBRUSH>(SelectHandle(pBrush->m_hObject)));
}
CFont* CDC::SelectObject(CFont* pFont) {
  return pFont == nullptr ? nullptr : CFont::FromHandle(static_cast<HFONT>(SelectHandle(pFont->m_hObject)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return pBitmap == nullptr ? nullptr : CBitmap::FromHandle(static_cast<HBITMAP>(SelectHandle(pBitmap->m_hObject)));
}
int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }

CGdiObject* CDC::SelectStockObject(int nIndex) {
  return CGdiObject::FromHandle(SelectHandle(::GetStockObject(nIndex)));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  if (pPalette == nullptr) return nullptr;
  HPALETTE old = ::SelectPalette(m_hDC, static_cast<HPALETTE>(pPalette->m_hObject), bForceBackground);
  return CPalette::FromHandle(old);
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }

CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hAttribDC, OBJ_FONT)));
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
  return OnBothDCs<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID, [&](HDC dc) { return ::SetBkColor(dc, crColor); });
}
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }

int CDC::SetBkMode(int nBkMode) {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, 0, [&](HDC dc) { return ::SetBkMode(dc, nBkMode); });
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  return OnBothDCs<COLORREF>(m_hDC, m_hAttribDC, CLR_INVALID, [&](HDC dc) { return ::SetTextColor(dc, crColor); });
}
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }

UINT CDC::SetTextAlign(UINT nFlags) {
  return OnBothDCs<UINT>(m_hDC, m_hAttribDC, 0, [&](HDC dc) { return ::SetTextAlign(dc, nFlags); });
}

int CDC::SetStretchBltMode(int nStretchMode) {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, 0, [&](HDC dc) { return ::SetStretchBltMode(dc, nStretchMode); });
}

int CDC::SetMapMode(int nMapMode) {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, 0, [&](HDC dc) { return ::SetMapMode(dc, nMapMode); });
}
int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old = {0, 0};
  OnBothDCs<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC dc) { return ::SetViewportOrgEx(dc, x, y, &old); });
  return old;
}

CPoint CDC::GetViewportOrg() const {
  POINT origin = {0, 0};
  ::GetViewportOrgEx(m_hAttribDC, &origin);
  return origin;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  POINT old = {0, 0};
  OnBothDCs<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC dc) { return ::OffsetViewportOrgEx(dc, nWidth, nHeight, &old); });
  return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old = {0, 0};
  OnBothDCs<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC dc) { return ::SetWindowOrgEx(dc, x, y, &old); });
  return old;
}

CPoint CDC::GetWindowOrg() const {
  POINT origin = {0, 0};
  ::GetWindowOrgEx(m_hAttribDC, &origin);
  return origin;
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2); }

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC dc) { return ::IntersectClipRect(dc, x1, y1, x2, y2); });
}
int CDC::IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  return OnBothDCs<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC dc) { return ::ExcludeClipRect(dc, x1, y1, x2, y2); });
}
int CDC::ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn) {
  HRGN region = pRgn == nullptr ? nullptr : static_cast<HRGN>(pRgn->m_hObject);
  return OnBothDCs<int>(m_hDC, m_hAttribDC, ERROR, [&](HDC dc) { return ::SelectClipRgn(dc, region); });
}

CPoint CDC::MoveTo(int x, int y) {
  POINT old = {0, 0};
  OnBothDCs<BOOL>(m_hDC, m_hAttribDC, FALSE, [&](HDC dc) { return ::MoveToEx(dc, x, y, &old); });
  return old;
}

BOOL CDC::LineTo(int x, int y) {
  if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
  return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
  // An opaque empty text paints the rectangle in the background colour.
  const COLORREF old = ::SetBkColor(m_hDC, crColor);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor) {
  const CRect rect(x, y, x + cx, y + cy);
  FillSolidRect(&rect, crColor);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
  ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC == nullptr ? nullptr : pSrcDC->m_hDC, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC == nullptr ? nullptr : pSrcDC->m_hDC, xSrc, ySrc, nSrcWidth,
                      nSrcHeight, dwRop);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
  return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::ScrollDC(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* pRgnUpdate, LPRECT lpRectUpdate) {
  return ::ScrollDC(m_hDC, dx, dy, lpRectScroll, lpRectClip,
                    pRgnUpdate == nullptr ? nullptr : static_cast<HRGN>(pRgnUpdate->m_hObject), lpRectUpdate);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOutA(m_hDC, x, y, lpszString, nCount); }

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths) {
  return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
  return size;
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
  return size;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsA(m_hAttribDC, lpMetrics); }
BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsA(m_hDC, lpMetrics); }

// ---- window DCs

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd == nullptr ? nullptr : pWnd->m_hWnd) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd == nullptr ? nullptr : pWnd->m_hWnd) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
