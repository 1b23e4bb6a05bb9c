// The headword of a dictionary entry from untrusted tagged text, and the form
// the screens show it in: whatever the tags, braces and line ends, both stay
// inside the text and are no longer than it.
#include <cstdint>
#include <string>

#include "core/headword.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the text, so a read past it is seen.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string headword = HeadwordOfEntryText(text.data(), text.size());
  // A <UP> left open is closed: at most one tag more than the text.
  if (headword.size() > size + 5) __builtin_trap();
  const std::string shown = FormatHeadword(headword);
  FormatHeadword(text);
  if (shown.size() > 2 * headword.size() + 2) __builtin_trap();
  return 0;
}
