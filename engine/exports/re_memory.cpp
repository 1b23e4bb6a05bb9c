// REmemory (ordinal 9): makes, re-sizes and frees control blocks.
#include "re_control_blocks.h"
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL REmemory(void** block, void* parent, u16 type, u16 action, u16 count) {
  return ReMemory(block, parent, type, action, count);
}
