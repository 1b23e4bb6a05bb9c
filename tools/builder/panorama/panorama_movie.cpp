#include "panorama/panorama_movie.h"

#include <stdexcept>

#include "content/sample_content.h"

namespace builder::panorama {
namespace {

constexpr std::int32_t kTimeScale = 600;
constexpr std::int32_t kPanoramaTrackId = 1, kHotSpotTrackId = 3;

Bytes Atom(const char* type, const Bytes& contents) {
  ByteWriter w;
  w.U32be(static_cast<std::uint32_t>(contents.size() + 8));
  w.Append(std::string_view(type, 4));
  w.Append(contents);
  return w.take();
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void Tag(ByteWriter& w, const std::string& tag) {
  std::string t = tag;
  t.resize(4, ' ');
  w.Append(std::string_view(t.data(), 4));
}

void Pascal(ByteWriter& w, const std::string& text, std::size_t field) {
  const std::size_t n = text.size() < field - 1 ? text.size() : field - 1;
  w.U8(static_cast<std::uint32_t>(n));
  w.Append(std::string_view(text.data(), n));
  w.Zeros(field - 1 - n);
}

Bytes MovieHeader(std::int32_t duration) {
  ByteWriter w;
  w.U32be(0);  // version and flags
  w.U32be(0);
  w.U32be(0);
  w.U32be(kTimeScale);
  w.U32be(static_cast<std::uint32_t>(duration));
  w.U32be(0x10000);  // rate
  w.U16be(0x100);    // volume
  w.PadTo(100);
  return Atom("mvhd", w.take());
}

Bytes TrackHeader(std::int32_t id, std::int32_t duration, int width, int height, bool enabled) {
  // The readers take a track's box side to be 0 to 32767 pixels.
  if (width < 0 || height < 0 || width > 32767 || height > 32767) {
    throw std::runtime_error("movie: a track's width and height must be 0 to 32767 pixels");
  }
  ByteWriter w;
  w.U32be(enabled ? 3 : 1);  // flags: 1 enabled, 2 in the movie
  w.U32be(0);
  w.U32be(0);
  w.U32be(static_cast<std::uint32_t>(id));  // +20
  w.U32be(0);
  w.U32be(static_cast<std::uint32_t>(duration));
  w.Zeros(8);
  w.U16be(0);  // +40 layer
  w.U16be(0);  // +42 alternate group
  w.U16be(0);
  w.U16be(0);
  // Identity matrix.
  const std::uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
  for (std::uint32_t m : matrix) w.U32be(m);
  w.U32be(static_cast<std::uint32_t>(width) << 16);   // +84
  w.U32be(static_cast<std::uint32_t>(height) << 16);  // +88
  return Atom("tkhd", w.take());
}

Bytes MediaHeader(std::int32_t duration) {
  ByteWriter w;
  w.U32be(0);
  w.U32be(0);
  w.U32be(0);
  w.U32be(kTimeScale);  // +20
  w.U32be(static_cast<std::uint32_t>(duration));
  w.U16be(0);  // +28 language
  w.U16be(0);  // +30 quality
  return Atom("mdhd", w.take());
}

Bytes Handler(const char* subtype) {
  ByteWriter w;
  w.U32be(0);
  Tag(w, "mhlr");   // +12
  Tag(w, subtype);  // +16
  Tag(w, "knra");
  w.U32be(0);
  w.U32be(0);
  Pascal(w, subtype, 8);
  return Atom("hdlr", w.take());
}

// Sample tables: one sample per chunk, each chunk at its own offset.
Bytes SampleTables(const Bytes& descriptions, std::int32_t descriptionCount, const std::vector<std::uint32_t>& offsets,
                   const std::vector<std::uint32_t>& sizes) {
  ByteWriter stsd;
  stsd.U32be(0);
  stsd.U32be(static_cast<std::uint32_t>(descriptionCount));
  stsd.Append(descriptions);
  ByteWriter stsc;
  stsc.U32be(0);
  stsc.U32be(1);
  stsc.U32be(1);  // first chunk
  stsc.U32be(1);  // samples per chunk
  stsc.U32be(1);  // description
  ByteWriter stco;
  stco.U32be(0);
  stco.U32be(static_cast<std::uint32_t>(offsets.size()));
  for (std::uint32_t o : offsets) stco.U32be(o);
  ByteWriter stsz;
  stsz.U32be(0);
  stsz.U32be(0);  // sizes in the table
  stsz.U32be(static_cast<std::uint32_t>(sizes.size()));
  for (std::uint32_t s : sizes) stsz.U32be(s);
  return Atom("stbl", Concat({Atom("stsd", stsd.take()), Atom("stsc", stsc.take()), Atom("stco", stco.take()),
                              Atom("stsz", stsz.take())}));
}

Bytes ImageDescription(int width, int height, int depth, const std::string& name) {
  ByteWriter w;
  w.U32be(86);
  Tag(w, "knrl");
  w.Zeros(6);
  w.U16be(1);  // data reference
  w.U16be(0);  // version
  w.U16be(0);  // revision
  Tag(w, "knra");
  w.U32be(0);                                   // temporal quality
  w.U32be(0);                                   // spatial quality
  w.U16be(static_cast<std::uint32_t>(width));   // +32
  w.U16be(static_cast<std::uint32_t>(height));  // +34
  w.U32be(72 << 16);                            // +36
  w.U32be(72 << 16);                            // +40
  w.U32be(0);                                   // data size
  w.U16be(1);                                   // frames per sample
  Pascal(w, name, 32);                          // +50
  w.U16be(static_cast<std::uint32_t>(depth));   // +82
  w.U16be(0xFFFF);                              // +84 colour table: the depth's own
  return w.take();
}

struct Samples {
  Bytes data;  // the "mdat" contents
  std::vector<std::uint32_t> offsets, sizes;
  void Add(const Bytes& sample, std::vector<std::uint32_t>* o, std::vector<std::uint32_t>* s) {
    o->push_back(static_cast<std::uint32_t>(8 + data.size()));
    s->push_back(static_cast<std::uint32_t>(sample.size()));
    data.insert(data.end(), sample.begin(), sample.end());
  }
};

Bytes ImageTrack(std::int32_t id, int pictureWidth, int pictureHeight, int tileWidth, int linesPerTile, int depth,
                 const std::vector<std::uint32_t>& offsets, const std::vector<std::uint32_t>& sizes, bool enabled) {
  const std::int32_t duration = static_cast<std::int32_t>(offsets.size()) * 60;
  const Bytes minf =
      Atom("minf", SampleTables(ImageDescription(tileWidth, linesPerTile, depth, "tiles"), 1, offsets, sizes));
  return Atom("trak", Concat({TrackHeader(id, duration, pictureWidth, pictureHeight, enabled),
                              Atom("mdia", Concat({MediaHeader(duration), Handler("vide"), minf}))}));
}

Bytes PanoDescription(const PanoramaMovie& m) {
  ByteWriter w;
  w.U32be(152);
  Tag(w, "pano");
  w.Zeros(6);
  w.U16be(1);
  w.U16be(0);
  w.U16be(0);
  for (std::size_t i = 0; i < 8; ++i) {  // +20 image tracks by resolution
    w.U32be(i < m.resolutionTracks.size() ? static_cast<std::uint32_t>(m.resolutionTracks[i]) : 0);
  }
  w.U32be(m.hotSpotTrack ? kHotSpotTrackId : 0);                         // +52
  w.Zeros(28);                                                           // +56
  w.U32be(0);                                                            // +84
  w.Zeros(4);                                                            // +88
  w.U32be(static_cast<std::uint32_t>(m.panStart));                       // +92
  w.U32be(static_cast<std::uint32_t>(m.panEnd));                         // +96
  w.U32be(static_cast<std::uint32_t>(m.tiltTop));                        // +100
  w.U32be(static_cast<std::uint32_t>(m.tiltBottom));                     // +104
  w.U32be(static_cast<std::uint32_t>(m.fieldOfViewMin));                 // +108
  w.U32be(static_cast<std::uint32_t>(m.fieldOfViewMax));                 // +112
  w.U32be(static_cast<std::uint32_t>(m.pictureWidth));                   // +116
  w.U32be(static_cast<std::uint32_t>(m.pictureHeight));                  // +120
  w.U32be(0);                                                            // +124
  w.Zeros(8);                                                            // +128
  w.U32be(static_cast<std::uint32_t>(m.pictureWidth));                   // +136 hot-spot picture
  w.U32be(static_cast<std::uint32_t>(m.pictureHeight));                  // +140
  w.U16be(0);                                                            // +144
  w.U16be(static_cast<std::uint32_t>(m.pictureWidth / m.linesPerTile));  // +146 tile rows
  w.U16be(static_cast<std::uint32_t>(m.pictureHeight / m.tileWidth));    // +148 tiles per row
  w.U16be(0);
  return w.take();
}

Bytes Table(const char* type, std::size_t count, const Bytes& entries) {
  ByteWriter w;
  w.U16be(0);
  w.U16be(static_cast<std::uint32_t>(count));
  w.Append(entries);
  return Atom(type, w.take());
}

// The node's sample: pHdr, pHot, pLnk, pNav and strT.
Bytes NodeSample(const Node& node) {
  ByteWriter strings;  // offsets count from the start of the "strT" atom
  auto addString = [&](const std::string& text) -> std::uint32_t {
    if (text.empty()) return 0;
    const std::uint32_t offset = static_cast<std::uint32_t>(8 + strings.size());
    const std::size_t n = text.size() < 255 ? text.size() : 255;
    strings.U8(static_cast<std::uint32_t>(n));
    strings.Append(std::string_view(text.data(), n));
    return offset;
  };
  const std::uint32_t nodeName = addString(node.name);

  ByteWriter header;
  header.U32be(static_cast<std::uint32_t>(node.id));           // +8
  header.U32be(static_cast<std::uint32_t>(node.defaultPan));   // +12
  header.U32be(static_cast<std::uint32_t>(node.defaultTilt));  // +16
  header.U32be(static_cast<std::uint32_t>(node.defaultZoom));  // +20
  header.U32be(static_cast<std::uint32_t>(node.panMin));       // +24
  header.U32be(static_cast<std::uint32_t>(node.panMax));       // +28
  header.U32be(static_cast<std::uint32_t>(node.tiltMin));      // +32
  header.U32be(static_cast<std::uint32_t>(node.tiltMax));      // +36
  header.U32be(0);                                             // +40
  header.U32be(0);                                             // +44
  header.U16be(0);                                             // +48
  header.Zeros(6);                                             // +50
  header.U32be(nodeName);                                      // +56
  header.U32be(0);                                             // +60

  ByteWriter hot;
  for (const HotSpot& h : node.hotSpots) {
    hot.U16be(static_cast<std::uint16_t>(h.id));
    hot.U16be(0);
    Tag(hot, h.type);
    hot.U32be(static_cast<std::uint32_t>(h.target));  // +8
    hot.Zeros(12);
    for (std::int16_t r : h.rect) hot.U16be(static_cast<std::uint16_t>(r));  // +24
    hot.U32be(0);                                                            // +32
    hot.U32be(static_cast<std::uint32_t>(h.cursor));                         // +36
    hot.U32be(0);                                                            // +40
    Tag(hot, "    ");                                                        // +44
    hot.U32be(addString(h.name));                                            // +48
    hot.U32be(0);
  }
  ByteWriter links;
  for (const Link& l : node.links) {
    links.U16be(static_cast<std::uint16_t>(l.id));
    links.U16be(0);
    links.Zeros(8);
    links.U32be(static_cast<std::uint32_t>(l.destinationNode));  // +12
    links.Zeros(12);
    links.U32be(static_cast<std::uint32_t>(l.pan));   // +28
    links.U32be(static_cast<std::uint32_t>(l.tilt));  // +32
    links.U32be(static_cast<std::uint32_t>(l.zoom));  // +36
    links.U32be(0);
    Tag(links, "    ");
    links.Zeros(8);
  }
  ByteWriter nav;
  for (const Navigation& n : node.navigation) {
    nav.U16be(static_cast<std::uint16_t>(n.id));
    nav.U16be(0);
    Tag(nav, "    ");
    for (std::int32_t v : n.view) nav.U32be(static_cast<std::uint32_t>(v));  // +8
    for (std::int16_t r : n.rect) nav.U16be(static_cast<std::uint16_t>(r));  // +20
    Tag(nav, "    ");
    nav.Zeros(8);
  }
  return Concat({Atom("pHdr", header.take()), Table("pHot", node.hotSpots.size(), hot.take()),
                 Table("pLnk", node.links.size(), links.take()), Table("pNav", node.navigation.size(), nav.take()),
                 Atom("strT", strings.take())});
}

Bytes PanoramaInfo(const PanoramaMovie& m) {
  ByteWriter w;
  Pascal(w, m.name, 32);                                // +8
  w.U32be(0);                                           // +40
  w.U32be(0);                                           // +44
  w.Zeros(6);                                           // +48
  w.U16be(static_cast<std::uint32_t>(m.nodes.size()));  // +54
  for (const Node& n : m.nodes) {
    w.U32be(static_cast<std::uint32_t>(n.id));
    w.U32be(0);
  }
  return Atom("pInf", w.take());
}

// One tile of a picture: rows are the tile's lines, pixels run down.
std::vector<std::uint8_t> TilePixels(const PanoramaMovie& m, int row, int index, int bytes,
                                     const std::function<void(int x, int y, std::uint8_t* out)>& pixel) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(m.tileWidth) * m.linesPerTile * bytes);
  for (int j = 0; j < m.linesPerTile; ++j) {
    for (int i = 0; i < m.tileWidth; ++i) {
      pixel(row * m.linesPerTile + j, index * m.tileWidth + i,
            &out[(static_cast<std::size_t>(j) * m.tileWidth + i) * bytes]);
    }
  }
  return out;
}

}  // namespace

