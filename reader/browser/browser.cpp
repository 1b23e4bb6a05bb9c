#include "browser/browser.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/title_key.h"
#include "reader/browser_ids.h"
#include "reader/reader_ids.h"
#include "settings/settings.h"

IMPLEMENT_DYNCREATE(CBrowser, CPrintingFormView)

BEGIN_MESSAGE_MAP(CBrowser, CPrintingFormView)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETCURSOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_CTLCOLOR()
ON_WM_SETFOCUS()
ON_WM_DESTROY()
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
ON_MESSAGE(WM_CROSSREF, OnCrossReference)
ON_MESSAGE(WM_SHOWITEM, OnShowItem)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_COMMAND(ID_BROWSER_RELATED_ARTICLE, OnRelatedArticle)
ON_COMMAND(ID_BROWSER_RELATED_SELECTION, OnRelatedSelection)
ON_COMMAND(ID_BROWSER_PREVIOUS, OnPrevious)
ON_COMMAND(ID_BROWSER_RANDOM, OnRandom)
ON_COMMAND(ID_BROWSER_ZOOM, OnZoom)
ON_COMMAND(ID_BROWSER_HELP, OnHelpEncyclopedia)
ON_COMMAND(ID_BROWSER_CONSULTANTS, OnConsultants)
// The buttons.
ON_BN_CLICKED(IDC_BROWSER_PREVIOUS, OnPrevious)
ON_BN_CLICKED(IDC_BROWSER_RELATED, OnRelatedButton)
ON_BN_CLICKED(IDC_BROWSER_RANDOM, OnRandom)
ON_BN_CLICKED(IDC_BROWSER_ZOOM, OnZoom)
ON_BN_CLICKED(IDC_BROWSER_HELP, OnHelpEncyclopedia)
ON_COMMAND_RANGE(IDC_MODE_ENCYCLOPEDIA, IDC_MODE_TIMELINE, OnModeButton)
ON_UPDATE_COMMAND_UI(ID_BROWSER_RELATED_SELECTION, OnUpdateRelatedSelection)
ON_UPDATE_COMMAND_UI(ID_BROWSER_PREVIOUS, OnUpdatePrevious)
ON_UPDATE_COMMAND_UI(ID_BROWSER_OUTLINE, OnUpdateOutline)
ON_UPDATE_COMMAND_UI(ID_BROWSER_HISTORY, OnUpdateHistory)
END_MESSAGE_MAP()

