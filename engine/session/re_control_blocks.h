// REmemory: allocates, re-sizes (resets) and frees the control blocks of
// types 510 to 590 with their status records and buffers. It writes no
// status codes: it returns 0 or 8.
#pragma once

#include "re_blocks.h"
#include "re_types.h"

constexpr u16 ReDefaultIdxResults = 20;
constexpr u16 ReDefaultTokenUnits = 1024;
constexpr u16 ReDefaultHitSlots = 50;

u32 ReMemory(void** block, void* parent, u16 type, u16 action, u16 count);

// The parse result REetpar hangs on its block goes with the block: REetpar
// names the function that frees it before it makes the first one.
using ReEtParReleaseHook = void (*)(void* result);
void ReSetEtParResultRelease(ReEtParReleaseHook release);
