// The text model of the formatted-text display: the engine's token chunks
// turned into runs (one per token, with a style and marks), laid out at intake
// into lines and paragraphs for one client width. Painting, hit testing,
// finding, selection, notes, copying, printing and scrolling all work on these
// records. The model makes no window call: measuring and the thumbnails of
// media blocks go through a LayoutHost, so it builds and is tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx_core.h"
#include "zorlre/re_blocks.h"

namespace display {

// A run, line or paragraph index meaning "none".
constexpr int kNone = 0xFFFF;

// Run marks.
enum : u8 {
  kMarkSelected = 0x01,
  kMarkHighlighted = 0x02,
  kMarkFindHit = 0x04,
  kMarkCrossReference = 0x08,
};

// Run styles: 0..8 pick an article font, two more kinds are never drawn.
enum : u8 {
  kStyleNormal = 0,
  kStyleBold = 1,
  kStyleItalic = 2,
  kStyleBoldItalic = 3,
  kStyleRaised = 4,
  kStyleLowered = 5,
  kStyleCrossReference = 6,
  kStylePhonetic = 8,
  kStyleLastFont = 8,
  kStyleObject = 254,
  kStyleHidden = 255,
};

// Marker bits of a token (as kept in the run after TokenStyle).
enum : u8 {
  kTokenNewLine = 0x01,
  kTokenJoin = 0x02,
  kTokenOutlineTitle = 0x04,
  kTokenPhonetic = 0x40,
  kTokenSearchHit = 0x80,
};

// Format bits of a token.
enum : u8 {
  kFormatBold = 0x01,
  kFormatItalic = 0x02,
  kFormatCrossReference = 0x04,
  kFormatOutlineHeading = 0x08,
  kFormatRaised = 0x10,
  kFormatLowered = 0x20,
  kFormatPlain = 0x40,
  kFormatHidden = 0x80,
};

// The token type of media object blocks.
constexpr u8 kTypeObjectBlock = 10;
// Outline kind of a heading of the text.
constexpr u16 kOutlineHeading = 11;
// A paragraph grows to about this height before a line break starts a new one.
constexpr int kParagraphHeightLimit = 16385;
// Objects a block can hold.
constexpr int kMaxObjects = 128;

// Block flags.
enum : u32 {
  kBlockObjectsLeft = 0x0001,
  kBlockObjectsRight = 0x0002,
  kBlockNoTextBeside = 0x0004,
  kBlockNoTextBesideToo = 0x4000,
};

struct Run {
  i32 width;       // of the text after its leading newlines; 0 for hidden, object and all-newline runs
  i32 height;      // the blank height for an all-newline run; 0 for hidden and object runs
  i32 textOffset;  // into the text buffer
  // Characters, a joining blank included. Wider than the token's length byte:
  // a 255-character token with its blank must not wrap to nothing.
  u16 length;
  u8 marks;
  u8 style;
  u8 tokenBits;
  u8 tokenType;
  u16 hitStart;  // the find hit inside the run
  u16 hitLength;
};

struct Line {
  i32 width;
  i32 height;  // tallest group, plus a quarter blank height when raised and another when lowered
  i32 firstRun;
  i32 runCount;  // hidden runs between visible ones included; 0 for a blank line
  u8 raised;
  u8 lowered;
};

struct Paragraph {
  u32 flags;  // 0 for text; the block flags of an object block
  i32 left;
  i32 top;  // in model coordinates
  i32 width;
  i32 height;
  i32 indent;      // width the objects of a block take
  i32 textHeight;  // height of the text laid out (beside a block's objects)
  i32 firstLine;
  i32 lineCount;
  i32 firstRun;
  i32 runCount;
  i32 objectCount;
  i32 objectSlots[kMaxObjects];  // per object: the run just before its numbers
  u8 block;                      // 1 for an object block (whose flags may be 0)
};

struct OutlineEntry {
  std::string title;
  u16 kind;  // kOutlineHeading, or the media kind
  u16 item;  // 0 for headings, the media item number
  i32 firstRun;
  u16 level;  // 1 or 2 for headings, 0 for media items
};

struct Extent {
  int width = 0;
  int height = 0;
};

// What intake needs of the window.
class LayoutHost {
 public:
  virtual ~LayoutHost() = default;
  // The extent of text in the font of a run style (0..8).
  virtual Extent Measure(int style, const char* text, int length) = 0;
  // Pictures are shown in the text ("DisplayPictures", media present and
  // the media data reachable).
  virtual bool ShowsPictures() = 0;
  // The media architecture is present and the media data reachable.
  virtual bool MediaReachable() = 0;
  // The title and kind of a media item's list record; false when unreadable.
  virtual bool ReadMediaItem(unsigned item, std::string& title, u16& kind) = 0;
  // Puts a thumbnail at a rectangle in model coordinates; false when it
  // could not be made.
  virtual bool PlaceThumbnail(const CRect& rect, unsigned controlId, unsigned itemIndex) = 0;
};

// The widths intake lays out for.
struct LayoutWidths {
  int clientWidth = 0;  // the client width less the note strip
  int border = 1;       // the system border width
};

// The style and marks of a token; rewrites its marker and format bits.
void TokenStyle(u8 type, u8& markerBits, u8& formatBits, u8& style, u8& marks);

// Growable arrays of plain records, zero-filled, grown in fixed steps. A
// failed allocation leaves the array as it was.
template <class T>
class RecordArray {
 public:
  RecordArray() = default;
  ~RecordArray() { Free(); }
  RecordArray(const RecordArray&) = delete;
  RecordArray& operator=(const RecordArray&) = delete;

