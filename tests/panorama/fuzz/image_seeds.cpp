// Writes the image fuzzer's seeds: run-length samples from the content
// builder with their descriptions (24-bit and indexed, with a colour table
// resource or a table stored in the description), and the fuzzer's own codec
// in each output kind.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "pano_fixture.h"

namespace {

using builder::Bytes;

void Seed(const std::string& directory, const std::string& name, std::uint8_t mode, bool ownCodec, std::uint8_t kind,
          std::uint8_t band, const Bytes& description, const Bytes& resource, const Bytes& sample) {
  builder::ByteWriter out;
  out.U8(mode);
  out.U8(ownCodec ? 1 : 0);
  out.U8(kind);
  out.U8(band);
  out.U16le(static_cast<std::uint32_t>(description.size()));
  out.Append(description);
  out.U16le(static_cast<std::uint32_t>(resource.size()));
  out.Append(resource);
  out.Append(sample);
  builder::WriteFileAtomically(builder::JoinPath(directory, name), out.bytes());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pano_image_seeds <directory>\n");
    return 2;
  }
  try {
    namespace bp = builder::panorama;
    using panotest::ColourTable;
    using panotest::Description;
    const std::string directory = argv[1];
    std::filesystem::create_directories(directory);
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 8 * 4; ++i)
      rgb.insert(rgb.end(), {static_cast<std::uint8_t>(i), 7, static_cast<std::uint8_t>(i / 3)});
    const Bytes colour = bp::EncodeRunLength(rgb, 8, 4, 3);
    // Modes: 0 palette, 1 5-5-5, 2 5-6-5, 3 RGB, 4 BGR.
    for (std::uint8_t mode = 1; mode <= 4; ++mode)
      Seed(directory, "rgb" + std::to_string(mode), mode, false, 0, 0, Description("knrl", 8, 4, 24, -1), {}, colour);
    std::vector<std::uint8_t> indexes(8 * 4);
    for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<std::uint8_t>(i % 3);
    const Bytes indexed = bp::EncodeRunLength(indexes, 8, 4, 1);
    const Bytes table = ColourTable(8, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}}, false);
    Seed(directory, "indexed_resource", 1, false, 0, 0, Description("knrl", 8, 4, 8, -1), table, indexed);
    Seed(directory, "indexed_palette", 0, false, 0, 0, Description("knrl", 8, 4, 8, -1), table, indexed);
    Seed(directory, "indexed_stored", 3, false, 0, 0,
         Description("knrl", 8, 4, 8, 0, ColourTable(0, {{0, 0, 0}, {0, 0, 255}, {0, 255, 0}}, true)), {}, indexed);
    Seed(directory, "two_bit", 2, false, 0, 0,
         Description("knrl", 8, 4, 2, 0, ColourTable(0, {{0, 0, 0}, {0, 0, 255}, {0, 255, 0}, {9, 9, 9}}, true)), {},
         indexed);
    // The fuzzer's own codec: direct, banded (band heights 4 and 3 over 10
    // rows; rows too wide for four in a segment) and stepped.
    Seed(directory, "direct", 1, true, 1, 0, Description("fill", 5, 10, 24, -1), {}, {});
    Seed(directory, "banded", 1, true, 2, 4, Description("fill", 5, 10, 24, -1), {}, {});
    Seed(directory, "banded_odd", 3, true, 2, 3, Description("fill", 7, 10, 24, -1), {}, {});
    Seed(directory, "banded_wide", 1, true, 2, 4, Description("fill", 20000, 8, 24, -1), {}, {});
    Seed(directory, "stepped", 4, true, 3, 1, Description("fill", 9, 3, 24, -1), {}, {});
  } catch (const std::exception& error) {
    std::fprintf(stderr, "pano_image_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
