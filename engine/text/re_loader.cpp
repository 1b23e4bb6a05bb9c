#include "re_loader.h"

#include <cstring>

#include "re_platform.h"

namespace {

constexpr u32 kMargin = 7;
constexpr u32 kRun = 128;  // characters taken from the expander at a time
constexpr u32 kMaxPiece = 255;

bool IsLiteralKind(u32 kind) { return (kind >= 1 && kind <= 4) || kind == 14; }

// The character the automaton sees, and the tag state after it.
u8 Transform(u8* tag, u8 c) {
  switch (*tag) {
    case ReTagOutside:
      if (c == '<') *tag = ReTagName;
      return c;
    case ReTagName:
    case ReTagEscape:
      if (c == ' ') {
        *tag = ReTagAttrPending;
        return '>';
      }
      if (c == '>') {
        *tag = ReTagOutside;
      } else if (c == '{') {
        *tag = ReTagEscape;
      } else if (*tag == ReTagName && c >= 'a' && c <= 'z') {
        return static_cast<u8>(c - 32);
      }
      return c;
    default: return c;
  }
}

class Loader {
 public:
  Loader(ReExpander* expander, const ReAutomatonSections* automaton, const ReAutomatonRows* rows, ReCodedWindow* window)
      : ex_(expander), au_(automaton), rows_(rows), w_(window), out_(window->bytes) {}

  i32 Run();

 private:
  // Closes the open piece: a literal of its characters (without the last
  // one when `keepLast`) or the code that replaces them. False for a code
  // the coded form cannot hold.
  bool Close(u32 code, bool keepLast);
  // Starts a new piece at `at`, boundary `boundary`.
  void Begin(u32 at, const ReLoaderPos& boundary);
  // Writes the character that closed the last piece again as the new piece's first.
  void Carry(u8 c) {
    out_[write_++] = c;
    ++gathered_;
  }
  i32 Step(u32 row, u8 c, u32* next);
  i32 Char(u8 c, const ReExpandPos& pos);
  // Char for the common case: outside a tag, no '<', a step from a tabled
  // row to a state that is not final, and room left in the piece. False
  // (nothing done) otherwise.
  bool Plain(u8 c) {
    if (tag_ != ReTagOutside || c == '<' || gathered_ + 1 >= kMaxPiece || !rows_ || row_ >= rows_->entryCount)
      return false;
    const u32 table = rows_->rowOf[row_];
    if (table == ReAutomatonRows::kNone) return false;
    const i32 state = rows_->next[table * 256 + c];
    if (state < 0 || (state & ReFinalBit) || static_cast<u32>(state) >= au_->entryCount) return false;
    out_[write_++] = c;
    ++gathered_;
    row_ = static_cast<u32>(state);
    return true;
  }
  i32 Finish();
  ReLoaderPos Boundary(const ReExpandPos& pos, u8 tag, u32 at) const {
    return ReLoaderPos{pos, w_->start.coded + at, tag, 0};
  }

