#include "search/results_dlg.h"

#include <algorithm>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "display/display.h"
#include "panels/tool_panel_host.h"
#include "search/entry_opener.h"

namespace {

constexpr UINT kCloseBitmaps[] = {1083, 4274, 2162, 6074};
constexpr int kListOffset = 27;

}  // namespace

BEGIN_MESSAGE_MAP(CResultsDlg, CSearchPanel)
ON_LBN_DBLCLK(CResultsDlg::kList, OnListDblClk)
ON_MESSAGE(WM_REFRESHLIST, OnRefreshList)
END_MESSAGE_MAP()

BOOL CResultsDlg::Create(const CRect& rect, UINT templateId, int ranked, CWnd* owner, const CStringArray* terms,
                         const CString& query) {
  m_ranked = ranked;
  m_query = query;
  m_terms.RemoveAll();
  if (terms != nullptr) m_terms.Append(*terms);
  m_created = FALSE;
  if (!CreatePanel(templateId, owner)) return FALSE;
  const int kind = LookIndex();
  const int width = rect.Width();
  const int line = Skin().GetLineHeight();
  if (!m_close.Create(CRect(0, 0, 0, 0), this, kCloseBitmaps[kind], CODButton::kUsualStyle, kClose, 0, 1, 0) ||
      !m_toggles.Create(this, kind) ||
      !m_queryLine.Create(CRect(4, 31, width - 5, line + 37), this, kQueryLine, ListSkin())) {
    DestroyWindow();
    return FALSE;
  }
  MoveChild(m_close, width - ChildSize(m_close).cx - 4, 4);
  m_queryLine.SetWindowText(m_query);
  const CRect listRect(4, 31 + kListOffset, width - 5, line + 37 + kListOffset);
  if (!m_list.Create(listRect, this, kList, ListSkin())) {
    DestroyWindow();
    return FALSE;
  }
  m_created = TRUE;
  PlaceWindow(rect);
  Layout();
  Refresh(TRUE);
  ShowWindow(SW_SHOW);
  SetFocus();
  EnableToolTips(TRUE);
  return TRUE;
}

void CResultsDlg::Layout() {
  if (!m_created) return;
  CRect client;
  GetClientRect(&client);
  const int sourceTop = m_toggles.Layout(client);
  CRect list;
  m_list.GetWindowRect(&list);
  ScreenToClient(&list);
  list.bottom = std::max(static_cast<int>(list.top), sourceTop - CFilterToggles::kRowGap);
  m_list.SetWindowPos(nullptr, 0, 0, list.Width(), list.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CResultsDlg::Refresh(BOOL tell) {
  ToolPanelHost* host = GetToolPanelHost();
  if (host == nullptr || GetSafeHwnd() == nullptr) return;
  const SearchState& state = host->GetSearchState();
  m_toggles.SetChecked(state.filters);
  Filter();
  if (state.resultsSelection > 0) m_list.SelectArticle(state.resultsSelection);
  int first = 0, last = 0;
  m_list.GetRange(first, last);
  m_list.SetPosition(std::min(std::max(state.resultsTop, first), last), TRUE);
  if (tell && m_list.GetArticles().GetSetCount() == 0)
    AfxMessageBox(
        "There are no articles listed because of the filter(s) you have selected.\r\nIf you want to see a more "
        "complete search results list, unselect the filter(s).",
        MB_ICONEXCLAMATION | MB_OK);
}

void CResultsDlg::Filter() {
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return;
  ReaderContext& app = Reader();
  search::ToggleSets sets[search::kToggleCount];
  CFilterToggles::SetsOf(app, sets);
  BOOL checked[search::kToggleCount];
  m_toggles.GetChecked(checked);
  m_list.SetArticles(search::FilterArticles(shell->Queries().GetCurrentQuery(), app.m_allArticles, sets, checked,
                                            app.GetArticleCount()));
  CRect band(0, 0, 0, kBandHeight);
  GetClientRect(&band);
  band.bottom = kBandHeight;
  InvalidateRect(&band, FALSE);
  UpdateWindow();
}

BOOL CResultsDlg::OpenCurrent() {
  const int article = m_list.GetCurArticle();
  if (article <= 0) return FALSE;
  ReaderShell* shell = GetReaderShell();
  const int kind = shell != nullptr ? shell->Queries().GetCurrentKind() : 0;
  const UINT position = m_list.GetArticles().GetPosition(article);
  return OpenSearchEntry(article, kind == 0 ? HitStep::FirstHit : HitStep::Position, position);
}

void CResultsDlg::SaveState(SearchState& state) {
  m_toggles.GetChecked(state.filters);
  state.resultsSelection = m_list.GetCurArticle();
  state.resultsTop = m_list.GetTopIndex();
}

void CResultsDlg::OnOK() { OpenCurrent(); }

void CResultsDlg::OnCancel() {
  if (GetSafeHwnd() == nullptr) return;
  if (ToolPanelHost* host = GetToolPanelHost()) host->CloseResultsWindows();
  // A window whose screen does not close it still goes.
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

void CResultsDlg::OnListDblClk() { OpenCurrent(); }

BOOL CResultsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED) {
    if (m_toggles.Flip(id)) {
      Filter();
      return TRUE;
    }
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

LRESULT CResultsDlg::OnRefreshList(WPARAM wParam, LPARAM) {
  Refresh(wParam != 0);
  return 0;
}

void CResultsDlg::ReleaseOnDestroy() {
  if (GetOwnerScreen() == Screen::Media) return;
  if (CDisplay* display = DisplayOf(m_owner)) display->ClearFindHits();
}

void CResultsDlg::Paint(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  CString count;
  count.Format("%ld items", static_cast<long>(m_list.GetArticles().GetSetCount()));
  int right = client.right - 6;
  if (m_close.GetSafeHwnd() != nullptr) right -= ChildSize(m_close).cx + 4;
  PaintFrame(dc, m_ranked == 1 ? "Ranked Results" : "Sorted Results", 6, count, right);
  m_toggles.PaintCaptions(dc, BandBrush(), "source filters", "media filters");
}
