#include "node_view.h"

#include <cmath>
#include <cstring>

#include "pano_host.h"
#include "pano_types.h"

namespace pano {
namespace {

constexpr std::int32_t kDefaultZoom = 0x410000;         // 65 degrees
constexpr std::int32_t kFieldOfViewLimit = 0xB40000;    // 180 degrees
constexpr double kZoomPerUnit = 1.5978966267903646e-6;  // 6 degrees per 1.0 of delta, in radians

const std::uint8_t* HotSpotEntry(const DecodedNode& node, int i) {
  return node.hotSpots.first + kHotSpotEntryBytes * i;
}

std::int32_t LoadFirstNode(NodeView* view) {
  const PanoDescription* description = MovieFileDescription(view->file);
  ImageTrackReader* image = MovieFileImageReader(view->file);
  int tileRows = 0, tilesPerRow = 0;
  if (description == nullptr || !PictureTileGrid(*description, image, &tileRows, &tilesPerRow)) return kErrMissing;
  const ImageDescription& tile = image->decompressors[0]->description;
  const int tileWidth = tile.width, linesPerTile = tile.height;
  const int depth = OutputPixelBytes(image->outputMode) * 8;
  const std::int64_t tileBytes = std::int64_t{tileWidth} * linesPerTile * (depth / 8);
  const std::int64_t available = System().availableVirtual();
  if (available < tileBytes * tileRows * tilesPerRow / 4) return kErrMemory;
  int held = 0;
  const std::int32_t sized = TileCanvasHeldRows(tileBytes, tileRows, tilesPerRow, available,
                                                System().profileInt("VR", "MaxCacheRows", 0), &held);
  if (sized != kOk) return sized;
  view->canvas = TileCanvasCreate(tileWidth, linesPerTile, held, tilesPerRow, depth, nullptr);
  if (view->canvas == nullptr || view->canvas->pixels == nullptr) return kErrMemory;
  TileCanvasSetGrid(view->canvas, tileRows, tilesPerRow);
  TileCanvasSetTrack(view->canvas, image);
  view->image = image;

  view->engine = static_cast<WarpEngine*>(HostAlloc(static_cast<std::int32_t>(sizeof(WarpEngine))));
  if (view->engine == nullptr) return kErrMemory;
  WarpInit(view->engine, view->width, view->height, FrameFormatForMode(view->outputMode, view->screenDepth),
           FrameAlignmentForMode(view->outputMode));
  if (view->engine->failed) return kErrMemory;
  // The view's place, which the display rectangle kept until the engine was made.
  kn::KnRect place{};
  MovieFileGetDisplayRect(view->file, &place);
  WarpSetWindow(view->engine, view->window, &place);
  WarpAttachCanvas(view->engine, view->canvas);
  if (description->panEnd > description->panStart && description->tiltTop > description->tiltBottom) {
    WarpSetImageLimits(view->engine, FixedToRad(description->panStart), FixedToRad(description->panEnd),
                       FixedToRad(description->tiltTop), FixedToRad(description->tiltBottom));
  }
  if (description->fieldOfViewMin != 0) WarpSetMinZoom(view->engine, FixedToRad(description->fieldOfViewMin) / 2);
  if (description->fieldOfViewMax != 0) WarpSetMaxZoom(view->engine, FixedToRad(description->fieldOfViewMax) / 2);
  return kOk;
}

void ReadBack(NodeView* view) {
  if (view->engine == nullptr) return;
  view->lastPan = RadToFixed(WarpGetPan(view->engine));
  view->lastTilt = RadToFixed(view->engine->tilt);
  view->lastZoom = RadToFixed(2 * view->engine->halfFov);
}

}  // namespace

int FrameFormatForMode(std::int32_t outputMode, std::int32_t screenDepth) {
  switch (outputMode) {
    case kModePalette:
    case kMode555: return kFormat555;
    case kMode565: return kFormat565;
    case kModeRgb24:
    case kModeBgr24: return kFormat24;
    default: return screenDepth == 16 ? kFormat555 : kFormat24;
  }
}

int FrameAlignmentForMode(std::int32_t outputMode) {
  switch (outputMode) {
    case kModePalette:
    case kMode555:
    case kMode565:
    case kModeRgb24:
    case kModeBgr24: return 2;
    default: return 4;
  }
}

NodeView* NodeViewOpen(std::intptr_t movie, std::int32_t outputMode, std::int32_t screenDepth, std::int32_t* error) {
  MovieFile* file = MovieFileOpen(movie, true, outputMode, screenDepth, error);
  if (file == nullptr) return nullptr;
  kn::KnRect rect{};
  // The reader refuses a panorama track whose size the view cannot keep; a
  // display rectangle that still does not fit is refused the same way.
  if (!MovieFileGetDisplayRect(file, &rect) || !ViewRectFits(rect)) {
    MovieFileClose(file);
    *error = kErrAtomWalk;
    return nullptr;
  }
  auto* view = static_cast<NodeView*>(HostAlloc(static_cast<std::int32_t>(sizeof(NodeView))));
  if (view == nullptr) {
    *error = kErrMemory;
    return nullptr;
  }
  view->movie = movie;
  view->file = file;
  view->outputMode = outputMode;
  view->screenDepth = screenDepth;
  view->width = static_cast<std::int16_t>(rect.right - rect.left);
  view->height = static_cast<std::int16_t>(rect.bottom - rect.top);
  return view;
}

void NodeViewClose(NodeView* view) {
  if (view == nullptr) return;
  if (view->engine != nullptr) {
    WarpFree(view->engine);
    HostFree(view->engine);
  }
  TileCanvasFree(view->canvas);
  HostFree(view->hotSpotPixels);
  MovieFileClose(view->file);
  HostFree(view);
}

bool NodeViewSetWindow(NodeView* view, std::intptr_t window, bool isWindow) {
  if (!isWindow) return false;
  view->window = window;
  if (view->file != nullptr) view->file->window = window;
  if (view->engine != nullptr) WarpSetWindow(view->engine, window, nullptr);
  return true;
}

bool NodeViewSetDisplayRect(NodeView* view, const kn::KnRect& rect) {
  // The view and the engine keep the width and height in 16 bits, and size
  // their tables from them: a rectangle past that is refused whole.
  if (!ViewRectFits(rect)) return false;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;  // both fit now
  kn::KnRect before{};
  if (!MovieFileGetDisplayRect(view->file, &before) || !MovieFileSetDisplayRect(view->file, rect)) return false;
  if (view->engine != nullptr) {
    if (!WarpResize(view->engine, w, h)) {
      MovieFileSetDisplayRect(view->file, before);
      return false;
    }
    WarpSetWindow(view->engine, view->window, &rect);
  }
  view->width = static_cast<std::int16_t>(w);
  view->height = static_cast<std::int16_t>(h);
  return true;
}

bool NodeViewGetDisplayRect(const NodeView* view, kn::KnRect* rect) {
  return MovieFileGetDisplayRect(view->file, rect);
}

std::int32_t NodeViewGoToNode(NodeView* view, std::int32_t nodeId, std::int32_t* pan, std::int32_t* tilt,
                              std::int32_t* zoom) {
  const std::int32_t index = MovieFileNodeIndex(view->file, nodeId);
  if (view->engine == nullptr) {
    const std::int32_t loaded = LoadFirstNode(view);
    if (loaded != kOk) return loaded;
  }
  DecodedNode node;
  if (MovieFileGetNode(view->file, index, &node) != kOk) return kErrNodeInfo;
  view->node = node;
  WarpEngine* e = view->engine;
  const std::int32_t* w = node.header.words;
  if (w[kHdrPanMax] > w[kHdrPanMin] || w[kHdrTiltMax] > w[kHdrTiltMin]) {
    WarpSetPanRange(e, FixedToRad(w[kHdrPanMin]), FixedToRad(w[kHdrPanMax]), FixedToRad(w[kHdrTiltMax]),
                    FixedToRad(w[kHdrTiltMin]));
    if (e->hasImageLimits) {
      const PanoDescription* d = MovieFileDescription(view->file);
      e->panStart = std::fmax(e->panStart, FixedToRad(d->panStart));
      e->panEnd = std::fmin(e->panEnd, FixedToRad(d->panEnd));
      e->fullCircle = std::fabs(e->panEnd - e->panStart - kTwoPi) < 0.0001;
    }
  }
  WarpSetMaxZoom(e, FixedToRad(kFieldOfViewLimit) / 2);
  std::int32_t wantZoom = zoom != nullptr ? *zoom : w[kHdrDefaultZoom];
  if (wantZoom < 1) wantZoom = kDefaultZoom;
  const std::int32_t wantPan = pan != nullptr ? *pan : w[kHdrDefaultPan];
  const std::int32_t wantTilt = tilt != nullptr ? *tilt : w[kHdrDefaultTilt];
  WarpSetZoom(e, FixedToRad(wantZoom));
  WarpSetTilt(e, FixedToRad(wantTilt));
  WarpSetPan(e, FixedToRad(wantPan));
  ReadBack(view);
  if (pan != nullptr) *pan = view->lastPan;
  if (tilt != nullptr) *tilt = view->lastTilt;
  if (zoom != nullptr) *zoom = view->lastZoom;
  if (index != view->nodeIndex) {
    const std::int32_t perNode = view->canvas->tileRows * view->canvas->tilesPerRow;
    TileCanvasSetFirstSample(view->canvas, perNode * (index - 1) + 1);
    TileCanvasReset(view->canvas);
    view->hotSpotTile = 0;
  }
  view->nodeIndex = index;
  return kOk;
}

std::int32_t NodeViewCurrentNodeId(const NodeView* view) {
  if (view->nodeIndex < 1 || view->file == nullptr || view->nodeIndex > view->file->pano->nodeCount) return 0;
  return view->file->pano->nodes[view->nodeIndex - 1].id;
}

std::int32_t NodeViewGetPan(const NodeView* view) { return view->engine ? RadToFixed(WarpGetPan(view->engine)) : 0; }
std::int32_t NodeViewGetTilt(const NodeView* view) { return view->engine ? RadToFixed(view->engine->tilt) : 0; }
std::int32_t NodeViewGetZoom(const NodeView* view) { return view->engine ? RadToFixed(2 * view->engine->halfFov) : 0; }
void NodeViewSetPan(NodeView* view, std::int32_t pan) {
  if (view->engine) WarpSetPan(view->engine, FixedToRad(pan));
}
void NodeViewSetTilt(NodeView* view, std::int32_t tilt) {
  if (view->engine) WarpSetTilt(view->engine, FixedToRad(tilt));
}
void NodeViewSetZoom(NodeView* view, std::int32_t zoom) {
  if (view->engine) WarpSetZoom(view->engine, FixedToRad(zoom));
}

void NodeViewPointToAngles(NodeView* view, int x, int y, std::int32_t* pan, std::int32_t* tilt) {
  *pan = *tilt = 0;
  if (view->engine == nullptr) return;
  WarpEngine* e = view->engine;
  double line = 0, row = 0;
  WarpPointToSource(e, x, y, &line, &row);
  *pan = RadToFixed(WarpAngleOfLine(e, line));
  const double ph = e->projectedHeight > 0 ? e->projectedHeight : 1;
  *tilt = RadToFixed(std::atan((1 - 2 * row / ph) * std::tan(e->imageHalfAngle)));
}

void NodeViewPointToSource(NodeView* view, int x, int y, std::int32_t* line, std::int32_t* row) {
  *line = *row = 0;
  if (view->engine == nullptr) return;
  double sourceLine = 0, sourceRow = 0;
  WarpPointToSource(view->engine, x, y, &sourceLine, &sourceRow);
  // A partial panorama's turn can hold more lines than a 16.16 value counts.
  *line = ScaledToFixed(sourceLine * 65536);
  *row = ScaledToFixed(sourceRow * 65536);
}

void NodeViewRelativeMove(NodeView* view, std::uint32_t quality, std::int32_t panDelta, std::int32_t tiltDelta) {
  WarpEngine* e = view->engine;
  if (e == nullptr) return;
  const double p = panDelta / 65536.0, t = tiltDelta / 65536.0;
  const double sp = p * std::fabs(p), st = t * std::fabs(t);
  WarpSetTilt(e, e->tilt + 0.4 * st * e->halfFov);
  WarpSetPan(e, WarpGetPan(e) - 0.4 * sp * e->halfHorizontalFov);
  WarpSetQuality(e, quality);
  WarpUpdate(e);
  ReadBack(view);
}

void NodeViewRelativeZoom(NodeView* view, std::uint32_t quality, std::int32_t zoomDelta) {
  WarpEngine* e = view->engine;
  if (e == nullptr) return;
  const double pan = WarpGetPan(e);
  WarpSetZoom(e, 2 * e->halfFov + zoomDelta * kZoomPerUnit);  // limits zoom, tilt and pan again
  WarpSetPan(e, pan);
  WarpSetQuality(e, quality);
  WarpUpdate(e);
  ReadBack(view);
}

void NodeViewSetQuality(NodeView* view, std::uint32_t quality) {
  if (view->engine) WarpSetQuality(view->engine, quality == 0 ? 1023 : quality);
}
std::uint32_t NodeViewGetQuality(const NodeView* view) { return view->engine ? view->engine->quality : 0; }

void NodeViewRefresh(NodeView* view) {
  if (view->engine == nullptr) return;
  WarpSetQuality(view->engine, 1023);
  WarpUpdate(view->engine);
}

void NodeViewIdle(NodeView* view) {
  if (view->engine == nullptr || view->canvas == nullptr) return;
  const int* a = view->engine->fillArea;
  TileCacheFill(view->canvas, a[0], a[1], a[2], a[3], true);
}

void NodeViewUpdate(NodeView* view, std::uint32_t mode, std::int32_t kind, std::int32_t value) {
  WarpEngine* e = view->engine;
  if (e == nullptr) return;
  WarpSetQuality(e, mode);
  if (kind == 1 && value >= 1) {
    WarpAnimateTo(e, static_cast<int>(value + 0.5), e->fullCircle);
  } else {
    WarpUpdate(e);
  }
  ReadBack(view);
}

void NodeViewSetWarpMode(NodeView* view, std::int16_t mode) {
  if (view->engine) WarpSetMode(view->engine, static_cast<std::uint32_t>(mode));
}
std::int16_t NodeViewGetWarpMode(const NodeView* view) {
  return view->engine ? static_cast<std::int16_t>(view->engine->mode) : 0;
}
std::uint32_t NodeViewLimitFlags(const NodeView* view) { return view->engine ? WarpGetClampFlags(view->engine) : 0; }

std::int32_t NodeViewHotSpotAt(NodeView* view, int x, int y) {
  ImageTrackReader* reader = MovieFileHotSpotReader(view->file);
  const PanoDescription* d = MovieFileDescription(view->file);
  if (reader == nullptr || d == nullptr || view->engine == nullptr || reader->descriptionCount < 1) return 0;
  const int tileRows = d->grid[1], tilesPerRow = d->grid[2];
  if (tileRows <= 0 || tilesPerRow <= 0 || d->pictureWidth <= 0 || d->pictureHeight <= 0) return 0;
  double line = 0, row = 0;
  WarpPointToSource(view->engine, x, y, &line, &row);
  const double hotLine = line * d->hotSpotWidth / d->pictureWidth;
  const double hotRow = row * d->hotSpotHeight / d->pictureHeight;
  const ImageDescription& tile = reader->decompressors[0]->description;
  const int tileWidth = tile.width, linesPerTile = tile.height;
  if (tileWidth <= 0 || linesPerTile <= 0) return 0;
  // Before the hot-spot picture, or past what an int holds, is no hot spot.
  if (!(hotLine > -1 && hotRow > -1 && hotLine < INT32_MAX && hotRow < INT32_MAX)) return 0;
  const int l = static_cast<int>(hotLine), r = static_cast<int>(hotRow);
  const int tileRow = (l / linesPerTile) % tileRows;
  const int tileIndex = r / tileWidth;
  if (tileIndex >= tilesPerRow) return 0;
  const std::int32_t sample = tileRows * tilesPerRow * (view->nodeIndex - 1) + tileRow * tilesPerRow + tileIndex + 1;
  const std::int32_t bytes = tileWidth * linesPerTile;
  if (view->hotSpotPixels == nullptr || view->hotSpotPixelBytes < bytes) {
    HostFree(view->hotSpotPixels);
    view->hotSpotPixels = static_cast<std::uint8_t*>(HostAlloc(bytes));
    view->hotSpotPixelBytes = view->hotSpotPixels != nullptr ? bytes : 0;
    view->hotSpotTile = 0;
    if (view->hotSpotPixels == nullptr) return 0;
  }
  if (view->hotSpotTile != sample) {
    view->hotSpotTile = 0;
    if (ImageTrackDecodeSample(reader, sample, view->hotSpotPixels, tileWidth) != kOk) return 0;
    view->hotSpotTile = sample;
  }
  return view->hotSpotPixels[(l % linesPerTile) * tileWidth + r % tileWidth];
}

void NodeViewHotSpotInfo(const NodeView* view, std::int32_t id, std::uint32_t type, HotSpotInfo* info) {
  std::memset(info, 0, sizeof *info);
  info->id = -1;
  info->index = -1;
  info->type = Tag("undf");
  const DecodedNode& node = view->node;
  for (int i = 0; i < node.hotSpots.count; ++i) {
    const std::uint8_t* entry = HotSpotEntry(node, i);
    if (Be16s(entry) != id) continue;
    const std::uint32_t entryType = LoadTag(entry + 4);
    const bool match = type == Tag("any ") || (type == Tag("!lnk") ? entryType != Tag("link") : entryType == type);
    if (!match) continue;
    info->id = static_cast<std::int16_t>(id);
    info->type = entryType;
    info->index = i;
    for (int k = 0; k < 3; ++k) info->words[k] = Be32s(entry + 32 + 4 * k);
    const std::int32_t nameOffset = Be32s(entry + 48);
    if (nameOffset != 0) NodeString(node, nameOffset, info->name, sizeof info->name);
    return;
  }
}

std::int32_t NodeViewFollowLink(NodeView* view, std::int32_t hotSpotId) {
  HotSpotInfo info;
  NodeViewHotSpotInfo(view, hotSpotId, Tag("link"), &info);
  if (info.index < 0) return -1;
  const std::int32_t linkId = Be32s(HotSpotEntry(view->node, info.index) + 8);
  const DecodedNode node = view->node;
  for (int i = 0; i < node.links.count; ++i) {
    const std::uint8_t* link = node.links.first + kLinkEntryBytes * i;
    if (Be16s(link) != linkId) continue;
    std::int32_t pan = Be32s(link + 28), tilt = Be32s(link + 32), zoom = Be32s(link + 36);
    if (zoom == 0) zoom = NodeViewGetZoom(view);
    return NodeViewGoToNode(view, Be32s(link + 12), &pan, &tilt, &zoom);
  }
  return -1;
}

std::int32_t NodeViewNavigation(NodeView* view, std::int32_t hotSpotId, std::int32_t words[3], kn::KnRect* rect) {
  if (words == nullptr || rect == nullptr) return -50;
  HotSpotInfo info;
  NodeViewHotSpotInfo(view, hotSpotId, Tag("navg"), &info);
  if (info.index < 0) return -1;
  const std::int32_t navId = Be32s(HotSpotEntry(view->node, info.index) + 8);
  for (int i = 0; i < view->node.navigation.count; ++i) {
    const std::uint8_t* nav = view->node.navigation.first + kNavEntryBytes * i;
    if (Be16s(nav) != navId) continue;
    for (int k = 0; k < 3; ++k) words[k] = Be32s(nav + 8 + 4 * k);
    int left = 0, top = 0, right = 0, bottom = 0;
    if (view->engine != nullptr) {
      WarpSourceToPoint(view->engine, Be16s(nav + 20), Be16s(nav + 22), &left, &top);
      WarpSourceToPoint(view->engine, Be16s(nav + 24), Be16s(nav + 26), &right, &bottom);
    }
    *rect = kn::KnRect{left, top, right, bottom};
    return 0;
  }
  return -1;
}

void NodeViewNodeName(const NodeView* view, char* out, std::size_t size) {
  NodeString(view->node, view->node.header.word56, out, size);
}

}  // namespace pano
