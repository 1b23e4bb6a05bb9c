#include "search/search_filter.h"

#include <cctype>
#include <cstring>

#include "core/title_key.h"

namespace search {

int ToggleIndex(unsigned id) {
  for (int i = 0; i < kToggleCount; ++i)
    if (kToggleIds[i] == id) return i;
  return -1;
}

namespace {

// The union of the checked toggles' sets in [first, last); FALSE when none
// of them is checked.
BOOL GroupUnion(const ToggleSets (&sets)[kToggleCount], const BOOL (&checked)[kToggleCount], int first, int last,
                int articleCount, CBitString& out) {
  out = CBitString(articleCount, FALSE);
  BOOL any = FALSE;
  for (int i = first; i < last; ++i) {
    if (!checked[i]) continue;
    any = TRUE;
    for (const CBitString* set : sets[i].sets)
      if (set != nullptr) out.Or(*set);
  }
  return any;
}

}  // namespace

CBitString FilterArticles(const CBitString& base, const CBitString& all, const ToggleSets (&sets)[kToggleCount],
                          const BOOL (&checked)[kToggleCount], int articleCount) {
  CBitString result = base;
  result.And(all);
  CBitString group;
  if (GroupUnion(sets, checked, 0, kSourceToggles, articleCount, group)) result.And(group);
  if (GroupUnion(sets, checked, kSourceToggles, kToggleCount, articleCount, group)) result.And(group);
  return result;
}

namespace {

void TitleForm(const char* text, char (&out)[TitleBufferSize]) {
  std::strncpy(out, text != nullptr ? text : "", TitleBufferSize - 1);
  out[TitleBufferSize - 1] = '\0';
  FoldAccents(out);
  NormalizeTitle(out, TitleBufferSize);
}

}  // namespace

BOOL TitleStartsWith(const char* typed, const char* title) {
  char key[TitleBufferSize], full[TitleBufferSize];
  TitleForm(typed, key);
  TitleForm(title, full);
  const size_t length = std::strlen(key);
  if (length == 0 || length > std::strlen(full)) return FALSE;
  for (size_t i = 0; i < length; ++i)
    if (std::tolower(static_cast<unsigned char>(key[i])) != std::tolower(static_cast<unsigned char>(full[i])))
      return FALSE;
  return TRUE;
}

BOOL SubjectStartsWith(const CString& name, const CString& typed) {
  if (typed.IsEmpty()) return FALSE;
  CString upperName = name, upperTyped = typed;
  upperName.MakeUpper();
  upperTyped.MakeUpper();
  return upperName.Left(upperTyped.GetLength()) == upperTyped;
}

}  // namespace search
