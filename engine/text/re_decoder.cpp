#include "re_decoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr u32 kMaxPieces = 256;
constexpr u32 kPendingPieces = 10;  // the ring of marked pieces waiting for the store
constexpr u32 kNumberRoom = 5;      // characters a printed number must find free
constexpr u32 kEverything = 2147483647;
// State steps between two codes read: a well-formed table needs a few per
// open element; more means the element automaton goes round in circles.
constexpr u32 kStepsPerCode = 4096;

bool IsTextCode(u32 code) { return code < ReCodeLineEnd || (code >= ReCodeCharFirst && code <= ReCodeCharLast); }

u8 StyleOf(const u8* counters) {
  u8 style = 0;
  for (u32 i = 0; i < 8; ++i)
    if (counters[i]) style |= static_cast<u8>(0x80u >> i);
  return style;
}

enum Step { kOk, kFull, kBadTable, kBadState, kStackFull, kNoTransition };

enum Read { kRead, kLineEndStopped, kLoaderStopped, kReadBad, kReadFailed };

class Decoder {
 public:
  Decoder(ReTokenReading* reading, const ReChunkSource& source, ReChunkOut* out, ReStatusBlock* status)
      : r_(reading), st_(reading->state), src_(source), m_(*source.markup), out_(out), status_(status) {}

  u32 Run(u16 action, u16* firstToken);

 private:
  // Where the chunk starts: the entry's start when `fresh`, else where
  // reading stands (430) or token `wanted` (490).
  bool Position(bool fresh, u16 action, u16 wanted);
  void StartOfEntry();
  Read ReadCode();
  Step Emit(u32 code, const u8* text, u32 length);
  void Store(const u8* text, u32 length, u8 flags);
  Step RunProgram(u32 offset);
  // Appends a program's output; `room` is what it must find free first.
  Step Output(const u8* text, u32 length, u32 room);
  Step OpenElement(u32 element);
  u16 NextFromStack();
  // Takes the next state from the stack; false (-480) when the stack is damaged.
  bool Advance() {
    st_.state = NextFromStack();
    if (!badStack_) return true;
    Fail(ReErrBadState);
    return false;
  }
  void CleanPoint();
  u32 HeldOffset() const { return haveCur_ ? curStart_ : r_->offset; }
  void ReadFailure(Read read);
  void Fail(i16 code) { ReSetStatus(status_, ReSevError, code, ReModChunk); }

  ReTokenReading* r_;
  ReDecodeState& st_;
  const ReChunkSource& src_;
  const ReMarkupSections& m_;
  ReChunkOut* out_;
  ReStatusBlock* status_;
  u32 cur_ = 0;  // the code read and not yet consumed
  u32 curStart_ = 0;
  bool haveCur_ = false;
  const u8* piece_ = nullptr;  // a literal piece's text
  u32 pieceLength_ = 0;
  u32 drop_ = 0;  // tokens still to decode without keeping them
  bool droppedAny_ = false;
  bool badStack_ = false;
  u32 steps_ = 0;  // state steps since the last code was read
  bool loaderStopped_ = false;
};

void Decoder::StartOfEntry() {
  st_ = ReDecodeState{};
  st_.state = ReStateElement;
  r_->window.end = r_->entryStart;
  r_->window.live = false;
  r_->window.filled = 0;
  r_->offset = 0;
}

bool Decoder::Position(bool fresh, u16 action, u16 wanted) {
  if (fresh) {
    StartOfEntry();
    return true;
  }
  if (action != ReActReadOn || wanted == st_.tokenNumber) return true;
  const void* found = ReFindSnapshot(&r_->snapshots, wanted);
  if (wanted > st_.tokenNumber && (!found || ReSnapshotKey(found) <= st_.tokenNumber)) {
    drop_ = wanted - st_.tokenNumber;  // ahead of where reading stands: go on from there
    return true;
  }
  if (!found) {
    StartOfEntry();
    drop_ = wanted;
    return true;
  }
  ReTokenSnapshot snapshot;
  std::memcpy(&snapshot, found, sizeof snapshot);
  st_ = snapshot.state;
  drop_ = wanted - snapshot.tokenNumber;
  r_->window.end = snapshot.window;
  r_->window.live = false;
  const i32 loaded = ReLoadEntryText(&r_->expander, src_.automaton, src_.rows, &r_->window);
  if (loaded == ReLoadDone && snapshot.offset <= r_->window.filled) {
    r_->offset = snapshot.offset;
    return true;
  }
  if (loaded == ReLoadStopped) {
    ReSetStatus(status_, ReSevWarning, ReCodeStopped, ReModLoader);
  } else if (loaded == ReLoadReadFailed) {
    ReSetHandleStatus(status_, ReSevError, ReErrFileRead, ReModChunk);
  } else {
    Fail(ReErrNoMarkup);
  }
  return false;
}

