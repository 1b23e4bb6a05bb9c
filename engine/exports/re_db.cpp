// REdb (ordinal 3): opens (470), re-configures (460) and closes (480) a
// database.
#include "re_database.h"
#include "re_frame.h"
#include "zorlre32.h"

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
