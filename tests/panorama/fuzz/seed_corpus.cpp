// Writes the movie fuzzer's seeds: small panoramas built by the content
// builder, each after the [VR] values of KNW.INI that the fuzzer's input
// starts with (Resolution, MaxCacheRows), and a few of those values by hand.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "common/byte_writer.h"
#include "panorama/panorama_movie.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  namespace bp = builder::panorama;
  std::filesystem::create_directories(argv[1]);
  for (int variant = 0; variant < 3; ++variant) {
    bp::PanoramaMovie movie;
    movie.viewWidth = 32;
    movie.viewHeight = 24;
    movie.pictureWidth = 64;
    movie.pictureHeight = 32;
    movie.tileWidth = 16;
    movie.linesPerTile = 16;
    movie.hotSpotTrack = variant == 1;
    for (int n = 0; n <= variant; ++n) {
      bp::Node node;
      node.id = n + 1;
      node.name = "n";
      node.picture = [](int x, int y) {
        return bp::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
      };
      bp::HotSpot spot;
      spot.id = 1;
      spot.name = "s";
      node.hotSpots.push_back(spot);
      node.links.push_back(bp::Link{1, 1, 0, 0, 0});
      // A navigation hot spot whose picture points lie a quarter turn to
      // either side of the first view; the first seed's narrow view puts
      // them past what an int holds in the window.
      if (variant == 0) node.defaultZoom = bp::Degrees(20);
      bp::HotSpot navigation;
      navigation.id = 2;
      navigation.type = "navg";
      navigation.target = 3;
      node.hotSpots.push_back(navigation);
      bp::Navigation view;
      view.id = 3;
      view.rect[0] = 16;
      view.rect[1] = 16;
      view.rect[2] = 48;
      view.rect[3] = 16;
      node.navigation.push_back(view);
      movie.nodes.push_back(node);
    }
    const builder::Bytes file = bp::BuildPanoramaMovie(movie);
    // Resolution 0 and the default cache; resolution 7 (none so high: the
    // reader steps down) and a cache of one row; a negative resolution.
    const std::pair<std::int32_t, std::int32_t> settings[] = {{0, 0}, {7, 1}, {-3, 100000}};
    const auto& [resolution, cacheRows] = settings[variant];
    builder::ByteWriter seed;
    seed.U32le(static_cast<std::uint32_t>(resolution));
    seed.U32le(static_cast<std::uint32_t>(cacheRows));
    seed.Append(file);
    builder::WriteFileAtomically(builder::JoinPath(argv[1], "pano" + std::to_string(variant) + ".mov"), seed.bytes());
  }
  return 0;
}
