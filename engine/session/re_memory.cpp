#include "re_memory.h"

bool ReAllocGlobal(ReGlobalBlock* block, u32 size) {
  *block = ReGlobalBlock{};
  ReMemHandle memory = ReGlobalAlloc(size ? size : 1);
  if (!memory) return false;
  auto* data = static_cast<u8*>(ReGlobalLock(memory));
  if (!data) {
    ReGlobalFree(memory);
    return false;
  }
  block->memory = memory;
  block->data = data;
  block->size = size;
  return true;
}

void ReFreeGlobal(ReGlobalBlock* block) {
  if (block->memory) {
    ReGlobalUnlock(block->memory);
    ReGlobalFree(block->memory);
  }
  *block = ReGlobalBlock{};
}

void* ReHeapAllocChecked(u64 size) {
  if (size > 0x7FFFFFFFull) return nullptr;
  return ReHeapAlloc(static_cast<u32>(size));
}