Bytes EncodeRunLength(const std::vector<std::uint8_t>& pixels, int width, int height, int bytesPerPixel) {
  ByteWriter w;
  const auto at = [&](int y, int x) { return &pixels[(static_cast<std::size_t>(y) * width + x) * bytesPerPixel]; };
  const auto same = [&](int y, int a, int b) {
    for (int k = 0; k < bytesPerPixel; ++k) {
      if (at(y, a)[k] != at(y, b)[k]) return false;
    }
    return true;
  };
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      int run = 1;
      while (x + run < width && run < 129 && same(y, x, x + run)) ++run;
      if (run >= 2) {
        w.U8(static_cast<std::uint32_t>(run + 126));
        for (int k = 0; k < bytesPerPixel; ++k) w.U8(at(y, x)[k]);
        x += run;
        continue;
      }
      int literal = 1;
      while (x + literal < width && literal < 128 &&
             !(x + literal + 1 < width && same(y, x + literal, x + literal + 1)))
        ++literal;
      w.U8(static_cast<std::uint32_t>(literal - 1));
      for (int n = 0; n < literal; ++n) {
        for (int k = 0; k < bytesPerPixel; ++k) w.U8(at(y, x + n)[k]);
      }
      x += literal;
    }
  }
  return w.take();
}

