// Writes the movie fuzzer's seeds: small panoramas built by the content
// builder, each after the [VR] values of KNW.INI that the fuzzer's input
// starts with (Resolution, MaxCacheRows), and a few of those values by hand.
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "common/byte_writer.h"
#include "seed_movies.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::filesystem::create_directories(argv[1]);
  for (int variant = 0; variant < panoseeds::kPanoramaVariants; ++variant) {
    const builder::Bytes file = panoseeds::SeedPanorama(variant);
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