namespace {

struct ButtonSpec {
  UINT id;
  UINT bitmap;
};

// The top row from the left; Connect and Copy URL stand in the places of
// Print and Save.
constexpr ButtonSpec kTopButtons[] = {
    {IDC_BROWSER_CONTENTS, IDB_BROWSER_CONTENTS}, {IDC_BROWSER_SUBJECTS, IDB_BROWSER_SUBJECTS},
    {IDC_BROWSER_SMART, IDB_BROWSER_SMART},       {IDC_BROWSER_BOOLEAN, IDB_BROWSER_BOOLEAN},
    {IDC_BROWSER_PREVIOUS, IDB_BROWSER_PREVIOUS}, {IDC_BROWSER_OUTLINE, IDB_BROWSER_OUTLINE},
    {IDC_BROWSER_RELATED, IDB_BROWSER_RELATED},   {IDC_BROWSER_RANDOM, IDB_BROWSER_RANDOM},
    {IDC_BROWSER_ZOOM, IDB_BROWSER_ZOOM_IN},      {IDC_BROWSER_BOOKMARKS, IDB_BROWSER_BOOKMARKS},
    {IDC_BROWSER_PRINT, IDB_BROWSER_PRINT},       {IDC_BROWSER_CONNECT, IDB_BROWSER_CONNECT},
    {IDC_BROWSER_SAVE, IDB_BROWSER_SAVE},         {IDC_BROWSER_COPY_URL, IDB_BROWSER_COPY_URL},
    {IDC_BROWSER_HELP, IDB_BROWSER_HELP},
};
constexpr ButtonSpec kBottomButtons[] = {
    {IDC_MODE_ENCYCLOPEDIA, IDB_MODE_ENCYCLOPEDIA},
    {IDC_MODE_DICTIONARY, IDB_MODE_DICTIONARY},
    {IDC_MODE_MEDIA, IDB_MODE_MEDIA},
    {IDC_MODE_TIMELINE, IDB_MODE_TIMELINE},
    {IDC_MODE_QUIZ, IDB_MODE_QUIZ},
};
constexpr int kButtonLeft = 2;
constexpr int kButtonTop = 4;
constexpr int kTipLength = 80;
// Paints the window and its children now.
void RedrawNow(CWnd* window) {
  window->RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

constexpr UINT kStyles = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP;  // 0x54810000

// The article commands' ids: the menu items, then the Save button.
constexpr panels::ArticleCommandId kArticleCommandIds[] = {
    {ID_BROWSER_ANNOTATION, panels::ArticleCommand::Notes},
    {ID_BROWSER_HIGHLIGHT, panels::ArticleCommand::Highlights},
    {ID_BROWSER_CLEAR_HIGHLIGHTS, panels::ArticleCommand::ClearHighlights},
    {ID_BROWSER_ADD_ARTICLE, panels::ArticleCommand::AddArticle},
    {ID_BROWSER_ADD_SELECTED, panels::ArticleCommand::AddSelected},
    {ID_BROWSER_COPY_SELECTION, panels::ArticleCommand::CopySelection},
    {ID_BROWSER_COPY_ARTICLE, panels::ArticleCommand::CopyArticle},
    {ID_BROWSER_SAVE, panels::ArticleCommand::Save},
    {IDC_BROWSER_SAVE, panels::ArticleCommand::Save},
};

// The print job's ids: the menu items, then the Print button.
constexpr panels::PrintCommandId kPrintCommandIds[] = {
    {ID_BROWSER_PRINT, panels::PrintCommand::PrintItem},
    {ID_BROWSER_PREVIEW, panels::PrintCommand::PreviewItem},
    {ID_BROWSER_PRINT_BOOKMARKS, panels::PrintCommand::PrintBookmarks},
    {ID_BROWSER_PREVIEW_BOOKMARKS, panels::PrintCommand::PreviewBookmarks},
    {IDC_BROWSER_PRINT, panels::PrintCommand::PrintItem},
};

}  // namespace

CBrowser::CBrowser()
    : CPrintingFormView(static_cast<UINT>(IDD_BROWSER)),
      m_articleCommands(*this, kArticleCommandIds, static_cast<int>(std::size(kArticleCommandIds))),
      m_printJob(*this, kPrintCommandIds, static_cast<int>(std::size(kPrintCommandIds))),
      m_menus(*this, m_menu, m_related),
      m_toolColumn(*this),
      m_webAddress(*this) {}

CBrowser::~CBrowser() = default;

CODButton* CBrowser::Button(UINT id) {
  if (id == IDC_BROWSER_RELATED) return &m_related;
  for (int i = 0; i < kTopButtonCount; ++i)
    if (kTopButtons[i].id == id) return &m_buttons[i];
  for (int i = 0; i < kBottomButtonCount; ++i)
    if (kBottomButtons[i].id == id) return &m_buttons[kTopButtonCount + i];
  return nullptr;
}

void CBrowser::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  ReaderContext& app = Reader();
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_BROWSER);

  m_zoomed = GetSettingInt(InstallationOptions, "ZoomIn", 0, SettingsIniName) == 1;
  if (m_zoomed && m_menu.m_hMenu) {
    m_menu.ModifyMenu(ID_BROWSER_ZOOM, MF_BYCOMMAND | MF_STRING, ID_BROWSER_ZOOM, "&Zoom Out");
    if (CWnd* frame = GetParentFrame()) frame->DrawMenuBar();
  }

  CreateButtons();

  m_browsable = app.m_hspBits;
  m_browsable.Or(app.m_mrvBits).Or(app.m_tdwBits).Or(app.m_urlBits).Or(app.m_updatesBits);
  m_subjectLinks.Resize(app.GetArticleCount());

  CRect client;
  GetClientRect(&client);
  m_display.Create(this, DisplayRect(), kStyles, CDisplay::kControlId, 1);

  m_currentArticle = 0;
  m_history = browser::ArticleHistory();

  int first = kFirstArticle;
  if (app.m_bSaveOnExit) {
    char text[31] = "";
    GetSettingString(InstallationOptions, "LastArticle", "3521", text, sizeof text, SettingsIniName);
    first = atoi(text);
  }
  // The first article of the full content set; a smaller set (or a stored
  // number it no longer has) starts on its first article.
  if (first > app.GetArticleCount() || first < 1) first = 1;

  OnSize(SIZE_RESTORED, client.Width(), client.Height());
  ShowArticle(first);
  ShowWindow(SW_SHOW);
  PostMessage(WM_BITSCHANGED, 0, 0);
}

