// The display's runs as plain text for the clipboard and text files: lines
// end in CR LF, phonetic runs become their plain spelling, hidden and object
// runs give nothing.
#pragma once

#include <string>

#include "display/text_model.h"

namespace display {

// The plain spelling of a character of the phonetic font (at most three
// characters; empty for codes below 32).
const char* PhoneticSpelling(unsigned char c);

// Every text run.
std::string CopyAll(const TextModel& model);
// The selected runs, block by block, an empty line between two blocks.
std::string CopySelection(const TextModel& model);

}  // namespace display
