#include "update_files.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "settings/settings.h"
#include "updater_texts.h"

namespace {

// Largest listing read; anything longer is not a listing.
constexpr DWORD kMaxListing = 4 * 1024 * 1024;

// The name a copied file has beside the one it replaces until every copy is made.
constexpr const char* kStagedSuffix = ".upd";

struct Entry {
  std::string name;
  DWORD attributes;
};

// The entries of a directory but "." and ".."; false when it cannot be read
// (it is gone).
bool EntriesOf(const std::string& directory, std::vector<Entry>& entries) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((directory + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") entries.push_back({name, found.dwFileAttributes});
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return true;
}

// A symbolic link or junction, by its attributes (none when it is gone).
bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
bool IsFolder(const Entry& entry) { return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Where the file behind a handle is, as the system resolves it, or empty
// where that cannot be told (the call came with Windows Vista).
std::string FinalPathOf(HANDLE handle) {
  using FinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const auto finalPathName = reinterpret_cast<FinalPathName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  if (finalPathName == nullptr) return {};
  std::string path(MAX_PATH, '\0');
  DWORD length = finalPathName(handle, path.data(), static_cast<DWORD>(path.size()), 0);
  if (length >= path.size()) {
    path.resize(length);
    length = finalPathName(handle, path.data(), static_cast<DWORD>(path.size()), 0);
  }
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return path;
}

std::string FinalPathOfDirectory(const std::string& directory) {
  HANDLE handle = ::CreateFileA(directory.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::string path = FinalPathOf(handle);
  ::CloseHandle(handle);
  return path;
}

// Why a file stays where it is, by the system's error on opening or moving
// it for its delete; `otherwise` for an error that says neither.
const char* WhyFileStays(DWORD error, const char* otherwise) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return "a file in it is in use";
  if (error == ERROR_ACCESS_DENIED) return "a file in it cannot be deleted";
  return otherwise;
}

// Why the files of a directory cannot all be deleted, or null when the
// checks see nothing against it. A link leads out of the directory, and
// through it a delete would reach files that are not the updater's; a folder
// is someone else's (the extractor writes plain files only); a file that
// cannot be opened alone for its delete is in use, or not the updater's to
// delete, and would stay behind. A file link need not show as one (Wine shows
// a link of its host as the file it leads to, and deletes that file through
// it): a file that the system finds anywhere but in the directory under its
// own name is one.
const char* WhyNotRemovable(const std::string& directory, const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    if (IsLink(entry.attributes)) return "it holds a link";
    if (IsFolder(entry)) return "it holds a folder";
  }
  const std::string here = FinalPathOfDirectory(directory);
  for (const Entry& entry : entries) {
    HANDLE file = ::CreateFileA((directory + "\\" + entry.name).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WhyFileStays(::GetLastError(), "a file in it cannot be opened");
    const std::string there = FinalPathOf(file);
    ::CloseHandle(file);
    if (!here.empty() && ::_stricmp(there.c_str(), (here + "\\" + entry.name).c_str()) != 0) return "it holds a link";
  }
  return nullptr;
}

// A directory named like a temporary file ("trn" prefix) made in the current
// directory: its name, or empty when none could be made.
std::string MakeTempDir() {
  char temporary[MAX_PATH];
  if (::GetTempFileNameA(".", "trn", 0, temporary) == 0) return {};
  ::DeleteFileA(temporary);
  const char* name = std::strrchr(temporary, '\\');
  name = name != nullptr ? name + 1 : temporary;
  if (!::CreateDirectoryA(name, nullptr)) return {};
  return name;
}

// Takes the read-only flag off a file (an archive may keep it: the file is
// the updater's own all the same, and a read-only file cannot be deleted).
bool MakeWritable(const std::string& path, DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
  const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return ::SetFileAttributesA(path.c_str(), writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

// Deletes the files of a directory of the current directory, then the
// directory, or nothing: null, or why it was left. A directory that is a link
// or junction leads somewhere that is not the updater's, whatever its name.
// The checks cannot see all that a delete meets: a link of the host that
// leads nowhere is not listed at all, and a file may open for its delete and
// still not go (made immutable on the host). So the files are first moved
// into a new directory named as the updater names its own, and the emptied
// directory removed, which proves it can go; where either fails every file is
// moved back, and only once both have been done is anything deleted. A run
// ended half way leaves two such directories, which the next run removes.
const char* RemoveWhole(const std::string& directory) {
  if (IsLink(::GetFileAttributesA(directory.c_str()))) return "it is a link";
  std::vector<Entry> entries;
  if (!EntriesOf(directory, entries)) return "it cannot be read";
  if (const char* why = WhyNotRemovable(directory, entries)) return why;
  const std::string staging = MakeTempDir();
  if (staging.empty()) return "no folder can be made to empty it into";
  const auto inPlace = [&](const Entry& entry) { return directory + "\\" + entry.name; };
  const auto staged = [&](const Entry& entry) { return staging + "\\" + entry.name; };

  std::size_t writable = 0;  // files whose flag is cleared, in order
  std::size_t moved = 0;     // files moved out, in order
  // Gives the directory back as it was, every file with its flag, and says
  // why it stays.
  const auto putBack = [&](const char* why) {
    bool whole = true;
    for (std::size_t i = 0; i < moved; ++i)
      whole = ::MoveFileA(staged(entries[i]).c_str(), inPlace(entries[i]).c_str()) && whole;
    for (std::size_t i = 0; i < writable; ++i) {
      if ((entries[i].attributes & FILE_ATTRIBUTE_READONLY) != 0)
        whole = ::SetFileAttributesA(inPlace(entries[i]).c_str(), entries[i].attributes) && whole;
    }
    // An empty directory that stays is a leftover the next run removes.
    ::RemoveDirectoryA(staging.c_str());
    return whole ? why : CUpdateFiles::kNotWhole;
  };
  for (; writable < entries.size(); ++writable) {
    if (!MakeWritable(inPlace(entries[writable]), entries[writable].attributes))
      return putBack("a file in it cannot be made writable");
  }
  for (; moved < entries.size(); ++moved) {
    if (!::MoveFileA(inPlace(entries[moved]).c_str(), staged(entries[moved]).c_str()))
      return putBack(WhyFileStays(::GetLastError(), "a file in it cannot be moved out to be deleted"));
  }
  if (!::RemoveDirectoryA(directory.c_str())) {
    const DWORD error = ::GetLastError();
    return putBack(error == ERROR_DIR_NOT_EMPTY ? "it holds an entry that cannot be listed (a link that leads nowhere?)"
                   : error == ERROR_SHARING_VIOLATION ? "it is in use"
                                                      : "it cannot be removed");
  }
  bool gone = true;
  for (const Entry& entry : entries) gone = ::DeleteFileA(staged(entry).c_str()) && gone;
  gone = ::RemoveDirectoryA(staging.c_str()) && gone;
  return gone ? nullptr : CUpdateFiles::kNotWhole;
}

// The files the installation deletes before it copies.
constexpr const char* kDownloads[] = {refresh::UpdatesArchive, refresh::ImageArchive, refresh::UpdatePicture,
                                      refresh::UpdateListing};

bool SameName(const std::string& a, const std::string& b) { return ::_stricmp(a.c_str(), b.c_str()) == 0; }

bool IsDownload(const std::string& name) {
  return std::any_of(std::begin(kDownloads), std::end(kDownloads),
                     [&](const char* download) { return SameName(name, download); });
}

// A name CreateTempDir gives: "trn", one to four hexadecimal digits, ".tmp".
bool IsTempDirName(const std::string& name) {
  const auto same = [&](std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return name.size() >= at + length && ::_strnicmp(name.c_str() + at, text, length) == 0;
  };
  if (name.size() < 8 || name.size() > 11 || !same(0, "trn") || !same(name.size() - 4, ".tmp")) return false;
  for (std::size_t i = 3; i < name.size() - 4; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

}  // namespace

BOOL CUpdateFiles::CreateTempDir() {
  std::string name = MakeTempDir();
  if (name.empty()) return FALSE;
  m_tempDir = std::move(name);
  m_bTempDirCreated = TRUE;
  return TRUE;
}

std::string CUpdateFiles::PathOf(const char* name) const { return m_tempDir + "\\" + name; }

const char* CUpdateFiles::RemoveTempDir() {
  if (m_tempDir.empty()) return nullptr;
  m_bTempDirCreated = FALSE;
  return RemoveWhole(m_tempDir);
}

std::vector<CUpdateFiles::LeftTempDir> CUpdateFiles::RemoveLeftTempDirs() const {
  std::vector<Entry> entries;
  EntriesOf(".", entries);
  std::vector<LeftTempDir> left;
  for (const Entry& entry : entries) {
    if (!IsFolder(entry) || !IsTempDirName(entry.name) || (m_bTempDirCreated && entry.name == m_tempDir)) continue;
    left.push_back({entry.name, RemoveWhole(entry.name)});
  }
  return left;
}

UINT CUpdateFiles::RunExtractor(const char* archive) const {
  const std::string command = refresh::ExtractorCommandLine(PathOf(archive), m_tempDir);
  return ::WinExec(command.c_str(), SW_HIDE);
}

BOOL CUpdateFiles::ExtractionFinished() const {
  const std::string output = PathOf(refresh::ExtractorOutput);
  HANDLE file = ::CreateFileA(output.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  ::CloseHandle(file);
  ::DeleteFileA(output.c_str());
  return TRUE;
}

int CUpdateFiles::CheckUpdateDate() {
  HANDLE listing = ::CreateFileA(PathOf(refresh::UpdateListing).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (listing == INVALID_HANDLE_VALUE) return 3;
  FILETIME written, local;
  SYSTEMTIME when;
  const BOOL dated = ::GetFileTime(listing, nullptr, nullptr, &written) &&
                     ::FileTimeToLocalFileTime(&written, &local) && ::FileTimeToSystemTime(&local, &when);
  ::CloseHandle(listing);
  if (!dated) return 3;
  const refresh::UpdateDate update{when.wYear, when.wMonth, when.wDay};
  m_updateDate = refresh::FormatUpdateDate(update);

  char recorded[64];
  GetSettingString(InstallationOptions, refresh::MostRecentUpdateValue, refresh::NoUpdateRecorded, recorded,
                   sizeof recorded, SettingsIniName);
  return refresh::IsLaterDay(update, refresh::ParseRecordedDate(recorded)) ? 2 : 1;
}

BOOL CUpdateFiles::VerifyExtractedFiles() {
  HANDLE file = ::CreateFileA(PathOf(refresh::UpdateListing).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  const DWORD size = ::GetFileSize(file, nullptr);
  std::string text;
  DWORD read = 0;
  bool ok = size != INVALID_FILE_SIZE && size <= kMaxListing;
  if (ok) {
    text.resize(size);
    ok = size == 0 || (::ReadFile(file, text.data(), size, &read, nullptr) && read == size);
  }
  ::CloseHandle(file);
  if (!ok) return FALSE;

  std::vector<std::string> named;
  const auto lengthOf = [&](const std::string& name) -> std::optional<unsigned long long> {
    named.push_back(name);
    HANDLE listed = ::CreateFileA(PathOf(name.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (listed == INVALID_HANDLE_VALUE) return std::nullopt;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(listed, &high);
    const DWORD error = ::GetLastError();
    ::CloseHandle(listed);
    if (low == INVALID_FILE_SIZE && error != NO_ERROR) return std::nullopt;
    return (static_cast<unsigned long long>(high) << 32) | low;
  };
  if (!refresh::VerifyListing(text, lengthOf)) return FALSE;
  m_verified = std::move(named);
  return TRUE;
}

void CUpdateFiles::DeleteDownloads() const {
  for (const char* name : kDownloads) ::DeleteFileA(PathOf(name).c_str());
}

BOOL CUpdateFiles::CopyUpdateFiles(const std::string& target, DWORD& error) const {
  // Every file is first copied beside the one it replaces, and the copies
  // take their places only once all of them are there: a copy that fails or
  // is cut short leaves the working directory as it was, and no file of it is
  // ever half written.
  std::vector<Entry> entries;
  if (!EntriesOf(m_tempDir, entries)) {
    error = ::GetLastError();
    return FALSE;
  }
  std::vector<std::string> names;
  for (const Entry& entry : entries) names.push_back(entry.name);
  // A file that was verified and has gone since (removed by someone else)
  // would leave the update half installed.
  for (const std::string& name : m_verified) {
    const auto same = [&](const std::string& here) { return SameName(here, name); };
    if (!IsDownload(name) && std::none_of(names.begin(), names.end(), same)) {
      error = ERROR_FILE_NOT_FOUND;
      return FALSE;
    }
  }
  const auto installed = [&](const std::string& name) { return target + "\\" + name; };
  const auto staged = [&](const std::string& name) { return installed(name) + kStagedSuffix; };
  const auto unstage = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < names.size(); ++i) ::DeleteFileA(staged(names[i]).c_str());
  };
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (::CopyFileA(PathOf(names[i].c_str()).c_str(), staged(names[i]).c_str(), FALSE)) continue;
    error = ::GetLastError();
    unstage(0, i + 1);
    return FALSE;
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (::MoveFileExA(staged(names[i]).c_str(), installed(names[i]).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      continue;
    error = ::GetLastError();
    unstage(i, names.size());
    return FALSE;
  }
  return TRUE;
}

BOOL CUpdateFiles::StoreUpdateDate() const {
  return WriteSettingString(InstallationOptions, refresh::MostRecentUpdateValue, m_updateDate.c_str(), SettingsIniName);
}

UINT CUpdateFiles::RestartMainProgram() { return ::WinExec(refresh::ReaderProgram, SW_SHOW); }
