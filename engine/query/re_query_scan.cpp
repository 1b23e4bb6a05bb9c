// The word scanner shared by the query parser and the search: a word runs over
// non-separators and over a few joiners that stand between word characters.
#include "re_charclass.h"
#include "re_query.h"

namespace {

constexpr u32 ReClassLetterBits = ReClassOrdinal | ReClassLower | ReClassUpper;

struct Classes {
  const u32* table;
  u32 Of(char c) const { return table[static_cast<u8>(c)]; }
  bool Separator(char c) const { return (Of(c) & ReClassSeparator) != 0; }
  bool Letter(char c) const { return (Of(c) & ReClassLetterBits) != 0; }
  bool Digit(char c) const { return (Of(c) & ReClassDigit) != 0; }
};

// A joiner keeps the word going when a word character follows it.
bool IsJoiner(char c, u16 mode) { return c == '.' || c == '\'' || c == '-' || c == '/' || (c == ':' && mode == 7); }

// A thousands comma: the word has no letter yet and only digits follow up to
// the next separator (at least one).
bool CommaInNumber(const Classes& classes, const char* after) {
  const char* p = after;
  while (*p != '\0' && !classes.Separator(*p)) {
    if (!classes.Digit(*p)) return false;
    ++p;
  }
  return p != after;
}

}  // namespace

i32 ReScanWord(const char** position, const char* textStart, char* word, u32 wordSize, u16* flags, u16 mode,
               const u32* table) {
  const Classes classes{table};
  const char* p = *position;
  u16 wordFlags = 0;
  if (word && wordSize > 0) word[0] = '\0';
  if (classes.Separator(*p)) {
    if (flags) *flags = 0;
    return 0;
  }
  if (p > textStart) {
    const char before = p[-1];
    if (before == '\'') wordFlags |= ReWordAfterApostrophe;
    if (before == '-' && !(p - 1 > textStart && p[-2] == '-')) wordFlags |= ReWordAfterHyphen;
  }

  u32 length = 0;
  bool hasLetter = false;
  auto take = [&](char c) {
    if (word && length + 1 < wordSize) word[length] = c;
    ++length;
    if (classes.Letter(c)) hasLetter = true;
  };

  while (*p != '\0') {
    const char c = *p;
    if (!classes.Separator(c)) {
      take(c);
      ++p;
      continue;
    }
    // Separators that join: each only when a word character follows.
    if (c == '.' && (p[1] == '-' || p[1] == '\'') && p[2] != '\0' && !classes.Separator(p[2])) {
      take(c);
      take(p[1]);
      p += 2;
      continue;
    }
    if (c == '-' && p[1] == '\n') {  // a hyphen at a line break: keep it, drop the line feed
      if (p[2] != '\0' && !classes.Separator(p[2])) {
        take(c);
        wordFlags |= ReWordCompound;
        p += 2;
        continue;
      }
      break;
    }
    if (IsJoiner(c, mode) && p[1] != '\0' && !classes.Separator(p[1])) {
      if (c == '-') wordFlags |= ReWordCompound;
      if (c == '/') wordFlags |= ReWordSlash;
      take(c);
      ++p;
      continue;
    }
    if (c == ',' && !hasLetter && CommaInNumber(classes, p + 1)) {
      take(c);
      ++p;
      continue;
    }
    break;
  }
  if (*p == '.') wordFlags |= ReWordTrailingDot;
  if (*p == '-') wordFlags |= ReWordTrailingHyphen;
  if (*p == '\'') wordFlags |= ReWordTrailingApostrophe;

  if (word && wordSize > 0) word[length < wordSize ? length : wordSize - 1] = '\0';
  if (flags) *flags = wordFlags;
  *position = p;
  const i32 signedLength = static_cast<i32>(length);
  return hasLetter ? signedLength : -signedLength;
}
