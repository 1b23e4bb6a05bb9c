// The plug-in's side of the host: the six services it imports from the media
// library, the two entries the host hands over, and the system calls the
// portable code needs (files, memory status, time, input, KNW.INI). Each
// build fills these tables: the DLL from Kinora and Win32, native tests from
// the stand-in host's portable core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "kn_api.h"

namespace pano {

struct HostServices {
  void* (*getMemory)(std::int32_t size) = nullptr;
  void (*freeMemory)(void* block) = nullptr;
  void* (*reallocateMemory)(void* block, std::int32_t size) = nullptr;
  std::int16_t (*flip16)(std::int16_t value) = nullptr;
  std::int32_t (*flip32)(std::int32_t value) = nullptr;
  void (*flip32Many)(void* words, std::int32_t count) = nullptr;
};

struct SystemServices {
  std::uint32_t (*tickCount)() = nullptr;
  bool (*inputPending)() = nullptr;
  std::int64_t (*availableVirtual)() = nullptr;
  void (*compactMemory)() = nullptr;
  std::int32_t (*profileInt)(const char* section, const char* key, std::int32_t fallback) = nullptr;
  // Copies the value (or the fallback) and returns its length.
  std::int32_t (*profileString)(const char* section, const char* key, const char* fallback, char* out,
                                std::int32_t size) = nullptr;
  bool (*isWritable)(const void* block, std::size_t size) = nullptr;
  // Files by handle: -1 is no file.
  std::intptr_t (*openFile)(const char* path) = nullptr;
  bool (*closeFile)(std::intptr_t file) = nullptr;
  std::int64_t (*fileSize)(std::intptr_t file) = nullptr;
  std::int64_t (*readAt)(std::intptr_t file, std::int64_t offset, void* buffer, std::int32_t length) = nullptr;
  // The plug-in's own data resources (colour tables): bytes and size, or false.
  bool (*loadResource)(int id, const std::uint8_t** data, std::uint32_t* size) = nullptr;
  // An identity of the running process (file objects refuse other processes').
  std::uint32_t (*processId)() = nullptr;
  // Zero-filled memory for a tile canvas, kept for the canvas's life; the
  // system zeroes its pages as they are first touched, so a large canvas
  // costs nothing until tiles are decoded into it. Null when short.
  void* (*allocateCanvas)(std::size_t bytes) = nullptr;
  void (*freeCanvas)(void* block) = nullptr;
};

HostServices& Host();
SystemServices& System();
// The defaults of this build (POSIX natively, Win32 in the DLL).
void InstallDefaultSystem();

// The two entries. Until the host supplies them, a call goes to the fallback
// (the DLL loads the library itself); afterwards a missing entry answers
// kHostEntryMissing.
void SetMediaEntry(KnEntryProc entry);
void SetManagerEntry(KncmEntryProc entry);
void SetEntryFallbacks(KnEntryProc media, KncmEntryProc manager);
void ResetEntries();
std::intptr_t CallMedia(std::int32_t selector, std::initializer_list<std::intptr_t> args);
std::intptr_t CallManager(std::int32_t group, std::int32_t selector, std::initializer_list<std::intptr_t> args);

// The best of component instances opened one after another: each newcomer
// either takes the place of the one kept, which is then closed, or is closed.
class KeptInstance {
 public:
  std::intptr_t instance() const { return instance_; }
  // Keeps the candidate when it is better (answering true), else closes it.
  bool Offer(std::intptr_t candidate, bool better);

 private:
  std::intptr_t instance_ = 0;
};

// Shorthands over the host services.
void* HostAlloc(std::int32_t size);  // zero-filled
void HostFree(void* block);
std::uint16_t Be16(const void* p);  // reads a big-endian field through Flip16
std::uint32_t Be32(const void* p);  // through Flip32
inline std::int16_t Be16s(const void* p) { return static_cast<std::int16_t>(Be16(p)); }
inline std::int32_t Be32s(const void* p) { return static_cast<std::int32_t>(Be32(p)); }

}  // namespace pano
