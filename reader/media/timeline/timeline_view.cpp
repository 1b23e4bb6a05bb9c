#include "media/timeline/timeline_view.h"

#include <cstring>

#include "controls/skin_environment.h"
#include "core/hot_spot.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "display/preview_view.h"
#include "panels/item_router.h"
#include "panels/tool_panel_host.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"

IMPLEMENT_DYNCREATE(CTimeLine, CFormView)

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
constexpr UINT kScreenButtons[4] = {IDC_SCREEN_BROWSER, IDC_SCREEN_DICTIONARY, IDC_SCREEN_QUIZ, IDC_SCREEN_MEDIA};
constexpr int kBottomBand = 20;
constexpr int kTopBand = 49;
constexpr UINT kBookmarkCommandFirst = 9000;
constexpr UINT kBookmarkCommandLast = 9099;
constexpr int kBookmarkFixedItems = 10;
constexpr const char* kProductNotice = "Copyright The Marovan & World Encyclopedia. All rights reserved.";
constexpr const char* kTimelineNotice = "Timeline text copyright the Marovan Timeline editors. All rights reserved.";

int FolderHolding(int article) {
  ReaderContext& app = Reader();
  for (int f = 0; f < app.m_folders.GetSize(); ++f)
    if (static_cast<CFolder*>(app.m_folders[f])->m_articles.Test(article)) return f;
  return -1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTimeLine, CFormView)
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
ON_COMMAND(ID_TL_SAVE, OnSave)
ON_UPDATE_COMMAND_UI(ID_TL_SAVE, OnUpdateArticleCommand)
ON_COMMAND(ID_TL_PRINT, OnPrintEvent)
ON_UPDATE_COMMAND_UI(ID_TL_PRINT, OnUpdateArticleCommand)
ON_COMMAND(ID_TL_PREVIEW, OnPreviewEvent)
ON_UPDATE_COMMAND_UI(ID_TL_PREVIEW, OnUpdateArticleCommand)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewCurrent)
ON_COMMAND(ID_TL_PRINT_BOOKMARKS, OnPrintBookmarks)
ON_UPDATE_COMMAND_UI(ID_TL_PRINT_BOOKMARKS, OnUpdateBookmarkPrint)
ON_COMMAND(ID_TL_PREVIEW_BOOKMARKS, OnPreviewBookmarks)
ON_UPDATE_COMMAND_UI(ID_TL_PREVIEW_BOOKMARKS, OnUpdateBookmarkPrint)
ON_COMMAND(ID_TL_COPY_SELECTED, OnCopySelected)
ON_UPDATE_COMMAND_UI(ID_TL_COPY_SELECTED, OnUpdateCopySelected)
ON_COMMAND(ID_TL_COPY_EVENT, OnCopyEvent)
ON_UPDATE_COMMAND_UI(ID_TL_COPY_EVENT, OnUpdateArticleCommand)
ON_COMMAND(ID_TL_ANNOTATION, OnAnnotation)
ON_UPDATE_COMMAND_UI(ID_TL_ANNOTATION, OnUpdateAnnotation)
ON_COMMAND(ID_TL_HIGHLIGHT, OnHighlight)
ON_UPDATE_COMMAND_UI(ID_TL_HIGHLIGHT, OnUpdateHighlight)
ON_COMMAND(ID_TL_CLEAR_HIGHLIGHTS, OnClearHighlights)
ON_UPDATE_COMMAND_UI(ID_TL_CLEAR_HIGHLIGHTS, OnUpdateClearHighlights)
ON_COMMAND(ID_NEXT_PANE, OnSwitchPane)
ON_COMMAND(ID_PREV_PANE, OnSwitchPane)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateSwitchPane)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateSwitchPane)
ON_COMMAND(ID_TL_HELP, OnHelp)
ON_COMMAND(ID_TL_CONSULTANTS, OnConsultants)
ON_COMMAND_RANGE(kBookmarkCommandFirst, kBookmarkCommandLast, OnBookmarkItem)
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
ON_COMMAND_RANGE(ID_TL_HISTORY_FIRST, ID_TL_HISTORY_LAST, OnHistoryItem)
ON_COMMAND(ID_TL_ADD_ARTICLE, OnAddArticle)
ON_COMMAND(ID_TL_ADD_SELECTED, OnAddSelected)
ON_UPDATE_COMMAND_UI(ID_TL_ADD_SELECTED, OnUpdateAddSelected)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
END_MESSAGE_MAP()

