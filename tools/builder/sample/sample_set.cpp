#include "sample/sample_set.h"

#include <filesystem>

#include "browser/neighbour_files.h"
#include "content/sample_content.h"
#include "engine_db/lists_samples.h"
#include "inflect/inflect_samples.h"
#include "media/media_sample.h"
#include "panorama/panorama_movie.h"
#include "quiz/quiz_writer.h"
#include "reader/reader_sample.h"
#include "timeline/timeline_writer.h"

namespace builder {

const std::vector<SampleWriter>& SampleWriters() {
  static const std::vector<SampleWriter> writers = {
      {"content", [](const std::string& directory) { WriteContentSample(directory); }},
      {"inflection", [](const std::string& directory) { inflect::WriteSampleInflection(directory); }},
      {"dictionaries", [](const std::string& directory) { engine_db::WriteSampleDictionaries(directory); }},
      {"panoramas", [](const std::string& directory) { panorama::WriteSamplePanoramas(directory); }},
      {"reader", [](const std::string& directory) { WriteReaderSample(directory); }},
      {"browser", [](const std::string& directory) { WriteBrowserSample(directory); }},
      {"timeline", [](const std::string& directory) { timeline::WriteTimelineSample(directory); }},
      {"quiz", [](const std::string& directory) { quiz::WriteQuizSample(directory); }},
      {"movies", [](const std::string& directory) { media::WriteMediaSample(directory); }},
  };
  return writers;
}

void WriteSampleSet(const std::string& directory) {
  std::filesystem::create_directories(directory);
  for (const SampleWriter& writer : SampleWriters()) writer.write(directory);
}

}  // namespace builder
