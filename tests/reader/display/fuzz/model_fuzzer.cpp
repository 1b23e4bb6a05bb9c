// Token chunks as the engine hands out the text of a damaged or hostile
// entry: arbitrary types, marker and format bits, texts and media block
// numbers, laid out chunk by chunk, then found, selected, copied, printed,
// scrolled and hit-tested.
#include <cstdint>
#include <string>
#include <vector>

#include "display/annotations.h"
#include "display/text_copy.h"
#include "display/text_find.h"
#include "display/text_model.h"
#include "display/text_print.h"
#include "display/text_scroll.h"

namespace {

using namespace display;

class Host : public LayoutHost {
 public:
  Extent Measure(int style, const char*, int length) override { return Extent{length * (5 + style % 3), 10 + style}; }
  bool ShowsPictures() override { return pictures; }
  bool MediaReachable() override { return true; }
  bool ReadMediaItem(unsigned item, std::string& title, u16& kind) override {
    title = "item";
    kind = static_cast<u16>(item % 11);
    return item % 2 == 0;
  }
  bool PlaceThumbnail(const CRect&, unsigned, unsigned) override { return true; }
  bool pictures = true;
};

class Surface : public PrintSurface {
 public:
  Extent Measure(int style, const char*, int length) override { return Extent{length * 6, 12 + style}; }
  int LineHeight() override { return 14; }
  void Draw(int, int, int, const char* text, int length) override {
    for (int i = 0; i < length; ++i) sum += static_cast<unsigned char>(text[i]);
  }
  unsigned sum = 0;
};

// Reads tokens from the bytes: a header byte per token (type in the low
// nibble, its high nibble a text length), then marker and format bytes and
// the text. A zero header ends a chunk.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t Next() { return at < size ? data[at++] : 0; }
  bool More() const { return at < size; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  Reader in{data + 2, size - 2};
  Host host;
  host.pictures = (data[0] & 1) != 0;
  const LayoutWidths widths{40 + data[1], 1};
  TextModel model;
  if (!model.Reset()) return 0;
  while (in.More()) {
    std::string text;
    std::vector<ReToken> tokens;
    std::vector<std::size_t> offsets;
    for (std::uint8_t head = in.Next(); head != 0 && tokens.size() < 400; head = in.Next()) {
      ReToken token{};
      token.type = head & 0x0F;
      token.flags = in.Next();
      token.style = in.Next();
      const int length = (head >> 4) * 3 + (head & 1);
      offsets.push_back(text.size());
      for (int i = 0; i < length; ++i) text += static_cast<char>(in.Next() % 3 == 0 ? ' ' : '0' + in.Next() % 75);
      token.length = static_cast<u8>(length);
      tokens.push_back(token);
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) tokens[i].text = text.data() + offsets[i];
    model.AddChunk(tokens.data(), static_cast<unsigned>(tokens.size()), host, widths);
  }

  FindState state;
  FindWords(model, state, "a 0 & 1", data[0] & 2, data[0] & 4);
  NextHitRun(model, 0, 1);
  NextHitRun(model, model.LineCount() - 1, -1);
  model.SetMark(1, model.RunCount() / 2, kMarkSelected, true);
  model.SetMark(model.RunCount() / 3, model.RunCount(), kMarkHighlighted, true);
  CopyAll(model);
  CopySelection(model);
  HighlightRanges(model);
  ClearFindHits(model, state);
  Surface surface;
  for (bool selection : {false, true}) {
    int start = 0;
    for (int page = 0; page < 200 && start >= 0; ++page) {
      const int next =
          PrintPage(model, surface, CRect(10, 10, 10 + widths.clientWidth, 200), start, selection, (data[0] & 8) != 0);
      if (next >= 0 && next <= start) __builtin_trap();  // a page that does not advance
      start = next;
    }
  }
  for (int line = 0; line < model.LineCount(); line += 1 + model.LineCount() / 8) {
    PageDownLine(model, line, 100);
    PageUpLine(model, line, 100);
    LastVisibleLine(model, line, 100);
    TopOffset(model, line);
  }
  PositionLine(model, 12, 100);
  for (int y = -5; y < 600; y += 37) {
    for (int x = -5; x < 300; x += 41) model.HitTest(x, y, widths.clientWidth, (x & 1) != 0);
  }
  for (int r = 0; r < model.RunCount(); r += 1 + model.RunCount() / 16) {
    const int line = model.LineOfRun(r);
    if (line != kNone) model.RunLeft(line, r);
  }
  return 0;
}
