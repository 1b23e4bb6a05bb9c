// veldbuild: the content builder's command line.
//   veldbuild sample <directory>    writes the sample content set into the directory
//   veldbuild library <directory>   writes the reference library made from the
//                                   dictionary packages
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "library/dictd_file.h"
#include "library/library_set.h"
#include "sample/sample_set.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veldbuild sample|library <directory>\n");
  return 2;
}

void BuildLibrary(const char* directory) {
  const auto start = std::chrono::steady_clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  builder::library::LibraryOptions options;
  options.dictdDirectory = builder::library::DictdDirectory();
  options.progress = [&](const std::string& line) {
    std::printf("veldbuild library: %6.1f s  %s\n", seconds(), line.c_str());
    std::fflush(stdout);
  };
  const builder::library::LibraryFigures f = builder::library::WriteLibrarySet(directory, options);
  std::printf(
      "veldbuild library: done in %.1f s: %u articles (%u cross references, %u subjects), %u dictionary entries "
      "(%u headwords), %u synonym rings, %u French-English and %u English-French headwords\n",
      seconds(), f.articles, f.crossReferences, f.subjects, f.dictionaryEntries, f.headwords, f.synonymRings,
      f.frenchEnglish, f.englishFrench);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  try {
    if (std::strcmp(argv[1], "sample") == 0) {
      builder::WriteSampleSet(argv[2]);
    } else if (std::strcmp(argv[1], "library") == 0) {
      BuildLibrary(argv[2]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "veldbuild: %s\n", error.what());
    return 1;
  }
  return 0;
}
