#include "controller_math.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "pano_host.h"
#include "pano_types.h"

namespace pano {
namespace {

double FixedDegrees(const std::uint8_t* p) { return Be32s(p) / 65536.0; }

bool FullTurn(const ObjectNavigation& n) { return n.panEnd - n.panStart == 360.0; }

// A value kept within two limits, whichever of them is the larger.
double Between(double value, double a, double b) {
  return std::fmin(std::fmax(value, std::fmin(a, b)), std::fmax(a, b));
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// A column of the grid: around a full turn it wraps, otherwise it stops at
// the first or last.
int GridColumn(const ObjectNavigation& n, int column) {
  if (!FullTurn(n)) return Clamp(column, 0, n.columns - 1);
  column %= n.columns;
  return column < 0 ? column + n.columns : column;
}

}  // namespace

void ReadObjectNavigation(const std::uint8_t* data, std::int32_t size, ObjectNavigation* n) {
  std::uint8_t block[128] = {};
  std::memcpy(block, data, static_cast<std::size_t>(size < 0 ? 0 : size > 128 ? 128 : size));
  // The record holds the fields in the struct's order: seven 16-bit words
  // from +2, then seven 16.16 angles from +16.
  std::int16_t* const words[] = {&n->columns,       &n->rows,     &n->kept,     &n->loopCount,
                                 &n->frameDuration, &n->dragMode, &n->loopSpeed};
  for (int i = 0; i < 7; ++i) *words[i] = Be16s(block + 2 + 2 * i);
  double* const angles[] = {&n->fieldOfView, &n->panStart, &n->panEnd, &n->tiltStart,
                            &n->tiltEnd,     &n->kept1,    &n->kept2};
  for (int i = 0; i < 7; ++i) *angles[i] = FixedDegrees(block + 16 + 4 * i);
  if (n->loopCount < 1) {
    n->loopCount = 1;
    n->loopSpeed = 0;
  }
  if (n->fieldOfView <= 0) n->fieldOfView = 180.0;
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
  if (!std::isfinite(*pan)) *pan = n.panStart;
  if (FullTurn(n)) {
    // Whole turns added or taken away at once: a drag can move the pan by
    // thousands of turns (field of view over the box side, per pixel). One
    // below the start comes up into [start, end); one past the end comes
    // down into (start, end].
    if (*pan < n.panStart || *pan > n.panEnd) {
      double turn = std::fmod(*pan - n.panStart, 360.0);
      if (turn < 0) turn += 360;
      *pan = turn == 0 && *pan > n.panEnd ? n.panEnd : n.panStart + turn;
    }
  } else {
    *pan = Between(*pan, n.panStart, n.panEnd);
  }
  *tilt = Between(*tilt, n.tiltStart, n.tiltEnd);
}

void ObjectColumnRowToAngles(const ObjectNavigation& n, int column, int row, double* pan, double* tilt) {
  const int c = n.columns, r = n.rows;
  const double range = n.panEnd - n.panStart;
  column = GridColumn(n, column);
  row = Clamp(row, 0, r - 1);
  *pan = c == 1 ? n.panStart : n.panStart + column * (FullTurn(n) ? range / c : range / (c - 1));
  *tilt = r == 1 ? n.tiltStart : n.tiltEnd - row * (n.tiltEnd - n.tiltStart) / (r - 1);
}

void ObjectAnglesToColumnRow(const ObjectNavigation& n, double pan, double tilt, int* column, int* row) {
  const int c = n.columns, r = n.rows;
  const double range = n.panEnd - n.panStart;
  const double perColumn = FullTurn(n) ? range / c : c > 1 ? range / (c - 1) : 0;
  // The grid positions are worked in doubles, brought within a turn there
  // (GridColumn wraps what is left), and held at an int's ends before they
  // become ints.
  double place = perColumn != 0 ? std::floor((pan - n.panStart) / perColumn + 0.5) : 0;
  if (FullTurn(n)) place = std::fmod(place, c);
  *column = GridColumn(n, Whole32(place));
  const double perRow = r > 1 ? (n.tiltEnd - n.tiltStart) / (r - 1) : 0;
  *row = Clamp(perRow != 0 ? Whole32(std::floor((n.tiltEnd - tilt) / perRow + 0.5)) : 0, 0, r - 1);
}

std::int32_t ObjectFrameTime(const ObjectNavigation& n, int column, int row, int loopFrame) {
  // The record's 16-bit grid, loop and duration can multiply past 32 bits: a
  // time beyond the movie's is held at the end of the range.
  const std::int64_t frame = std::int64_t{n.loopCount} * (std::int64_t{row} * n.columns + column) + loopFrame;
  const std::int64_t time = n.frameDuration * frame;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(time, INT32_MIN, INT32_MAX));
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
