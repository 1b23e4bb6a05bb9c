// bmpgen: draws the pictures of a resource list and writes them with an .rc
// fragment that names each of them, so adding a picture is one list line.
//
//   bmpgen <list file> <output directory> <fragment file name>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "picture_list.h"

namespace {

std::string ReadFile(const std::filesystem::path& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes through a temporary file and a rename, and leaves a file that
// already holds these bytes alone (its time stamp too).
bool WriteIfChanged(const std::filesystem::path& path, const std::string& bytes) {
  bool exists = false;
  if (ReadFile(path, exists) == bytes && exists) return true;
  const std::filesystem::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code failed;
  std::filesystem::rename(temporary, path, failed);
  return !failed;
}

// FNV-1a of a picture's bytes. The fragment names each picture with it, so
// the fragment changes whenever a picture does: windres reads the pictures
// but the build knows only the fragment, which is left alone (time stamp
// too) when unchanged.
std::uint32_t Checksum(const std::string& bytes) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 16777619u;
  return hash;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bmpgen <list file> <output directory> <fragment file name>\n");
    return 2;
  }
  bool ok = false;
  const std::string list = ReadFile(argv[1], ok);
  if (!ok) {
    std::fprintf(stderr, "bmpgen: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string error;
  auto items = bmpgen::ParseList(list, error);
  if (!items) {
    std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str() + 4);
    return 1;
  }
  const std::filesystem::path outDir = argv[2];
  std::error_code failed;
  std::filesystem::create_directories(outDir, failed);
  std::ostringstream fragment;
  fragment << "// Made by bmpgen from " << std::filesystem::path(argv[1]).filename().string() << "; do not edit.\n";
  for (const bmpgen::Item& item : *items) {
    auto output = bmpgen::Render(item, error);
    if (!output) {
      std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str() + 4);
      return 1;
    }
    const std::filesystem::path file = outDir / output->fileName;
    if (!WriteIfChanged(file, output->bytes)) {
      std::fprintf(stderr, "bmpgen: cannot write %s\n", file.string().c_str());
      return 1;
    }
    char checksum[16];
    std::snprintf(checksum, sizeof checksum, "%08x", Checksum(output->bytes));
    fragment << item.id << " " << output->rcType << " \"" << file.generic_string() << "\"  // " << checksum << "\n";
  }
  if (!WriteIfChanged(outDir / argv[3], fragment.str())) {
    std::fprintf(stderr, "bmpgen: cannot write %s\n", (outDir / argv[3]).string().c_str());
    return 1;
  }
  return 0;
}
