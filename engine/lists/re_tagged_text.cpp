#include "re_tagged_text.h"

#include <cstdint>
#include <cstring>

#include "re_charclass.h"

namespace {

struct TagName {
  const char* name;
  u8 length;
  u8 code;
};

// The 34 tags the recogniser knows; all lie within the characters 47 to 127.
constexpr TagName kTags[] = {
    {"<{sz}>", 6, ReTagSz},   {"<TRADE>", 7, ReTagTrade}, {"</E0>", 5, ReTagE0End}, {"<E0>", 4, ReTagE0},
    {"<WD>", 4, ReTagWD},     {"<US>", 4, ReTagUS},       {"<UP>", 4, ReTagUP},     {"<UN>", 4, ReTagUN},
    {"<UG>", 4, ReTagUG},     {"<RW>", 4, ReTagRW},       {"<PS>", 4, ReTagPS},     {"<GM>", 4, ReTagGM},
    {"<GL>", 4, ReTagGL},     {"<FT>", 4, ReTagFT},       {"<DS>", 4, ReTagDS},     {"<DF>", 4, ReTagDF},
    {"<D2>", 4, ReTagD2},     {"<D1>", 4, ReTagD1},       {"<CX>", 4, ReTagCX},     {"<CT>", 4, ReTagCT},
    {"<CR>", 4, ReTagCR},     {"<AN>", 4, ReTagAN},       {"<AL>", 4, ReTagAL},     {"</SY>", 5, ReTagSYEnd},
    {"<SY>", 4, ReTagSY},     {"<SE>", 4, ReTagSE},       {"<IL>", 4, ReTagIL},     {"</ID>", 5, ReTagIDEnd},
    {"<ID>", 4, ReTagID},     {"</HY>", 5, ReTagHYEnd},   {"<HY>", 4, ReTagHY},     {"<HR>", 4, ReTagHR},
    {"</BB>", 5, ReTagBBEnd}, {"<BB>", 4, ReTagBB},
};

// The tag that starts at text[0], or 0.
const TagName* RecogniseTag(const char* text, u32 left) {
  for (const TagName& tag : kTags)
    if (tag.length <= left && std::memcmp(text, tag.name, tag.length) == 0) return &tag;
  return nullptr;
}

}  // namespace

u32 ReCutNodes(const char* text, u32 length, ReTagNode* nodes, u32 capacity) {
  u32 count = 0;
  u32 at = 0;
  while (at < length && count < capacity) {
    ReTagNode& node = nodes[count++];
    node.offset = at;
    if (text[at] == '<') {
      if (const TagName* tag = RecogniseTag(text + at, length - at)) {
        node.length = tag->length;
        node.code = tag->code;
        at += tag->length;
        continue;
      }
      // An unknown tag is text up to and including its '>' (or up to the next
      // '<' or the line's end when it has none).
      u32 end = at + 1;
      while (end < length && text[end] != '>' && text[end] != '<') ++end;
      if (end < length && text[end] == '>') ++end;
      node.length = end - at;
      node.code = ReTagTextNode;
      at = end;
      continue;
    }
    u32 end = at;
    while (end < length && text[end] != '<') ++end;
    node.length = end - at;
    node.code = ReTagTextNode;
    at = end;
  }
  return count;
}

u8 ReTagGroup(u8 code) {
  switch (code) {
    case ReTagSY: return 1;
    case ReTagHY: return 2;
    case ReTagAN: return 3;
    case ReTagHR: return 4;
    case ReTagID: return 5;
    case ReTagCR: return 6;
    case ReTagRW: return 7;
    case ReTagSE: return 8;
    default: return 0;
  }
}

bool ReIsJoinerTag(u8 code) {
  switch (code) {
    case ReTagD2:
    case ReTagE0:
    case ReTagE0End:
    case ReTagBB:
    case ReTagBBEnd:
    case ReTagUN:
    case ReTagCT:
    case ReTagSz:
    case ReTagTrade: return true;
    default: return false;
  }
}

