#include "updater_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "messages/window_messages.h"
#include "settings/settings.h"
#include "ui_harness.h"
#include "update_archive.h"
#include "updater_texts.h"

namespace {

const bool boxesFail = (ui::FailUnexpectedMessageBoxes(), true);

}  // namespace

// ---- CFakeReader

BEGIN_MESSAGE_MAP(CFakeReader, CWnd)
ON_MESSAGE(WM_UPDATECLOSE, OnUpdateClose)
END_MESSAGE_MAP()

CFakeReader::CFakeReader() {
  CreateEx(0, AfxRegisterWndClass(0), refresh::ReaderWindowTitle, WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr);
}

CFakeReader::~CFakeReader() {
  if (m_hWnd != nullptr) DestroyWindow();
}

LRESULT CFakeReader::OnUpdateClose(WPARAM wParam, LPARAM lParam) {
  EXPECT_EQ(wParam, 0u);
  EXPECT_EQ(lParam, 0);
  ++m_nCloseRequests;
  DestroyWindow();
  return 0;
}

// ---- WorkingDir

WorkingDir::WorkingDir() {
  char current[MAX_PATH];
  ::GetCurrentDirectoryA(sizeof current, current);
  previous_ = current;
  ::SetCurrentDirectoryA(dir.path().c_str());
  ::CopyFileA(HelperPath("updater_command_interpreter.exe").c_str(), File("command.pif").c_str(), FALSE);
  ::CopyFileA(HelperPath("updater_reader_stand_in.exe").c_str(), File("VELDRX32.EXE").c_str(), FALSE);
}

WorkingDir::~WorkingDir() { ::SetCurrentDirectoryA(previous_.c_str()); }