CTimeLine::CTimeLine() : CFormView(IDD_TIMELINE_FORM) {}

CTimeLine::~CTimeLine() = default;

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
  static constexpr UINT kScreenStrips[4] = {IDB_TQ_BUTTON_FIRST + 14, IDB_TQ_BUTTON_FIRST + 15,
                                            IDB_TQ_BUTTON_FIRST + 16, IDB_TQ_BUTTON_FIRST + 17};
  for (int i = 0; i < 4; ++i)
    m_screenButtons[i].Create(CRect(0, 0, 96, 20), this, kScreenStrips[i], CODButton::kUsualStyle, kScreenButtons[i]);
}

void CTimeLine::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (!m_menu.m_hMenu) m_menu.LoadMenu(IDR_TIMELINE);
  if (bActivate) RebuildSearchHistory();
  ActivateScreen(this, bActivate, TimelineScreenId, m_menu, IDR_TIMELINE);
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
  CloseModeTools();
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
  if (!listMode && m_created) CreateTool(tool);
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
  if (CMenu* bookmarks = m_menu.m_hMenu ? m_menu.GetSubMenu(3) : nullptr)
    Reader().FillBookmarkMenu(*bookmarks, kBookmarkFixedItems, kBookmarkCommandFirst, ID_TL_BOOKMARKS);
  // An article in no folder keeps no notes or highlights.
  if (m_article > 0 && FolderHolding(m_article) < 0 && app.FindBookmark(m_article) >= 0) {
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

void CTimeLine::OnBookmarkItem(UINT id) {
  ReaderContext& app = Reader();
  const int folder = static_cast<int>(id - kBookmarkCommandFirst) / 10;
  const int item = static_cast<int>(id - kBookmarkCommandFirst) % 10;
  if (folder >= app.m_folders.GetSize()) return;
  const int article = static_cast<const CFolder*>(app.m_folders[folder])->m_articles.GetAt(item + 1);
  if (article <= 0) return;
  // An event is shown here; the others on their own screens.
  if (panels::KindOfArticle(article) == panels::ItemKind::TimelineEvent)
    SetCurrentArticle(article);
  else
    panels::ShowOnItsScreen(article);
}

// ---- notes and highlights ----

void CTimeLine::OnAnnotation() {
  m_display.SetNoteMode(!m_display.GetNoteMode());
  m_display.SetHighlightMode(FALSE);
}

void CTimeLine::OnHighlight() {
  m_display.SetHighlightMode(!m_display.GetHighlightMode());
  m_display.SetNoteMode(FALSE);
}

void CTimeLine::OnClearHighlights() { m_display.ClearHighlights(); }

void CTimeLine::OnUpdateAnnotation(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_article > 0 && FolderHolding(m_article) >= 0);
  pCmdUI->SetCheck(m_display.GetSafeHwnd() && m_display.GetNoteMode());
}

void CTimeLine::OnUpdateHighlight(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_article > 0 && FolderHolding(m_article) >= 0);
  pCmdUI->SetCheck(m_display.GetSafeHwnd() && m_display.GetHighlightMode());
}

void CTimeLine::OnUpdateClearHighlights(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_display.GetSafeHwnd() && m_display.HasHighlights());
}

// ---- buttons and help ----

void CTimeLine::OnScreenButton(UINT id) {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return;
  switch (id) {
    case IDC_SCREEN_BROWSER: shell->ShowScreen(Screen::Browser); break;
    case IDC_SCREEN_DICTIONARY: shell->ShowScreen(Screen::Dictionary); break;
    case IDC_SCREEN_QUIZ: shell->ShowScreen(Screen::Quiz); break;
    case IDC_SCREEN_MEDIA: shell->ShowScreen(Screen::Media); break;
    default: break;
  }
}

