#include "gallery/earth_gallery.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "gallery/earth_regions.h"
#include "gallery/globe.h"
#include "gallery/palette_picture.h"
#include "panorama/panorama_movie.h"
#include "reader/wave_file.h"

namespace builder::gallery {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr std::int32_t kDayNode = 1, kNightNode = 2;

// Article titles of the items. The day map's comes first in title order, so
// that the gallery opens on it.
const char* const kDayMap = "Atlas: the Earth by Day";
const char* const kNightMap = "Atlas: the Earth by Night";
const char* const kSun = "Sun, Picture of the";
const char* const kPanorama = "Earth Around You, The (VR)";
const char* const kGlobe = "Globe to Turn, A (VR)";
const char* const kTurning = "Earth Turning, The (movie)";
const char* const kTold = "Day on the Earth, A (sound)";
const char* const kNarration = "Day on the Earth, narration";

std::string RegionArticle(const EarthRegion& region) { return "Map of " + region.name; }

void CheckMap(const RgbImage& map, const char* what) {
  if (map.width < 64 || map.height < 32 || map.width != 2 * map.height)
    throw std::runtime_error(std::string("gallery: the ") + what +
                             " must be an equirectangular map twice as wide as it is high");
}

panorama::Rgb PanoramaColour(Rgb c) { return {c.r, c.g, c.b}; }

// The map's regions over a picture of it: one key a pixel, top row first.
std::vector<std::uint8_t> RegionMask(const RgbImage& day, int width, int height, double west, double east, double south,
                                     double north) {
  if (east <= west) east += 360.0;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const double latitude = north - (y + 0.5) * (north - south) / height;
    for (int x = 0; x < width; ++x) {
      const double longitude = west + (x + 0.5) * (east - west) / width;
      mask[static_cast<std::size_t>(y) * width + x] =
          RegionAt(longitude, latitude, MapColour(day, longitude, latitude));
    }
  }
  return mask;
}

// Kind-4 hot spots (a key and a label each) of the regions a mask holds.
void AddRegionSpots(GalleryItemPlan& item, const std::vector<std::uint8_t>& mask) {
  item.regions.kind = 4;
  item.regions.mask = mask;
  for (const EarthRegion& region : EarthRegions()) {
    if (std::find(mask.begin(), mask.end(), region.key) == mask.end()) continue;
    HotSpotRecord spot;
    spot.key = static_cast<char>(region.key);
    spot.label = region.name;
    item.regions.spots.push_back(spot);
    item.hotSpotArticles.push_back(RegionArticle(region));
  }
}

// The picture of a region: the globe from above its pole, or its part of
// the map at the source's own scale at most.
RgbImage RegionPicture(const EarthRegion& region, const GallerySources& sources, const GallerySizes& sizes) {
  if (region.south == region.north) {
    GlobeView view;
    view.latitude = region.north;
    view.size = sizes.partHeight;
    view.lit = false;
    return DrawGlobe(sources.day, nullptr, view);
  }
  double east = region.east;
  if (east <= region.west) east += 360.0;
  const double across = east - region.west, down = region.north - region.south;
  const double sourceScale = sources.day.width / 360.0;
  const double scale = std::min({sizes.partWidth / across, sizes.partHeight / down, sourceScale});
  return MapPart(sources.day, region.west, east, region.south, region.north,
                 std::max(1, static_cast<int>(std::lround(across * scale))),
                 std::max(1, static_cast<int>(std::lround(down * scale))));
}

GalleryItemPlan PictureItem(const std::string& article, const std::string& title, std::uint8_t type,
                            const RgbImage& image, const std::string& caption, std::vector<std::string> linked,
                            std::vector<std::string> filters, GalleryFigures* figures) {
  GalleryItemPlan item;
  item.article = article;
  item.title = title;
  item.type = type;
  item.picture = PalettePicture(image, type, caption);
  item.linked = std::move(linked);
  item.filters = std::move(filters);
  ++figures->pictures;
  figures->pictureBytes += static_cast<std::uint64_t>(image.width) * image.height;
  return item;
}

GalleryItemPlan FileItem(const std::string& article, const std::string& title, std::uint8_t type,
                         const std::string& file, const std::string& text, std::vector<std::string> linked,
                         std::vector<std::string> filters) {
  GalleryItemPlan item;
  item.article = article;
  item.title = title;
  item.type = type;
  item.fileName = file;
  item.text = text;
  item.linked = std::move(linked);
  item.filters = std::move(filters);
  return item;
}