Read Decoder::ReadCode() {
  haveCur_ = false;
  steps_ = 0;
  ReCodedWindow& w = r_->window;
  for (;;) {
    if (r_->offset >= w.filled) {
      if (w.end.ended) {
        // Past the end code the entry goes on ending.
        cur_ = ReCodeEnd;
        curStart_ = w.filled;
        haveCur_ = true;
        return kRead;
      }
      if (loaderStopped_) return kLoaderStopped;
      const i32 loaded = ReLoadEntryText(&r_->expander, src_.automaton, src_.rows, &w);
      r_->offset = 0;
      // Stopped by the progress callback: the pieces loaded so far are still read.
      if (loaded == ReLoadStopped) {
        if (w.filled == 0) return kLoaderStopped;
        loaderStopped_ = true;
        continue;
      }
      if (loaded == ReLoadReadFailed) return kReadFailed;
      if (loaded != ReLoadDone || w.filled == 0) return kReadBad;
    }
    const u8* at = w.bytes + r_->offset;
    const u32 left = w.filled - r_->offset;
    const u8 first = at[0];
    if ((first >= 1 && first <= ReCodeLiteralLast) || first == ReCodeSkipRecord) {
      if (left < 2 || left - 2 < at[1]) return kReadBad;
      const u32 length = at[1];
      if (first == ReCodeSkipRecord) {
        r_->offset += 2 + length;
        continue;
      }
      cur_ = first;
      piece_ = at + 2;
      pieceLength_ = length;
      curStart_ = r_->offset;
      r_->offset += 2 + length;
      haveCur_ = true;
      return kRead;
    }
    if (first == ReCodeSkipByte) {
      ++r_->offset;
      continue;
    }
    if (left < 2) return kReadBad;
    const u32 code = static_cast<u32>(first) << 8 | at[1];
    curStart_ = r_->offset;
    r_->offset += 2;
    if (code == ReCodeLineEnd) {
      st_.pendingFlags |= ReTokWordBoundary | (st_.lineMode ? ReTokLineBreak : 0);
      if (src_.progress && src_.progress(out_->textLength, out_->textRoom) != 0) return kLineEndStopped;
      continue;
    }
    cur_ = code;
    piece_ = nullptr;
    pieceLength_ = 0;
    haveCur_ = true;
    return kRead;
  }
}

void Decoder::Store(const u8* text, u32 length, u8 flags) {
  if (st_.type != st_.lastType) flags |= ReTokTypeChange;
  if (st_.style != st_.lastStyle) flags |= ReTokStyleChange;
  if ((flags & ReTokHit) || ((st_.lastFlags ^ flags) & ReTokHit)) flags |= ReTokHitChange;
  const bool chunkFirst = out_->tokenCount == 0 && drop_ == 0;
  if (chunkFirst ? st_.groupMark != 0 : st_.groupMark != st_.lastGroup) flags |= ReTokGroupChange;
  if (st_.tokenNumber == 0) flags |= ReTokWordBoundary | ReTokTypeChange;
  if (drop_ > 0) {
    --drop_;
    droppedAny_ = true;
  } else {
    ReToken token{};
    token.text = reinterpret_cast<char*>(const_cast<u8*>(text));
    token.length = static_cast<u8>(length);
    token.type = st_.type;
    token.groupMark = static_cast<u8>(st_.groupMark);
    token.flags = flags;
    token.style = st_.style;
    std::memcpy(&out_->tokens[out_->tokenCount++], &token, sizeof token);
  }
  st_.lastType = st_.type;
  st_.lastFlags = flags;
  st_.lastStyle = st_.style;
  st_.lastGroup = st_.groupMark;
  ++st_.tokenNumber;
}

