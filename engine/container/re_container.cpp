#include "re_container.h"

#include <algorithm>
#include <cstring>

#include "re_charclass.h"
#include "re_file.h"

namespace {

constexpr u32 ReTextStartLimit = 6144000;  // text starts above this have wrapped ...
constexpr u32 ReTextStartWrap = 33554432;  // ... past 32 MiB in the 16-bit start word
constexpr u32 ReMinimumCacheSize = 1024;
constexpr u32 ReMaxEntryCount = 0x7FFFFFFF;
constexpr u16 ReLongestLineLimit = 65534;  // so that buffers of longest line + 1 fit 16 bits

bool FitsIn(u64 offset, u64 length, u64 limit) { return offset <= limit && length <= limit - offset; }

void Fail(ReStatusBlock* status, i16 code, u16 module) { ReSetHandleStatus(status, ReSevError, code, module); }

const u8* FindTableRecord(const ReComponentView& component, u16 id) {
  for (u16 i = 0; i < component.recordCount; ++i) {
    const u8* record = component.records + i * ReTableRecordSize;
    if (ReBe16(record) == id) return record;
  }
  return nullptr;
}

// --- Text component --------------------------------------------------------

// Table 60 holds the four bytes 254 254 254 254 as the text of the end code.
u32 FindEndCode(ReDbRecord* record, u32* endCode) {
  const ReTable& first = record->codeFirst;
  const ReTable& second = record->codeSecond;
  const ReTable& pool = record->phrasePool;
  if (!first.data || !second.data || first.length < 2) return ReFail;
  const u32 width = std::min<u32>(record->codeWidth, 16);
  const u32 span = 1u << width;
  const u32 head = ReBe16(first.data);
  u32 range = head < span ? span - head : 0;
  range = std::min({range, first.length / 2, second.length / 2});
  static const u8 kEnd[4] = {254, 254, 254, 254};
  for (u32 code = 0; code < range; ++code) {
    if (ReBe16(second.data + 2 * code) != 4) continue;
    const u32 offset = ReBe16(first.data + 2 * code);
    if (FitsIn(offset, 4, pool.length) && std::memcmp(pool.data + offset, kEnd, 4) == 0) {
      *endCode = code;
      return ReDone;
    }
  }
  return ReFail;
}

// Table 40 to subset nodes: 18-byte records as stored, or 16-byte records
// {u16 id, pad, level, pad, flags, u32 first, u32 last, u16 next}.
u32 ConvertSubsetDefinitions(const ReTable& table, ReDbRecord* record) {
  const u32 count = table.elementCount;
  if (count == 0) return ReDone;
  const u32 size = table.elementSize == 18 ? 18 : 16;
  if (static_cast<u64>(count) * size > table.length) return ReFail;
  if (!ReAllocGlobal(&record->subsetNodes, count * sizeof(ReSubsetNode))) return ReFail;
  auto* nodes = reinterpret_cast<ReSubsetNode*>(record->subsetNodes.data);
  for (u32 i = 0; i < count; ++i) {
    const u8* in = table.data + i * size;
    ReSubsetNode node{};
    node.id = ReBe16(in);
    if (size == 18) {
      node.level = in[2];
      node.flags = in[3];
      node.first = ReBe32(in + 4);
      node.last = ReBe32(in + 8);
      node.nextSibling = ReBe16(in + 12);
      node.storedBits = ReBe32(in + 14);
    } else {
      node.level = in[3];
      node.flags = in[5];
      node.first = ReBe32(in + 6);
      node.last = ReBe32(in + 10);
      node.nextSibling = ReBe16(in + 14);
    }
    if (node.flags == 32 && i > 0) node.flags = nodes[0].flags;  // a blank takes the first node's flags
    std::memcpy(&nodes[i], &node, sizeof node);
  }
  record->subsetNodeCount = static_cast<u16>(count);
  return ReDone;
}

void SwapU16InPlace(u8* data, u32 words) {
  for (u32 i = 0; i < words; ++i) {
    const u16 value = ReBe16(data + 2 * i);
    std::memcpy(data + 2 * i, &value, 2);
  }
}

void SwapU32InPlace(u8* data, u32 words) {
  for (u32 i = 0; i < words; ++i) {
    const u32 value = ReBe32(data + 4 * i);
    std::memcpy(data + 4 * i, &value, 4);
  }
}

// Table 80: u32 count, count u32 values (the first locates the name area,
// from the table's start), then u16 pairs up to the name area, then the
// NUL-terminated character sets. Only the number sections change order.
u32 ConvertAutomaton(ReDbRecord* record) {
  ReTable& table = record->charAutomaton;
  if (table.length < 8) return ReFail;
  const u32 count = ReBe32(table.data);
  if (count == 0 || count > (table.length - 4) / 4) return ReFail;
  const u32 head = 4 + 4 * count;
  const u32 names = ReBe32(table.data + 4);
  if (names < head || names > table.length || (names - head) % 4 != 0) return ReFail;
  SwapU32InPlace(table.data, 1 + count);
  SwapU16InPlace(table.data + head, (names - head) / 2);
  ReAutomatonSections& sections = record->automaton;
  sections.values = reinterpret_cast<const u32*>(table.data + 4);
  sections.valueCount = count;
  sections.entries = reinterpret_cast<const u16*>(table.data + head);
  sections.entryCount = (names - head) / 4;
  sections.names = table.data + names;
  sections.namesLength = table.length - names;
  return ReDone;
}

// Table 90: five u16 counts, 16 reserved bytes, then element records,
// transitions, sequences and code lists (all u16), then program bytes.
u32 ConvertMarkup(ReDbRecord* record) {
  ReTable& table = record->markup;
  constexpr u32 kHead = 26;
  if (table.length < kHead) return ReFail;
  const u32 elements = ReBe16(table.data), transitions = ReBe16(table.data + 2);
  const u32 sequences = ReBe16(table.data + 4), codeLists = ReBe16(table.data + 8);
  const u32 words = 4 * elements + 2 * transitions + sequences + codeLists;
  if (kHead + 2ull * words > table.length) return ReFail;
  SwapU16InPlace(table.data, 5);
  SwapU16InPlace(table.data + kHead, words);
  ReMarkupSections& sections = record->markupSections;
  sections.elementCount = static_cast<u16>(elements);
  sections.transitionCount = static_cast<u16>(transitions);
  sections.sequenceCount = static_cast<u16>(sequences);
  sections.codeListCount = static_cast<u16>(codeLists);
  auto* section = reinterpret_cast<const u16*>(table.data + kHead);
  sections.elements = section;
  sections.transitions = sections.elements + 4 * elements;
  sections.sequences = sections.transitions + 2 * transitions;
  sections.codeLists = sections.sequences + sequences;
  sections.programs = table.data + kHead + 2 * words;
  sections.programsLength = table.length - (kHead + 2 * words);
  return ReDone;
}

// Loads a table whole; a failure records -720. False on failure.
bool LoadWhole(ReFileHandle file, const ReComponentView& view, u16 id, ReTable* table, ReDbRecord* record,
               ReStatusBlock* status) {
  if (ReLoadTable(file, view, id, table, ReLoadWhole, &record->loadedBytes) != ReFail) return true;
  Fail(status, ReErrTable, ReModComponents);
  return false;
}

u32 LoadTextTables(const u8* header, ReFileHandle file, const ReComponentView& view, ReDbRecord* record,
                   ReStatusBlock* status) {
  record->hasText = true;
  record->textComponentOffset = view.offset;
  record->textComponentLength = view.length;

  u32 groupBonus = 0;
  u32 start = ReBe16(header + ReTextStart) * ReComponentUnit;
  if (start > ReTextStartLimit) {
    start += ReTextStartWrap;
    groupBonus = 65536;
  }
  // The start is a file offset; the code stream runs from it to the end of
  // the text component, so it must lie in the component.
  if (start < view.offset || start - view.offset > view.length) return ReFail;
  record->textStart = start;
  record->textBase = start;
  record->textLength = view.length - (start - view.offset);
  record->entryCount = ReBe32(header + ReTextEntryCount);
  // Entries are numbered by signed 32-bit numbers; entry vectors hold bits 0
  // to the entry count, which must not wrap.
  if (record->entryCount > ReMaxEntryCount) return ReFail;
  record->textWord108 = ReBe16(header + ReTextWord108);
  for (u32 value = ReBe16(header + ReTextGroupValue); value > 1; value >>= 1) ++record->groupShift;
  record->codeWidth = ReBe16(header + ReTextCodeWidth);
  record->codeMask = record->codeWidth >= 32 ? 0xFFFFFFFFu : (1u << record->codeWidth) - 1u;
  record->longestEntryText = ReBe16(header + ReTextLongestEntry);
  record->rawAreaSize = ReBe32(header + ReTextRawArea);
  record->cacheSize = std::max<u32>(ReBe16(header + ReTextCacheSize), ReMinimumCacheSize);

  if (!LoadWhole(file, view, ReTabGroups, &record->groupIndex, record, status)) return ReFail;
  record->groupCount = record->groupIndex.elementCount + (record->groupIndex.data ? groupBonus : 0);
  if (!LoadWhole(file, view, ReTabCodeFirst, &record->codeFirst, record, status)) return ReFail;
  record->codeCount = record->codeFirst.elementCount;
  if (!LoadWhole(file, view, ReTabCodeSecond, &record->codeSecond, record, status)) return ReFail;

  ReTable definitions{};
  const u32 loaded = ReLoadTable(file, view, ReTabSubsetDefs, &definitions, ReLoadSmall, &record->loadedBytes);
  const bool converted = loaded != ReDone || ConvertSubsetDefinitions(definitions, record) == ReDone;
  ReFreeTable(&definitions);
  if (loaded == ReFail || !converted) {
    Fail(status, ReErrTable, ReModComponents);
    return ReFail;
  }

  // Table 50: whole when it fits the cache size, else read on demand.
  if (const u8* bits = FindTableRecord(view, ReTabSubsetBits)) {
    const u32 offset = ReBe32(bits + 2), length = ReBe32(bits + 12);
    if (!FitsIn(offset, length, view.length)) {
      Fail(status, ReErrTable, ReModComponents);
      return ReFail;
    }
    record->subsetBitsOffset = view.offset + offset;
    record->subsetBitsLength = length;
    if (length > record->cacheSize) {
      record->subsetBitsCached = true;
    } else if (!LoadWhole(file, view, ReTabSubsetBits, &record->subsetBits, record, status)) {
      return ReFail;
    }
  }

  if (!LoadWhole(file, view, ReTabPhrases, &record->phrasePool, record, status)) return ReFail;
  if (record->phrasePool.data) {
    record->terminalCount = record->phrasePool.elementCount;
    if (FindEndCode(record, &record->endCode) != ReDone) {
      Fail(status, ReErrEndCode, ReModComponents);
      return ReFail;
    }
  } else {
    // No pool, so no terminals: every code is a single character or a pair.
    record->terminalCount = 0;
    record->endCode = record->codeCount ? record->codeCount - 1 : 0;
  }

  if (!LoadWhole(file, view, ReTabAutomaton, &record->charAutomaton, record, status)) return ReFail;
  if (record->charAutomaton.data && ConvertAutomaton(record) != ReDone) {
    Fail(status, ReErrTable, ReModComponents);
    return ReFail;
  }
  if (!LoadWhole(file, view, ReTabMarkup, &record->markup, record, status)) return ReFail;
  if (record->markup.data && ConvertMarkup(record) != ReDone) {
    Fail(status, ReErrTable, ReModComponents);
    return ReFail;
  }
  return ReDone;
}

// --- Index components ------------------------------------------------------

// Table 310: one value of 2 or 4 bytes per block, expanded to u32.
u32 ExpandBlockValues(ReFileHandle file, const ReComponentView& view, ReIndexTables* tables, u32* loadedBytes) {
  ReTable raw{};
  const u32 loaded = ReLoadTable(file, view, ReTabIdxBlockValues, &raw, ReLoadSmall, loadedBytes);
  if (loaded != ReDone) return loaded == ReWarn ? ReDone : ReFail;
  const u32 size = raw.elementSize, count = raw.elementCount;
  u32 result = ReFail;
  if ((size == 2 || size == 4) && static_cast<u64>(count) * size <= raw.length &&
      ReAllocGlobal(&tables->blockValues, count * 4)) {
    auto* out = reinterpret_cast<u32*>(tables->blockValues.data);
    for (u32 i = 0; i < count; ++i) out[i] = size == 2 ? ReBe16(raw.data + 2 * i) : ReBe32(raw.data + 4 * i);
    tables->blockValueCount = count;
    result = ReDone;
  }
  ReFreeTable(&raw);
  return result;
}

// Table 240: 8-byte records {u24, u24, u8, u8}, kept on the heap and split
// into four per-block arrays. 0, 8 (table) or 4 (memory for the arrays).
u32 SplitBlockRecords(ReFileHandle file, const ReComponentView& view, ReIndexTables* tables, u32* loadedBytes) {
  ReTable& raw = tables->table240;
  const u32 loaded = ReLoadTable(file, view, ReTabIdxBlocks, &raw, ReLoadSmall, loadedBytes);
  if (loaded != ReDone) return loaded == ReWarn ? ReDone : ReFail;
  const u32 count = raw.length / 8;
  if (!ReAllocGlobal(&tables->blockArrays[0], count * 4) || !ReAllocGlobal(&tables->blockArrays[1], count * 4) ||
      !ReAllocGlobal(&tables->blockArrays[2], count) || !ReAllocGlobal(&tables->blockArrays[3], count))
    return ReWarn;
  auto* first = reinterpret_cast<u32*>(tables->blockArrays[0].data);
  auto* second = reinterpret_cast<u32*>(tables->blockArrays[1].data);
  for (u32 i = 0; i < count; ++i) {
    const u8* in = raw.data + 8 * i;
    first[i] = ReBe24(in);
    second[i] = ReBe24(in + 3);
    tables->blockArrays[2].data[i] = in[6];
    tables->blockArrays[3].data[i] = in[7];
  }
  tables->blockRecordCount = count;
  return ReDone;
}

u32 LoadIndexCore(ReFileHandle file, const ReComponentView& view, ReIndexTables* tables, ReIndexDescriptor* index,
                  ReDbRecord* record, ReStatusBlock* status) {
  if (!LoadWhole(file, view, ReTabIdxPool, &tables->phrasePool, record, status) ||
      !LoadWhole(file, view, ReTabIdxOffsets, &tables->phraseOffsets, record, status) ||
      !LoadWhole(file, view, ReTabIdxLengths, &tables->phraseLengths, record, status) ||
      !LoadWhole(file, view, ReTabIdxPrefixes, &tables->prefixes, record, status))
    return ReFail;
  const ReTable& prefixes = tables->prefixes;
  if (prefixes.data && (prefixes.elementSize < 1 || prefixes.elementSize > 4 ||
                        static_cast<u64>(prefixes.elementSize) * prefixes.elementCount > prefixes.length)) {
    Fail(status, ReErrTable, ReModComponents);
    return ReFail;
  }
  index->indexBase = view.offset;
  index->phrasePool = tables->phrasePool.data;
  index->phrasePoolLength = tables->phrasePool.length;
  index->literalLimit = static_cast<u16>(tables->phrasePool.elementCount);
  index->phraseOffsets = tables->phraseOffsets.data;
  index->phraseOffsetsLength = tables->phraseOffsets.length;
  index->phraseLengths = tables->phraseLengths.data;
  index->phraseLengthsLength = tables->phraseLengths.length;
  index->prefixTable = prefixes.data;
  index->prefixLength = prefixes.data ? static_cast<u8>(prefixes.elementSize) : 0;
  index->blockCount = prefixes.data ? static_cast<u16>(prefixes.elementCount) : 0;
  return ReDone;
}

u32 LoadMainIndex(const u8* header, ReFileHandle file, const ReComponentView& view, u16 subtype, ReDbRecord* record,
                  ReStatusBlock* status) {
  ReIndexDescriptor* index = record->index;
  ReIndexTables* tables = &record->mainTables;
  record->hasMainIndex = true;
  record->indexFlags = header[ReIdxFlags];
  index->indexFlags = header[ReIdxFlags];
  index->formatLevel = static_cast<i16>(ReBe16(header + ReIdxFormatLevel));
  index->recordOptions = header[ReIdxRecordOptions];
  index->defaultListCount = ReBe16(header + ReIdxListCount);
  index->blockSize = ReBe16(header + ReIdxBlockSize);
  index->codeWidth = ReBe16(header + ReIdxCodeWidth);
  index->longestWord = ReBe16(header + ReIdxLongestWord);
  record->longestWord = index->longestWord;
  record->entryListCount = index->defaultListCount;
  record->stringTableSize = ReBe16(header + ReIdxStringTable);

  if (LoadIndexCore(file, view, tables, index, record, status) != ReDone) return ReFail;
  if (subtype == ReIndexMain1 && ExpandBlockValues(file, view, tables, &record->loadedBytes) != ReDone) {
    Fail(status, ReErrTable, ReModComponents);
    return ReFail;
  }
  const u32 split = SplitBlockRecords(file, view, tables, &record->loadedBytes);
  if (split != ReDone) {
    Fail(status, split == ReWarn ? ReErrMemory : ReErrTable, ReModComponents);
    return ReFail;
  }
  const struct {
    u16 id;
    ReTable* table;
  } further[] = {{ReTabIdx250, &tables->table250},       {ReTabIdx260, &tables->table260},
                 {ReTabIdx270, &tables->table270},       {ReTabIdx290, &tables->table290},
                 {ReTabIdx300, &tables->table300},       {ReTabIdxHash, &tables->table280},
                 {ReTabIdxStrings, &record->stringTable}};
  for (const auto& entry : further)
    if (!LoadWhole(file, view, entry.id, entry.table, record, status)) return ReFail;

  index->table240 = tables->table240.data;
  index->table240Length = tables->table240.length;
  index->table250Length = tables->table250.length;
  index->table260Length = tables->table260.length;
  index->table270Length = tables->table270.length;
  index->blockValues = reinterpret_cast<const u32*>(tables->blockValues.data);
  index->blockValueCount = tables->blockValueCount;
  index->wordHash = tables->table280.data;
  index->wordHashLength = tables->table280.length;
  return ReDone;
}

u32 LoadSearchIndex(const u8* header, ReFileHandle file, const ReComponentView& view, ReDbRecord* record,
                    ReStatusBlock* status) {
  ReIndexDescriptor* index = &record->searchIndex;
  index->formatLevel = static_cast<i16>(ReBe16(header + ReIdxFormatLevel));
  index->recordOptions = header[ReIdxRecordOptions];
  index->blockSize = ReBe16(header + ReIdxBlockSize);
  index->codeWidth = ReBe16(header + ReIdxCodeWidth);
  // Its own longest word: a search index may hold longer words (joined ones)
  // than the main index. The larger of the two counts (see the end of the load).
  index->longestWord = ReBe16(header + ReIdxLongestWord);
  if (LoadIndexCore(file, view, &record->searchTables, index, record, status) != ReDone) return ReFail;
  record->searchAllowed = true;
  return ReDone;
}

// --- Line rules ------------------------------------------------------------

void ApplyLineRule(const u8* header, u16 type, u16 subtype, ReDbRecord* record, u32* longest) {
  const u32 indexLine = std::max<u32>(ReBe16(header + ReIdxLongestLine), ReBe16(header + ReIdxLongestWord));
  const bool mainIndex = type == ReComponentIndex && (subtype == ReIndexMain1 || subtype == ReIndexMain2);
  switch (record->lineRule) {
    case 0: *longest = 0; break;
    case 3:
      if (mainIndex) *longest = indexLine;
      break;
    case 4:
      if (type == ReComponentIndex && subtype == ReIndexMain2) *longest = std::max(*longest, indexLine);
      if (type == ReComponentText) *longest = std::max<u32>(ReBe16(header + ReTextLongestLine), *longest) + 9;
      break;
    default:
      if (type == ReComponentText) *longest = ReBe16(header + ReTextLongestLine) + 9u;
      break;
  }
}

bool RequiresWordHash(u16 variant) { return variant == 5 || variant == 8 || variant == 9 || variant == 12; }

// Reads the component header of a directory entry and checks it against the
// entry and the file. 0, or the code to record.
i16 ReadComponentHeader(ReFileHandle file, const u8* entry, u8* buffer, u32 headerSize, const ReDbRecord* record,
                        ReComponentView* view) {
  view->offset = ReBe32(entry + 4);
  view->length = ReBe32(entry + 8);
  if (!FitsIn(view->offset, view->length, record->fileSize)) return ReErrFileRead;
  if (view->length < headerSize) return ReErrTableList;
  if (view->offset > 0x7FFFFFFFu || ReSeekDataFile(file, static_cast<i32>(view->offset), 0) != ReDone)
    return ReErrFileSeek;
  u32 got = 0;
  if (ReReadExact(file, static_cast<i32>(headerSize), buffer, &got) != ReDone || got != headerSize)
    return ReErrFileRead;
  if (ReBe16(buffer + ReCompType) != ReBe16(entry)) return ReErrComponentType;
  if (ReBe16(buffer + ReCompSubtype) != ReBe16(entry + 2)) return ReErrComponentSubtype;
  const u32 count = ReBe16(buffer + ReCompTableCount);
  const u32 offset = ReBe32(buffer + ReCompTableOffset);
  if (!FitsIn(offset, static_cast<u64>(count) * ReTableRecordSize, headerSize)) return ReErrTableList;
  view->records = buffer + offset;
  view->recordCount = static_cast<u16>(count);
  return 0;
}

u32 WalkComponents(ReFileHandle file, ReDbRecord* record, u8* buffer, u32 headerSize, ReStatusBlock* status) {
  const u8* directory = record->directoryCopy.data;
  u32 longest = 0;
  bool textSeen = false, searchSeen = false;
  for (u32 i = 0; i < record->directoryCount; ++i) {
    const u8* entry = directory + i * ReDirectoryEntrySize;
    ReComponentView view{};
    if (const i16 code = ReadComponentHeader(file, entry, buffer, headerSize, record, &view)) {
      Fail(status, code, ReModComponents);
      return ReFail;
    }
    const u16 type = ReBe16(entry), subtype = ReBe16(entry + 2);
    if (type == ReComponentText) {
      record->textMode = 0;
      if (record->variant == 2) record->textMode = (buffer[ReTextFlags] & 1) ? 2 : 1;
    }
    ApplyLineRule(buffer, type, subtype, record, &longest);
    if (type == ReComponentText) {
      // One text component per database: a second would load its tables twice.
      if (textSeen || LoadTextTables(buffer, file, view, record, status) != ReDone) {
        Fail(status, ReErrTextComponent, ReModComponents);
        return ReFail;
      }
      textSeen = true;
    } else if (type == ReComponentIndex) {
      u32 result = ReDone;
      if (subtype == ReIndexMain1 || subtype == ReIndexMain2) {
        result = record->hasMainIndex ? ReFail : LoadMainIndex(buffer, file, view, subtype, record, status);
      } else if (subtype == ReIndexSearch) {
        result = searchSeen ? ReFail : LoadSearchIndex(buffer, file, view, record, status);
        searchSeen = true;
      }
      if (result != ReDone) {
        Fail(status, ReErrIndexComponent, ReModComponents);
        return ReFail;
      }
    } else {
      Fail(status, ReErrComponentUnknown, ReModComponents);
      return ReFail;
    }
  }
  if (RequiresWordHash(record->variant) && !record->mainTables.table280.data) {
    Fail(status, ReErrTableMissing, ReModComponents);
    return ReFail;
  }
  record->longestLine = static_cast<u16>(std::min<u32>(longest, ReLongestLineLimit));
  return ReDone;
}

void SetFeatures(ReDbRecord* record) {
  if (record->variant == 8) record->textMode |= 2;
  u8 features = 0;
  if (record->textMode & 1)
    features |= ReFeatTextMode1;
  else if (record->textMode & 2)
    features |= ReFeatTextMode2;
  if ((record->indexFlags & 13) == 13) features |= ReFeatIndexFlags;
  if (record->searchAllowed) features |= ReFeatSearch;
  if (record->charAutomaton.data && record->markup.data) features |= ReFeatMarkup;
  if (record->subsetNodeCount) features |= ReFeatSubsets;
  if (record->variant == 8) features |= ReFeatTextMode2 | ReFeatMarkup;
  record->features = features;
}

void FreeIndexTables(ReIndexTables* tables) {
  ReTable* whole[] = {&tables->phrasePool, &tables->phraseOffsets, &tables->phraseLengths, &tables->prefixes,
                      &tables->table240,   &tables->table250,      &tables->table260,      &tables->table270,
                      &tables->table280,   &tables->table290,      &tables->table300};
  for (ReTable* table : whole) ReFreeTable(table);
  ReFreeGlobal(&tables->blockValues);
  for (ReGlobalBlock& array : tables->blockArrays) ReFreeGlobal(&array);
  *tables = ReIndexTables{};
}

}  // namespace

