// Character classes: 256 entries of 32 class bits, chosen by the database kind.
#pragma once

#include "re_types.h"

enum : u32 {
  ReClassH = 1u << 31,
  ReClassUpper = 1u << 30,
  ReClassLower = 1u << 29,
  ReClassVowel = 1u << 28,
  ReClassDigit = 1u << 27,
  ReClassAcute = 1u << 26,
  ReClassSpace = 1u << 25,
  ReClassPunct = 1u << 24,
  ReClassPunct23 = 1u << 23,
  ReClassPunct22 = 1u << 22,
  ReClassPunct21 = 1u << 21,
  ReClassControl = 1u << 20,
  ReClassPlainVowel = 1u << 19,
  ReClassDiaeresis = 1u << 18,
  ReClassGrave = 1u << 17,
  ReClassCircumflex = 1u << 14,
  ReClassPunct13 = 1u << 13,
  ReClassLetterI = 1u << 12,
  ReClassLetterEI = 1u << 11,
  ReClassSeparator = 1u << 10,
  ReClassSymbol = 1u << 9,
  ReClassCurrency = 1u << 8,
  ReClassRoman = 1u << 7,
  ReClassOrdinal = 1u << 6,
  ReClassPunct5 = 1u << 5,
  ReClassPunct4 = 1u << 4,
};

// The table for a database kind, or null (kinds 0, 2, 4, 15, 18 and above 18).
const u32* ReCharClassTable(u8 kind);

// The table a database's words are read with: its kind's (the low byte of
// the header word), or kind 1's for a kind without one.
const u32* ReWordClassTable(u16 kind);
