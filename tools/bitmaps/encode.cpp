#include "encode.h"

#include <algorithm>
#include <cstdint>

namespace bmpgen {

namespace {

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// BITMAPINFOHEADER; height is doubled for icons (colour rows, then mask rows).
void PutInfoHeader(std::string& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t colours) {
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
  Put32(out, 0);  // no compression
  Put32(out, imageSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, colours);
  Put32(out, 0);
}

int RowBytes(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// The 8-bit table's colour for a pixel, ordered-dithered (4 x 4): a colour
// between two steps of the colour cube comes out as a fine mix of both, so a
// gradient shows no bands. A colour of the table itself (a label's white,
// say) keeps its entry.
int DitheredIndex(Rgb colour, int x, int y) {
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  const int nearest = NearestPaletteIndex(colour);
  if (PaletteEntry(nearest) == colour) return nearest;
  const int offset = (kBayer[y & 3][x & 3] * 2 - 15) * 25 / 15;
  auto channel = [&](Rgb c) { return static_cast<Rgb>(std::clamp(static_cast<int>(c) + offset, 0, 255)); };
  return NearestPaletteIndex(MakeRgb(channel(Red(colour)), channel(Green(colour)), channel(Blue(colour))));
}

// Colour rows bottom-up, as Windows bitmaps keep them.
std::string PixelRows(const Image& image, int bitsPerPixel, bool dither) {
  const int stride = RowBytes(image.width(), bitsPerPixel);
  std::string rows;
  for (int y = image.height() - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.At(x, y);
      if (bitsPerPixel == 8) {
        row.push_back(static_cast<char>(dither ? DitheredIndex(c, x, y) : NearestPaletteIndex(c)));
      } else {
        row.push_back(static_cast<char>(Blue(c)));
        row.push_back(static_cast<char>(Green(c)));
        row.push_back(static_cast<char>(Red(c)));
      }
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    rows += row;
  }
  return rows;
}

}  // namespace

Rgb PaletteEntry(int index) {
  if (index < 216) {
    const int steps[6] = {0, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    return MakeRgb(steps[index / 36], steps[(index / 6) % 6], steps[index % 6]);
  }
  const Rgb grey = static_cast<Rgb>((index - 216) * 255 / 39);
  return MakeRgb(grey, grey, grey);
}

int NearestPaletteIndex(Rgb colour) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const Rgb p = PaletteEntry(i);
    const long dr = static_cast<long>(Red(p)) - static_cast<long>(Red(colour));
    const long dg = static_cast<long>(Green(p)) - static_cast<long>(Green(colour));
    const long db = static_cast<long>(Blue(p)) - static_cast<long>(Blue(colour));
    const long distance = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

std::string EncodeBmp(const Image& image, int bitsPerPixel, bool dither) {
  const std::string rows = PixelRows(image, bitsPerPixel, dither);
  const std::uint32_t colours = bitsPerPixel == 8 ? 256 : 0;
  const std::uint32_t offset = 14 + 40 + colours * 4;
  std::string out;
  out += "BM";
  Put32(out, offset + static_cast<std::uint32_t>(rows.size()));
  Put32(out, 0);
  Put32(out, offset);
  PutInfoHeader(out, image.width(), image.height(), bitsPerPixel, static_cast<std::uint32_t>(rows.size()), colours);
  for (std::uint32_t i = 0; i < colours; ++i) {
    const Rgb c = PaletteEntry(static_cast<int>(i));
    out.push_back(static_cast<char>(Blue(c)));
    out.push_back(static_cast<char>(Green(c)));
    out.push_back(static_cast<char>(Red(c)));
    out.push_back('\0');
  }
  return out + rows;
}

std::string EncodeIcon(const Image& image, Rgb transparent, bool cursor, int hotX, int hotY) {
  std::string colourRows;
  const int stride = RowBytes(image.width(), 24);
  const int maskStride = RowBytes(image.width(), 1);
  std::string maskRows;
  for (int y = image.height() - 1; y >= 0; --y) {
    std::string row, mask(static_cast<std::size_t>(maskStride), '\0');
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.At(x, y);
      const bool clear = c == transparent;
      // Masked pixels are black in the colour image, so the screen shows through.
      row.push_back(static_cast<char>(clear ? 0 : Blue(c)));
      row.push_back(static_cast<char>(clear ? 0 : Green(c)));
      row.push_back(static_cast<char>(clear ? 0 : Red(c)));
      if (clear) mask[static_cast<std::size_t>(x / 8)] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
    }
    row.resize(static_cast<std::size_t>(stride), '\0');
    colourRows += row;
    maskRows += mask;
  }
  std::string image40;
  PutInfoHeader(image40, image.width(), image.height() * 2, 24,
                static_cast<std::uint32_t>(colourRows.size() + maskRows.size()), 0);
  image40 += colourRows + maskRows;

  std::string out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, 1);  // one image
  out.push_back(static_cast<char>(image.width() >= 256 ? 0 : image.width()));
  out.push_back(static_cast<char>(image.height() >= 256 ? 0 : image.height()));
  out.push_back('\0');  // no colour table
  out.push_back('\0');
  Put16(out, cursor ? static_cast<std::uint32_t>(hotX) : 1);   // planes, or the hot spot of a cursor
  Put16(out, cursor ? static_cast<std::uint32_t>(hotY) : 24);  // bit count, or the hot spot
  Put32(out, static_cast<std::uint32_t>(image40.size()));
  Put32(out, 6 + 16);
  return out + image40;
}

}  // namespace bmpgen
