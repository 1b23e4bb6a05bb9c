#include "library/text_encoding.h"

#include <cstdint>

namespace builder::library {

namespace {

// The characters of 0x80-0x9F in Windows-1252 (0: not assigned).
constexpr char32_t kHighCodes[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int ToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kHighCodes[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view utf8, char missing) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(utf8[i + k]);
      if ((next >> 6) != 2) valid = false;
      c = c << 6 | (next & 0x3F);
    }
    i += valid ? static_cast<std::size_t>(length) : 1;
    const int code = valid ? ToWindows1252(c) : -1;
    if (code >= 0)
      out += static_cast<char>(code);
    else if (c >= 0x300 && c <= 0x36F && valid)
      continue;  // a combining mark: the letter before it stands alone
    else if (missing)
      out += missing;
  }
  return CleanWindows1252(out);
}

std::string CleanWindows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte == 0xFF)
      out += 'y';
    else if (c == '\t')
      out += ' ';
    else if (byte >= 32 || c == '\n')
      out += c;
  }
  return out;
}

std::string EscapeTagged(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '<')
      out += "<{<}>";
    else
      out += c;
  }
  return out;
}

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string Trim(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

std::size_t IndentOf(const std::string& line) {
  std::size_t n = 0;
  while (n < line.size() && line[n] == ' ') ++n;
  return n;
}

}  // namespace builder::library
