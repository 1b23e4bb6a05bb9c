// The library's gallery made from the installed xplanet-images (read with
// libjpeg-turbo) at small sizes: its pictures and their hot spots, the
// panorama read back and drawn by the plug-in's own node view, the globe's
// navigation read as the object controller reads it and its frames as the
// host's controller shows them, and the movie of frames.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "controller_math.h"
#include "gallery/earth_gallery.h"
#include "gallery/earth_regions.h"
#include "gallery/palette_picture.h"
#include "hand_bytes.h"
#include "images/jpeg_reader.h"
#include "images/speech.h"
#include "kn_components.h"
#include "kn_movie.h"
#include "library/dictd_file.h"
#include "library/library_gallery.h"
#include "library/library_set.h"
#include "node_view.h"
#include "pano_fixture.h"
#include "pano_types.h"
#include "reader/wave_file.h"
#include "temp_dir.h"

namespace {

namespace gal = builder::gallery;
using panotest::PanoHostTest;

gal::GallerySizes SmallSizes() {
  gal::GallerySizes s;
  s.mapWidth = 310;
  s.mapHeight = 155;
  s.partWidth = 150;
  s.partHeight = 80;
  s.panoramaWidth = 2048;
  s.panoramaViewWidth = 160;
  s.panoramaViewHeight = 120;
  s.objectSize = 48;
  s.objectColumns = 12;
  s.objectRows = 3;
  s.movieSize = 48;
  s.movieFrames = 8;
  s.sunSize = 64;
  return s;
}

// The gallery is made once for all the tests (the maps take a while to read).
struct Made {
  gal::GallerySources sources;
  builder::GalleryPlan plan;
  gal::GalleryFigures figures;
};
const Made& Gallery() {
  static const Made* made = [] {
    auto* m = new Made;
    m->sources = builder::library::ReadGallerySources(builder::library::XplanetDirectory(),
                                                      {builder::images::ReadJpeg, builder::images::Speak});
    const gal::Speech narration = builder::images::Speak(gal::NarrationText());
    m->plan = gal::BuildEarthGallery(m->sources, narration, SmallSizes(), &m->figures);
    return m;
  }();
  return *made;
}

const builder::GalleryItemPlan& Item(const std::string& title) {
  for (const builder::GalleryItemPlan& item : Gallery().plan.items)
    if (item.title == title) return item;
  ADD_FAILURE() << "no item " << title;
  return Gallery().plan.items.front();
}

double Brightness(gal::Rgb c) { return (c.r + c.g + c.b) / 3.0; }

TEST(GalleryPictures, MapsHaveTheRegionsAsHotSpotsLeadingToTheirItems) {
  const Made& g = Gallery();
  EXPECT_EQ(g.figures.items, 19u);
  const builder::GalleryItemPlan& day = Item("The Earth by day");
  ASSERT_TRUE(day.picture.has_value());
  EXPECT_EQ(day.picture->width, 310);
  EXPECT_EQ(day.picture->height, 155);
  EXPECT_EQ(day.picture->type, 4);  // a map
  ASSERT_EQ(day.regions.kind, 4);   // a mask byte a pixel, each spot a key and a label
  ASSERT_EQ(day.regions.mask.size(), 310u * 155u);
  // The mask's byte where a place lies is its region's key; the spot with
  // that key is labelled with its name and leads to the region's own item.
  const auto keyAt = [&](double longitude, double latitude) {
    const int x = static_cast<int>((longitude + 180) / 360 * 310), y = static_cast<int>((90 - latitude) / 180 * 155);
    return day.regions.mask[static_cast<std::size_t>(y) * 310 + x];
  };
  const auto spotOf = [&](std::uint8_t key) -> std::string {
    for (std::size_t i = 0; i < day.regions.spots.size(); ++i)
      if (static_cast<std::uint8_t>(day.regions.spots[i].key) == key)
        return day.regions.spots[i].label + " -> " + day.hotSpotArticles[i];
    return "none";
  };
  EXPECT_EQ(spotOf(keyAt(20, 5)), "Africa -> Map of Africa");  // the Congo
  EXPECT_EQ(spotOf(keyAt(100, 45)), "Asia -> Map of Asia");    // Mongolia
  EXPECT_EQ(spotOf(keyAt(135, -25)), "Australia and Oceania -> Map of Australia and Oceania");
  EXPECT_EQ(spotOf(keyAt(-100, 40)), "North America -> Map of North America");
  EXPECT_EQ(spotOf(keyAt(-60, -10)), "South America -> Map of South America");
  EXPECT_EQ(spotOf(keyAt(10, 50)), "Europe -> Map of Europe");
  EXPECT_EQ(spotOf(keyAt(-30, 30)), "Atlantic Ocean -> Map of Atlantic Ocean");
  EXPECT_EQ(spotOf(keyAt(-150, 0)), "Pacific Ocean -> Map of Pacific Ocean");
  EXPECT_EQ(spotOf(keyAt(75, -20)), "Indian Ocean -> Map of Indian Ocean");
  EXPECT_EQ(spotOf(keyAt(0, -80)), "Antarctica -> Map of Antarctica");
  EXPECT_EQ(day.regions.spots.size(), 12u);
  // Each region's item leads to its dictionary entries.
  EXPECT_EQ(Item("Africa").linked, (std::vector<std::string>{"African", "Continent"}));
  EXPECT_EQ(Item("Pacific Ocean").linked, (std::vector<std::string>{"Pacific", "Ocean"}));
  EXPECT_EQ(Item("The Sun").linked, (std::vector<std::string>{"Sun"}));
}

TEST(GalleryPictures, PaletteKeepsThePicturesColours) {
  const Made& g = Gallery();
  const builder::GalleryItemPlan& day = Item("The Earth by day");
  // Against the map shrunk to the picture's size: the 256 colours and their
  // diffusion stay close to it over every 5 x 5 block.
  const gal::RgbImage source = gal::Resized(g.sources.day, 310, 155);
  double worst = 0;
  for (int by = 0; by + 5 <= 155; by += 5)
    for (int bx = 0; bx + 5 <= 310; bx += 5) {
      double a[3] = {0, 0, 0}, b[3] = {0, 0, 0};
      for (int y = by; y < by + 5; ++y)
        for (int x = bx; x < bx + 5; ++x) {
          const gal::Rgb s = source.At(x, y), p = gal::PictureColour(*day.picture, x, y);
          a[0] += s.r, a[1] += s.g, a[2] += s.b;
          b[0] += p.r, b[1] += p.g, b[2] += p.b;
        }
      for (int k = 0; k < 3; ++k) worst = std::max(worst, std::fabs(a[k] - b[k]) / 25);
    }
  EXPECT_LT(worst, 12.0);
  // The Sun is no flat disc: brighter at its centre than at its rim, black around it.
  const builder::GalleryItemPlan& sun = Item("The Sun");
  const gal::Rgb centre = gal::PictureColour(*sun.picture, 32, 32), rim = gal::PictureColour(*sun.picture, 32, 6);
  EXPECT_GT(Brightness(centre), Brightness(rim) + 20);
  EXPECT_EQ(Brightness(gal::PictureColour(*sun.picture, 0, 0)), 0);
  // The sound item plays the hidden narration record, which the gallery does not list.
  const builder::GalleryItemPlan& told = Item("A day on the Earth, told");
  EXPECT_EQ(told.soundArticle, "Day on the Earth, narration");
  EXPECT_FALSE(Item("A day on the Earth (spoken)").listed);
  EXPECT_GT(g.figures.soundMilliseconds, 10000u);
}

class GalleryMovies : public PanoHostTest {
 protected:
  void SetUp() override {
    PanoHostTest::SetUp();
    kn::InitializeHost();
  }
  std::intptr_t Movie(const std::string& name) { return OpenMovie(Gallery().plan.files.at(name), name); }
  static gal::Rgb Pixel(const std::uint8_t* frame, std::uint32_t rowBytes, int x, int y) {
    const std::uint8_t* p = frame + rowBytes * static_cast<std::uint32_t>(y) + 3 * static_cast<std::uint32_t>(x);
    return {p[2], p[1], p[0]};
  }
  static double Mean(const std::uint8_t* frame, std::uint32_t rowBytes, int width, int height) {
    double sum = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) sum += Brightness(Pixel(frame, rowBytes, x, y));
    return sum / (width * height);
  }
};

