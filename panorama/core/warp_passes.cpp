// The rendering passes of the warp engine: column and row tables, the column
// pass from the tile canvas into the column frame, and the row pass that
// corrects a tilted view.
#include <cmath>

#include "pano_types.h"
#include "warp_engine.h"
#include "warp_runs.h"

namespace pano {
namespace {

int Mod(std::int64_t value, std::int64_t by) {
  if (by <= 0) return 0;
  std::int64_t m = value % by;
  if (m < 0) m += by;
  return static_cast<int>(m);
}

}  // namespace

void WarpBuildColumnTables(WarpEngine* e) {
  const int w = e->width;
  if (w <= 0 || e->scale == nullptr || e->sourceColumn == nullptr) return;
  double half = e->halfHorizontalFov;
  if (e->mode == 2 && e->tilt != 0) {
    const double denominator = std::cos(std::fabs(e->tilt) + e->halfFov);
    if (denominator > 1e-9) half = std::atan(std::tan(e->halfHorizontalFov) * std::cos(e->halfFov) / denominator);
  }
  if (e->mode == 0) {
    const double step = w > 1 ? e->circumference * (half / ((w - 1) * kPi)) * 1024 : 0;
    const std::uint32_t istep = WholeUnsigned(step);
    for (int i = 0; i < w; ++i) {
      e->sourceColumn[i] = static_cast<std::uint32_t>(i) * istep;
      e->scale[i] = 1024;
    }
  } else {
    const int count = (w + 3) / 2 < w ? (w + 3) / 2 : w;
    const double sinA = std::sin(half), cosA = std::cos(half);
    const double dy = w > 1 ? 2 * sinA / (w - 1) : 0;
    const double perRadian = e->circumference / kTwoPi * 1024;
    double y = -sinA;
    for (int i = 0; i < count; ++i) {
      const double angle = std::atan2(y, cosA);
      const double column = perRadian * (half + angle) + 0.5;
      e->sourceColumn[i] = WholeUnsigned(column);
      e->scale[i] = WholeUnsigned(std::cos(angle) * 1024 + 0.5);
      y += dy;
    }
    // The rest mirror the first half about column count - 1.
    for (int k = 0; count + k < w; ++k) {
      const std::int64_t mirrored = 2 * static_cast<std::int64_t>(e->sourceColumn[count - 1]) -
                                    (count - 1 - k >= 0 ? e->sourceColumn[count - 1 - k] : 0);
      e->sourceColumn[count + k] = static_cast<std::uint32_t>(mirrored > 0 ? mirrored : 0);
      e->scale[count + k] = count - 1 - k >= 0 ? e->scale[count - 1 - k] : 1024;
    }
  }
  e->halfViewWidth = static_cast<std::int32_t>((e->sourceColumn[w - 1] >> 10) >> 1);
  e->columnsDirty = 0;
}

void WarpBuildRowTable(WarpEngine* e) {
  const int h = e->height;
  if (h <= 0 || e->rowTable == nullptr) return;
  const double top = e->tanTop, bottom = e->tanBottom;
  const double v = e->halfFov, t = e->tilt;
  double m, upper, lower, upperWeight, lowerWeight;
  if (t > 0) {
    m = 2 * std::sin(v) * std::sqrt(1 + top * top) * std::sin(std::fabs(t));
    upper = top;
    lower = (1 + m) * bottom;
    upperWeight = 1;
    lowerWeight = 1 + m;
  } else {
    m = 2 * std::sin(v) * std::sqrt(1 + bottom * bottom) * std::sin(std::fabs(t));
    upper = (1 + m) * top;
    lower = bottom;
    upperWeight = 1 + m;
    lowerWeight = 1;
  }
  const double span = top - bottom;
  if (span <= 0 || h == 1) {
    for (int r = 0; r < h; ++r) e->rowTable[r] = static_cast<std::uint32_t>(r) * 1024;
  } else {
    const double c = (h - 1) * top / span;
    const double a0 = upper * (h - 1) / span, a1 = lower * (h - 1) / span;
    for (int r = 0; r < h; ++r) {
      const double f = static_cast<double>(r) / (h - 1);
      const double a = a0 + (a1 - a0) * f;
      const double weight = upperWeight + (lowerWeight - upperWeight) * f;
      const double entry = (c - a / weight) * 1024 + 0.5;
      const double most = (h - 1) * 1024.0;
      e->rowTable[r] = WholeUnsigned(entry < 0 ? 0 : entry > most ? most : entry);
    }
    e->rowTable[0] = 0;
    e->rowTable[h - 1] = static_cast<std::uint32_t>(h - 1) * 1024;
  }
  e->rowSlope = m * e->width / (2.0 * h * (1 + m));
  e->rowsDirty = 0;
}

void WarpRenderColumns(WarpEngine* e) {
  TileCanvas* canvas = e->canvas;
  const int w = e->width, h = e->height;
  if (canvas == nullptr || w <= 0 || h <= 0) return;
  if (e->columnsDirty) WarpBuildColumnTables(e);
  const double ph = e->projectedHeight;
  const double tanH = e->tanHalfAngle != 0 ? e->tanHalfAngle : 1;
  const double hAngle = e->imageHalfAngle != 0 ? e->imageHalfAngle : 1;
  const int total = WarpTotalLines(e);

  // The tiles under the view.
  std::int64_t left = Whole(e->pan - (e->halfViewWidth + 1) - 1);
  std::int64_t right = Whole((e->halfViewWidth + 1) + e->pan + 1);
  if (e->fullCircle && total > 0) {
    if (left < 0) left += total;
    if (right >= total) right -= total;
  } else {
    if (left < 0) left = 0;
    if (right >= total) right = total - 1;
  }
  std::int64_t topRow, bottomRow;
  if (e->mode == 0) {
    topRow = Whole((hAngle - (e->tilt + e->halfFov)) / hAngle * ph * 0.5 - 1);
    bottomRow = Whole((hAngle - (e->tilt - e->halfFov)) / hAngle * ph * 0.5 + 1);
  } else {
    topRow = Whole((tanH - e->tanTop) / tanH * ph * 0.5 - 1);
    bottomRow = Whole((tanH - e->tanBottom) / tanH * ph * 0.5 + 1);
  }
  const int imagePixels = canvas->tilesPerRow * canvas->tileWidth;
  if (e->imageTiltCentre < 0) {
    const std::int64_t lower = Whole(ph - imagePixels);
    topRow -= lower;
    bottomRow -= lower;
  }
  e->fillArea[0] = static_cast<int>(topRow);
  e->fillArea[1] = static_cast<int>(left);
  e->fillArea[2] = static_cast<int>(bottomRow);
  e->fillArea[3] = static_cast<int>(right);
  TileCacheFill(canvas, e->fillArea[0], e->fillArea[1], e->fillArea[2], e->fillArea[3], false);

  // Vertical mapping in 1/1024 source pixels.
  if (e->mode == 0) {
    e->verticalStep = Whole32(e->halfFov / hAngle * 2 / h * ph / 2 * 1024 + 0.5);
    e->verticalSlope = Whole32((e->tilt + e->halfFov) / hAngle * ph / 2 + 0.5);
  } else {
    e->verticalStep = Whole32((e->tanTop - e->tanBottom) / tanH / h * (ph / 2) * 1024 + 0.5);
    e->verticalSlope = Whole32(e->tanTop / tanH * ph / 2 + 0.5);
  }
  e->verticalOrigin = Whole32(ph / 2 * 1024 + 0.5);
  const int firstHeldPixel = canvas->firstHeldIndex * canvas->tileWidth;
  e->verticalOffset =
      e->imageTiltCentre >= 0 ? firstHeldPixel * 1024 : Whole32((firstHeldPixel - imagePixels + ph) * 1024);

  const int ring = TileCanvasRingLines(canvas);
  const int heldHeight = canvas->tilesPerHeldRow * canvas->tileWidth;
  // Positions down a line are 32-bit with 10 fraction bits.
  if (ring <= 0 || heldHeight <= 0 || heldHeight > (1 << 21)) return;
  std::int64_t leftLine = Whole(e->pan - e->halfViewWidth);
  if (total > 0) leftLine = Mod(leftLine, total);
  const int base = Mod(leftLine, ring);
  const std::uint32_t lastColumn = e->sourceColumn[w - 1] >> 10;
  const int pixelBytes = e->format == kFormat24 ? 3 : 2;
  const std::int64_t heldLimit = std::int64_t{heldHeight - 1} * 1024;

  auto columnSource = [&](int i, std::uint32_t* position, std::uint32_t* step) -> const std::uint8_t* {
    const int line = Mod(std::int64_t{base} + lastColumn - (e->sourceColumn[i] >> 10), ring);
    std::int64_t first =
        std::int64_t{e->verticalOrigin} - std::int64_t{e->verticalSlope} * e->scale[i] - e->verticalOffset;
    if (first >= std::int64_t{heldHeight} * 1024) first -= std::int64_t{heldHeight} * 1024;
    if (first < 0) first = 0;
    if (first > heldLimit) first = heldLimit;
    std::int64_t s = (std::int64_t{e->verticalStep} * e->scale[i]) >> 10;
    if (s < 0) s = 0;
    // A column never reads past the pixels the canvas holds.
    if (h > 1 && first + s * (h - 1) > heldLimit) s = (heldLimit - first) / (h - 1);
    *position = static_cast<std::uint32_t>(first);
    *step = static_cast<std::uint32_t>(s);
    return e->canvasPixels + static_cast<std::ptrdiff_t>(e->canvasLineBytes) * line;
  };
  auto lineAt = [&](int i, int back) {
    const int line = Mod(std::int64_t{base} + lastColumn - (e->sourceColumn[i] >> 10) - back, ring);
    return e->canvasPixels + static_cast<std::ptrdiff_t>(e->canvasLineBytes) * line;
  };

  const std::int32_t stride = static_cast<std::int32_t>(e->columnRowBytes);
  const bool blending = e->quality > 512 && canvas->depth > 15;
  RunLoops runs;
  if (e->strip != nullptr && RunLoopsFor(e->format, &runs)) {
    // Strip by strip: each column drawn down into the strip, then the strip
    // turned into frame rows. Below quality 512 a pair of columns shares the
    // first column's position and step, as role E draws them.
    const std::uint8_t* canvasEnd = e->canvasPixels + static_cast<std::ptrdiff_t>(e->canvasLineBytes) * ring;
    for (int x0 = 0; x0 < w; x0 += kStripColumns) {
      const int columns = w - x0 < kStripColumns ? w - x0 : kStripColumns;
      for (int c = 0; c < columns; ++c) {
        const int i = x0 + c;
        std::uint8_t* strip = e->strip + static_cast<std::ptrdiff_t>(pixelBytes) * h * c;
        std::uint32_t position = 0, step = 0;
        if (e->quality < 512) {
          const int owner = (w & 1) != 0 && i == w - 1 ? i : i & ~1;
          columnSource(owner, &position, &step);
          runs.nearest(h, lineAt(i, 0), position, step, strip, canvasEnd);
          continue;
        }
        const std::uint8_t* source = columnSource(i, &position, &step);
        if (blending && (e->sourceColumn[i] & 0x200) != 0) {
          runs.blendPair(h, source, lineAt(i, 1), position, step, strip, canvasEnd);
        } else {
          runs.sample(h, source, position, step, strip, canvasEnd);
        }
      }
      runs.stripToRows(e->strip, h, columns, h, e->columnFrame + static_cast<std::ptrdiff_t>(pixelBytes) * x0, stride);
    }
    return;
  }
  if (e->quality >= 512) {
    for (int i = 0; i < w; ++i) {
      std::uint32_t position = 0, step = 0;
      const std::uint8_t* source = columnSource(i, &position, &step);
      std::uint8_t* destination = e->columnFrame + static_cast<std::ptrdiff_t>(pixelBytes) * i;
      if (blending && (e->sourceColumn[i] & 0x200) != 0) {
        e->loops.blendPair(h, source, lineAt(i, 1), position, step, destination, stride);
      } else {
        e->loops.sample(h, source, position, step, destination, stride);
      }
    }
  } else {
    for (int i = 0; i + 1 < w; i += 2) {
      std::uint32_t position = 0, step = 0;
      const std::uint8_t* first = columnSource(i, &position, &step);
      e->loops.columnPair(h, first, lineAt(i + 1, 0), position, step,
                          e->columnFrame + static_cast<std::ptrdiff_t>(pixelBytes) * i, stride);
    }
    if ((w & 1) != 0) {
      std::uint32_t position = 0, step = 0;
      const std::uint8_t* source = columnSource(w - 1, &position, &step);
      e->loops.nearest(h, source, position, step, e->columnFrame + static_cast<std::ptrdiff_t>(pixelBytes) * (w - 1),
                       stride);
    }
  }
}

void WarpRenderRows(WarpEngine* e) {
  const int w = e->width, h = e->height;
  if (w <= 1 || h <= 0) return;
  if (e->rowsDirty) WarpBuildRowTable(e);
  const int pixelBytes = e->format == kFormat24 ? 3 : 2;
  const std::int64_t full = std::int64_t{h} * 1024;
  const std::int64_t slope = Whole(e->rowSlope * 1024);
  // Rows side by side: the vector runs draw them where the processor has them.
  RunLoops runs;
  const bool vector = RunLoopsFor(e->format, &runs);
  const std::uint8_t* frameEnd = e->columnFrame + static_cast<std::ptrdiff_t>(e->columnRowBytes) * h;
  for (int r = 0; r < h; ++r) {
    const std::int64_t entry = e->rowTable[r];
    if (e->tilt > 0 && entry >= full) break;
    const std::int64_t d = e->tilt > 0 ? entry : full - entry;
    std::int64_t inset = (d * slope) >> 10;
    if (inset < 0) inset = 0;
    if (inset > std::int64_t{w} * 512) inset = std::int64_t{w} * 512;
    const std::int64_t span = std::int64_t{w} * 1024 - 2 * inset;
    const std::uint32_t step = static_cast<std::uint32_t>(span / (w - 1) > 0 ? span / (w - 1) : 0);
    const int sourceRow = static_cast<int>(entry >> 10) < h ? static_cast<int>(entry >> 10) : h - 1;
    const std::uint8_t* source = e->columnFrame + static_cast<std::ptrdiff_t>(e->columnRowBytes) * sourceRow +
                                 static_cast<std::ptrdiff_t>(pixelBytes) * (inset >> 10);
    const std::uint32_t position = static_cast<std::uint32_t>(inset & 0x3FF);
    std::uint8_t* destination = e->correctedFrame + static_cast<std::ptrdiff_t>(e->correctedRowBytes) * r;
    const bool blend = e->quality > 512 && (entry & 0x200) != 0 && e->canvas->depth > 15 && sourceRow + 1 < h;
    if (vector) {
      if (e->quality < 512) {
        runs.nearest(w, source, position, step, destination, frameEnd);
      } else if (blend) {
        runs.blendPair(w, source, source + e->columnRowBytes, position, step, destination, frameEnd);
      } else {
        runs.sample(w, source, position, step, destination, frameEnd);
      }
    } else if (e->quality < 512) {
      e->loops.nearest(w, source, position, step, destination, pixelBytes);
    } else if (blend) {
      e->loops.blendPair(w, source, source + e->columnRowBytes, position, step, destination, pixelBytes);
    } else {
      e->loops.sample(w, source, position, step, destination, pixelBytes);
    }
  }
}

}  // namespace pano
