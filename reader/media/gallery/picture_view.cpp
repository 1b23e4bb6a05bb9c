#include "media/gallery/picture_view.h"

#include "controls/skin_environment.h"
#include "core/hot_spot.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "media/media_logic.h"
#include "panels/tool_panel_host.h"
#include "reader/media_ids.h"
#include "reader/reader_ids.h"

namespace {

struct ButtonSpec {
  UINT id;
  UINT bitmap;
};

// The top row, left to right, then the five screen buttons.
constexpr ButtonSpec Buttons[] = {
    {IDC_MEDIA_CONTENTS, 6049}, {IDC_MEDIA_SUBJECTS, 4043},       {IDC_MEDIA_SMART, 4304},
    {IDC_MEDIA_BOOLEAN, 4305},  {IDC_MEDIA_CAPTION_BUTTON, 1011}, {IDC_MEDIA_GO_ARTICLE, 1133},
    {IDC_MEDIA_BACK, 4142},     {IDC_MEDIA_SOUND, IDB_SOUND},     {IDC_MEDIA_LEGEND, 4187},
    {IDC_MEDIA_HOW_VR, 4188},   {IDC_MEDIA_PREVIOUS, 1042},       {IDC_MEDIA_SLIDE_SHOW, IDB_SLIDE_SHOW},
    {IDC_MEDIA_NEXT, 1039},     {IDC_MEDIA_BOOKMARKS, 6073},      {IDC_MEDIA_PRINT, 6040},
    {IDC_MEDIA_HELP, 4233},     {IDC_SCREEN_ENCYCLOPEDIA, 4138},  {IDC_SCREEN_DICTIONARY, 4121},
    {IDC_SCREEN_MEDIA, 4245},   {IDC_SCREEN_TIMELINE, 4148},      {IDC_SCREEN_QUIZ, 4192},
};
constexpr int TopRowCount = 16;
constexpr int ButtonCount = static_cast<int>(sizeof Buttons / sizeof Buttons[0]);

// The print job's ids: the menu items and the Print button.
constexpr panels::PrintCommandId PrintCommands[] = {
    {ID_MEDIA_PRINT, panels::PrintCommand::PrintItem},
    {IDC_MEDIA_PRINT, panels::PrintCommand::PrintItem},
    {ID_MEDIA_PRINT_PREVIEW, panels::PrintCommand::PreviewItem},
    {ID_MEDIA_PRINT_BOOKMARKS, panels::PrintCommand::PrintBookmarks},
    {ID_MEDIA_PREVIEW_BOOKMARKS, panels::PrintCommand::PreviewBookmarks},
};

constexpr int HelpHowToPlay = 75;
constexpr int HelpMedia = 101;
constexpr int HelpConsultants = 206;

}  // namespace

IMPLEMENT_DYNCREATE(CViewPicture, CPrintingFormView)

BEGIN_MESSAGE_MAP(CViewPicture, CPrintingFormView)
ON_MESSAGE(WM_SHOWITEM, OnShowItem)
ON_MESSAGE(WM_REGIONCLICK, OnRegionClick)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_WM_TIMER()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_SETCURSOR()
ON_WM_SETFOCUS()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_DESTROY()
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
// Buttons and the menu.
ON_COMMAND(ID_PREFERENCES, OnPreferencesCommand)
ON_COMMAND(ID_MEDIA_ADD_ARTICLE, OnAddArticle)
ON_COMMAND(ID_MEDIA_CAPTION, OnCaption)
ON_BN_CLICKED(IDC_MEDIA_CAPTION_BUTTON, OnCaption)
ON_COMMAND(ID_MEDIA_SOUND, OnSound)
ON_BN_CLICKED(IDC_MEDIA_SOUND, OnSound)
ON_COMMAND(ID_MEDIA_GO_ARTICLE, OnGoToArticle)
ON_BN_CLICKED(IDC_MEDIA_GO_ARTICLE, OnGoToArticle)
ON_COMMAND(ID_MEDIA_LEGEND, OnLegendCommand)
ON_BN_CLICKED(IDC_MEDIA_LEGEND, OnLegendCommand)
ON_COMMAND(ID_MEDIA_HOW_VR, OnHowToPlay)
ON_BN_CLICKED(IDC_MEDIA_HOW_VR, OnHowToPlay)
ON_COMMAND(ID_MEDIA_HELP, OnMediaHelp)
ON_BN_CLICKED(IDC_MEDIA_HELP, OnMediaHelp)
ON_COMMAND(ID_MEDIA_CONSULTANTS, OnConsultants)
ON_COMMAND_RANGE(IDC_SCREEN_ENCYCLOPEDIA, IDC_SCREEN_TIMELINE, OnScreenButton)
END_MESSAGE_MAP()

