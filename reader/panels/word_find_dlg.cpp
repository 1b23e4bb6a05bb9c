#include "panels/word_find_dlg.h"

#include "controls/skin_environment.h"
#include "display/display.h"
#include "settings/settings.h"

namespace {

constexpr const char* kMatchCaseKey = "MatchCase";
constexpr const char* kWholeWordKey = "WholeWord";
constexpr UINT kCheckBitmap = 6127;
constexpr const char* kHelpText =
    "Enter word(s) that you wish to\r\nfind within the current article.\r\n\r\nUse the small scroll arrows\r\nto find "
    "the next case of the\r\nword within the article.";

BOOL MakeCheckBox(CBmButton& box, CWnd* parent, UINT id, int x, int y, const char* key) {
  CRect rect(x, y, x + 14, y + 14);
  if (!box.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent, id)) return FALSE;
  box.SetBitmap(&rect, parent, kCheckBitmap, CBmButton::kNormalFrame | CBmButton::kPushedFrame);
  box.SetCheck(GetSettingInt(InstallationOptions, key, 0, SettingsIniName) == 1);
  return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWordFindDlg, CToolWindow)
ON_BN_CLICKED(IDC_FIND_CLOSE, OnCancel)
ON_BN_CLICKED(IDC_FIND, OnOK)
ON_BN_CLICKED(IDC_MATCH_CASE, OnMatchCase)
ON_BN_CLICKED(IDC_WHOLE_WORD, OnWholeWord)
ON_EN_CHANGE(IDC_FIND_TEXT, OnTextChanged)
ON_EN_SETFOCUS(IDC_FIND_TEXT, OnTextFocus)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CWordFindDlg::Create(const CRect& rect, UINT templateId, CWnd* owner) {
  m_rect = rect;
  return CDialog::Create(templateId, owner);
}

BOOL CWordFindDlg::OnInitDialog() {
  CRect client = PlaceClientArea(m_rect);

  PlaceCloseButton(m_close, 1083, IDC_FIND_CLOSE);
  m_find.Create(CRect(0, 0, 0, 0), this, 2024, CODButton::kUsualStyle, IDC_FIND);
  m_find.EnableWindow(FALSE);
  const CRect edit(10, 64, client.Width() - 11, Skin().GetLineHeight() + 70);
  m_edit.Create(&edit, this, IDC_FIND_TEXT, 2, 0);
  m_edit.SetFont(Skin().GetFont(12));
  m_edit.LimitText(kMaxText);
  m_edit.SetWindowText("");
  MakeCheckBox(m_matchCase, this, IDC_MATCH_CASE, 30, 100, kMatchCaseKey);
  MakeCheckBox(m_wholeWord, this, IDC_WHOLE_WORD, 30, 120, kWholeWordKey);
  OnSize(SIZE_RESTORED, client.Width(), client.Height());

  if (CDisplay* display = GetDisplay()) display->ClearFindHits();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CWordFindDlg::OnSize(UINT type, int cx, int cy) {
  CToolWindow::OnSize(type, cx, cy);
  if (m_find.GetSafeHwnd() == nullptr) return;
  const CSize size = m_find.GetFrameSize();
  m_find.SetWindowPos(nullptr, cx - 15 - size.cx, cy - 20 - size.cy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWordFindDlg::PreTranslateMessage(MSG* pMsg) {
  // Enter finds before the frame's accelerators see it.
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    if (m_find.IsWindowEnabled()) OnOK();
    return TRUE;
  }
  return CToolWindow::PreTranslateMessage(pMsg);
}

void CWordFindDlg::OnOK() {
  CString text;
  m_edit.GetWindowText(text);
  CDisplay* display = GetDisplay();
  if (text.IsEmpty() || display == nullptr) return;
  const BOOL matchCase = m_matchCase.GetCheck();
  const BOOL wholeWord = m_wholeWord.GetCheck();
  display->ClearFindHits();
  if (display->FindWords(text, matchCase, wholeWord, TRUE) <= 0) {
    AfxMessageBox("Unable to find the specified word(s) in the article.", MB_OK | MB_ICONEXCLAMATION);
    m_edit.SetFocus();
  }
}

void CWordFindDlg::OnCancel() { DestroyWindow(); }

void CWordFindDlg::OnTextChanged() { m_find.EnableWindow(m_edit.GetWindowTextLength() > 0); }

void CWordFindDlg::OnTextFocus() { m_edit.SetSel(0, -1); }

void CWordFindDlg::ToggleOption(CBmButton& box, const char* key) {
  box.SetCheck(!box.GetCheck());
  WriteSettingString(InstallationOptions, key, box.GetCheck() ? "1" : "0", SettingsIniName);
}

void CWordFindDlg::OnMatchCase() { ToggleOption(m_matchCase, kMatchCaseKey); }

void CWordFindDlg::OnWholeWord() { ToggleOption(m_wholeWord, kWholeWordKey); }

BOOL CWordFindDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CSkinPaletteScope palette(dc);
  dc->FillRect(&client, Skin().GetBrush(2));
  return TRUE;
}

void CWordFindDlg::OnPaint() {
  CPaintDC dc(this);
  CSkinPaletteScope palette(&dc);
  CRect client;
  GetClientRect(&client);
  CRect band(0, 0, client.right, kBandHeight);
  dc.FillRect(&band, Skin().GetBrush(1));
  DrawLine(dc, 10, "Word Find", CRect(6, 0, client.right, kBandHeight), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  DrawLine(dc, 12, "Locate:", CRect(10, 36, client.right, 59), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  DrawLine(dc, 12, kHelpText, CRect(0, 174, client.right, 289), DT_CENTER);
  DrawLine(dc, 12, "Match case", CRect(50, 100, client.right, 114), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  DrawLine(dc, 12, "Match whole word only", CRect(50, 120, client.right, 134), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void CWordFindDlg::OnSetFocus(CWnd*) {
  if (m_edit.GetSafeHwnd() != nullptr) m_edit.SetFocus();
}

void CWordFindDlg::OnDestroy() {
  if (CDisplay* display = GetDisplay()) display->ClearFindHits();
  CToolWindow::OnDestroy();
}
