// The conjugation data in a caller's context: loaded by INinit, freed by
// INterm.
#include <cstring>

#include "in_bytes.h"
#include "in_load.h"
#include "in_table.h"
#include "re_charclass.h"
#include "re_file.h"

namespace {

constexpr u8 LastTableIndex = 18;

void FreeTables(InTableContext* c) {
  InFreeRamTables(c);
  c->classIndex = InFreeTable(c->classIndex);
  c->recordBuffer = InFreeTable(c->recordBuffer);
  c->endingPool = InFreeTable(c->endingPool);
  c->classRules = InFreeTable(c->classRules);
  c->hashIndex = InFreeTable(c->hashIndex);
  c->rewrites = InFreeTable(c->rewrites);
  c->wordHash = InFreeTable(c->wordHash);
}

bool Terminated(const char* text, u32 size) { return std::memchr(text, '\0', size) != nullptr; }

ReFileHandle OpenNamed(const char* directory, const char* name) {
  ReFileHandle file = ReNoFile;
  if (!Terminated(directory, InDirectorySize) || !name) return ReNoFile;
  return ReOpenDataFile(directory, name, &file, ReModeRead) == ReDone ? file : ReNoFile;
}

void StoreHeader(InTableContext* c, const u8* header) {
  InStoreRamHeader(c, header);
  c->classIndexCount = ReBe16(header + 2);
  c->phrasePoolSize = ReBe16(header + 22);
  c->endingPoolSize = ReBe16(header + 28);
  c->classRulesSize = ReBe16(header + 30);
  c->hashIndexCount = ReBe16(header + 32);
  c->rewritesSize = ReBe16(header + 34);
  c->charTableIndex = header[36];
  c->wordHashSize = ReBe16(header + 38);
  c->charClasses = ReCharClassTable(c->charTableIndex);
  if (c->recordCount == 0) {  // no records, no phrase tables
    c->phraseCount = 0;
    c->phrasePoolSize = 0;
  }
}

// Loads the tables that follow the header; returns 0 or the error code.
u16 LoadTables(InTableContext* c, ReFileHandle file, u32 fileLength) {
  // Sizes in 32 bits: a table of 64 KiB or more is allocated whole.
  const u32 tagsSize = c->tagCount * InTagRecordSize;
  const u32 classIndexSize = c->classIndexCount * 2u;
  const u32 tableASize = c->tableACount * 6u;
  const u32 endingsSize = c->endingCount * InEndingRecordSize;
  const u32 ruleValuesSize = c->ruleCount * 4u;
  const u32 keysSize = c->recordCount * 4u;
  const u32 offsetsSize = c->phraseCount * 2u;
  const u32 hashIndexSize = c->hashIndexCount * 4u;
  const u32 declared = tableASize + endingsSize + c->endingPoolSize + tagsSize + classIndexSize + c->classRulesSize +
                       ruleValuesSize + c->phrasePoolSize + offsetsSize + c->phraseCount + keysSize + hashIndexSize +
                       c->rewritesSize + c->wordHashSize;
  if (fileLength < InTableHeaderSize || declared > fileLength - InTableHeaderSize) return InErrorRead;

  bool failed = false;
  c->tags = InAllocTable(tagsSize, &failed);
  c->classIndex = InAllocTable(classIndexSize, &failed);
  c->tableA = InAllocTable(tableASize, &failed);
  c->endings = InAllocTable(endingsSize, &failed);
  InAllocRuleValues(c, &failed);
  if (c->recordCount != 0) {
    c->recordKeys = InAllocTable(keysSize, &failed);
    c->phraseOffsets = InAllocTable(offsetsSize, &failed);
    c->phraseLengths = InAllocTable(c->phraseCount, &failed);
    c->phrasePool = InAllocTable(c->phrasePoolSize, &failed);
    c->recordBuffer = InAllocTable(c->recordLength, &failed);
  }
  c->endingPool = InAllocTable(c->endingPoolSize, &failed);
  c->classRules = InAllocTable(c->classRulesSize, &failed);
  c->hashIndex = InAllocTable(hashIndexSize, &failed);
  c->rewrites = InAllocTable(c->rewritesSize, &failed);
  if (failed) return InErrorMemory;

  const bool read =
      InReadFully(file, c->tableA, tableASize) && InReadFully(file, c->endings, endingsSize) &&
      InReadFully(file, c->endingPool, c->endingPoolSize) && InReadFully(file, c->tags, tagsSize) &&
      InReadFully(file, c->classIndex, classIndexSize) && InReadFully(file, c->classRules, c->classRulesSize) &&
      InReadFully(file, c->ruleValues, ruleValuesSize) && InReadFully(file, c->phrasePool, c->phrasePoolSize) &&
      InReadFully(file, c->phraseOffsets, offsetsSize) && InReadFully(file, c->phraseLengths, c->phraseCount) &&
      InReadFully(file, c->recordKeys, keysSize) && InReadFully(file, c->hashIndex, hashIndexSize) &&
      InReadFully(file, c->rewrites, c->rewritesSize);
  if (!read) return InErrorRead;
  c->wordHash = InAllocTable(c->wordHashSize, &failed);
  if (failed) return InErrorMemory;
  return InReadFully(file, c->wordHash, c->wordHashSize) ? 0 : InErrorRead;
}

u32 Fail(InTableContext* c, u16 error) {
  InCloseTableData(c);
  c->error = error;
  return ReFail;
}

}  // namespace

bool InReadRecord(InTableContext* c, u32 index) {
  if (!c->dskOpen || !c->recordBuffer || index >= c->recordCount) return false;
  const u32 offset = index * c->recordLength;
  const ReFileHandle file = static_cast<ReFileHandle>(c->dskFile);
  if (offset > 0x7FFFFFFFu || ReSeekDataFile(file, static_cast<i32>(offset), 0) != ReDone ||
      !InReadFully(file, c->recordBuffer, c->recordLength)) {
    c->error = InErrorRead;
    return false;
  }
  return true;
}

u32 InLoadTableData(InTableContext* context) {
  InTableContext* c = context;
  c->error = 0;
  const ReFileHandle ram = OpenNamed(c->ramDirectory, c->ramName);
  if (ram == ReNoFile) {
    c->error = InErrorOpen;
    return ReFail;
  }
  u8 header[InTableHeaderSize];
  u32 fileLength = 0;
  if (!InFileLength(ram, &fileLength) || !InReadFully(ram, header, sizeof header)) {
    ReCloseDataFile(ram);
    c->error = InErrorRead;
    return ReFail;
  }
  StoreHeader(c, header);
  const u16 error = LoadTables(c, ram, fileLength);
  ReCloseDataFile(ram);
  if (error != 0) return Fail(c, error);

  const ReFileHandle dsk = OpenNamed(c->dskDirectory, c->dskName);
  if (dsk == ReNoFile) return Fail(c, InErrorOpen);
  c->dskFile = static_cast<u32>(dsk);
  c->dskOpen = 1;
  c->descriptorPresent =
      c->charTableIndex <= LastTableIndex && (c->charTableIndex == InFrench || c->charTableIndex == InEnglish);
  return ReDone;
}

void InCloseTableData(InTableContext* context) {
  context->error = 0;
  FreeTables(context);
  if (context->dskOpen) {
    ReCloseDataFile(static_cast<ReFileHandle>(context->dskFile));
    context->dskOpen = 0;
  }
  InFreeTableRecords(context);
}