CViewPicture::CViewPicture()
    : CPrintingFormView(static_cast<UINT>(IDD_MEDIA_VIEW)),
      m_printJob(*this, PrintCommands, static_cast<int>(sizeof PrintCommands / sizeof PrintCommands[0])),
      m_bookmarkMenu(*this, m_menu, ID_BOOKMARK_FIRST, ID_MEDIA_VIEW_BOOKMARKS),
      m_historyMenu(m_menu, ID_HISTORY_FIRST) {}

CViewPicture::~CViewPicture() = default;

BOOL CViewPicture::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  for (CCmdTarget* part : {static_cast<CCmdTarget*>(&m_navigator), static_cast<CCmdTarget*>(&m_tools),
                           static_cast<CCmdTarget*>(&m_printJob), static_cast<CCmdTarget*>(&m_bookmarkMenu),
                           static_cast<CCmdTarget*>(&m_historyMenu)})
    if (part->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CODButton& CViewPicture::GetButton(UINT id) {
  for (int i = 0; i < ButtonCount; ++i)
    if (Buttons[i].id == id) return m_buttons[i];
  return m_buttons[0];
}

// --- start and activation ---

void CViewPicture::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  ReaderContext& app = Reader();
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_MEDIA);
  m_navigator.Reset();
  CRect client;
  GetClientRect(&client);
  CRect work(0, TopBand, client.Width(), std::max<int>(client.Height() - BottomBand, TopBand));
  m_frame.Create(this, work, IDC_MEDIA_FRAME);
  int x = 0;
  for (int i = 0; i < ButtonCount; ++i) {
    m_buttons[i].Create(CRect(x, 0, x, 0), this, Buttons[i].bitmap, CODButton::kUsualStyle, Buttons[i].id, 0, 1, 0);
    if (i < TopRowCount) {
      CRect placed;
      m_buttons[i].GetWindowRect(&placed);
      // The sound, legend and "How To Play VRs" buttons share one place.
      if (Buttons[i].id != IDC_MEDIA_SOUND && Buttons[i].id != IDC_MEDIA_LEGEND) x += placed.Width();
    }
    m_buttons[i].ShowWindow(SW_SHOW);
  }
  GetButton(IDC_MEDIA_LEGEND).ShowWindow(SW_HIDE);
  GetButton(IDC_MEDIA_HOW_VR).ShowWindow(SW_HIDE);
  GetButton(IDC_MEDIA_BACK).EnableWindow(FALSE);
  const CRect captionRect(0, 0, 400, 10);
  m_caption.Create(&captionRect, this, IDC_MEDIA_CAPTION, 1, 2);
  m_caption.ShowWindow(SW_HIDE);
  m_bSoundPlaying = FALSE;
  m_tools.PlaceAtStart();
  EnableToolTips(TRUE);
  Layout();
  PostMessage(WM_SHOWITEM, media_logic::OpeningItem(FirstItem, app.m_multBits.GetSetCount()), 0);
  PostMessage(WM_BITSCHANGED, 1, 0);
}

