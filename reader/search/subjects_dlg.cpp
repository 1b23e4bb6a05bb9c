#include "search/subjects_dlg.h"

#include <algorithm>
#include <cstring>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "core/title_key.h"
#include "display/display.h"
#include "panels/tool_panel_host.h"
#include "search/entry_opener.h"
#include "settings/settings.h"

namespace {

struct SubjectsLook {
  UINT findFromList, close;
  int edge1, edge2;
};
constexpr SubjectsLook kLooks[] = {{2016, 1083, 2, 0}, {6070, 4274, 14, 12}, {6072, 2162, 11, 9}, {6071, 6074, 8, 6}};
constexpr UINT kShowHidden = 1216, kShowShown = 1217;
constexpr UINT kModeBrowse = 6043, kModeSearch = 4198;
constexpr const char* kSection = "Installation Options";
constexpr const char* kIniFile = "MARCD98.INI";
constexpr int kPathHeight = 140;
// The source toggles a subject list cannot use: Internet, dictionary, media items, timeline.
constexpr UINT kNotForSubjects[] = {2019, 4208, 4209, 4120};
constexpr int kSubjectCategoryVariant = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CSubjectsDlg, CSearchPanel)
ON_MESSAGE(WM_REFRESHLIST, OnRefreshList)
END_MESSAGE_MAP()

