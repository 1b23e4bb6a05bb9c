#include "library/timeline_pictures.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <stdexcept>

#include "image.h"
#include "reader/picture_regions.h"

namespace builder::library {

namespace {

using bmpgen::Image;
using bmpgen::Mix;
using bmpgen::Rgb;

// The picture pane of the screen in its window's first size shows it whole.
constexpr int kWidth = 400, kHeight = 160;
constexpr int kHeader = 30;
constexpr Rgb kInk = 0x2A2620, kHeaderBand = 0x23395B, kHeaderText = 0xFFFFFF, kSubtitle = 0xC8D4E8;
constexpr Rgb kMark = 0xE8B030;  // the frame of a chosen entry
// One colour for each entry of a list, in turn.
constexpr Rgb kEntryColours[10] = {0x8C3B3B, 0x3B6E8C, 0x5E7E2E, 0x9A6A2A, 0x5C3B8C,
                                   0x2E8070, 0x8C3B6E, 0x6E6E30, 0x3B4A8C, 0x7A4A30};

// The text as the 5 x 7 font writes it: upper case, what it lacks a blank.
std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text) {
    const std::string one(1, c);
    out += Image::CanWrite(one) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : ' ';
  }
  return out;
}

// The words of the text in lines of at most `width` pixels.
std::vector<std::string> Wrap(const std::string& text, int width, int scale) {
  std::vector<std::string> lines;
  std::string line, word;
  const auto flush = [&] {
    if (word.empty()) return;
    const std::string longer = line.empty() ? word : line + " " + word;
    if (!line.empty() && Image::TextWidth(longer, scale) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
    word.clear();
  };
  for (char c : Printable(text) + " ") {
    if (c == ' ')
      flush();
    else
      word += c;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Lines of text centred in the box, each `scale` x 9 pixels apart.
void Lines(Image& image, int x, int y, int w, int h, const std::vector<std::string>& lines, Rgb colour, int scale) {
  const int lineHeight = 9 * scale;
  const int top = y + (h - static_cast<int>(lines.size()) * lineHeight) / 2;
  for (std::size_t i = 0; i < lines.size(); ++i)
    image.Text(x, top + static_cast<int>(i) * lineHeight, w, lineHeight, lines[i], colour, scale);
}

// The largest scale (at most `most`) at which the text fits the box in lines.
int FittingScale(const std::string& text, int w, int h, int most) {
  for (int scale = most; scale > 1; --scale) {
    const std::vector<std::string> lines = Wrap(text, w, scale);
    bool fits = static_cast<int>(lines.size()) * 9 * scale <= h;
    for (const std::string& line : lines) fits = fits && Image::TextWidth(line, scale) <= w;
    if (fits) return scale;
  }
  return 1;
}

void TextIn(Image& image, int x, int y, int w, int h, const std::string& text, Rgb colour, int most) {
  const int scale = FittingScale(text, w, h, most);
  Lines(image, x, y, w, h, Wrap(text, w, scale), colour, scale);
}

// The picture's ground: a soft paper gradient under a dark header with the
// title and a line that says what the picture shows.
Image Ground(const std::string& title, const std::string& subtitle) {
  Image image(kWidth, kHeight);
  constexpr int bands = 24;
  for (int band = 0; band < bands; ++band) {
    const int top = kHeader + (kHeight - kHeader) * band / bands;
    const int bottom = kHeader + (kHeight - kHeader) * (band + 1) / bands;
    image.Fill(0, top, kWidth, bottom - top, Mix(0xF6F0E0, 0xDCCFAE, band, bands - 1));
  }
  image.Fill(0, 0, kWidth, kHeader, kHeaderBand);
  image.Fill(0, kHeader - 3, kWidth, 3, kMark);
  image.Text(8, 4, Image::TextWidth(Printable(title), 2), 14, Printable(title), kHeaderText, 2);
  const std::string below = Printable(subtitle);
  image.Text(kWidth - 8 - Image::TextWidth(below, 1), 9, Image::TextWidth(below, 1), 7, below, kSubtitle, 1);
  return image;
}

// A raised tile in the entry's colour; a chosen one in a gold frame.
void Tile(Image& image, int x, int y, int w, int h, Rgb colour, bool chosen) {
  if (chosen) {
    image.Fill(x - 5, y - 5, w + 10, h + 10, kMark);
    image.Fill(x - 2, y - 2, w + 4, h + 4, kInk);
  } else {
    image.Fill(x + 3, y + 3, w, h, Mix(0xDCCFAE, kInk, 1, 3));  // its shadow
  }
  image.Fill(x, y, w, h, colour);
  image.Fill(x, y, w, 2, Mix(colour, 0xFFFFFF, 1, 2));
  image.Fill(x, y, 2, h, Mix(colour, 0xFFFFFF, 1, 2));
  image.Fill(x, y + h - 2, w, 2, Mix(colour, 0x000000, 1, 2));
  image.Fill(x + w - 2, y, 2, h, Mix(colour, 0x000000, 1, 2));
}

HotSpotRecord Spot(std::uint16_t id, int x, int y, int w, int h, const std::string& label) {
  HotSpotRecord spot;
  spot.id = id;
  spot.label = label;
  const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
  spot.points = {{u(x), u(y)}, {u(x + w), u(y)}, {u(x + w), u(y + h)}, {u(x), u(y + h)}};
  return spot;
}

// The picture of the canvas: its colours become the palette.
DrawnPicture Record(const Image& image, const std::string& caption, const std::vector<HotSpotRecord>& spots) {
  Picture picture;
  picture.width = static_cast<std::uint16_t>(image.width());
  picture.height = static_cast<std::uint16_t>(image.height());
  picture.bitsPerPixel = 8;
  picture.caption = caption;
  std::map<Rgb, std::uint8_t> index;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const Rgb colour = image.At(x, y);
      auto found = index.find(colour);
      if (found == index.end()) {
        if (picture.colours.size() == 256) throw std::logic_error("a timeline picture of more than 256 colours");
        found = index.emplace(colour, static_cast<std::uint8_t>(picture.colours.size())).first;
        picture.colours.push_back(colour);
      }
      picture.pixels.push_back(found->second);
    }
  picture.colours.resize(256, 0);
  DrawnPicture drawn{picture, {}};
  if (!spots.empty()) {
    drawn.regions.kind = 3;
    drawn.regions.spots = spots;
  }
  return drawn;
}

std::string Count(std::size_t n, const std::string& what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "S");
}

std::string PeriodYears(const TimelinePeriod& period) {
  if (period.first == INT_MIN) return "BEFORE AD 1";
  if (period.last == INT_MAX) return "FROM " + std::to_string(period.first);
  return std::to_string(period.first) + "-" + std::to_string(period.last);
}

// The periods one after another, in two rows read as lines of text are.
DrawnPicture PeriodsPicture(const CalendarTimeline& t, int chosen) {
  Image image = Ground("Periods", chosen < 0 ? "Choose a period" : t.periods[static_cast<std::size_t>(chosen)].name);
  std::vector<std::size_t> counts(t.periods.size());
  for (const DatedEvent& e : t.events) ++counts[e.period];
  const int n = static_cast<int>(t.periods.size());
  const int perRow = std::max((n + 1) / 2, 1);
  const int left = 10, width = (kWidth - 2 * left) / perRow;
  const int top = kHeader + 10, rowHeight = (kHeight - top - 4) / 2;
  std::vector<HotSpotRecord> spots;
  for (int p = 0; p < n; ++p) {
    const TimelinePeriod& period = t.periods[static_cast<std::size_t>(p)];
    const int x = left + (p % perRow) * width + 3, y = top + (p / perRow) * rowHeight, w = width - 6, h = rowHeight - 8;
    // The way from one period to the next.
    if (p % perRow != perRow - 1 && p + 1 < n) image.Arrow(x + w, y + h / 2 - 4, 6, 8, "right", kInk);
    Tile(image, x, y, w, h, kEntryColours[p % 10], p == chosen);
    TextIn(image, x + 2, y + 2, w - 4, h - 22, period.name, 0xFFFFFF, 2);
    image.Text(x, y + h - 20, w, 9, PeriodYears(period), Mix(0xFFFFFF, kInk, 1, 5), 1);
    image.Text(x, y + h - 11, w, 9, Count(counts[static_cast<std::size_t>(p)], "EVENT"), Mix(0xFFFFFF, kInk, 1, 5), 1);
    spots.push_back(Spot(static_cast<std::uint16_t>(p), x, y, w, h, period.name));
  }
  return Record(image, chosen < 0 ? "The periods of the timeline" : t.periods[static_cast<std::size_t>(chosen)].name,
                spots);
}

// Tiles in a grid: the entries of a list, each with its count.
DrawnPicture GridPicture(const std::string& title, const std::string& subtitle, const std::vector<std::string>& names,
                         const std::vector<std::size_t>& counts, int chosen, const std::string& caption) {
  Image image = Ground(title, subtitle);
  const int n = static_cast<int>(names.size());
  int columns = 1;
  while (columns * columns < n * 2) ++columns;  // about 5:2, as the free area is
  columns = std::min(std::max(columns, std::min(n, 4)), std::max(n, 1));
  const int rows = (n + columns - 1) / std::max(columns, 1);
  const int left = 6, top = kHeader + 6, areaW = kWidth - 2 * left, areaH = kHeight - top - 4;
  const int cellW = areaW / columns, cellH = areaH / std::max(rows, 1);
  std::vector<HotSpotRecord> spots;
  for (int i = 0; i < n; ++i) {
    const int x = left + (i % columns) * cellW + 4, y = top + (i / columns) * cellH + 4;
    const int w = cellW - 8, h = cellH - 8;
    Tile(image, x, y, w, h, kEntryColours[i % 10], i == chosen);
    const int countHeight = h >= 30 ? 10 : 0;
    TextIn(image, x + 3, y + 2, w - 6, h - 4 - countHeight, names[static_cast<std::size_t>(i)], 0xFFFFFF, 3);
    if (countHeight)
      image.Text(x, y + h - 11, w, 9, Count(counts[static_cast<std::size_t>(i)], "EVENT"), Mix(0xFFFFFF, kInk, 1, 4),
                 1);
    spots.push_back(Spot(static_cast<std::uint16_t>(i), x, y, w, h, names[static_cast<std::size_t>(i)]));
  }
  return Record(image, caption, spots);
}

// Bars with their labels under them and their counts over them.
void Bars(Image& image, const std::vector<std::string>& labels, const std::vector<double>& heights,
          const std::vector<std::size_t>& counts) {
  const int n = static_cast<int>(labels.size());
  const int left = 10, bottom = kHeight - 14, top = kHeader + 16;
  const int width = (kWidth - 2 * left) / std::max(n, 1);
  double most = 0;
  for (double h : heights) most = std::max(most, h);
  image.Fill(left - 4, bottom, width * n + 8, 2, kInk);
  for (int i = 0; i < n; ++i) {
    const int h = most > 0 ? static_cast<int>((bottom - top) * heights[static_cast<std::size_t>(i)] / most) : 0;
    const int x = left + i * width + 2, w = width - 4;
    if (h > 0) Tile(image, x, bottom - h, w, h, kEntryColours[i % 10], false);
    image.Text(x - 4, bottom - h - 10, w + 8, 9, std::to_string(counts[static_cast<std::size_t>(i)]), kInk, 1);
    image.Text(x - 4, bottom + 3, w + 8, 9, Printable(labels[static_cast<std::size_t>(i)]), kInk, 1);
  }
}

DrawnPicture CenturiesPicture(const CalendarTimeline& t) {
  Image image = Ground("Search by date", "Events of each century");
  int lastCentury = 1;
  for (const DatedEvent& e : t.events) lastCentury = std::max(lastCentury, e.year > 0 ? (e.year - 1) / 100 + 1 : 1);
  std::vector<std::size_t> counts(static_cast<std::size_t>(lastCentury) + 1);
  for (const DatedEvent& e : t.events) ++counts[e.year < 0 ? 0 : static_cast<std::size_t>((e.year - 1) / 100 + 1)];
  std::vector<std::string> labels = {"BC"};
  std::vector<double> heights;
  for (int c = 1; c <= lastCentury; ++c) labels.push_back(std::to_string(c));
  // The square root, so that the few early events still show.
  for (std::size_t count : counts) heights.push_back(std::sqrt(static_cast<double>(count)));
  Bars(image, labels, heights, counts);
  return Record(image, "The events of each century", {});
}

DrawnPicture MonthsPicture(const CalendarTimeline& t) {
  Image image = Ground("On this day", "Events of each month");
  std::vector<std::size_t> counts(12);
  for (const DatedEvent& e : t.events) ++counts[e.source.month - 1u];
  const std::vector<std::string> labels = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                           "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  std::vector<double> heights(counts.begin(), counts.end());
  Bars(image, labels, heights, counts);
  return Record(image, "The events of each month", {});
}

DrawnPicture FirstsPicture(const CalendarTimeline& t) {
  Image image = Ground("Firsts", "The first of their kind");
  std::size_t firsts = 0;
  int earliest = INT_MAX, latest = INT_MIN;
  for (const DatedEvent& e : t.events)
    if (e.first) {
      ++firsts;
      earliest = std::min(earliest, e.year);
      latest = std::max(latest, e.year);
    }
  Tile(image, 40, kHeader + 20, 110, 90, kEntryColours[3], true);
  image.Text(40, kHeader + 20, 110, 90, "1ST", 0xFFFFFF, 5);
  image.Text(170, kHeader + 38, 220, 21, Count(firsts, "FIRST"), kInk, 3);
  if (firsts)
    image.Text(170, kHeader + 74, 220, 14,
               "FROM " + Printable(YearText(earliest)) + " TO " + Printable(YearText(latest)), kInk, 2);
  return Record(image, "The firsts of the timeline", {});
}

// A picture of a search or a list: a few large tiles with words.
DrawnPicture WordsPicture(const std::string& title, const std::string& subtitle, const std::vector<std::string>& words,
                          const std::string& caption) {
  Image image = Ground(title, subtitle);
  const int n = static_cast<int>(words.size());
  const int w = n > 1 ? 100 : 200, h = 80, gap = 20;
  const int left = (kWidth - n * w - (n - 1) * gap) / 2, top = kHeader + 25;
  for (int i = 0; i < n; ++i) {
    Tile(image, left + i * (w + gap), top, w, h, kEntryColours[(i * 3 + 1) % 10], false);
    TextIn(image, left + i * (w + gap) + 6, top + 6, w - 12, h - 12, words[static_cast<std::size_t>(i)], 0xFFFFFF, 4);
  }
  return Record(image, caption, {});
}

}  // namespace

