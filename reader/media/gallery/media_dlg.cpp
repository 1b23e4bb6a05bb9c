#include "media/gallery/media_dlg.h"

#include <cstring>

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/title_key.h"
#include "media/gallery/gallery_part.h"
#include "reader/media_ids.h"
#include "settings/settings.h"

namespace {

struct FilterSpec {
  UINT id;
  UINT bitmap;
};
constexpr FilterSpec Filters[CMediaDlg::FilterCount] = {
    {IDC_FILTER_PICTURES, 2167}, {IDC_FILTER_VIDEOS, 2168}, {IDC_FILTER_MAPS, 2169},       {IDC_FILTER_GRAPHS, 2170},
    {IDC_FILTER_TABLES, 4144},   {IDC_FILTER_SOUNDS, 2171}, {IDC_FILTER_CLICKABLES, 2172},
};
constexpr UINT FindMenuBitmap = 6072;
constexpr UINT MinimizeBitmap = 2162;
constexpr WORD ToggleStyle = 187;

// The filter bit strings of each button, in the order of the table.
void AddFilterSets(ReaderContext& app, int i, CBitString& sets) {
  auto add = [&sets](const CBitString& set) {
    if (sets.GetBitCount() == 0)
      sets = set;
    else
      sets.Or(set);
  };
  switch (i) {
    case 0: add(app.m_picBits); break;
    case 1:
      add(app.m_videoBits);
      add(app.m_animBits);
      break;
    case 2: add(app.m_mapBits); break;
    case 3: add(app.m_graphBits); break;
    case 4: add(app.m_tableBits); break;
    case 5: add(app.m_soundBits); break;
    default:
      add(app.m_clkmapBits);
      add(app.m_clkpicBits);
      add(app.m_knvrBits);
      break;
  }
}

CSize ButtonSize(CWnd& button) {
  CRect rect;
  button.GetWindowRect(&rect);
  return rect.Size();
}

}  // namespace

BEGIN_MESSAGE_MAP(CMediaDlg, CDialog)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCHITTEST()
ON_WM_SETCURSOR()
ON_WM_CTLCOLOR()
ON_WM_SETFOCUS()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_DESTROY()
ON_LBN_SELCHANGE(IDC_SUBJECT_LIST, OnSubjectsChange)
ON_LBN_SELCANCEL(IDC_SUBJECT_LIST, OnSubjectsChange)
ON_LBN_SELCHANGE(IDC_SUBJECT_TITLES, OnTitlesChange)
ON_LBN_DBLCLK(IDC_SUBJECT_TITLES, OnTitlesDoubleClick)
ON_EN_CHANGE(IDC_SUBJECT_FIND, OnFindChange)
ON_EN_SETFOCUS(IDC_SUBJECT_FIND, OnFindFocus)
ON_BN_CLICKED(IDC_SUBJECT_FIND_MENU, OnFindMenu)
ON_COMMAND_RANGE(ID_FOUND_FIRST, ID_FOUND_LAST, OnFound)
ON_BN_CLICKED(IDC_SUBJECT_SHOW, OnShow)
ON_BN_CLICKED(IDC_SUBJECT_MINIMIZE, OnMinimize)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
END_MESSAGE_MAP()

CMediaDlg::CMediaDlg() : CDialog(TemplateId) {}

BOOL CMediaDlg::Create(const CRect& rect, CWnd* owner, GalleryPartOwner* gallery) {
  m_gallery = gallery;
  m_createRect = rect;
  return CDialog::Create(TemplateId, owner);
}

