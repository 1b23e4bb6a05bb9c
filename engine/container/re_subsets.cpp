#include "re_subsets.h"

#include <algorithm>
#include <cstring>

#include "re_block_registry.h"
#include "re_file.h"
#include "re_memory.h"

namespace {

const ReSubsetNode* Nodes(const ReDbRecord* record) {
  return reinterpret_cast<const ReSubsetNode*>(record->subsetNodes.data);
}

u32 VectorSize(const ReDbRecord* record) { return record->entryCount / 8 + 1; }

void SetBit(u8* vector, u32 bit) { vector[bit / 8] |= static_cast<u8>(1u << (bit % 8)); }
bool BitSet(const u8* vector, u32 bit) { return vector[bit / 8] & (1u << (bit % 8)); }

// Bytes [offset, offset + length) of table 50, from memory, the handle's
// cache, or (longer than the cache) a temporary buffer the caller frees.
const u8* ReadStoredBytes(ReDbRecord* record, ReWorkRecord* work, u32 offset, u32 length, u8** temporary) {
  *temporary = nullptr;
  const u32 tableLength = record->subsetBits.data ? record->subsetBits.length : record->subsetBitsLength;
  if (offset > tableLength || length > tableLength - offset) return nullptr;
  if (record->subsetBits.data) return record->subsetBits.data + offset;
  if (!record->subsetBitsCached || !work) return nullptr;
  const u64 fileOffset = static_cast<u64>(record->subsetBitsOffset) + offset;
  if (length > record->cacheSize) {
    *temporary = static_cast<u8*>(ReHeapAlloc(length));
    if (!*temporary) return nullptr;
    if (ReReadAt(work->file, static_cast<u32>(fileOffset), length, *temporary) == ReDone) return *temporary;
    ReHeapFree(*temporary);
    *temporary = nullptr;
    return nullptr;
  }
  if (!work->subsetCache) {
    work->subsetCache = static_cast<u8*>(ReHeapAlloc(record->cacheSize));
    if (!work->subsetCache) return nullptr;
    work->cacheFilled = 0;
  }
  const bool cached = offset >= work->cacheStart && offset - work->cacheStart + length <= work->cacheFilled;
  if (!cached) {
    const u32 fill = std::min(record->cacheSize, tableLength - offset);
    work->cacheFilled = 0;
    if (ReReadAt(work->file, static_cast<u32>(fileOffset), fill, work->subsetCache) != ReDone) return nullptr;
    work->cacheStart = offset;
    work->cacheFilled = fill;
  }
  return work->subsetCache + (offset - work->cacheStart);
}

// Coded bits run to the next stored offset of a later node, or to the end of
// table 50.
u32 CodedEnd(const ReDbRecord* record, const ReSubsetNode* nodes, u32 index, u32 offset) {
  u32 end = record->subsetBits.data ? record->subsetBits.length : record->subsetBitsLength;
  for (u32 i = index + 1; i < record->subsetNodeCount; ++i) {
    const u32 stored = nodes[i].storedBits;
    if (stored && stored - 1 > offset) end = std::min(end, stored - 1);
  }
  return end;
}

u32 SubtreeEnd(const ReSubsetNode* nodes, u32 count, u32 index) {
  u32 next = index + 1;
  while (next < count && nodes[next].level > nodes[index].level) ++next;
  return next;
}

// --- Building the active vector --------------------------------------------

struct Walk {
  ReDbRecord* record;
  ReWorkRecord* work;
  const ReSubsetNode* nodes;
  u32 count;
  u32 size;                          // vector bytes
  u8* values;                        // per node
  u8* done;                          // per node
  u32* ends;                         // per node: index after its subtree
  u8* frames[ReSubsetMaxDepth + 1];  // accumulators by depth; the last is leaf scratch
};

u8 Base(u8 value) { return value & 7; }

void Combine(u8* accumulator, const u8* bits, u32 size, u8 phase) {
  for (u32 i = 0; i < size; ++i) {
    if (phase == ReSelUnion)
      accumulator[i] |= bits[i];
    else if (phase == ReSelIntersect)
      accumulator[i] &= bits[i];
    else
      accumulator[i] &= static_cast<u8>(~bits[i]);
  }
}

u8* Frame(Walk& walk, u32 depth) {
  if (!walk.frames[depth]) walk.frames[depth] = static_cast<u8*>(ReHeapAlloc(walk.size));
  return walk.frames[depth];
}

// Combines the nodes of one level within [begin, end) into the accumulator
// of frame `depth`: intersections first, then unions, then subtractions.
// 0, or the code that failed (-453 walk, -100 memory).
i16 WalkLevel(Walk& walk, u32 begin, u32 end, u32 depth) {
  if (depth >= ReSubsetMaxDepth) return ReErrSubsetWalk;
  u8* accumulator = Frame(walk, depth);
  if (!accumulator) return ReErrMemory;
  std::memset(accumulator, 0, walk.size);
  bool started = false;
  for (u8 phase : {ReSelIntersect, ReSelUnion, ReSelSubtract}) {
    for (u32 j = begin; j < end; j = walk.ends[j]) {
      if (walk.done[j] || Base(walk.values[j]) != phase) continue;
      const u8* bits;
      if (walk.ends[j] == j + 1) {
        u8* scratch = Frame(walk, ReSubsetMaxDepth);
        if (!scratch) return ReErrMemory;
        bits = ReSubsetBits(walk.record, walk.work, scratch, walk.size, walk.nodes, j);
        if (!bits) return ReErrSubsetWalk;
      } else {
        if (const i16 code = WalkLevel(walk, j + 1, walk.ends[j], depth + 1)) return code;
        bits = walk.frames[depth + 1];
      }
      if (!started && phase == ReSelIntersect) std::memset(accumulator, 0xFF, walk.size);
      started = true;
      Combine(accumulator, bits, walk.size, phase);
      walk.done[j] = 1;
    }
  }
  return 0;
}

// Turns the selection into per-node values and checks them. 0 or -454.
i16 PrepareValues(Walk& walk, const u8* selection, u16 selectable) {
  const ReSubsetNode* nodes = walk.nodes;
  u32 k = 0;
  for (u32 i = 0; i < walk.count; ++i) {
    u8 value = 0;
    if (nodes[i].flags != 0 && k < selectable) value = selection[k++];
    walk.values[i] = (value & 1) ? u8{ReSelExcluded} : value;
  }
  // The outer modifier wins: inner nodes lose theirs when overwritten.
  for (u32 i = 0; i < walk.count; ++i) {
    const u8 value = walk.values[i];
    if (!(value & (ReSelSubtreeUnion | ReSelSubtreeExcluded))) continue;
    const u8 forced = (value & ReSelSubtreeExcluded) ? u8{ReSelExcluded} : u8{ReSelUnion};
    for (u32 j = i + 1; j < walk.ends[i]; ++j) walk.values[j] = forced;
  }
  for (u32 i = 0; i < walk.count;) {
    if (Base(walk.values[i]) == ReSelExcluded) {
      std::memset(walk.done + i, 1, walk.ends[i] - i);
      i = walk.ends[i];
    } else {
      ++i;
    }
  }
  for (u32 i = 0; i < walk.count; ++i) {
    const u8 flags = nodes[i].flags, value = walk.values[i];
    if (flags == 0) continue;
    if ((flags & 1) && value != 0 && value != 4 && value != 8 && value != 16) return ReErrSubsetValue;
    if ((flags & 2) && Base(value) == ReSelIntersect) return ReErrSubsetValue;
    if ((flags & 4) && Base(value) == ReSelSubtract) return ReErrSubsetValue;
    if ((flags & 8) && (value & 32)) return ReErrSubsetValue;
  }
  return 0;
}

// The end of every node's subtree, from an open-node stack over the
// pre-order levels. False when the stack cannot be allocated.
bool ComputeEnds(const ReSubsetNode* nodes, u32 count, u32* ends) {
  auto* open = static_cast<u32*>(ReHeapAlloc(count * 4));
  if (!open) return false;
  u32 depth = 0;
  for (u32 i = 0; i < count; ++i) {
    while (depth && nodes[open[depth - 1]].level >= nodes[i].level) ends[open[--depth]] = i;
    open[depth++] = i;
  }
  while (depth) ends[open[--depth]] = count;
  ReHeapFree(open);
  return true;
}

void ReleaseVector(ReWorkRecord* work, ReDbBlock* block) {
  ReHeapFree(work->activeVector);
  work->activeVector = nullptr;
  work->allEntries = true;
  if (block) block->activeSubset = nullptr;
}

bool EveryEntryAllowed(const u8* vector, u32 entryCount) {
  const u32 fullBytes = (entryCount + 1) / 8;
  for (u32 i = 0; i < fullBytes; ++i)
    if (vector[i] != 0xFF) return false;
  for (u32 bit = fullBytes * 8; bit <= entryCount; ++bit)
    if (!BitSet(vector, bit)) return false;
  return true;
}

}  // namespace

