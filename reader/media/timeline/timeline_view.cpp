#include "media/timeline/timeline_view.h"

#include "controls/skin_environment.h"
#include "core/hot_spot.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "panels/tool_panel_host.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"

IMPLEMENT_DYNCREATE(CTimeLine, CPrintingFormView)

namespace {

constexpr int kModeCommands[timeline::ModeCount] = {ID_TL_PERIODS,  ID_TL_CATEGORIES, ID_TL_BY_DATE, ID_TL_REVIEW,
                                                    ID_TL_FIRSTS,   ID_TL_TODAY,      ID_TL_SMART,   ID_TL_BOOLEAN,
                                                    ID_TL_CONTENTS, ID_TL_BOOKMARKS};
constexpr int kModeButtons[timeline::ModeCount] = {IDC_TL_PERIODS,  IDC_TL_CATEGORIES, IDC_TL_BY_DATE, IDC_TL_REVIEW,
                                                   IDC_TL_FIRSTS,   IDC_TL_TODAY,      IDC_TL_SMART,   IDC_TL_BOOLEAN,
                                                   IDC_TL_CONTENTS, IDC_TL_BOOKMARKS};
constexpr const char* kModeTitles[timeline::ModeCount] = {
    "Periods",     "Categories",   "Search By Date", "Year In Review", "Marovan Firsts",
    "On This Day", "Smart Search", "Boolean Search", "Contents",       "Bookmarks"};
constexpr int kBottomBand = 20;
constexpr int kTopBand = 49;
// The print job's ids: the menu items, the Print button, and the class
// library's Print Preview, which previews what the last job printed.
constexpr panels::PrintCommandId kPrintCommands[] = {
    {ID_TL_PRINT, panels::PrintCommand::PrintItem},
    {IDC_TL_PRINT, panels::PrintCommand::PrintItem},
    {ID_TL_PREVIEW, panels::PrintCommand::PreviewItem},
    {ID_FILE_PRINT_PREVIEW, panels::PrintCommand::PreviewAgain},
    {ID_TL_PRINT_BOOKMARKS, panels::PrintCommand::PrintBookmarks},
    {ID_TL_PREVIEW_BOOKMARKS, panels::PrintCommand::PreviewBookmarks},
};
}  // namespace

BEGIN_MESSAGE_MAP(CTimeLine, CPrintingFormView)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_COMMAND_RANGE(ID_TL_PERIODS, ID_TL_TODAY, OnModeCommand)
ON_COMMAND_RANGE(ID_TL_SMART, ID_TL_SMART, OnModeCommand)
ON_COMMAND_RANGE(ID_TL_BOOLEAN, ID_TL_BOOLEAN, OnModeCommand)
ON_COMMAND_RANGE(ID_TL_CONTENTS, ID_TL_CONTENTS, OnModeCommand)
ON_COMMAND_RANGE(ID_TL_BOOKMARKS, ID_TL_BOOKMARKS, OnModeCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_TL_PERIODS, ID_TL_TODAY, OnUpdateModeCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_TL_SMART, ID_TL_SMART, OnUpdateModeCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_TL_BOOLEAN, ID_TL_BOOLEAN, OnUpdateModeCommand)
ON_UPDATE_COMMAND_UI_RANGE(ID_TL_CONTENTS, ID_TL_CONTENTS, OnUpdateModeCommand)
ON_COMMAND(ID_TL_HELP, OnHelp)
ON_COMMAND(ID_TL_CONSULTANTS, OnConsultants)
ON_MESSAGE(WM_BITSCHANGED, OnBitsChanged)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
ON_MESSAGE(WM_CROSSREF, OnCrossReference)
ON_MESSAGE(WM_SHOWITEM, OnShowItem)
ON_MESSAGE(WM_REGIONCLICK, OnRegionClick)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_COMMAND(ID_TL_RELATED_EVENT, OnRelatedEvent)
ON_UPDATE_COMMAND_UI(ID_TL_RELATED_EVENT, OnUpdateRelatedEvent)
ON_COMMAND(ID_TL_RELATED_SELECTION, OnRelatedSelection)
ON_UPDATE_COMMAND_UI(ID_TL_RELATED_SELECTION, OnUpdateRelatedSelection)
ON_COMMAND(ID_TL_ADD_ARTICLE, OnAddArticle)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
END_MESSAGE_MAP()

