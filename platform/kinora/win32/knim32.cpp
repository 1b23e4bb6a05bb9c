// KNIM32.DLL: the stand-in media library. Its entry and exported services
// wrap the portable core; it also loads component libraries through their
// identify export and holds the video-hardware component.
#include <windows.h>

#include <cstring>
#include <map>
#include <vector>

#include "kn_components.h"
#include "kn_host.h"
#include "kn_movie.h"
#include "movie_view.h"

namespace {

// The picture call: a packed bitmap in global memory to a new block holding
// the same header, colour table and bits (the caller frees both); 0 when the
// block holds no whole bitmap.
std::intptr_t PictureToDib(std::intptr_t handle) {
  const auto source = reinterpret_cast<HGLOBAL>(handle);
  if (source == nullptr) return 0;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(source));
  if (bytes == nullptr) return 0;
  const std::int32_t size = kn::PackedBitmapSize(bytes, GlobalSize(source));
  HGLOBAL copy = size > 0 ? GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size)) : nullptr;
  void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
  if (target != nullptr) {
    std::memcpy(target, bytes, static_cast<std::size_t>(size));
    GlobalUnlock(copy);
  } else if (copy != nullptr) {
    GlobalFree(copy);
    copy = nullptr;
  }
  GlobalUnlock(source);
  return reinterpret_cast<std::intptr_t>(copy);
}

// A movie's frame at a time as a packed 24-bit bitmap in global memory (the
// caller disposes of it with the dispose-picture call); 0 for a movie
// without frames.
std::intptr_t MoviePicture(std::intptr_t movieHandle, std::intptr_t time) {
  const kn::Movie* movie = kn::AsMovie(movieHandle);
  if (movie == nullptr || !movie->frames.Has()) return 0;
  kn::DecodedFrame frame;
  const std::int32_t index = kn::FrameAt(movie->frames, static_cast<std::int32_t>(time), movie->duration);
  if (!kn::DecodeFrame(movie->path, movie->frames, index, &frame)) return 0;
  const SIZE_T bits = static_cast<SIZE_T>(frame.rowBytes) * static_cast<SIZE_T>(frame.height);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + bits);
  auto* header = block != nullptr ? static_cast<BITMAPINFOHEADER*>(GlobalLock(block)) : nullptr;
  if (header == nullptr) {
    if (block != nullptr) GlobalFree(block);
    return 0;
  }
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = frame.width;
  header->biHeight = frame.height;  // bottom-up
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biSizeImage = static_cast<DWORD>(bits);
  auto* rows = reinterpret_cast<std::uint8_t*>(header + 1);
  for (std::int32_t y = 0; y < frame.height; ++y)
    std::memcpy(rows + static_cast<std::size_t>(frame.height - 1 - y) * frame.rowBytes,
                &frame.pixels[static_cast<std::size_t>(y) * frame.rowBytes], static_cast<std::size_t>(frame.rowBytes));
  GlobalUnlock(block);
  return reinterpret_cast<std::intptr_t>(block);
}

// The host's tasking of the plug-in's controllers: a clock on each one's
// window hands it the idle event (which moves a drag or a zoom on while a
// button or a key is held), and the window under a controller that draws
// its whole box is not erased before it paints.
constexpr UINT_PTR kIdleTimer = 0x4B49;  // 'KI'
constexpr UINT kIdleMilliseconds = 30;
std::map<std::intptr_t, HWND> gIdled;

UINT IdleEvent() {
  static const UINT message = RegisterWindowMessageA("Kinora Idle Event");
  return message;
}

bool IsPluginController(std::intptr_t controller) {
  const std::intptr_t args[1] = {controller};
  const kn::Movie* movie = kn::AsMovie(kn::MediaEntry(kn::kKnControllerMovie, args, 1));
  return movie != nullptr && movie->controllerSubtype != 0;
}

