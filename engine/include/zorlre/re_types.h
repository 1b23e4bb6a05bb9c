// Basic types and calling convention shared by the engine library and its callers.
#pragma once

#include <cstddef>
#include <cstdint>

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;
using i8 = std::int8_t;
using i16 = std::int16_t;
using i32 = std::int32_t;

#if defined(_WIN32) && !defined(_WIN64)
#define RE_CALL __stdcall
#else
#define RE_CALL
#endif

#define RE_EXPORT extern "C"

// Records that the caller reads by position keep their exact 32-bit layout in
// the Windows build; natively pointers are wider and only the field order holds.
#if defined(_WIN32) && !defined(_WIN64)
#define RE_ASSERT_SIZE(type, size) static_assert(sizeof(type) == (size), #type " layout changed")
#else
#define RE_ASSERT_SIZE(type, size) static_assert(true, "")
#endif

// Engine results of every call: done, done with a warning, failed.
enum : u32 { ReDone = 0, ReWarn = 4, ReFail = 8 };

// Shared action codes.
enum : u16 {
  ReActOpen = 470,
  ReActClose = 480,
  ReActReset = 460,
  ReActNext = 430,
  ReActNextAlt = 440,
  ReActPrevious = 420,
  ReActReadOn = 490,
};
