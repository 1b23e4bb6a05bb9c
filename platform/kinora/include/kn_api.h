// The media architecture's calling interface, as our stand-in host offers it
// to components and as the screens will call it: the entries, their selectors
// and the records that cross them. Every call is a selector and a list of
// pointer-sized arguments; results are 32-bit, errors negative.
#pragma once

#include <cstdint>

extern "C" {

// KNIM32's entry: one selector and its arguments.
typedef std::intptr_t (*KnEntryProc)(std::int32_t selector, const std::intptr_t* args, std::int32_t count);
// The component manager's entry: a group (0 the manager itself, otherwise the
// kind of component called, with the component instance as args[0]).
typedef std::intptr_t (*KncmEntryProc)(std::int32_t group, std::int32_t selector, const std::intptr_t* args,
                                       std::int32_t count);
// A component's entry point. args[0] is the leading word (-1 when a component
// calls its own handler), args[1] a word nobody reads, args[2] the instance's
// storage (the component instance for open and create), then the parameters.
typedef std::intptr_t (*KnComponentProc)(std::int16_t selector, const std::intptr_t* args, std::int32_t count);
// The entry setters a component library hands over with its registration.
typedef KnEntryProc (*KnSetMediaEntryProc)(KnEntryProc entry);
typedef KncmEntryProc (*KnSetManagerEntryProc)(KncmEntryProc entry);

}  // extern "C"

namespace kn {

constexpr std::uint32_t Tag(const char* s) {
  return static_cast<std::uint8_t>(s[0]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[3])) << 24;
}

// Component groups of the manager's entry.
enum : std::int32_t { kGroupManager = 0, kGroupController = 1, kGroupDecompressor = 2, kGroupVideoHardware = 0x16F7 };

// Selectors of the manager itself (group 0).
enum : std::int32_t {
  kCmFindNext = 3,          // (previous component or 0, type, subtype or 0) -> component or 0
  kCmDescribe = 4,          // (component, KnComponentDescription*) -> 0
  kCmOpen = 9,              // (component) -> component instance or 0
  kCmClose = 10,            // (component instance) -> 0
  kCmGetStorage = 13,       // (component instance) -> storage
  kCmInstanceVersion = 16,  // (component instance) -> version
  kCmFileName = 17,         // (component, char* buffer, size) -> length of the module's file name
  kCmCount = 18,            // (type or 0) -> number of registered components
  kCmOpenDefault = 19,      // (type, subtype or 0) -> component instance or 0
  kCmSetStorage = 23,       // (component instance, storage) -> 0
  kCmRegisterLibrary = 30,  // (const char* path) -> components registered, or an error
};

// KNIM32 selectors (the plug-in's and the screens').
enum : std::int32_t {
  kKnOpenMovieFile = 1,        // (const char* path, out file reference, 0) -> 0
  kKnCloseMovieFile = 2,       // (file reference) -> 0
  kKnNewMovieFromFile = 3,     // (out movie, file reference, 0, 0, 0, 0) -> 0
  kKnDisposeMovie = 4,         // (movie) -> 0
  kKnDisposeReference = 7,     // (value a component kept) -> 0
  kKnGetMovieBox = 15,         // (movie, KnRect*) -> 0
  kKnGetMovieDuration = 18,    // (movie) -> duration in the movie's time units
  kKnGetMovieFrameCount = 28,  // (movie) -> samples of the first image track
  kKnGetMovieUserData = 29,    // (movie) -> user-data list
  kKnGetUserDataItem = 37,     // (list, KnHandle, type, index) -> 0 when the item exists
  kKnNewMovieController = 50,  // (movie, KnRect*, flags, window) -> controller instance or 0
  kKnControllerAction = 51,    // (controller, action, parameter) -> result
  kKnControllerBounds = 52,    // (controller, KnRect*) -> 0
  kKnControllerState = 53,     // (controller, std::int32_t* out) -> 0
  kKnControllerMessage = 54,   // (controller, window, message, wParam, lParam) -> nonzero consumed
  kKnDisposeController = 55,   // (controller) -> 0
  kKnSetMovieActive = 56,      // (movie, flag) -> 0
  kKnGetMovieTime = 57,        // (movie) -> current time
  kKnControllerTime = 58,      // (controller, std::int32_t* out time scale) -> current time of its movie
  kKnControllerMovie = 59,     // (controller) -> its movie
  kKnMoviePicture = 60,        // (movie, time) -> a picture (a packed bitmap global handle), 0 when none
  kKnDisposePicture = 61,      // (picture) -> 0; KNIM32.DLL frees it
  kKnNewHandle = 78,           // (size) -> handle or 0
  kKnHandlePointer = 79,       // (handle) -> data or 0 when purged
  kKnLockHandle = 80,          // (handle) -> 0
  kKnUnlockHandle = 81,        // (handle) -> 0
  kKnSetHandleSize = 82,       // (handle, size) -> 0 or -108
  kKnGetHandleSize = 84,       // (handle) -> size
  kKnDisposeHandle = 85,       // (handle) -> 0
  kKnGetMovieFilePath = 100,   // (movie, char* buffer, size) -> 0, -2042 when the movie has no file
  // (packed bitmap global handle) -> the handle of a new packed bitmap that the
  // caller frees, 0 on failure; KNIM32.DLL only (the core has no global memory)
  kKnPictureToDib = 46,
  kKnEnterMovies = 201,  // () -> 0: the movie services are started
  kKnExitMovies = 202,   // () -> 0: the last user's end disposes the movies still open
};