// The panorama: the map around the viewer as if seen from the Earth's centre,
// on a cylinder (a row's tangent of the latitude is linear in the row), with
// square pixels at the horizon. Line x looks toward longitude 180 - 360 x /
// width, so that the map reads east to the right as the viewer turns.
struct PanoramaGeometry {
  int width, height;
  double tiltTop;  // degrees
  double Longitude(int x) const { return 180.0 - (x + 0.5) * 360.0 / width; }
  double Latitude(int y) const {
    const double t = (1.0 - 2.0 * (y + 0.5) / height) * std::tan(tiltTop * kPi / 180.0);
    return std::atan(t) * 180.0 / kPi;
  }
};

Bytes BuildPanorama(const GallerySources& sources, const GallerySizes& sizes, GalleryFigures* figures) {
  constexpr int kLinesPerTile = 128, kTileWidth = 240;
  PanoramaGeometry g;
  g.width = sizes.panoramaWidth;
  // A height of about 0.45 of the width reaches some 55 degrees up and down.
  g.height = std::max(kTileWidth, static_cast<int>(std::lround(g.width * 0.45 / kTileWidth)) * kTileWidth);
  g.tiltTop = std::atan(g.height * kPi / g.width) * 180.0 / kPi;
  if (g.width % kLinesPerTile != 0) throw std::runtime_error("gallery: the panorama's width must be whole tiles");
  // The regions over the picture, and the middle of each (its pan and row).
  std::vector<std::uint8_t> regions(static_cast<std::size_t>(g.width) * g.height);
  struct Extent {
    double sinSum = 0, cosSum = 0;
    long long rows = 0, pixels = 0;
    int left, top, right, bottom;
  };
  std::vector<Extent> extents(256, Extent{0, 0, 0, 0, g.width, g.height, -1, -1});
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x) {
      const double longitude = g.Longitude(x), latitude = g.Latitude(y);
      const std::uint8_t key = RegionAt(longitude, latitude, MapColour(sources.day, longitude, latitude));
      regions[static_cast<std::size_t>(y) * g.width + x] = key;
      if (key == 0) continue;
      Extent& e = extents[key];
      const double angle = 2 * kPi * x / g.width;
      e.sinSum += std::sin(angle);
      e.cosSum += std::cos(angle);
      e.rows += y;
      ++e.pixels;
      e.left = std::min(e.left, x);
      e.right = std::max(e.right, x + 1);
      e.top = std::min(e.top, y);
      e.bottom = std::max(e.bottom, y + 1);
    }
  panorama::PanoramaMovie movie;
  movie.name = "The Earth around you";
  movie.viewWidth = sizes.panoramaViewWidth;
  movie.viewHeight = sizes.panoramaViewHeight;
  movie.pictureWidth = g.width;
  movie.pictureHeight = g.height;
  movie.tileWidth = kTileWidth;
  movie.linesPerTile = kLinesPerTile;
  movie.tiltTop = panorama::Degrees(g.tiltTop);
  movie.tiltBottom = panorama::Degrees(-g.tiltTop);
  movie.fieldOfViewMin = panorama::Degrees(12);
  movie.fieldOfViewMax = panorama::Degrees(90);
  movie.hotSpotTrack = true;
  for (const std::int32_t id : {kDayNode, kNightNode}) {
    const bool day = id == kDayNode;
    panorama::Node node;
    node.id = id;
    node.name = day ? "The Earth by day" : "The Earth by night";
    node.defaultPan = panorama::Degrees(165);  // Africa and Europe ahead (longitude 15)
    node.defaultZoom = panorama::Degrees(70);
    const RgbImage& map = day ? sources.day : sources.night;
    node.picture = [&map, g](int x, int y) { return PanoramaColour(MapColour(map, g.Longitude(x), g.Latitude(y))); };
    node.hotSpotPicture = [&regions, g](int x, int y) { return regions[static_cast<std::size_t>(y) * g.width + x]; };
    for (const EarthRegion& region : EarthRegions()) {
      const Extent& e = extents[region.key];
      if (e.pixels == 0) continue;
      double mean = std::atan2(e.sinSum, e.cosSum) / (2 * kPi) * 360.0;
      if (mean < 0) mean += 360.0;
      const double middleRow = static_cast<double>(e.rows) / e.pixels;
      const double tilt = g.Latitude(static_cast<int>(middleRow));
      panorama::HotSpot spot;
      spot.id = region.key;
      spot.type = "link";
      spot.target = region.key;
      spot.rect[0] = static_cast<std::int16_t>(e.left);
      spot.rect[1] = static_cast<std::int16_t>(e.top);
      spot.rect[2] = static_cast<std::int16_t>(e.right);
      spot.rect[3] = static_cast<std::int16_t>(e.bottom);
      spot.name = region.name + (day ? " by night" : " by day");
      node.hotSpots.push_back(spot);
      node.links.push_back({static_cast<std::int16_t>(region.key), day ? kNightNode : kDayNode, panorama::Degrees(mean),
                            panorama::Degrees(std::clamp(tilt, -30.0, 30.0)), 0});
      ++figures->panoramaHotSpots;
    }
    movie.nodes.push_back(std::move(node));
  }
  figures->panoramaNodes = static_cast<std::uint32_t>(movie.nodes.size());
  return panorama::BuildPanoramaMovie(movie);
}

