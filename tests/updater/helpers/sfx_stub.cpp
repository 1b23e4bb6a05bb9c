// The extractor of the test update archives, playing a self-extracting
// archive: "<archive> -o <directory>\" writes the files packed at the end of
// its own program file into the directory, with their modification times,
// and tells each on its output. Exit code 0, or 1 with a message.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "update_archive.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::string(argv[1]) != "-o") {
    std::printf("usage: %s -o <directory>\\\n", argc > 0 ? argv[0] : "archive");
    return 1;
  }
  char self[MAX_PATH];
  if (::GetModuleFileNameA(nullptr, self, sizeof self) == 0) return 1;
  std::ifstream in(self, std::ios::binary);
  const std::string archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto files = update_archive::ReadUpdateArchive(archive);
  if (!files) {
    std::printf("Error: %s holds no update files\n", self);
    return 1;
  }
  std::string directory = argv[2];
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  for (const update_archive::File& file : *files) {
    const std::string path = directory + file.name;
    HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = out != INVALID_HANDLE_VALUE &&
                    ::WriteFile(out, file.data.data(), static_cast<DWORD>(file.data.size()), &written, nullptr) &&
                    written == file.data.size();
    if (ok) {
      FILETIME when;
      when.dwLowDateTime = static_cast<DWORD>(file.written);
      when.dwHighDateTime = static_cast<DWORD>(file.written >> 32);
      ::SetFileTime(out, nullptr, nullptr, &when);
    }
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    if (!ok) {
      std::printf("Error: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("  Extracting %s\n", file.name.c_str());
  }
  return 0;
}
