// A minimal PNG encoder for test pictures: 8-bit RGB, no filtering, the image
// data in zlib "stored" blocks. Portable (no Win32).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// CRC-32 as PNG chunks use it, and the zlib Adler-32 checksum.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size);

// The PNG file of a width x height picture given as 0xRRGGBB values, rows top first.
std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& rgb);

}  // namespace ui