BOOL CSubjectsDlg::Create(const CRect& rect, UINT templateId, CWnd* owner, BOOL subjectMode) {
  m_created = FALSE;
  m_subjectMode = subjectMode;
  m_subjectShown = FALSE;
  m_found = CBitString();
  if (!CreatePanel(templateId, owner)) return FALSE;
  m_browse = GetSettingInt(kSection, "BrowseSubjects", 0, kIniFile) != 0;
  const SubjectsLook& look = kLooks[LookIndex()];
  m_narrow = rect.Width();
  m_wide = m_narrow + kSubjectWidth;
  const int height = rect.Height();
  const int line = Skin().GetLineHeight();

  BOOL made =
      m_close.Create(CRect(0, 0, 0, 0), this, look.close, CODButton::kUsualStyle, kClose, 0, 1, 0) &&
      m_modeButton.Create(CRect(0, 0, 0, 0), this, m_browse ? kModeBrowse : kModeSearch, CODButton::kUsualStyle, kMode,
                          0, 1, 0) &&
      m_findButton.Create(CRect(0, 0, 0, 0), this, look.findFromList, CODButton::kUsualStyle, kFindFromList, 0, 1, 0) &&
      m_showButton.Create(CRect(0, 0, 0, 0), this, kShowShown, CODButton::kUsualStyle, kShowSubjects, 0, 1, 0) &&
      m_toggles.Create(this, LookIndex());
  // The subject part.
  const int left = m_narrow + 6, right = m_wide - 6;
  const CRect subjectBox(left, 49, right, 49 + line + 6);
  const CRect path(left, height - 5 - kPathHeight, right, height - 5);
  made = made && m_tree.Create(CRect(left, 49, right, height - 3), this, kTree, kSubjectCategoryVariant) &&
         m_subjectBox.Create(&subjectBox, this, kSubjectBox, look.edge1, look.edge2) &&
         m_matches.Create(CRect(left, subjectBox.bottom + 3, right, path.top - 3), this, kMatches, ListSkin()) &&
         m_path.Create(path, this, kPath);
  // The left part.
  const CRect find(4, 26, m_narrow - 5, line + 32);
  made = made && m_findBox.Create(&find, this, kFindBox, look.edge1, look.edge2);
  if (!made) {
    DestroyWindow();
    return FALSE;
  }
  const CSize close = ChildSize(m_close), mode = ChildSize(m_modeButton);
  MoveChild(m_close, m_narrow - close.cx - 4, (kBandHeight - close.cy) / 2);
  MoveChild(m_modeButton, m_wide - mode.cx - 6, kBandHeight + (kBandHeight - mode.cy) / 2);
  for (CFlatEdit* edit : {&m_findBox, &m_subjectBox}) {
    edit->SetFont(Skin().GetFont(FontList));
    edit->LimitText(kFindLimit);
  }
  MoveChild(m_findButton, 4, find.bottom + 3);
  MoveChild(m_showButton, m_narrow - 5 - ChildSize(m_showButton).cx, find.bottom + 3);
  const int buttonsBottom = find.bottom + 3 + std::max(ChildSize(m_findButton).cy, ChildSize(m_showButton).cy);
  if (!m_list.Create(CRect(4, buttonsBottom + 3, m_narrow - 5, height - 60), this, kList, ListSkin())) {
    DestroyWindow();
    return FALSE;
  }

  m_base = AllArticles();
  if (m_subjectMode) {
    m_subjectShown = TRUE;
    ShowSubjectControls(TRUE);
    m_modeButton.ShowWindow(SW_SHOW);
    for (UINT id : kNotForSubjects) m_toggles.Button(search::ToggleIndex(id)).EnableWindow(FALSE);
  } else {
    ShowSubjectControls(FALSE);
    m_modeButton.ShowWindow(SW_HIDE);
    m_showButton.ShowWindow(SW_HIDE);
  }
  CRect window = rect;
  window.right = window.left + (m_subjectMode ? m_wide : m_narrow);
  PlaceWindow(window);
  m_created = TRUE;
  Layout();
  if (GetOwnerScreen() == Screen::Browser && owner != nullptr) {
    if (CWnd* display = owner->GetDlgItem(CDisplay::kControlId))
      display->SetWindowPos(this, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Refresh();
  ShowWindow(SW_SHOW);
  SetFocus();
  EnableToolTips(TRUE);
  return TRUE;
}

CBitString CSubjectsDlg::AllArticles() const {
  ReaderContext& app = Reader();
  const int count = app.GetArticleCount();
  CBitString all(count, FALSE);
  if (count > 0) all.SetRange(1, count, TRUE);
  if (m_subjectMode) {
    CBitString encyclopedia(count, FALSE);
    for (const CBitString* set : {&app.m_mrvBits, &app.m_hspBits, &app.m_tdwBits, &app.m_urlBits, &app.m_updatesBits})
      encyclopedia.Or(*set);
    all.And(encyclopedia);
  }
  return all;
}

void CSubjectsDlg::ShowSubjectControls(BOOL show) {
  const int browse = show && m_browse ? SW_SHOW : SW_HIDE;
  const int search = show && !m_browse ? SW_SHOW : SW_HIDE;
  m_tree.ShowWindow(browse);
  m_subjectBox.ShowWindow(search);
  m_matches.ShowWindow(search);
  m_path.ShowWindow(search);
}

void CSubjectsDlg::SetWidth(int width) {
  CRect window;
  GetWindowRect(&window);
  CRect client;
  GetClientRect(&client);
  const int extra = window.Width() - client.Width();
  m_resizing = TRUE;
  SetWindowPos(nullptr, 0, 0, width + extra, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_resizing = FALSE;
  Invalidate();
}

void CSubjectsDlg::Layout() {
  if (!m_created || m_resizing) return;
  CRect client;
  GetClientRect(&client);
  CRect left = client;
  left.right = m_narrow;
  const int sourceTop = m_toggles.Layout(left);
  CRect list;
  m_list.GetWindowRect(&list);
  ScreenToClient(&list);
  const int bottom = std::max(static_cast<int>(list.top), sourceTop - CFilterToggles::kRowGap);
  m_list.SetWindowPos(nullptr, 0, 0, list.Width(), bottom - list.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!m_subjectMode) return;
  CRect tree;
  m_tree.GetWindowRect(&tree);
  ScreenToClient(&tree);
  m_tree.SetWindowPos(nullptr, 0, 0, tree.Width(), std::max(0, static_cast<int>(client.bottom - 5 - tree.top)),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect path;
  m_path.GetWindowRect(&path);
  ScreenToClient(&path);
  const int pathTop = client.bottom - 5 - path.Height();
  m_path.SetWindowPos(nullptr, path.left, pathTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect matches;
  m_matches.GetWindowRect(&matches);
  ScreenToClient(&matches);
  m_matches.SetWindowPos(nullptr, 0, 0, matches.Width(), std::max(0, static_cast<int>(pathTop - 3 - matches.top)),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSubjectsDlg::Refresh() {
  ToolPanelHost* host = GetToolPanelHost();
  if (host == nullptr || GetSafeHwnd() == nullptr) return;
  const SearchState& state = host->GetSearchState();
  BOOL checked[search::kToggleCount];
  std::copy(std::begin(state.filters), std::end(state.filters), checked);
  if (m_subjectMode)
    for (UINT id : kNotForSubjects) checked[search::ToggleIndex(id)] = FALSE;
  m_toggles.SetChecked(checked);
  Filter();
  if (m_subjectMode) return;
  if (state.contentsSelection > 0) m_list.SelectArticle(state.contentsSelection);
  int first = 0, last = 0;
  m_list.GetRange(first, last);
  m_list.SetPosition(std::min(std::max(state.contentsTop, first), last), TRUE);
  m_listChosen = m_list.GetCurArticle();
  m_suppressFind = TRUE;
  m_findBox.SetWindowText(state.findText);
  m_findBox.SetSel(0, -1);
  m_suppressFind = FALSE;
}

void CSubjectsDlg::Filter() {
  ReaderContext& app = Reader();
  search::ToggleSets sets[search::kToggleCount];
  CFilterToggles::SetsOf(app, sets);
  BOOL checked[search::kToggleCount];
  m_toggles.GetChecked(checked);
  m_list.SetArticles(search::FilterArticles(m_base, app.m_allArticles, sets, checked, app.GetArticleCount()));
  m_listChosen = m_list.GetCurArticle();
  CRect band;
  GetClientRect(&band);
  band.bottom = kBandHeight;
  InvalidateRect(&band, FALSE);
  UpdateWindow();
}

void CSubjectsDlg::SaveState(SearchState& state) {
  BOOL checked[search::kToggleCount];
  m_toggles.GetChecked(checked);
  // The toggles a subject list cannot use keep what the results window set.
  if (m_subjectMode)
    for (UINT id : kNotForSubjects) checked[search::ToggleIndex(id)] = state.filters[search::ToggleIndex(id)];
  std::copy(std::begin(checked), std::end(checked), state.filters);
  state.contentsSelection = m_list.GetCurArticle();
  state.contentsTop = m_list.GetTopIndex();
  m_findBox.GetWindowText(state.findText);
}

void CSubjectsDlg::FindTyped() {
  if (m_suppressFind) return;
  CString typed;
  m_findBox.GetWindowText(typed);
  char text[TitleBufferSize];
  std::strncpy(text, typed, TitleBufferSize - 1);
  text[TitleBufferSize - 1] = '\0';
  FoldAccents(text);
  if (text[0] == '\0') return;
  ReaderContext& app = Reader();
  char title[TitleBufferSize] = "";
  int found = 0;
  if (!app.FindTitle(text, title, &found)) return;
  const int article = m_list.GetArticles().NextSet(found);
  if (article <= 0) return;
  char listed[TitleBufferSize] = "";
  app.LookupTitle(article, listed);
  if (!search::TitleStartsWith(text, listed)) return;
  m_suppressFind = TRUE;
  m_list.SelectArticle(article);
  m_listChosen = m_list.GetCurArticle();
  m_suppressFind = FALSE;
}

void CSubjectsDlg::ListSelected() {
  if (m_suppressFind) return;
  const int article = m_list.GetCurArticle();
  if (article <= 0 || article == m_listChosen) return;
  m_listChosen = -1;
  char title[TitleBufferSize] = "";
  Reader().LookupTitle(article, title);
  m_suppressFind = TRUE;
  m_findBox.SetWindowText(title);
  m_findBox.SetSel(0, -1);
  m_suppressFind = FALSE;
}

int CSubjectsDlg::FindFromList() {
  CString typed;
  m_findBox.GetWindowText(typed);
  char text[kQueryLimit + 1];
  std::strncpy(text, typed, kQueryLimit);
  text[kQueryLimit] = '\0';
  FoldAccents(text);
  if (text[0] == '\0') return 0;
  ReaderContext& app = Reader();
  CBitString found(app.GetArticleCount(), FALSE);
  {
    CWaitCursor wait;
    if (app.QueryBits(text, found) <= 0) return 0;
  }
  found.And(m_list.GetArticles());
  if (found.GetSetCount() == 0) return 0;
  m_found = found;
  m_findButton.RemoveAll();
  int k = 0;
  for (int article = m_found.NextSet(1); article > 0; article = m_found.NextSet(article + 1), ++k) {
    char title[TitleBufferSize] = "";
    app.LookupTitle(article, title);
    UINT image = 0, mask = 0;
    app.GetArticleIcons(article, &image, &mask);
    m_findButton.AddItem(title, kFoundFirstId + static_cast<UINT>(k), image, mask, 0);
  }
  return k;
}

void CSubjectsDlg::OpenFound(int k) {
  int article = m_found.NextSet(1);
  for (int i = 0; i < k && article > 0; ++i) article = m_found.NextSet(article + 1);
  if (article <= 0 || m_list.SelectArticle(article) < 0) return;
  OpenCurrent();
}

BOOL CSubjectsDlg::OpenCurrent() {
  const int article = m_list.GetCurArticle();
  if (article <= 0) return FALSE;
  if (m_subjectMode && m_subjectShown) ToggleSubjectPart();
  return OpenSearchEntry(article, HitStep::None, 0);
}

void CSubjectsDlg::ToggleSubjectPart() {
  m_subjectShown = !m_subjectShown;
  m_showButton.SetBitmap(m_subjectShown ? kShowShown : kShowHidden, TRUE);
  ShowSubjectControls(m_subjectShown);
  m_modeButton.ShowWindow(m_subjectShown ? SW_SHOW : SW_HIDE);
  SetWidth(m_subjectShown ? m_wide : m_narrow);
}

void CSubjectsDlg::ToggleMode() {
  m_browse = !m_browse;
  WriteSettingString(kSection, "BrowseSubjects", m_browse ? "1" : "0", kIniFile);
  m_modeButton.SetBitmap(m_browse ? kModeBrowse : kModeSearch, TRUE);
  ShowSubjectControls(m_subjectShown);
  if (m_browse)
    m_tree.SetFocus();
  else
    m_subjectBox.SetFocus();
  RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CSubjectsDlg::ChooseSubjects(const CUIntArray& categories) {
  CWaitCursor wait;
  ReaderContext& app = Reader();
  BOOL all = categories.GetSize() == 0;
  for (int i = 0; i < categories.GetSize(); ++i) all = all || categories[i] == 0;
  if (all) {
    m_base = AllArticles();
  } else {
    CContentDb& db = app.GetDatabase(1);
    const CBitString noUpdates(static_cast<int>(app.GetDatabase(6).GetEntryCount()), FALSE);
    CBitString entries(static_cast<int>(db.GetEntryCount()), FALSE);
    for (int i = 0; i < categories.GetSize(); ++i) {
      CString title;
      CBitString subject(static_cast<int>(db.GetEntryCount()), FALSE);
      if (db.ReadContextSet(static_cast<int>(categories[i]) - 1, title, subject) > 0) entries.Or(subject);
    }
    CBitString articles;
    app.UnionBits(articles, entries, noUpdates);
    m_base = articles;
  }
  Filter();
}

void CSubjectsDlg::TreeChosen() {
  CUIntArray categories;
  for (int row = 0; row < m_tree.GetCount(); ++row)
    if (m_tree.GetSel(row) > 0) categories.Add(static_cast<UINT>(m_tree.CategoryOfRow(row)));
  // Nothing selected lists nothing new.
  if (categories.GetSize() == 0) return;
  ChooseSubjects(categories);
}

void CSubjectsDlg::SubjectTyped() {
  m_matches.ResetContent();
  m_path.ResetContent();
  CString typed;
  m_subjectBox.GetWindowText(typed);
  if (typed.IsEmpty()) return;
  const CCategoryList& list = m_tree.Categories();
  for (int i = 0; i < list.GetCount(); ++i) {
    if (!search::SubjectStartsWith(list.m_titles[i], typed)) continue;
    const int row = m_matches.AddString(list.m_titles[i]);
    if (row >= 0) m_matches.SetItemData(row, static_cast<DWORD_PTR>(i));
  }
  if (m_matches.GetCount() > 0) {
    m_matches.SetCurSel(0);
    ShowMatchPath();
  }
}

void CSubjectsDlg::ShowMatchPath() {
  m_path.ResetContent();
  const int row = m_matches.GetCurSel();
  if (row < 0) return;
  CStringArray path;
  m_tree.Categories().GetPath(static_cast<int>(m_matches.GetItemData(row)), path);
  for (int i = 0; i < path.GetSize(); ++i) m_path.AddString(path[i]);
  m_path.Invalidate();
}

void CSubjectsDlg::MatchChosen() {
  const int row = m_matches.GetCurSel();
  if (row < 0) return;
  CUIntArray categories;
  categories.Add(static_cast<UINT>(m_matches.GetItemData(row)));
  ChooseSubjects(categories);
}

void CSubjectsDlg::OnOK() {
  if (m_list.GetCurArticle() > 0) OpenCurrent();
}

void CSubjectsDlg::OnCancel() {
  if (GetSafeHwnd() == nullptr) return;
  if (ToolPanelHost* host = GetToolPanelHost()) host->CloseContentsWindows();
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

BOOL CSubjectsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (lParam == 0 && id >= kFoundFirstId && id < kFoundFirstId + 500) {
    OpenFound(static_cast<int>(id - kFoundFirstId));
    return TRUE;
  }
  if (code == BN_CLICKED) {
    switch (id) {
      case kFindFromList:
        if (FindFromList() > 0) m_findButton.ResetPage();
        return TRUE;
      case kShowSubjects: ToggleSubjectPart(); return TRUE;
      case kMode: ToggleMode(); return TRUE;
      default:
        if (m_toggles.Flip(id)) {
          Filter();
          return TRUE;
        }
        break;
    }
  }
  if (id == kFindBox && code == EN_CHANGE) {
    FindTyped();
    return TRUE;
  }
  if (id == kSubjectBox && code == EN_CHANGE) {
    SubjectTyped();
    return TRUE;
  }
  if (id == kList && code == LBN_SELCHANGE) {
    ListSelected();
    return TRUE;
  }
  if (id == kList && code == LBN_DBLCLK) {
    OpenCurrent();
    return TRUE;
  }
  if (id == kTree && (code == LBN_SELCHANGE || code == LBN_SETFOCUS || code == LBN_DBLCLK)) {
    TreeChosen();
    return TRUE;
  }
  if (id == kMatches && (code == LBN_SELCHANGE || code == LBN_SETFOCUS)) {
    ShowMatchPath();
    return TRUE;
  }
  if (id == kMatches && code == LBN_DBLCLK) {
    MatchChosen();
    return TRUE;
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

LRESULT CSubjectsDlg::OnRefreshList(WPARAM, LPARAM) {
  Refresh();
  return 0;
}

void CSubjectsDlg::Paint(CDC& dc) {
  CString count;
  count.Format("%ld items", static_cast<long>(m_list.GetArticles().GetSetCount()));
  PaintFrame(dc, m_subjectMode ? "Titles By Subject" : "Contents", 6, count, m_narrow - ChildSize(m_close).cx - 10);
  CSkinEnvironment& skin = Skin();
  CFont* old = dc.SelectObject(skin.GetFont(FontList));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  if (m_subjectShown) {
    CRect heading(m_narrow + 6, 0, m_wide, kBandHeight);
    dc.DrawText(m_browse ? "Browse Subjects" : "Search Subjects", -1, &heading,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect label(m_narrow + 6, kBandHeight, m_wide, 49);
    dc.DrawText(m_browse ? "Subject Tree:" : "Enter the subject:", -1, &label,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  dc.SelectObject(old);
  m_toggles.PaintCaptions(dc, BandBrush(), "source of contents", "media filters");
}
