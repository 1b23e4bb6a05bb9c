#include "home/splash_view.h"

#include <cstdlib>
#include <ctime>
#include <iterator>

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "media/media_logic.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"
#include "settings/settings.h"

namespace {

struct HomeButton {
  UINT id;
  UINT bitmap;
};
constexpr HomeButton OwnButtons[] = {{IDC_HOME_YEARS, 4217}, {IDC_HOME_TOUR, 4218}};
static_assert(std::size(kScreenCycle) + std::size(OwnButtons) == CSplash::ButtonCount);

// Button `i` of the band, from the top.
HomeButton ButtonAt(int i) {
  constexpr int screens = static_cast<int>(std::size(kScreenCycle));
  if (i >= screens) return OwnButtons[i - screens];
  const ScreenEntry& screen = ScreenInfo(kScreenCycle[i]);
  return {screen.screenButton, screen.homePicture};
}
constexpr int ButtonX = 500;
constexpr int ButtonY = 287;
constexpr int MovieX = 139;
constexpr int MovieY = 14;
constexpr int HelpTour = 1;

}  // namespace

IMPLEMENT_DYNCREATE(CSplash, CFormView)

BEGIN_MESSAGE_MAP(CSplash, CFormView)
ON_MESSAGE(WM_MOVIEDONE, OnIntroDone)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
ON_WM_TIMER()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_SETCURSOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSplash::CSplash() : CFormView(static_cast<UINT>(IDD_HOME_VIEW)) {}

CSplash::~CSplash() {
  if (m_hand) ::DestroyCursor(m_hand);
}

void CSplash::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  ReaderContext& app = Reader();
  if (CWnd* frame = GetParentFrame()) {
    frame->SetMenu(nullptr);
  }
  m_shown = 0;
  if (!m_hand) m_hand = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_CURSOR_HAND));
  CPalette unused;
  app.LoadDIB(IDB_HOME_BACKGROUND, m_background, unused, TRUE, FALSE);
  m_size = BitmapSize(m_background);
  CRect client;
  GetClientRect(&client);
  m_origin = CPoint((client.Width() - m_size.cx) / 2, (client.Height() - m_size.cy) / 2);
  for (int i = 0; i < ButtonCount; ++i) {
    if (m_buttons[i].GetSafeHwnd()) continue;
    const HomeButton button = ButtonAt(i);
    m_buttons[i].Create(CRect(0, 0, 0, 0), this, button.bitmap, CODButton::kUsualStyle, button.id, 0, 1, 0);
    m_buttons[i].ShowWindow(SW_HIDE);
  }
  PlaceChildren();
  if (!m_bFirstUpdate) return;
  m_bFirstUpdate = FALSE;
  const BOOL intro = app.m_bMediaAvailable &&
                     GetSettingInt(InstallationOptions, "ShowIntro", 1, SettingsIniName) != 0 &&
                     app.GetDatabase(1).IsMediaDataOpen();
  if (intro) {
    m_bIntroDone = FALSE;
    m_bIntroHandled = FALSE;
    const CRect at(m_origin.x + MovieX, m_origin.y + MovieY, m_origin.x + MovieX, m_origin.y + MovieY);
    m_movie.Create(nullptr, "", WS_CHILD | WS_VISIBLE, at, this, 1, 0, "INTRO.MOV", nullptr, CPoint(0, 0));
    m_movie.PostMessage(WM_MOVIEPLAY);
  } else {
    m_bIntroDone = TRUE;
    m_bIntroHandled = TRUE;
    ShowAllButtons();
  }
}

void CSplash::ShowAllButtons() {
  for (CODButton& button : m_buttons)
    if (button.GetSafeHwnd()) button.ShowWindow(SW_SHOW);
  m_shown = ButtonCount;
}

void CSplash::PlaceChildren() {
  int y = m_origin.y + ButtonY;
  for (CODButton& button : m_buttons) {
    if (!button.GetSafeHwnd()) continue;
    CRect rect;
    button.GetWindowRect(&rect);
    button.SetWindowPos(nullptr, m_origin.x + ButtonX, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    y += rect.Height() + 1;
  }
  if (m_movie.GetSafeHwnd())
    m_movie.SetWindowPos(nullptr, m_origin.x + MovieX, m_origin.y + MovieY, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSplash::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (bActivate) {
    if (CWnd* frame = GetParentFrame()) frame->SetMenu(nullptr);
    SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    ShowWindow(SW_SHOW);
  } else {
    if (GetDlgCtrlID() == AFX_IDW_PANE_FIRST) SetDlgCtrlID(static_cast<int>(ScreenInfo(Screen::Home).childId));
    ShowWindow(SW_HIDE);
  }
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CSplash::OnDraw(CDC* pDC) {
  if (!m_background.m_hObject) return;
  CPalette* palette = &Reader().m_palette;
  CPalette* old = palette->m_hObject ? pDC->SelectPalette(palette, FALSE) : nullptr;
  pDC->RealizePalette();
  CDC memory;
  memory.CreateCompatibleDC(pDC);
  CBitmap* oldBitmap = memory.SelectObject(&m_background);
  pDC->BitBlt(m_origin.x, m_origin.y, m_size.cx, m_size.cy, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
  if (old) pDC->SelectPalette(old, FALSE);
}

BOOL CSplash::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, RGB(0, 0, 0));
  return TRUE;
}

BOOL CSplash::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    if (!m_bIntroDone)
      PostMessage(WM_MOVIEDONE, 1, 0);
    else if (CWnd* main = AfxGetMainWnd())
      main->PostMessage(WM_COMMAND, ID_SHOW_BROWSER);
    return TRUE;
  }
  return CFormView::PreTranslateMessage(pMsg);
}

