// GCIDE writes the characters outside ASCII as bracketed codes: "[`e]" for
// e with a grave accent, "[=a]" for a with a macron, "[ae]" for the ligature.
// The content shows them in Windows-1252 where the code page has them, and
// their plain letter where it has not; a pronunciation becomes the phonetic
// font's characters.
#pragma once

#include <string>

namespace builder::library {

// Replaces every known code by its Windows-1252 text; other bracketed text
// ("[Obs.]") stays as it is.
std::string GcideToWindows1252(const std::string& text);

// A pronunciation ("[a^]b*s[^u]rd\"") as entry text: sounds as escapes of the
// phonetic font's characters ("<{a}>", so they carry the phonetic mark; a
// character above printable ASCII, which has no escape, as its plain text), the
// syllable breaks ('*') as '-' and the stress marks as the font's stress
// characters; blanks, hyphens and other punctuation stay plain text.
std::string GcidePronunciation(const std::string& pronunciation);

}  // namespace builder::library