void CBrowser::CreateButtons() {
  int x = kButtonLeft, previousX = kButtonLeft;
  for (int i = 0; i < kTopButtonCount; ++i) {
    const ButtonSpec& spec = kTopButtons[i];
    const bool inPlace = spec.id == IDC_BROWSER_CONNECT || spec.id == IDC_BROWSER_COPY_URL;
    const int at = inPlace ? previousX : x;
    const UINT bitmap = spec.id == IDC_BROWSER_ZOOM && m_zoomed ? IDB_BROWSER_ZOOM_OUT : spec.bitmap;
    CODButton& button = *Button(spec.id);
    button.Create(CRect(at, kButtonTop, at, kButtonTop), this, bitmap, CODButton::kUsualStyle, spec.id, 0, 1, 0);
    if (!inPlace) {
      previousX = x;
      x += button.GetFrameSize().cx;
    }
  }
  m_related.AddItem("Related To &Article", ID_BROWSER_RELATED_ARTICLE, 0, 0, 0);
  m_related.AddItem("&Related To Selected Text", ID_BROWSER_RELATED_SELECTION, 0, 0, 0);
  m_related.AddItem("&Subject Links", ID_BROWSER_SUBJECT_LINKS, 0, 0, 0);
  m_related.AddItem("&Internet Links", 0, 0, 0, MF_POPUP | MF_GRAYED);
  // Print and Save show until an Internet article is shown.
  m_buttons[11].ShowWindow(SW_HIDE);
  m_buttons[13].ShowWindow(SW_HIDE);
  for (int i = 0; i < kBottomButtonCount; ++i)
    m_buttons[kTopButtonCount + i].Create(CRect(0, 0, 0, 0), this, kBottomButtons[i].bitmap, CODButton::kUsualStyle,
                                          kBottomButtons[i].id, 0, 1, 0);
  EnableToolTips(TRUE);
}

CRect CBrowser::DisplayRect() const {
  CRect client;
  GetClientRect(&client);
  const int cx = client.Width(), cy = client.Height();
  const int left = m_zoomed ? 2 : 216;
  const int width = m_zoomed ? cx - 4 : cx - 218;
  return CRect(left, 91, left + std::max(width, 0), 91 + std::max(cy - 113, 0));
}

void CBrowser::PlaceDisplay() {
  if (m_display.m_hWnd) m_display.MoveWindow(DisplayRect());
}

void CBrowser::InvalidateBand() {
  CRect client;
  GetClientRect(&client);
  InvalidateRect(CRect(0, kTopHeight, client.right, kBandBottom), FALSE);
}

// ---- ShowArticle -------------------------------------------------------------------

