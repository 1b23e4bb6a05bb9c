// The stand-in media architecture's own interface: start and end, the two
// entries, the exported services, component registration, and the hooks the
// tests use. The portable core serves both trees; KNIM32.DLL and KNCM32.DLL
// wrap it in the win32 tree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kn_api.h"

namespace kn {

// Exported services of the media library.
void* GetMemory(std::int32_t size);
void FreeMemory(void* block);
void* ReallocateMemory(void* block, std::int32_t size);
std::int16_t Flip16(std::int16_t value);
std::int32_t Flip32(std::int32_t value);
void Flip32Many(void* words, std::int32_t count);

// The two entries.
std::intptr_t MediaEntry(std::int32_t selector, const std::intptr_t* args, std::int32_t count);
std::intptr_t ManagerEntry(std::int32_t group, std::int32_t selector, const std::intptr_t* args, std::int32_t count);

// Registers the built-in components (standard controller, decompressor). A
// host with windows passes its own standard controller entry, which shows
// the movie and keeps its clock around StandardControllerEntry.
void InitializeHost(KnComponentProc standardController = nullptr);
// Closes what is open and forgets every registered component.
void TerminateHost();

// Registers one component; fileName is its module's file name. Returns the
// component (an index from 1) or 0.
std::int32_t RegisterComponent(const KnComponentDescriptor& descriptor, const char* fileName);

// Host memory handles (also reached through the media entry).
KnHandle NewHandle(std::int32_t size);
void* HandlePointer(KnHandle handle);
std::int32_t SetHandleSize(KnHandle handle, std::int32_t size);
std::int32_t GetHandleSize(KnHandle handle);
void LockHandle(KnHandle handle);
void UnlockHandle(KnHandle handle);
void DisposeHandle(KnHandle handle);
// Testing: purges the memory of every unlocked handle, as a memory-short
// host would; returns how many were purged.
int PurgeUnlockedHandles();
int LiveHandles();
// Testing: memory blocks handed out and not yet freed; fail after n more.
int LiveBlocks();
void FailMemoryAfter(int allocations);  // -1 = never

// The codec of our own image tracks ("knrl"): see docs/formats.md.
constexpr std::uint32_t kCodecRunLength = Tag("knrl");
// Movies (also reached through the media entry).
std::int32_t OpenMovieFile(const char* path, std::intptr_t* reference);
std::int32_t NewMovieFromFile(std::intptr_t* movie, std::intptr_t reference);
void CloseMovieFile(std::intptr_t reference);
void DisposeMovie(std::intptr_t movie);
std::int32_t MovieTime(std::intptr_t movie);
// The movie services: each start counts a user; the end of the last one
// disposes every movie still open. An end without a start does nothing.
std::int32_t EnterMovies();
void ExitMovies();
int MovieServiceUsers();

// Pictures: the size of the packed device-independent bitmap (header, colour
// table, bits) that starts `data`, or 0 when the bytes hold no whole one.
std::int32_t PackedBitmapSize(const std::uint8_t* data, std::size_t size);

}  // namespace kn
