// The node view: the object through which the panorama controller shows one
// node of a panorama movie. It owns the movie's file object, the warp engine
// and the tile canvas of the current node. Angles cross it as 16.16 degrees.
#pragma once

#include <cstdint>

#include "kn_api.h"
#include "movie_reader.h"
#include "tile_canvas.h"
#include "warp_engine.h"

namespace pano {

struct HotSpotInfo {
  std::int16_t id;  // -1 = not found
  std::uint32_t type;
  std::int32_t index;     // entry index, -1 = not found
  std::int32_t words[3];  // entry offsets 32, 36 (cursor resource), 40
  char name[64];
};

struct NodeView {
  std::int16_t width, height;
  std::intptr_t movie;
  MovieFile* file;
  ImageTrackReader* image;
  WarpEngine* engine;
  TileCanvas* canvas;
  DecodedNode node;
  std::int32_t nodeIndex;  // 0 = none loaded
  std::int32_t outputMode, screenDepth;
  std::int32_t lastPan, lastTilt, lastZoom;  // 16.16 degrees
  std::int32_t hotSpotTile;                  // sample read last, 0 = none
  std::uint8_t* hotSpotPixels;
  std::int32_t hotSpotPixelBytes;
  std::intptr_t window;
};

NodeView* NodeViewOpen(std::intptr_t movie, std::int32_t outputMode, std::int32_t screenDepth, std::int32_t* error);
void NodeViewClose(NodeView* view);
bool NodeViewSetWindow(NodeView* view, std::intptr_t window, bool isWindow);
// False for a width or height outside 1..32767 (worked in 64 bits), or when
// the engine's new tables find no memory: the view keeps its rectangle.
bool NodeViewSetDisplayRect(NodeView* view, const kn::KnRect& rect);
bool NodeViewGetDisplayRect(const NodeView* view, kn::KnRect* rect);
// Node ID 0 = the default node. Angles in/out may be null (not given).
std::int32_t NodeViewGoToNode(NodeView* view, std::int32_t nodeId, std::int32_t* pan, std::int32_t* tilt,
                              std::int32_t* zoom);
std::int32_t NodeViewCurrentNodeId(const NodeView* view);
std::int32_t NodeViewGetPan(const NodeView* view);
std::int32_t NodeViewGetTilt(const NodeView* view);
std::int32_t NodeViewGetZoom(const NodeView* view);
void NodeViewSetPan(NodeView* view, std::int32_t pan);
void NodeViewSetTilt(NodeView* view, std::int32_t tilt);
void NodeViewSetZoom(NodeView* view, std::int32_t zoom);
void NodeViewPointToAngles(NodeView* view, int x, int y, std::int32_t* pan, std::int32_t* tilt);
// The panorama picture's line and pixel seen at a window point, as 16.16
// values (held at the ends of their range).
void NodeViewPointToSource(NodeView* view, int x, int y, std::int32_t* line, std::int32_t* row);
void NodeViewRelativeMove(NodeView* view, std::uint32_t quality, std::int32_t panDelta, std::int32_t tiltDelta);
void NodeViewRelativeZoom(NodeView* view, std::uint32_t quality, std::int32_t zoomDelta);
void NodeViewSetQuality(NodeView* view, std::uint32_t quality);
std::uint32_t NodeViewGetQuality(const NodeView* view);
void NodeViewRefresh(NodeView* view);
// Idle work: fetches compressed tiles around the last drawn view.
void NodeViewIdle(NodeView* view);
void NodeViewUpdate(NodeView* view, std::uint32_t mode, std::int32_t kind, std::int32_t value);
void NodeViewSetWarpMode(NodeView* view, std::int16_t mode);
std::int16_t NodeViewGetWarpMode(const NodeView* view);
std::uint32_t NodeViewLimitFlags(const NodeView* view);
// The hot-spot ID under a window point, 0 when none.
std::int32_t NodeViewHotSpotAt(NodeView* view, int x, int y);
// Looks a hot spot up by ID and type ("any ", "!lnk" or an exact type).
void NodeViewHotSpotInfo(const NodeView* view, std::int32_t id, std::uint32_t type, HotSpotInfo* info);
// Follows a "link" hot spot: goes to its destination node; 0 or an error.
std::int32_t NodeViewFollowLink(NodeView* view, std::int32_t hotSpotId);
// The navigation view of a "navg" hot spot: -50 without a record, -1 when not found.
std::int32_t NodeViewNavigation(NodeView* view, std::int32_t hotSpotId, std::int32_t words[3], kn::KnRect* rect);
void NodeViewNodeName(const NodeView* view, char* out, std::size_t size);

// The warp engine's pixel format and row alignment for a screen output mode.
int FrameFormatForMode(std::int32_t outputMode, std::int32_t screenDepth);
int FrameAlignmentForMode(std::int32_t outputMode);

}  // namespace pano
