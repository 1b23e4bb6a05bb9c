// The arithmetic of the two controllers, apart from their windows: the
// object movie's grid of viewpoints and its steps, the panorama controller's
// drag offsets and cursor index, and the screen's 64 KB bank table.
#pragma once

#include <cstdint>

namespace pano {

// The object movie's navigation record (angles in degrees).
struct ObjectNavigation {
  std::int16_t columns, rows, kept, loopCount, frameDuration, dragMode, loopSpeed;
  double fieldOfView, panStart, panEnd, tiltStart, tiltEnd, kept1, kept2;
};

// From the NAVG user data (at most 128 bytes, big-endian).
void ReadObjectNavigation(const std::uint8_t* data, std::int32_t size, ObjectNavigation* navigation);
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

// Drag offset on one axis: 0 below 5 pixels, 16 from 5 to 15, else limited.
int DragOffset(int offset, int limit);

// Bank table: int16 pairs (row, column where the row enters the next 64 KB
// bank) ended by 0xFFFF, at most `bytes` bytes. Returns the entries written.
int BuildBankTable(int rowBytes, int rows, int bytesPerPixel, std::int16_t* table, int bytes);

}  // namespace pano
