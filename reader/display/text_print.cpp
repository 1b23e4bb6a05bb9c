#include "display/text_print.h"

#include <algorithm>
#include <vector>

namespace display {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Cross references print in the normal font.
int PrintStyle(int style) { return style == kStyleCrossReference ? kStyleNormal : style; }

class PageLayout {
 public:
  PageLayout(const TextModel& model, PrintSurface& surface, const CRect& area, bool selectionOnly, bool dictionaryLines)
      : m_(model),
        s_(surface),
        area_(area),
        selection_(selectionOnly),
        dictionaryLines_(dictionaryLines),
        n_(model.RunCount()) {}

  int Print(int first);

 private:
  struct Placed {
    int run;
    int x;
    int skip;  // leading newlines not drawn
  };

  const Run& R(int r) const { return m_.GetRun(r); }
  bool Selected(int r) const { return (R(r).marks & kMarkSelected) != 0; }
  bool Text(int r) const { return R(r).style <= 127; }
  // What a run brings before its text (nothing for the run whose breaks
  // are handled): its leading newlines, and whether it starts a line.
  int Newlines(int r) const { return r == handled_ ? 0 : m_.LeadingNewlines(r); }
  bool StartsLine(int r) const { return r != handled_ && (R(r).tokenBits & kTokenNewLine) != 0; }
  bool Breaks(int r) const { return Newlines(r) > 0 || StartsLine(r); }
  bool HasText(int r) const { return m_.LeadingNewlines(r) < R(r).length; }
  bool EndsInSpace(int r) const { return R(r).length > 0 && IsSpace(m_.RunText(r)[R(r).length - 1]); }
  bool BeginsWithSpace(int r) const { return R(r).length > 0 && IsSpace(m_.RunText(r)[0]); }
  // The first run at or after r that is printed at all; n when none.
  int NextPrinted(int r) const {
    while (r < n_ && !(Text(r) && (!selection_ || Selected(r)))) ++r;
    return r;
  }
  Extent MeasureRun(int r, int skip) {
    return s_.Measure(PrintStyle(R(r).style), m_.RunText(r) + skip, R(r).length - skip);
  }

  const TextModel& m_;
  PrintSurface& s_;
  CRect area_;
  bool selection_;
  bool dictionaryLines_;
  int n_;
  // The run whose leading line breaks are already handled (the first on the
  // page, or one that starts a line after the breaks before it were counted).
  int handled_ = kNone;
};

int PageLayout::Print(int first) {
  const int lineHeight = s_.LineHeight();
  const int quarter = lineHeight / 4;
  int r = NextPrinted(std::max(first, 0));
  if (r >= n_) return -1;
  handled_ = r;
  int y = area_.top;
  bool pageStart = true;
  std::vector<Placed> placed;
  for (;;) {
    const int lineStart = r;
    placed.clear();
    int x = area_.left;
    int height = lineHeight;
    bool raised = false, lowered = false, blockEnd = false;
    while (r < n_) {
      if (selection_ && !Selected(r)) {
        if (!placed.empty()) {
          blockEnd = true;
          break;
        }
        ++r;
        continue;
      }
      if (!Text(r)) {
        ++r;
        continue;
      }
      if (!placed.empty() && Breaks(r)) break;
      if (placed.empty() && !HasText(r)) {
        ++r;
        continue;
      }
      // A word group: runs that meet without white space, hidden runs passed over.
      std::vector<int> group{r};
      for (int g = r; !EndsInSpace(g);) {
        int next = g + 1;
        while (next < n_ && !Text(next) && (!selection_ || Selected(next))) ++next;
        if (next >= n_ || !Text(next) || (selection_ && !Selected(next)) || BeginsWithSpace(next) ||
            (R(next).tokenBits & kTokenNewLine)) {
          break;
        }
        group.push_back(next);
        g = next;
      }
      int width = 0, groupHeight = 0;
      std::vector<int> widths;
      for (std::size_t i = 0; i < group.size(); ++i) {
        const Extent e = MeasureRun(group[i], i == 0 ? m_.LeadingNewlines(group[i]) : 0);
        widths.push_back(e.width);
        width += e.width;
        groupHeight = std::max(groupHeight, e.height);
      }
      // A group that does not fit starts the next line; alone on a line it is
      // printed anyway, cut at the right edge by the caller's clipping.
      if (!placed.empty() && x + width >= area_.right) break;
      for (std::size_t i = 0; i < group.size(); ++i) {
        placed.push_back(Placed{group[i], x, i == 0 ? m_.LeadingNewlines(group[i]) : 0});
        x += widths[i];
        raised = raised || R(group[i]).style == kStyleRaised;
        lowered = lowered || R(group[i]).style == kStyleLowered;
      }
      height = std::max(height, groupHeight);
      r = group.back() + 1;
      handled_ = kNone;
    }
    if (placed.empty()) return -1;
    // A line that would reach past the bottom starts the next page; the
    // page's first line is printed whatever its height. Raised and lowered
    // lines reach a quarter line lower.
    const int lineBottom = y + height + (raised || lowered ? quarter : 0);
    if (!pageStart && lineBottom > area_.bottom) return lineStart;
    pageStart = false;

    const int base = y + (raised ? quarter : 0);
    for (const Placed& p : placed) {
      const int style = R(p.run).style;
      const int shift = style == kStyleRaised ? -quarter : style == kStyleLowered ? quarter : 0;
      s_.Draw(PrintStyle(style), p.x, base + shift, m_.RunText(p.run) + p.skip, R(p.run).length - p.skip);
    }

    // After the line: an empty line for each newline beyond the first, and
    // outside the dictionary's lists for each run that starts a line (a
    // line feed of its own there; its text starts the next line all the
    // same); two empty lines between selected blocks.
    int extra = 0;
    if (blockEnd) {
      extra = 2 * lineHeight;
    } else {
      bool firstNewline = true;
      while (r < n_) {
        if (selection_ && !Selected(r)) {
          if (NextPrinted(r) < n_) extra += 2 * lineHeight;
          break;
        }
        if (!Text(r)) {
          ++r;
          continue;
        }
        if (!Breaks(r)) break;
        int newlines = Newlines(r);
        if (newlines > 0 && firstNewline) {
          --newlines;
          firstNewline = false;
        }
        extra += newlines * lineHeight;
        if (StartsLine(r) && !dictionaryLines_) extra += lineHeight;
        if (HasText(r)) {
          handled_ = r;
          break;
        }
        ++r;
      }
    }
    // A raised line is drawn a quarter line lower but takes no more room; a
    // lowered line takes a quarter line more.
    y += height + (lowered ? quarter : 0) + extra;
    r = NextPrinted(r);
    if (r >= n_) return -1;
  }
}

}  // namespace

int PrintPage(const TextModel& model, PrintSurface& surface, const CRect& area, int first, bool selectionOnly,
              bool dictionaryLines) {
  return PageLayout(model, surface, area, selectionOnly, dictionaryLines).Print(first);
}

}  // namespace display
