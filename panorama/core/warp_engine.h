// The cylindrical warp engine: turns one node's cylindrical picture (held by
// the tile canvas) into the flat view for a pan, tilt and field of view,
// keeps the view inside the picture's limits, maps between window points,
// source pixels and angles, and animates moves. Angles are radians inside.
#pragma once

#include <cstdint>

#include "kn_api.h"
#include "tile_canvas.h"
#include "warp_loops.h"

namespace pano {

// Clamp flags.
enum : std::uint32_t {
  kClampPanEnd = 1,
  kClampPanStart = 2,
  kClampTiltTop = 4,
  kClampTiltBottom = 8,
  kClampZoomMin = 0x10,
  kClampZoomMax = 0x20,
};

// Where frames go: screen output in the DLL, a capture in tests.
struct WarpPresenter {
  bool (*visible)(std::intptr_t window) = nullptr;
  // Pixels rows of rowBytes; depth 16 (5-5-5 or 5-6-5 as the format says) or 24.
  std::int32_t (*present)(std::intptr_t window, const kn::KnRect& windowRect, const std::uint8_t* pixels, int format,
                          int width, int height, std::int32_t rowBytes) = nullptr;
  std::int32_t (*outputMode)() = nullptr;
};
WarpPresenter& Presenter();

struct WarpEngine {
  std::uint32_t quality;
  TileCanvas* canvas;
  double circumference, projectedHeight, pixelAspect;
  double imageHalfAngle, imageTiltCentre, imagePanStart, imagePanEnd;
  std::int16_t width, height;
  std::uint32_t columnRowBytes, correctedRowBytes;
  const std::uint8_t* canvasPixels;
  std::uint32_t canvasLineBytes;
  std::uint32_t clampFlags;
  double halfFov, tilt, pan;  // v, t, p (p: the source line at the view's centre)
  double tiltTop, tiltBottom, panStart, panEnd, minHalfFov, maxHalfFov;
  double previousHalfFov, previousTilt, lastTiltSet, previousPan;
  double halfHorizontalFov;  // a
  double tanHalfAngle, tanTop, tanBottom;
  double coverage;  // M, the widest half-angle the held lines allow
  double tiltLimit;
  std::int32_t verticalStep, verticalOrigin, verticalOffset, verticalSlope;
  std::int16_t columnsDirty, rowsDirty;
  std::uint32_t* scale;
  std::uint32_t* sourceColumn;
  std::uint32_t* rowTable;
  std::uint8_t* scratch;
  std::int32_t halfViewWidth;
  kn::KnRect view, windowRect;
  double rowSlope;
  bool fullCircle;
  bool reallocColumnFrame, reallocCorrectedFrame;
  std::uint32_t mode;  // 0 flat, 1 cylindrical, 2 cylindrical with tilt correction
  std::int16_t format;
  std::uint8_t* columnFrame;
  std::uint8_t* correctedFrame;
  std::uint8_t* strip;  // kStripColumns columns of H pixels: the column pass's vector runs draw into it
  std::intptr_t window;
  std::int16_t alignment;
  LineLoops loops;
  std::int32_t outputMode;
  bool failed;
  bool hasImageLimits;
  int fillArea[4];  // the view's tiles at the last draw: top pixel, left line, bottom pixel, right line
};

// An engine of a width and height of 1..32767 pixels; another size leaves it failed.
void WarpInit(WarpEngine* e, int width, int height, int format, int alignment);
void WarpFree(WarpEngine* e);
void WarpSelectLoops(WarpEngine* e, int format);
void WarpSetWindow(WarpEngine* e, std::intptr_t window, const kn::KnRect* rect);
// False, the engine unchanged, for a side outside 1..32767 or when its new
// tables find no memory.
bool WarpResize(WarpEngine* e, int width, int height);
void WarpAttachCanvas(WarpEngine* e, TileCanvas* canvas);
void WarpSetImageLimits(WarpEngine* e, double panStart, double panEnd, double tiltTop, double tiltBottom);
void WarpSetPanRange(WarpEngine* e, double panStart, double panEnd, double tiltA, double tiltB);
void WarpSetMinZoom(WarpEngine* e, double halfAngle);
void WarpSetMaxZoom(WarpEngine* e, double halfAngle);
void WarpSetZoom(WarpEngine* e, double fieldOfView);
void WarpSetTilt(WarpEngine* e, double tilt);
void WarpSetPan(WarpEngine* e, double angle);
double WarpGetPan(const WarpEngine* e);
void WarpSetQuality(WarpEngine* e, std::uint32_t quality);
void WarpSetMode(WarpEngine* e, std::uint32_t mode);
void WarpDraw(WarpEngine* e);
void WarpUpdate(WarpEngine* e);
int WarpTransitionSteps(WarpEngine* e, double stepAngle, bool fullCircle);
void WarpAnimateTo(WarpEngine* e, int steps, bool fullCircle);
void WarpPointToSource(WarpEngine* e, int x, int y, double* line, double* row);
void WarpSourceToPoint(const WarpEngine* e, double line, double row, int* x, int* y);
std::uint32_t WarpGetClampFlags(const WarpEngine* e);

// The rendering passes.
void WarpBuildColumnTables(WarpEngine* e);
void WarpBuildRowTable(WarpEngine* e);
void WarpRenderColumns(WarpEngine* e);
void WarpRenderRows(WarpEngine* e);
// Renders one frame without presenting it; returns the frame (or null).
const std::uint8_t* WarpRenderFrame(WarpEngine* e, std::uint32_t* rowBytes);

// The source line of an angle and back.
double WarpLineOfAngle(const WarpEngine* e, double angle);
double WarpAngleOfLine(const WarpEngine* e, double line);
int WarpTotalLines(const WarpEngine* e);

}  // namespace pano
