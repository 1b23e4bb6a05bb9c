// A whole dictionary lookup through ZORLRE32.DLL's ordinals, as the reader
// makes it: session, database, the entry list of a headword, its parsed
// entries, the entry's tokens and tagged text, a string-table label, close.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_db/lists_samples.h"
#include "re_blocks.h"
#include "re_etpar_records.h"
#include "temp_dir.h"

namespace {

namespace edb = builder::engine_db;

using BlockCall = u32(__stdcall*)(void*, u16, u16);
using MemoryCall = u32(__stdcall*)(void**, void*, u16, u16, u16);

class Engine {
 public:
  Engine() : library_(LoadLibraryA("ZORLRE32.DLL")) {}
  ~Engine() {
    if (library_) FreeLibrary(library_);
  }
  bool loaded() const { return library_ != nullptr; }
  BlockCall Block(int ordinal) const {
    return reinterpret_cast<BlockCall>(reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(ordinal))));
  }
  u32 Memory(void** block, void* parent, u16 type, u16 action, u16 count) const {
    auto call = reinterpret_cast<MemoryCall>(reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(9))));
    return call(block, parent, type, action, count);
  }
  u32 App(void* b, u16 f, u16 a) const { return Block(2)(b, f, a); }
  u32 Db(void* b, u16 f, u16 a) const { return Block(3)(b, f, a); }
  u32 EntList(void* b, u16 f, u16 a) const { return Block(5)(b, f, a); }
  u32 Entry(void* b, u16 f, u16 a) const { return Block(6)(b, f, a); }
  u32 StrTab(void* b, u16 f, u16 a) const { return Block(8)(b, f, a); }
  u32 EtPar(void* b, u16 f, u16 a) const { return Block(10)(b, f, a); }
  u32 Token(void* b, u16 f, u16 a) const { return Block(11)(b, f, a); }

 private:
  HMODULE library_;
};

ReEntListSlot SlotAt(const ReEntListBlock* list, u16 i) {
  ReEntListSlot slot;
  std::memcpy(&slot, reinterpret_cast<const u8*>(list->slots) + i * sizeof slot, sizeof slot);
  return slot;
}

std::vector<std::string> Items(const ReEtParEntry* entry) {
  std::vector<std::string> out;
  for (i16 k = 0; k < entry->itemCount; ++k) out.push_back(entry->items[k]->text);
  return out;
}

// The reader's blocks over one open database.
struct OpenDatabase {
  OpenDatabase(const Engine& engine, ReAppBlock* app, const std::string& directory, const std::string& name)
      : e(engine), dir(directory), file(name) {
    void* block = nullptr;
    EXPECT_EQ(e.Memory(&block, app, ReBlockDb, ReActOpen, 0), 0u);
    db = static_cast<ReDbBlock*>(block);
    spec = {dir.c_str(), file.c_str()};
    db->fileSpec = &spec;
    db->optionMask = 128;
    opened = e.Db(db, 100, ReActOpen) == 0;
    if (!opened) return;
    auto make = [&](u16 type, u16 count) {
      void* b = nullptr;
      EXPECT_EQ(e.Memory(&b, db, type, ReActOpen, count), 0u) << type;
      return b;
    };
    list = static_cast<ReEntListBlock*>(make(ReBlockEntList, 300));
    tokens = static_cast<ReTokenBlock*>(make(ReBlockToken, 1024));
    entry = static_cast<ReEntryBlock*>(make(ReBlockEntry, 0));
    list->handle = tokens->handle = entry->handle = db->handle;
  }
  ~OpenDatabase() {
    // Reverse order of making, then the database and its block.
    for (auto [block, type] :
         {std::pair<void*, u16>{entry, ReBlockEntry}, {tokens, ReBlockToken}, {list, ReBlockEntList}})
      if (block) e.Memory(&block, db, type, ReActClose, 0);
    if (opened) {
      EXPECT_EQ(e.Db(db, 100, ReActClose), 0u);
    }
    void* block = db;
    e.Memory(&block, nullptr, ReBlockDb, ReActClose, 0);
  }

