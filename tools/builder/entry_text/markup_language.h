// The markup language of a database: which tags its entries may hold and
// what each does to the text. From it the builder makes the character
// automaton (table 80), which turns tagged text into literal pieces and
// codes, and the markup table (table 90): the element automaton that says
// which tag may follow which, and the small programs that run when an
// element opens or closes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "engine_db/engine_db.h"

namespace builder::entry_text {

// A tag: a container ("<B>" ... "</B>") or a marker ("<DS>", no end tag).
struct TagDef {
  std::string name;  // upper case letters and digits
  bool container = true;
  std::string open;   // program source run at the tag (see Assemble)
  std::string close;  // container: run at the end tag; marker: run right after `open`
};

struct MarkupLanguage {
  std::vector<TagDef> tags;
  std::string entryProgram;  // run when an entry starts
  // Characters that are pieces of their own (tokens joined to their word);
  // blanks, line feeds and '<' always end a word.
  std::string punctuation = ",;:!?()[]\"";
};

// The token type of body text: one the reader's formatted-text display sets in
// the plain article font (it shows types 0, 3, 4 and 5 in bold and 1, 8 and 9
// in italic).
constexpr unsigned kBodyTextType = 7;

// The language of the sample content and the tests:
//   containers B, I (bold, italic), XR (cross reference, a marked group),
//   H (heading: type 3 on a line of its own), UP and LO (raised, lowered),
//   PL (plain), HID (hidden), MB (media block: type 10);
//   markers DS, WD, IWD (title and headwords: type 2, sense counters reset),
//   P (body text: kBodyTextType), PS (part of speech: type 4), BR (line break),
//   SN, SR, SL (next sense number in decimal, lower-case Roman, lower-case letter).
// Entries start in line mode: every line feed breaks the line.
MarkupLanguage DefaultLanguage();

// Tag codes: tag i opens with 4097 + 2i and closes with 4098 + 2i.
std::uint16_t OpenCode(const MarkupLanguage& language, const std::string& name);
std::uint16_t CloseCode(const MarkupLanguage& language, const std::string& name);

// Assembles a markup program: statements separated by ';' or new lines.
//   style= M | style+ M | style- M   set / switch on / switch off style bits M (0x01 bold ... 0x80 hidden)
//   group | ungroup                  begin / end a marked group
//   join | skip | break              join the next output / drop it / break the line before it
//   lines on | lines off             line feeds break lines / do not
//   type T                           type of the following tokens
//   dec N | ROMAN N | roman N | ALPHA N | alpha N   print counter N (0-15)
//   set N V | add N V | sub N V      counter N = / += / -= V
//   "text"                           literal text (\" and \\ escape)
// The end byte is added. Throws std::invalid_argument on a bad statement.
Bytes Assemble(const std::string& source);

// Table 80 and table 90 of a language.
engine_db::Table AutomatonTableOf(const MarkupLanguage& language);
engine_db::Table MarkupTableOf(const MarkupLanguage& language);

// Checks an entry against the language: every '<' begins a well-formed tag
// ("<NAME>", "</NAME>", "<NAME attributes>" or the escape "<{c}>" of one
// printable character) on one line, and containers nest properly. Unknown
// tags are allowed (they are dropped). Throws std::invalid_argument.
void CheckEntry(const MarkupLanguage& language, const std::string& entry);

}  // namespace builder::entry_text
