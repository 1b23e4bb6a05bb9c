// Subsets: a tree of named entry ranges (table 40) with optional stored entry
// bits (table 50). The caller selects subsets; the selection becomes the
// active entry vector that restricts searches and lists.
#pragma once

#include "re_blocks.h"
#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

// Selection values, one byte per selectable subset.
enum : u8 {
  ReSelUnion = 0,
  ReSelExcluded = 4,  // any odd value is turned into this
  ReSelIntersect = 2,
  ReSelSubtract = 6,
  ReSelSubtreeUnion = 8,      // added: the subtree takes part by union
  ReSelSubtreeExcluded = 16,  // added: the subtree is left out
};

constexpr u32 ReSubsetMaxDepth = 20;

// A selection given in place of the block's own.
struct ReSubsetOverride {
  u32 databaseId;
  const u8* selection;
};

// At open: lists the selectable subsets in the block, gives the handle its
// selection bytes and, when table 50 is read on demand, its cache. 0 or 8
// (-100, module 800).
u32 ReSetUpSubsets(ReDbRecord* record, ReWorkRecord* work, ReDbBlock* block, ReStatusBlock* status);

// Builds the active entry vector from the selection (REdb 460). 0, 4 (no
// subsets) or 8; a failure leaves every entry allowed.
u32 ReLoadSubsets(ReDbRecord* record, ReWorkRecord* work, ReDbBlock* block, const ReSubsetOverride* override,
                  ReStatusBlock* status);

// The entry bits of node `index` into `vector` (size bytes, cleared first),
// limited to entries 1 .. entry count. The vector, or null on a failed read
// or expansion.
u8* ReSubsetBits(ReDbRecord* record, ReWorkRecord* work, u8* vector, u32 size, const ReSubsetNode* nodes, u32 index);

// The selectable subset an entry belongs to, as an index into the block's
// subset list. 0 (also with no subsets, writing nothing) or 8.
u32 ReSubsetOfEntry(ReDbRecord* record, ReWorkRecord* work, i32 entry, u16* subset, ReStatusBlock* status);

// Expands run-length coded bits: 192-255 copy n-192 bytes, 128-191 n-128
// bytes of 255, 64-127 n-64 bytes of 0, 0-63 invalid. The bytes written, 0
// on failure (invalid control, input or output overrun).
u32 ReExpandRuns(u8* output, u32 outputSize, const u8* input, u32 inputLength);

// True when the active entry vector lets the entry through (every entry
// does while no vector is in force).
bool ReEntryInSubsets(const ReWorkRecord* work, u32 entry);

// Empties the block's subset fields: no subset list, selection or active subset.
void ReClearSubsetFields(ReDbBlock* block);

// Frees the handle's subset state: selection bytes, cache, active vector.
void ReFreeSubsetState(ReWorkRecord* work);