Step Decoder::Emit(u32 code, const u8* text, u32 length) {
  u8 single = 0;
  if (code >= ReCodeCharFirst) {
    single = static_cast<u8>(code);
    text = &single;
    length = 1;
  } else if (code == 0 || code > ReCodeLiteralLast) {
    text = nullptr;  // a text event without text of its own
    length = 0;
  }
  const bool makesToken = code != RePieceBoundary && length > 0;
  ReHitPiece pieces[kMaxPieces];
  u32 count = 0;
  if (makesToken) {
    if (src_.hits && src_.hits->count) {
      count = ReMarkHits(src_.hits, text, length, pieces, kMaxPieces);
    } else {
      pieces[0] = ReHitPiece{0, static_cast<u16>(length), false};
      count = 1;
    }
  }
  // Room: the text must stay below 8 x capacity - 1 bytes, the chunk below capacity - 1 tokens.
  if (out_->textLength + length + 1 >= out_->textRoom) return kFull;
  // Marked pieces wait in a ring of ten: more pending pieces count as a full
  // chunk, and so do more than the chunk has room for.
  const bool ringFull = count > kPendingPieces;
  u32 kept = count > drop_ ? count - drop_ : 0;
  if (ringFull || (kept && out_->tokenCount + kept + 1 > out_->tokenRoom)) {
    if (out_->tokenCount > 0 || count == 1 || out_->tokenRoom < 2) return kFull;
    // Not even an empty chunk takes all the pieces: the token goes whole.
    bool hit = false;
    for (u32 i = 0; i < count; ++i) hit = hit || pieces[i].hit;
    pieces[0] = ReHitPiece{0, static_cast<u16>(length), hit};
    count = 1;
  }
  u8* start = reinterpret_cast<u8*>(out_->text) + out_->textLength;
  if (length) std::memcpy(start, text, length);
  out_->textLength += length;

  if (code == RePieceBoundary) st_.pendingFlags |= ReBoundaryMark;
  if (st_.pendingFlags & ReBoundaryMark)
    st_.pendingFlags = static_cast<u8>((st_.pendingFlags & ~ReBoundaryMark) | ReTokWordBoundary);
  if (makesToken) {
    u8 flags = st_.pendingFlags & (ReTokLineBreak | ReTokWordBoundary);
    const u8 extended = code >= ReCodeExtendedFirst && code <= ReCodeCharLast ? ReTokExtended : 0;
    for (u32 i = 0; i < count; ++i) {
      Store(start + pieces[i].start, pieces[i].length, flags | extended | (pieces[i].hit ? ReTokHit : 0));
      flags = 0;
    }
    st_.pendingFlags &= static_cast<u8>(~(ReTokLineBreak | ReTokWordBoundary));
  }
  if (code == RePieceSpace) st_.pendingFlags |= ReTokWordBoundary;
  // Text of tokens dropped before the chunk starts is not kept either.
  if (droppedAny_ && out_->tokenCount == 0) out_->textLength = 0;
  return kOk;
}

Step Decoder::Output(const u8* text, u32 length, u32 room) {
  if (st_.skipNext) {
    st_.skipNext = 0;
    return kOk;
  }
  if (length == 0) return kOk;
  if (out_->textLength + room + 1 >= out_->textRoom) return kFull;
  if (drop_ == 0 && out_->tokenCount + 2 > out_->tokenRoom) return kFull;
  if (Emit(RePieceOther, text, length) == kFull) return kFull;
  st_.pendingFlags |= ReBoundaryMark;
  return kOk;
}