std::vector<TimelinePicture> DrawTimelinePictures(const CalendarTimeline& t) {
  using Role = TimelinePicture::Role;
  std::vector<TimelinePicture> pictures;
  std::vector<std::size_t> perCategory(t.categories.size()), perIssue(t.issues.size());
  for (const DatedEvent& e : t.events) {
    ++perCategory[e.category];
    if (e.issue >= 0) ++perIssue[static_cast<std::size_t>(e.issue)];
  }
  std::vector<std::string> issueNames;
  for (int year : t.issues) issueNames.push_back(YearText(year));
  const auto categories = [&](int chosen) {
    return GridPicture("Categories",
                       chosen < 0 ? "Choose a category" : "Events of " + t.categories[static_cast<std::size_t>(chosen)],
                       t.categories, perCategory, chosen,
                       chosen < 0 ? "The categories of the timeline" : t.categories[static_cast<std::size_t>(chosen)]);
  };
  const auto issues = [&](int chosen) {
    return GridPicture(
        "Year in review",
        chosen < 0 ? "The years of the most events" : "The year " + issueNames[static_cast<std::size_t>(chosen)],
        issueNames, perIssue, chosen,
        chosen < 0 ? "The years in review" : issueNames[static_cast<std::size_t>(chosen)]);
  };
  // The modes in their numbers' order.
  pictures.push_back({Role::Mode, 0, "Periods", PeriodsPicture(t, -1)});
  pictures.push_back({Role::Mode, 1, "Categories", categories(-1)});
  pictures.push_back({Role::Mode, 2, "Search By Date", CenturiesPicture(t)});
  pictures.push_back({Role::Mode, 3, "Year In Review", issues(-1)});
  pictures.push_back({Role::Mode, 4, "Firsts", FirstsPicture(t)});
  pictures.push_back({Role::Mode, 5, "On This Day", MonthsPicture(t)});
  pictures.push_back({Role::Mode, 6, "Smart Search",
                      WordsPicture("Smart search", "Find events by their words", {"WHO", "WHAT", "WHERE"},
                                   "Smart search of the timeline")});
  pictures.push_back({Role::Mode, 7, "Boolean Search",
                      WordsPicture("Boolean search", "Words joined by and - or - not", {"AND", "OR", "NOT"},
                                   "Boolean search of the timeline")});
  pictures.push_back({Role::Mode, 8, "Contents",
                      WordsPicture("Contents", "The subjects of the library", {"A-Z"}, "The contents of the library")});
  pictures.push_back(
      {Role::Mode, 9, "Bookmarks",
       WordsPicture("Bookmarks", "The events in your folders", {"YOUR EVENTS"}, "The bookmarks of the timeline")});
  for (std::size_t i = 0; i < t.categories.size(); ++i)
    pictures.push_back({Role::Category, static_cast<unsigned>(i), t.categories[i], categories(static_cast<int>(i))});
  for (std::size_t i = 0; i < t.periods.size(); ++i)
    pictures.push_back(
        {Role::Period, static_cast<unsigned>(i), t.periods[i].name, PeriodsPicture(t, static_cast<int>(i))});
  for (std::size_t i = 0; i < t.issues.size(); ++i)
    pictures.push_back({Role::Issue, static_cast<unsigned>(i), issueNames[i], issues(static_cast<int>(i))});
  return pictures;
}

}  // namespace builder::library
