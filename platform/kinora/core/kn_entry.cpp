// The media library's entry: one selector per operation.
#include <cstring>

#include "kn_components.h"
#include "kn_host.h"
#include "kn_movie.h"

namespace kn {

namespace {
bool gInitialized = false;
int gMovieUsers = 0;
}  // namespace

std::int32_t EnterMovies() {
  ++gMovieUsers;
  return 0;
}

void ExitMovies() {
  if (gMovieUsers == 0) return;
  if (--gMovieUsers == 0) ForgetMovies();
}

int MovieServiceUsers() { return gMovieUsers; }

void InitializeHost(KnComponentProc standardController) {
  if (gInitialized) return;
  RegisterBuiltInComponents(standardController != nullptr ? standardController : StandardControllerEntry);
  gInitialized = true;
}

void TerminateHost() {
  ForgetComponents();
  ForgetMovies();
  gMovieUsers = 0;
  gInitialized = false;
}

std::intptr_t MediaEntry(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  auto arg = [&](int i) -> std::intptr_t { return i < count ? args[i] : 0; };
  switch (selector) {
    case kKnOpenMovieFile:
      return OpenMovieFile(reinterpret_cast<const char*>(arg(0)), reinterpret_cast<std::intptr_t*>(arg(1)));
    case kKnCloseMovieFile: CloseMovieFile(arg(0)); return 0;
    case kKnNewMovieFromFile: return NewMovieFromFile(reinterpret_cast<std::intptr_t*>(arg(0)), arg(1));
    case kKnDisposeMovie: DisposeMovie(arg(0)); return 0;
    case kKnDisposeReference: return 0;
    case kKnGetMovieBox: {
      Movie* movie = AsMovie(arg(0));
      auto* rect = reinterpret_cast<KnRect*>(arg(1));
      if (movie == nullptr || rect == nullptr) return -2010;
      *rect = movie->box;
      return 0;
    }
    case kKnGetMovieDuration: {
      Movie* movie = AsMovie(arg(0));
      return movie == nullptr ? 0 : movie->duration;
    }
    case kKnGetMovieFrameCount: {
      Movie* movie = AsMovie(arg(0));
      return movie == nullptr ? 0 : movie->frameCount;
    }
    case kKnGetMovieUserData: return AsMovie(arg(0)) != nullptr ? arg(0) : 0;
    case kKnGetUserDataItem: {
      Movie* movie = AsMovie(arg(0));
      const std::intptr_t index = arg(3);
      if (movie == nullptr) return -2026;
      const auto it = movie->userData.find(static_cast<std::uint32_t>(arg(2)));
      if (it == movie->userData.end() || index < 1 || static_cast<std::size_t>(index) > it->second.size()) return -2026;
      const std::vector<std::uint8_t>& item = it->second[static_cast<std::size_t>(index - 1)];
      if (SetHandleSize(arg(1), static_cast<std::int32_t>(item.size())) != 0) return -108;
      if (!item.empty()) std::memcpy(HandlePointer(arg(1)), item.data(), item.size());
      return 0;
    }
    case kKnNewMovieController: {
      Movie* movie = AsMovie(arg(0));
      if (movie == nullptr) return 0;
      const std::uint32_t subtype = movie->controllerSubtype != 0 ? movie->controllerSubtype : Tag("std ");
      // The controller the movie needs, or none: a panorama is never played by the standard one.
      const std::intptr_t controller = OpenDefaultComponent(Tag("play"), subtype);
      if (controller == 0) return 0;
      const std::intptr_t create[4] = {arg(0), arg(1), arg(2), arg(3)};
      if (CallInstance(controller, kMcCreate, create, 4) != 0) {
        CloseComponent(controller);
        return 0;
      }
      return controller;
    }
    case kKnControllerAction: {
      const std::intptr_t params[2] = {arg(1), arg(2)};
      return CallInstance(arg(0), kMcDoAction, params, 2);
    }
    case kKnControllerBounds: {
      const std::intptr_t params[1] = {arg(1)};
      return CallInstance(arg(0), kMcGetBox, params, 1);
    }
    case kKnControllerState: {
      const std::intptr_t params[1] = {arg(1)};
      return CallInstance(arg(0), kMcGetState, params, 1);
    }
    case kKnControllerMessage: {
      const std::intptr_t params[4] = {arg(1), arg(2), arg(3), arg(4)};
      return CallInstance(arg(0), kMcMessage, params, 4);
    }
    case kKnDisposeController: CloseComponent(arg(0)); return 0;
    case kKnSetMovieActive: {
      Movie* movie = AsMovie(arg(0));
      if (movie != nullptr) movie->active = arg(1) != 0;
      return 0;
    }
    case kKnGetMovieTime: return MovieTime(arg(0));
    case kKnControllerTime: {
      Movie* movie = AsMovie(CallInstance(arg(0), kMcGetMovie, nullptr, 0));
      if (auto* scale = reinterpret_cast<std::int32_t*>(arg(1))) *scale = movie != nullptr ? movie->timeScale : 0;
      return movie != nullptr ? movie->time : 0;
    }
    case kKnControllerMovie: return CallInstance(arg(0), kMcGetMovie, nullptr, 0);
    // Pictures live in global memory, which only KNIM32.DLL has (it answers these).
    case kKnMoviePicture: return 0;
    case kKnDisposePicture: return 0;
    case kKnNewHandle: return NewHandle(static_cast<std::int32_t>(arg(0)));
    case kKnHandlePointer: return reinterpret_cast<std::intptr_t>(HandlePointer(arg(0)));
    case kKnLockHandle: LockHandle(arg(0)); return 0;
    case kKnUnlockHandle: UnlockHandle(arg(0)); return 0;
    case kKnSetHandleSize: return SetHandleSize(arg(0), static_cast<std::int32_t>(arg(1)));
    case kKnGetHandleSize: return GetHandleSize(arg(0));
    case kKnDisposeHandle: DisposeHandle(arg(0)); return 0;
    case kKnGetMovieFilePath: {
      Movie* movie = AsMovie(arg(0));
      auto* buffer = reinterpret_cast<char*>(arg(1));
      const std::intptr_t size = arg(2);
      if (movie == nullptr || buffer == nullptr || size <= 0 || movie->path.size() >= static_cast<std::size_t>(size))
        return -2042;
      std::memcpy(buffer, movie->path.c_str(), movie->path.size() + 1);
      return 0;
    }
    case kKnEnterMovies: return EnterMovies();
    case kKnExitMovies: ExitMovies(); return 0;
    default: return static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80008002u));
  }
}

}  // namespace kn
