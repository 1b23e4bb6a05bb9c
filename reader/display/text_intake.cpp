// The text model's intake: a chunk of the engine's tokens becomes runs,
// then lines and paragraphs laid out for one width (media blocks with their
// objects through the LayoutHost). A chunk that runs out of memory leaves the
// model as it was.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/text_model.h"

namespace display {

namespace {

// Thrown inside one AddChunk when an array cannot grow; AddChunk puts the
// model back as it was and reports the failure.
struct OutOfMemory {};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool Drawn(u8 style) { return style <= kStyleLastFont; }

// A number of a media block: "%u" of at most 19 characters, kept within a
// range that no sum of positions can overflow.
unsigned ParseNumber(const char* text, int length) {
  char buffer[20] = {};
  std::memcpy(buffer, text, static_cast<std::size_t>(std::min(length, 19)));
  const unsigned long long value = std::strtoull(buffer, nullptr, 10);
  return value > 0x7FFFFFFFull ? 0x7FFFFFFFu : static_cast<unsigned>(value);
}

}  // namespace

struct TextModel::Group {
  int first = 0;
  int runs = 0;
  int width = 0;
  int height = 0;
  int newlines = 0;
  bool raised = false;
  bool lowered = false;
};

struct TextModel::Snapshot {
  u32 text = 0, runs = 0, lines = 0, paragraphs = 0;
  std::size_t outline = 0;
  Line lastLines[2] = {};
  Paragraph lastParagraph = {};
  int blank = 0, pendingObject = kNone, headingFirst = kNone;
  u16 headingLevel = 0;
  bool filler = false;
};

// Lays the runs of one chunk out (steps that follow the copying of texts).
class TextModel::Layout {
 public:
  Layout(TextModel& model, LayoutHost& host, const LayoutWidths& widths, int firstRun)
      : m_(model), host_(host), widths_(widths), base_(firstRun), end_(model.RunCount()) {}

  void Resume();
  void Walk();
  void Finish();

 private:
  Paragraph& P() { return m_.paragraphs_[static_cast<u32>(para_)]; }
  Line& L() { return m_.lines_[static_cast<u32>(line_)]; }
  const Run& R(int i) const { return m_.GetRun(i); }
  int Quarter() const { return m_.blank_ / 4; }
  int StandardWidth() const { return widths_.clientWidth - 10 * widths_.border; }
  int Available() { return P().width - P().indent; }
  bool EndsInSpace(int run) const { return R(run).length > 0 && IsSpace(m_.RunText(run)[R(run).length - 1]); }
  bool BeginsWithSpace(int run) const { return R(run).length > 0 && IsSpace(m_.RunText(run)[0]); }

  void GrowLines(u32 more) {
    if (!m_.lines_.GrowFor(m_.lines_.used + more, kLineStep, 10)) throw OutOfMemory{};
  }
  int AppendLine(const Line& line) {
    GrowLines(2);
    const u32 index = m_.lines_.used++;
    m_.lines_[index] = line;
    return static_cast<int>(index);
  }
  int AppendParagraph() {
    if (!m_.paragraphs_.GrowFor(m_.paragraphs_.used + 1, kParagraphStep, 0)) throw OutOfMemory{};
    const u32 index = m_.paragraphs_.used++;
    std::memset(&m_.paragraphs_[index], 0, sizeof(Paragraph));
    return static_cast<int>(index);
  }
  void CountRun(int run);
  void Heading(int run);
  void AddToGroup(Group& group, int run);
  void Place(const Group& group);
  void StartParagraph(int firstRun);
  void AddObjectBlock(int resume);

