// REapp (ordinal 2): opens (470) and closes (480) an engine session.
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
