// File layer: every file the engine reads goes through these calls. They return
// 0, 4 or 8 and write no status; callers record their own codes.
#pragma once

#include "re_platform.h"
#include "re_types.h"

constexpr u32 RePathSize = 260;

// Access modes of ReOpenDataFile.
enum : u16 {
  ReModeRead = 0,
  ReModeReadWrite = 2,
  ReModeWrite6 = 6,
  ReModeWrite7 = 7,
  ReModeSharedReadWrite = 18,
  ReModeSharedRead = 32,
};

#pragma pack(push, 1)
// Buffered reader of fixed-width codes over one stretch of a file.
struct ReCodeReader {
  u32 codeWidth;  // low byte: bits per code
  u32 bitState;   // bits not yet consumed
  u16 mask;       // (1 << code width) - 1
  u8* bufferEnd;  // end of the filled part of the buffer
  u8* buffer;     // start of the buffer
  u8 flags;       // ReReaderInline: the buffer follows the record
  u16 bufferSize;
  u32 length;         // length of the stretch
  u32 position;       // read position within the stretch
  u32 base;           // file offset of the stretch
  u8 readerState[8];  // kept by the text decoder
  ReFileHandle file;
};
#pragma pack(pop)
RE_ASSERT_SIZE(ReCodeReader, 45);

enum : u8 { ReReaderInline = 1 };

u32 ReOpenDataFile(const char* directory, const char* fileName, ReFileHandle* file, u16 mode);
u32 ReCloseDataFile(ReFileHandle file);
u32 ReSeekDataFile(ReFileHandle file, i32 offset, i16 origin);
u32 ReReadExact(ReFileHandle file, i32 count, void* buffer, u32* countRead);
u32 ReReadBytes(ReFileHandle file, i32 count, void* buffer, u32* countRead);
// Seeks to `offset` and reads exactly `count` bytes: a short read fails too.
u32 ReReadAt(ReFileHandle file, u32 offset, u32 count, void* buffer);
// The file's length in bytes; leaves the position at the start. 0 or 8.
u32 ReDataFileSize(ReFileHandle file, u32* size);

u32 ReSetUpCodeReader(ReCodeReader** reader, ReFileHandle file, u32 codeWidth, u16 bufferSize, u32 base, u32 length);
ReCodeReader* ReResetCodeReader(ReCodeReader* reader, ReFileHandle file, u32 codeWidth, u16 bufferSize, u32 base,
                                u32 length);
void ReFreeCodeReader(ReCodeReader* reader);

u32 ReCopyString(char* destination, const char* source);
u32 ReCompareString(const char* a, const char* b);

// Test hook: counts the platform's large reads (reads of 65535 bytes or more).
u32 ReLargeReadCount();
