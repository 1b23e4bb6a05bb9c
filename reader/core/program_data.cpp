#include "core/program_data.h"

#include <map>
#include <utility>

#if defined(_WIN32)
#include "afx_core.h"
#endif

namespace {

std::map<int, std::pair<const u8*, u32>>& StandIns() {
  static std::map<int, std::pair<const u8*, u32>> standIns;
  return standIns;
}

}  // namespace

bool FindProgramData(int id, const u8** data, u32* size) {
  if (!data || !size) return false;
  const auto found = StandIns().find(id);
  if (found != StandIns().end()) {
    *data = found->second.first;
    *size = found->second.second;
    return true;
  }
#if defined(_WIN32)
  HRSRC resource = FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(AfxGetResourceHandle(), resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  *data = static_cast<const u8*>(bytes);
  *size = SizeofResource(AfxGetResourceHandle(), resource);
  return true;
#else
  return false;
#endif
}

void RegisterProgramData(int id, const u8* data, u32 size) {
  if (data)
    StandIns()[id] = {data, size};
  else
    StandIns().erase(id);
}