// The focus moves between the view and its open tool window: from inside
// that window to the view, else from the view to that window.
void CTimeLine::OnSwitchPane() {
  // The first open tool window, in this order, else the search window.
  CWnd* pane = nullptr;
  for (ToolPanel kind : {ToolPanel::Subjects, ToolPanel::Smart, ToolPanel::Boolean, ToolPanel::Bookmarks,
                         ToolPanel::Results, ToolPanel::Tuner})
    if (IsToolOpen(kind)) {
      pane = m_tools.Get(kind);
      break;
    }
  if (pane == nullptr && m_search.GetSafeHwnd() && m_search.IsWindowVisible()) pane = &m_search;
  if (pane == nullptr) return;
  const HWND focus = ::GetFocus();
  if (focus == pane->m_hWnd || ::IsChild(pane->m_hWnd, focus))
    SetFocus();
  else
    pane->SetFocus();
}

void CTimeLine::OnUpdateSwitchPane(CCmdUI* pCmdUI) {
  const HWND focus = ::GetFocus();
  pCmdUI->Enable(focus == m_hWnd || ::IsChild(m_hWnd, focus));
}

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
      case IDC_TL_PRINT: OnPrintEvent(); return TRUE;
      case IDC_TL_RELATED: OnRelatedButton(); return TRUE;
      case IDC_TL_BACK: OnBack(); return TRUE;
      case IDC_TL_HELP: OnHelp(); return TRUE;
      case IDC_SCREEN_BROWSER:
      case IDC_SCREEN_DICTIONARY:
      case IDC_SCREEN_QUIZ:
      case IDC_SCREEN_MEDIA: OnScreenButton(id); return TRUE;
      default: break;
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
  int x = 0;
  for (CODButton& button : m_screenButtons)
    if (button.GetSafeHwnd()) {
      CRect rect;
      button.GetWindowRect(&rect);
      button.MoveWindow(x, cy - kBottomBand, rect.Width(), rect.Height());
      x += rect.Width();
    }
  if (m_search.GetSafeHwnd()) {
    m_search.MoveWindow(PanelLeft, PanelTop, PanelRight - PanelLeft, cy - kBottomBand - PanelTop);
    m_search.Layout();
  }
  for (int i = 0; i < ToolPanelCount; ++i)
    if (const ToolPanel kind = static_cast<ToolPanel>(i); IsToolOpen(kind)) m_tools.Get(kind)->MoveWindow(PanelRect());
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

// ---- copy, save and print ----

CString CTimeLine::NoticeBlock() {
  CString block("\r\n");
  block += CString('_', 40);
  block += "\r\n";
  block += kProductNotice;
  block += "\r\n";
  block += kTimelineNotice;
  return block;
}

CString CTimeLine::TextWithNotice(BOOL selectionOnly) {
  HGLOBAL handle = nullptr;
  const int length = selectionOnly ? m_display.CopySelection(&handle) : m_display.CopyAll(&handle);
  CString text;
  if (handle != nullptr) {
    if (length > 0)
      if (const char* bytes = static_cast<const char*>(::GlobalLock(handle))) {
        text = CString(bytes, static_cast<int>(strnlen(bytes, static_cast<std::size_t>(length))));
        ::GlobalUnlock(handle);
      }
    ::GlobalFree(handle);
  }
  if (text.IsEmpty()) return text;
  text += NoticeBlock();
  return text;
}

namespace {

BOOL PutOnClipboard(CWnd* owner, const CString& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(text.GetLength()) + 1);
  if (block == nullptr) return FALSE;
  char* bytes = static_cast<char*>(::GlobalLock(block));
  std::memcpy(bytes, static_cast<const char*>(text), static_cast<std::size_t>(text.GetLength()) + 1);
  ::GlobalUnlock(block);
  if (!::OpenClipboard(owner->m_hWnd)) {
    ::GlobalFree(block);
    return FALSE;
  }
  ::EmptyClipboard();
  const BOOL placed = ::SetClipboardData(CF_TEXT, block) != nullptr;
  if (!placed) ::GlobalFree(block);
  ::CloseClipboard();
  return placed;
}

}  // namespace

