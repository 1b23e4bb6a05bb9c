// The loader: runs an entry's tagged text through the character automaton
// (table 80) into the coded form that the chunk decoder reads, one window of
// the reading buffer at a time.
//
// The coded form is a sequence of pieces: a literal piece {kind 1-4 or 14,
// n, n characters}, or a 16-bit code (high byte first) that replaced the
// characters it stood for (a tag, a line end, an escaped character), and at
// the entry's end the code 65534. A window always holds whole pieces.
#pragma once

#include "re_code_stream.h"
#include "re_records.h"
#include "re_types.h"

// Tag states of the loader, kept at every piece boundary.
enum : u8 {
  ReTagOutside = 0,
  ReTagName = 1,         // after '<'
  ReTagEscape = 2,       // after "<{": letters keep their case
  ReTagAttrPending = 3,  // a blank ended the name; the tag's code is not out yet
  ReTagAttributes = 4,   // gathering the attribute text up to '>'
  ReTagAttrDone = 5,     // the '>' is gathered; the next character closes the record
};

// A piece boundary: everything needed to load on from there.
struct ReLoaderPos {
  ReExpandPos text;  // the character that begins the piece
  u32 coded;         // offset of the boundary in the entry's coded form
  u8 tag;            // tag state before that character
  u8 ended;          // the end code has been written
};

struct ReCodedWindow {
  u8* bytes;  // the reading buffer
  u32 size;
  u32 filled;         // bytes of whole pieces
  ReLoaderPos start;  // boundary at bytes[0]
  ReLoaderPos end;    // boundary at bytes[filled]
  // When the last load stopped short, the characters of the piece it left
  // open: the next load takes them again from here instead of expanding the
  // codes from the boundary a second time (the expander stands behind them).
  bool live;
  u16 replayLength;
  u8 replay[256];
};

// The smallest window: a longest piece (2 + 255 bytes), the loader's margin
// of seven bytes and room to spare.
constexpr u32 ReMinimumWindow = 512;

// Results of ReLoadEntryText.
enum : i32 {
  ReLoadDone = 0,
  ReLoadStopped = 1,   // the progress callback asked to stop (-900)
  ReLoadBadTable = 2,  // table 80 leads outside itself, or names a code the coded form cannot hold (-460)
  ReLoadBadText = 3,   // the code stream or its tables are damaged (-460)
  ReLoadReadFailed = 4,
};

// The automaton's next state from `row` for character c: the first entry of
// the row whose set holds c, else the row's default. -1 when the row or a
// set lies outside the table.
i32 ReAutomatonStep(const ReAutomatonSections* automaton, u32 row, u8 c);

// The automaton's rows as tables, built once for a handle: for each row
// that begins at an entry (entry 0, and each entry after one whose set is
// empty), the next state of every character as ReAutomatonStep gives it.
// Steps from other entries, and rows past the room, go through the table.
struct ReAutomatonRows {
  static constexpr u32 kRows = 256;
  static constexpr u16 kNone = 0xFFFF;
  u32 entryCount;
  u16* rowOf;  // per entry: the index of its row's table, or kNone
  i32* next;   // 256 next states per row table (-1: the step fails)
};
// False without memory (null members).
bool ReBuildAutomatonRows(const ReAutomatonSections* automaton, ReAutomatonRows* rows);
void ReFreeAutomatonRows(ReAutomatonRows* rows);

// Loads the window that follows the current one (its start becomes the old
// end). Stops seven bytes short of the window's end, at the entry's end
// (then end.ended is set), or when the progress callback asks to. rows: the
// automaton's row tables, or null.
i32 ReLoadEntryText(ReExpander* expander, const ReAutomatonSections* automaton, const ReAutomatonRows* rows,
                    ReCodedWindow* window);
