// Writes the movie fuzzer's seeds: small panoramas built by the content builder.
#include <filesystem>
#include <string>

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
      movie.nodes.push_back(node);
    }
    builder::WriteFileAtomically(builder::JoinPath(argv[1], "pano" + std::to_string(variant) + ".mov"),
                                 bp::BuildPanoramaMovie(movie));
  }
  return 0;
}