CTimeLine::CTimeLine()
    : CPrintingFormView(IDD_TIMELINE_FORM),
      m_printJob(*this, kPrintCommands, static_cast<int>(sizeof kPrintCommands / sizeof kPrintCommands[0])),
      m_bookmarkMenu(*this, m_menu, ID_TL_BOOKMARK_FIRST, ID_TL_BOOKMARKS),
      m_historyMenu(m_menu, ID_TL_HISTORY_FIRST) {}

CTimeLine::~CTimeLine() = default;

BOOL CTimeLine::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_tools.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_eventText.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_printJob.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_bookmarkMenu.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (m_historyMenu.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CTimeLine::LoadTimeline() {
  ReaderContext& app = Reader();
  CString path(app.m_strWorkingDir);
  path += "Timeline.bin";
  const timeline::TimelineError error = timeline::ReadTimelineFile(path, m_data);
  if (error == timeline::TimelineError::None) return TRUE;
  // A damaged file is as unusable as a missing one: the same message, and
  // the screen keeps empty lists rather than reading past the file's end.
  if (error != timeline::TimelineError::NoMemory)
    AfxMessageBox(
        "The Marovan & World Encyclopedia is unable to open the file TIMELINE.BIN.\r\nThe Timeline will be "
        "unavailable.",
        MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

void CTimeLine::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (m_created) return;
  m_created = TRUE;
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_TIMELINE);
  m_mode = timeline::ModeCategories;
  LoadTimeline();
  CreateButtons();
  ShowPicture(m_data.ModePicture(timeline::ModeCategories), TRUE);
  CRect client;
  GetClientRect(&client);
  const int width = client.Width() > 400 ? client.Width() : 640;
  const int height = client.Height() > 300 ? client.Height() : 480;
  m_display.Create(this, CRect(216, height - 22 - DisplayHeight, width - 2, height - 22), WS_CHILD | WS_VISIBLE,
                   CDisplay::kControlId, kSkinTimeline);
  m_search.Create(CRect(PanelLeft, PanelTop, PanelRight, 349), this);
  PostMessage(WM_BITSCHANGED, 1, 0);
}

void CTimeLine::CreateButtons() {
  // Two rows along the top band: the six list modes, then the search windows
  // and the tools.
  for (int mode = 0; mode < ModeButtonCount; ++mode) {
    const int row = mode < 6 ? 0 : 1;
    const int column = mode < 6 ? mode : mode - 6;
    const CRect rect(4 + 66 * column, 3 + 23 * row, 68 + 66 * column, 23 + 23 * row);
    m_modeButtons[mode].Create(rect, this, IDB_TQ_BUTTON_FIRST + mode, CODButton::kUsualStyle | CODButton::kToggle,
                               kModeButtons[mode]);
  }
  m_modeButtons[m_mode].SetCheck(TRUE);
  int x = 4 + 66 * 4;
  m_print.Create(CRect(x, 26, x + 48, 46), this, IDB_TQ_BUTTON_FIRST + 10, CODButton::kUsualStyle, IDC_TL_PRINT);
  x += 50;
  m_related.Create(CRect(x, 26, x + 56, 46), this, IDB_TQ_BUTTON_FIRST + 11, CODButton::kUsualStyle, IDC_TL_RELATED);
  x += 58;
  m_back.Create(CRect(x, 26, x + 48, 46), this, IDB_TQ_BUTTON_FIRST + 12, CODButton::kUsualStyle, IDC_TL_BACK);
  x += 50;
  m_help.Create(CRect(x, 26, x + 48, 46), this, IDB_TQ_BUTTON_FIRST + 13, CODButton::kUsualStyle, IDC_TL_HELP);
  m_back.EnableWindow(FALSE);
  m_related.AddItem("Related To &Event", ID_TL_RELATED_EVENT, 0, 0, 0);
  m_related.AddItem("&Related To Selected Text", ID_TL_RELATED_SELECTION, 0, 0, 0);
  m_screenBand.Create(this, Screen::Timeline);
}

void CTimeLine::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_TIMELINE);
  if (bActivate) RebuildSearchHistory();
  ActivateScreen(this, bActivate, Screen::Timeline, m_menu);
  CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CTimeLine::StoreAnnotations() {
  if (m_article > 0 && m_display.GetSafeHwnd()) m_display.StoreAnnotations(m_article);
}

