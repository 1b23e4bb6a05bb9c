#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Natively there is no registry: every value is missing and every write fails.
class EmptySettings final : public SettingsBackend {
 public:
  bool Query(const char*, const char*, void*, u32*) override { return false; }
  bool Store(const char*, const char*, const char*) override { return false; }
};

SettingsBackend* g_backend = nullptr;

SettingsBackend& Backend() {
  if (g_backend) return *g_backend;
#if defined(_WIN32)
  return RegistrySettings();
#else
  static EmptySettings empty;
  return empty;
#endif
}

std::string SectionKey(const char* section) { return std::string(SettingsProductKey) + "\\" + section; }

// The stored bytes as text inside the buffer: up to their first NUL, or
// terminated after the last byte when there is room. A value that fills the
// buffer without a NUL does not fit.
bool TerminateText(char* buffer, u32 stored, u32 size) {
  if (stored > 0 && std::memchr(buffer, '\0', stored)) return true;
  if (stored >= size) return false;
  buffer[stored] = '\0';
  return true;
}

}  // namespace

void UseSettingsBackend(SettingsBackend* backend) { g_backend = backend; }

int GetSettingString(const char* section, const char* name, const char* defaultText, char* buffer, int size,
                     const char*) {
  if (!buffer || size <= 0) return 0;
  bool read = false;
  if (section && name) {
    u32 stored = static_cast<u32>(size);
    read = Backend().Query(SectionKey(section).c_str(), name, buffer, &stored) &&
           TerminateText(buffer, stored, static_cast<u32>(size));
  }
  if (!read) {
    const char* fallback = defaultText ? defaultText : "";
    const size_t length = std::strlen(fallback);
    if (length >= static_cast<size_t>(size)) {
      buffer[0] = '\0';
      return 0;
    }
    std::memcpy(buffer, fallback, length + 1);
  }
  return static_cast<int>(std::strlen(buffer)) + 1;
}

int GetSettingInt(const char* section, const char* name, int defaultValue, const char* iniName) {
  char fallback[16];
  std::snprintf(fallback, sizeof fallback, "%d", defaultValue);
  char value[10];
  if (GetSettingString(section, name, fallback, value, sizeof value, iniName) == 0) return 0;
  return std::atoi(value);
}

BOOL WriteSettingString(const char* section, const char* name, const char* text, const char*) {
  if (!section || !name || !text) return FALSE;
  return Backend().Store(SectionKey(section).c_str(), name, text) ? TRUE : FALSE;
}
