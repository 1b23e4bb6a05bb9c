// The engine through its exports, called by a careless program: the input is
// a program of calls over the sample content's databases. Blocks are made,
// re-sized and freed with wrong types and parents; they are passed to entry
// points of other types, after they were freed, with stale and foreign
// handles, with their size, count and database fields changed, and with
// every function and action code. Every call must end in a code: no bad read
// or write, no leak, and once the program has closed what it opened, nothing
// of the engine is left (handles, database nodes, blocks, allocations).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine_db/lists_samples.h"
#include "fuzz_files.h"
#include "re_block_registry.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_rank.h"
#include "reader/reader_sample.h"
#include "zorlre32.h"

namespace {

// The databases a program may open, and one that does not exist.
const char* const kFiles[] = {"REN2F200.DAT", "R053F540.DAT", "QUIRN.DAT", "RENTF211.DAT", "NONE.DAT"};
constexpr int kFileCount = sizeof kFiles / sizeof kFiles[0];

void WriteSamples() {
  static const bool written = [] {
    for (const auto& [name, bytes] : builder::BuildReaderSample())
      if (name.size() > 4 && name.substr(name.size() - 4) == ".DAT") WriteFuzzFile(name, bytes.data(), bytes.size());
    builder::engine_db::WriteSampleDictionaries(FuzzDirectory());
    return true;
  }();
  (void)written;
}

struct Program {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  bool More() const { return at < size; }
  std::uint8_t Byte() { return at < size ? data[at++] : 0; }
  u16 Word() { return static_cast<u16>(Byte() | Byte() << 8); }
  u32 Long() { return Word() | static_cast<u32>(Word()) << 16; }
  // A short text of the program's bytes: a character a user may type
  // (printable ASCII, and from 160 up the accented letters and the syllable
  // dot) stands for itself, so that the fuzz dictionary's words and joiners
  // come through; any other byte for a common letter or an operator.
  std::string Text(std::size_t most) {
    std::string text;
    const std::size_t length = Byte() % (most + 1);
    for (std::size_t i = 0; i < length; ++i) {
      const std::uint8_t b = Byte();
      const bool typed = (b >= 32 && b < 127) || b >= 160;
      text += typed ? static_cast<char>(b) : static_cast<char>("etaoinshrdlucmwfgypbvkjxqz *?\"()&|"[b % 34]);
    }
    return text;
  }
};

constexpr u16 kTypes[] = {ReBlockApp,   ReBlockDb,     ReBlockIdxList, ReBlockEntList, ReBlockEntry,
                          ReBlockToken, ReBlockSearch, ReBlockStrTab,  ReBlockSubset,  ReBlockEtPar};
constexpr u16 kActions[] = {ReActOpen, ReActClose, ReActReset, ReActNext, ReActNextAlt, 420, 490};

int StopAfter = 0;
i32 RE_CALL Progress(u32, u32) { return --StopAfter == 0 ? 1 : 0; }

class World {
 public:
  explicit World(Program& program) : p_(program) {}

  void Run() {
    for (int step = 0; step < 48 && p_.More(); ++step) Step();
    CleanUp();
  }

 private:
  static constexpr int kSessions = 2, kDatabases = 3, kBlocks = 8;

  struct Block {
    void* block = nullptr;
    u16 type = 0;
  };

  void Step() {
    const int op = p_.Byte() % 16;
    if (trace_) std::fprintf(stderr, "step %d at byte %zu: live %d\n", op, p_.at - 1, ReLiveAllocations());
    switch (op) {
      case 0: NewSession(); break;
      case 1: SessionCall(); break;
      case 2: FreeSlot(sessions_[p_.Byte() % kSessions]); break;
      case 3: NewDatabase(); break;
      case 4: OpenDatabase(); break;
      case 5: ApplyDatabase(); break;
      case 6: REdb(databases_[p_.Byte() % kDatabases].block, Function({100}), Action()); break;
      case 7: FreeSlot(databases_[p_.Byte() % kDatabases]); break;
      case 8: NewBlock(); break;
      case 9: ResetBlock(); break;
      case 10: FreeSlot(blocks_[p_.Byte() % kBlocks]); break;
      case 11: Fill(blocks_[p_.Byte() % kBlocks]); break;
      case 12: Damage(blocks_[p_.Byte() % kBlocks]); break;
      case 13: Call(); break;
      case 14: ConceptQuery(); break;
      default: Parse(); break;
    }
  }