Bytes BuildPanoramaMovie(const PanoramaMovie& m) {
  if (m.nodes.empty() || m.tileWidth <= 0 || m.linesPerTile <= 0 || m.pictureWidth % m.linesPerTile != 0 ||
      m.pictureHeight % m.tileWidth != 0) {
    throw std::runtime_error("panorama movie: the picture must be whole tiles");
  }
  if (m.viewWidth < 1 || m.viewHeight < 1)
    throw std::runtime_error("panorama movie: the display needs a pixel each way");
  const int tileRows = m.pictureWidth / m.linesPerTile;
  const int tilesPerRow = m.pictureHeight / m.tileWidth;
  Samples samples;
  std::vector<std::uint32_t> panoOffsets, panoSizes, imageOffsets, imageSizes, hotOffsets, hotSizes;
  for (const Node& node : m.nodes) samples.Add(NodeSample(node), &panoOffsets, &panoSizes);
  for (const Node& node : m.nodes) {
    for (int r = 0; r < tileRows; ++r) {
      for (int k = 0; k < tilesPerRow; ++k) {
        const auto pixels = TilePixels(m, r, k, 3, [&](int x, int y, std::uint8_t* out) {
          const Rgb c = node.picture ? node.picture(x, y) : Rgb{};
          out[0] = c.r;
          out[1] = c.g;
          out[2] = c.b;
        });
        samples.Add(EncodeRunLength(pixels, m.tileWidth, m.linesPerTile, 3), &imageOffsets, &imageSizes);
      }
    }
  }
  if (m.hotSpotTrack) {
    for (const Node& node : m.nodes) {
      for (int r = 0; r < tileRows; ++r) {
        for (int k = 0; k < tilesPerRow; ++k) {
          const auto pixels = TilePixels(m, r, k, 1, [&](int x, int y, std::uint8_t* out) {
            out[0] = node.hotSpotPicture ? node.hotSpotPicture(x, y) : 0;
          });
          samples.Add(EncodeRunLength(pixels, m.tileWidth, m.linesPerTile, 1), &hotOffsets, &hotSizes);
        }
      }
    }
  }
  const bool enabled = !m.flagsWithoutEnabled;
  const std::int32_t duration = static_cast<std::int32_t>(m.nodes.size()) * 60;
  const Bytes panoMinf = Atom("minf", Concat({Atom("gmhd", Atom("STpn", PanoramaInfo(m))),
                                              SampleTables(PanoDescription(m), 1, panoOffsets, panoSizes)}));
  const Bytes panoTrack =
      Atom("trak", Concat({TrackHeader(kPanoramaTrackId, duration, m.viewWidth, m.viewHeight, enabled),
                           Atom("mdia", Concat({MediaHeader(duration), Handler("STpn"), panoMinf}))}));
  Bytes tracks = panoTrack;
  for (std::int32_t id : m.resolutionTracks) {
    if (id == 0) continue;
    const Bytes image = ImageTrack(id, m.pictureWidth, m.pictureHeight, m.tileWidth, m.linesPerTile, 24, imageOffsets,
                                   imageSizes, enabled);
    tracks.insert(tracks.end(), image.begin(), image.end());
  }
  if (m.hotSpotTrack) {
    const Bytes hot = ImageTrack(kHotSpotTrackId, m.pictureWidth, m.pictureHeight, m.tileWidth, m.linesPerTile, 8,
                                 hotOffsets, hotSizes, enabled);
    tracks.insert(tracks.end(), hot.begin(), hot.end());
  }
  return Concat({Atom("mdat", samples.data), Atom("moov", Concat({MovieHeader(duration), tracks}))});
}