void CTimeLine::OnCopySelected() {
  const CString text = TextWithNotice(TRUE);
  if (!text.IsEmpty()) PutOnClipboard(this, text);
}

void CTimeLine::OnCopyEvent() {
  const CString text = TextWithNotice(FALSE);
  if (!text.IsEmpty()) PutOnClipboard(this, text);
}

void CTimeLine::OnUpdateCopySelected(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_display.GetSafeHwnd() && m_display.HasSelection());
}

void CTimeLine::OnUpdateArticleCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(m_article > 0); }

CTimeLine::SaveOutcome CTimeLine::SaveEventTo(const char* path) {
  const CString text = TextWithNotice(FALSE);
  if (text.IsEmpty()) return SaveOutcome::Empty;
  // Written whole or not at all.
  ContentReplacement file(path);
  if (!file.IsOpen()) return SaveOutcome::NotCreated;
  const bool written =
      ContentWrite(file.File(), static_cast<const char*>(text), static_cast<u32>(text.GetLength())) && file.Commit();
  return written ? SaveOutcome::Saved : SaveOutcome::NotWritten;
}

void CTimeLine::OnSave() {
  // An empty article saves nothing, and a file that cannot be created ends
  // the command quietly, as a cancelled name does; only a file left short by
  // a failed write is reported.
  if (m_article <= 0 || TextWithNotice(FALSE).IsEmpty()) return;
  CString path;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr || !shell->AskTextFileName(path)) return;
  if (SaveEventTo(path) == SaveOutcome::NotWritten)
    AfxMessageBox("The event could not be saved to the file.", MB_OK | MB_ICONEXCLAMATION);
}

void CTimeLine::Print(int kind, BOOL preview) {
  m_printKind = kind;
  if (!preview) {
    OnFilePrint();
    return;
  }
  auto* state = new CPrintPreviewState;
  if (!DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, this, RUNTIME_CLASS(CQVEPreviewView), state)) {
    AfxMessageBox(AFX_IDP_COMMAND_FAILURE);
    delete state;
  }
}

void CTimeLine::OnPrintEvent() {
  if (m_article > 0) Print(PrintArticle, FALSE);
}
void CTimeLine::OnPreviewEvent() {
  if (m_article > 0) Print(PrintArticle, TRUE);
}
void CTimeLine::OnPreviewCurrent() { Print(m_printKind, TRUE); }
void CTimeLine::OnPrintBookmarks() { Print(PrintBookmarkList, FALSE); }
void CTimeLine::OnPreviewBookmarks() { Print(PrintBookmarkList, TRUE); }

void CTimeLine::OnUpdateBookmarkPrint(CCmdUI* pCmdUI) { pCmdUI->Enable(Reader().m_folders.GetSize() > 0); }

void CTimeLine::PrintBookmarkFolder(int folder) {
  Reader().m_printFolder = folder;
  Print(PrintFolder, FALSE);
}

void CTimeLine::PreviewBookmarkFolder(int folder) {
  Reader().m_printFolder = folder;
  Print(PrintFolder, TRUE);
}

BOOL CTimeLine::OnPreparePrinting(CPrintInfo* pInfo) {
  pInfo->SetMaxPage(0xFFFF);
  pInfo->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (m_printKind == PrintArticle && m_display.HasSelection())
    pInfo->m_pPD->m_pd.Flags &= ~static_cast<DWORD>(PD_NOSELECTION);
  else
    pInfo->m_pPD->m_pd.Flags |= PD_NOSELECTION;
  return DoPreparePrinting(pInfo);
}

