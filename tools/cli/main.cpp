// veldbuild: the content builder's command line.
//   veldbuild sample <directory>   writes the sample content set into the directory
#include <cstdio>
#include <cstring>
#include <exception>

#include "sample/sample_set.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veldbuild sample <directory>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "sample") != 0) return Usage();
  try {
    builder::WriteSampleSet(argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "veldbuild: %s\n", error.what());
    return 1;
  }
  return 0;
}
