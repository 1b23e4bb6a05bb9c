// What the display does with its model: finding words, copying text,
// laying runs out on printed pages, scrolling arithmetic, and notes and
// highlights through a bookmark store.
#include <algorithm>
#include <map>
#include <string>

#include "display/annotations.h"
#include "display/text_copy.h"
#include "display/text_find.h"
#include "display/text_print.h"
#include "display/text_scroll.h"
#include "model_fixture.h"

namespace displaytest {
namespace {

// ---------------------------------------------------------------------------
// Finding words

class Find : public ModelTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Add({W("Cats"), W("and"), W("dogs"), W("cat's"), W("cat-like"), W("scattered"),
                     W("\xC9"
                       "clair")}));
  }
  std::vector<int> Hits() const {
    std::vector<int> hits;
    for (int r = 0; r < model.RunCount(); ++r) {
      if (model.GetRun(r).marks & kMarkFindHit) hits.push_back(r);
    }
    return hits;
  }
  FindState state;
};

TEST_F(Find, EveryQueryWordIsMarkedOncePerRunAndOperatorsAreNeverSearched) {
  EXPECT_EQ(QueryWords(" cat &dog | !fish ~ "), (std::vector<std::string>{"cat", "dog", "fish"}));
  FindWords(model, state, "cat & dog", false, false);
  EXPECT_EQ(state.count, 5);
  EXPECT_EQ(Hits(), (std::vector<int>{0, 2, 3, 4, 5}));
  EXPECT_EQ(state.firstHit, 0);
  EXPECT_EQ(state.lastHit, 5);
  EXPECT_EQ(model.GetRun(5).hitStart, 1);
  EXPECT_EQ(model.GetRun(5).hitLength, 3);
  EXPECT_EQ(FindWords(model, state, "&", false, false).size(), 0u);
}

TEST_F(Find, AnOperatorInsideAWordIsPartOfIt) {
  EXPECT_EQ(QueryWords("AT&T & cat|dog !~fish"), (std::vector<std::string>{"AT&T", "cat|dog", "fish"}));
  ASSERT_TRUE(Add({W("AT&T"), W("AT"), W("T")}));
  FindWords(model, state, "AT&T", true, false);
  EXPECT_EQ(Hits(), (std::vector<int>{7}));
}

TEST_F(Find, TwoWordsInOneRunCountTwiceAndTheLaterOneShows) {
  const std::vector<int> found = FindWords(model, state, "cat like", false, false);
  EXPECT_EQ(state.count, 5);
  EXPECT_EQ(std::count(found.begin(), found.end(), 4), 2);
  EXPECT_EQ(model.GetRun(4).hitStart, 4);
  EXPECT_EQ(model.GetRun(4).hitLength, 4);
}

TEST_F(Find, WholeWordsAcceptAHyphenButNoApostropheOrLetterAround) {
  FindWords(model, state, "cat", false, true);
  EXPECT_EQ(Hits(), (std::vector<int>{4}));
  ClearFindHits(model, state);
  FindWords(model, state, "cats", true, false);
  EXPECT_EQ(state.count, 0);
  FindWords(model, state,
            "\xE9"
            "clair",
            false, true);
  EXPECT_EQ(Hits(), (std::vector<int>{6}));
}

TEST_F(Find, ClearingRemovesTheMarksAndSaysWhetherThereWereAny) {
  FindWords(model, state, "dog", false, false);
  EXPECT_TRUE(ClearFindHits(model, state));
  EXPECT_TRUE(Hits().empty());
  EXPECT_EQ(state.count, 0);
  EXPECT_EQ(state.firstHit, kNone);
  EXPECT_EQ(state.lastHit, 0);
  EXPECT_FALSE(ClearFindHits(model, state));
}

