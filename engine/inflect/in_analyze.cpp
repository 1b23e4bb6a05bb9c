#include "in_analyze.h"

#include <cstring>

#include "in_hash.h"
#include "re_charclass.h"

namespace {

constexpr u32 AccentBits = ReClassAcute | ReClassDiaeresis | ReClassGrave | ReClassCircumflex;

bool IsAccentedVowel(const u32* classes, u8 c) {
  return classes && (classes[c] & ReClassVowel) && (classes[c] & AccentBits);
}

// The plain letter of an accented vowel (Latin-1 positions).
char PlainVowel(u8 c) {
  if (c >= 192 && c <= 198) return 'A';
  if (c >= 200 && c <= 203) return 'E';
  if (c >= 204 && c <= 207) return 'I';
  if (c >= 210 && c <= 214) return 'O';
  if (c >= 217 && c <= 220) return 'U';
  if (c == 221) return 'Y';
  if (c >= 224 && c <= 230) return 'a';
  if (c >= 232 && c <= 235) return 'e';
  if (c >= 236 && c <= 239) return 'i';
  if (c >= 242 && c <= 246) return 'o';
  if (c >= 249 && c <= 252) return 'u';
  if (c == 253 || c == 255) return 'y';
  return static_cast<char>(c);
}

// The result buffer: alternatives back to back, each with its NUL.
class Alternatives {
 public:
  Alternatives(char* buffer, u32 size) : buffer_(buffer), size_(size) {}

  // Appends text[0..length) (accented vowels made plain when asked) and a suffix.
  void Add(const char* text, u32 length, const char* suffix, bool plain, const u32* classes) {
    const u32 suffixLength = static_cast<u32>(std::strlen(suffix));
    if (full_ || used_ + length + suffixLength + 1 > size_) {
      full_ = true;
      return;
    }
    for (u32 i = 0; i < length; ++i) {
      const u8 c = static_cast<u8>(text[i]);
      buffer_[used_++] = plain && IsAccentedVowel(classes, c) ? PlainVowel(c) : static_cast<char>(c);
    }
    std::memcpy(buffer_ + used_, suffix, suffixLength);
    used_ += suffixLength;
    buffer_[used_++] = '\0';
    ++count_;
  }
  i16 count() const { return count_; }

 private:
  char* buffer_;
  u32 size_;
  u32 used_ = 0;
  bool full_ = false;
  i16 count_ = 0;
};

bool Known(const char* word, u32 first, u32 last, InWordHash hash) {
  return InProbeWordHash(word, static_cast<i32>(first), static_cast<i32>(last), hash.data, hash.size);
}

// Kind 12 after its known ending: the stems that the clitic ending implies.
void AddCliticStems(const char* w, u32 stem, const char* ending, u32 endingLength, Alternatives& out,
                    const u32* classes) {
  if (endingLength == 4 && std::memcmp(ending, "-nos", 4) == 0) {
    out.Add(w, stem, "s", false, classes);
    return;
  }
  if (endingLength < 3 || (std::memcmp(ending, "-la", 3) != 0 && std::memcmp(ending, "-lo", 3) != 0)) return;
  const u8 last = static_cast<u8>(w[stem - 1]);
  switch (last) {
    case 'a': out.Add(w, stem, "z", false, classes); break;
    case 'e':
    case 'o':
    case 'u': out.Add(w, stem, "s", false, classes); break;
    case 'i':
      out.Add(w, stem, "s", false, classes);
      out.Add(w, stem, "z", false, classes);
      break;
    case 'r': out.Add(w, stem - 1, "z", false, classes); break;
    case 225:
      out.Add(w, stem - 1, "ar", false, classes);
      out.Add(w, stem - 1, "az", false, classes);
      break;
    case 233: out.Add(w, stem - 1, "erer", false, classes); break;
    case 234:
      out.Add(w, stem - 1, "er", false, classes);
      out.Add(w, stem - 1, "ez", false, classes);
      break;
    case 244: out.Add(w, stem - 1, "or", false, classes); break;
    default: break;
  }
}

}  // namespace

i16 InAnalyzeWord(const char* word, u8 kind, const u32* classes, InWordHash hash, char* result, u32 resultSize,
                  u8* elided) {
  if (!word || !result) return 0;
  Alternatives out(result, resultSize);
  const char* w = word;
  u32 n = static_cast<u32>(std::strlen(w));

  // Elision: a known beginning up to its apostrophe is removed.
  if (kind == 3 || kind == 5 || kind == 9) {
    i32 apostrophe = -1;
    if (n > 0 && w[0] == '\'') {
      apostrophe = 0;
    } else if (kind == 3) {
      if (n > 1 && w[1] == '\'') apostrophe = 1;
    } else {
      for (u32 i = 1; i < n && apostrophe < 0; ++i)
        if (w[i] == '\'') apostrophe = static_cast<i32>(i);
    }
    if (apostrophe >= 0 && Known(w, 0, static_cast<u32>(apostrophe), hash)) {
      w += apostrophe + 1;
      n -= static_cast<u32>(apostrophe) + 1;
      out.Add(w, n, "", false, classes);
      if (elided) *elided = 1;
    }
  }

  if (kind == 8 || kind == 9) {
    bool plain = false;  // the plain copy holds something only when an accented vowel was met
    if (kind == 8)
      for (u32 i = 0; i < n && !plain; ++i) plain = IsAccentedVowel(classes, static_cast<u8>(w[i]));
    const u32 longest = n >= 2 ? (n - 2 < 6 ? n - 2 : 6) : 0;
    for (u32 e = 2; e <= longest; ++e) {
      const u32 stem = n - e;
      if (!Known(w, stem, n - 1, hash)) continue;
      out.Add(w, stem, "", false, classes);
      if (kind == 8) {
        if (plain) out.Add(w, stem, "", true, classes);
        if ((w[stem] == 's' || w[stem] == 'n') && w[stem - 1] != 's') {
          out.Add(w, stem, "s", false, classes);
          if (plain) out.Add(w, stem, "s", true, classes);
        }
      } else if (w[stem - 1] == 'r') {
        out.Add(w, stem, "e", false, classes);
        out.Add(w, stem, "re", false, classes);
      }
    }
    return out.count();
  }

  if (n == 0) return out.count();
  const u32 shortest = kind == 12 ? 1 : 2;
  for (u32 e = n < 12 ? n : 12; e >= shortest; --e) {
    const u32 stem = n - e;
    const char* ending = w + stem;
    if (kind == 3 || kind == 5 || kind == 12) {
      const bool marked = ending[0] == '-' || (kind == 3 && ending[0] == '\'');
      if (!marked) continue;
    }
    if (kind != 5 && stem < 2) continue;
    if (!Known(w, stem, n - 1, hash)) continue;
    out.Add(w, stem, "", false, classes);
    if (kind == 5) return out.count();
    if (kind == 12) {
      AddCliticStems(w, stem, ending, e, out, classes);
      return out.count();
    }
  }
  return out.count();
}
