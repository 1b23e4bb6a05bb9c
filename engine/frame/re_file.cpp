#include "re_file.h"

#include <cstring>

namespace {

u32 g_largeReads = 0;

bool OpensExisting(u16 mode) {
  return mode == ReModeRead || mode == ReModeReadWrite || mode == ReModeWrite6 || mode == ReModeWrite7 ||
         mode == ReModeSharedReadWrite || mode == ReModeSharedRead;
}

u16 PlatformFlags(u16 mode) {
  switch (mode) {
    case ReModeReadWrite: return RePlatReadWrite;
    case ReModeWrite6:
    case ReModeWrite7: return RePlatWrite;
    case ReModeSharedReadWrite: return RePlatReadWrite | RePlatShareExclusive;
    case ReModeSharedRead: return RePlatRead | RePlatShareDenyWrite;
    default: return RePlatRead;
  }
}

u32 ReadCommon(ReFileHandle file, i32 count, void* buffer, u32* countRead) {
  if (countRead) *countRead = 0;
  if (count < 0 || (count > 0 && !buffer)) return ReFail;
  u32 got;
  if (count < 65535) {
    got = RePlatformRead(file, buffer, static_cast<u32>(count));
    if (got == 0xFFFFFFFFu) return ReFail;
  } else {
    ++g_largeReads;
    i32 large = RePlatformLargeRead(file, buffer, count);
    if (large < 0) return ReFail;
    got = static_cast<u32>(large);
  }
  if (countRead) *countRead = got;
  return ReDone;
}

}  // namespace

u32 ReOpenDataFile(const char* directory, const char* fileName, ReFileHandle* file, u16 mode) {
  if (!file) return ReFail;
  *file = ReNoFile;
  if (!directory || !fileName) return ReFail;
  const size_t dirLength = std::strlen(directory);
  const size_t nameLength = std::strlen(fileName);
  if (dirLength + nameLength >= RePathSize) return ReFail;
  char path[RePathSize];
  std::memcpy(path, directory, dirLength);
  std::memcpy(path + dirLength, fileName, nameLength + 1);

  if (!OpensExisting(mode)) {
    *file = RePlatformCreate(path);
    return *file == ReNoFile ? ReFail : ReDone;
  }
  *file = RePlatformOpen(path, PlatformFlags(mode));
  if (*file != ReNoFile) return ReDone;
  if ((mode == ReModeSharedReadWrite || mode == ReModeSharedRead) && RePlatformFileExists(path)) return ReWarn;
  if (mode == ReModeWrite6 || mode == ReModeWrite7) {
    *file = RePlatformCreate(path);
    return *file == ReNoFile ? ReFail : ReDone;
  }
  return ReFail;
}

u32 ReCloseDataFile(ReFileHandle file) { return RePlatformClose(file) ? ReDone : ReFail; }

u32 ReSeekDataFile(ReFileHandle file, i32 offset, i16 origin) {
  if (origin < 0 || origin > 2) return ReFail;
  return RePlatformSeek(file, offset, origin) < 0 ? ReFail : ReDone;
}

u32 ReReadExact(ReFileHandle file, i32 count, void* buffer, u32* countRead) {
  return ReadCommon(file, count, buffer, countRead);
}

u32 ReReadBytes(ReFileHandle file, i32 count, void* buffer, u32* countRead) {
  return ReadCommon(file, count, buffer, countRead);
}

u32 ReReadAt(ReFileHandle file, u32 offset, u32 count, void* buffer) {
  if (offset > 0x7FFFFFFFu || count > 0x7FFFFFFFu) return ReFail;
  if (ReSeekDataFile(file, static_cast<i32>(offset), 0) != ReDone) return ReFail;
  u32 got = 0;
  if (ReReadExact(file, static_cast<i32>(count), buffer, &got) != ReDone) return ReFail;
  return got == count ? ReDone : ReFail;
}

u32 ReDataFileSize(ReFileHandle file, u32* size) {
  *size = 0;
  const i32 end = RePlatformSeek(file, 0, 2);
  if (end < 0 || RePlatformSeek(file, 0, 0) != 0) return ReFail;
  *size = static_cast<u32>(end);
  return ReDone;
}

u32 ReLargeReadCount() { return g_largeReads; }

u32 ReSetUpCodeReader(ReCodeReader** reader, ReFileHandle file, u32 codeWidth, u16 bufferSize, u32 base, u32 length) {
  if (!reader) return ReFail;
  *reader = nullptr;
  auto* record = static_cast<ReCodeReader*>(ReHeapAlloc(sizeof(ReCodeReader) + bufferSize));
  if (!record) return ReFail;
  record->flags = ReReaderInline;
  record->buffer = reinterpret_cast<u8*>(record + 1);
  record->bufferSize = bufferSize;
  ReCodeReader* ready = ReResetCodeReader(record, file, codeWidth, bufferSize, base, length);
  if (!ready) return ReFail;
  *reader = ready;
  return ReDone;
}

ReCodeReader* ReResetCodeReader(ReCodeReader* reader, ReFileHandle file, u32 codeWidth, u16 bufferSize, u32 base,
                                u32 length) {
  if (!reader) return nullptr;
  if (!reader->buffer || reader->bufferSize != bufferSize) {
    if (reader->flags & ReReaderInline) {
      auto* fresh = static_cast<ReCodeReader*>(ReHeapAlloc(sizeof(ReCodeReader) + bufferSize));
      if (!fresh) {
        ReHeapFree(reader);
        return nullptr;
      }
      ReHeapFree(reader);
      reader = fresh;
      reader->flags = ReReaderInline;
      reader->buffer = reinterpret_cast<u8*>(reader + 1);
    } else {
      ReHeapFree(reader->buffer);
      reader->buffer = static_cast<u8*>(ReHeapAlloc(bufferSize));
      if (!reader->buffer) {
        ReHeapFree(reader);
        return nullptr;
      }
    }
  }
  reader->position = 0;
  reader->bitState = 0;
  reader->codeWidth = 0;
  reader->codeWidth = codeWidth & 0xFF;
  reader->mask = static_cast<u16>((1u << (codeWidth & 0x1F)) - 1u);
  reader->bufferEnd = reader->buffer + bufferSize;
  reader->base = base;
  reader->length = length;
  reader->bufferSize = bufferSize;
  reader->file = file;
  return reader;
}

void ReFreeCodeReader(ReCodeReader* reader) {
  if (!reader) return;
  if (!(reader->flags & ReReaderInline)) ReHeapFree(reader->buffer);
  ReHeapFree(reader);
}

u32 ReCopyString(char* destination, const char* source) {
  std::strcpy(destination, source);
  return ReDone;
}

u32 ReCompareString(const char* a, const char* b) { return std::strcmp(a, b) == 0 ? ReDone : ReFail; }
