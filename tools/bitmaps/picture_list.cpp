#include "picture_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "encode.h"

namespace bmpgen {

namespace {

const std::set<std::string> kKinds = {"gradient", "solid", "pattern", "button", "glyph", "icon", "cursor"};

std::string Param(const Item& item, const std::string& key, const std::string& fallback = "") {
  auto found = item.params.find(key);
  return found == item.params.end() ? fallback : found->second;
}

bool ColourParam(const Item& item, const std::string& key, Rgb fallback, Rgb& out, std::string& error) {
  const std::string text = Param(item, key);
  if (text.empty()) {
    out = fallback;
    return true;
  }
  auto colour = ParseColour(text);
  if (!colour) {
    error = "line " + std::to_string(item.line) + ": bad colour " + key + "=" + text;
    return false;
  }
  out = *colour;
  return true;
}

std::string Label(const Item& item) {
  std::string label = Param(item, "label");
  for (char& ch : label) {
    if (ch == '_') ch = ' ';
  }
  return label;
}

// The largest text scale whose label fits in the box with a margin (the
// labels of the big pictures).
int FitScale(const std::string& label, int w, int h) {
  int scale = 1;
  while (Image::TextWidth(label, scale + 1) <= w - 6 && 7 * (scale + 1) <= h - 6) ++scale;
  return scale;
}

// Buttons stand in bars: their labels share one size (the 5 x 7 font, or
// the list's scale=) and their glyphs one box, whatever each button's size.
constexpr int kGlyphBox = 16;

enum class Face { kUp, kHover, kDisabled, kFocus, kChecked, kDown };

// What each frame of a strip shows, by the strip's frame count: the orders
// the button controls read (two frames up and down; three up, down and
// disabled; five up, hover, disabled, focus and down; six with checked
// before down).
Face FaceOfFrame(int frame, int frames) {
  static constexpr Face kTwo[] = {Face::kUp, Face::kDown};
  static constexpr Face kThree[] = {Face::kUp, Face::kDown, Face::kDisabled};
  static constexpr Face kFour[] = {Face::kUp, Face::kDown, Face::kDisabled, Face::kHover};
  static constexpr Face kSix[] = {Face::kUp, Face::kHover, Face::kDisabled, Face::kFocus, Face::kChecked, Face::kDown};
  switch (frames) {
    case 1: return Face::kUp;
    case 2: return kTwo[frame];
    case 3: return kThree[frame];
    case 4: return kFour[frame];
    case 5: return frame == 4 ? Face::kDown : kSix[frame];
    case 6: return kSix[frame];
    default: return kSix[frame % 6];
  }
}

void DrawFace(Image& image, int x, int w, int h, Face state, Rgb face, Rgb ink, int scale, const Item& item) {
  const bool pressed = state == Face::kDown || state == Face::kChecked;
  // Hover lightens the face, checked darkens it; focus and hover show the accent rim.
  const Rgb top = state == Face::kHover ? Mix(face, theme::kLight, 3, 4) : Mix(face, theme::kLight, 1, 2);
  const Rgb bottom = state == Face::kChecked ? Mix(face, theme::kDark, 1, 3) : Mix(face, theme::kShadow, 1, 4);
  image.VerticalGradient(x, 0, w, h, top, bottom);
  image.Bevel(x, 0, w, h, pressed);
  if (state == Face::kHover || state == Face::kFocus) image.Frame(x + 2, 2, w - 4, h - 4, theme::kAccent);
  const int shift = pressed ? 1 : 0;
  const bool disabled = state == Face::kDisabled;
  const Rgb colour = disabled ? theme::kDisabled : ink;
  const std::string glyph = Param(item, "glyph");
  const std::string label = Label(item);
  if (!glyph.empty()) {
    const int gw = std::min(w - 6, kGlyphBox), gh = std::min(h - 6, kGlyphBox);
    const int gx = x + (w - gw) / 2 + shift, gy = (h - gh) / 2 + shift;
    if (disabled) image.Pictogram(gx + 1, gy + 1, gw, gh, glyph, theme::kLight);
    image.Pictogram(gx, gy, gw, gh, glyph, colour);
  } else if (!label.empty()) {
    if (disabled) image.Text(x + shift + 1, shift + 1, w, h, label, theme::kLight, scale);
    image.Text(x + shift, shift, w, h, label, colour, scale);
  }
}

}  // namespace

std::optional<Rgb> ParseColour(const std::string& text) {
  static const std::map<std::string, Rgb> names = {
      {"face", theme::kFace},     {"light", theme::kLight}, {"shadow", theme::kShadow}, {"dark", theme::kDark},
      {"accent", theme::kAccent}, {"text", theme::kText},   {"paper", theme::kPaper},   {"disabled", theme::kDisabled},
      {"black", 0x000000},        {"white", 0xFFFFFF}};
  auto named = names.find(text);
  if (named != names.end()) return named->second;
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
  if (*end != '\0') return std::nullopt;
  return static_cast<Rgb>(value);
}

std::optional<std::vector<Item>> ParseList(const std::string& text, std::string& error) {
  std::vector<Item> items;
  std::set<std::pair<std::string, unsigned>> seen;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::size_t hash = line.find('#');
    // A '#' that starts a colour is not a comment.
    std::size_t comment = std::string::npos;
    for (std::size_t at = hash; at != std::string::npos; at = line.find('#', at + 1)) {
      if (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t') {
        comment = at;
        break;
      }
    }
    if (comment != std::string::npos) line.resize(comment);
    std::istringstream words(line);
    Item item;
    item.line = number;
    std::string id;
    if (!(words >> id)) continue;  // blank or comment
    auto bad = [&](const std::string& why) {
      error = "line " + std::to_string(number) + ": " + why;
      return std::nullopt;
    };
    char* end = nullptr;
    const unsigned long value = std::strtoul(id.c_str(), &end, 10);
    if (*end != '\0' || value == 0 || value > 65535) return bad("bad id " + id);
    item.id = static_cast<unsigned>(value);
    if (!(words >> item.kind >> item.width >> item.height)) return bad("expected: id kind width height");
    if (!kKinds.count(item.kind)) return bad("unknown kind " + item.kind);
    if (item.width <= 0 || item.height <= 0 || item.width > 4096 || item.height > 4096) return bad("bad size");
    std::string pair;
    while (words >> pair) {
      const std::size_t equals = pair.find('=');
      if (equals == std::string::npos || equals == 0) return bad("expected key=value, got " + pair);
      item.params[pair.substr(0, equals)] = pair.substr(equals + 1);
    }
    const std::string type = item.kind == "icon" ? "ICON" : item.kind == "cursor" ? "CURSOR" : "BITMAP";
    if (!seen.insert({type, item.id}).second) return bad("id " + id + " listed twice");
    items.push_back(item);
  }
  return items;
}

