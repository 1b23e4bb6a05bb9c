#include <windows.h>

#include <string>

#include "core/media_library.h"

namespace {

using EntryProc = std::intptr_t (*)(std::int32_t, const std::intptr_t*, std::int32_t);
using ManagerCall = long (*)();

// A library's function by name, as the type it has.
template <class Function>
Function Lookup(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

std::string SystemFile(const char* name) {
  char directory[MAX_PATH] = "";
  const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return name;
  return std::string(directory) + "\\" + name;
}

class SystemMediaLibrary final : public MediaLibrary {
 public:
  bool IsInstalled() override {
    return ::GetFileAttributesA(SystemFile("KNIM32.DLL").c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool Start() override {
    main_ = ::LoadLibraryA(SystemFile("KNIM32.DLL").c_str());
    manager_ = ::LoadLibraryA(SystemFile("KNCM32.DLL").c_str());
    entry_ = Lookup<EntryProc>(main_, "_EntryPoint");
    const auto initialize = Lookup<ManagerCall>(manager_, "_KncmInitialize");
    if (entry_ && initialize && initialize() == 0) {
      started_ = true;
      return true;
    }
    Unload();
    return false;
  }

  bool EnterMovies() override { return entry_ && entry_(media::EnterMovies, nullptr, 0) == 0; }

  void ExitMovies() override {
    if (entry_) entry_(media::ExitMovies, nullptr, 0);
  }

  void Stop() override {
    if (started_ && manager_) {
      const auto terminate = Lookup<ManagerCall>(manager_, "_KncmTerminate");
      if (terminate) terminate();
    }
    Unload();
  }

  std::intptr_t Call(std::int32_t selector, const std::intptr_t* args, std::int32_t count) override {
    return entry_ ? entry_(selector, args, count) : 0;
  }

 private:
  void Unload() {
    if (manager_) ::FreeLibrary(manager_);
    if (main_) ::FreeLibrary(main_);
    manager_ = main_ = nullptr;
    entry_ = nullptr;
    started_ = false;
  }

  HMODULE main_ = nullptr;
  HMODULE manager_ = nullptr;
  EntryProc entry_ = nullptr;
  bool started_ = false;
};

MediaLibrary* g_library = nullptr;

}  // namespace

MediaLibrary& TheMediaLibrary() {
  static SystemMediaLibrary system;
  return g_library ? *g_library : system;
}

void UseMediaLibrary(MediaLibrary* library) { g_library = library; }
