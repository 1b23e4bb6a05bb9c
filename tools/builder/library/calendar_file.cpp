#include "library/calendar_file.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "library/dictd_file.h"
#include "library/text_encoding.h"

namespace builder::library {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The text with its C comments taken out; line feeds inside them are kept,
// so that line numbers stay those of the file.
std::string WithoutComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool inComment = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!inComment && text.compare(i, 2, "/*") == 0) {
      inComment = true;
      ++i;
    } else if (inComment && text.compare(i, 2, "*/") == 0) {
      inComment = false;
      ++i;
    } else if (!inComment || text[i] == '\n') {
      out += text[i];
    }
  }
  return out;
}

// 1-12 for an English month name or its first three letters or more, any case; 0 otherwise.
int MonthNumber(const std::string& word) {
  static const char* const kMonths[12] = {"january", "february", "march",     "april",   "may",      "june",
                                          "july",    "august",   "september", "october", "november", "december"};
  if (word.size() < 3) return 0;
  std::string lower;
  for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int m = 0; m < 12; ++m) {
    const std::string name = kMonths[m];
    if (lower.size() <= name.size() && name.compare(0, lower.size(), lower) == 0) return m + 1;
  }
  return 0;
}

int DaysIn(int month) {
  static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1];
}

// The date field cut into runs of digits and of letters; anything else but
// the separators '/' and blanks makes it unreadable.
struct DateParts {
  std::vector<std::string> parts;
  bool slash = false;
  bool other = false;  // a character that is neither
};

DateParts CutDate(const std::string& field) {
  DateParts cut;
  for (std::size_t i = 0; i < field.size();) {
    const char c = field[i];
    if (c == ' ') {
      ++i;
    } else if (c == '/') {
      cut.slash = true;
      ++i;
    } else if (IsDigit(c) || IsLetter(c)) {
      const bool digits = IsDigit(c);
      std::size_t end = i;
      while (end < field.size() && (digits ? IsDigit(field[end]) : IsLetter(field[end]))) ++end;
      cut.parts.push_back(field.substr(i, end - i));
      i = end;
    } else {
      cut.other = true;
      ++i;
    }
  }
  return cut;
}

// Month and day of a date field, or the reason it names no fixed day.
struct ReadDate {
  int month = 0, day = 0;
  std::string reason;
};

ReadDate ParseDate(const std::string& field) {
  ReadDate date;
  const DateParts cut = CutDate(field);
  const bool moving = field.find('*') != std::string::npos || field.find('+') != std::string::npos ||
                      field.find('-') != std::string::npos;
  if (moving) {
    date.reason = "a date that moves from year to year";
    return date;
  }
  const auto number = [](const std::string& s) { return IsDigit(s[0]) ? std::atoi(s.c_str()) : -1; };
  if (!cut.other && cut.parts.size() == 2) {
    const std::string &a = cut.parts[0], &b = cut.parts[1];
    if (cut.slash && IsDigit(a[0]) && IsDigit(b[0])) {  // "01/07": month first
      date.month = number(a);
      date.day = number(b);
    } else if (IsLetter(a[0]) && IsDigit(b[0])) {  // "Jan 7", "jan/7"
      date.month = MonthNumber(a);
      date.day = number(b);
    } else if (!cut.slash && IsDigit(a[0]) && IsLetter(b[0])) {  // "07 Jan"
      date.month = MonthNumber(b);
      date.day = number(a);
    } else if (cut.slash && IsDigit(a[0]) && IsLetter(b[0])) {  // "05/SunSecond"
      date.reason = "a date that moves from year to year";
      return date;
    }
    if (date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= DaysIn(date.month)) return date;
    if (date.reason.empty() && date.month >= 1 && date.month <= 12) date.reason = "no such day of its month";
  } else if (!cut.other && cut.parts.size() == 1 && MonthNumber(cut.parts[0])) {
    date.reason = "a month without a day";
  } else if (!cut.other && cut.parts.size() == 1 && IsLetter(cut.parts[0][0])) {
    date.reason = "a date that moves from year to year";  // "Easter", a feast of its own reckoning
  }
  if (date.reason.empty()) date.reason = "a date that cannot be read";
  date.month = date.day = 0;
  return date;
}

bool IsSetting(const std::string& line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  for (std::size_t i = 0; i < equals; ++i)
    if (!(std::isupper(static_cast<unsigned char>(line[i])) || line[i] == '_')) return false;
  return true;
}

// The era after a year's digits: " BC", "BC" or " B.C."; its length, 0 when none.
std::size_t EraAt(const std::string& text, std::size_t at) {
  std::size_t k = at;
  if (k < text.size() && text[k] == ' ') ++k;
  if (text.compare(k, 4, "B.C.") == 0) return k + 4 - at;
  if (text.compare(k, 2, "BC") == 0 && (k + 2 == text.size() || !IsLetter(text[k + 2]))) return k + 2 - at;
  return 0;
}

// What stands right after a year: nothing, or what ends it.
bool EndsAYear(const std::string& text, std::size_t at) {
  return at == text.size() || std::string(" ,.;:)").find(text[at]) != std::string::npos;
}

// Only "." or nothing follows.
bool AtTheEnd(const std::string& text, std::size_t at) {
  return at == text.size() || (at + 1 == text.size() && text[at] == '.');
}

