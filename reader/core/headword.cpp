#include "core/headword.h"

#include <cstring>

namespace {

bool At(const char* text, size_t length, size_t i, const char* tag) {
  const size_t n = std::strlen(tag);
  return i + n <= length && std::memcmp(text + i, tag, n) == 0;
}

}  // namespace

std::string HeadwordOfEntryText(const char* text, size_t length) {
  if (!text) return {};
  size_t i = 0;
  if (At(text, length, 0, "<WD>"))
    i = 4;
  else if (At(text, length, 0, "<IWD>"))
    i = 5;
  const size_t start = i;
  bool upOpen = false;
  while (i < length) {
    if (At(text, length, i, "</DQ>") || At(text, length, i, "</TI>") || At(text, length, i, "</E0>")) {
      i += 5;
    } else if (At(text, length, i, "<DQ>") || At(text, length, i, "<TI>") || At(text, length, i, "<E0>")) {
      i += 4;
    } else if (At(text, length, i, "<UP>")) {
      i += 4;
      upOpen = true;
    } else if (At(text, length, i, "</UP>")) {
      i += 5;
      upOpen = false;
      break;
    } else if (text[i] == '\n' || text[i] == '\r' || text[i] == '<' || text[i] == '\0') {
      break;
    } else {
      ++i;
    }
  }
  std::string headword(text + start, i - start);
  if (upOpen) headword += "</UP>";
  return headword;
}

std::string FormatHeadword(const std::string& headword) {
  std::string out;
  out.reserve(headword.size());
  for (size_t i = 0; i < headword.size();) {
    const unsigned char c = static_cast<unsigned char>(headword[i]);
    if (c == 0xB7) {
      ++i;
    } else if (headword.compare(i, 4, "<UP>") == 0) {
      out += " (";
      i += 4;
    } else if (headword.compare(i, 5, "</UP>") == 0) {
      out += ')';
      i += 5;
    } else if (i + 5 <= headword.size() && headword.compare(i, 2, "<{") == 0 && headword.compare(i + 3, 2, "}>") == 0) {
      out += headword[i + 2];  // an escape of one character shows that character
      i += 5;
    } else if (c == '<' || c == '{') {
      const size_t close = headword.find(c == '<' ? '>' : '}', i);
      i = close == std::string::npos ? headword.size() : close + 1;
    } else {
      out += static_cast<char>(c);
      ++i;
    }
  }
  return out;
}
