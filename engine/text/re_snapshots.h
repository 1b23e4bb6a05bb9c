// Snapshot tables: copies of a reader's state taken at intervals, so that
// reading can resume near any position without starting the entry again.
#pragma once

#include "re_types.h"

// Each record begins with its u32 key (a token number or a text position).
// A snapshot is kept every 2^shift keys; when the table is full every second
// one is dropped and the interval doubles.
struct ReSnapshotTable {
  u16 used;
  u8 shift;
  u16 capacity;
  u16 recordSize;
  u8* records;
};

// Allocates capacity records of recordSize bytes (at least 4). False on no memory.
bool ReInitSnapshots(ReSnapshotTable* table, u16 capacity, u16 recordSize, u8 shift);
void ReFreeSnapshots(ReSnapshotTable* table);
// Empties the table and sets the interval back to 2^shift.
void ReClearSnapshots(ReSnapshotTable* table, u8 shift);

// Offers the state at `key`: it is kept when the key has reached the next
// multiple of the interval. Record slot i holds a key of at least (i + 1) x 2^shift.
void ReOfferSnapshot(ReSnapshotTable* table, u32 key, const void* record);

// The last kept record whose key is at most `key`, or null.
const void* ReFindSnapshot(const ReSnapshotTable* table, u32 key);

// The key a record begins with.
u32 ReSnapshotKey(const void* record);

// True when a record offered at `key` would be kept (to skip building it otherwise).
inline bool ReSnapshotDue(const ReSnapshotTable* table, u32 key) {
  return table->records && table->shift < 31 && key >= (static_cast<u64>(table->used) + 1u) << table->shift;
}
