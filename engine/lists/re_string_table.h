// The string table of a database: short texts addressed by two 16-bit keys.
// Layout (big-endian): u16 version, u16 capability mask, u16 record count,
// then the records of 8 bytes {u16 first key, u16 second key, u16 offset of
// the first string, u16 offset of the second string}, sorted by the two keys
// as signed numbers, then the pool of NUL-terminated strings; the offsets count
// from the pool's start.
#pragma once

#include "re_blocks.h"
#include "re_status.h"
#include "re_types.h"

constexpr u32 ReStringTableHeadSize = 6;
constexpr u32 ReStringRecordSize = 8;

struct ReStringTable {
  const u8* data;  // the table as loaded, or null when the database has none
  u32 size;
};

struct ReStringTableHead {
  u16 version;
  u16 capabilityMask;
  u16 count;
};

// Reads the head; false when the table is missing or shorter than its records.
bool ReReadStringTableHead(const ReStringTable& table, ReStringTableHead* head);

// Finds the record with the two keys and its first or second string.
// 0 found (text and length set), 4 no such record, 8 the record points
// outside the pool or its string has no end there.
u32 ReFindTableString(const ReStringTable& table, u16 key1, u16 key2, bool second, const char** text, u32* length);

// REstrtab once its codes are checked: looks the block's keys up in the
// string table of the block's database (function 110 the second string,
// else the first) and copies the string into the block's buffer. 0 found;
// otherwise 4 or 8, with -456 in module 755 beside the cause.
u32 ReLookUpString(ReStrTabBlock* block, u16 function, ReStatusBlock* status);
