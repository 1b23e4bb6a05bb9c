#include "re_platform_faults.h"

#include "re_platform.h"

namespace {
u32 g_countdown = 0;
u32 g_allocations = 0;
i32 g_live = 0;
}  // namespace

void ReFailAllocationAfter(u32 countdown) { g_countdown = countdown; }

u32 ReAllocationCount() { return g_allocations; }

i32 ReLiveAllocations() { return g_live; }

bool ReAllocationShouldFail() {
  ++g_allocations;
  if (g_countdown == 0) return false;
  return --g_countdown == 0;
}

void ReNoteAllocated() { ++g_live; }

void ReNoteFreed() { --g_live; }
