// GCIDE (dict-gcide) as dictionary entries of the encyclopedia database.
// A definition of the dictd file holds one or more entries; each starts at
// the left margin with its headword, the headword again in syllables
// ("Ab*surd\"" between backslashes, '*' between syllables, '"' and '`' after
// stressed ones), the pronunciation in parentheses where given, the part of
// speech and the etymology in brackets; its indented body has numbered
// senses ("2.") with lettered sub-senses ("(a)"), quotations indented
// further, notes ("Syn:", "Note:", "Usage:"), phrases in braces, and the
// sources in brackets ("[1913 Webster]"), which the content leaves out.
#pragma once

#include <string>
#include <vector>

#include "library/dictd_file.h"
#include "library/linked_text.h"

namespace builder::library {

struct GcideEntry {
  std::string headword;       // Windows-1252, as written ("Absurd")
  std::string syllables;      // "Ab\xB7surd": middle dots between syllables
  std::string pronunciation;  // GCIDE's notation, without its parentheses
  std::string partOfSpeech;   // "a.", "v. t.", "n.; pl. {Absurdities}" (references kept)
  std::string etymology;      // the bracketed text after it, brackets kept
  enum class Kind { Plain, Sense, SubSense, Note, Quotation };
  struct Part {
    Kind kind = Kind::Plain;
    std::string text;  // one line; references kept in braces
  };
  std::vector<Part> parts;
};

std::vector<GcideEntry> ParseGcide(const DictdDictionary& dictionary);

// The entries of one definition (exposed for the tests).
std::vector<GcideEntry> ParseGcideDefinition(const std::string& text);

// The entry's tagged text: "<WD>" and the headword (with the homograph
// number raised when given), the syllables and the pronunciation ("<PR>"),
// the part of speech
// ("<PS>"), the etymology, then a line per sense ("<SN>", "<SL>") and part.
std::string GcideEntryText(const GcideEntry& entry, unsigned homograph, const ResolveFn& resolve);

// The reference targets of the entry's text, in order.
std::vector<std::string> GcideTargets(const GcideEntry& entry);

}  // namespace builder::library
