// Fuzz target of the entry-text parser: arbitrary bytes as the lines of an
// entry, parsed as entry text, as text-mode lines and as slot titles. The
// first two bytes choose the database's character-table index and options.
// The same bytes are also looked up as a string table.
#include <cstdint>
#include <cstring>
#include <vector>

#include "re_charclass.h"
#include "re_etpar_parse.h"
#include "re_platform.h"
#include "re_string_table.h"

namespace {

const char* LabelText(u16 key1, u16 key2, bool second) {
  if (key1 > 2 || key2 > 9) return nullptr;
  static const char* const kTexts[] = {"", "n.", "noun", "Synonyms", "\xC9t\xC9", "<SY>x<D1>"};
  return kTexts[(key1 * 3 + key2 + (second ? 1 : 0)) % 6];
}

u32 LookUp(void*, u16 key1, u16 key2, bool second, char** text) {
  const char* found = LabelText(key1, key2, second);
  if (!found) return ReWarn;
  *text = ReCopyText(found, static_cast<u32>(std::strlen(found)));
  return *text ? ReDone : ReFail;
}

// A heap copy of exactly the line's bytes, so a read past it is caught.
char* Exact(const u8* data, size_t size) {
  char* copy = static_cast<char*>(ReHeapAlloc(static_cast<u32>(size ? size : 1)));
  if (copy && size) std::memcpy(copy, data, size);
  return copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 1 << 16) return 0;
  static const u16 kKinds[] = {16, 6, 5, 11};
  const u16 kind = kKinds[data[0] & 3];
  const u16 mask = data[1];
  ReEtParser parser;
  ReInitParser(&parser, ReTextFormat{kind, mask, ReCharClassTable(static_cast<u8>(kind))},
               ReLabelSource{nullptr, LookUp});
  auto* entry = static_cast<ReEtParEntry*>(ReHeapAlloc(sizeof(ReEtParEntry)));
  auto* result = static_cast<ReEtParResult*>(ReHeapAlloc(sizeof(ReEtParResult)));
  std::vector<char*> titles;

  size_t start = 2;
  for (size_t i = 2; i <= size; ++i) {
    if (i < size && data[i] != '\n') continue;
    char* line = Exact(data + start, i - start);
    const u32 length = static_cast<u32>(i - start);
    ReParseEntryLine(&parser, line, length, entry);
    ReParseTextModeLine(&parser, line, length, result);
    ReHeapFree(line);
    // Titles are NUL-terminated texts.
    char* title = static_cast<char*>(ReHeapAlloc(length + 1));
    std::memcpy(title, data + start, length);
    title[length] = '\0';
    ReEtParEntry* slot = nullptr;
    if (ReMakeSlotEntry(&parser, title, static_cast<u8>(length), &slot) == ReDone) ReAppendEntry(result, slot);
    titles.push_back(title);
    start = i + 1;
  }
  ReSelection selection{};
  selection.word = titles.empty() ? nullptr : titles.front();
  selection.firstTitle = selection.word;
  selection.buffer = titles.empty() ? nullptr : titles.back();
  selection.selectionText = selection.buffer;
  selection.flag = (data[1] & 1) != 0;
  ReChooseCurrentEntry(result, kind, selection);

  // The input as a string table: every record's keys looked up, both strings.
  const ReStringTable table{data, static_cast<u32>(size)};
  ReStringTableHead head;
  if (ReReadStringTableHead(table, &head)) {
    for (u32 r = 0; r < head.count && r < 64; ++r) {
      const u8* record = data + ReStringTableHeadSize + r * ReStringRecordSize;
      const char* text = nullptr;
      u32 length = 0;
      for (bool second : {false, true}) {
        const u16 key1 = static_cast<u16>(record[0] << 8 | record[1]);
        const u16 key2 = static_cast<u16>(record[2] << 8 | record[3]);
        if (ReFindTableString(table, key1, key2, second, &text, &length) == ReDone && length > 0)
          (void)*reinterpret_cast<const volatile char*>(text + length - 1);
      }
    }
  }

  for (char* title : titles) ReHeapFree(title);
  ReFreeEntry(entry);
  ReFreeResult(result);
  ReFreeParser(&parser);
  return 0;
}
