#include "app_fixture.h"

#include <cstring>
#include <filesystem>

#include "content/sample_content.h"
#include "reader/reader_sample.h"

CVeldrixApp theApp;

namespace apptest {

namespace {

std::vector<Box> g_boxes;
const std::vector<std::pair<std::string, int>>* g_rules = nullptr;

int AnswerBox(HWND, LPCTSTR text, LPCTSTR, UINT type) {
  const std::string said = text ? text : "";
  g_boxes.push_back({said, type});
  if (g_rules)
    for (const auto& [part, answer] : *g_rules)
      if (said.find(part) != std::string::npos) return answer;
  switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    case MB_ABORTRETRYIGNORE: return IDIGNORE;
    case MB_RETRYCANCEL: return IDCANCEL;
    default: return IDOK;
  }
}

// Built piece by piece (GCC 12 warns wrongly about joined temporaries).
std::string SectionKey(const char* section) {
  std::string key(SettingsProductKey);
  key += '\\';
  key += section;
  return key;
}

}  // namespace

CVeldrixApp& App() { return theApp; }

MemorySettings::MemorySettings() {
  keys[SectionKey(InstallationOptions)];
  for (int n = 1; n <= 6; ++n) {
    std::string section("Database ");
    section += std::to_string(n);
    keys[SectionKey(section.c_str())];
  }
}

bool MemorySettings::Query(const char* keyPath, const char* name, void* buffer, u32* size) {
  const auto key = keys.find(keyPath);
  if (key == keys.end()) return false;
  const auto value = key->second.find(name);
  if (value == key->second.end() || value->second.size() + 1 > *size) return false;
  std::memcpy(buffer, value->second.c_str(), value->second.size() + 1);
  *size = static_cast<u32>(value->second.size() + 1);
  return true;
}

bool MemorySettings::Store(const char* keyPath, const char* name, const char* text) {
  const auto key = keys.find(keyPath);
  if (key == keys.end()) return false;
  key->second[name] = text;
  return true;
}

void MemorySettings::Set(const char* section, const char* name, const std::string& value) {
  keys[SectionKey(section)][name] = value;
}

std::string MemorySettings::Get(const char* section, const char* name) const {
  const auto key = keys.find(SectionKey(section));
  if (key == keys.end()) return {};
  const auto value = key->second.find(name);
  return value == key->second.end() ? std::string() : value->second;
}

bool MemorySettings::Has(const char* section, const char* name) const {
  const auto key = keys.find(SectionKey(section));
  return key != keys.end() && key->second.count(name) != 0;
}

std::intptr_t FakeMediaLibrary::Call(std::int32_t selector, const std::intptr_t* args, std::int32_t) {
  calls.push_back(selector);
  // The picture conversion hands the packed bitmap back as it is.
  if (selector == media::PictureToDib) return args[0];
  return selector == media::OpenMovieFile ? -43 : 0;  // no movie files here
}

long FakeSound::Setup(HINSTANCE*, DWORD* engine) {
  calls.push_back("setup");
  *engine = 77;
  return setupResult;
}
long FakeSound::RegisterNotifyWnd(DWORD, HWND notify, UINT id) {
  calls.push_back("register");
  window = notify;
  message = id;
  return 0;
}
long FakeSound::Open(DWORD, const char* file) {
  calls.push_back(std::string("open ") + file);
  return openResult;
}
long FakeSound::Begin(DWORD) {
  calls.push_back("begin");
  return 0;
}
long FakeSound::Close(DWORD) {
  calls.push_back("close");
  return 0;
}
long FakeSound::Shutdown(DWORD) {
  calls.push_back("shutdown");
  return 0;
}

Boxes::Boxes() : previous_(AfxGetMessageBoxHook()) {
  g_boxes.clear();
  g_rules = &rules_;
  AfxSetMessageBoxHook(AnswerBox);
}
Boxes::~Boxes() {
  AfxSetMessageBoxHook(previous_);
  g_rules = nullptr;
}
const std::vector<Box>& Boxes::all() const { return g_boxes; }
std::vector<std::string> Boxes::Texts() const {
  std::vector<std::string> texts;
  for (const Box& box : g_boxes) texts.push_back(box.text);
  return texts;
}
void Boxes::Clear() { g_boxes.clear(); }

void ReaderApp::SetUp() {
  ::GetCurrentDirectoryA(MAX_PATH, previousDirectory);
  builder::WriteSampleSet(dir.path());
  settings.Set(InstallationOptions, "WorkingDirectory", dir.path());
  UseSettingsBackend(&settings);
  UseMediaLibrary(&media);
  UseSoundEngine(&sound);
}

void ReaderApp::TearDown() {
  End();
  UseSoundEngine(nullptr);
  UseMediaLibrary(nullptr);
  UseSettingsBackend(nullptr);
  ::SetCurrentDirectoryA(previousDirectory);
  ui::TakeQuitCount();
}

BOOL ReaderApp::Start() {
  const BOOL result = App().InitInstance();
  started = true;
  ui::PumpUntilIdle();
  return result;
}

void ReaderApp::End() {
  if (!started) return;
  started = false;
  if (CWnd* main = AfxGetMainWnd()) {
    boxes.Answer("Exit the Marovan", IDYES);
    main->SendMessage(WM_CLOSE);
    ui::PumpUntilIdle();
    if (AfxGetMainWnd()) AfxGetMainWnd()->DestroyWindow();
  }
  App().ExitInstance();
  ui::PumpUntilIdle();
}

void ReaderApp::Remove(const std::string& name) const { std::filesystem::remove(dir.File(name)); }

namespace {

const builder::ContentSample& Sample() {
  static const builder::ContentSample sample = builder::BuildContentSample();
  return sample;
}

}  // namespace

int MainEntry(const std::string& title) {
  const auto& titles = Sample().mainTitles;
  for (size_t i = 0; i < titles.size(); ++i)
    if (titles[i] == title) return static_cast<int>(i) + 1;
  ADD_FAILURE() << "no main title " << title;
  return 0;
}

int Article(const std::string& title) {
  const auto& updates = Sample().updateTitles;
  for (size_t i = 0; i < updates.size(); ++i)
    if (updates[i] == title) return static_cast<int>(Sample().updateArticles[i]);
  // Main entry e is the e-th article that is not an update article.
  int entry = MainEntry(title), article = 0;
  while (entry > 0) {
    ++article;
    bool update = false;
    for (u32 a : Sample().updateArticles) update = update || a == static_cast<u32>(article);
    if (!update) --entry;
  }
  return article;
}

}  // namespace apptest