// The globe to turn: columns around (longitude falling as the column grows,
// so that a drag to the right turns the globe to the right), rows from above
// the northern hemisphere (row 0) down to below the southern, lit from the
// viewer's upper left.
Bytes BuildGlobe(const GallerySources& sources, const GallerySizes& sizes, GalleryFigures* figures) {
  panorama::ObjectMovie movie;
  movie.frameWidth = movie.frameHeight = sizes.objectSize;
  movie.columns = static_cast<std::int16_t>(sizes.objectColumns);
  movie.rows = static_cast<std::int16_t>(sizes.objectRows);
  movie.tiltStart = panorama::Degrees(-30);
  movie.tiltEnd = panorama::Degrees(30);
  std::vector<RgbImage> frames;
  for (int row = 0; row < sizes.objectRows; ++row)
    for (int column = 0; column < sizes.objectColumns; ++column) {
      GlobeView view;
      view.longitude = 20.0 - column * 360.0 / sizes.objectColumns;
      view.latitude = sizes.objectRows > 1 ? 30.0 - row * 60.0 / (sizes.objectRows - 1) : 0.0;
      view.size = sizes.objectSize;
      view.sunLongitude = view.longitude - 35;
      view.sunLatitude = view.latitude + 25;
      frames.push_back(DrawGlobe(sources.day, nullptr, view));
    }
  movie.frame = [&frames](int frame, int x, int y) {
    const Rgb c = frames[static_cast<std::size_t>(frame)].At(x, y);
    return panorama::Rgb{c.r, c.g, c.b};
  };
  figures->objectFrames = static_cast<std::uint32_t>(frames.size());
  return panorama::BuildObjectMovie(movie);
}

// The Earth turning through a day, the Sun fixed: the day side sweeps
// across, the night side shows the cities' lights. A movie of frames for the
// standard controller: one image track without navigation.
Bytes BuildTurning(const GallerySources& sources, const GallerySizes& sizes, GalleryFigures* figures) {
  panorama::ObjectMovie movie;
  movie.frameWidth = movie.frameHeight = sizes.movieSize;
  movie.columns = static_cast<std::int16_t>(sizes.movieFrames);
  movie.rows = 1;
  movie.frameDuration = 75;  // eight frames a second at the time scale of 600
  movie.withNavigation = false;
  std::vector<RgbImage> frames;
  for (int k = 0; k < sizes.movieFrames; ++k) {
    GlobeView view;
    view.longitude = 60.0 - k * 360.0 / sizes.movieFrames;
    view.latitude = 15;
    view.size = sizes.movieSize;
    view.sunLongitude = 0;
    view.sunLatitude = 10;
    frames.push_back(DrawGlobe(sources.day, &sources.night, view));
  }
  movie.frame = [&frames](int frame, int x, int y) {
    const Rgb c = frames[static_cast<std::size_t>(frame)].At(x, y);
    return panorama::Rgb{c.r, c.g, c.b};
  };
  figures->movieFrames = static_cast<std::uint32_t>(frames.size());
  return panorama::BuildObjectMovie(movie);
}