TEST_F(GalleryMovies, PanoramaShowsTheMapAroundAndItsHotSpotsLeadToTheNight) {
  std::int32_t error = 0;
  pano::NodeView* view = pano::NodeViewOpen(Movie("PANORAMA.MOV"), pano::kModeDib, 32, &error);
  ASSERT_NE(view, nullptr) << error;
  // Turned toward longitude 15 (pan 165), level: the centre shows central
  // Africa as the map has it; west lies to the left.
  std::int32_t pan = builder::panorama::Degrees(165), tilt = 0, zoom = builder::panorama::Degrees(40);
  ASSERT_EQ(pano::NodeViewGoToNode(view, 1, &pan, &tilt, &zoom), pano::kOk);
  std::uint32_t rowBytes = 0;
  const std::uint8_t* frame = pano::WarpRenderFrame(view->engine, &rowBytes);
  ASSERT_NE(frame, nullptr);
  const int cx = view->width / 2, cy = view->height / 2;
  const gal::Rgb centre = Pixel(frame, rowBytes, cx, cy), map = gal::MapColour(Gallery().sources.day, 15, 0);
  EXPECT_NEAR(centre.g, map.g, 40);
  EXPECT_FALSE(gal::IsSeaColour(centre));
  std::int32_t leftLine = 0, centreLine = 0, row = 0;
  pano::NodeViewPointToSource(view, 4, cy, &leftLine, &row);
  pano::NodeViewPointToSource(view, cx, cy, &centreLine, &row);
  EXPECT_GT(leftLine, centreLine);  // a later line: a longitude further west
  const double mean = Mean(frame, rowBytes, view->width, view->height);
  EXPECT_GT(mean, 40);
  EXPECT_EQ(pano::NodeViewHotSpotAt(view, cx, cy), 1);  // Africa

  // Zoomed out the view takes in more lines around.
  std::int32_t wideLeft = 0;
  pano::NodeViewSetZoom(view, builder::panorama::Degrees(85));
  pano::NodeViewPointToSource(view, 4, cy, &wideLeft, &row);
  EXPECT_GT(wideLeft - centreLine, leftLine - centreLine);

  // Toward the Pacific (longitude -150) the centre is sea.
  pano::NodeViewSetPan(view, builder::panorama::Degrees(330));
  frame = pano::WarpRenderFrame(view->engine, &rowBytes);
  EXPECT_TRUE(gal::IsSeaColour(Pixel(frame, rowBytes, cx, cy)));

  // Africa's hot spot leads to the night node, which is dark but for lights.
  ASSERT_EQ(pano::NodeViewFollowLink(view, 1), pano::kOk);
  EXPECT_EQ(pano::NodeViewCurrentNodeId(view), 2);
  frame = pano::WarpRenderFrame(view->engine, &rowBytes);
  ASSERT_NE(frame, nullptr);
  EXPECT_LT(Mean(frame, rowBytes, view->width, view->height), 25);
  EXPECT_EQ(pano::NodeViewHotSpotAt(view, cx, cy), 1);  // and back by day from there
  char name[64] = "";
  pano::NodeViewNodeName(view, name, sizeof name);
  EXPECT_STREQ(name, "The Earth by night");
  pano::NodeViewClose(view);
}

