// Whole frames of the warp engine, pixel for pixel. Each frame is compared
// with a model written per pixel from the rendering rules (the column pass
// through the line roles A, B, D and E, then the row pass of a tilted view)
// and its bytes are pinned by a checksum, so that faster passes and loops
// must draw exactly what these drew. The model takes the engine's column,
// row and vertical tables as they are and recomputes everything after them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "node_view.h"
#include "pano_fixture.h"
#include "pano_types.h"
#include "warp_engine.h"
#include "warp_runs.h"

namespace panotest {
namespace {

using namespace pano;

constexpr double kDegree = kDegToRad;

// FNV-1a over the visible bytes of each row (padding and spare bytes left out).
std::uint64_t FrameChecksum(const std::uint8_t* frame, std::uint32_t rowBytes, int width, int height, int pixelBytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = frame + static_cast<std::size_t>(rowBytes) * y;
    for (int i = 0; i < width * pixelBytes; ++i) hash = (hash ^ row[i]) * 0x100000001b3ull;
  }
  return hash;
}

std::uint32_t Pixel(const std::uint8_t* line, std::uint32_t index, int pixelBytes) {
  const std::uint8_t* p = line + static_cast<std::size_t>(index) * pixelBytes;
  return pixelBytes == 2 ? static_cast<std::uint32_t>(p[0] | p[1] << 8)
                         : static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
}

void PutPixel(std::uint8_t* p, std::uint32_t value, int pixelBytes) {
  for (int k = 0; k < pixelBytes; ++k) p[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

std::uint32_t Rot16(std::uint32_t w) { return w >> 16 | w << 16; }

// The line roles for one destination pixel.
struct Roles {
  int pixelBytes;
  std::uint32_t mask;  // 16-bit formats

  std::uint32_t Word(const std::uint8_t* line, std::uint32_t i) const {
    return Pixel(line, i, 2) | Pixel(line, i + 1, 2) << 16;
  }
  std::uint32_t Pack(std::uint32_t c) const {
    return mask == kMask565 ? ((c >> 21) & 0x3F) << 5 | (c & 0xF81F) : ((c >> 21) & 0x1F) << 5 | (c & 0x7C1F);
  }
  std::uint32_t Nearest(const std::uint8_t* line, std::uint32_t position) const {
    return Pixel(line, position >> 10, pixelBytes);
  }
  std::uint32_t HalfPixel(const std::uint8_t* line, std::uint32_t position) const {  // A
    const std::uint32_t i = position >> 10;
    if ((position & 0x200) == 0) return Pixel(line, i, pixelBytes);
    if (pixelBytes == 3) {
      return (((Pixel(line, i, 3) & 0x00FEFEFF) + (Pixel(line, i + 1, 3) & 0x00FEFEFF)) >> 1) & 0xFFFFFF;
    }
    const std::uint32_t w = Word(line, i);
    const std::uint32_t s = (((w & mask) + (Rot16(w) & mask)) >> 1) & mask;
    return (s | s >> 16) & 0xFFFF;
  }
  std::uint32_t TwoLines(const std::uint8_t* a, const std::uint8_t* b, std::uint32_t position) const {  // D
    const std::uint32_t i = position >> 10;
    if (pixelBytes == 3) {
      auto pair = [](std::uint32_t p, std::uint32_t q) { return (p & 0x00FEFEFF) + (q & 0x00FEFEFF); };
      if ((position & 0x200) != 0) {
        return (((pair(Pixel(a, i, 3), Pixel(a, i + 1, 3)) & 0x01FDFDFF) +
                 (pair(Pixel(b, i, 3), Pixel(b, i + 1, 3)) & 0x01FDFDFF)) >>
                2) &
               0xFFFFFF;
      }
      return (pair(Pixel(a, i, 3), Pixel(b, i, 3)) >> 1) & 0xFFFFFF;
    }
    std::uint32_t c;
    if ((position & 0x200) != 0) {
      const std::uint32_t w1 = Word(a, i), w2 = Word(b, i);
      c = ((w1 & mask) + (Rot16(w1) & mask) + (w2 & mask) + (Rot16(w2) & mask)) >> 2;
    } else {
      const std::uint32_t u = Pixel(a, i, 2), v = Pixel(b, i, 2);
      c = (((u << 16 | v) & mask) + ((v << 16 | u) & mask)) >> 1;
    }
    return Pack(c) & 0xFFFF;
  }
};

int Mod(std::int64_t value, std::int64_t by) {
  const std::int64_t m = value % by;
  return static_cast<int>(m < 0 ? m + by : m);
}

// The frame the passes should draw, from the engine's tables and canvas.
// `clamped` counts the columns whose first pixel or step the column pass had
// to keep inside the canvas's held pixels.
std::vector<std::uint8_t> ModelFrame(const WarpEngine& e, int* clamped = nullptr) {
  const TileCanvas& c = *e.canvas;
  const int w = e.width, h = e.height;
  const int pb = e.format == kFormat24 ? 3 : 2;
  const Roles roles{pb, e.format == kFormat565 ? kMask565 : kMask555};
  const std::uint32_t rowBytes = e.columnRowBytes;
  std::vector<std::uint8_t> columns(static_cast<std::size_t>(rowBytes) * h + 16, 0);

  // Column pass.
  const int ring = c.heldRows * c.linesPerTile;
  const int total = c.tileRows * c.linesPerTile;
  std::int64_t left = static_cast<std::int64_t>(e.pan - e.halfViewWidth);
  left = Mod(left, total);
  const int base = Mod(left, ring);
  const std::uint32_t last = e.sourceColumn[w - 1] >> 10;
  const int heldHeight = c.tilesPerHeldRow * c.tileWidth;
  const std::int64_t heldLimit = std::int64_t{heldHeight - 1} * 1024;
  auto line = [&](int i, int back) {
    return c.pixels + static_cast<std::size_t>(c.lineBytes) *
                          Mod(std::int64_t{base} + last - (e.sourceColumn[i] >> 10) - back, ring);
  };
  auto start = [&](int i, std::uint32_t* step) {
    std::int64_t first = std::int64_t{e.verticalOrigin} - std::int64_t{e.verticalSlope} * e.scale[i] - e.verticalOffset;
    if (first >= std::int64_t{heldHeight} * 1024) first -= std::int64_t{heldHeight} * 1024;
    const std::int64_t unclamped = first;
    first = first < 0 ? 0 : first > heldLimit ? heldLimit : first;
    std::int64_t s = (std::int64_t{e.verticalStep} * e.scale[i]) >> 10;
    if (s < 0) s = 0;
    const std::int64_t wanted = s;
    if (h > 1 && first + s * (h - 1) > heldLimit) s = (heldLimit - first) / (h - 1);
    if (clamped != nullptr && (first != unclamped || s != wanted)) ++*clamped;
    *step = static_cast<std::uint32_t>(s);
    return static_cast<std::uint32_t>(first);
  };
  for (int x = 0; x < w; ++x) {
    // Below quality 512 columns go in pairs with the first column's position and step.
    const bool paired = e.quality < 512 && !((w & 1) != 0 && x == w - 1);
    const int owner = paired ? x & ~1 : x;
    std::uint32_t step = 0;
    const std::uint32_t first = start(owner, &step);
    const bool blend = e.quality > 512 && (e.sourceColumn[x] & 0x200) != 0 && c.depth > 15;
    for (int y = 0; y < h; ++y) {
      const std::uint32_t position = first + static_cast<std::uint32_t>(y) * step;
      std::uint32_t value;
      if (e.quality < 512) {
        value = roles.Nearest(line(x, 0), position);
      } else if (blend) {
        value = roles.TwoLines(line(x, 0), line(x, 1), position);
      } else {
        value = roles.HalfPixel(line(x, 0), position);
      }
      PutPixel(&columns[static_cast<std::size_t>(rowBytes) * y + static_cast<std::size_t>(pb) * x], value, pb);
    }
  }
  if (e.mode != 2 || e.tilt == 0) return columns;

  // Row pass.
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(e.correctedRowBytes) * h + 16, 0);
  const std::int64_t full = std::int64_t{h} * 1024;
  const std::int64_t slope = static_cast<std::int64_t>(e.rowSlope * 1024);
  for (int r = 0; r < h; ++r) {
    const std::int64_t entry = e.rowTable[r];
    if (e.tilt > 0 && entry >= full) break;
    const std::int64_t d = e.tilt > 0 ? entry : full - entry;
    std::int64_t inset = (d * slope) >> 10;
    inset = inset < 0 ? 0 : inset > std::int64_t{w} * 512 ? std::int64_t{w} * 512 : inset;
    const std::int64_t span = std::int64_t{w} * 1024 - 2 * inset;
    const std::uint32_t step = static_cast<std::uint32_t>(span / (w - 1) > 0 ? span / (w - 1) : 0);
    const int sourceRow = static_cast<int>(entry >> 10) < h ? static_cast<int>(entry >> 10) : h - 1;
    const std::uint8_t* source =
        columns.data() + static_cast<std::size_t>(rowBytes) * sourceRow + static_cast<std::size_t>(pb) * (inset >> 10);
    const bool blend = e.quality > 512 && (entry & 0x200) != 0 && c.depth > 15 && sourceRow + 1 < h;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t position = static_cast<std::uint32_t>(inset & 0x3FF) + static_cast<std::uint32_t>(x) * step;
      std::uint32_t value;
      if (e.quality < 512) {
        value = roles.Nearest(source, position);
      } else if (blend) {
        value = roles.TwoLines(source, source + rowBytes, position);
      } else {
        value = roles.HalfPixel(source, position);
      }
      PutPixel(&rows[static_cast<std::size_t>(e.correctedRowBytes) * r + static_cast<std::size_t>(pb) * x], value, pb);
    }
  }
  return rows;
}

// At every level of vector runs the processor has, and with the roles alone.
template <class Check>
void AtEveryRunLevel(Check check) {
  for (int level = kRunsNone; level <= RunLevelSupported(); ++level) {
    SetRunLevel(level);
    SCOPED_TRACE("vector run level " + std::to_string(level));
    check();
  }
  SetRunLevel(-1);
}

struct View {
  const char* name;
  std::uint32_t mode, quality;
  double zoomDegrees, tiltDegrees, pan;
  double imageBottomDegrees = -25;  // the picture's top is at 25 degrees
  bool atEdge = false;              // reaches the column clamps
};

// Level and tilted views, both qualities' loops, quality exactly 512, the
// flat and uncorrected modes, a view across the seam and a close one whose
// columns step less than a pixel. The last three look at the picture's top
// or bottom edge, held there by the tilt limits, where the column pass keeps
// each column's first pixel (looking up at a picture whose middle is above
// the horizon) or its step (looking down) inside the held pixels.
constexpr View kViews[] = {
    {"level", 2, 768, 40, 0, 1.0},
    {"seam", 2, 768, 50, 0, 0.05},
    {"up", 2, 768, 30, 6, 2.5},
    {"down-fast", 2, 256, 36, -7, 4.0},
    {"exact512", 2, 512, 44, 4, 5.5},
    {"flat", 0, 768, 40, 3, 3.0},
    {"cylinder", 1, 768, 40, -5, 1.7},
    {"close", 2, 768, 4, 2, 2.2},
    {"top-edge", 2, 768, 4, 30, 2.8, -20, true},
    {"bottom-edge", 2, 768, 4, -30, 3.3, -25, true},
    {"flat-bottom-fast", 0, 256, 4, -30, 3.9, -20, true},
};

class WarpFramesTest : public PanoHostTest {
 protected:
  // A canvas holding half of the panorama's eight tile rows (a ring of 256 of
  // its 512 lines), 128 pixels down a line, every pixel a different value.
  TileCanvas* MakeCanvas(int depth) {
    TileCanvas* canvas = TileCanvasCreate(64, 64, 4, 2, depth, nullptr);
    EXPECT_TRUE(TileCanvasSetGrid(canvas, 8, 2));
    std::uint32_t seed = 12345;
    for (int line = 0; line < 256; ++line) {
      for (int i = 0; i < canvas->lineBytes; ++i) {
        seed = seed * 1103515245u + 12345u;
        canvas->pixels[static_cast<std::size_t>(canvas->lineBytes) * line + i] = static_cast<std::uint8_t>(seed >> 16);
      }
    }
    return canvas;
  }

