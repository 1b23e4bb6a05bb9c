#include "controller_math.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
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
  HoldObjectNavigation(n);
}

void HoldObjectNavigation(ObjectNavigation* n) {
  if (n->loopCount < 1) {
    n->loopCount = 1;
    n->loopSpeed = 0;
  }
  if (!(n->fieldOfView > 0) || !std::isfinite(n->fieldOfView)) n->fieldOfView = 180.0;
  if (n->columns < 1) n->columns = 1;  // a grid needs at least one viewpoint
  if (n->rows < 1) n->rows = 1;
  const auto range = [](double start, double end) { return std::isfinite(end - start); };
  if (!range(n->panStart, n->panEnd)) {
    n->panStart = 0;
    n->panEnd = 360;
  }
  if (!range(n->tiltStart, n->tiltEnd)) {
    n->tiltStart = 0;
    n->tiltEnd = 20;
  }
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
  const std::int64_t s = static_cast<std::int64_t>(dy) * 65536 / (dx < 0 ? -std::int64_t{dx} : dx);
  if (s < -113511) return -2;
  if (s <= -37838) return -1;
  if (s <= 37837) return 0;
  if (s <= 113511) return 1;
  return 2;
}

int DragOffset(int offset, int limit) {
  const std::int64_t magnitude = offset < 0 ? -std::int64_t{offset} : offset;
  if (magnitude < 5) return 0;
  if (magnitude <= 15) return offset < 0 ? -16 : 16;
  if (magnitude > limit) return offset < 0 ? -limit : limit;
  return offset;
}

bool ObjectLoopStep(std::int32_t loopCount, std::int32_t speed, std::uint32_t now, std::uint32_t* lastLoop,
                    std::int32_t* loopFrame) {
  if (loopCount < 2) return false;
  const std::uint32_t elapsed = TicksSince(now, *lastLoop);
  std::uint32_t advance = 0;
  if (speed == 0) {
    advance = 1;
  } else if (speed > 0) {
    advance = elapsed / static_cast<std::uint32_t>(speed);
  } else if (elapsed > -std::int64_t{speed}) {
    advance = 1;
  }
  if (advance == 0) return false;
  // Days of the clock can be billions of frames: only the part of a loop is added.
  const std::int64_t frame = (std::int64_t{*loopFrame} % loopCount + std::int64_t{advance} % loopCount) % loopCount;
  *loopFrame = static_cast<std::int32_t>(frame < 0 ? frame + loopCount : frame);
  *lastLoop = now;
  return true;
}

bool ObjectCentreStep(const kn::KnRect& box, std::int32_t x, std::int32_t y, std::uint32_t now, std::uint32_t* lastStep,
                      ObjectStep* step) {
  const auto cx = static_cast<std::int32_t>((std::int64_t{box.left} + box.right) / 2);
  const auto cy = static_cast<std::int32_t>((std::int64_t{box.top} + box.bottom) / 2);
  const int dx = PointOffset(x, cx), dy = PointOffset(cy, y);
  if (dx > -60 && dx < 60 && dy > -60 && dy < 60) return false;  // the still box
  const int slope = CentreRuleSlope(dx, dy);
  const std::uint32_t elapsed = *lastStep == 0 ? 1 : TicksSince(now, *lastStep);
  *lastStep = now;
  const double distance = std::fabs(static_cast<double>(dx)) + std::fabs(static_cast<double>(dy));
  const double size = ObjectStepDegrees(distance, slope == 1 || slope == -1, elapsed, 1.0);
  step->pan = slope == 2 || slope == -2 ? 0 : dx > 0 ? size : -size;
  step->tilt = slope == 0 ? 0 : slope > 0 ? size : -size;
  step->direction = slope == 0 ? (dx > 0 ? 4 : 0) : slope > 0 ? 2 : 6;
  return true;
}

bool ObjectEdgeStep(const kn::KnRect& box, double fieldOfView, std::int32_t fromX, std::int32_t fromY, std::int32_t x,
                    std::int32_t y, bool shift, ObjectStep* step) {
  // The box less 22 pixels on every side.
  const std::int64_t side = std::min(std::int64_t{box.right} - box.left, std::int64_t{box.bottom} - box.top) - 44;
  const std::int64_t dx = std::int64_t{fromX} - x, dy = std::int64_t{fromY} - y;
  if (side <= 0 || (dx == 0 && dy == 0)) return false;
  const double s = fieldOfView / static_cast<double>(side);
  step->pan = static_cast<double>(dx) * s;
  step->tilt = static_cast<double>(-dy) * s;
  step->direction = 0;
  if (shift) {
    if (std::abs(dx) >= std::abs(dy))
      step->tilt = 0;
    else
      step->pan = 0;
  } else if (dx != 0) {
    const std::int64_t slope = std::abs(dy * 65536 / dx);
    if (slope <= 37837) step->tilt = 0;
    if (slope > 113511) step->pan = 0;
  } else {
    step->pan = 0;
  }
  return true;
}

std::int32_t PointOffset(std::int32_t point, std::int32_t origin) {
  const std::int64_t offset = std::int64_t{point} - origin;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(offset, -INT32_MAX, INT32_MAX));
}

std::int32_t AdjustBounds(const kn::KnRect& given, const kn::KnRect& own, std::intptr_t flags, kn::KnRect* result) {
  std::int64_t left = given.left, top = given.top, right = given.right, bottom = given.bottom;
  if ((flags & 2) == 0) {
    if (!ViewRectFits(own)) return kErrParam;
    std::int64_t w = std::int64_t{own.right} - own.left, h = std::int64_t{own.bottom} - own.top;
    const std::int64_t gw = right - left, gh = bottom - top;  // up to 2^32: the products stay below 2^48
    if (w > gw || h > gh) {
      // Cut evenly, keeping the proportions.
      if (gw * h < gh * w) {
        h = h * gw / w;
        w = gw;
      } else {
        w = w * gh / h;
        h = gh;
      }
    }
    if ((flags & 1) == 0) {
      left += (gw - w) / 2;
      top += (gh - h) / 2;
    }
    right = left + w;
    bottom = top + h;
  }
  const auto inInt = [](std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
  if (!inInt(left) || !inInt(top) || !inInt(right) || !inInt(bottom)) return kErrParam;
  const kn::KnRect adjusted{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                            static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
  if (!ViewRectFits(adjusted)) return kErrParam;
  *result = adjusted;
  return kOk;
}

std::int32_t PlaceView(std::int64_t x, std::int64_t y, const kn::KnRect& size, kn::KnRect* result) {
  if (!ViewRectFits(size) || x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return kErrParam;
  const std::int64_t right = x + (std::int64_t{size.right} - size.left);
  const std::int64_t bottom = y + (std::int64_t{size.bottom} - size.top);
  if (right > INT32_MAX || bottom > INT32_MAX) return kErrParam;
  *result = kn::KnRect{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), static_cast<std::int32_t>(right),
                       static_cast<std::int32_t>(bottom)};
  return kOk;
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
