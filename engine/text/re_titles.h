// Titles cut from the start of an entry's tagged text, and tag removal.
#pragma once

#include <cstring>

#include "re_types.h"

// The title rules of a database (header words 708, 706 and 710).
struct ReTitleRules {
  u16 titleMode;   // 1 and 4: the title follows "<WD>" or "<IWD>"; others: "<DS>"
  u16 textFormat;  // 2 and 5: the title ends at the first stop character; 8: synonym database
  u16 dotMode;     // 3: syllable dots (the middle dot) are kept
};

// Cuts the title from the start of `text` into `title` (size bytes with the
// NUL; a longer title is cut). *plainHeadword (when not null) tells whether
// it followed "<WD>" rather than "<IWD>". 0, or 8 when the text has no title.
u32 ReEntryTitle(const char* text, u32 length, const ReTitleRules& rules, char* title, u32 size,
                 bool* plainHeadword = nullptr);

// Where the first title tag ("<WD>" or "<IWD>" in title modes 1 and 4,
// "<DS>" in the others) starts in text[0, length); length when none does.
u32 ReTitleTagAt(const char* text, u32 length, const ReTitleRules& rules);

// Copies `text`, leaving out every run from '<' to the next '>', into out
// (size bytes with the NUL; cut when longer). An escape ("<{" to the next
// "}>") is no tag: it is copied. Returns the length written. `out` may be
// `text`.
u32 ReStripTags(const char* text, char* out, u32 size);

// Leaves out a cut title's tags, in place, in a database of text format 4;
// its escapes stay, as the entry-text parser reads them ("reali<{sz}>e").
void ReLeaveOutTitleTags(char* title, u16 textFormat);

// ReShowTitle from the title's first '<' on (`markup`), where its tags and
// escapes begin.
void ReShowTitleFrom(char* markup, u16 textFormat);

// Makes a cut title what the reader shows, in place: in a database of text
// format 4 its tags are left out, and every escape stands for its character
// ("<{<}>" for '<'); an escape of more characters or none, and one without
// its end, stands for nothing. Tags and escapes begin with '<': a title
// without one, as most are, costs one scan for it.
inline void ReShowTitle(char* title, u16 textFormat) {
  if (char* markup = title ? std::strchr(title, '<') : nullptr) ReShowTitleFrom(markup, textFormat);
}
