// The character set of the content: Windows-1252, one byte a character, as
// the programs read it. The sources come in UTF-8 (FOLDOC, FreeDict) or
// already in Windows-1252 (GCIDE).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace builder::library {

// UTF-8 to Windows-1252. Characters the code page lacks become `missing`
// (nothing when it is 0); so do malformed sequences. Byte 255 ("y" with
// diaeresis) is written "y": the entry text keeps 255 for its line feeds.
std::string Utf8ToWindows1252(std::string_view utf8, char missing = '?');

// Windows-1252 text as the entry text stores it: byte 255 becomes "y", tabs
// become blanks, the other control characters but the line feed are dropped.
std::string CleanWindows1252(std::string_view text);

// Text for tagged entry text: '<' is written as its escape "<{<}>".
std::string EscapeTagged(std::string_view text);

// Collapses runs of blanks to one and trims both ends.
std::string CollapseBlanks(std::string_view text);

// Trims blanks from both ends.
std::string Trim(const std::string& text);

// The lines of a definition, trailing blanks cut.
std::vector<std::string> SplitLines(const std::string& text);

// The blanks a line starts with.
std::size_t IndentOf(const std::string& line);

}  // namespace builder::library
