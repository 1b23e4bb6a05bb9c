// Pictures of 256 colours for the media store: a palette made by median cut
// over the picture's colours, and the pixels mapped to it with error
// diffusion, so that smooth seas and skies keep their shades.
#pragma once

#include <cstdint>
#include <string>

#include "content/media_store_file.h"
#include "gallery/rgb_image.h"

namespace builder::gallery {

// The picture as a record of the media store takes it: 8 bits a pixel,
// `type` 1 (picture) to 4 (map).
Picture PalettePicture(const RgbImage& image, std::uint8_t type, const std::string& caption);

// The colour of a palette picture's pixel.
Rgb PictureColour(const Picture& picture, int x, int y);

}  // namespace builder::gallery