void CViewPicture::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (bActivate) {
    ActivateScreen(this, TRUE, Screen::Media, m_menu);
    RebuildHistoryMenu();
    OnQueryNewPalette();
    if (CWnd* media = m_frame.GetDlgItem(IDC_MEDIA_WINDOW)) media->ShowWindow(SW_SHOW);
    m_tools.Show(TRUE);
    m_caption.SetFont(Reader().GetFont(FontList));
    if (CWnd* media = m_frame.GetDlgItem(IDC_MEDIA_WINDOW)) media->PostMessage(WM_NCACTIVATE, TRUE);
  } else {
    m_tools.Show(FALSE);
    CWnd* media = m_frame.GetDlgItem(IDC_MEDIA_WINDOW);
    if (media) media->ShowWindow(SW_HIDE);
    UpdateWindow();
    ActivateScreen(this, FALSE, Screen::Media, m_menu);
    m_navigator.StopSlideShow();
    StopSound();
    if (m_movie.GetSafeHwnd()) m_movie.PostMessage(WM_MOVIESTOP);
    if (media) media->SendMessage(WM_NCACTIVATE, FALSE);
  }
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CViewPicture::OnDraw(CDC*) {}

void CViewPicture::OnDestroy() {
  // The tool windows belong to the main frame, but they call back into this
  // view: they go first.
  m_tools.DestroyAll();
  m_navigator.PauseSlideShow();
  CFormView::OnDestroy();
}

// --- the items ---

BOOL CViewPicture::ReadItem(int index, BYTE& type, WORD& sound, CString& title, CDWordArray& articles) const {
  if (index < 0 || index == NoItem) return FALSE;
  return Reader().GetDatabase(1).ReadMediaList(static_cast<UINT>(index), type, sound, title, articles) >= 0;
}

int CViewPicture::GetShownArticle() const {
  const int article = m_navigator.CurrentArticle();
  return article > 0 ? article : -1;
}

BOOL CViewPicture::IsMovieArticle(int article) const {
  ReaderContext& app = Reader();
  return article > 0 && (app.m_videoBits.Test(article) || app.m_animBits.Test(article) || app.m_knvrBits.Test(article));
}

BOOL CViewPicture::FocusInside() const {
  HWND focus = ::GetFocus();
  return focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
}

void CViewPicture::SetMenuText(UINT id, const char* text) {
  if (m_menu.m_hMenu) m_menu.ModifyMenu(id, MF_BYCOMMAND | MF_STRING, id, text);
}