TEST_F(ModelTest, HitsAreWalkedFromTheTopLineInBothDirections) {
  widths.clientWidth = 40;  // one word a line
  ASSERT_TRUE(Add({W("one"), W("hit"), W("two"), W("three"), W("hit"), W("four")}));
  FindState state;
  FindWords(model, state, "hit", false, false);
  ASSERT_EQ(model.LineCount(), 6);
  EXPECT_EQ(NextHitRun(model, 0, +1), 1);
  EXPECT_EQ(NextHitRun(model, 1, +1), 4);
  EXPECT_EQ(NextHitRun(model, 4, +1), kNone);
  EXPECT_EQ(NextHitRun(model, 5, -1), 4);
  EXPECT_EQ(NextHitRun(model, 4, -1), 1);
  EXPECT_EQ(NextHitRun(model, 1, -1), kNone);
}

// ---------------------------------------------------------------------------
// Copying

TEST_F(ModelTest, CopiedTextEndsLinesInCrLfAndLeavesHiddenRunsOut) {
  EXPECT_EQ(CopyAll(model), "");
  ASSERT_TRUE(Add({W("Title"), NewLine("Body"), W("text"), W("France", kFormatCrossReference), Hidden("12"),
                   Tok{"\nNext", 0, 0, kBody}}));
  EXPECT_EQ(CopyAll(model), "Title \r\nBody text France\r\nNext");
  // A run that starts a line gives its own line break besides those of its
  // leading newlines, as the screen shows both.
  ASSERT_TRUE(Add({Tok{"\nLast", kTokenNewLine, 0, kBody}}));
  EXPECT_EQ(CopyAll(model), "Title \r\nBody text France\r\nNext\r\n\r\nLast");
}

TEST_F(ModelTest, NothingButHiddenRunsCopiesAsNothing) {
  ASSERT_TRUE(Add(Block({10, 10, 1, 0})));
  ASSERT_TRUE(Add({Hidden("1")}));
  EXPECT_EQ(CopyAll(model), "");
  model.SetMark(0, model.RunCount() - 1, kMarkSelected, true);
  EXPECT_EQ(CopySelection(model), "");
}

TEST_F(ModelTest, SeparateSelectionsCopyAsBlocksWithAnEmptyLineBetween) {
  ASSERT_TRUE(Add({W("one"), W("two"), W("three"), NewLine("four"), W("five")}));
  model.SetMark(0, 1, kMarkSelected, true);
  model.SetMark(3, 4, kMarkSelected, true);
  // The second block starts a line: no line break before its first word.
  EXPECT_EQ(CopySelection(model), "one two \r\n\r\nfour five");
}

TEST_F(ModelTest, PhoneticRunsCopyAsTheirPlainSpelling) {
  EXPECT_STREQ(PhoneticSpelling(81), "th");
  EXPECT_STREQ(PhoneticSpelling(191), "yoo");
  EXPECT_STREQ(PhoneticSpelling(61), "\xBA");
  EXPECT_STREQ(PhoneticSpelling(10), "");
  ASSERT_TRUE(Add({W("say"), Tok{"Q", kTokenPhonetic, 0, kBody}, Tok{"\xBF", kTokenPhonetic, 0, kBody}}));
  EXPECT_EQ(CopyAll(model), "saythyoo");
}

// ---------------------------------------------------------------------------
// Printing

// Fixed widths as the model's host, 20-pixel lines, and what was drawn.
class RecordingSurface : public PrintSurface {
 public:
  struct Drawn {
    int style, x, y;
    std::string text;
  };
  Extent Measure(int style, const char*, int length) override {
    return Extent{length * kCharWidth, style == kStyleRaised || style == kStyleLowered ? kSmallHeight : kHeight};
  }
  int LineHeight() override { return 20; }
  void Draw(int style, int x, int y, const char* text, int length) override {
    drawn.push_back(Drawn{style, x, y, std::string(text, static_cast<std::size_t>(length))});
  }
  // The texts drawn at each y, in order.
  std::map<int, std::string> Lines() const {
    std::map<int, std::string> lines;
    for (const Drawn& d : drawn) lines[d.y] += d.text;
    return lines;
  }
  std::vector<Drawn> drawn;
};

