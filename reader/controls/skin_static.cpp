#include "controls/skin_static.h"

void SkinFrameBrushes(int skin, int& outer, int& inner) {
  switch (skin) {
    case kSkinEncyclopedia: outer = 2, inner = 0; break;
    case kSkinDictionary: outer = 8, inner = 6; break;
    case 4: outer = 5, inner = 3; break;
    case kSkinTimeline: outer = 14, inner = 12; break;
    default: outer = 11, inner = 9; break;
  }
}

void DrawSkinStrip(CDC& dc, const CRect& rect, int skin, const CString& text, BOOL clipText) {
  int outer = 0;
  int inner = 0;
  SkinFrameBrushes(skin, outer, inner);
  CRect frame = rect;
  dc.FrameRect(&frame, Skin().GetBrush(outer));
  frame.DeflateRect(1, 1);
  dc.FrameRect(&frame, Skin().GetBrush(inner));
  frame.DeflateRect(1, 1);
  dc.FillRect(&frame, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))));
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CRect textRect = rect;
  textRect.DeflateRect(2, 0);
  dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (clipText ? 0 : DT_NOCLIP));
  dc.SelectObject(old);
}

BOOL CSkinStatic::Create(LPCTSTR text, const RECT& rect, CWnd* parent, UINT id, int skin) {
  m_skin = skin;
  if (HWND placeholder = ::GetDlgItem(parent->GetSafeHwnd(), static_cast<int>(id))) ::DestroyWindow(placeholder);
  LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  return CWnd::Create(windowClass, text, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

LRESULT CSkinStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
      CPaintDC dc(this);
      CRect client;
      GetClientRect(&client);
      CString text;
      GetWindowText(text);
      CSkinPaletteScope palette(&dc);
      DrawSkinStrip(dc, client, m_skin, text, TRUE);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      Invalidate(FALSE);
      return result;
    }
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
