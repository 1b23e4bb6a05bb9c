// Speaks English text into 16-bit samples with eSpeak NG (Debian's
// libespeak-ng1). Native builds only, like the JPEG reader.
#pragma once

#include <string>

#include "gallery/rgb_image.h"

namespace builder::images {

// Throws std::runtime_error when the speech engine or its voice data is missing.
gallery::Speech Speak(const std::string& text);

}  // namespace builder::images
