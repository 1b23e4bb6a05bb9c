// The timeline file "Timeline.bin" and the event filters of the timeline
// screen. Little-endian, in file order:
//   u16 categories C, u16 periods P, u16 issues Y, u16 events E,
//   10 x u16 mode pictures (modes 0, 1, 2, 4, 5, 3, 7, 6, 8, 9),
//   C, P, Y list entries (u16 picture, u16 name length n, n bytes of name),
//   E events of 15 bytes (see TimelineEvent).
// Nothing here calls Windows: the reader is tested natively and fuzzed.
#pragma once

#include <cstddef>
#include <vector>

#include "afx_core.h"
#include "zorlre/re_types.h"

namespace timeline {

constexpr int ModeCount = 10;
constexpr u32 EventSize = 15;
constexpr u32 HeaderSize = 28;
// A list name is read into a 512-byte buffer with its terminator.
constexpr u32 MaxNameLength = 511;

// The screen's modes.
enum Mode {
  ModePeriods = 0,
  ModeCategories = 1,
  ModeByDate = 2,
  ModeYearInReview = 3,
  ModeFirsts = 4,
  ModeOnThisDay = 5,
  ModeSmartSearch = 6,
  ModeBooleanSearch = 7,
  ModeContents = 8,
  ModeBookmarks = 9,
};

// One decoded 15-byte event record.
struct TimelineEvent {
  i16 startYear = 0;  // negative before the common era
  u8 startDay = 0;
  u8 startMonth = 0;  // 1-12
  i16 endYear = 0;
  u8 endDay = 0;
  u8 endMonth = 0;
  bool inReview = false;  // byte 8 bit 7
  u8 category = 0;        // byte 8 bits 0-6
  bool first = false;     // byte 9 bit 7
  u8 period = 0;          // byte 9 bits 0-6
  u8 issue = 0;           // byte 10
  u32 entry = 0;          // main-database entry number of the article
};

// A named list: names and their picture numbers, in file order.
struct NamedList {
  std::vector<CString> names;
  std::vector<u16> pictures;
  int GetCount() const { return static_cast<int>(pictures.size()); }
};

enum class TimelineError {
  None,
  CannotOpen,  // the file is missing or unreadable
  Damaged,     // the file ends before its counts say, or is too large
  NoMemory,    // the event block cannot be allocated
};

struct TimelineData {
  u16 modePictures[ModeCount] = {};  // as stored (file order)
  NamedList categories, periods, issues;
  std::vector<u8> events;  // E x 15 bytes, event k (1-based) at (k - 1) x 15
  int eventCount = 0;

  // The picture the screen shows for a mode (0-9); the file keeps them in the
  // order 0, 1, 2, 4, 5, 3, 7, 6, 8, 9.
  u16 ModePicture(int mode) const;
  // Event k, 1-based; k must lie in 1..eventCount.
  TimelineEvent Event(int k) const;
  void Clear();
};

// Parses a whole file image. On failure `out` is left empty.
TimelineError ParseTimeline(const u8* bytes, std::size_t size, TimelineData& out);
// Reads the file at `path`.
TimelineError ReadTimelineFile(const char* path, TimelineData& out);

// The fields of the search window that the filter reads.
struct FilterFields {
  int fromYear = 0;  // signed: negative before the common era
  int toYear = 0;
  int fromMonth = 1;  // 1-12
  int toMonth = 12;
  int listIndex = 0;  // the list selector's entry, 0 = "All"
  int day = 0;        // the day picker's entry, 0 = all days
};

// Whether event `e` matches the mode's filter.
bool EventMatches(const TimelineEvent& e, int mode, const FilterFields& fields);
// The numbers (1-based) of the events that match, in file order.
std::vector<int> FilterEvents(const TimelineData& data, int mode, const FilterFields& fields);
// A date range whose end lies before its start is refused.
bool IsDateRangeValid(const FilterFields& fields);
// The days the day picker offers for month m (0 = January); February has 29.
int DaysInMonth(int month);
// A year field: its leading decimal digits (none reads as 0), negated before
// the common era.
int ParseYear(const char* text, bool beforeCommonEra);

}  // namespace timeline
