#include "library/calendar_timeline.h"

#include <algorithm>
#include <climits>
#include <set>
#include <tuple>

#include "library/linked_text.h"
#include "library/text_encoding.h"

namespace builder::library {

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// The eras up to 1500, then the centuries; the 20th century holds more than
// half of the events and is split at the end of the Second World War.
const std::vector<TimelinePeriod>& AllPeriods() {
  static const std::vector<TimelinePeriod> periods = {
      {"Before the Common Era", INT_MIN, -1},
      {"Antiquity", 1, 499},
      {"Middle Ages", 500, 1499},
      {"16th Century", 1500, 1599},
      {"17th Century", 1600, 1699},
      {"18th Century", 1700, 1799},
      {"19th Century", 1800, 1899},
      {"20th Century to 1945", 1900, 1945},
      {"20th Century after 1945", 1946, 1999},
      {"21st Century", 2000, INT_MAX},
  };
  return periods;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

bool IsWordCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || u >= 0xC0;
}

// Whether the text holds the word, in any case.
bool HasWord(const std::string& text, const std::string& word) {
  const std::string lower = Lower(text);
  for (std::size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
    const bool before = at == 0 || !IsWordCharacter(lower[at - 1]);
    const bool after = at + word.size() == lower.size() || !IsWordCharacter(lower[at + word.size()]);
    if (before && after) return true;
  }
  return false;
}

// The title: the year, then the text without its year clause, cut at a word
// before 200 characters.
std::string EventTitle(const std::string& text, const EventYear& year) {
  std::string rest = CollapseBlanks(text.substr(0, year.begin) + text.substr(year.end));
  while (!rest.empty() && (rest.back() == ',' || rest.back() == ' ')) rest.pop_back();
  constexpr std::size_t kLongest = 200;
  if (rest.size() > kLongest) {
    std::size_t cut = rest.rfind(' ', kLongest);
    if (cut == std::string::npos || cut < kLongest / 2) cut = kLongest;
    rest = rest.substr(0, cut) + "...";
  }
  return YearText(year.year) + ": " + rest;
}

void LeaveOut(CalendarTimeline& timeline, const std::string& reason, const CalendarEvent& event) {
  timeline.leftOut[reason].push_back({event.file, event.line, event.text, reason});
}

std::string DateText(const DatedEvent& event) {
  return std::string(kMonthNames[event.source.month - 1]) + " " + std::to_string(event.source.day) + ", " +
         YearText(event.year);
}

// Words too common to lead anywhere worth going.
const std::set<std::string>& CommonWords() {
  static const std::set<std::string> words = {
      "about",    "after",    "again",     "against",  "along",      "among",   "anniversary", "another",  "around",
      "become",   "becomes",  "before",    "began",    "begins",     "being",   "birth",       "birthday", "born",
      "called",   "comes",    "could",     "death",    "dies",       "during",  "early",       "every",    "first",
      "founded",  "great",    "their",     "there",    "these",      "those",   "three",       "through",  "today",
      "under",    "until",    "united",    "where",    "which",      "while",   "world",       "would",    "years",
      "without",  "within",   "second",    "other",    "others",     "later",   "makes",       "named",    "number",
      "people",   "place",    "states",    "takes",    "things",     "third",   "times",       "since",    "still",
      "begun",    "becoming", "national",  "official", "officially", "opens",   "starts",      "never",    "perform",
      "performs", "premiere", "premieres", "released", "record",     "records", "dedicated",   "declared", "elected",
  };
  return words;
}

struct Word {
  std::size_t begin = 0, end = 0;
};

// Runs of letters and digits, with the '-', '&', '.' and apostrophe inside
// a name ("AT&T", "U.S.", "Rock-and-roll") kept in it.
std::vector<Word> Words(const std::string& text) {
  std::vector<Word> words;
  for (std::size_t i = 0; i < text.size();) {
    if (!IsWordCharacter(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() &&
           (IsWordCharacter(text[end]) || (std::string("-&.'").find(text[end]) != std::string::npos &&
                                           end + 1 < text.size() && IsWordCharacter(text[end + 1]))))
      ++end;
    words.push_back({i, end});
    i = end;
  }
  return words;
}

}  // namespace

const std::vector<TimelineSource>& TimelineSources() {
  static const std::vector<TimelineSource> sources = {
      {"calendar.history", "History"}, {"calendar.computer", "Computing"}, {"calendar.birthday", "Births and Deaths"},
      {"calendar.music", "Music"},     {"calendar.debian", "Debian"},      {"calendar.eu", "European Union"},
      {"calendar.belgium", "Belgium"}, {"calendar.holiday", "Holidays"},
  };
  return sources;
}

std::string YearText(int year) { return year < 0 ? std::to_string(-year) + " BC" : std::to_string(year); }

CalendarTimeline MakeCalendarTimeline(const std::vector<std::pair<CalendarFile, std::string>>& files) {
  CalendarTimeline timeline;
  std::set<std::tuple<int, int, int, std::string>> seen;
  for (const auto& [file, category] : files) {
    timeline.read += static_cast<std::uint32_t>(file.events.size() + file.unread.size());
    for (const CalendarLine& line : file.unread) timeline.leftOut[line.reason].push_back(line);
    const bool roomForIt = timeline.categories.size() < kMostTimelineCategories;
    if (!roomForIt && !file.events.empty())
      timeline.notes.push_back("the events of " + file.events[0].file +
                               " are left out: the timeline holds 128 categories");
    if (roomForIt) timeline.categories.push_back(category);
    for (const CalendarEvent& event : file.events) {
      const std::optional<EventYear> year = FindEventYear(event.text);
      if (!year) {
        LeaveOut(timeline, "no year", event);
      } else if (!roomForIt) {
        LeaveOut(timeline, "past the 128 categories the timeline holds", event);
      } else if (!seen.emplace(year->year, event.month, event.day, Lower(event.text)).second) {
        LeaveOut(timeline, "the same event again", event);
      } else {
        DatedEvent dated;
        dated.source = event;
        dated.year = year->year;
        dated.title = EventTitle(event.text, *year);
        dated.category = static_cast<unsigned>(timeline.categories.size() - 1);
        dated.first = HasWord(event.text, "first");
        timeline.events.push_back(std::move(dated));
      }
    }
  }
  std::stable_sort(timeline.events.begin(), timeline.events.end(), [](const DatedEvent& a, const DatedEvent& b) {
    return std::tie(a.year, a.source.month, a.source.day, a.category) <
           std::tie(b.year, b.source.month, b.source.day, b.category);
  });
  if (timeline.events.size() > kMostTimelineEvents)
    timeline.notes.push_back("the last " + std::to_string(timeline.events.size() - kMostTimelineEvents) +
                             " events are left out: the timeline holds 65,535");
  while (timeline.events.size() > kMostTimelineEvents) {
    LeaveOut(timeline, "past the 65,535 events the timeline holds", timeline.events.back().source);
    timeline.events.pop_back();
  }

  // Periods: those of the table that hold events.
  std::vector<int> periodOf(AllPeriods().size(), -1);
  for (const DatedEvent& event : timeline.events)
    for (std::size_t p = 0; p < AllPeriods().size(); ++p)
      if (event.year >= AllPeriods()[p].first && event.year <= AllPeriods()[p].last && periodOf[p] < 0) {
        periodOf[p] = 0;
      }
  for (std::size_t p = 0; p < AllPeriods().size(); ++p)
    if (periodOf[p] == 0) {
      periodOf[p] = static_cast<int>(timeline.periods.size());
      timeline.periods.push_back(AllPeriods()[p]);
    }
  for (DatedEvent& event : timeline.events)
    for (std::size_t p = 0; p < AllPeriods().size(); ++p)
      if (event.year >= AllPeriods()[p].first && event.year <= AllPeriods()[p].last)
        event.period = static_cast<unsigned>(periodOf[p]);

  // Issues: the crowded years, the most crowded when there are more than an
  // issue index can number.
  std::map<int, std::size_t> perYear;
  for (const DatedEvent& event : timeline.events) ++perYear[event.year];
  std::vector<std::pair<int, std::size_t>> crowded;
  for (const auto& [year, count] : perYear)
    if (count >= kEventsOfAnIssue) crowded.emplace_back(year, count);
  std::stable_sort(crowded.begin(), crowded.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  if (crowded.size() > kMostTimelineIssues) {
    timeline.notes.push_back("year-in-review issues held at 256: " +
                             std::to_string(crowded.size() - kMostTimelineIssues) + " crowded years left without one");
    crowded.resize(kMostTimelineIssues);
  }
  for (const auto& [year, count] : crowded) timeline.issues.push_back(year);
  std::sort(timeline.issues.begin(), timeline.issues.end());
  for (DatedEvent& event : timeline.events) {
    const auto found = std::find(timeline.issues.begin(), timeline.issues.end(), event.year);
    if (found != timeline.issues.end()) event.issue = static_cast<int>(found - timeline.issues.begin());
  }

  // Two events of one year and text (a file that gives a birth twice, on two
  // days) are told apart by their dates.
  std::map<std::string, std::size_t> titles;
  for (const DatedEvent& event : timeline.events) ++titles[event.title];
  for (DatedEvent& event : timeline.events)
    if (titles[event.title] > 1)
      event.title +=
          " (" + std::string(kMonthNames[event.source.month - 1]) + " " + std::to_string(event.source.day) + ")";
  return timeline;
}

CalendarTimeline ReadCalendarTimeline(const std::string& directory) {
  std::vector<std::pair<CalendarFile, std::string>> files;
  for (const TimelineSource& source : TimelineSources())
    files.emplace_back(ReadCalendarFile(directory, source.file), source.category);
  return MakeCalendarTimeline(files);
}

std::vector<EventLink> FindEventLinks(const std::string& text, bool computing, const EntryLookup& lookup) {
  const std::vector<Word> words = Words(text);
  struct Candidate {
    EventLink link;
    std::size_t words = 0;
    bool name = false;
  };
  std::vector<Candidate> candidates;
  for (std::size_t first = 0; first < words.size(); ++first) {
    for (std::size_t count = std::min<std::size_t>(4, words.size() - first); count >= 1; --count) {
      const std::size_t begin = words[first].begin, end = words[first + count - 1].end;
      // The words of a name stand one blank apart.
      bool joined = true;
      for (std::size_t w = first; w + 1 < first + count; ++w)
        joined = joined && words[w + 1].begin == words[w].end + 1 && text[words[w].end] == ' ';
      if (!joined) continue;
      const std::string phrase = text.substr(begin, end - begin);
      const bool capital = phrase[0] >= 'A' && phrase[0] <= 'Z';
      const bool digits = std::all_of(phrase.begin(), phrase.end(), [](char c) { return c >= '0' && c <= '9'; });
      std::uint32_t entry = 0;
      if (count > 1) {
        entry = lookup.article(phrase, true);
        if (!entry) entry = lookup.dictionary(phrase, true);
      } else if (!digits && !CommonWords().count(Lower(phrase))) {
        // A name leads to the encyclopedia's article of its own spelling
        // ("IBM", "Unix"), never to the dictionary, whose headwords all start
        // with a capital ("Hector" is a verb there). A plain word of five
        // letters or more leads to the dictionary's entry, or, in the
        // computing events, to an article. The first word of the text is a
        // plain word unless a name follows it ("Earth created", "Hector Berlioz").
        const bool nextIsName =
            first + 1 < words.size() && text[words[first + 1].begin] >= 'A' && text[words[first + 1].begin] <= 'Z';
        const bool name = capital && (first > 0 || nextIsName);
        if (name && phrase.size() >= 3) {  // "AM" or "US" may be anything
          entry = lookup.article(phrase, false);
        } else if (!name && phrase.size() >= 5) {
          if (computing) entry = lookup.article(phrase, true);
          if (!entry) entry = lookup.dictionary(phrase, true);
        }
      }
      if (entry) candidates.push_back({{begin, end, entry}, count, capital});
    }
  }
  // The longest names first, then names, then the longest words; no two
  // links overlap or lead to one entry.
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    if (a.words != b.words) return a.words > b.words;
    if (a.name != b.name) return a.name;
    return a.link.end - a.link.begin > b.link.end - b.link.begin;
  });
  std::vector<EventLink> links;
  for (const Candidate& candidate : candidates) {
    if (links.size() == 4) break;
    const bool taken = std::any_of(links.begin(), links.end(), [&](const EventLink& link) {
      return link.entry == candidate.link.entry || (candidate.link.begin < link.end && link.begin < candidate.link.end);
    });
    if (!taken) links.push_back(candidate.link);
  }
  std::sort(links.begin(), links.end(), [](const EventLink& a, const EventLink& b) { return a.begin < b.begin; });
  return links;
}

std::string EventArticleText(const DatedEvent& event, const CalendarTimeline& timeline,
                             const std::vector<EventLink>& links) {
  const std::string& text = event.source.text;
  std::string body;
  std::size_t at = 0;
  for (const EventLink& link : links) {
    body += EscapeTagged(text.substr(at, link.begin - at));
    body += CrossReference(text.substr(link.begin, link.end - link.begin), link.entry);
    at = link.end;
  }
  body += EscapeTagged(text.substr(at));
  std::string place =
      "Category: " + timeline.categories[event.category] + ". Period: " + timeline.periods[event.period].name + ".";
  if (event.first) place += " A first.";
  if (event.issue >= 0) place += " In the year in review of " + YearText(timeline.issues[event.issue]) + ".";
  return EscapeTagged(event.title) + "\n<I>" + DateText(event) + "</I>\n\n" + body + "\n\n" + EscapeTagged(place) +
         "\n<I>From " + EscapeTagged(event.source.file) + " of Debian's calendar package.</I>";
}

}  // namespace builder::library