u32 ReExpandRuns(u8* output, u32 outputSize, const u8* input, u32 inputLength) {
  u32 in = 0, out = 0;
  while (in < inputLength) {
    const u8 control = input[in++];
    if (control < 64) return 0;
    const u32 count = control >= 192 ? control - 192u : control >= 128 ? control - 128u : control - 64u;
    if (count > outputSize - out) return 0;
    if (control >= 192) {
      if (count > inputLength - in) return 0;
      std::memcpy(output + out, input + in, count);
      in += count;
    } else {
      std::memset(output + out, control >= 128 ? 0xFF : 0x00, count);
    }
    out += count;
  }
  return out;
}

u8* ReSubsetBits(ReDbRecord* record, ReWorkRecord* work, u8* vector, u32 size, const ReSubsetNode* nodes, u32 index) {
  if (size == 0) return nullptr;
  std::memset(vector, 0, size);
  if (index >= record->subsetNodeCount) return nullptr;
  const ReSubsetNode& node = nodes[index];
  const u32 lastEntry = std::min<u64>(record->entryCount, static_cast<u64>(size) * 8 - 1);
  const u32 first = node.first, nodeLast = node.last;
  const u32 last = std::min(nodeLast, lastEntry);
  if (node.storedBits == 0) {
    if (first == 0) return vector;  // no range
    for (u32 entry = std::max(first, 1u); entry <= last; ++entry) SetBit(vector, entry);
    return vector;
  }
  if (last < first) return vector;
  const u32 byteFirst = first / 8, byteCount = last / 8 - byteFirst + 1;
  const u32 offset = node.storedBits - 1;
  u8* temporary = nullptr;
  bool ok;
  if (offset < record->rawAreaSize) {
    const u8* bytes = ReadStoredBytes(record, work, offset, byteCount, &temporary);
    ok = bytes != nullptr;
    if (ok) std::memcpy(vector + byteFirst, bytes, byteCount);
  } else {
    const u32 end = CodedEnd(record, nodes, index, offset);
    const u32 length = end > offset ? end - offset : 0;
    const u8* coded = ReadStoredBytes(record, work, offset, length, &temporary);
    ok = coded && ReExpandRuns(vector + byteFirst, byteCount, coded, length) != 0;
  }
  ReHeapFree(temporary);
  if (!ok) return nullptr;
  // Only the node's own entries count: clear what lies outside its range.
  const u32 low = std::max(first, 1u);
  for (u32 bit = byteFirst * 8; bit < low; ++bit) vector[bit / 8] &= static_cast<u8>(~(1u << (bit % 8)));
  for (u32 bit = last + 1; bit < (byteFirst + byteCount) * 8; ++bit)
    vector[bit / 8] &= static_cast<u8>(~(1u << (bit % 8)));
  return vector;
}

