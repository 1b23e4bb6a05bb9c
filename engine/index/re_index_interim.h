// Stand-in for the database record's word-index descriptor until the session
// layer's records are merged in; the fields match those records by name.
#pragma once

#include "re_platform.h"
#include "re_types.h"

struct ReIndexDescriptor {
  u16 blockSize;
  i16 formatLevel;
  u8 indexFlags;
  u8 recordOptions;
  u32 indexBase;
  const u8* phrasePool;
  u32 phrasePoolLength;
  const u8* phraseOffsets;  // big-endian u16 per code
  u32 phraseOffsetsLength;
  const u8* phraseLengths;
  u32 phraseLengthsLength;
  const u8* prefixTable;
  u16 blockCount;
  u16 codeWidth;
  u16 literalLimit;
  u8 prefixLength;
  u16 longestWord;
  u16 defaultListCount;
  u8 databaseKind;
  const u32* charClasses;
  ReFileHandle file;
  const u8* table250;
  u32 table250Length;
  const u8* table260;
  u32 table260Length;
  const u8* table270;
  u32 table270Length;
};

using ReProgressCallback = i32(RE_CALL*)(u32 done, u32 total);
