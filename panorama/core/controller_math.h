// The arithmetic of the two controllers, apart from their windows: the
// object movie's grid of viewpoints and its steps, the panorama controller's
// drag offsets, bounds and hit-test points, the tick-count steps, and the
// screen's 64 KB bank table. Rectangles, points and times come from callers
// and the system clock as they are: nothing here overflows on any of them.
#pragma once

#include <cstdint>

#include "kn_api.h"

namespace pano {

// The object movie's navigation record (angles in degrees).
struct ObjectNavigation {
  std::int16_t columns, rows, kept, loopCount, frameDuration, dragMode, loopSpeed;
  double fieldOfView, panStart, panEnd, tiltStart, tiltEnd, kept1, kept2;
};

// From the NAVG user data (at most 128 bytes, big-endian).
void ReadObjectNavigation(const std::uint8_t* data, std::int32_t size, ObjectNavigation* navigation);
// Holds a record to what the grid's arithmetic needs, as a record read from
// the movie is held: a loop of at least one frame (and then no loop speed
// where it had none), a field of view of 180 where it is not above 0, at
// least one column and one row. A record a caller gives (action 10004) can
// also hold angles that are not numbers or so far apart that their range is
// not one: they are taken as 0 and 360 for the pan, 0 and 20 for the tilt.
void HoldObjectNavigation(ObjectNavigation* navigation);
// Defaults without NAVG: a = movie duration, b = frame count.
void DefaultObjectNavigation(std::int32_t a, std::int32_t b, ObjectNavigation* navigation);

void ClampObjectAngles(const ObjectNavigation& n, double* pan, double* tilt);
void ObjectColumnRowToAngles(const ObjectNavigation& n, int column, int row, double* pan, double* tilt);
void ObjectAnglesToColumnRow(const ObjectNavigation& n, double pan, double tilt, int* column, int* row);
std::int32_t ObjectFrameTime(const ObjectNavigation& n, int column, int row, int loopFrame);
// One grid step for a direction angle in degrees: column and row changes.
void ObjectDirectionStep(int degrees, int* columnStep, int* rowStep);
// The size of one drag step in degrees: distance d (pixels), t ms since the last step.
double ObjectStepDegrees(double distance, bool diagonal, std::uint32_t milliseconds, double speed);
// The centre rule's direction for an offset (dx right, dy up): 0 level, 1 diagonal
// above, 2 straight above, -1 diagonal below, -2 straight below.
int CentreRuleSlope(int dx, int dy);

// Milliseconds from one tick count to a later one: the count wraps after
// 2^32 ms (49.7 days), so the difference is taken unsigned.
inline std::uint32_t TicksSince(std::uint32_t now, std::uint32_t then) { return now - then; }

// The loop step of an object movie's viewpoint at tick `now`: speed > 0 moves
// one frame per `speed` ms since the last move, 0 one frame a step, < 0 one
// frame once more than -speed ms have passed. The frames moved are taken
// modulo the loop before they are added. True when the loop moved (the last
// move's tick is then `now`).
bool ObjectLoopStep(std::int32_t loopCount, std::int32_t speed, std::uint32_t now, std::uint32_t* lastLoop,
                    std::int32_t* loopFrame);

// One drag step of the object controller: the pan and tilt changes (degrees)
// and, for the centre rule, the cursor's direction (0 left, 2 up, 4 right, 6 down).
struct ObjectStep {
  double pan, tilt;
  int direction;
};
// The centre rule toward a point (client coordinates) in the movie's box:
// false inside the still box about its centre. The step's milliseconds come
// from the tick counts (a last step of 0 is the first of a press: 1 ms).
bool ObjectCentreStep(const kn::KnRect& box, std::int32_t x, std::int32_t y, std::uint32_t now, std::uint32_t* lastStep,
                      ObjectStep* step);
// The edge rule for a move from (fromX, fromY) to (x, y): the box's inset
// side spans the field of view. False when nothing moves.
bool ObjectEdgeStep(const kn::KnRect& box, double fieldOfView, std::int32_t fromX, std::int32_t fromY, std::int32_t x,
                    std::int32_t y, bool shift, ObjectStep* step);

// A point's offset from an origin, held within +-(2^31 - 1) so that its
// magnitude is an int too.
std::int32_t PointOffset(std::int32_t point, std::int32_t origin);

// The panorama controller's bounds: flag 2 takes the given rectangle as it
// is; otherwise the view keeps its own size (own), cut evenly keeping its
// proportions where the given one is smaller, and is centred in it (flag 1:
// at its top-left corner). kOk with the result, or kErrParam (the result
// untouched) when it is no rectangle a view can take (pano_types.h
// ViewRectFits).
std::int32_t AdjustBounds(const kn::KnRect& given, const kn::KnRect& own, std::intptr_t flags, kn::KnRect* result);
// A view of the given rectangle's size placed with its top-left corner at
// (x, y): kErrParam when its sides do not fit or it reaches past an int.
std::int32_t PlaceView(std::int64_t x, std::int64_t y, const kn::KnRect& size, kn::KnRect* result);

// Drag offset on one axis: 0 below 5 pixels, 16 from 5 to 15, else limited.
int DragOffset(int offset, int limit);

// Bank table: int16 pairs (row, column where the row enters the next 64 KB
// bank) ended by 0xFFFF, at most `bytes` bytes. Returns the entries written.
int BuildBankTable(int rowBytes, int rows, int bytesPerPixel, std::int16_t* table, int bytes);

}  // namespace pano
