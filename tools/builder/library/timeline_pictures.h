// The pictures of the library's timeline, drawn by the builder: one for each
// of the ten modes, and one for each category, period and issue (its mode's
// picture with that entry marked). The period, category and issue pictures
// have a hot spot over each entry, labelled with the entry's name, so a click
// on it chooses the entry. All are 640 x 320 pictures of 256 colours.
#pragma once

#include <string>
#include <vector>

#include "content/media_store_file.h"
#include "library/calendar_timeline.h"
#include "reader/picture_regions.h"

namespace builder::library {

// A picture and its hot spots (kind 3, or none: kind 0).
struct DrawnPicture {
  Picture picture;
  PictureRegions regions;
};

struct TimelinePicture {
  enum class Role { Mode, Category, Period, Issue };
  Role role = Role::Mode;
  unsigned index = 0;  // the mode (0-9), or the entry of the list
  std::string name;    // what it shows: "Periods", "Music", "1969"
  DrawnPicture drawn;
};

std::vector<TimelinePicture> DrawTimelinePictures(const CalendarTimeline& timeline);

}  // namespace builder::library