void CSplash::OnLButtonDown(UINT, CPoint) {
  if (!m_bIntroDone)
    PostMessage(WM_MOVIEDONE, 0, 0);
  else if (CWnd* main = AfxGetMainWnd())
    main->PostMessage(WM_COMMAND, ID_SHOW_BROWSER);
}

LRESULT CSplash::OnIntroDone(WPARAM wParam, LPARAM) {
  if (m_bIntroHandled) return 0;  // the movie's end after a click changes nothing
  m_bIntroHandled = TRUE;
  m_bIntroDone = TRUE;
  if (wParam != 0) {
    if (m_movie.GetSafeHwnd()) m_movie.DestroyWindow();
    Invalidate();
    UpdateWindow();
  } else {
    Dissolve();
    SetRedraw(FALSE);
    if (m_movie.GetSafeHwnd()) m_movie.DestroyWindow();
    ValidateRect(nullptr);
    SetRedraw(TRUE);
  }
  SetTimer(DelayTimer, DelayMilliseconds, nullptr);
  m_delayRunning = TRUE;
  return 0;
}

void CSplash::Dissolve() {
  m_dissolved.clear();
  const int cols = m_size.cx / Cell, rows = m_size.cy / Cell;
  const int n = static_cast<int>(static_cast<std::uint16_t>(cols * rows));
  if (n <= 0 || !m_background.m_hObject) return;
  std::vector<std::uint8_t> taken(static_cast<std::size_t>(n), 0);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  CClientDC dc(this);
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CPalette* palette = &Reader().m_palette;
  CPalette* old = palette->m_hObject ? dc.SelectPalette(palette, FALSE) : nullptr;
  CPalette* oldMemory = palette->m_hObject ? memory.SelectPalette(palette, FALSE) : nullptr;
  dc.RealizePalette();
  memory.RealizePalette();
  CBitmap* oldBitmap = memory.SelectObject(&m_background);
  m_dissolved.reserve(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const int i = media_logic::DissolveCell(taken, std::rand() & 0x7FFF);
    if (i < 0) break;
    const int x = Cell * (i % cols), y = Cell * (i / cols);
    dc.BitBlt(m_origin.x + x, m_origin.y + y, Cell, Cell, &memory, x, y, SRCCOPY);
    taken[static_cast<std::size_t>(i)] = 1;
    m_dissolved.push_back(i);
  }
  memory.SelectObject(oldBitmap);
  if (oldMemory) memory.SelectPalette(oldMemory, FALSE);
  if (old) dc.SelectPalette(old, FALSE);
}

void CSplash::OnTimer(UINT nIDEvent) {
  if (nIDEvent == DelayTimer) {
    KillTimer(DelayTimer);
    m_delayRunning = FALSE;
    SetTimer(ButtonTimer, ButtonMilliseconds, nullptr);
    m_buttonsRunning = TRUE;
    return;
  }
  if (nIDEvent == ButtonTimer) {
    if (m_shown >= ButtonCount) {
      KillTimer(ButtonTimer);
      m_buttonsRunning = FALSE;
      return;
    }
    m_buttons[m_shown++].ShowWindow(SW_SHOW);
    return;
  }
  CFormView::OnTimer(nIDEvent);
}

void CSplash::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  m_origin = CPoint((cx - m_size.cx) / 2, (cy - m_size.cy) / 2);
  PlaceChildren();
}

BOOL CSplash::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (pWnd && pWnd->m_hWnd != m_hWnd && m_hand) {
    ::SetCursor(m_hand);
    return TRUE;
  }
  return CFormView::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CSplash::OnQueryNewPalette() {
  CPalette* palette = &Reader().m_palette;
  if (!palette->m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, FALSE);
  if (changed) Invalidate();
  return changed != 0;
}

void CSplash::OnPaletteChanged(CWnd* pFocusWnd) {
  if (pFocusWnd && pFocusWnd->m_hWnd == m_hWnd) return;
  OnQueryNewPalette();
}

void CSplash::OnDestroy() {
  if (m_delayRunning) KillTimer(DelayTimer);
  if (m_buttonsRunning) KillTimer(ButtonTimer);
  m_delayRunning = m_buttonsRunning = FALSE;
  CFormView::OnDestroy();
  if (m_hand) ::DestroyCursor(m_hand);
  m_hand = nullptr;
}

BOOL CSplash::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (lParam != 0 && HIWORD(wParam) == BN_CLICKED)
    for (int i = 0; i < ButtonCount; ++i)
      if (ButtonAt(i).id == id) {
        OnButton(id);
        return TRUE;
      }
  return CFormView::OnCommand(wParam, lParam);
}

void CSplash::OnButton(UINT id) {
  CWnd* main = AfxGetMainWnd();
  ReaderShell* shell = GetReaderShell();
  // A screen's button asks the main window for the screen once the click is over.
  if (const ScreenEntry* screen = ScreenOfButton(id)) {
    if (main) main->PostMessage(WM_COMMAND, screen->showCommand);
    return;
  }
  switch (id) {
    case IDC_HOME_YEARS:
      if (shell && shell->ShowScreen(Screen::Timeline)) main->PostMessage(WM_COMMAND, ID_YEARS_IN_REVIEW);
      break;
    case IDC_HOME_TOUR: AfxGetApp()->WinHelp(HelpTour, HELP_CONTEXT); break;
    default: break;
  }
}

LRESULT CSplash::OnBitsChanged(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowResults(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowContents(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnShowBookmarks(WPARAM, LPARAM) { return 0; }
LRESULT CSplash::OnFontsChanged(WPARAM, LPARAM) { return 0; }