u32 ReSetUpSubsets(ReDbRecord* record, ReWorkRecord* work, ReDbBlock* block, ReStatusBlock* status) {
  work->allEntries = true;
  work->activeVector = nullptr;
  work->vectorSize = VectorSize(record);
  const ReSubsetNode* nodes = Nodes(record);
  if (record->subsetNodeCount && !record->subsetList.data) {
    u32 selectable = 0;
    for (u32 i = 0; i < record->subsetNodeCount; ++i) selectable += nodes[i].flags != 0;
    if (selectable) {
      if (!ReAllocGlobal(&record->subsetList, selectable * sizeof(ReSubsetListEntry))) {
        ReSetHandleStatus(status, ReSevError, ReErrMemory, ReModSubsetSetUp);
        return ReFail;
      }
      auto* list = reinterpret_cast<ReSubsetListEntry*>(record->subsetList.data);
      u32 k = 0;
      for (u32 i = 0; i < record->subsetNodeCount; ++i) {
        if (nodes[i].flags == 0) continue;
        list[k].id = nodes[i].id;
        list[k].level = nodes[i].level;
        ++k;
      }
      record->selectableCount = static_cast<u16>(selectable);
    }
  }
  if (record->selectableCount == 0) {
    ReClearSubsetFields(block);
    return ReDone;
  }
  work->selection = static_cast<u8*>(ReHeapAlloc(record->selectableCount));
  if (!work->selection) {
    ReSetHandleStatus(status, ReSevError, ReErrMemory, ReModSubsetSetUp);
    return ReFail;
  }
  work->selectionCount = record->selectableCount;
  if (record->subsetBitsCached) {
    work->subsetCache = static_cast<u8*>(ReHeapAlloc(record->cacheSize));
    if (!work->subsetCache) {
      ReSetHandleStatus(status, ReSevError, ReErrMemory, ReModSubsetSetUp);
      ReFreeSubsetState(work);
      return ReFail;
    }
    const u32 fill = std::min(record->cacheSize, record->subsetBitsLength);
    if (ReReadAt(work->file, record->subsetBitsOffset, fill, work->subsetCache) != ReDone) {
      ReSetHandleStatus(status, ReSevError, ReErrFileRead, ReModSubsetSetUp);
      ReFreeSubsetState(work);
      return ReFail;
    }
    work->cacheStart = 0;
    work->cacheFilled = fill;
  }
  block->subsetCount = record->selectableCount;
  block->subsetList = reinterpret_cast<ReSubsetListEntry*>(record->subsetList.data);
  block->selection = work->selection;
  block->selectionDatabase = record->databaseId;
  block->activeSubset = nullptr;
  return ReDone;
}