Step Decoder::RunProgram(u32 offset) {
  if (offset == 0) return kOk;
  const u8* program = m_.programs;
  const u32 length = m_.programsLength;
  if (!program || offset >= length) return kBadTable;
  // A program that runs out of room is undone whole.
  const ReDecodeState saved = st_;
  const u32 savedText = out_->textLength, savedTokens = out_->tokenCount, savedDrop = drop_;
  const bool savedDropped = droppedAny_;
  auto undo = [&] {
    st_ = saved;
    out_->textLength = savedText;
    out_->tokenCount = savedTokens;
    drop_ = savedDrop;
    droppedAny_ = savedDropped;
    return kFull;
  };
  u32 pc = offset;
  for (;;) {
    if (pc >= length) return kBadTable;
    const u8 op = program[pc++];
    const u8 n = op & 0x0F;
    if (op == ReOpEnd) return kOk;
    if (op == 0x01 || op == 0x02) continue;
    if (op >= ReOpStyleSet && op <= ReOpStyleOn) {
      if (pc >= length) return kBadTable;
      const u8 mask = program[pc++];
      if (op == ReOpStyleSet) std::memset(st_.styleCounters, 0, sizeof st_.styleCounters);
      for (u32 i = 0; i < 8; ++i) {
        if (!(mask & (0x80u >> i))) continue;
        u8& counter = st_.styleCounters[i];
        if (op == ReOpStyleOff) {
          if (counter > 0) --counter;
        } else if (counter < 255) {
          ++counter;
        }
      }
      st_.style = StyleOf(st_.styleCounters);
      continue;
    }
    switch (op) {
      case ReOpGroup: st_.groupMark = static_cast<u16>(st_.tokenNumber); continue;
      case ReOpUngroup: st_.groupMark = 0; continue;
      case ReOpJoin: st_.pendingFlags &= static_cast<u8>(~(ReBoundaryMark | ReTokWordBoundary)); continue;
      case ReOpSkip: st_.skipNext = 1; continue;
      case ReOpBreak: st_.pendingFlags |= ReTokLineBreak; continue;
      case ReOpLinesOn: st_.lineMode = 1; continue;
      case ReOpLinesOff: st_.lineMode = 0; continue;
      case ReOpType:
        if (pc >= length) return kBadTable;
        st_.type = program[pc++];
        continue;
      default: break;
    }
    const u8 high = op & 0xF0;
    if (high == ReOpTypeN) {
      st_.type = n;
    } else if (high >= ReOpDecimal && high <= ReOpLetterLower) {
      char digits[16];
      // A number needs room for five characters, or for all of a longer
      // Roman numeral.
      const u32 printed = ReFormatCounter(high, st_.numberCounters[n], digits);
      if (Output(reinterpret_cast<const u8*>(digits), printed, std::max(printed, kNumberRoom)) == kFull) return undo();
    } else if (high == ReOpCounterSet || high == ReOpCounterAdd || high == ReOpCounterSub) {
      if (length - pc < 2) return kBadTable;
      const u8 value = program[pc + 1];
      pc += 2;
      u8& counter = st_.numberCounters[n];
      if (high == ReOpCounterSet) counter = value;
      // Counters are bytes: sums and differences wrap around.
      if (high == ReOpCounterAdd) counter = static_cast<u8>(counter + value);
      if (high == ReOpCounterSub) counter = static_cast<u8>(counter - value);
    } else if (op >= ReOpLiteral) {
      const u32 count = op & 0x3F;
      if (length - pc < count) return kBadTable;
      if (Output(program + pc, count, count) == kFull) return undo();
      pc += count;
    } else {
      return kBadTable;  // 0x0D, 0x0E, 0x70-0x7F, 0xB0-0xBF
    }
  }
}

Step Decoder::OpenElement(u32 element) {
  if (element >= m_.elementCount) return kBadState;
  const u16* record = m_.elements + 4 * element;
  const u32 transitionCount = record[0], firstTransition = record[1];
  const u32 openProgram = record[2], closeProgram = record[3];
  if (firstTransition + transitionCount > m_.transitionCount) return kBadTable;
  const u32 code = IsTextCode(cur_) ? ReStateText : cur_;
  u32 next = 0;
  bool found = false;
  for (u32 t = firstTransition; t < firstTransition + transitionCount && !found; ++t) {
    const u32 list = m_.transitions[2 * t];
    for (u32 j = list;; ++j) {
      if (j >= m_.codeListCount) return kBadTable;
      const u32 word = m_.codeLists[j];
      if (word == ReSequenceEnd) break;
      if (word == code) {
        found = true;
        next = m_.transitions[2 * t + 1];
        break;
      }
    }
  }
  if (!found) return kNoTransition;
  if (next >= m_.sequenceCount || next > 0x7FFF) return kBadTable;
  if (closeProgram > ReStateCloseBase - ReStateCloseFirst) return kBadTable;
  if (const Step run = RunProgram(openProgram); run != kOk) return run;
  if (closeProgram) {
    if (st_.depth >= static_cast<i16>(ReElementStackDepth)) return kStackFull;
    st_.stack[st_.depth++] = static_cast<i16>(static_cast<u16>(ReStateCloseBase - closeProgram));
  }
  if (st_.depth >= static_cast<i16>(ReElementStackDepth)) return kStackFull;
  st_.stack[st_.depth++] = static_cast<i16>(next);
  return kOk;
}

