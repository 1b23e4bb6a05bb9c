#include "warp_engine.h"

#include <cmath>
#include <cstring>

#include "pano_host.h"
#include "pano_types.h"
#include "warp_runs.h"

namespace pano {
namespace {

constexpr double kQuarterPi = 0.78539815;
constexpr double kNarrow = 0.0001;

std::int32_t DefaultOutputMode() { return kModeDib; }

double ImageTop(const WarpEngine* e) {
  const double c = e->imageTiltCentre, h = e->imageHalfAngle;
  return c == 0 ? h : c + (h - std::fabs(c));
}
double ImageBottom(const WarpEngine* e) {
  const double c = e->imageTiltCentre, h = e->imageHalfAngle;
  return c == 0 ? -h : c + (std::fabs(c) - h);
}
double UsableTop(const WarpEngine* e) { return std::fmin(ImageTop(e) - kNarrow, e->tiltTop); }
double UsableBottom(const WarpEngine* e) { return std::fmax(ImageBottom(e) + kNarrow, e->tiltBottom); }

int PixelBytes(int format) { return format == kFormat24 ? 3 : 2; }

std::uint32_t FrameRowBytes(int format, int width, int alignment) {
  const std::uint32_t a = alignment > 0 ? static_cast<std::uint32_t>(alignment) : 4;
  return (static_cast<std::uint32_t>(PixelBytes(format) * width) + a - 1) / a * a;
}

// The column and row tables for a width and height, made before the old
// ones go: without memory for them the engine keeps the tables it had, and
// is failed only when it had none.
bool AllocateTables(WarpEngine* e, int width, int height) {
  auto* scale = static_cast<std::uint32_t*>(HostAlloc(4 * (width > 0 ? width : 1)));
  auto* sourceColumn = static_cast<std::uint32_t*>(HostAlloc(4 * (width > 0 ? width : 1)));
  auto* rowTable = static_cast<std::uint32_t*>(HostAlloc(4 * (height > 0 ? height : 1)));
  if (scale == nullptr || sourceColumn == nullptr || rowTable == nullptr) {
    HostFree(scale);
    HostFree(sourceColumn);
    HostFree(rowTable);
    if (e->scale == nullptr || e->sourceColumn == nullptr || e->rowTable == nullptr) e->failed = true;
    return false;
  }
  HostFree(e->scale);
  HostFree(e->sourceColumn);
  HostFree(e->rowTable);
  e->scale = scale;
  e->sourceColumn = sourceColumn;
  e->rowTable = rowTable;
  e->columnsDirty = e->rowsDirty = 1;
  return true;
}

void ComputeImageGeometry(WarpEngine* e) {
  if (e->canvas == nullptr) return;
  const double total = static_cast<double>(WarpTotalLines(e));
  const double range = e->imagePanEnd - e->imagePanStart;
  e->circumference = range > 0 ? total / range * kTwoPi : total;
  const double top = ImageTop(e), bottom = ImageBottom(e);
  const double imagePixels = static_cast<double>(e->canvas->tilesPerRow) * e->canvas->tileWidth;
  const double span = std::tan(top) - std::tan(bottom);
  e->projectedHeight = span > 0 ? std::tan(e->imageHalfAngle) / span * imagePixels * 2 : imagePixels;
  e->tanHalfAngle = std::tan(e->imageHalfAngle);
}

void LimitZoom(WarpEngine* e) {
  const double h = e->imageHalfAngle, c = e->imageTiltCentre;
  double largest = std::fmin(e->maxHalfFov, h - std::fabs(c) - kNarrow);
  largest = std::fmin(largest, (UsableTop(e) - UsableBottom(e)) / 2);
  if (e->canvas != nullptr) {
    const double heldHeight = TileCanvasHeldHeight(e->canvas);
    const double ph = e->projectedHeight;
    if (ph > 2 * heldHeight) {
      largest = std::fmin(largest, (h - std::atan(std::tan(h) / ph * (ph - 2 * heldHeight))) / 2);
    }
  }
  e->clampFlags &= ~(kClampZoomMin | kClampZoomMax);
  if (e->halfFov <= e->minHalfFov) {
    e->halfFov = e->minHalfFov;
    e->clampFlags |= kClampZoomMin;
  } else if (e->halfFov >= largest) {
    e->halfFov = largest;
    e->clampFlags |= kClampZoomMax;
  }
  const double w = e->width, hgt = e->height > 0 ? e->height : 1;
  if (e->mode == 0) {
    e->halfHorizontalFov = w / hgt * e->pixelAspect * e->halfFov;
  } else {
    e->halfHorizontalFov = std::atan(std::tan(e->halfFov) / hgt * w * e->pixelAspect);
  }
  // The widest half-angle the held lines allow.
  double coverage = kTwoPi;
  const bool allRows = e->canvas != nullptr && e->canvas->heldRows >= e->canvas->tileRows;
  if (!(e->fullCircle && allRows)) {
    const double held = e->canvas != nullptr ? TileCanvasHeldWidth(e->canvas) : 0;
    coverage = e->circumference > 0 ? held / e->circumference * kPi : 0;
    coverage = std::fmin(coverage, (e->imagePanEnd - e->imagePanStart) / 2);
  }
  e->coverage = coverage;
  const double widest = std::fmin(coverage - 0.05, e->panEnd - e->panStart);
  if (e->halfHorizontalFov > widest && widest > 0) {
    e->halfHorizontalFov = widest;
    e->clampFlags |= kClampZoomMax;
    if (e->mode == 0) {
      e->halfFov = widest * hgt / (w * e->pixelAspect);
    } else {
      e->halfFov = std::atan(std::tan(widest) * hgt / (w * e->pixelAspect));
    }
  }
  if (coverage < kPi - 0.001) {
    double cosine = std::tan(e->halfHorizontalFov) * std::cos(e->halfFov) / std::tan(coverage);
    if (cosine > 1) cosine = 1;
    if (cosine < -1) cosine = -1;
    e->tiltLimit = std::acos(cosine);
  } else {
    e->tiltLimit = kPi / 2;
  }
  if (e->halfFov != e->previousHalfFov) e->columnsDirty = 1;
  if (e->halfFov != e->previousHalfFov || e->tilt != e->previousTilt) e->rowsDirty = 1;
}

void LimitTilt(WarpEngine* e) {
  const double before = e->tilt;
  const double v = e->halfFov;
  e->clampFlags &= ~(kClampTiltTop | kClampTiltBottom);
  const double top = UsableTop(e), bottom = UsableBottom(e);
  if (e->tilt + v > top) {
    e->tilt = top - v;
    e->clampFlags |= kClampTiltTop;
  } else if (e->tilt - v < bottom) {
    e->tilt = bottom + v;
    e->clampFlags |= kClampTiltBottom;
  }
  if (e->tilt != 0 && e->coverage < 3.1405926) {
    if (e->tilt > e->tiltLimit - v) {
      e->tilt = e->tiltLimit - v;
      e->clampFlags |= kClampTiltTop;
    }
    if (e->tilt < v - e->tiltLimit) {
      e->tilt = v - e->tiltLimit;
      e->clampFlags |= kClampTiltBottom;
    }
  }
  e->tanTop = std::tan(e->tilt + v);
  e->tanBottom = std::tan(e->tilt - v);
  // The column tables depend on the tilt in mode 2: a tilt that differs from
  // the one before the change (not only one the limits moved) makes them dirty.
  if (e->mode == 2 && (e->tilt != before || e->tilt != e->previousTilt)) e->columnsDirty = e->rowsDirty = 1;
}

void LimitPan(WarpEngine* e) {
  e->clampFlags &= ~(kClampPanEnd | kClampPanStart);
  const double total = WarpTotalLines(e);
  if (e->fullCircle) {
    if (total > 0) {
      e->pan = std::fmod(e->pan, total);
      if (e->pan < 0) e->pan += total;
    }
    return;
  }
  if (e->columnsDirty) WarpBuildColumnTables(e);
  const double start = WarpLineOfAngle(e, e->panStart) + e->halfViewWidth;
  const double end = WarpLineOfAngle(e, e->panEnd) - e->halfViewWidth;
  if (e->pan <= start) {
    e->pan = start + 1;
    e->clampFlags |= kClampPanStart;
  } else if (e->pan >= end) {
    e->pan = end - 1;
    e->clampFlags |= kClampPanEnd;
  }
}

void LimitAll(WarpEngine* e) {
  LimitZoom(e);
  LimitTilt(e);
  LimitPan(e);
}

bool AllocateFrame(std::uint8_t** frame, std::uint32_t rowBytes, int height) {
  HostFree(*frame);
  *frame = static_cast<std::uint8_t*>(
      HostAlloc(static_cast<std::int32_t>(rowBytes * static_cast<std::uint32_t>(height) + 16)));
  return *frame != nullptr;
}

}  // namespace

WarpPresenter& Presenter() {
  static WarpPresenter presenter;
  return presenter;
}

int WarpTotalLines(const WarpEngine* e) {
  return e->canvas == nullptr ? 0 : e->canvas->tileRows * e->canvas->linesPerTile;
}

double WarpLineOfAngle(const WarpEngine* e, double angle) {
  return (angle - e->imagePanStart) / kTwoPi * e->circumference;
}

double WarpAngleOfLine(const WarpEngine* e, double line) {
  return e->circumference > 0 ? line * kTwoPi / e->circumference + e->imagePanStart : e->imagePanStart;
}

void WarpInit(WarpEngine* e, int width, int height, int format, int alignment) {
  std::memset(e, 0, sizeof *e);
  e->quality = 768;
  e->pixelAspect = 1.0;
  e->imageHalfAngle = kQuarterPi;
  e->imagePanStart = 0;
  e->imagePanEnd = kTwoPi;
  // A side past 16 bits would wrap in the fields below and every table sized
  // from them: such an engine draws nothing.
  if (!ViewSideFits(width) || !ViewSideFits(height)) {
    e->failed = true;
    return;
  }
  e->width = static_cast<std::int16_t>(width);
  e->height = static_cast<std::int16_t>(height);
  e->alignment = static_cast<std::int16_t>(alignment);
  e->minHalfFov = kDegToRad;
  e->maxHalfFov = kPi / 2;
  e->mode = 2;
  e->view = kn::KnRect{0, 0, width, height};
  e->windowRect = e->view;
  WarpSetPanRange(e, 0, kTwoPi, kPi / 2, -kPi / 2);
  e->format = 0;
  WarpSelectLoops(e, format);
  e->outputMode = Presenter().outputMode != nullptr ? Presenter().outputMode() : DefaultOutputMode();
  AllocateTables(e, e->width, e->height);
}

void WarpFree(WarpEngine* e) {
  HostFree(e->columnFrame);
  HostFree(e->correctedFrame);
  HostFree(e->strip);
  e->strip = nullptr;
  HostFree(e->scratch);
  HostFree(e->scale);
  HostFree(e->sourceColumn);
  HostFree(e->rowTable);
  e->columnFrame = e->correctedFrame = e->scratch = nullptr;
  e->scale = e->sourceColumn = e->rowTable = nullptr;
}

void WarpSelectLoops(WarpEngine* e, int format) {
  if (format == e->format) return;
  if (!LoopsForFormat(format, &e->loops)) {
    e->failed = true;
    return;
  }
  e->format = static_cast<std::int16_t>(format);
  e->reallocColumnFrame = e->reallocCorrectedFrame = true;
  e->columnsDirty = e->rowsDirty = 1;
}

void WarpSetWindow(WarpEngine* e, std::intptr_t window, const kn::KnRect* rect) {
  e->window = window;
  if (rect != nullptr) e->windowRect = *rect;
}

bool WarpResize(WarpEngine* e, int width, int height) {
  if (!ViewSideFits(width) || !ViewSideFits(height) || !AllocateTables(e, width, height)) return false;
  e->width = static_cast<std::int16_t>(width);
  e->height = static_cast<std::int16_t>(height);
  e->view = kn::KnRect{0, 0, width, height};
  e->reallocColumnFrame = e->reallocCorrectedFrame = true;
  LimitAll(e);
  return true;
}

void WarpAttachCanvas(WarpEngine* e, TileCanvas* canvas) {
  HostFree(e->scratch);
  const int pixels = canvas->tilesPerRow * canvas->tileWidth;
  const int lines = canvas->tileRows * canvas->linesPerTile;
  e->scratch = static_cast<std::uint8_t*>(HostAlloc((canvas->depth / 8) * ((pixels > lines ? pixels : lines) + 2)));
  const double oldCircumference = e->circumference;
  e->canvas = canvas;
  const int format =
      canvas->depth == 16 ? (e->format == kFormat565 ? int{kFormat565} : int{kFormat555}) : canvas->depth;
  WarpSelectLoops(e, format);
  ComputeImageGeometry(e);
  if (oldCircumference > 0) e->pan = e->pan * e->circumference / oldCircumference;
  LimitAll(e);
}

void WarpSetImageLimits(WarpEngine* e, double panStart, double panEnd, double tiltTop, double tiltBottom) {
  if (e->canvas == nullptr || !(tiltBottom < tiltTop) || !(panEnd > panStart)) return;
  e->imageHalfAngle = std::fmax(std::fabs(tiltTop), std::fabs(tiltBottom));
  e->imageTiltCentre = (tiltTop + tiltBottom) / 2;
  e->imagePanStart = panStart;
  e->imagePanEnd = panEnd;
  e->pixelAspect = 1.0;
  ComputeImageGeometry(e);
  e->panStart = std::fmax(e->panStart, panStart);
  e->panEnd = std::fmin(e->panEnd, panEnd);
  e->tiltTop = std::fmin(e->tiltTop, ImageTop(e));
  e->tiltBottom = std::fmax(e->tiltBottom, ImageBottom(e));
  e->fullCircle = std::fabs(e->panEnd - e->panStart - kTwoPi) < 0.0001;
  e->hasImageLimits = true;
}

void WarpSetPanRange(WarpEngine* e, double panStart, double panEnd, double tiltA, double tiltB) {
  e->tiltTop = std::fmax(tiltA, tiltB);
  e->tiltBottom = std::fmin(tiltA, tiltB);
  if (!std::isfinite(panStart) || !std::isfinite(panEnd)) return;
  for (int turns = 0; !(panStart < panEnd) && turns < 64; ++turns) panEnd += kTwoPi;
  e->panStart = panStart;
  e->panEnd = panEnd;
  e->fullCircle = std::fabs(panEnd - panStart - kTwoPi) < 0.0001;
}

void WarpSetMinZoom(WarpEngine* e, double halfAngle) {
  e->minHalfFov = std::fmax(halfAngle, kDegToRad);
  e->minHalfFov = std::fmin(e->minHalfFov, e->maxHalfFov);
}

void WarpSetMaxZoom(WarpEngine* e, double halfAngle) { e->maxHalfFov = std::fmax(halfAngle, e->minHalfFov); }

void WarpSetZoom(WarpEngine* e, double fieldOfView) {
  e->previousHalfFov = e->halfFov;
  e->previousTilt = e->tilt;
  e->halfFov = fieldOfView / 2;
  LimitAll(e);
}

void WarpSetTilt(WarpEngine* e, double tilt) {
  if (tilt == e->tilt) return;
  e->previousTilt = e->lastTiltSet;
  e->tilt = tilt;
  e->lastTiltSet = tilt;
  LimitTilt(e);
}

void WarpSetPan(WarpEngine* e, double angle) {
  e->previousPan = e->pan;
  e->pan = WarpLineOfAngle(e, angle);
  LimitPan(e);
}

double WarpGetPan(const WarpEngine* e) { return WarpAngleOfLine(e, e->pan); }

void WarpSetQuality(WarpEngine* e, std::uint32_t quality) { e->quality = quality; }

void WarpSetMode(WarpEngine* e, std::uint32_t mode) {
  if (mode == e->mode || mode > 2) return;
  e->mode = mode;
  LimitAll(e);
  e->columnsDirty = e->rowsDirty = 1;
}

std::uint32_t WarpGetClampFlags(const WarpEngine* e) { return e->clampFlags; }

const std::uint8_t* WarpRenderFrame(WarpEngine* e, std::uint32_t* rowBytes) {
  if (e->canvas == nullptr || e->failed || e->width <= 0 || e->height <= 0) return nullptr;
  e->canvasPixels = TileCanvasPixels(e->canvas);
  e->canvasLineBytes = static_cast<std::uint32_t>(e->canvas->lineBytes);
  if (e->reallocColumnFrame || e->columnFrame == nullptr) {
    e->columnRowBytes = FrameRowBytes(e->format, e->width, e->alignment);
    if (!AllocateFrame(&e->columnFrame, e->columnRowBytes, e->height)) return nullptr;
    e->reallocColumnFrame = false;
    // Without its strip the column pass keeps to the roles.
    HostFree(e->strip);
    e->strip = static_cast<std::uint8_t*>(HostAlloc(kStripColumns * (e->format == kFormat24 ? 3 : 2) * e->height + 16));
  }
  WarpRenderColumns(e);
  if (e->mode != 2 || e->tilt == 0) {
    *rowBytes = e->columnRowBytes;
    return e->columnFrame;
  }
  if (e->reallocCorrectedFrame || e->correctedFrame == nullptr) {
    e->correctedRowBytes = FrameRowBytes(e->format, e->width, e->alignment);
    if (!AllocateFrame(&e->correctedFrame, e->correctedRowBytes, e->height)) return nullptr;
    e->reallocCorrectedFrame = false;
  }
  WarpRenderRows(e);
  *rowBytes = e->correctedRowBytes;
  return e->correctedFrame;
}

void WarpDraw(WarpEngine* e) {
  if (e->window == 0) return;
  WarpPresenter& presenter = Presenter();
  if (presenter.visible != nullptr && !presenter.visible(e->window)) return;
  std::uint32_t rowBytes = 0;
  const std::uint8_t* frame = WarpRenderFrame(e, &rowBytes);
  if (frame == nullptr || presenter.present == nullptr) return;
  presenter.present(e->window, e->windowRect, frame, e->format, e->width, e->height,
                    static_cast<std::int32_t>(rowBytes));
}

namespace {
// What comes before drawing, for an update and an animation alike: without a
// window nothing; a view without a field of view gets a quarter turn, an
// engine without image limits takes them from its image half-angle, centre
// and pan range, and the tables are made.
bool PrepareToDraw(WarpEngine* e) {
  if (e->window == 0) return false;
  if (e->halfFov == 0) WarpSetZoom(e, kQuarterPi);
  if (!e->hasImageLimits) WarpSetImageLimits(e, e->imagePanStart, e->imagePanEnd, ImageTop(e), ImageBottom(e));
  if (e->scale == nullptr || e->sourceColumn == nullptr || e->rowTable == nullptr)
    AllocateTables(e, e->width, e->height);
  return true;
}
}  // namespace

void WarpUpdate(WarpEngine* e) {
  if (PrepareToDraw(e)) WarpDraw(e);
}

namespace {
double PanDifference(const WarpEngine* e, bool fullCircle) {
  const double q0 = e->previousPan, q1 = e->pan;
  double difference = q1 - q0;
  if (fullCircle) {
    const double through = q1 >= q0 ? q1 - e->circumference - q0 : q1 + e->circumference - q0;
    if (std::fabs(through) <= std::fabs(difference)) difference = through;
  }
  return difference;
}
}  // namespace

int WarpTransitionSteps(WarpEngine* e, double stepAngle, bool fullCircle) {
  if (stepAngle <= 0) return 1;
  const double dv = std::fabs(e->halfFov - e->previousHalfFov) / (stepAngle * kPi);
  const double dt = std::fabs(e->tilt - e->previousTilt) / (stepAngle * kPi);
  const double dp = e->circumference > 0 ? std::fabs(PanDifference(e, fullCircle)) / (stepAngle * e->circumference) : 0;
  const double most = std::fmax(dv, std::fmax(dt, dp));
  const int steps = static_cast<int>(most + 0.5);
  return steps < 1 ? 1 : steps;
}

void WarpAnimateTo(WarpEngine* e, int steps, bool fullCircle) {
  if (steps <= 0) return;
  PrepareToDraw(e);
  const double v0 = e->previousHalfFov, t0 = e->previousTilt, p0 = e->previousPan;
  const double dv = (e->halfFov - v0) / steps;
  const double dt = (e->tilt - t0) / steps;
  const double dp = PanDifference(e, fullCircle) / steps;
  for (int k = 1; k <= steps; ++k) {
    e->halfFov = v0 + k * dv;
    e->tilt = t0 + k * dt;
    e->pan = p0 + k * dp;
    LimitAll(e);
    WarpDraw(e);
  }
}

void WarpPointToSource(WarpEngine* e, int x, int y, double* line, double* row) {
  const int w = e->width, h = e->height;
  const std::int64_t rw = std::int64_t{e->windowRect.right} - e->windowRect.left;
  const std::int64_t rh = std::int64_t{e->windowRect.bottom} - e->windowRect.top;
  if (rw > 0 && rw != w) x = Held32((std::int64_t{x} * ((std::int64_t{w} << 16) / rw)) >> 16);
  if (rh > 0 && rh != h) y = Held32((std::int64_t{y} * ((std::int64_t{h} << 16) / rh)) >> 16);
  if (x < 0) x = 0;
  if (x > w - 1) x = w - 1;
  if (y < 0) y = 0;
  if (y > h - 1) y = h - 1;
  if (e->columnsDirty) WarpBuildColumnTables(e);
  if (e->mode == 2 && std::fabs(e->tilt) > 0.001 && w > 1) {
    if (e->rowsDirty) WarpBuildRowTable(e);
    const std::int64_t entry = e->rowTable[y];
    const std::int64_t d = e->tilt > 0 ? entry : std::int64_t{h} * 1024 - entry;
    const std::int64_t inset = static_cast<std::int64_t>(e->rowSlope * 1024) * d / 1024;
    const std::int64_t position = inset + (std::int64_t{w} * 1024 - 2 * inset) / (w - 1) * x;
    int column = static_cast<int>(position >> 10) + ((position & 0x200) != 0 ? 1 : 0);
    int newRow = static_cast<int>(entry / 1024) + ((entry & 0x200) != 0 ? 1 : 0);
    x = column < 0 ? 0 : column > w - 1 ? w - 1 : column;
    y = newRow < 0 ? 0 : newRow > h - 1 ? h - 1 : newRow;
  }
  const std::uint32_t source = e->sourceColumn[x];
  double q = e->circumference - e->halfViewWidth - e->pan +
             static_cast<double>((source >> 10) + ((source & 0x200) != 0 ? 1 : 0));
  if (e->circumference > 0) {
    q = std::fmod(q, e->circumference);
    if (q < 0) q += e->circumference;
  }
  // One turn less q: the stored lines when the panorama is a full circle, and
  // for a partial one still the line the column shows (p + half width - column).
  *line = e->circumference - q;
  const double scale = e->scale[x];
  double top = e->verticalOrigin - e->verticalSlope * scale - e->verticalOffset;
  if (top < 0) top = 0;
  const double position = top + y * (e->verticalStep * scale / 1024);
  *row = std::floor(position / 1024) + ((static_cast<std::int64_t>(position) & 0x200) != 0 ? 1 : 0);
}

void WarpSourceToPoint(const WarpEngine* e, double line, double row, int* x, int* y) {
  const double u = WarpGetPan(e) - line * kTwoPi / (e->circumference > 0 ? e->circumference : 1);
  const double ph = e->projectedHeight > 0 ? e->projectedHeight : 1;
  const double el = std::atan((1 - 2 * row / ph) / std::cos(u) * std::tan(e->imageHalfAngle));
  const double d = std::tan(e->tilt - el);
  const double tv = std::tan(e->halfFov);
  const double hx =
      std::tan(u) * (std::cos(e->tilt) + std::sin(e->tilt) * d) / (tv * e->width / (e->height > 0 ? e->height : 1));
  const double hy = d / tv;
  // A point near a quarter turn from the pan lies far outside the window
  // (tan grows without bound): computed in doubles and held at an int's ends.
  const kn::KnRect& r = e->windowRect;
  const double left = r.left, top = r.top;
  *x = Whole32(left + (r.right - left) * (hx / 2 + 0.5));
  *y = Whole32(top + (r.bottom - top) * (hy / 2 + 0.5));
}

}  // namespace pano
