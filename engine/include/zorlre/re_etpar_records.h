// Parsed dictionary entries: the engine-owned result of REetpar, which the
// main program reads field by field.
#pragma once

#include "re_types.h"

#pragma pack(push, 1)
// One sub-item of a parsed entry (a synonym, a cross reference, a sense).
struct ReEtParItem {
  char* text;
  char* second;  // its second text, or null
  u8 star;       // 1 when the second text is the mark "*"
  u16 group;     // group of the tag that opened it
  u32 number;    // the number after <IL>, or 0xFFFFFFFF
};

struct ReEtParEntry {
  char* headline;
  char* label1;  // string table (1, class), second string; null when absent
  char* label2;  // string table (2, group), first string; null when absent
  char* note;    // text after <CT> or <UN>, or null
  u8 classCode;
  i16 itemCount;
  ReEtParItem** items;
};

struct ReEtParResult {
  char* string00;  // string table (0, 0), first string, or null
  char* headword;  // text mode: the text after <WD>, or null
  i16 count;       // parsed entries
  i16 current;     // index of the entry parsed last or chosen
  ReEtParEntry** entries;
};
#pragma pack(pop)
RE_ASSERT_SIZE(ReEtParItem, 15);
RE_ASSERT_SIZE(ReEtParEntry, 23);
RE_ASSERT_SIZE(ReEtParResult, 16);

constexpr u32 ReNoItemNumber = 0xFFFFFFFFu;
