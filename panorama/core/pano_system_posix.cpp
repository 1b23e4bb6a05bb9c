// The system services natively: POSIX files and clocks. Tests replace single
// entries (time, input, memory status, KNW.INI values) as they need.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "pano_host.h"

namespace pano {
namespace {

std::uint32_t TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}
bool NoInput() { return false; }
std::int64_t PlentyOfMemory() { return std::int64_t{1} << 30; }
void NoCompact() {}
std::int32_t ProfileInt(const char*, const char*, std::int32_t fallback) { return fallback; }
std::int32_t ProfileString(const char*, const char*, const char* fallback, char* out, std::int32_t size) {
  if (size <= 0) return 0;
  std::strncpy(out, fallback, static_cast<std::size_t>(size) - 1);
  out[size - 1] = 0;
  return static_cast<std::int32_t>(std::strlen(out));
}
bool Writable(const void* block, std::size_t) { return block != nullptr; }
std::intptr_t OpenFile(const char* path) { return ::open(path, O_RDONLY); }
bool CloseFile(std::intptr_t file) { return ::close(static_cast<int>(file)) == 0; }
std::int64_t FileSize(std::intptr_t file) {
  struct stat info {};
  if (::fstat(static_cast<int>(file), &info) != 0) return -1;
  return info.st_size;
}
std::int64_t ReadAt(std::intptr_t file, std::int64_t offset, void* buffer, std::int32_t length) {
  if (offset < 0 || length < 0) return -1;
  return ::pread(static_cast<int>(file), buffer, static_cast<std::size_t>(length), offset);
}
bool NoResource(int, const std::uint8_t**, std::uint32_t*) { return false; }
std::uint32_t ProcessId() { return static_cast<std::uint32_t>(::getpid()); }
void* AllocateCanvas(std::size_t bytes) { return std::calloc(1, bytes); }
void FreeCanvas(void* block) { std::free(block); }

}  // namespace

void InstallDefaultSystem() {
  System() = SystemServices{.tickCount = TickCount,
                            .inputPending = NoInput,
                            .availableVirtual = PlentyOfMemory,
                            .compactMemory = NoCompact,
                            .profileInt = ProfileInt,
                            .profileString = ProfileString,
                            .isWritable = Writable,
                            .openFile = OpenFile,
                            .closeFile = CloseFile,
                            .fileSize = FileSize,
                            .readAt = ReadAt,
                            .loadResource = NoResource,
                            .processId = ProcessId,
                            .allocateCanvas = AllocateCanvas,
                            .freeCanvas = FreeCanvas};
}

}  // namespace pano
