// Reads a JPEG file into pixels with libjpeg-turbo (Debian's libjpeg62-turbo).
// Native builds only: no JPEG library is packaged for the Windows targets.
#pragma once

#include <string>

#include "gallery/rgb_image.h"

namespace builder::images {

// Red, green and blue pixels of the file; grey pictures come as three equal
// bytes. Throws std::runtime_error naming the file and the library's reason.
gallery::RgbImage ReadJpeg(const std::string& path);

}  // namespace builder::images
