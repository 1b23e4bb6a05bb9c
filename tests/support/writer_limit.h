// Stopping a writer part way, at a given number of bytes written into any
// file (POSIX only). A FileSizeLimit makes every write past the limit fail in
// this process, so a test can fail a writer at each of its steps quickly; a
// writer run in a child process with RunWriterKilledAt is killed by the
// system at the limit, as a crash or a kill would stop it.
#pragma once

#include <cstddef>
#include <functional>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t limit);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  struct sigaction signal_ {};
};

enum class WriterEnd {
  Finished,  // the writer returned true
  Refused,   // the writer returned false
  Killed,    // the system stopped it at the limit
};

WriterEnd RunWriterKilledAt(std::size_t limit, const std::function<bool()>& write);
#endif
