#include "display/text_find.h"

#include <algorithm>

namespace display {

bool IsLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83:
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xB5:
    case 0xBA: return true;
    default: break;
  }
  return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

bool IsLetterOrDigit(unsigned char c) { return IsLetter(c) || (c >= '0' && c <= '9'); }

unsigned char Lower(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

int FindText(const char* text, int length, const std::string& word, bool matchCase) {
  const int size = static_cast<int>(word.size());
  if (size == 0 || size > length) return -1;
  for (int at = 0; at + size <= length; ++at) {
    int i = 0;
    for (; i < size; ++i) {
      unsigned char a = static_cast<unsigned char>(text[at + i]);
      unsigned char b = static_cast<unsigned char>(word[static_cast<std::size_t>(i)]);
      if (!matchCase) {
        a = Lower(a);
        b = Lower(b);
      }
      if (a != b) break;
    }
    if (i == size) return at;
  }
  return -1;
}

std::vector<std::string> QueryWords(const std::string& query) {
  // Words end at blanks; the Boolean operators between words are passed
  // over, those inside a word ("AT&T") belong to it.
  auto between = [](char c) { return c == ' ' || c == '&' || c == '|' || c == '!' || c == '~'; };
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < query.size()) {
    while (at < query.size() && between(query[at])) ++at;
    const std::size_t start = at;
    while (at < query.size() && query[at] != ' ') ++at;
    if (at > start) words.push_back(query.substr(start, at - start));
  }
  return words;
}

namespace {

// Whole word: no letter just before, none just after, and none after a
// character that follows the word unless that character is a hyphen.
bool WholeWordAt(const char* text, int length, int at, int size) {
  auto letter = [&](int i) { return i >= 0 && i < length && IsLetter(static_cast<unsigned char>(text[i])); };
  if (letter(at - 1)) return false;
  const int after = at + size;
  if (letter(after)) return false;
  if (after < length && text[after] != '-' && letter(after + 1)) return false;
  return true;
}

}  // namespace

std::vector<int> FindWords(TextModel& model, FindState& state, const std::string& query, bool matchCase,
                           bool wholeWord) {
  std::vector<int> found;
  for (const std::string& word : QueryWords(query)) {
    for (int r = 0; r < model.RunCount(); ++r) {
      Run& run = model.RunAt(r);
      if (run.style > 128) continue;
      const char* text = model.RunText(r);
      const int at = FindText(text, run.length, word, matchCase);
      if (at < 0) continue;
      if (wholeWord && !WholeWordAt(text, run.length, at, static_cast<int>(word.size()))) continue;
      ++state.count;
      state.firstHit = std::min(state.firstHit, r);
      state.lastHit = std::max(state.lastHit, r);
      run.marks |= kMarkFindHit;
      run.hitStart = static_cast<u16>(at);
      run.hitLength = static_cast<u16>(word.size());
      found.push_back(r);
    }
  }
  return found;
}

bool ClearFindHits(TextModel& model, FindState& state) {
  if (state.count == 0) return false;
  const int last = std::min(state.lastHit, model.RunCount() - 1);
  for (int r = state.firstHit; r <= last; ++r) model.RunAt(r).marks &= static_cast<u8>(~kMarkFindHit);
  state = FindState{};
  return true;
}

int NextHitRun(const TextModel& model, int topLine, int step) {
  int line = topLine + step;
  while (line >= 0 && line < model.LineCount() && model.GetLine(line).runCount == 0) line += step;
  if (line < 0 || line >= model.LineCount()) return kNone;
  const Line& l = model.GetLine(line);
  for (int r = step > 0 ? l.firstRun : l.firstRun + l.runCount - 1; r >= 0 && r < model.RunCount(); r += step) {
    if (model.GetRun(r).marks & kMarkFindHit) return r;
  }
  return kNone;
}

}  // namespace display