u32 ReLoadSubsets(ReDbRecord* record, ReWorkRecord* work, ReDbBlock* block, const ReSubsetOverride* override,
                  ReStatusBlock* status) {
  // Copies: the block's fields may be misaligned.
  const u8* blockSelection = block->selection;
  const u32 blockDb = block->selectionDatabase;
  const u16 blockCount = block->subsetCount;
  const u8* selection = override ? override->selection : blockSelection;
  const u32 selectionDb = override ? override->databaseId : blockDb;
  const ReSubsetBlock* restriction = block->restriction;
  // A restriction is a live vector block of this database.
  if (selectionDb != record->databaseId ||
      (restriction &&
       (!ReIsLive(restriction) || (restriction->bits && restriction->databaseId != record->databaseId)))) {
    ReSetStatus(status, ReSevError, ReErrSelectionDb, ReModSubsetApply);
    ReleaseVector(work, block);
    return ReFail;
  }
  if (!selection) {
    ReSetStatus(status, ReSevError, ReErrNoSelection, ReModSubsetApply);
    ReleaseVector(work, block);
    return ReFail;
  }
  if (record->subsetNodeCount == 0) {
    ReSetStatus(status, ReSevWarning, ReWarnNoSubsets, ReModSubsetApply);
    return ReWarn;
  }

  Walk walk{};
  walk.record = record;
  walk.work = work;
  walk.nodes = Nodes(record);
  walk.count = record->subsetNodeCount;
  walk.size = VectorSize(record);
  u8* vector = work->activeVector;
  if (vector)
    std::memset(vector, 0, walk.size);
  else
    vector = static_cast<u8*>(ReHeapAlloc(walk.size));
  work->activeVector = vector;
  walk.values = static_cast<u8*>(ReHeapAlloc(walk.count));
  walk.done = static_cast<u8*>(ReHeapAlloc(walk.count));
  walk.ends = static_cast<u32*>(ReHeapAlloc(walk.count * 4));

  i16 code = 0;
  if (!vector || !walk.values || !walk.done || !walk.ends || !ComputeEnds(walk.nodes, walk.count, walk.ends)) {
    code = ReErrMemory;
  } else {
    const u16 selectable = override ? record->selectableCount : std::min(blockCount, record->selectableCount);
    code = PrepareValues(walk, selection, selectable);
    if (!code) code = WalkLevel(walk, 0, walk.count, 0);
  }
  if (!code) {
    std::memcpy(vector, walk.frames[0], walk.size);
    SetBit(vector, 0);
    if (restriction && restriction->bits) {
      // The vector was sized by the entry count the block showed when it was
      // made, which the caller may have changed: entries past it are out.
      const u32 held = std::min(walk.size, ReHeapSize(restriction->bits));
      for (u32 i = 0; i < walk.size; ++i) vector[i] &= (i < held ? restriction->bits[i] : 0) | (i == 0 ? 1 : 0);
    }
  }
  for (u8* frame : walk.frames) ReHeapFree(frame);
  ReHeapFree(walk.values);
  ReHeapFree(walk.done);
  ReHeapFree(walk.ends);

  if (code) {
    ReSetHandleStatus(status, ReSevError, code, ReModSubsetApply);
    if (code == ReErrMemory) ReSetStatus(status, ReSevError, ReErrSubsets, ReModSubsetApply);
    ReleaseVector(work, block);
    return ReFail;
  }
  if (EveryEntryAllowed(vector, record->entryCount)) {
    ReleaseVector(work, block);
    return ReDone;
  }
  vector[0] &= static_cast<u8>(~1u);
  work->allEntries = false;
  work->vectorSize = walk.size;
  block->activeSubset = vector;
  return ReDone;
}