  ReExpander* ex_;
  const ReAutomatonSections* au_;
  const ReAutomatonRows* rows_;
  ReCodedWindow* w_;
  u8* out_;
  u32 pieceStart_ = 0;
  u32 write_ = 2;     // behind the open piece's two reserved bytes
  u32 gathered_ = 0;  // characters of the open piece
  u32 row_ = 0;
  u8 tag_ = ReTagOutside;
  ReLoaderPos boundary_{};  // where the open piece began
};

i32 Loader::Step(u32 row, u8 c, u32* next) {
  u32 table = ReAutomatonRows::kNone;
  if (rows_ && row < rows_->entryCount) table = rows_->rowOf[row];
  const i32 state = table != ReAutomatonRows::kNone ? rows_->next[table * 256 + c] : ReAutomatonStep(au_, row, c);
  if (state < 0) return ReLoadBadTable;
  *next = static_cast<u32>(state);
  if (!(*next & ReFinalBit) && *next >= au_->entryCount) return ReLoadBadTable;
  return ReLoadDone;
}

bool Loader::Close(u32 code, bool keepLast) {
  const u32 count = keepLast ? gathered_ : gathered_ - 1;
  if (code < 4096) {
    const u32 kind = code >> 8;
    if (!IsLiteralKind(kind) || count > kMaxPiece) return false;
    out_[pieceStart_] = static_cast<u8>(kind);
    out_[pieceStart_ + 1] = static_cast<u8>(count);
    pieceStart_ += 2 + count;
  } else {
    out_[pieceStart_] = static_cast<u8>(code >> 8);
    out_[pieceStart_ + 1] = static_cast<u8>(code);
    pieceStart_ += 2;
  }
  return true;
}

void Loader::Begin(u32 at, const ReLoaderPos& boundary) {
  pieceStart_ = at;
  write_ = at + 2;
  gathered_ = 0;
  boundary_ = boundary;
}

i32 Loader::Char(u8 c, const ReExpandPos& pos) {
  const u8 before = tag_;
  if (before == ReTagAttrDone) {
    // The character after the '>' closes the attribute record and starts afresh.
    Close(ReCodeSkipRecord << 8, true);
    tag_ = ReTagOutside;
    Begin(pieceStart_, Boundary(pos, ReTagOutside, pieceStart_));
    row_ = 0;
    return Char(c, pos);
  }
  out_[write_++] = c;
  ++gathered_;
  if (before == ReTagAttributes) {
    if (c == '>') tag_ = ReTagAttrDone;
  } else {
    const u8 a = Transform(&tag_, c);
    u32 next = 0;
    if (const i32 bad = Step(row_, a, &next)) return bad;
    if (!(next & ReFinalBit)) {
      row_ = next;
    } else {
      if (gathered_ < 2) return ReLoadBadTable;  // final on a piece's first character: no progress
      if (!Close(next & ~ReFinalBit & 0xFFFF, false)) return ReLoadBadTable;
      if (before == ReTagAttrPending) {
        // The tag's code is out: its attribute text is gathered as it comes.
        tag_ = c == '>' ? ReTagAttrDone : ReTagAttributes;
        Begin(pieceStart_, Boundary(pos, ReTagAttributes, pieceStart_));
        Carry(c);
        row_ = 0;
      } else {
        Begin(pieceStart_, Boundary(pos, before, pieceStart_));
        Carry(c);
        if (const i32 bad = Step(0, a, &next)) return bad;
        if (next & ReFinalBit) return ReLoadBadTable;
        row_ = next;
      }
    }
  }
  if (gathered_ >= kMaxPiece) {
    // The count byte is full: close the piece as it stands and start afresh.
    const bool attributes = tag_ == ReTagAttributes || tag_ == ReTagAttrDone;
    Close((attributes ? static_cast<u32>(ReCodeSkipRecord) : static_cast<u32>(RePieceText)) << 8, true);
    if (tag_ == ReTagAttrDone) tag_ = ReTagOutside;
    Begin(pieceStart_, Boundary(ReExpanderPos(ex_), tag_, pieceStart_));
    row_ = 0;
  }
  return ReLoadDone;
}

i32 Loader::Finish() {
  if (gathered_ > 0) {
    u32 code = RePieceText << 8;
    if (tag_ == ReTagAttributes || tag_ == ReTagAttrDone) {
      code = ReCodeSkipRecord << 8;
    } else {
      // The row's default decides how the last piece ends (a NUL is in no set).
      u32 next = 0;
      if (const i32 bad = Step(row_, 0, &next)) return bad;
      if (next & ReFinalBit) code = next & ~ReFinalBit & 0xFFFF;
    }
    if (!Close(code, true)) return ReLoadBadTable;
  }
  out_[pieceStart_] = static_cast<u8>(ReCodeEnd >> 8);
  out_[pieceStart_ + 1] = static_cast<u8>(ReCodeEnd);
  w_->filled = pieceStart_ + 2;
  w_->end = Boundary(ReExpanderPos(ex_), tag_, w_->filled);
  w_->end.ended = 1;
  return ReLoadDone;
}

i32 Loader::Run() {
  boundary_ = w_->start;
  tag_ = w_->start.tag;
  if (w_->live) {
    // The open piece's characters lead to no boundary the second time either.
    u8 replay[sizeof w_->replay];
    const u32 count = w_->replayLength;
    std::memcpy(replay, w_->replay, count);
    for (u32 i = 0; i < count; ++i)
      if (const i32 bad = Char(replay[i], w_->start.text)) return bad;
  } else {
    const i32 sought = ReExpanderSeek(ex_, w_->start.text);
    if (sought < 0) return sought == ReExpandBad ? ReLoadBadText : ReLoadReadFailed;
  }
  w_->live = false;
  u8 run[kRun];
  ReExpandMark marks[kRun + 1];
  for (;;) {
    if (write_ + kMargin > w_->size) break;
    // A character writes at most three bytes: this many pass the margin
    // test that comes before each of them, and are taken as one run.
    u32 take = (w_->size - kMargin - write_) / 3 + 1;
    if (take > kRun) take = kRun;
    u32 count = 0, markCount = 0;
    const i32 c = ReExpandRunMarked(ex_, run, take, &count, marks, &markCount);
    for (u32 k = 0, m = 0; k < count; ++k) {
      if (Plain(run[k])) continue;
      while (m + 1 < markCount && marks[m + 1].offset <= k) ++m;
      const ReExpandPos pos{marks[m].pos.code, marks[m].pos.produced + (k - marks[m].offset)};
      if (const i32 bad = Char(run[k], pos)) return bad;
    }
    if (c == ReExpandAtEnd) return Finish();
    if (c == ReExpandBad) return ReLoadBadText;
    if (c < 0) {
      if (ex_->stream->stopped) {
        w_->filled = pieceStart_;
        w_->end = boundary_;
        return ReLoadStopped;
      }
      return ex_->stream->readFailed ? ReLoadReadFailed : ReLoadBadText;
    }
  }
  if (pieceStart_ == 0) return ReLoadBadTable;  // not one whole piece fits: no progress
  w_->filled = pieceStart_;
  w_->end = boundary_;
  w_->replayLength = static_cast<u16>(write_ - (pieceStart_ + 2));
  std::memcpy(w_->replay, out_ + pieceStart_ + 2, w_->replayLength);
  w_->live = true;
  return ReLoadDone;
}

}  // namespace

