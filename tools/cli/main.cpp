// veldbuild: the content builder's command line.
//   veldbuild sample <directory>    writes the sample content set into the directory
//   veldbuild library <directory>   writes the reference library made from the
//                                   dictionary packages
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

#include "library/calendar_file.h"
#include "library/dictd_file.h"
#include "library/library_set.h"
#include "sample/sample_set.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: veldbuild sample|library <directory>\n");
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

void BuildLibrary(const char* directory) {
  const auto start = std::chrono::steady_clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  builder::library::LibraryOptions options;
  options.dictdDirectory = builder::library::DictdDirectory();
  options.calendarDirectory = builder::library::CalendarDirectory();
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