u32 ReSubsetOfEntry(ReDbRecord* record, ReWorkRecord* work, i32 entry, u16* subset, ReStatusBlock* status) {
  const u32 count = record->subsetNodeCount;
  if (count == 0) return ReDone;
  if (!subset) {
    ReSetStatus(status, ReSevError, ReErrNoSelection, ReModSubsetOfEntry);
    return ReFail;
  }
  if (entry < 1 || static_cast<u32>(entry) > record->entryCount) {
    ReSetStatus(status, ReSevError, ReErrEntryRange, ReModSubsetOfEntry);
    return ReFail;
  }
  const ReSubsetNode* nodes = Nodes(record);
  const u32 wanted = static_cast<u32>(entry);
  i32 best = -1, bestLevel = -1;
  u8* scratch = nullptr;
  for (u32 i = 0; i<count&& static_cast<i32>(nodes[i].level)> bestLevel;) {
    const ReSubsetNode& node = nodes[i];
    const bool leaf = i + 1 == count || nodes[i + 1].level <= node.level;
    if (node.storedBits == 0 && node.first != 0) {
      if (wanted >= node.first && wanted <= node.last) {
        best = static_cast<i32>(i);
        bestLevel = node.level;
        ++i;
      } else {
        const u32 sibling = node.nextSibling;
        i = sibling > i && sibling <= count ? sibling : SubtreeEnd(nodes, count, i);
      }
      continue;
    }
    if (node.storedBits != 0 && leaf) {
      const u32 size = VectorSize(record);
      if (!scratch) scratch = static_cast<u8*>(ReHeapAlloc(size));
      if (!scratch) {
        ReSetHandleStatus(status, ReSevError, ReErrMemory, ReModSubsetOfEntry);
        return ReFail;
      }
      if (!ReSubsetBits(record, work, scratch, size, nodes, i)) {
        ReHeapFree(scratch);
        ReSetHandleStatus(status, ReSevError, ReErrSubsetWalk, ReModSubsetOfEntry);
        return ReFail;
      }
      if (BitSet(scratch, wanted)) {
        best = static_cast<i32>(i);
        bestLevel = node.level;
      }
    }
    ++i;
  }
  ReHeapFree(scratch);

  // Up to the nearest selectable node: the best itself, then ever shallower ancestors.
  i32 found = -1;
  for (i32 i = best, level = best >= 0 ? nodes[best].level + 1 : 0; i >= 0; --i) {
    if (nodes[i].level >= level) continue;
    level = nodes[i].level;
    if (nodes[i].flags != 0) {
      found = i;
      break;
    }
  }
  if (found < 0) {
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModSubsetOfEntry);
    return ReFail;
  }
  u16 before = 0;
  for (i32 i = 0; i < found; ++i) before += nodes[i].flags != 0;
  *subset = before;
  return ReDone;
}

bool ReEntryInSubsets(const ReWorkRecord* work, u32 entry) {
  if (work->allEntries || !work->activeVector) return true;
  return entry / 8 < work->vectorSize && (work->activeVector[entry / 8] >> (entry % 8) & 1u);
}

void ReClearSubsetFields(ReDbBlock* block) {
  block->subsetCount = 0;
  block->subsetList = nullptr;
  block->selectionDatabase = 0;
  block->selection = nullptr;
  block->activeSubset = nullptr;
}

void ReFreeSubsetState(ReWorkRecord* work) {
  ReHeapFree(work->selection);
  ReHeapFree(work->subsetCache);
  ReHeapFree(work->activeVector);
  work->selection = nullptr;
  work->selectionCount = 0;
  work->subsetCache = nullptr;
  work->cacheFilled = 0;
  work->activeVector = nullptr;
  work->allEntries = true;
}
