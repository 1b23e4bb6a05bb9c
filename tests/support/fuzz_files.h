// Scratch files of a fuzz target: one directory per process, files rewritten
// for every input, removed with the directory when the process ends.
//
// The directory lies in a memory file system when there is one: on a disk
// file system, rewriting a file in place or renaming a file over another makes
// the kernel flush the replaced data (ext4 does so to keep renamed-over files
// whole), which costs milliseconds an input and slowed file-reading targets
// to a few dozen inputs a second.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class FuzzScratch {
 public:
  FuzzScratch() {
    std::string pattern = Root() + "/veldrix-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch directory under " + Root());
    path_ = pattern + "/";
  }
  ~FuzzScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  FuzzScratch(const FuzzScratch&) = delete;
  FuzzScratch& operator=(const FuzzScratch&) = delete;
  const std::string& path() const { return path_; }

 private:
  static std::string Root() {
    if (const char* chosen = std::getenv("VELDRIX_FUZZ_SCRATCH")) return chosen;
    if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
  }
  std::string path_;
};

// The process's scratch directory, with its trailing separator.
inline const std::string& FuzzDirectory() {
  static const FuzzScratch scratch;
  return scratch.path();
}

inline void WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(FuzzDirectory() + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write the scratch file " + name);
}

// Splits the input: a little-endian u16 length, that many bytes, then the rest.
inline bool SplitFuzzInput(const std::uint8_t*& data, std::size_t& size, const std::uint8_t** first,
                           std::size_t* firstSize) {
  if (size < 2) return false;
  const std::size_t length = data[0] | data[1] << 8;
  if (length > size - 2) return false;
  *first = data + 2;
  *firstSize = length;
  data += 2 + length;
  size -= 2 + length;
  return true;
}
