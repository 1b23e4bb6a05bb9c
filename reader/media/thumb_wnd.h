// CThumbWnd: a small child window that shows one media item of the gallery
// as a stretched picture, with a cursor that tells the item's kind. The
// formatted-text display puts one in an article for each media object; the
// quiz uses them as its media buttons. A double-click asks the owning screen
// to show the item (WM_SHOWITEM).
#pragma once

#include "framework.h"

class CThumbWnd : public CWnd {
 public:
  CThumbWnd() = default;
  ~CThumbWnd() override;

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, UINT item, CCreateContext* pContext);
  // A new item for the existing window; the caller repaints.
  BOOL LoadItem(UINT item);

  UINT GetItem() const { return m_item; }
  BOOL IsBuilt() const { return m_bBuilt; }
  BOOL HasBitmap() const { return m_bitmap.m_hObject != nullptr; }
  BOOL IsInDisplay() const { return m_bInDisplay; }
  UINT GetCursorId() const { return m_cursorId; }

 protected:
  void Prepare(UINT item);
  void FreeResources();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  void OnDestroy();
  LRESULT OnBuild(WPARAM wParam, LPARAM lParam);
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

  UINT m_item = 0;
  CPalette m_palette;
  CBitmap m_bitmap;
  HCURSOR m_cursor = nullptr;
  UINT m_cursorId = 0;
  BOOL m_bBuilt = FALSE;
  BOOL m_bInDisplay = FALSE;
};
