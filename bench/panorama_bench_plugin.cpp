// The end-to-end mode of the panorama benchmark: the same pans and zooms
// through the real KNVRW32.DLL, which the stand-in media architecture
// (KNIM32.DLL, KNCM32.DLL) loads, drawing each frame into a window through
// the controller's draw action and screen output.
#include <cstdio>

#include "panorama_bench.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <stdexcept>

#include "kn_api.h"

namespace panobench {
namespace {

using Clock = std::chrono::steady_clock;
using Entry = std::intptr_t (*)(std::int32_t, const std::intptr_t*, std::int32_t);
using Start = std::int32_t (*)();
using Stop = void (*)();

constexpr std::int32_t Degrees(double degrees) { return static_cast<std::int32_t>(degrees * 65536.0); }

template <class F>
F Proc(HMODULE module, const char* name) {
  F proc = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (proc == nullptr) throw std::runtime_error(std::string("missing export ") + name);
  return proc;
}

class Host {
 public:
  Host() {
    media_ = LoadLibraryA("KNIM32.DLL");
    manager_ = LoadLibraryA("KNCM32.DLL");
    if (media_ == nullptr || manager_ == nullptr) throw std::runtime_error("KNIM32.DLL or KNCM32.DLL did not load");
    entry_ = Proc<Entry>(media_, "_EntryPoint");
    if (Proc<Start>(manager_, "_KncmInitialize")() != 0)
      throw std::runtime_error("the component manager did not start");
    window_ = CreateWindowExA(0, "STATIC", "panorama_bench", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                              nullptr, nullptr);
    if (window_ == nullptr) throw std::runtime_error("no window");
  }
  ~Host() {
    DestroyWindow(window_);
    Proc<Stop>(manager_, "_KncmTerminate")();
    FreeLibrary(manager_);
    FreeLibrary(media_);
  }
  std::intptr_t Media(std::int32_t selector, std::initializer_list<std::intptr_t> args) {
    return entry_(selector, args.begin(), static_cast<std::int32_t>(args.size()));
  }
  std::intptr_t OpenMovie(const std::string& path) {
    std::intptr_t reference = 0, movie = 0;
    if (Media(kn::kKnOpenMovieFile,
              {reinterpret_cast<std::intptr_t>(path.c_str()), reinterpret_cast<std::intptr_t>(&reference), 0}) != 0 ||
        Media(kn::kKnNewMovieFromFile, {reinterpret_cast<std::intptr_t>(&movie), reference, 0, 0, 0, 0}) != 0) {
      throw std::runtime_error("cannot open " + path);
    }
    Media(kn::kKnCloseMovieFile, {reference});
    return movie;
  }
  HWND window() const { return window_; }
  void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

 private:
  HMODULE media_ = nullptr, manager_ = nullptr;
  Entry entry_ = nullptr;
  HWND window_ = nullptr;
};

template <class F>
double TimeMs(F&& work) {
  const auto started = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

void BenchController(Host& host, std::intptr_t movie, const MovieShape& shape, int width, int height, const char* depth,
                     bool quick) {
  RECT bounds{0, 0, 640, 480};
  const std::intptr_t c = host.Media(kn::kKnNewMovieController, {movie, reinterpret_cast<std::intptr_t>(&bounds), 3,
                                                                 reinterpret_cast<std::intptr_t>(host.window())});
  if (c == 0) throw std::runtime_error("no controller for the movie");
  auto action = [&](std::int32_t a, std::intptr_t parameter) {
    return host.Media(kn::kKnControllerAction, {c, a, parameter});
  };
  RECT view{0, 0, width, height};
  host.Media(kn::kKnControllerBounds, {c, reinterpret_cast<std::intptr_t>(&view)});
  char size[16];
  std::snprintf(size, sizeof size, "%dx%d", width, height);
  const int steps = quick ? 60 : 360;

  std::vector<double> cold;
  for (int node = shape.nodes; node >= 1; --node) {
    cold.push_back(TimeMs([&] {
      action(4102, node);
      action(2, 0);
    }));
  }
  PrintRow(size, depth, "first frame of a cold node", Summarise(cold), nullptr, nullptr);
  for (int k = 0; k < 36; ++k) {  // one turn brings every compressed tile in
    action(4152, Degrees(10.0 * k));
    action(2, 0);
  }
  for (const std::int32_t quality : {256, 768}) {
    action(4121, quality);
    std::vector<double> times;
    for (int k = 0; k < steps; ++k) {
      times.push_back(TimeMs([&] {
        action(4152, Degrees(360.0 * k / steps));
        action(2, 0);
      }));
      if (k % 30 == 0) host.Pump();
    }
    PrintRow(size, depth, "plug-in: pan, quality " + std::to_string(quality), Summarise(times), nullptr, nullptr);
  }
  {
    action(4121, 256);
    std::vector<double> times;
    for (int k = 0; k <= 110; k += quick ? 5 : 1) {
      times.push_back(TimeMs([&] {
        action(4154, Degrees(k <= 55 ? 65 - k : k - 45));
        action(2, 0);
      }));
    }
    PrintRow(size, depth, "plug-in: zoom 65-10-65, q 256", Summarise(times), nullptr, nullptr);
  }
  // The view is really drawn: its centre is not the window's background.
  HDC dc = GetDC(host.window());
  const COLORREF centre = GetPixel(dc, width / 2, height / 2);
  ReleaseDC(host.window(), dc);
  std::printf("%-9s centre pixel #%02x%02x%02x\n", size, GetRValue(centre), GetGValue(centre), GetBValue(centre));
  host.Media(kn::kKnDisposeController, {c});
}

}  // namespace

int RunThroughPlugin(const std::filesystem::path& directory, bool quick, const Filter& filter) {
  Host host;
  HDC screen = GetDC(nullptr);
  char depth[24];
  std::snprintf(depth, sizeof depth, "screen %d-bit", GetDeviceCaps(screen, BITSPIXEL));
  ReleaseDC(nullptr, screen);
  for (const MovieShape& shape : BenchMovies()) {
    if (!filter.Takes(shape)) continue;
    const std::string path = WriteBenchMovie(directory, shape);
    const std::intptr_t movie = host.OpenMovie(path);
    std::printf("\n%s, %d nodes, through KNVRW32.DLL\n", shape.title, shape.nodes);
    PrintHeader();
    for (const auto& [width, height] : {std::pair{320, 240}, std::pair{640, 480}}) {
      if (!filter.Takes(width, height)) continue;
      BenchController(host, movie, shape, width, height, depth, quick);
    }
    host.Media(kn::kKnDisposeMovie, {movie});
  }
  return 0;
}

}  // namespace panobench

#else

namespace panobench {

int RunThroughPlugin(const std::filesystem::path&, bool, const Filter&) {
  std::fprintf(stderr, "panorama_bench: --dll needs the Windows build (the win32 or win64 tree)\n");
  return 2;
}

}  // namespace panobench

#endif
