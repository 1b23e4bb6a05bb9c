// How a word search finds a word that stands inside a longer one: the rule
// the search looks words up in the index by, and the rule the content
// builder writes the index by.
//
// A word search finds a term where neither a letter or digit nor a gluing
// character ('/', a backslash, the syllable dot) stands right before it or
// right after it. Inside a word as a query reads it ("non-serial-I/O",
// "PL/I-like", "con·nect-ed", "Fe+++"), a shorter word can therefore start
// and end only beside the word's other characters: the joiners '-', '.', '''
// and ',' and signs such as '+'. The stretches between those are the word's
// pieces ("non", "serial", "I/O"), and each piece of a word found inside a
// longer one is a piece of the longer word. So the index holds every word
// with its pieces, and the search looks a word up whole and by its pieces.
//
// A '/' that joins nothing stays outside the word read beside it, and no
// term ends or starts beside it: there the word is indexed, and looked up,
// with it ("/dev/null"). The builder lists such a word with its gluing
// characters wherever it stands beside them, also where a letter stands
// beyond them ("a//" in "a//b"), so the search takes those blocks as wider
// than the term and the text decides.
#pragma once

#include "re_types.h"

// The syllable dot (the middle dot of code page 1252), which a search passes
// over inside a word.
constexpr u8 ReMiddleDot = 183;

// '/', a backslash and the syllable dot glue what stands on either side of
// them into one word.
inline bool ReGlues(u8 c) { return c == '/' || c == '\\' || c == ReMiddleDot; }

// Whether text[0, length) is gluing characters alone, which the index lists
// only where they stand as a word of their own (ReForEachGluedKey).
inline bool ReGlueOnly(const char* text, u32 length) {
  for (u32 i = 0; i < length; ++i)
    if (!ReGlues(static_cast<u8>(text[i]))) return false;
  return true;
}

// Widens the word text[*start, *end) of text[0, length) over the gluing
// characters right before and after it, which join it to nothing there
// ("/dev/null", "qux/" of "qux/ /baz", "/b" of "a-/b"); true when there were
// any. The word is indexed and looked up so, never alone.
inline bool ReWidenOverGlue(const char* text, u32 length, u32* start, u32* end) {
  const u32 from = *start, to = *end;
  while (*start > 0 && ReGlues(static_cast<u8>(text[*start - 1]))) --*start;
  while (*end < length && ReGlues(static_cast<u8>(text[*end]))) ++*end;
  return *start != from || *end != to;
}

// Calls run(start, length) for each longest stretch of word[0, length) whose
// characters `in` takes.
template <class In, class Run>
void ReForEachRun(const char* word, u32 length, In&& in, Run&& run) {
  for (u32 i = 0; i < length;) {
    if (!in(static_cast<u8>(word[i]))) {
      ++i;
      continue;
    }
    u32 end = i;
    while (end < length && in(static_cast<u8>(word[end]))) ++end;
    run(i, end - i);
    i = end;
  }
}

// Calls piece(start, length) for each piece of word[0, length): the
// stretches of letters, digits and gluing characters. `letterOrDigit` tells
// the letters and digits by the character classes in force.
template <class LetterOrDigit, class Piece>
void ReForEachWordPiece(const char* word, u32 length, LetterOrDigit&& letterOrDigit, Piece&& piece) {
  ReForEachRun(
      word, length, [&](u8 c) { return letterOrDigit(c) || ReGlues(c); }, piece);
}

// Calls key(start, length) for a word widened over the gluing characters
// beside it (ReWidenOverGlue), glued[0, length), and for each of its pieces
// that took some of them (`atStart`, `atEnd`: it was widened there): "/a-os/"
// gives itself, "/a" and "os/". Its other pieces are those of the word; a
// piece of gluing characters alone ("/" of "/+") is no word a query reads.
template <class LetterOrDigit, class Key>
void ReForEachGluedKey(const char* glued, u32 length, bool atStart, bool atEnd, LetterOrDigit&& letterOrDigit,
                       Key&& key) {
  key(0u, length);
  ReForEachWordPiece(glued, length, letterOrDigit, [&](u32 start, u32 count) {
    if (count == length || !((atStart && start == 0) || (atEnd && start + count == length))) return;
    if (!ReGlueOnly(glued + start, count)) key(start, count);
  });
}

// Writes the index key of word[0, length) into key (room for length + 1
// bytes) and returns its length: the word without the syllable dots between
// its other characters, which a search passes over in the text ("con·nect"
// is found as "connect"). Dots at its start or end stay: no search finds
// "nect" right after a dot, so "·nect" may not be listed as "nect".
inline u32 ReWordKey(const char* word, u32 length, char* key) {
  u32 first = 0, last = length;
  while (first < length && static_cast<u8>(word[first]) == ReMiddleDot) ++first;
  while (last > first && static_cast<u8>(word[last - 1]) == ReMiddleDot) --last;
  u32 out = 0;
  for (u32 i = 0; i < length; ++i)
    if (i < first || i >= last || static_cast<u8>(word[i]) != ReMiddleDot) key[out++] = word[i];
  key[out] = '\0';
  return out;
}
