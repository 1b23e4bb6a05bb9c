#include "search/boolean_query.h"

#include <cstring>

namespace search {

BuildStatus BuildBooleanQuery(const BooleanInput& input, const NextTokenFn& next, CString& text, CStringArray& terms) {
  text.Empty();
  terms.RemoveAll();
  if (input.advanced) {
    text = input.freeText;
    if (HasOverlongWord(input.freeText, next)) return BuildStatus::TermTooLong;
    for (const Word& word : WordsOf(input.freeText, next)) {
      BOOL isOperator = FALSE;
      for (const char* op : kOperators)
        if (std::strcmp(word.text, op) == 0) isOperator = TRUE;
      if (isOperator) continue;
      terms.Add(word.text);
    }
    return BuildStatus::Ok;
  }
  for (int k = 0; k < kTermFields; ++k) {
    if (input.fields[k].IsEmpty()) continue;
    if (k > 0) {
      const int op = input.operators[k - 1];
      text += " ";
      text += kOperators[op >= 0 && op < 4 ? op : 0];
      text += " ";
    }
    text += input.fields[k];
    terms.Add(input.fields[k]);
  }
  return BuildStatus::Ok;
}

void ApplyFieldChange(int field, const BOOL (&hasText)[kTermFields], FieldEnabling& state) {
  if (field < 0 || field > 2) return;
  if (!hasText[field]) {
    if (field == 0) state.search = FALSE;
    for (int k = field; k < kPickers; ++k) {
      state.pickers[k] = FALSE;
      state.fields[k + 1] = FALSE;
    }
    return;
  }
  state.search = TRUE;
  for (int k = field; k < kPickers; ++k) {
    state.pickers[k] = hasText[k];
    state.fields[k + 1] = hasText[k];
  }
}

std::vector<Word> WordsOf(const CString& text, const NextTokenFn& next) {
  std::vector<Word> words;
  CString token;
  for (int offset = next(text, token); offset >= 0; offset = next(nullptr, token)) words.push_back({offset, token});
  return words;
}

BOOL HasOverlongWord(const CString& text, const NextTokenFn& next) {
  const std::vector<Word> words = WordsOf(text, next);
  for (size_t i = 0; i < words.size(); ++i) {
    const int length = words[i].text.GetLength();
    if (length > kMaxTermLength) return TRUE;
    if (length == kMaxTermLength && i + 1 < words.size() && words[i + 1].offset == words[i].offset + length)
      return TRUE;
  }
  return FALSE;
}

CString ReplaceAt(const CString& text, int offset, int length, const CString& replacement) {
  const int size = text.GetLength();
  if (offset < 0) offset = 0;
  if (offset > size) offset = size;
  if (length < 0) length = 0;
  if (offset + length > size) length = size - offset;
  return text.Left(offset) + replacement + text.Mid(offset + length);
}

}  // namespace search
