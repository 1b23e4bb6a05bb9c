// Loading the inflection files: exact reads, the length of an open file, and
// the engine's zero-filled allocations for the tables.
#pragma once

#include "re_bytes.h"
#include "re_platform.h"
#include "re_types.h"

// Flags of header byte 14 of a .ram file: tables A and B are there.
enum : u8 { InFlagTableA = 0x80, InFlagEndings = 0x20 };

// Stores the header fields that both kinds of .ram file hold at the same
// places (big-endian): the counts of tags, of tables A and B and of rules,
// the flags, the .dsk records' length and count, their code width and
// phrase count, and word 20.
template <class Context>
void InStoreRamHeader(Context* c, const u8* header) {
  c->tagCount = ReBe16(header + 0);
  c->flags = header[14];
  c->tableACount = (c->flags & InFlagTableA) ? ReBe16(header + 4) : 0;
  c->endingCount = (c->flags & InFlagEndings) ? ReBe16(header + 6) : 0;
  c->ruleCount = ReBe16(header + 8);
  c->recordLength = ReBe16(header + 15);
  c->codeWidth = header[17];
  c->phraseCount = ReBe16(header + 18);
  c->header20 = ReBe16(header + 20);
  c->recordCount = ReBe16(header + 24);
}

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

// The rule-value block, 4 bytes a rule: the first values, then the second.
template <class Context>
void InAllocRuleValues(Context* c, bool* failed) {
  c->ruleValues = InAllocTable(c->ruleCount * 4u, failed);
  c->firstValues = c->ruleValues;
  c->secondValues = c->ruleValues ? c->ruleValues + c->ruleCount * 2u : nullptr;
}
