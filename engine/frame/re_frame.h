// The frame every exported entry point runs in: null block, status reset,
// function and action checks, the lock of the named handle, and the return
// value.
#pragma once

#include <initializer_list>

#include "re_block_registry.h"
#include "re_status.h"
#include "re_types.h"

struct ReDbRecord;
struct ReWorkRecord;

struct ReEntrySpec {
  u16 module;                            // the entry point's own module
  std::initializer_list<u16> functions;  // known function codes
  std::initializer_list<u16> actions;    // known action codes
  // REapp and REdb: an unknown function is only a warning, and every path
  // that does not fail returns 0.
  bool lenient;
};

// Steps 2 to 4 once the block is known not to be null: reset the status and
// check the codes. False when the call must end now.
bool ReEnterCall(ReStatusBlock* status, const ReEntrySpec& spec, u16 function, u16 action);

// The value an entry point returns for the status it leaves.
u32 ReCallResult(const ReStatusBlock* status, const ReEntrySpec& spec);

// Step 5: lock the handle for the operation (-250 in `module` on failure) and
// unlock it (-252). Both return true on success.
bool ReFrameLock(u16 handle, u16 tag, ReStatusBlock* status, u16 module, ReDbRecord** record, ReWorkRecord** work);
bool ReFrameUnlock(u16 handle, u16 newState, ReStatusBlock* status, u16 module);

// Steps 1 and 2 of an entry point over a block with a `status` member: the
// block's status record, reset for the call; null when the block is not live
// or has no status record (the call then fails without a report).
template <class Block>
ReStatusBlock* ReStartCall(Block* block) {
  if (!ReIsLive(block) || !block->status) return nullptr;
  ReResetStatus(block->status);
  return block->status;
}

// Refuses a call: error `code` in `module`; returns 8.
u32 ReRefuse(ReStatusBlock* status, i16 code, u16 module);

// A whole entry point over a block with a `status` member: `work(status)`
// runs once the frame's checks pass.
template <class Block, class Work>
u32 ReRunEntry(Block* block, const ReEntrySpec& spec, u16 function, u16 action, Work&& work) {
  if (!ReIsLive(block)) return ReFail;
  ReStatusBlock* status = block->status;
  if (!status) return ReFail;  // a block without its status record cannot report
  if (ReEnterCall(status, spec, function, action)) work(status);
  return ReCallResult(status, spec);
}