TEST_F(GalleryMovies, GlobeTurnsThroughItsColumnsAndTipsThroughItsRows) {
  const std::intptr_t movie = Movie("OBJECT.MOV");
  ASSERT_NE(movie, 0);
  // The navigation as the object controller reads it, from the user data.
  const kn::Movie* m = kn::AsMovie(movie);
  ASSERT_EQ(m->controllerSubtype, kn::Tag("stna"));
  const std::vector<std::uint8_t>& navg = m->userData.at(kn::Tag("NAVG")).at(0);
  pano::ObjectNavigation navigation{};
  pano::ReadObjectNavigation(navg.data(), static_cast<std::int32_t>(navg.size()), &navigation);
  EXPECT_EQ(navigation.columns, 12);
  EXPECT_EQ(navigation.rows, 3);
  // Each view's frame, as the host's controller shows it at the view's time:
  // the disc's centre is the map's colour there (land or sea).
  const auto centreOf = [&](int column, int row) {
    const std::int32_t time = pano::ObjectFrameTime(navigation, column, row, 0);
    kn::DecodedFrame frame;
    EXPECT_TRUE(kn::DecodeFrame(m->path, m->frames, kn::FrameAt(m->frames, time, m->duration), &frame));
    const std::uint8_t* p = &frame.pixels[static_cast<std::size_t>(24) * frame.rowBytes + 24 * 3];
    return gal::Rgb{p[2], p[1], p[0]};
  };
  EXPECT_FALSE(gal::IsSeaColour(centreOf(0, 1)));  // longitude 20 at the equator: Africa
  EXPECT_TRUE(gal::IsSeaColour(centreOf(6, 1)));   // longitude -160: the Pacific
  // Row 0 looks from above latitude 30, row 2 from below -30; at longitude 20
  // that is the Sahara and the South Atlantic off Namibia.
  EXPECT_FALSE(gal::IsSeaColour(centreOf(0, 0)));
  EXPECT_NE(centreOf(0, 0), centreOf(0, 2));
  EXPECT_EQ(static_cast<int>(m->frames.offsets.size()), 36);
}

