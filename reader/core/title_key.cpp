#include "core/title_key.h"

#include <cstring>

namespace {

constexpr int WorkBufferSize = 256;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Length of the text that counts: a trailing digit after a non-digit start is
// left out ("Henry 8" keys as "henry").
int CountedLength(const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  if (length > 0 && !IsDigit(static_cast<unsigned char>(text[0])) &&
      IsDigit(static_cast<unsigned char>(text[length - 1])))
    return length - 1;
  return length;
}

// The shared rules; `out` has room for size - 1 characters.
int BuildKey(const char* text, char* out, int size, bool lowerCase, bool dropHigh) {
  if (size <= 0) return 0;
  const int counted = CountedLength(text);
  int length = 0;
  auto put = [&](char c) {
    if (length >= size - 1) return false;
    out[length++] = c;
    return true;
  };
  for (int i = 0; i < counted; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '&') {
      if (!put('a') || !put('n') || !put('d')) break;
      continue;
    }
    if (!IsDigit(c) && c < 0x40) continue;
    if (dropHigh && c >= 0x80) continue;
    if (lowerCase && c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (!put(static_cast<char>(c))) break;
  }
  out[length] = '\0';
  return length;
}

}  // namespace

int MakeTitleKey(const char* text, char* key, int size) {
  if (!key || size <= 0) return 0;
  if (!text) {
    key[0] = '\0';
    return 0;
  }
  return BuildKey(text, key, size, true, false);
}

void NormalizeTitle(char* text, int size) {
  if (!text || size <= 0) return;
  char work[WorkBufferSize];
  BuildKey(text, work, size < WorkBufferSize ? size : WorkBufferSize, false, true);
  std::strcpy(text, work);
}

void FoldAccents(char* text) {
  if (!text) return;
  // Plain letter of each byte 0xC0-0xFF; 0 ends the text.
  static const char kFolded[65] =
      "AAAAAA\0CEEEEIIII"    // C0-CF
      "DNOOOOO\0OUUUUY\0\0"  // D0-DF
      "aaaaaa\0ceeeeiiii"    // E0-EF
      "dnooooo\0ouuuuy\0y";  // F0-FF
  for (char* p = text; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c >= 0xC0) {
      *p = kFolded[c - 0xC0];
      if (!*p) return;
    } else if (c == 0x8A) {
      *p = 'S';
    } else if (c == 0x9A) {
      *p = 's';
    } else if (c == 0x9F) {
      *p = 'Y';
    }
  }
}
