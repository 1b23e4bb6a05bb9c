#include "model_fixture.h"

#include <cstring>

namespace displaytest {

Tok W(const std::string& text, u8 format) { return Tok{text, kTokenJoin, format, kBody}; }
Tok Glued(const std::string& text, u8 format) { return Tok{text, 0, format, kBody}; }
Tok NewLine(const std::string& text, u8 format) {
  return Tok{text, static_cast<u8>(kTokenNewLine | kTokenJoin), format, kBody};
}
Tok Hidden(const std::string& text) { return Tok{text, 0, kFormatHidden, kBody}; }

std::vector<Tok> Block(const std::vector<unsigned>& numbers) {
  std::vector<Tok> tokens;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    tokens.push_back(
        Tok{std::to_string(numbers[i]), kTokenJoin, static_cast<u8>(i == 0 ? 0 : kFormatHidden), kTypeObjectBlock});
  }
  return tokens;
}

Chunk::Chunk(const std::vector<Tok>& tokens) {
  for (const Tok& t : tokens) text_ += t.text;
  std::size_t at = 0;
  for (const Tok& t : tokens) {
    ReToken token{};
    token.text = text_.data() + at;
    token.length = static_cast<u8>(t.text.size());
    token.type = t.type;
    token.flags = t.marker;
    token.style = t.format;
    tokens_.push_back(token);
    at += t.text.size();
  }
}

Extent FixedHost::Measure(int style, const char* text, int length) {
  ++measured;
  (void)text;
  const bool bold = style == kStyleBold || style == kStyleBoldItalic;
  const bool small = style == kStyleRaised || style == kStyleLowered;
  return Extent{length * (bold ? kBoldWidth : kCharWidth), small ? kSmallHeight : kHeight};
}

bool FixedHost::ReadMediaItem(unsigned item, std::string& title, u16& kind) {
  if (item == 0) return false;
  title = std::string("Item ") + std::to_string(item);
  kind = static_cast<u16>(item % 10);
  return true;
}

bool FixedHost::PlaceThumbnail(const CRect& rect, unsigned controlId, unsigned itemIndex) {
  thumbnails.push_back(PlacedThumbnail{rect, controlId, itemIndex});
  return true;
}

bool ModelTest::Add(const std::vector<Tok>& tokens) {
  Chunk chunk(tokens);
  return model.AddChunk(chunk.tokens(), chunk.count(), host, widths);
}

std::string ModelTest::LineText(int line) const {
  const Line& l = model.GetLine(line);
  std::string text;
  for (int r = l.firstRun; r < l.firstRun + l.runCount; ++r) {
    if (model.GetRun(r).style <= kStyleLastFont) text += model.RunString(r);
  }
  return text;
}

std::vector<std::string> ModelTest::TextLines() const {
  std::vector<std::string> lines;
  for (int l = 0; l < model.LineCount(); ++l) {
    if (model.GetLine(l).width > 0) lines.push_back(LineText(l));
  }
  return lines;
}

}  // namespace displaytest
