#include "search/spell_alt_dlg.h"

#include "core/content_db.h"
#include "core/reader_context.h"
#include "core/reader_shell.h"

namespace {

struct SpellLook {
  UINT close, search, cancel, change, ignoreAll, ignore;
  int edge1, edge2;
};
constexpr SpellLook kLooks[] = {
    {1083, 2024, 2131, 1032, 1027, 1026, 2, 0},
    {4274, 2149, 6112, 6115, 6118, 6121, 14, 12},
    {2162, 6099, 6111, 6114, 6117, 6120, 11, 9},
    {6074, 6098, 6110, 6113, 6116, 6119, 8, 6},
};
constexpr int kReplacementLimit = 80;

}  // namespace

BEGIN_MESSAGE_MAP(CSpellAltDlg, CSearchPanel)
ON_LBN_SELCHANGE(CSpellAltDlg::kList, OnListSelChange)
ON_LBN_SETFOCUS(CSpellAltDlg::kList, OnListSelChange)
ON_LBN_DBLCLK(CSpellAltDlg::kList, OnListDblClk)
ON_EN_CHANGE(CSpellAltDlg::kReplacementBox, OnReplacementChange)
ON_EN_SETFOCUS(CSpellAltDlg::kReplacementBox, OnReplacementFocus)
END_MESSAGE_MAP()

CSpellAltDlg::CSpellAltDlg(CWnd* parent) : CSearchPanel(kTemplate, parent) {}

int CSpellAltDlg::Run(CContentDb& db, int lookupKind) {
  m_accents = FALSE;
  m_alternatives.RemoveAll();
  const int found = db.LookupWord(m_word, m_alternatives, lookupKind);
  if (found == 0) return kIgnored;
  if (found == -2) m_accents = TRUE;
  const INT_PTR result = DoModal();
  // A dialog that could not be made searches nothing.
  return result < 0 ? kStop : static_cast<int>(result);
}

BOOL CSpellAltDlg::OnInitDialog() {
  CSearchPanel::OnInitDialog();
  ReaderShell* shell = GetReaderShell();
  m_screen = OwnerScreen(shell != nullptr ? shell->GetActiveScreen() : nullptr);
  m_hover.Reset();
  const SpellLook& look = kLooks[LookIndex()];
  CRect cover = m_cover;
  if (GetSkin() == kSkinMedia) cover.InflateRect(1, 1);
  if (GetSkin() == kSkinMedia) ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
  CWnd* parent = GetParent();
  if (GetStyle() & WS_CHILD && parent != nullptr) parent->ScreenToClient(&cover);
  PlaceWindow(cover);
  CRect client;
  GetClientRect(&client);
  const int width = client.Width(), height = client.Height();
  const int line = Skin().GetLineHeight();

  const struct {
    CODButton& button;
    UINT bitmap, id;
  } buttons[] = {
      {m_close, look.close, kClose},    {m_search, look.search, kSearch},          {m_cancel, look.cancel, kCancel},
      {m_change, look.change, kChange}, {m_ignoreAll, look.ignoreAll, kIgnoreAll}, {m_ignore, look.ignore, kIgnore}};
  for (const auto& b : buttons)
    b.button.Create(CRect(0, 0, 0, 0), this, b.bitmap, CODButton::kUsualStyle, b.id, 0, 1, 0);
  MoveChild(m_close, width - ChildSize(m_close).cx - 4, 4);
  MoveChild(m_search, width / 2 + 10, height - 72);
  MoveChild(m_cancel, width / 2 + 10, height - 72 + 22);
  MoveChild(m_change, 15, height - 72);
  MoveChild(m_ignoreAll, 15, height - 72 + 22);
  MoveChild(m_ignore, 15, height - 72 + 44);

  const CRect replacement(90, height - line - 86, 200, height - 80);
  const CRect word(10, 85, width - 10, line + 91);
  m_replacementBox.Create(&replacement, this, kReplacementBox, look.edge1, look.edge2);
  m_wordBox.Create(&word, this, kWordBox, look.edge1, look.edge2);
  for (CFlatEdit* edit : {&m_replacementBox, &m_wordBox}) edit->SetFont(Skin().GetFont(FontList));
  m_replacementBox.LimitText(kReplacementLimit);
  m_wordBox.SetReadOnly(TRUE);
  m_wordBox.SetWindowText(m_word);
  m_list.Create(CRect(10, word.bottom + 10, width - 10, replacement.top - 10), this, kList, ListSkin());
  for (int i = 0; i < m_alternatives.GetSize(); ++i) m_list.AddString(m_alternatives[i]);
  if (m_alternatives.GetSize() > 0) {
    m_list.SetCurSel(0);
    m_replacementBox.SetWindowText(m_alternatives[0]);
  } else {
    m_replacementBox.SetWindowText("");
  }
  m_change.EnableWindow(m_replacementBox.GetWindowTextLength() > 0);
  return TRUE;
}

void CSpellAltDlg::OnListSelChange() {
  const int row = m_list.GetCurSel();
  if (row < 0 || row >= m_alternatives.GetSize()) return;
  m_replacementBox.SetWindowText(m_alternatives[row]);
}

void CSpellAltDlg::OnListDblClk() {
  OnListSelChange();
  OnOK();
}

void CSpellAltDlg::OnReplacementChange() { m_change.EnableWindow(m_replacementBox.GetWindowTextLength() > 0); }

void CSpellAltDlg::OnReplacementFocus() { m_replacementBox.SetSel(0, -1); }

void CSpellAltDlg::OnOK() {
  // Change acts only while it is enabled (the box holds text).
  if (m_change.GetSafeHwnd() == nullptr || !m_change.IsWindowEnabled()) return;
  m_replacementBox.GetWindowText(m_replacement);
  EndDialog(kChanged);
}

void CSpellAltDlg::OnCancel() { EndDialog(kStop); }

BOOL CSpellAltDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case kChange: OnOK(); return TRUE;
      case kIgnore: EndDialog(kIgnored); return TRUE;
      case kIgnoreAll:
      case kSearch: EndDialog(kSearchNow); return TRUE;
      case kCancel:
      case kClose: EndDialog(kStop); return TRUE;
      default: break;
    }
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

void CSpellAltDlg::Paint(CDC& dc) {
  PaintFrame(dc, "Spelling Alternatives", 6);
  CRect client;
  GetClientRect(&client);
  const char* text = m_accents
                         ? "The following word may require\r\naccents. Choose the correct\r\nalternative from the "
                           "list below."
                         : "The following word may be spelled\r\nincorrectly. You may choose to \r\nreplace it "
                           "from the list below.";
  DrawSmallText(dc, text, CRect(0, kBandHeight + 10, client.right, 85 - 4));
  CRect box;
  m_replacementBox.GetWindowRect(&box);
  ScreenToClient(&box);
  CFont* old = dc.SelectObject(Skin().GetFont(FontList));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CRect label(4, box.top, box.left - 4, box.bottom);
  dc.DrawText("Change to :", -1, &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SelectObject(old);
}