void CBrowser::ShowArticle(int n) {
  n = m_history.Resolve(n);
  ReaderContext& app = Reader();
  // An article number from a file or a message that is no article shows nothing.
  if (n <= 0 || n > app.GetArticleCount() || n == m_currentArticle) return;
  CWaitCursor wait;

  m_toolColumn.Close(ToolPanel::WordFind);
  m_toolColumn.Close(ToolPanel::Outline);

  m_history.Append(static_cast<u32>(n));
  if (m_history.Count() > 1) {
    m_hasHistory = TRUE;
    m_menus.SetItemState(ID_BROWSER_HISTORY, TRUE);
  }
  m_hasPrevious = m_history.HasPrevious();
  m_menus.SetItemState(ID_BROWSER_PREVIOUS, m_hasPrevious);
  if (CODButton* previous = Button(IDC_BROWSER_PREVIOUS); previous->m_hWnd) previous->EnableWindow(m_hasPrevious);

  if (m_currentArticle > 0) m_display.StoreAnnotations(m_currentArticle);

  m_currentArticle = n;
  char title[TitleBufferSize] = "";
  app.LookupTitle(n, title);
  m_title = title;
  m_menus.ShowArticleTitle(m_title);

  m_menus.RebuildInternetLinks(m_currentArticle);
  UpdateSubject();
  InvalidateBand();
  FillDisplay();
  if (ResultsHoldCurrent()) MarkQueryWords();
  UpdateSourceButtons();
  m_display.RestoreAnnotations(m_currentArticle);
  UpdateOutlineState();
  m_display.SetRedraw(TRUE);
  RedrawNow(&m_display);
}

void CBrowser::UpdateSubject() {
  ReaderContext& app = Reader();
  m_subject = kNoSubject;
  m_subjectLinks.Resize(app.GetArticleCount());
  if (!app.m_mainArticles.Test(m_currentArticle)) return;
  CContentDb& main = app.GetDatabase(1);
  const int category = main.GetEntryCategory(app.ToFileArticle(m_currentArticle), nullptr);
  if (category == 0) return;
  CString name;
  CBitString entries(static_cast<int>(main.GetEntryCount()), FALSE);
  main.ReadContextSet(category - 1, name, entries);
  if (!name.IsEmpty()) m_subject = name;
  CBitString updates(static_cast<int>(app.GetDatabase(6).GetEntryCount()), FALSE);
  app.UnionBits(m_subjectLinks, entries, updates);
}

void CBrowser::FillDisplay() {
  ReaderContext& app = Reader();
  const bool main = app.m_mainArticles.Test(m_currentArticle) != 0;
  CContentDb& database = app.GetDatabase(main ? 1 : 6);
  const int entry = main ? app.ToFileArticle(m_currentArticle) : app.FindUpdateArticle(m_currentArticle);
  m_display.SetRedraw(FALSE);
  m_display.ResetContent();
  if (entry <= 0) return;
  while (ReTokenBlock* chunk = database.NextToken(entry)) m_display.AddText(chunk);
}

void CBrowser::MarkQueryWords() {
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  const CStringArray& words = shell->Queries().GetCurrentTerms();
  for (int i = 0; i < words.GetSize(); ++i) m_display.FindWords(words[i], FALSE, TRUE, FALSE);
}

void CBrowser::UpdateSourceButtons() {
  const BOOL internet = Reader().m_urlBits.Test(m_currentArticle) != 0;
  const struct {
    UINT id;
    BOOL show;
  } states[] = {{IDC_BROWSER_PRINT, !internet},
                {IDC_BROWSER_SAVE, !internet},
                {IDC_BROWSER_CONNECT, internet},
                {IDC_BROWSER_COPY_URL, internet}};
  for (const auto& state : states)
    if (CODButton* button = Button(state.id); button->m_hWnd) button->ShowWindow(state.show ? SW_SHOW : SW_HIDE);
}

void CBrowser::UpdateOutlineState() {
  m_hasOutline = !m_display.Outline().empty();
  m_menus.SetItemState(ID_BROWSER_OUTLINE, m_hasOutline);
  if (CODButton* outline = Button(IDC_BROWSER_OUTLINE); outline->m_hWnd) outline->EnableWindow(m_hasOutline);
}

void CBrowser::Reload() {
  if (m_currentArticle <= 0 || !m_display.m_hWnd) return;
  m_display.StoreAnnotations(m_currentArticle);
  FillDisplay();
  m_display.RestoreAnnotations(m_currentArticle);
  UpdateOutlineState();
  m_display.SetRedraw(TRUE);
  RedrawNow(&m_display);
  if (ResultsHoldCurrent()) MarkQueryWords();
}