std::optional<Output> Render(const Item& item, std::string& error) {
  const std::string where = "line " + std::to_string(item.line) + ": ";
  const std::string id = std::to_string(item.id);
  if (!Image::CanWrite(Label(item))) {
    error = where + "the font has not every character of the label " + Label(item);
    return std::nullopt;
  }
  int bpp = 24;
  if (Param(item, "bpp") == "8") {
    bpp = 8;
  } else if (!Param(item, "bpp").empty() && Param(item, "bpp") != "24") {
    error = where + "bpp must be 8 or 24";
    return std::nullopt;
  }

  const std::string dither = Param(item, "dither", "yes");
  if (dither != "yes" && dither != "no") {
    error = where + "dither must be yes or no";
    return std::nullopt;
  }

  if (item.kind == "gradient" || item.kind == "solid" || item.kind == "pattern" || item.kind == "glyph") {
    Image image(item.width, item.height);
    if (item.kind == "gradient") {
      Rgb top, bottom;
      if (!ColourParam(item, "top", theme::kAccent, top, error) ||
          !ColourParam(item, "bottom", theme::kDark, bottom, error)) {
        return std::nullopt;
      }
      image.VerticalGradient(0, 0, item.width, item.height, top, bottom);
      const std::string label = Label(item);
      if (!label.empty()) {
        // The label's box (labelbox=x,y,w,h, else the picture) and its scale
        // (scale=, else the largest that fits the box).
        int bx = 0, by = 0, bw = item.width, bh = item.height;
        const std::string box = Param(item, "labelbox");
        if (!box.empty() && (std::sscanf(box.c_str(), "%d,%d,%d,%d", &bx, &by, &bw, &bh) != 4 || bw <= 0 || bh <= 0)) {
          error = where + "bad label box " + box;
          return std::nullopt;
        }
        const int scale =
            Param(item, "scale").empty() ? FitScale(label, bw, bh) : std::atoi(Param(item, "scale").c_str());
        if (scale < 1 || Image::TextWidth(label, scale) > bw || 7 * scale > bh) {
          error = where + "the label does not fit its box";
          return std::nullopt;
        }
        image.Text(bx, by, bw, bh, label, theme::kLight, scale);
      }
    } else if (item.kind == "solid") {
      Rgb colour;
      if (!ColourParam(item, "colour", theme::kFace, colour, error)) return std::nullopt;
      image.Fill(0, 0, item.width, item.height, colour);
    } else if (item.kind == "pattern") {
      Rgb fg, bg;
      if (!ColourParam(item, "fg", theme::kShadow, fg, error) || !ColourParam(item, "bg", theme::kFace, bg, error)) {
        return std::nullopt;
      }
      const std::string style = Param(item, "style", "dots");
      for (int y = 0; y < item.height; ++y) {
        for (int x = 0; x < item.width; ++x) {
          bool on = false;
          if (style == "dots") {
            on = x % 4 == 0 && y % 4 == 0;
          } else if (style == "checker") {
            on = (x + y) % 2 == 0;
          } else if (style == "hatch") {
            on = (x + y) % 4 == 0;
          } else if (style == "lines") {
            on = y % 4 == 0;
          } else {
            error = where + "unknown pattern style " + style;
            return std::nullopt;
          }
          image.Set(x, y, on ? fg : bg);
        }
      }
    } else {
      Rgb colour, bg;
      if (!ColourParam(item, "colour", theme::kText, colour, error) ||
          !ColourParam(item, "bg", theme::kFace, bg, error)) {
        return std::nullopt;
      }
      image.Fill(0, 0, item.width, item.height, bg);
      if (!image.Pictogram(0, 0, item.width, item.height, Param(item, "glyph"), colour)) {
        error = where + "unknown glyph " + Param(item, "glyph");
        return std::nullopt;
      }
    }
    return Output{id + ".bmp", EncodeBmp(image, bpp, dither == "yes"), "BITMAP"};
  }

  if (item.kind == "button") {
    const int frames = std::atoi(Param(item, "frames", "4").c_str());
    if (frames < 1 || frames > 16) {
      error = where + "frames must be 1 to 16";
      return std::nullopt;
    }
    Rgb face, ink;
    if (!ColourParam(item, "face", theme::kFace, face, error) ||
        !ColourParam(item, "colour", theme::kText, ink, error)) {
      return std::nullopt;
    }
    const std::string glyph = Param(item, "glyph");
    Image probe(8, 8);
    if (!glyph.empty() && !probe.Pictogram(0, 0, 8, 8, glyph, 0)) {
      error = where + "unknown glyph " + glyph;
      return std::nullopt;
    }
    const int scale = std::atoi(Param(item, "scale", "1").c_str());
    if (scale < 1 || scale > 4) {
      error = where + "scale must be 1 to 4";
      return std::nullopt;
    }
    if (!Label(item).empty() &&
        (Image::TextWidth(Label(item), scale) > item.width - 4 || 7 * scale > item.height - 4)) {
      error = where + "the label does not fit the button at scale " + std::to_string(scale);
      return std::nullopt;
    }
    Image image(item.width * frames, item.height);
    for (int frame = 0; frame < frames; ++frame)
      DrawFace(image, frame * item.width, item.width, item.height, FaceOfFrame(frame, frames), face, ink, scale, item);
    return Output{id + ".bmp", EncodeBmp(image, bpp, dither == "yes"), "BITMAP"};
  }

  // Icons and cursors: the pictogram on a transparent ground.
  const Rgb transparent = 0xFF00FF;
  Rgb colour;
  if (!ColourParam(item, "colour", item.kind == "cursor" ? 0x000000 : theme::kAccent, colour, error)) {
    return std::nullopt;
  }
  Image image(item.width, item.height, transparent);
  if (!image.Pictogram(0, 0, item.width, item.height, Param(item, "glyph", "book"), colour)) {
    error = where + "unknown glyph " + Param(item, "glyph");
    return std::nullopt;
  }
  if (item.kind == "icon") return Output{id + ".ico", EncodeIcon(image, transparent, false), "ICON"};
  int hotX = 0, hotY = 0;
  const std::string hot = Param(item, "hot", "0,0");
  if (std::sscanf(hot.c_str(), "%d,%d", &hotX, &hotY) != 2 || hotX < 0 || hotY < 0 || hotX >= item.width ||
      hotY >= item.height) {
    error = where + "bad hot spot " + hot;
    return std::nullopt;
  }
  return Output{id + ".cur", EncodeIcon(image, transparent, true, hotX, hotY), "CURSOR"};
}

}  // namespace bmpgen