TEST_F(GalleryMovies, TheTurningMoviePlaysItsFramesInTheHostsController) {
  kn::Movie* movie = kn::AsMovie(Movie("TURNING.MOV"));
  ASSERT_NE(movie, nullptr);
  EXPECT_EQ(movie->controllerSubtype, 0u);  // the host's own controller
  ASSERT_EQ(movie->frames.offsets.size(), 8u);
  EXPECT_EQ(movie->duration, 8 * 75);
  kn::KnRect box{0, 0, 48, 48};
  const std::intptr_t args[4] = {reinterpret_cast<std::intptr_t>(movie), reinterpret_cast<std::intptr_t>(&box), 3, 0};
  const std::intptr_t controller = kn::MediaEntry(kn::kKnNewMovieController, args, 4);
  ASSERT_NE(controller, 0);
  const std::intptr_t storage[1] = {controller};
  auto* record =
      reinterpret_cast<kn::StandardController*>(kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, storage, 1));
  ASSERT_NE(record, nullptr);
  std::vector<std::uint8_t> first = kn::CurrentFrame(*record)->pixels;
  kn::PlayOrStop(*record, true);
  kn::AdvanceStandardController(*record, 500);  // four frames on at eight a second
  const kn::DecodedFrame* later = kn::CurrentFrame(*record);
  ASSERT_NE(later, nullptr);
  EXPECT_EQ(record->pictureIndex, 4);
  EXPECT_NE(later->pixels, first);  // the globe has turned
  kn::CloseComponent(controller);
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A slice of the library with its gallery: the media store holds the
// gallery's items and the background picture, and nothing of the sample's;
// the Earth's entry holds the items' media blocks; the background shows the
// day map; the movies are the gallery's.
TEST(GalleryInTheLibrary, TheSliceHoldsTheGalleryInPlaceOfTheSamples) {
  TempDir dir;
  builder::library::LibraryOptions options;
  options.dictdDirectory = builder::library::DictdDirectory();
  options.prefixes = {"earth", "sun", "afric"};
  options.readers = {builder::images::ReadJpeg, builder::images::Speak};
  options.gallerySizes = SmallSizes();
  const builder::library::LibraryFigures figures = builder::library::WriteLibrarySet(dir.path(), options);
  EXPECT_TRUE(figures.hasGallery);
  EXPECT_EQ(figures.gallery.items, 19u);
  const std::vector<std::uint8_t> mmx = ReadAll(dir.File("MAROVA.MMX"));
  ASSERT_GE(mmx.size(), 4u);
  // The gallery's 20 items, 3 posters of its movies (pictures the Earth's
  // thumbnails show) and the background, and the timeline's pictures (out of
  // the gallery's lists).
  EXPECT_EQ(mmx[0] | mmx[1] << 8, 24 + static_cast<int>(figures.timelinePictures));
  EXPECT_EQ(figures.timelinePictures, 45u);
  EXPECT_EQ(mmx[2] | mmx[3] << 8, 5 + 2);  // its five categories and the two hidden ones
  const std::vector<std::uint8_t> back = ReadAll(dir.File("Back.bin"));
  ASSERT_EQ(back.size(), 6u);
  EXPECT_EQ(back[2] | back[3] << 8, 2);  // the background is item 2, after the two maps
  EXPECT_EQ(back[4] | back[5] << 8, 0);  // and shows the day map
  EXPECT_FALSE(std::filesystem::exists(dir.File("ERUPTION.MOV")));
  EXPECT_EQ(ReadAll(dir.File("PANORAMA.MOV")), Gallery().plan.files.at("PANORAMA.MOV"));
  EXPECT_EQ(ReadAll(dir.File("INTRO.MOV")), ReadAll(dir.File("TURNING.MOV")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("NARRATE.WAV")));
}

TEST(GallerySound, SpeechIsWrittenAsSixteenBitWave) {
  // RIFF, the 16-byte format chunk (PCM, mono, rate, bytes a second, block
  // align 2, 16 bits), then the data chunk of little-endian samples.
  handbytes::HandFile hand;
  hand.Text(0, "RIFF");
  hand.Le32(4, 36 + 4);
  hand.Text(8, "WAVEfmt ");
  hand.Le32(16, 16);
  hand.Le16(20, 1);
  hand.Le16(22, 1);
  hand.Le32(24, 22050);
  hand.Le32(28, 44100);
  hand.Le16(32, 2);
  hand.Le16(34, 16);
  hand.Text(36, "data");
  hand.Le32(40, 4);
  hand.Le16(44, 0x0102);
  hand.Le16(46, 0xFFFE);  // -2
  EXPECT_EQ(builder::PcmWave({0x0102, -2}, 22050), hand.bytes());
}

}  // namespace
