// The panorama benchmark's shared parts: frame statistics, the result table,
// the movies it measures, and its two modes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace panobench {

struct Stats {
  int frames = 0;
  double fps = 0, median = 0, worst = 0;  // frames per second; milliseconds
};
// From per-frame times in milliseconds.
Stats Summarise(std::vector<double> millis);

void PrintHeader();
// One step's row, with its median against the two references when given.
void PrintRow(const char* size, const char* depth, const std::string& step, const Stats& stats,
              const Stats* memcpyReference, const Stats* naiveReference);

struct MovieShape {
  const char* file;
  const char* name;  // for --movie
  const char* title;
  int around, down;             // picture: lines around, pixels down a line
  int tileWidth, linesPerTile;  // pixels down a tile, lines around a tile
  int tiltDegrees;              // the picture spans +/- this
  int nodes;
};
std::vector<MovieShape> BenchMovies();
// Builds the movie (a 640 x 480 display rectangle) unless it is already there; its path.
std::string WriteBenchMovie(const std::filesystem::path& directory, const MovieShape& shape);

// What to measure: every movie and size unless named.
struct Filter {
  std::string movie, size;
  bool Takes(const MovieShape& shape) const { return movie.empty() || movie == shape.name; }
  bool Takes(int width, int height) const {
    return size.empty() || size == std::to_string(width) + "x" + std::to_string(height);
  }
};

// The portable components in this process over the stand-in host's core.
int RunInProcess(const std::filesystem::path& directory, bool quick, const Filter& filter);
// KNVRW32.DLL through KNIM32.DLL and KNCM32.DLL, drawing into a window (Windows builds).
int RunThroughPlugin(const std::filesystem::path& directory, bool quick, const Filter& filter);

}  // namespace panobench
