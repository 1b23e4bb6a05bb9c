#include "dictionary/dict_view.h"

#include <initializer_list>
#include <iterator>

#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "dictionary/dict_window_helpers.h"
#include "messages/window_messages.h"
#include "reader/dictionary_ids.h"
#include "reader/reader_ids.h"

IMPLEMENT_DYNCREATE(CDict, CPrintingFormView)

namespace {

// The dictionary look's entries of the brush table: the band (heading,
// frames) and the panel background.
constexpr int kBandBrush = 7;
constexpr int kPanelBrush = 8;
constexpr int kTopBand = 49;
constexpr int kBottomBand = 20;
constexpr int kColumnRight = 212;
constexpr int kWordBoxRight = 213;
constexpr int kFrameLeft = 214;
constexpr int kHeadingBandBottom = 72;

struct ButtonSpec {
  UINT id;
  UINT bitmap;
  WORD style;
};

// The top row, left to right.
constexpr ButtonSpec kTopRow[] = {
    {IDC_DICT_CONTENTS, IDB_DICT_CONTENTS, 187},
    {IDC_DICT_SMART_SEARCH, IDB_DICT_SMART_SEARCH, 187},
    {IDC_DICT_BOOLEAN_SEARCH, IDB_DICT_BOOLEAN_SEARCH, 187},
    {IDC_DICT_DICTIONARY, IDB_DICT_DICTIONARY, CODButton::kUsualStyle},
    {IDC_DICT_THESAURUS, IDB_DICT_THESAURUS, CODButton::kUsualStyle},
    {IDC_DICT_DICTIONARY_THESAURUS, IDB_DICT_DICTIONARY_THESAURUS, CODButton::kUsualStyle},
    {IDC_DICT_FRENCH_ENGLISH, IDB_DICT_FRENCH_ENGLISH, CODButton::kUsualStyle},
    {IDC_DICT_ENGLISH_FRENCH, IDB_DICT_ENGLISH_FRENCH, CODButton::kUsualStyle},
    {IDC_DICT_BOOKMARKS, IDB_DICT_BOOKMARKS, 187},
    {IDC_DICT_PRINT, IDB_DICT_PRINT, CODButton::kUsualStyle},
    {IDC_DICT_SAVE, IDB_DICT_SAVE, CODButton::kUsualStyle},
    {IDC_DICT_HELP, IDB_DICT_HELP, CODButton::kUsualStyle},
};

// The navigation row along the bottom, left to right.
constexpr ButtonSpec kNavigationRow[] = {
    {IDC_DICT_GO_BROWSER, IDB_NAV_BROWSER, CODButton::kUsualStyle},
    {IDC_DICT_GO_DICTIONARY, IDB_NAV_DICTIONARY, CODButton::kUsualStyle},
    {IDC_DICT_GO_MEDIA, IDB_NAV_MEDIA, CODButton::kUsualStyle},
    {IDC_DICT_GO_TIMELINE, IDB_NAV_TIMELINE, CODButton::kUsualStyle},
    {IDC_DICT_GO_QUIZ, IDB_NAV_QUIZ, CODButton::kUsualStyle},
};

const char* ModeTitle(int mode) {
  switch (mode) {
    case dict::kThesaurus: return "Thesaurus";
    case dict::kFrenchEnglish: return "French-English Dictionary";
    case dict::kEnglishFrench: return "English-French Dictionary";
    case dict::kDictionaryThesaurus: return "Vorn Marovan Dictionary/Thesaurus";
    default: return "Vorn Marovan Dictionary";
  }
}

CRect WindowRectIn(CWnd& child, CWnd* parent) {
  CRect rect;
  child.GetWindowRect(&rect);
  parent->ScreenToClient(&rect);
  return rect;
}

// The article commands' ids: the menu items, then the Save button. Save,
// copy and Add Article keep the map's rule (an entry shown).
constexpr panels::ArticleCommandId kArticleCommandIds[] = {
    {ID_DICT_ANNOTATION, panels::ArticleCommand::Notes},
    {ID_DICT_HIGHLIGHT, panels::ArticleCommand::Highlights},
    {ID_DICT_CLEAR_HIGHLIGHTS, panels::ArticleCommand::ClearHighlights},
    {ID_DICT_ADD_ARTICLE, panels::ArticleCommand::AddArticle},
    {ID_DICT_ADD_SELECTED, panels::ArticleCommand::AddSelected},
    {ID_DICT_COPY_SELECTION, panels::ArticleCommand::CopySelection},
    {ID_DICT_COPY_ENTRY, panels::ArticleCommand::CopyArticle},
    {ID_DICT_SAVE_ENTRY, panels::ArticleCommand::Save},
    {IDC_DICT_SAVE, panels::ArticleCommand::Save},
};

// The print job's ids: the menu items, the Print button, and the class
// library's Print and Print Preview, which print what the last job printed.
constexpr panels::PrintCommandId kPrintCommandIds[] = {
    {ID_DICT_PRINT_ENTRY, panels::PrintCommand::PrintItem},
    {ID_DICT_PREVIEW_ENTRY, panels::PrintCommand::PreviewItem},
    {ID_DICT_PRINT_BOOKMARKS, panels::PrintCommand::PrintBookmarks},
    {ID_DICT_PREVIEW_BOOKMARKS, panels::PrintCommand::PreviewBookmarks},
    {IDC_DICT_PRINT, panels::PrintCommand::PrintItem},
    {ID_FILE_PRINT, panels::PrintCommand::PrintAgain},
    {ID_FILE_PRINT_PREVIEW, panels::PrintCommand::PreviewAgain},
};

}  // namespace

