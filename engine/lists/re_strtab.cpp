// REstrtab's look-up: a string of the database's string table by its two
// keys, copied into the block's buffer.
#include <cstring>

#include "re_frame.h"
#include "re_handles.h"
#include "re_lists_codes.h"
#include "re_string_table.h"

namespace {

constexpr u16 kAlwaysAccepted = 0x80;

bool OptionsAccepted(u16 request, u16 capabilities) {
  if (!(request & (capabilities | kAlwaysAccepted))) return false;
  return (request & ~kAlwaysAccepted & ~capabilities) == 0;
}

// The look-up once the handle is locked: 0 found, 4 refused or absent, 8 a
// string the buffer or the table cannot hold.
u32 Look(ReStrTabBlock* block, u16 function, const ReDbRecord* record, ReStatusBlock* status) {
  // The buffer was sized for the database the block was made for.
  if (block->databaseId != record->databaseId) {
    ReSetStatus(status, ReSevError, ReErrSelectionDb, ReModStrTab);
    return ReFail;
  }
  const ReStringTable table{record->stringTable.data, record->stringTable.length};
  ReStringTableHead head;
  if (!ReReadStringTableHead(table, &head)) return table.data ? ReFail : ReWarn;
  if (block->version != 0 && block->version != head.version) {
    ReSetStatus(status, ReSevWarning, ReWarnVersion, ReModStrTab);
    return ReWarn;
  }
  if (!OptionsAccepted(block->optionMask, head.capabilityMask)) {
    ReSetStatus(status, ReSevWarning, ReWarnOptionMask, ReModStrTab);
    return ReWarn;
  }
  const char* text = nullptr;
  u32 length = 0;
  const u32 found =
      ReFindTableString(table, block->firstKey, block->secondKey, function == ReFnSecondString, &text, &length);
  if (found != ReDone) return found;
  // The buffer holds the database's longest string and its NUL.
  if (length > record->stringTableSize) return ReFail;
  std::memcpy(block->text, text, length + 1);
  return ReDone;
}

}  // namespace

u32 ReLookUpString(ReStrTabBlock* block, u16 function, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  const u16 handle = block->handle;
  // A look-up may come between the pages of a paged list: the handle goes
  // back to that list's reservation afterwards, not to free.
  const ReHandleNode* node = ReFindHandle(handle);
  const bool reserved = node && node->state == ReHandleReserved;
  const u16 reservedTag = node ? node->tag : u16{ReTagNone};
  if (!ReFrameLock(handle, ReTagStrTab, status, ReModStrTab, &record, nullptr)) return ReFail;
  u32 result = Look(block, function, record, status);
  const u16 after = reserved ? u16{ReHandleReserved} : u16{ReHandleFree};
  if (!ReFrameUnlock(handle, after, status, ReModStrTab))
    result = ReFail;
  else if (reserved)
    ReFindHandle(handle)->tag = reservedTag;
  // Every result but 0 also carries -456 with its severity.
  if (result != ReDone) ReSetStatus(status, static_cast<u16>(result), ReErrNotFound, ReModStrTab);
  return status->status;
}
