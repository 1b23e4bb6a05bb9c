// Decodes entries from arbitrary tables and code streams: token chunks (470,
// 430, a read-on), tagged text and titles. Every path must end in a code,
// never in a read or write outside a buffer, a hang or a leak.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fuzz_case.h"
#include "re_charclass.h"
#include "re_decoder.h"
#include "re_loader.h"
#include "re_plain_text.h"
#include "re_platform.h"
#include "re_titles.h"

namespace {

using textfuzz::Case;

// Each section in a buffer of exactly its size, so that any read past it is caught.
struct Owned {
  explicit Owned(const std::vector<std::uint8_t>& bytes) : size(static_cast<u32>(bytes.size())) {
    data = static_cast<u8*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(data, bytes.data(), size);
  }
  ~Owned() { std::free(data); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  u8* data;
  u32 size;
};

void Tokens(const Case& c, ReCodeStream* stream, const ReTextTables* tables, const ReAutomatonSections* automaton,
            const ReMarkupSections* markup, u32 entry) {
  const u32 capacity = 33u + c.head.capacity;
  char* text = static_cast<char*>(std::malloc(8 * capacity));
  auto* tokens = static_cast<ReToken*>(std::malloc(capacity * sizeof(ReToken)));
  static const char* const kTerms[] = {"well", "a-b", "the"};
  const ReHitTerms hits = ReMakeHitTerms((c.head.options & 1) ? 3 : 0, kTerms,
                                         (c.head.options & 2) ? ReMarkWordsAndRuns : ReMarkWords, ReCharClassTable(1));
  // With the automaton's row tables now and then, as handles read, else through its table.
  ReAutomatonRows rows{};
  const bool withRows = (c.head.options & 4) && ReBuildAutomatonRows(automaton, &rows);
  ReChunkSource source{stream, tables, automaton, markup, &hits, nullptr, withRows ? &rows : nullptr};
  ReTokenReading reading{};
  if (ReInitTokenReading(&reading, capacity) && ReOpenTokenEntry(&reading, stream, tables, entry) == ReLoadDone) {
    u16 first = 0;
    for (u32 call = 0; call < 64; ++call) {
      ReStatusBlock status{};
      ReChunkOut out{text, 8 * capacity, 0, tokens, capacity, 0};
      const u16 action = call == 0 ? ReActOpen : call == 3 ? ReActReadOn : ReActNext;
      if (call == 3) first = static_cast<u16>(first / 2);
      if (ReNextTextChunk(&reading, source, action, &first, &out, &status) != ReDone) break;
      if (out.textLength >= 8 * capacity || out.tokenCount >= capacity) std::abort();
    }
  }
  ReFreeTokenReading(&reading);
  if (withRows) ReFreeAutomatonRows(&rows);
  std::free(tokens);
  std::free(text);
}

void PlainText(ReCodeStream* stream, const ReTextTables* tables, u32 entry) {
  RePlainReader reader{};
  if (!ReInitPlainReader(&reader)) return;
  char out[300];
  if (ReOpenPlainEntry(&reader, stream, tables, entry) == 0) {
    u32 length = 0;
    if (ReDecodeEntryText(&reader, stream, tables, RePlainTitle, RePlainContinue, out, sizeof out, &length) !=
        RePlainBad) {
      char title[40];
      for (u16 mode : {u16{0}, u16{1}}) ReEntryTitle(out, length, ReTitleRules{mode, 3, 0}, title, sizeof title);
    }
    for (u32 from : {1000u, 10u, RePlainContinue})
      if (ReDecodeEntryText(&reader, stream, tables, RePlainRead, from, out, sizeof out, &length) == RePlainBad) break;
  }
  ReFreePlainReader(&reader);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Case c;
  if (!textfuzz::Parse(data, size, &c)) return 0;
  const textfuzz::Head& h = c.head;
  Owned groups(c.sections[textfuzz::kGroups]), first(c.sections[textfuzz::kFirst]);
  Owned second(c.sections[textfuzz::kSecond]), pool(c.sections[textfuzz::kPool]);
  Owned entries(c.sections[textfuzz::kEntries]), names(c.sections[textfuzz::kNames]);
  Owned words(c.sections[textfuzz::kWords]), programs(c.sections[textfuzz::kPrograms]);
  Owned code(c.sections[textfuzz::kStream]);

  ReTextTables tables{};
  tables.groups = groups.data;
  tables.groupCount = groups.size / 4;
  tables.first = first.data;
  tables.second = second.data;
  tables.codeCount = std::min(first.size, second.size) / 2;
  tables.pool = pool.data;
  tables.poolLength = pool.size;
  tables.terminalCount = h.terminalCount;
  tables.endCode = h.endCode;
  tables.codeWidth = h.codeWidth;
  tables.groupShift = h.groupShift;
  tables.entryCount = h.entryCount;

  ReAutomatonSections automaton{};
  automaton.entries = reinterpret_cast<const u16*>(entries.data);
  automaton.entryCount = entries.size / 4;
  automaton.names = names.data;
  automaton.namesLength = names.size;

  ReMarkupSections markup{};
  const u64 wordCount = 4ull * h.elements + 2ull * h.transitions + h.sequences + h.codeLists;
  if (wordCount * 2 > words.size) return 0;  // the container refuses such a table
  const auto* w = reinterpret_cast<const u16*>(words.data);
  markup.elementCount = h.elements;
  markup.transitionCount = h.transitions;
  markup.sequenceCount = h.sequences;
  markup.codeListCount = h.codeLists;
  markup.elements = w;
  markup.transitions = markup.elements + 4 * h.elements;
  markup.sequences = markup.transitions + 2 * h.transitions;
  markup.codeLists = markup.sequences + h.sequences;
  markup.programs = programs.data;
  markup.programsLength = programs.size;

  for (u32 entry = 1; entry <= 3 && entry <= h.entryCount; ++entry) {
    ReCodeStream stream = ReMemoryCodeStream(code.data, code.size, h.codeWidth);
    Tokens(c, &stream, &tables, &automaton, &markup, entry);
    stream = ReMemoryCodeStream(code.data, code.size, h.codeWidth);
    PlainText(&stream, &tables, entry);
  }
  if (ReLiveAllocations() != 0) std::abort();
  return 0;
}