BEGIN_MESSAGE_MAP(CDict, CPrintingFormView)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_SETCURSOR()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_DESTROY()
ON_MESSAGE(WM_PANELCLOSED, OnPanelClosed)
ON_MESSAGE(WM_FONTSCHANGED, OnFontsChanged)
ON_MESSAGE(WM_COLOURSCHANGED, OnColoursChanged)
ON_MESSAGE(WM_CROSSREF, OnCrossReference)
ON_MESSAGE(WM_SHOWCONTENTS, OnShowContents)
ON_MESSAGE(WM_SHOWBOOKMARKS, OnShowBookmarks)
ON_MESSAGE(WM_SHOWRESULTS, OnShowResults)
ON_MESSAGE(WM_BITSCHANGED, OnFoldersChanged)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
// The word edit, its buttons and the thesaurus list.
ON_BN_CLICKED(IDC_DICT_LOOK_UP, OnLookUp)
// Entry commands.
ON_COMMAND(ID_FILE_PRINT_SETUP, OnPrintSetup)
ON_UPDATE_COMMAND_UI(ID_DICT_SAVE_ENTRY, OnUpdateHasText)
ON_UPDATE_COMMAND_UI(ID_DICT_COPY_ENTRY, OnUpdateHasText)
ON_COMMAND(ID_DICT_RELATED_SELECTION, OnRelatedToSelection)
ON_COMMAND(ID_DICT_RELATED_ENTRY, OnRelatedToEntry)
ON_UPDATE_COMMAND_UI(ID_DICT_RELATED_ENTRY, OnUpdateRelatedToEntry)
ON_UPDATE_COMMAND_UI(ID_DICT_ADD_ARTICLE, OnUpdateHasText)
ON_UPDATE_COMMAND_UI(ID_DICT_RELATED_SELECTION, OnUpdateHasSelection)
ON_COMMAND_RANGE(IDC_DICT_GO_BROWSER, IDC_DICT_GO_TIMELINE, OnNavigate)
ON_BN_CLICKED(IDC_DICT_HELP, OnHelpDictionary)
ON_COMMAND(ID_DICT_HELP_DICTIONARY, OnHelpDictionary)
ON_COMMAND(ID_DICT_HELP_CONSULTANTS, OnHelpConsultants)
END_MESSAGE_MAP()

CDict::CDict()
    : CPrintingFormView(IDD_DICTIONARY_FORM),
      m_articleCommands(*this, kArticleCommandIds, static_cast<int>(std::size(kArticleCommandIds))),
      m_printJob(*this, kPrintCommandIds, static_cast<int>(std::size(kPrintCommandIds))) {}

CDict::~CDict() = default;

CODButton* CDict::Button(UINT id) {
  for (CODButton* group : {m_sharedButtons, m_modeButtons, m_navButtons, m_commandButtons}) {
    const int count = group == m_commandButtons ? 8 : (group == m_sharedButtons ? 4 : 5);
    for (int i = 0; i < count; ++i)
      if (group[i].GetSafeHwnd() != nullptr && static_cast<UINT>(group[i].GetDlgCtrlID()) == id) return &group[i];
  }
  return nullptr;
}

// ---- start ----------------------------------------------------------------------

