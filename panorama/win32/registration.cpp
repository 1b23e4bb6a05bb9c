// The library's registration with the host, the two component entry points
// and what the components share (the selector dispatch is in components.h).
#include <cstring>

#include "components.h"
#include "pano_host.h"
#include "pano_types.h"
#include "plugin_module.h"

extern "C" {
// Imported from the media library.
__declspec(dllimport) void* GetMemory(std::int32_t size);
__declspec(dllimport) void FreeMemory(void* block);
__declspec(dllimport) void* ReallocateMemory(void* block, std::int32_t size);
__declspec(dllimport) std::int16_t Flip16(std::int16_t value);
__declspec(dllimport) std::int32_t Flip32(std::int32_t value);
__declspec(dllimport) void Flip32Many(void* words, std::int32_t count);

__declspec(dllexport) std::int32_t THNGIDENTIFY2(kn::KnComponentRegistration** out);
__declspec(dllexport) std::intptr_t
    PanoCtlDispatch(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
__declspec(dllexport) std::intptr_t
    ObjCtlDispatch(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
}

namespace pano {
namespace {

KnEntryProc gLoadedMedia = nullptr;
KncmEntryProc gLoadedManager = nullptr;

// Before the host supplies its entries, the first call loads the library itself.
std::intptr_t MediaFallback(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  if (gLoadedMedia == nullptr) {
    HMODULE library = LoadLibraryA("KNIM32.DLL");
    if (library != nullptr)
      gLoadedMedia = reinterpret_cast<KnEntryProc>(reinterpret_cast<void*>(GetProcAddress(library, "_EntryPoint")));
  }
  return gLoadedMedia != nullptr ? gLoadedMedia(selector, args, count) : kHostEntryMissing;
}
std::intptr_t ManagerFallback(std::int32_t group, std::int32_t selector, const std::intptr_t* args,
                              std::int32_t count) {
  if (gLoadedManager == nullptr) {
    HMODULE library = LoadLibraryA("KNCM32.DLL");
    if (library != nullptr)
      gLoadedManager = reinterpret_cast<KncmEntryProc>(reinterpret_cast<void*>(GetProcAddress(library, "_EntryPoint")));
  }
  return gLoadedManager != nullptr ? gLoadedManager(group, selector, args, count) : kHostEntryMissing;
}

KnEntryProc SetMediaLibraryEntry(KnEntryProc entry) {
  SetMediaEntry(entry);
  return entry;
}
KncmEntryProc SetComponentManagerEntry(KncmEntryProc entry) {
  SetManagerEntry(entry);
  return entry;
}

const kn::KnComponentDescriptor kDescriptors[2] = {
    {{'p', 'l', 'a', 'y'}, {'S', 'T', 'p', 'n'}, {'w', 'z', 'q', ' '}, 0, 0, PanoCtlDispatch, {0, 0, 0}},
    {{'p', 'l', 'a', 'y'}, {'s', 't', 'n', 'a'}, {'v', 'm', 'b', 'o'}, 0, 0, ObjCtlDispatch, {0, 0, 0}},
};

void InstallHost() {
  HostServices& host = Host();
  host.getMemory = GetMemory;
  host.freeMemory = FreeMemory;
  host.reallocateMemory = ReallocateMemory;
  host.flip16 = Flip16;
  host.flip32 = Flip32;
  host.flip32Many = Flip32Many;
  InstallDefaultSystem();
  SetEntryFallbacks(MediaFallback, ManagerFallback);
}

}  // namespace

bool InTable(const InstanceTable& table, const void* record) {
  for (int i = 0; i < table.highWater; ++i) {
    if (table.slots[i] == record) return true;
  }
  return false;
}

bool ThreadGone(const InstanceHead* record) {
  // A thread that ended is signalled; a handle that is no longer one fails.
  const DWORD wait = WaitForSingleObject(record->thread, 0);
  return wait == WAIT_FAILED || wait == WAIT_OBJECT_0;
}

bool IsValidInstance(const InstanceTable& table, const void* record, std::size_t size) {
  if (record == nullptr || IsBadWritePtr(const_cast<void*>(record), size)) return false;
  if (!InTable(table, record)) return false;
  return !ThreadGone(static_cast<const InstanceHead*>(record));
}

void RegisterInstance(InstanceTable& table, InstanceHead* record, HWND window, void (*purge)(InstanceHead*)) {
  for (int i = 0; i < table.highWater; ++i) {
    InstanceHead* slot = table.slots[i];
    if (slot == nullptr || slot == record) continue;
    if (IsBadWritePtr(slot, sizeof *slot) || ThreadGone(slot)) {
      if (purge != nullptr) purge(slot);
      table.slots[i] = nullptr;
    }
  }
  HWND top = window;
  while (top != nullptr && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD) != 0 && GetParent(top) != nullptr) {
    top = GetParent(top);
  }
  if (InTable(table, record) && record->threadId == GetCurrentThreadId()) {
    record->topLevel = top;
    return;
  }
  for (int i = 0; i < kInstanceSlots; ++i) {
    if (table.slots[i] != nullptr && table.slots[i] != record) continue;
    table.slots[i] = record;
    record->topLevel = top;
    if (record->thread != nullptr) CloseHandle(record->thread);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &record->thread, SYNCHRONIZE, FALSE,
                    0);
    record->threadId = GetCurrentThreadId();
    if (i + 1 > table.highWater) table.highWater = i + 1;
    return;
  }
}

void RemoveInstance(InstanceTable& table, const void* record) {
  for (int i = 0; i < table.highWater; ++i) {
    if (table.slots[i] == record) table.slots[i] = nullptr;
  }
}

bool TableFull(const InstanceTable& table) {
  for (int i = 0; i < kInstanceSlots; ++i) {
    if (table.slots[i] == nullptr) return false;
  }
  return true;
}

std::intptr_t Standard(std::intptr_t controller, std::int16_t selector, std::initializer_list<std::intptr_t> params) {
  std::intptr_t args[12] = {controller};
  int n = 1;
  for (std::intptr_t p : params) {
    if (n < 12) args[n++] = p;
  }
  // Built by hand: CallManager takes a list, and the count here varies.
  switch (n) {
    case 1: return CallManager(kn::kGroupController, selector, {args[0]});
    case 2: return CallManager(kn::kGroupController, selector, {args[0], args[1]});
    case 3: return CallManager(kn::kGroupController, selector, {args[0], args[1], args[2]});
    case 4: return CallManager(kn::kGroupController, selector, {args[0], args[1], args[2], args[3]});
    case 5: return CallManager(kn::kGroupController, selector, {args[0], args[1], args[2], args[3], args[4]});
    default: return CallManager(kn::kGroupController, selector, {args[0], args[1], args[2], args[3], args[4], args[5]});
  }
}

std::intptr_t CreateStandard(const Params& param, std::intptr_t* standard) {
  *standard = CallManager(kn::kGroupManager, kn::kCmOpenDefault, {static_cast<std::intptr_t>(Tag("play")), 0});
  if (*standard == 0) return kErrCreate;
  const std::intptr_t created = Standard(*standard, kn::kMcCreate, {param(0), param(1), 8, param(3)});
  if (created != 0) CallManager(kn::kGroupManager, kn::kCmClose, {*standard});
  return created;
}

void AdoptRecord(ControllerRecord* record, std::intptr_t standard, const Params& param) {
  CallManager(kn::kGroupManager, kn::kCmSetStorage, {param.Word(2), reinterpret_cast<std::intptr_t>(record)});
  record->component = param.Word(2);
  record->standard = standard;
  record->flags = 0x20;
  record->flags2 = 1;
}

void ShowCursorUntil(bool show) {
  for (int i = 0; i < 64; ++i) {
    const int count = ShowCursor(show ? TRUE : FALSE);
    if (show ? count >= 0 : count < 0) return;
  }
}

UINT IdleMessage() {
  static UINT message = RegisterWindowMessageA("Kinora Idle Event");
  return message;
}

std::intptr_t ModuleVersion() {
  const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  HMODULE version = LoadLibraryA("version.dll");
  SetErrorMode(oldMode);
  if (version == nullptr) return -1;
  std::intptr_t result = -1;
  using SizeProc = DWORD(WINAPI*)(LPCSTR, LPDWORD);
  using InfoProc = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryProc = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
  auto size = reinterpret_cast<SizeProc>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoSizeA")));
  auto info = reinterpret_cast<InfoProc>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoA")));
  auto query = reinterpret_cast<QueryProc>(reinterpret_cast<void*>(GetProcAddress(version, "VerQueryValueA")));
  char name[260] = {};
  if (size != nullptr && info != nullptr && query != nullptr &&
      GetModuleFileNameA(GetPluginModule(), name, sizeof name) != 0) {
    DWORD handle = 0;
    const DWORD bytes = size(name, &handle);
    if (bytes != 0) {
      void* block = HeapAlloc(GetProcessHeap(), 0, bytes);
      VS_FIXEDFILEINFO* fixed = nullptr;
      UINT length = 0;
      if (block != nullptr && info(name, 0, bytes, block) &&
          query(block, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed != nullptr) {
        result =
            (static_cast<std::intptr_t>(HIWORD(fixed->dwProductVersionMS)) * 16 + LOWORD(fixed->dwProductVersionMS)) *
                256 +
            HIWORD(fixed->dwProductVersionLS);
      }
      if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
    }
  }
  FreeLibrary(version);
  return result;
}

}  // namespace pano

extern "C" std::int32_t THNGIDENTIFY2(kn::KnComponentRegistration** out) {
  pano::InstallHost();
  auto* record = static_cast<kn::KnComponentRegistration*>(GetMemory(sizeof(kn::KnComponentRegistration)));
  if (record == nullptr) return 0;
  std::memset(record, 0, sizeof *record);
  record->version = 0x00010000;
  record->count = 2;
  record->descriptors = pano::kDescriptors;
  record->setMediaEntry = pano::SetMediaLibraryEntry;
  record->setManagerEntry = pano::SetComponentManagerEntry;
  *out = record;
  return kn::kThingSignature;
}

extern "C" std::intptr_t PanoCtlDispatch(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  return pano::PanoramaSelector(selector, args, count);
}

extern "C" std::intptr_t ObjCtlDispatch(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  return pano::ObjectSelector(selector, args, count);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetPluginModule(instance);
    pano::InstallHost();
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary (at process exit the host may be gone already).
    pano::EndObjectModule();
  }
  return TRUE;
}