// The sound item's picture: the globe half lit, over the narration's
// loudness drawn as a band, so that the item shows what its sound holds.
RgbImage ToldPicture(const GallerySources& sources, const Speech& narration, const GallerySizes& sizes) {
  const int globe = sizes.partHeight - 60, width = sizes.partWidth, height = sizes.partHeight;
  GlobeView view;
  view.longitude = 10;
  view.latitude = 15;
  view.size = globe;
  view.sunLongitude = 60;
  view.sunLatitude = 10;
  const RgbImage disc = DrawGlobe(sources.day, &sources.night, view);
  RgbImage out(width, height);
  const int left = (width - globe) / 2;
  for (int y = 0; y < globe; ++y)
    for (int x = 0; x < globe; ++x) out.Set(left + x, y, disc.At(x, y));
  // The loudness of each column's stretch of samples, as a bar up and down.
  const int band = height - globe, middle = globe + band / 2;
  const std::size_t count = narration.samples.size();
  for (int x = 8; x < width - 8; ++x) {
    const std::size_t from = count * static_cast<std::size_t>(x - 8) / static_cast<std::size_t>(width - 16);
    const std::size_t to = count * static_cast<std::size_t>(x - 7) / static_cast<std::size_t>(width - 16);
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += std::abs(static_cast<double>(narration.samples[i]));
    const double level = to > from ? sum / static_cast<double>(to - from) / 8000.0 : 0;
    const int reach = std::min(band / 2 - 4, static_cast<int>(level * (band / 2 - 4)) + 1);
    for (int y = middle - reach; y <= middle + reach; ++y) out.Set(x, y, {250, 200, 80});
  }
  return out;
}

}  // namespace

const std::string& NarrationText() {
  static const std::string text =
      "The Earth turns once a day, from west to east, so the Sun rises in the east and sets in the west. "
      "At any moment half of the globe lies in daylight. On the other half it is night, and the lights of "
      "the cities shine. The line between them, where the Sun is rising or setting, sweeps once around the "
      "world every twenty-four hours.";
  return text;
}

