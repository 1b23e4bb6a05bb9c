// The settings in the Windows registry, under HKEY_LOCAL_MACHINE.
#include <windows.h>

#include <cstring>

#include "settings/settings.h"

namespace {

class RegistryBackend final : public SettingsBackend {
 public:
  bool Query(const char* keyPath, const char* name, void* buffer, u32* size) override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD stored = *size;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(buffer), &stored);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || stored > *size) return false;
    *size = stored;
    return true;
  }

  bool Store(const char* keyPath, const char* name, const char* text) override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                       static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }
};

}  // namespace

SettingsBackend& RegistrySettings() {
  static RegistryBackend registry;
  return registry;
}
