// REentlst (ordinal 5): entry lists. Function 240 finds the entries whose
// headword is a given word; function 230 pages through the entries of the
// current subset. Both fill the block's 18-byte slots with entries and titles.
#pragma once

#include "re_blocks.h"
#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

// The paging record of function 230, kept per handle between its calls.
struct ReEntryPages {
  u32 next;          // next entry to look at
  u32 last;          // the entry count
  i16 state;         // 0, -352 the list has ended, -337 an entry is held over
  u32 held;          // the held-over entry
  u32 listed;        // entries listed so far
  u32 subsetSize;    // entries of the subset
  char buffer[256];  // the beginning of the entry whose title is cut
};

// Function 240 (470): the headword lookup. Codes with modules 450, 850, 460.
void ReHeadwordLookup(ReEntListBlock* block, ReStatusBlock* status);
// Function 230 (470, 430, 480): pages of the current subset. Module 810.
void ReEntryPage(ReEntListBlock* block, u16 action, ReStatusBlock* status);
// Frees the paging record of a handle (at 480 and when the handle closes).
void ReFreeEntryPages(ReWorkRecord* work);
