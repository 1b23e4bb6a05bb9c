// Loading the inflection files: exact reads, the length of an open file, and
// the engine's zero-filled allocations for the tables.
#pragma once

#include "re_platform.h"
#include "re_types.h"

// Length of an open file; the read position is put back at the start.
bool InFileLength(ReFileHandle file, u32* length);
// Reads exactly `count` bytes (count 0 reads nothing).
bool InReadFully(ReFileHandle file, void* buffer, u32 count);
// A zero-filled table of `size` bytes; null for size 0 and on failure (*failed then set).
u8* InAllocTable(u32 size, bool* failed);
// Frees a table; returns null for the field that held it (fields of the
// packed contexts cannot be passed by address).
u8* InFreeTable(u8* table);

// Frees the tables that both kinds of context load from their .ram file:
// tags, tables A and B, the rule values and the record keys and phrases of
// the .dsk records.
template <class Context>
void InFreeRamTables(Context* c) {
  c->tags = InFreeTable(c->tags);
  c->tableA = InFreeTable(c->tableA);
  c->endings = InFreeTable(c->endings);
  c->ruleValues = InFreeTable(c->ruleValues);
  c->firstValues = c->secondValues = nullptr;
  c->recordKeys = InFreeTable(c->recordKeys);
  c->phraseOffsets = InFreeTable(c->phraseOffsets);
  c->phraseLengths = InFreeTable(c->phraseLengths);
  c->phrasePool = InFreeTable(c->phrasePool);
}
