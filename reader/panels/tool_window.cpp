#include "panels/tool_window.h"

#include "controls/skin_environment.h"

BEGIN_MESSAGE_MAP(CToolWindow, CHoverDialog)
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

BOOL CToolWindow::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    CWnd* frame = AfxGetMainWnd();
    if (frame != nullptr && frame != this && frame->PreTranslateMessage(pMsg)) return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void CToolWindow::PlaceCloseButton(CODButton& button, UINT bitmap, UINT id) {
  button.Create(CRect(0, 0, 0, 0), this, bitmap, CODButton::kUsualStyle, id);
  CRect client;
  GetClientRect(&client);
  const CSize size = button.GetFrameSize();
  button.SetWindowPos(nullptr, client.right - 4 - size.cx, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CRect CToolWindow::PlaceClientArea(const CRect& rect) {
  CRect outer = rect;
  ::AdjustWindowRectEx(&outer, GetStyle(), FALSE, GetExStyle());
  MoveWindow(&outer);
  CRect client;
  GetClientRect(&client);
  return client;
}

void CToolWindow::PaintGround(CDC& dc, int bandBrush, int backBrush) {
  CRect client;
  GetClientRect(&client);
  CRect band(0, 0, client.right, kBandHeight);
  dc.FillRect(&band, Skin().GetBrush(bandBrush));
  CRect rest(0, kBandHeight, client.right, client.bottom);
  dc.FillRect(&rest, Skin().GetBrush(backBrush));
}

void CToolWindow::DrawLine(CDC& dc, int font, const CString& text, CRect rect, UINT format) {
  CFont* old = dc.SelectObject(Skin().GetFont(font));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.DrawText(text, &rect, format | DT_NOPREFIX);
  dc.SelectObject(old);
}

void CToolWindow::DrawCount(CDC& dc, const CString& text, CWnd& close) {
  CRect button;
  close.GetWindowRect(&button);
  ScreenToClient(&button);
  DrawLine(dc, 12, text, CRect(0, 0, button.left - 3, kBandHeight), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

BOOL CToolWindow::OnQueryNewPalette() {
  CPalette* palette = Skin().GetPalette();
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, TRUE);
  if (changed > 0) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return TRUE;
}

void CToolWindow::OnPaletteChanged(CWnd* focus) {
  if (focus != this) OnQueryNewPalette();
}
