// Sessions and databases: opening a database builds the shared database
// record (once per file and session) and a work record per handle, and fills
// the database block; closing undoes it in reverse.
#pragma once

#include "re_blocks.h"
#include "re_handles.h"
#include "re_status.h"
#include "re_types.h"

constexpr u16 ReOptionDefault = 128;  // always accepted; stored when a mask is refused

// REapp 470 / 480.
void ReOpenSession(ReAppBlock* block, ReStatusBlock* status);
void ReCloseSession(ReAppBlock* block, ReStatusBlock* status);

// REdb 470 / 460 / 480.
void ReOpenDatabase(ReDbBlock* block, ReStatusBlock* status);
void ReApplyDatabaseOptions(ReDbBlock* block, ReStatusBlock* status);
void ReCloseDatabase(ReDbBlock* block, ReStatusBlock* status);

// Closes one handle (REdb 480 without a block when `block` is null): frees
// its work record and node, and the database node with its record when it
// was the last handle. 0 or 8 (-256 in module 250 on any failure).
u32 ReCloseHandle(u16 handle, ReDbBlock* block, ReStatusBlock* status);

// A mask is accepted when it shares a bit with the capability mask or holds
// 128, and has no bit outside the capability mask other than 128.
bool ReOptionMaskAccepted(u16 mask, u16 capabilities);
