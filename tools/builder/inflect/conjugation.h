// The conjugation files: a .ram file of tables and a .dsk file of dictionary
// entries, from paradigms (the forms of a class of words as ending rules) and
// headwords.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::inflect {

// One form of a paradigm: a base word ending in `replacement` has the form
// ending in `ending` instead, with the tag `formTag`. A slot whose form tag is
// the base tag is the base word itself (no ending record).
struct Slot {
  std::string formTag;
  std::string ending;
  std::string replacement;
};

struct Paradigm {
  std::string name;
  std::string baseTag;
  std::vector<Slot> slots;
};

// A dictionary entry: a base word, its paradigm (its entry class) and its two
// class bytes (cell flags: 0x01 no elision, 0x02 etre, 0x04 reflexive; and variant flags).
struct Headword {
  std::string word;
  std::string paradigm;
  std::uint8_t cellFlags = 0;
  std::uint8_t variantFlags = 0;
};

// Hashed lookup: a word and its rewrites (letters cut from its end, letters appended).
struct Rewrite {
  std::uint8_t cut;
  std::string append;
};
struct HashedWord {
  std::string word;
  std::vector<Rewrite> rewrites;
};

struct ConjugationData {
  std::uint8_t tableIndex = 5;    // character-table index: 5 French, 16 English
  std::vector<std::string> tags;  // table C in this order; tags of the paradigms are added after
  std::vector<Paradigm> paradigms;
  std::vector<Headword> headwords;
  std::vector<std::string> wordHash;  // known beginnings and endings
  std::vector<HashedWord> hashed;     // tables F and G; present when not empty
  Bytes tableA;                       // 6-byte records; present when not empty
  std::uint8_t flags = 0x80 | 0x20;   // 0x80 table A / stem check, 0x20 endings, 0x08 rule check
  std::uint16_t header20 = 0;
  std::uint32_t recordLength = 16;
};

struct ConjugationFiles {
  Bytes ram;
  Bytes dsk;
};

ConjugationFiles BuildConjugationFiles(const ConjugationData& data);
void WriteConjugationFiles(const std::string& directory, const std::string& ramName, const std::string& dskName,
                           const ConjugationData& data);

// Places a string in a word hash of `entries` u32 entries (a power of two).
void AddToWordHash(Bytes& table, const std::string& text);

}  // namespace builder::inflect
