#include "re_plain_text.h"

namespace {

void Rebind(RePlainReader* reader, ReCodeStream* stream, const ReTextTables* tables) {
  reader->expander.stream = stream;
  reader->expander.tables = tables;
}

i32 FromExpander(i32 result, const ReCodeStream* stream) {
  if (result == ReExpandAtEnd) return RePlainEnded;
  if (result == ReExpandFailed && stream->stopped) return RePlainStopped;
  return RePlainBad;
}

// Produces the next character, offering the position to the snapshots first.
i32 Next(RePlainReader* reader) {
  if (ReSnapshotDue(&reader->snapshots, reader->textPos)) {
    const RePlainSnapshot snapshot{reader->textPos, ReExpanderPos(&reader->expander)};
    ReOfferSnapshot(&reader->snapshots, snapshot.textPos, &snapshot);
  }
  const i32 c = ReExpandNext(&reader->expander);
  if (c >= 0) ++reader->textPos;
  return c;
}

// Moves the reader to text position `to` (or to the end when the entry is shorter).
i32 GoTo(RePlainReader* reader, ReCodeStream* stream, u32 to) {
  if (to < reader->textPos) {
    ReExpandPos pos = reader->start;
    u32 textPos = 0;
    if (const void* found = ReFindSnapshot(&reader->snapshots, to)) {
      const auto* snapshot = static_cast<const RePlainSnapshot*>(found);
      pos = snapshot->pos;
      textPos = snapshot->textPos;
    }
    const i32 sought = ReExpanderSeek(&reader->expander, pos);
    if (sought < 0) return FromExpander(sought, stream);
    reader->textPos = textPos;
    reader->ended = false;
  }
  while (reader->textPos < to && !reader->ended) {
    const i32 c = Next(reader);
    if (c == ReExpandAtEnd) {
      reader->ended = true;
    } else if (c < 0) {
      return FromExpander(c, stream);
    }
  }
  return 0;
}

}  // namespace

bool ReInitPlainReader(RePlainReader* reader) {
  *reader = RePlainReader{};
  return ReInitSnapshots(&reader->snapshots, RePlainSnapshotCount, sizeof(RePlainSnapshot), RePlainSnapshotShift);
}

void ReFreePlainReader(RePlainReader* reader) {
  ReFreeSnapshots(&reader->snapshots);
  *reader = RePlainReader{};
}

i32 ReOpenPlainEntry(RePlainReader* reader, ReCodeStream* stream, const ReTextTables* tables, u32 entry) {
  // The entry after one read to its end, in the same group, starts where that one stopped.
  const bool follows = reader->entry && reader->ended && reader->expander.depth == 0 && !reader->expander.runLeft &&
                       !reader->expander.single;
  const u32 hintEntry = follows ? reader->entry : 0;
  const u32 hintCode = reader->expander.next + 1;  // behind the end code
  Rebind(reader, stream, tables);
  u32 first = 0;
  const i32 found = ReFindEntryCodes(stream, tables, entry, &first, hintEntry, hintCode);
  reader->entry = 0;
  if (found < 0) return FromExpander(found, stream);
  reader->entry = entry;
  reader->start = ReExpandPos{first, 0};
  reader->textPos = 0;
  reader->ended = false;
  ReClearSnapshots(&reader->snapshots, RePlainSnapshotShift);
  const i32 sought = ReExpanderSeek(&reader->expander, reader->start);
  return sought < 0 ? FromExpander(sought, stream) : 0;
}

i32 ReDecodeEntryText(RePlainReader* reader, ReCodeStream* stream, const ReTextTables* tables, u16 mode, u32 from,
                      char* out, u32 room, u32* length) {
  *length = 0;
  Rebind(reader, stream, tables);
  if (from != RePlainContinue && from != reader->textPos) {
    const i32 moved = GoTo(reader, stream, from);
    if (moved) return moved;
  }
  if (reader->ended) return RePlainEnded;
  u32 written = 0;
  while (written + 2 < room) {
    if (mode == RePlainTitle) {
      // A title stops behind its first line feed: one character at a time.
      const i32 c = Next(reader);
      if (c < 0) {
        *length = written;
        if (c == ReExpandAtEnd) reader->ended = true;
        return FromExpander(c, stream);
      }
      out[written++] = static_cast<char>(c);
      if (c == ReLineFeed) break;
      continue;
    }
    // Runs of characters up to the next snapshot position, where the
    // snapshot is offered as reading one character at a time offers it.
    if (ReSnapshotDue(&reader->snapshots, reader->textPos)) {
      const RePlainSnapshot snapshot{reader->textPos, ReExpanderPos(&reader->expander)};
      ReOfferSnapshot(&reader->snapshots, snapshot.textPos, &snapshot);
    }
    u32 run = room - 2 - written;
    const ReSnapshotTable& snapshots = reader->snapshots;
    if (snapshots.records && snapshots.shift < 31) {
      const u64 due = static_cast<u64>(snapshots.used + 1u) << snapshots.shift;
      if (due > reader->textPos && due - reader->textPos < run) run = static_cast<u32>(due - reader->textPos);
    }
    u32 count = 0;
    const i32 c = ReExpandRun(&reader->expander, reinterpret_cast<u8*>(out + written), run, &count);
    written += count;
    reader->textPos += count;
    if (c < 0) {
      *length = written;
      if (c == ReExpandAtEnd) reader->ended = true;
      return FromExpander(c, stream);
    }
  }
  *length = written;
  // A run that took the entry's last character reports the end with it.
  const ReExpander& e = reader->expander;
  u32 code = 0;
  if (!e.runLeft && !e.single && !e.depth && ReReadCode(stream, e.next, &code) && code == tables->endCode) {
    reader->ended = true;
    return RePlainEnded;
  }
  return 0;
}