Bytes BuildObjectMovie(const ObjectMovie& m) {
  const int frames = m.columns * m.rows * (m.loopCount > 0 ? m.loopCount : 1);
  Samples samples;
  std::vector<std::uint32_t> offsets, sizes;
  for (int f = 0; f < frames; ++f) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(m.frameWidth) * m.frameHeight * 3);
    for (int y = 0; y < m.frameHeight; ++y) {
      for (int x = 0; x < m.frameWidth; ++x) {
        const Rgb c = m.frame ? m.frame(f, x, y) : Rgb{};
        std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * m.frameWidth + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
      }
    }
    samples.Add(EncodeRunLength(pixels, m.frameWidth, m.frameHeight, 3), &offsets, &sizes);
  }
  const std::int32_t duration = frames * m.frameDuration;
  const Bytes minf =
      Atom("minf", SampleTables(ImageDescription(m.frameWidth, m.frameHeight, 24, "frames"), 1, offsets, sizes));
  const Bytes track = Atom("trak", Concat({TrackHeader(1, duration, m.frameWidth, m.frameHeight, true),
                                           Atom("mdia", Concat({MediaHeader(duration), Handler("vide"), minf}))}));
  Bytes moov = Concat({MovieHeader(duration), track});
  if (m.withNavigation) {
    ByteWriter navg;
    navg.U16be(1);  // +0 version
    navg.U16be(static_cast<std::uint16_t>(m.columns));
    navg.U16be(static_cast<std::uint16_t>(m.rows));
    navg.U16be(0);                                            // +6
    navg.U16be(static_cast<std::uint16_t>(m.loopCount));      // +8
    navg.U16be(static_cast<std::uint16_t>(m.frameDuration));  // +10
    navg.U16be(static_cast<std::uint16_t>(m.dragMode));       // +12
    navg.U16be(static_cast<std::uint16_t>(m.loopSpeed));      // +14
    navg.U32be(static_cast<std::uint32_t>(m.fieldOfView));    // +16
    navg.U32be(static_cast<std::uint32_t>(m.panStart));       // +20
    navg.U32be(static_cast<std::uint32_t>(m.panEnd));         // +24
    navg.U32be(static_cast<std::uint32_t>(m.tiltStart));      // +28
    navg.U32be(static_cast<std::uint32_t>(m.tiltEnd));        // +32
    navg.U32be(0);                                            // +36
    navg.U32be(0);                                            // +40
    const Bytes udta = Atom("udta", Atom("NAVG", navg.take()));
    moov.insert(moov.end(), udta.begin(), udta.end());
  }
  return Concat({Atom("mdat", samples.data), Atom("moov", moov)});
}

