// Writes the seed corpus of the side files fuzzer: the sample content's
// Spelhash.dat, Back.bin, MAROVA.REL and Internet.dat from the content
// builder, and edge cases written out by hand. Each seed is the fuzzer's
// input: the file's selector byte, a u32 key, the file's bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "browser/neighbour_files.h"
#include "common/byte_writer.h"
#include "content/sample_content.h"
#include "reader/reader_sample.h"

namespace {

using builder::Bytes;

void Seed(const std::string& directory, const std::string& name, std::uint8_t file, std::uint32_t key,
          const Bytes& bytes) {
  builder::ByteWriter out;
  out.U8(file);
  out.U32le(key);
  out.Append(bytes);
  builder::WriteFileAtomically(directory + "/" + name, out.bytes());
}

Bytes ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::filesystem::remove(path);
  return bytes;
}

Bytes Hand(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: side_file_seeds <directory>\n");
    return 2;
  }
  try {
    const std::string directory = argv[1];
    std::filesystem::create_directories(directory);
    Seed(directory, "spelhash", 0, 0, builder::BuildContentSample().files.at("Spelhash.dat"));
    Seed(directory, "back", 1, 1, builder::BuildReaderSample().at("Back.bin"));
    builder::WriteBrowserSample(directory);
    Seed(directory, "related", 2, 1, ReadBack(directory + "/MAROVA.REL"));
    Seed(directory, "internet", 3, 0, ReadBack(directory + "/Internet.dat"));

    // By hand: a count far past the pairs the file holds.
    Seed(directory, "back_short", 1, 7, Hand({0xFF, 0xFF, 7, 0, 9, 0}));
    // Entry 1's record lies past the end; then a record promising 65535 entries.
    Seed(directory, "related_outside", 2, 1, Hand({0, 0, 0, 0xF0}));
    Seed(directory, "related_count", 2, 1, Hand({0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0, 0, 5, 0, 9}));
    // An address of 260 bytes without its zero, and one whose length is 0.
    Bytes noZero = {10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0, 0, 0, 0, 0, 0, 4, 1};
    noZero.resize(noZero.size() + 260, 'w');
    Seed(directory, "url_unterminated", 3, 0, noZero);
    Seed(directory, "url_empty", 3, 0, Hand({4, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // A links list whose entries point past the end.
    Seed(directory, "links_outside", 3, 0, Hand({0, 0, 0, 0, 8, 0, 0, 0, 2, 0, 0xFF, 0, 0, 0, 0, 1, 0, 0}));
    // A spelling table too short to load.
    Seed(directory, "spelhash_short", 0, 0, Bytes(1000, 0x41));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "side_file_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
