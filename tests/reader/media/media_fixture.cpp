#include "media_fixture.h"

#include <cstring>

#include "core/media_library.h"

namespace mediatest {

namespace {
struct Rect32 {
  std::int32_t left, top, right, bottom;
};

// A copy of a global block, as the media library hands out a converted picture.
std::intptr_t CopyBlock(std::intptr_t handle) {
  const auto source = reinterpret_cast<HGLOBAL>(handle);
  const SIZE_T size = source != nullptr ? ::GlobalSize(source) : 0;
  if (size == 0) return 0;
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(::GlobalLock(copy), ::GlobalLock(source), size);
  ::GlobalUnlock(source);
  ::GlobalUnlock(copy);
  return reinterpret_cast<std::intptr_t>(copy);
}

// A packed 24-bit bitmap of 8 x 8 red pixels.
std::intptr_t RedFrame() {
  constexpr int side = 8, stride = side * 3;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + stride * side);
  auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(block));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = header->biHeight = side;
  header->biPlanes = 1;
  header->biBitCount = 24;
  auto* bits = reinterpret_cast<std::uint8_t*>(header + 1);
  for (int i = 0; i < side * side; ++i) bits[3 * i + 2] = 0xFF;  // blue, green, red
  ::GlobalUnlock(block);
  return reinterpret_cast<std::intptr_t>(block);
}
}  // namespace

std::intptr_t MovieLibrary::Call(std::int32_t selector, const std::intptr_t* args, std::int32_t count) {
  calls.push_back(selector);
  auto arg = [&](int i) { return i < count ? args[i] : 0; };
  switch (selector) {
    case media::PictureToDib: return CopyBlock(arg(0));
    case media::ControllerTime:
      if (auto* scale = reinterpret_cast<std::int32_t*>(arg(1))) *scale = 600;
      return 300;
    case media::ControllerMovie: return controllers.count(arg(0)) ? nextHandle : 0;
    case media::MoviePicture: return givesFrames ? RedFrame() : 0;
    case media::DisposePicture:
      ++disposedPictures;
      ::GlobalFree(reinterpret_cast<HGLOBAL>(arg(0)));
      return 0;
    case media::OpenMovieFile: {
      const std::string path = reinterpret_cast<const char*>(arg(0));
      opened.push_back(path);
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return -43;
      *reinterpret_cast<std::intptr_t*>(arg(1)) = nextHandle++;
      return 0;
    }
    case media::NewMovieFromFile: *reinterpret_cast<std::intptr_t*>(arg(0)) = nextHandle++; return 0;
    case media::GetMovieBox: *reinterpret_cast<Rect32*>(arg(1)) = {0, 0, movieWidth, movieHeight}; return 0;
    case media::NewMovieController: {
      const std::intptr_t controller = nextHandle++;
      controllers[controller] = Controller{};
      return controller;
    }
    case media::ControllerAction:
      actions.emplace_back(static_cast<std::int32_t>(arg(1)), arg(2));
      if (arg(1) == 8 && controllers.count(arg(0))) {
        controllers[arg(0)].rate = static_cast<std::int32_t>(arg(2));
        controllers[arg(0)].ended = false;
      }
      return 0;
    case media::ControllerBounds: *reinterpret_cast<Rect32*>(arg(1)) = {0, 0, movieWidth, movieHeight}; return 0;
    case media::ControllerState: {
      const Controller& c = controllers[arg(0)];
      *reinterpret_cast<std::int32_t*>(arg(1)) = c.rate != 0 && !c.ended ? 0x40 : 0;
      return 0;
    }
    case media::DisposeController:
      ++disposedControllers;
      controllers.erase(arg(0));
      return 0;
    case media::DisposeMovie: ++disposedMovies; return 0;
    default: return 0;
  }
}

void MovieLibrary::EndMovies() {
  for (auto& [handle, controller] : controllers)
    if (controller.rate != 0) controller.ended = true;
}

void MediaScreens::SetUp() {
  ReaderApp::SetUp();
  UseMediaLibrary(&movies);
}

void MediaScreens::TearDown() {
  ReaderApp::TearDown();
  UseMediaLibrary(nullptr);
}

void MediaScreens::StartWithMedia() {
  movies.installed = true;
  media.installed = true;
  settings.Set(InstallationOptions, "ShowIntro", "0");
  ASSERT_TRUE(Start());
}

void MediaScreens::Command(CWnd* target, UINT id) {
  target->SendMessage(WM_COMMAND, id);
  ui::PumpUntilIdle();
}

int MediaScreens::ItemOf(const std::string& title) const {
  return apptest::App().m_multBits.IndexOf(apptest::Article(title));
}

}  // namespace mediatest