u16 Decoder::NextFromStack() {
  if (st_.depth < 0 || st_.depth > static_cast<i16>(ReElementStackDepth)) {
    badStack_ = true;
    return 0;
  }
  while (st_.depth > 0) {
    const i16 top = st_.stack[st_.depth - 1];
    if (top < 0) {
      --st_.depth;
      return static_cast<u16>(top);
    }
    const u32 index = static_cast<u32>(top);
    if (index >= m_.sequenceCount) {
      badStack_ = true;
      return 0;
    }
    const u16 word = m_.sequences[index];
    if (word == ReSequenceEnd) {
      --st_.depth;
      continue;
    }
    if (index + 1 >= m_.sequenceCount || m_.sequences[index + 1] == ReSequenceEnd) {
      --st_.depth;
    } else {
      ++st_.stack[st_.depth - 1];
    }
    return word;
  }
  return ReStateEnd;
}

void Decoder::CleanPoint() {
  if (!ReSnapshotDue(&r_->snapshots, st_.tokenNumber)) return;
  ReTokenSnapshot snapshot{};
  snapshot.tokenNumber = st_.tokenNumber;
  snapshot.state = st_;
  snapshot.window = r_->window.start;
  snapshot.offset = HeldOffset();
  ReOfferSnapshot(&r_->snapshots, snapshot.tokenNumber, &snapshot);
}

// Records why reading stopped.
void Decoder::ReadFailure(Read read) {
  switch (read) {
    case kLineEndStopped: Fail(ReCodeStopped); break;
    case kLoaderStopped: ReSetStatus(status_, ReSevWarning, ReCodeStopped, ReModLoader); break;
    case kReadFailed: ReSetHandleStatus(status_, ReSevError, ReErrFileRead, ReModChunk); break;
    default: Fail(ReErrNoMarkup); break;
  }
}

u32 Decoder::Run(u16 action, u16* firstToken) {
  // 490 on a reading buffer that has read nothing yet does what 470 does.
  const bool fresh = action == ReActOpen || (action == ReActReadOn && !r_->started);
  if (fresh) *firstToken = 0;
  if (Position(fresh, action, *firstToken)) {
    r_->started = true;
    Read read = ReadCode();
    while (read == kRead) {
      CleanPoint();
      if (++steps_ > kStepsPerCode) {
        Fail(ReErrBadState);
        break;
      }
      const u32 state = st_.state;
      if (state == ReStateEnd) {
        if (cur_ == ReCodeEnd) {
          ReSetStatus(status_, ReSevWarning, ReWarnEntryEnd, ReModChunk);
        } else {
          ReSetStatus(status_, ReSevWarning, ReWarnUnexpectedCode, static_cast<u16>(cur_));
        }
        break;
      }
      if (state == ReStateText) {
        bool full = false;
        while (read == kRead && IsTextCode(cur_)) {
          if (Emit(cur_, piece_, pieceLength_) == kFull) {
            full = true;
            break;
          }
          haveCur_ = false;
          CleanPoint();
          read = ReadCode();
        }
        if (full || read != kRead || !Advance()) break;
        continue;
      }
      if (state == cur_) {
        haveCur_ = false;
        if (!Advance()) break;
        read = ReadCode();
        continue;
      }
      Step step = kBadState;
      if (state >= ReStateCloseFirst && state < ReStateCloseBase) {
        step = RunProgram(ReStateCloseBase - state);
      } else if (state >= ReStateElement && state < ReStateCloseFirst) {
        step = OpenElement(state - ReStateElement);
        if (step == kNoTransition) {
          if (cur_ == RePieceSpace && pieceLength_ > 0 && piece_[0] == ' ') {
            read = ReadCode();  // a space where no element may open is passed over
            continue;
          }
          const u32 unexpected = cur_;
          read = ReadCode();
          if (read != kLoaderStopped)
            ReSetStatus(status_, ReSevWarning, ReWarnUnexpectedCode, static_cast<u16>(unexpected));
          break;
        }
      }
      if (step == kOk) {
        if (!Advance()) break;
        continue;
      }
      if (step == kFull) break;
      Fail(step == kStackFull ? ReErrElementStack : step == kBadTable ? ReErrNoMarkup : ReErrBadState);
      break;
    }
    if (read != kRead) ReadFailure(read);
  }
  st_.textPosition = r_->window.start.coded + HeldOffset();
  r_->offset = HeldOffset();
  if (src_.progress) src_.progress(kEverything, kEverything);
  *firstToken = static_cast<u16>(*firstToken + out_->tokenCount);
  return status_->status;
}

}  // namespace

