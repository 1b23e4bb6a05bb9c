// The related-articles queries shared by the screens that show articles.
#include "search/related_queries.h"

#include <cstring>
#include <memory>
#include <string>

#include "core/reader_context.h"
#include "core/reader_messages.h"
#include "core/reader_shell.h"
#include "core/related_files.h"
#include "core/title_key.h"
#include "display/display.h"
#include "zorlre/zorlre32.h"

namespace {

constexpr int kInflectReserved = 16;
constexpr u32 kFormWeight = 0x2000;

}  // namespace

namespace search {

void QueryRelatedArticles(int article) {
  ReaderContext& app = Reader();
  const std::string path = std::string(app.GetDatabase(1).m_path) + links::kRelatedFileName;
  std::vector<links::RelatedEntry> related;
  if (!links::ReadRelatedEntries(path.c_str(), static_cast<u32>(app.ToFileArticle(article)), related)) {
    AfxMessageBox(
        "The Marovan & World Encyclopedia is unable to open the file MAROVA.REL.\r\nRelated articles will be "
        "unavailable.",
        MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  CBitString set(app.GetArticleCount(), TRUE);
  for (const links::RelatedEntry& entry : related)
    set.SetBit(app.ToInternalArticle(static_cast<int>(entry.entry)), TRUE, TRUE, entry.score, 0);
  char title[TitleBufferSize] = "";
  app.LookupTitle(article, title);
  if (related.empty()) {
    AfxMessageBox("There are no articles related to the current article.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  shell->AddQueryToHistory(set, CString("Related to:  ") + title, 1, nullptr, FALSE);
  if (CView* active = shell->GetActiveScreen()) active->PostMessage(WM_SHOWRESULTS);
}

void QueryRelatedToSelection(CDisplay& display) {
  HGLOBAL block = nullptr;
  const int length = display.CopySelection(&block);
  CString selected;
  if (block) {
    if (length > 0)
      if (const char* text = static_cast<const char*>(::GlobalLock(block))) {
        selected = CString(text, static_cast<int>(strnlen(text, static_cast<std::size_t>(length))));
        ::GlobalUnlock(block);
      }
    ::GlobalFree(block);
  }
  const char* none = "There are no articles related to the current selection.";
  ReaderContext& app = Reader();
  CWaitCursor wait;
  CStringArray terms;
  CDWordArray groups;
  if (selected.IsEmpty() || app.ParseQuery(selected, terms, groups, TRUE) <= 0 || terms.GetSize() == 0) {
    AfxMessageBox(none, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  const int n = terms.GetSize();
  app.RemoveStopWords(terms, groups, n < 51 ? 61 : (n - 47) / 4 + 61);
  if (terms.GetSize() == 0) {
    AfxMessageBox(none, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  const int before = terms.GetSize();
  auto forms = std::make_unique<InFormContext>();
  std::memset(forms.get(), 0, sizeof(InFormContext));
  if (INinitX(kInflectReserved, forms.get(), app.m_strWorkingDir) == ReDone) {
    forms->lemmaLookup = 1;
    for (int t = 0; t < before; ++t) {
      forms->formCount = 0;
      INinflectX(terms[t], forms.get());
      for (u16 f = 0; f < forms->formCount && f < InFormSlots; ++f) {
        CString form(forms->forms[f]);
        form.MakeLower();
        bool known = form == terms[t];
        for (int k = 0; k < terms.GetSize() && !known; ++k) known = form == terms[k];
        if (known) continue;
        terms.Add(form);
        groups.Add(groups[t] | kFormWeight);
      }
    }
    INtermX(forms.get());
  }
  if (before <= 10) {
    CUIntArray values;
    for (int i = 0; i < groups.GetSize(); ++i) values.Add(static_cast<UINT>(groups[i]));
    app.GetDatabase(3).FetchEntries(terms, values);
    groups.RemoveAll();
    for (int i = 0; i < values.GetSize(); ++i) groups.Add(values[i]);
  }
  const CString title = CString("Related to:  ") + selected;
  if (!app.WeightedQuery(terms, groups)) return;
  CBitString found(app.GetArticleCount(), TRUE);
  if (!app.QuerySources(found) || found.GetSetCount() == 0) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  ReaderShell* shell = GetReaderShell();
  if (!shell) return;
  shell->AddQueryToHistory(found, title, 1, &terms, FALSE);
  if (CView* active = shell->GetActiveScreen()) active->PostMessage(WM_SHOWRESULTS);
}

}  // namespace search