u32 ReCheckDataHeader(const u8* header, u16 format, u16 kind, u16 check5, u16 check2) {
  (void)kind;  // any kind is accepted
  if (header[0] != 'C') return ReFail;
  if (ReBe16(header + ReHdrFormat) != format) return ReFail;
  if (ReBe16(header + ReHdrCheck5) != check5 || ReBe16(header + ReHdrCheck2) != check2) return ReFail;
  return ReDone;
}

u32 ReLoadTable(ReFileHandle file, const ReComponentView& component, u16 id, ReTable* destination, u16 mode,
                u32* loadedBytes) {
  *destination = ReTable{};
  const u8* record = FindTableRecord(component, id);
  if (!record) return ReWarn;
  const u32 offset = ReBe32(record + 2);
  const u32 length = ReBe32(record + 12);
  if (length == 0) return ReWarn;
  if (!FitsIn(offset, length, component.length)) return ReFail;
  if (mode == ReLoadSmall && length > 65535) return ReFail;

  ReTable table{};
  table.length = length;
  table.elementSize = ReBe32(record + 6);
  table.elementCount = ReBe16(record + 10);
  if (mode == ReLoadSmall) {
    table.data = static_cast<u8*>(ReHeapAlloc(length));
    table.onHeap = true;
  } else {
    ReGlobalBlock block{};
    if (ReAllocGlobal(&block, length)) {
      table.memory = block.memory;
      table.data = block.data;
    }
  }
  if (!table.data) return ReFail;
  if (ReReadAt(file, component.offset + offset, length, table.data) != ReDone) {
    ReFreeTable(&table);
    return ReFail;
  }
  if (loadedBytes) *loadedBytes += length;
  *destination = table;
  return ReDone;
}

