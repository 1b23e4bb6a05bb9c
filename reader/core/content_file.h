// File access of the reader's content classes. On Windows these are the real
// handle calls; natively they go through the engine's platform shim, so the
// classes build and run under the sanitizers and the fuzzer.
#pragma once

#include <cstdint>
#include <string>

#include "zorlre/re_types.h"

using ContentFile = int;  // the platform's file handle (an HFILE on Windows)
constexpr ContentFile NoContentFile = -1;

// Opens an existing file for reading; NoContentFile on failure.
ContentFile ContentOpen(const char* path);
// Creates or empties a file for writing; NoContentFile on failure.
ContentFile ContentCreate(const char* path);
// False when the platform reports that the close failed (the data written
// may then not all be in the file).
bool ContentClose(ContentFile file);

// Moves to an absolute position; false unless the file is now exactly there.
bool ContentSeek(ContentFile file, std::int64_t position);
// Bytes from the current position to the end of the file; -1 on failure.
std::int64_t ContentRemaining(ContentFile file);

// Reads up to count bytes; the number read, or -1 on error.
std::int64_t ContentRead(ContentFile file, void* buffer, u32 count);
// True only when exactly count bytes were read: a short read is an error.
bool ContentReadExact(ContentFile file, void* buffer, u32 count);
// True only when all count bytes were written.
bool ContentWrite(ContentFile file, const void* buffer, u32 count);

// Closes a file when the reading ends, however it ends.
class ContentFileGuard {
 public:
  explicit ContentFileGuard(ContentFile file) : file_(file) {}
  ~ContentFileGuard() { ContentClose(file_); }
  ContentFileGuard(const ContentFileGuard&) = delete;
  ContentFileGuard& operator=(const ContentFileGuard&) = delete;

 private:
  ContentFile file_;
};

// A file the program writes whole (Bookmark.dat, a saved text): the bytes go
// into a file beside it (its name and ".new") that takes its name only once it
// is complete and closed, so that a crash or a failed write at any point
// leaves either the old file or the new one, never half of one.
class ContentReplacement {
 public:
  explicit ContentReplacement(const char* path);
  // A replacement never committed is removed; the old file stays.
  ~ContentReplacement();
  ContentReplacement(const ContentReplacement&) = delete;
  ContentReplacement& operator=(const ContentReplacement&) = delete;

  // False when the new file could not be made (nothing can be written).
  bool IsOpen() const { return file_ != NoContentFile; }
  ContentFile File() const { return file_; }
  // Closes the new file and puts it in the old one's place; false (the old
  // file unchanged, the new one removed) when the close or the move fails.
  bool Commit();

 private:
  std::string path_, work_;
  ContentFile file_;
};

// Writes `size` bytes as the whole content of the file, through a
// ContentReplacement. False when anything failed: the old file, if there was
// one, is then as it was.
bool ContentReplaceFile(const char* path, const void* data, u32 size);
// For tests of the writers' failure paths: after `writes` more writes that
// succeed, every write fails as on a full disk (-1: never); with
// `closesFail`, every close reports a failure (the file is still closed).
void ContentSimulateFailures(int writes, bool closesFail);

// Little-endian fields of the reader's own files.
inline u16 ContentU16(const u8* p) { return static_cast<u16>(p[0] | p[1] << 8); }
inline u32 ContentU32(const u8* p) {
  return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16 |
         static_cast<u32>(p[3]) << 24;
}
// Big-endian 24-bit entry numbers of the title index.
inline u32 ContentU24be(const u8* p) {
  return static_cast<u32>(p[0]) << 16 | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]);
}
