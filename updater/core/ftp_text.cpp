#include "ftp_text.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

ListingLine ParseListingLine(std::string_view text) {
  ListingLine result;
  if (text.size() >= 45) {
    // Read backwards from index 44; a run too long for a long leaves the size unknown.
    unsigned long long value = 0;
    unsigned long long scale = 1;
    bool tooLong = false;
    for (std::size_t i = 45; i-- > 0 && std::isdigit(static_cast<unsigned char>(text[i]));) {
      const unsigned digit = static_cast<unsigned>(text[i] - '0');
      if (scale > static_cast<unsigned long long>(LONG_MAX)) {
        tooLong = tooLong || digit != 0;
        continue;
      }
      value += digit * scale;
      scale *= 10;
    }
    if (!tooLong && value <= static_cast<unsigned long long>(LONG_MAX)) result.size = static_cast<long>(value);
  }
  if (text.size() > 48) {
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    char name[4] = {};
    for (int i = 0; i < 3; ++i) name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[46 + i])));
    for (int m = 0; m < 12; ++m) {
      if (std::strcmp(name, kMonths[m]) == 0) result.month = m + 1;
    }
  }
  if (text.size() >= 53) {
    const char day[3] = {text[50], text[51], '\0'};
    result.day = std::atoi(day);
  }
  return result;
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
