#include "lists_fixture.h"

#include <cstring>
#include <stdexcept>

#include "packed.h"
#include "re_entlst_slots.h"
#include "re_etpar_parse.h"

namespace liststest {

namespace edb = builder::engine_db;

ListsDb::ListsDb(const edb::Database& database, u16 slots, u16 optionMask) : db_(session_) {
  const std::string name = enginetest::WriteDatabase(dir_, database);
  if (db_.Open(dir_.path(), name, optionMask) != ReDone) throw std::runtime_error("database did not open");
  void* block = nullptr;
  if (REmemory(&block, db_.block(), ReBlockEntList, ReActOpen, slots) != ReDone)
    throw std::runtime_error("no entry-list block");
  list_ = static_cast<ReEntListBlock*>(block);
  list_->handle = db_.block()->handle;
  block = nullptr;
  if (REmemory(&block, db_.block(), ReBlockEtPar, ReActOpen, 0) != ReDone) throw std::runtime_error("no parser block");
  etpar_ = static_cast<ReEtParBlock*>(block);
}

ListsDb::~ListsDb() {
  REetpar(etpar_, 500, ReActClose);
  REentlst(list_, 230, ReActClose);
  void* block = etpar_;
  REmemory(&block, db_.block(), ReBlockEtPar, ReActClose, 0);
  block = list_;
  REmemory(&block, db_.block(), ReBlockEntList, ReActClose, 0);
}

u32 ListsDb::Lookup(const std::string& word, u8 matchMode) {
  const u32 room = db_.block()->longestLine + 1u;
  if (word.size() >= room) throw std::logic_error("word longer than the block's buffer");
  std::memcpy(list_->word, word.c_str(), word.size() + 1);
  list_->matchMode = matchMode;
  return REentlst(list_, 240, ReActOpen);
}

u32 ListsDb::Page(u16 action) { return REentlst(list_, 230, action); }

std::vector<Slot> ListsDb::Slots() const {
  std::vector<Slot> out;
  for (u16 i = 0; i < list_->count; ++i) {
    const ReEntListSlot slot = ReReadSlot(list_->slots, i);
    if (slot.entry == 0) continue;
    out.push_back({slot.entry, slot.title, slot.wordClass, slot.featureMask});
  }
  return out;
}

std::vector<u32> ListsDb::Entries() const {
  std::vector<u32> out;
  for (const Slot& slot : Slots()) out.push_back(slot.entry);
  return out;
}

u32 ListsDb::Parse(u16 function, u16 action, i16 currentSlot) {
  etpar_->databaseRecord = db_.block();
  etpar_->word = list_->word;
  etpar_->slots = list_->slots;
  etpar_->slotCount = static_cast<i16>(list_->count);
  etpar_->currentSlot = currentSlot;
  return REetpar(etpar_, function, action);
}

edb::Database ManyEntries(const std::string& word, u32 count) {
  edb::DictionarySpec spec;
  spec.databaseId = 1199;
  for (u32 i = 1; i <= count; ++i) {
    spec.entries.push_back("<WD>" + word + "<UP>" + std::to_string(i) + "</UP>");
    spec.headwords.push_back({word, i, 1, 0});
  }
  return edb::DictionaryDatabase(spec);
}

std::vector<std::string> ItemTexts(const ReEtParEntry* entry) {
  std::vector<std::string> out;
  for (i16 k = 0; k < entry->itemCount; ++k) out.push_back(entry->items[k]->text);
  return out;
}

std::string Text(const char* text) { return text ? text : "<null>"; }

}  // namespace liststest
