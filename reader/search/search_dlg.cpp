#include "search/search_dlg.h"

#include <algorithm>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "search/spell_alt_dlg.h"
#include "settings/settings.h"

namespace {

struct PanelLook {
  UINT close, clear, search, spellOn, spellOff, booleanMode, advancedMode, help;
  int edge1, edge2;
};
constexpr PanelLook kLooks[] = {
    {1083, 4194, 2024, 4195, 4196, 2003, 1184, 2022, 2, 0},
    {4274, 4275, 2149, 4277, 4278, 4281, 4282, 6077, 14, 12},
    {2162, 6097, 6099, 6102, 6103, 6107, 6109, 6076, 11, 9},
    {6074, 6096, 6098, 6101, 6100, 6106, 6108, 6075, 11, 9},
};
constexpr const char* kSection = "Installation Options";
constexpr const char* kIniFile = "MARCD98.INI";
constexpr int kPickerWidth = 70;

search::NextTokenFn AppTokens() {
  return [](const char* text, CString& token) {
    int sentence = 0;
    return Reader().NextToken(text, token, sentence, FALSE);
  };
}

}  // namespace

BOOL CSearchDlg::Create(const CRect& rect, UINT templateId, CWnd* owner) {
  m_created = FALSE;
  if (!CreatePanel(templateId, owner)) return FALSE;
  ReaderContext& app = Reader();
  const PanelLook& look = kLooks[LookIndex()];
  const int width = rect.Width();
  const int line = Skin().GetLineHeight();
  const struct {
    CODButton& button;
    UINT bitmap, id;
  } buttons[] = {{m_close, look.close, kClose},
                 {m_clear, look.clear, kClear},
                 {m_search, look.search, kSearch},
                 {m_spellButton, look.spellOn, kSpellCheck},
                 {m_advancedButton, look.booleanMode, kAdvanced},
                 {m_help, look.help, kHelp}};
  for (const auto& b : buttons)
    if (!b.button.Create(CRect(0, 0, 0, 0), this, b.bitmap, CODButton::kUsualStyle, b.id, 0, 1, 0)) {
      DestroyWindow();
      return FALSE;
    }
  MoveChild(m_close, width - ChildSize(m_close).cx - 4, 4);
  MoveChild(m_clear, 9, 40);
  MoveChild(m_search, 118, 40);

  int y = 70;
  CWnd* after = &m_search;
  for (int k = 0; k < search::kTermFields; ++k) {
    const CRect field(9, y, width - 9, y + line + 6);
    if (!m_fields[k].Create(&field, this, kFieldIds[k], look.edge1, look.edge2)) {
      DestroyWindow();
      return FALSE;
    }
    m_fields[k].SetFont(Skin().GetFont(FontList));
    m_fields[k].LimitText(search::kMaxTermLength);
    m_fields[k].SetWindowText(app.m_strBooleanTerm[k]);
    m_fields[k].SetWindowPos(after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = &m_fields[k];
    y = field.bottom + 6;
    if (k == search::kPickers) break;
    const CRect picker(9, y, 9 + kPickerWidth, y + line + 6);
    CDropList& drop = m_pickers[k];
    if (!drop.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, picker, this, kPickerIds[k])) {
      DestroyWindow();
      return FALSE;
    }
    drop.SetWindowPos(after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = &drop;
    drop.ResetContent();
    for (const char* op : search::kOperators) drop.AddString(op, FALSE);
    drop.SetCurSel(app.m_nBooleanOperator[k]);
    y = picker.bottom + 6;
  }
  const CRect free(9, 110, width - 9, 110 + line + 6);
  if (!m_freeText.Create(&free, this, kFreeText, look.edge1, look.edge2)) {
    DestroyWindow();
    return FALSE;
  }
  m_freeText.SetFont(Skin().GetFont(FontList));
  m_freeText.LimitText(search::kFreeTextLimit);
  m_freeText.SetWindowText(app.m_strBooleanQuery);
  m_freeText.ShowWindow(SW_HIDE);

  m_spellCheck = GetSettingInt(kSection, "SpellCheck", 1, kIniFile) != 0;
  if (!m_spellCheck) m_spellButton.SetBitmap(look.spellOff, FALSE);
  m_advanced = FALSE;
  if (GetSettingInt(kSection, "AdvancedSearch", 0, kIniFile) != 0)
    ToggleAdvanced();
  else
    FieldChanged(0);
  PlaceWindow(rect);
  m_created = TRUE;
  Layout();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CSearchDlg::Layout() {
  if (!m_created) return;
  CRect client;
  GetClientRect(&client);
  const int spellWidth = ChildSize(m_spellButton).cx;
  const int bottom = client.bottom - 10;
  MoveChild(m_spellButton, 9, bottom - ChildSize(m_spellButton).cy);
  MoveChild(m_advancedButton, spellWidth + 19, bottom - ChildSize(m_advancedButton).cy);
  MoveChild(m_help, client.right - ChildSize(m_help).cx - 9, bottom - ChildSize(m_help).cy);
  int buttonsTop = bottom;
  for (CODButton* button : {&m_spellButton, &m_advancedButton, &m_help})
    buttonsTop = std::min(buttonsTop, bottom - static_cast<int>(ChildSize(*button).cy));
  CRect free;
  m_freeText.GetWindowRect(&free);
  ScreenToClient(&free);
  const int height = std::max(0, buttonsTop - 10 - static_cast<int>(free.top));
  m_freeText.SetWindowPos(nullptr, 0, 0, free.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSearchDlg::FieldChanged(int k) {
  BOOL hasText[search::kTermFields];
  search::FieldEnabling state;
  state.search = m_search.IsWindowEnabled();
  for (int i = 0; i < search::kTermFields; ++i) {
    hasText[i] = m_fields[i].GetWindowTextLength() > 0;
    state.fields[i] = m_fields[i].IsWindowEnabled();
  }
  for (int i = 0; i < search::kPickers; ++i) state.pickers[i] = m_pickers[i].IsWindowEnabled();
  search::ApplyFieldChange(k, hasText, state);
  m_search.EnableWindow(state.search);
  for (int i = 1; i < search::kTermFields; ++i) m_fields[i].EnableWindow(state.fields[i]);
  for (int i = 0; i < search::kPickers; ++i) m_pickers[i].EnableWindow(state.pickers[i]);
}

void CSearchDlg::FreeTextChanged() { m_search.EnableWindow(m_freeText.GetWindowTextLength() > 0); }

void CSearchDlg::ToggleAdvanced() {
  const PanelLook& look = kLooks[LookIndex()];
  if (m_created) SetRedraw(FALSE);
  m_advanced = !m_advanced;
  WriteSettingString(kSection, "AdvancedSearch", m_advanced ? "1" : "0", kIniFile);
  m_advancedButton.SetBitmap(m_advanced ? look.advancedMode : look.booleanMode, FALSE);
  const int fieldsShow = m_advanced ? SW_HIDE : SW_SHOW;
  for (CFlatEdit& field : m_fields) field.ShowWindow(fieldsShow);
  for (CDropList& picker : m_pickers) picker.ShowWindow(fieldsShow);
  m_freeText.ShowWindow(m_advanced ? SW_SHOW : SW_HIDE);
  if (m_advanced) {
    FreeTextChanged();
    m_freeText.SetFocus();
  } else {
    FieldChanged(0);
    m_fields[0].SetFocus();
  }
  if (m_created) {
    SetRedraw(TRUE);
    RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
}

void CSearchDlg::ToggleSpellCheck() {
  const PanelLook& look = kLooks[LookIndex()];
  m_spellCheck = !m_spellCheck;
  m_spellButton.SetBitmap(m_spellCheck ? look.spellOn : look.spellOff, TRUE);
  WriteSettingString(kSection, "SpellCheck", m_spellCheck ? "1" : "0", kIniFile);
}

void CSearchDlg::Clear() {
  if (m_advanced) {
    m_freeText.SetWindowText("");
    m_freeText.SetFocus();
    m_search.EnableWindow(FALSE);
    return;
  }
  for (CDropList& picker : m_pickers) picker.SetCurSel(0);
  for (CFlatEdit& field : m_fields) field.SetWindowText("");
  m_fields[0].SetFocus();
  FieldChanged(0);
}

search::BooleanInput CSearchDlg::Input() const {
  search::BooleanInput input;
  input.advanced = m_advanced;
  for (int k = 0; k < search::kTermFields; ++k) m_fields[k].GetWindowText(input.fields[k]);
  for (int k = 0; k < search::kPickers; ++k) input.operators[k] = m_pickers[k].GetCurSel();
  m_freeText.GetWindowText(input.freeText);
  return input;
}

BOOL CSearchDlg::BuildQuery(CString& text, CStringArray& terms) {
  if (search::BuildBooleanQuery(Input(), AppTokens(), text, terms) == search::BuildStatus::Ok) return TRUE;
  AfxMessageBox("Your query term(s) must be less than 30 characters long.", MB_ICONEXCLAMATION | MB_OK);
  return FALSE;
}

BOOL CSearchDlg::CheckWords(CEdit& edit, BOOL& stop) {
  CString original;
  edit.GetWindowText(original);
  CString current = original;
  int shift = 0;
  ReaderContext& app = Reader();
  for (const search::Word& word : search::WordsOf(original, AppTokens())) {
    CSpellAltDlg dialog(GetParent());
    GetClientRect(&dialog.m_cover);
    ClientToScreen(&dialog.m_cover);
    dialog.SetPalette(m_palette);
    dialog.m_word = word.text;
    const int result = dialog.Run(app.GetDatabase(1), CSpellAltDlg::kBooleanLookup);
    if (result == CSpellAltDlg::kStop) return FALSE;
    if (result == CSpellAltDlg::kSearchNow) {
      stop = TRUE;
      return TRUE;
    }
    if (result == CSpellAltDlg::kChanged) {
      current = search::ReplaceAt(current, word.offset + shift, word.text.GetLength(), dialog.m_replacement);
      shift += dialog.m_replacement.GetLength() - word.text.GetLength();
      edit.SetWindowText(current);
    }
  }
  return TRUE;
}

BOOL CSearchDlg::SpellingPass() {
  BOOL stop = FALSE;
  if (m_advanced) {
    CString text;
    m_freeText.GetWindowText(text);
    if (search::WordsOf(text, AppTokens()).empty()) return FALSE;
    return CheckWords(m_freeText, stop);
  }
  for (CFlatEdit& field : m_fields) {
    if (field.GetWindowTextLength() == 0) continue;
    if (!CheckWords(field, stop)) return FALSE;
    if (stop) break;
  }
  return TRUE;
}

BOOL CSearchDlg::Search() {
  ReaderContext& app = Reader();
  CString text;
  CStringArray terms;
  if (m_spellCheck) {
    if (!BuildQuery(text, terms)) return FALSE;
    if (terms.GetSize() > 8) {
      // Long queries are tried first, so that one finding nothing asks no spelling.
      CBitString trial(app.GetArticleCount(), FALSE);
      if (!app.BooleanQuery(text, trial)) return FALSE;
    }
    if (!SpellingPass()) return FALSE;
  }
  if (!BuildQuery(text, terms)) return FALSE;
  CBitString set(app.GetArticleCount(), FALSE);
  if (!app.BooleanQuery(text, set)) return FALSE;
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  shell->AddQueryToHistory(set, text, 0, &terms, FALSE);
  AfxGetMainWnd()->PostMessage(WM_SHOWRESULTS, 0, 0);
  return TRUE;
}

void CSearchDlg::OnOK() {
  if (m_search.GetSafeHwnd() != nullptr && m_search.IsWindowEnabled()) Search();
}

void CSearchDlg::OnCancel() { DestroyWindow(); }

BOOL CSearchDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case kSearch: OnOK(); return TRUE;
      case kHelp: ShowHelp(m_advanced ? kHelpAdvanced : kHelpBoolean); return TRUE;
      case kClear: Clear(); return TRUE;
      case kSpellCheck: ToggleSpellCheck(); return TRUE;
      case kAdvanced: ToggleAdvanced(); return TRUE;
      default: break;
    }
  }
  if (code == EN_CHANGE) {
    for (int k = 0; k < search::kPickers; ++k)
      if (id == kFieldIds[k]) {
        FieldChanged(k);
        return TRUE;
      }
    if (id == kFreeText) {
      if (m_advanced) FreeTextChanged();
      return TRUE;
    }
  }
  if (code == EN_SETFOCUS) {
    if (CWnd* edit = GetDlgItem(static_cast<int>(id))) edit->SendMessage(EM_SETSEL, 0, -1);
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

CWnd* CSearchDlg::FocusTarget() {
  if (m_advanced && m_freeText.GetSafeHwnd() != nullptr) return &m_freeText;
  return &m_fields[0];
}

void CSearchDlg::SaveTexts() {
  ReaderContext& app = Reader();
  for (int k = 0; k < search::kTermFields; ++k)
    if (m_fields[k].GetSafeHwnd() != nullptr) m_fields[k].GetWindowText(app.m_strBooleanTerm[k]);
  for (int k = 0; k < search::kPickers; ++k)
    if (m_pickers[k].GetSafeHwnd() != nullptr) app.m_nBooleanOperator[k] = m_pickers[k].GetCurSel();
  if (m_freeText.GetSafeHwnd() != nullptr) m_freeText.GetWindowText(app.m_strBooleanQuery);
}

void CSearchDlg::ReleaseOnDestroy() { SaveTexts(); }

void CSearchDlg::Paint(CDC& dc) {
  PaintFrame(dc, m_advanced ? "Advanced Boolean" : "Boolean Search", 8);
  if (!m_advanced) return;
  const CRect clear = ChildRect(m_clear);
  CRect client;
  GetClientRect(&client);
  DrawSmallText(dc, "  Use the word AND, OR,\r\n  NOT, NEAR to make your\r\n  search more specific.",
                CRect(clear.left, clear.bottom + 5, client.right - 10, clear.bottom + 51));
}
