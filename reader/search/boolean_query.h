// The logic of the Boolean search panel that needs no window: building the
// query text and term list from the four term fields and their operators or
// from the free text, which fields and pickers are enabled as the fields
// change, and the word walk of the spelling pass.
#pragma once

#include <functional>
#include <vector>

#include "afx_core.h"

namespace search {

constexpr int kTermFields = 4;
constexpr int kPickers = 3;
constexpr int kMaxTermLength = 30;    // longest term the panel accepts
constexpr int kFreeTextLimit = 1024;  // longest free text
// The operator pickers' choices, index 0 to 3.
constexpr const char* kOperators[] = {"AND", "OR", "NOT", "NEAR"};

// The tokeniser: the next token of `text` (null goes on with the last text),
// its start offset, or -1 at the end.
using NextTokenFn = std::function<int(const char* text, CString& token)>;

struct BooleanInput {
  BOOL advanced = FALSE;
  CString fields[kTermFields];
  int operators[kPickers] = {0, 0, 0};
  CString freeText;
};

enum class BuildStatus { Ok, TermTooLong };
// Boolean mode: the non-empty fields joined by " OP " (the operator of the
// picker before each field but the first); every field is one term. Advanced
// mode: the free text unchanged; every token but AND, OR, NOT and NEAR (upper
// case, exactly) is a term; a term of more than 30 characters fails.
BuildStatus BuildBooleanQuery(const BooleanInput& input, const NextTokenFn& next, CString& text, CStringArray& terms);

// What is enabled of the search button, the pickers and the fields 1 to 3
// (field 0 always is).
struct FieldEnabling {
  BOOL search = FALSE;
  BOOL pickers[kPickers] = {FALSE, FALSE, FALSE};
  BOOL fields[kTermFields] = {TRUE, FALSE, FALSE, FALSE};
};
// The rule for a change of term field 0, 1 or 2 (field 3 has none): updates
// what that field governs, leaves the rest as it is.
void ApplyFieldChange(int field, const BOOL (&hasText)[kTermFields], FieldEnabling& state);

struct Word {
  int offset;
  CString text;
};
// The words of a text in order, with their offsets.
std::vector<Word> WordsOf(const CString& text, const NextTokenFn& next);
// TRUE when a word of the text is longer than kMaxTermLength. The tokeniser
// cuts a token there, so such a word shows as a full-length token with the
// next one starting right after it.
BOOL HasOverlongWord(const CString& text, const NextTokenFn& next);
// The text with `length` characters at `offset` replaced (clamped to the text).
CString ReplaceAt(const CString& text, int offset, int length, const CString& replacement);

}  // namespace search
