// Timeline and quiz files from untrusted bytes: the same bytes are read as a
// timeline and as a quiz file with every question.
#include <cstdint>

#include "media/quiz/quiz_file.h"
#include "media/timeline/timeline_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  timeline::TimelineData timelineData;
  if (timeline::ParseTimeline(data, size, timelineData) == timeline::TimelineError::None)
    for (int k = 1; k <= timelineData.eventCount; ++k) timelineData.Event(k);
  quiz::QuizHeader header;
  if (quiz::ParseQuizHeader(data, size, header) != quiz::QuizError::None) return 0;
  quiz::QuizQuestion question;
  for (int i = 0; i < header.questionCount && i < 4096; ++i) quiz::ParseQuizQuestion(data, size, header, i, question);
  return 0;
}
