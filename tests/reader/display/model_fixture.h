// Crafted token chunks for the display's text model, and a layout host that
// measures with fixed widths: every character is 6 pixels wide (7 in the bold
// styles), text is 16 pixels high (12 in the raised and lowered styles).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "display/text_model.h"

namespace displaytest {

using namespace display;

constexpr int kCharWidth = 6;
constexpr int kBoldWidth = 7;
constexpr int kHeight = 16;
constexpr int kSmallHeight = 12;
// Plain body text: a type that adds no format.
constexpr u8 kBody = 7;

struct Tok {
  std::string text;
  u8 marker = kTokenJoin;
  u8 format = 0;
  u8 type = kBody;
};

// A word joined to the previous one with a blank; a word that meets it
// without one; a word that starts a new line.
Tok W(const std::string& text, u8 format = 0);
Tok Glued(const std::string& text, u8 format = 0);
Tok NewLine(const std::string& text, u8 format = 0);
Tok Hidden(const std::string& text);
// The tokens of a media block: the type-10 run with the indent, then the
// numbers as hidden type-10 runs.
std::vector<Tok> Block(const std::vector<unsigned>& numbers);

// One chunk as the engine hands it out: tokens pointing into its text.
class Chunk {
 public:
  explicit Chunk(const std::vector<Tok>& tokens);
  const ReToken* tokens() const { return tokens_.data(); }
  unsigned count() const { return static_cast<unsigned>(tokens_.size()); }

 private:
  std::string text_;
  std::vector<ReToken> tokens_;
};

struct PlacedThumbnail {
  CRect rect;
  unsigned id;
  unsigned index;
};

class FixedHost : public LayoutHost {
 public:
  Extent Measure(int style, const char* text, int length) override;
  bool ShowsPictures() override { return pictures; }
  bool MediaReachable() override { return media; }
  bool ReadMediaItem(unsigned item, std::string& title, u16& kind) override;
  bool PlaceThumbnail(const CRect& rect, unsigned controlId, unsigned itemIndex) override;

  bool pictures = true;
  bool media = true;
  std::vector<PlacedThumbnail> thumbnails;
  int measured = 0;
};

// A model laid out for a client width, fed chunk by chunk.
class ModelTest : public ::testing::Test {
 protected:
  ModelTest() { EXPECT_TRUE(model.Reset()); }
  ~ModelTest() override { FailModelAllocationAfter(0); }
  bool Add(const std::vector<Tok>& tokens);
  // The texts of a line's drawn runs, run together.
  std::string LineText(int line) const;
  // The lines that hold drawn text, as texts.
  std::vector<std::string> TextLines() const;

  TextModel model;
  FixedHost host;
  LayoutWidths widths{300, 1};
};

}  // namespace displaytest