GalleryPlan BuildEarthGallery(const GallerySources& sources, const Speech& narration, const GallerySizes& sizes,
                              GalleryFigures* figures) {
  CheckMap(sources.day, "day map");
  CheckMap(sources.night, "night map");
  CheckMap(sources.sun, "Sun's map");
  if (narration.rate == 0 || narration.samples.empty()) throw std::runtime_error("gallery: the narration is silent");
  *figures = {};
  GalleryPlan plan;
  const std::vector<std::string> earth = {"Earth", "Globe"};

  // The two maps, with the regions as hot spots.
  const RgbImage day = Resized(sources.day, sizes.mapWidth, sizes.mapHeight);
  const RgbImage night = Resized(sources.night, sizes.mapWidth, sizes.mapHeight);
  const std::vector<std::uint8_t> mask = RegionMask(sources.day, sizes.mapWidth, sizes.mapHeight, -180, 180, -90, 90);
  GalleryItemPlan dayItem = PictureItem(
      kDayMap, "The Earth by day", 4, day,
      "The whole Earth by day, as a map: longitude across, latitude up and down. Point at a continent or an ocean "
      "to see its name; click it to see it closer.",
      earth, {"Pic.bit", "Map.bit", "Clkmap.bit"}, figures);
  AddRegionSpots(dayItem, mask);
  GalleryItemPlan nightItem = PictureItem(
      kNightMap, "The Earth by night", 4, night,
      "The Earth by night: the lights of its cities and roads. Click a continent or an ocean to see it by day.", earth,
      {"Pic.bit", "Map.bit", "Clkmap.bit"}, figures);
  AddRegionSpots(nightItem, mask);
  figures->hotSpots += static_cast<std::uint32_t>(dayItem.regions.spots.size() + nightItem.regions.spots.size());
  plan.items.push_back(std::move(dayItem));
  plan.items.push_back(std::move(nightItem));

  // A picture of each continent and ocean, leading to its dictionary entries.
  GalleryCategoryPlan continents{2, "Continents", {}}, oceans{2, "Oceans", {}};
  for (const EarthRegion& region : EarthRegions()) {
    plan.items.push_back(PictureItem(RegionArticle(region), region.name, 4, RegionPicture(region, sources, sizes),
                                     region.caption, region.entries, {"Pic.bit", "Map.bit"}, figures));
    (region.ocean ? oceans : continents).articles.push_back(RegionArticle(region));
  }

  // The Sun: its map on a sphere that shines itself, darker toward the rim.
  GlobeView sunView;
  sunView.size = sizes.sunSize;
  sunView.limbDarkening = true;
  plan.items.push_back(PictureItem(kSun, "The Sun", 1, DrawGlobe(sources.sun, nullptr, sunView),
                                   "The Sun, the star at the centre of the solar system. Its surface looks darker "
                                   "toward the rim, where we look through more of its outer gas.",
                                   {"Sun"}, {"Pic.bit"}, figures));

  // The movies.
  const Bytes panorama = BuildPanorama(sources, sizes, figures);
  const Bytes globe = BuildGlobe(sources, sizes, figures);
  const Bytes turning = BuildTurning(sources, sizes, figures);
  plan.files["PANORAMA.MOV"] = panorama;
  plan.files["OBJECT.MOV"] = globe;
  plan.files["TURNING.MOV"] = turning;
  plan.files["INTRO.MOV"] = turning;
  plan.items.push_back(FileItem(kPanorama, "The Earth around you", 10, "PANORAMA.MOV",
                                "The world map all around you, as seen from the Earth's centre. Drag to look around, "
                                "Shift and Ctrl zoom in and out; click a continent or an ocean to see it by night "
                                "(and back by day).",
                                earth, {"Knvr.bit"}));
  plan.items.push_back(FileItem(kGlobe, "A globe to turn", 10, "OBJECT.MOV",
                                "A globe: drag it to turn it around, or up and down to see it from above the north "
                                "or below the south.",
                                earth, {"Knvr.bit"}));
  plan.items.push_back(FileItem(kTurning, "The Earth turning", 6, "TURNING.MOV",
                                "One day of the Earth in six seconds: the Sun lights one half, the cities' lights "
                                "shine on the other.",
                                earth, {"Video.bit"}));

  // The narration: a hidden sound record, played by a picture of what it tells.
  plan.files["NARRATE.WAV"] = PcmWave(narration.samples, narration.rate);
  figures->soundMilliseconds = static_cast<std::uint32_t>(narration.samples.size() * 1000 / narration.rate);
  GalleryItemPlan record =
      FileItem(kNarration, "A day on the Earth (spoken)", 5, "NARRATE.WAV", NarrationText(), earth, {"Sound.bit"});
  record.listed = false;
  GalleryItemPlan told =
      PictureItem(kTold, "A day on the Earth, told", 1, ToldPicture(sources, narration, sizes),
                  "Play Sound to hear this read aloud (" + std::to_string(figures->soundMilliseconds / 1000) +
                      " seconds): \"" + NarrationText() + "\"",
                  earth, {"Pic.bit", "Sound.bit"}, figures);
  told.soundArticle = kNarration;
  plan.items.push_back(std::move(told));
  plan.items.push_back(std::move(record));

  for (const auto& [name, bytes] : plan.files)
    if (name != "INTRO.MOV") figures->movieBytes += bytes.size();
  for (const GalleryItemPlan& item : plan.items) figures->items += item.listed ? 1 : 0;

  plan.categories = {
      {1, "The Earth", {kDayMap, kNightMap, kPanorama, kGlobe, kTurning, kTold}},
      continents,
      oceans,
      {1, "The Sun", {kSun}},
      {1, "Movies, Sounds and VRs", {kPanorama, kGlobe, kTurning, kTold}},
  };
  plan.articleFilters["Earth"] = {"Pic.bit", "Map.bit", "Video.bit", "Sound.bit", "Knvr.bit"};
  plan.articleFilters["Sun"] = {"Pic.bit"};
  // Thumbnails in the Earth's and the Sun's entries; a movie's shows a
  // picture of its own (a poster item, kept out of the lists).
  const auto poster = [&](const std::string& article, const RgbImage& image) {
    GalleryItemPlan item = PictureItem(article + ", poster", "", 1, image, "", {}, {}, figures);
    --figures->pictures;
    item.listed = false;
    plan.items.push_back(std::move(item));
    return article + ", poster";
  };
  GlobeView posterView;
  posterView.longitude = 20;
  posterView.latitude = 20;
  posterView.size = 96;
  posterView.sunLongitude = -10;
  posterView.sunLatitude = 30;
  const std::string panoramaPoster = poster(kPanorama, MapPart(sources.day, -40, 80, -30, 60, 128, 96));
  const std::string globePoster = poster(kGlobe, DrawGlobe(sources.day, nullptr, posterView));
  posterView.sunLongitude = 60;
  const std::string turningPoster = poster(kTurning, DrawGlobe(sources.day, &sources.night, posterView));
  plan.articleBlocks["Earth"] = {
      "Above, from the gallery (double-click one to open it): the Earth by day and by night, the world around you, "
      "a globe to turn, the Earth turning through a day, and a day on the Earth told.",
      {{kDayMap, ""},
       {kNightMap, ""},
       {kPanorama, panoramaPoster},
       {kGlobe, globePoster},
       {kTurning, turningPoster},
       {kTold, ""}}};
  plan.articleBlocks["Sun"] = {"Above, from the gallery (double-click it to open it): the Sun.", {{kSun, ""}}};
  plan.backgroundShows = kDayMap;
  return plan;
}

}  // namespace builder::gallery