// ---- modes ----

void CTimeLine::OnModeCommand(UINT id) {
  for (int mode = 0; mode < timeline::ModeCount; ++mode)
    if (static_cast<UINT>(kModeCommands[mode]) == id) SetMode(mode);
}

void CTimeLine::OnUpdateModeCommand(CCmdUI* pCmdUI) {
  for (int mode = 0; mode < timeline::ModeCount; ++mode)
    if (static_cast<UINT>(kModeCommands[mode]) == pCmdUI->m_nID) pCmdUI->SetCheck(mode == m_mode);
}

void CTimeLine::SetMode(int mode) {
  if (mode < 0 || mode >= timeline::ModeCount) return;
  // The windows of modes 6 and 7 stay as they are while open; those of
  // modes 8 and 9 are refreshed when open and made again when not, even in
  // their own mode.
  const ToolPanel tool = mode == timeline::ModeSmartSearch     ? ToolPanel::Smart
                         : mode == timeline::ModeBooleanSearch ? ToolPanel::Boolean
                         : mode == timeline::ModeContents      ? ToolPanel::Subjects
                                                               : ToolPanel::Bookmarks;
  const bool listMode = mode <= timeline::ModeOnThisDay;
  if (!listMode && IsToolOpen(tool)) {
    if (mode == timeline::ModeContents || mode == timeline::ModeBookmarks)
      m_tools.Get(tool)->SendMessage(WM_REFRESHLIST);
    return;
  }
  if (mode == m_mode && mode < timeline::ModeContents && (listMode || IsToolOpen(tool))) return;
  CWaitCursor wait;
  if (listMode) SetRedraw(FALSE);
  for (int i = 0; i < ModeButtonCount; ++i)
    if (m_modeButtons[i].GetSafeHwnd()) m_modeButtons[i].SetCheck(i == mode);
  m_tools.CloseModeTools();
  if (m_search.GetSafeHwnd()) m_search.HideModeFields();
  m_mode = mode;
  if (m_search.GetSafeHwnd()) {
    if (listMode) {
      m_search.ShowModeFields();
      m_search.FillLists();
      m_search.ShowWindow(SW_SHOW);
    } else {
      // The shared search window of the mode takes the panel.
      m_search.ShowWindow(SW_HIDE);
    }
  }
  if (!listMode && m_created) m_tools.Create(tool);
  ShowPicture(m_data.ModePicture(mode), FALSE);
  if (listMode) ResumeRedraw(this);
  if (ReaderShell* shell = GetReaderShell(); shell && shell->GetActiveScreen() == this) {
    Invalidate();
    UpdateWindow();
  }
}

void CTimeLine::SelectListEntry(int index) {
  const timeline::NamedList* list = nullptr;
  BOOL scroll = FALSE;
  switch (m_mode) {
    case timeline::ModePeriods: list = &m_data.periods; break;
    case timeline::ModeCategories:
      list = &m_data.categories;
      scroll = TRUE;
      break;
    case timeline::ModeYearInReview:
      list = &m_data.issues;
      scroll = TRUE;
      break;
    default: return;
  }
  if (index == 0)
    ShowPicture(m_data.ModePicture(m_mode), scroll);
  else if (index - 1 < list->GetCount())
    ShowPicture(list->pictures[static_cast<std::size_t>(index - 1)], FALSE);
}

void CTimeLine::EnableButton(BOOL state) {
  if (m_back.GetSafeHwnd()) m_back.EnableWindow(state);
}

void CTimeLine::OnBack() {
  if (m_search.GetSafeHwnd()) m_search.SelectItem(0);
}

CRect CTimeLine::PictureRect() const {
  CRect client;
  GetClientRect(&client);
  CRect displayRect(216, client.bottom - 22 - DisplayHeight, client.right - 2, client.bottom - 22);
  if (m_display.GetSafeHwnd()) {
    m_display.GetWindowRect(&displayRect);
    ScreenToClient(&displayRect);
  }
  return CRect(216, 74, client.right - 2, displayRect.top - 27);
}

// ---- articles ----

