// The in-process mode of the panorama benchmark: the node view, warp engine,
// tile canvas and decompression over the stand-in host's core, with screen
// output's per-frame work done into memory (palette displays convert each
// frame to indexes, the others copy it to "screen memory").
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "color_tables.h"
#include "kn_host.h"
#include "node_view.h"
#include "pano_host.h"
#include "pano_types.h"
#include "panorama_bench.h"
#include "tile_canvas.h"
#include "warp_engine.h"

namespace panobench {
namespace {

using Clock = std::chrono::steady_clock;
using pano::NodeView;
using pano::WarpEngine;

template <class F>
double TimeMs(F&& work) {
  const auto started = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

constexpr std::int32_t Degrees(double degrees) { return static_cast<std::int32_t>(degrees * 65536.0); }

struct Depth {
  const char* name;
  std::int32_t mode, screenDepth;
  int pixelBytes;  // of the frames
};
constexpr Depth kDepths[] = {
    {"8-bit palette", pano::kModePalette, 8, 2},
    {"16-bit 5-6-5", pano::kMode565, 16, 2},
    {"24-bit", pano::kModeBgr24, 24, 3},
};

struct Screen {
  std::int32_t mode = pano::kMode565;
  std::vector<std::uint8_t> memory;
};
Screen gScreen;

bool Visible(std::intptr_t) { return true; }
std::int32_t OutputMode() { return gScreen.mode; }
std::int32_t Present(std::intptr_t, const kn::KnRect&, const std::uint8_t* pixels, int format, int width, int height,
                     std::int32_t rowBytes) {
  if (gScreen.mode == pano::kModePalette) {
    pano::ConvertBandToIndexes(pano::InverseColorTable(), pixels, rowBytes, width, height, gScreen.memory.data());
    return 0;
  }
  const std::size_t row = static_cast<std::size_t>(width) * (format == pano::kFormat24 ? 3 : 2);
  for (int y = 0; y < height; ++y) {
    std::memcpy(gScreen.memory.data() + row * y, pixels + static_cast<std::size_t>(rowBytes) * y, row);
  }
  return 0;
}

void SetUpHost() {
  kn::InitializeHost();
  pano::Host() =
      pano::HostServices{kn::GetMemory, kn::FreeMemory, kn::ReallocateMemory, kn::Flip16, kn::Flip32, kn::Flip32Many};
  pano::InstallDefaultSystem();
  pano::SetMediaEntry(kn::MediaEntry);
  pano::SetManagerEntry(kn::ManagerEntry);
  pano::WarpPresenter& presenter = pano::Presenter();
  presenter.visible = Visible;
  presenter.present = Present;
  presenter.outputMode = OutputMode;
  // A palette display's system palette: a 6 x 6 x 6 cube and 40 greys.
  std::uint32_t palette[256] = {};
  for (int i = 0; i < 216; ++i) {
    palette[i] = static_cast<std::uint32_t>((i / 36) * 51) << 16 | static_cast<std::uint32_t>((i / 6 % 6) * 51) << 8 |
                 static_cast<std::uint32_t>(i % 6 * 51);
  }
  for (int i = 0; i < 40; ++i) palette[216 + i] = static_cast<std::uint32_t>(i * 255 / 39) * 0x010101u;
  if (!pano::BuildInverseColorTable(palette)) throw std::runtime_error("no inverse colour table");
}

std::intptr_t OpenHostMovie(const std::string& path) {
  std::intptr_t reference = 0, movie = 0;
  if (kn::OpenMovieFile(path.c_str(), &reference) != 0 || kn::NewMovieFromFile(&movie, reference) != 0) {
    throw std::runtime_error("cannot open " + path);
  }
  kn::CloseMovieFile(reference);
  return movie;
}

// The straightforward warp: for every pixel of the view, its direction by
// floating point, the cylinder's angle and height, the nearest source pixel.
void NaiveWarp(const WarpEngine& e, std::uint8_t* frame, std::uint32_t rowBytes) {
  const pano::TileCanvas& c = *e.canvas;
  const int w = e.width, h = e.height, pb = e.format == pano::kFormat24 ? 3 : 2;
  const double tanV = std::tan(e.halfFov), tanA = std::tan(e.halfHorizontalFov);
  const double cosT = std::cos(e.tilt), sinT = std::sin(e.tilt);
  const double linesPerRadian = e.circumference / pano::kTwoPi, tanH = std::tan(e.imageHalfAngle);
  const int ring = c.heldRows * c.linesPerTile, heldHeight = c.tilesPerHeldRow * c.tileWidth;
  const int firstHeld = c.firstHeldIndex * c.tileWidth;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double sx = ((x + 0.5) / w * 2 - 1) * tanA, sy = (1 - (y + 0.5) / h * 2) * tanV;
      const double up = sy * cosT + sinT, ahead = cosT - sy * sinT;
      const double angle = std::atan2(sx, ahead), elevation = up / std::hypot(sx, ahead);
      // The picture runs right to left: lines further on lie left of the centre.
      const int line = static_cast<int>(std::floor(e.pan - angle * linesPerRadian));
      const int row = static_cast<int>(e.projectedHeight / 2 * (1 - elevation / tanH)) - firstHeld;
      const std::uint8_t* source = c.pixels + static_cast<std::size_t>(c.lineBytes) * ((line % ring + ring) % ring) +
                                   static_cast<std::size_t>(pb) * std::clamp(row, 0, heldHeight - 1);
      std::memcpy(frame + static_cast<std::size_t>(rowBytes) * y + static_cast<std::size_t>(pb) * x, source,
                  static_cast<std::size_t>(pb));
    }
  }
}

struct References {
  Stats copy, naive;
};

References MeasureReferences(NodeView* view, const Depth& depth, int steps) {
  const int w = view->width, h = view->height;
  const std::size_t bytes = static_cast<std::size_t>(w) * h * depth.pixelBytes;
  std::vector<std::uint8_t> from(bytes, 1), to(bytes, 0);
  std::vector<double> copies;
  for (int i = 0; i < 400; ++i) {
    copies.push_back(TimeMs([&] { std::memcpy(to.data(), from.data(), bytes); }));
    from[static_cast<std::size_t>(i) % bytes] = to[bytes - 1];  // keeps the copies from being merged
  }
  std::vector<double> naive;
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(w * depth.pixelBytes);
  for (int k = 0; k < std::max(8, steps / 12); ++k) {
    pano::NodeViewSetPan(view, Degrees(360.0 * k / std::max(8, steps / 12)));
    std::uint32_t engineRowBytes = 0;
    pano::WarpRenderFrame(view->engine, &engineRowBytes);  // the tiles under the view
    naive.push_back(TimeMs([&] { NaiveWarp(*view->engine, to.data(), rowBytes); }));
  }
  return References{Summarise(copies), Summarise(naive)};
}

// Every held tile decoded once: cold (the compressed tile read from the file,
// which the system holds in its own cache) and warm (from the sample cache).
void MeasureTiles(NodeView* view, const char* size, const Depth& depth) {
  pano::TileCanvas* c = view->canvas;
  auto decodeAll = [&] {
    std::vector<double> times;
    for (int row = 0; row < c->heldRows; ++row) {
      for (int index = c->firstHeldIndex; index < c->firstHeldIndex + c->tilesPerHeldRow; ++index) {
        int done = 0;
        times.push_back(TimeMs([&] { done = pano::TileCanvasDecode(c, row, index); }));
        if (done != 1) throw std::runtime_error("a tile did not decode");
      }
    }
    return Summarise(times);
  };
  pano::TileCanvasReset(c);
  PrintRow(size, depth.name, "tile fetch+decode, cold cache", decodeAll(), nullptr, nullptr);
  for (int i = 0; i < pano::kMaxTiles; ++i) {
    c->decoded[i] = 0;
    c->slotMap[i] = -1;
  }
  PrintRow(size, depth.name, "tile decode, warm cache", decodeAll(), nullptr, nullptr);
}

void BenchView(std::intptr_t movie, const MovieShape& shape, int width, int height, const Depth& depth, bool quick) {
  char size[16];
  std::snprintf(size, sizeof size, "%dx%d", width, height);
  std::int32_t error = 0;
  NodeView* view = pano::NodeViewOpen(movie, depth.mode, depth.screenDepth, &error);
  if (view == nullptr) throw std::runtime_error("the node view did not open: " + std::to_string(error));
  gScreen.mode = depth.mode;
  gScreen.memory.assign(static_cast<std::size_t>(width) * height * 4, 0);
  pano::NodeViewSetDisplayRect(view, kn::KnRect{0, 0, width, height});
  pano::NodeViewSetWindow(view, 1, true);
  const int steps = quick ? 60 : 360;

  // The first frame of a node, every tile under the view read and decoded:
  // the movie's first node (its canvas and warp engine made too), then node
  // changes, each to a node whose tiles the cache does not hold.
  auto goTo = [&](int node) {
    return TimeMs([&] {
      std::int32_t pan = Degrees(90), tilt = 0, zoom = Degrees(65);
      if (pano::NodeViewGoToNode(view, node, &pan, &tilt, &zoom) != pano::kOk) throw std::runtime_error("go to node");
      pano::WarpUpdate(view->engine);
    });
  };
  const Stats first = Summarise({goTo(1)});
  std::vector<double> cold;
  for (int k = 1; k <= 2 * shape.nodes - 1; ++k) cold.push_back(goTo(1 + k % shape.nodes));
  const References refs = MeasureReferences(view, depth, steps);
  PrintRow(size, depth.name, "reference: memcpy of a frame", refs.copy, &refs.copy, &refs.naive);
  PrintRow(size, depth.name, "reference: naive float warp", refs.naive, &refs.copy, &refs.naive);
  PrintRow(size, depth.name, "first frame of the first node", first, nullptr, nullptr);
  PrintRow(size, depth.name, "first frame of a cold node", Summarise(cold), nullptr, nullptr);
  MeasureTiles(view, size, depth);

  WarpEngine* e = view->engine;
  // The warp passes alone: each view drawn once to bring its tiles in, then timed.
  auto warpPan = [&](const char* name, std::uint32_t quality, double tilt) {
    pano::NodeViewSetZoom(view, Degrees(65));
    pano::NodeViewSetTilt(view, Degrees(tilt));
    std::vector<double> times;
    for (int k = 0; k < steps; ++k) {
      pano::NodeViewSetPan(view, Degrees(360.0 * k / steps));
      pano::WarpSetQuality(e, quality);
      std::uint32_t rowBytes = 0;
      pano::WarpRenderFrame(e, &rowBytes);
      times.push_back(TimeMs([&] { pano::WarpRenderFrame(e, &rowBytes); }));
    }
    PrintRow(size, depth.name, name, Summarise(times), &refs.copy, &refs.naive);
  };
  warpPan("warp: pan, quality 256", 256, 0);
  warpPan("warp: pan, quality 768", 768, 0);
  warpPan("warp: pan tilted 10, q 768", 768, 10);
  {
    std::vector<double> times;
    pano::NodeViewSetTilt(view, 0);
    for (int k = 0; k <= 110; k += quick ? 5 : 1) {
      pano::NodeViewSetZoom(view, Degrees(k <= 55 ? 65 - k : k - 45));
      std::uint32_t rowBytes = 0;
      times.push_back(TimeMs([&] { pano::WarpRenderFrame(e, &rowBytes); }));
    }
    PrintRow(size, depth.name, "warp: zoom 65-10-65, q 768", Summarise(times), &refs.copy, &refs.naive);
  }

  // Whole frames as the controller draws them (set the view, redraw at the
  // quality, present), after one turn has brought every compressed tile in.
  pano::NodeViewSetTilt(view, 0);
  pano::NodeViewSetZoom(view, Degrees(65));
  for (int k = 0; k < 36; ++k) {
    pano::NodeViewSetPan(view, Degrees(10.0 * k));
    pano::NodeViewSetQuality(view, 256);
    pano::WarpUpdate(e);
  }
  auto controllerPan = [&](const char* name, std::uint32_t quality) {
    std::vector<double> times;
    for (int k = 0; k < steps; ++k) {
      times.push_back(TimeMs([&] {
        pano::NodeViewSetPan(view, Degrees(360.0 * k / steps));
        pano::NodeViewSetQuality(view, quality);
        pano::WarpUpdate(e);
      }));
    }
    PrintRow(size, depth.name, name, Summarise(times), &refs.copy, &refs.naive);
  };
  controllerPan("controller: pan, quality 256", 256);
  controllerPan("controller: pan, quality 768", 768);
  {
    std::vector<double> times;
    for (int k = 0; k < steps; ++k) {
      times.push_back(TimeMs([&] { pano::NodeViewRelativeMove(view, 256, 16384, 0); }));  // about a degree a frame
    }
    PrintRow(size, depth.name, "controller: drag, quality 256", Summarise(times), &refs.copy, &refs.naive);
  }
  {
    std::vector<double> times;
    for (int k = 0; k < 110; k += quick ? 5 : 1) {
      const std::int32_t delta = (k < 55 ? -1 : 1) * (quick ? 5 : 1) * 65536 / 6;  // a degree of zoom a frame
      times.push_back(TimeMs([&] { pano::NodeViewRelativeZoom(view, 256, delta); }));
    }
    PrintRow(size, depth.name, "controller: zoom in+out, q 256", Summarise(times), &refs.copy, &refs.naive);
  }
  pano::NodeViewClose(view);
}

void PrintMachine() {
  std::ifstream load("/proc/loadavg");
  std::string average;
  if (std::getline(load, average)) std::printf("load average: %s\n", average.c_str());
}

}  // namespace

int RunInProcess(const std::filesystem::path& directory, bool quick, const Filter& filter) {
  SetUpHost();
  PrintMachine();
  for (const MovieShape& shape : BenchMovies()) {
    if (!filter.Takes(shape)) continue;
    const std::string path = WriteBenchMovie(directory, shape);
    const std::intptr_t movie = OpenHostMovie(path);
    std::printf("\n%s, %d nodes\n", shape.title, shape.nodes);
    PrintHeader();
    for (const auto& [width, height] : {std::pair{320, 240}, std::pair{640, 480}}) {
      if (!filter.Takes(width, height)) continue;
      for (const Depth& depth : kDepths) BenchView(movie, shape, width, height, depth, quick);
    }
    kn::DisposeMovie(movie);
  }
  kn::TerminateHost();
  return 0;
}

}  // namespace panobench
