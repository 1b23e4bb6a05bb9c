#include "timeline/timeline_writer.h"

#include <stdexcept>

#include "content/sample_content.h"

namespace builder::timeline {
namespace {

constexpr int kStoredModeOrder[10] = {0, 1, 2, 4, 5, 3, 7, 6, 8, 9};

void List(ByteWriter& out, const std::vector<ListEntry>& list) {
  for (const ListEntry& entry : list) {
    out.U16le(entry.picture);
    out.U16le(static_cast<std::uint32_t>(entry.name.size()));
    out.Append(entry.name);
  }
}

}  // namespace

Bytes TimelineFile(const Timeline& timeline) {
  for (const auto* list : {&timeline.categories, &timeline.periods, &timeline.issues}) {
    if (list->size() > 0xFFFF) throw std::invalid_argument("timeline list above 65535 entries");
    for (const ListEntry& entry : *list)
      if (entry.name.size() > 0xFFFF) throw std::invalid_argument("timeline list name too long");
  }
  if (timeline.events.size() > 0xFFFF) throw std::invalid_argument("timeline above 65535 events");
  ByteWriter out;
  out.U16le(static_cast<std::uint32_t>(timeline.categories.size()));
  out.U16le(static_cast<std::uint32_t>(timeline.periods.size()));
  out.U16le(static_cast<std::uint32_t>(timeline.issues.size()));
  out.U16le(static_cast<std::uint32_t>(timeline.events.size()));
  for (int mode : kStoredModeOrder) out.U16le(timeline.modePictures[static_cast<std::size_t>(mode)]);
  List(out, timeline.categories);
  List(out, timeline.periods);
  List(out, timeline.issues);
  for (const Event& e : timeline.events) {
    if (e.category > 0x7F || e.period > 0x7F) throw std::invalid_argument("timeline index above 127");
    out.U16le(static_cast<std::uint16_t>(e.startYear));
    out.U8(e.startDay);
    out.U8(e.startMonth);
    out.U16le(static_cast<std::uint16_t>(e.endYear));
    out.U8(e.endDay);
    out.U8(e.endMonth);
    out.U8((e.inReview ? 0x80u : 0u) | e.category);
    out.U8((e.first ? 0x80u : 0u) | e.period);
    out.U8(e.issue);
    out.U32le(e.entry);
  }
  return out.take();
}

Timeline SampleTimeline() {
  const ContentSample content = BuildContentSample();
  auto entry = [&](const std::string& title) { return MainEntryOf(content, title); };
  Timeline t;
  // The media items 0 (a plain picture) and 3 (a picture with hot spots).
  t.modePictures = {0, 3, 0, 0, 0, 0, 0, 0, 0, 0};
  t.categories = {{0, "History"}, {3, "Science"}, {0, "Music"}};
  t.periods = {{0, "Ancient World"}, {0, "Early Modern"}, {3, "Modern"}};
  t.issues = {{0, "1996"}, {3, "1997"}};
  // startYear, day, month, endYear, day, month, review, category, first, period, issue, entry
  t.events = {
      {-3100, 1, 1, -30, 12, 8, false, 0, true, 0, 0, entry("Ancient Egypt")},
      {-44, 15, 3, -44, 15, 3, false, 0, false, 0, 0, entry("Astronomy")},
      {1509, 21, 4, 1547, 28, 1, false, 0, false, 1, 0, entry("Henry VIII")},
      {1802, 17, 2, 1802, 17, 2, false, 2, true, 2, 0, entry("Beethoven, Ludwig van")},
      {1955, 12, 4, 1955, 12, 4, false, 2, false, 2, 0, entry("Rock & Roll")},
      {1996, 2, 7, 1996, 30, 7, true, 1, false, 2, 0, entry("Volcano")},
      {1997, 22, 3, 1997, 1, 4, true, 1, true, 2, 1, entry("Comet")},
      {1997, 4, 7, 1998, 10, 3, true, 1, false, 2, 1, entry("Solar System")},
  };
  return t;
}

void WriteTimelineSample(const std::string& directory) {
  WriteFileAtomically(JoinPath(directory, "Timeline.bin"),
                      ExtraFileOr("Timeline.bin", [] { return TimelineFile(SampleTimeline()); }));
}

}  // namespace builder::timeline