void ReFreeTable(ReTable* table) {
  if (table->onHeap) {
    ReHeapFree(table->data);
  } else if (table->memory) {
    ReGlobalBlock block{table->memory, table->data, table->length};
    ReFreeGlobal(&block);
  }
  *table = ReTable{};
}

u32 ReReadComponents(const u8* header, ReFileHandle file, u16 kind, ReDbRecord* record, ReStatusBlock* status) {
  record->kind = kind;
  record->databaseId = ReBe32(header + ReHdrDatabaseId);
  record->headerWord738 = ReBe16(header + ReHdrWord738);
  record->capabilityMask = ReBe16(header + ReHdrCapabilities);
  record->variant = ReBe16(header + ReHdrVariant);
  record->lineRule = ReBe16(header + ReHdrLineRule);
  record->textFormat = ReBe16(header + ReHdrTextFormat);
  record->titleMode = ReBe16(header + ReHdrTitleMode);
  record->dotMode = ReBe16(header + ReHdrDotMode);
  record->loadedBytes = 0;

  const u32 count = ReBe16(header + ReHdrDirCount);
  const u32 offset = ReBe32(header + ReHdrDirOffset);
  record->componentHeaderUnits = ReBe16(header + ReHdrComponentUnits);
  const u32 headerSize = record->componentHeaderUnits * ReComponentUnit;
  if (!ReAllocGlobal(&record->directoryCopy, count * ReDirectoryEntrySize)) {
    Fail(status, ReErrMemory, ReModComponents);
    return ReFail;
  }
  std::memcpy(record->directoryCopy.data, header + offset, count * ReDirectoryEntrySize);
  record->directoryCount = static_cast<u16>(count);

  u8* buffer = static_cast<u8*>(ReHeapAlloc(headerSize));
  if (!buffer) {
    Fail(status, ReErrMemory, ReModComponents);
    ReReleaseDatabaseContents(record);
    return ReFail;
  }
  const u32 result = WalkComponents(file, record, buffer, headerSize, status);
  ReHeapFree(buffer);
  if (result != ReDone) {
    ReReleaseDatabaseContents(record);
    return ReFail;
  }
  SetFeatures(record);
  return ReDone;
}