std::intptr_t NewController(const std::intptr_t* args, std::int32_t count) {
  const std::intptr_t controller = kn::MediaEntry(kn::kKnNewMovieController, args, count);
  const HWND window = count >= 4 ? reinterpret_cast<HWND>(args[3]) : nullptr;
  if (controller != 0 && window != nullptr && IsWindow(window) && IsPluginController(controller) &&
      SetTimer(window, kIdleTimer, kIdleMilliseconds, nullptr) != 0)
    gIdled[controller] = window;
  return controller;
}

void DisposeController(std::intptr_t controller) {
  const auto idled = gIdled.find(controller);
  if (idled != gIdled.end()) {
    if (IsWindow(idled->second)) KillTimer(idled->second, kIdleTimer);
    gIdled.erase(idled);
  }
  const std::intptr_t args[1] = {controller};
  kn::MediaEntry(kn::kKnDisposeController, args, 1);
}

// A window message offered to a controller.
std::intptr_t OfferMessage(const std::intptr_t* args, std::int32_t count) {
  const auto message = static_cast<UINT>(args[2]);
  const auto idled = gIdled.find(args[0]);
  if (idled != gIdled.end()) {
    if (message == WM_TIMER && static_cast<UINT_PTR>(args[3]) == kIdleTimer) {
      const std::intptr_t idle[5] = {args[0], args[1], static_cast<std::intptr_t>(IdleEvent()), 0, 0};
      kn::MediaEntry(kn::kKnControllerMessage, idle, 5);
      return 1;
    }
    if (message == WM_ERASEBKGND) return 1;  // the controller paints its whole box
  }
  return kn::MediaEntry(kn::kKnControllerMessage, args, count);
}

}  // namespace

extern "C" {
std::intptr_t KnimEntryPoint(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  if (selector == kn::kKnPictureToDib) return PictureToDib(count >= 1 && args != nullptr ? args[0] : 0);
  if (selector == kn::kKnMoviePicture) return count >= 2 && args != nullptr ? MoviePicture(args[0], args[1]) : 0;
  if (args != nullptr) {
    if (selector == kn::kKnNewMovieController) return NewController(args, count);
    if (selector == kn::kKnDisposeController && count >= 1) {
      DisposeController(args[0]);
      return 0;
    }
    if (selector == kn::kKnControllerMessage && count >= 5) return OfferMessage(args, count);
  }
  if (selector == kn::kKnDisposePicture && count >= 1 && args != nullptr && args[0] != 0) {
    GlobalFree(reinterpret_cast<HGLOBAL>(args[0]));
    return 0;
  }
  return kn::MediaEntry(selector, args, count);
}
void* GetMemory(std::int32_t size) { return kn::GetMemory(size); }
void FreeMemory(void* block) { kn::FreeMemory(block); }
void* ReallocateMemory(void* block, std::int32_t size) { return kn::ReallocateMemory(block, size); }
std::int16_t Flip16(std::int16_t value) { return kn::Flip16(value); }
std::int32_t Flip32(std::int32_t value) { return kn::Flip32(value); }
void Flip32Many(void* words, std::int32_t count) { kn::Flip32Many(words, count); }
std::intptr_t KnManagerEntry(std::int32_t group, std::int32_t selector, const std::intptr_t* args, std::int32_t count);
std::int32_t KnInitialize();
void KnTerminate();
std::int32_t KnRegisterLibrary(const char* path);
std::int32_t KnPurgeHandles() { return kn::PurgeUnlockedHandles(); }
std::int32_t KnLiveHandles() { return kn::LiveHandles(); }
}

