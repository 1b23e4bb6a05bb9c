#include "in_load.h"

#include "re_file.h"

bool InFileLength(ReFileHandle file, u32* length) {
  const i32 end = RePlatformSeek(file, 0, 2);
  if (end < 0 || RePlatformSeek(file, 0, 0) != 0) return false;
  *length = static_cast<u32>(end);
  return true;
}

bool InReadFully(ReFileHandle file, void* buffer, u32 count) {
  if (count == 0) return true;
  if (count > 0x7FFFFFFFu) return false;
  u32 got = 0;
  return ReReadExact(file, static_cast<i32>(count), buffer, &got) == ReDone && got == count;
}

u8* InAllocTable(u32 size, bool* failed) {
  if (size == 0) return nullptr;
  auto* table = static_cast<u8*>(ReHeapAlloc(size));
  if (!table) *failed = true;
  return table;
}

u8* InFreeTable(u8* table) {
  if (table) ReHeapFree(table);
  return nullptr;
}
