#include "media/timeline/timeline_file.h"

#include <cstdlib>
#include <new>

#include "core/content_file.h"

namespace timeline {
namespace {

// The modes of the ten stored pictures, in file order.
constexpr int kStoredModeOrder[ModeCount] = {0, 1, 2, 4, 5, 3, 7, 6, 8, 9};
// A timeline of 65535 events with hundreds of named entries is about 1 MB; a
// larger file is taken as damaged rather than read into memory.
constexpr std::int64_t kMaxFileSize = 8 << 20;

class Cursor {
 public:
  Cursor(const u8* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
  bool U16(u16& value) {
    if (size_ - at_ < 2) return false;
    value = ContentU16(bytes_ + at_);
    at_ += 2;
    return true;
  }
  bool Take(std::size_t count, const u8*& start) {
    if (size_ - at_ < count) return false;
    start = bytes_ + at_;
    at_ += count;
    return true;
  }

 private:
  const u8* bytes_;
  std::size_t size_;
  std::size_t at_ = 0;
};

bool ReadList(Cursor& cursor, int count, NamedList& list) {
  for (int i = 0; i < count; ++i) {
    u16 picture = 0, length = 0;
    const u8* name = nullptr;
    if (!cursor.U16(picture) || !cursor.U16(length) || !cursor.Take(length, name)) return false;
    // Longer names keep their first 511 bytes, as the name buffer holds.
    const int kept = length > MaxNameLength ? static_cast<int>(MaxNameLength) : length;
    list.names.push_back(CString(reinterpret_cast<const char*>(name), kept));
    list.pictures.push_back(picture);
  }
  return true;
}

}  // namespace

u16 TimelineData::ModePicture(int mode) const {
  for (int i = 0; i < ModeCount; ++i)
    if (kStoredModeOrder[i] == mode) return modePictures[i];
  return 0;
}

TimelineEvent TimelineData::Event(int k) const {
  const u8* r = events.data() + static_cast<std::size_t>(k - 1) * EventSize;
  TimelineEvent e;
  e.startYear = static_cast<i16>(ContentU16(r));
  e.startDay = r[2];
  e.startMonth = r[3];
  e.endYear = static_cast<i16>(ContentU16(r + 4));
  e.endDay = r[6];
  e.endMonth = r[7];
  e.inReview = (r[8] & 0x80) != 0;
  e.category = r[8] & 0x7F;
  e.first = (r[9] & 0x80) != 0;
  e.period = r[9] & 0x7F;
  e.issue = r[10];
  e.entry = ContentU32(r + 11);
  return e;
}

void TimelineData::Clear() { *this = TimelineData(); }

TimelineError ParseTimeline(const u8* bytes, std::size_t size, TimelineData& out) {
  out.Clear();
  Cursor cursor(bytes, size);
  u16 counts[4] = {};
  for (u16& count : counts)
    if (!cursor.U16(count)) return TimelineError::Damaged;
  TimelineData data;
  for (u16& picture : data.modePictures)
    if (!cursor.U16(picture)) return TimelineError::Damaged;
  if (!ReadList(cursor, counts[0], data.categories) || !ReadList(cursor, counts[1], data.periods) ||
      !ReadList(cursor, counts[2], data.issues))
    return TimelineError::Damaged;
  const std::size_t blockSize = static_cast<std::size_t>(counts[3]) * EventSize;
  const u8* block = nullptr;
  if (!cursor.Take(blockSize, block)) return TimelineError::Damaged;
  try {
    data.events.assign(block, block + blockSize);
  } catch (const std::bad_alloc&) {
    return TimelineError::NoMemory;
  }
  data.eventCount = counts[3];
  out = std::move(data);
  return TimelineError::None;
}

TimelineError ReadTimelineFile(const char* path, TimelineData& out) {
  out.Clear();
  const ContentFile file = ContentOpen(path);
  if (file == NoContentFile) return TimelineError::CannotOpen;
  const std::int64_t size = ContentRemaining(file);
  if (size < 0) {
    ContentClose(file);
    return TimelineError::CannotOpen;
  }
  if (size > kMaxFileSize) {
    ContentClose(file);
    return TimelineError::Damaged;
  }
  std::vector<u8> image;
  try {
    image.resize(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    ContentClose(file);
    return TimelineError::NoMemory;
  }
  const bool read = image.empty() || ContentReadExact(file, image.data(), static_cast<u32>(image.size()));
  ContentClose(file);
  if (!read) return TimelineError::CannotOpen;
  return ParseTimeline(image.data(), image.size(), out);
}

bool EventMatches(const TimelineEvent& e, int mode, const FilterFields& f) {
  const int s = f.listIndex;
  switch (mode) {
    case ModePeriods: return s == 0 || e.period == s - 1;
    case ModeCategories: return s == 0 || e.category == s - 1;
    case ModeByDate: {
      const bool afterStart = e.startYear > f.fromYear || (e.startYear == f.fromYear && e.startMonth >= f.fromMonth);
      const bool beforeEnd = e.endYear < f.toYear || (e.endYear == f.toYear && e.endMonth <= f.toMonth);
      return afterStart && beforeEnd;
    }
    case ModeYearInReview: return e.inReview && (s == 0 || e.issue == s - 1);
    case ModeFirsts: return e.first;
    case ModeOnThisDay: return e.startMonth == f.fromMonth && (f.day == 0 || e.startDay == f.day);
    default: return false;
  }
}

std::vector<int> FilterEvents(const TimelineData& data, int mode, const FilterFields& fields) {
  std::vector<int> matches;
  for (int k = 1; k <= data.eventCount; ++k)
    if (EventMatches(data.Event(k), mode, fields)) matches.push_back(k);
  return matches;
}

bool IsDateRangeValid(const FilterFields& f) {
  return !(f.toYear < f.fromYear || (f.toYear == f.fromYear && f.toMonth < f.fromMonth));
}

int DaysInMonth(int month) {
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 0 && month < 12 ? kDays[month] : 31;
}

int ParseYear(const char* text, bool beforeCommonEra) {
  while (*text == ' ') ++text;
  int year = 0;
  // Five digits hold every year an i16 can store; more are ignored.
  for (int digits = 0; *text >= '0' && *text <= '9' && digits < 5; ++text, ++digits) year = year * 10 + (*text - '0');
  return beforeCommonEra ? -year : year;
}

}  // namespace timeline
