// The media architecture as the reader uses it: its main library KNIM32.DLL
// in the system directory (every call goes through its entry "_EntryPoint"
// with a selector) and its component manager KNCM32.DLL ("_KncmInitialize",
// "_KncmTerminate"). The reader starts and ends it, converts plain pictures
// through it, and its movie window plays movies through it. Without the
// library the timeline and media screens stay unavailable and the rest runs.
// Tests put a library of their own in its place.
#pragma once

#include <cstdint>

class MediaLibrary {
 public:
  virtual ~MediaLibrary() = default;
  // Whether the main library is in the system directory.
  virtual bool IsInstalled() = 0;
  // Loads both libraries and starts the component manager.
  virtual bool Start() = 0;
  // Starts and ends the movie services.
  virtual bool EnterMovies() = 0;
  virtual void ExitMovies() = 0;
  // Ends the component manager and unloads both libraries.
  virtual void Stop() = 0;
  // One call through the main library's entry; 0 when it is not loaded.
  virtual std::intptr_t Call(std::int32_t selector, const std::intptr_t* args, std::int32_t count) = 0;
};

// The library in use: the system's, unless a test set another.
MediaLibrary& TheMediaLibrary();
void UseMediaLibrary(MediaLibrary* library);

// Selectors of the calls the reader makes.
namespace media {
enum : std::int32_t {
  OpenMovieFile = 1,        // (path, out file reference, 0) -> 0
  CloseMovieFile = 2,       // (file reference)
  NewMovieFromFile = 3,     // (out movie, file reference, 0, 0, 0, 0) -> 0
  DisposeMovie = 4,         // (movie)
  GetMovieBox = 15,         // (movie, out left, top, right, bottom)
  PictureToDib = 0x2E,      // (picture) -> packed bitmap handle the caller frees, 0 on failure
  NewMovieController = 50,  // (movie, box, flags, window) -> controller or 0
  ControllerAction = 51,    // (controller, action, parameter)
  ControllerBounds = 52,    // (controller, out rectangle)
  ControllerState = 53,     // (controller, out state word)
  ControllerMessage = 54,   // (controller, window, message, wParam, lParam) -> nonzero consumed
  DisposeController = 55,   // (controller)
  SetMovieActive = 56,      // (movie, flag)
  ControllerTime = 58,      // (controller, out time scale) -> the current time of the controller's movie
  ControllerMovie = 59,     // (controller) -> its movie
  MoviePicture = 60,        // (movie, time) -> a picture of the movie at that time, 0 when none
  DisposePicture = 61,      // (picture)
  EnterMovies = 201,        // () -> 0 when the movie services started
  ExitMovies = 202,         // ()
};
}  // namespace media
