#include "update_files.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

#include "settings/settings.h"
#include "updater_texts.h"

namespace {

// Largest listing read; anything longer is not a listing.
constexpr DWORD kMaxListing = 4 * 1024 * 1024;

// The name a copied file has beside the one it replaces until every copy is made.
constexpr const char* kStagedSuffix = ".upd";

// Calls `visit` with the name of every entry of a directory but "." and ".."
// and whether it is a directory; stops when it returns false.
template <class Visit>
void ForEachEntry(const std::string& directory, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((directory + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (!visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) break;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

std::vector<std::string> NamesIn(const std::string& directory) {
  std::vector<std::string> names;
  ForEachEntry(directory, [&](const std::string& name, bool) {
    names.push_back(name);
    return true;
  });
  return names;
}

// Deletes the files of a directory, then the directory; FALSE when it is
// still there.
BOOL RemoveDirectoryAndFiles(const std::string& directory) {
  for (const std::string& name : NamesIn(directory)) ::DeleteFileA((directory + "\\" + name).c_str());
  return ::RemoveDirectoryA(directory.c_str());
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
  char temporary[MAX_PATH];
  if (::GetTempFileNameA(".", "trn", 0, temporary) == 0) return FALSE;
  ::DeleteFileA(temporary);
  const char* name = std::strrchr(temporary, '\\');
  name = name != nullptr ? name + 1 : temporary;
  if (!::CreateDirectoryA(name, nullptr)) return FALSE;
  m_tempDir = name;
  m_bTempDirCreated = TRUE;
  return TRUE;
}

std::string CUpdateFiles::PathOf(const char* name) const { return m_tempDir + "\\" + name; }

void CUpdateFiles::RemoveTempDir() {
  if (m_tempDir.empty()) return;
  RemoveDirectoryAndFiles(m_tempDir);
  m_bTempDirCreated = FALSE;
}

std::vector<std::string> CUpdateFiles::RemoveLeftTempDirs() const {
  std::vector<std::string> left;
  ForEachEntry(".", [&](const std::string& name, bool directory) {
    if (directory && IsTempDirName(name) && (!m_bTempDirCreated || name != m_tempDir)) left.push_back(name);
    return true;
  });
  std::vector<std::string> removed;
  for (const std::string& name : left) {
    // The extractor writes plain files only: a folder inside is someone else's.
    bool onlyFiles = true;
    ForEachEntry(name, [&](const std::string&, bool directory) { return onlyFiles = !directory; });
    if (onlyFiles && RemoveDirectoryAndFiles(name)) removed.push_back(name);
  }
  return removed;
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

BOOL CUpdateFiles::VerifyExtractedFiles(const std::string& directory, const std::string& listingPath) {
  HANDLE file = ::CreateFileA(listingPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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

  const auto lengthOf = [&](const std::string& name) -> std::optional<unsigned long long> {
    HANDLE listed = ::CreateFileA((directory + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (listed == INVALID_HANDLE_VALUE) return std::nullopt;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(listed, &high);
    const DWORD error = ::GetLastError();
    ::CloseHandle(listed);
    if (low == INVALID_FILE_SIZE && error != NO_ERROR) return std::nullopt;
    return (static_cast<unsigned long long>(high) << 32) | low;
  };
  return refresh::VerifyListing(text, lengthOf) ? TRUE : FALSE;
}

void CUpdateFiles::DeleteDownloads() const {
  for (const char* name :
       {refresh::UpdatesArchive, refresh::ImageArchive, refresh::UpdatePicture, refresh::UpdateListing}) {
    ::DeleteFileA(PathOf(name).c_str());
  }
}

BOOL CUpdateFiles::CopyUpdateFiles(const std::string& target, DWORD& error) const {
  // Every file is first copied beside the one it replaces, and the copies
  // take their places only once all of them are there: a copy that fails or
  // is cut short leaves the working directory as it was, and no file of it is
  // ever half written.
  const std::vector<std::string> names = NamesIn(m_tempDir);
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
