// The settings store against the real registry (Wine's, under the tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace {

const std::string kOptions = std::string(SettingsProductKey) + "\\Installation Options";

void DeleteProductKey() {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kOptions.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, SettingsProductKey);
}

bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The tests run in the Wine prefix that the sample's settings are imported
// into: the values the test removes are put back when it ends.
class KeptOptions {
 public:
  KeptOptions() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    existed_ = true;
    for (DWORD index = 0;; ++index) {
      char name[256];
      BYTE data[4096];
      DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
      if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
      values_.push_back({name, type, std::string(reinterpret_cast<const char*>(data), dataSize)});
    }
    RegCloseKey(key);
  }
  ~KeptOptions() {
    HKEY key;
    if (!existed_ || RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     nullptr) != ERROR_SUCCESS)
      return;
    for (const Value& value : values_)
      RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                     static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
  }

 private:
  struct Value {
    std::string name;
    DWORD type;
    std::string data;
  };
  bool existed_ = false;
  std::vector<Value> values_;
};

TEST(RegistrySettings, ReadsAndWritesOnlyUnderAnExistingKey) {
  const KeptOptions kept;
  DeleteProductKey();
  char buffer[80];
  EXPECT_EQ(GetSettingString(InstallationOptions, "FontName", "Arial", buffer, sizeof buffer, SettingsIniName), 6);
  EXPECT_STREQ(buffer, "Arial");
  EXPECT_FALSE(WriteSettingString(InstallationOptions, "FontName", "Times", SettingsIniName));
  EXPECT_FALSE(KeyExists(kOptions));

  // The installation (here the test) makes the key.
  HKEY key;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  ASSERT_TRUE(WriteSettingString(InstallationOptions, "FontName", "Times", SettingsIniName));
  DWORD type = 0;
  char stored[16];
  DWORD size = sizeof stored;
  ASSERT_EQ(RegQueryValueExA(key, "FontName", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(GetSettingString(InstallationOptions, "FontName", "Arial", buffer, sizeof buffer, SettingsIniName), 6);
  EXPECT_STREQ(buffer, "Times");

  const DWORD number = 0x00000031;  // read as its raw bytes: "1"
  RegSetValueExA(key, "ZoomIn", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  EXPECT_EQ(GetSettingInt(InstallationOptions, "ZoomIn", 0, SettingsIniName), 1);
  RegSetValueExA(key, "Raw", 0, REG_BINARY, reinterpret_cast<const BYTE*>("abcdef"), 6);
  EXPECT_EQ(GetSettingString(InstallationOptions, "Raw", "x", buffer, sizeof buffer, SettingsIniName), 7);
  EXPECT_STREQ(buffer, "abcdef");
  RegCloseKey(key);
  DeleteProductKey();
}

}  // namespace
