// Native build: the Windows file and memory calls emulated over POSIX, so the
// engine can run under the sanitizers. Sharing modes map onto flock().
#include <fcntl.h>
#include <malloc.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "re_platform.h"
#include "re_platform_faults.h"

namespace {

ReFileHandle OpenShared(const char* path, int access, u16 flags) {
  int fd = ::open(path, access | O_CLOEXEC);
  if (fd < 0) return ReNoFile;
  int lock = 0;
  if (flags & RePlatShareExclusive)
    lock = LOCK_EX;
  else if (flags & RePlatShareDenyWrite)
    lock = LOCK_SH;
  if (lock && ::flock(fd, lock | LOCK_NB) != 0) {
    ::close(fd);
    return ReNoFile;
  }
  return fd;
}

// Global blocks carry their size in front so that they behave like one allocation.
struct GlobalHeader {
  u32 size;
  i32 locks;
};

}  // namespace

ReFileHandle RePlatformOpen(const char* path, u16 flags) {
  int access = O_RDONLY;
  if ((flags & 0x03) == RePlatWrite) access = O_WRONLY;
  if ((flags & 0x03) == RePlatReadWrite) access = O_RDWR;
  return OpenShared(path, access, flags);
}

ReFileHandle RePlatformCreate(const char* path) {
  int fd = ::open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  return fd < 0 ? ReNoFile : fd;
}

bool RePlatformClose(ReFileHandle file) { return ::close(file) == 0; }

i32 RePlatformSeek(ReFileHandle file, i32 offset, i16 origin) {
  int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  off_t position = ::lseek(file, offset, whence);
  return position < 0 || position > 0x7FFFFFFF ? -1 : static_cast<i32>(position);
}

u32 RePlatformRead(ReFileHandle file, void* buffer, u32 count) {
  u32 total = 0;
  auto* out = static_cast<char*>(buffer);
  while (total < count) {
    ssize_t got = ::read(file, out + total, count - total);
    if (got < 0) return 0xFFFFFFFFu;
    if (got == 0) break;
    total += static_cast<u32>(got);
  }
  return total;
}

i32 RePlatformLargeRead(ReFileHandle file, void* buffer, i32 count) {
  if (count < 0) return -1;
  u32 got = RePlatformRead(file, buffer, static_cast<u32>(count));
  return got == 0xFFFFFFFFu ? -1 : static_cast<i32>(got);
}

u32 RePlatformWrite(ReFileHandle file, const void* buffer, u32 count) {
  u32 total = 0;
  auto* in = static_cast<const char*>(buffer);
  while (total < count) {
    ssize_t put = ::write(file, in + total, count - total);
    if (put <= 0) return 0xFFFFFFFFu;
    total += static_cast<u32>(put);
  }
  return total;
}

bool RePlatformFileExists(const char* path) {
  struct stat info;
  return ::stat(path, &info) == 0;
}

ReMemHandle ReGlobalAlloc(u32 size) {
  if (ReAllocationShouldFail()) return nullptr;
  auto* header = static_cast<GlobalHeader*>(std::calloc(1, sizeof(GlobalHeader) + 16 + size));
  if (!header) return nullptr;
  header->size = size;
  ReNoteAllocated();
  return header;
}

void* ReGlobalLock(ReMemHandle memory) {
  if (!memory) return nullptr;
  auto* header = static_cast<GlobalHeader*>(memory);
  ++header->locks;
  return reinterpret_cast<char*>(header) + 16;
}

void ReGlobalUnlock(ReMemHandle memory) {
  if (memory) --static_cast<GlobalHeader*>(memory)->locks;
}

void ReGlobalFree(ReMemHandle memory) {
  if (!memory) return;
  std::free(memory);
  ReNoteFreed();
}

void* ReLocalAlloc(u32 size) { return ReHeapAlloc(size); }

void ReLocalFree(void* memory) { ReHeapFree(memory); }

void* ReHeapAlloc(u32 size) {
  if (ReAllocationShouldFail()) return nullptr;
  void* memory = std::calloc(1, size ? size : 1);
  if (memory) ReNoteAllocated();
  return memory;
}

void ReHeapFree(void* memory) {
  if (!memory) return;
  std::free(memory);
  ReNoteFreed();
}

u32 ReHeapSize(const void* memory) {
  return memory ? static_cast<u32>(malloc_usable_size(const_cast<void*>(memory))) : 0;
}
