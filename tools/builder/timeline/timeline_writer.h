// The timeline file "Timeline.bin" (little-endian): four u16 counts
// (categories C, periods P, issues Y, events E), ten u16 mode pictures in the
// order of modes 0, 1, 2, 4, 5, 3, 7, 6, 8, 9, the C, P and Y list entries
// (u16 picture, u16 name length, the name) and E 15-byte events:
//   0 s16 start year, 2 byte day, 3 byte month, 4 s16 end year, 6 byte day,
//   7 byte month, 8 bit 7 year in review | category, 9 bit 7 first | period,
//   10 byte issue, 11 u32 main-database entry number.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::timeline {

struct ListEntry {
  std::uint16_t picture = 0;
  std::string name;
};

struct Event {
  std::int16_t startYear = 0;
  std::uint8_t startDay = 1, startMonth = 1;
  std::int16_t endYear = 0;
  std::uint8_t endDay = 1, endMonth = 1;
  bool inReview = false;
  std::uint8_t category = 0;
  bool first = false;
  std::uint8_t period = 0;
  std::uint8_t issue = 0;
  std::uint32_t entry = 0;
};

struct Timeline {
  std::array<std::uint16_t, 10> modePictures{};  // by mode number 0-9
  std::vector<ListEntry> categories, periods, issues;
  std::vector<Event> events;
};

Bytes TimelineFile(const Timeline& timeline);

// The sample timeline: events that point at articles of the sample content.
Timeline SampleTimeline();
// Writes "Timeline.bin" of the sample into the directory.
void WriteTimelineSample(const std::string& directory);

}  // namespace builder::timeline