u32 ReFormatCounter(u8 operation, u8 value, char* out) {
  const u8 kind = operation & 0xF0;
  u32 length = 0;
  if (kind == ReOpDecimal) {
    char digits[4];
    u32 n = 0;
    u32 v = value;
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v);
    while (n) out[length++] = digits[--n];
  } else if (kind == ReOpRomanUpper || kind == ReOpRomanLower) {
    static const struct {
      u32 value;
      const char* text;
    } kRoman[] = {{100, "C"}, {90, "XC"}, {50, "L"}, {40, "XL"}, {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}};
    u32 v = value;
    for (const auto& step : kRoman) {
      while (v >= step.value) {
        for (const char* p = step.text; *p; ++p)
          out[length++] = kind == ReOpRomanLower ? static_cast<char>(*p + 32) : *p;
        v -= step.value;
      }
    }
  } else if (kind == ReOpLetterUpper || kind == ReOpLetterLower) {
    const char base = kind == ReOpLetterUpper ? 'A' : 'a';
    if (value > 26) out[length++] = static_cast<char>(base + (value - 1) / 26 - 1);
    if (value > 0) out[length++] = static_cast<char>(base + (value - 1) % 26);
  }
  return length;
}

bool ReInitTokenReading(ReTokenReading* reading, u32 capacity) {
  *reading = ReTokenReading{};
  const u32 size = std::max<u32>(8u * capacity + 1u, ReMinimumWindow);
  reading->window.bytes = static_cast<u8*>(ReHeapAlloc(size));
  if (!reading->window.bytes) return false;
  reading->window.size = size;
  if (!ReInitSnapshots(&reading->snapshots, ReTokenSnapshotCount, sizeof(ReTokenSnapshot), ReTokenSnapshotShift)) {
    ReHeapFree(reading->window.bytes);
    *reading = ReTokenReading{};
    return false;
  }
  return true;
}

void ReFreeTokenReading(ReTokenReading* reading) {
  ReFreeSnapshots(&reading->snapshots);
  ReHeapFree(reading->window.bytes);
  *reading = ReTokenReading{};
}

i32 ReOpenTokenEntry(ReTokenReading* reading, ReCodeStream* stream, const ReTextTables* tables, u32 entry) {
  reading->entry = 0;
  reading->started = false;
  ReInitExpander(&reading->expander, stream, tables);
  u32 first = 0;
  const i32 found = ReFindEntryCodes(stream, tables, entry, &first);
  if (found < 0) {
    if (stream->stopped) return ReLoadStopped;
    return found == ReExpandFailed && stream->readFailed ? ReLoadReadFailed : ReLoadBadText;
  }
  reading->entry = entry;
  reading->entryStart = ReLoaderPos{ReExpandPos{first, 0}, 0, ReTagOutside, 0};
  reading->window.end = reading->entryStart;
  reading->window.live = false;
  reading->window.filled = 0;
  reading->offset = 0;
  reading->state = ReDecodeState{};
  reading->state.state = ReStateElement;
  ReClearSnapshots(&reading->snapshots, ReTokenSnapshotShift);
  return ReLoadDone;
}

u32 ReNextTextChunk(ReTokenReading* reading, const ReChunkSource& source, u16 action, u16* firstToken, ReChunkOut* out,
                    ReStatusBlock* status) {
  out->textLength = 0;
  out->tokenCount = 0;
  if (!reading || !reading->entry || !reading->window.bytes) {
    ReSetStatus(status, ReSevError, ReErrNoReadingBuffer, ReModChunk);
    return status->status;
  }
  if (!source.markup || !source.markup->elements || !source.automaton || !source.automaton->entries) {
    ReSetStatus(status, ReSevError, ReErrNoMarkup, ReModChunk);
    return status->status;
  }
  reading->expander.stream = source.stream;
  reading->expander.tables = source.tables;
  Decoder decoder(reading, source, out, status);
  return decoder.Run(action, firstToken);
}
