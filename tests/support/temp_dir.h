// A scratch directory for one test, removed with its files when it goes.
#pragma once

#include <string>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory with its trailing separator, as the engine expects it.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // Writes `bytes` into the named file and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The bytes of the named file; empty when it cannot be read.
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};
