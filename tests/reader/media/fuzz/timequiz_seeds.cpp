// Writes the timeline and quiz fuzzer's seeds: the sample content's
// Timeline.bin and both quiz files from the content builder, and a few files
// cut short.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "common/byte_writer.h"
#include "quiz/quiz_writer.h"
#include "timeline/timeline_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: timequiz_seeds <directory>\n");
    return 2;
  }
  try {
    const std::string directory = argv[1];
    std::filesystem::create_directories(directory);
    const auto write = [&](const std::string& name, const builder::Bytes& bytes) {
      builder::WriteFileAtomically(builder::JoinPath(directory, name), bytes);
    };
    const builder::Bytes timeline = builder::timeline::TimelineFile(builder::timeline::SampleTimeline());
    const builder::Bytes english = builder::quiz::QuizFile(builder::quiz::SampleQuiz(true));
    write("timeline", timeline);
    write("quiz_english", english);
    write("quiz_french", builder::quiz::QuizFile(builder::quiz::SampleQuiz(false)));
    // Cut in their headers and in their records.
    write("timeline_cut", builder::Bytes(timeline.begin(), timeline.begin() + timeline.size() / 2));
    write("quiz_cut", builder::Bytes(english.begin(), english.begin() + english.size() / 3));
    write("quiz_header_only",
          builder::Bytes(english.begin(), english.begin() + std::min<std::size_t>(english.size(), 12)));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "timequiz_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