// Prints the text page after page into `area`: what each page drew.
std::vector<std::vector<RecordingSurface::Drawn>> PrintPages(const TextModel& model, const CRect& area) {
  std::vector<std::vector<RecordingSurface::Drawn>> pages;
  for (int start = 0; start != -1 && pages.size() < 1000;) {
    RecordingSurface page;
    const int next = PrintPage(model, page, area, start, false, false);
    EXPECT_TRUE(next == -1 || next > start);
    pages.push_back(page.drawn);
    start = next;
  }
  return pages;
}

// A page ends before a line that would reach below the area, so that the
// line starts the next page: on pages of any height, and one an exact
// multiple of the line height, every run is printed once, in order, and
// nothing reaches below the area.
TEST_F(ModelTest, EveryLineIsPrintedOnceOnPagesOfAnyHeightAndNoneBelowThem) {
  std::vector<Tok> words;
  for (int i = 0; i < 60; ++i) {
    std::string text("w");
    text += std::to_string(i);
    if (i % 9 == 4) {
      words.push_back(NewLine(text));
    } else if (i % 13 == 6) {
      std::string gap(2, '\n');  // an empty line before it
      gap += text;
      words.push_back(Tok{gap, 0, 0, kBody});
    } else if (i % 11 == 7) {
      words.push_back(Glued(text, i % 2 ? kFormatRaised : kFormatLowered));
    } else {
      words.push_back(W(text));
    }
  }
  ASSERT_TRUE(Add(words));
  // The oracle: the whole text on one page.
  RecordingSurface whole;
  ASSERT_EQ(PrintPage(model, whole, CRect(0, 0, 131, 100000), 0, false, false), -1);
  std::vector<std::string> expected;
  for (const auto& d : whole.drawn) expected.push_back(d.text);
  ASSERT_GT(expected.size(), 50u);

  for (int height : {20, 25, 39, 40, 90, 100, 101, 137}) {
    const CRect area(10, 0, 131, height);
    const auto pages = PrintPages(model, area);
    std::vector<std::string> printed;
    for (const auto& page : pages) {
      ASSERT_FALSE(page.empty()) << height;
      for (const auto& d : page) {
        printed.push_back(d.text);
        // Text of the normal styles is 20 high with its leading, raised and
        // lowered text 12; the page's first line (from y 0) is printed
        // whatever its height.
        const bool small = d.style == kStyleRaised || d.style == kStyleLowered;
        if (d.y >= 20) {
          EXPECT_LE(d.y + (small ? kSmallHeight : 20), area.bottom) << height << " " << d.text;
        }
      }
    }
    EXPECT_EQ(printed, expected) << height;
  }
}

TEST_F(ModelTest, ALineThatCrossesTheBottomStartsTheNextPage) {
  std::vector<Tok> words;
  for (int i = 0; i < 30; ++i) words.push_back(W("word"));
  ASSERT_TRUE(Add(words));
  // Four words a line (a fifth would reach the right edge): the fifth line
  // (y 80 to 100) crosses a bottom at 90 and starts the next page, and ends
  // exactly on a bottom at 100.
  RecordingSurface crossed;
  EXPECT_EQ(PrintPage(model, crossed, CRect(10, 0, 131, 90), 0, false, false), 16);
  ASSERT_EQ(crossed.Lines().size(), 4u);
  EXPECT_EQ(crossed.Lines().begin()->second, "word word word word ");
  EXPECT_EQ(crossed.drawn.front().x, 10);
  RecordingSurface exact;
  EXPECT_EQ(PrintPage(model, exact, CRect(10, 0, 131, 100), 0, false, false), 20);
  EXPECT_EQ(exact.Lines().rbegin()->first, 80);
  RecordingSurface last;
  EXPECT_EQ(PrintPage(model, last, CRect(10, 0, 131, 100), 20, false, false), -1);
  EXPECT_EQ(last.drawn.size(), 10u);
  EXPECT_EQ(last.drawn.front().y, 0);
}

