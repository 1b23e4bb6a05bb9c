#include "dictionary/word_list_dlg.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "dictionary/dict_logic.h"
#include "dictionary/dict_window_helpers.h"
#include "messages/window_messages.h"
#include "reader/dictionary_ids.h"

namespace {

// The dictionary look's band brush (header, client) of the brush table.
constexpr int kBandBrush = 7;

}  // namespace

BEGIN_MESSAGE_MAP(CWordListDlg, CDialog)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_SETCURSOR()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_LBN_DBLCLK(IDC_WORD_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

const char* CWordListDlg::Title(int mode) {
  static const char* const titles[] = {"Headwords", "Synonyms",         "Search Results",
                                       "Anagram",   "Wildcard",         "Spelling Alternatives",
                                       "Tenses",    "Pronunciation Key"};
  return mode >= 0 && mode <= kPronunciationKey ? titles[mode] : "";
}

int CWordListDlg::CreateOrReopen(const CRect& rect, UINT templateId, int mode, CWnd* owner) {
  m_nMode = mode;
  m_hovered = nullptr;
  if (IsOpen()) {
    m_list.ResetContent();
    ShowForMode();
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
  }
  if (!Create(templateId, owner)) return 0;
  m_bCreated = TRUE;
  MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
  CRect client;
  GetClientRect(&client);
  const CRect inner(2, 0, client.right - 2, client.bottom - 2);
  if (!m_list.Create(inner, this, IDC_WORD_LIST, kSkinDictionary) || !m_key.Create(inner, this, IDC_WORD_KEY)) {
    DestroyWindow();
    return 0;
  }
  ShowForMode();
  ShowWindow(SW_SHOW);
  return 1;
}

void CWordListDlg::ShowForMode() {
  if (m_nMode == kPronunciationKey) {
    m_list.ShowWindow(SW_HIDE);
    m_key.ShowWindow(SW_SHOW);
    m_key.SetFocus();
  } else {
    m_key.ShowWindow(SW_HIDE);
    m_list.ShowWindow(SW_SHOW);
  }
}

void CWordListDlg::Refresh() {
  if (IsOpen()) SendMessage(WM_NCPAINT, 1, 0);
}

void CWordListDlg::OnOK() {
  if (!IsOpen() || m_list.GetSafeHwnd() == nullptr) return;
  const int selected = m_list.GetCurSel();
  if (selected < 0) return;
  auto* owner = dynamic_cast<CWordListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
  if (owner == nullptr) return;
  if (m_nMode == kHeadwords || m_nMode == kSearchResults) {
    const DWORD entry = static_cast<DWORD>(m_list.GetItemData(selected));
    if (entry != static_cast<DWORD>(-1)) owner->ShowEntry(entry);
  } else if (m_nMode == kTenses) {
    owner->RepaintConjugation();
  } else {
    CString line;
    m_list.GetText(selected, line);
    const CStringArray& words = m_highlightWords;
    owner->LookUpWord(dict::LineWord(line), 1, -1, &words);
  }
}

// Escape does not close the panel: only its owner or WM_CLOSE do.
void CWordListDlg::OnCancel() {}

BOOL CWordListDlg::PreTranslateMessage(MSG* pMsg) {
  CWnd* main = AfxGetMainWnd();
  if (main != nullptr && main->PreTranslateMessage(pMsg)) return TRUE;
  return CDialog::PreTranslateMessage(pMsg);
}

void CWordListDlg::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) { params->rgrc[0].top += kHeaderHeight; }

void CWordListDlg::OnNcPaint() {
  CWindowDC dc(this);
  CRect window;
  GetWindowRect(&window);
  PaintHeader(dc, CRect(0, 0, window.Width(), kHeaderHeight));
}

void CWordListDlg::PaintHeader(CDC& dc, const CRect& strip) {
  ReaderContext& app = Reader();
  CPalette* oldPalette = app.m_palette.GetSafeHandle() ? dc.SelectPalette(&app.m_palette, FALSE) : nullptr;
  if (oldPalette) dc.RealizePalette();
  dc.FillRect(&strip, &app.m_brushes[kBandBrush]);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CFont* old = dc.SelectObject(&app.m_fonts[FontCaption]);
  CRect title(strip.left + 6, strip.top, strip.right - 6, strip.bottom);
  dc.DrawText(Title(m_nMode), &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  if (dict::Shown(m_list) && m_list.GetCount() > 0) {
    CString count;
    count.Format("%d items", m_list.GetCount());
    dc.SelectObject(&app.m_fonts[FontSmall]);
    dc.DrawText(count, &title, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  dc.SelectObject(old);
  if (oldPalette) dc.SelectPalette(oldPalette, FALSE);
}

void CWordListDlg::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillRect(&client, &Reader().m_brushes[kBandBrush]);
}

BOOL CWordListDlg::OnEraseBkgnd(CDC*) { return TRUE; }

void CWordListDlg::OnSize(UINT, int cx, int cy) {
  if (!m_bCreated) return;
  if (m_list.GetSafeHwnd() != nullptr) m_list.MoveWindow(2, 0, cx - 4, cy - 2);
  if (m_key.GetSafeHwnd() != nullptr) m_key.MoveWindow(2, 0, cx - 4, cy - 2);
}

void CWordListDlg::OnSetFocus(CWnd*) {
  if (m_nMode == kPronunciationKey) {
    if (m_key.GetSafeHwnd() != nullptr) m_key.SetFocus();
  } else if (m_list.GetSafeHwnd() != nullptr) {
    m_list.SetFocus();
  }
}

BOOL CWordListDlg::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  dict::TrackHover(this, m_hovered, wnd);
  return CDialog::OnSetCursor(wnd, hitTest, message);
}

HBRUSH CWordListDlg::OnCtlColor(CDC* dc, CWnd*, UINT) {
  dc->SetTextColor(RGB(0, 0, 0));
  dc->SetBkColor(RGB(255, 255, 255));
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

BOOL CWordListDlg::OnQueryNewPalette() { return dict::RealizeAppPalette(this); }

void CWordListDlg::OnPaletteChanged(CWnd*) {}

void CWordListDlg::OnClose() { DestroyWindow(); }

void CWordListDlg::OnDestroy() {
  m_bCreated = FALSE;
  m_hovered = nullptr;
  if (CWnd* parent = GetParent()) parent->PostMessage(WM_PANELCLOSED, 0, reinterpret_cast<LPARAM>(this));
  CDialog::OnDestroy();
}

void CWordListDlg::OnListDoubleClick() { OnOK(); }
