#include "display/text_model.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace display {

namespace {

int g_failAfter = 0;

void* AllocateZeroed(std::size_t bytes) {
  if (g_failAfter > 0 && --g_failAfter == 0) return nullptr;
  return std::calloc(1, bytes == 0 ? 1 : bytes);
}

}  // namespace

void FailModelAllocationAfter(int n) { g_failAfter = n; }

template <class T>
bool RecordArray<T>::Allocate(u32 capacity) {
  Free();
  data_ = static_cast<T*>(AllocateZeroed(sizeof(T) * capacity));
  if (data_ == nullptr) return false;
  capacity_ = capacity;
  return true;
}

template <class T>
bool RecordArray<T>::GrowFor(u32 needed, u32 step, u32 margin) {
  u64 capacity = capacity_;
  while (static_cast<u64>(needed) + margin >= capacity) capacity += step;
  if (capacity == capacity_) return true;
  if (capacity > 0x7FFFFFFF / sizeof(T)) return false;
  T* grown = static_cast<T*>(AllocateZeroed(sizeof(T) * capacity));
  if (grown == nullptr) return false;
  if (data_ != nullptr) std::memcpy(grown, data_, sizeof(T) * capacity_);
  std::free(data_);
  data_ = grown;
  capacity_ = static_cast<u32>(capacity);
  return true;
}

template <class T>
void RecordArray<T>::Free() {
  std::free(data_);
  data_ = nullptr;
  capacity_ = 0;
  used = 0;
}

template class RecordArray<char>;
template class RecordArray<Run>;
template class RecordArray<Line>;
template class RecordArray<Paragraph>;

void TokenStyle(u8 type, u8& markerBits, u8& formatBits, u8& style, u8& marks) {
  markerBits &= static_cast<u8>(~kTokenOutlineTitle);
  switch (type) {
    case 0:
    case 3:
    case 4:
    case 5: formatBits |= kFormatBold; break;
    case 1:
    case 8:
    case 9: formatBits |= kFormatItalic; break;
    case 11:
    case 12:
    case 13: markerBits |= kTokenOutlineTitle; break;
    default: break;
  }
  if (formatBits & kFormatOutlineHeading) {
    markerBits |= kTokenOutlineTitle;
    formatBits &= static_cast<u8>(~kFormatOutlineHeading);
  }
  marks = (markerBits & kTokenSearchHit) ? kMarkFindHit : 0;
  const bool phonetic = (markerBits & kTokenPhonetic) != 0;
  if (type == kTypeObjectBlock) {
    style = kStyleObject;
  } else if (formatBits & kFormatHidden) {
    style = kStyleHidden;
  } else if (formatBits & kFormatRaised) {
    style = kStyleRaised;
  } else if (formatBits & kFormatLowered) {
    style = kStyleLowered;
  } else if (formatBits & kFormatBold) {
    style = phonetic ? kStylePhonetic : (formatBits & kFormatItalic) ? kStyleBoldItalic : kStyleBold;
  } else if (formatBits & kFormatItalic) {
    style = phonetic ? kStylePhonetic : kStyleItalic;
  } else if (formatBits & kFormatCrossReference) {
    style = phonetic ? kStylePhonetic : kStyleCrossReference;
    marks = kMarkCrossReference;
  } else if (formatBits & kFormatPlain) {
    style = kStyleNormal;
  } else {
    style = phonetic ? kStylePhonetic : kStyleNormal;
  }
}

bool TextModel::Reset() {
  Free();
  if (!text_.Allocate(kTextStep) || !runs_.Allocate(kRunStep) || !lines_.Allocate(kLineStep) ||
      !paragraphs_.Allocate(kParagraphStep)) {
    Free();
    return false;
  }
  return true;
}

void TextModel::Free() {
  text_.Free();
  runs_.Free();
  lines_.Free();
  paragraphs_.Free();
  outline_.clear();
  blank_ = 0;
  pendingObject_ = kNone;
  headingFirst_ = kNone;
  headingLevel_ = 0;
  filler_ = false;
}

int TextModel::LeadingNewlines(int run) const {
  const Run& r = GetRun(run);
  const char* text = RunText(run);
  int count = 0;
  while (count < r.length && text[count] == '\n') ++count;
  return count;
}

int TextModel::TextStart(const Paragraph& paragraph) {
  return paragraph.left + ((paragraph.flags & kBlockObjectsLeft) ? paragraph.indent : 0);
}

