#include "re_block_registry.h"

#include "re_platform.h"

namespace {

// One live block. The records form a list with the most recently used first:
// a caller works on a few blocks at a time.
struct Entry {
  const void* block;
  u16 type;
  u32 count;
  Entry* next;
};

Entry* g_entries = nullptr;
u32 g_count = 0;

// The record of a block, moved to the front; null when the block is none.
Entry* Find(const void* block) {
  if (!block) return nullptr;
  Entry** link = &g_entries;
  for (Entry* entry = g_entries; entry; link = &entry->next, entry = entry->next) {
    if (entry->block != block) continue;
    *link = entry->next;
    entry->next = g_entries;
    g_entries = entry;
    return entry;
  }
  return nullptr;
}

}  // namespace

bool ReRegisterBlock(const void* block, u16 type, u32 count) {
  if (!block || Find(block)) return false;
  auto* entry = static_cast<Entry*>(ReHeapAlloc(sizeof(Entry)));
  if (!entry) return false;
  entry->block = block;
  entry->type = type;
  entry->count = count;
  entry->next = g_entries;
  g_entries = entry;
  ++g_count;
  return true;
}

void ReForgetBlock(const void* block) {
  if (!Find(block)) return;
  Entry* entry = g_entries;  // Find moved it to the front
  g_entries = entry->next;
  --g_count;
  ReHeapFree(entry);
}

void ReSetBlockCount(const void* block, u32 count) {
  if (Entry* entry = Find(block)) entry->count = count;
}

u32 ReBlockCount(const void* block) {
  const Entry* entry = Find(block);
  return entry ? entry->count : 0;
}

u16 ReLiveBlockType(const void* block) {
  const Entry* entry = Find(block);
  return entry ? entry->type : u16{0};
}

u32 ReLiveBlockCount() { return g_count; }
