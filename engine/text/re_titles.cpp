#include "re_titles.h"

#include <cstring>

#include "re_word_pieces.h"

namespace {

constexpr u16 kStripTagsFormat = 4;  // titles of a database of this text format show no tags

bool StartsWith(const char* text, u32 length, u32 at, const char* tag) {
  const u32 n = static_cast<u32>(std::strlen(tag));
  return at + n <= length && std::memcmp(text + at, tag, n) == 0;
}

// The title's tag at text[i]: its length, and whether it is "<WD>"; 0 for
// none.
u32 TitleTag(const char* text, u32 length, u32 i, const ReTitleRules& rules, bool* plain) {
  *plain = false;
  if (rules.titleMode != 1 && rules.titleMode != 4) return StartsWith(text, length, i, "<DS>") ? 4 : 0;
  if (StartsWith(text, length, i, "<WD>")) {
    *plain = true;
    return 4;
  }
  return StartsWith(text, length, i, "<IWD>") ? 5 : 0;
}

// Finds the first title tag; returns the position behind it and which one.
bool FindStart(const char* text, u32 length, const ReTitleRules& rules, u32* start, bool* plain) {
  const u32 at = ReTitleTagAt(text, length, rules);
  if (at == length) return false;
  *start = at + TitleTag(text, length, at, rules, plain);
  return true;
}

// Length of the escape at p: "<{", a character or none, "}>" (or more
// characters up to the next "}>"); "<{" alone when its end is missing. 0
// when no escape starts at p.
u32 EscapeLength(const char* p) {
  if (p[0] != '<' || p[1] != '{') return 0;
  if (p[2] == '}' && p[3] == '>') return 4;
  if (p[2] == 0) return 2;
  const char* end = std::strstr(p + 3, "}>");
  return end ? static_cast<u32>(end - p) + 2 : 2;
}

bool IsStop(u8 c) { return c == '<' || c == '\n' || c == '\r' || c == 255; }

class TitleOut {
 public:
  TitleOut(char* out, u32 size) : out_(out), room_(size ? size - 1 : 0) {}
  void Put(char c) {
    if (length_ < room_) out_[length_++] = c;
  }
  void Put(const char* text) {
    while (*text) Put(*text++);
  }
  void Finish() {
    if (room_ || length_) out_[length_] = 0;
  }

 private:
  char* out_;
  u32 room_;
  u32 length_ = 0;
};

}  // namespace

u32 ReTitleTagAt(const char* text, u32 length, const ReTitleRules& rules) {
  bool plain = false;
  for (u32 i = 0; i < length; ++i) {
    const void* tag = std::memchr(text + i, '<', length - i);
    if (!tag) break;
    i = static_cast<u32>(static_cast<const char*>(tag) - text);
    if (TitleTag(text, length, i, rules, &plain)) return i;
  }
  return length;
}

u32 ReEntryTitle(const char* text, u32 length, const ReTitleRules& rules, char* title, u32 size, bool* plainHeadword) {
  if (title && size) title[0] = 0;
  if (!text || !title || !size) return ReFail;
  u32 i = 0;
  bool plain = false;
  if (!FindStart(text, length, rules, &i, &plain)) return ReFail;
  if (plainHeadword) *plainHeadword = plain;

  const bool headword = rules.titleMode == 1 || rules.titleMode == 4;
  const u16 format = rules.textFormat;
  TitleOut out(title, size);
  bool stopSeen = false;  // a stop character was met and copied
  bool parenthesis = false;
  for (;;) {
    if (i >= length) {
      // The text ended: a title only when a stop character was passed on the way.
      if (!stopSeen) return ReFail;
      if (parenthesis) out.Put(')');
      out.Finish();
      return ReDone;
    }
    const u8 c = static_cast<u8>(text[i]);
    if (c == '<' && i + 1 < length && text[i + 1] == '{') {
      if (StartsWith(text, length, i, "<{}>")) {
        i += 4;  // an empty escape is dropped whole
        continue;
      }
      out.Put('<');
      out.Put('{');
      if (i + 2 < length) out.Put(text[i + 2]);
      i += 3;
      continue;
    }
    if (!IsStop(c)) {
      if (c != ReMiddleDot || rules.dotMode == 3) out.Put(static_cast<char>(c));
      ++i;
      continue;
    }
    // A stop character.
    if (format == 2 || format == 5) break;
    if (!headword) {
      if (c == '\n') break;
      out.Put(static_cast<char>(c));
      stopSeen = true;
      ++i;
      continue;
    }
    if (parenthesis) {
      out.Put(')');
      out.Finish();
      return ReDone;
    }
    if (StartsWith(text, length, i, "<UP>")) {
      if (plain) {
        out.Put(" (");
        parenthesis = true;
      } else {
        out.Put("<UP>");
      }
      stopSeen = true;
      i += 4;
      continue;
    }
    if (format == 0 || format == 1 || format == 6 || format > 8) break;
    if (StartsWith(text, length, i, "</WD>")) break;
    if (format == 4 && (c == 255 || c == '\r' || c == '\n')) break;
    out.Put(static_cast<char>(c));
    stopSeen = true;
    ++i;
  }
  out.Finish();
  return ReDone;
}

u32 ReStripTags(const char* text, char* out, u32 size) {
  if (!out || !size) return 0;
  u32 length = 0;
  bool inTag = false;
  for (const char* p = text; p && *p;) {
    const u32 escape = inTag ? 0 : EscapeLength(p);
    for (u32 k = 0; k < escape; ++k, ++p)
      if (length + 1 < size) out[length++] = *p;
    if (escape) continue;
    if (inTag) {
      if (*p == '>') inTag = false;
    } else if (*p == '<') {
      inTag = true;
    } else if (length + 1 < size) {
      out[length++] = *p;
    }
    ++p;
  }
  out[length] = 0;
  return length;
}

void ReLeaveOutTitleTags(char* title, u16 textFormat) {
  if (textFormat != kStripTagsFormat || !title) return;
  if (char* tag = std::strchr(title, '<')) ReStripTags(tag, tag, static_cast<u32>(std::strlen(tag)) + 1);
}

void ReShowTitleFrom(char* markup, u16 textFormat) {
  ReLeaveOutTitleTags(markup, textFormat);
  // What is left to show is each escape as its character: the text between
  // them moves up as a whole, and a title without one stays as it is.
  char* in = std::strstr(markup, "<{");
  char* out = in;
  while (in && *in) {
    const u32 escape = EscapeLength(in);  // 2 at least: `in` is at "<{"
    if (escape == 5) *out++ = in[2];      // "<{", one character, "}>"
    in += escape;
    char* next = std::strstr(in, "<{");
    const size_t plain = next ? static_cast<size_t>(next - in) : std::strlen(in);
    std::memmove(out, in, plain);
    out += plain;
    in = next;
  }
  if (out) *out = 0;
}
