// Wrappers of GDI objects and device contexts. A wrapper owns its handle
// unless it was made by Attach/FromHandle of a handle someone else owns: an
// owning wrapper deletes the handle when it goes. Constructors that cannot get
// their handle (a paint or window DC) raise the resource exception.
#pragma once

#include "afx_core.h"

class CWnd;
class CPrintInfo;

class CGdiObject : public CObject {
  DECLARE_DYNCREATE(CGdiObject)
 public:
  HGDIOBJ m_hObject = nullptr;

  CGdiObject() = default;
  ~CGdiObject() override;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int nCount, LPVOID lpObject) const;
  BOOL CreateStockObject(int nIndex);

  // A wrapper for a handle that does not own it; such temporary wrappers are
  // dropped at idle time (AfxDeleteTempGdiMaps).
  static CGdiObject* FromHandle(HGDIOBJ hObject) { return TempWrapper<CGdiObject>(hObject); }

 protected:
  template <class T>
  static T* TempWrapper(HGDIOBJ hObject) {
    if (hObject == nullptr) return nullptr;
    T* wrapper = new T;
    wrapper->m_hObject = hObject;
    KeepTemporary(wrapper);
    return wrapper;
  }
  static void KeepTemporary(CGdiObject* wrapper);
  BOOL m_bTemporary = FALSE;
  friend void AfxDeleteTempGdiMaps();
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
 public:
  CPen() = default;
  CPen(int nPenStyle, int nWidth, COLORREF crColor);
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  static CPen* FromHandle(HPEN hPen) { return TempWrapper<CPen>(hPen); }
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
 public:
  CBrush() = default;
  explicit CBrush(COLORREF crColor);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
  BOOL CreateSolidBrush(COLORREF crColor);
  BOOL CreatePatternBrush(class CBitmap* pBitmap);
  static CBrush* FromHandle(HBRUSH hBrush) { return TempWrapper<CBrush>(hBrush); }
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
 public:
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  int GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }
  static CFont* FromHandle(HFONT hFont) { return TempWrapper<CFont>(hFont); }
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)
 public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  BOOL LoadBitmap(UINT nIDResource);
  BOOL LoadBitmap(LPCTSTR lpszResourceName);
  BOOL LoadOEMBitmap(UINT nIDBitmap);
  BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
  BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
  BOOL CreateCompatibleBitmap(class CDC* pDC, int nWidth, int nHeight);
  int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
  static CBitmap* FromHandle(HBITMAP hBitmap) { return TempWrapper<CBitmap>(hBitmap); }
};

class CPalette : public CGdiObject {
  DECLARE_DYNAMIC(CPalette)
 public:
  operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
  BOOL CreatePalette(LPLOGPALETTE lpLogPalette);
  UINT GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors) const;
  int GetEntryCount() const;
  static CPalette* FromHandle(HPALETTE hPalette) { return TempWrapper<CPalette>(hPalette); }
};

class CRgn : public CGdiObject {
  DECLARE_DYNAMIC(CRgn)
 public:
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
  BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
  BOOL CreateRectRgnIndirect(LPCRECT lpRect);
  BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
  BOOL PtInRegion(int x, int y) const;
  BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
  int GetRgnBox(LPRECT lpRect) const;
  static CRgn* FromHandle(HRGN hRgn) { return TempWrapper<CRgn>(hRgn); }
};

// A device context. m_hDC is where output goes; m_hAttribDC is asked for
// attributes and metrics. They are the same except in print preview, where
// output goes to the screen and metrics come from the printer.
class CDC : public CObject {
  DECLARE_DYNCREATE(CDC)
 public:
  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  BOOL m_bPrinting = FALSE;

  CDC() = default;
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  static CDC* FromHandle(HDC hDC);
  BOOL Attach(HDC hDC);
  HDC Detach();
  virtual void SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
  virtual void SetOutputDC(HDC hDC) { m_hDC = hDC; }
  virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
  virtual void ReleaseOutputDC() { m_hDC = nullptr; }
  BOOL IsPrinting() const { return m_bPrinting; }

