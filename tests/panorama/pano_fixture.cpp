#include "pano_fixture.h"

#include <cstring>
#include <fstream>
#include <map>

#include "stand_in_host.h"

namespace panotest {
namespace {

std::map<std::string, int> gProfile;

std::int32_t ProfileInt(const char* section, const char* key, std::int32_t fallback) {
  const auto it = gProfile.find(std::string(section) + "/" + key);
  return it == gProfile.end() ? fallback : it->second;
}

}  // namespace

void SetProfile(const std::string& section, const std::string& key, int value) {
  gProfile[section + "/" + key] = value;
}
void ClearProfile() { gProfile.clear(); }

void PanoHostTest::SetUp() {
  UseStandInHost();
  pano::System().profileInt = ProfileInt;
  ClearProfile();
  kn::FailMemoryAfter(-1);
  blocksAtStart_ = kn::LiveBlocks();
}

void PanoHostTest::TearDown() {
  kn::FailMemoryAfter(-1);
  kn::TerminateHost();
  pano::ResetEntries();
}

std::string PanoHostTest::WriteFile(const builder::Bytes& bytes, const std::string& name) {
  const std::string path = dir_.File(name);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::intptr_t PanoHostTest::OpenMovie(const builder::Bytes& bytes, const std::string& name) {
  const std::string path = WriteFile(bytes, name);
  std::intptr_t reference = 0;
  EXPECT_EQ(kn::OpenMovieFile(path.c_str(), &reference), 0);
  std::intptr_t movie = 0;
  EXPECT_EQ(kn::NewMovieFromFile(&movie, reference), 0);
  kn::CloseMovieFile(reference);
  return movie;
}

bp::Rgb PictureColour(int node, int x, int y) {
  return bp::Rgb{static_cast<std::uint8_t>(x / 2), static_cast<std::uint8_t>(y * 2),
                 static_cast<std::uint8_t>(node * 50)};
}

bp::ObjectMovie ObjectGrid(std::int16_t columns, std::int16_t rows, int width, int height) {
  bp::ObjectMovie object;
  object.columns = columns;
  object.rows = rows;
  object.frameWidth = width;
  object.frameHeight = height;
  return object;
}

bp::PanoramaMovie SmallPanorama(int nodes) {
  bp::PanoramaMovie movie;
  movie.viewWidth = 64;
  movie.viewHeight = 48;
  movie.pictureWidth = 512;
  movie.pictureHeight = 128;
  movie.tileWidth = 64;
  movie.linesPerTile = 64;
  for (int n = 0; n < nodes; ++n) {
    bp::Node node;
    node.id = 100 + n;
    node.name = "Node " + std::to_string(n);
    node.picture = [n](int x, int y) { return PictureColour(n, x, y); };
    movie.nodes.push_back(node);
  }
  return movie;
}

long FindAtom(const builder::Bytes& bytes, const char* type, long from) {
  for (std::size_t i = static_cast<std::size_t>(from) + 4; i + 4 <= bytes.size(); ++i) {
    if (std::memcmp(&bytes[i], type, 4) == 0) return static_cast<long>(i) - 4;
  }
  return -1;
}

builder::Bytes Description(const char* codec, int width, int height, int depth, std::int16_t colorTable,
                           const builder::Bytes& storedTable) {
  builder::ByteWriter w;
  w.U32be(static_cast<std::uint32_t>(86 + storedTable.size()));
  w.Append(std::string_view(codec, 4));
  w.Zeros(24);
  w.U16be(static_cast<std::uint32_t>(width));
  w.U16be(static_cast<std::uint32_t>(height));
  w.Zeros(14);
  w.U8(4);
  w.Append(std::string_view("test"));
  w.Zeros(27);
  w.U16be(static_cast<std::uint32_t>(depth));
  if (storedTable.empty()) {
    w.U16be(static_cast<std::uint16_t>(colorTable));
  } else {
    w.Append(storedTable);  // the table starts with its id word at 84
  }
  return w.take();
}

builder::Bytes ColourTable(std::int16_t id, const std::vector<bp::Rgb>& colours, bool inOrder) {
  builder::ByteWriter w;
  w.U16be(static_cast<std::uint16_t>(id));
  w.U32be(0);
  w.U16be(inOrder ? 0x8000 : 0);
  w.U16be(static_cast<std::uint32_t>(colours.size() - 1));
  for (std::size_t i = 0; i < colours.size(); ++i) {
    w.U16be(inOrder ? 0 : static_cast<std::uint32_t>(i));
    w.U16be(colours[i].r * 257u);
    w.U16be(colours[i].g * 257u);
    w.U16be(colours[i].b * 257u);
  }
  return w.take();
}

}  // namespace panotest