i32 ReAutomatonStep(const ReAutomatonSections* automaton, u32 row, u8 c) {
  const u16* entries = automaton->entries;
  const u8* names = automaton->names;
  const u32 namesLength = automaton->namesLength;
  for (u32 i = row; i < automaton->entryCount; ++i) {
    const u32 offset = entries[2 * i];
    if (offset >= namesLength) return -1;
    const u8* set = names + offset;
    const auto* end = static_cast<const u8*>(std::memchr(set, 0, namesLength - offset));
    if (!end) return -1;
    if (end == set || (c != 0 && std::memchr(set, c, static_cast<size_t>(end - set)))) return entries[2 * i + 1];
  }
  return -1;
}

bool ReBuildAutomatonRows(const ReAutomatonSections* automaton, ReAutomatonRows* rows) {
  *rows = ReAutomatonRows{};
  const u32 count = automaton->entries ? automaton->entryCount : 0;
  rows->rowOf = static_cast<u16*>(ReHeapAlloc(count * 2 + 2));
  rows->next = rows->rowOf ? static_cast<i32*>(ReHeapAlloc(ReAutomatonRows::kRows * 256 * 4)) : nullptr;
  if (!rows->next) {
    ReFreeAutomatonRows(rows);
    return false;
  }
  rows->entryCount = count;
  for (u32 i = 0; i < count; ++i) rows->rowOf[i] = ReAutomatonRows::kNone;
  const u16* entries = automaton->entries;
  const u8* names = automaton->names;
  const u32 namesLength = automaton->namesLength;
  u32 tables = 0;
  for (u32 row = 0; row < count && tables < ReAutomatonRows::kRows; ++row) {
    // The first entry of the row whose set holds a character decides its
    // step; an empty set decides all that are left; a set outside the table,
    // or the table's end, makes the step fail.
    i32* next = rows->next + tables * 256;
    bool decided[256] = {};
    u32 i = row;
    i32 rest = -1;
    for (; i < count; ++i) {
      const u32 offset = entries[2 * i];
      if (offset >= namesLength) break;
      const u8* set = names + offset;
      const auto* end = static_cast<const u8*>(std::memchr(set, 0, namesLength - offset));
      if (!end) break;
      if (end == set) {
        rest = entries[2 * i + 1];
        break;
      }
      for (const u8* c = set; c < end; ++c)
        if (!decided[*c]) {
          decided[*c] = true;
          next[*c] = entries[2 * i + 1];
        }
    }
    for (u32 c = 0; c < 256; ++c)
      if (!decided[c]) next[c] = rest;
    rows->rowOf[row] = static_cast<u16>(tables++);
    // The next row begins after this one's empty set.
    if (rest < 0) break;
    row = i;
  }
  return true;
}

void ReFreeAutomatonRows(ReAutomatonRows* rows) {
  ReHeapFree(rows->next);
  ReHeapFree(rows->rowOf);
  *rows = ReAutomatonRows{};
}

i32 ReLoadEntryText(ReExpander* expander, const ReAutomatonSections* automaton, const ReAutomatonRows* rows,
                    ReCodedWindow* window) {
  window->start = window->end;
  window->start.ended = 0;
  window->filled = 0;
  if (window->end.ended) {
    window->start.ended = 1;
    return ReLoadDone;
  }
  if (!window->bytes || window->size < ReMinimumWindow || !automaton->entries || !automaton->names)
    return ReLoadBadTable;
  Loader loader(expander, automaton, rows, window);
  return loader.Run();
}
