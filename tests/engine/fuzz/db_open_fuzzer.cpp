// Opens arbitrary bytes as an engine database: session, open, a subset
// selection taken from the bytes, the subset of a few entries, then what a
// reader does with a database (a word with its spelling alternatives, a
// wildcard list, an entry's text as tokens and as text, a Boolean search, an
// entry list, a string), close. Every path must end in a code, never in a bad
// read, a crash, a hang or a leak. A structure-aware mutator changes the
// container's fields (header, directory, component headers, table records,
// table contents) so that damaged files reach every table's reader.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "fuzz_mutation.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_subsets.h"
#include "zorlre32.h"

namespace {

// Entry vectors take entry count / 8 bytes, one per nesting level of the
// subset tree: past this many entries a run would only measure memory.
constexpr u32 kMaxEntries = 1u << 22;

void Exercise(ReDbBlock* db, const uint8_t* data, size_t size) {
  if (db->entryCount > kMaxEntries) return;
  for (u16 i = 0; i < db->subsetCount; ++i) db->selection[i] = size ? data[i % size] : 0;
  REdb(db, 100, ReActReset);
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  ReStatusBlock status{};
  if (ReLockHandle(db->handle, ReTagSubset, &record, &work, &status) != ReDone) std::abort();
  for (i32 entry : {1, 2, 7, static_cast<i32>(db->entryCount)}) {
    u16 subset = 0;
    status = {};
    ReSubsetOfEntry(record, work, entry, &subset, &status);
  }
  status = {};
  ReUnlockHandle(db->handle, 0, &status);
}

// A block of the database, or null when it cannot be made.
template <class Block>
Block* Make(ReDbBlock* db, u16 type, u16 count = 0) {
  void* block = nullptr;
  if (REmemory(&block, db, type, ReActOpen, count) != ReDone) return nullptr;
  return static_cast<Block*>(block);
}

template <class Block>
void Free(Block* block, u16 type) {
  void* pointer = block;
  if (block && REmemory(&pointer, nullptr, type, ReActClose, 0) != ReDone) std::abort();
}

void Copy(char* buffer, const char* text) {
  const u32 room = ReHeapSize(buffer);
  if (room == 0) return;
  std::snprintf(buffer, room, "%s", text);
}

// What the reader asks of a database, each call ended as the reader ends it.
void Read(ReDbBlock* db, const char* word) {
  if (auto* list = Make<ReIdxListBlock>(db, ReBlockIdxList)) {
    list->handle = db->handle;
    Copy(list->word, word);
    REidxlst(list, 210, ReActOpen);
    REidxlst(list, 210, ReActNextAlt);
    Copy(list->word, "*e?");
    for (u16 action : {ReActOpen, ReActNext, ReActPrevious, ReActClose}) REidxlst(list, 250, action);
    Free(list, ReBlockIdxList);
  }
  if (auto* tokens = Make<ReTokenBlock>(db, ReBlockToken, 64)) {
    tokens->handle = db->handle;
    for (u32 entry : {1u, 2u, db->entryCount}) {
      tokens->entry = entry;
      u32 result = REtoken(tokens, 495, ReActOpen);
      for (int chunk = 0; chunk < 8 && result == ReDone; ++chunk) result = REtoken(tokens, 495, ReActNext);
      REtoken(tokens, 495, ReActClose);
    }
    Free(tokens, ReBlockToken);
  }
  if (auto* entry = Make<ReEntryBlock>(db, ReBlockEntry, 200)) {
    entry->handle = db->handle;
    entry->entry = 1;
    u32 result = REentry(entry, 145, ReActOpen);
    for (int piece = 0; piece < 8 && result == ReDone; ++piece) result = REentry(entry, 145, ReActNext);
    REentry(entry, 145, ReActClose);
    Free(entry, ReBlockEntry);
  }
  if (auto* search = Make<ReSearchBlock>(db, ReBlockSearch, 8)) {
    search->handle = db->handle;
    std::snprintf(search->query, ReQueryBufferSize, "%s OR (the NEAR a)", word);
    u32 result = REsearch(search, 145, ReActOpen);
    for (int page = 0; page < 4 && result == ReDone; ++page) result = REsearch(search, 145, ReActNext);
    REsearch(search, 145, ReActClose);
    Free(search, ReBlockSearch);
  }
  if (auto* entries = Make<ReEntListBlock>(db, ReBlockEntList, 8)) {
    entries->handle = db->handle;
    Copy(entries->word, word);
    entries->matchMode = 1;
    u32 result = REentlst(entries, 240, ReActOpen);
    for (int page = 0; page < 4 && result == ReDone; ++page) result = REentlst(entries, 230, ReActNext);
    REentlst(entries, 240, ReActClose);
    Free(entries, ReBlockEntList);
  }
  if (auto* strings = Make<ReStrTabBlock>(db, ReBlockStrTab)) {
    strings->handle = db->handle;
    strings->optionMask = 128;
    strings->firstKey = 1;
    REstrtab(strings, 110, ReActOpen);
    Free(strings, ReBlockStrTab);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFuzzFile("FUZZ.DAT", data, size);
  void* app = nullptr;
  void* db = nullptr;
  if (REmemory(&app, nullptr, ReBlockApp, ReActOpen, 0) != ReDone) std::abort();
  if (REapp(app, 100, ReActOpen) != ReDone) std::abort();
  if (REmemory(&db, app, ReBlockDb, ReActOpen, 0) != ReDone) std::abort();
  const std::string& directory = FuzzDirectory();
  ReFileSpec spec{directory.c_str(), "FUZZ.DAT"};
  auto* block = static_cast<ReDbBlock*>(db);
  block->fileSpec = &spec;
  block->optionMask = 128;
  if (REdb(block, 100, ReActOpen) == ReDone) {
    Exercise(block, data, size);
    // A word from the last bytes of the file.
    char word[12] = "comet";
    for (size_t i = 0; i + 1 < sizeof word && size > 1024 + i && data[size - 1 - i] >= 'a'; ++i) {
      word[i] = static_cast<char>(data[size - 1 - i]);
      word[i + 1] = 0;
    }
    if (block->entryCount <= kMaxEntries) Read(block, word);
    if (REdb(block, 100, ReActClose) != ReDone) std::abort();
  } else if (ReHandleCount() != 0 || ReDbNodeCount() != 0) {
    std::abort();  // a failed open leaves nothing behind
  }
  REapp(app, 100, ReActClose);
  REmemory(&db, nullptr, ReBlockDb, ReActClose, 0);
  REmemory(&app, nullptr, ReBlockApp, ReActClose, 0);
  if (ReLiveAllocations() != 0) std::abort();
  return 0;
}

// Structure-aware mutation: half the mutations change one field of the
// container (a header word, a directory entry, a component header's table
// count and table list, a table record, or bytes inside a table) to a value
// its reader must judge; the other half are libFuzzer's own.
namespace {

struct Field {
  std::size_t at;
  bool wide;
};

void Fields(const uint8_t* data, size_t size, std::vector<Field>& fields, std::vector<Field>& contents) {
  static const Field kHeader[] = {{0, false},  {384, false}, {386, false}, {388, false}, {390, false},
                                  {700, true}, {704, false}, {738, false}, {788, false}, {790, false},
                                  {792, true}, {796, false}, {798, false}};
  if (size < 1024) return;
  for (const Field& field : kHeader) fields.push_back(field);
  const std::size_t count = fuzzmut::GetBe16(data + 790);
  const std::size_t directory = fuzzmut::GetBe32(data + 792);
  const std::size_t headerSize = 512u * fuzzmut::GetBe16(data + 796);
  for (std::size_t e = 0; e < count && e < 16 && directory + 12 * (e + 1) <= 1024; ++e) {
    const std::size_t entry = directory + 12 * e;
    fields.insert(fields.end(), {{entry, false}, {entry + 2, false}, {entry + 4, true}, {entry + 8, true}});
    const std::size_t component = fuzzmut::GetBe32(data + entry + 4);
    if (headerSize < 86 || component > size || size - component < headerSize) continue;
    static const Field kComponent[] = {{0, false},   {2, false},   {25, false},  {26, false},  {30, false},
                                       {80, false},  {82, true},   {93, false},  {104, true},  {114, false},
                                       {116, false}, {118, false}, {120, false}, {122, false}, {124, true},
                                       {128, false}, {140, false}, {146, false}, {148, false}, {160, false}};
    for (const Field& field : kComponent) fields.push_back({component + field.at, field.wide});
    const std::size_t tables = fuzzmut::GetBe16(data + component + 80);
    const std::size_t list = component + fuzzmut::GetBe32(data + component + 82);
    for (std::size_t t = 0; t < tables && t < 24 && list + 16 * (t + 1) <= component + headerSize; ++t) {
      const std::size_t record = list + 16 * t;
      fields.insert(
          fields.end(),
          {{record, false}, {record + 2, true}, {record + 6, true}, {record + 10, false}, {record + 12, true}});
      const std::size_t table = component + fuzzmut::GetBe32(data + record + 2);
      const std::size_t length = fuzzmut::GetBe32(data + record + 12);
      if (length >= 4 && table < size && size - table >= length)
        contents.push_back({table + 2 * (data[record + 1] % (length / 2 - 1)), length % 4 == 0});
    }
  }
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  fuzzmut::Random random(seed);
  if (fuzzmut::Below(random, 2) == 0) {
    std::vector<Field> fields, contents;
    Fields(data, size, fields, contents);
    const bool inTable = !contents.empty() && fuzzmut::Below(random, 3) == 0;
    const std::vector<Field>& from = inTable ? contents : fields;
    if (!from.empty()) {
      Field field = from[fuzzmut::Below(random, static_cast<u32>(from.size()))];
      if (inTable) field.at += 2 * fuzzmut::Below(random, 16);
      if (field.at + (field.wide ? 4 : 2) <= size) {
        const u32 current = field.wide ? fuzzmut::GetBe32(data + field.at) : fuzzmut::GetBe16(data + field.at);
        const u32 value = fuzzmut::Interesting(random, current, static_cast<u32>(size), field.wide);
        if (field.wide)
          fuzzmut::PutBe32(data + field.at, value);
        else
          fuzzmut::PutBe16(data + field.at, static_cast<u16>(value));
        return size;
      }
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}
