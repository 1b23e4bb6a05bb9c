// The library's timeline as content: an article of the main database for
// each event (in Tml.bit) and for each of its pictures (a media item kept out
// of the article lists), and "Timeline.bin", which names the events' entries
// and the pictures' media items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/sample_content.h"
#include "library/calendar_timeline.h"
#include "library/timeline_pictures.h"

namespace builder::library {

class LibraryTimeline {
 public:
  explicit LibraryTimeline(CalendarTimeline timeline);

  const CalendarTimeline& Timeline() const { return timeline_; }
  std::size_t PictureCount() const { return pictures_.size(); }

  // The titles of its articles: the events', then the pictures' owners'.
  std::vector<std::string> Titles() const;

  // Appends its articles, in the order of Titles(), whose entries are given,
  // and the file that lists them.
  void AddTo(ExtraContent& content, const std::vector<std::uint32_t>& entries, const EntryLookup& lookup) const;

 private:
  CalendarTimeline timeline_;
  std::vector<TimelinePicture> pictures_;
};

}  // namespace builder::library
