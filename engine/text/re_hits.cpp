#include "re_hits.h"

#include "re_charclass.h"
#include "re_text_tables.h"

namespace {

bool IsSeparator(const ReHitTerms* t, u8 c) {
  if (t->classes) return (t->classes[c] & ReClassSeparator) != 0;
  return c <= ' ' || (c < 128 && !((c | 32) >= 'a' && (c | 32) <= 'z') && !(c >= '0' && c <= '9'));
}

u8 Lower(const ReHitTerms* t, u8 c) {
  const bool upper = t->classes ? (t->classes[c] & ReClassUpper) != 0 : (c >= 'A' && c <= 'Z');
  if (!upper) return c;
  return c == 159 ? 255 : static_cast<u8>(c + 32);
}

// A separator that a word runs over when the next character is no separator.
bool Joins(const ReHitTerms* t, const u8* text, u32 at, u32 length) {
  const u8 c = text[at];
  const bool joiner = c == '\'' || c == '/' || c == '.' || (c == '-' && t->hyphenInTerms);
  return joiner && at + 1 < length && !IsSeparator(t, text[at + 1]);
}

// Marks in `map` the characters of every run of text that spells a term.
void MarkRuns(const ReHitTerms* t, const u8* text, u32 length, bool* map) {
  for (u32 k = 0; k < t->count; ++k) {
    const u8* term = reinterpret_cast<const u8*>(t->terms[k]);
    while (*term && IsSeparator(t, *term)) ++term;
    if (!*term) continue;
    for (u32 start = 0; start < length; ++start) {
      u32 i = start;
      const u8* p = term;
      while (*p && i < length) {
        if (text[i] == ReMiddleDot && i > start) {
          ++i;
          continue;
        }
        if (Lower(t, text[i]) != Lower(t, *p)) break;
        ++i;
        ++p;
      }
      if (!*p)
        for (u32 j = start; j < i; ++j) map[j] = true;
    }
  }
}

}  // namespace

ReHitTerms ReMakeHitTerms(u32 count, const char* const* terms, u16 mode, const u32* classes) {
  ReHitTerms t{};
  t.mode = mode;
  t.classes = classes;
  for (u32 i = 0; i < count && i < ReMaxHitTerms; ++i) {
    if (!terms[i] || !terms[i][0]) continue;
    t.terms[t.count++] = terms[i];
    for (const char* p = terms[i]; *p; ++p)
      if (*p == '-') t.hyphenInTerms = true;
  }
  return t;
}

bool ReWordMatchesTerm(const ReHitTerms* t, const u8* word, u32 length, const char* term) {
  const u8* p = reinterpret_cast<const u8*>(term);
  while (*p && IsSeparator(t, *p)) ++p;
  u32 compared = 0;
  for (u32 i = 0; i < length; ++i) {
    if (word[i] == ReMiddleDot) continue;
    if (!*p || Lower(t, word[i]) != Lower(t, *p)) return false;
    ++p;
    ++compared;
  }
  return compared > 0 && (!*p || IsSeparator(t, *p));
}

u32 ReMarkHits(const ReHitTerms* t, const u8* text, u32 length, ReHitPiece* pieces, u32 max) {
  u32 count = 0;
  auto add = [&](u32 start, u32 end, bool hit) {
    if (count < max) pieces[count++] = ReHitPiece{static_cast<u16>(start), static_cast<u16>(end - start), hit};
  };
  u32 pos = 0;
  while (pos < length) {
    const u32 start = pos;
    if (IsSeparator(t, text[pos])) {
      while (pos < length && IsSeparator(t, text[pos])) ++pos;
      add(start, pos, false);
      continue;
    }
    while (pos < length && (!IsSeparator(t, text[pos]) || Joins(t, text, pos, length))) ++pos;
    bool hit = false;
    for (u32 k = 0; k < t->count && !hit; ++k) hit = ReWordMatchesTerm(t, text + start, pos - start, t->terms[k]);
    add(start, pos, hit);
  }
  if (t->mode != ReMarkWordsAndRuns || count == 0) return count;

  // Second step: cut the pieces at the borders of marked runs.
  bool map[256] = {};
  MarkRuns(t, text, length < 256 ? length : 256, map);
  ReHitPiece cut[256];
  u32 cutCount = 0;
  for (u32 i = 0; i < count && cutCount < 256; ++i) {
    const ReHitPiece piece = pieces[i];
    u32 from = piece.start;
    const u32 end = piece.start + piece.length;
    while (from < end && cutCount < 256) {
      const bool marked = from < 256 && map[from];
      u32 to = from + 1;
      while (to < end && (to < 256 && map[to]) == marked) ++to;
      cut[cutCount++] = ReHitPiece{static_cast<u16>(from), static_cast<u16>(to - from), piece.hit || marked};
      from = to;
    }
  }
  count = cutCount < max ? cutCount : max;
  for (u32 i = 0; i < count; ++i) pieces[i] = cut[i];
  return count;
}
