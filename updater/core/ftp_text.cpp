#include "ftp_text.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace refresh {

namespace {

// atoi of at most the first three characters of a line.
int LineCode(std::string_view line) {
  char digits[4] = {};
  const std::size_t n = line.size() < 3 ? line.size() : 3;
  std::memcpy(digits, line.data(), n);
  return std::atoi(digits);
}

}  // namespace

int ParseReplyCode(std::string_view reply, int expected) {
  std::string_view lastLine;
  std::size_t start = 0;
  while (start <= reply.size()) {
    std::size_t end = start;
    while (end < reply.size() && reply[end] != '\r' && reply[end] != '\n') ++end;
    const std::string_view line = reply.substr(start, end - start);
    if (!line.empty()) {
      const int code = LineCode(line);
      if (expected != 0 && code == expected) return code;
      lastLine = line;
    }
    start = end + 1;
  }
  return lastLine.empty() ? 0 : LineCode(lastLine);
}

namespace {

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

enum class Count { None, Fits, TooLarge };

// A run of digits as a 64-bit count (never a long, which is 32 bits in the
// Windows builds): None when the field is no run of digits, TooLarge with
// INT64_MAX when its value is past that.
Count ToCount(std::string_view digits, std::int64_t& value) {
  if (!IsDigits(digits)) return Count::None;
  std::int64_t total = 0;
  for (char c : digits) {
    const int digit = c - '0';
    if (total > (INT64_MAX - digit) / 10) {
      value = INT64_MAX;
      return Count::TooLarge;
    }
    total = total * 10 + digit;
  }
  value = total;
  return Count::Fits;
}

// A day, month or year: only a count that fits is one.
bool ToNumber(std::string_view digits, std::int64_t& value) { return ToCount(digits, value) == Count::Fits; }

// 1 to 12 for "Jan" ... "Dec" in any case, else 0.
int MonthOf(std::string_view name) {
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  if (name.size() != 3) return 0;
  char lower[4] = {};
  for (int i = 0; i < 3; ++i) lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  for (int m = 0; m < 12; ++m) {
    if (std::strcmp(lower, kMonths[m]) == 0) return m + 1;
  }
  return 0;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// A year ("1998") or a time of day ("10:00").
bool IsTimeOrYear(std::string_view field) {
  const std::size_t colon = field.find(':');
  if (colon == std::string_view::npos) return IsDigits(field);
  return IsDigits(field.substr(0, colon)) && IsDigits(field.substr(colon + 1));
}

// "MM-DD-YY" or "MM-DD-YYYY".
bool DosDate(std::string_view field, int& month, int& day) {
  const std::size_t first = field.find('-');
  const std::size_t second = first == std::string_view::npos ? first : field.find('-', first + 1);
  if (second == std::string_view::npos) return false;
  std::int64_t m = 0, d = 0, y = 0;
  if (!ToNumber(field.substr(0, first), m) || !ToNumber(field.substr(first + 1, second - first - 1), d) ||
      !ToNumber(field.substr(second + 1), y) || m < 1 || m > 12 || d < 1 || d > 31) {
    return false;
  }
  month = static_cast<int>(m);
  day = static_cast<int>(d);
  return true;
}

}  // namespace

ListingLine ParseListingLine(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  const std::vector<std::string_view> fields = Fields(text.substr(0, end));
  ListingLine result;
  // Unix style, read from the right: the name last, before it the time or
  // year, the day, the month and the size. Owner and group are free text
  // ("jan", "20") and could pass for a month and a size; the date nearest the
  // name cannot. Before the size stand at least the type, the link count and
  // the owner, so the month is the fifth field or later: where the date has
  // another form ("2024-03-07"), an owner or group named like a month is
  // still not taken for it.
  constexpr std::size_t kFirstMonthField = 4;
  for (std::size_t i = fields.size() >= 4 ? fields.size() - 3 : 0; i-- > kFirstMonthField;) {
    const int month = MonthOf(fields[i]);
    std::int64_t size = 0, day = 0;
    const Count sized = ToCount(fields[i - 1], size);
    if (month != 0 && sized != Count::None && ToNumber(fields[i + 1], day) && day >= 1 && day <= 31 &&
        IsTimeOrYear(fields[i + 2])) {
      // Only a plain file's number is the size of what RETR brings: a link
      // gives the length of its target's name, a device its minor number.
      if (fields[0].front() != '-') return result;
      result.size = size;
      result.tooLarge = sized == Count::TooLarge;
      result.month = month;
      result.day = static_cast<int>(day);
      return result;
    }
  }
  // DOS style: date, time, then the size (or <DIR>).
  int month = 0, day = 0;
  std::int64_t size = 0;
  if (fields.size() < 4 || !DosDate(fields[0], month, day)) return result;
  const Count sized = ToCount(fields[2], size);
  if (sized == Count::None) return result;
  result.size = size;
  result.tooLarge = sized == Count::TooLarge;
  result.month = month;
  result.day = day;
  return result;
}

std::size_t ReplyReader::WholeReplyLength() const {
  std::size_t lineStart = 0;
  std::string_view closing;  // the code that ends a multi-line reply
  while (lineStart < pending_.size()) {
    const std::size_t feed = pending_.find('\n', lineStart);
    if (feed == std::string::npos) break;
    const std::string_view line(pending_.data() + lineStart, feed - lineStart);
    const bool coded = line.size() >= 3 && IsDigits(line.substr(0, 3));
    const char after = line.size() > 3 ? line[3] : '\r';
    lineStart = feed + 1;
    if (closing.empty()) {
      if (!coded || after != '-') return lineStart;  // a one-line reply, or a line that starts none
      closing = line.substr(0, 3);
    } else if (coded && line.substr(0, 3) == closing && (after == ' ' || after == '\r')) {
      return lineStart;
    }
  }
  return pending_.size() > kMaxReply ? pending_.size() : 0;
}

bool ReplyReader::Next(std::string& reply) {
  const std::size_t length = WholeReplyLength();
  if (length == 0) return false;
  reply = pending_.substr(0, length);
  pending_.erase(0, length);
  return true;
}

int NextDataPort(int last) { return last <= FirstDataPort + DataPortCount ? last + 1 : FirstDataPort; }

std::string AddressText(const unsigned char address[4]) {
  char text[20];
  std::snprintf(text, sizeof text, "%d,%d,%d,%d", address[0], address[1], address[2], address[3]);
  return text;
}

std::string PortText(int port) {
  char text[12];
  std::snprintf(text, sizeof text, "%d,%d", (port >> 8) & 0xFF, port & 0xFF);
  return text;
}

}  // namespace refresh