void CBrowser::StoreAnnotations() {
  if (m_currentArticle > 0 && m_display.m_hWnd) m_display.StoreAnnotations(m_currentArticle);
}

void CBrowser::SaveLastArticle() {
  char text[16];
  snprintf(text, sizeof text, "%d", m_currentArticle);
  WriteSettingString(InstallationOptions, "LastArticle", text, SettingsIniName);
}

// ---- zoom --------------------------------------------------------------------------

void CBrowser::OnZoom() {
  m_zoomed = !m_zoomed;
  if (m_zoomed)
    m_toolColumn.HideForZoom();
  else
    m_toolColumn.ShowAfterZoom();
  if (m_menu.m_hMenu) {
    m_menu.ModifyMenu(ID_BROWSER_ZOOM, MF_BYCOMMAND | MF_STRING, ID_BROWSER_ZOOM, m_zoomed ? "&Zoom Out" : "&Zoom In");
    if (CWnd* frame = GetParentFrame(); frame && ::GetMenu(frame->m_hWnd) == m_menu.m_hMenu) frame->DrawMenuBar();
  }
  Button(IDC_BROWSER_ZOOM)->SetBitmap(m_zoomed ? IDB_BROWSER_ZOOM_OUT : IDB_BROWSER_ZOOM_IN, TRUE);
  WriteSettingString(InstallationOptions, "ZoomIn", m_zoomed ? "1" : "0", SettingsIniName);
  PlaceDisplay();
  Reload();
  CRect client;
  GetClientRect(&client);
  InvalidateRect(CRect(0, kTopHeight, client.right, client.bottom), TRUE);
}

void CBrowser::LeaveZoom() {
  if (m_zoomed) OnZoom();
}

// ---- window messages ---------------------------------------------------------------

void CBrowser::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  m_panel = CRect(kPanelLeft, kTopHeight, kPanelRight, cy - kBottomStrip);
  if (!m_display.m_hWnd) return;
  PlaceDisplay();
  Reload();
  int x = kButtonLeft;
  for (int i = 0; i < kBottomButtonCount; ++i) {
    CODButton& button = m_buttons[kTopButtonCount + i];
    if (!button.m_hWnd) continue;
    button.SetWindowPos(nullptr, x, cy - kBottomStrip, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += button.GetFrameSize().cx;
  }
  m_toolColumn.Place(m_panel);
}

BOOL CBrowser::OnEraseBkgnd(CDC* dc) {
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  const CRect area(0, kTopHeight, client.right, client.bottom - kBottomStrip);
  CPalette* oldPalette = app.m_palette.m_hObject ? dc->SelectPalette(&app.m_palette, FALSE) : nullptr;
  dc->RealizePalette();
  if (app.m_backgroundBitmap.m_hObject && app.m_backgroundWidth > 0 && app.m_backgroundHeight > 0) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&app.m_backgroundBitmap);
    dc->SetStretchBltMode(COLORONCOLOR);
    dc->StretchBlt(area.left, area.top, area.Width(), area.Height(), &memory, 0, 0, app.m_backgroundWidth,
                   app.m_backgroundHeight, SRCCOPY);
    memory.SelectObject(old);
  } else {
    dc->FillSolidRect(&area, RGB(192, 192, 192));
  }
  if (m_display.m_hWnd) {
    CRect display;
    m_display.GetWindowRect(&display);
    ScreenToClient(&display);
    dc->FillSolidRect(&display, RGB(255, 255, 255));
  }
  if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
  return TRUE;
}