  // FindEntries: 240 with 470, then 240 with 480, which is refused.
  std::vector<ReEntListSlot> Find(const char* word) {
    std::strcpy(list->word, word);
    list->matchMode = 1;
    const u32 found = e.EntList(list, 240, ReActOpen);
    EXPECT_LE(found, 4u) << word;
    std::vector<ReEntListSlot> slots;
    for (u16 i = 0; i < list->count; ++i)
      if (SlotAt(list, i).entry) slots.push_back(SlotAt(list, i));
    EXPECT_EQ(e.EntList(list, 240, ReActClose), 8u);
    EXPECT_EQ(list->status->error, -464);
    return slots;
  }

  // NextToken until the end of the entry: the text of every token.
  std::string Tokens(u32 number) {
    tokens->entry = number;
    tokens->termCount = 0;
    std::string text;
    u32 result = e.Token(tokens, 495, ReActOpen);
    for (int chunk = 0; chunk < 100 && result != 8; ++chunk) {
      for (u16 t = 0; t < tokens->tokenCount; ++t) {
        ReToken token;
        std::memcpy(&token, reinterpret_cast<const u8*>(tokens->tokens) + t * sizeof token, sizeof token);
        if ((token.flags & 0x02) && !text.empty()) text += ' ';
        text.append(token.text, token.length);
      }
      if (tokens->status->warning != 0) break;
      result = e.Token(tokens, 495, ReActNext);
    }
    e.Token(tokens, 495, ReActClose);
    return text;
  }

  // GetHeadword's read: 495 with 470, then 480.
  std::string TaggedText(u32 number) {
    entry->entry = number;
    const u32 read = e.Entry(entry, 495, ReActOpen);
    std::string text = read == 8 ? "" : std::string(entry->text, entry->textLength);
    e.Entry(entry, 495, ReActClose);
    return text;
  }

  const Engine& e;
  std::string dir, file;
  ReFileSpec spec{};
  ReDbBlock* db = nullptr;
  bool opened = false;
  ReEntListBlock* list = nullptr;
  ReTokenBlock* tokens = nullptr;
  ReEntryBlock* entry = nullptr;
};

class DictionaryLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine_.loaded()) << "ZORLRE32.DLL did not load";
    edb::Write(dir_.File("REN2F200.DAT"), edb::DictionaryDatabase(edb::EnglishDictionary()));
    edb::Write(dir_.File("QUIRN.DAT"), edb::ThesaurusDatabase(edb::EnglishThesaurus()).database);
    edb::Write(dir_.File("R053F540.DAT"), edb::DictionaryDatabase(edb::FrenchEnglishDictionary()));
    void* block = nullptr;
    ASSERT_EQ(engine_.Memory(&block, nullptr, ReBlockApp, ReActOpen, 0), 0u);
    app_ = static_cast<ReAppBlock*>(block);
    ASSERT_EQ(engine_.App(app_, 100, ReActOpen), 0u);
    EXPECT_STREQ(app_->version, "2.3");
  }
  void TearDown() override {
    if (!app_) return;
    EXPECT_EQ(engine_.App(app_, 100, ReActClose), 0u);
    void* block = app_;
    engine_.Memory(&block, nullptr, ReBlockApp, ReActClose, 0);
  }

  // ParseEntries: a 590 block over the entry-list hits, 500 with 470, read,
  // 500 with 480, free.
  template <class Read>
  void Parse(OpenDatabase& d, Read&& read) {
    void* block = nullptr;
    ASSERT_EQ(engine_.Memory(&block, d.db, ReBlockEtPar, ReActOpen, 0), 0u);
    auto* etpar = static_cast<ReEtParBlock*>(block);
    etpar->databaseRecord = d.db;
    etpar->word = d.list->word;
    etpar->slots = d.list->slots;
    etpar->slotCount = static_cast<i16>(d.list->count);
    ASSERT_EQ(engine_.EtPar(etpar, 500, ReActOpen), 0u);
    read(static_cast<const ReEtParResult*>(etpar->result));
    EXPECT_EQ(engine_.EtPar(etpar, 500, ReActClose), 0u);
    EXPECT_EQ(etpar->result, nullptr);
    engine_.Memory(&block, d.db, ReBlockEtPar, ReActClose, 0);
  }

  Engine engine_;
  TempDir dir_;
  ReAppBlock* app_ = nullptr;
};

