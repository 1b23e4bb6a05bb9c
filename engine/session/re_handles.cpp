#include "re_handles.h"

#include <cstring>

namespace {

// Each list keeps creation order; a new node's id is the last node's id + 1,
// so ids grow along the list and a freed tail id is given again.
template <class Node>
struct List {
  Node* head = nullptr;
  i16 count = 0;
};

List<ReSessionNode> g_sessions;
List<ReDbNode> g_databases;
List<ReHandleNode> g_handles;

u16 IdOf(const ReSessionNode* node) { return node->id; }
u16 IdOf(const ReDbNode* node) { return node->id; }
u16 IdOf(const ReHandleNode* node) { return node->handle; }
void SetId(ReSessionNode* node, u16 id) { node->id = id; }
void SetId(ReDbNode* node, u16 id) { node->id = id; }
void SetId(ReHandleNode* node, u16 id) { node->handle = id; }

template <class Node>
Node* Append(List<Node>& list) {
  Node* last = list.head;
  while (last && last->next) last = last->next;
  const u32 id = last ? IdOf(last) + 1u : 1u;
  if (id >= ReNoHandle || list.count == 0x7FFF) return nullptr;  // 65535 is never an id
  auto* node = static_cast<Node*>(ReHeapAlloc(sizeof(Node)));
  if (!node) return nullptr;
  SetId(node, static_cast<u16>(id));
  if (last)
    last->next = node;
  else
    list.head = node;
  ++list.count;
  return node;
}

template <class Node>
u32 Remove(List<Node>& list, u16 id) {
  for (Node** link = &list.head; *link; link = &(*link)->next) {
    if (IdOf(*link) != id) continue;
    Node* node = *link;
    *link = node->next;
    ReHeapFree(node);
    --list.count;
    return ReDone;
  }
  return ReFail;
}

template <class Node>
Node* Find(const List<Node>& list, u16 id) {
  for (Node* node = list.head; node; node = node->next)
    if (IdOf(node) == id) return node;
  return nullptr;
}

bool TagsCompatible(u16 held, u16 wanted) { return held == wanted || held == ReTagStrTab || wanted == ReTagStrTab; }

}  // namespace

i32 ReNewSession(ReStatusBlock* status) {
  ReSessionNode* node = Append(g_sessions);
  if (!node) {
    ReSetHandleStatus(status, ReSevError, ReErrSessionMemory, ReModSessions);
    return -1;
  }
  return node->id;
}

u32 ReFreeSession(u16 id) { return Remove(g_sessions, id); }
ReSessionNode* ReFindSession(u16 id) { return Find(g_sessions, id); }

ReDbNode* ReNewDbNode() { return Append(g_databases); }
u32 ReFreeDbNode(u16 id) { return Remove(g_databases, id); }

ReDbNode* ReFindDbNode(u16 session, const char* directory, const char* fileName) {
  for (ReDbNode* node = g_databases.head; node; node = node->next) {
    if (node->session != session) continue;
    if (ReCompareString(node->directory, directory) == ReDone && ReCompareString(node->fileName, fileName) == ReDone)
      return node;
  }
  return nullptr;
}

ReHandleNode* ReNewHandleNode() { return Append(g_handles); }
u32 ReFreeHandleNode(u16 handle) { return Remove(g_handles, handle); }
ReHandleNode* ReFindHandle(u16 handle) { return Find(g_handles, handle); }
ReHandleNode* ReFirstHandle() { return g_handles.head; }

i16 ReSessionCount() { return g_sessions.count; }
i16 ReDbNodeCount() { return g_databases.count; }
i16 ReHandleCount() { return g_handles.count; }

void ReRefreshWorkRecord(ReWorkRecord* work) {
  ReHandleSearchState* search = work->search;
  search->workA = work->workA;
  search->workB = work->workB;
  // An inline reader buffer follows the record: re-base it, keeping the fill.
  if (ReCodeReader* reader = work->textReader; reader && (reader->flags & ReReaderInline)) {
    const auto filled = reader->bufferEnd - reader->buffer;
    reader->buffer = reinterpret_cast<u8*>(reader + 1);
    reader->bufferEnd = reader->buffer + filled;
  }
  if (ReSlotPool* pool = work->smallPool) {
    pool->nextFree = pool->slots;
    pool->used = 0;
  }
  if (!work->activeVector) work->allEntries = true;
  // Later layers re-derive their per-handle pointers here.
}

void ReRefreshIndexDescriptor(ReDbRecord* record, ReFileHandle file) {
  ReIndexDescriptor* index = record->index;
  if (index) {
    const ReIndexTables& tables = record->mainTables;
    index->blockFirst = reinterpret_cast<const u32*>(tables.blockArrays[0].data);
    index->blockSecond = reinterpret_cast<const u32*>(tables.blockArrays[1].data);
    index->blockThird = tables.blockArrays[2].data;
    index->blockFourth = tables.blockArrays[3].data;
    index->table240 = tables.table240.data;
    index->table250 = tables.table250.data;
    index->table260 = tables.table260.data;
    index->table270 = tables.table270.data;
    index->file = file;
  }
  record->searchIndex.file = file;
  if (ReTable& automaton = record->charAutomaton; automaton.data) {
    const u32 head = 4 + 4 * record->automaton.valueCount;
    record->automaton.values = reinterpret_cast<const u32*>(automaton.data + 4);
    record->automaton.entries = reinterpret_cast<const u16*>(automaton.data + head);
  }
}

u32 ReLockHandle(u16 handle, u16 tag, ReDbRecord** record, ReWorkRecord** work, ReStatusBlock* status) {
  ReHandleNode* node = ReFindHandle(handle);
  if (!node) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleInvalid, ReModHandles);
    return ReFail;
  }
  if (node->state == ReHandleLocked) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleLocked, ReModHandles);
    return ReFail;
  }
  // Only the handle's own reservation counts: the file's other handles are
  // not held by it.
  if (node->state == ReHandleReserved && !TagsCompatible(node->tag, tag)) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleReserved, ReModHandles);
    return ReFail;
  }
  // Checked before the state changes, so a failed lock leaves the handle as it was.
  if (!node->work || !node->work->search || !node->database || !node->database->record) return ReFail;

  node->state = ReHandleLocked;
  node->tag = tag;
  ReWorkRecord* workRecord = node->work;
  ReRefreshWorkRecord(workRecord);
  ReDbNode* database = node->database;
  if (++database->lockCount == 1) ReRefreshIndexDescriptor(database->record, workRecord->file);
  workRecord->status = status;
  if (record) *record = database->record;
  if (work) *work = workRecord;
  return ReDone;
}

u32 ReUnlockHandle(u16 handle, u16 newState, ReStatusBlock* status) {
  ReHandleNode* node = ReFindHandle(handle);
  if (!node) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleInvalid, ReModHandles);
    return ReFail;
  }
  if (node->state != ReHandleLocked) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleNotLocked, ReModHandles);
    return ReFail;
  }
  if (newState == ReHandleReserved) {
    node->state = ReHandleReserved;
  } else {
    node->state = ReHandleFree;
    node->tag = ReTagNone;
  }
  u32 result = ReDone;
  if (status && status->status == ReFail) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    result = ReFail;
  }
  ReDbNode* database = node->database;
  if (--database->lockCount < 0) {
    database->lockCount = 0;
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    return ReFail;
  }
  return result;
}
