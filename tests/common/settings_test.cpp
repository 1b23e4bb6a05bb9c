#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

const std::string kOptions = std::string(SettingsProductKey) + "\\Installation Options";

// Keys and raw value bytes in memory, as the registry would hold them.
class FakeSettings final : public SettingsBackend {
 public:
  FakeSettings() { UseSettingsBackend(this); }
  ~FakeSettings() override { UseSettingsBackend(nullptr); }

  bool Query(const char* keyPath, const char* name, void* buffer, u32* size) override {
    const auto value = values_.find({keyPath, name});
    if (!keys_.count(keyPath) || value == values_.end() || value->second.size() > *size) return false;
    std::memcpy(buffer, value->second.data(), value->second.size());
    *size = static_cast<u32>(value->second.size());
    return true;
  }
  bool Store(const char* keyPath, const char* name, const char* text) override {
    if (!keys_.count(keyPath)) return false;
    values_[{keyPath, name}] = std::string(text, std::strlen(text) + 1);
    return true;
  }

  void AddKey(const std::string& key) { keys_.insert(key); }
  void Put(const std::string& name, const std::string& bytes) { values_[{kOptions, name}] = bytes; }
  bool Has(const std::string& key, const std::string& name) const { return values_.count({key, name}) != 0; }

 private:
  std::set<std::string> keys_;
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

std::string Read(const char* name, const char* fallback, int size, int* result = nullptr) {
  char buffer[200];
  std::memset(buffer, 'z', sizeof buffer);
  const int length = GetSettingString(InstallationOptions, name, fallback, buffer, size, SettingsIniName);
  if (result) *result = length;
  return buffer;
}

TEST(Settings, WithoutTheKeyReadsGiveDefaultsAndWritesFail) {
  FakeSettings store;
  int result = 0;
  EXPECT_EQ(Read("FontName", "Arial", 80, &result), "Arial");
  EXPECT_EQ(result, 6);
  EXPECT_EQ(GetSettingInt(InstallationOptions, "FontSize", 9, SettingsIniName), 9);
  EXPECT_FALSE(WriteSettingString(InstallationOptions, "FontSize", "12", SettingsIniName));
  EXPECT_FALSE(store.Has(kOptions, "FontSize"));
  // A default that does not fit gives the empty text and 0.
  EXPECT_EQ(Read("FontName", "Arial", 5, &result), "");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(GetSettingInt(InstallationOptions, "Big", -2147483647 - 1, SettingsIniName), 0);
}

TEST(Settings, ValuesAreTextUnderTheSectionKey) {
  FakeSettings store;
  store.AddKey(kOptions);
  ASSERT_TRUE(WriteSettingString(InstallationOptions, "LastArticle", "1234", SettingsIniName));
  EXPECT_TRUE(store.Has(kOptions, "LastArticle"));
  EXPECT_EQ(Read("LastArticle", "3521", 30), "1234");
  EXPECT_EQ(GetSettingInt(InstallationOptions, "LastArticle", 3521, SettingsIniName), 1234);
  store.Put("Sound", std::string("yes\0", 4));
  EXPECT_EQ(GetSettingInt(InstallationOptions, "Sound", 1, SettingsIniName), 0);
  store.Put("Long", std::string("1234567890\0", 11));  // 10 characters do not fit in 10 bytes
  EXPECT_EQ(GetSettingInt(InstallationOptions, "Long", 5, SettingsIniName), 5);
}

TEST(Settings, StoredBytesAreAlwaysTerminatedInsideTheBuffer) {
  FakeSettings store;
  store.AddKey(kOptions);
  store.Put("FontName", std::string(80, 'F') + '\0');
  EXPECT_EQ(Read("FontName", "Arial", 80), "Arial");
  store.Put("FontName", std::string(79, 'F') + '\0');
  EXPECT_EQ(Read("FontName", "Arial", 80), std::string(79, 'F'));
  store.Put("Dword", std::string("\x01\0\0\0", 4));  // a number stored as 4 raw bytes
  int result = 0;
  EXPECT_EQ(Read("Dword", "x", 10, &result), "\x01");
  EXPECT_EQ(result, 2);
  store.Put("Raw", "hello");  // no NUL
  EXPECT_EQ(Read("Raw", "x", 10), "hello");
  EXPECT_EQ(Read("Raw", "x", 5), "x");  // fills the buffer without a NUL: does not fit
}

}  // namespace
