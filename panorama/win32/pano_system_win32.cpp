// The system services in the DLL: Win32 files, clocks, input, memory status,
// KNW.INI and the plug-in's own data resources.
#include <windows.h>

#include <cstring>

#include "pano_host.h"
#include "plugin_module.h"

namespace {
HMODULE gModule = nullptr;
}

HMODULE GetPluginModule() { return gModule; }
void SetPluginModule(HMODULE module) { gModule = module; }

void* AllocateLocked(std::size_t bytes) {
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  if (memory == nullptr) return nullptr;
  void* block = GlobalLock(memory);
  if (block == nullptr) GlobalFree(memory);
  return block;
}

void FreeLocked(void* block) {
  HGLOBAL memory = block == nullptr ? nullptr : GlobalHandle(block);
  if (memory == nullptr) return;
  GlobalUnlock(memory);
  GlobalFree(memory);
}

namespace pano {
namespace {

constexpr const char* kIniFile = "KNW.INI";

std::uint32_t TickCount() { return GetTickCount(); }
bool InputPending() { return GetInputState() != 0; }
std::int64_t AvailableVirtual() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return static_cast<std::int64_t>(status.dwAvailVirtual);
}
void Compact() { GlobalCompact(0); }
std::int32_t ProfileInt(const char* section, const char* key, std::int32_t fallback) {
  return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, fallback, kIniFile));
}
std::int32_t ProfileString(const char* section, const char* key, const char* fallback, char* out, std::int32_t size) {
  return static_cast<std::int32_t>(
      GetPrivateProfileStringA(section, key, fallback, out, static_cast<DWORD>(size), kIniFile));
}
bool Writable(const void* block, std::size_t size) {
  return block != nullptr && !IsBadWritePtr(const_cast<void*>(block), size);
}
std::intptr_t Open(const char* path) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
}
bool Close(std::intptr_t file) { return CloseHandle(reinterpret_cast<HANDLE>(file)) != 0; }
std::int64_t Size(std::intptr_t file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(reinterpret_cast<HANDLE>(file), &size)) return -1;
  return size.QuadPart;
}
std::int64_t ReadAt(std::intptr_t file, std::int64_t offset, void* buffer, std::int32_t length) {
  if (offset < 0 || length < 0 || IsBadWritePtr(buffer, static_cast<UINT_PTR>(length))) return -1;
  LARGE_INTEGER at{};
  at.QuadPart = offset;
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(file), at, nullptr, FILE_BEGIN)) return -1;
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(length), &read, nullptr)) return -1;
  return read;
}
bool LoadData(int id, const std::uint8_t** data, std::uint32_t* size) {
  HMODULE module = GetPluginModule();
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  if (loaded == nullptr) return false;
  *data = static_cast<const std::uint8_t*>(LockResource(loaded));
  *size = SizeofResource(module, resource);
  return *data != nullptr;
}
std::uint32_t ProcessId() { return GetCurrentProcessId(); }
}  // namespace

void InstallDefaultSystem() {
  SystemServices& s = System();
  s.tickCount = TickCount;
  s.inputPending = InputPending;
  s.availableVirtual = AvailableVirtual;
  s.compactMemory = Compact;
  s.profileInt = ProfileInt;
  s.profileString = ProfileString;
  s.isWritable = Writable;
  s.openFile = Open;
  s.closeFile = Close;
  s.fileSize = Size;
  s.readAt = ReadAt;
  s.loadResource = LoadData;
  s.processId = ProcessId;
  s.allocateCanvas = AllocateLocked;
  s.freeCanvas = FreeLocked;
}

}  // namespace pano
