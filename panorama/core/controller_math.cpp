#include "controller_math.h"

#include <cmath>
#include <cstring>

#include "pano_host.h"

namespace pano {
namespace {

double FixedDegrees(const std::uint8_t* p) { return Be32s(p) / 65536.0; }

bool FullTurn(const ObjectNavigation& n) { return n.panEnd - n.panStart == 360.0; }

}  // namespace

void ReadObjectNavigation(const std::uint8_t* data, std::int32_t size, ObjectNavigation* n) {
  std::uint8_t block[128] = {};
  std::memcpy(block, data, static_cast<std::size_t>(size < 0 ? 0 : size > 128 ? 128 : size));
  n->columns = Be16s(block + 2);
  n->rows = Be16s(block + 4);
  n->kept = Be16s(block + 6);
  n->loopCount = Be16s(block + 8);
  n->frameDuration = Be16s(block + 10);
  n->dragMode = Be16s(block + 12);
  n->loopSpeed = Be16s(block + 14);
  if (n->loopCount < 1) {
    n->loopCount = 1;
    n->loopSpeed = 0;
  }
  n->fieldOfView = FixedDegrees(block + 16);
  if (n->fieldOfView <= 0) n->fieldOfView = 180.0;
  n->panStart = FixedDegrees(block + 20);
  n->panEnd = FixedDegrees(block + 24);
  n->tiltStart = FixedDegrees(block + 28);
  n->tiltEnd = FixedDegrees(block + 32);
  n->kept1 = FixedDegrees(block + 36);
  n->kept2 = FixedDegrees(block + 40);
  if (n->columns < 1) n->columns = 1;  // a grid needs at least one viewpoint
  if (n->rows < 1) n->rows = 1;
}

void DefaultObjectNavigation(std::int32_t a, std::int32_t b, ObjectNavigation* n) {
  std::memset(n, 0, sizeof *n);
  const std::int32_t duration = b > 0 ? a / b : 0;
  n->columns = static_cast<std::int16_t>(duration > 0 ? a / duration / 2 : 1);
  if (n->columns < 1) n->columns = 1;
  n->rows = 2;
  n->loopCount = 1;
  n->frameDuration = static_cast<std::int16_t>(duration);
  n->fieldOfView = 180;
  n->panEnd = 360;
  n->tiltEnd = 20;
}

void ClampObjectAngles(const ObjectNavigation& n, double* pan, double* tilt) {
  if (FullTurn(n)) {
    for (int i = 0; i < 64 && *pan < n.panStart; ++i) *pan += 360;
    for (int i = 0; i < 64 && *pan > n.panEnd; ++i) *pan -= 360;
  } else {
    const double low = std::fmin(n.panStart, n.panEnd), high = std::fmax(n.panStart, n.panEnd);
    *pan = std::fmin(std::fmax(*pan, low), high);
  }
  const double low = std::fmin(n.tiltStart, n.tiltEnd), high = std::fmax(n.tiltStart, n.tiltEnd);
  *tilt = std::fmin(std::fmax(*tilt, low), high);
}

void ObjectColumnRowToAngles(const ObjectNavigation& n, int column, int row, double* pan, double* tilt) {
  const int c = n.columns, r = n.rows;
  const double range = n.panEnd - n.panStart;
  if (FullTurn(n)) {
    column %= c;
    if (column < 0) column += c;
  } else {
    column = column < 0 ? 0 : column > c - 1 ? c - 1 : column;
  }
  row = row < 0 ? 0 : row > r - 1 ? r - 1 : row;
  *pan = c == 1 ? n.panStart : n.panStart + column * (FullTurn(n) ? range / c : range / (c - 1));
  *tilt = r == 1 ? n.tiltStart : n.tiltEnd - row * (n.tiltEnd - n.tiltStart) / (r - 1);
}

void ObjectAnglesToColumnRow(const ObjectNavigation& n, double pan, double tilt, int* column, int* row) {
  const int c = n.columns, r = n.rows;
  const double range = n.panEnd - n.panStart;
  const double perColumn = FullTurn(n) ? range / c : c > 1 ? range / (c - 1) : 0;
  *column = perColumn != 0 ? static_cast<int>(std::floor((pan - n.panStart) / perColumn + 0.5)) : 0;
  if (FullTurn(n)) {
    *column %= c;
    if (*column < 0) *column += c;
  } else {
    *column = *column < 0 ? 0 : *column > c - 1 ? c - 1 : *column;
  }
  const double perRow = r > 1 ? (n.tiltEnd - n.tiltStart) / (r - 1) : 0;
  *row = perRow != 0 ? static_cast<int>(std::floor((n.tiltEnd - tilt) / perRow + 0.5)) : 0;
  *row = *row < 0 ? 0 : *row > r - 1 ? r - 1 : *row;
}

std::int32_t ObjectFrameTime(const ObjectNavigation& n, int column, int row, int loopFrame) {
  return n.frameDuration * (n.loopCount * (row * n.columns + column) + loopFrame);
}

void ObjectDirectionStep(int degrees, int* columnStep, int* rowStep) {
  *columnStep = 0;
  *rowStep = 0;
  if (degrees >= 23 && degrees <= 67) {
    *rowStep = 1;
    *columnStep = -1;
  } else if (degrees >= 68 && degrees <= 112) {
    *rowStep = 1;
  } else if (degrees >= 113 && degrees <= 157) {
    *rowStep = 1;
    *columnStep = 1;
  } else if (degrees >= 158 && degrees <= 202) {
    *columnStep = 1;
  } else if (degrees >= 203 && degrees <= 247) {
    *rowStep = -1;
    *columnStep = 1;
  } else if (degrees >= 248 && degrees <= 292) {
    *rowStep = -1;
  } else if (degrees >= 293 && degrees <= 337) {
    *rowStep = -1;
    *columnStep = -1;
  } else {
    *columnStep = -1;
  }
}

double ObjectStepDegrees(double distance, bool diagonal, std::uint32_t milliseconds, double speed) {
  const double d = diagonal ? distance * 10000 / 14142 : distance;
  double step = d * milliseconds * 0.1666667;
  if (speed != 1) step *= speed;
  return step > 34 ? 34 : step;
}

int CentreRuleSlope(int dx, int dy) {
  if (dx == 0) return dy > 0 ? 2 : -2;
  const std::int64_t s = static_cast<std::int64_t>(dy) * 65536 / (dx < 0 ? -dx : dx);
  if (s < -113511) return -2;
  if (s <= -37838) return -1;
  if (s <= 37837) return 0;
  if (s <= 113511) return 1;
  return 2;
}

int DragOffset(int offset, int limit) {
  const int magnitude = offset < 0 ? -offset : offset;
  if (magnitude < 5) return 0;
  if (magnitude <= 15) return offset < 0 ? -16 : 16;
  if (magnitude > limit) return offset < 0 ? -limit : limit;
  return offset;
}

int BuildBankTable(int rowBytes, int rows, int bytesPerPixel, std::int16_t* table, int bytes) {
  int entries = 0;
  const int capacity = bytes / 2;
  std::int64_t offset = 0;
  for (int row = 0; row < rows && bytesPerPixel > 0; ++row) {
    if (offset + rowBytes >= 65536) {  // a row that ends on the boundary counts too
      if ((capacity - entries) * 2 < 4 + 8 || entries + 3 > capacity) break;
      table[entries++] = static_cast<std::int16_t>(row);
      table[entries++] = static_cast<std::int16_t>(((65536 - offset) % 65536) / bytesPerPixel);
    }
    offset = (offset + rowBytes) % 65536;
  }
  if (entries < capacity) table[entries++] = static_cast<std::int16_t>(-1);
  return entries;
}

}  // namespace pano