TEST_F(ModelTest, EveryPagePrintsAtLeastOneLine) {
  ASSERT_TRUE(Add({W("one"), W(std::string(50, 'w')), W("two")}));
  RecordingSurface page;
  const CRect area(0, 0, 120, 5);  // lower than a line, narrower than the long word
  EXPECT_EQ(PrintPage(model, page, area, 0, false, false), 1);
  EXPECT_EQ(PrintPage(model, page, area, 1, false, false), 2);  // the long word alone
  EXPECT_EQ(PrintPage(model, page, area, 2, false, false), -1);
  ASSERT_EQ(page.drawn.size(), 3u);
  EXPECT_EQ(page.drawn[1].text, std::string(50, 'w') + " ");
}

// A run that starts a line ends the printed line. Outside the dictionary's
// lists it is a line feed of its own besides, which leaves an empty line
// (its text, a heading or a paragraph's first word, is printed all the same);
// in them it only starts the next line. Newlines beyond the first leave
// empty lines.
TEST_F(ModelTest, LineStartsAndNewlinesBreakPrintedLines) {
  ASSERT_TRUE(Add({W("Text"), NewLine("Heading", kFormatBold), Tok{"\n\nAfter", 0, 0, kBody}, W("gap")}));
  RecordingSurface page;
  EXPECT_EQ(PrintPage(model, page, CRect(0, 0, 600, 800), 0, false, false), -1);
  EXPECT_EQ(page.Lines(), (std::map<int, std::string>{{0, "Text "}, {40, "Heading"}, {80, "After gap"}}));
  EXPECT_EQ(page.drawn[1].style, kStyleBold);
  RecordingSurface list;
  EXPECT_EQ(PrintPage(model, list, CRect(0, 0, 600, 800), 0, false, true), -1);
  EXPECT_EQ(list.Lines(), (std::map<int, std::string>{{0, "Text "}, {20, "Heading"}, {60, "After gap"}}));
}

TEST_F(ModelTest, SelectionPrintingLeavesTwoEmptyLinesBetweenBlocks) {
  ASSERT_TRUE(Add({W("one"), W("two"), W("three"), W("four"), W("five")}));
  model.SetMark(0, 0, kMarkSelected, true);
  model.SetMark(3, 4, kMarkSelected, true);
  RecordingSurface page;
  EXPECT_EQ(PrintPage(model, page, CRect(0, 0, 600, 800), 0, true, false), -1);
  EXPECT_EQ(page.Lines(), (std::map<int, std::string>{{0, "one "}, {60, "four five"}}));
}

TEST_F(ModelTest, RaisedAndLoweredRunsPrintAQuarterLineOff) {
  ASSERT_TRUE(
      Add({W("x"), Glued("2", kFormatRaised), W("H"), Glued("2", kFormatLowered), W("cross", kFormatCrossReference),
           NewLine("next"), W("up"), Glued("2", kFormatRaised), NewLine("end")}));
  RecordingSurface page;
  PrintPage(model, page, CRect(0, 0, 600, 800), 0, false, true);
  ASSERT_EQ(page.drawn.size(), 9u);
  EXPECT_EQ(page.drawn[0].y, 5);  // a raised line moves down a quarter line
  EXPECT_EQ(page.drawn[1].y, 0);
  EXPECT_EQ(page.drawn[3].y, 10);
  EXPECT_EQ(page.drawn[4].style, kStyleNormal);  // cross references print in font 0
  // The line took its height plus a quarter for being lowered (the next
  // starts at 25); a raised line only moves its drawing (the one after it
  // starts a plain line height lower, at 45).
  EXPECT_EQ(page.drawn[5].y, 25 + 5);
  EXPECT_EQ(page.drawn[7].y, 25);
  EXPECT_EQ(page.drawn[8].y, 45);
}

