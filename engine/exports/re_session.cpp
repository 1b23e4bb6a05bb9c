// The session's exports: REapp (ordinal 2) opens (470) and closes (480) an
// engine session; REdb (ordinal 3) opens (470), re-configures (460) and
// closes (480) a database; REmemory (ordinal 9) makes, re-sizes and frees
// control blocks.
#include "re_control_blocks.h"
#include "re_database.h"
#include "re_frame.h"
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL REapp(void* block, u16 function, u16 action) {
  static const ReEntrySpec spec{ReModApp, {100}, {ReActOpen, ReActClose}, true};
  auto* app = static_cast<ReAppBlock*>(block);
  return ReRunEntry(app, spec, function, action, [&](ReStatusBlock* status) {
    if (action == ReActOpen)
      ReOpenSession(app, status);
    else
      ReCloseSession(app, status);
  });
}

RE_EXPORT u32 RE_CALL REdb(void* block, u16 function, u16 action) {
  static const ReEntrySpec spec{ReModDb, {100}, {ReActOpen, ReActReset, ReActClose}, true};
  auto* db = static_cast<ReDbBlock*>(block);
  return ReRunEntry(db, spec, function, action, [&](ReStatusBlock* status) {
    switch (action) {
      case ReActOpen: ReOpenDatabase(db, status); break;
      case ReActReset: ReApplyDatabaseOptions(db, status); break;
      default: ReCloseDatabase(db, status); break;
    }
  });
}

RE_EXPORT u32 RE_CALL REmemory(void** block, void* parent, u16 type, u16 action, u16 count) {
  return ReMemory(block, parent, type, action, count);
}