bool ReIsPassedWithTag(u8 code) {
  return code == ReTagTextNode || code == ReTagSz || code == ReTagTrade || code == ReTagD2;
}

void ReTextAppend(ReTextOut* out, const char* bytes, u32 count) {
  u32 room = out->capacity - out->length;
  if (count > room) count = room;
  std::memcpy(out->text + out->length, bytes, count);
  out->length += count;
  out->text[out->length] = '\0';
}

void ReTextAppendChar(ReTextOut* out, char c) { ReTextAppend(out, &c, 1); }

namespace {

void AppendSpellingVariant(const ReTextFormat& format, ReTextOut* out) {
  if (format.kind == 16) {
    bool american = !(format.optionMask & 64) && (format.optionMask & (32 | 128));
    ReTextAppendChar(out, american ? 'z' : 's');
  } else if (format.kind == 6) {
    if (format.optionMask & 128)
      ReTextAppendChar(out, static_cast<char>(223));
    else
      ReTextAppend(out, "ss", 2);
  }
}

}  // namespace

u32 ReAssembleRun(const ReTextFormat& format, const ReNodeLine& line, u32 start, ReTextOut* out) {
  bool lineFeedAsked = false;
  u32 first = out->length;
  u32 i = start;
  for (; i < line.count; ++i) {
    const ReTagNode& node = line.nodes[i];
    switch (node.code) {
      case ReTagTextNode: ReTextAppend(out, line.text + node.offset, node.length); break;
      case ReTagD2: ReTextAppendChar(out, ','); break;
      case ReTagE0:
      case ReTagE0End: ReTextAppendChar(out, '\''); break;
      case ReTagCT:
        if (lineFeedAsked) ReTextAppendChar(out, '\n');
        lineFeedAsked = false;
        ReTextAppendChar(out, '"');
        break;
      case ReTagBB:
        // The quote takes the place of the last character of this text; with
        // nothing assembled yet it is appended instead.
        if (out->length > first) --out->length;
        ReTextAppend(out, "\" (", 3);
        break;
      case ReTagBBEnd:
        ReTextAppendChar(out, ')');
        if (i + 1 < line.count && line.nodes[i + 1].code == ReTagUN) ReTextAppendChar(out, '\n');
        break;
      case ReTagUN: lineFeedAsked = true; break;
      case ReTagTrade: ReTextAppend(out, " TM", 3); break;
      case ReTagSz: AppendSpellingVariant(format, out); break;
      default: ReFoldAccents(format, out->text + first, out->length - first); return i;
    }
  }
  ReFoldAccents(format, out->text + first, out->length - first);
  return i;
}

void ReFoldAccents(const ReTextFormat& format, char* text, u32 length) {
  if (format.kind != 5 || format.optionMask != 64 || !format.classes) return;
  const u32 accents = ReClassCircumflex | ReClassGrave | ReClassDiaeresis | ReClassAcute;
  for (u32 i = 0; i < length; ++i) {
    u8 c = static_cast<u8>(text[i]);
    u32 bits = format.classes[c];
    if (!(bits & ReClassUpper) || !(bits & accents)) continue;
    if (c >= 192 && c <= 197)
      text[i] = 'A';
    else if (c >= 200 && c <= 203)
      text[i] = 'E';
    else if (c >= 204 && c <= 207)
      text[i] = 'I';
    else if (c >= 210 && c <= 214)
      text[i] = 'O';
    else if (c >= 217 && c <= 220)
      text[i] = 'U';
  }
}

u32 ReReadNodeNumber(const ReNodeLine& line, u32 node) {
  const ReTagNode& n = line.nodes[node];
  const char* text = line.text + n.offset;
  u32 length = n.length < 10 ? n.length : 10;
  u32 i = 0;
  while (i < length && text[i] == ' ') ++i;
  bool negative = false;
  if (i < length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return static_cast<u32>(static_cast<i32>(value));
}