void CTimeLine::OnBeginPrinting(CDC* pDC, CPrintInfo*) {
  m_pageStarts.assign(1, 0);
  ReaderContext& app = Reader();
  app.GetPrinterMargins(pDC);
  app.RecreateArticleFonts(FALSE, pDC);
}

void CTimeLine::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
  CFormView::OnPrepareDC(pDC, pInfo);
  if (pInfo == nullptr) return;
  const std::size_t page = pInfo->m_nCurPage;
  pInfo->m_bContinuePrinting = page >= 1 && page <= m_pageStarts.size() && m_pageStarts[page - 1] >= 0;
}

void CTimeLine::OnEndPrinting(CDC*, CPrintInfo*) {
  m_pageStarts.clear();
  Reader().RecreateArticleFonts(FALSE, nullptr);
}

int CTimeLine::Notice(CDC* dc, CPrintInfo* info) {
  // The footer, drawn upwards: the timeline notice, the product notice above
  // it, and a rule; returns the rule's y.
  TEXTMETRIC metrics = {};
  dc->GetTextMetrics(&metrics);
  const CRect& r = info->m_rectDraw;
  int y = r.bottom - metrics.tmHeight;
  dc->TextOut(r.left, y, kTimelineNotice);
  y -= metrics.tmHeight + metrics.tmExternalLeading;
  dc->TextOut(r.left, y, kProductNotice);
  y -= metrics.tmExternalLeading + 50;
  dc->MoveTo(r.left, y);
  dc->LineTo(r.right, y);
  return y;
}

void CTimeLine::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  ReaderContext& app = Reader();
  const UINT page = pInfo->m_nCurPage;
  if (page < 1 || page > m_pageStarts.size() || m_pageStarts[page - 1] < 0) {
    pInfo->m_bContinuePrinting = FALSE;
    return;
  }
  CRect& r = pInfo->m_rectDraw;
  r.DeflateRect(app.m_printMargins.left, app.m_printMargins.top, app.m_printMargins.right, app.m_printMargins.bottom);
  // The header and footer in the shared print font, which the job made for
  // the printer (a screen font of fixed pixels would be a speck on paper).
  CFont* old = pDC->SelectObject(app.GetFont(FontSerif));
  TEXTMETRIC metrics = {};
  pDC->GetTextMetrics(&metrics);
  // Header: the title, "Page n" at the right, a rule.
  CString title;
  if (m_printKind == PrintArticle) {
    char text[TitleBufferSize] = "";
    app.LookupTitle(m_article, text);
    title = text;
  } else if (m_printKind == PrintBookmarkList) {
    title = "Bookmark List";
  } else if (app.m_printFolder >= 0 && app.m_printFolder < app.m_folders.GetSize()) {
    title = static_cast<CFolder*>(app.m_folders[app.m_printFolder])->m_name;
  }
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  pDC->TextOut(r.left, r.top, title);
  CString number;
  number.Format("Page %u", page);
  pDC->SetTextAlign(TA_RIGHT | TA_TOP);
  pDC->TextOut(r.right, r.top, number);
  pDC->SetTextAlign(TA_LEFT | TA_TOP);
  const int rule = r.top + metrics.tmHeight + 50;
  pDC->MoveTo(r.left, rule);
  pDC->LineTo(r.right, rule);
  const int footer = Notice(pDC, pInfo);
  pDC->SelectObject(old);
  CRect body(r.left, rule + 200, r.right, footer - 200);
  const CRect saved = r;
  r = body;
  const int start = m_pageStarts[page - 1];
  int next = -1;
  if (m_printKind == PrintArticle)
    next = m_display.PrintRuns(pDC, pInfo, start);
  else if (m_printKind == PrintBookmarkList)
    next = app.PrintListPage(pDC, pInfo, start);
  else
    next = app.PrintListPage2(pDC, pInfo, start);
  r = saved;
  if (m_pageStarts.size() == page) m_pageStarts.push_back(next);
  if (next < 0) {
    if (m_pageStarts.size() > page) m_pageStarts[page] = -1;
    pInfo->SetMaxPage(page);
  }
}
