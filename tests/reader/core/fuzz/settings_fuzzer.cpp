// Settings from untrusted values: whatever the settings store holds (any
// bytes, any length, with or without a terminating zero) read as text and as
// numbers into buffers of every size, and as the paths and file names of the
// content databases, which the reader then opens over the sample content.
// The input is the store's answers in the order they are asked: a length
// byte (255: the value is missing) and that many bytes.
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "common/byte_writer.h"
#include "content/sample_content.h"
#include "content/settings_reg_file.h"
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

// Opens content database n as the settings name it, under an engine session
// of its own, and reads its first headword: whether both succeeded.
bool ReadFirstHeadword(int n) {
  void* session = nullptr;
  if (REmemory(&session, nullptr, ReBlockApp, ReActOpen, 0) != ReDone || REapp(session, 100, ReActOpen) != ReDone)
    std::abort();
  bool read = false;
  {
    CContentDb db;
    if (db.Open(n, session)) {
      CString headword;
      read = db.GetHeadword(1, headword) == 1;
    }
    db.Close();
  }
  REapp(session, 100, ReActClose);
  REmemory(&session, nullptr, ReBlockApp, ReActClose, 0);
  return read;
}

// What tells this build of the program from any other: the size and the
// time of its file. The content builder is linked into it, so a rebuilt
// builder is a new program file.
std::string ProgramStamp() {
  namespace fs = std::filesystem;
  const fs::path program = fs::read_symlink("/proc/self/exe");
  const auto written = fs::last_write_time(program).time_since_epoch();
  return std::to_string(fs::file_size(program)) + "-" +
         std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(written).count());
}

// Building the sample content takes seconds, and libFuzzer's fork mode runs
// every job in a fresh process, so it is built once for this program (keyed
// by its program file: an old build's sample is never used) into a folder beside
// the scratch folders. It is built in a folder of its own and renamed into
// place, so a crash never leaves a half-built cache, and when jobs build it
// at the same time the first rename wins and the others drop theirs.
// Writing only the files the databases open would save little: their engine
// databases are most of the building, and any file of the folder may be
// named as a database.
std::filesystem::path SampleCache() {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(FuzzDirectory()).parent_path().parent_path();
  const std::string name = "veldrix-settings-sample-" + std::to_string(getuid()) + "-" + ProgramStamp();
  const fs::path cache = root / name;
  if (fs::is_directory(cache)) return cache;
  std::string building = (root / (name + ".partial-XXXXXX")).string();
  if (!mkdtemp(building.data())) throw std::system_error(errno, std::generic_category(), "cannot make " + building);
  try {
    // What the content databases read: the engine databases and the media
    // store and category index of the encyclopedia.
    builder::WriteReaderSample(building);
    builder::engine_db::WriteSampleDictionaries(building);
    builder::WriteContentSample(building);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(building, ignored);
    throw;
  }
  if (std::rename(building.c_str(), cache.c_str()) != 0) {
    const int error = errno;
    std::error_code ignored;
    fs::remove_all(building, ignored);
    if ((error != EEXIST && error != ENOTEMPTY) || !fs::is_directory(cache))
      throw std::system_error(error, std::generic_category(), "cannot rename " + building + " to " + cache.string());
  }
  return cache;
}

void Prepare() {
  static const bool prepared = [] {
    // Copied, not linked: the engine may write the files it opens, and only
    // this process's copies lie where the settings' paths can reach.
    namespace fs = std::filesystem;
    for (const fs::directory_entry& file : fs::directory_iterator(SampleCache()))
      if (file.path().filename() != "SETTINGS.REG")
        fs::copy_file(file.path(), fs::path(FuzzDirectory()) / file.path().filename());
    // The settings file names the folder it lies in.
    const std::string directory = fs::absolute(FuzzDirectory()).lexically_normal().string();
    builder::WriteFileAtomically(FuzzDirectory() + "SETTINGS.REG", builder::BuildSettingsRegFile(directory));
    SetWorkingDirectory(FuzzDirectory().c_str());
    static QuietHost host;
    SetContentDbHost(&host);
    // A cache short of a file would leave the databases closed for every
    // input without a word: each opens here under the default settings.
    for (int n = 1; n <= 6; ++n)
      if (!ReadFirstHeadword(n))
        throw std::runtime_error("content database " + std::to_string(n) + " does not open over the sample");
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
  ReadFirstHeadword(data[0] % 8);
  UseSettingsBackend(nullptr);
  if (ReLiveAllocations() != 0) std::abort();
  return 0;
}