struct Number {
  int value = 0;
  std::size_t digits = 0, end = 0;  // end: after the era and a '?'
  bool era = false;
};

Number NumberAt(const std::string& text, std::size_t at) {
  Number n;
  std::size_t k = at;
  while (k < text.size() && IsDigit(text[k]) && k - at < 5) n.value = n.value * 10 + (text[k++] - '0');
  n.digits = k - at;
  if (const std::size_t era = EraAt(text, k)) {
    n.era = true;
    k += era;
  }
  if (k < text.size() && text[k] == '?') ++k;
  n.end = k;
  return n;
}

}  // namespace

std::optional<EventYear> FindEventYear(const std::string& text) {
  const auto year = [](const Number& n, std::size_t begin) {
    return EventYear{n.era ? -n.value : n.value, begin, n.end};
  };
  // A year after a comma: at the end first (", 263 deaths, 1956" is of
  // 1956), then the first inside the text (", 1969 (drops it, ...)").
  std::optional<EventYear> inside;
  for (std::size_t comma = text.find(", "); comma != std::string::npos; comma = text.find(", ", comma + 1)) {
    const Number n = NumberAt(text, comma + 2);
    if (n.digits == 0 || n.digits > 4 || n.value == 0 || !EndsAYear(text, n.end)) continue;
    if (AtTheEnd(text, n.end)) return year(n, comma);
    if (!inside && (n.era || n.digits >= 3)) inside = year(n, comma);
  }
  // "(1966)" at the end.
  if (const std::size_t open = text.rfind('('); open != std::string::npos) {
    const Number n = NumberAt(text, open + 1);
    if (n.digits >= (n.era ? 1u : 3u) && n.digits <= 4 && n.value > 0 && n.end < text.size() && text[n.end] == ')' &&
        AtTheEnd(text, n.end + 1)) {
      EventYear found = year(n, open > 0 && text[open - 1] == ' ' ? open - 1 : open);
      found.end = n.end + 1;
      return found;
    }
  }
  // "aired 1966" at the end.
  if (const std::size_t blank = text.rfind(' '); blank != std::string::npos && blank > 0) {
    const Number n = NumberAt(text, blank + 1);
    if (n.digits >= (n.era ? 1u : 3u) && n.digits <= 4 && n.value > 0 && AtTheEnd(text, n.end)) return year(n, blank);
    // A year with its era ("44 BC") has its last blank inside it.
    if (const std::size_t before = text.rfind(' ', blank - 1); !n.era && before != std::string::npos) {
      const Number withEra = NumberAt(text, before + 1);
      if (withEra.era && withEra.digits >= 1 && withEra.digits <= 4 && AtTheEnd(text, withEra.end))
        return year(withEra, before);
    }
  }
  return inside;
}

CalendarFile ParseCalendar(const std::string& name, const std::string& utf8) {
  CalendarFile file;
  const std::string text = WithoutComments(utf8);
  // Where a continuation line goes: the event above, the line above that
  // was left out, or nowhere.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t event = kNone, leftOut = kNone;
  unsigned number = 0;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    // The tabs are found before the text becomes Windows-1252, which makes them blanks.
    std::string line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto windows = [](const std::string& utf8) {
      return CollapseBlanks(CleanWindows1252(Utf8ToWindows1252(utf8)));
    };
    if (Trim(line).empty() || line[0] == '#' || IsSetting(line)) {
      event = leftOut = kNone;
      continue;
    }
    if (line[0] == '\t' || line[0] == ' ') {
      const std::string more = windows(line);
      if (event != kNone) {
        file.events[event].text += " " + more;
      } else if (leftOut != kNone) {
        file.unread[leftOut].text += " " + more;
      } else {
        leftOut = file.unread.size();
        file.unread.push_back({name, number, more, "a continuation line with no event above it"});
      }
      continue;
    }
    event = leftOut = kNone;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      leftOut = file.unread.size();
      file.unread.push_back({name, number, windows(line), "no tab between the date and the text"});
      continue;
    }
    const std::string eventText = windows(line.substr(tab + 1));
    const ReadDate date = ParseDate(line.substr(0, tab));
    if (!date.reason.empty()) {
      leftOut = file.unread.size();
      file.unread.push_back({name, number, windows(line.substr(0, tab)) + "\t" + eventText, date.reason});
      continue;
    }
    file.events.push_back(
        {name, number, static_cast<std::uint8_t>(date.month), static_cast<std::uint8_t>(date.day), eventText});
    event = file.events.size() - 1;
  }
  return file;
}

std::string CalendarDirectory() {
  const char* configured = std::getenv("VELDRIX_CALENDAR_DIR");
  if (configured && *configured) return configured;
#ifdef _WIN32
  return "Z:/usr/share/calendar";  // the host's folder, for the builder under Wine
#else
  return "/usr/share/calendar";
#endif
}

CalendarFile ReadCalendarFile(const std::string& directory, const std::string& name) {
  const std::string path = (std::filesystem::path(directory) / name).string();
  if (!std::filesystem::exists(path))
    throw std::runtime_error(path + " not found: install the package calendar (apt-get install calendar)");
  return ParseCalendar(name, ReadWholeFile(path));
}

}  // namespace builder::library
