// KNCM32.DLL: the component manager's library. Its state lives in the media
// library; starting it registers the host's components and loads the
// component libraries that lie beside it (KNVRW32.DLL).
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" {
__declspec(dllimport) std::intptr_t
    KnManagerEntry(std::int32_t group, std::int32_t selector, const std::intptr_t* args, std::int32_t count);
__declspec(dllimport) std::int32_t KnInitialize();
__declspec(dllimport) void KnTerminate();
__declspec(dllimport) std::int32_t KnRegisterLibrary(const char* path);

std::intptr_t KncmEntryPoint(std::int32_t group, std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  return KnManagerEntry(group, selector, args, count);
}
std::int32_t KncmInitialize();
void KncmTerminate() { KnTerminate(); }
}

namespace {
HMODULE gSelf = nullptr;
const char* const kComponentLibraries[] = {"KNVRW32.DLL"};
}  // namespace

extern "C" std::int32_t KncmInitialize() {
  if (KnInitialize() != 0) return -1;
  char directory[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(gSelf, directory, sizeof directory);
  char* slash = std::strrchr(directory, '\\');
  if (length == 0 || slash == nullptr) return 0;
  for (const char* name : kComponentLibraries) {
    char path[MAX_PATH];
    lstrcpynA(path, directory, static_cast<int>(slash - directory + 2));
    lstrcatA(path, name);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) KnRegisterLibrary(path);  // a missing library is no error
  }
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) gSelf = instance;
  return TRUE;
}
