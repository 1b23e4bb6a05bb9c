// veldbuild: the content builder's command line.
//   veldbuild sample <directory>   writes the sample content set into the directory
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "content/sample_content.h"
#include "engine_db/lists_samples.h"
#include "inflect/inflect_samples.h"
#include "panorama/panorama_movie.h"
#include "reader/reader_sample.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veldbuild sample <directory>\n");
  return 2;
}

void BuildSample(const std::string& directory) {
  std::filesystem::create_directories(directory);
  // Each content area adds its files here as it is built.
  builder::WriteContentSample(directory);
  builder::inflect::WriteSampleInflection(directory);
  builder::engine_db::WriteSampleDictionaries(directory);
  builder::panorama::WriteSamplePanoramas(directory);
  // Last: the reader's databases, backgrounds, bookmarks and sounds.
  builder::WriteReaderSample(directory);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "sample") != 0) return Usage();
  try {
    BuildSample(argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "veldbuild: %s\n", error.what());
    return 1;
  }
  return 0;
}