  BOOL CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData);
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();
  virtual int SaveDC();
  virtual BOOL RestoreDC(int nSavedDC);
  int GetDeviceCaps(int nIndex) const;
  int Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData);

  // Printing.
  int StartDoc(LPDOCINFO lpDocInfo);
  int StartPage();
  int EndPage();
  int EndDoc();
  int AbortDoc();
  int SetAbortProc(BOOL(CALLBACK* lpfn)(HDC, int));

  // Selections; each returns the object that was selected before.
  CPen* SelectObject(CPen* pPen);
  CBrush* SelectObject(CBrush* pBrush);
  virtual CFont* SelectObject(CFont* pFont);
  CBitmap* SelectObject(CBitmap* pBitmap);
  int SelectObject(CRgn* pRgn);
  CGdiObject* SelectObject(CGdiObject* pObject);
  virtual CGdiObject* SelectStockObject(int nIndex);
  CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
  UINT RealizePalette();
  CFont* GetCurrentFont() const;

  // Attributes.
  virtual COLORREF SetBkColor(COLORREF crColor);
  COLORREF GetBkColor() const;
  int SetBkMode(int nBkMode);
  virtual COLORREF SetTextColor(COLORREF crColor);
  COLORREF GetTextColor() const;
  UINT SetTextAlign(UINT nFlags);
  int SetStretchBltMode(int nStretchMode);
  int SetMapMode(int nMapMode);
  int GetMapMode() const;
  virtual CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
  CPoint GetViewportOrg() const;
  virtual CPoint OffsetViewportOrg(int nWidth, int nHeight);
  CPoint SetWindowOrg(int x, int y);
  CPoint GetWindowOrg() const;
  void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
  void DPtoLP(LPRECT lpRect) const;
  void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
  void LPtoDP(LPRECT lpRect) const;

  // Clipping.
  int IntersectClipRect(int x1, int y1, int x2, int y2);
  int IntersectClipRect(LPCRECT lpRect);
  int ExcludeClipRect(int x1, int y1, int x2, int y2);
  int ExcludeClipRect(LPCRECT lpRect);
  virtual int GetClipBox(LPRECT lpRect) const;
  int SelectClipRgn(CRgn* pRgn);

  // Drawing.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
  BOOL Rectangle(int x1, int y1, int x2, int y2);
  BOOL Rectangle(LPCRECT lpRect);
  void FillRect(LPCRECT lpRect, CBrush* pBrush);
  void FillSolidRect(LPCRECT lpRect, COLORREF crColor);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor);
  void FrameRect(LPCRECT lpRect, CBrush* pBrush);
  void DrawFocusRect(LPCRECT lpRect);
  BOOL DrawIcon(int x, int y, HICON hIcon);
  COLORREF SetPixel(int x, int y, COLORREF crColor);
  COLORREF GetPixel(int x, int y) const;
  BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
  BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth, int nSrcHeight,
                  DWORD dwRop);
  BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
  BOOL ScrollDC(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* pRgnUpdate, LPRECT lpRectUpdate);

  // Text.
  virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
  BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
  virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                          LPINT lpDxWidths);
  virtual int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str, str.GetLength(), lpRect, nFormat);
  }
  CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
  CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const;
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
  BOOL GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const;

 protected:
  // Selects into both DCs; returns the handle selected before (output DC's
  // unless only the attribute DC exists).
  HGDIOBJ SelectHandle(HGDIOBJ hObject);
};

// The DC of one WM_PAINT (BeginPaint/EndPaint).
class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;

 protected:
  HWND m_hWnd;
};

// The client-area DC of a window (GetDC/ReleaseDC).
class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)
 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

// The whole-window DC, frame included (GetWindowDC/ReleaseDC).
class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)
 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

// Drops the temporary wrappers FromHandle made (run at idle time).
void AfxDeleteTempGdiMaps();
