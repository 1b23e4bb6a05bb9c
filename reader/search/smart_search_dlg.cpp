#include "search/smart_search_dlg.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "core/weighted_terms.h"
#include "search/boolean_query.h"
#include "search/search_screen.h"
#include "search/smart_query.h"
#include "search/spell_alt_dlg.h"
#include "settings/settings.h"
#include "zorlre/zorlre32.h"

namespace {

struct SmartLook {
  UINT close, clear, search, spellOn, spellOff, tuner, help;
  int edge1, edge2;
};
constexpr SmartLook kLooks[] = {
    {1083, 4194, 2024, 4195, 4196, 2000, 2022, 2, 0},
    {4274, 4275, 2149, 4277, 4278, 4279, 6077, 14, 12},
    {2162, 6097, 6099, 6102, 6103, 6105, 6076, 11, 9},
    {6074, 6096, 6098, 6101, 6100, 6104, 6075, 11, 9},
};
constexpr const char* kSection = "Installation Options";
constexpr const char* kIniFile = "MARCD98.INI";

search::NextTokenFn AppTokens() {
  return [](const char* text, CString& token) {
    int sentence = 0;
    return Reader().NextToken(text, token, sentence, FALSE);
  };
}

}  // namespace

BOOL CSmartSearchDlg::Create(const CRect& rect, UINT templateId, CWnd* owner) {
  m_created = FALSE;
  if (!CreatePanel(templateId, owner)) return FALSE;
  const SmartLook& look = kLooks[LookIndex()];
  const int width = rect.Width();
  const struct {
    CODButton& button;
    UINT bitmap, id;
  } buttons[] = {{m_close, look.close, kClose},    {m_clear, look.clear, kClear},
                 {m_search, look.search, kSearch}, {m_spellButton, look.spellOn, kSpellCheck},
                 {m_tuner, look.tuner, kTuner},    {m_help, look.help, kHelp}};
  for (const auto& b : buttons)
    if (!b.button.Create(CRect(0, 0, 0, 0), this, b.bitmap, CODButton::kUsualStyle, b.id, 0, 1, 0)) {
      DestroyWindow();
      return FALSE;
    }
  MoveChild(m_close, width - ChildSize(m_close).cx - 4, 4);
  MoveChild(m_clear, 10, 33);
  MoveChild(m_search, width - ChildSize(m_search).cx - 10, 33);
  const CRect box(10, 115, width - 10, 270);
  if (!m_query.Create(&box, this, kQueryBox, look.edge1, look.edge2)) {
    DestroyWindow();
    return FALSE;
  }
  m_query.SetFont(Skin().GetFont(FontList));
  m_query.LimitText(kQueryLimit);
  m_query.SetWindowText(Reader().m_strSmartQuery);
  QueryChanged();
  m_spellCheck = GetSettingInt(kSection, "SpellCheck", 1, kIniFile) != 0;
  if (!m_spellCheck) m_spellButton.SetBitmap(look.spellOff, FALSE);
  PlaceWindow(rect);
  m_created = TRUE;
  Layout();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CSmartSearchDlg::Layout() {
  if (!m_created) return;
  CRect client;
  GetClientRect(&client);
  const int bottom = client.bottom - 10;
  const int spellWidth = ChildSize(m_spellButton).cx, tunerWidth = ChildSize(m_tuner).cx;
  MoveChild(m_spellButton, 6, bottom - ChildSize(m_spellButton).cy);
  MoveChild(m_tuner, spellWidth + 11, bottom - ChildSize(m_tuner).cy);
  MoveChild(m_help, spellWidth + tunerWidth + 16, bottom - ChildSize(m_help).cy);
  int buttonsTop = bottom;
  for (CODButton* button : {&m_spellButton, &m_tuner, &m_help})
    buttonsTop = std::min(buttonsTop, bottom - static_cast<int>(ChildSize(*button).cy));
  CRect box;
  m_query.GetWindowRect(&box);
  ScreenToClient(&box);
  const int height = std::max(0, buttonsTop - 10 - static_cast<int>(box.top));
  m_query.SetWindowPos(nullptr, 0, 0, box.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSmartSearchDlg::QueryChanged() {
  const BOOL any = m_query.GetWindowTextLength() > 0;
  m_search.EnableWindow(any);
  m_tuner.EnableWindow(any);
}

void CSmartSearchDlg::ToggleSpellCheck() {
  const SmartLook& look = kLooks[LookIndex()];
  m_spellCheck = !m_spellCheck;
  m_spellButton.SetBitmap(m_spellCheck ? look.spellOn : look.spellOff, TRUE);
  WriteSettingString(kSection, "SpellCheck", m_spellCheck ? "1" : "0", kIniFile);
}

void CSmartSearchDlg::Clear() {
  m_query.SetWindowText("");
  m_query.SetFocus();
  m_search.EnableWindow(FALSE);
  m_tuner.EnableWindow(FALSE);
}

BOOL CSmartSearchDlg::SpellingPass() {
  CString original;
  m_query.GetWindowText(original);
  const std::vector<search::Word> words = search::WordsOf(original, AppTokens());
  if (words.empty()) return FALSE;
  CString current = original;
  int shift = 0;
  ReaderContext& app = Reader();
  for (const search::Word& word : words) {
    CSpellAltDlg dialog(GetParent());
    GetClientRect(&dialog.m_cover);
    ClientToScreen(&dialog.m_cover);
    dialog.SetPalette(m_palette);
    dialog.m_word = word.text;
    const int result = dialog.Run(app.GetDatabase(1), CSpellAltDlg::kSmartLookup);
    if (result == CSpellAltDlg::kStop) return FALSE;
    if (result == CSpellAltDlg::kSearchNow) break;
    if (result == CSpellAltDlg::kChanged) {
      current = search::ReplaceAt(current, word.offset + shift, word.text.GetLength(), dialog.m_replacement);
      shift += dialog.m_replacement.GetLength() - word.text.GetLength();
      m_query.SetWindowText(current);
    }
  }
  return TRUE;
}

void CSmartSearchDlg::AddInflections(CStringArray& terms, CDWordArray& groups) {
  ReaderContext& app = Reader();
  CWaitCursor wait;
  auto context = std::make_unique<InFormContext>();
  if (INinitX(16, context.get(), app.m_strWorkingDir) != ReDone) return;
  context->lemmaLookup = 1;
  const int count = terms.GetSize();
  for (int i = 0; i < count; ++i) {
    context->formCount = 0;
    INinflectX(terms[i], context.get());
    std::vector<std::string> forms;
    const int made = std::min<int>(context->formCount, InFormSlots);
    for (int k = 0; k < made; ++k) forms.emplace_back(context->forms[k], strnlen(context->forms[k], InFormSlotSize));
    search::AppendForms(terms, groups, i, forms);
  }
  INtermX(context.get());
}

BOOL CSmartSearchDlg::Search(BOOL forTuner) {
  m_forTuner = forTuner;
  if (m_spellCheck && !SpellingPass()) return FALSE;
  ReaderContext& app = Reader();
  CBitString set(app.GetArticleCount(), FALSE);
  CString text;
  m_query.GetWindowText(text);
  CStringArray terms;
  CDWordArray groups;
  const int distinct = app.ParseQuery(text, terms, groups, TRUE);
  if (distinct == 0) return FALSE;
  if (search::HasOverlongWord(text, AppTokens())) {
    AfxMessageBox("Your query term(s) must be less than 30 characters long.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  if (app.RemoveStopWords(terms, groups, StopWordLimit(distinct)) == 0 || terms.GetSize() == 0) return FALSE;
  AddInflections(terms, groups);
  if (distinct <= 10) {
    CUIntArray values;
    for (int i = 0; i < groups.GetSize(); ++i) values.Add(groups[i]);
    app.GetDatabase(3).FetchEntries(terms, values);
    groups.RemoveAll();
    for (int i = 0; i < values.GetSize(); ++i) groups.Add(values[i]);
  }
  const BOOL prepared = app.WeightedQuery(terms, groups);
  m_query.SetFocus();
  if (!prepared) {
    app.QuerySources(set);
    return FALSE;
  }
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  if (m_forTuner) {
    // The Tuner's sliders follow the prepared weights, one per distinct term.
    const WeightedTerms weighed = WeighTerms(terms, groups);
    auto* screen = dynamic_cast<SearchScreen*>(m_owner == AfxGetMainWnd() ? shell->GetScreen(Screen::Media) : m_owner);
    if (screen == nullptr) return FALSE;
    screen->OpenTuner(text, weighed.terms);
    return TRUE;
  }
  if (!app.QuerySources(set) || set.GetSetCount() == 0) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  shell->AddQueryToHistory(set, text, 1, &terms, FALSE);
  AfxGetMainWnd()->PostMessage(WM_SHOWRESULTS, 0, 0);
  return TRUE;
}

void CSmartSearchDlg::OnOK() {
  if (m_search.GetSafeHwnd() != nullptr && m_search.IsWindowEnabled()) Search(FALSE);
}

void CSmartSearchDlg::OnCancel() { DestroyWindow(); }

BOOL CSmartSearchDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case kSearch: OnOK(); return TRUE;
      case kTuner: Search(TRUE); return TRUE;
      case kHelp: ShowHelp(kHelpSmart); return TRUE;
      case kClear: Clear(); return TRUE;
      case kSpellCheck: ToggleSpellCheck(); return TRUE;
      default: break;
    }
  }
  if (id == kQueryBox && code == EN_CHANGE) {
    QueryChanged();
    return TRUE;
  }
  if (id == kQueryBox && code == EN_SETFOCUS) {
    m_query.SetSel(0, -1);
    return TRUE;
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

void CSmartSearchDlg::ReleaseOnDestroy() {
  if (m_query.GetSafeHwnd() != nullptr) m_query.GetWindowText(Reader().m_strSmartQuery);
}

void CSmartSearchDlg::Paint(CDC& dc) {
  PaintFrame(dc, "Smart Search", 6);
  const CRect clear = ChildRect(m_clear);
  CRect client;
  GetClientRect(&client);
  DrawSmallText(dc, "You may enter words or \r\nquestions that describe your \r\nresearch or interest.",
                CRect(0, clear.bottom + 10, client.right, 115));
}
