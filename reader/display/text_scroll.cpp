#include "display/text_scroll.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace display {

int TopOffset(const TextModel& model, int topLine) {
  if (topLine < 0 || topLine >= model.LineCount()) return 0;
  return model.LineTop(topLine);
}

int PageDownLine(const TextModel& model, int topLine, int clientHeight) {
  const int last = model.LineCount() - 1;
  if (last < 0) return topLine;
  if (topLine >= last) return last;
  const int bottom = TopOffset(model, topLine) + clientHeight;
  int paragraph = model.ParagraphOfLine(topLine);
  int y = TopOffset(model, topLine);
  for (int l = topLine; l <= last; ++l) {
    const int holder = model.ParagraphOfLine(l);
    if (holder != paragraph && holder != kNone) {
      paragraph = holder;
      y = model.GetParagraph(holder).top;
    }
    y += model.GetLine(l).height;
    // The first line whose bottom reaches the window's (never the top line
    // itself, or a line taller than the window would never be left).
    if (l > topLine && y >= bottom) return l;
  }
  return last;
}

int PageUpLine(const TextModel& model, int topLine, int clientHeight) {
  if (topLine <= 0) return 0;
  topLine = std::min(topLine, model.LineCount() - 1);
  int sum = 0;
  for (int l = topLine; l > 0; --l) {
    sum += model.GetLine(l).height;
    if (sum >= clientHeight) return l == topLine ? topLine - 1 : l;
  }
  return 0;
}

int LastVisibleLine(const TextModel& model, int topLine, int clientHeight) {
  int sum = 0;
  int last = topLine;
  for (int l = topLine; l >= 0 && l < model.LineCount(); ++l) {
    sum += model.GetLine(l).height;
    if (sum >= clientHeight) break;  // this line reaches the bottom
    last = l;
  }
  return last;
}

int PositionLine(const TextModel& model, unsigned number, int clientHeight) {
  if (number <= 2) return 0;
  for (int r = 0; r < model.RunCount(); ++r) {
    const Run& run = model.GetRun(r);
    if (run.tokenType != 1 || run.length == 0) continue;
    const std::string text = model.RunString(r);
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (end == text.c_str() || value != number) continue;
    int line = model.LineOfRun(r + 1 < model.RunCount() ? r + 1 : r);
    if (line == kNone) line = model.LineOfRun(r);
    if (line == kNone) return kNone;
    int sum = 0;
    while (line > 0 && sum + model.GetLine(line - 1).height <= clientHeight / 2) {
      sum += model.GetLine(line - 1).height;
      --line;
    }
    return line;
  }
  return kNone;
}

int ThumbTop(int trackTop, int trackHeight, int thumbHeight, int topLine, int first, int last) {
  if (topLine >= last) return trackTop + trackHeight - thumbHeight;
  const long long span = static_cast<long long>(trackHeight - thumbHeight) * (topLine - first);
  return trackTop + static_cast<int>(span / (last - first + 1));
}

int DropLine(int dragTop, int trackTop, int trackHeight, int thumbHeight, int first, int last) {
  if (trackHeight <= thumbHeight) return last;
  const long long line =
      static_cast<long long>(dragTop - trackTop) * (last - first + 1) / (trackHeight - thumbHeight) + first;
  return static_cast<int>(std::clamp<long long>(line, first, last));
}

}  // namespace display
