#include "library/library_timeline.h"

#include <memory>
#include <stdexcept>
#include <utility>

#include "library/text_encoding.h"
#include "timeline/timeline_writer.h"

namespace builder::library {

namespace {

// A list entry's name is read into a 512-byte buffer and ended there.
constexpr std::size_t kLongestListName = 511;

std::string PictureTitle(const TimelinePicture& picture) {
  switch (picture.role) {
    case TimelinePicture::Role::Mode: return "Timeline picture: " + picture.name;
    case TimelinePicture::Role::Category: return "Timeline picture of the category " + picture.name;
    case TimelinePicture::Role::Period: return "Timeline picture of the period " + picture.name;
    case TimelinePicture::Role::Issue: return "Timeline picture of the year " + picture.name;
  }
  return picture.name;
}

timeline::ListEntry Entry(const std::string& name, std::uint16_t picture) {
  if (name.size() > kLongestListName) throw std::logic_error("timeline list name above 511 bytes: " + name);
  return {picture, name};
}

}  // namespace

LibraryTimeline::LibraryTimeline(CalendarTimeline timeline)
    : timeline_(std::move(timeline)), pictures_(DrawTimelinePictures(timeline_)) {}

std::vector<std::string> LibraryTimeline::Titles() const {
  std::vector<std::string> titles;
  for (const DatedEvent& event : timeline_.events) titles.push_back(event.title);
  for (const TimelinePicture& picture : pictures_) titles.push_back(PictureTitle(picture));
  return titles;
}

void LibraryTimeline::AddTo(ExtraContent& content, const std::vector<std::uint32_t>& entries,
                            const EntryLookup& lookup) const {
  const std::size_t events = timeline_.events.size();
  for (std::size_t i = 0; i < events; ++i) {
    const DatedEvent& event = timeline_.events[i];
    const bool computing =
        timeline_.categories[event.category] == "Computing" || timeline_.categories[event.category] == "Debian";
    const std::vector<EventLink> links = FindEventLinks(event.source.text, computing, lookup);
    ExtraArticle article;
    article.title = event.title;
    article.text = EventArticleText(event, timeline_, links);
    article.timeline = true;
    for (const EventLink& link : links) article.related.push_back(link.entry);
    content.articles.push_back(std::move(article));
  }
  for (const TimelinePicture& picture : pictures_) {
    ExtraArticle article;
    article.title = PictureTitle(picture);
    article.text = EscapeTagged(article.title) + "\nA picture the timeline shows: " + EscapeTagged(picture.name) + ".";
    article.picture = picture.drawn.picture;
    article.regions = picture.drawn.regions;
    content.articles.push_back(std::move(article));
  }

  // The file: events by their entries, pictures by the media items their
  // owners' entries get once the whole set is numbered.
  struct Owner {
    TimelinePicture::Role role;
    unsigned index;
    std::string name;
    std::uint32_t entry;
  };
  std::vector<Owner> owners;
  for (std::size_t p = 0; p < pictures_.size(); ++p)
    owners.push_back({pictures_[p].role, pictures_[p].index, pictures_[p].name, entries[events + p]});
  const auto source = std::make_shared<const CalendarTimeline>(timeline_);
  const std::vector<std::uint32_t> eventEntries(entries.begin(), entries.begin() + static_cast<long>(events));
  content.files["Timeline.bin"] = [source, eventEntries, owners](const ContentSample& sample) {
    timeline::Timeline file;
    file.categories.resize(source->categories.size());
    file.periods.resize(source->periods.size());
    file.issues.resize(source->issues.size());
    for (const Owner& owner : owners) {
      const std::uint16_t item = MediaItemOf(sample, owner.entry);
      switch (owner.role) {
        case TimelinePicture::Role::Mode: file.modePictures[owner.index] = item; break;
        case TimelinePicture::Role::Category: file.categories[owner.index] = Entry(owner.name, item); break;
        case TimelinePicture::Role::Period: file.periods[owner.index] = Entry(owner.name, item); break;
        case TimelinePicture::Role::Issue: file.issues[owner.index] = Entry(owner.name, item); break;
      }
    }
    for (std::size_t i = 0; i < source->events.size(); ++i) {
      const DatedEvent& e = source->events[i];
      timeline::Event event;
      event.startYear = event.endYear = static_cast<std::int16_t>(e.year);
      event.startDay = event.endDay = e.source.day;
      event.startMonth = event.endMonth = e.source.month;
      event.category = static_cast<std::uint8_t>(e.category);
      event.period = static_cast<std::uint8_t>(e.period);
      event.first = e.first;
      event.inReview = e.issue >= 0;
      event.issue = static_cast<std::uint8_t>(e.issue >= 0 ? e.issue : 0);
      event.entry = eventEntries[i];
      file.events.push_back(event);
    }
    return timeline::TimelineFile(file);
  };
}

}  // namespace builder::library
