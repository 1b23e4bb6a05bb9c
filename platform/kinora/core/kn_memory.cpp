// Memory blocks, byte order and movable handles that can be purged.
#include <cstdlib>
#include <cstring>
#include <map>

#include "kn_host.h"

namespace kn {
namespace {

int gLiveBlocks = 0;
int gFailAfter = -1;

struct HandleRecord {
  void* data = nullptr;
  std::int32_t size = 0;
  std::int32_t capacity = 0;  // bytes the block holds; a resize within it keeps the block
  int locks = 0;
  bool purged = false;
};
std::map<KnHandle, HandleRecord> gHandles;
KnHandle gNextHandle = 0x1000;

bool MayAllocate() {
  if (gFailAfter < 0) return true;
  if (gFailAfter == 0) return false;
  --gFailAfter;
  return true;
}

HandleRecord* Find(KnHandle handle) {
  const auto it = gHandles.find(handle);
  return it == gHandles.end() ? nullptr : &it->second;
}

}  // namespace

void* GetMemory(std::int32_t size) {
  if (size < 0 || !MayAllocate()) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : static_cast<std::size_t>(size));
  if (block != nullptr) ++gLiveBlocks;
  return block;
}

void FreeMemory(void* block) {
  if (block == nullptr) return;
  std::free(block);
  --gLiveBlocks;
}

void* ReallocateMemory(void* block, std::int32_t size) {
  if (block == nullptr) return GetMemory(size);
  if (size < 0 || !MayAllocate()) return nullptr;
  return std::realloc(block, size == 0 ? 1 : static_cast<std::size_t>(size));
}

int LiveBlocks() { return gLiveBlocks; }
void FailMemoryAfter(int allocations) { gFailAfter = allocations; }

std::int16_t Flip16(std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(u >> 8 | u << 8));
}

std::int32_t Flip32(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  return static_cast<std::int32_t>(u >> 24 | (u >> 8 & 0xFF00) | (u << 8 & 0xFF0000) | u << 24);
}

void Flip32Many(void* words, std::int32_t count) {
  auto* bytes = static_cast<std::uint8_t*>(words);
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t v;
    std::memcpy(&v, bytes + 4 * i, 4);
    v = Flip32(v);
    std::memcpy(bytes + 4 * i, &v, 4);
  }
}

KnHandle NewHandle(std::int32_t size) {
  if (size < 0 || !MayAllocate()) return 0;
  HandleRecord record;
  record.data = std::calloc(1, size == 0 ? 1 : static_cast<std::size_t>(size));
  if (record.data == nullptr) return 0;
  record.size = size;
  record.capacity = size == 0 ? 1 : size;
  const KnHandle handle = gNextHandle++;
  gHandles[handle] = record;
  return handle;
}

void* HandlePointer(KnHandle handle) {
  HandleRecord* record = Find(handle);
  return record == nullptr || record->purged ? nullptr : record->data;
}

std::int32_t SetHandleSize(KnHandle handle, std::int32_t size) {
  HandleRecord* record = Find(handle);
  if (record == nullptr || size < 0) return -108;
  if (!MayAllocate()) return -108;
  // A cache slot takes tile after tile of about the same size: resizing
  // within the block (down to half of it) keeps the block and its memory.
  if (!record->purged && size <= record->capacity && size >= record->capacity / 2) {
    record->size = size;
    return 0;
  }
  const std::int32_t capacity = size == 0 ? 1 : size;
  void* data = record->purged ? std::calloc(1, static_cast<std::size_t>(capacity))
                              : std::realloc(record->data, static_cast<std::size_t>(capacity));
  if (data == nullptr) return -108;
  record->data = data;
  record->size = size;
  record->capacity = capacity;
  record->purged = false;
  return 0;
}

std::int32_t GetHandleSize(KnHandle handle) {
  HandleRecord* record = Find(handle);
  return record == nullptr || record->purged ? 0 : record->size;
}

void LockHandle(KnHandle handle) {
  if (HandleRecord* record = Find(handle)) ++record->locks;
}

void UnlockHandle(KnHandle handle) {
  HandleRecord* record = Find(handle);
  if (record != nullptr && record->locks > 0) --record->locks;
}

void DisposeHandle(KnHandle handle) {
  HandleRecord* record = Find(handle);
  if (record == nullptr) return;
  if (!record->purged) std::free(record->data);
  gHandles.erase(handle);
}

int PurgeUnlockedHandles() {
  int purged = 0;
  for (auto& [handle, record] : gHandles) {
    if (record.locks > 0 || record.purged) continue;
    std::free(record.data);
    record.data = nullptr;
    record.purged = true;
    ++purged;
  }
  return purged;
}

int LiveHandles() { return static_cast<int>(gHandles.size()); }

}  // namespace kn