void WriteSamplePanoramas(const std::string& directory) {
  PanoramaMovie pano;
  pano.name = "Harbour";
  pano.hotSpotTrack = true;
  for (int n = 0; n < 2; ++n) {
    Node node;
    node.id = 10 + n;
    node.name = n == 0 ? "Quay" : "Lighthouse";
    node.defaultZoom = Degrees(60);
    // Sixteen coloured sectors around, darker toward the bottom.
    node.picture = [n](int x, int y) {
      const int sector = x / 32;
      const int shade = 255 - y;
      return Rgb{static_cast<std::uint8_t>((sector * 16 + n * 100) & 0xFF), static_cast<std::uint8_t>(shade),
                 static_cast<std::uint8_t>(sector % 2 == 0 ? 200 : 60)};
    };
    node.hotSpotPicture = [](int x, int y) -> std::uint8_t { return x >= 96 && x < 160 && y >= 32 && y < 96 ? 1 : 0; };
    HotSpot spot;
    spot.id = 1;
    spot.type = "link";
    spot.target = 1;
    spot.rect[0] = 96;
    spot.rect[1] = 32;
    spot.rect[2] = 160;
    spot.rect[3] = 96;
    spot.name = n == 0 ? "To the lighthouse" : "Back to the quay";
    node.hotSpots.push_back(spot);
    node.links.push_back(Link{1, 11 - n, Degrees(90), 0, 0});
    pano.nodes.push_back(node);
  }
  if (!GalleryWritesFile("PANORAMA.MOV"))
    WriteFileAtomically(JoinPath(directory, "PANORAMA.MOV"), BuildPanoramaMovie(pano));

  ObjectMovie object;
  object.frame = [](int frame, int x, int) {
    return Rgb{static_cast<std::uint8_t>(frame * 7), static_cast<std::uint8_t>(x * 4), 128};
  };
  if (!GalleryWritesFile("OBJECT.MOV"))
    WriteFileAtomically(JoinPath(directory, "OBJECT.MOV"), BuildObjectMovie(object));
}

}  // namespace builder::panorama