CRect TextModel::ObjectRect(const Paragraph& block, int x, int y, int width, int height) {
  // Objects at the left stand from the band's left edge; otherwise (at the
  // right, or neither side named) they take the band the text leaves free at
  // the right.
  const int left = (block.flags & kBlockObjectsLeft) ? block.left + x : block.left + block.width - block.indent + x;
  const int top = block.top + y;
  return CRect(left, top, left + width, top + height);
}

// ---------------------------------------------------------------------------
// Geometry

int TextModel::ParagraphOfLine(int line) const {
  if (line < 0 || line >= LineCount()) return kNone;
  int found = kNone;
  int low = 0, high = ParagraphCount() - 1;
  while (low <= high) {
    const int middle = (low + high) / 2;
    if (GetParagraph(middle).firstLine <= line) {
      found = middle;
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  // Paragraphs without lines share their first line with the next one.
  while (found != kNone && found >= 0 && GetParagraph(found).lineCount == 0) --found;
  if (found == kNone || found < 0) return kNone;
  const Paragraph& p = GetParagraph(found);
  return line < p.firstLine + p.lineCount ? found : kNone;
}

int TextModel::LineTop(int line) const {
  const int paragraph = ParagraphOfLine(line);
  if (paragraph == kNone) return 0;
  const Paragraph& p = GetParagraph(paragraph);
  int y = p.top;
  for (int l = p.firstLine; l < line; ++l) y += GetLine(l).height;
  return y;
}

int TextModel::LineOfRun(int run) const {
  for (int l = 0; l < LineCount(); ++l) {
    const Line& line = GetLine(l);
    if (line.runCount > 0 && run >= line.firstRun && run < line.firstRun + line.runCount) return l;
  }
  return kNone;
}

int TextModel::RunLeft(int line, int run) const {
  const int paragraph = ParagraphOfLine(line);
  if (paragraph == kNone) return 0;
  int x = TextStart(GetParagraph(paragraph));
  const Line& l = GetLine(line);
  for (int r = l.firstRun; r < run && r < l.firstRun + l.runCount; ++r) x += GetRun(r).width;
  return x;
}

TextModel::Hit TextModel::HitTest(int x, int y, int clientWidth, bool wholeWidth) const {
  Hit hit;
  for (int i = 0; i < ParagraphCount(); ++i) {
    const Paragraph& p = GetParagraph(i);
    const int left = wholeWidth ? 0 : p.left;
    const int right = wholeWidth ? clientWidth : p.left + p.width;
    if (x < left || x >= right || y < p.top || y >= p.top + p.height) continue;
    hit.paragraph = i;
    break;
  }
  if (hit.paragraph == kNone) return hit;
  const Paragraph& p = GetParagraph(hit.paragraph);
  int top = p.top;
  for (int l = p.firstLine; l < p.firstLine + p.lineCount; ++l) {
    const int height = GetLine(l).height;
    if (y >= top && y < top + height) {
      hit.line = l;
      break;
    }
    top += height;
  }
  if (hit.line == kNone) return hit;
  const Line& line = GetLine(hit.line);
  const int start = TextStart(p);
  if (x < start) {
    hit.beforeStart = true;
    return hit;
  }
  int left = start;
  for (int r = line.firstRun; r < line.firstRun + line.runCount; ++r) {
    const int width = GetRun(r).width;
    if (x < left + width) {
      hit.run = r;
      if (GetRun(r).style > 128 && r + 1 < RunCount()) hit.run = r + 1;
      return hit;
    }
    left += width;
  }
  hit.pastEnd = true;
  return hit;
}

// ---------------------------------------------------------------------------
// Marks

std::vector<int> TextModel::SetMark(int from, int to, u8 mark, bool on) {
  std::vector<int> changed;
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, RunCount() - 1);
  for (int r = from; r <= to; ++r) {
    Run& run = RunAt(r);
    const u8 marks = on ? static_cast<u8>(run.marks | mark) : static_cast<u8>(run.marks & ~mark);
    if (marks == run.marks) continue;
    run.marks = marks;
    changed.push_back(r);
  }
  return changed;
}

bool TextModel::AnyMark(u8 mark) const {
  for (int r = 0; r < RunCount(); ++r) {
    if (GetRun(r).marks & mark) return true;
  }
  return false;
}

bool TextModel::ClearMark(u8 mark) {
  bool any = false;
  for (int r = 0; r < RunCount(); ++r) {
    Run& run = RunAt(r);
    if (!(run.marks & mark)) continue;
    run.marks &= static_cast<u8>(~mark);
    any = true;
  }
  return any;
}

}  // namespace display
