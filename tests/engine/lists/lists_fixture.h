// An open dictionary-format database with the blocks of the entry lists and
// the entry-text parser, and readers of their results.
#pragma once

#include <string>
#include <vector>

#include "engine_db/lists_samples.h"
#include "engine_fixture.h"
#include "re_blocks.h"
#include "re_etpar_records.h"

namespace liststest {

// One filled slot as the tests compare it.
struct Slot {
  u32 entry = 0;
  std::string title;
  u8 wordClass = 0;
  u32 featureMask = 0;
  bool operator==(const Slot&) const = default;
};

class ListsDb {
 public:
  // Opens the database (option mask 128 unless given) and makes an
  // entry-list block of `slots` slots (0: the database's default).
  explicit ListsDb(const builder::engine_db::Database& database, u16 slots = 0, u16 optionMask = 128);
  ~ListsDb();
  ListsDb(const ListsDb&) = delete;
  ListsDb& operator=(const ListsDb&) = delete;

  // REentlst 240 with 470 on the word; the filled slots (entry 0 skipped).
  u32 Lookup(const std::string& word, u8 matchMode = 1);
  u32 Page(u16 action);
  std::vector<Slot> Slots() const;
  std::vector<u32> Entries() const;

  // REetpar on the entry-list block's slots; result null after 480.
  u32 Parse(u16 function, u16 action, i16 currentSlot = 0);
  const ReEtParResult* result() const { return static_cast<const ReEtParResult*>(etpar_->result); }

  ReEntListBlock* list() const { return list_; }
  ReEtParBlock* etpar() const { return etpar_; }
  const ReStatusBlock& listStatus() const { return *list_->status; }
  const ReStatusBlock& etparStatus() const { return *etpar_->status; }
  enginetest::Database& db() { return db_; }

 private:
  TempDir dir_;
  enginetest::Session session_;
  enginetest::Database db_;
  ReEntListBlock* list_ = nullptr;
  ReEtParBlock* etpar_ = nullptr;
};

// A database with `count` entries whose headword is `word`, each entry
// "<WD>word<UP>n</UP>".
builder::engine_db::Database ManyEntries(const std::string& word, u32 count);

std::vector<std::string> ItemTexts(const ReEtParEntry* entry);
std::string Text(const char* text);  // "<null>" for a null text

}  // namespace liststest