u32 ReReadDatabaseHeader(const char* directory, const char* fileName, ReDbRecord* record, ReStatusBlock* status) {
  ReGlobalBlock descriptor{};
  if (!ReAllocGlobal(&descriptor, sizeof(ReIndexDescriptor))) {
    Fail(status, ReErrMemory, ReModHeader);
    return ReFail;
  }
  record->indexMemory = descriptor.memory;
  record->index = reinterpret_cast<ReIndexDescriptor*>(descriptor.data);
  record->index->file = ReNoFile;

  ReFileHandle file = ReNoFile;
  if (ReOpenDataFile(directory, fileName, &file, ReModeRead) != ReDone) {
    Fail(status, ReErrFileOpen, ReModHeader);
    ReReleaseDatabaseContents(record);
    return ReFail;
  }
  u8* header = static_cast<u8*>(ReHeapAlloc(ReHeaderSize));
  i16 code = 0;
  u16 module = ReModHeader;
  if (!header) {
    code = ReErrMemory;
  } else if (ReDataFileSize(file, &record->fileSize) != ReDone || ReSeekDataFile(file, 0, 0) != ReDone) {
    code = ReErrFileSeek;
  } else {
    u32 got = 0;
    // The whole header is required: a short file is a failed read.
    if (ReReadExact(file, ReHeaderSize, header, &got) != ReDone || got != ReHeaderSize) {
      code = ReErrFileRead;
    } else {
      const u32 dirCount = ReBe16(header + ReHdrDirCount);
      const u32 dirOffset = ReBe32(header + ReHdrDirOffset);
      const u32 units = ReBe16(header + ReHdrComponentUnits);
      if (ReCheckDataHeader(header, 9, ReBe16(header + ReHdrKind), 5, 2) != ReDone ||
          !FitsIn(dirOffset, static_cast<u64>(dirCount) * ReDirectoryEntrySize, ReHeaderSize) || units == 0 ||
          static_cast<u64>(units) * ReComponentUnit > record->fileSize) {
        code = ReErrHeader;
      } else if (ReReadComponents(header, file, ReBe16(header + ReHdrKind), record, status) != ReDone) {
        code = -1;  // the component's own code is recorded
      }
    }
  }
  ReHeapFree(header);
  ReCloseDataFile(file);
  if (code != 0) {
    if (code != -1) Fail(status, code, module);
    ReReleaseDatabaseContents(record);
    return ReFail;
  }
  ReIndexDescriptor* index = record->index;
  index->databaseKind = static_cast<u8>(record->kind);
  index->charClasses = ReCharClassTable(static_cast<u8>(record->kind));
  index->indexFlags = record->indexFlags;
  record->searchIndex.databaseKind = index->databaseKind;
  record->searchIndex.charClasses = index->charClasses;
  record->searchIndex.longestWord = std::max(record->searchIndex.longestWord, index->longestWord);
  return ReDone;
}