TEST_F(DictionaryLookup, DefinitionThroughTheOrdinals) {
  OpenDatabase d(engine_, app_, dir_.path(), "REN2F200.DAT");
  ASSERT_TRUE(d.opened);
  const std::vector<ReEntListSlot> slots = d.Find("cats");
  ASSERT_EQ(slots.size(), 1u);
  EXPECT_EQ(slots[0].entry, 1u);
  EXPECT_STREQ(slots[0].title, "cat");
  EXPECT_EQ(slots[0].wordClass, edb::kClassNoun);
  EXPECT_EQ(slots[0].featureMask, 1u << edb::kFeaturePlural);

  Parse(d, [](const ReEtParResult* r) {
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->string00, "English Dictionary");
    ASSERT_EQ(r->count, 1);
    EXPECT_STREQ(r->entries[0]->headline, "cat");
    EXPECT_STREQ(r->entries[0]->label1, "noun");
    EXPECT_EQ(Items(r->entries[0]), (std::vector<std::string>{"kitty", "puss", "dog"}));
  });

  const std::string shown = d.Tokens(1);
  EXPECT_NE(shown.find("a small domesticated feline"), std::string::npos) << shown;
  EXPECT_EQ(d.TaggedText(1).rfind("<WD>cat<PS>1\n", 0), 0u);

  // A label of the string table.
  void* block = nullptr;
  ASSERT_EQ(engine_.Memory(&block, d.db, ReBlockStrTab, ReActOpen, 0), 0u);
  auto* strtab = static_cast<ReStrTabBlock*>(block);
  strtab->handle = d.db->handle;
  strtab->optionMask = 0x80;
  strtab->firstKey = 1;
  strtab->secondKey = edb::kClassVerb;
  EXPECT_EQ(engine_.StrTab(strtab, 110, ReActOpen), 0u);
  EXPECT_STREQ(strtab->text, "verb");
  engine_.Memory(&block, d.db, ReBlockStrTab, ReActClose, 0);
}

TEST_F(DictionaryLookup, SynonymsThroughTheOrdinals) {
  OpenDatabase d(engine_, app_, dir_.path(), "QUIRN.DAT");
  ASSERT_TRUE(d.opened);
  ASSERT_EQ(d.Find("fast").size(), 1u);
  Parse(d, [](const ReEtParResult* r) {
    ASSERT_EQ(r->count, 1);
    EXPECT_STREQ(r->entries[0]->label1, "adjective");
    EXPECT_EQ(Items(r->entries[0]), (std::vector<std::string>{"quick", "rapid"}));
  });
  const ReEntListSlot fast = SlotAt(d.list, 0);
  EXPECT_EQ(d.TaggedText(fast.entry), "<DS>fast\n<PS>3\n<SY>quick<D1>rapid</SY>");
  EXPECT_EQ(d.Tokens(fast.entry), "fast 3 quick, rapid");
}

TEST_F(DictionaryLookup, AccentedHeadwordThroughTheOrdinals) {
  OpenDatabase d(engine_, app_, dir_.path(), "R053F540.DAT");
  ASSERT_TRUE(d.opened);
  const std::vector<ReEntListSlot> slots = d.Find("GAR\xC7ON");
  ASSERT_EQ(slots.size(), 1u);
  EXPECT_STREQ(slots[0].title, "gar\xE7on");
  Parse(d, [](const ReEtParResult* r) {
    ASSERT_EQ(r->count, 1);
    EXPECT_STREQ(r->headword, "gar\xE7on");
    EXPECT_STREQ(r->entries[0]->label1, "n.m.");
    EXPECT_EQ(Items(r->entries[0]), (std::vector<std::string>{"boy", "waiter"}));
  });
}

TEST_F(DictionaryLookup, UnknownWordThroughTheOrdinals) {
  OpenDatabase d(engine_, app_, dir_.path(), "REN2F200.DAT");
  ASSERT_TRUE(d.opened);
  std::strcpy(d.list->word, "zzz");
  EXPECT_EQ(engine_.EntList(d.list, 240, ReActOpen), 4u);
  EXPECT_EQ(d.list->count, 0);
}

}  // namespace
