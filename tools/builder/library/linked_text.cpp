#include "library/linked_text.h"

#include "library/text_encoding.h"

namespace builder::library {

namespace {

// "Reynolds paper (http://cis.upenn.edu/...)": the text before an address.
bool CutAddress(std::string* text) {
  if (text->empty() || text->back() != ')') return false;
  const std::size_t open = text->rfind('(');
  if (open == std::string::npos) return false;
  const std::string address = text->substr(open + 1, text->size() - open - 2);
  const bool isAddress = address.find("://") != std::string::npos || address.rfind("mailto:", 0) == 0 ||
                         (address.find(' ') == std::string::npos &&
                          (address.find(".htm") != std::string::npos || address.find(".html") != std::string::npos));
  if (!isAddress) return false;
  std::size_t end = open;
  while (end > 0 && (*text)[end - 1] == ' ') --end;
  text->resize(end);
  return true;
}

}  // namespace

std::vector<TextPiece> ParseBraces(const std::string& text) {
  std::vector<TextPiece> pieces;
  auto plain = [&](const std::string& part) {
    if (part.empty()) return;
    if (!pieces.empty() && pieces.back().target.empty())
      pieces.back().text += part;
    else
      pieces.push_back({part, ""});
  };
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('{', at);
    if (open == std::string::npos) break;
    const std::size_t close = text.find('}', open + 1);
    const std::size_t nested = text.find('{', open + 1);
    if (close == std::string::npos) break;
    if (nested != std::string::npos && nested < close) {
      plain(text.substr(at, nested - at));
      at = nested;
      continue;
    }
    plain(text.substr(at, open - at));
    std::string inside = CollapseBlanks(text.substr(open + 1, close - open - 1));
    if (CutAddress(&inside) || inside.empty())
      plain(inside);
    else
      pieces.push_back({inside, inside});
    at = close + 1;
  }
  plain(text.substr(at));
  return pieces;
}

std::vector<std::string> Targets(const std::vector<TextPiece>& pieces) {
  std::vector<std::string> targets;
  for (const TextPiece& piece : pieces)
    if (!piece.target.empty()) targets.push_back(piece.target);
  return targets;
}

std::string CrossReference(const std::string& text, std::uint32_t entry) {
  return "<XR>" + EscapeTagged(text) + "<HID>" + std::to_string(entry) + "</HID></XR>";
}

std::string RenderLinked(const std::vector<TextPiece>& pieces, const ResolveFn& resolve) {
  std::string out;
  for (const TextPiece& piece : pieces) {
    const std::uint32_t entry = piece.target.empty() ? 0 : resolve(piece.target);
    out += entry ? CrossReference(piece.text, entry) : EscapeTagged(piece.text);
  }
  return out;
}

}  // namespace builder::library