  bool Allocate(u32 capacity);
  // Grows by steps until `needed` records fit below capacity - margin.
  bool GrowFor(u32 needed, u32 step, u32 margin);
  void Free();
  T* data() const { return data_; }
  u32 capacity() const { return capacity_; }
  u32 used = 0;
  T& operator[](u32 i) { return data_[i]; }
  const T& operator[](u32 i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
  u32 capacity_ = 0;
};

// Test hook: the n-th model allocation from now fails (0 = none fail).
void FailModelAllocationAfter(int n);

class TextModel {
 public:
  static constexpr u32 kTextStep = 8192;
  static constexpr u32 kRunStep = 2048;
  static constexpr u32 kLineStep = 512;
  static constexpr u32 kParagraphStep = 128;

  TextModel() = default;
  TextModel(const TextModel&) = delete;
  TextModel& operator=(const TextModel&) = delete;

  // Empties the model and allocates the first steps; false when memory runs
  // out (the model is then empty and unallocated).
  bool Reset();
  void Free();
  // Appends one chunk and lays it out; false when memory runs out, the model
  // then holding what it had before.
  bool AddChunk(const ReToken* tokens, unsigned count, LayoutHost& host, const LayoutWidths& widths);

  // Records.
  int RunCount() const { return static_cast<int>(runs_.used); }
  int LineCount() const { return static_cast<int>(lines_.used); }
  int ParagraphCount() const { return static_cast<int>(paragraphs_.used); }
  int TextLength() const { return static_cast<int>(text_.used); }
  const Run& GetRun(int i) const { return runs_[static_cast<u32>(i)]; }
  Run& RunAt(int i) { return runs_[static_cast<u32>(i)]; }
  const Line& GetLine(int i) const { return lines_[static_cast<u32>(i)]; }
  const Paragraph& GetParagraph(int i) const { return paragraphs_[static_cast<u32>(i)]; }
  const char* RunText(int i) const { return text_.data() + GetRun(i).textOffset; }
  std::string RunString(int i) const { return std::string(RunText(i), GetRun(i).length); }
  // Leading newline characters of a run's text.
  int LeadingNewlines(int run) const;
  const std::vector<OutlineEntry>& Outline() const { return outline_; }
  int BlankHeight() const { return blank_; }
  u32 TextCapacity() const { return text_.capacity(); }
  u32 RunCapacity() const { return runs_.capacity(); }
  u32 LineCapacity() const { return lines_.capacity(); }

  // The rectangle of an object of a block, in model coordinates.
  static CRect ObjectRect(const Paragraph& block, int x, int y, int width, int height);
  // Where a paragraph's text starts: beside the objects of a block at the left.
  static int TextStart(const Paragraph& paragraph);

  // Geometry (model coordinates).
  // The paragraph holding a line, or kNone.
  int ParagraphOfLine(int line) const;
  // The y of a line's top.
  int LineTop(int line) const;
  // The line holding a run, or kNone when no line holds it.
  int LineOfRun(int run) const;
  // The x where a run starts on its line.
  int RunLeft(int line, int run) const;

  struct Hit {
    int paragraph = kNone;
    int line = kNone;
    int run = kNone;           // the run under the point (a hidden one stands for the next)
    bool pastEnd = false;      // right of the line's runs
    bool beforeStart = false;  // left of the line's text
  };
  // Finds paragraph, line and run under a point. With `wholeWidth` (note
  // mode) bands and lines reach the client's right edge.
  Hit HitTest(int x, int y, int clientWidth, bool wholeWidth) const;

  // Marks.
  // Sets or clears a mark on runs from..to (either order); returns the
  // runs whose mark changed.
  std::vector<int> SetMark(int from, int to, u8 mark, bool on);
  bool AnyMark(u8 mark) const;
  // Clears a mark everywhere; returns whether any run had it.
  bool ClearMark(u8 mark);

 private:
  struct Group;
  struct Snapshot;
  class Layout;

  RecordArray<char> text_;
  RecordArray<Run> runs_;
  RecordArray<Line> lines_;
  RecordArray<Paragraph> paragraphs_;
  std::vector<OutlineEntry> outline_;
  int blank_ = 0;
  // Layout state carried from chunk to chunk.
  int pendingObject_ = kNone;
  int headingFirst_ = kNone;
  u16 headingLevel_ = 0;
  // The last line is the filler that keeps what follows below a block.
  bool filler_ = false;
  // Format bits of the runs of the chunk being laid out (for heading levels).
  std::vector<u8> chunkFormats_;
};

}  // namespace display
