// Engine memory: movable global blocks that are locked once after allocation
// and stay locked until they are freed (database and work records, the
// directory copy, every loaded table).
#pragma once

#include "re_platform.h"
#include "re_types.h"

struct ReGlobalBlock {
  ReMemHandle memory;
  u8* data;  // null when not allocated
  u32 size;
};

// Allocates `size` zero-filled bytes (at least one) and locks them.
bool ReAllocGlobal(ReGlobalBlock* block, u32 size);
// Unlocks and frees; the block is cleared. Safe on an empty block.
void ReFreeGlobal(ReGlobalBlock* block);

// Heap memory sized in 64 bits: fails instead of wrapping.
void* ReHeapAllocChecked(u64 size);
