#include "pano_host.h"

#include <cstring>

#include "pano_types.h"

namespace pano {
namespace {

HostServices gHost;
SystemServices gSystem;
KnEntryProc gMedia = nullptr;
KncmEntryProc gManager = nullptr;
KnEntryProc gMediaFallback = nullptr;
KncmEntryProc gManagerFallback = nullptr;
bool gMediaSupplied = false;
bool gManagerSupplied = false;

}  // namespace

bool KeptInstance::Offer(std::intptr_t candidate, bool better) {
  if (!better) {
    CallManager(kn::kGroupManager, kn::kCmClose, {candidate});
    return false;
  }
  if (instance_ != 0) CallManager(kn::kGroupManager, kn::kCmClose, {instance_});
  instance_ = candidate;
  return true;
}

HostServices& Host() { return gHost; }
SystemServices& System() { return gSystem; }

void SetMediaEntry(KnEntryProc entry) {
  gMedia = entry;
  gMediaSupplied = true;
}
void SetManagerEntry(KncmEntryProc entry) {
  gManager = entry;
  gManagerSupplied = true;
}
void SetEntryFallbacks(KnEntryProc media, KncmEntryProc manager) {
  gMediaFallback = media;
  gManagerFallback = manager;
}
void ResetEntries() {
  gMedia = nullptr;
  gManager = nullptr;
  gMediaSupplied = gManagerSupplied = false;
}

std::intptr_t CallMedia(std::int32_t selector, std::initializer_list<std::intptr_t> args) {
  KnEntryProc entry = gMediaSupplied ? gMedia : gMediaFallback;
  if (entry == nullptr) return kHostEntryMissing;
  return entry(selector, args.begin(), static_cast<std::int32_t>(args.size()));
}

std::intptr_t CallManager(std::int32_t group, std::int32_t selector, std::initializer_list<std::intptr_t> args) {
  KncmEntryProc entry = gManagerSupplied ? gManager : gManagerFallback;
  if (entry == nullptr) return kHostEntryMissing;
  return entry(group, selector, args.begin(), static_cast<std::int32_t>(args.size()));
}

void* HostAlloc(std::int32_t size) {
  if (size < 0 || gHost.getMemory == nullptr) return nullptr;
  void* block = gHost.getMemory(size == 0 ? 1 : size);
  if (block != nullptr) std::memset(block, 0, static_cast<std::size_t>(size));
  return block;
}

void HostFree(void* block) {
  if (block != nullptr && gHost.freeMemory != nullptr) gHost.freeMemory(block);
}

std::uint16_t Be16(const void* p) {
  std::int16_t v;
  std::memcpy(&v, p, 2);
  return static_cast<std::uint16_t>(gHost.flip16(v));
}

std::uint32_t Be32(const void* p) {
  std::int32_t v;
  std::memcpy(&v, p, 4);
  return static_cast<std::uint32_t>(gHost.flip32(v));
}

}  // namespace pano
