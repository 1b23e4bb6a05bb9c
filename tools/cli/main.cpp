// veldbuild: the content builder's command line.
//   veldbuild sample <directory>    writes the sample content set into the directory
//   veldbuild library [--slice prefix,prefix...] <directory>
//                                   writes the reference library made from the
//                                   dictionary packages and, in a native build,
//                                   the gallery made from xplanet-images; a
//                                   slice keeps only the headwords that begin
//                                   with one of the prefixes (for tests)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>

#include "library/calendar_file.h"
#include "library/dictd_file.h"
#include "library/library_set.h"
#include "sample/sample_set.h"
#if VELDRIX_MEDIA_READERS
#include "images/jpeg_reader.h"
#include "images/speech.h"
#endif

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veldbuild sample <directory>\n       veldbuild library [--slice a,b,...] <directory>\n");
  return 2;
}

std::string Listed(const std::map<std::string, std::size_t>& counts) {
  std::string out;
  for (const auto& [name, count] : counts) out += (out.empty() ? "" : ", ") + name + " " + std::to_string(count);
  return out;
}

void PrintTimelineAndQuizzes(const builder::library::LibraryFigures& f) {
  std::uint32_t leftOut = 0;
  for (const auto& [reason, count] : f.eventsLeftOut) leftOut += count;
  std::printf("veldbuild library: timeline: %u dated lines read, %u events kept, %u left out:", f.eventsRead, f.events,
              leftOut);
  for (const auto& [reason, count] : f.eventsLeftOut) std::printf(" %u %s;", count, reason.c_str());
  std::printf(
      "\nveldbuild library: timeline: %u categories, %u periods, %u firsts, %u year-in-review issues, %u pictures\n",
      f.timelineCategories, f.periods, f.firsts, f.issues, f.timelinePictures);
  for (const std::string& line : f.unreadLines) std::printf("veldbuild library: not read: %s\n", line.c_str());
  for (const std::string& note : f.timelineNotes) std::printf("veldbuild library: timeline: %s\n", note.c_str());
  std::size_t english = 0, french = 0;
  for (const auto& [name, count] : f.englishQuestions) english += count;
  for (const auto& [name, count] : f.frenchQuestions) french += count;
  std::printf("veldbuild library: English quiz: %zu questions (%s)\n", english, Listed(f.englishQuestions).c_str());
  std::printf("veldbuild library: French quiz: %zu questions (%s)\n", french, Listed(f.frenchQuestions).c_str());
}

void BuildLibrary(const char* directory, const std::string& slice) {
  const auto start = std::chrono::steady_clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  builder::library::LibraryOptions options;
  options.dictdDirectory = builder::library::DictdDirectory();
  options.calendarDirectory = builder::library::CalendarDirectory();
  for (std::size_t at = 0; at < slice.size();) {
    const std::size_t comma = std::min(slice.find(',', at), slice.size());
    if (comma > at) options.prefixes.push_back(slice.substr(at, comma - at));
    at = comma + 1;
  }
#if VELDRIX_MEDIA_READERS
  options.readers = {builder::images::ReadJpeg, builder::images::Speak};
#else
  throw std::runtime_error(
      "this veldbuild cannot read the gallery's JPEG pictures (no image library for its target): build the "
      "library with the native one (scripts/build.sh native veldbuild)");
#endif
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
  PrintTimelineAndQuizzes(f);
  const builder::gallery::GalleryFigures& g = f.gallery;
  std::printf(
      "veldbuild library: gallery: %u items (%u pictures, %.1f million pixels, %u hot spots), a panorama of %u "
      "nodes with %u hot spots, an object movie of %u frames, a movie of %u frames, %.1f s of narration; "
      "%.1f MB of movie and sound files\n",
      g.items, g.pictures, static_cast<double>(g.pictureBytes) / 1e6, g.hotSpots, g.panoramaNodes, g.panoramaHotSpots,
      g.objectFrames, g.movieFrames, g.soundMilliseconds / 1000.0, static_cast<double>(g.movieBytes) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  try {
    if (std::strcmp(argv[1], "sample") == 0 && argc == 3) {
      builder::WriteSampleSet(argv[2]);
    } else if (std::strcmp(argv[1], "library") == 0 && argc == 3) {
      BuildLibrary(argv[2], "");
    } else if (std::strcmp(argv[1], "library") == 0 && argc == 5 && std::strcmp(argv[2], "--slice") == 0) {
      BuildLibrary(argv[4], argv[3]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "veldbuild: %s\n", error.what());
    return 1;
  }
  return 0;
}
