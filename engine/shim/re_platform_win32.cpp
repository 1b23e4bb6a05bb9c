// Windows: the real file and memory calls.
#include <windows.h>

#include "re_platform.h"
#include "re_platform_faults.h"

ReFileHandle RePlatformOpen(const char* path, u16 flags) {
  HFILE file = _lopen(path, flags);
  return file == HFILE_ERROR ? ReNoFile : static_cast<ReFileHandle>(file);
}

ReFileHandle RePlatformCreate(const char* path) {
  HFILE file = _lcreat(path, 0);
  return file == HFILE_ERROR ? ReNoFile : static_cast<ReFileHandle>(file);
}

bool RePlatformClose(ReFileHandle file) { return _lclose(static_cast<HFILE>(file)) != HFILE_ERROR; }

i32 RePlatformSeek(ReFileHandle file, i32 offset, i16 origin) {
  LONG position = _llseek(static_cast<HFILE>(file), offset, origin);
  return position == HFILE_ERROR ? -1 : position;
}

u32 RePlatformRead(ReFileHandle file, void* buffer, u32 count) {
  return _lread(static_cast<HFILE>(file), buffer, count);
}

i32 RePlatformLargeRead(ReFileHandle file, void* buffer, i32 count) {
  return _hread(static_cast<HFILE>(file), buffer, count);
}

u32 RePlatformWrite(ReFileHandle file, const void* buffer, u32 count) {
  return _lwrite(static_cast<HFILE>(file), static_cast<LPCCH>(buffer), count);
}

bool RePlatformFileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

ReMemHandle ReGlobalAlloc(u32 size) {
  if (ReAllocationShouldFail()) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
  if (memory) ReNoteAllocated();
  return memory;
}

void* ReGlobalLock(ReMemHandle memory) { return memory ? GlobalLock(static_cast<HGLOBAL>(memory)) : nullptr; }

void ReGlobalUnlock(ReMemHandle memory) {
  if (memory) GlobalUnlock(static_cast<HGLOBAL>(memory));
}

void ReGlobalFree(ReMemHandle memory) {
  if (!memory) return;
  GlobalFree(static_cast<HGLOBAL>(memory));
  ReNoteFreed();
}

void* ReLocalAlloc(u32 size) {
  if (ReAllocationShouldFail()) return nullptr;
  void* memory = LocalAlloc(LPTR, size ? size : 1);
  if (memory) ReNoteAllocated();
  return memory;
}

void ReLocalFree(void* memory) {
  if (!memory) return;
  LocalFree(memory);
  ReNoteFreed();
}

void* ReHeapAlloc(u32 size) {
  if (ReAllocationShouldFail()) return nullptr;
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size ? size : 1);
  if (memory) ReNoteAllocated();
  return memory;
}

void ReHeapFree(void* memory) {
  if (!memory) return;
  HeapFree(GetProcessHeap(), 0, memory);
  ReNoteFreed();
}

u32 ReHeapSize(const void* memory) {
  if (!memory) return 0;
  const SIZE_T size = HeapSize(GetProcessHeap(), 0, memory);
  return size == static_cast<SIZE_T>(-1) ? 0 : static_cast<u32>(size);
}
