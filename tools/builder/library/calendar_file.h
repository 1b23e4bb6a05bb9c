// The dated lines of Debian's calendar package (calendar), as its files in
// /usr/share/calendar write them: one event a line, the date, a tab and the
// text ("01/07\tFirst transatlantic telephone call, 1927"); a line that
// starts with a tab carries on the event above it. The date is written month
// first ("01/07", "Jan 7") or day first ("07 Jan"), or as a date that moves
// from year to year ("05/SunSecond", "Easter-2", "03/20*"). C comments,
// preprocessor lines ("#include <calendar.world>") and settings
// ("LANG=UTF-8") are not events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace builder::library {

struct CalendarEvent {
  std::string file;   // "calendar.history"
  unsigned line = 0;  // of its date, from 1
  std::uint8_t month = 0, day = 0;
  std::string text;  // Windows-1252; continuation lines joined with a blank
};

// A line that is no event the reader can place, and why.
struct CalendarLine {
  std::string file;
  unsigned line = 0;
  std::string text;    // as the file writes it (Windows-1252)
  std::string reason;  // "a date that moves from year to year", "no date", ...
};

struct CalendarFile {
  std::vector<CalendarEvent> events;
  std::vector<CalendarLine> unread;
};

// One file's events; `name` names it in the events and lines.
CalendarFile ParseCalendar(const std::string& name, const std::string& utf8);

// The year an event's text names, and where. A year ends the text: after
// a comma (", 1927", ", 44BC", ", 323 B.C.", ", 1757?"), in parentheses
// ("(1966)", "(323BC)") or after a blank ("aired 1966"); else it is the
// first year after a comma inside the text, followed by a blank or
// punctuation (", 1969 (drops it, January 8, 1982)"), of three or four
// digits unless "BC" follows. Years before the common era are negative; a
// text with none of these forms has no year ("Anniversary of the 1956
// revolution": a year inside a sentence may be any year it speaks of).
struct EventYear {
  int year = 0;
  std::size_t begin = 0, end = 0;  // the clause in the text, its comma or blank included
};
std::optional<EventYear> FindEventYear(const std::string& text);

// Where the package puts its files: "/usr/share/calendar" (under Windows its
// path on Wine's drive Z:), or $VELDRIX_CALENDAR_DIR when set.
std::string CalendarDirectory();

// Reads <directory>/<name>; throws std::runtime_error naming the package
// when the file is missing.
CalendarFile ReadCalendarFile(const std::string& directory, const std::string& name);

}  // namespace builder::library
