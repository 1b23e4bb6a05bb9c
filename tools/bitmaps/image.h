// A small RGB canvas with the drawing the generated art needs: fills,
// gradients, bevels, glyphs and 5 x 7 text. Colours are 0xRRGGBB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bmpgen {

using Rgb = std::uint32_t;

constexpr Rgb Red(Rgb c) { return (c >> 16) & 0xFF; }
constexpr Rgb Green(Rgb c) { return (c >> 8) & 0xFF; }
constexpr Rgb Blue(Rgb c) { return c & 0xFF; }
constexpr Rgb MakeRgb(Rgb r, Rgb g, Rgb b) { return (r << 16) | (g << 8) | b; }
// The colour at t/n of the way from a to b.
Rgb Mix(Rgb a, Rgb b, int t, int n);

// The house colours every generated picture is drawn with.
namespace theme {
inline constexpr Rgb kFace = 0xD8D4CC;
inline constexpr Rgb kLight = 0xFFFFFF;
inline constexpr Rgb kShadow = 0x8C8880;
inline constexpr Rgb kDark = 0x3C3A36;
inline constexpr Rgb kAccent = 0x2A5CA8;
inline constexpr Rgb kText = 0x101010;
inline constexpr Rgb kDisabled = 0x9C9890;
inline constexpr Rgb kPaper = 0xFFFFF4;
}  // namespace theme

class Image {
 public:
  Image(int width, int height, Rgb fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  // Writes outside the canvas are dropped.
  void Set(int x, int y, Rgb colour);

  void Fill(int x, int y, int w, int h, Rgb colour);
  void Frame(int x, int y, int w, int h, Rgb colour);
  void VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  // A raised (or, pressed, sunken) two-pixel bevel around the rectangle.
  void Bevel(int x, int y, int w, int h, bool pressed);
  void Line(int x0, int y0, int x1, int y1, Rgb colour);
  // A filled triangle pointing "up", "down", "left" or "right", centred in the box.
  void Arrow(int x, int y, int w, int h, const std::string& direction, Rgb colour);
  // One of the named pictograms (check, cross, plus, minus, dot, folder,
  // page, book, speaker, film, arrow-*), centred in the box.
  bool Pictogram(int x, int y, int w, int h, const std::string& name, Rgb colour);
  // Upper-case text in the 5 x 7 font, scaled by an integer factor, centred.
  void Text(int x, int y, int w, int h, const std::string& text, Rgb colour, int scale = 1);
  static int TextWidth(const std::string& text, int scale = 1);
  // Whether the font has every character of the text.
  static bool CanWrite(const std::string& text);

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace bmpgen
