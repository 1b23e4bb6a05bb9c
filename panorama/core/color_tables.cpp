#include "color_tables.h"

#include <cstring>

#include "pano_host.h"

namespace pano {
namespace {

constexpr int kKeys = 16384;
std::uint8_t* gInverse = nullptr;
std::uint32_t gPaletteCopy[256];  // byte 0 blue, byte 1 green, byte 2 red
bool gPaletteValid = false;

std::uint32_t KeyOfCopy(std::uint32_t bgr) { return ColorKey(bgr >> 16 & 0xFF, bgr >> 8 & 0xFF, bgr & 0xFF); }

void FloodFill(std::uint8_t* table) {
  // Cells hold index + 1 (0 = empty); the queue visits each key once.
  static std::uint16_t cells[kKeys];
  static std::uint16_t queue[kKeys + 2];
  std::memset(cells, 0, sizeof cells);
  int head = 0;
  int tail = 0;
  int black = -1;
  int white = -1;
  std::uint16_t seeds[256];
  int seedCount = 0;
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t key = KeyOfCopy(gPaletteCopy[i]);
    if (key == 0) {
      black = i;  // the highest index with the key wins
    } else if (key == kKeys - 1) {
      white = i;
    } else if (cells[key] == 0) {
      cells[key] = static_cast<std::uint16_t>(i + 1);
      seeds[seedCount++] = static_cast<std::uint16_t>(key);
    }
  }
  if (black >= 0) {
    cells[0] = static_cast<std::uint16_t>(black + 1);
    queue[tail++] = 0;
  }
  if (white >= 0) {
    cells[kKeys - 1] = static_cast<std::uint16_t>(white + 1);
    queue[tail++] = kKeys - 1;
  }
  for (int i = 0; i < seedCount; ++i) queue[tail++] = seeds[i];

  while (head < tail) {
    const int key = queue[head++];
    const int blue = key & 15;
    const int green = key >> 4 & 31;
    const int red = key >> 9;
    const int neighbours[6][3] = {{blue + 1, green, red}, {blue - 1, green, red}, {blue, green + 1, red},
                                  {blue, green - 1, red}, {blue, green, red + 1}, {blue, green, red - 1}};
    for (const auto& n : neighbours) {
      if (n[0] < 0 || n[0] > 15 || n[1] < 0 || n[1] > 31 || n[2] < 0 || n[2] > 31) continue;
      const int next = n[2] << 9 | n[1] << 4 | n[0];
      if (cells[next] != 0) continue;
      cells[next] = cells[key];
      queue[tail++] = static_cast<std::uint16_t>(next);
    }
  }
  for (int key = 0; key < kKeys; ++key) table[key] = static_cast<std::uint8_t>(cells[key] == 0 ? 0 : cells[key] - 1);
}

void DiffuseErrors(std::uint8_t* table) {
  for (int key = 0; key < kKeys; ++key) {
    const int c[3] = {(key & 15) * 16, (key >> 4 & 31) * 8, (key >> 9) * 8};  // blue, green, red
    int x[3] = {c[0], c[1], c[2]};
    std::uint8_t chosen = table[key];
    for (int k = 1; k <= 3; ++k) {
      const std::uint32_t p = gPaletteCopy[chosen] & 0xF8F8F0;
      const int pc[3] = {static_cast<int>(p & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p >> 16 & 0xFF)};
      for (int ch = 0; ch < 3; ++ch) {
        x[ch] = x[ch] - pc[ch] + c[ch];
        if (x[ch] < 0) x[ch] = 0;
        if (x[ch] > 255) x[ch] = 255;
      }
      chosen = table[ColorKey(static_cast<std::uint32_t>(x[2]), static_cast<std::uint32_t>(x[1]),
                              static_cast<std::uint32_t>(x[0]))];
      table[k * kKeys + key] = chosen;
    }
  }
}

}  // namespace

bool BuildInverseColorTable(const std::uint32_t (&palette)[256]) {
  FreeInverseColorTable();
  for (int i = 0; i < 256; ++i) {
    // 0x00RRGGBB in memory is blue, green, red: the copy's own byte order.
    gPaletteCopy[i] = palette[i] & 0xFFFFFF;
  }
  auto* table = static_cast<std::uint8_t*>(HostAlloc(kInverseTableBytes));
  if (table == nullptr) return false;
  gPaletteValid = true;
  FloodFill(table);
  DiffuseErrors(table);
  gInverse = table;
  return true;
}

void FreeInverseColorTable() {
  HostFree(gInverse);
  gInverse = nullptr;
  gPaletteValid = false;
}

const std::uint8_t* InverseColorTable() { return gInverse; }

void ConvertBandToIndexes(const std::uint8_t* table, const std::uint8_t* source, int sourceRowBytes, int width,
                          int rows, std::uint8_t* destination) {
  static const std::uint8_t kPattern[4][4] = {{0, 1, 2, 3}, {3, 0, 1, 2}, {1, 2, 3, 0}, {2, 3, 0, 1}};
  const int sourceRow = sourceRowBytes;
  const int destinationRow = (width + 1) & ~1;
  for (int y = 0; y < rows; ++y) {
    const std::uint8_t* in = source + static_cast<std::ptrdiff_t>(sourceRow) * y;
    std::uint8_t* out = destination + static_cast<std::ptrdiff_t>(destinationRow) * y;
    // The row's sub-table for each column modulo 4; a pixel's key is its 5-5-5 value shifted right once.
    const std::uint8_t* sub[4];
    for (int k = 0; k < 4; ++k) sub[k] = table + kPattern[y & 3][k] * kKeys;
    auto key = [in](int x) { return (static_cast<std::uint32_t>(in[2 * x] | in[2 * x + 1] << 8) & 0x7FFF) >> 1; };
    int x = 0;
    for (; x + 4 <= width; x += 4) {
      out[x] = sub[0][key(x)];
      out[x + 1] = sub[1][key(x + 1)];
      out[x + 2] = sub[2][key(x + 2)];
      out[x + 3] = sub[3][key(x + 3)];
    }
    for (; x < width; ++x) out[x] = sub[x & 3][key(x)];
  }
}

const std::uint8_t* IdentityRemapTable() {
  static std::uint8_t table[kIdentityRemapBytes];
  static bool built = false;
  if (!built) {
    for (int i = 0; i < kIdentityRemapBytes; ++i) table[i] = static_cast<std::uint8_t>(i & 0xFF);
    built = true;
  }
  return table;
}

}  // namespace pano