void CViewPicture::EnableMenu(UINT id, BOOL enable) {
  if (m_menu.m_hMenu) m_menu.EnableMenuItem(id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}

void CViewPicture::SetButtonBitmap(UINT id, UINT bitmap) {
  CODButton& button = GetButton(id);
  if (button.GetSafeHwnd()) button.SetBitmap(bitmap, TRUE);
}

void CViewPicture::ShowCurrentItem() {
  CWaitCursor wait;
  CRect remembered;
  if (CWnd* media = m_frame.GetDlgItem(IDC_MEDIA_WINDOW)) {
    media->GetWindowRect(&remembered);
    m_frame.ScreenToClient(&remembered);
    media->DestroyWindow();
  }
  StopSound();
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title;
  CDWordArray articles;
  const int item = m_navigator.GetItem();
  ReadItem(item, type, sound, title, articles);  // an unreadable record leaves no type, no sound, no title
  m_title = title;
  SetRedraw(FALSE);
  const bool hasSound = sound != 0xFFFF;
  const media_logic::ItemControls controls = media_logic::ControlsForType(type, hasSound);
  CODButton& soundButton = GetButton(IDC_MEDIA_SOUND);
  if (controls.soundShown) SetButtonBitmap(IDC_MEDIA_SOUND, IDB_SOUND);
  soundButton.ShowWindow(controls.soundShown ? SW_SHOW : SW_HIDE);
  soundButton.EnableWindow(controls.soundEnabled);
  GetButton(IDC_MEDIA_LEGEND).ShowWindow(controls.legendShown ? SW_SHOW : SW_HIDE);
  GetButton(IDC_MEDIA_HOW_VR).ShowWindow(controls.vrShown ? SW_SHOW : SW_HIDE);
  GetButton(IDC_MEDIA_PRINT).EnableWindow(controls.printEnabled);
  SetMenuText(ID_MEDIA_SOUND, "Play &Sound");
  EnableMenu(ID_MEDIA_SOUND, controls.soundMenu);
  EnableMenu(ID_MEDIA_LEGEND, controls.legendMenu);
  EnableMenu(ID_MEDIA_HOW_VR, controls.vrMenu);
  if (type != 6 && type != 7 && type != 8 && type != 9 && type != 10 && hasSound && m_navigator.IsSlideShowRunning())
    PostMessage(WM_COMMAND, ID_MEDIA_SOUND);
  ResumeRedraw(this);
  SetMenuText(ID_MEDIA_ADD_ARTICLE, media_logic::AddItemText(title));

  m_caption.ShowWindow(SW_HIDE);
  Layout();
  SetButtonBitmap(IDC_MEDIA_CAPTION_BUTTON, 1011);
  SetMenuText(ID_MEDIA_CAPTION, "Show &Caption");

  CRect frameClient;
  m_frame.GetClientRect(&frameClient);
  const CPoint centre = remembered.IsRectEmpty() ? frameClient.CenterPoint() : remembered.CenterPoint();
  CString caption;
  const int article = m_navigator.CurrentArticle();
  const DWORD style = WS_CHILD | WS_CAPTION | WS_CLIPSIBLINGS;
  if (IsMovieArticle(article)) {
    SetPalette(nullptr);
    m_bMovie = TRUE;
    // The window stays, empty, when the movie cannot be opened.
    m_movie.Create(nullptr, title, style, frameClient, &m_frame, IDC_MEDIA_WINDOW, static_cast<UINT>(item), nullptr,
                   nullptr, centre);
    m_movie.ShowWindow(SW_SHOW);
    if (FocusInside()) m_movie.SendMessage(WM_NCACTIVATE, TRUE);
    caption = m_movie.GetText();
    m_movie.PostMessage(WM_MOVIEPLAY);
  } else {
    m_bMovie = FALSE;
    const LPCTSTR type = AfxRegisterWndClass(CS_DBLCLKS, nullptr);
    m_picture.Create(type, title, style, frameClient, &m_frame, IDC_MEDIA_WINDOW, static_cast<UINT>(item), FALSE,
                     nullptr, nullptr, TRUE, FALSE, centre);
    m_picture.ShowWindow(SW_SHOW);
    if (FocusInside()) m_picture.SendMessage(WM_NCACTIVATE, TRUE);
    caption = m_picture.GetCaption();
  }
  m_caption.SetWindowText(caption);
  const BOOL hasCaption = !caption.IsEmpty();
  GetButton(IDC_MEDIA_CAPTION_BUTTON).EnableWindow(hasCaption);
  EnableMenu(ID_MEDIA_CAPTION, hasCaption);
  Invalidate();
}

void CViewPicture::Layout() {
  if (!m_frame.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  CRect work(0, TopBand, client.Width(), std::max<int>(client.Height() - BottomBand, TopBand));
  CString text;
  if (m_caption.GetSafeHwnd()) m_caption.GetWindowText(text);
  if (!text.IsEmpty()) {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(Reader().GetFont(FontList));
    CRect measure(0, 0, std::max<int>(work.Width() - 4, 1), 0);
    dc.DrawText(text, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    dc.SelectObject(old);
    const CRect captionRect(work.left, work.top, work.right, work.top + measure.Height() + 8);
    m_caption.MoveWindow(captionRect.left, captionRect.top, captionRect.Width(), captionRect.Height(), TRUE);
    if (m_caption.IsWindowVisible()) work.top = std::min<int>(captionRect.bottom, work.bottom);
  }
  m_frame.MoveWindow(work.left, work.top, work.Width(), work.Height(), TRUE);
}

// --- commands of the item ---

void CViewPicture::OnCaption() {
  if (m_caption.IsWindowVisible()) {
    m_caption.ShowWindow(SW_HIDE);
    SetButtonBitmap(IDC_MEDIA_CAPTION_BUTTON, 1011);
    SetMenuText(ID_MEDIA_CAPTION, "Show &Caption");
  } else {
    m_caption.ShowWindow(SW_SHOW);
    SetButtonBitmap(IDC_MEDIA_CAPTION_BUTTON, IDB_CAPTION_SHOWN);
    SetMenuText(ID_MEDIA_CAPTION, "Hide &Caption");
  }
  Layout();
}

void CViewPicture::OnGoToArticle() {
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title;
  CDWordArray articles;
  if (!ReadItem(m_navigator.GetItem(), type, sound, title, articles)) return;
  // With no linked article the encyclopedia keeps what it shows.
  if (articles.GetSize() == 0) return;
  ReaderShell* shell = GetReaderShell();
  ToolPanelHost* host = GetToolPanelHost();
  if (!shell || !host) return;
  if (host->IsContentsOpen()) host->CloseContentsWindows();
  if (host->IsResultsOpen()) host->CloseResultsWindows();
  if (host->IsBookmarksOpen()) host->CloseBookmarkWindows();
  if (!shell->ShowScreen(Screen::Browser)) return;
  if (auto* browser = dynamic_cast<ItemScreen*>(shell->GetScreen(Screen::Browser)))
    browser->ShowEntries(articles, ItemScreen::EntryList::RelatedToMedia);
}

void CViewPicture::StopSound() {
  if (!m_bSoundPlaying) return;
  m_bSoundPlaying = FALSE;
  SetButtonBitmap(IDC_MEDIA_SOUND, IDB_SOUND);
  SetMenuText(ID_MEDIA_SOUND, "Play &Sound");
  if (ReaderShell* shell = GetReaderShell()) shell->PlaySound(nullptr);
}

void CViewPicture::OnSound() {
  BYTE type = 0;
  WORD sound = 0xFFFF;
  CString title;
  CDWordArray articles;
  ReadItem(m_navigator.GetItem(), type, sound, title, articles);
  if (m_bSoundPlaying) {
    StopSound();
    return;
  }
  CString path;
  if (sound == 0xFFFF || !Reader().GetDatabase(1).ReadSoundRecord(sound, path)) return;
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  m_bSoundPlaying = TRUE;
  SetButtonBitmap(IDC_MEDIA_SOUND, IDB_SOUND_PLAYING);
  SetMenuText(ID_MEDIA_SOUND, "Stop &Sound");
  if (!shell->PlaySound(path)) {
    // A sound that does not start leaves the stopped look.
    m_bSoundPlaying = FALSE;
    SetButtonBitmap(IDC_MEDIA_SOUND, IDB_SOUND);
    SetMenuText(ID_MEDIA_SOUND, "Play &Sound");
  }
}

void CViewPicture::OnLegendCommand() {
  m_navigator.StopSlideShow();
  if (m_bMovie || !m_picture.GetSafeHwnd()) return;
  CRect button;
  GetButton(IDC_MEDIA_LEGEND).GetWindowRect(&button);
  m_picture.ScreenToClient(&button);
  m_picture.PostMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(button.left, button.bottom));
}

void CViewPicture::OnHowToPlay() { AfxGetApp()->WinHelp(HelpHowToPlay, HELP_CONTEXT); }
void CViewPicture::OnMediaHelp() { AfxGetApp()->WinHelp(HelpMedia, HELP_CONTEXT); }
void CViewPicture::OnConsultants() { AfxGetApp()->WinHelp(HelpConsultants, HELP_CONTEXT); }

void CViewPicture::OnPreferencesCommand() {
  StopSound();
  m_navigator.PauseSlideShow();
  if (ReaderShell* shell = GetReaderShell()) shell->ShowPreferences();
  m_navigator.ResumeSlideShow();
}

void CViewPicture::OnScreenButton(UINT id) { ShowScreenOfButton(id, Screen::Media); }

// --- palette ---

void CViewPicture::SetPalette(CPalette* palette) {
  m_pPalette = palette;
  m_tools.SetPalette(palette);
  ReaderShell* shell = GetReaderShell();
  if (shell && shell->GetActiveScreen() == this) {
    Invalidate();
    m_tools.Redraw();
  }
}

BOOL CViewPicture::OnQueryNewPalette() {
  CPalette* palette = m_pPalette ? m_pPalette : &Reader().m_palette;
  if (!palette->m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, palette, FALSE);
  if (changed) {
    Invalidate();
    m_tools.Redraw();
    if (GetSubjectPanel().GetSafeHwnd()) GetSubjectPanel().Invalidate();
  }
  return changed != 0;
}

void CViewPicture::OnPaletteChanged(CWnd* pFocusWnd) {
  if (pFocusWnd && pFocusWnd->m_hWnd == m_hWnd) return;
  OnQueryNewPalette();
}

// --- messages ---

LRESULT CViewPicture::OnShowItem(WPARAM wParam, LPARAM) {
  m_navigator.ShowFirst(static_cast<int>(wParam));
  return 0;
}

void CViewPicture::OnTimer(UINT nIDEvent) {
  if (nIDEvent == SlideTimer)
    m_navigator.OnSlideTimer();
  else
    CFormView::OnTimer(nIDEvent);
}

LRESULT CViewPicture::OnRegionClick(WPARAM, LPARAM lParam) {
  auto* spot = reinterpret_cast<CHotSpot*>(lParam);
  if (!spot || !m_picture.GetSafeHwnd()) return 0;
  // The hot spot belongs to the picture shown; one from a picture since
  // replaced is no longer there to read.
  const CObArray& spots = m_picture.GetHotSpots();
  bool known = false;
  for (int i = 0; i < spots.GetSize() && !known; ++i) known = spots[i] == static_cast<CObject*>(spot);
  if (!known) return 0;
  m_navigator.MoveTo(spot->GetId());
  return 0;
}

LRESULT CViewPicture::OnFontsChanged(WPARAM, LPARAM) {
  m_caption.SetFont(Reader().GetFont(FontList));
  Layout();
  return 0;
}

void CViewPicture::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  int x = 0;
  for (int i = TopRowCount; i < ButtonCount; ++i) {
    if (!m_buttons[i].GetSafeHwnd()) continue;
    CRect rect;
    m_buttons[i].GetWindowRect(&rect);
    m_buttons[i].SetWindowPos(nullptr, x, cy - BottomBand, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += rect.Width();
  }
  Layout();
}

BOOL CViewPicture::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CPalette* palette = m_pPalette ? m_pPalette : &Reader().m_palette;
  CPalette* old = palette->m_hObject ? pDC->SelectPalette(palette, FALSE) : nullptr;
  pDC->RealizePalette();
  pDC->FillSolidRect(0, 0, client.Width(), TopBand, RGB(255, 255, 255));
  pDC->FillSolidRect(0, client.Height() - BottomBand, client.Width(), BottomBand, RGB(255, 255, 255));
  pDC->FillSolidRect(0, TopBand, client.Width(), std::max<int>(client.Height() - BottomBand - TopBand, 0),
                     RGB(0, 0, 0));
  if (old) pDC->SelectPalette(old, FALSE);
  return TRUE;
}

HBRUSH CViewPicture::OnCtlColor(CDC* pDC, CWnd*, UINT) { return BlackOnWhite(pDC); }

BOOL CViewPicture::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  m_lastHover.Track(pWnd ? pWnd->m_hWnd : nullptr);
  return CFormView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewPicture::OnSetFocus(CWnd*) {
  CODButton& contents = GetButton(IDC_MEDIA_CONTENTS);
  if (contents.GetSafeHwnd()) contents.SetFocus();
}

BOOL CViewPicture::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  UINT id = static_cast<UINT>(header->idFrom);
  if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
  if (id == 0) return FALSE;
  char text[81] = "";
  if (!::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text)) return FALSE;
  ::lstrcpynA(info->szText, text, sizeof info->szText);
  info->lpszText = info->szText;
  *result = 0;
  return TRUE;
}