void ReReleaseDatabaseContents(ReDbRecord* record) {
  // Later layers first: their state may point into the tables.
  if (record->releaseEntryReading) record->releaseEntryReading(record);
  if (record->releaseSearchBuffers) record->releaseSearchBuffers(record);
  if (record->releaseIndexState) record->releaseIndexState(record);
  record->releaseEntryReading = record->releaseSearchBuffers = record->releaseIndexState = nullptr;

  ReTable* text[] = {&record->groupIndex, &record->codeFirst,     &record->codeSecond, &record->subsetBits,
                     &record->phrasePool, &record->charAutomaton, &record->markup};
  for (ReTable* table : text) ReFreeTable(table);
  ReFreeTable(&record->stringTable);
  record->automaton = ReAutomatonSections{};
  record->markupSections = ReMarkupSections{};
  FreeIndexTables(&record->mainTables);
  FreeIndexTables(&record->searchTables);
  ReFreeGlobal(&record->subsetNodes);
  ReFreeGlobal(&record->subsetList);
  record->subsetNodeCount = record->selectableCount = 0;
  ReFreeGlobal(&record->directoryCopy);
  record->directoryCount = 0;
  if (record->indexMemory) {
    ReGlobalBlock descriptor{record->indexMemory, reinterpret_cast<u8*>(record->index), 0};
    ReFreeGlobal(&descriptor);
  }
  record->indexMemory = nullptr;
  record->index = nullptr;
}