// ---------------------------------------------------------------------------
// Scrolling

class Scrolling : public ModelTest {
 protected:
  void SetUp() override {
    std::vector<Tok> lines{W("w0")};
    for (int i = 1; i < 20; ++i) lines.push_back(NewLine(std::string("w") + std::to_string(i)));
    ASSERT_TRUE(Add(lines));
    ASSERT_EQ(model.LineCount(), 20);
  }
};

TEST_F(Scrolling, PagesMoveToTheLineCutByTheEdge) {
  EXPECT_EQ(LastVisibleLine(model, 0, 100), 5);
  EXPECT_EQ(PageDownLine(model, 0, 100), 6);
  EXPECT_EQ(PageDownLine(model, 16, 100), 19);
  EXPECT_EQ(PageDownLine(model, 19, 100), 19);
  EXPECT_EQ(PageUpLine(model, 12, 100), 6);
  EXPECT_EQ(PageUpLine(model, 2, 100), 0);
  // A line taller than the window still moves one line.
  EXPECT_EQ(PageDownLine(model, 3, 10), 4);
  EXPECT_EQ(PageUpLine(model, 3, 10), 2);
  EXPECT_EQ(TopOffset(model, 7), 7 * kHeight);
  EXPECT_EQ(TopOffset(model, 99), 0);
}

TEST_F(Scrolling, ALineEndingOnTheBottomEdgeReachesIt) {
  // Six lines fill the window exactly: the sixth reaches the bottom, so it
  // is not counted as visible and a page down makes it the top line.
  EXPECT_EQ(LastVisibleLine(model, 0, 6 * kHeight), 4);
  EXPECT_EQ(PageDownLine(model, 0, 6 * kHeight), 5);
  EXPECT_EQ(LastVisibleLine(model, 0, 6 * kHeight + 1), 5);
  EXPECT_EQ(PageDownLine(model, 0, 6 * kHeight + 1), 6);
}

TEST_F(Scrolling, TheThumbStandsForTheTopLine) {
  EXPECT_EQ(ThumbTop(20, 200, 10, 0, 0, 19), 20);
  EXPECT_EQ(ThumbTop(20, 200, 10, 10, 0, 19), 20 + 190 * 10 / 20);
  EXPECT_EQ(ThumbTop(20, 200, 10, 19, 0, 19), 210);
  // Dropped at the bottom of the track, the last line comes to the top.
  EXPECT_EQ(DropLine(210, 20, 200, 10, 0, 19), 19);
  EXPECT_EQ(DropLine(20, 20, 200, 10, 0, 19), 0);
  EXPECT_EQ(DropLine(115, 20, 200, 10, 0, 19), 10);
  EXPECT_EQ(DropLine(30, 20, 10, 10, 0, 19), 19);
}

TEST_F(ModelTest, NumberedPositionsScrollToHalfAWindowAbove) {
  std::vector<Tok> tokens{W("start")};
  for (int i = 1; i <= 12; ++i) {
    tokens.push_back(Tok{std::to_string(i * 10), kTokenNewLine | kTokenJoin, 0, 1});
    tokens.push_back(W("text"));
  }
  ASSERT_TRUE(Add(tokens));
  EXPECT_EQ(PositionLine(model, 2, 100), 0);
  EXPECT_EQ(PositionLine(model, 55, 100), kNone);
  // "90" stands on line 9; three lines of 16 fit in half of 100.
  EXPECT_EQ(PositionLine(model, 90, 100), 6);
  EXPECT_EQ(PositionLine(model, 20, 100), 0);
}

// ---------------------------------------------------------------------------
// Notes and highlights