BOOL CMediaDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  ReaderContext& app = Reader();
  CRect window;
  GetWindowRect(&window);
  m_collapsedWidth = window.Width();
  m_expandedWidth = m_collapsedWidth + ExtraWidth;
  m_bExpanded = TRUE;
  const int height = m_createRect.IsRectEmpty() ? window.Height() : m_createRect.Height();
  const CPoint at = m_createRect.IsRectEmpty() ? window.TopLeft() : m_createRect.TopLeft();
  SetWindowPos(nullptr, at.x, at.y, m_expandedWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
  CRect client;
  GetClientRect(&client);

  m_minimize.Create(CRect(0, 0, 0, 0), this, MinimizeBitmap, CODButton::kUsualStyle, IDC_SUBJECT_MINIMIZE, 0, 1, 0);
  const CSize minimize = ButtonSize(m_minimize);
  m_minimize.MoveWindow(m_collapsedWidth - minimize.cx - 6, (BandHeight - minimize.cy) / 2, minimize.cx, minimize.cy);

  m_subjectList.Create(CRect(m_collapsedWidth + 6, 27, client.right - 5, client.bottom - 4), this, IDC_SUBJECT_LIST, 1);
  int x = 3;
  int filterTop = client.bottom;
  for (int i = 0; i < FilterCount; ++i) {
    m_filters[i].Create(CRect(x, 0, x, 0), this, Filters[i].bitmap, ToggleStyle, Filters[i].id, 0, 1, 0);
    const CSize size = ButtonSize(m_filters[i]);
    filterTop = client.bottom - size.cy - 4;
    m_filters[i].MoveWindow(x, filterTop, size.cx, size.cy);
    m_filters[i].SetCheck(0);
    x += size.cx;
  }

  const int lineHeight = app.GetLineHeight() > 0 ? app.GetLineHeight() : 14;
  const CRect findRect(4, 27, m_collapsedWidth - 7, lineHeight + 33);
  m_find.Create(&findRect, this, IDC_SUBJECT_FIND, 1, 2);
  m_find.SetFont(app.GetFont(FontList));
  m_find.LimitText(FindLimit);

  m_findMenu.Create(CRect(4, findRect.bottom + 3, 4, findRect.bottom + 3), this, FindMenuBitmap, CODButton::kUsualStyle,
                    IDC_SUBJECT_FIND_MENU, 0, 1, 0);
  m_show.Create(CRect(0, 0, 0, 0), this, IDB_SUBJECT_EXPANDED, CODButton::kUsualStyle, IDC_SUBJECT_SHOW, 0, 1, 0);
  const CSize show = ButtonSize(m_show);
  m_show.MoveWindow(m_collapsedWidth - 7 - show.cx, findRect.bottom + 3, show.cx, show.cy);
  const CSize menuSize = ButtonSize(m_findMenu);
  const int titlesTop = findRect.bottom + 3 + std::max<int>(menuSize.cy, show.cy) + 3;
  const int titlesBottom = std::max<int>(filterTop - FilterBand - 20, titlesTop + 1);
  m_titles.Create(CRect(4, titlesTop, m_collapsedWidth - 7, titlesBottom), this, IDC_SUBJECT_TITLES, 8);

  m_subjects = app.m_multBits;
  m_subjects.And(app.m_allArticles);
  ApplyFilters();
  EnableToolTips(TRUE);
  ShowWindow(SW_SHOW);
  return TRUE;
}

// --- the sets ---

void CMediaDlg::RecomputeSubjects() {
  const int caret = m_subjectList.GetCaretIndex();
  if (caret < 0 || m_subjectList.GetSel(caret) <= 0) return;
  ReaderContext& app = Reader();
  if (m_subjectList.GetSel(0) > 0) {
    m_subjects = app.m_multBits;
    m_subjects.And(app.m_allArticles);
  } else {
    CContentDb& main = app.GetDatabase(1);
    const int entries = static_cast<int>(main.GetEntryCount());
    CBitString entrySet(entries, FALSE);
    for (int row = 1; row < m_subjectList.GetCount(); ++row) {
      if (m_subjectList.GetSel(row) <= 0) continue;
      const int category = m_subjectList.CategoryOfRow(row);
      if (category < 1) continue;
      CBitString one(entries, FALSE);
      if (main.ReadCategorySet(category - 1, one) > 0) entrySet.Or(one);
    }
    CBitString none(app.GetDatabase(6).IsOpen() ? static_cast<int>(app.GetDatabase(6).GetEntryCount()) : 0, FALSE);
    app.UnionBits(m_subjects, entrySet, none);
  }
  ApplyFilters();
}

