// The query parser: checks a query text, counts its terms and rewrites it into
// the normal form (single spaces, one-character operators with one space on
// each side) that the compiler splits.
#include <cstring>

#include "re_charclass.h"
#include "re_platform.h"
#include "re_query.h"

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

// The word operators, recognised only in capitals and as whole words.
char WordOperator(const char* word) {
  if (std::strcmp(word, "OR") == 0) return '|';
  if (std::strcmp(word, "AND") == 0) return '&';
  if (std::strcmp(word, "NOT") == 0) return '!';
  if (std::strcmp(word, "NEAR") == 0) return '~';
  return 0;
}

// Builds the normal form: runs of blanks become one space, every operator is
// written as its symbol with one space on each side, the rest is copied.
class NormalForm {
 public:
  NormalForm(char* out, u32 capacity) : out_(out), capacity_(capacity) {}

  void Blank() { pendingSpace_ = length_ > 0; }
  void Text(const char* text, u32 count) {
    if (pendingSpace_) Put(' ');
    pendingSpace_ = false;
    for (u32 i = 0; i < count; ++i) Put(text[i]);
  }
  void Operator(char symbol) {
    if (length_ > 0) Put(' ');
    Put(symbol);
    pendingSpace_ = true;
  }
  // False when the normal form does not fit the query buffer.
  bool Finish() {
    if (length_ >= capacity_) return false;
    out_[length_] = '\0';
    return true;
  }

 private:
  void Put(char c) {
    if (length_ < capacity_) out_[length_] = c;
    ++length_;
  }

  char* out_;
  u32 capacity_;
  u32 length_ = 0;
  bool pendingSpace_ = false;
};

i16 CheckParentheses(const char* text) {
  u32 level = 0;
  for (const char* p = text; *p; ++p) {
    if (*p == '(') {
      if (++level > ReQueryMaxDepth) return ReErrParenDepth;
    } else if (*p == ')') {
      if (level == 0) return ReErrParenUnbalanced;
      --level;
    }
  }
  return level == 0 ? 0 : ReErrParenUnbalanced;
}

struct ScanResult {
  i16 code = 0;
  u32 terms = 0;
  bool proximity = false;
};

// The token scan of the work text; writes the normal form as it goes.
ScanResult ScanTokens(const ReParseContext& context, const char* text, char* word, u32 wordSize, u8 wordSearch,
                      NormalForm& normal) {
  ScanResult result;
  bool lastWasTerm = false;
  bool lastWasOperator = false;
  const char* p = text;
  auto takeOperator = [&](char symbol) {
    if (!lastWasTerm) return false;
    if (symbol == '~') result.proximity = true;
    normal.Operator(symbol);
    lastWasTerm = false;
    lastWasOperator = true;
    return true;
  };

  while (*p) {
    const char c = *p;
    if (IsBlank(c)) {
      normal.Blank();
      ++p;
      continue;
    }
    if (((c == '|' || c == '&' || c == '!') && IsBlank(p[1])) || c == '~') {
      if (!takeOperator(c)) {
        result.code = ReErrOperatorMisplaced;
        return result;
      }
      // The operator takes the blank after it with it; '~' only when one follows.
      p += IsBlank(p[1]) ? 2 : 1;
      continue;
    }
    const char* start = p;
    u16 flags = 0;
    const i32 length = ReScanWord(&p, text, word, wordSize, &flags, ReScanQuery, context.classes);
    if (length == 0) {  // a separator such as a parenthesis: copied as it stands
      normal.Text(p, 1);
      ++p;
      continue;
    }
    // A word longer than the buffer was cut there: it is a term, never an
    // operator.
    const u32 size = static_cast<u32>(length < 0 ? -length : length);
    if (const char symbol = size < wordSize ? WordOperator(word) : 0) {
      if (!takeOperator(symbol)) {
        result.code = ReErrOperatorMisplaced;
        return result;
      }
      continue;
    }
    if (lastWasTerm && wordSearch) result.proximity = true;
    ++result.terms;
    lastWasTerm = true;
    lastWasOperator = false;
    normal.Text(start, static_cast<u32>(p - start));
  }
  if (lastWasOperator || result.terms == 0) result.code = ReErrOperatorMisplaced;
  return result;
}

u32 Fail(ReStatusBlock* status, i16 code) {
  ReSetStatus(status, ReSevError, code, ReModQuery);
  return ReFail;
}

}  // namespace

u32 ReParseQuery(const ReParseContext& context, const ReParseOutput& output, char* query, u32 queryCapacity,
                 u8 wordSearch, u8 caseMode, ReStatusBlock* status) {
  // A text without its NUL inside the buffer counts as too long.
  const u32 limit = queryCapacity < ReQueryMaxLength + 1 ? queryCapacity : ReQueryMaxLength + 1;
  const u32 length = static_cast<u32>(strnlen(query, limit));
  if (length == 0) return Fail(status, ReErrQueryEmpty);
  if (length >= limit) return Fail(status, ReErrQueryTooLong);
  if (caseMode < 1 || caseMode > 3) return Fail(status, ReErrCaseMode);

  std::memcpy(output.workText, query, length + 1);
  *output.proximity = 0;
  if (std::strpbrk(output.workText, "*?")) return Fail(status, ReErrQueryWildcard);
  if (const i16 code = CheckParentheses(output.workText)) return Fail(status, code);

  const u32 wordSize = (context.longestWord > 0 ? context.longestWord : ReQueryMaxLength) + 1u;
  char* word = static_cast<char*>(ReHeapAlloc(wordSize));
  if (!word) return Fail(status, ReErrMemory);

  // The normal form is built in a scratch copy so that a refused query leaves
  // the caller's text as it was.
  char normalText[ReQueryMaxLength];
  NormalForm normal(normalText, queryCapacity < ReQueryMaxLength ? queryCapacity : ReQueryMaxLength);
  const ScanResult scan = ScanTokens(context, output.workText, word, wordSize, wordSearch, normal);
  ReHeapFree(word);
  if (scan.code) return Fail(status, scan.code);
  if (scan.terms > ReQueryMaxTerms) return Fail(status, ReErrTooManyTerms);
  if (!normal.Finish()) return Fail(status, ReErrQueryTooLong);

  // A trial compilation refuses what the evaluation could not walk.
  ReCompiledQuery compiled;
  if (const i16 code = ReCompileNormalForm(normalText, &compiled)) return Fail(status, code);

  if (scan.proximity) *output.proximity = 1;
  std::strcpy(query, normalText);
  std::strcpy(output.queryCopy, normalText);
  return ReDone;
}

bool ReIsStopWord(const char* word) {
  static const char* const kStopWords[] = {
      "the",  "of",    "and",   "be",   "in",    "a",     "to",     "he",    "was",  "by",   "is",  "it",    "as",
      "for",  "have",  "his",   "with", "are",   "on",    "from",   "at",    "they", "that", "an",  "or",    "much",
      "were", "which", "its",   "has",  "but",   "see",   "become", "their", "many", "had",  "she", "there", "when",
      "who",  "well",  "we",    "than", "where", "her",   "do",     "him",   "what", "does", "why", "how",   "me",
      "i",    "this",  "state", "tell", "also",  "after", "about",  "other", "pop"};
  for (const char* stop : kStopWords)
    if (std::strcmp(stop, word) == 0) return true;
  return false;
}
