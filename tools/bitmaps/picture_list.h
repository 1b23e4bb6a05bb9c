// The picture list: one line per resource,
//
//   <id> <kind> <width> <height> [key=value ...]   # comment
//
// kinds: gradient (top, bottom, bpp, label, labelbox=x,y,w,h, scale), solid
// (colour), pattern (fg, bg, style dots|checker|hatch|lines), button (frames,
// label or glyph, face, colour, scale of the label, 1 unless given; width is
// one frame's), glyph (glyph, colour, bg), icon (glyph, colour), cursor
// (glyph, hot=x,y). Pictures of bpp=8 are dithered unless dither=no. Colours
// are #RRGGBB or a theme name (face, light, shadow, dark, accent, text,
// paper, disabled, black, white).
// Labels use '_' for spaces.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "image.h"

namespace bmpgen {

struct Item {
  unsigned id = 0;
  std::string kind;
  int width = 0;
  int height = 0;
  std::map<std::string, std::string> params;
  int line = 0;
};

struct Output {
  std::string fileName;  // <id>.bmp, .ico or .cur
  std::string bytes;
  std::string rcType;  // BITMAP, ICON or CURSOR
};

// Parses the list; on a bad line fills error ("line N: ...") and returns nothing.
std::optional<std::vector<Item>> ParseList(const std::string& text, std::string& error);
// Draws and encodes one item; on a bad parameter fills error.
std::optional<Output> Render(const Item& item, std::string& error);
std::optional<Rgb> ParseColour(const std::string& text);

}  // namespace bmpgen