  void CheckPinnedFrames();
  void CheckMovieFrames();

  // Renders the view and checks it against the model; returns its checksum.
  std::uint64_t Render(TileCanvas* canvas, int format, int width, int height, const View& v) {
    WarpEngine e{};
    WarpInit(&e, width, height, format, 2);
    WarpAttachCanvas(&e, canvas);
    WarpSetImageLimits(&e, 0, kTwoPi, 25 * kDegree, v.imageBottomDegrees * kDegree);
    WarpSetMode(&e, v.mode);
    WarpSetZoom(&e, v.zoomDegrees * kDegree);
    WarpSetTilt(&e, v.tiltDegrees * kDegree);
    WarpSetPan(&e, v.pan);
    WarpSetQuality(&e, v.quality);
    std::uint32_t rowBytes = 0;
    const std::uint8_t* frame = WarpRenderFrame(&e, &rowBytes);
    EXPECT_NE(frame, nullptr);
    if (frame == nullptr) return 0;
    int clamped = 0;
    const std::vector<std::uint8_t> model = ModelFrame(e, &clamped);
    EXPECT_EQ(clamped > 0, v.atEdge) << v.name << " format " << format << ": " << clamped << " columns clamped";
    const int pb = format == kFormat24 ? 3 : 2;
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
      if (std::memcmp(frame + static_cast<std::size_t>(rowBytes) * y, &model[static_cast<std::size_t>(rowBytes) * y],
                      static_cast<std::size_t>(width) * pb) != 0) {
        ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << v.name << " format " << format << ": rows unlike the model";
    const std::uint64_t sum = FrameChecksum(frame, rowBytes, width, height, pb);
    WarpFree(&e);
    return sum;
  }
};

struct Pinned {
  int format, width, height;
  const char* view;
  std::uint64_t checksum;
};

// Checksums of the frames as the passes first drew them; the model agrees with
// every one, and three (24-bit "level", 5-6-5 "up", 5-5-5 "exact512" at 64 x 48)
// were also worked out apart from the engine, tables included. The three edge
// views were pinned when the clamps were added to the set, as the passes drew them.
constexpr Pinned kPinned[] = {
    {16, 64, 48, "level", 0xaf91395b18bcde0full},
    {16, 64, 48, "seam", 0xf9718d638a5399f7ull},
    {16, 64, 48, "up", 0x5f23651a8aa5435bull},
    {16, 64, 48, "down-fast", 0x55ec0019d7a3578dull},
    {16, 64, 48, "exact512", 0xde53c344e1804d5dull},
    {16, 64, 48, "flat", 0xf1d82f1164dfd412ull},
    {16, 64, 48, "cylinder", 0x0fae659cd8ea7a30ull},
    {16, 64, 48, "close", 0x951cb130fc9fa063ull},
    {16, 64, 48, "top-edge", 0xee0c662bdd9940c3ull},
    {16, 64, 48, "bottom-edge", 0x69641b7b74188ea0ull},
    {16, 64, 48, "flat-bottom-fast", 0xf65e70b44f087b51ull},
    {16, 61, 37, "level", 0x127be5e44dccbb2bull},
    {16, 61, 37, "seam", 0xe5222bde4637630dull},
    {16, 61, 37, "up", 0x486744447e1fccedull},
    {16, 61, 37, "down-fast", 0xf00102bc70ee9203ull},
    {16, 61, 37, "exact512", 0x583572901a1cd3aeull},
    {16, 61, 37, "flat", 0x2e1a98af7fb5578eull},
    {16, 61, 37, "cylinder", 0xe9b6960c17d68978ull},
    {16, 61, 37, "close", 0x3fb44be8d1bc64adull},
    {16, 61, 37, "top-edge", 0xef416b53aeeb6a84ull},
    {16, 61, 37, "bottom-edge", 0xe31e9f2df0a52745ull},
    {16, 61, 37, "flat-bottom-fast", 0xbe556c705392719dull},
    {17, 64, 48, "level", 0x610a25cf91010685ull},
    {17, 64, 48, "seam", 0x0c5c266ed5e9c99full},
    {17, 64, 48, "up", 0xe46c8ebda55507cdull},
    {17, 64, 48, "down-fast", 0x55ec0019d7a3578dull},
    {17, 64, 48, "exact512", 0x20090271b35e370dull},
    {17, 64, 48, "flat", 0x8a1e137d6d14f128ull},
    {17, 64, 48, "cylinder", 0xd2e67dcceea3fdd5ull},
    {17, 64, 48, "close", 0x59acdb78e7e0d128ull},
    {17, 64, 48, "top-edge", 0xe334c00ddaae405full},
    {17, 64, 48, "bottom-edge", 0xf54d04a0ffa80fb8ull},
    {17, 64, 48, "flat-bottom-fast", 0xf65e70b44f087b51ull},
    {17, 61, 37, "level", 0x2fb46d8157fb2c29ull},
    {17, 61, 37, "seam", 0xb65a3b8f427e1734ull},
    {17, 61, 37, "up", 0xc82531e650d152eeull},
    {17, 61, 37, "down-fast", 0xf00102bc70ee9203ull},
    {17, 61, 37, "exact512", 0x30b6960bf4eba55cull},
    {17, 61, 37, "flat", 0x8c792daa551fb914ull},
    {17, 61, 37, "cylinder", 0x1d30cdc530330855ull},
    {17, 61, 37, "close", 0xa5078b75ec4ff747ull},
    {17, 61, 37, "top-edge", 0x7e4630449f193903ull},
    {17, 61, 37, "bottom-edge", 0x63dbcaed69d5faa3ull},
    {17, 61, 37, "flat-bottom-fast", 0xbe556c705392719dull},
    {24, 64, 48, "level", 0x17ea2fc13085ccb2ull},
    {24, 64, 48, "seam", 0x8d15a2598f124d46ull},
    {24, 64, 48, "up", 0xa26072832bbe4069ull},
    {24, 64, 48, "down-fast", 0x0dcd4c0e0dfe11ebull},
    {24, 64, 48, "exact512", 0x46b4705bbfc4152cull},
    {24, 64, 48, "flat", 0xba61864f8dc6ea94ull},
    {24, 64, 48, "cylinder", 0x15d7ce55e62402e3ull},
    {24, 64, 48, "close", 0xcf9236aa6c29f03dull},
    {24, 64, 48, "top-edge", 0x391da8c37711c2b7ull},
    {24, 64, 48, "bottom-edge", 0xffbd0b2abba5b2beull},
    {24, 64, 48, "flat-bottom-fast", 0x1d088bff546d0ff5ull},
    {24, 61, 37, "level", 0x985b92283b8bf979ull},
    {24, 61, 37, "seam", 0x4c8baea7d617acb0ull},
    {24, 61, 37, "up", 0x70ac9328c7b95f86ull},
    {24, 61, 37, "down-fast", 0x85567a773183a69eull},
    {24, 61, 37, "exact512", 0xe3d7bfdc64f579c4ull},
    {24, 61, 37, "flat", 0x93d019ea1c0483ddull},
    {24, 61, 37, "cylinder", 0xc732034c598bb09bull},
    {24, 61, 37, "close", 0x7455316db743856eull},
    {24, 61, 37, "top-edge", 0xd16a7023ccf67644ull},
    {24, 61, 37, "bottom-edge", 0xf0e93f016fef1c70ull},
    {24, 61, 37, "flat-bottom-fast", 0x3a5af2587bd3cadbull},
};

TEST_F(WarpFramesTest, FramesMatchTheModelAndStayPinned) {
  AtEveryRunLevel([this] { CheckPinnedFrames(); });
}

void WarpFramesTest::CheckPinnedFrames() {
  std::string printed;
  int checked = 0;
  for (const int format : {int{kFormat565}, int{kFormat555}, int{kFormat24}}) {
    TileCanvas* canvas = MakeCanvas(format == kFormat24 ? 24 : 16);
    for (const auto& [width, height] : {std::pair{64, 48}, std::pair{61, 37}}) {
      for (const View& v : kViews) {
        const std::uint64_t sum = Render(canvas, format, width, height, v);
        char line[128];
        std::snprintf(line, sizeof line, "{%d, %d, %d, \"%s\", 0x%016llxull},\n", format, width, height, v.name,
                      static_cast<unsigned long long>(sum));
        printed += line;
        for (const Pinned& p : kPinned) {
          if (p.format == format && p.width == width && p.height == height && std::string(p.view) == v.name) {
            EXPECT_EQ(sum, p.checksum) << line;
            ++checked;
          }
        }
      }
    }
    TileCanvasFree(canvas);
  }
  EXPECT_EQ(checked, static_cast<int>(sizeof kPinned / sizeof kPinned[0])) << printed;
}

bp::Rgb MovieColour(int x, int y) {
  if ((y / 32) % 4 == 0) return bp::Rgb{static_cast<std::uint8_t>(x), 90, 200};  // runs along a line
  return bp::Rgb{static_cast<std::uint8_t>(x * 37 + y * 11), static_cast<std::uint8_t>((x ^ y) * 3),
                 static_cast<std::uint8_t>((x / 8 + y / 8) % 2 != 0 ? 200 : x * y)};
}

// A decoded pixel in the layout of an output mode, from the conversions of the colour tables.
std::uint32_t Converted(std::int32_t mode, const bp::Rgb& c) {
  switch (mode) {
    case kMode555: return static_cast<std::uint32_t>((c.r & 0xF8) << 7 | (c.g & 0xF8) << 2 | c.b >> 3);
    case kMode565: return static_cast<std::uint32_t>(c.r >> 3 << 11 | c.g >> 2 << 5 | c.b >> 3);
    case kModeRgb24: return static_cast<std::uint32_t>(c.r | c.g << 8 | c.b << 16);
    default: return static_cast<std::uint32_t>(c.b | c.g << 8 | c.r << 16);
  }
}

// The decoding path too: a built movie through the node view in each 16- and
// 24-bit output mode, panned across the seam so that tiles are decoded into
// the ring again; the canvas holds the picture's colours converted by hand.
TEST_F(WarpFramesTest, MovieFramesThroughTheNodeViewStayPinned) {
  AtEveryRunLevel([this] { CheckMovieFrames(); });
}

void WarpFramesTest::CheckMovieFrames() {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.pictureHeight = 256;  // four tiles down a line
  movie.nodes[0].picture = MovieColour;
  const std::intptr_t handle = OpenMovie(bp::BuildPanoramaMovie(movie));
  const std::uint64_t pinned[] = {0xe0d4c688a49aec55ull, 0x7ab5d24152696450ull, 0xcdcc4373a77635dbull,
                                  0x81f77fa449a26c8full};
  std::string printed;
  int m = 0;
  for (const std::int32_t mode : {kMode555, kMode565, kModeRgb24, kModeBgr24}) {
    std::int32_t error = 0;
    NodeView* view = NodeViewOpen(handle, mode, mode == kMode555 || mode == kMode565 ? 16 : 24, &error);
    ASSERT_NE(view, nullptr) << mode;
    std::int32_t pan = bp::Degrees(300), tilt = bp::Degrees(5), zoom = bp::Degrees(45);
    ASSERT_EQ(NodeViewGoToNode(view, 0, &pan, &tilt, &zoom), kOk);
    const int pb = mode == kMode555 || mode == kMode565 ? 2 : 3;
    std::uint64_t sum = 0;
    for (int step = 0; step < 16; ++step) {
      NodeViewSetPan(view, bp::Degrees(300 + 7.5 * step));
      NodeViewSetTilt(view, bp::Degrees(step % 2 == 0 ? 5 : -3));
      WarpSetQuality(view->engine, step % 3 == 0 ? 256 : 768);
      std::uint32_t rowBytes = 0;
      const std::uint8_t* frame = WarpRenderFrame(view->engine, &rowBytes);
      ASSERT_NE(frame, nullptr);
      const WarpEngine& e = *view->engine;
      const std::vector<std::uint8_t> model = ModelFrame(e);
      for (int y = 0; y < e.height; ++y) {
        ASSERT_EQ(std::memcmp(frame + static_cast<std::size_t>(rowBytes) * y,
                              &model[static_cast<std::size_t>(rowBytes) * y], static_cast<std::size_t>(e.width) * pb),
                  0)
            << "mode " << mode << " step " << step << " row " << y;
      }
      sum = sum * 31 + FrameChecksum(frame, rowBytes, e.width, e.height, pb);
    }
    // Every decoded tile in the canvas holds its piece of the picture.
    const TileCanvas& c = *view->canvas;
    int tiles = 0;
    for (int slot = 0; slot < c.heldRows * c.tilesPerHeldRow; ++slot) {
      const int tile = c.slotMap[slot];
      if (tile < 0 || c.decoded[tile] == 0) continue;
      ++tiles;
      const int row = tile / c.tilesPerRow, index = tile % c.tilesPerRow;
      for (int j = 0; j < c.linesPerTile; ++j) {
        const std::uint8_t* line =
            c.pixels + static_cast<std::size_t>(c.lineBytes) * ((slot / c.tilesPerHeldRow) * c.linesPerTile + j);
        for (int i = 0; i < c.tileWidth; ++i) {
          const int y = index * c.tileWidth + i;
          ASSERT_EQ(Pixel(line, static_cast<std::uint32_t>(y), pb),
                    Converted(mode, MovieColour(row * c.linesPerTile + j, y)))
              << "mode " << mode << " tile " << tile;
        }
      }
    }
    EXPECT_GT(tiles, 4);
    char line[64];
    std::snprintf(line, sizeof line, "0x%016llxull, ", static_cast<unsigned long long>(sum));
    printed += line;
    EXPECT_EQ(sum, pinned[m]) << "mode " << mode << "; all: " << printed;
    ++m;
    NodeViewClose(view);
  }
}

}  // namespace
}  // namespace panotest