void CDict::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (m_bStarted) return;
  m_menus.Load();

  m_conjugation.Start(Reader().m_strWorkingDir);
  m_hovered = nullptr;

  CreateControls();

  m_wordSearch.Start();
  for (UINT id :
       {IDC_DICT_ANAGRAM, IDC_DICT_LOOK_UP, IDC_DICT_SEARCH, IDC_DICT_WILDCARD, IDC_DICT_PRINT, IDC_DICT_SAVE})
    if (CODButton* b = Button(id)) b->EnableWindow(FALSE);

  m_modes.Apply();
  CRect client;
  GetClientRect(&client);
  m_bStarted = TRUE;
  LayoutControls(SIZE_RESTORED, client.Width(), client.Height());
  m_panels.Open(dict::kHeadwordsPanel, CWordListDlg::kHeadwords);
  EnableToolTips(TRUE);
  PostMessage(WM_BITSCHANGED, 1, 0);
}

void CDict::CreateControls() {
  ReaderContext& app = Reader();
  CODButton* topButtons[] = {&m_sharedButtons[0], &m_sharedButtons[1],  &m_sharedButtons[2],  &m_modeButtons[2],
                             &m_modeButtons[0],   &m_modeButtons[1],    &m_modeButtons[3],    &m_modeButtons[4],
                             &m_sharedButtons[3], &m_commandButtons[3], &m_commandButtons[2], &m_commandButtons[4]};
  int x = 0;
  for (int i = 0; i < 12; ++i) {
    topButtons[i]->Create(CRect(x, 0, x, 0), this, kTopRow[i].bitmap, kTopRow[i].style, kTopRow[i].id, 0, 1, 0);
    x = WindowRectIn(*topButtons[i], this).right;
  }
  for (int i = 0; i < 5; ++i)
    m_navButtons[i].Create(CRect(0, 0, 0, 0), this, kNavigationRow[i].bitmap, kNavigationRow[i].style,
                           kNavigationRow[i].id, 0, 1, 0);
  CODButton& lookUp = m_commandButtons[5];
  lookUp.Create(CRect(0, 0, 0, 0), this, IDB_DICT_LOOK_UP, CODButton::kUsualStyle, IDC_DICT_LOOK_UP, 0, 1, 0);

  // The word edit with Look Up beside it, and the row of search buttons below.
  const int lookUpWidth = lookUp.GetFrameSize().cx;
  const CRect edit(6, 55, 202 - lookUpWidth, 61 + app.m_lineHeight);
  WordEdit().Create(&edit, this, IDC_DICT_WORD, kBandBrush, kPanelBrush);
  WordEdit().SetFont(&app.m_fonts[FontList]);
  WordEdit().LimitText(80);
  WordEdit().ShowWindow(SW_SHOW);
  lookUp.SetWindowPos(nullptr, edit.right + 6, edit.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  struct RowButton {
    CODButton* button;
    UINT bitmap;
    UINT id;
  } row[] = {{&m_commandButtons[1], IDB_DICT_SEARCH, IDC_DICT_SEARCH},
             {&m_commandButtons[7], IDB_DICT_ANAGRAM, IDC_DICT_ANAGRAM},
             {&m_commandButtons[0], IDB_DICT_WILDCARD, IDC_DICT_WILDCARD},
             {&m_commandButtons[6], IDB_DICT_CONJUGATE, IDC_DICT_CONJUGATE}};
  x = edit.left;
  const int rowTop = edit.bottom + 9;
  int rowBottom = rowTop;
  for (RowButton& b : row) {
    b.button->Create(CRect(x, rowTop, x, rowTop), this, b.bitmap, CODButton::kUsualStyle, b.id, 0, 1, 0);
    const CRect placed = WindowRectIn(*b.button, this);
    if (b.id != IDC_DICT_CONJUGATE) x = placed.right;
    rowBottom = std::max<int>(rowBottom, placed.bottom);
  }
  m_wordBox = CRect(1, edit.top - 6, kWordBoxRight, rowBottom + 6);
  m_column = CRect(2, rowBottom + 6, kColumnRight, rowBottom + 6);
  m_heading = CRect(226, 77, 326, 97);

  // The entry display behind the Wildcard button, the thesaurus list behind
  // the display, and the conjugation window.
  const CRect area(m_heading.left, m_heading.bottom + 5, m_heading.left + 100, m_heading.bottom + 105);
  m_display.Create(this, area, WS_CHILD | WS_VISIBLE | WS_BORDER, CDisplay::kControlId, kSkinDictionary);
  m_display.SetWindowPos(&m_commandButtons[0], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_display.ResetContent();
  m_currentEntry = 0;
  ThesaurusList().Create(area, this, IDC_DICT_THESAURUS_LIST);
  ThesaurusList().SetFont(&app.m_fonts[FontList]);
  ThesaurusList().SetWindowPos(&m_display, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_conjugationWnd.Create(area, this, IDC_DICT_CONJUGATION);
  m_conjugationWnd.ShowWindow(SW_HIDE);
}

// ---- layout ---------------------------------------------------------------------

void CDict::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  if (m_bStarted) LayoutControls(type, cx, cy);
}

void CDict::LayoutControls(UINT, int width, int height) {
  m_layout = dict::ComputeLayout(m_column, m_heading, width, height);
  const CRect& whole = m_layout.display;
  m_conjugationWnd.MoveWindow(&whole);
  if (GetMode() == dict::kDictionaryThesaurus) {
    ThesaurusList().MoveWindow(&m_layout.lower);
    m_display.MoveWindow(&m_layout.upper);
  } else {
    ThesaurusList().MoveWindow(&whole);
    m_display.MoveWindow(&whole);
  }
  if (GetMode() != dict::kThesaurus && !dict::Shown(m_conjugationWnd) && m_currentEntry != 0) RebuildEntry();

  int x = 0;
  for (const ButtonSpec& spec : kNavigationRow) {
    CODButton* button = Button(spec.id);
    if (button == nullptr) continue;
    button->SetWindowPos(nullptr, x, height - kBottomBand, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x = WindowRectIn(*button, this).right;
  }
  m_panels.PlaceOpen();
}

// ---- painting -------------------------------------------------------------------

BOOL CDict::OnEraseBkgnd(CDC* dc) {
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  const int saved = dc->SaveDC();
  for (CWnd* child :
       {static_cast<CWnd*>(&m_display), static_cast<CWnd*>(&ThesaurusList()), static_cast<CWnd*>(&m_conjugationWnd)}) {
    if (!dict::Shown(*child)) continue;
    const CRect covered = WindowRectIn(*child, this);
    dc->ExcludeClipRect(&covered);
  }
  if (GetMode() <= dict::kDictionaryThesaurus) dc->ExcludeClipRect(&m_layout.panels[0]);
  const CRect picture(0, kTopBand, client.Width(), kTopBand + client.Height() - kTopBand - kBottomBand);
  if (app.m_backgroundBitmap.GetSafeHandle() != nullptr && app.m_backgroundWidth > 0 && app.m_backgroundHeight > 0) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&app.m_backgroundBitmap);
    CPalette* oldPalette = app.m_palette.GetSafeHandle() ? dc->SelectPalette(&app.m_palette, FALSE) : nullptr;
    dc->RealizePalette();
    dc->SetStretchBltMode(COLORONCOLOR);
    dc->StretchBlt(picture.left, picture.top, picture.Width(), picture.Height(), &memory, 0, 0, app.m_backgroundWidth,
                   app.m_backgroundHeight, SRCCOPY);
    if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
    memory.SelectObject(old);
  } else {
    dc->FillSolidRect(&picture, RGB(192, 192, 192));
  }
  dc->RestoreDC(saved);
  return TRUE;
}

void CDict::OnDraw(CDC* dc) {
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  CPalette* oldPalette = app.m_palette.GetSafeHandle() ? dc->SelectPalette(&app.m_palette, FALSE) : nullptr;
  if (oldPalette) dc->RealizePalette();
  dc->FillSolidRect(0, 0, w, kTopBand, RGB(255, 255, 255));
  dc->FillSolidRect(0, h - kBottomBand, w, kBottomBand, RGB(255, 255, 255));

  CBrush& band = app.m_brushes[kBandBrush];
  CBrush& panel = app.m_brushes[kPanelBrush];
  const CRect headingBand(kFrameLeft, kTopBand, w, kHeadingBandBottom);
  dc->FillRect(&headingBand, &band);
  // The 2-pixel frame down the left, across the right and the bottom; the
  // inside in the panel brush (the display and lists cover most of it).
  const auto fill = [dc](int left, int top, int right, int bottom, CBrush& brush) {
    const CRect rect(left, top, right, bottom);
    dc->FillRect(&rect, &brush);
  };
  const CRect frame(kFrameLeft, kHeadingBandBottom, w, h - kBottomBand);
  fill(frame.left, frame.top, frame.left + 2, frame.bottom, band);
  fill(frame.right - 2, frame.top, frame.right, frame.bottom, band);
  fill(frame.left, frame.bottom - 2, frame.right, frame.bottom, band);
  fill(frame.left + 2, frame.top, frame.right - 2, frame.bottom - 2, panel);

  const int mode = GetMode();
  if (mode < dict::kModeCount) {
    CFont* old = dc->SelectObject(&app.m_fonts[FontHeading]);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CRect title(220, kTopBand, w, kHeadingBandBottom);
    dc->DrawText(ModeTitle(mode), &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    const char* heading = "Definition";
    if (mode == dict::kThesaurus) {
      heading = "Synonym";
    } else if (mode == dict::kFrenchEnglish) {
      heading = dict::Shown(m_conjugationWnd) ? "Conjugate" : "Translation";
    } else if (mode == dict::kEnglishFrench) {
      heading = "Translation";
    }
    CRect headingRect = m_heading;
    dc->DrawText(heading, &headingRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if (mode == dict::kDictionaryThesaurus) {
      CRect synonymRect = m_layout.synonymHeading;
      dc->DrawText("Synonym", &synonymRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    }
    dc->SelectObject(old);
  }
  if (mode <= dict::kDictionaryThesaurus) {
    const CRect& box = m_wordBox;
    fill(box.left, box.top, box.right, box.top + 2, band);
    fill(box.left, box.bottom - 2, box.right, box.bottom, band);
    fill(box.left, box.top, box.left + 2, box.bottom, band);
    fill(box.right - 2, box.top, box.right, box.bottom, band);
    fill(box.left + 2, box.top + 2, box.right - 2, box.bottom - 2, panel);
  }
  if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
}

HBRUSH CDict::OnCtlColor(CDC* dc, CWnd*, UINT) {
  dc->SetTextColor(RGB(0, 0, 0));
  dc->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

BOOL CDict::OnQueryNewPalette() { return dict::RealizeAppPalette(this); }

void CDict::OnPaletteChanged(CWnd* focus) {
  if (focus != this) dict::RealizeAppPalette(this);
}

BOOL CDict::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  dict::TrackHover(this, m_hovered, wnd);
  return CFormView::OnSetCursor(wnd, hitTest, message);
}

void CDict::OnSetFocus(CWnd*) {
  if (dict::Shown(WordEdit())) {
    WordEdit().SetFocus();
  } else if (m_sharedButtons[0].GetSafeHwnd() != nullptr) {
    m_sharedButtons[0].SetFocus();
  }
}

// ---- messages -------------------------------------------------------------------

void CDict::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  ActivateScreen(this, bActivate, Screen::Dictionary, m_menus.Menu());
  if (bActivate) {
    m_menus.RebuildHistory();
    SetFocus();
  }
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

BOOL CDict::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    OnEnterWord();
    return TRUE;
  }
  return CFormView::PreTranslateMessage(pMsg);
}

BOOL CDict::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  for (CCmdTarget* part :
       std::initializer_list<CCmdTarget*>{&m_articleCommands, &m_printJob, &m_modes, &m_word, &m_wordSearch,
                                          &m_conjugation, &m_thesaurus, &m_focusRing, &m_menus})
    if (part->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CDict::OnPanelClosed(WPARAM, LPARAM lParam) {
  // Posted: by the time it arrives the panel may be open again.
  CWordListDlg& alternatives = AlternativesPanel();
  if (reinterpret_cast<CWordListDlg*>(lParam) != &alternatives || alternatives.IsOpen()) return 0;
  m_panels.PlaceOpen();
  if (dict::Shown(WordEdit())) WordEdit().SetFocus();
  return 0;
}

LRESULT CDict::OnFontsChanged(WPARAM, LPARAM) {
  if (m_currentEntry != 0) {
    CWaitCursor wait;
    RebuildEntry();
  }
  m_thesaurus.Refill();
  return 0;
}

LRESULT CDict::OnColoursChanged(WPARAM, LPARAM) {
  m_display.Invalidate();
  return 0;
}

// A cross reference in an entry names an article of the main database.
LRESULT CDict::OnCrossReference(WPARAM, LPARAM lParam) {
  const int article = static_cast<int>(lParam);
  if (article <= 0) return 0;
  ReaderContext& app = Reader();
  if (OnMainDatabase() && app.m_vornBits.Test(article)) {
    ShowEntry(static_cast<DWORD>(article));
  }
  return 0;
}

BOOL CDict::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  if (!(info->uFlags & TTF_IDISHWND)) return FALSE;
  const HWND tool = reinterpret_cast<HWND>(header->idFrom);
  if (::GetParent(tool) != m_hWnd) return FALSE;
  const UINT id = static_cast<UINT>(::GetDlgCtrlID(tool));
  char text[81] = "";
  if (id == 0 || ::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text) <= 0) return FALSE;
  m_tipText = text;
  info->lpszText = const_cast<LPSTR>(static_cast<LPCTSTR>(m_tipText));
  *result = 0;
  return TRUE;
}

void CDict::OnDestroy() {
  CFormView::OnDestroy();
  m_conjugation.Stop();
}
