// File encodings of generated pictures: Windows bitmaps (24 bits, or 8 bits
// with a 256-colour table), icons and cursors (24-bit colour with a mask).
#pragma once

#include <string>

#include "image.h"

namespace bmpgen {

// A .bmp file; bitsPerPixel is 24 or 8 (colours mapped to a fixed table of
// a 6 x 6 x 6 cube and 40 greys, ordered-dithered unless dither is false: a
// picture shown stretched keeps plain bands, as a stretched dither pattern
// turns into a coarse weave).
std::string EncodeBmp(const Image& image, int bitsPerPixel, bool dither = true);
// A .ico or .cur file with one image; pixels of the transparent colour are
// masked out. The hot spot matters for cursors only.
std::string EncodeIcon(const Image& image, Rgb transparent, bool cursor, int hotX = 0, int hotY = 0);
// The 256-colour table of 8-bit output, and the entry nearest a colour.
Rgb PaletteEntry(int index);
int NearestPaletteIndex(Rgb colour);

}  // namespace bmpgen
