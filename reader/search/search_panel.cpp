#include "search/search_panel.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_screen.h"
#include "core/reader_shell.h"
#include "search/search_screen.h"

namespace {

// The right and bottom edges of the media kind's one-pixel frame.
constexpr int kMediaFrameBrush = 10;

}  // namespace

BEGIN_MESSAGE_MAP(CSearchPanel, CDialog)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_SETFOCUS()
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_SETCURSOR()
ON_WM_NCHITTEST()
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
END_MESSAGE_MAP()

BOOL CSearchPanel::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kClose) {
    OnCancel();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

int CSearchPanel::LookIndex() const {
  switch (GetSkin()) {
    case kSkinTimeline: return 1;
    case kSkinMedia: return 2;
    case kSkinDictionary: return 3;
    default: return 0;
  }
}

BOOL CSearchPanel::CreatePanel(UINT templateId, CWnd* owner) {
  m_owner = owner;
  m_modeless = TRUE;
  m_screen = OwnerScreen(owner);
  m_hover.Reset();
  return CDialog::Create(templateId, owner);
}

void CSearchPanel::PlaceWindow(const CRect& rect) {
  CRect frame = rect;
  // A pop-up window (the media screen's) stands in screen coordinates.
  if (!(GetStyle() & WS_CHILD) && m_owner != nullptr && m_owner->GetSafeHwnd() != nullptr)
    m_owner->ClientToScreen(&frame);
  ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
  SetWindowPos(nullptr, frame.left, frame.top, frame.Width(), frame.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSearchPanel::MoveChild(CWnd& child, int x, int y) {
  if (child.GetSafeHwnd() == nullptr) return;
  child.SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CSize CSearchPanel::ChildSize(CWnd& child) const {
  if (child.GetSafeHwnd() == nullptr) return CSize(0, 0);
  CRect rect;
  child.GetWindowRect(&rect);
  return rect.Size();
}

void CSearchPanel::SetPalette(CPalette* palette) {
  m_palette = palette;
  if (GetSafeHwnd() == nullptr || palette == nullptr || palette->GetSafeHandle() == nullptr) return;
  CClientDC dc(this);
  CPalette* old = dc.SelectPalette(palette, FALSE);
  dc.RealizePalette();
  dc.SelectPalette(old, TRUE);
  Invalidate();
}

BOOL CSearchPanel::PreTranslateMessage(MSG* msg) {
  // The main window's accelerators come first, so menu keys keep working.
  CWnd* main = AfxGetMainWnd();
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && main != nullptr && main != this &&
      main->PreTranslateMessage(msg))
    return TRUE;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    OnOK();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

void CSearchPanel::PaintFrame(CDC& dc, const char* title, int titleX) {
  CRect client;
  GetClientRect(&client);
  PaintFrame(dc, title, titleX, CString(), client.right);
}

void CSearchPanel::PaintFrame(CDC& dc, const char* title, int titleX, const CString& count, int countRight) {
  CSkinEnvironment& skin = Skin();
  CRect client;
  GetClientRect(&client);
  CRect band(0, 0, client.right, kBandHeight);
  dc.FillRect(&band, skin.GetBrush(BandBrush()));
  CRect rest(0, kBandHeight, client.right, client.bottom);
  dc.FillRect(&rest, skin.GetBrush(BackgroundBrush()));
  if (GetSkin() == kSkinMedia) {
    CBrush white(RGB(255, 255, 255));
    dc.FillRect(CRect(0, kBandHeight, client.right, kBandHeight + 1), &white);
    dc.FillRect(CRect(0, kBandHeight, 1, client.bottom), &white);
    dc.FillRect(CRect(client.right - 1, kBandHeight, client.right, client.bottom), skin.GetBrush(kMediaFrameBrush));
    dc.FillRect(CRect(0, client.bottom - 1, client.right, client.bottom), skin.GetBrush(kMediaFrameBrush));
  }
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  int titleRight = client.right;
  if (!count.IsEmpty()) {
    CFont* old = dc.SelectObject(skin.GetFont(FontList));
    CRect text(0, 0, countRight, kBandHeight);
    dc.DrawText(count, -1, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    titleRight = countRight - dc.GetTextExtent(count).cx - 6;
    dc.SelectObject(old);
  }
  if (title != nullptr) {
    CFont* old = dc.SelectObject(skin.GetFont(FontCaption));
    CRect text(titleX, 0, titleRight, kBandHeight);
    dc.DrawText(title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc.SelectObject(old);
  }
}

void CSearchPanel::DrawSmallText(CDC& dc, const char* text, CRect area) {
  CFont* old = dc.SelectObject(Skin().GetFont(FontSmall));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CRect measure(area.left, 0, area.right, 0);
  dc.DrawText(text, -1, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  const int top = area.top + (area.Height() - measure.Height()) / 2;
  CRect place(area.left, top, area.right, top + measure.Height());
  dc.DrawText(text, -1, &place, DT_CENTER | DT_NOPREFIX | DT_WORDBREAK);
  dc.SelectObject(old);
}

CRect CSearchPanel::ChildRect(CWnd& child) {
  CRect rect;
  child.GetWindowRect(&rect);
  ScreenToClient(&rect);
  return rect;
}

void CSearchPanel::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc);
  Paint(dc);
}

void CSearchPanel::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (m_modeless) Layout();
}

void CSearchPanel::OnDestroy() {
  if (m_modeless) {
    StoreFloatingRect();
    ReleaseOnDestroy();
    m_created = FALSE;
  }
  CDialog::OnDestroy();
}

void CSearchPanel::OnSetFocus(CWnd* old) {
  if (!m_modeless) {
    CDialog::OnSetFocus(old);
    return;
  }
  CWnd* target = FocusTarget();
  if (target != nullptr && target->GetSafeHwnd() != nullptr) target->SetFocus();
}

void CSearchPanel::StoreFloatingRect() {
  if (m_screen != Screen::Media || GetSafeHwnd() == nullptr) return;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return;
  auto* screen = dynamic_cast<SearchScreen*>(shell->GetScreen(Screen::Media));
  if (screen == nullptr) return;
  CRect client;
  GetClientRect(&client);
  ClientToScreen(&client);
  screen->SetFloatingRect(client);
}

BOOL CSearchPanel::DragsByBand() { return GetParent() == AfxGetMainWnd(); }

void CSearchPanel::ShowHelp(DWORD topic) { AfxGetApp()->WinHelp(topic, HELP_CONTEXT); }

HBRUSH CSearchPanel::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

BOOL CSearchPanel::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CSearchPanel::OnQueryNewPalette() {
  CPalette* palette = Skin().GetPalette();
  if (palette == nullptr || palette->GetSafeHandle() == nullptr) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, TRUE);
  if (changed > 0) Invalidate();
  return TRUE;
}

void CSearchPanel::OnPaletteChanged(CWnd*) {}

BOOL CSearchPanel::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  const HWND under = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
  m_hover.Track(under == m_hWnd ? nullptr : under);
  return CDialog::OnSetCursor(wnd, hitTest, message);
}

UINT CSearchPanel::OnNcHitTest(CPoint point) {
  const UINT hit = static_cast<UINT>(Default());
  // Under the main window the band is the caption: the panel can be dragged.
  if (hit == HTCLIENT && DragsByBand()) {
    CPoint client = point;
    ScreenToClient(&client);
    if (client.y < kBandHeight) return HTCAPTION;
  }
  return hit;
}

BOOL CSearchPanel::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
  const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
  m_tipText[0] = '\0';
  if (id <= 0 || ::LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(id), m_tipText, sizeof m_tipText) <= 0)
    return FALSE;
  info->lpszText = m_tipText;
  *result = 0;
  return TRUE;
}
