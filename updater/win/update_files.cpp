#include "update_files.h"

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

// Calls `visit` with the name of every entry of a directory but "." and "..";
// stops when it returns false.
template <class Visit>
void ForEachEntry(const std::string& directory, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((directory + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (!visit(name)) break;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
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
  std::vector<std::string> names;
  ForEachEntry(m_tempDir, [&](const std::string& name) {
    names.push_back(name);
    return true;
  });
  for (const std::string& name : names) ::DeleteFileA(PathOf(name.c_str()).c_str());
  ::RemoveDirectoryA(m_tempDir.c_str());
  m_bTempDirCreated = FALSE;
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
  std::vector<std::string> names;
  ForEachEntry(m_tempDir, [&](const std::string& name) {
    names.push_back(name);
    return true;
  });
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