// Controller selectors the host's standard controller answers (group 1).
enum : std::int32_t {
  kMcActivate = 0,
  kMcDoAction = 1,
  kMcDraw = 2,
  kMcGetBox = 4,
  kMcGetState = 5,
  kMcGetTime = 6,
  kMcGetMovie = 7,
  kMcIdle = 9,
  kMcMessage = 11,
  kMcKey = 12,
  kMcSetBounds = 14,
  kMcDetach = 15,
  kMcSetMovie = 19,
  kMcCreate = 21,
};
// Controller actions of the standard controller.
enum : std::int32_t { kMcActionGoToTime = 12, kMcActionPlay = 8 };

// Decompressor selectors (group 2).
enum : std::int32_t { kDcGetCapabilities = 0, kDcBusy = 5, kDcPrepare = 6, kDcDecompress = 7 };
// Video-hardware selectors (group 0x16F7).
enum : std::int32_t { kVhServe = 0, kVhCopy = 1 };

struct KnRect {
  std::int32_t left, top, right, bottom;
};

// What the manager reports of a component.
struct KnComponentDescription {
  std::uint32_t type, subtype, manufacturer;
  std::int32_t flags, flagsMask;
  std::int32_t version;
};

// The decompressor's capability record (72 bytes).
struct KnDecompressCapabilities {
  std::int32_t flags;       // 0x40: can write rows straight into the caller's memory
  std::int32_t outputKind;  // 1 direct, 2 banded, 3 stepped
  std::int32_t depth;       // pixel depth it writes in direct output
  std::int32_t bandHeight;  // rows a band holds (banded output), 0 = the whole image
  std::int32_t slack;       // bytes it may write past a band
  std::int32_t reserved[13];
};
static_assert(sizeof(KnDecompressCapabilities) == 72);

// The codec host callback: a code and an argument (see the plug-in's notes).
typedef std::intptr_t (*KnCodecCallback)(std::int32_t code, std::intptr_t argument);

// What a decompressor is asked to prepare for.
struct KnDecompressPrepare {
  const std::uint8_t* description;  // the image description as stored (big-endian)
  std::int32_t descriptionSize;
  std::int32_t width, height, depth;
  std::int32_t outputMode;  // the screen output mode
  std::int32_t outputKind;  // the kind the caller will use
  std::int32_t pixelBytes;  // bytes of one output pixel
  const void* colorTable;   // indexed depths: the table in the output's layout
  std::int32_t colorTableBytes;
  KnCodecCallback callback;
};

struct KnDecompressCall {
  const std::uint8_t* data;
  std::int32_t size;
  std::uint8_t* destination;  // direct and banded output; stepped output asks the callback
  std::int32_t rowBytes;
  KnRect area;  // rows and columns of the image to produce
};

// The video-hardware copy request.
struct KnVideoCopy {
  std::int32_t x, y;  // destination on the screen
  const std::uint8_t* pixels;
  std::int32_t rowBytes;
  std::int32_t width, rows;
  std::uint32_t rop;
  const std::int16_t* banks;
};
typedef std::intptr_t (*KnVideoInfoProc)(std::int32_t code, std::intptr_t a, std::intptr_t b);

// A component library's registration record and its descriptors (the 32-bit
// layout is the one the host reads).
struct KnComponentDescriptor {
  char type[4];
  char subtype[4];
  char manufacturer[4];
  std::int32_t flags;
  std::int32_t flagsMask;
  KnComponentProc entry;
  std::int32_t reserved[3];
};
struct KnComponentRegistration {
  std::int32_t version;
  std::int16_t count;
  std::int16_t padding;
  const KnComponentDescriptor* descriptors;
  KnSetMediaEntryProc setMediaEntry;
  KnSetManagerEntryProc setManagerEntry;
};
#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(KnComponentDescriptor) == 36);
static_assert(sizeof(KnComponentRegistration) == 20);
#endif

// "thng": what a component library's identify export returns.
constexpr std::int32_t kThingSignature = 0x676E6874;

// Host memory handle.
using KnHandle = std::intptr_t;

}  // namespace kn
