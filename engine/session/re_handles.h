// Resource handles: the process-wide lists of sessions, open database files
// and database handles, and the lock that brackets every operation on a
// database. All codes go to the handle-error field with module 275.
#pragma once

#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

// Handle states.
enum : u16 {
  ReHandleFree = 0,
  ReHandleReserved = 2,  // held between the pages of a paged operation
  ReHandleLocked = 4,
  ReHandleNew = 10,
};

// Tags: the kind of operation holding (or last holding) a handle.
enum : u16 {
  ReTagNone = 10,
  ReTagDb = 12,
  ReTagSpelling = 14,
  ReTagAnagram = 16,
  ReTagWildcard = 18,
  ReTagSearch = 20,
  ReTagText = 22,
  ReTagTermLookup = 26,
  ReTagSubset = 28,
  ReTagStrTab = 34,  // compatible with any reservation
  ReTagInflected = 36,
};

constexpr u16 ReNoHandle = 65535;  // never names a handle

struct ReSessionNode {
  u16 id;
  ReSessionNode* next;
};

struct ReDbNode {
  u16 id;
  u16 session;
  char directory[ReNameSize];
  char fileName[ReNameSize];
  i16 openCount;  // handles on this node
  i16 lockCount;  // lock nesting over all its handles
  ReMemHandle recordMemory;
  ReDbRecord* record;
  ReDbNode* next;
};

struct ReHandleNode {
  u16 handle;
  u16 session;
  u16 tag;
  u16 state;
  ReDbNode* database;
  ReMemHandle workMemory;
  ReWorkRecord* work;
  ReHandleNode* next;
};

// Sessions. ReNewSession returns the id, or -1 (-230, module 160).
i32 ReNewSession(ReStatusBlock* status);
u32 ReFreeSession(u16 id);
ReSessionNode* ReFindSession(u16 id);

// Database nodes and handle nodes: created at the end of their list with the
// next id; freeing only unlinks and frees the node (8 when the id is unknown).
ReDbNode* ReNewDbNode();
u32 ReFreeDbNode(u16 id);
ReDbNode* ReFindDbNode(u16 session, const char* directory, const char* fileName);
ReHandleNode* ReNewHandleNode();
u32 ReFreeHandleNode(u16 handle);
ReHandleNode* ReFindHandle(u16 handle);
ReHandleNode* ReFirstHandle();

i16 ReSessionCount();
i16 ReDbNodeCount();
i16 ReHandleCount();

// Locks a handle for an operation of the given tag and hands out the
// database record and the work record. 0 or 8.
u32 ReLockHandle(u16 handle, u16 tag, ReDbRecord** record, ReWorkRecord** work, ReStatusBlock* status);
// Unlocks; new state 0 frees the handle, 2 reserves it for the same tag.
u32 ReUnlockHandle(u16 handle, u16 newState, ReStatusBlock* status);

// Re-derives the pointers of a work record and of the index descriptor from
// the records they point into (the lock does this).
void ReRefreshWorkRecord(ReWorkRecord* work);
void ReRefreshIndexDescriptor(ReDbRecord* record, ReFileHandle file);
