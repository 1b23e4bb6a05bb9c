// Scratch files of a fuzz target: one directory per process, files rewritten
// for every input.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// Removed with its files when the process ends.
class FuzzScratch {
 public:
  FuzzScratch() {
    char pattern[] = "/tmp/veldrix-reader-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("no scratch directory");
    path_ = std::string(pattern) + "/";
  }
  ~FuzzScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline const std::string& FuzzDirectory() {
  static const FuzzScratch scratch;
  return scratch.path();
}

inline void WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(FuzzDirectory() + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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
