// The library's timeline, made from the calendar package's events that carry
// a year. Each source file is a category; the periods are the eras up to 1500
// and the centuries after it (the crowded 20th split at 1945); an event whose
// text says "first" is a first; the years that hold the most events are the
// year-in-review issues. docs/formats.md gives the reasons.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "library/calendar_file.h"

namespace builder::library {

// A file of the package and the category its events make.
struct TimelineSource {
  const char* file;
  const char* category;
};
// The files read, in the order of their categories.
const std::vector<TimelineSource>& TimelineSources();

struct TimelinePeriod {
  std::string name;
  int first = 0, last = 0;  // years, both included
};

struct DatedEvent {
  CalendarEvent source;
  int year = 0;       // negative before the common era
  std::string title;  // "1927: First transatlantic telephone call"
  unsigned category = 0;
  unsigned period = 0;
  bool first = false;
  int issue = -1;  // the year-in-review issue, -1 none
};

struct CalendarTimeline {
  std::vector<std::string> categories;
  std::vector<TimelinePeriod> periods;  // those that hold events
  std::vector<int> issues;              // the issues' years, in time order
  std::vector<DatedEvent> events;       // in time order
  std::uint32_t read = 0;               // dated lines read, placed or not
  // The lines left out, by reason: those of no fixed day, those with no
  // year, an event a file repeats, and any the file format could not hold.
  std::map<std::string, std::vector<CalendarLine>> leftOut;
  // The format's limits the events would have passed, each said once.
  std::vector<std::string> notes;
};

// The format's limits: 65,535 events, 128 categories and periods (7-bit
// indexes), 256 issues (a byte). Past them events are left out and counted.
inline constexpr std::size_t kMostTimelineEvents = 0xFFFF;
inline constexpr std::size_t kMostTimelineCategories = 128;
inline constexpr std::size_t kMostTimelineIssues = 256;
// A year is an issue when it holds at least this many events.
inline constexpr std::size_t kEventsOfAnIssue = 14;

// The timeline of the files, each given with its category's name.
CalendarTimeline MakeCalendarTimeline(const std::vector<std::pair<CalendarFile, std::string>>& files);

// Reads TimelineSources() from the directory (CalendarDirectory()).
CalendarTimeline ReadCalendarTimeline(const std::string& directory);

// "1927", "44 BC".
std::string YearText(int year);

// The entries an event's words may lead to: the encyclopedia article or the
// dictionary entry of a name, in its own spelling or, with anyCase, in any;
// 0 when there is none.
struct EntryLookup {
  std::function<std::uint32_t(const std::string& name, bool anyCase)> article;
  std::function<std::uint32_t(const std::string& name, bool anyCase)> dictionary;
};

// The parts of an event's text that lead to entries: names of several words
// first, then names, then long words; at most four, each entry once.
struct EventLink {
  std::size_t begin = 0, end = 0;
  std::uint32_t entry = 0;
};
std::vector<EventLink> FindEventLinks(const std::string& text, bool computing, const EntryLookup& lookup);

// The event's article: its title line, the date, the source's text with its
// links, and its place in the timeline.
std::string EventArticleText(const DatedEvent& event, const CalendarTimeline& timeline,
                             const std::vector<EventLink>& links);

}  // namespace builder::library
