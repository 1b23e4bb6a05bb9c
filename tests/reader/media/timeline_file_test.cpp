// The timeline file as the content builder writes it, read back, and the
// event filters of the timeline's search window.
#include "media/timeline/timeline_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"
#include "timeline/timeline_writer.h"

namespace {

namespace bt = builder::timeline;
using timeline::FilterFields;
using timeline::TimelineData;
using timeline::TimelineError;

std::string Text(const builder::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TimelineData Parse(const builder::Bytes& bytes, TimelineError expected = TimelineError::None) {
  TimelineData data;
  EXPECT_EQ(timeline::ParseTimeline(bytes.data(), bytes.size(), data), expected);
  return data;
}

bt::Event Dated(std::int16_t startYear, std::uint8_t startMonth, std::int16_t endYear, std::uint8_t endMonth,
                std::uint8_t startDay = 1) {
  bt::Event e;
  e.startYear = startYear;
  e.startMonth = startMonth;
  e.startDay = startDay;
  e.endYear = endYear;
  e.endMonth = endMonth;
  return e;
}

TEST(TimelineFile, SampleReadsBackFromTheDataDirectory) {
  TempDir dir;
  bt::WriteTimelineSample(dir.path());
  TimelineData data;
  ASSERT_EQ(timeline::ReadTimelineFile(dir.File("Timeline.bin").c_str(), data), TimelineError::None);
  const bt::Timeline sample = bt::SampleTimeline();
  ASSERT_EQ(data.eventCount, static_cast<int>(sample.events.size()));
  ASSERT_EQ(data.categories.GetCount(), static_cast<int>(sample.categories.size()));
  EXPECT_STREQ(data.periods.names[1], sample.periods[1].name.c_str());
  EXPECT_EQ(data.issues.pictures[1], sample.issues[1].picture);
  const timeline::TimelineEvent last = data.Event(data.eventCount);
  EXPECT_EQ(last.entry, sample.events.back().entry);
  EXPECT_EQ(last.endYear, sample.events.back().endYear);

  EXPECT_EQ(timeline::ReadTimelineFile(dir.File("Missing.bin").c_str(), data), TimelineError::CannotOpen);
  EXPECT_EQ(data.eventCount, 0);
}

TEST(TimelineFile, ModePicturesAreStoredOutOfModeOrder) {
  bt::Timeline t;
  for (int mode = 0; mode < 10; ++mode)
    t.modePictures[static_cast<std::size_t>(mode)] = static_cast<std::uint16_t>(100 + mode);
  const builder::Bytes bytes = bt::TimelineFile(t);
  // The fourth stored word is the Firsts picture, the sixth the Year In Review picture.
  EXPECT_EQ(bytes[8 + 2 * 3], 104);
  EXPECT_EQ(bytes[8 + 2 * 5], 103);
  const TimelineData data = Parse(bytes);
  for (int mode = 0; mode < 10; ++mode) EXPECT_EQ(data.ModePicture(mode), 100 + mode) << mode;
}

TEST(TimelineFile, FlagBytesSplitIntoTheirFields) {
  bt::Timeline t;
  t.events.push_back(Dated(-44, 3, 1997, 12));
  builder::Bytes bytes = bt::TimelineFile(t);
  const std::size_t record = timeline::HeaderSize;
  bytes[record + 8] = 0x85;
  bytes[record + 9] = 0x80;
  bytes[record + 10] = 7;
  const timeline::TimelineEvent e = Parse(bytes).Event(1);
  EXPECT_TRUE(e.inReview);
  EXPECT_EQ(e.category, 5);
  EXPECT_TRUE(e.first);
  EXPECT_EQ(e.period, 0);
  EXPECT_EQ(e.issue, 7);
  EXPECT_EQ(e.startYear, -44);
  EXPECT_EQ(e.endYear, 1997);
}

TEST(TimelineFile, EveryTruncationIsReportedAsDamaged) {
  const builder::Bytes whole = bt::TimelineFile(bt::SampleTimeline());
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const builder::Bytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    TimelineData data;
    ASSERT_EQ(timeline::ParseTimeline(cut.data(), cut.size(), data), TimelineError::Damaged) << size;
    EXPECT_EQ(data.eventCount, 0);
    EXPECT_EQ(data.categories.GetCount(), 0);
  }
  // A count that promises more events than the file holds.
  builder::Bytes more = whole;
  more[6] = static_cast<std::uint8_t>(more[6] + 1);
  Parse(more, TimelineError::Damaged);

  TempDir dir;
  const std::string path = dir.Write("Timeline.bin", Text(builder::Bytes(whole.begin(), whole.end() - 3)));
  TimelineData data;
  EXPECT_EQ(timeline::ReadTimelineFile(path.c_str(), data), TimelineError::Damaged);
}

TEST(TimelineFile, OverlongNameKeepsItsFirst511BytesAndTheRestOfTheList) {
  bt::Timeline t;
  t.categories = {{1, std::string(600, 'x')}, {2, "Science"}};
  const TimelineData data = Parse(bt::TimelineFile(t));
  ASSERT_EQ(data.categories.GetCount(), 2);
  EXPECT_EQ(data.categories.names[0].GetLength(), 511);
  EXPECT_STREQ(data.categories.names[1], "Science");
  EXPECT_EQ(data.categories.pictures[1], 2);
}

class TimelineFilter : public testing::Test {
 protected:
  void SetUp() override {
    bt::Timeline t;
    t.categories = {{0, "A"}, {0, "B"}};
    t.periods = {{0, "P0"}, {0, "P1"}};
    t.issues = {{0, "I0"}, {0, "I1"}};
    t.events = {
        Dated(1996, 1, 1997, 12),     // 1: inside the default range
        Dated(1995, 12, 1997, 1),     // 2: starts too early
        Dated(1996, 6, 1998, 1),      // 3: ends too late
        Dated(-44, 3, -44, 3, 15),    // 4: 44 BC, 15 March
        Dated(1990, 3, 1990, 3, 1),   // 5: March 1990
        Dated(2000, 2, 2000, 2, 29),  // 6: 29 February
    };
    t.events[0].category = 1;
    t.events[0].period = 1;
    t.events[2].inReview = true;
    t.events[2].issue = 1;
    t.events[3].inReview = true;
    t.events[4].first = true;
    data = Parse(bt::TimelineFile(t));
  }
  std::vector<int> Filter(int mode, const FilterFields& fields) const {
    return timeline::FilterEvents(data, mode, fields);
  }
  TimelineData data;
};

TEST_F(TimelineFilter, DateRangesCompareYearsAndMonthsNotDays) {
  FilterFields f;
  f.fromYear = 1996;
  f.toYear = 1997;
  EXPECT_EQ(Filter(timeline::ModeByDate, f), std::vector<int>({1}));
  // 50 BC to 10 AD holds the event of 44 BC.
  f.fromYear = timeline::ParseYear("50", true);
  f.toYear = timeline::ParseYear("10", false);
  EXPECT_EQ(f.fromYear, -50);
  EXPECT_EQ(Filter(timeline::ModeByDate, f), std::vector<int>({4}));
  // Equal years and months are a valid range; an earlier end is not.
  f.fromYear = f.toYear = 1990;
  f.fromMonth = f.toMonth = 3;
  EXPECT_TRUE(timeline::IsDateRangeValid(f));
  EXPECT_EQ(Filter(timeline::ModeByDate, f), std::vector<int>({5}));
  f.toMonth = 2;
  EXPECT_FALSE(timeline::IsDateRangeValid(f));
  f.toYear = 1989;
  f.toMonth = 12;
  EXPECT_FALSE(timeline::IsDateRangeValid(f));
  EXPECT_EQ(timeline::ParseYear("", false), 0);
  EXPECT_EQ(timeline::ParseYear("abc", true), 0);
  EXPECT_EQ(timeline::ParseYear("1996x", false), 1996);
}

TEST_F(TimelineFilter, ListModesMatchTheirIndexOrAll) {
  FilterFields f;
  EXPECT_EQ(Filter(timeline::ModePeriods, f).size(), 6u);
  EXPECT_EQ(Filter(timeline::ModeCategories, f).size(), 6u);
  f.listIndex = 2;
  EXPECT_EQ(Filter(timeline::ModePeriods, f), std::vector<int>({1}));
  EXPECT_EQ(Filter(timeline::ModeCategories, f), std::vector<int>({1}));
  EXPECT_EQ(Filter(timeline::ModeYearInReview, f), std::vector<int>({3}));
  f.listIndex = 0;
  EXPECT_EQ(Filter(timeline::ModeYearInReview, f), std::vector<int>({3, 4}));
  EXPECT_EQ(Filter(timeline::ModeFirsts, f), std::vector<int>({5}));
  EXPECT_TRUE(Filter(timeline::ModeSmartSearch, f).empty());
}

TEST_F(TimelineFilter, OnThisDayMatchesTheMonthAndTheChosenDay) {
  FilterFields f;
  f.fromMonth = 3;
  EXPECT_EQ(Filter(timeline::ModeOnThisDay, f), std::vector<int>({4, 5}));
  f.day = 15;
  EXPECT_EQ(Filter(timeline::ModeOnThisDay, f), std::vector<int>({4}));
  f.fromMonth = 2;
  f.day = timeline::DaysInMonth(1);
  EXPECT_EQ(f.day, 29);
  EXPECT_EQ(Filter(timeline::ModeOnThisDay, f), std::vector<int>({6}));
  EXPECT_EQ(timeline::DaysInMonth(3), 30);
  EXPECT_EQ(timeline::DaysInMonth(5), 30);
  EXPECT_EQ(timeline::DaysInMonth(11), 31);
}

}  // namespace
