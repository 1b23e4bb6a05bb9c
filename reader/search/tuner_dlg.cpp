#include "search/tuner_dlg.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/reader_context.h"
#include "core/reader_shell.h"
#include "search/smart_query.h"
#include "zorlre/re_blocks.h"
#include "zorlre/re_charclass.h"
#include "zorlre/zorlre32.h"

namespace {

struct TunerLook {
  UINT close, search, help;
};
constexpr TunerLook kLooks[] = {{1083, 2024, 2022}, {4274, 2149, 6077}, {2162, 6099, 6076}, {6074, 6098, 6075}};
constexpr int kListTop = 104;  // below the three lines of the hint
constexpr int kListBottom = 270;
constexpr u16 kNeighbourList = 180;
constexpr u16 kIdxListCount = 5;

}  // namespace

BOOL CTunerDlg::Create(const CRect& rect, UINT templateId, CWnd* owner, const CString& query,
                       const CStringArray& terms) {
  m_created = FALSE;
  m_searched = FALSE;
  if (!CreatePanel(templateId, owner)) return FALSE;
  ReaderContext& app = Reader();
  // The display words follow the spelling typed in this query.
  m_query = query;
  MakeDisplayWords(terms);
  const TunerLook& look = kLooks[LookIndex()];
  const int width = rect.Width();
  if (!m_close.Create(CRect(0, 0, 0, 0), this, look.close, CODButton::kUsualStyle, kClose, 0, 1, 0) ||
      !m_search.Create(CRect(0, 0, 0, 0), this, look.search, CODButton::kUsualStyle, kSearch, 0, 1, 0) ||
      !m_help.Create(CRect(0, 0, 0, 0), this, look.help, CODButton::kUsualStyle, kHelp, 0, 1, 0) ||
      !m_list.Create(CRect(10, kListTop, width - 10, kListBottom), this, kTermList, m_words, LookIndex())) {
    DestroyWindow();
    return FALSE;
  }
  MoveChild(m_close, width - ChildSize(m_close).cx - 4, 4);
  MoveChild(m_search, width - ChildSize(m_search).cx - 10, 33);
  m_scale = search::TunerScale(app.GetDatabase(1).GetEntryCount() + app.GetDatabase(6).GetEntryCount());
  for (int i = 0; i < m_list.GetCount(); ++i) {
    const float weight = i < static_cast<int>(app.m_queryWeights.size()) ? app.m_queryWeights[i] : 0.0f;
    m_list.GetSlider(i)->SetValue(search::SliderFromWeight(weight, m_scale), TRUE);
  }
  PlaceWindow(rect);
  m_created = TRUE;
  Layout();
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CTunerDlg::MakeDisplayWords(const CStringArray& terms) {
  m_words.RemoveAll();
  m_words.Append(terms);
  ReaderContext& app = Reader();
  CContentDb& db = app.GetDatabase(1);
  ReDbBlock* database = db.GetDatabaseBlock();
  void* memory = nullptr;
  if (database == nullptr || REmemory(&memory, database, ReBlockIdxList, ReActOpen, kIdxListCount) == ReFail ||
      memory == nullptr)
    return;
  auto* block = static_cast<ReIdxListBlock*>(memory);
  block->handle = database->handle;
  CStringArray typed;
  CDWordArray groups;
  app.ParseQuery(m_query, typed, groups, FALSE);
  // The classes the engine reads the database's words with.
  const u32* classes = ReWordClassTable(database->kind);
  const auto isCapital = [classes](unsigned char ch) {
    return classes != nullptr && (classes[ch] & ReClassUpper) != 0;
  };
  const size_t room = database->longestWord > 0 ? database->longestWord : 0;
  for (int i = 0; i < m_words.GetSize(); ++i) {
    const CString term = terms[i];
    std::vector<std::string> spellings;
    if (block->word != nullptr && room > 0) {
      std::strncpy(block->word, term, room);
      block->word[room] = '\0';
      if (REidxlst(block, kNeighbourList, ReActOpen) != ReFail && block->results != nullptr) {
        const char* p = block->results;
        for (int k = 0; k < block->foundCount; ++k) {
          spellings.emplace_back(p);
          p += std::strlen(p) + 1;
        }
      }
      REidxlst(block, kNeighbourList, ReActClose);
    }
    m_words[i] = search::ChooseDisplayWord(term, spellings, typed, isCapital);
  }
  REmemory(&memory, nullptr, ReBlockIdxList, ReActClose, 0);
}

void CTunerDlg::Layout() {
  if (!m_created) return;
  CRect client;
  GetClientRect(&client);
  const CSize help = ChildSize(m_help);
  MoveChild(m_help, client.right - help.cx - 10, client.bottom - help.cy - 10);
  CRect list;
  m_list.GetWindowRect(&list);
  ScreenToClient(&list);
  const int height = std::max(0, static_cast<int>(client.bottom - help.cy - 10 - 10 - list.top));
  m_list.SetWindowPos(nullptr, 0, 0, list.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CTunerDlg::Search() {
  ReaderContext& app = Reader();
  std::vector<int> values;
  for (int i = 0; i < m_list.GetCount(); ++i) values.push_back(m_list.GetSlider(i)->GetValue());
  CStringArray words;
  words.Append(m_words);
  search::ApplySliders(values, app.m_queryWeights, m_scale, words);
  app.m_rankedQuery.SetWeights(app.m_queryWeights);
  CBitString set(app.GetArticleCount(), FALSE);
  m_searched = TRUE;
  if (!app.QuerySources(set) || set.GetSetCount() == 0) {
    AfxMessageBox("There are no items matching your search expression.", MB_ICONEXCLAMATION | MB_OK);
    DestroyWindow();
    return FALSE;
  }
  ReaderShell* shell = GetReaderShell();
  if (shell == nullptr) return FALSE;
  shell->AddQueryToHistory(set, m_query, 1, &words, FALSE);
  AfxGetMainWnd()->PostMessage(WM_SHOWRESULTS, 0, 0);
  return TRUE;
}

void CTunerDlg::OnOK() { Search(); }

void CTunerDlg::OnCancel() {
  DestroyWindow();
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, kSmartSearchCommand, 0);
}

BOOL CTunerDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case kSearch: OnOK(); return TRUE;
      case kHelp: ShowHelp(kHelpTuner); return TRUE;
      default: break;
    }
  }
  return CSearchPanel::OnCommand(wParam, lParam);
}

void CTunerDlg::ReleaseOnDestroy() {
  CBitString none(Reader().GetArticleCount(), FALSE);
  Reader().QuerySources(none);
}

void CTunerDlg::Paint(CDC& dc) {
  PaintFrame(dc, "Tuner", 6);
  const CRect search = ChildRect(m_search);
  CRect client;
  GetClientRect(&client);
  DrawSmallText(dc, "Assign a lesser or greater importance\r\nto each word in your search.",
                CRect(6, search.bottom + 6, client.right - 6, kListTop));
}
