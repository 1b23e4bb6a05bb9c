// The engine's only platform calls: files by handle and Windows-style memory.
// On Windows these are the real calls; natively they are emulated over POSIX.
// A fault-injection hook lets tests make the n-th allocation fail.
#pragma once

#include "re_types.h"

using ReFileHandle = i32;  // the platform's file handle; -1 is none
constexpr ReFileHandle ReNoFile = -1;

// Open flags of the platform's plain open call (low bits access, then sharing).
enum : u16 {
  RePlatRead = 0x00,
  RePlatWrite = 0x01,
  RePlatReadWrite = 0x02,
  RePlatShareExclusive = 0x10,
  RePlatShareDenyWrite = 0x20,
};

ReFileHandle RePlatformOpen(const char* path, u16 flags);               // -1 on failure
ReFileHandle RePlatformCreate(const char* path);                        // create or truncate; -1 on failure
bool RePlatformClose(ReFileHandle file);                                // false on failure
i32 RePlatformSeek(ReFileHandle file, i32 offset, i16 origin);          // new position, -1 on failure
u32 RePlatformRead(ReFileHandle file, void* buffer, u32 count);         // bytes read, 0xFFFFFFFF on error
i32 RePlatformLargeRead(ReFileHandle file, void* buffer, i32 count);    // bytes read, -1 on error
u32 RePlatformWrite(ReFileHandle file, const void* buffer, u32 count);  // bytes written, 0xFFFFFFFF on error
bool RePlatformFileExists(const char* path);

// Global memory: movable, zero-filled blocks addressed by a handle.
using ReMemHandle = void*;
ReMemHandle ReGlobalAlloc(u32 size);  // movable and zero-filled; null on failure
void* ReGlobalLock(ReMemHandle memory);
void ReGlobalUnlock(ReMemHandle memory);
void ReGlobalFree(ReMemHandle memory);

// Local memory (path buffers) and the zero-filled heap (blocks, small buffers).
void* ReLocalAlloc(u32 size);  // zero-filled
void ReLocalFree(void* memory);
void* ReHeapAlloc(u32 size);  // zero-filled
void ReHeapFree(void* memory);
// Bytes a ReHeapAlloc block holds (at least the size asked for; 0 for null).
u32 ReHeapSize(const void* memory);

// Test hook: the allocation that comes `countdown` allocations from now fails
// (1 = the next one); 0 switches failures off. Counts every allocation above.
void ReFailAllocationAfter(u32 countdown);
// Number of allocations made since start (tests use it to size fault sweeps).
u32 ReAllocationCount();
// Blocks allocated and not yet freed, over every allocator above.
i32 ReLiveAllocations();