void CTimeLine::SetCurrentArticle(int article) {
  if (article == m_article || article <= 0) return;
  ReaderContext& app = Reader();
  StoreAnnotations();
  m_article = article;
  char title[TitleBufferSize] = "";
  app.LookupTitle(article, title);
  CString text("Add \"");
  text += title;
  text += "\"";
  if (m_menu.m_hMenu) m_menu.ModifyMenu(ID_TL_ADD_ARTICLE, MF_BYCOMMAND | MF_STRING, ID_TL_ADD_ARTICLE, text);
  ShowArticleText();
  ReaderShell* shell = GetReaderShell();
  ToolPanelHost* host = GetToolPanelHost();
  if (shell && host && host->IsResultsOpen() && shell->Queries().GetCurrentQuery().Test(article)) {
    const CStringArray& terms = shell->Queries().GetCurrentTerms();
    for (int i = 0; i < terms.GetSize(); ++i) m_display.FindWords(terms[i], FALSE, TRUE, i == 0);
  }
  m_display.Invalidate();
  CRect client;
  GetClientRect(&client);
  const CRect picture = PictureRect();
  InvalidateRect(CRect(picture.left - 2, picture.bottom + 2, picture.right + 2, picture.bottom + 25), FALSE);
}

void CTimeLine::ShowArticleText() {
  if (m_article <= 0 || !m_display.GetSafeHwnd()) return;
  ReaderContext& app = Reader();
  m_display.SetRedraw(FALSE);
  m_display.ResetContent();
  CContentDb& main = app.GetDatabase(1);
  const int entry = app.ToFileArticle(m_article);
  while (const ReTokenBlock* chunk = main.NextToken(entry))
    if (!m_display.AddText(chunk)) break;
  m_display.RestoreAnnotations(m_article);
  ResumeRedraw(&m_display);
}

// Lays the current article out again (a new width, new fonts); the notes and
// highlights made since it was shown are stored first, or they would go.
void CTimeLine::RelayArticle() {
  StoreAnnotations();
  ShowArticleText();
}

LRESULT CTimeLine::OnFontsChanged(WPARAM, LPARAM) {
  RelayArticle();
  return 0;
}

LRESULT CTimeLine::OnRegionClick(WPARAM, LPARAM lParam) {
  auto* spot = reinterpret_cast<CHotSpot*>(lParam);
  if (spot == nullptr) return 0;
  const CString* label = spot->GetLabel();
  if (label == nullptr) return 0;
  const timeline::NamedList* list = m_mode == timeline::ModePeriods        ? &m_data.periods
                                    : m_mode == timeline::ModeCategories   ? &m_data.categories
                                    : m_mode == timeline::ModeYearInReview ? &m_data.issues
                                                                           : nullptr;
  if (list == nullptr) return 0;
  for (int i = 0; i < list->GetCount(); ++i)
    if (list->names[static_cast<std::size_t>(i)].Compare(*label) == 0) {
      m_search.SelectItem(i + 1);
      break;
    }
  return 0;
}

// ---- the Bookmark menu ----

LRESULT CTimeLine::OnBitsChanged(WPARAM wParam, LPARAM lParam) {
  ReaderContext& app = Reader();
  m_bookmarkMenu.Refill();
  // An article in no folder keeps no notes or highlights.
  if (m_article > 0 && !CTimelineEventText::IsFiled(m_article) && app.FindBookmark(m_article) >= 0) {
    app.RemoveBookmark(m_article);
    m_display.SetNoteMode(FALSE);
    m_display.SetHighlightMode(FALSE);
    ShowArticleText();
  }
  if (IsToolOpen(ToolPanel::Bookmarks)) m_tools.Get(ToolPanel::Bookmarks)->SendMessage(WM_BITSCHANGED, wParam, lParam);
  if (ReaderShell* shell = GetReaderShell(); shell && GetActiveWindow() != nullptr && shell->GetActiveScreen() == this)
    AfxGetMainWnd()->DrawMenuBar();
  return 0;
}

// ---- buttons and help ----

void CTimeLine::OnHelp() { AfxGetApp()->WinHelp(102, HELP_CONTEXT); }
void CTimeLine::OnConsultants() { AfxGetApp()->WinHelp(206, HELP_CONTEXT); }

