#include "seed_movies.h"

#include <cstdint>

#include "panorama/panorama_movie.h"

namespace panoseeds {

namespace bp = builder::panorama;

builder::Bytes SeedPanorama(int variant) {
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
    node.picture = [](int x, int y) { return bp::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9}; };
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
  return bp::BuildPanoramaMovie(movie);
}

builder::Bytes SeedObjectMovie() {
  bp::ObjectMovie object;
  object.columns = 12;
  object.rows = 3;
  object.loopCount = 4;
  object.loopSpeed = 10;
  object.frameWidth = 16;
  object.frameHeight = 8;
  object.frame = [](int frame, int, int) { return bp::Rgb{static_cast<std::uint8_t>(frame), 0, 0}; };
  return bp::BuildObjectMovie(object);
}

}  // namespace panoseeds
