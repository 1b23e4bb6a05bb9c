// The reader program under test: its one application object, the sample
// content in a scratch folder, settings in memory, the media library and the
// sound engine replaced by recording stand-ins, and message boxes answered
// by rule.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/veldrix_app.h"
#include "content/sample_content.h"
#include "core/media_library.h"
#include "core/sound_engine.h"
#include "reader/reader_sample.h"
#include "sample/sample_set.h"
#include "settings/settings.h"
#include "temp_dir.h"
#include "ui_harness.h"

namespace apptest {

// Settings in memory under the product key; only sections that exist take values.
class MemorySettings : public SettingsBackend {
 public:
  MemorySettings();
  bool Query(const char* keyPath, const char* name, void* buffer, u32* size) override;
  bool Store(const char* keyPath, const char* name, const char* text) override;
  void Set(const char* section, const char* name, const std::string& value);
  std::string Get(const char* section, const char* name) const;
  bool Has(const char* section, const char* name) const;

  std::map<std::string, std::map<std::string, std::string>> keys;
};

class FakeMediaLibrary : public MediaLibrary {
 public:
  bool IsInstalled() override { return installed; }
  bool Start() override {
    ++starts;
    return startResult;
  }
  bool EnterMovies() override {
    ++entered;
    return enterResult;
  }
  void ExitMovies() override { ++exited; }
  void Stop() override { ++stops; }
  std::intptr_t Call(std::int32_t selector, const std::intptr_t* args, std::int32_t count) override;

  bool installed = false, startResult = true, enterResult = true;
  int starts = 0, entered = 0, exited = 0, stops = 0;
  std::vector<std::int32_t> calls;
};

class FakeSound : public SoundEngine {
 public:
  long Setup(HINSTANCE*, DWORD* engine) override;
  long RegisterNotifyWnd(DWORD, HWND window, UINT message) override;
  long Open(DWORD, const char* file) override;
  long Begin(DWORD) override;
  long Close(DWORD) override;
  long Shutdown(DWORD) override;

  long setupResult = 0, openResult = 0;
  HWND window = nullptr;
  UINT message = 0;
  std::vector<std::string> calls;
};

struct Box {
  std::string text;
  UINT type;
};

// Boxes are answered by the first rule whose text occurs in theirs; the rest
// get IDOK (or IDYES for yes/no boxes).
class Boxes {
 public:
  Boxes();
  ~Boxes();
  void Answer(const std::string& part, int answer) { rules_.push_back({part, answer}); }
  const std::vector<Box>& all() const;
  std::vector<std::string> Texts() const;
  void Clear();

 private:
  std::vector<std::pair<std::string, int>> rules_;
  AfxMessageBoxHook previous_;
};

CVeldrixApp& App();

// Each test gets the sample content and the stand-ins; the program is started
// by Start and ended (main window closed, ExitInstance) after the test.
class ReaderApp : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // InitInstance; the main window is pumped until idle.
  BOOL Start();
  // Closes the main window (answering the exit question) and ends the program.
  void End();
  CMainFrame* Frame() const { return App().GetMainFrame(); }
  std::string File(const std::string& name) const { return dir.File(name); }
  void Remove(const std::string& name) const;

  TempDir dir;
  MemorySettings settings;
  FakeMediaLibrary media;
  FakeSound sound;
  Boxes boxes;
  bool started = false;
  char previousDirectory[MAX_PATH] = "";
};

// The entry of a title of the sample's main database, and the article of a
// sample title.
int MainEntry(const std::string& title);
int Article(const std::string& title);

}  // namespace apptest