class FakeStore : public AnnotationStore {
 public:
  bool FindAnnotations(int article, StoredAnnotations& out) override {
    const auto found = records.find(article);
    if (found == records.end()) return false;
    out = found->second;
    return true;
  }
  void RemoveBookmark(int article) override {
    ++removed;
    records.erase(article);
  }
  void AddBookmarkNote(int article, const std::string& text, int position) override {
    records[article].notes.push_back(StoredNote{text, position});
  }
  void AddHighlight(int article, int first, int last) override {
    records[article].highlights.emplace_back(first, last);
  }
  std::map<int, StoredAnnotations> records;
  int removed = 0;
};

TEST_F(ModelTest, NotesAndHighlightsRoundTripThroughTheStore) {
  std::vector<Tok> words;
  for (int i = 0; i < 10; ++i) words.push_back(W(std::string("w") + std::to_string(i)));
  ASSERT_TRUE(Add(words));
  model.SetMark(2, 4, kMarkHighlighted, true);
  model.SetMark(8, 9, kMarkHighlighted, true);  // to the end of the entry
  FakeStore store;
  store.AddBookmarkNote(7, "stale", 1);
  StoreAnnotations(store, 7, {StoredNote{"first", 1}, StoredNote{"second", 7}}, model);
  ASSERT_EQ(store.records.size(), 1u);
  const StoredAnnotations& stored = store.records[7];
  ASSERT_EQ(stored.notes.size(), 2u);
  EXPECT_EQ(stored.notes[0].text, "first");
  EXPECT_EQ(stored.notes[1].position, 7);
  EXPECT_EQ(stored.highlights, (std::vector<std::pair<int, int>>{{2, 4}, {8, 9}}));

  TextModel shown;
  ASSERT_TRUE(shown.Reset());
  Chunk chunk(words);
  ASSERT_TRUE(shown.AddChunk(chunk.tokens(), chunk.count(), host, widths));
  std::vector<StoredNote> notes;
  ASSERT_TRUE(RestoreAnnotations(store, 7, shown, notes));
  EXPECT_EQ(HighlightRanges(shown), stored.highlights);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[1].text, "second");
  EXPECT_FALSE(RestoreAnnotations(store, 8, shown, notes));
  EXPECT_TRUE(notes.empty());

  // Without notes and highlights the record goes entirely.
  shown.ClearMark(kMarkHighlighted);
  StoreAnnotations(store, 7, {}, shown);
  EXPECT_TRUE(store.records.empty());
}

// A record may be older than the text it is laid on: ranges are cut to the runs.
TEST_F(ModelTest, StoredRangesOutsideTheEntryAreCut) {
  ASSERT_TRUE(Add({W("a"), W("b"), W("c"), W("d")}));
  ApplyHighlights(model, {{-5, 0}, {3, 50}, {20, 30}, {2, 1}});
  EXPECT_EQ(HighlightRanges(model), (std::vector<std::pair<int, int>>{{0, 0}, {3, 3}}));
}

TEST(NotePlaces, NotesOfOneLineStandOneBelowTheOther) {
  EXPECT_EQ(PlaceNote({}, 10).top, 10);
  // A new note on the line of another takes the line's place; the other moves down.
  const NotePlace place = PlaceNote({10}, 10);
  EXPECT_EQ(place.index, 0);
  EXPECT_EQ(place.top, 10);
  std::vector<int> tops{10, 10, 60};
  EXPECT_EQ(PushNotesDown(tops, 0), (std::vector<int>{1, 2}));
  EXPECT_EQ(tops, (std::vector<int>{10, 43, 76}));
  // Below a note that reaches down to the line: 1 pixel under it.
  const NotePlace below = PlaceNote({10}, 20);
  EXPECT_EQ(below.index, 1);
  EXPECT_EQ(below.top, 43);
  EXPECT_EQ(PlaceNote({10}, 80).top, 80);
}

}  // namespace
}  // namespace displaytest