void CMediaDlg::ApplyFilters() {
  ReaderContext& app = Reader();
  m_shown = m_subjects;
  CBitString filters;
  for (int i = 0; i < FilterCount; ++i)
    if (m_filters[i].GetSafeHwnd() && m_filters[i].GetCheck()) AddFilterSets(app, i, filters);
  if (filters.GetBitCount() > 0) m_shown.And(filters);
  if (m_titles.GetSafeHwnd()) m_titles.SetArticles(m_shown);
  CRect band(0, 0, m_expandedWidth, BandHeight);
  if (m_hWnd) InvalidateRect(&band, TRUE);
}

void CMediaDlg::ToggleFilter(UINT id) {
  for (int i = 0; i < FilterCount; ++i)
    if (Filters[i].id == id) m_filters[i].SetCheck(m_filters[i].GetCheck() ? 0 : 1);
  ApplyFilters();
}

void CMediaDlg::ShowTitle() {
  const int article = m_titles.GetCurArticle();
  if (article <= 0) return;
  if (m_bExpanded) ToggleExpanded();
  const int index = Reader().m_multBits.IndexOf(article);
  if (index >= 0 && m_gallery) m_gallery->GoToItem(index, 0);
}

void CMediaDlg::ToggleExpanded() {
  CRect window;
  GetWindowRect(&window);
  if (!m_bExpanded) {
    m_bExpanded = TRUE;
    m_show.SetBitmap(IDB_SUBJECT_EXPANDED, TRUE);
    WriteSettingString(InstallationOptions, "ExpandMedia", "1", SettingsIniName);
    m_subjectList.EnableWindow(TRUE);
    SetWindowPos(nullptr, 0, 0, m_expandedWidth, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    m_bExpanded = FALSE;
    m_show.SetBitmap(IDB_SUBJECT_COLLAPSED, TRUE);
    WriteSettingString(InstallationOptions, "ExpandMedia", "0", SettingsIniName);
    m_subjectList.EnableWindow(FALSE);
    SetWindowPos(nullptr, 0, 0, m_collapsedWidth, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- finding ---

void CMediaDlg::TypematicFind() {
  if (m_bFilling) return;
  ReaderContext& app = Reader();
  CString typed;
  m_find.GetWindowText(typed);
  char text[TitleBufferSize] = "";
  std::strncpy(text, typed, sizeof text - 1);
  FoldAccents(text);
  if (!text[0]) return;
  char title[TitleBufferSize] = "";
  int found = 0;
  if (!app.FindTitle(text, title, &found) || found <= 0) return;
  const int listed = m_titles.GetArticles().NextSet(found);
  if (listed <= 0) return;
  if (listed != found) {
    title[0] = 0;
    app.LookupTitle(listed, title);
  }
  char typedKey[TitleBufferSize] = "";
  char titleKey[TitleBufferSize] = "";
  ::lstrcpynA(typedKey, text, sizeof typedKey);
  ::lstrcpynA(titleKey, title, sizeof titleKey);
  NormalizeTitle(typedKey, sizeof typedKey);
  NormalizeTitle(titleKey, sizeof titleKey);
  FoldAccents(typedKey);
  FoldAccents(titleKey);
  const std::size_t length = std::strlen(typedKey);
  if (std::strlen(titleKey) < length || _strnicmp(typedKey, titleKey, length) != 0) return;
  m_titles.SelectArticle(listed);
}

void CMediaDlg::FindFromList() {
  ReaderContext& app = Reader();
  CString typed;
  m_find.GetWindowText(typed);
  char text[256] = "";
  std::strncpy(text, typed, 255);
  FoldAccents(text);
  if (!text[0]) return;
  CBitString hits(app.GetArticleCount(), FALSE);
  app.QueryBits(text, hits);
  hits.And(m_titles.GetArticles());
  if (hits.GetSetCount() <= 0) return;
  m_findMenu.RemoveAll();
  m_found.RemoveAll();
  for (int article = hits.NextSet(1), i = 0; article > 0 && ID_FOUND_FIRST + i <= ID_FOUND_LAST;
       article = article < hits.GetBitCount() ? hits.NextSet(article + 1) : -1, ++i) {
    char title[TitleBufferSize] = "";
    app.LookupTitle(article, title);
    UINT image = 0, mask = 0;
    app.GetArticleIcons(article, &image, &mask);
    m_findMenu.AddItem(title, ID_FOUND_FIRST + static_cast<UINT>(i), image, mask, 0);
    m_found.Add(static_cast<DWORD>(article));
  }
}

// --- notifications ---

void CMediaDlg::OnSubjectsChange() { RecomputeSubjects(); }

void CMediaDlg::OnTitlesChange() {
  const int article = m_titles.GetCurArticle();
  if (article <= 0) return;
  char title[TitleBufferSize] = "";
  Reader().LookupTitle(article, title);
  m_bFilling = TRUE;
  m_find.SetWindowText(title);
  m_bFilling = FALSE;
  m_find.SetSel(0, -1);
  m_find.SendMessage(EM_SCROLLCARET);
}

void CMediaDlg::OnTitlesDoubleClick() { ShowTitle(); }
void CMediaDlg::OnFindChange() { TypematicFind(); }
void CMediaDlg::OnFindFocus() { m_find.SetSel(0, -1); }

void CMediaDlg::OnFindMenu() {
  FindFromList();
  if (m_found.GetSize() > 0) m_findMenu.ResetPage();
}

void CMediaDlg::OnFound(UINT id) {
  const int i = static_cast<int>(id - ID_FOUND_FIRST);
  if (i < 0 || i >= m_found.GetSize()) return;
  if (m_titles.SelectArticle(static_cast<int>(m_found[i])) >= 0) ShowTitle();
}

void CMediaDlg::OnShow() { ToggleExpanded(); }
void CMediaDlg::OnMinimize() { DestroyWindow(); }
BOOL CMediaDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  // The seven filter buttons share one action.
  const UINT id = LOWORD(wParam);
  if (lParam != 0 && HIWORD(wParam) == BN_CLICKED)
    for (const FilterSpec& filter : Filters)
      if (filter.id == id) {
        ToggleFilter(id);
        return TRUE;
      }
  return CDialog::OnCommand(wParam, lParam);
}

void CMediaDlg::OnOK() {
  // Enter shows the selected title.
  ShowTitle();
}

void CMediaDlg::OnCancel() { DestroyWindow(); }

BOOL CMediaDlg::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST)
    if (CWnd* main = AfxGetMainWnd())
      if (main->PreTranslateMessage(pMsg)) return TRUE;
  return CDialog::PreTranslateMessage(pMsg);
}

// --- look ---

BOOL CMediaDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, RGB(255, 255, 255));
  return TRUE;
}

