#include "re_snapshots.h"

#include <cstring>

#include "re_platform.h"

bool ReInitSnapshots(ReSnapshotTable* table, u16 capacity, u16 recordSize, u8 shift) {
  *table = ReSnapshotTable{};
  if (capacity < 2 || recordSize < 4) return false;
  table->records = static_cast<u8*>(ReHeapAlloc(static_cast<u32>(capacity) * recordSize));
  if (!table->records) return false;
  table->capacity = capacity;
  table->recordSize = recordSize;
  table->shift = shift;
  return true;
}

void ReFreeSnapshots(ReSnapshotTable* table) {
  ReHeapFree(table->records);
  *table = ReSnapshotTable{};
}

void ReClearSnapshots(ReSnapshotTable* table, u8 shift) {
  table->used = 0;
  table->shift = shift;
}

u32 ReSnapshotKey(const void* record) {
  u32 key;
  std::memcpy(&key, record, sizeof key);
  return key;
}

void ReOfferSnapshot(ReSnapshotTable* table, u32 key, const void* record) {
  if (!table->records) return;
  for (;;) {
    if (table->shift >= 31) return;
    const u64 next = static_cast<u64>(table->used + 1u) << table->shift;
    if (key < next) return;
    if (table->used < table->capacity) break;
    // Full: keep every second snapshot (the odd slots move down), double the interval.
    const u32 size = table->recordSize;
    for (u32 i = 1, to = 0; i < table->used; i += 2, ++to)
      std::memmove(table->records + to * size, table->records + i * size, size);
    table->used = static_cast<u16>(table->used / 2);
    ++table->shift;
  }
  std::memcpy(table->records + static_cast<u32>(table->used) * table->recordSize, record, table->recordSize);
  ++table->used;
}

const void* ReFindSnapshot(const ReSnapshotTable* table, u32 key) {
  const void* found = nullptr;
  for (u32 i = 0; i < table->used; ++i) {
    const u8* record = table->records + i * table->recordSize;
    if (ReSnapshotKey(record) > key) break;
    found = record;
  }
  return found;
}
