#include "core/reader_screen.h"

#include "core/reader_context.h"

void ActivateScreen(CView* view, BOOL activate, Screen screen, CMenu& menu) {
  const ScreenEntry& entry = ScreenInfo(screen);
  if (!activate) {
    if (view->GetDlgCtrlID() == AFX_IDW_PANE_FIRST) view->SetDlgCtrlID(static_cast<int>(entry.childId));
    view->ShowWindow(SW_HIDE);
    return;
  }
  view->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
  view->ShowWindow(SW_SHOW);
  CWnd* frame = view->GetParentFrame();
  if (!frame) return;
  if (!menu.m_hMenu) menu.LoadMenu(entry.templateId);
  if (menu.m_hMenu && ::GetMenu(frame->m_hWnd) != menu.m_hMenu) {
    // The frame keeps the menu it was made with; views only lend theirs.
    frame->SetMenu(&menu);
    frame->DrawMenuBar();
  }
}

void PaintScreenBackground(CWnd* view, CDC* dc) {
  ReaderContext& app = Reader();
  CRect client;
  view->GetClientRect(&client);
  if (!app.m_backgroundBitmap.m_hObject || app.m_backgroundWidth <= 0 || app.m_backgroundHeight <= 0) {
    dc->FillSolidRect(&client, RGB(192, 192, 192));
    return;
  }
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap* old = memory.SelectObject(&app.m_backgroundBitmap);
  CPalette* oldPalette = app.m_palette.m_hObject ? dc->SelectPalette(&app.m_palette, FALSE) : nullptr;
  dc->RealizePalette();
  dc->SetStretchBltMode(COLORONCOLOR);
  dc->StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, app.m_backgroundWidth, app.m_backgroundHeight,
                 SRCCOPY);
  if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
  memory.SelectObject(old);
}