void CMediaDlg::OnPaint() {
  CPaintDC dc(this);
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  CPalette* old = m_pPalette && m_pPalette->m_hObject ? dc.SelectPalette(m_pPalette, FALSE) : nullptr;
  dc.RealizePalette();
  CRect band(0, 0, client.right, BandHeight);
  dc.FillRect(&band, app.GetBrush(10));
  CRect body(0, BandHeight, client.right, client.bottom);
  dc.FillRect(&body, app.GetBrush(11));
  dc.FillSolidRect(body.left, body.top, body.Width(), 1, RGB(255, 255, 255));
  dc.FillSolidRect(body.left, body.top, 1, body.Height(), RGB(255, 255, 255));
  dc.FillSolidRect(body.right - 1, body.top, 1, body.Height(), RGB(64, 64, 64));
  dc.FillSolidRect(body.left, body.bottom - 1, body.Width(), 1, RGB(64, 64, 64));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  CFont* oldFont = dc.SelectObject(app.GetFont(FontHeading));
  CRect title(6, 0, m_collapsedWidth, BandHeight);
  dc.DrawText("Media By Subject", &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SelectObject(app.GetFont(FontList));
  CString count;
  count.Format("%ld items", static_cast<long>(m_titles.GetSafeHwnd() ? m_titles.GetArticles().GetSetCount() : 0));
  CRect minimize(m_collapsedWidth, 0, m_collapsedWidth, 0);
  if (m_minimize.GetSafeHwnd()) {
    m_minimize.GetWindowRect(&minimize);
    ScreenToClient(&minimize);
  }
  CRect countRect(6, 0, minimize.left - 3, BandHeight);
  dc.DrawText(count, &countRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  // The "media filters" band above the filter row.
  int filterTop = client.bottom;
  if (m_filters[0].GetSafeHwnd()) {
    CRect filter;
    m_filters[0].GetWindowRect(&filter);
    ScreenToClient(&filter);
    filterTop = filter.top;
  }
  CRect filterBand(0, filterTop - FilterBand, m_collapsedWidth - 5, filterTop);
  dc.FillRect(&filterBand, app.GetBrush(10));
  CRect caption(filterBand.left + 4, filterBand.top, filterBand.right, filterBand.bottom);
  dc.DrawText("media filters", &caption, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SelectObject(oldFont);
  if (old) dc.SelectPalette(old, FALSE);
}

UINT CMediaDlg::OnNcHitTest(CPoint point) {
  CPoint client = point;
  ScreenToClient(&client);
  if (client.y >= 0 && client.y < BandHeight) {
    // Not over the band's own button.
    if (CWnd* child = ChildWindowFromPoint(client)) {
      if (child->m_hWnd != m_hWnd) return CDialog::OnNcHitTest(point);
    }
    return HTCAPTION;
  }
  return CDialog::OnNcHitTest(point);
}

BOOL CMediaDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  m_lastHover.Track(pWnd ? pWnd->m_hWnd : nullptr);
  return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

HBRUSH CMediaDlg::OnCtlColor(CDC* pDC, CWnd*, UINT) { return BlackOnWhite(pDC); }

void CMediaDlg::OnSetFocus(CWnd*) {
  if (m_find.GetSafeHwnd()) m_find.SetFocus();
}

void CMediaDlg::SetPalette(CPalette* palette) {
  m_pPalette = palette;
  if (!m_hWnd) return;
  OnQueryNewPalette();
  Invalidate();
}

BOOL CMediaDlg::OnQueryNewPalette() {
  if (!m_pPalette || !m_pPalette->m_hObject) return FALSE;
  const UINT changed = RealizeWindowPalette(this, m_pPalette, FALSE);
  if (changed) Invalidate();
  return changed != 0;
}

void CMediaDlg::OnPaletteChanged(CWnd* pFocusWnd) {
  if (pFocusWnd && pFocusWnd->m_hWnd == m_hWnd) return;
  OnQueryNewPalette();
}

BOOL CMediaDlg::OnToolTipText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  UINT id = static_cast<UINT>(header->idFrom);
  if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
  char text[81] = "";
  if (id == 0 || !::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text)) return FALSE;
  ::lstrcpynA(info->szText, text, sizeof info->szText);
  info->lpszText = info->szText;
  *result = 0;
  return TRUE;
}

void CMediaDlg::OnDestroy() {
  // The next tool window opens where this one was, at its collapsed width.
  if (m_gallery) {
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.right = client.left + m_collapsedWidth;
    m_gallery->SetToolRect(client);
  }
  m_found.RemoveAll();
  CDialog::OnDestroy();
}