BOOL CTimeLine::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
    const UINT id = LOWORD(wParam);
    for (int mode = 0; mode < timeline::ModeCount; ++mode)
      if (static_cast<UINT>(kModeButtons[mode]) == id) {
        if (mode == timeline::ModeContents)
          PostMessage(WM_SHOWCONTENTS);
        else if (mode == timeline::ModeBookmarks)
          PostMessage(WM_SHOWBOOKMARKS);
        else
          SetMode(mode);
        // A mode button shows the current mode, pressed or not.
        m_modeButtons[mode].SetCheck(mode == m_mode);
        return TRUE;
      }
    switch (id) {
      case IDC_TL_RELATED: OnRelatedButton(); return TRUE;
      case IDC_TL_BACK: OnBack(); return TRUE;
      case IDC_TL_HELP: OnHelp(); return TRUE;
      default:
        if (ShowScreenOfButton(id, Screen::Timeline)) return TRUE;
        break;
    }
  }
  return CFormView::OnCommand(wParam, lParam);
}

// ---- layout and painting ----

void CTimeLine::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  if (!m_created || cx <= 0 || cy <= 0) return;
  if (m_display.GetSafeHwnd()) {
    CRect rect;
    m_display.GetWindowRect(&rect);
    const int height = rect.Height();
    m_display.MoveWindow(216, cy - 22 - height, cx - 2 - 216, height);
    if (m_article > 0) RelayArticle();
  }
  m_screenBand.Place(cy - kBottomBand);
  if (m_search.GetSafeHwnd()) {
    m_search.MoveWindow(PanelLeft, PanelTop, PanelRight - PanelLeft, cy - kBottomBand - PanelTop);
    m_search.Layout();
  }
  m_tools.FitToPanel();
  if (m_pictureWnd.GetSafeHwnd()) m_pictureWnd.FitToParent(PictureRect());
  Invalidate();
}

BOOL CTimeLine::OnEraseBkgnd(CDC*) { return TRUE; }

void CTimeLine::OnDraw(CDC* pDC) {
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  PaintScreenBackground(this, pDC);
  pDC->FillSolidRect(0, 0, client.Width(), kTopBand, RGB(255, 255, 255));
  pDC->FillSolidRect(0, client.bottom - kBottomBand, client.Width(), kBottomBand, RGB(255, 255, 255));
  // The title strip with the mode's title.
  const CRect strip(214, kTopBand, client.right, 72);
  pDC->FillRect(&strip, app.GetBrush(12));
  CFont* old = pDC->SelectObject(app.GetFont(FontCaption));
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(RGB(255, 255, 255));
  CRect titleRect(strip.left + 6, strip.top, strip.right, strip.bottom);
  pDC->DrawText(kModeTitles[m_mode], &titleRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  // The picture pane's frame and the strip with the current article's title.
  const CRect picture = PictureRect();
  CBrush frameBrush(RGB(0, 0, 0));
  CRect frame(picture.left - 2, picture.top - 2, picture.right + 2, picture.bottom + 2);
  pDC->FrameRect(&frame, &frameBrush);
  CRect titleStrip(picture.left - 2, picture.bottom + 2, picture.right + 2, picture.bottom + 25);
  pDC->FillSolidRect(&titleStrip, RGB(255, 255, 255));
  if (m_article > 0) {
    char title[TitleBufferSize] = "";
    app.LookupTitle(m_article, title);
    pDC->SetTextColor(RGB(0, 0, 0));
    titleStrip.left += 6;
    pDC->DrawText(title, -1, &titleStrip, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  pDC->SelectObject(old);
  if (m_search.GetSafeHwnd() && m_search.IsWindowVisible()) {
    CRect panel;
    m_search.GetWindowRect(&panel);
    ScreenToClient(&panel);
    panel.InflateRect(1, 1);
    pDC->FrameRect(&panel, &frameBrush);
  }
}

void CTimeLine::OnMouseMove(UINT nFlags, CPoint point) {
  CWnd* child = ChildWindowFromPoint(point);
  const HWND over = child != nullptr && child->m_hWnd != m_hWnd ? child->m_hWnd : nullptr;
  m_hoverControl.Track(over);
  CFormView::OnMouseMove(nFlags, point);
}