  TextModel& m_;
  LayoutHost& host_;
  const LayoutWidths& widths_;
  int base_;
  int end_;
  int para_ = 0;
  int line_ = 0;
};

void TextModel::Layout::Resume() {
  if (m_.paragraphs_.used > 0) {
    para_ = static_cast<int>(m_.paragraphs_.used) - 1;
    line_ = static_cast<int>(m_.lines_.used) - 1;
    if (m_.filler_) {
      // The filler line that kept the next text below the block goes: the
      // text of this chunk may still stand beside it.
      --m_.lines_.used;
      --P().lineCount;
      --line_;
    }
    m_.filler_ = false;
    return;
  }
  para_ = AppendParagraph();
  Paragraph& p = P();
  p.left = 5 * widths_.border;
  p.width = StandardWidth();
  p.lineCount = 1;
  line_ = AppendLine(Line{});
}

void TextModel::Layout::CountRun(int run) {
  ++P().runCount;
  Line& line = L();
  if (line.runCount == 0) line.firstRun = run;  // a line's runs stay one contiguous range
  ++line.runCount;
}

void TextModel::Layout::Heading(int run) {
  if (R(run).tokenBits & kTokenOutlineTitle) {
    if (m_.headingFirst_ == kNone) {
      m_.headingFirst_ = run;
      m_.headingLevel_ = m_.chunkFormats_[static_cast<std::size_t>(run - base_)] == kFormatBold ? 1 : 2;
    }
    return;
  }
  if (m_.headingFirst_ == kNone) return;
  std::string title;
  for (int r = m_.headingFirst_; r < run; ++r) {
    if (!Drawn(R(r).style)) continue;
    const int skip = m_.LeadingNewlines(r);
    title.append(m_.RunText(r) + skip, static_cast<std::size_t>(R(r).length - skip));
  }
  while (!title.empty() && IsSpace(title.back())) title.pop_back();
  m_.outline_.push_back(OutlineEntry{title, kOutlineHeading, 0, m_.headingFirst_, m_.headingLevel_});
  m_.headingFirst_ = kNone;
}

void TextModel::Layout::AddToGroup(Group& group, int run) {
  const Run& r = R(run);
  ++group.runs;
  if (r.style == kStyleRaised) group.raised = true;
  if (r.style == kStyleLowered) group.lowered = true;
  group.newlines += m_.LeadingNewlines(run) + ((r.tokenBits & kTokenNewLine) ? 1 : 0);
  group.width += r.width;
  group.height = std::max(group.height, static_cast<int>(r.height));
}

void TextModel::Layout::StartParagraph(int firstRun) {
  Paragraph& old = P();
  old.height = std::max(old.height, old.textHeight);
  const int top = old.top + old.height;
  const int firstLine = old.firstLine + old.lineCount;
  para_ = AppendParagraph();
  Paragraph& p = P();
  p.left = 5 * widths_.border;
  p.top = top;
  p.width = StandardWidth();
  p.firstLine = firstLine;
  p.firstRun = firstRun;
}

void TextModel::Layout::Place(const Group& group) {
  const int quarter = Quarter();
  const bool noTextBeside = (P().flags & (kBlockNoTextBeside | kBlockNoTextBesideToo)) != 0;
  // The first text beside a block starts on the block's first line, even
  // when it begins a new line of the entry.
  const bool besideBlock = P().block && !noTextBeside && L().runCount == 0 && P().textHeight == 0;
  const int newlines = besideBlock ? 0 : group.newlines;
  if (L().width + group.width > Available() || newlines > 0 || noTextBeside) {
    if ((P().block && P().textHeight >= P().height) || noTextBeside || P().height >= kParagraphHeightLimit) {
      StartParagraph(group.first);
    }
    GrowLines(static_cast<u32>(newlines) + 2);
    int added = 0;
    for (int i = 1; i < newlines; ++i) {
      line_ = AppendLine(Line{0, m_.blank_, group.first, 0, 0, 0});
      added += m_.blank_;
      ++P().lineCount;
    }
    const int height = group.height + (group.raised ? quarter : 0) + (group.lowered ? quarter : 0);
    line_ = AppendLine(Line{group.width, height, group.first, group.runs, group.raised, group.lowered});
    ++P().lineCount;
    added += height;
    Paragraph& p = P();
    p.runCount += group.runs;
    p.textHeight += added;
    if (!p.block) p.height += added;
    return;
  }
  Paragraph& p = P();
  Line& line = L();
  line.width += group.width;
  const int quarters = (line.raised ? quarter : 0) + (line.lowered ? quarter : 0);
  const bool empty = line.runCount == 0;
  if (group.height > line.height - quarters || empty) {
    const int height = group.height + quarters;
    // A line without runs (a block's first line, which stood for the whole
    // block) now holds text: the text beside the block is that line's height.
    const int growth = empty && p.block ? height : height - line.height;
    line.height = height;
    p.textHeight += growth;
    if (!p.block) p.height += growth;
  }
  if (empty) line.firstRun = group.first;
  line.runCount += group.runs;
  p.runCount += group.runs;
  if (group.raised && !line.raised) {
    line.raised = 1;
    line.height += quarter;
    p.textHeight += quarter;
    if (!p.block) p.height += quarter;
  }
  if (group.lowered && !line.lowered) {
    line.lowered = 1;
    line.height += quarter;
    p.textHeight += quarter;
    if (!p.block) p.height += quarter;
  }
}

void TextModel::Layout::AddObjectBlock(int resume) {
  const int first = m_.pendingObject_;
  m_.pendingObject_ = kNone;
  // The block's numbers stand in the runs from the type-10 run up to the
  // text run that resumes the layout; a missing number reads as 0.
  int at = first;
  auto next = [&]() -> unsigned {
    while (at < resume && R(at).length > 0 && m_.RunText(at)[0] == ' ') ++at;
    if (at >= resume) return 0;
    const unsigned value = ParseNumber(m_.RunText(at), R(at).length);
    ++at;
    return value;
  };
  auto geometry = [](unsigned value) { return static_cast<int>(std::min(value, 0xFFFFu)); };
  const int indent = geometry(next());
  const int height = geometry(next());
  const u32 flags = next();
  const unsigned count = std::min(next(), static_cast<unsigned>(kMaxObjects));
  const bool shown = host_.ShowsPictures();
  const bool reachable = host_.MediaReachable();
  const int blockRuns = resume - first;

  int block = para_;
  if (shown) {
    GrowLines(2);
    Paragraph& current = P();
    current.height = std::max(current.height, current.textHeight);
    // The block's runs were counted on the current line as hidden runs.
    L().runCount = std::max(0, L().runCount - blockRuns);
    if (current.block && current.textHeight < current.height && L().runCount > 0) {
      line_ = AppendLine(Line{0, current.height - current.textHeight, resume, 0, 0, 0});
      ++P().lineCount;
    } else if (!current.block && current.lineCount > 0 && L().width == 0) {
      // A line that held nothing but the block goes, its height with it.
      current.height -= L().height;
      current.textHeight -= L().height;
      --m_.lines_.used;
      --current.lineCount;
      --line_;
    }
    const bool reuseFirst = m_.paragraphs_.used == 1 && P().height == 0;
    int top = 0;
    if (reuseFirst) {
      block = 0;
      m_.lines_.used = 0;
    } else {
      P().runCount = std::max(0, P().runCount - blockRuns);
      top = P().top + P().height;
      block = AppendParagraph();
    }
    Paragraph& p = m_.paragraphs_[static_cast<u32>(block)];
    std::memset(&p, 0, sizeof p);
    p.flags = flags;
    p.block = 1;
    p.left = 5;
    p.top = top;
    p.width = widths_.clientWidth - 10;
    p.height = height;
    p.indent = indent;
    p.firstRun = first;
    p.runCount = blockRuns;
    p.firstLine = static_cast<int>(m_.lines_.used);
    p.lineCount = 1;
    para_ = block;
    line_ = AppendLine(Line{0, height, resume, 0, 0, 0});
  }

  for (unsigned i = 0; i < count; ++i) {
    const int before = at - 1;
    const int x = geometry(next());
    const int y = geometry(next());
    const int width = geometry(next());
    const int objectHeight = geometry(next());
    unsigned item = next();
    if (item > 5000) item = 0;
    const unsigned objectFlags = next();
    unsigned index = item;
    if (objectFlags & (1u << 13)) {
      unsigned given = next();
      if (given > 5000) given = 0;
      if (objectFlags & ((1u << 6) | (1u << 7))) index = given;
    }
    if (objectFlags & (1u << 5)) next();  // read and not used
    if (shown) {
      Paragraph& p = m_.paragraphs_[static_cast<u32>(block)];
      const CRect rect = ObjectRect(p, x, y, width, objectHeight);
      if (host_.PlaceThumbnail(rect, item, index)) p.objectSlots[p.objectCount++] = before;
    }
    if (reachable) {
      std::string title;
      u16 kind = 0;
      if (host_.ReadMediaItem(item, title, kind)) {
        m_.outline_.push_back(OutlineEntry{title, kind, static_cast<u16>(item), std::min(at, resume), 0});
      }
    }
  }
}

void TextModel::Layout::Walk() {
  int r = base_;
  while (r < end_) {
    if (!Drawn(R(r).style)) {
      if (R(r).style == kStyleObject && m_.pendingObject_ == kNone) m_.pendingObject_ = r;
      CountRun(r);
      ++r;
      continue;
    }
    if (m_.pendingObject_ != kNone) AddObjectBlock(r);
    Group group;
    group.first = r;
    for (;;) {
      Heading(r);
      AddToGroup(group, r);
      if (EndsInSpace(r) || r == end_ - 1) {
        ++r;
        break;
      }
      int next = r + 1;
      while (next < end_ && R(next).style == kStyleHidden) ++next;
      group.runs += next - r - 1;
      // A word goes on into a run that meets it without white space, unless
      // that run starts a new line.
      if (next < end_ && R(next).style <= 127 && !BeginsWithSpace(next) && !(R(next).tokenBits & kTokenNewLine)) {
        r = next;
        continue;
      }
      r = next;
      break;
    }
    Place(group);
  }
}

void TextModel::Layout::Finish() {
  Paragraph& p = P();
  if (!p.block) return;
  if (p.height < p.textHeight) {
    p.height = p.textHeight;
  } else if (p.textHeight < p.height) {
    line_ = AppendLine(Line{0, p.height - p.textHeight, end_, 0, 0, 0});
    ++P().lineCount;
    m_.filler_ = true;
  }
}

bool TextModel::AddChunk(const ReToken* tokens, unsigned count, LayoutHost& host, const LayoutWidths& widths) {
  if (runs_.data() == nullptr) return false;

  // The tokens' styles, and where each joining blank goes.
  struct Prepared {
    ReToken token;
    u8 style, marks;
    bool blankAfterPrevious, blankBefore;
  };
  std::vector<Prepared> prepared(count);
  u32 bytes = 0;
  for (unsigned i = 0; i < count; ++i) {
    Prepared& t = prepared[i];
    std::memcpy(&t.token, &tokens[i], sizeof(ReToken));
    if (t.token.text == nullptr) t.token.length = 0;
    TokenStyle(t.token.type, t.token.flags, t.token.style, t.style, t.marks);
    t.blankAfterPrevious = t.blankBefore = false;
    bytes += t.token.length;
  }
  auto textOf = [&](int index, const char*& text, int& length, u8& style) {
    // index < 0 reaches back into the model's runs.
    if (index >= 0) {
      text = prepared[static_cast<std::size_t>(index)].token.text;
      length = prepared[static_cast<std::size_t>(index)].token.length;
      style = prepared[static_cast<std::size_t>(index)].style;
    } else {
      const int run = RunCount() + index;
      text = RunText(run);
      length = GetRun(run).length;
      style = GetRun(run).style;
    }
  };
  // Whether the text at an index ends in a blank, counting a joining blank
  // that an earlier token of this chunk gave it.
  auto endsInBlank = [&](int index, const char* text, int length) {
    if (length > 0 && text[length - 1] == ' ') return true;
    return index >= 0 && static_cast<unsigned>(index) + 1 < count &&
           prepared[static_cast<std::size_t>(index) + 1].blankAfterPrevious;
  };
  for (unsigned i = 0; i < count; ++i) {
    Prepared& t = prepared[i];
    if (!(t.token.flags & kTokenJoin)) continue;
    const int previous = static_cast<int>(i) - 1;
    if (previous < -RunCount()) continue;  // nothing to join to
    const char* text;
    int length;
    u8 style;
    if (Drawn(t.style)) {
      // The blank must stand between this run and the last drawn text before
      // it. It belongs to the previous run when that is drawn text of this
      // chunk; after hidden runs, or at the start of a chunk, it leads this run.
      int back = previous;
      textOf(back, text, length, style);
      while (!Drawn(style) && back > -RunCount()) textOf(--back, text, length, style);
      if (!Drawn(style) || endsInBlank(back, text, length)) continue;
      if (back == previous && previous >= 0) {
        t.blankAfterPrevious = true;
      } else {
        t.blankBefore = true;
      }
    } else {
      if (previous < 0) continue;
      textOf(previous, text, length, style);
      if (endsInBlank(previous, text, length)) continue;
      t.blankAfterPrevious = true;
    }
    ++bytes;
  }

  if (!text_.GrowFor(text_.used + bytes, kTextStep, 0) || !runs_.GrowFor(runs_.used + count, kRunStep, 10)) {
    return false;
  }

  Snapshot saved;
  saved.text = text_.used;
  saved.runs = runs_.used;
  saved.lines = lines_.used;
  saved.paragraphs = paragraphs_.used;
  saved.outline = outline_.size();
  for (u32 i = 0; i < 2 && i < lines_.used; ++i) saved.lastLines[i] = lines_[lines_.used - 1 - i];
  if (paragraphs_.used > 0) saved.lastParagraph = paragraphs_[paragraphs_.used - 1];
  saved.blank = blank_;
  saved.pendingObject = pendingObject_;
  saved.headingFirst = headingFirst_;
  saved.headingLevel = headingLevel_;
  saved.filler = filler_;

  // Copy the texts and fill the runs.
  const int base = RunCount();
  chunkFormats_.assign(count, 0);
  for (unsigned i = 0; i < count; ++i) {
    const Prepared& t = prepared[i];
    if (t.blankAfterPrevious) {
      text_[text_.used++] = ' ';
      ++runs_[runs_.used - 1].length;
    }
    Run& run = runs_[runs_.used];
    std::memset(&run, 0, sizeof run);
    run.textOffset = static_cast<i32>(text_.used);
    if (t.blankBefore) text_[text_.used++] = ' ';
    if (t.token.length > 0) std::memcpy(text_.data() + text_.used, t.token.text, t.token.length);
    text_.used += t.token.length;
    run.length = static_cast<u16>(t.token.length + (t.blankBefore ? 1 : 0));
    run.marks = t.marks;
    run.style = t.style;
    run.tokenBits = t.token.flags;
    run.tokenType = t.token.type;
    chunkFormats_[i] = t.token.style;
    ++runs_.used;
  }
  blank_ = host.Measure(kStyleNormal, " ", 1).height;
  for (int r = base; r < RunCount(); ++r) {
    Run& run = runs_[static_cast<u32>(r)];
    if (!Drawn(run.style)) continue;
    const int skip = LeadingNewlines(r);
    if (skip == run.length) {
      run.height = blank_;
      continue;
    }
    const Extent extent = host.Measure(run.style, RunText(r) + skip, run.length - skip);
    run.width = extent.width;
    run.height = extent.height;
  }

  try {
    Layout layout(*this, host, widths, base);
    layout.Resume();
    layout.Walk();
    layout.Finish();
  } catch (const OutOfMemory&) {
    text_.used = saved.text;
    runs_.used = saved.runs;
    lines_.used = saved.lines;
    paragraphs_.used = saved.paragraphs;
    outline_.resize(saved.outline);
    for (u32 i = 0; i < 2 && i < lines_.used; ++i) lines_[lines_.used - 1 - i] = saved.lastLines[i];
    if (paragraphs_.used > 0) paragraphs_[paragraphs_.used - 1] = saved.lastParagraph;
    blank_ = saved.blank;
    pendingObject_ = saved.pendingObject;
    headingFirst_ = saved.headingFirst;
    headingLevel_ = saved.headingLevel;
    filler_ = saved.filler;
    return false;
  }
  return true;
}

}  // namespace display
