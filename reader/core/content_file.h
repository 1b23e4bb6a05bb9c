// File access of the reader's content classes. On Windows these are the real
// handle calls; natively they go through the engine's platform shim, so the
// classes build and run under the sanitizers and the fuzzer.
#pragma once

#include <cstdint>

#include "re_types.h"

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
