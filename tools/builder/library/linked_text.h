// Text with cross references in braces, as FOLDOC and GCIDE write them:
// "see {abstract data type}", "{Reynolds paper (http://...)}". A reference
// becomes the entry text's cross reference ("<XR>" text, the target's entry
// number as hidden text, "</XR>") when its target is an entry of the
// database, and plain text otherwise.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace builder::library {

struct TextPiece {
  std::string text;
  std::string target;  // empty: plain text
};

// Cuts text at its references. A reference whose text ends in a
// parenthesised address "(http://...)" or "(name.html)" is a link outside the
// content: its text is kept and its address dropped. An unmatched brace is
// plain text.
std::vector<TextPiece> ParseBraces(const std::string& text);

// The targets of the references, in order.
std::vector<std::string> Targets(const std::vector<TextPiece>& pieces);

// Entry number of a reference target, 0 when the content has none.
using ResolveFn = std::function<std::uint32_t(const std::string& target)>;

// Tagged entry text of the pieces: plain text escaped, references resolved.
std::string RenderLinked(const std::vector<TextPiece>& pieces, const ResolveFn& resolve);

// "<XR>text<HID>entry</HID></XR>".
std::string CrossReference(const std::string& text, std::uint32_t entry);

}  // namespace builder::library