bool WorkingDir::Exists(const std::string& name) const {
  return ::GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> WorkingDir::TemporaryDirs() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA(File("trn*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

std::string HelperPath(const char* name) {
  char program[MAX_PATH];
  ::GetModuleFileNameA(nullptr, program, sizeof program);
  std::string path = program;
  return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return path;
  const std::wstring wide(path.begin(), path.end());
  char* unix = toUnix(wide.c_str());
  if (unix == nullptr) return path;
  std::string result = unix;
  ::HeapFree(::GetProcessHeap(), 0, unix);
  if (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

int RunOnHost(const std::string& command, std::string* output) {
  // Wine starts a program of the host on its own, with no process to wait
  // for: the shell leaves its status in a file, whole once renamed, and that
  // file is waited for.
  TempDir scratch;
  const std::string out = UnixPath(scratch.File("output"));
  const std::string status = UnixPath(scratch.File("status"));
  const std::string script =
      "(" + command + ") >'" + out + "'; echo $? >'" + status + ".new' && mv '" + status + ".new' '" + status + "'";
  std::string line = "/bin/sh -c \"";
  for (const char c : script) line += c == '"' ? std::string("\\\"") : std::string(1, c);
  line += '"';
  STARTUPINFOA start = {};
  start.cb = sizeof start;
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
    return -1;
  if (process.hThread != nullptr) ::CloseHandle(process.hThread);
  if (process.hProcess != nullptr) ::CloseHandle(process.hProcess);
  const std::string done = scratch.File("status");
  // A guard against a hang only: a host program can take seconds to start on a busy machine.
  for (int i = 0; i < 3000 && ::GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(20);
  const std::string code = ReadWholeFile(done);
  if (code.empty()) return -1;
  if (output != nullptr) *output = ReadWholeFile(scratch.File("output"));
  return std::atoi(code.c_str());
}

// ---- ProductKey

namespace {

const std::string kOptions = std::string(SettingsProductKey) + "\\" + InstallationOptions;

void DeleteProductKey() {
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kOptions.c_str());
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, SettingsProductKey);
}

}  // namespace

ProductKey::ProductKey(bool create) {
  DeleteProductKey();
  if (!create) return;
  HKEY key;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    ::RegCloseKey(key);
  }
}

ProductKey::~ProductKey() { DeleteProductKey(); }

void ProductKey::Set(const char* name, const char* value) {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
  ::RegCloseKey(key);
}

std::optional<std::string> ProductKey::Get(const char* name) const {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char value[128] = {};
  DWORD size = sizeof value - 1;
  const LONG result = ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  ::RegCloseKey(key);
  if (result != ERROR_SUCCESS) return std::nullopt;
  return std::string(value);
}

bool ProductKey::Exists() {
  HKEY key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOptions.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// ---- pictures and archives

namespace {

void Put(std::string& out, unsigned long value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string PlainBitmap(int width, int height, unsigned char red, unsigned char green, unsigned char blue) {
  const unsigned long row = (static_cast<unsigned long>(width) + 3) / 4 * 4;
  const unsigned long bits = 14 + 40 + 256 * 4;
  std::string out = "BM";
  Put(out, bits + row * static_cast<unsigned long>(height), 4);
  Put(out, 0, 4);
  Put(out, bits, 4);
  Put(out, 40, 4);
  Put(out, static_cast<unsigned long>(width), 4);
  Put(out, static_cast<unsigned long>(height), 4);
  Put(out, 1, 2);
  Put(out, 8, 2);
  for (int i = 0; i < 6; ++i) Put(out, 0, 4);
  for (int i = 0; i < 256; ++i) {  // entry 0 is the colour, the rest grey
    const unsigned char grey = static_cast<unsigned char>(i);
    out.push_back(static_cast<char>(i == 0 ? blue : grey));
    out.push_back(static_cast<char>(i == 0 ? green : grey));
    out.push_back(static_cast<char>(i == 0 ? red : grey));
    out.push_back('\0');
  }
  out.append(row * static_cast<unsigned long>(height), '\0');
  return out;
}

unsigned long long LocalNoon(int year, int month, int day) {
  SYSTEMTIME when = {};
  when.wYear = static_cast<WORD>(year);
  when.wMonth = static_cast<WORD>(month);
  when.wDay = static_cast<WORD>(day);
  when.wHour = 12;
  FILETIME local, utc;
  ::SystemTimeToFileTime(&when, &local);
  ::LocalFileTimeToFileTime(&local, &utc);
  return static_cast<unsigned long long>(utc.dwHighDateTime) << 32 | utc.dwLowDateTime;
}

std::string UpdateContent::Listing() const {
  std::string text = " Length  Packed  Ratio  Date  Time  Check  Kind  Attr  Name\r\n";
  text += " ------  ------  ----  -----  ----  ----  ------  ----  ----\r\n";
  for (const auto& [name, data] : files) {
    unsigned long length = static_cast<unsigned long>(data.size());
    for (const auto& [claimed, value] : claimedLengths) {
      if (claimed == name) length = value;
    }
    char line[160];
    std::snprintf(line, sizeof line, "  %lu  %lu  0%%  03-07-98  12:00  00000000  file  --w-  %s\r\n", length, length,
                  name.c_str());
    text += line;
  }
  text += " ------          ----  -----                               -------\r\n";
  return text;
}

void UpdateContent::WriteArchives(const std::string& folder) const {
  const std::string extractor = ReadWholeFile(HelperPath("updater_sfx_stub.exe"));
  ASSERT_FALSE(extractor.empty());
  const std::vector<update_archive::File> image = {
      {refresh::UpdatePicture, listingTime, PlainBitmap(320, 200, 0x20, 0x40, 0xA0)},
      {refresh::UpdateListing, listingTime, Listing()},
  };
  std::vector<update_archive::File> updates;
  for (const auto& [name, data] : files) updates.push_back({name, listingTime, data});
  const auto write = [&](const char* name, const std::vector<update_archive::File>& files) {
    std::ofstream out(folder + name, std::ios::binary | std::ios::trunc);
    out << update_archive::BuildUpdateArchive(extractor, files);
    EXPECT_TRUE(out.good()) << folder << name;
  };
  write(refresh::ImageArchive, image);
  write(refresh::UpdatesArchive, updates);
}
