#include "png_writer.h"

#include <array>

namespace ui {

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBig32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type, 4);
  typed += data;
  out += typed;
  PutBig32(out, Crc32(reinterpret_cast<const std::uint8_t*>(typed.data()), typed.size()));
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
  crc ^= 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t a = 1, b = 0;
  for (std::size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& rgb) {
  // The raw scan lines: a filter byte (0, none) and three bytes a pixel.
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width + x];
      raw.push_back(static_cast<char>((c >> 16) & 0xFF));
      raw.push_back(static_cast<char>((c >> 8) & 0xFF));
      raw.push_back(static_cast<char>(c & 0xFF));
    }
  }
  // zlib: header, stored blocks of at most 65535 bytes, Adler-32.
  std::string zlib = {'\x78', '\x01'};
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + length == raw.size();
    zlib.push_back(last ? '\x01' : '\x00');
    zlib.push_back(static_cast<char>(length & 0xFF));
    zlib.push_back(static_cast<char>(length >> 8));
    zlib.push_back(static_cast<char>(~length & 0xFF));
    zlib.push_back(static_cast<char>((~length >> 8) & 0xFF));
    zlib.append(raw, at, length);
    at += length;
  } while (at < raw.size());
  PutBig32(zlib, Adler32(reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size()));

  std::string header;
  PutBig32(header, static_cast<std::uint32_t>(width));
  PutBig32(header, static_cast<std::uint32_t>(height));
  header += std::string{'\x08', '\x02', '\x00', '\x00', '\x00'};  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace ui
