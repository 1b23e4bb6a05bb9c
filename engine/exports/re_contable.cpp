// REcontable (ordinal 15): hands the hits of the last concept collection on a
// database to the caller, between the collecting and the ranking calls.
#include "re_frame.h"
#include "re_handles.h"
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL REcontable(void* block, u32* hitTable, u32* hitCount) {
  auto* db = static_cast<ReDbBlock*>(block);
  if (!ReIsLive(db) || !db->status) return ReFail;
  ReStatusBlock* status = db->status;
  ReResetStatus(status);
  if (!hitTable || !hitCount) {
    ReSetStatus(status, ReSevError, ReErrNoSelection, ReModConTable);
    return ReFail;
  }
  ReDbRecord* record = nullptr;
  if (!ReFrameLock(db->handle, ReTagSearch, status, ReModConTable, &record, nullptr)) return status->status;
  *hitTable = record->conceptHitTable;
  *hitCount = record->conceptHitCount;
  ReFrameUnlock(db->handle, ReHandleFree, status, ReModConTable);
  return status->status;
}