  // --- Pointers the program passes: mostly its own blocks, sometimes freed
  // ones or blocks of the wrong kind.
  void* AnyBlock() {
    const std::uint8_t pick = p_.Byte();
    if (pick < 16 && !freed_.empty()) return freed_[pick % freed_.size()];
    if (pick < 24) return nullptr;
    if (pick < 64) return databases_[pick % kDatabases].block;
    if (pick < 72) return sessions_[pick % kSessions].block;
    return blocks_[pick % kBlocks].block;
  }
  ReDbBlock* Database() { return static_cast<ReDbBlock*>(databases_[p_.Byte() % kDatabases].block); }
  u16 Type() {
    const std::uint8_t pick = p_.Byte();
    return pick < 250 ? kTypes[pick % 10] : static_cast<u16>(500 + pick);
  }
  u16 Function(std::initializer_list<u16> known) {
    const std::uint8_t pick = p_.Byte();
    if (pick < 240) return known.begin()[pick % known.size()];
    return p_.Word();
  }
  u16 Action() {
    const std::uint8_t pick = p_.Byte();
    return pick < 245 ? kActions[pick % 7] : p_.Word();
  }
  // A handle: of an open database, a stale or made-up one.
  u16 Handle() {
    const std::uint8_t pick = p_.Byte();
    if (pick < 200) {
      const auto* db = static_cast<const ReDbBlock*>(databases_[pick % kDatabases].block);
      return db ? db->handle : 0;
    }
    return pick < 230 ? static_cast<u16>(pick % 8) : p_.Word();
  }

  void Made(Block& slot, void* block, u16 type) {
    slot.block = block;
    slot.type = type;
  }

  // Frees a slot's block; the type passed is sometimes wrong, and then the
  // block must stay (and be freed at the end).
  void FreeSlot(Block& slot) {
    if (!slot.block) return;
    const bool right = p_.Byte() < 200;
    void* pointer = slot.block;
    const u16 type = right ? slot.type : Type();
    const u32 result = REmemory(&pointer, nullptr, type, ReActClose, 0);
    if (type != slot.type && result != ReFail) std::abort();  // freed as another type
    if (result == ReDone) {
      freed_.push_back(slot.block);
      slot = {};
    }
  }

  void NewSession() {
    Block& slot = sessions_[p_.Byte() % kSessions];
    if (slot.block) return;
    void* block = nullptr;
    if (REmemory(&block, AnyBlock(), ReBlockApp, ReActOpen, 0) == ReDone) Made(slot, block, ReBlockApp);
    if (slot.block && REapp(slot.block, 100, ReActOpen) == ReDone) Opened(slot.block);
  }

  void SessionCall() {
    void* block = sessions_[p_.Byte() % kSessions].block;
    if (REapp(block, Function({100}), Action()) == ReDone && block) Opened(block);
  }

  // Sessions a program opens and forgets (it opens a block's session again,
  // or frees the block first) stay in the engine until closed by their id.
  void Opened(void* block) { opened_.push_back(static_cast<const ReAppBlock*>(block)->session); }

  void NewDatabase() {
    Block& slot = databases_[p_.Byte() % kDatabases];
    if (slot.block) return;
    void* block = nullptr;
    if (REmemory(&block, AnyBlock(), ReBlockDb, ReActOpen, 0) == ReDone) Made(slot, block, ReBlockDb);
  }

  void OpenDatabase() {
    auto* db = Database();
    if (!db) return;
    static ReFileSpec specs[kFileCount];
    const int file = p_.Byte() % kFileCount;
    specs[file] = {FuzzDirectory().c_str(), kFiles[file]};
    db->fileSpec = p_.Byte() < 240 ? &specs[file] : nullptr;
    db->optionMask = p_.Byte() < 128 ? 128 : p_.Word();
    REdb(db, Function({100}), ReActOpen);
  }

  // Options, callback, subset selection and restriction.
  void ApplyDatabase() {
    auto* db = Database();
    if (!db) return;
    db->optionMask = p_.Byte() < 128 ? 128 : p_.Word();
    StopAfter = p_.Byte() % 8;
    db->progress = StopAfter ? Progress : nullptr;
    if (db->selection)
      for (u16 i = 0; i < db->subsetCount; ++i) db->selection[i] = p_.Byte() % 4;
    db->restriction = static_cast<ReSubsetBlock*>(p_.Byte() < 64 ? AnyBlock() : nullptr);
    REdb(db, Function({100}), ReActReset);
    db->restriction = nullptr;
  }