namespace {

std::vector<HMODULE> gLibraries;
std::int32_t gVideoMode = 0;

// The video-hardware stand-in: no banks, draws bands through the screen's DC.
std::intptr_t VideoInfo(std::int32_t code, std::intptr_t, std::intptr_t) {
  switch (code) {
    case 23: return 0;  // not addressed in banks
    case 24: return 2;  // drawing kind: through the copy entry
    default: return 0;
  }
}

std::intptr_t VideoCopy(const kn::KnVideoCopy* copy) {
  if (copy == nullptr) return -50;
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = copy->width;
  info.header.biHeight = -copy->rows;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(gVideoMode == 6 || gVideoMode == 7 ? 16 : 24);
  if (gVideoMode == 7) {
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
  }
  HDC screen = GetDC(nullptr);
  const int drawn = SetDIBitsToDevice(screen, copy->x, copy->y, static_cast<DWORD>(copy->width),
                                      static_cast<DWORD>(copy->rows), 0, 0, 0, static_cast<UINT>(copy->rows),
                                      copy->pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return drawn > 0 ? 0 : -1;
}

std::intptr_t VideoHardwareEntry(std::int16_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  switch (selector) {
    case -1:
    case -2:
    case -3:
    case -4: return 0;
    case kn::kVhServe: {
      const std::int32_t mode = static_cast<std::int32_t>(arg(3));
      if (mode != 6 && mode != 7 && mode != 9 && mode != 11) return -2004;
      gVideoMode = mode;
      if (auto* info = reinterpret_cast<kn::KnVideoInfoProc*>(arg(4))) *info = VideoInfo;
      if (auto* copy = reinterpret_cast<std::intptr_t (**)(const kn::KnVideoCopy*)>(arg(5))) *copy = VideoCopy;
      return 0;
    }
    case kn::kVhCopy: return VideoCopy(reinterpret_cast<const kn::KnVideoCopy*>(arg(3)));
    default: return -50;
  }
}

}  // namespace

extern "C" std::int32_t KnRegisterLibrary(const char* path) {
  HMODULE library = LoadLibraryA(path);
  if (library == nullptr) return -2004;
  using IdentifyProc = std::int32_t (*)(kn::KnComponentRegistration**);
  auto identify = reinterpret_cast<IdentifyProc>(reinterpret_cast<void*>(GetProcAddress(library, "THNGIDENTIFY2")));
  kn::KnComponentRegistration* record = nullptr;
  if (identify == nullptr || identify(&record) != kn::kThingSignature || record == nullptr) {
    FreeLibrary(library);
    return -2004;
  }
  if (record->setMediaEntry != nullptr) record->setMediaEntry(KnimEntryPoint);
  if (record->setManagerEntry != nullptr) record->setManagerEntry(KnManagerEntry);
  char file[MAX_PATH] = {};
  GetModuleFileNameA(library, file, sizeof file);
  std::int32_t registered = 0;
  for (int i = 0; i < record->count; ++i)
    registered += kn::RegisterComponent(record->descriptors[i], file) != 0 ? 1 : 0;
  kn::FreeMemory(record);  // the host owns the record once it is handed out
  gLibraries.push_back(library);
  return registered;
}

extern "C" std::intptr_t KnManagerEntry(std::int32_t group, std::int32_t selector, const std::intptr_t* args,
                                        std::int32_t count) {
  if (group == kn::kGroupManager && selector == kn::kCmRegisterLibrary && count >= 1) {
    return KnRegisterLibrary(reinterpret_cast<const char*>(args[0]));
  }
  return kn::ManagerEntry(group, selector, args, count);
}

extern "C" std::int32_t KnInitialize() {
  kn::InitializeHost(WindowedControllerEntry);
  if (kn::FindNextComponent(0, kn::Tag("vhdw"), 0) == 0) {
    kn::KnComponentDescriptor video{};
    std::memcpy(video.type, "vhdw", 4);
    std::memcpy(video.subtype, "scrn", 4);
    std::memcpy(video.manufacturer, "knra", 4);
    video.entry = VideoHardwareEntry;
    video.reserved[0] = 0x10000;
    kn::RegisterComponent(video, "KNIM32.DLL");
  }
  return 0;
}

extern "C" void KnTerminate() {
  kn::TerminateHost();
  for (HMODULE library : gLibraries) FreeLibrary(library);
  gLibraries.clear();
}
