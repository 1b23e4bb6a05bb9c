// Settings from untrusted values: whatever the settings store holds (any
// bytes, any length, with or without a terminating zero) read as text and as
// numbers into buffers of every size, and as the paths and file names of the
// content databases, which the reader then opens over the sample content.
// The input is the store's answers in the order they are asked: a length
// byte (255: the value is missing) and that many bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "content/sample_content.h"
#include "core/content_db.h"
#include "core/working_directory.h"
#include "engine_db/lists_samples.h"
#include "fuzz_files.h"
#include "re_platform.h"
#include "reader/reader_sample.h"
#include "settings/settings.h"
#include "zorlre32.h"

namespace {

class Answers final : public SettingsBackend {
 public:
  Answers(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Query(const char*, const char* name, void* buffer, u32* size) override {
    if (at_ >= size_) return false;
    const std::size_t length = data_[at_++];
    if (length == 255) return false;
    const std::size_t given = std::min(length, size_ - at_);
    std::string value(reinterpret_cast<const char*>(data_ + at_), given);
    at_ += given;
    // A path or file name stays a harmless name inside the scratch folder:
    // the reader must cope with its length and its bytes, not read the host's files.
    if (std::strcmp(name, "Path") == 0 || std::strcmp(name, "MultimediaPath") == 0) {
      for (char& c : value)
        if (c == '/' || c == '.') c = '_';
      if (!value.empty() && value[0] == 'S') value = FuzzDirectory() + value.substr(1);
    } else if (std::strstr(name, "File")) {
      for (char& c : value)
        if (c == '/') c = '_';
    }
    if (value.size() > *size) return false;  // too long for the buffer: the registry says so
    std::memcpy(buffer, value.data(), value.size());
    *size = static_cast<u32>(value.size());
    return true;
  }
  bool Store(const char*, const char*, const char*) override { return false; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class QuietHost final : public ContentDbHost {
 public:
  void ShowMessage(const char*) override {}
  void BeginSearch(const char*) override {}
  ReProgressCallback SearchProgress() override { return nullptr; }
  bool SearchStopped() override { return false; }
  void EndSearch() override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  bool IsDictionaryEntry(u32) override { return false; }
  bool IsKnownSpelling(const char*) override { return false; }
};

void Prepare() {
  static const bool prepared = [] {
    // What the content databases read: the engine databases and the media
    // store and category index of the encyclopedia.
    builder::WriteReaderSample(FuzzDirectory());
    builder::engine_db::WriteSampleDictionaries(FuzzDirectory());
    builder::WriteContentSample(FuzzDirectory());
    SetWorkingDirectory(FuzzDirectory().c_str());
    static QuietHost host;
    SetContentDbHost(&host);
    return true;
  }();
  (void)prepared;
}

// Every text read must end inside its buffer and match the length returned.
void ReadText(const char* name, const char* fallback, int size) {
  char buffer[300];
  std::memset(buffer, 'x', sizeof buffer);
  const int result = GetSettingString(InstallationOptions, name, fallback, buffer, size, SettingsIniName);
  if (size <= 0) return;
  const void* end = std::memchr(buffer, 0, static_cast<std::size_t>(size));
  if (!end || (result != 0 && result != static_cast<int>(std::strlen(buffer)) + 1)) std::abort();
  if (buffer[size] != 'x') std::abort();  // nothing written past the buffer
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  Prepare();
  Answers answers(data + 2, size - 2);
  UseSettingsBackend(&answers);
  ReadText("FontName", "Arial", 80);
  ReadText("LastArticle", "3521", 30);
  ReadText("HighlightColour", "0x0000FFFF", 1 + data[0] % 16);
  ReadText("WorkingDirectory", "", WorkingDirectorySize);
  ReadText("Anything", "a default longer than the buffer", 1 + data[1] % 40);
  GetSettingInt(InstallationOptions, "FontSize", 9, SettingsIniName);
  GetSettingInt(InstallationOptions, "AnagramLength", -1234567890, SettingsIniName);

  // A content database named by the settings.
  void* session = nullptr;
  if (REmemory(&session, nullptr, ReBlockApp, ReActOpen, 0) != ReDone || REapp(session, 100, ReActOpen) != ReDone)
    std::abort();
  {
    CContentDb db;
    if (db.Open(data[0] % 8, session)) {
      CString headword;
      db.GetHeadword(1, headword);
    }
    db.Close();
  }
  REapp(session, 100, ReActClose);
  REmemory(&session, nullptr, ReBlockApp, ReActClose, 0);
  UseSettingsBackend(nullptr);
  if (ReLiveAllocations() != 0) std::abort();
  return 0;
}
