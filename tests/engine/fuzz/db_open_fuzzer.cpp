// Opens arbitrary bytes as an engine database: session, open, a subset
// selection taken from the bytes, the subset of a few entries, close. Every
// path must end in a code, never in a bad read, a crash or a leak.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_files.h"
#include "re_handles.h"
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
