#include "guarded_bytes.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

std::size_t PageSize() {
#if defined(_WIN32)
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
#else
  return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

GuardedBytes::GuardedBytes(std::size_t size) {
  const std::size_t page = PageSize();
  const std::size_t usable = (size + page - 1) / page * page;
  mappingSize_ = usable + page;
#if defined(_WIN32)
  mapping_ = VirtualAlloc(nullptr, mappingSize_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  DWORD previous = 0;
  if (mapping_ != nullptr &&
      !VirtualProtect(static_cast<std::uint8_t*>(mapping_) + usable, page, PAGE_NOACCESS, &previous)) {
    VirtualFree(mapping_, 0, MEM_RELEASE);
    mapping_ = nullptr;
  }
  if (mapping_ == nullptr) throw std::runtime_error("GuardedBytes: no guarded memory");
#else
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ != MAP_FAILED && mprotect(static_cast<std::uint8_t*>(mapping_) + usable, page, PROT_NONE) != 0) {
    munmap(mapping_, mappingSize_);
    mapping_ = MAP_FAILED;
  }
  if (mapping_ == MAP_FAILED) throw std::runtime_error("GuardedBytes: no guarded memory");
#endif
  end_ = static_cast<std::uint8_t*>(mapping_) + usable;
  size_ = usable;
}

GuardedBytes::~GuardedBytes() {
#if defined(_WIN32)
  VirtualFree(mapping_, 0, MEM_RELEASE);
#else
  munmap(mapping_, mappingSize_);
#endif
}
