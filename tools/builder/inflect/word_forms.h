// The word-form files: enue.ram, enue.dsk and hash.dat, from a list of base
// words with their forms and a table of ending rules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::inflect {

// A rule gives a form its two values: the table-C indexes of the form's tag and of its base word's tag.
struct FormRule {
  std::string name;
  std::string formTag;
  std::string baseTag;
};

// Ending rule: a word that ends in `ending` has the form that ends in `replacement` instead.
struct FormEnding {
  std::string rule;
  std::string ending;       // at most 9 letters
  std::string replacement;  // at most 9 letters
};

// A listed form of a base word: the entry scan finds `base` from `form`.
struct FormEntry {
  std::string base;
  std::string form;
  std::string rule;
  bool capitalised = false;  // the base word begins with a capital
  std::uint8_t kind = 3;     // 3 or 4 are matched; other kinds are carried but not matched
};

struct FormData {
  std::vector<std::string> tags;  // table C
  std::vector<FormRule> rules;
  std::vector<FormEnding> endings;  // table B; present when not empty
  std::vector<FormEntry> entries;
  std::vector<std::string> extraKnownWords;  // hash.dat holds every base and form, and these
  Bytes tableA;                              // 20-byte records; present when not empty
  Bytes tableD;                              // 3-byte entries
  std::uint16_t header20 = 0;
  std::uint32_t recordLength = 16;
};

struct FormFiles {
  Bytes ram;   // enue.ram
  Bytes dsk;   // enue.dsk
  Bytes hash;  // hash.dat
};

FormFiles BuildFormFiles(const FormData& data);
void WriteFormFiles(const std::string& directory, const FormData& data);

// Places a word in the 8192 check bytes of hash.dat.
void AddKnownWord(Bytes& presence, const std::string& word);

}  // namespace builder::inflect