void CBrowser::OnPaint() {
  CPaintDC dc(this);
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  const int cx = client.Width(), cy = client.Height();
  CPalette* oldPalette = app.m_palette.m_hObject ? dc.SelectPalette(&app.m_palette, FALSE) : nullptr;
  dc.RealizePalette();
  dc.FillSolidRect(0, 0, cx, kTopHeight, RGB(255, 255, 255));
  dc.FillSolidRect(0, cy - kBottomStrip, cx, kBottomStrip, RGB(255, 255, 255));

  const int left = BandLeft();
  dc.FillRect(CRect(left, kTopHeight, cx, kBandBottom), app.GetBrush(1));
  CBrush* frame = app.GetBrush(2);
  dc.FillRect(CRect(left, kBandBottom, cx, kBandBottom + 2), frame);
  dc.FillRect(CRect(left, kBandBottom, left + 2, cy - kBottomStrip), frame);
  dc.FillRect(CRect(left, cy - 22, cx, cy - kBottomStrip), frame);
  dc.FillRect(CRect(cx - 2, kBandBottom, cx, cy - kBottomStrip), frame);

  dc.SetBkMode(TRANSPARENT);
  CFont* old = dc.SelectObject(app.GetFont(FontHeading));
  CRect labels(left + 6, kTopHeight, cx, kBandBottom);
  dc.DrawText("Title:\r\nSubject:", &labels, DT_LEFT | DT_NOPREFIX);
  const int labelWidth = dc.GetTextExtent("Subject:", 8).cx;
  UINT image = 1090, mask = 1181;
  if (app.m_updatesBits.Test(m_currentArticle)) {
    image = 1255, mask = 1256;
  } else if (app.m_hspBits.Test(m_currentArticle)) {
    image = 1091, mask = 1182;
  } else if (app.m_tdwBits.Test(m_currentArticle)) {
    image = 4106, mask = 4107;
  } else if (app.m_urlBits.Test(m_currentArticle)) {
    image = 6045, mask = 6044;
  }
  CSize icon(0, 0);
  app.DrawTransparent(&icon, &dc, image, mask, left + labelWidth + 10, 52, 0);
  dc.SelectObject(app.GetFont(FontList));
  const int x = left + labelWidth + 12;
  CRect subject(x, 71, cx - 4, kBandBottom);
  dc.DrawText(m_subject, &subject, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  CRect title(x + icon.cx, 52, cx - 4, kBandBottom);
  dc.DrawText(m_title, &title, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  dc.SelectObject(old);
  if (oldPalette) dc.SelectPalette(oldPalette, FALSE);
}

BOOL CBrowser::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  const HWND now = wnd ? wnd->m_hWnd : nullptr;
  if (now != m_hovered) {
    if (m_hovered && ::IsWindow(m_hovered)) ::SendMessageA(m_hovered, WM_BUTTON_HOVER, 0, 0);
    m_hovered = now;
    if (now && now != m_hWnd) ::SendMessageA(now, WM_BUTTON_HOVER, 1, 0);
  }
  return CFormView::OnSetCursor(wnd, hitTest, message);
}

BOOL CBrowser::OnQueryNewPalette() {
  ReaderContext& app = Reader();
  if (!app.m_palette.m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, &app.m_palette, FALSE);
  if (changed) RedrawNow(this);
  return changed != 0;
}

void CBrowser::OnPaletteChanged(CWnd* focus) {
  if (focus && focus->m_hWnd == m_hWnd) return;
  OnQueryNewPalette();
}

HBRUSH CBrowser::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

void CBrowser::OnSetFocus(CWnd*) {
  if (CODButton* contents = Button(IDC_BROWSER_CONTENTS); contents->m_hWnd) contents->SetFocus();
}

void CBrowser::OnDestroy() {
  SaveLastArticle();
  m_toolColumn.DestroyAll();
  CFormView::OnDestroy();
}

BOOL CBrowser::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
  const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
  char text[kTipLength + 1] = "";
  if (id <= 0 || ::LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(id), text, sizeof text) <= 0) return FALSE;
  m_tipText = text;
  info->lpszText = const_cast<LPSTR>(static_cast<LPCTSTR>(m_tipText));
  *result = 0;
  return TRUE;
}

void CBrowser::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, Screen::Browser, m_menu);
  if (bActivate) m_menus.RebuildSearchHistory();
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

LRESULT CBrowser::OnFontsChanged(WPARAM, LPARAM) {
  Reload();
  return 0;
}
