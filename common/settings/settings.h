// The settings store: every setting of the reader is text under one product
// key of HKEY_LOCAL_MACHINE, one sub key per section ("Installation Options",
// "Database 1" to "Database 6"). Every read names its default. The functions
// take the name of an INI file and ignore it. The key is made by the
// installation; the program never creates it: without it every read gives its
// default and every write fails.
#pragma once

#include "afx_types.h"
#include "re_types.h"

constexpr const char* SettingsProductKey = "SOFTWARE\\Brenmoor & Tesk\\The Marovan & World Encyclopedia\\1998";
constexpr const char* SettingsIniName = "MARCD98.INI";
constexpr const char* InstallationOptions = "Installation Options";

// Reads a value into buffer (size bytes). Returns the length of the text placed
// in the buffer plus 1, or 0 when the value was missing or too long and the
// default does not fit (the buffer is then empty). The text is always
// NUL-terminated inside the buffer, whatever the stored value holds.
int GetSettingString(const char* section, const char* name, const char* defaultText, char* buffer, int size,
                     const char* iniName);
// A value as a decimal integer (atoi of at most 9 characters); 0 when the value
// and the default both do not fit.
int GetSettingInt(const char* section, const char* name, int defaultValue, const char* iniName);
// Stores text (REG_SZ with its NUL) under an existing section key; TRUE when stored.
BOOL WriteSettingString(const char* section, const char* name, const char* text, const char* iniName);

// Where the values live. The program uses the registry; tests can put a store
// of their own in its place.
class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  // Copies the value's bytes into buffer, which has room for *size bytes, and
  // sets *size to the number stored. False when the key or the value is
  // missing or the value does not fit.
  virtual bool Query(const char* keyPath, const char* name, void* buffer, u32* size) = 0;
  // Stores text with its NUL as REG_SZ under an existing key; never creates
  // the key. False on any failure.
  virtual bool Store(const char* keyPath, const char* name, const char* text) = 0;
};

// Makes `backend` the store of the functions above; null goes back to the
// platform's (the registry on Windows; natively an empty store).
void UseSettingsBackend(SettingsBackend* backend);

#if defined(_WIN32)
// The registry under HKEY_LOCAL_MACHINE.
SettingsBackend& RegistrySettings();
#endif
