// Speed of the panorama plug-in: the warp passes alone, the tile fetch and
// decompression on a cold and a warm cache, and whole frames through the
// controller's draw path over the stand-in media architecture, at 320 x 240
// and 640 x 480 and at each pixel depth the plug-in renders (8-bit palette
// displays, 16-bit and 24-bit frames). Beside every step two references of the
// same run: a memcpy of one frame's bytes and a straightforward per-pixel
// floating-point warp of the same view. A measuring program, not a test.
//   panorama_bench [--dir D] [--quick] [--dll] [--movie large|typical] [--size WxH]
// --dll (Windows builds) plays the same pan through KNVRW32.DLL loaded by the
// stand-in host (KNIM32, KNCM32), drawing into a window.
#include "panorama_bench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "panorama/panorama_movie.h"

namespace panobench {

using Clock = std::chrono::steady_clock;

namespace {
double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
}  // namespace

Stats Summarise(std::vector<double> times) {
  Stats s;
  if (times.empty()) return s;
  double total = 0;
  for (double t : times) total += t;
  std::sort(times.begin(), times.end());
  s.frames = static_cast<int>(times.size());
  s.median = times[times.size() / 2];
  s.worst = times.back();
  s.fps = total > 0 ? 1000.0 * static_cast<double>(times.size()) / total : 0;
  return s;
}

void PrintHeader() {
  std::printf("%-9s %-14s %-30s %6s %9s %9s %9s %9s %8s\n", "size", "depth", "step", "frames", "fps", "median ms",
              "worst ms", "x memcpy", "x naive");
}

void PrintRow(const char* size, const char* depth, const std::string& step, const Stats& s, const Stats* memcpyRef,
              const Stats* naiveRef) {
  char copy[16] = "-", naive[16] = "-";
  if (memcpyRef != nullptr && memcpyRef->median > 0)
    std::snprintf(copy, sizeof copy, "%.2f", s.median / memcpyRef->median);
  if (naiveRef != nullptr && naiveRef->median > 0)
    std::snprintf(naive, sizeof naive, "%.3f", s.median / naiveRef->median);
  std::printf("%-9s %-14s %-30s %6d %9.0f %9.4f %9.4f %9s %8s\n", size, depth, step.c_str(), s.frames, s.fps, s.median,
              s.worst, copy, naive);
  std::fflush(stdout);
}

namespace {

namespace bp = builder::panorama;

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352d;
  x ^= x >> 15;
  x *= 0x846ca68b;
  return x ^ (x >> 16);
}

// A photograph-like picture: smooth colour fields with fine grain, so that
// the run-length codec finds few runs, as in a real scene.
bp::Rgb Scene(int node, int x, int y) {
  const double fx = x * 0.004 + node, fy = y * 0.006;
  const int grain = static_cast<int>(Hash(static_cast<std::uint32_t>(x * 7919 + y * 104729 + node)) & 15) - 8;
  auto channel = [&](double v) { return static_cast<std::uint8_t>(std::clamp(static_cast<int>(v) + grain, 0, 255)); };
  return bp::Rgb{channel(128 + 90 * std::sin(fx) * std::cos(fy)), channel(120 + 80 * std::cos(fx * 1.7 + fy)),
                 channel(110 + 70 * std::sin(fy * 2.3 - fx))};
}

}  // namespace

std::vector<MovieShape> BenchMovies() {
  std::vector<MovieShape> shapes;
  // The most tiles a node may have (192), each 256 x 256: 6144 lines around, 2048 pixels down.
  shapes.push_back(MovieShape{"LARGE.MOV", "large", "large (6144 x 2048, 192 tiles)", 6144, 2048, 256, 256, 40, 3});
  // A typical picture of the time: 2560 x 768 in 120 tiles of 128 x 128.
  shapes.push_back(MovieShape{"TYPICAL.MOV", "typical", "typical (2560 x 768, 120 tiles)", 2560, 768, 128, 128, 30, 2});
  return shapes;
}

std::string WriteBenchMovie(const std::filesystem::path& directory, const MovieShape& shape) {
  const std::filesystem::path path = directory / shape.file;
  if (std::filesystem::exists(path)) {
    std::printf("using %s\n", path.string().c_str());
    return path.string();
  }
  bp::PanoramaMovie movie;
  movie.name = shape.file;
  movie.viewWidth = 640;
  movie.viewHeight = 480;
  movie.pictureWidth = shape.around;
  movie.pictureHeight = shape.down;
  movie.tileWidth = shape.tileWidth;
  movie.linesPerTile = shape.linesPerTile;
  movie.tiltTop = bp::Degrees(shape.tiltDegrees);
  movie.tiltBottom = bp::Degrees(-shape.tiltDegrees);
  for (int n = 0; n < shape.nodes; ++n) {
    bp::Node node;
    node.id = 1 + n;
    node.name = "Node " + std::to_string(n + 1);
    node.defaultZoom = bp::Degrees(65);
    node.picture = [n](int x, int y) { return Scene(n, x, y); };
    movie.nodes.push_back(node);
  }
  std::printf("building %s: %d node(s) of %d x %d ...\n", shape.file, shape.nodes, shape.around, shape.down);
  std::fflush(stdout);
  const auto started = Clock::now();
  builder::WriteFileAtomically(path.string(), bp::BuildPanoramaMovie(movie));
  std::printf("  %s written in %.1f s (%.1f MB)\n", shape.file, Milliseconds(Clock::now() - started) / 1000,
              static_cast<double>(std::filesystem::file_size(path)) / 1e6);
  return path.string();
}

}  // namespace panobench

int main(int argc, char** argv) {
  using namespace panobench;
  std::filesystem::path directory = std::filesystem::temp_directory_path() / "panorama_bench";
  bool quick = false, dll = false;
  Filter filter;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dir" && i + 1 < argc) {
      directory = argv[++i];
    } else if (arg == "--quick") {
      quick = true;
    } else if (arg == "--dll") {
      dll = true;
    } else if (arg == "--movie" && i + 1 < argc) {
      filter.movie = argv[++i];
    } else if (arg == "--size" && i + 1 < argc) {
      filter.size = argv[++i];
    } else {
      std::fprintf(stderr, "usage: panorama_bench [--dir D] [--quick] [--dll] [--movie large|typical] [--size WxH]\n");
      return 2;
    }
  }
  try {
    std::filesystem::create_directories(directory);
    return dll ? RunThroughPlugin(directory, quick, filter) : RunInProcess(directory, quick, filter);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "panorama_bench: %s\n", e.what());
    return 1;
  }
}
