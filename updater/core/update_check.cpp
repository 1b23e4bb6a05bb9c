#include "update_check.h"

#include <cstdio>
#include <tuple>
#include <vector>

namespace refresh {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Digits only, at most 18 of them.
std::optional<unsigned long long> Number(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  unsigned long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool IsRule(std::string_view line) {
  bool hyphen = false;
  for (char c : line) {
    if (c == '-') {
      hyphen = true;
    } else if (!IsBlank(c)) {
      return false;
    }
  }
  return hyphen;
}

}  // namespace

std::string FormatUpdateDate(const UpdateDate& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%d/%d/%d", date.month, date.day, date.year);
  return text;
}

UpdateDate ParseRecordedDate(std::string_view text) {
  const UpdateDate fallback{1997, 1, 1};
  const std::size_t first = text.find('/');
  const std::size_t second = first == std::string_view::npos ? first : text.find('/', first + 1);
  if (second == std::string_view::npos) return fallback;
  const auto month = Number(text.substr(0, first));
  const auto day = Number(text.substr(first + 1, second - first - 1));
  const auto year = Number(text.substr(second + 1));
  if (!month || !day || !year || *month < 1 || *month > 12 || *day < 1 || *day > 31 || *year > 9999) return fallback;
  return UpdateDate{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
}

bool IsLaterDay(const UpdateDate& update, const UpdateDate& recorded) {
  return std::tie(update.year, update.month, update.day) > std::tie(recorded.year, recorded.month, recorded.day);
}

bool VerifyListing(std::string_view listing, const FileLength& lengthOf) {
  bool inTable = false;
  int checked = 0;
  std::size_t start = 0;
  while (start < listing.size()) {
    std::size_t end = start;
    while (end < listing.size() && listing[end] != '\r' && listing[end] != '\n') ++end;
    const std::string_view line = listing.substr(start, end - start);
    start = end + 1;
    if (end + 1 < listing.size() && listing[end] == '\r' && listing[end + 1] == '\n') ++start;

    if (IsRule(line)) {
      // The closing rule ends the check; a table that listed no file verified nothing.
      if (inTable) return checked > 0;
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.empty()) continue;
    if (fields.size() < 9) return false;
    const auto length = Number(fields[0]);
    if (!length) return false;
    const auto actual = lengthOf(std::string(fields[8]));
    if (!actual || *actual != *length) return false;
    ++checked;
  }
  return false;  // no table, or one that the file cuts off
}

std::string ExtractorCommandLine(const std::string& archivePath, const std::string& tempDir) {
  return "command.pif /c " + archivePath + " -o " + tempDir + "\\ > " + tempDir + "\\sfxout.txt";
}

}  // namespace refresh
