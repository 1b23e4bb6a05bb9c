#include "core/content_file.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include "zorlre/re_platform.h"
#endif

namespace {

// Both platforms take 32-bit signed positions.
constexpr std::int64_t MaxPosition = 0x7FFFFFFF;

#if defined(_WIN32)
bool PlatformReplace(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
bool PlatformRemove(const char* path) { return DeleteFileA(path) != 0; }
ContentFile PlatformOpen(const char* path) {
  HFILE file = _lopen(path, OF_READ);
  return file == HFILE_ERROR ? NoContentFile : file;
}
ContentFile PlatformCreate(const char* path) {
  HFILE file = _lcreat(path, 0);
  return file == HFILE_ERROR ? NoContentFile : file;
}
bool PlatformClose(ContentFile file) { return _lclose(file) != HFILE_ERROR; }
std::int64_t PlatformSeek(ContentFile file, std::int64_t offset, int origin) {
  LONG position = _llseek(file, static_cast<LONG>(offset), origin);
  return position == HFILE_ERROR ? -1 : position;
}
std::int64_t PlatformRead(ContentFile file, void* buffer, u32 count) {
  UINT got = _lread(file, buffer, count);
  return got == static_cast<UINT>(HFILE_ERROR) ? -1 : got;
}
bool PlatformWrite(ContentFile file, const void* buffer, u32 count) {
  return _lwrite(file, static_cast<LPCCH>(buffer), count) == count;
}
#else
bool PlatformReplace(const char* from, const char* to) { return std::rename(from, to) == 0; }
bool PlatformRemove(const char* path) { return std::remove(path) == 0; }
ContentFile PlatformOpen(const char* path) { return RePlatformOpen(path, RePlatRead); }
ContentFile PlatformCreate(const char* path) { return RePlatformCreate(path); }
bool PlatformClose(ContentFile file) { return RePlatformClose(file); }
std::int64_t PlatformSeek(ContentFile file, std::int64_t offset, int origin) {
  return RePlatformSeek(file, static_cast<i32>(offset), static_cast<i16>(origin));
}
std::int64_t PlatformRead(ContentFile file, void* buffer, u32 count) {
  u32 got = RePlatformRead(file, buffer, count);
  return got == 0xFFFFFFFFu ? -1 : got;
}
bool PlatformWrite(ContentFile file, const void* buffer, u32 count) {
  return RePlatformWrite(file, buffer, count) == count;
}
#endif

// The failures a test asked for (ContentSimulateFailures).
int writesBeforeFailure = -1;
bool closesFail = false;

}  // namespace

void ContentSimulateFailures(int writes, bool closeFails) {
  writesBeforeFailure = writes;
  closesFail = closeFails;
}

ContentFile ContentOpen(const char* path) { return path ? PlatformOpen(path) : NoContentFile; }

ContentFile ContentCreate(const char* path) { return path ? PlatformCreate(path) : NoContentFile; }

bool ContentClose(ContentFile file) {
  if (file == NoContentFile) return false;
  return PlatformClose(file) && !closesFail;
}

bool ContentSeek(ContentFile file, std::int64_t position) {
  if (file == NoContentFile || position < 0 || position > MaxPosition) return false;
  return PlatformSeek(file, position, 0) == position;
}

std::int64_t ContentRemaining(ContentFile file) {
  if (file == NoContentFile) return -1;
  const std::int64_t here = PlatformSeek(file, 0, 1);
  if (here < 0) return -1;
  const std::int64_t end = PlatformSeek(file, 0, 2);
  if (PlatformSeek(file, here, 0) != here || end < here) return -1;
  return end - here;
}

std::int64_t ContentRead(ContentFile file, void* buffer, u32 count) {
  if (file == NoContentFile || (count && !buffer)) return -1;
  if (count == 0) return 0;
  return PlatformRead(file, buffer, count);
}

bool ContentReadExact(ContentFile file, void* buffer, u32 count) {
  return ContentRead(file, buffer, count) == static_cast<std::int64_t>(count);
}

bool ContentWrite(ContentFile file, const void* buffer, u32 count) {
  if (file == NoContentFile || (count && !buffer)) return false;
  if (writesBeforeFailure == 0) return false;
  if (writesBeforeFailure > 0) --writesBeforeFailure;
  return count == 0 || PlatformWrite(file, buffer, count);
}

ContentReplacement::ContentReplacement(const char* path)
    : path_(path ? path : ""), work_(path_ + ".new"), file_(path ? ContentCreate(work_.c_str()) : NoContentFile) {}

ContentReplacement::~ContentReplacement() {
  if (file_ == NoContentFile) return;
  ContentClose(file_);
  PlatformRemove(work_.c_str());
}

bool ContentReplacement::Commit() {
  if (file_ == NoContentFile) return false;
  const bool closed = ContentClose(file_);
  file_ = NoContentFile;
  if (closed && PlatformReplace(work_.c_str(), path_.c_str())) return true;
  PlatformRemove(work_.c_str());
  return false;
}

bool ContentReplaceFile(const char* path, const void* data, u32 size) {
  ContentReplacement file(path);
  return file.IsOpen() && ContentWrite(file.File(), data, size) && file.Commit();
}
