#include "image.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "font5x7.h"

namespace bmpgen {

Rgb Mix(Rgb a, Rgb b, int t, int n) {
  if (n <= 0) return a;
  auto channel = [&](Rgb ca, Rgb cb) {
    return static_cast<Rgb>((static_cast<int>(ca) * (n - t) + static_cast<int>(cb) * t + n / 2) / n);
  };
  return MakeRgb(channel(Red(a), Red(b)), channel(Green(a), Green(b)), channel(Blue(a), Blue(b)));
}

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void Image::Set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void Image::Fill(int x, int y, int w, int h, Rgb colour) {
  for (int row = y; row < y + h; ++row) {
    for (int col = x; col < x + w; ++col) Set(col, row, colour);
  }
}

void Image::Frame(int x, int y, int w, int h, Rgb colour) {
  Fill(x, y, w, 1, colour);
  Fill(x, y + h - 1, w, 1, colour);
  Fill(x, y, 1, h, colour);
  Fill(x + w - 1, y, 1, h, colour);
}

void Image::VerticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int row = 0; row < h; ++row) Fill(x, y + row, w, 1, Mix(top, bottom, row, h > 1 ? h - 1 : 1));
}

void Image::Bevel(int x, int y, int w, int h, bool pressed) {
  const Rgb outerLight = pressed ? theme::kDark : theme::kLight;
  const Rgb outerDark = pressed ? theme::kLight : theme::kDark;
  const Rgb innerDark = pressed ? theme::kFace : theme::kShadow;
  Fill(x, y, w, 1, outerLight);
  Fill(x, y, 1, h, outerLight);
  Fill(x, y + h - 1, w, 1, outerDark);
  Fill(x + w - 1, y, 1, h, outerDark);
  if (pressed) {
    Fill(x + 1, y + 1, w - 2, 1, theme::kShadow);
    Fill(x + 1, y + 1, 1, h - 2, theme::kShadow);
  } else {
    Fill(x + 1, y + h - 2, w - 2, 1, innerDark);
    Fill(x + w - 2, y + 1, 1, h - 2, innerDark);
  }
}

void Image::Line(int x0, int y0, int x1, int y1, Rgb colour) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Set(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Image::Arrow(int x, int y, int w, int h, const std::string& direction, Rgb colour) {
  const bool vertical = direction == "up" || direction == "down";
  // The triangle's base spans about 60% of the box's shorter side.
  const int base = std::max(3, (std::min(w, h) * 6 / 10) | 1);
  const int depth = (base + 1) / 2;
  const int cx = x + w / 2, cy = y + h / 2;
  for (int i = 0; i < depth; ++i) {
    const int half = i;  // the row i steps from the tip is 2i+1 wide
    if (vertical) {
      const int row = direction == "up" ? cy - depth / 2 + i : cy + depth / 2 - i;
      Fill(cx - half, row, 2 * half + 1, 1, colour);
    } else {
      const int col = direction == "left" ? cx - depth / 2 + i : cx + depth / 2 - i;
      Fill(col, cy - half, 1, 2 * half + 1, colour);
    }
  }
}

bool Image::Pictogram(int x, int y, int w, int h, const std::string& name, Rgb colour) {
  const int size = std::min(w, h);
  const int left = x + (w - size) / 2, top = y + (h - size) / 2;
  const int m = std::max(1, size / 6);  // margin
  const int inner = size - 2 * m;
  if (name.rfind("arrow-", 0) == 0) {
    Arrow(x, y, w, h, name.substr(6), colour);
  } else if (name == "check") {
    const int thick = std::max(1, size / 10);
    for (int t = 0; t < thick + 1; ++t) {
      Line(left + m, top + size / 2 + t, left + size * 2 / 5, top + size - m - 1 + t - thick, colour);
      Line(left + size * 2 / 5, top + size - m - 1 + t - thick, left + size - m - 1, top + m + t, colour);
    }
  } else if (name == "cross") {
    for (int t = 0; t <= size / 10; ++t) {
      Line(left + m + t, top + m, left + size - m - 1, top + size - m - 1 - t, colour);
      Line(left + m, top + m + t, left + size - m - 1 - t, top + size - m - 1, colour);
      Line(left + size - m - 1 - t, top + m, left + m, top + size - m - 1 - t, colour);
    }
  } else if (name == "plus" || name == "minus") {
    const int thick = std::max(1, size / 7);
    Fill(left + m, top + (size - thick) / 2, inner, thick, colour);
    if (name == "plus") Fill(left + (size - thick) / 2, top + m, thick, inner, colour);
  } else if (name == "dot") {
    const int r = std::max(1, size / 4);
    for (int dy = -r; dy <= r; ++dy) {
      for (int dx = -r; dx <= r; ++dx) {
        if (dx * dx + dy * dy <= r * r) Set(left + size / 2 + dx, top + size / 2 + dy, colour);
      }
    }
  } else if (name == "folder") {
    Fill(left + m, top + m + 1, inner / 2, 2, colour);
    Fill(left + m, top + m + 2, inner, inner - 3, colour);
    Fill(left + m + 1, top + m + 4, inner - 2, inner - 6, Mix(colour, theme::kLight, 1, 2));
  } else if (name == "page") {
    Fill(left + m + 1, top + m, inner - 2, inner, theme::kPaper);
    Frame(left + m + 1, top + m, inner - 2, inner, colour);
    for (int line = top + m + 3; line < top + m + inner - 2; line += 2) Fill(left + m + 3, line, inner - 6, 1, colour);
  } else if (name == "book") {
    Fill(left + m, top + m, inner, inner, colour);
    Fill(left + m + 2, top + m + 1, inner - 3, inner - 2, theme::kPaper);
    Fill(left + m + 2, top + m + inner / 2, inner - 3, 1, colour);
  } else if (name == "speaker") {
    Fill(left + m, top + size / 2 - size / 8, size / 5, size / 4, colour);
    for (int i = 0; i < size / 4; ++i)
      Fill(left + m + size / 5 + i, top + size / 2 - size / 8 - i, 1, size / 4 + 2 * i, colour);
  } else if (name == "film") {
    Fill(left + m, top + m, inner, inner, colour);
    for (int hole = top + m + 1; hole < top + m + inner - 1; hole += 3) {
      Set(left + m + 1, hole, theme::kLight);
      Set(left + m + inner - 2, hole, theme::kLight);
    }
    Fill(left + m + 3, top + m + 2, inner - 6, inner - 4, Mix(colour, theme::kLight, 2, 3));
  } else {
    return false;
  }
  return true;
}

bool Image::CanWrite(const std::string& text) {
  for (char raw : text) {
    const char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    bool found = false;
    for (const Glyph5x7& glyph : kFont5x7) found = found || glyph.ch == ch;
    if (!found) return false;
  }
  return true;
}

int Image::TextWidth(const std::string& text, int scale) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void Image::Text(int x, int y, int w, int h, const std::string& text, Rgb colour, int scale) {
  int penX = x + (w - TextWidth(text, scale)) / 2;
  const int penY = y + (h - 7 * scale) / 2;
  for (char raw : text) {
    const char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    for (const Glyph5x7& glyph : kFont5x7) {
      if (glyph.ch != ch) continue;
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (glyph.rows[row] & (0x10 >> col)) Fill(penX + col * scale, penY + row * scale, scale, scale, colour);
        }
      }
      break;
    }
    penX += 6 * scale;
  }
}

}  // namespace bmpgen