  void NewBlock() {
    Block& slot = blocks_[p_.Byte() % kBlocks];
    if (slot.block) return;
    const u16 type = Type();
    void* block = nullptr;
    const u16 count = p_.Byte() < 200 ? p_.Byte() % 4 : p_.Word();
    if (REmemory(&block, AnyBlock(), type, ReActOpen, count) == ReDone) Made(slot, block, type);
  }

  void ResetBlock() {
    Block& slot = blocks_[p_.Byte() % kBlocks];
    if (!slot.block) return;
    const u16 type = p_.Byte() < 200 ? slot.type : Type();
    const u16 count = p_.Byte() < 200 ? static_cast<u16>(1 + p_.Byte() % 60) : p_.Word();
    void* pointer = slot.block;
    const u32 result = REmemory(&pointer, AnyBlock(), type, ReActReset, count);
    if (result == ReFail && !pointer) {  // a failed re-size frees the block
      freed_.push_back(slot.block);
      slot = {};
    }
  }

  // Copies a text into one of a block's own buffers, within its allocation.
  static void Put(char* buffer, const std::string& text) {
    if (!buffer) return;
    const u32 room = ReHeapSize(buffer);
    if (room == 0) return;
    const std::size_t length = std::min<std::size_t>(text.size(), room - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
  }

  // The caller's request fields, as a program fills them.
  void Fill(Block& slot) {
    if (!slot.block) return;
    switch (slot.type) {
      case ReBlockIdxList: {
        auto* b = static_cast<ReIdxListBlock*>(slot.block);
        b->handle = Handle();
        b->minimumLength = p_.Byte() % 12;
        b->wordClass = p_.Byte();
        if (b->featureMask) std::memcpy(b->featureMask, terms_, 4);
        Put(b->word, p_.Text(24));
        break;
      }
      case ReBlockEntList: {
        auto* b = static_cast<ReEntListBlock*>(slot.block);
        b->handle = Handle();
        b->matchMode = p_.Byte() % 4;
        Put(b->word, p_.Text(24));
        break;
      }
      case ReBlockEntry: {
        auto* b = static_cast<ReEntryBlock*>(slot.block);
        b->handle = Handle();
        b->entry = p_.Byte() < 220 ? p_.Byte() % 48 : p_.Long();
        b->readPosition = p_.Word();
        b->textMode = p_.Byte() % 4;
        break;
      }
      case ReBlockToken: {
        auto* b = static_cast<ReTokenBlock*>(slot.block);
        b->handle = Handle();
        b->entry = p_.Byte() < 220 ? p_.Byte() % 48 : p_.Long();
        b->termCount = p_.Byte() % 10;
        for (int i = 0; i < 8; ++i) b->terms[i] = i < 3 ? terms_[i] : nullptr;
        b->markingMode = p_.Byte() % 4;
        b->firstToken = p_.Word();
        break;
      }
      case ReBlockSearch: {
        auto* b = static_cast<ReSearchBlock*>(slot.block);
        b->handle = Handle();
        b->caseMode = p_.Byte() % 4;
        Put(b->query, p_.Text(60));
        break;
      }
      case ReBlockStrTab: {
        auto* b = static_cast<ReStrTabBlock*>(slot.block);
        b->handle = Handle();
        b->firstKey = p_.Byte() % 4;
        b->secondKey = p_.Byte() % 12;
        b->version = p_.Byte() < 200 ? 0 : p_.Word();
        b->optionMask = p_.Byte() < 200 ? 128 : p_.Word();
        break;
      }
      case ReBlockSubset: {
        auto* b = static_cast<ReSubsetBlock*>(slot.block);
        if (b->bits) std::memset(b->bits, p_.Byte(), ReHeapSize(b->bits));
        break;
      }
      default: break;
    }
  }

  // Fields of a block that the caller should leave alone: sizes, counts,
  // positions and the database the buffers were sized for.
  void Damage(Block& slot) {
    if (!slot.block) return;
    const u16 value = p_.Byte() < 128 ? static_cast<u16>(p_.Byte()) : p_.Word();
    const std::uint8_t field = p_.Byte();
    switch (slot.type) {
      case ReBlockDb: {
        auto* b = static_cast<ReDbBlock*>(slot.block);
        switch (field % 5) {
          case 0: b->entryCount = value; break;  // the main program widens it around a ranked query
          case 1: b->longestWord = value; break;
          case 2: b->longestLine = value; break;
          case 3: b->subsetCount = value; break;
          default: b->handle = value; break;
        }
        break;
      }
      case ReBlockIdxList: {
        auto* b = static_cast<ReIdxListBlock*>(slot.block);
        switch (field % 5) {
          case 0: b->resultLimit = value; break;
          case 1: b->resultAreaSize = value; break;
          case 2: b->position = value; break;
          case 3: b->foundCount = static_cast<i16>(value); break;
          default: b->databaseId = value; break;
        }
        break;
      }
      case ReBlockEntList: {
        auto* b = static_cast<ReEntListBlock*>(slot.block);
        switch (field % 4) {
          case 0: b->capacity = value; break;
          case 1: b->count = value; break;
          case 2: std::memcpy(b->pageState2, &value, 2); break;
          default: b->databaseId = value; break;
        }
        break;
      }
      case ReBlockEntry: {
        auto* b = static_cast<ReEntryBlock*>(slot.block);
        if (field % 2)
          b->bufferSize = value;
        else
          b->databaseId = value;
        break;
      }
      case ReBlockToken: {
        auto* b = static_cast<ReTokenBlock*>(slot.block);
        switch (field % 3) {
          case 0: b->capacity = value; break;
          case 1: b->textLength = value; break;
          default: b->databaseId = value; break;
        }
        break;
      }
      case ReBlockSearch: {
        auto* b = static_cast<ReSearchBlock*>(slot.block);
        switch (field % 4) {
          case 0: b->slotCount = value; break;
          case 1: b->hitCount = value; break;
          case 2: b->searchState1 = value; break;
          default: b->databaseId = value; break;
        }
        break;
      }
      case ReBlockStrTab: static_cast<ReStrTabBlock*>(slot.block)->databaseId = value; break;
      case ReBlockSubset: static_cast<ReSubsetBlock*>(slot.block)->databaseId = value; break;
      default: break;
    }
  }

  // One entry point on any pointer, with its codes or any others.
  void Call() {
    void* block = p_.Byte() < 200 ? blocks_[p_.Byte() % kBlocks].block : AnyBlock();
    switch (p_.Byte() % 9) {
      case 0: REidxlst(block, Function({120, 130, 140, 150, 180, 210, 240, 250}), Action()); break;
      case 1: REentlst(block, Function({230, 240}), Action()); break;
      case 2: REentry(block, Function({145, 160, 495}), Action()); break;
      case 3: REsearch(block, Function({145, 220}), Action()); break;
      case 4: REstrtab(block, Function({110, 145}), Action()); break;
      case 5: REtoken(block, Function({160, 495}), Action()); break;
      case 6: {
        u32 table = 0, count = 0;
        REcontable(block, p_.Byte() < 240 ? &table : nullptr, &count);
        break;
      }
      case 7: REPDdb(block, p_.Word(), Action()); break;
      default: REPDedit(block, p_.Word(), Action()); break;
    }
  }

  void ConceptQuery() {
    const u16 terms = p_.Byte() % 5;
    rank_.termCount = terms;
    rank_.termTexts = p_.Byte() < 240 ? terms_ : nullptr;
    rank_.idf = p_.Byte() < 240 ? idf_ : nullptr;
    rank_.weights = p_.Byte() < 240 ? weights_ : nullptr;
    for (float& weight : weights_) weight = static_cast<float>(p_.Byte()) / 16;
    const u16 mode = p_.Byte() % 3;
    REconqry(AnyBlock(), &rank_, AnyBlock(), mode, Action());
    ranked_ = true;
  }

  void Parse() {
    Block& slot = blocks_[p_.Byte() % kBlocks];
    if (!slot.block || slot.type != ReBlockEtPar) return;
    auto* b = static_cast<ReEtParBlock*>(slot.block);
    b->databaseRecord = AnyBlock();
    // The slots of an entry list, as many as it holds (or the list's own
    // count, which the caller may have damaged).
    const Block& list = blocks_[p_.Byte() % kBlocks];
    if (list.block && list.type == ReBlockEntList) {
      const auto* entries = static_cast<const ReEntListBlock*>(list.block);
      b->slots = entries->slots;
      b->slotCount = static_cast<i16>(std::min<u32>(ReHeapSize(entries->slots) / sizeof(ReEntListSlot), p_.Byte()));
    } else {
      b->slots = nullptr;
      b->slotCount = static_cast<i16>(p_.Byte() % 3);
    }
    b->currentSlot = static_cast<i16>(p_.Byte() % 6) - 1;
    b->selectionFlag = p_.Byte() & 1;
    b->word = terms_[p_.Byte() % 4];
    b->selectionText = terms_[p_.Byte() % 4];
    REetpar(b, Function({500, 510}), Action());
  }

  // Closes and frees everything as a careful program would at the end.
  void CleanUp() {
    if (ranked_) {
      for (Block& db : databases_)
        for (Block& search : blocks_) {
          if (!db.block || !search.block || search.type != ReBlockSearch) continue;
          rank_.idf = idf_;
          rank_.weights = weights_;
          REconqry(db.block, &rank_, search.block, 2, ReActClose);
        }
    }
    for (Block& slot : blocks_) {
      if (!slot.block) continue;
      if (slot.type == ReBlockEtPar) REetpar(slot.block, 500, ReActClose);
      if (slot.type == ReBlockSearch) REsearch(slot.block, 145, ReActClose);
      if (slot.type == ReBlockToken) REtoken(slot.block, 160, ReActClose);
      if (slot.type == ReBlockEntry) REentry(slot.block, 145, ReActClose);
      if (slot.type == ReBlockIdxList) REidxlst(slot.block, 250, ReActClose);
      if (slot.type == ReBlockEntList) REentlst(slot.block, 240, ReActClose);
    }
    for (Block& slot : blocks_) Release(slot);
    for (Block& slot : databases_) {
      if (slot.block) REdb(slot.block, 100, ReActClose);
      Release(slot);
    }
    for (Block& slot : sessions_) {
      if (slot.block) REapp(slot.block, 100, ReActClose);
      Release(slot);
    }
    if (trace_) std::fprintf(stderr, "cleaned up: live %d\n", ReLiveAllocations());
    for (u16 session : opened_) {
      if (!ReFindSession(session)) continue;
      void* block = nullptr;
      if (REmemory(&block, nullptr, ReBlockApp, ReActOpen, 0) != ReDone) std::abort();
      static_cast<ReAppBlock*>(block)->session = session;
      REapp(block, 100, ReActClose);
      REmemory(&block, nullptr, ReBlockApp, ReActClose, 0);
    }
  }

  static void Release(Block& slot) {
    if (!slot.block) return;
    void* pointer = slot.block;
    if (REmemory(&pointer, nullptr, slot.type, ReActClose, 0) != ReDone) std::abort();
    slot = {};
  }

  Program& p_;
  Block sessions_[kSessions];
  Block databases_[kDatabases];
  Block blocks_[kBlocks];
  std::vector<void*> freed_;
  std::vector<u16> opened_;
  char term0_[8] = "comet", term1_[8] = "star", term2_[8] = "sonata", term3_[8] = "";
  char* terms_[4] = {term0_, term1_, term2_, term3_};
  float idf_[4] = {};
  float weights_[4] = {1, 1, 1, 1};
  ReRankRecord rank_{};
  bool ranked_ = false;
  const bool trace_ = std::getenv("VELDRIX_FUZZ_TRACE") != nullptr;  // what a crash input does
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteSamples();
  Program program{data, size};
  World(program).Run();
  if (std::getenv("VELDRIX_FUZZ_TRACE"))
    std::fprintf(stderr, "left: %d sessions, %d handles, %d databases, %u blocks, %d allocations\n", ReSessionCount(),
                 ReHandleCount(), ReDbNodeCount(), ReLiveBlockCount(), ReLiveAllocations());
  if (ReSessionCount() != 0 || ReHandleCount() != 0 || ReDbNodeCount() != 0 || ReLiveBlockCount() != 0) std::abort();
  if (ReLiveAllocations() != 0 && !std::getenv("VELDRIX_FUZZ_NOABORT")) std::abort();
  return 0;
}
